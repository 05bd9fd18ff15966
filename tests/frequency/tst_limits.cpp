#include "freqlimits.h"

#include <QTest>

using namespace frequency;
using enum StepButton;

namespace {

const int none = 0;
const int tenMHz = StepButtons {Com_pmm, Com_mmm}.toInt();
const int mHz = StepButtons {Com_pm, Com_mm, Com_pmm, Com_mmm}.toInt();
const int allSix = StepButtons {Com_pmm, Com_mmm, Com_pm, Com_mm, Com_pkkk, Com_mkkk}.toInt();

struct BandWindow
{
    const char *name;
    qint64 windowLow, windowHigh, low, high;
    int hidden;
};

const BandWindow bandWindows[] = {
    {"1.8", 180000, 186000, 181000, 185000, allSix},
    {"3.5", 340000, 390000, 350000, 380000, mHz},
    {"7", 690000, 720000, 700000, 710000, mHz},
    {"10.1", 1000000, 1060000, 1010000, 1050000, none},
    {"14", 1390000, 1445000, 1400000, 1435000, mHz},
    {"18", 1796800, 1826800, 1806800, 1816800, none},
    {"21", 2000000, 2245000, 2100000, 2145000, mHz},
    {"24", 2389000, 2599000, 2489000, 2499000, none},
    {"28", 2700000, 3000000, 2800000, 2970000, mHz},
    {"50", 4900000, 5200000, 5000000, 5120000, mHz},
    {"144", 14300000, 14700000, 14400000, 14600000, tenMHz},
    {"430", 42000000, 45000000, 43000000, 44000000, tenMHz},
};

} // namespace

class TestLimits : public QObject
{
    Q_OBJECT

private slots:
    void wholeRange_data();
    void wholeRange();
    void amateurBands_data();
    void amateurBands();
    void leadingDigits_data();
    void leadingDigits();
};

void TestLimits::wholeRange_data()
{
    QTest::addColumn<qint64>("entry");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<int>("hidden");

    QTest::newRow("76 MHz up 10 Hz jumps to 108") << 7600001LL << 10800000LL << none;
    QTest::newRow("76 MHz stays") << 7600000LL << 7600000LL << none;
    QTest::newRow("76.5 MHz up to 108") << 7650000LL << 10800000LL << none;
    QTest::newRow("88 MHz, top of class A") << 8800000LL << 10800000LL << none;
    QTest::newRow("108 MHz down 10 Hz jumps to 76") << 10799999LL << 7600000LL << none;
    QTest::newRow("108 MHz stays") << 10800000LL << 10800000LL << none;
    QTest::newRow("90 MHz, bottom of class B") << 9000000LL << 7600000LL << none;
    QTest::newRow("174 MHz up 10 Hz jumps to 420") << 17400001LL << 42000000LL << none;
    QTest::newRow("174 MHz stays") << 17400000LL << 17400000LL << none;
    QTest::newRow("186 MHz, top of class B") << 18600000LL << 42000000LL << none;
    QTest::newRow("420 MHz down 10 Hz jumps to 174") << 41999999LL << 17400000LL << none;
    QTest::newRow("420 MHz stays") << 42000000LL << 42000000LL << none;
    QTest::newRow("410 MHz, bottom of class C") << 41000000LL << 17400000LL << none;
    QTest::newRow("512 MHz up 10 Hz stops") << 51200001LL << 51200000LL << none;
    QTest::newRow("512 MHz up 10 MHz stops") << 52200000LL << 51200000LL << none;
    QTest::newRow("512 MHz stays") << 51200000LL << 51200000LL << none;
    QTest::newRow("100 kHz down 10 Hz stops") << 9999LL << 10000LL << tenMHz;
    QTest::newRow("100 kHz down 100 kHz stops") << 0LL << 10000LL << tenMHz;
    QTest::newRow("950 kHz down 1 MHz, negative") << -5000LL << 10000LL << tenMHz;
    QTest::newRow("far below zero") << -99999999LL << 10000LL << tenMHz;
    QTest::newRow("999.98 kHz hides 10 MHz steps") << 999998LL << 999998LL << tenMHz;
    QTest::newRow("999.99 kHz shows them") << 999999LL << 999999LL << none;
    QTest::newRow("88 MHz + 10 Hz, in no class") << 8800001LL << 8800001LL << none;
    QTest::newRow("89 MHz typed in") << 8900000LL << 8900000LL << none;
    QTest::newRow("90 MHz - 10 Hz, in no class") << 8999999LL << 8999999LL << none;
    QTest::newRow("186 MHz + 10 Hz, in no class") << 18600001LL << 18600001LL << none;
    QTest::newRow("300 MHz typed in") << 30000000LL << 30000000LL << none;
    QTest::newRow("410 MHz - 10 Hz, in no class") << 40999999LL << 40999999LL << none;
    QTest::newRow("522 MHz + 10 Hz, in no class") << 52200001LL << 52200001LL << none;
    QTest::newRow("over eight digits") << 100990000LL << 100990000LL << none;
}

void TestLimits::wholeRange()
{
    QFETCH(qint64, entry);
    QFETCH(qint64, expected);
    QFETCH(int, hidden);

    const LimitResult result = freq_limit(entry);
    QCOMPARE(result.value, expected);
    QCOMPARE(result.hidden.toInt(), hidden);
}

void TestLimits::amateurBands_data()
{
    QTest::addColumn<qint64>("entry");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<int>("hidden");

    // Every window: its ends, the band edges and one 10 Hz step across each edge, both directions.
    for (const BandWindow &b : bandWindows) {
        auto row = [&b](const char *what, qint64 entry, qint64 expected, int hidden) {
            QTest::addRow("%s %s", b.name, what) << entry << expected << hidden;
        };
        row("below the window", b.windowLow - 1, b.windowLow - 1, none);
        row("window bottom wraps to the top", b.windowLow, b.high, b.hidden);
        row("10 Hz below the band wraps to the top", b.low - 1, b.high, b.hidden);
        row("bottom edge stays", b.low, b.low, b.hidden);
        row("top edge stays", b.high, b.high, b.hidden);
        row("10 Hz above the band wraps to the bottom", b.high + 1, b.low, b.hidden);
        row("window top wraps to the bottom", b.windowHigh, b.low, b.hidden);
        row("above the window", b.windowHigh + 1, b.windowHigh + 1, none);
    }
    QTest::newRow("1.805 MHz wraps to 1.850") << 180500LL << 185000LL << allSix;
    QTest::newRow("146 MHz + 1 MHz wraps to 144") << 14700000LL << 14400000LL << tenMHz;
    QTest::newRow("144 MHz - 1 MHz wraps to 146") << 14300000LL << 14600000LL << tenMHz;
    QTest::newRow("10.1 MHz + 1 MHz leaves the bands") << 1110000LL << 1110000LL << none;
    QTest::newRow("negative, in no window") << -90000LL << -90000LL << none;
    QTest::newRow("zero, in no window") << 0LL << 0LL << none;
}

void TestLimits::amateurBands()
{
    QFETCH(qint64, entry);
    QFETCH(qint64, expected);
    QFETCH(int, hidden);

    const LimitResult result = freq_limite_bande(entry);
    QCOMPARE(result.value, expected);
    QCOMPARE(result.hidden.toInt(), hidden);
}

void TestLimits::leadingDigits_data()
{
    QTest::addColumn<bool>("amateur");
    QTest::addColumn<qint64>("entry");
    QTest::addColumn<bool>("hideLabMmm");
    QTest::addColumn<bool>("hideLabMm");

    QTest::newRow("00010000 hides both") << false << 10000LL << true << true;
    QTest::newRow("00999999 hides both") << false << 999999LL << true << true;
    QTest::newRow("01000000 hides the 100 MHz digit") << false << 1000000LL << true << false;
    QTest::newRow("01420000 hides the 100 MHz digit") << false << 1420000LL << true << false;
    QTest::newRow("14550000 hides neither") << false << 14550000LL << false << false;
    QTest::newRow("judged after the limit: 07650000 -> 10800000") << false << 7650000LL << false << false;
    QTest::newRow("judged after the limit: negative -> 00010000") << false << -5000LL << true << true;
    QTest::newRow("over eight digits shows both") << false << 100990000LL << false << false;
    QTest::newRow("amateur 00180500 -> 00185000") << true << 180500LL << true << true;
    QTest::newRow("amateur 01420000") << true << 1420000LL << true << false;
    QTest::newRow("amateur 43342500") << true << 43342500LL << false << false;
    QTest::newRow("amateur 00000000") << true << 0LL << true << true;
}

void TestLimits::leadingDigits()
{
    QFETCH(bool, amateur);
    QFETCH(qint64, entry);
    QFETCH(bool, hideLabMmm);
    QFETCH(bool, hideLabMm);

    const LimitResult result = amateur ? freq_limite_bande(entry) : freq_limit(entry);
    QCOMPARE(result.hideLabMmm, hideLabMmm);
    QCOMPARE(result.hideLabMm, hideLabMm);
}

QTEST_APPLESS_MAIN(TestLimits)
#include "tst_limits.moc"
