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
    void text_data();
    void text();
    void unreadable_data();
    void unreadable();
    void conversions_data();
    void conversions();
    void stepping_data();
    void stepping();
};

void TestFixedDecimal::text_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("shown");

    const QLocale fr(QLocale::French, QLocale::France);
    const QLocale c = QLocale::c();
    QTest::newRow("c step 12.5") << c << u"12.5"_s << 125000LL << u"12.5"_s;
    QTest::newRow("fr step 12,5") << fr << u"12,5"_s << 125000LL << u"12,5"_s;
    QTest::newRow("fr whole frequency") << fr << u"144025"_s << 1440250000LL << u"144025"_s;
    QTest::newRow("fr speed 0,5") << fr << u"0,5"_s << 5000LL << u"0,5"_s;
    QTest::newRow("c smallest unit") << c << u"0.0001"_s << 1LL << u"0.0001"_s;
    QTest::newRow("c trailing zeros dropped") << c << u"7.0500"_s << 70500LL << u"7.05"_s;
    QTest::newRow("c fifth decimal rounds half up") << c << u"1.23455"_s << 12346LL << u"1.2346"_s;
    QTest::newRow("c fifth decimal below half") << c << u"1.23454"_s << 12345LL << u"1.2345"_s;
    QTest::newRow("c negative") << c << u"-12.5"_s << -125000LL << u"-12.5"_s;
    QTest::newRow("c zero") << c << u"0"_s << 0LL << u"0"_s;
}

void TestFixedDecimal::text()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, typed);
    QFETCH(qint64, units);
    QFETCH(QString, shown);

    const std::optional<FixedDecimal> value = FixedDecimal::fromText(typed, locale);
    QVERIFY(value);
    QCOMPARE(value->units(), units);
    QCOMPARE(value->toText(locale), shown);
    // What the scanner writes back into its fields must read again as the same value.
    QCOMPARE(FixedDecimal::fromText(shown, locale).value_or(FixedDecimal::fromUnits(-1)).units(), units);
}

void TestFixedDecimal::unreadable_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("typed");

    const QLocale fr(QLocale::French, QLocale::France);
    QTest::newRow("empty") << fr << QString();
    QTest::newRow("detection choice") << fr << u"Buzy"_s;
    QTest::newRow("fr point") << fr << u"12.5"_s;
    QTest::newRow("c comma") << QLocale::c() << u"12,5"_s;
    QTest::newRow("grouped") << QLocale::c() << u"144,025"_s;
}

void TestFixedDecimal::unreadable()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, typed);

    QVERIFY(!FixedDecimal::fromText(typed, locale));
}

void TestFixedDecimal::conversions_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("tenHz");
    QTest::addColumn<qint64>("milliseconds");
    QTest::addColumn<QString>("pointText");
    QTest::addColumn<QString>("commaText");

    QTest::newRow("144025 kHz") << u"144025"_s << u"14402500"_s << 144025000LL << u"144.025"_s << u"144,025"_s;
    QTest::newRow("7050 kHz") << u"7050"_s << u"705000"_s << 7050000LL << u"7.050"_s << u"7,050"_s;
    QTest::newRow("half kHz") << u"144012.5"_s << u"14401250"_s << 144012500LL << u"144.013"_s << u"144,013"_s;
    QTest::newRow("half of 10 Hz") << u"144000.005"_s << u"14400001"_s << 144000005LL << u"144.000"_s << u"144,000"_s;
    QTest::newRow("speed 0.5") << u"0.5"_s << u"50"_s << 500LL << u".1"_s << u",1"_s;
    QTest::newRow("speed 1.5") << u"1.5"_s << u"150"_s << 1500LL << u".2"_s << u",2"_s;
    QTest::newRow("half a millisecond") << u"0.0005"_s << u"0"_s << 1LL << u"."_s << u","_s;
    QTest::newRow("seven digits") << u"1234567"_s << u"123456700"_s << 1234567000LL << u"1234.567"_s << u"1234,567"_s;
}

void TestFixedDecimal::conversions()
{
    QFETCH(QString, value);
    QFETCH(QString, tenHz);
    QFETCH(qint64, milliseconds);
    QFETCH(QString, pointText);
    QFETCH(QString, commaText);

    const FixedDecimal number = cValue(value);
    QCOMPARE(number.timesHundredToTenHzText(), tenHz);
    QCOMPARE(number.toMilliseconds(), milliseconds);
    QCOMPARE(number.toPointGroupedText(), pointText);
    QCOMPARE(number.toCommaGroupedText(), commaText);
}

void TestFixedDecimal::stepping_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("steps");
    QTest::addColumn<bool>("exact");

    QTest::newRow("12.5 kHz, forty steps") << u"144000"_s << u"144500"_s << u"12.5"_s << 40 << true;
    QTest::newRow("5 kHz over 14000-14350") << u"14000"_s << u"14350"_s << u"5"_s << 70 << true;
    QTest::newRow("0.1 kHz over 2 MHz") << u"144000"_s << u"146000"_s << u"0.1"_s << 20000 << true;
    QTest::newRow("smallest unit") << u"0"_s << u"1"_s << u"0.0001"_s << 10000 << true;
    QTest::newRow("passing the end") << u"144000"_s << u"144001"_s << u"0.3"_s << 4 << false;
}

void TestFixedDecimal::stepping()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, step);
    QFETCH(int, steps);
    QFETCH(bool, exact);

    const FixedDecimal first = cValue(start);
    const FixedDecimal last = cValue(end);
    const FixedDecimal increment = cValue(step);
    FixedDecimal position = first;
    int taken = 0;
    while (position < last) {
        position += increment;
        ++taken;
    }
    QCOMPARE(taken, steps);
    QCOMPARE(position == last, exact);
    QVERIFY(position >= last);
    for (int i = 0; i < taken; ++i)
        position -= increment;
    QCOMPARE(position.units(), first.units());
}

QTEST_APPLESS_MAIN(TestFixedDecimal)
#include "tst_fixeddecimal.moc"
