// The numbers the operator types into the tuning and scanner fields. The first byte picks a locale, the rest (UTF-8)
// is the text. Checks: the readings agree with each other and with Qt's own locale reading, rounding stays within
// half a unit, and every value written back the way the program writes it reads back the same.

#include "fixeddecimal.h"
#include "fuzzinput.h"
#include "localenumber.h"

#include <QLocale>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using frequency::ExactDecimal;
using scanner::FixedDecimal;

namespace {

// coarse * factor - fine lies within ±bound (false when that overflows 64 bits).
bool within(qint64 coarse, qint64 factor, qint64 fine, qint64 bound)
{
    qint64 product = 0, difference = 0;
    return !__builtin_mul_overflow(coarse, factor, &product) && !__builtin_sub_overflow(product, fine, &difference)
        && difference >= -bound && difference <= bound;
}

// A whole number of 10^-decimals units as the locale writes it: its sign, digits and decimal separator.
QString localeText(qint64 value, int decimals, const QLocale &locale)
{
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    const auto scale = quint64(std::pow(10, decimals));
    QString text = locale.toString(qulonglong(magnitude / scale));
    if (decimals > 0)
        text += locale.decimalPoint() + locale.toString(qulonglong(scale + magnitude % scale)).mid(1);
    return value < 0 ? locale.negativeSign() + text : text;
}

void checkExactDecimal(const QString &text, const QLocale &locale)
{
    const std::optional<ExactDecimal> number = ExactDecimal::fromText(text, locale);
    FUZZ_CHECK(number || !frequency::kHzTextToTenHz(text, locale));
    if (!number)
        return;
    FUZZ_CHECK(std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }));
    // Each finer scale fits whenever a coarser one does not overflow first, and the two differ by rounding only.
    for (int decimals = 1; decimals <= 8; ++decimals) {
        const std::optional<qint64> coarser = number->scaled(decimals - 1), finer = number->scaled(decimals);
        FUZZ_CHECK(!finer || (coarser && within(*coarser, 10, *finer, 5)));
        FUZZ_CHECK(
            !finer || ((number->isNegative() ? *finer <= 0 : *finer >= 0) && (!number->isZero() || *finer == 0)));
        const qint64 end = number->isNegative() ? -1000 : 1000;
        FUZZ_CHECK(number->scaledClamped(decimals, -1000, 1000) == (finer ? qBound(-1000LL, *finer, 1000LL) : end));
    }
    // Qt's own reading, where it reads the text at all, gives the same value.
    bool ok = false;
    const double qtValue = locale.toDouble(text, &ok);
    const std::optional<qint64> micro = number->scaled(6);
    FUZZ_CHECK(!ok || !micro || std::abs(qtValue) >= 1e9 || std::abs(double(*micro) / 1e6 - qtValue) <= 1e-6);
    // A frequency typed in kHz, written back as the locale writes two decimals, reads the same.
    const std::optional<qint64> tenHz = frequency::kHzTextToTenHz(text, locale);
    FUZZ_CHECK(tenHz == number->scaled(2));
    FUZZ_CHECK(!tenHz || frequency::kHzTextToTenHz(localeText(*tenHz, 2, locale), locale) == tenHz);
}

void checkFixedDecimal(const QString &text, const QLocale &locale)
{
    const std::optional<FixedDecimal> value = FixedDecimal::fromText(text, locale);
    if (!value)
        return;
    const qint64 units = value->units();
    FUZZ_CHECK(FixedDecimal::fromText(value->toText(locale), locale) == value);
    // Rounded to whole 10 Hz units and milliseconds, never by more than half of one.
    FUZZ_CHECK(within(value->timesHundredToTenHz(), 100, units, 50) && within(value->toMilliseconds(), 10, units, 5));
    // Sums stop at the ends of the 64-bit range; a text the kHz fields take stays far inside it.
    qint64 twice = 0;
    const bool overflows = __builtin_add_overflow(units, units, &twice);
    const qint64 end = units < 0 ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
    FUZZ_CHECK((*value + *value).units() == (overflows ? end : twice) && (*value - *value).units() == 0);
    FUZZ_CHECK(!FixedDecimal::fitsKHzField(text, locale) || (units > -10'000'000'000LL && units < 10'000'000'000LL));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *const names[]
        = {"C", "fr_FR", "de_DE", "de_CH", "en_US", "sv_SE", "ar_EG", "fa_IR", "hi_IN", "es_ES"};
    fuzz::Input in(data, size);
    QLocale locale(QString::fromLatin1(names[in.byte() % std::size(names)]));
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString text = QString::fromUtf8(in.rest());
    checkExactDecimal(text, locale);
    checkFixedDecimal(text, locale);
    return 0;
}
