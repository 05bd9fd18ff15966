#include "localenumber.h"

#include <limits>

namespace frequency {

namespace {

// Digits of both parts joined, in the form ExactDecimal keeps them.
struct DigitCollector
{
    QByteArray digits;
    int scale = 0;
    int count = 0; // digits seen, leading zeros included
    bool inFraction = false;

    void add(int value)
    {
        ++count;
        if (value == 0 && digits.isEmpty() && !inFraction)
            return; // leading zero of the whole part
        digits.append(char('0' + value));
        if (inFraction)
            ++scale;
    }
};

bool startsWithSign(QStringView text, QStringView sign, QChar ascii, qsizetype *length)
{
    if (!sign.isEmpty() && text.startsWith(sign)) {
        *length = sign.size();
        return true;
    }
    if (!text.isEmpty() && text.front() == ascii) {
        *length = 1;
        return true;
    }
    return false;
}

} // namespace

ExactDecimal::ExactDecimal(bool negative, QByteArray digits, int scale)
{
    // Fraction zeros carry no value; dropping them keeps scaling cheap and makes equal values look equal.
    while (scale > 0 && digits.endsWith('0')) {
        digits.chop(1);
        --scale;
    }
    // Zeros right after the point were kept to hold the place; without them the value is written by scale.
    qsizetype lead = 0;
    while (lead < digits.size() && digits.at(lead) == '0')
        ++lead;
    digits.remove(0, lead);
    if (digits.isEmpty())
        scale = 0;
    m_negative = negative && !digits.isEmpty();
    m_digits = digits;
    m_scale = scale;
}

std::optional<ExactDecimal> ExactDecimal::fromText(QStringView text, const QLocale &locale)
{
    text = text.trimmed();
    bool negative = false;
    qsizetype signLength = 0;
    if (startsWithSign(text, locale.negativeSign(), u'-', &signLength))
        negative = true;
    else if (!startsWithSign(text, locale.positiveSign(), u'+', &signLength))
        signLength = 0;
    text = text.mid(signLength);

    const QString point = locale.decimalPoint();
    DigitCollector collected;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c.isDigit()) {
            collected.add(c.digitValue());
            ++i;
        } else if (!collected.inFraction && !point.isEmpty() && text.mid(i).startsWith(point)) {
            collected.inFraction = true;
            i += point.size();
        } else {
            return std::nullopt;
        }
    }
    if (collected.count == 0)
        return std::nullopt;
    return ExactDecimal(negative, collected.digits, collected.scale);
}

ExactDecimal ExactDecimal::valPrefix(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == u' ' || text.at(i) == u'\t' || text.at(i) == u'\n' || text.at(i) == u'\r'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    DigitCollector collected;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= u'0' && c <= u'9')
            collected.add(c - u'0');
        else if (c == u'.' && !collected.inFraction)
            collected.inFraction = true;
        else
            break;
    }
    return ExactDecimal(negative, collected.digits, collected.scale);
}

std::optional<qint64> ExactDecimal::scaled(int decimals) const
{
    const qsizetype length = m_digits.size();
    const int shift = decimals - m_scale;
    // Digits kept for the whole result, then how many zeros follow them.
    qsizetype kept = length;
    int zeros = 0;
    bool roundUp = false;
    if (shift >= 0) {
        zeros = shift;
    } else {
        const qsizetype cut = -qsizetype(shift);
        kept = cut >= length ? 0 : length - cut;
        roundUp = cut <= length && m_digits.at(length - cut) >= '5';
    }

    constexpr quint64 limit = quint64(std::numeric_limits<qint64>::max());
    quint64 magnitude = 0;
    auto push = [&magnitude](int digit) {
        if (magnitude > (limit - quint64(digit)) / 10)
            return false;
        magnitude = magnitude * 10 + quint64(digit);
        return true;
    };
    for (qsizetype i = 0; i < kept; ++i) {
        if (!push(m_digits.at(i) - '0'))
            return std::nullopt;
    }
    for (int i = 0; i < zeros && magnitude != 0; ++i) {
        if (!push(0))
            return std::nullopt;
    }
    if (roundUp) {
        if (magnitude == limit)
            return std::nullopt;
        ++magnitude;
    }
    const auto value = qint64(magnitude);
    return m_negative ? -value : value;
}

qint64 ExactDecimal::scaledClamped(int decimals, qint64 low, qint64 high) const
{
    const std::optional<qint64> value = scaled(decimals);
    if (!value)
        return m_negative ? low : high;
    return qBound(low, *value, high);
}

std::optional<qint64> kHzTextToTenHz(QStringView text, const QLocale &locale)
{
    const std::optional<ExactDecimal> kHz = ExactDecimal::fromText(text, locale);
    if (!kHz)
        return std::nullopt;
    return kHz->scaled(2);
}

} // namespace frequency
