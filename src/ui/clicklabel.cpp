#include "clicklabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

ClickLabel::ClickLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(true);
}

void ClickLabel::click()
{
    if (isEnabled() && isVisible())
        emit clicked();
}

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        click();
    else
        QLabel::mouseReleaseEvent(event);
}

void ClickLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        click();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void ClickLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter p(this);
    QPen pen(palette().color(QPalette::WindowText), 1, Qt::DotLine);
    p.setPen(pen);
    p.drawRect(rect().adjusted(1, 1, -2, -2));
}
