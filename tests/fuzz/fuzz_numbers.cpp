// The numbers the operator types into the tuning and scanner fields, and the frequency texts the program reads
// back from its own captions. The first byte picks a locale, the rest (UTF-8) is the text. Checks: the readings
// agree with each other and with Qt's own locale reading, rounding stays within half a unit, and every value
// written back the way the program writes it reads back the same.

#include "fixeddecimal.h"
#include "freqtext.h"
#include "fuzzinput.h"
#include "localenumber.h"

#include <QLocale>

using namespace Qt::StringLiterals;

#include <cmath>
#include <limits>

namespace {

using frequency::ExactDecimal;
using scanner::FixedDecimal;

const QList<QLocale> &locales()
{
    static const QList<QLocale> list = [] {
        QList<QLocale> l = {QLocale::c(), QLocale(QLocale::French, QLocale::France),
            QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::German, QLocale::Switzerland),
            QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::Swedish, QLocale::Sweden),
            QLocale(QLocale::Arabic, QLocale::Egypt), QLocale(QLocale::Persian, QLocale::Iran),
            QLocale(QLocale::Hindi, QLocale::India), QLocale(QLocale::Spanish, QLocale::Spain)};
        for (QLocale &locale : l)
            locale.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return list;
}

// How far a count of coarse units lies from a count of units `factor` times finer: coarse * factor - fine, or
// nothing when that does not even fit in 64 bits.
std::optional<qint64> gap(qint64 coarse, qint64 factor, qint64 fine)
{
    qint64 product = 0;
    qint64 difference = 0;
    if (__builtin_mul_overflow(coarse, factor, &product) || __builtin_sub_overflow(product, fine, &difference))
        return std::nullopt;
    return difference;
}

bool within(std::optional<qint64> value, qint64 bound)
{
    return value && *value >= -bound && *value <= bound;
}

// A whole number in 10^-decimals units as the locale writes it: its sign, its digits, its decimal separator.
QString localeText(qint64 value, int decimals, const QLocale &locale)
{
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    quint64 scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    QString text = locale.toString(qulonglong(magnitude / scale));
    if (decimals > 0)
        text += locale.decimalPoint() + locale.toString(qulonglong(scale + magnitude % scale)).mid(1);
    return value < 0 ? locale.negativeSign() + text : text;
}

void checkExactDecimal(const QString &text, const QLocale &locale)
{
    const std::optional<ExactDecimal> number = ExactDecimal::fromText(text, locale);
    if (!number) {
        FUZZ_CHECK(!frequency::kHzTextToTenHz(text, locale), text);
        return;
    }
    FUZZ_CHECK(std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }), text);

    // Each finer scale fits whenever a coarser one does not overflow first, and the two differ by rounding only.
    std::optional<qint64> coarser = number->scaled(0);
    for (int decimals = 1; decimals <= 8; ++decimals) {
        const std::optional<qint64> finer = number->scaled(decimals);
        if (finer) {
            FUZZ_CHECK(coarser.has_value(), text);
            FUZZ_CHECK(within(gap(*coarser, 10, *finer), 5), text + u" at "_s + QString::number(decimals));
            FUZZ_CHECK(number->isNegative() ? *finer <= 0 : *finer >= 0, text);
            FUZZ_CHECK(!number->isZero() || *finer == 0, text);
        }
        const qint64 clamped = number->scaledClamped(decimals, -1000, 1000);
        FUZZ_CHECK(clamped >= -1000 && clamped <= 1000, text);
        if (finer)
            FUZZ_CHECK(clamped == qBound(qint64(-1000), *finer, qint64(1000)), text);
        else
            FUZZ_CHECK(clamped == (number->isNegative() ? -1000 : 1000), text);
        coarser = finer;
    }

    // Qt's own reading, where it reads the text at all, gives the same value.
    bool ok = false;
    const double qtValue = locale.toDouble(text, &ok);
    const std::optional<qint64> micro = number->scaled(6);
    if (ok && micro && std::abs(qtValue) < 1e9)
        FUZZ_CHECK(std::abs(double(*micro) / 1e6 - qtValue) <= 1e-6, text + u" "_s + QString::number(qtValue, 'g', 17));

    // A frequency typed in kHz, written back as the locale writes two decimals, reads the same.
    const std::optional<qint64> tenHz = frequency::kHzTextToTenHz(text, locale);
    FUZZ_CHECK(tenHz == number->scaled(2), text);
    if (tenHz) {
        const QString written = localeText(*tenHz, 2, locale);
        FUZZ_CHECK(frequency::kHzTextToTenHz(written, locale) == tenHz, text + u" -> "_s + written);
    }
}

void checkFixedDecimal(const QString &text, const QLocale &locale)
{
    const std::optional<FixedDecimal> value = FixedDecimal::fromText(text, locale);
    if (!value)
        return;
    const QString written = value->toText(locale);
    FUZZ_CHECK(FixedDecimal::fromText(written, locale) == value, text + u" -> "_s + written);
    const qint64 units = value->units();
    // Rounded to whole 10 Hz units and milliseconds, never by more than half of one.
    FUZZ_CHECK(within(gap(value->timesHundredToTenHz(), 100, units), 50), text);
    FUZZ_CHECK(within(gap(value->toMilliseconds(), 10, units), 5), text);
    FUZZ_CHECK(value->timesHundredToTenHzText() == QString::number(value->timesHundredToTenHz()), text);
    // Sums stop at the ends of the 64-bit range; a text the kHz fields take stays far inside it.
    qint64 twice = 0;
    const bool overflows = __builtin_add_overflow(units, units, &twice);
    const qint64 end = units < 0 ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
    FUZZ_CHECK((*value + *value).units() == (overflows ? end : twice), text);
    FUZZ_CHECK((*value - *value).units() == 0, text);
    if (FixedDecimal::fitsKHzField(text, locale))
        FUZZ_CHECK(units > -10'000'000'000LL && units < 10'000'000'000LL, text);
    for (const QString &grouped : {value->toPointGroupedText(), value->toCommaGroupedText()}) {
        FUZZ_CHECK(grouped.count(u'.') + grouped.count(u',') == 1, grouped);
        FUZZ_CHECK(std::all_of(grouped.begin(), grouped.end(),
                       [](QChar c) { return c.isDigit() || c == u'.' || c == u',' || c == u'-'; }),
            grouped);
    }
}

// The texts the program writes into its own captions and reads back, point as separator whatever the locale.
void checkCaptions(const QString &text)
{
    const ExactDecimal prefix = ExactDecimal::valPrefix(text);
    // The reading stops where the number ends: what follows cannot change it.
    FUZZ_CHECK(ExactDecimal::valPrefix(text + QStringLiteral(" FM")).scaled(5) == prefix.scaled(5), text);
    if (const std::optional<qint64> v = prefix.scaled(5)) {
        const QString written = localeText(*v, 5, QLocale::c());
        FUZZ_CHECK(ExactDecimal::valPrefix(written).scaled(5) == v, text + u" -> "_s + written);
    }

    const std::optional<qint64> freq = frequency::normaliseFreq(text);
    FUZZ_CHECK(freq.has_value() == ExactDecimal::fromText(text, QLocale::c()).has_value(), text);
    if (!freq)
        return;
    FUZZ_CHECK(*freq >= 0 && *freq <= frequency::HighestFreq, text);
    const QString eight = frequency::normaliseFreqText(text).value_or(QString());
    FUZZ_CHECK(eight.size() == 8 && frequency::normaliseFreq(eight) == freq, eight);
    // The second VFO shows a frequency dotted in MHz; reading the caption back loses only the last two digits.
    // Below 100 kHz, which the radio does not cover, the caption drops the zeros that hold the places.
    const QString vfo = frequency::vfoDisplayText(*freq);
    if (*freq >= 10000)
        FUZZ_CHECK(frequency::vfo2ToTenHz(vfo) == *freq - *freq % 100, vfo);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const QLocale &locale = locales()[in.byte() % locales().size()];
    const QString text = QString::fromUtf8(in.rest());
    checkExactDecimal(text, locale);
    checkFixedDecimal(text, locale);
    checkCaptions(text);
    return 0;
}
