#include "freqtext.h"

#include <QTest>

using namespace frequency;
using namespace Qt::StringLiterals;

class TestFreqText : public QObject
{
    Q_OBJECT

private slots:
    void normalise_data()
    {
        QTest::addColumn<QString>("currentFreq");
        QTest::addColumn<QString>("expected"); // null: not a number, nothing is sent

        QTest::newRow("band button value padded") << u"1420000"_s << u"01420000"_s;
        QTest::newRow("sum of a step") << u"14550001"_s << u"14550001"_s;
        QTest::newRow("zero") << u"0"_s << u"00000000"_s;
        QTest::newRow("blanks and plus sign") << u" +1420000 "_s << u"01420000"_s;
        QTest::newRow("negative becomes zero") << u"-90000"_s << u"00000000"_s;
        QTest::newRow("nine digits become the highest") << u"100990000"_s << u"99999999"_s;
        QTest::newRow("highest stays") << u"99999999"_s << u"99999999"_s;
        QTest::newRow("beyond 64 bits") << u"123456789012345678901234"_s << u"99999999"_s;
        QTest::newRow("beyond 64 bits, negative") << u"-123456789012345678901234"_s << u"00000000"_s;
        QTest::newRow("half rounds up") << u"14550050.5"_s << u"14550051"_s;
        QTest::newRow("below half rounds down") << u"14550050.4999"_s << u"14550050"_s;
        QTest::newRow("99999999.5 stays in eight digits") << u"99999999.5"_s << u"99999999"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("decimal comma is not ours") << u"14550000,5"_s << QString();
    }
    void normalise()
    {
        QFETCH(QString, currentFreq);
        QFETCH(QString, expected);
        QCOMPARE(normaliseFreqText(currentFreq).value_or(QString()), expected);
        QCOMPARE(normaliseFreq(currentFreq).value_or(-1), expected.isNull() ? -1 : expected.toLongLong());
    }

    void hashPattern_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");

        const QString vfo = u"###.###.##"_s;
        QTest::newRow("145.512.34") << 14551234LL << vfo << u"145.512.34"_s;
        QTest::newRow("7.050.00") << 705000LL << vfo << u"7.050.00"_s;
        QTest::newRow("10 kHz drops the kHz zero") << 1000LL << vfo << u".10.00"_s;
        QTest::newRow("single digit") << 5LL << vfo << u"..5"_s;
        QTest::newRow("zero shows only the points") << 0LL << vfo << u".."_s;
        QTest::newRow("extra digits go to the first place") << 123456789LL << vfo << u"1234.567.89"_s;
        QTest::newRow("negative") << -5LL << vfo << u"-..5"_s;
        QTest::newRow("scanner point") << 144025LL << u"###.###"_s << u"144.025"_s;
        QTest::newRow("scanner comma") << 7050LL << u"###,###"_s << u"7,050"_s;
    }
    void hashPattern()
    {
        QFETCH(qint64, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(formatHashPattern(value, pattern), expected);
        if (pattern == u"###.###.##")
            QCOMPARE(vfoDisplayText(value), expected);
    }

    void vfo2Reading_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<qint64>("tenHz");

        QTest::newRow("stops at the second point") << u"145.512.34"_s << 14551200LL;
        QTest::newRow("below 1 MHz") << u".500.00"_s << 50000LL;
        QTest::newRow("leading blanks") << u"  14.200.00"_s << 1420000LL;
        QTest::newRow("empty") << QString() << 0LL;
        QTest::newRow("no digits") << u"RXTX"_s << 0LL;
        QTest::newRow("points only") << u"..5"_s << 0LL;
        QTest::newRow("whole MHz") << u"145"_s << 14500000LL;
        QTest::newRow("finer than 10 Hz rounds half up") << u"145.5123456"_s << 14551235LL;
        QTest::newRow("locale comma is not read") << u"145,500"_s << 14500000LL;
    }
    void vfo2Reading()
    {
        QFETCH(QString, caption);
        QTEST(vfo2ToTenHz(caption), "tenHz");
    }

    void vfo2RoundTrip_data()
    {
        QTest::addColumn<qint64>("tenHz");
        QTest::addColumn<qint64>("readBack");

        // What a swap puts on display comes back to the kHz; below 100 kHz the pattern loses the kHz zeros.
        QTest::newRow("100 kHz") << 10000LL << 10000LL;
        QTest::newRow("999.99 kHz") << 99999LL << 99900LL;
        QTest::newRow("145.512.34") << 14551234LL << 14551200LL;
        QTest::newRow("highest") << 99999999LL << 99999900LL;
        QTest::newRow("50 kHz reads as 500 kHz") << 5000LL << 50000LL;
    }
    void vfo2RoundTrip()
    {
        QFETCH(qint64, tenHz);
        QTEST(vfo2ToTenHz(vfoDisplayText(tenHz)), "readBack");
    }
};

QTEST_APPLESS_MAIN(TestFreqText)
#include "tst_freqtext.moc"
