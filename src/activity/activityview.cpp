#include "activityview.h"

#include "activitymodel.h"
#include "look.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

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

ActivityView::ActivityView(const ActivityModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_waterfall(model)
{
    setObjectName(QStringLiteral("ActivityView"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(480, 300);
    look::setAccessibleRole(this, QAccessible::Chart);
    setAccessibleName(QStringLiteral("Spectre"));
    const auto redraw = [this] { update(); };
    // A scan of short steps, or one whose step yields while it sends, would otherwise repaint at every step.
    m_coalesce.setSingleShot(true);
    m_coalesce.setInterval(50);
    connect(&m_coalesce, &QTimer::timeout, this, redraw);
    connect(&model, &ActivityModel::rangeChanged, this, [this] {
        m_waterfall.rebuild();
        m_focused = m_pointed = -1;
        update();
    });
    connect(&model, &ActivityModel::sweepStarted, this, [this] {
        m_waterfall.rebuild();
        update();
    });
    connect(&model, &ActivityModel::readingAdded, this, [this](int index) {
        m_waterfall.readingAdded(index);
        if (index == m_focused)
            setAccessibleName(stepWords(index));
        if (!m_coalesce.isActive())
            m_coalesce.start();
    });
    connect(&model, &ActivityModel::visitingChanged, this, redraw);
}

QRect ActivityView::spectrumRect() const
{
    const int height = (this->height() - kTop - kAxis) * 3 / 5;
    return {kLeft, kTop, width() - kLeft - kRight, height};
}

QRect ActivityView::waterfallRect() const
{
    const QRect s = spectrumRect();
    return {kLeft, s.bottom() + 1 + kAxis, s.width(), height() - s.bottom() - 1 - kAxis - 4};
}

int ActivityView::yOfLevel(double level) const
{
    const QRect s = spectrumRect();
    return s.bottom() - int(level / kTopLevel * s.height());
}

QPoint ActivityView::stepCentre(int index) const
{
    const QRect s = spectrumRect();
    const int count = std::max(1, m_model.stepCount());
    return {s.left() + int((index + 0.5) * s.width() / count), s.center().y()};
}

int ActivityView::stepAt(QPoint position) const
{
    const QRect s = spectrumRect();
    const int count = m_model.stepCount();
    if (count == 0 || position.x() < s.left() || position.x() > s.right() || position.y() < s.top())
        return -1;
    return std::min(count - 1, int(qint64(position.x() - s.left()) * count / s.width()));
}

std::optional<double> ActivityView::shownLevel(int index) const
{
    for (int row = 0; row < std::min(2, m_model.sweepCount()); ++row) {
        if (const auto level = m_model.level(row, index))
            return level;
    }
    return std::nullopt;
}

QString ActivityView::stepWords(int index) const
{
    const QString kHz = m_model.frequencyAt(index).toCommaGroupedText();
    const auto level = shownLevel(index);
    return level ? QStringLiteral("%1 kHz %2").arg(kHz, ActivityModel::levelWords(*level))
                 : QStringLiteral("%1 kHz non entendu").arg(kHz);
}

void ActivityView::setFocusedStep(int index)
{
    if (m_model.stepCount() == 0)
        return;
    m_focused = std::clamp(index, 0, m_model.stepCount() - 1);
    setAccessibleName(stepWords(m_focused));
    update();
}

void ActivityView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), look::Face);
    p.fillRect(spectrumRect(), Qt::white);
    p.fillRect(waterfallRect(), WaterfallImage::unheard());
    paintScale(p);
    if (m_model.stepCount() == 0) {
        p.setPen(Qt::black);
        p.drawText(spectrumRect(), Qt::AlignCenter, QStringLiteral("En attente d'un balayage du scanner"));
        return;
    }
    paintSpectrum(p);
    paintWaterfall(p);
    paintMarks(p);
}

void ActivityView::paintScale(QPainter &p) const
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
        const int left = std::clamp(x - w / 2, 0, width() - w);
        p.drawText(QRect(left, s.bottom() + 4, w, kAxis - 6), Qt::AlignCenter, text);
    }
}

void ActivityView::paintSpectrum(QPainter &p) const
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

void ActivityView::paintMarks(QPainter &p) const
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
    if (m_focused >= 0 && hasFocus()) {
        p.setPen(QPen(look::Teal, 1, Qt::DotLine));
        const int x = stepCentre(m_focused).x();
        p.drawRect(x - 4, s.top(), 8, s.height());
    }
}

void ActivityView::paintWaterfall(QPainter &p) const
{
    const QImage &image = m_waterfall.image();
    if (image.isNull())
        return;
    // A row per sweep, the newest at the top; the first sweeps drawn thick enough to see, the last hundred filling
    // the height.
    const QRect w = waterfallRect();
    const double rowHeight = w.height() / std::max(30.0, double(image.height()));
    p.drawImage(QRectF(w.left(), w.top(), w.width(), rowHeight * image.height()), image);
}

void ActivityView::mouseMoveEvent(QMouseEvent *event)
{
    const int index = stepAt(event->position().toPoint());
    if (index != m_pointed) {
        m_pointed = index;
        emit stepPointed(index);
    }
    if (index >= 0)
        QToolTip::showText(event->globalPosition().toPoint(), stepWords(index), this);
    else
        QToolTip::hideText();
}

void ActivityView::leaveEvent(QEvent *)
{
    m_pointed = -1;
    emit stepPointed(-1);
}

void ActivityView::mouseReleaseEvent(QMouseEvent *event)
{
    const int index = stepAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || index < 0)
        return;
    setFocusedStep(index);
    emit stepChosen(index);
}

void ActivityView::focusInEvent(QFocusEvent *event)
{
    if (m_focused < 0)
        setFocusedStep(std::max(0, m_model.visiting()));
    QWidget::focusInEvent(event);
}

void ActivityView::keyPressEvent(QKeyEvent *event)
{
    const int count = m_model.stepCount();
    const int page = std::max(1, count / 20);
    int to = m_focused;
    switch (event->key()) {
    case Qt::Key_Left:
        to -= 1;
        break;
    case Qt::Key_Right:
        to += 1;
        break;
    case Qt::Key_PageUp:
        to -= page;
        break;
    case Qt::Key_PageDown:
        to += page;
        break;
    case Qt::Key_Home:
        to = 0;
        break;
    case Qt::Key_End:
        to = count - 1;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_focused >= 0)
            emit stepChosen(m_focused);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    setFocusedStep(to);
}
