#pragma once

// The texts a frequency takes on its way through the program: CurrentFreq as eight digits, the dotted MHz
// form of the second VFO, and the reading of that form back into 10 Hz units.

#include <QString>
#include <QStringView>

#include <optional>

namespace frequency {

// The largest value eight digits of 10 Hz units can hold (999.999.99 MHz).
constexpr qint64 HighestFreq = 99999999;

// The value of a CurrentFreq text brought to what the display and the CAT frame can hold. CurrentFreq is
// written by the program, so it is read with the point as decimal separator whatever the locale. A fraction
// is rounded half up to whole 10 Hz units; a negative value becomes 0 and one over eight digits 99999999,
// so whatever follows (limits, BCD packing) always sees a whole number of at most eight digits. In
// whole-range mode the limits then raise 0 to 100 kHz as they would any value below it.
// nullopt when the text is not a number at all: the caller then sends nothing.
std::optional<qint64> normaliseFreq(QStringView currentFreq);
// A value in 10 Hz units as eight digits, brought into 0..99999999 first.
QString eightDigitText(qint64 tenHz);

// The old BASIC Format for a pattern of "#" placeholders and literal characters: the digits of the value
// fill the placeholders from the right; a placeholder left without a digit shows nothing, but every literal
// is shown; digits beyond the placeholders all go into the leftmost one; zero has no digits at all; a
// negative value is preceded by "-". With "###.###.##": 14550000 "145.500.00", 705000 "7.050.00",
// 5 "..5", 0 "..", 123456789 "1234.567.89".
QString formatHashPattern(qint64 value, QStringView pattern);

// A frequency in 10 Hz units as the second VFO shows it: "145.500.00" for 14550000, "14.200.00" for 1420000.
QString vfoDisplayText(qint64 tenHz);

} // namespace frequency
