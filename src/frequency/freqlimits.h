#pragma once

// The two limit routines of the main frequency, without the window: each takes the value Charge_Num is
// about to send (10 Hz units) and says what to send instead, which large step buttons to hide and which
// leading digit labels to hide. Every button and label not named is to be shown.

#include <QFlags>
#include <QtGlobal>

#include <array>

namespace frequency {

// The six large step buttons the limits may hide; the smaller steps are always offered.
enum class StepButton {
    Com_pmm = 0x01, // +10 MHz
    Com_mmm = 0x02, // -10 MHz
    Com_pm = 0x04, // +1 MHz
    Com_mm = 0x08, // -1 MHz
    Com_pkkk = 0x10, // +100 kHz
    Com_mkkk = 0x20, // -100 kHz
};
Q_DECLARE_FLAGS(StepButtons, StepButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(StepButtons)

struct LimitResult
{
    qint64 value = 0; // what to send, 10 Hz units
    StepButtons hidden;
    bool hideLabMmm = false; // the 100 MHz digit would show a leading zero
    bool hideLabMm = false; // the 10 MHz digit would too
};

// The receiver's coverage, 10 Hz units, both ends included.
struct Range
{
    qint64 low, high;
};
inline constexpr std::array<Range, 3> kCoverage {{{10000, 7600000}, {10800000, 17400000}, {42000000, 51200000}}};
bool inCoverage(qint64 tenHz);

// Whole-range mode: keeps the value inside the receiver's coverage (100 kHz-76 MHz, 108-174 MHz,
// 420-512 MHz), jumping the two gaps in the direction of travel and stopping at both ends. The value may
// be negative (a step down below zero).
LimitResult freq_limit(qint64 tenHz);

// Amateur mode: wraps the value round inside the amateur band whose window holds it and hides the steps
// that would jump out of that band. A value in no window passes unchanged with every step shown.
LimitResult freq_limite_bande(qint64 tenHz);

} // namespace frequency
