// Start-up to the main window shown, and the memory the program holds after a minute of polling.
//
//   build/bin/startup_bench [seconds of polling, default 60]
//
// Each figure comes from a fresh child process (this program started again with a role), so that loading the
// libraries counts and nothing warm is reused.

#include "mainassembly.h"
#include "panelfixture.h"
#include "resident.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Child: the program's own start-up, as main() does it, until the window is on screen.
int childStartup(int argc, char *argv[])
{
    QApplication app(argc, argv);
    MainAssembly program;
    program.start();
    while (!program.window.isVisible())
        QCoreApplication::processEvents();
    QCoreApplication::processEvents(); // the first paint
    std::printf("shown\n");
    std::fflush(stdout);
    return 0;
}

// Child: the link on against the emulator, polling for the given time, then the resident memory.
int childPoll(int argc, char *argv[], int seconds)
{
    QApplication app(argc, argv);
    long before = 0;
    {
        PanelFixture f;
        if (!f.start(4800, {}, PanelFixture::Line::Pty) || !f.switchOn())
            return 1;
        before = residentKiB();
        QEventLoop loop;
        QTimer::singleShot(std::chrono::seconds(seconds), &loop, &QEventLoop::quit);
        loop.exec();
        std::printf("%ld %ld\n", before, residentKiB());
    }
    return 0;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && qstrcmp(argv[1], "--child-startup") == 0)
        return childStartup(argc, argv);
    if (argc > 2 && qstrcmp(argv[1], "--child-poll") == 0)
        return childPoll(argc, argv, std::atoi(argv[2]));

    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    const QString self = QCoreApplication::applicationFilePath();

    std::vector<double> startups;
    for (int run = 0; run < 11; ++run) {
        QProcess child;
        QElapsedTimer t;
        t.start();
        child.start(self, {u"--child-startup"_s});
        while (child.waitForReadyRead(10000) && !child.readAllStandardOutput().contains("shown")) { }
        startups.push_back(t.nsecsElapsed() / 1e6);
        child.waitForFinished(10000);
    }
    std::printf("| start-up to the main window shown (median of 11) | %.0f ms |\n", median(startups));

    QProcess poller;
    poller.start(self, {u"--child-poll"_s, QString::number(seconds)});
    poller.waitForFinished((seconds + 30) * 1000);
    const QList<QByteArray> kib = poller.readAllStandardOutput().trimmed().split(' ');
    if (kib.size() == 2)
        std::printf("| resident memory: at switch-on / after %d s of polling | %.1f MiB / %.1f MiB |\n", seconds,
            kib[0].toLong() / 1024.0, kib[1].toLong() / 1024.0);
    return 0;
}
