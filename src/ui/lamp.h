#pragma once

// A round indicator light (transmit, busy). Its accessible name tells its state, since a colour says nothing
// to a screen reader.

#include <QColor>
#include <QWidget>

class Lamp : public QWidget
{
    Q_OBJECT

public:
    explicit Lamp(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    // Sets the colour and the state a screen reader announces.
    void setState(const QColor &color, const QString &stateName);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color = Qt::gray;
};
