#include "freqtext.h"

#include "localenumber.h"

#include <QLocale>

#include <limits>

namespace frequency {

std::optional<qint64> normaliseFreq(QStringView currentFreq)
{
    const std::optional<ExactDecimal> value = ExactDecimal::fromText(currentFreq, QLocale::c());
    if (!value)
        return std::nullopt;
    return value->scaledClamped(0, 0, HighestFreq);
}

QString eightDigitText(qint64 tenHz)
{
    return QStringLiteral("%1").arg(qBound(qint64(0), tenHz, HighestFreq), 8, 10, QLatin1Char('0'));
}

QString formatHashPattern(qint64 value, QStringView pattern)
{
    const bool negative = value < 0;
    const quint64 magnitude = negative ? 0 - quint64(value) : quint64(value);
    const QString digits = magnitude == 0 ? QString() : QString::number(magnitude);
    const qsizetype places = pattern.count(u'#');
    // Placeholder s (from 0) shows digit s - offset when that index exists; the first one also takes any
    // digits that have no placeholder of their own.
    const qsizetype offset = places - digits.size();

    QString text;
    if (negative)
        text += u'-';
    qsizetype slot = 0;
    for (const QChar c : pattern) {
        if (c != u'#') {
            text += c;
            continue;
        }
        if (slot == 0 && offset < 0)
            text += digits.left(1 - offset);
        else if (slot - offset >= 0)
            text += digits.at(slot - offset);
        ++slot;
    }
    return text;
}

QString vfoDisplayText(qint64 tenHz)
{
    return formatHashPattern(tenHz, u"###.###.##");
}

} // namespace frequency
