#pragma once

// Colours of the panel and the helpers that paint a control's background whatever its kind.

#include <QColor>
#include <QFont>

class QWidget;

namespace look {

inline const QColor Face{0xC0, 0xC0, 0xC0}; // the window
inline const QColor Navy{0x00, 0x00, 0x80}; // navigation label at rest
inline const QColor Teal{0x00, 0x80, 0x80}; // navigation label while what it opens is open
inline const QColor PanelOff{0x40, 0x40, 0x40}; // the panel set while the link is off
inline const QColor PanelOn{0xC0, 0xC0, 0xFF}; // ... and while it is on

// Background of a label, field, list or frame; the text colour follows so that it stays readable.
void setBackColor(QWidget *widget, const QColor &color);
QColor backColor(const QWidget *widget);
void setForeColor(QWidget *widget, const QColor &color);

// A fixed-pitch font of the given pixel size, whatever fonts the system has.
QFont fixedFont(int pixelSize);

// Makes labels used as buttons and indicator lights known to screen readers for what they are.
void installAccessibility();

} // namespace look
