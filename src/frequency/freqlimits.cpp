#include "freqlimits.h"

#include <algorithm>

namespace frequency {

namespace {

using enum StepButton;

constexpr StepButtons allSix()
{
    return {Com_pmm, Com_mmm, Com_pm, Com_mm, Com_pkkk, Com_mkkk};
}
constexpr StepButtons megahertzSteps()
{
    return {Com_pm, Com_mm, Com_mmm, Com_pmm};
}
constexpr StepButtons tenMegahertzSteps()
{
    return {Com_mmm, Com_pmm};
}

// A band applies when the value lies in its window, which reaches beyond the band by at least the largest
// step still offered there, so that one step out of the band is caught and wrapped.
struct Band
{
    qint64 windowLow;
    qint64 windowHigh;
    qint64 low;
    qint64 high;
    StepButtons hidden;
};

// In the order they are tried.
constexpr std::array<Band, 12> bands {{
    {180000, 186000, 181000, 185000, allSix()}, // 160 m
    {340000, 390000, 350000, 380000, megahertzSteps()}, // 80 m
    {690000, 720000, 700000, 710000, megahertzSteps()}, // 40 m
    {1000000, 1060000, 1010000, 1050000, {}}, // 30 m
    {1390000, 1445000, 1400000, 1435000, megahertzSteps()}, // 20 m
    {1796800, 1826800, 1806800, 1816800, {}}, // 17 m
    {2000000, 2245000, 2100000, 2145000, megahertzSteps()}, // 15 m
    {2389000, 2599000, 2489000, 2499000, {}}, // 12 m
    {2700000, 3000000, 2800000, 2970000, megahertzSteps()}, // 10 m
    {4900000, 5200000, 5000000, 5120000, megahertzSteps()}, // 6 m
    {14300000, 14700000, 14400000, 14600000, tenMegahertzSteps()}, // 2 m
    {42000000, 45000000, 43000000, 44000000, tenMegahertzSteps()}, // 70 cm
}};

// Leading zeros of the eight-digit text; a value outside 0..99999999 has none.
void hideLeadingDigits(LimitResult &result)
{
    result.hideLabMmm = result.value >= 0 && result.value < 10000000;
    result.hideLabMm = result.value >= 0 && result.value < 1000000;
}

} // namespace

bool inCoverage(qint64 tenHz)
{
    return std::any_of(
        kCoverage.begin(), kCoverage.end(), [tenHz](Range r) { return tenHz >= r.low && tenHz <= r.high; });
}

LimitResult freq_limit(qint64 tenHz)
{
    LimitResult result;
    qint64 &value = result.value;
    value = tenHz;
    // The class is chosen once, on the value at entry; its actions then apply one after the other.
    if (tenHz <= 8800000) {
        if (value < 10000)
            value = 10000; // lower end of the coverage
        if (value > 7600000)
            value = 10800000; // up over the 76-108 MHz gap
        if (value < 999999)
            result.hidden = {Com_pmm, Com_mmm};
    } else if (tenHz >= 9000000 && tenHz <= 18600000) {
        if (value < 10800000)
            value = 7600000; // down over the 76-108 MHz gap
        if (value > 17400000)
            value = 42000000; // up over the 174-420 MHz gap
    } else if (tenHz >= 41000000 && tenHz <= 52200000) {
        if (value < 42000000)
            value = 17400000; // down over the 174-420 MHz gap
        if (value > 51200000)
            value = 51200000; // upper end of the coverage
    }
    hideLeadingDigits(result);
    return result;
}

LimitResult freq_limite_bande(qint64 tenHz)
{
    LimitResult result;
    result.value = tenHz;
    for (const Band &band : bands) {
        if (tenHz < band.windowLow || tenHz > band.windowHigh)
            continue;
        if (result.value < band.low)
            result.value = band.high;
        if (result.value > band.high)
            result.value = band.low;
        result.hidden = band.hidden;
        break;
    }
    hideLeadingDigits(result);
    return result;
}

} // namespace frequency
