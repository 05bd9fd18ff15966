#pragma once

// Colours of the panel and the helpers that paint a control's background whatever its kind; and how screen
// readers meet the panel's controls.

#include <QAccessible>
#include <QColor>
#include <QFont>

class QLabel;
class QWidget;

namespace look {

inline const QColor Face {0xC0, 0xC0, 0xC0}; // the window
inline const QColor Navy {0x00, 0x00, 0x80}; // navigation label at rest
inline const QColor Teal {0x00, 0x80, 0x80}; // navigation label while what it opens is open
inline const QColor PanelOff {0x40, 0x40, 0x40}; // the panel set while the link is off
inline const QColor PanelOn {0xC0, 0xC0, 0xFF}; // ... and while it is on
inline const QColor PanelOffText {0xB0, 0xB0, 0xB0}; // its text while the link is off
inline const QColor DisabledText {0x55, 0x55, 0x55}; // captions of the operating controls while the link is off
inline const QColor Transmitting {0xFF, 0x00, 0x00}; // the transmit light
inline const QColor Receiving {0x00, 0xC0, 0x00};
inline const QColor Busy {0xC0, 0xFF, 0xFF}; // the busy light while the squelch is open
inline const QColor Quiet {0xC0, 0xC0, 0xFF};
// The S-meter bar, by reading: up to S5, to S6, to S9, above S9.
inline const QColor MeterLow {0x00, 0xC0, 0xC0};
inline const QColor MeterMid {0x00, 0x80, 0x80};
inline const QColor MeterHigh {0x00, 0x40, 0x40};
inline const QColor MeterOver {0xFF, 0x00, 0x00};

// Background of a label, field, list or frame; the text colour follows so that it stays readable.
void setBackColor(QWidget *widget, const QColor &color);
QColor backColor(const QWidget *widget);
void setForeColor(QWidget *widget, const QColor &color);

// A fixed-pitch font of the given pixel size, whatever fonts the system has.
QFont fixedFont(int pixelSize);

// Makes labels used as buttons, indicator lights and combo boxes known to screen readers for what they are:
// a combo box is named by its accessible name (its caption), not by the text it holds, which stays its value.
void installAccessibility();

// The label is read as its caption followed by what it shows ("VFO B 145.500.00"), and each change of what it
// shows is announced. Its own accessible name stays empty: a label that has one announces no change of text.
void nameWithValue(QLabel *label, const QString &caption);

// The widget is read as one item with this role and its accessible name; what it holds stays out of the
// accessibility tree (the frequency display speaks for its digit labels).
void speakAsOne(QWidget *widget, QAccessible::Role role);

// The widget is announced with this role instead of the one Qt gives its class (a plain widget is a filler).
void setAccessibleRole(QWidget *widget, QAccessible::Role role);

} // namespace look
