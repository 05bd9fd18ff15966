#pragma once

// Exact reading of the numbers the operator types (tuning field, scanner fields, memory editor) and of the
// numbers the program writes into its own captions. No binary floating point: "145.512" times 100000 must be
// 14551200, not 14551199.999.

#include <QByteArray>
#include <QLocale>
#include <QStringView>

#include <optional>

namespace frequency {

// A decimal number exactly as written, any length. Read it from text, then scale it to the whole unit the
// caller counts in (10 Hz units, ten-thousandths of a kHz, ...).
class ExactDecimal
{
public:
    ExactDecimal() = default; // zero

    // A number in the locale's conventions: surrounding blanks, an optional sign (the locale's or an ASCII
    // "+"/"-"), digits, at most one decimal separator of the locale, digits; at least one digit in all.
    // Group separators, exponents and anything else make the text unreadable (nullopt): in a field of six
    // characters a group separator is far more likely a mistyped decimal point than a thousands mark, and
    // reading "12.5" as 125 in a German locale would tune the wrong frequency.
    static std::optional<ExactDecimal> fromText(QStringView text, const QLocale &locale);

    // The leading number of a text written by the program itself, read the old BASIC way: leading blanks
    // skipped, an optional sign, digits with the point as decimal separator whatever the locale, stopping at
    // the first character that cannot continue the number. Never fails: no digits read as zero.
    // "145.512.34" reads 145.512, ".500.00" 0.5, "145.500 FM" 145.5, "" 0.
    static ExactDecimal valPrefix(QStringView text);

    bool isZero() const { return m_digits.isEmpty(); }
    bool isNegative() const { return m_negative; }

    // The value times 10^decimals (decimals at least 0) as a whole number, a remaining fraction rounded half away from
    // zero (half up for the positive values the fields hold). nullopt when the result does not fit in 64 bits.
    std::optional<qint64> scaled(int decimals) const;
    // As scaled(), brought into [low, high]; a result too large for 64 bits goes to the end of its sign.
    qint64 scaledClamped(int decimals, qint64 low, qint64 high) const;

private:
    ExactDecimal(bool negative, QByteArray digits, int scale);

    bool m_negative = false;
    QByteArray m_digits; // ASCII digits without leading zeros nor trailing fraction zeros; empty for zero
    int m_scale = 0; // how many of the trailing digits lie after the decimal point (may exceed the length)
};

// A frequency typed in kHz (the tuning field, the memory editor) in 10 Hz units: "145500" gives 14550000,
// "145500,5" in French 14550050; finer fractions are rounded half up to whole 10 Hz units.
// nullopt for an empty text or one that is not a number.
std::optional<qint64> kHzTextToTenHz(QStringView text, const QLocale &locale);

} // namespace frequency
