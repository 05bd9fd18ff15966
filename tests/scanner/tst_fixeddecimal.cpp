#include "fixeddecimal.h"

#include <QTest>

using namespace scanner;
using namespace Qt::StringLiterals;

namespace {

FixedDecimal cValue(const QString &text)
{
    return FixedDecimal::fromText(text, QLocale::c()).value();
}

} // namespace

class TestFixedDecimal : public QObject
{
    Q_OBJECT

private slots:
    void text_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("units"); // -1: unreadable
        QTest::addColumn<QString>("shown");

        const QLocale fr(QLocale::French, QLocale::France);
        const QLocale c = QLocale::c();
        QTest::newRow("c step 12.5") << c << u"12.5"_s << 125000LL << u"12.5"_s;
        QTest::newRow("fr step 12,5") << fr << u"12,5"_s << 125000LL << u"12,5"_s;
        QTest::newRow("fr whole frequency") << fr << u"144025"_s << 1440250000LL << u"144025"_s;
        QTest::newRow("c smallest unit") << c << u"0.0001"_s << 1LL << u"0.0001"_s;
        QTest::newRow("c trailing zeros dropped") << c << u"7.0500"_s << 70500LL << u"7.05"_s;
        QTest::newRow("c fifth decimal rounds half up") << c << u"1.23455"_s << 12346LL << u"1.2346"_s;
        QTest::newRow("c fifth decimal below half") << c << u"1.23454"_s << 12345LL << u"1.2345"_s;
        QTest::newRow("c negative") << c << u"-12.5"_s << -125000LL << u"-12.5"_s;
        QTest::newRow("c zero") << c << u"0"_s << 0LL << u"0"_s;
        QTest::newRow("empty") << fr << QString() << -1LL << QString();
        QTest::newRow("detection choice") << fr << u"Buzy"_s << -1LL << QString();
    }
    void text()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, typed);
        QFETCH(qint64, units);
        QFETCH(QString, shown);
        const std::optional<FixedDecimal> value = FixedDecimal::fromText(typed, locale);
        QCOMPARE(value.has_value(), units != -1);
        if (!value)
            return;
        QCOMPARE(value->units(), units);
        QCOMPARE(value->toText(locale), shown);
        // What the scanner writes back into its fields must read again as the same value.
        QCOMPARE(FixedDecimal::fromText(shown, locale).value_or(FixedDecimal::fromUnits(-1)).units(), units);
    }

    void conversions_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("tenHz");
        QTest::addColumn<qint64>("milliseconds");
        QTest::addColumn<QString>("pointText");
        QTest::addColumn<QString>("commaText");

        QTest::newRow("144025 kHz") << u"144025"_s << u"14402500"_s << 144025000LL << u"144.025"_s << u"144,025"_s;
        QTest::newRow("half kHz") << u"144012.5"_s << u"14401250"_s << 144012500LL << u"144.013"_s << u"144,013"_s;
        QTest::newRow("half of 10 Hz") << u"144000.005"_s << u"14400001"_s << 144000005LL << u"144.000"_s
                                       << u"144,000"_s;
        QTest::newRow("speed 0.5") << u"0.5"_s << u"50"_s << 500LL << u".1"_s << u",1"_s;
        QTest::newRow("half a millisecond") << u"0.0005"_s << u"0"_s << 1LL << u"."_s << u","_s;
        QTest::newRow("seven digits") << u"1234567"_s << u"123456700"_s << 1234567000LL << u"1234.567"_s
                                      << u"1234,567"_s;
    }
    void conversions()
    {
        QFETCH(QString, value);
        const FixedDecimal number = cValue(value);
        QTEST(number.timesHundredToTenHzText(), "tenHz");
        QTEST(number.toMilliseconds(), "milliseconds");
        QTEST(number.toPointGroupedText(), "pointText");
        QTEST(number.toCommaGroupedText(), "commaText");
    }

    void stepping_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("steps");
        QTest::addColumn<bool>("exact");

        QTest::newRow("12.5 kHz, forty steps") << u"144000"_s << u"144500"_s << u"12.5"_s << 40 << true;
        QTest::newRow("0.1 kHz over 2 MHz") << u"144000"_s << u"146000"_s << u"0.1"_s << 20000 << true;
        QTest::newRow("smallest unit") << u"0"_s << u"1"_s << u"0.0001"_s << 10000 << true;
        QTest::newRow("passing the end") << u"144000"_s << u"144001"_s << u"0.3"_s << 4 << false;
    }
    void stepping()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, step);
        const FixedDecimal first = cValue(start);
        const FixedDecimal last = cValue(end);
        const FixedDecimal increment = cValue(step);
        FixedDecimal position = first;
        int taken = 0;
        for (; position < last; ++taken)
            position += increment;
        QTEST(taken, "steps");
        QTEST(position == last, "exact");
        for (int i = 0; i < taken; ++i)
            position -= increment;
        QCOMPARE(position.units(), first.units());
    }

    // A sum that would leave the 64-bit range stops at its end rather than wrapping round.
    void sumsStopAtTheEnds_data()
    {
        QTest::addColumn<qint64>("a");
        QTest::addColumn<qint64>("b");
        QTest::addColumn<qint64>("sum");
        QTest::addColumn<qint64>("difference");
        constexpr qint64 highest = std::numeric_limits<qint64>::max(), lowest = std::numeric_limits<qint64>::min();
        QTest::newRow("step of 922337203685477 kHz from 144000")
            << 1440000000LL << 9223372036854770000LL << highest << -9223372035414770000LL;
        QTest::newRow("down past the lowest") << lowest + 5 << 10LL << lowest + 15 << lowest;
        QTest::newRow("minus the lowest") << 0LL << lowest << lowest << highest;
        QTest::newRow("within the range") << 1440000000LL << 125000LL << 1440125000LL << 1439875000LL;
    }
    void sumsStopAtTheEnds()
    {
        QFETCH(qint64, a);
        QFETCH(qint64, b);
        QTEST((FixedDecimal::fromUnits(a) + FixedDecimal::fromUnits(b)).units(), "sum");
        QTEST((FixedDecimal::fromUnits(a) - FixedDecimal::fromUnits(b)).units(), "difference");
    }

    void kHzFieldText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fits");
        QTest::newRow("frequency") << u"144025"_s << true;
        QTest::newRow("step with four decimals") << u"8,3333"_s << true;
        QTest::newRow("not a number: left to the reading") << u"12.5x"_s << true;
        QTest::newRow("seven digits") << u"1440250"_s << false;
        QTest::newRow("fifth decimal") << u"12,50000"_s << false;
        QTest::newRow("a step beyond the sums") << u"922337203685477"_s << false;
    }
    void kHzFieldText()
    {
        QFETCH(QString, text);
        QTEST(FixedDecimal::fitsKHzField(text, QLocale(QLocale::French, QLocale::France)), "fits");
    }
};

QTEST_APPLESS_MAIN(TestFixedDecimal)
#include "tst_fixeddecimal.moc"
