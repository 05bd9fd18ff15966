#include "lamp.h"

#include <QAccessible>
#include <QPainter>

Lamp::Lamp(QWidget *parent)
    : QWidget(parent)
{ }

void Lamp::setState(const QColor &color, const QString &stateName)
{
    const bool nameChanged = accessibleName() != stateName;
    if (!nameChanged && color == m_color)
        return; // the poll sets the same state three times a second: no repaint for that
    m_color = color;
    setAccessibleName(stateName);
    update();
    if (nameChanged && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void Lamp::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(m_color);
    const qreal side = qMin(width(), height()) - 2;
    p.drawEllipse(QRectF((width() - side) / 2, (height() - side) / 2, side, side));
}
