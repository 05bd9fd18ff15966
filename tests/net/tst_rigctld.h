#pragma once
#include <QToolButton>

// The radio shared over Hamlib's network protocol, end to end: the panel runs against the radio on the UART test
// port and serves Hamlib's own rigctl (NET rigctl, model 2), raw protocol lines, misbehaving clients, and five
// clients polling while the operator clicks.

#include "catframe.h"
#include "clicklabel.h"
#include "commandline.h"
#include "panelfixture.h"

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

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
    // that reach the radio exactly as the panel's own buttons send them.
    void hamlibClient_data()
    {
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QByteArray>("sent"); // the frames, in hexadecimal
        QTest::newRow("f m t l get_dcd") << u"f m t l STRENGTH l RAWSTR get_dcd"_s
                                         << QByteArray("145500000\nFM\n15000\n0\n-26\n9\n1\n") << QByteArray();
        QTest::newRow("F") << u"F 14250000 f"_s << QByteArray("14250000\n") << QByteArray("0142500001");
        QTest::newRow("M") << u"M USB 0"_s << QByteArray() << QByteArray("0100000007");
        QTest::newRow("T") << u"T 1 T 0"_s << QByteArray() << QByteArray("00000000080000000088");
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
        QTEST(rigctl.readAllStandardOutput(), "output");
        QTEST(f->commandsSince(mark).join().toHex(), "sent");
        QCOMPARE(f->shownDigits(), f->radioDigits());
        QCOMPARE(f->c().L_mode->text(), cat::modeName(f->sim().mode()));
    }

    // The protocol's plain and extended forms, and what is refused; nothing of it reaches the radio.
    void protocol_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("linkOn");
        const auto row = [](const char *name, const char *request, const char *answer, bool linkOn = true) {
            QTest::newRow(name) << QByteArray(request) << QByteArray(answer) << linkOn;
        };
        row("long form", "\\get_freq\n", "145500000\n");
        row("extended +", "+f\n", "get_freq:\nFrequency: 145500000\nRPRT 0\n");
        row("extended ;", ";\\get_mode\n", "get_mode:;Mode: FM;Passband: 15000;RPRT 0\n");
        row("extended set", "|V VFOA\n", "set_vfo: VFOA|RPRT 0\n");
        row("VFO B", "V VFOB\n", "RPRT -1\n");
        row("v", "v\r\n", "VFOA\n");
        row("frequency not a number", "F 14.2e6x\n", "RPRT -1\n");
        row("frequency past eight digits", "F 1000000000\n", "RPRT -1\n");
        row("mode the panel has not", "M PKTUSB 0\n", "RPRT -1\n");
        row("level it has not", "l ALC\n", "RPRT -11\n");
        row("unknown command", "x\n", "RPRT -11\n");
        row("unknown long command", "\\set_split_vfo 1 VFOB\n", "RPRT -11\n");
        row("missing argument", "F\n", "RPRT -1\n");
        row("link off: a read", "f\n", "RPRT -6\n", false);
        row("link off: a set", "F 14250000\n", "RPRT -6\n", false);
        row("link off: chk_vfo", "\\chk_vfo\n", "0\n", false);
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
        QCOMPARE(f->commandsSince(mark), QByteArrayList {});
    }

    // Eight clients at most, the ninth let go at once; a client that misbehaves is closed alone, and the others and
    // the poll go on.
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

    // Five clients polling frequency, mode and PTT every 100 ms while the operator clicks and the panel polls: each
    // answer is whole and comes before the poll's next exchange has begun, nothing is sent into an exchange, no
    // port error.
    void fiveClientsBesideThePollAndClicks()
    {
        std::atomic<bool> stop {false};
        std::atomic<int> rounds[5] = {}, finished {0}, wrong {0};
        std::vector<std::pair<Clock::time_point, Clock::time_point>> waits[5]; // asked, answered
        std::vector<std::thread> clients;
        for (int i = 0; i < 5; ++i) {
            clients.emplace_back([&, i] {
                QTcpSocket socket;
                socket.connectToHost(QHostAddress::LocalHost, m_port);
                for (bool up = socket.waitForConnected(3000); up && !stop; std::this_thread::sleep_for(100ms)) {
                    const auto at = Clock::now();
                    QByteArray answer;
                    socket.write("f\nm\nt\n");
                    socket.flush();
                    while (answer.count('\n') < 4 && socket.waitForReadyRead(3000))
                        answer += socket.readAll();
                    waits[i].emplace_back(at, Clock::now());
                    const QByteArrayList lines = answer.split('\n');
                    wrong += lines.size() != 5 || lines[0].toLongLong() <= 0
                        || !cat::settableModeCode(QString::fromLatin1(lines[1]))
                        || (lines[3] != "0" && lines[3] != "1");
                    ++rounds[i];
                }
                ++finished;
            });
        }
        // The operator steps the frequency up and down and changes band meanwhile.
        const QList<QWidget *> controls {f->c().Com_pk, f->c().Com_mk, f->c().Com_14, f->c().Com_144, f->c().Com_USB};
        int click = 0;
        QTimer hand;
        connect(&hand, &QTimer::timeout, this, [&] { PanelFixture::queueClick(controls[click++ % controls.size()]); });
        hand.start(70);
        const bool tenRounds = PanelFixture::waitFor(
            [&] {
                return std::all_of(
                    std::begin(rounds), std::end(rounds), [](const std::atomic<int> &n) { return n >= 10; });
            },
            30s);
        stop = true;
        hand.stop();
        // The clients' last requests are answered by this thread's event loop.
        PanelFixture::waitFor([&] { return finished == 5; }, 10s);
        for (std::thread &client : clients)
            client.join();
        QVERIFY(tenRounds);
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
    void commandLine()
    {
        for (const auto &[arguments, listen] : {std::pair {"", ""}, {"--rigctld", "127.0.0.1:4532"},
                 {"--rigctld=4533", "127.0.0.1:4533"}, {"--rigctld=192.168.1.20:4532", "192.168.1.20:4532"},
                 {"--rigctld=[::1]:4600", "::1:4600"}, {"--rigctld=0", "error"}, {"--rigctld=70000", "error"},
                 {"--rigctld=radio:4532", "error"}, {"--verbose", "error"}}) {
            const CommandLine line = CommandLine::parse(QString::fromLatin1(arguments).split(u' ', Qt::SkipEmptyParts));
            const QString at
                = line.share ? u"%1:%2"_s.arg(line.share->address.toString()).arg(line.share->port) : u""_s;
            QCOMPARE((std::pair {QByteArray(arguments), line.error.isEmpty() ? at : u"error"_s}),
                (std::pair {QByteArray(arguments), QString::fromLatin1(listen)}));
        }
    }
};
