#pragma once

// The scanner's fixed-point numbers: typed and shown in the locale, turned into CurrentFreq and timer intervals,
// stepped without drift, and kept from wrapping round. Each check compares its input along with the result.

#include "fixeddecimal.h"

#include <QTest>

using scanner::FixedDecimal;

class TestFixedDecimal : public QObject
{
    Q_OBJECT

    static FixedDecimal fixed(const char *text)
    {
        return FixedDecimal::fromText(QString::fromLatin1(text), QLocale::c()).value();
    }

private slots:
    // Read in the locale (-1: unreadable) and written back as the scanner writes its fields (the fuzzer reads them
    // again); then in 10 Hz units, milliseconds and the kHz caption, each rounded half up.
    void text()
    {
        const QLocale fr(QLocale::French, QLocale::France), c = QLocale::c();
        for (const auto &[locale, typed, units, shown] : {std::tuple {c, "12.5", 125000LL, "12.5"},
                 {fr, "12,5", 125000LL, "12,5"}, {fr, "144025", 1440250000LL, "144025"}, {c, "0.0001", 1LL, "0.0001"},
                 {c, "7.0500", 70500LL, "7.05"}, {c, "1.23455", 12346LL, "1.2346"}, {c, "1.23454", 12345LL, "1.2345"},
                 {c, "-12.5", -125000LL, "-12.5"}, {c, "0", 0LL, "0"}, {fr, "", -1LL, ""}, {fr, "Buzy", -1LL, ""},
                 {c, "922337203685477.5808", -1LL, ""}}) {
            const QString in = QString::fromLatin1(typed);
            const auto value = FixedDecimal::fromText(in, locale);
            QCOMPARE((std::pair {in, value ? value->units() : -1}), (std::pair {in, units}));
            QCOMPARE(value ? value->toText(locale) : QString(), QString::fromLatin1(shown));
        }
        for (const auto &[value, tenHz, ms, kHz] : {std::tuple {"144025", 14402500LL, 144025000LL, "144.025"},
                 {"144012.5", 14401250LL, 144012500LL, "144.013"}, {"144000.005", 14400001LL, 144000005LL, "144.000"},
                 {"0.5", 50LL, 500LL, ".1"}, {"0.0005", 0LL, 1LL, "."}, {"-0.0005", 0LL, -1LL, "."},
                 {"1234567", 123456700LL, 1234567000LL, "1234.567"}}) {
            const FixedDecimal number = fixed(value);
            QCOMPARE((QList<qint64> {number.units(), number.timesHundredToTenHz(), number.toMilliseconds()}),
                (QList<qint64> {number.units(), tenHz, ms}));
            QCOMPARE(number.timesHundredToTenHzText(), QString::number(tenHz));
            QCOMPARE(number.toPointGroupedText(), QString::fromLatin1(kHz));
            QCOMPARE(number.toCommaGroupedText(), QString::fromLatin1(kHz).replace(u'.', u','));
        }
    }

    // Steps add up to the arrival exactly and come back to the start; sums stop at the ends of the 64-bit range.
    void arithmetic()
    {
        for (const auto &[start, end, step, steps, exact] :
            {std::tuple {"144000", "144500", "12.5", 40, true}, {"144000", "146000", "0.1", 20000, true},
                {"0", "1", "0.0001", 10000, true}, {"144000", "144001", "0.3", 4, false}}) {
            FixedDecimal position = fixed(start);
            int taken = 0;
            for (; position < fixed(end); ++taken)
                position += fixed(step);
            QCOMPARE((std::tuple {step, taken, position == fixed(end)}), (std::tuple {step, steps, exact}));
            for (int i = 0; i < taken; ++i)
                position -= fixed(step);
            QCOMPARE(position.units(), fixed(start).units());
        }
        constexpr qint64 highest = std::numeric_limits<qint64>::max(), lowest = std::numeric_limits<qint64>::min();
        for (const auto &[a, b, sum, difference] :
            {std::array {1440000000LL, 9223372036854770000LL, highest, -9223372035414770000LL},
                {lowest + 5, 10LL, lowest + 15, lowest}, {0LL, lowest, lowest, highest}}) {
            const FixedDecimal x = FixedDecimal::fromUnits(a), y = FixedDecimal::fromUnits(b);
            QCOMPARE((QList<qint64> {a, b, (x + y).units(), (x - y).units()}), (QList<qint64> {a, b, sum, difference}));
        }
    }
};
