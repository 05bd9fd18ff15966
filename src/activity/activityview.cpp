#include "activityview.h"

#include "activitymodel.h"
#include "look.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

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
    picture().paint(p, m_waterfall.image(), hasFocus() ? m_focused : -1);
}

QPoint ActivityView::stepCentre(int index) const
{
    return picture().stepCentre(index);
}

int ActivityView::stepAt(QPoint position) const
{
    return picture().stepAt(position);
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
