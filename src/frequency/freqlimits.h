#pragma once

// The two limit routines of the main frequency, without the window: each takes the value Charge_Num is
// about to send (10 Hz units) and says what to send instead, which large step buttons to hide and which
// leading digit labels to hide. Every button and label not named is to be shown. And the tables they and the rest
// of the program read: the receiver's coverage, the amateur bands, the digits' step buttons.

#include "catframe.h"

#include <QFlags>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <optional>

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

constexpr StepButtons kAllLargeSteps {StepButton::Com_pmm, StepButton::Com_mmm, StepButton::Com_pm, StepButton::Com_mm,
    StepButton::Com_pkkk, StepButton::Com_mkkk};
constexpr StepButtons kMegahertzSteps {
    StepButton::Com_pm, StepButton::Com_mm, StepButton::Com_mmm, StepButton::Com_pmm};
constexpr StepButtons kTenMegahertzSteps {StepButton::Com_mmm, StepButton::Com_pmm};

// An amateur band of the FT-847, 10 Hz units, both edges included. Its window reaches beyond the band by at least the
// largest step still offered there, so that one step out of the band is caught and wrapped round. The nine bands
// with a button on the panel also give the button's caption, the working frequency and mode it tunes and the step
// it prepares the scanner with.
struct Band
{
    qint64 windowLow, windowHigh, low, high;
    StepButtons hidden; // the large steps the band hides
    int maxPowerW;
    const char16_t *button = nullptr;
    qint64 working = 0;
    quint8 mode = 0;
    int scanStepKHz = 0;
};

// In the order the limits try them, which is also the order of the band buttons.
inline constexpr std::array<Band, 12> kBands {{
    {180000, 186000, 181000, 185000, kAllLargeSteps, 100, u"1.8", 182500, cat::ModeLSB, 1}, // 160 m
    {340000, 390000, 350000, 380000, kMegahertzSteps, 100, u"3.5", 360000, cat::ModeLSB, 5}, // 80 m
    {690000, 720000, 700000, 710000, kMegahertzSteps, 100, u"7", 705000, cat::ModeLSB, 5}, // 40 m
    {1000000, 1060000, 1010000, 1050000, {}, 100}, // 30 m
    {1390000, 1445000, 1400000, 1435000, kMegahertzSteps, 100, u"14", 1420000, cat::ModeUSB, 5}, // 20 m
    {1796800, 1826800, 1806800, 1816800, {}, 100}, // 17 m
    {2000000, 2245000, 2100000, 2145000, kMegahertzSteps, 100, u"21", 2120000, cat::ModeUSB, 5}, // 15 m
    {2389000, 2599000, 2489000, 2499000, {}, 100}, // 12 m
    {2700000, 3000000, 2800000, 2970000, kMegahertzSteps, 100, u"28", 2850000, cat::ModeUSB, 10}, // 10 m
    {4900000, 5200000, 5000000, 5120000, kMegahertzSteps, 100, u"50", 5020000, cat::ModeUSB, 10}, // 6 m
    {14300000, 14700000, 14400000, 14600000, kTenMegahertzSteps, 50, u"144", 14550000, cat::ModeFM, 25}, // 2 m
    {42000000, 45000000, 43000000, 44000000, kTenMegahertzSteps, 50, u"430", 43342500, cat::ModeFM, 50}, // 70 cm
}};

// The fourteen step buttons: above each digit but the 100 MHz one (digit 0) the button that adds one to it, below it
// the one that takes one away, in 10 Hz units. The limits hide the three largest pairs by their flags; the four
// smallest pairs are always shown.
struct DigitStep
{
    int digit; // 1 (10 MHz) to 7 (10 Hz)
    const char *plus, *minus; // the buttons' names
    qint64 tenHz;
    const char16_t *size; // as the operator reads it
    StepButtons plusFlag, minusFlag;
};
inline constexpr std::array<DigitStep, 7> kDigitSteps {{
    {1, "Com_pmm", "Com_mmm", 1000000, u"10 MHz", StepButton::Com_pmm, StepButton::Com_mmm},
    {2, "Com_pm", "Com_mm", 100000, u"1 MHz", StepButton::Com_pm, StepButton::Com_mm},
    {3, "Com_pkkk", "Com_mkkk", 10000, u"100 kHz", StepButton::Com_pkkk, StepButton::Com_mkkk},
    {4, "Com_pkk", "Com_mkk", 1000, u"10 kHz", {}, {}},
    {5, "Com_pk", "Com_mk", 100, u"1 kHz", {}, {}},
    {6, "Com_phh", "Com_mhh", 10, u"100 Hz", {}, {}},
    {7, "Com_ph", "Com_mh", 1, u"10 Hz", {}, {}},
}};

// The band whose button has this caption ("14"); null for any other text.
const Band *bandOfButton(QStringView caption);

// The receiver's coverage, 10 Hz units, both ends included.
struct Range
{
    qint64 low, high;
};
// What the panel shows before the radio is first read: 145.500.00 MHz, FM.
inline constexpr qint64 kStartTenHz = 14550000;
inline constexpr char16_t kStartMode[] = u"FM";

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
