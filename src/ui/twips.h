#pragma once

// Layout is given in twips: 1440 to the inch, so 15 to a logical pixel at 96 dpi. Qt scales logical pixels for
// high-dpi screens, so converting here is all the program needs.

#include <QRect>
#include <QtMath>

namespace ui {

constexpr int twipsPerPixel = 15;

// The S-meter bar: twips per step of the radio's reading (0 to 31, the receiver status's low five bits), and the
// width of the highest reading.
constexpr int meterTwipsPerStep = 130;
constexpr int meterFullTwips = 31 * meterTwipsPerStep;

constexpr int px(int twips)
{
    return (twips + (twips >= 0 ? twipsPerPixel / 2 : -twipsPerPixel / 2)) / twipsPerPixel;
}

constexpr double pxF(double twips)
{
    return twips / twipsPerPixel;
}

constexpr int twips(int pixels)
{
    return pixels * twipsPerPixel;
}

inline QRect rectTw(int left, int top, int width, int height)
{
    return {px(left), px(top), px(width), px(height)};
}

} // namespace ui
