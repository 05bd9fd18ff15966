// The radio shared over Hamlib's network protocol: how long a client waits for its frequency from the panel,
// against Hamlib's own rigctld on the same emulator; and whether five clients polling slow the panel's poll.
//
//   build/bin/rigctld_bench [round trips, default 2000]

#include "panelfixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

// "f" asked again and again from a client thread, while this thread runs the event loop; milliseconds each.
std::vector<double> frequencyRoundTrips(quint16 port, int count)
{
    std::vector<double> times;
    std::atomic<bool> done {false};
    std::thread client([&] {
        QTcpSocket socket;
        for (int attempt = 0; attempt < 50 && socket.state() != QAbstractSocket::ConnectedState; ++attempt) {
            socket.connectToHost(QHostAddress::LocalHost, port);
            if (!socket.waitForConnected(200))
                std::this_thread::sleep_for(100ms);
        }
        for (int i = 0; i < count && socket.state() == QAbstractSocket::ConnectedState; ++i) {
            QElapsedTimer t;
            t.start();
            socket.write("f\n");
            QByteArray answer;
            while (!answer.endsWith('\n') && socket.waitForReadyRead(5000))
                answer += socket.readAll();
            times.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    client.join();
    return times;
}

void rigctldRoundTrips(int count, const QString &conf, const char *label)
{
    if (QStandardPaths::findExecutable(u"rigctld"_s).isEmpty())
        return;
    ft847sim::Ft847Sim sim(ft847sim::SimConfig {4800, 0, {}});
    if (!sim.start())
        return;
    const quint16 port = 4591;
    QProcess rigctld;
    QStringList args {u"-m"_s, u"1001"_s, u"-r"_s, sim.slavePath(), u"-s"_s, u"4800"_s, u"-T"_s, u"127.0.0.1"_s,
        u"-t"_s, QString::number(port)};
    if (!conf.isEmpty())
        args << u"-C"_s << conf;
    rigctld.start(u"rigctld"_s, args);
    if (!rigctld.waitForStarted(3000))
        return;
    const std::vector<double> times = frequencyRoundTrips(port, count);
    rigctld.terminate();
    rigctld.waitForFinished(3000);
    std::printf("| f through rigctld -m 1001, %s | median %.3f ms | p99 %.3f ms | %zu asked |\n", label,
        percentile(times, 0.5), percentile(times, 0.99), times.size());
}

// Ticks of the poll, on a line that drains at its speed, with clients polling frequency, mode and PTT every 100 ms.
void tickBesideClients(int clients)
{
    PanelFixture f;
    if (!f.start(4800) || !f.switchOn())
        return;
    QString why;
    if (!f.program().share(QHostAddress(QHostAddress::LocalHost), 0, &why))
        return;
    const quint16 port = f.program().sharing->port();
    f.c().Timer1->stop();
    std::atomic<bool> stop {false};
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i) {
        threads.emplace_back([&] {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            socket.waitForConnected(3000);
            while (!stop && socket.state() == QAbstractSocket::ConnectedState) {
                socket.write("f\nm\nt\n");
                QByteArray answer;
                while (answer.count('\n') < 4 && socket.waitForReadyRead(3000))
                    answer += socket.readAll();
                std::this_thread::sleep_for(100ms);
            }
        });
    }
    PanelFixture::waitFor([&] { return f.program().sharing->clientCount() == clients; }, 3s);
    std::vector<double> ticks;
    for (int i = 0; i < 60; ++i) {
        QElapsedTimer t;
        t.start();
        f.program().poll.Timer1_Timer();
        f.c().Timer1->stop();
        ticks.push_back(double(t.nsecsElapsed()) / 1e6);
        // Between ticks, as the timer leaves the event loop free.
        PanelFixture::waitFor([] { return false; }, 20ms);
    }
    stop = true;
    PanelFixture::waitFor([] { return false; }, 300ms);
    for (std::thread &t : threads)
        t.join();
    const double wireMs = 28 * 11.0 * 1000 / 4800; // 20 bytes out, 8 back
    std::printf("| poll tick at 4800 baud, %d clients polling | median %.2f ms | wire %.2f ms | ratio %.3f |\n",
        clients, percentile(ticks, 0.5), wireMs, percentile(ticks, 0.5) / wireMs);
}

void panelRoundTrips(int count)
{
    PanelFixture f;
    if (!f.start(4800, {}, PanelFixture::Line::Pty) || !f.switchOn())
        return;
    QString why;
    if (!f.program().share(QHostAddress(QHostAddress::LocalHost), 0, &why))
        return;
    const std::vector<double> times = frequencyRoundTrips(f.program().sharing->port(), count);
    std::printf("| f through the panel (polling at 4800 baud) | median %.3f ms | p99 %.3f ms | %zu asked |\n",
        percentile(times, 0.5), percentile(times, 0.99), times.size());
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    std::printf("| measure | median | against | |\n|---|---|---|---|\n");
    panelRoundTrips(count);
    rigctldRoundTrips(std::min(count, 50), {}, "default delays");
    rigctldRoundTrips(
        std::min(count, 500), u"write_delay=0,post_write_delay=0,cache_timeout=0"_s, "no delays, no cache");
    tickBesideClients(0);
    tickBesideClients(5);
    return 0;
}
