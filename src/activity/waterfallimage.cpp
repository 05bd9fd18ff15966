#include "waterfallimage.h"

#include "activitymodel.h"

#include <algorithm>
#include <array>

namespace {

// Dark blue for a quiet channel, through cyan and yellow, to red for the strongest: 32 readings, 0 to 15.5.
const std::array<QRgb, 32> &palette()
{
    static const std::array<QRgb, 32> colours = [] {
        const QColor stops[] = {{0x00, 0x00, 0x60}, {0x00, 0x60, 0xE0}, {0x00, 0xD0, 0xD0}, {0xF0, 0xF0, 0x00},
            {0xFF, 0x80, 0x00}, {0xFF, 0x00, 0x00}};
        std::array<QRgb, 32> c {};
        for (int i = 0; i < 32; ++i) {
            const double at = i / 31.0 * 5;
            const int low = std::min(int(at), 4);
            const double t = at - low;
            const QColor &a = stops[low], &b = stops[low + 1];
            c[std::size_t(i)] = qRgb(int(a.red() + (b.red() - a.red()) * t),
                int(a.green() + (b.green() - a.green()) * t), int(a.blue() + (b.blue() - a.blue()) * t));
        }
        return c;
    }();
    return colours;
}

} // namespace

WaterfallImage::WaterfallImage(const ActivityModel &model)
    : m_model(model)
{ }

QRgb WaterfallImage::colourOf(double level)
{
    return palette()[std::size_t(std::clamp(qRound(level * 2), 0, 31))];
}

void WaterfallImage::rebuild()
{
    const int steps = m_model.stepCount();
    const int rows = m_model.sweepCount();
    if (steps == 0 || rows == 0) {
        m_image = QImage();
        return;
    }
    if (m_image.width() != steps || m_image.height() != rows)
        m_image = QImage(steps, rows, QImage::Format_RGB32);
    for (int row = 0; row < rows; ++row) {
        auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(row));
        for (int i = 0; i < steps; ++i) {
            const auto level = m_model.level(row, i);
            line[i] = level ? colourOf(*level) : unheard();
        }
    }
}

void WaterfallImage::readingAdded(int index)
{
    if (m_image.isNull() || m_image.height() != m_model.sweepCount()) {
        rebuild();
        return;
    }
    const auto level = m_model.level(0, index);
    reinterpret_cast<QRgb *>(m_image.scanLine(0))[index] = level ? colourOf(*level) : unheard();
}
