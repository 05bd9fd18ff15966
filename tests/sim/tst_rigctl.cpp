// Hamlib's rigctl, an FT-847 client written by others, against the emulator: if it agrees with the emulator on
// every frame and reply, the emulator speaks the radio's protocol rather than our own reading of it.

#include "ft847sim.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using namespace ft847sim;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

// One interactive rigctl session: commands on its standard input, "Label: value" lines on its output.
class Rigctl
{
public:
    bool start(const QString &program, const QString &port)
    {
        // No answer cache, so every read goes to the radio. A shorter gap between bytes than Hamlib's 50 ms keeps
        // the session quick while the bytes of a frame still arrive one by one.
        m_process.start(program,
            {u"-m"_s, u"1001"_s, u"-r"_s, port, u"-s"_s, u"4800"_s, u"-C"_s, u"cache_timeout=0,write_delay=10"_s});
        return m_process.waitForStarted(5000);
    }

    void send(const QString &command) { m_process.write(command.toLatin1() + '\n'); }

    // Sends a read command and returns the value rigctl printed after "label: ", or a null string.
    QString ask(const QString &command, const QString &label)
    {
        send(command);
        const QRegularExpression line(u"%1: (\\S+)\\n"_s.arg(QRegularExpression::escape(label)));
        QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired()) {
            m_output += QString::fromLatin1(m_process.readAllStandardOutput());
            const auto match = line.match(m_output);
            if (match.hasMatch()) {
                m_output.remove(0, match.capturedEnd());
                return match.captured(1);
            }
            m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        }
        return {};
    }

    bool finish()
    {
        m_process.closeWriteChannel();
        return m_process.waitForFinished(10000) && m_process.exitStatus() == QProcess::NormalExit
            && m_process.exitCode() == 0;
    }

    QByteArray errors() { return m_process.readAllStandardError(); }

private:
    QProcess m_process;
    QString m_output;
};

} // namespace

class TstRigctl : public QObject
{
    Q_OBJECT

private slots:
    void sessionAgreesWithEmulator()
    {
        const QString program = QStandardPaths::findExecutable(u"rigctl"_s);
        if (program.isEmpty())
            QSKIP("rigctl (Hamlib) is not installed; scripts/test installs libhamlib-utils");

        Ft847Sim sim;
        QVERIFY(sim.start());
        sim.setSMeter(17);
        sim.setSquelchOpen(false);
        Rigctl rig;
        QVERIFY(rig.start(program, sim.slavePath()));
        QVERIFY(sim.waitForFrames(1, 5s));

        rig.send(u"F 14250000"_s);
        QTRY_COMPARE(sim.frequency(), 1425000u);
        QCOMPARE(rig.ask(u"f"_s, u"Frequency"_s), u"14250000"_s);
        rig.send(u"M CW 500"_s); // 500 Hz is the narrow CW filter
        QTRY_COMPARE(sim.mode(), quint8(0x82));
        QCOMPARE(rig.ask(u"m"_s, u"Mode"_s), u"CW"_s);

        sim.setFrequency(43212340); // the dial turned on the radio
        sim.setMode(0x04);
        QCOMPARE(rig.ask(u"f"_s, u"Frequency"_s), u"432123400"_s);
        QCOMPARE(rig.ask(u"m"_s, u"Mode"_s), u"AM"_s);
        QCOMPARE(rig.ask(u"l RAWSTR"_s, u"Level Value"_s), u"17"_s);

        sim.setSquelchOpen(true);
        QCOMPARE(rig.ask(u"\\get_dcd"_s, u"DCD"_s), u"1"_s);
        sim.setSquelchOpen(false);
        QCOMPARE(rig.ask(u"\\get_dcd"_s, u"DCD"_s), u"0"_s);
        sim.setPtt(true);
        QCOMPARE(rig.ask(u"t"_s, u"PTT"_s), u"1"_s);
        sim.setPtt(false);
        QCOMPARE(rig.ask(u"t"_s, u"PTT"_s), u"0"_s);

        QVERIFY2(rig.finish(), rig.errors().right(2000).constData());
        const auto frames = sim.frames();
        QVERIFY(frames.size() >= 2);
        QCOMPARE(frames.front().bytes, QByteArray::fromHex("0000000000"));
        QCOMPARE(frames.back().bytes, QByteArray::fromHex("0000000080"));
        QVERIFY(!sim.catOn());
    }
};

QTEST_GUILESS_MAIN(TstRigctl)
#include "tst_rigctl.moc"
