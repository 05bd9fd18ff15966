// The status poll against the emulator, side by side with the wire's own limit: how long one receiving tick
// takes, how soon a reply is seen after its last byte left the radio, and what polling costs in CPU.
//
//   build/bin/poll_bench [--cpu-only] [--moving-meter] [--display | --bus] [seconds of polling for the CPU figure,
//                        default 20]
//
// On the offscreen platform unless told otherwise. --display runs it on a virtual X display, --bus on one with
// the accessibility bus on and a screen reader's stand-in reading every event (bench/benchdesktop.cpp).

#include "benchdesktop.h"
#include "panelfixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QProcess>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <optional>
#include <pthread.h>
#include <sys/resource.h>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// The program's own thread only: the emulator serving it runs on another thread of this process.
double cpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_THREAD, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

double hamlibTick(int baud, const QString &conf);

void tickAt(int baud, int latencyMs)
{
    PanelFixture f;
    const QByteArray settings = "\"1\",\"300\",\"" + QByteArray::number(baud) + ",n,8,2\",\"\",\"\"";
    if (!f.start(baud, settings, PanelFixture::Line::Pty) || !f.switchOn()) {
        std::printf("could not start at %d baud\n", baud);
        return;
    }
    f.c().Timer1->stop();
    f.pty().setLatencyMs(latencyMs);
    f.program().poll.Timer1_Timer(); // warm up
    // What the emulator itself adds to the wire time: each reply's last byte against the earliest it could
    // have been written (frame arrival + turnaround + its bytes' wire time). Wake-ups of its thread come late on
    // a shared machine; that lateness is the emulator's, not the program's.
    std::mutex trafficMutex;
    std::optional<std::chrono::steady_clock::time_point> frameAt;
    double emulatorLateMs = 0;
    const double byteMs = 11.0 * 1000 / baud;
    f.pty().setTrafficObserver([&](std::chrono::steady_clock::time_point at, bool received, const QByteArray &bytes) {
        std::lock_guard lock(trafficMutex);
        if (received) {
            frameAt = at;
        } else if (frameAt) {
            const double took = std::chrono::duration<double, std::milli>(at - *frameAt).count();
            emulatorLateMs += took - latencyMs - bytes.size() * byteMs;
            frameAt.reset();
        }
    });
    std::vector<double> ticks;
    for (int i = 0; i < 40; ++i) {
        QElapsedTimer t;
        t.start();
        f.program().poll.Timer1_Timer();
        f.c().Timer1->stop();
        ticks.push_back(t.nsecsElapsed() / 1e6);
    }
    f.pty().setTrafficObserver({});
    // 20 bytes out, 8 back (1 + 5 + 1 + 1), 11 bits a byte, plus the radio's turnaround for each reply.
    const double wireMs = 28 * 11.0 * 1000 / baud + 4 * latencyMs;
    const double emulatorLatePerTick = emulatorLateMs / double(ticks.size());
    const double median = percentile(ticks, 0.5);
    std::printf("| tick at %5d baud, %2d ms turnaround | %7.2f ms | %7.2f ms | %.3f |\n", baud, latencyMs, median,
        wireMs, median / wireMs);
    std::printf("| of which the emulator's own lateness (mean per tick) | %7.2f ms | | tick less it: %.3f |\n",
        emulatorLatePerTick, (median - emulatorLatePerTick) / wireMs);
    if (latencyMs == 0) {
        const double hamlibDefault = hamlibTick(baud, {});
        const double hamlibFast = hamlibTick(baud, u"write_delay=0,post_write_delay=0,cache_timeout=0"_s);
        if (hamlibDefault > 0)
            std::printf("| same four reads through rigctld, default delays, %5d baud | %7.2f ms | | Orvane %.3f |\n",
                baud, hamlibDefault, median / hamlibDefault);
        if (hamlibFast > 0)
            std::printf(
                "| same four reads through rigctld, no delays, no cache, %5d baud | %7.2f ms | | Orvane %.3f |\n", baud,
                hamlibFast, median / hamlibFast);
    }

    // Each exchange lets the event loop run five times (four while clearing the parameters, one while the
    // command drains): twenty turns a tick, a fixed cost that weighs most at the highest speed.
    if (baud == 57600) {
        QElapsedTimer turns;
        turns.start();
        for (int i = 0; i < 2000; ++i)
            QCoreApplication::processEvents();
        const double turnMs = turns.nsecsElapsed() / 1e6 / 2000;
        std::printf("| one event-loop turn, with the panel shown | %.1f us | twenty a tick: %.2f ms | |\n",
            turnMs * 1000, 20 * turnMs);
    }

    // Reply detection: from the radio writing a reply's last byte to Lit_Reponse returning.
    std::vector<double> detect;
    CatLink &link = f.program().link;
    for (int i = 0; i < 200; ++i) {
        const auto previousReply = f.pty().lastReplyEnd();
        link.Efface_Param();
        link.Envoi_Cmd(cat::OpReadReceiverStatus);
        link.Lit_Reponse(1);
        const auto now = std::chrono::steady_clock::now();
        // The emulator stamps a reply just after its write returns, which can be a moment after we saw it.
        while (f.pty().lastReplyEnd() == previousReply)
            std::this_thread::yield();
        detect.push_back(std::chrono::duration<double, std::micro>(now - f.pty().lastReplyEnd()).count());
    }
    std::printf("| reply seen after its last byte, %5d baud | median %.0f us | p99 %.0f us | |\n", baud,
        percentile(detect, 0.5), percentile(detect, 0.99));
}

// The same four reads (status, frequency and mode, status twice) through Hamlib's rigctld, against the same
// emulator at the same speed. Returns the median time of the four, in ms, or a negative value when rigctld is
// not installed.
double hamlibTick(int baud, const QString &conf)
{
    ft847sim::Ft847Sim sim(ft847sim::SimConfig {baud, 0, {}});
    if (!sim.start())
        return -1;
    const quint16 port = 4590;
    QProcess rigctld;
    QStringList args = {u"-m"_s, u"1001"_s, u"-r"_s, sim.slavePath(), u"-s"_s, QString::number(baud), u"-T"_s,
        u"127.0.0.1"_s, u"-t"_s, QString::number(port)};
    if (!conf.isEmpty())
        args << u"-C"_s << conf;
    rigctld.start(u"rigctld"_s, args);
    if (!rigctld.waitForStarted(3000))
        return -1;
    QTcpSocket socket;
    for (int attempt = 0; attempt < 50 && socket.state() != QAbstractSocket::ConnectedState; ++attempt) {
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (!socket.waitForConnected(100)) {
            socket.abort();
            QThread::msleep(100);
        }
    }
    auto ask = [&](const char *command) {
        socket.write(command);
        socket.write("\n");
        while (!socket.canReadLine() && socket.waitForReadyRead(5000)) { }
        return socket.readLine();
    };
    ask("f"); // warm up (rigctld opens the rig on the first client)
    std::vector<double> ticks;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer t;
        t.start();
        ask("\\get_dcd");
        ask("f");
        ask("l RAWSTR");
        ask("l RAWSTR");
        ticks.push_back(t.nsecsElapsed() / 1e6);
    }
    socket.disconnectFromHost();
    rigctld.terminate();
    rigctld.waitForFinished(3000);
    return percentile(ticks, 0.5);
}

double clockSeconds(clockid_t clock)
{
    timespec t {};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void idleCpu(int seconds, bool movingMeter)
{
    PanelFixture f;
    if (!f.start(4800, {}, PanelFixture::Line::Pty) || !f.switchOn())
        return;
    // A live band: the S-meter moves at every tick, so the bar, its width and their names change each time.
    QTimer meter;
    int reading = 0;
    QObject::connect(&meter, &QTimer::timeout, [&] { f.sim().setSMeter(reading = (reading + 7) % 32); });
    if (movingMeter)
        meter.start(300);
    // The whole program is every thread of this process (the user-interface thread, and the accessibility
    // bridge's D-Bus thread when it is on) but the emulator's serving thread, whose clock it hands over.
    std::atomic<clockid_t> emulatorClock {0};
    std::atomic<bool> known {false};
    f.pty().setTrafficObserver([&](std::chrono::steady_clock::time_point, bool, const QByteArray &) {
        if (!known) {
            clockid_t clock {};
            pthread_getcpuclockid(pthread_self(), &clock);
            emulatorClock = clock;
            known = true;
        }
    });
    if (!PanelFixture::waitFor([&] { return bool(known); }, std::chrono::seconds(3)))
        return;
    const auto program = [&] { return clockSeconds(CLOCK_PROCESS_CPUTIME_ID) - clockSeconds(emulatorClock); };
    // The program's own event loop, as when it sits polling all evening.
    QEventLoop loop;
    QTimer::singleShot(std::chrono::seconds(seconds), &loop, &QEventLoop::quit);
    const double before = cpuSeconds();
    const double programBefore = program();
    loop.exec();
    const double used = cpuSeconds() - before;
    const double programUsed = program() - programBefore;
    const char *what = movingMeter ? "S-meter moving" : "nothing else happening";
    std::printf("| CPU while polling (link on, %s, %d s), user-interface thread | %.3f s | %.3f s per minute | |\n",
        what, seconds, used, used * 60.0 / seconds);
    std::printf("| CPU while polling (link on, %s, %d s), all the program's threads | %.3f s | %.3f s per minute | |\n",
        what, seconds, programUsed, programUsed * 60.0 / seconds);
    f.pty().setTrafficObserver({});
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    for (const QString &desktop : {u"--bus"_s, u"--display"_s}) {
        if (args.removeAll(desktop) > 0) {
            QCoreApplication app(argc, argv);
            return runOnDesktop(QCoreApplication::applicationFilePath(), args, desktop == u"--bus"_s);
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool cpuOnly = args.removeAll(u"--cpu-only"_s) > 0;
    const bool movingMeter = args.removeAll(u"--moving-meter"_s) > 0;
    const int seconds = args.isEmpty() ? 20 : std::max(1, args.constFirst().toInt());
    std::printf("| measure | median | wire limit | ratio |\n|---|---|---|---|\n");
    if (!cpuOnly) {
        for (const int baud : {4800, 9600, 57600})
            tickAt(baud, 0);
        tickAt(4800, 5);
    }
    idleCpu(seconds, movingMeter);
    return 0;
}
