#pragma once

// The compass of the locator window: a dark green dial with a cross, diagonal strokes, graduation and
// cardinal labels, and the red needle Li1. Its geometry is given in twips of the window's client area, so the
// widget is placed by its own rectangle in those twips and paints through a transform: on a high-dpi screen
// every stroke is drawn at the screen's resolution.

#include <QLineF>
#include <QRect>
#include <QWidget>

class CompassWidget : public QWidget
{
    Q_OBJECT

public:
    // area: the part of the window's client area the compass covers, in twips.
    explicit CompassWidget(const QRect &areaTwips, QWidget *parent = nullptr);

    // The needle Li1, from its pivot to its tip, in twips of the window's client area.
    QLineF needle() const { return m_needle; }
    // description: what a screen reader announces for the needle ("Azimut 292°").
    void setNeedle(const QLineF &twips, const QString &description);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect m_area;
    QLineF m_needle;
};
