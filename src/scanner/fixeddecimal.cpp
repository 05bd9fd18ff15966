#include "fixeddecimal.h"

#include "freqtext.h"
#include "localenumber.h"

#include <algorithm>

namespace scanner {

namespace {

// units / divisor, the remainder rounded half away from zero.
qint64 roundedDivide(qint64 units, qint64 divisor)
{
    qint64 quotient = units / divisor;
    const qint64 remainder = units % divisor;
    if (2 * (remainder < 0 ? -remainder : remainder) >= divisor)
        quotient += units < 0 ? -1 : 1;
    return quotient;
}

} // namespace

std::optional<FixedDecimal> FixedDecimal::fromText(const QString &text, const QLocale &locale)
{
    const std::optional<frequency::ExactDecimal> value = frequency::ExactDecimal::fromText(text, locale);
    if (!value)
        return std::nullopt;
    const std::optional<qint64> units = value->scaled(4);
    if (!units)
        return std::nullopt;
    return fromUnits(*units);
}

bool FixedDecimal::fitsKHzField(QStringView text, const QLocale &locale)
{
    constexpr qsizetype WholeDigits = 6, Decimals = 4;
    const qsizetype point = text.indexOf(locale.decimalPoint());
    const auto digits
        = [](QStringView part) { return std::count_if(part.begin(), part.end(), [](QChar c) { return c.isDigit(); }); };
    if (point < 0)
        return digits(text) <= WholeDigits;
    return digits(text.left(point)) <= WholeDigits && digits(text.mid(point)) <= Decimals;
}

QString FixedDecimal::toText(const QLocale &locale) const
{
    const bool negative = m_units < 0;
    const quint64 magnitude = negative ? 0 - quint64(m_units) : quint64(m_units);
    QString text = QString::number(magnitude / UnitsPerOne);
    if (const quint64 fraction = magnitude % UnitsPerOne) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += locale.decimalPoint() + digits;
    }
    return negative ? locale.negativeSign() + text : text;
}

qint64 FixedDecimal::timesHundredToTenHz() const
{
    return roundedDivide(m_units, UnitsPerOne / 100);
}

QString FixedDecimal::timesHundredToTenHzText() const
{
    return QString::number(timesHundredToTenHz());
}

qint64 FixedDecimal::toMilliseconds() const
{
    return roundedDivide(m_units, UnitsPerOne / 1000);
}

QString FixedDecimal::toPointGroupedText() const
{
    return frequency::formatHashPattern(roundedDivide(m_units, UnitsPerOne), u"###.###");
}

QString FixedDecimal::toCommaGroupedText() const
{
    return frequency::formatHashPattern(roundedDivide(m_units, UnitsPerOne), u"###,###");
}

} // namespace scanner
