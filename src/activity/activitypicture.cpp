#include "activitypicture.h"

#include "activitymodel.h"
#include "look.h"
#include "waterfallimage.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

constexpr int kLeft = 44, kRight = 10, kTop = 12, kAxis = 22;
constexpr double kTopLevel = 16; // S9+60 and half a unit above it
const QColor kFoundMark {0xE0, 0x00, 0xE0};

// The S-meter scale's marks: S0 to S9, then +20, +40 and +60 dB, ten to the S unit.
struct ScaleMark
{
    double level;
    const char *text;
};
constexpr ScaleMark kScale[]
    = {{0, "S0"}, {1, "S1"}, {3, "S3"}, {5, "S5"}, {7, "S7"}, {9, "S9"}, {11, "+20"}, {13, "+40"}, {15, "+60"}};

QColor meterColour(double level)
{
    // The panel's S-meter bar colours, by reading (level x 2): to 10, to 13, to 18, above.
    const int reading = qRound(level * 2);
    return reading <= 10 ? look::MeterLow
        : reading <= 13  ? look::MeterMid
        : reading <= 18  ? look::MeterHigh
                         : look::MeterOver;
}

} // namespace

ActivityPicture::ActivityPicture(const ActivityModel &model, QSize size)
    : m_model(model)
    , m_size(size)
{ }

QRect ActivityPicture::spectrumRect() const
{
    const int height = (m_size.height() - kTop - kAxis) * 3 / 5;
    return {kLeft, kTop, m_size.width() - kLeft - kRight, height};
}

QRect ActivityPicture::waterfallRect() const
{
    const QRect s = spectrumRect();
    return {kLeft, s.bottom() + 1 + kAxis, s.width(), m_size.height() - s.bottom() - 1 - kAxis - 4};
}

int ActivityPicture::yOfLevel(double level) const
{
    const QRect s = spectrumRect();
    return s.bottom() - int(level / kTopLevel * s.height());
}

QPoint ActivityPicture::stepCentre(int index) const
{
    const QRect s = spectrumRect();
    const int count = std::max(1, m_model.stepCount());
    return {s.left() + int((index + 0.5) * s.width() / count), s.center().y()};
}

int ActivityPicture::stepAt(QPoint position) const
{
    const QRect s = spectrumRect();
    const int count = m_model.stepCount();
    if (count == 0 || position.x() < s.left() || position.x() > s.right() || position.y() < s.top())
        return -1;
    return std::min(count - 1, int(qint64(position.x() - s.left()) * count / s.width()));
}

void ActivityPicture::paint(QPainter &p, const QImage &waterfall, int focused) const
{
    p.fillRect(QRect(QPoint(), m_size), look::Face);
    p.fillRect(spectrumRect(), Qt::white);
    p.fillRect(waterfallRect(), WaterfallImage::unheard());
    paintScale(p);
    if (m_model.stepCount() == 0) {
        p.setPen(Qt::black);
        p.drawText(spectrumRect(), Qt::AlignCenter, QStringLiteral("En attente d'un balayage du scanner"));
        return;
    }
    paintSpectrum(p);
    paintWaterfall(p, waterfall);
    paintMarks(p, focused);
}

void ActivityPicture::paintScale(QPainter &p) const
{
    const QRect s = spectrumRect();
    p.setFont(look::fixedFont(11));
    for (const ScaleMark &mark : kScale) {
        const int y = yOfLevel(mark.level);
        p.setPen(QColor(0xD8, 0xD8, 0xD8));
        p.drawLine(s.left(), y, s.right(), y);
        p.setPen(Qt::black);
        p.drawText(QRect(0, y - 7, kLeft - 4, 14), Qt::AlignRight | Qt::AlignVCenter, QString::fromLatin1(mark.text));
    }
    const int count = m_model.stepCount();
    if (count == 0)
        return;
    // kHz under the spectrum, in the scanner's display pattern, spread across the range.
    const int labels = std::clamp(s.width() / 110, 2, 8);
    for (int k = 0; k < labels; ++k) {
        const int index = int(qint64(count - 1) * k / (labels - 1));
        const int x = stepCentre(index).x();
        p.drawLine(x, s.bottom(), x, s.bottom() + 3);
        const QString text = m_model.frequencyAt(index).toPointGroupedText();
        const int w = p.fontMetrics().horizontalAdvance(text);
        const int left = std::clamp(x - w / 2, 0, m_size.width() - w);
        p.drawText(QRect(left, s.bottom() + 4, w, kAxis - 6), Qt::AlignCenter, text);
    }
}

void ActivityPicture::paintSpectrum(QPainter &p) const
{
    // One bar per pixel column at most: a column over several steps shows the strongest of them.
    const QRect s = spectrumRect();
    const int count = m_model.stepCount();
    const int columns = std::min(count, s.width());
    std::vector<double> now(std::size_t(columns), -1), before(std::size_t(columns), -1);
    for (int i = 0; i < count; ++i) {
        const auto column = std::size_t(qint64(i) * columns / count);
        if (const auto level = m_model.sweepCount() > 0 ? m_model.level(0, i) : std::nullopt)
            now[column] = std::max(now[column], *level);
        else if (const auto old = m_model.sweepCount() > 1 ? m_model.level(1, i) : std::nullopt)
            before[column] = std::max(before[column], *old);
    }
    for (int c = 0; c < columns; ++c) {
        const int left = s.left() + int(qint64(c) * s.width() / columns);
        const int right = s.left() + int(qint64(c + 1) * s.width() / columns);
        const int w = std::max(1, right - left - (right - left > 3 ? 1 : 0));
        // Steps not yet heard in this sweep keep the last sweep's level, greyed.
        const double level = now[std::size_t(c)] >= 0 ? now[std::size_t(c)] : before[std::size_t(c)];
        if (level < 0)
            continue;
        const int top = yOfLevel(std::max(level, 0.25));
        p.fillRect(left, top, w, s.bottom() - top + 1,
            now[std::size_t(c)] >= 0 ? meterColour(level) : QColor(0xB0, 0xB0, 0xB0));
    }
}

void ActivityPicture::paintMarks(QPainter &p, int focused) const
{
    const QRect s = spectrumRect();
    const int count = m_model.stepCount();
    if (!m_model.threshold().isZero()) {
        const int y = yOfLevel(double(m_model.threshold().units()) / ActivityModel::Fixed::UnitsPerOne);
        p.setPen(QPen(look::MeterOver, 1, Qt::DashLine));
        p.drawLine(s.left(), y, s.right(), y);
        p.drawText(QRect(s.left() + 4, y - 16, 80, 14), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Seuil"));
    }
    // The steps the scanner found: a mark above each, in the spectrum and beside the waterfall's newest row.
    p.setPen(Qt::NoPen);
    p.setBrush(kFoundMark);
    for (int i = 0; m_model.sweepCount() > 0 && i < count; ++i) {
        // As the bars: the sweep in progress, else the last one where it has not come yet.
        const int row = m_model.level(0, i) || m_model.sweepCount() < 2 ? 0 : 1;
        if (!m_model.found(row, i))
            continue;
        const int x = stepCentre(i).x();
        p.drawPolygon(QPolygon({QPoint(x - 4, s.top() + 1), QPoint(x + 4, s.top() + 1), QPoint(x, s.top() + 8)}));
    }
    p.setBrush(Qt::NoBrush);
    if (m_model.visiting() >= 0) {
        p.setPen(QPen(look::Navy, 2));
        const int x = stepCentre(m_model.visiting()).x();
        p.drawLine(x, s.top(), x, s.bottom());
    }
    if (focused >= 0) {
        p.setPen(QPen(look::Teal, 1, Qt::DotLine));
        const int x = stepCentre(focused).x();
        p.drawRect(x - 4, s.top(), 8, s.height());
    }
}

void ActivityPicture::paintWaterfall(QPainter &p, const QImage &image) const
{
    if (image.isNull())
        return;
    // A row per sweep, the newest at the top; the first sweeps drawn thick enough to see, the last hundred filling
    // the height.
    const QRect w = waterfallRect();
    const double rowHeight = w.height() / std::max(30.0, double(image.height()));
    p.drawImage(QRectF(w.left(), w.top(), w.width(), rowHeight * image.height()), image);
}
