// The radio shared over Hamlib's network protocol, end to end: the panel runs against the radio on the UART test
// port and serves Hamlib's own rigctl (NET rigctl, model 2), raw protocol lines, misbehaving clients, and five
// clients polling while the operator clicks.

#include "catframe.h"
#include "clicklabel.h"
#include "commandline.h"
#include "panelfixture.h"
#include "testmain.h"

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

class TestRigctld : public QObject
{
    Q_OBJECT

    std::unique_ptr<PanelFixture> f;
    quint16 m_port = 0;

    // A client connected to the panel.
    std::unique_ptr<QTcpSocket> connected()
    {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, m_port);
        PanelFixture::waitFor([&] { return socket->state() > QAbstractSocket::ConnectingState; }, 3s);
        return socket;
    }

    // One connection, one request, its whole answer.
    QByteArray ask(const QByteArray &request, int lines = 1)
    {
        const auto socket = connected();
        socket->write(request);
        QByteArray answer;
        PanelFixture::waitFor([&] { return (answer += socket->readAll()).count('\n') >= lines; }, 3s);
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
        QVERIFY(PanelFixture::waitFor([&] { return f->program().poll.SquelchOpen; }, 3s));
        QString why;
        QVERIFY2(f->program().share(QHostAddress(QHostAddress::LocalHost), 0, &why), qPrintable(why));
        m_port = f->program().sharing->port();
    }
    void cleanup() { f.reset(); }

    // Hamlib's own client, as a logger or a digital-mode program uses it: values as the panel shows them, and sets
    // that reach the radio (the frames in hexadecimal) exactly as the panel's own buttons send them; a set refused,
    // rigctl says so with its trace.
    void hamlibClient_data()
    {
        orvanetest::namedTable<QString, QByteArray, QByteArray>({"commands", "output", "sent"},
            {{"f m t l get_dcd", u"f m t l STRENGTH l RAWSTR get_dcd"_s, "145500000\nFM\n15000\n0\n-26\n9\n1\n", ""},
                {"F", u"F 14250000 f"_s, "14250000\n", "0142500001"}, {"M", u"M USB 0"_s, "", "0100000007"},
                {"T", u"T 1 T 0"_s, "", "00000000080000000088"},
                {"split", u"S 1 VFOB s I 14075500 i S 0 VFOA s"_s, "1\nVFOB\n14075500\n0\nVFOA\n",
                    "000000004e14550000110800000017145500002108000000270140755021000000008e14550000010800000007"},
                {"outside the coverage", u"F 100000000 F 200000000 f"_s, "set_freq: error|145500000\n", ""}});
    }
    void hamlibClient()
    {
        QFETCH(QString, commands);
        if (QStandardPaths::findExecutable(u"rigctl"_s).isEmpty())
            QSKIP("Hamlib's rigctl is not installed (libhamlib-utils)");
        const qsizetype mark = f->frames().size();
        QProcess rigctl;
        rigctl.start(
            u"rigctl"_s, QStringList {u"-m"_s, u"2"_s, u"-r"_s, u"127.0.0.1:%1"_s.arg(m_port)} + commands.split(u' '));
        QVERIFY(PanelFixture::waitFor([&] { return rigctl.state() == QProcess::NotRunning; }, 20s));
        QFETCH(QByteArray, output); // "start|end" for an output with rigctl's trace in the middle
        const QByteArray printed = rigctl.readAllStandardOutput();
        const QList<QByteArray> ends = output.split('|');
        QVERIFY2(ends.size() == 1 ? printed == output : printed.startsWith(ends[0]) && printed.endsWith(ends[1]),
            printed.left(200).constData());
        QTEST(f->commandsSince(mark).join().toHex(), "sent");
        QCOMPARE(f->shownDigits(), f->radioDigits());
        QCOMPARE(f->c().L_mode->text(), cat::modeName(f->sim().mode()));
    }

    // Conversations as the operator's programs hold them, line by line, and the protocol's forms and refusals: each
    // answer as rigctld gives it, the frames the radio receives (the poll's reads aside), and the panel after:
    // frequency, mode, VFO B and whether it shows a split.
    void conversations_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QByteArray>("frames");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("linkOn");
        const auto row = [](const char *name, const char *request, const char *answer, const char *frames = "",
                             const char *shown = "14550000 FM 145.500.00 -", bool linkOn = true) {
            QTest::newRow(name) << QByteArray(request) << QByteArray(answer) << QByteArray(frames)
                                << QString::fromLatin1(shown) << linkOn;
        };
        row("CQRLOG's poll", "fmv\n", "145500000\nFM\n15000\nVFOA\n");
        row("extended, command by command", "+f+mv\n",
            "get_freq:\nFrequency: 145500000\nRPRT 0\nget_mode:\nMode: FM\nPassband: 15000\nRPRT 0\nVFOA\n");
        row("extended ;", ";\\get_mode\n", "get_mode:;Mode: FM;Passband: 15000;RPRT 0\n");
        row("a set and a read on one line", "F 14200000 m\n", "RPRT 0\nFM\n15000\n", "0142000001",
            "01420000 FM 145.500.00 -");
        row("a client opening", "\\chk_vfo\nv\nf\ns\nm\n", "0\nVFOA\n145500000\n0\nVFOA\nFM\n15000\n");
        row("split read", "i\nx\n", "145500000\nFM\n15000\n");
        row("WSJT-X's split tune", "F 14074000\nM USB 0\nS 1 VFOB\nI 14075500\nT 1\nT 0\nS 0 VFOA\n",
            "RPRT 0\nRPRT 0\nRPRT 0\nRPRT 0\nRPRT 0\nRPRT 0\nRPRT 0\n",
            "0140740001 0100000007 000000004e 0140740011 0100000017 1455000021 0100000027 0140755021 0000000008 "
            "0000000088 000000008e 0140740001 0100000007",
            "01407400 USB 14.075.50 -");
        row("gpredict's uplink", "F 145800000\nI 435300000\nI 435299000\n", "RPRT 0\nRPRT 0\nRPRT 0\n",
            "1458000001 000000004e 1458000011 0800000017 4353000021 0800000027 4352990021",
            "14580000 FM 435.299.00 split");
        row("the transmit mode", "X LSB 0\nx\nS 1 VFOB\n", "RPRT 0\nLSB\n2200\nRPRT 0\n",
            "000000004e 1455000011 0800000017 1455000021 0000000027", "14550000 FM 145.500.00 split");
        row("split on the first VFO", "S 1 VFOA\nS 0 VFOA\n", "RPRT -11\nRPRT 0\n");
        row("KLog's start", "F 1800000\n", "RPRT 0\n", "0018000001", "00180000 FM 145.500.00 -");
        row("fldigi's mode", "\\get_lock_mode\nM USB 15000\n", "0\nRPRT 0\n", "0100000007",
            "14550000 USB 145.500.00 -");
        row("outside the bands, as asked", "F 7150000\nF 14400000\nF 146520000\n", "RPRT 0\nRPRT 0\nRPRT 0\n",
            "0071500001 0144000001 1465200001", "14652000 FM 145.500.00 -");
        row("outside the coverage", "F 100000000\nF 200000000\nI 600000000\n", "RPRT -1\nRPRT -1\nRPRT -1\n");
        row("VFO B", "V VFOB\n", "RPRT -1\n");
        row("v", "v\r\n", "VFOA\n");
        row("frequency not a number", "F 14.2e6x\n", "RPRT -1\n");
        row("frequency past eight digits", "F 1000000000\n", "RPRT -1\n");
        row("mode the panel has not", "M PKTUSB 0\n", "RPRT -1\n");
        row("level it has not", "l ALC\n", "RPRT -11\n");
        row("unknown command", "z\n", "RPRT -11\n");
        row("unknown long command", "\\set_ts 100\n", "RPRT -11\n");
        row("missing argument", "F\n", "RPRT -1\n");
        row("link off: a read", "f\n", "RPRT -6\n", "", "14550000 FM 145.500.00 -", false);
        row("link off: a set", "S 0 VFOA\n", "RPRT -6\n", "", "14550000 FM 145.500.00 -", false);
        row("link off: chk_vfo", "\\chk_vfo\n", "0\n", "", "14550000 FM 145.500.00 -", false);
    }
    void conversations()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, answer);
        QFETCH(bool, linkOn);
        if (!linkOn)
            f->c().Lab_c_off->click();
        const qsizetype mark = f->frames().size();
        QCOMPARE(ask(request, int(answer.count('\n'))), answer);
        QStringList sent;
        for (const QByteArray &frame : f->commandsSince(mark))
            sent << QString::fromLatin1(frame.toHex());
        QTEST(sent.join(u' ').toLatin1(), "frames");
        QVERIFY(!linkOn || f->waitForFrames(f->frames().size() + 4)); // the poll reads on, split or not
        QTEST(u"%1 %2 %3 %4"_s.arg(f->shownDigits(), f->c().L_mode->text(), f->c().LabVFO2->text(),
                  f->c().LabTRX2->isVisible() ? u"split"_s : u"-"_s),
            "shown");
    }

    // The link switched off in split: the radio leaves satellite mode, then CAT mode.
    void splitLeftWithTheLink()
    {
        QCOMPARE(ask("S 1 VFOB\n"), QByteArray("RPRT 0\n"));
        QVERIFY(f->sim().satellite());
        f->c().Lab_c_off->click();
        QVERIFY(!f->sim().satellite() && !f->sim().catOn());
        QCOMPARE(f->commandsSince(f->frames().size() - 2),
            (QByteArrayList {
                PanelFixture::frame({0, 0, 0, 0, cat::OpSatelliteOff}), PanelFixture::frame({0, 0, 0, 0, 0x80})}));
        QVERIFY(!f->c().LabTRX2->isVisible());
    }

    // Eight clients at most, the ninth turned away once it has waited for a place in vain; a client that misbehaves is
    // closed alone, and the others and the poll go on.
    void misbehavingClientsAreClosedAlone_data()
    {
        orvanetest::namedTable<QByteArray, bool>({"sent", "keepsReading"},
            {{"line over 1 KiB", QByteArray(1100, 'f'), true},
                {"bytes that are not text", QByteArray("f\n\x00\x01\xff\n", 6), true},
                {"stops reading", QByteArray("\\dump_state\n").repeated(5000), false}});
    }
    void misbehavingClientsAreClosedAlone()
    {
        QFETCH(QByteArray, sent);
        QFETCH(bool, keepsReading);
        std::vector<std::unique_ptr<QTcpSocket>> clients;
        for (int i = 0; i < RigctlServer::kMaxClients + 1; ++i)
            clients.push_back(connected());
        QVERIFY(
            PanelFixture::waitFor([&] { return clients.back()->state() == QAbstractSocket::UnconnectedState; }, 3s));
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

    // A client gone while its set was being sent: the command goes out whole, once, and its next set never.
    void clientGoneDuringASet()
    {
        const auto socket = connected();
        QVERIFY(PanelFixture::waitFor([&] { return f->program().sharing->clientCount() == 1; }, 3s));
        f->uart().setOutputHook([&](const QByteArray &bytes) {
            if (!PanelFixture::isPollRequest(bytes))
                socket->abort();
        });
        const qsizetype mark = f->frames().size();
        socket->write("F 7050000\nF 14250000\n");
        socket->flush();
        QVERIFY(PanelFixture::waitFor([&] { return f->program().sharing->clientCount() == 0; }, 3s));
        f->uart().setOutputHook({});
        QVERIFY(f->waitForFrames(f->frames().size() + 4)); // a whole tick more
        QCOMPARE(f->commandsSince(mark), QByteArrayList {PanelFixture::frame({0x00, 0x70, 0x50, 0x00, 0x01})});
        QCOMPARE(f->shownDigits(), u"00705000"_s);
    }

    // Five clients polling as CQRLOG does (frequency, mode and VFO in one line) every 100 ms, each closing after
    // twenty polls and connecting again, for thirty seconds, while the operator clicks and the panel polls: no
    // connection refused or closed under a client, each answer whole and sent before the poll's next exchange has
    // begun, nothing sent into an exchange, no port error.
    void fiveClientsReconnecting()
    {
        std::atomic<bool> stop {false};
        std::atomic<int> polls {0}, finished {0}, wrong {0}, lost {0};
        std::vector<std::pair<Clock::time_point, Clock::time_point>> waits[5]; // asked, answered
        std::vector<std::thread> clients;
        for (int i = 0; i < 5; ++i) {
            clients.emplace_back([&, i] {
                while (!stop) {
                    QTcpSocket socket;
                    socket.connectToHost(QHostAddress::LocalHost, m_port);
                    lost += !socket.waitForConnected(3000);
                    for (int poll = 0; poll < 20 && !stop && socket.state() == QAbstractSocket::ConnectedState;
                         ++poll) {
                        const auto at = Clock::now();
                        QByteArray answer;
                        socket.write("fmv\n");
                        socket.flush();
                        while (answer.count('\n') < 4 && socket.waitForReadyRead(3000))
                            answer += socket.readAll();
                        waits[i].emplace_back(at, Clock::now());
                        const QByteArrayList lines = answer.split('\n');
                        lost += lines.size() < 5;
                        wrong += lines.size() != 5 || lines[0].toLongLong() <= 0
                            || !cat::settableModeCode(QString::fromLatin1(lines[1])) || lines[3] != "VFOA";
                        ++polls;
                        std::this_thread::sleep_for(100ms);
                    }
                    socket.disconnectFromHost();
                }
                ++finished;
            });
        }
        // The operator steps the frequency up and down and changes band meanwhile.
        const QList<QWidget *> controls {
            f->c().stepUp[4], f->c().stepDown[4], f->c().Com_14, f->c().Com_144, f->c().Com_USB};
        int click = 0;
        QTimer hand;
        connect(&hand, &QTimer::timeout, this, [&] { PanelFixture::queueClick(controls[click++ % controls.size()]); });
        hand.start(70);
        QTest::qWait(30000);
        stop = true;
        hand.stop();
        // The clients' last requests are answered by this thread's event loop.
        PanelFixture::waitFor([&] { return finished == 5; }, 10s);
        for (std::thread &client : clients)
            client.join();
        QVERIFY(polls > 5 * 100);
        QCOMPARE(lost, 0);
        QCOMPARE(wrong, 0);
        QVERIFY(f->messages.isEmpty() && f->programEnds.isEmpty());
        QCOMPARE(f->uart().interruptedReplies(), 0);
        const auto frames = f->sim().frames();
        for (const auto &client : waits) {
            for (const auto &[at, answered] : client) {
                const auto exchanges = std::count_if(frames.begin(), frames.end(), [&](const auto &frame) {
                    return PanelFixture::isPollRequest(frame.bytes) && frame.at > at && frame.at < answered;
                });
                QVERIFY2(exchanges <= 1, qPrintable(u"%1 exchanges began before an answer"_s.arg(exchanges)));
            }
        }
    }

    // The command line that shares the radio: where it listens (none, or "error" when refused).
    void commandLine_data()
    {
        orvanetest::table<QString, QString>({"arguments", "listen"},
            {{u""_s, u""_s}, {u"--rigctld"_s, u"127.0.0.1:4532"_s}, {u"--rigctld=4533"_s, u"127.0.0.1:4533"_s},
                {u"--rigctld=192.168.1.20:4532"_s, u"192.168.1.20:4532"_s}, {u"--rigctld=[::1]:4600"_s, u"::1:4600"_s},
                {u"--rigctld=0"_s, u"error"_s}, {u"--rigctld=70000"_s, u"error"_s},
                {u"--rigctld=radio:4532"_s, u"error"_s}, {u"--verbose"_s, u"error"_s}});
    }
    void commandLine()
    {
        QFETCH(QString, arguments);
        const CommandLine line = CommandLine::parse(arguments.split(u' ', Qt::SkipEmptyParts));
        const QString at = line.share ? u"%1:%2"_s.arg(line.share->address.toString()).arg(line.share->port) : u""_s;
        QTEST(line.error.isEmpty() ? at : u"error"_s, "listen");
    }
};

ORVANE_TEST_MAIN(TestRigctld)
#include "tst_net.moc"
