// The radio shared over Hamlib's network protocol, end to end: the panel runs against the radio on the UART test
// port and serves Hamlib's own rigctl (NET rigctl, model 2), raw protocol lines, misbehaving clients, and five
// clients polling while the operator clicks.

#include "catframe.h"
#include "clicklabel.h"
#include "commandline.h"
#include "panelfixture.h"
#include "rigctlprotocol.h"

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

bool isPollRequest(const QByteArray &frame)
{
    const auto op = static_cast<quint8>(frame.at(4));
    return op == cat::OpReadReceiverStatus || op == cat::OpReadFrequencyMode;
}

QByteArray frame(std::initializer_list<int> bytes)
{
    return PanelFixture::frame(bytes);
}

} // namespace

class TestRigctld : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PanelFixture> f;
    quint16 m_port = 0;

    // The commands the radio received since the mark, the poll's requests left out.
    QList<QByteArray> commandsSince(qsizetype mark)
    {
        QList<QByteArray> commands = f->frames().mid(mark);
        commands.removeIf(isPollRequest);
        return commands;
    }

    // Hamlib's rigctl against the panel, the event loop running meanwhile; its standard output.
    QByteArray rigctl(const QStringList &commands)
    {
        QProcess process;
        process.start(u"rigctl"_s, QStringList{u"-m"_s, u"2"_s, u"-r"_s, u"127.0.0.1:%1"_s.arg(m_port)} + commands);
        if (!PanelFixture::waitFor([&] { return process.state() == QProcess::NotRunning; }, 20s))
            process.kill();
        return process.readAllStandardOutput();
    }

    // One connection, one request, its whole answer.
    QByteArray ask(const QByteArray &request, int lines = 1)
    {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        QByteArray answer;
        if (!PanelFixture::waitFor([&] { return socket.state() == QAbstractSocket::ConnectedState; }, 3s))
            return "<not connected>";
        socket.write(request);
        PanelFixture::waitFor([&] { return (answer += socket.readAll()).count('\n') >= lines; }, 3s);
        return answer;
    }

private slots:
    void init()
    {
        f = std::make_unique<PanelFixture>();
        QVERIFY(f->start());
        QVERIFY(f->switchOn());
        f->sim().setSMeter(9);
        f->sim().setSquelchOpen(true);
        // The first tick reads the radio's state.
        QVERIFY(PanelFixture::waitFor([&] { return f->program().poll.SquelchOpen; }, 3s));
        QString why;
        QVERIFY2(f->program().share(QHostAddress(QHostAddress::LocalHost), 0, &why), qPrintable(why));
        m_port = f->program().sharing->port();
    }
    void cleanup() { f.reset(); }

    // Hamlib's own client, as a logger or a digital-mode program uses it: values as the panel shows them, and sets
    // that reach the radio exactly as the panel's own buttons send them.
    void hamlibClient_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QList<QByteArray>>("sent");
        QTest::newRow("f") << QStringList{u"f"_s} << QByteArray("145500000\n") << QList<QByteArray>{};
        QTest::newRow("m") << QStringList{u"m"_s} << QByteArray("FM\n15000\n") << QList<QByteArray>{};
        QTest::newRow("t") << QStringList{u"t"_s} << QByteArray("0\n") << QList<QByteArray>{};
        QTest::newRow("l") << QStringList{u"l"_s, u"STRENGTH"_s, u"l"_s, u"RAWSTR"_s} << QByteArray("-26\n9\n")
                           << QList<QByteArray>{};
        QTest::newRow("get_dcd") << QStringList{u"get_dcd"_s} << QByteArray("1\n") << QList<QByteArray>{};
        QTest::newRow("F") << QStringList{u"F"_s, u"14250000"_s, u"f"_s} << QByteArray("14250000\n")
                           << QList<QByteArray>{frame({0x01, 0x42, 0x50, 0x00, 0x01})};
        QTest::newRow("M") << QStringList{u"M"_s, u"USB"_s, u"0"_s} << QByteArray()
                           << QList<QByteArray>{frame({0x01, 0, 0, 0, 0x07})};
        QTest::newRow("T") << QStringList{u"T"_s, u"1"_s, u"T"_s, u"0"_s} << QByteArray()
                           << QList<QByteArray>{frame({0, 0, 0, 0, 0x08}), frame({0, 0, 0, 0, 0x88})};
    }
    void hamlibClient()
    {
        QFETCH(QStringList, commands);
        QFETCH(QByteArray, output);
        QFETCH(QList<QByteArray>, sent);
        if (QStandardPaths::findExecutable(u"rigctl"_s).isEmpty())
            QSKIP("Hamlib's rigctl is not installed (libhamlib-utils)");
        const qsizetype mark = f->frames().size();
        QCOMPARE(rigctl(commands), output);
        QCOMPARE(commandsSince(mark), sent);
        const QString digits = u"%1"_s.arg(f->sim().frequency(), 8, 10, QLatin1Char('0'));
        QCOMPARE(f->shownDigits(), digits);
        QCOMPARE(f->c().L_mode->text(), cat::modeName(f->sim().mode()));
    }

    // A transmitter keyed by a client shows on the panel, and the client reads it back from there.
    void pttFollowsThePanel()
    {
        QCOMPARE(ask("T 1\n"), QByteArray("RPRT 0\n"));
        QVERIFY(f->sim().ptt());
        QVERIFY(PanelFixture::waitFor([&] { return f->program().poll.TxActive; }, 3s));
        QCOMPARE(ask("t\n"), QByteArray("1\n"));
        QCOMPARE(ask("T 0\n"), QByteArray("RPRT 0\n"));
        QVERIFY(!f->sim().ptt());
    }

    // The protocol's plain and extended forms, and what is refused.
    void protocol_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("linkOn");
        QTest::newRow("long form") << QByteArray("\\get_freq\n") << QByteArray("145500000\n") << true;
        QTest::newRow("extended +") << QByteArray("+f\n") << QByteArray("get_freq:\nFrequency: 145500000\nRPRT 0\n")
                                    << true;
        QTest::newRow("extended ;") << QByteArray(";\\get_mode\n")
                                    << QByteArray("get_mode:;Mode: FM;Passband: 15000;RPRT 0\n") << true;
        QTest::newRow("extended set") << QByteArray("|V VFOA\n") << QByteArray("set_vfo: VFOA|RPRT 0\n") << true;
        QTest::newRow("VFO B") << QByteArray("V VFOB\n") << QByteArray("RPRT -1\n") << true;
        QTest::newRow("v") << QByteArray("v\r\n") << QByteArray("VFOA\n") << true;
        QTest::newRow("frequency not a number") << QByteArray("F 14.2e6x\n") << QByteArray("RPRT -1\n") << true;
        QTest::newRow("frequency past eight digits") << QByteArray("F 1000000000\n") << QByteArray("RPRT -1\n")
                                                     << true;
        QTest::newRow("mode the panel has not") << QByteArray("M PKTUSB 0\n") << QByteArray("RPRT -1\n") << true;
        QTest::newRow("level it has not") << QByteArray("l ALC\n") << QByteArray("RPRT -11\n") << true;
        QTest::newRow("unknown command") << QByteArray("x\n") << QByteArray("RPRT -11\n") << true;
        QTest::newRow("unknown long command") << QByteArray("\\set_split_vfo 1 VFOB\n") << QByteArray("RPRT -11\n")
                                              << true;
        QTest::newRow("missing argument") << QByteArray("F\n") << QByteArray("RPRT -1\n") << true;
        QTest::newRow("link off: a read") << QByteArray("f\n") << QByteArray("RPRT -6\n") << false;
        QTest::newRow("link off: a set") << QByteArray("F 14250000\n") << QByteArray("RPRT -6\n") << false;
        QTest::newRow("link off: chk_vfo") << QByteArray("\\chk_vfo\n") << QByteArray("0\n") << false;
    }
    void protocol()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, answer);
        QFETCH(bool, linkOn);
        if (!linkOn)
            f->c().Lab_c_off->click();
        const qsizetype mark = f->frames().size();
        QCOMPARE(ask(request, int(answer.count('\n'))), answer);
        QCOMPARE(commandsSince(mark), QList<QByteArray>{});
    }

    void dumpStateDescribesTheRadio()
    {
        const QByteArray state = ask("\\dump_state\n", int(rigctl::dumpState().count('\n')));
        QCOMPARE(state, rigctl::dumpState());
        QVERIFY(state.endsWith("done\n"));
    }

    // Eight clients at most; a client that misbehaves is closed alone, and the others and the poll go on.
    void misbehavingClientsAreClosedAlone_data()
    {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<bool>("keepsReading");
        QTest::newRow("line over 1 KiB") << QByteArray(1100, 'f') << true;
        QTest::newRow("bytes that are not text") << QByteArray("f\n\x00\x01\xff\n", 6) << true;
        QTest::newRow("stops reading") << QByteArray("\\dump_state\n").repeated(5000) << false;
    }
    void misbehavingClientsAreClosedAlone()
    {
        QFETCH(QByteArray, sent);
        QFETCH(bool, keepsReading);
        std::vector<std::unique_ptr<QTcpSocket>> clients;
        for (int i = 0; i < RigctlServer::kMaxClients + 1; ++i) {
            clients.push_back(std::make_unique<QTcpSocket>());
            clients.back()->connectToHost(QHostAddress::LocalHost, m_port);
        }
        // The ninth is let go at once.
        QVERIFY(PanelFixture::waitFor(
            [&] { return clients.back()->state() == QAbstractSocket::UnconnectedState; }, 3s));
        QCOMPARE(f->program().sharing->clientCount(), RigctlServer::kMaxClients);

        QTcpSocket &bad = *clients.front();
        if (!keepsReading)
            bad.setReadBufferSize(1); // the answers pile up on the panel's side
        bad.write(sent);
        QVERIFY(PanelFixture::waitFor(
            [&] { return f->program().sharing->clientCount() == RigctlServer::kMaxClients - 1; }, 5s));

        QTcpSocket &good = *clients.at(1);
        good.write("f\n");
        QByteArray answer;
        QVERIFY(PanelFixture::waitFor([&] { return (answer += good.readAll()).endsWith('\n'); }, 3s));
        QCOMPARE(answer, QByteArray("145500000\n"));
        QVERIFY(f->messages.isEmpty() && f->programEnds.isEmpty());
    }

    // A client gone while its set was being sent: the command goes out whole, once, and the client's next set
    // never.
    void clientGoneDuringASet()
    {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        QVERIFY(PanelFixture::waitFor([&] { return f->program().sharing->clientCount() == 1; }, 3s));
        f->uart().setOperationHook([&](UartTestPort::Operation op, const QByteArray &bytes) {
            if (op == UartTestPort::Operation::Output && !isPollRequest(bytes))
                socket.abort();
        });
        const qsizetype mark = f->frames().size();
        socket.write("F 7050000\nF 14250000\n");
        socket.flush();
        QVERIFY(PanelFixture::waitFor([&] { return f->program().sharing->clientCount() == 0; }, 3s));
        f->uart().setOperationHook({});
        QTest::qWait(100);
        QCOMPARE(commandsSince(mark), QList<QByteArray>{frame({0x00, 0x70, 0x50, 0x00, 0x01})});
        QCOMPARE(f->shownDigits(), u"00705000"_s);
    }

    // Five clients polling frequency, mode and PTT every 100 ms, one client sending garbage, and the operator
    // clicking, all while the panel polls: every answer comes before the poll's next exchange has begun, nothing
    // is sent into an exchange, no port error.
    void fiveClientsBesideThePollAndClicks()
    {
        struct Asked
        {
            Clock::time_point at, answered;
            QByteArray answer;
        };
        std::atomic<bool> stop{false};
        std::atomic<int> finished{0};
        std::vector<std::vector<Asked>> asked(5);
        std::vector<std::thread> clients;
        for (std::size_t i = 0; i < asked.size(); ++i) {
            clients.emplace_back([&, i] {
                QTcpSocket socket;
                socket.connectToHost(QHostAddress::LocalHost, m_port);
                if (!socket.waitForConnected(3000))
                    return;
                while (!stop) {
                    Asked a{Clock::now(), {}, {}};
                    socket.write("f\nm\nt\n");
                    socket.flush();
                    while (a.answer.count('\n') < 4 && socket.waitForReadyRead(3000))
                        a.answer += socket.readAll();
                    a.answered = Clock::now();
                    asked[i].push_back(a);
                    std::this_thread::sleep_for(100ms);
                }
                ++finished;
            });
        }
        QTcpSocket garbage;
        garbage.connectToHost(QHostAddress::LocalHost, m_port);
        QTimer noise;
        connect(&noise, &QTimer::timeout, this, [&] { garbage.write(QByteArray("F \x01\x02 \xfe\n", 8)); });
        noise.start(250);
        // The operator steps the frequency up and down and changes band meanwhile.
        const QList<QWidget *> controls{f->c().Com_pk, f->c().Com_mk, f->c().Com_14, f->c().Com_144, f->c().Com_USB};
        int click = 0;
        QTimer hand;
        connect(&hand, &QTimer::timeout, this, [&] { PanelFixture::queueClick(controls[click++ % controls.size()]); });
        hand.start(70);
        QTest::qWait(3000);
        stop = true;
        hand.stop();
        noise.stop();
        // The clients' last requests are answered by this thread's event loop.
        PanelFixture::waitFor([&] { return finished == int(clients.size()); }, 10s);
        for (std::thread &client : clients)
            client.join();

        QCOMPARE(garbage.state(), QAbstractSocket::UnconnectedState);
        QVERIFY(f->messages.isEmpty() && f->programEnds.isEmpty());
        QCOMPARE(f->uart().interruptedReplies(), 0);
        const auto frames = f->sim().frames();
        for (const auto &client : asked) {
            QVERIFY(client.size() >= 10);
            for (const Asked &a : client) {
                const QList<QByteArray> lines = a.answer.split('\n');
                QCOMPARE(lines.size(), 5);
                QVERIFY2(lines[0].size() >= 6 && lines[0].toLongLong() > 0, lines[0].constData());
                QVERIFY(QByteArrayList({"LSB", "USB", "CW", "CWR", "AM", "FM"}).contains(lines[1]));
                QVERIFY(lines[3] == "0" || lines[3] == "1");
                const auto exchanges = std::count_if(frames.begin(), frames.end(), [&](const auto &fr) {
                    return isPollRequest(fr.bytes) && fr.at > a.at && fr.at < a.answered;
                });
                QVERIFY2(exchanges <= 1, qPrintable(u"%1 exchanges began before an answer"_s.arg(exchanges)));
            }
        }
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("listen"); // empty: none; "error": refused
        QTest::newRow("none") << QStringList{} << QString();
        QTest::newRow("--rigctld") << QStringList{u"--rigctld"_s} << u"127.0.0.1:4532"_s;
        QTest::newRow("port") << QStringList{u"--rigctld=4533"_s} << u"127.0.0.1:4533"_s;
        QTest::newRow("address and port") << QStringList{u"--rigctld=192.168.1.20:4532"_s} << u"192.168.1.20:4532"_s;
        QTest::newRow("IPv6") << QStringList{u"--rigctld=[::1]:4600"_s} << u"::1:4600"_s;
        QTest::newRow("port 0") << QStringList{u"--rigctld=0"_s} << u"error"_s;
        QTest::newRow("port too high") << QStringList{u"--rigctld=70000"_s} << u"error"_s;
        QTest::newRow("not an address") << QStringList{u"--rigctld=radio:4532"_s} << u"error"_s;
        QTest::newRow("unknown option") << QStringList{u"--verbose"_s} << u"error"_s;
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, listen);
        const CommandLine line = CommandLine::parse(arguments);
        if (listen == u"error") {
            QVERIFY(!line.error.isEmpty());
            return;
        }
        QVERIFY(line.error.isEmpty());
        QCOMPARE(line.share ? u"%1:%2"_s.arg(line.share->address.toString()).arg(line.share->port) : QString(), listen);
    }
};

QTEST_MAIN(TestRigctld)
#include "tst_rigctld.moc"
