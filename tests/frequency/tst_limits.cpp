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

LimitResult limit(bool amateur, qint64 entry)
{
    return amateur ? freq_limite_bande(entry) : freq_limit(entry);
}

} // namespace

class TestLimits : public QObject
{
    Q_OBJECT

private slots:
    void limits_data()
    {
        QTest::addColumn<bool>("amateur");
        QTest::addColumn<qint64>("entry");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<int>("hidden");

        // Whole range: both sides of every jump, stop and class boundary.
        auto whole = [](const char *name, qint64 entry, qint64 expected, int hidden = none) {
            QTest::newRow(name) << false << entry << expected << hidden;
        };
        whole("76 MHz up 10 Hz jumps to 108", 7600001, 10800000);
        whole("76 MHz stays", 7600000, 7600000);
        whole("88 MHz, top of class A", 8800000, 10800000);
        whole("108 MHz down 10 Hz jumps to 76", 10799999, 7600000);
        whole("108 MHz stays", 10800000, 10800000);
        whole("90 MHz, bottom of class B", 9000000, 7600000);
        whole("174 MHz up 10 Hz jumps to 420", 17400001, 42000000);
        whole("174 MHz stays", 17400000, 17400000);
        whole("186 MHz, top of class B", 18600000, 42000000);
        whole("420 MHz down 10 Hz jumps to 174", 41999999, 17400000);
        whole("420 MHz stays", 42000000, 42000000);
        whole("410 MHz, bottom of class C", 41000000, 17400000);
        whole("512 MHz up 10 Hz stops", 51200001, 51200000);
        whole("512 MHz up 10 MHz stops", 52200000, 51200000);
        whole("512 MHz stays", 51200000, 51200000);
        whole("100 kHz down 10 Hz stops", 9999, 10000, tenMHz);
        whole("100 kHz down 100 kHz stops", 0, 10000, tenMHz);
        whole("950 kHz down 1 MHz, negative", -5000, 10000, tenMHz);
        whole("999.98 kHz hides 10 MHz steps", 999998, 999998, tenMHz);
        whole("999.99 kHz shows them", 999999, 999999);
        whole("88 MHz + 10 Hz, in no class", 8800001, 8800001);
        whole("90 MHz - 10 Hz, in no class", 8999999, 8999999);
        whole("186 MHz + 10 Hz, in no class", 18600001, 18600001);
        whole("410 MHz - 10 Hz, in no class", 40999999, 40999999);
        whole("522 MHz + 10 Hz, in no class", 52200001, 52200001);

        // Amateur: every window's ends, its band edges and one 10 Hz step across each edge.
        for (const BandWindow &b : bandWindows) {
            auto row = [&b](const char *what, qint64 entry, qint64 expected, int hidden) {
                QTest::addRow("%s %s", b.name, what) << true << entry << expected << hidden;
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
        QTest::newRow("amateur negative, in no window") << true << -90000LL << -90000LL << none;
    }
    void limits()
    {
        QFETCH(bool, amateur);
        QFETCH(qint64, entry);
        const LimitResult result = limit(amateur, entry);
        QTEST(result.value, "expected");
        QTEST(result.hidden.toInt(), "hidden");
    }

    void leadingDigits_data()
    {
        QTest::addColumn<bool>("amateur");
        QTest::addColumn<qint64>("entry");
        QTest::addColumn<bool>("hideLabMmm");
        QTest::addColumn<bool>("hideLabMm");

        QTest::newRow("00010000 hides both") << false << 10000LL << true << true;
        QTest::newRow("00999999 hides both") << false << 999999LL << true << true;
        QTest::newRow("01000000 hides the 100 MHz digit") << false << 1000000LL << true << false;
        QTest::newRow("14550000 hides neither") << false << 14550000LL << false << false;
        QTest::newRow("judged after the limit: 07650000 -> 10800000") << false << 7650000LL << false << false;
        QTest::newRow("judged after the limit: negative -> 00010000") << false << -5000LL << true << true;
        QTest::newRow("over eight digits shows both") << false << 100990000LL << false << false;
        QTest::newRow("amateur 00180500 -> 00185000") << true << 180500LL << true << true;
        QTest::newRow("amateur 01420000") << true << 1420000LL << true << false;
        QTest::newRow("amateur 10000000, in no window") << true << 10000000LL << false << false;
        QTest::newRow("amateur 00000000") << true << 0LL << true << true;
    }
    void leadingDigits()
    {
        QFETCH(bool, amateur);
        QFETCH(qint64, entry);
        const LimitResult result = limit(amateur, entry);
        QTEST(result.hideLabMmm, "hideLabMmm");
        QTEST(result.hideLabMm, "hideLabMm");
    }
};

QTEST_APPLESS_MAIN(TestLimits)
#include "tst_limits.moc"
