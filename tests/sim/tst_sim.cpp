// Hamlib's rigctl, an FT-847 client written by others, against the emulator: if it agrees with the emulator on
// every frame and reply, the emulator speaks the radio's protocol rather than our own reading of it.

#include "ft847sim.h"
#include "testmain.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;
using Setup = std::function<void(ft847sim::Ft847Sim &)>;

class TestRigctl : public QObject
{
    Q_OBJECT

private slots:
    // One rigctl session a row: the radio as the operator left it, the commands, and what rigctl prints. Sets are
    // read back; every session switches CAT on first and off last.
    void session_data()
    {
        QTest::addColumn<Setup>("radio");
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("sets") << Setup([](auto &) {}) << u"F 14250000 f M CW 500 m"_s
                              << QByteArray("14250000\nCW\n500\n"); // 500 Hz is the narrow CW filter
        QTest::newRow("dial turned on the radio") << Setup([](auto &sim) {
            sim.setFrequency(43212340);
            sim.setMode(0x04);
            sim.setSMeter(17);
        }) << u"f m l RAWSTR get_dcd t"_s << QByteArray("432123400\nAM\n9000\n17\n0\n0\n");
        QTest::newRow("squelch open") << Setup([](auto &sim) { sim.setSquelchOpen(true); }) << u"get_dcd"_s
                                      << QByteArray("1\n");
        QTest::newRow("transmitting") << Setup([](auto &sim) { sim.setPtt(true); }) << u"t"_s << QByteArray("1\n");
    }
    void session()
    {
        QFETCH(Setup, radio);
        QFETCH(QString, commands);
        const QString program = QStandardPaths::findExecutable(u"rigctl"_s);
        if (program.isEmpty())
            QSKIP("rigctl (Hamlib) is not installed; scripts/test installs libhamlib-utils");
        ft847sim::Ft847Sim sim;
        QVERIFY(sim.start());
        radio(sim);
        QProcess rig;
        // No answer cache, so every read goes to the radio; a shorter gap between bytes than Hamlib's 50 ms keeps
        // the session quick while the bytes of a frame still arrive one by one.
        rig.start(program,
            QStringList {u"-m"_s, u"1001"_s, u"-r"_s, sim.slavePath(), u"-s"_s, u"4800"_s, u"-C"_s,
                u"cache_timeout=0,write_delay=10"_s}
                + commands.split(u' '));
        QVERIFY(rig.waitForFinished(20000));
        QVERIFY2(rig.exitCode() == 0, rig.readAllStandardError().constData());
        QTEST(rig.readAllStandardOutput(), "output");
        QTRY_VERIFY(!sim.frames().empty() && sim.frames().back().bytes == QByteArray::fromHex("0000000080"));
        QCOMPARE(sim.frames().front().bytes, QByteArray::fromHex("0000000000"));
    }
};

ORVANE_TEST_MAIN(TestRigctl)
#include "tst_sim.moc"
