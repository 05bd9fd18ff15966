#pragma once

// The waterfall as a picture: one pixel per step across, one row per sweep down (the newest at the top), the level
// as a colour. Kept up to date reading by reading, so that a repaint only scales it into place.

#include <QColor>
#include <QImage>

class ActivityModel;

class WaterfallImage
{
public:
    explicit WaterfallImage(const ActivityModel &model);

    // Colour of a level in S units (0 to 15.5), and of a step the scan did not hear.
    static QRgb colourOf(double level);
    static QRgb unheard() { return qRgb(0x20, 0x20, 0x30); }

    void rebuild(); // a new range, or a new sweep that moved every row down
    void readingAdded(int index); // a step of the newest sweep
    const QImage &image() const { return m_image; }

private:
    const ActivityModel &m_model;
    QImage m_image;
};
