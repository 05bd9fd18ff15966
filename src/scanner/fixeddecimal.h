#pragma once

// The scanner's numbers (frequencies and steps in kHz, seconds, S units): a 64-bit count of ten-thousandths,
// so that adding a step of 12.5 kHz forty times lands exactly on the arrival frequency.

#include <QLocale>
#include <QString>

#include <compare>
#include <limits>
#include <optional>

namespace scanner {

class FixedDecimal
{
public:
    static constexpr qint64 UnitsPerOne = 10000;

    constexpr FixedDecimal() = default;
    static constexpr FixedDecimal fromUnits(qint64 tenThousandths)
    {
        FixedDecimal d;
        d.m_units = tenThousandths;
        return d;
    }
    static constexpr FixedDecimal fromInteger(qint64 whole) { return fromUnits(whole * UnitsPerOne); }

    // A field or combo text in the locale's number rules (its decimal separator, or digits only). Empty
    // text, text that is not a number and group separators give nullopt; digits beyond the fourth decimal
    // are rounded half up.
    static std::optional<FixedDecimal> fromText(const QString &text, const QLocale &locale);

    constexpr qint64 units() const { return m_units; }
    constexpr bool isZero() const { return m_units == 0; }

    // Plain decimal text in the locale, no grouping, no trailing zeros: "144025", "12.5" ("12,5" in French).
    QString toText(const QLocale &locale) const;

    // kHz times 100, that is 10 Hz units for CurrentFreq; a remaining fraction is rounded half up.
    qint64 timesHundredToTenHz() const;
    QString timesHundredToTenHzText() const;
    // Seconds times 1000 rounded half up: the timer interval for a speed.
    qint64 toMilliseconds() const;

    // The kHz display patterns, on the value rounded half up to whole kHz: thousands, a literal point or
    // comma, three digits. 144025 "144.025" / "144,025", 7050 "7.050".
    QString toPointGroupedText() const;
    QString toCommaGroupedText() const;

    // Whether a field holding a frequency or a step in kHz may take this text while it is typed: at most six digits
    // before the locale's decimal separator and four after it. Other characters are left to the reading, which
    // keeps the last good value for a text that is not a number.
    static bool fitsKHzField(QStringView text, const QLocale &locale);

    // Sums and differences stop at the ends of the 64-bit range instead of wrapping round.
    constexpr FixedDecimal &operator+=(FixedDecimal other)
    {
        if (other.m_units > 0 && m_units > Highest - other.m_units)
            m_units = Highest;
        else if (other.m_units < 0 && m_units < Lowest - other.m_units)
            m_units = Lowest;
        else
            m_units += other.m_units;
        return *this;
    }
    constexpr FixedDecimal &operator-=(FixedDecimal other)
    {
        if (other.m_units < 0 && m_units > Highest + other.m_units)
            m_units = Highest;
        else if (other.m_units > 0 && m_units < Lowest + other.m_units)
            m_units = Lowest;
        else
            m_units -= other.m_units;
        return *this;
    }
    friend constexpr FixedDecimal operator+(FixedDecimal a, FixedDecimal b) { return a += b; }
    friend constexpr FixedDecimal operator-(FixedDecimal a, FixedDecimal b) { return a -= b; }
    friend constexpr auto operator<=>(const FixedDecimal &, const FixedDecimal &) = default;

private:
    static constexpr qint64 Highest = std::numeric_limits<qint64>::max();
    static constexpr qint64 Lowest = std::numeric_limits<qint64>::min();

    qint64 m_units = 0;
};

} // namespace scanner
