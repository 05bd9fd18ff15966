// The link when the line misbehaves: the serial device vanishing while the link is on, a radio that answers late,
// in two bursts, with garbage, or with one byte too many. The whole program runs against the emulator over Qt
// SerialPort and a pseudo-terminal; each case ends with the program working or ended through its own message.

#include "catlink.h"
#include "clicklabel.h"
#include "panelfixture.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <thread>

#include <sys/resource.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using ft847sim::Fault;

namespace {

const QByteArray kCatOff = PanelFixture::frame({0, 0, 0, 0, 0x80});

// CPU time of the calling thread: the program's own thread, not the emulator's.
double threadCpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_THREAD, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

bool isBcd(const QByteArray &frame)
{
    for (int i = 0; i < 4; ++i) {
        const auto b = static_cast<quint8>(frame.at(i));
        if ((b >> 4) > 9 || (b & 0x0F) > 9)
            return false;
    }
    return true;
}


} // namespace

class TestLinkFaults : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PanelFixture> f;

    void requestFrequencyAndMode()
    {
        f->program().link.Efface_Param();
        f->program().link.Envoi_Cmd(cat::OpReadFrequencyMode);
    }

private slots:
    void init()
    {
        f = std::make_unique<PanelFixture>();
        QVERIFY(f->start(4800, {}, PanelFixture::Line::Pty));
        QVERIFY(f->switchOn());
        QVERIFY(f->waitForFrames(5));
    }
    void cleanup() { f.reset(); }

    // A radio whose line is lost ends the program as a silent one does: one port error, then the unload (CAT off
    // where the line still carries it) and the end. A vanished device must neither hang the unload on a write that
    // can never drain nor make the reply wait race through its count.
    void lostRadioEndsThroughThePortError_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("catOffArrives");
        QTest::newRow("one byte too many") << u"extra byte"_s << true;
        QTest::newRow("device pulled between polls") << u"hang up"_s << false;
        QTest::newRow("device pulled during a reply wait") << u"hang up while waiting"_s << false;
    }
    void lostRadioEndsThroughThePortError()
    {
        QFETCH(QString, how);
        QFETCH(bool, catOffArrives);
        ft847sim::Ft847Sim &sim = f->pty();
        std::thread puller;
        const double cpuBefore = threadCpuSeconds();
        QElapsedTimer clock;
        clock.start();
        if (how == u"extra byte") {
            sim.setFault(Fault::ExtraByte);
        } else if (how == u"hang up") {
            sim.hangUp();
        } else {
            // The reply comes late, and the adapter is pulled while the program sits in the wait for it (the wait
            // does not run the event loop, so the pull comes from another thread).
            sim.setLatencyMs(400);
            const std::size_t seen = sim.frames().size();
            puller = std::thread([&sim, seen] {
                sim.waitForFrames(seen + 1, 5s);
                std::this_thread::sleep_for(100ms);
                sim.hangUp();
            });
        }
        const bool ended = PanelFixture::waitFor([&] { return !f->programEnds.isEmpty(); }, 20s);
        const double wall = double(clock.nsecsElapsed()) / 1e9;
        const double cpu = threadCpuSeconds() - cpuBefore;
        if (puller.joinable())
            puller.join();
        QVERIFY(ended);
        qInfo("from the fault to the end: %.2f s, %.2f s of CPU on the program's thread", wall, cpu);

        QCOMPARE(f->programEnds, QList<int> {EXIT_FAILURE});
        QCOMPARE(f->messages.size(), 1);
        QCOMPARE(f->messages[0].text, u"Erreur: Le port est invalide ou occupé."_s);
        QCOMPARE(f->messages[0].icon, ui::MsgIcon::Error);
        QVERIFY(!f->program().port.portOpen());
        QVERIFY(!f->c().Timer1->isActive());
        QVERIFY(f->program().window.isHidden());
        QCOMPARE(f->program().link.WaitCount, CatLink::kWaitLimit);
        if (catOffArrives)
            QVERIFY(f->waitForLastFrame(kCatOff));
        // The wait rested through its 10000 polls instead of spinning on a dead descriptor.
        QVERIFY2(wall >= 1.0, qPrintable(u"%1 s"_s.arg(wall)));
        QVERIFY2(cpu < wall / 2, qPrintable(u"%1 s of CPU in %2 s"_s.arg(cpu).arg(wall)));

        // Ended for good: nothing more is reported or sent, and the thread stays idle.
        const std::size_t frames = f->frames().size();
        const double idleBefore = threadCpuSeconds();
        QTest::qWait(500);
        QCOMPARE(f->messages.size(), 1);
        QCOMPARE(f->frames().size(), frames);
        QVERIFY(threadCpuSeconds() - idleBefore < 0.25);
    }

    // The reply wait reads exactly the reply's length, however it arrives.
    void replyWaitUnderFaults_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("latencyMs");
        QTest::addColumn<bool>("genuine");
        QTest::newRow("500 ms turnaround") << Fault::None << 500 << true;
        QTest::newRow("reply in two bursts") << Fault::SplitReply << 0 << true;
        QTest::newRow("garbage") << Fault::Garbage << 0 << false;
    }
    void replyWaitUnderFaults()
    {
        QFETCH(Fault, fault);
        QFETCH(int, latencyMs);
        QFETCH(bool, genuine);
        f->c().Timer1->stop();
        f->sim().setFrequency(43342500);
        f->sim().setMode(0x88);
        const QByteArray answer = PanelFixture::frame({0x43, 0x34, 0x25, 0x00, 0x88});
        f->sim().setFault(fault);
        f->sim().setLatencyMs(latencyMs);

        // What the port holds while the reply comes in: a split reply is seen in part first, then whole.
        requestFrequencyAndMode();
        QList<int> counts;
        QElapsedTimer clock;
        clock.start();
        CommPort &port = f->program().port;
        while (clock.elapsed() < 3000 && port.inBufferCount() < 5) {
            if (counts.isEmpty() || counts.constLast() != port.inBufferCount())
                counts.append(port.inBufferCount());
            port.waitForInput(100us);
        }
        counts.append(port.inBufferCount());
        QCOMPARE(counts.constLast(), 5);
        QVERIFY(std::is_sorted(counts.begin(), counts.end()));
        if (fault == Fault::SplitReply)
            QCOMPARE(counts, (QList<int> {0, 2, 5}));
        port.setInBufferCount(0);

        // The CAT routine over the same line.
        CatLink &link = f->program().link;
        requestFrequencyAndMode();
        QVERIFY(link.Lit_Reponse(5));
        QCOMPARE(link.CatReply.size(), 5);
        QCOMPARE(link.CatReply == answer, genuine);
        QCOMPARE(link.WaitCount, 0);
        QVERIFY(f->messages.isEmpty());
        QVERIFY(f->programEnds.isEmpty());
    }

    // The status poll keeps going through a fault: slower with a late radio, never sending a frequency that is not
    // BCD, following the dial once the replies make sense, and the link still switches off cleanly.
    void pollHoldsUnderFaults_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("latencyMs");
        QTest::newRow("500 ms turnaround") << Fault::None << 500;
        QTest::newRow("replies in two bursts") << Fault::SplitReply << 0;
        QTest::newRow("garbage") << Fault::Garbage << 0;
    }
    void pollHoldsUnderFaults()
    {
        QFETCH(Fault, fault);
        QFETCH(int, latencyMs);
        const std::size_t before = f->frames().size();
        f->sim().setFault(fault);
        f->sim().setLatencyMs(latencyMs);
        // Three ticks of four requests (fewer frames when garbage reads as transmitting).
        QVERIFY(f->waitForFrames(before + 10, 20s));
        QVERIFY(f->messages.isEmpty());
        QVERIFY(f->programEnds.isEmpty());
        QVERIFY(f->c().Timer1->isActive());
        for (const QByteArray &frame : f->frames()) {
            if (frame.at(4) == cat::OpSetFrequency)
                QVERIFY2(isBcd(frame), frame.toHex(' ').constData());
        }
        QVERIFY(QRegularExpression(u"^\\d{8}$"_s).match(f->program().frequency.CurrentFreq).hasMatch());

        if (fault == Fault::Garbage)
            f->sim().setFault(Fault::None);
        f->sim().setMode(0x88);
        f->sim().setFrequency(14420000);
        QVERIFY(PanelFixture::waitFor([&] { return f->shownDigits() == u"14420000"_s; }, 15s));
        QVERIFY(PanelFixture::waitFor([&] { return f->c().L_mode->text() == u"FM(N)"_s; }, 15s));
        QCOMPARE(f->program().frequency.CurrentFreq, u"14420000"_s);

        if (latencyMs > 0) {
            // Each request with a reply held the next one back by the radio's turnaround.
            const auto frames = f->sim().frames();
            int checked = 0;
            for (std::size_t i = before + 1; i + 1 < frames.size(); ++i) {
                const auto op = static_cast<quint8>(frames[i].bytes.at(4));
                if (op != cat::OpReadFrequencyMode && op != cat::OpReadReceiverStatus)
                    continue;
                QVERIFY(frames[i + 1].at - frames[i].at >= std::chrono::milliseconds(latencyMs));
                ++checked;
            }
            QVERIFY(checked >= 8);
        }

        f->c().Lab_c_off->click();
        QVERIFY(f->waitForLastFrame(kCatOff, 5s));
        QVERIFY(!f->program().port.portOpen());
        QVERIFY(f->messages.isEmpty());
        QVERIFY(f->programEnds.isEmpty());
    }
};

QTEST_MAIN(TestLinkFaults)
#include "tst_linkfaults.moc"
