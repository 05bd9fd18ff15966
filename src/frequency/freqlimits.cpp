#include "freqlimits.h"

#include <algorithm>

namespace frequency {

namespace {

using enum StepButton;

// Leading zeros of the eight-digit text; a value outside 0..99999999 has none.
void hideLeadingDigits(LimitResult &result)
{
    result.hideLabMmm = result.value >= 0 && result.value < 10000000;
    result.hideLabMm = result.value >= 0 && result.value < 1000000;
}

} // namespace

const Band *bandOfButton(QStringView caption)
{
    const auto band = std::find_if(kBands.begin(), kBands.end(),
        [caption](const Band &b) { return b.button && caption == QStringView(b.button); });
    return band == kBands.end() ? nullptr : &*band;
}

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
    for (const Band &band : kBands) {
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
