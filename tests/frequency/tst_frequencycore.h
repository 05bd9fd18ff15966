#pragma once

// The frequency's pure core: the two limit routines, the texts CurrentFreq and the second VFO take, the exact
// reading of typed numbers. Each check compares its input along with the result, so that a failure names its row.

#include "freqlimits.h"
#include "freqtext.h"
#include "localenumber.h"

#include <QTest>

using namespace frequency;
using namespace Qt::StringLiterals;

class TestFrequencyCore : public QObject
{
    Q_OBJECT

    static constexpr qint64 No = std::numeric_limits<qint64>::min(); // unreadable: nothing is tuned

private slots:
    // Both sides of every jump, stop and class boundary of the whole range; the steps and leading digits hidden.
    // (The amateur bands' edges are the tuning scenarios'.)
    void limits()
    {
        using enum StepButton;
        const qint64 ten = StepButtons {Com_pmm, Com_mmm}.toInt();
        for (const auto &[entry, value] : {std::pair {7600001LL, 10800000LL}, {7600000, 7600000}, {8800000, 10800000},
                 {10799999, 7600000}, {10800000, 10800000}, {9000000, 7600000}, {17400001, 42000000},
                 {17400000, 17400000}, {18600000, 42000000}, {41999999, 17400000}, {42000000, 42000000},
                 {41000000, 17400000}, {51200001, 51200000}, {52200000, 51200000}, {51200000, 51200000}, {9999, 10000},
                 {-5000, 10000}, {8800001, 8800001}, {52200001, 52200001}})
            QCOMPARE((std::pair {entry, freq_limit(entry).value}), (std::pair {entry, value}));
        for (const auto &[entry, hidden, lead] : {std::tuple {999998, ten, 2}, {999999, 0LL, 2}, {1000000, 0LL, 1},
                 {10800000, 0LL, 0}, {100990000, 0LL, 0}}) {
            const LimitResult r = freq_limit(entry);
            QCOMPARE((QList<qint64> {entry, r.hidden.toInt(), r.hideLabMmm + r.hideLabMm}),
                (QList<qint64> {entry, hidden, lead}));
        }
        QCOMPARE(freq_limite_bande(-90000).value, -90000); // in no window, and without leading zeros to hide
        QVERIFY(!freq_limite_bande(-90000).hideLabMmm);
    }

    // CurrentFreq as the eight digits sent: blanks and sign read, half rounds up, below zero gives zero, beyond eight
    // digits (or 64 bits) the highest; what is no number sends nothing (empty).
    void currentFreq_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("digits");
        QTest::newRow("blanks and sign") << u" +1420000 "_s << u"01420000"_s;
        QTest::newRow("below zero") << u"-90000"_s << u"00000000"_s;
        QTest::newRow("nine digits") << u"100990000"_s << u"99999999"_s;
        QTest::newRow("beyond 64 bits") << u"123456789012345678901234"_s << u"99999999"_s;
        QTest::newRow("below -2^63") << u"-123456789012345678901234"_s << u"00000000"_s;
        QTest::newRow("half rounds up") << u"14550050.5"_s << u"14550051"_s;
        QTest::newRow("under half") << u"14550050.4999"_s << u"14550050"_s;
        QTest::newRow("half at the top") << u"99999999.5"_s << u"99999999"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("comma") << u"14550000,5"_s << QString();
    }
    void currentFreq()
    {
        QFETCH(QString, text);
        const std::optional<qint64> value = normaliseFreq(text);
        QTEST(value ? eightDigitText(*value) : QString(), "digits");
    }

    // The second VFO's caption in the BASIC "#" pattern: below 100 kHz the pattern loses the kHz zeros.
    void secondVfo_data()
    {
        QTest::addColumn<qint64>("tenHz");
        QTest::addColumn<QString>("caption");
        QTest::newRow("2 m") << 14551234LL << u"145.512.34"_s;
        QTest::newRow("40 m") << 705000LL << u"7.050.00"_s;
        QTest::newRow("10 kHz") << 1000LL << u".10.00"_s;
        QTest::newRow("50 Hz") << 5LL << u"..5"_s;
        QTest::newRow("zero") << 0LL << u".."_s;
        QTest::newRow("wider than the pattern") << 123456789LL << u"1234.567.89"_s;
        QTest::newRow("negative") << -5LL << u"-..5"_s;
    }
    void secondVfo()
    {
        QFETCH(qint64, tenHz);
        QTEST(vfoDisplayText(tenHz), "caption");
    }

    // Typed numbers in the locale (its decimal separator only: no group marks, no exponent) and the program's own
    // captions (the point, a leading number), scaled to whole units rounding half away from zero.
    void numbers()
    {
        const QLocale fr(QLocale::French, QLocale::France), de(QLocale::German, QLocale::Germany), c = QLocale::c();
        const std::tuple<QLocale, const char *, int, qint64> typed[] = {{fr, "999999", 2, 99999900},
            {fr, "145500,005", 2, 14550001}, {fr, "145500,0049", 2, 14550000}, {fr, ",5", 2, 50}, {fr, "5,", 2, 500},
            {fr, " +12 ", 2, 1200}, {fr, "-1", 2, -100}, {c, "145500.5", 2, 14550050}, {de, "12,5", 2, 1250},
            {fr, "   ", 2, No}, {fr, "145k", 2, No}, {fr, "145.5", 2, No}, {fr, ",", 2, No}, {fr, "1,2,3", 2, No},
            {fr, "145\u202f500", 2, No}, {de, "12.5", 2, No}, {c, "1e3", 2, No}, {c, "99999999999999999999", 2, No},
            {c, "-2.5", 0, -3}, {c, "0.0005", 2, 0}, {c, "000144000", 4, 1440000000},
            {c, "9223372036854775807", 0, std::numeric_limits<qint64>::max()}, {c, "9223372036854775807.5", 0, No}};
        for (const auto &[locale, text, decimals, expected] : typed) {
            const QString in = QString::fromUtf8(text);
            const auto number = ExactDecimal::fromText(in, locale);
            QCOMPARE((std::pair {in, number ? number->scaled(decimals).value_or(No) : No}), (std::pair {in, expected}));
            QVERIFY(decimals != 2 || kHzTextToTenHz(in, locale).value_or(No) == expected);
            QVERIFY(!number || expected == No || number->isNegative() == (expected < 0));
        }
        for (const auto &[text, expected] :
            {std::pair {"145.500 FM", 145500}, {" -7.05x", -7050}, {"+.5", 500}, {"-", 0}, {" ", 0}})
            QCOMPARE(ExactDecimal::valPrefix(QString::fromLatin1(text)).scaled(3), qint64(expected));
    }
};
