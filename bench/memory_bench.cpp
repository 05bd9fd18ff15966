// How the memory manager scales with the size of datamem.txt: "Afficher" (the whole program's window, unfolded,
// on the offscreen platform unless told otherwise), with the link off and with it on (the radio polled by the
// emulator meanwhile), a deletion and an append, at 1,000, 10,000 and 100,000 entries. Plain wall-clock
// timing; each figure is the median of repeated runs.
//
//   build/bin/memory_bench [--display | --bus]
//
// --display runs it on a virtual X display, --bus on one with the accessibility bus on and a screen reader's
// stand-in reading every event (bench/benchdesktop.cpp).

#include "benchdesktop.h"
#include "clicklabel.h"
#include "ft847window.h"
#include "memoryfile.h"
#include "memorygrid.h"
#include "panelfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const char *const kGroups[9] = {"HF1", "HF2", "HF3", "HF4", "HF5", "VHF", "UHF", "Sp1", "Sp2"};
const char *const kModes[6] = {"FM", "AM", "USB", "LSB", "CW", "CWR"};

QByteArray makeFile(int entries)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(entries) * 48);
    for (int i = 0; i < entries; ++i) {
        bytes.append("\"").append(kGroups[i % 9]).append("\",\"");
        bytes.append(QByteArray::number(1800 + i)).append("\",\"").append(kModes[i % 6]);
        bytes.append("\",\"Relais n\xb0 ").append(QByteArray::number(i)).append(" pr\xe8s d'ici\"\r\n");
    }
    return bytes;
}

void writeFile(const QByteArray &bytes)
{
    QFile file(memoryfile::memoryPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
}

double medianMs(int runs, const std::function<void()> &prepare, const std::function<void()> &measured)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        measured();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    for (const QString &desktop : {QStringLiteral("--bus"), QStringLiteral("--display")}) {
        if (args.removeAll(desktop) > 0) {
            QCoreApplication app(argc, argv);
            return runOnDesktop(QCoreApplication::applicationFilePath(), args, desktop == QStringLiteral("--bus"));
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PanelFixture f;
    if (!f.start())
        qFatal("the program did not start");
    MainAssembly &program = f.program();
    Ft847Controls &c = program.c;
    c.ft_847->setHeightTwips(Ft847Window::kUnfoldedTwips);
    for (QCheckBox *check : {c.CheckHF1, c.CheckHF2, c.CheckHF3, c.CheckHF4, c.CheckHF5, c.CheckVHF, c.CheckUHF,
             c.CheckSpec1, c.CheckSpec2})
        check->setChecked(true);
    QApplication::processEvents();

    QTextStream out(stdout);
    out << "entries  Afficher (ms)  link on (ms)  poll's longest pause (ms)  a turn per entry (ms)    rows  "
           "Supprimer (ms)  Efface_qrg (ms)  Enreg_qrg (ms)\n";
    for (const int entries : {1000, 10000, 100000}) {
        const QByteArray file = makeFile(entries);
        const int runs = entries >= 100000 ? 5 : 11;
        writeFile(file);

        const auto afficher = [&] {
            program.memory.ComEnvoiLIste_Click();
            c.Grid->refresh();
            QApplication::processEvents();
        };
        const double show = medianMs(
            runs, [] {}, afficher);
        const int rows = c.Grid->rows();

        // The same with the link on: the poll must go on meanwhile. Its longest pause is the longest time between
        // two frames the radio received while "Afficher" ran (a tick every 300 ms plus the tick itself when the
        // poll is served).
        if (!f.switchOn())
            qFatal("the link did not come on");
        double longestPause = 0;
        const double showLinkOn = medianMs(
            runs, [&] { PanelFixture::waitFor([] { return false; }, std::chrono::milliseconds(700)); },
            [&] {
                const auto start = std::chrono::steady_clock::now();
                afficher();
                const auto end = std::chrono::steady_clock::now();
                std::vector<std::chrono::steady_clock::time_point> at {start};
                for (const auto &frame : f.sim().frames()) {
                    if (frame.at > start && frame.at < end)
                        at.push_back(frame.at);
                }
                at.push_back(end);
                for (std::size_t i = 1; i < at.size(); ++i)
                    longestPause
                        = std::max(longestPause, std::chrono::duration<double, std::milli>(at[i] - at[i - 1]).count());
            });
        c.Lab_c_off->click();
        // What one turn of the event loop after each entry, with nothing else to do, would cost.
        const double turns = medianMs(
            runs, [] {},
            [&] {
                for (int i = 0; i < entries; ++i)
                    QApplication::processEvents();
            });

        // "Supprimer" on a row in the middle of the list: the grid row and the file rewrite through DATAqS.tmp.
        const int middle = entries / 2;
        const double remove = medianMs(
            runs,
            [&] {
                writeFile(file);
                program.memory.ComEnvoiLIste_Click();
                c.Grid->refresh();
                c.Grid->selectRow(middle);
                if (c.Grid->rowSel() != middle)
                    qFatal("no row selected");
            },
            [&] { program.memory.Com_eff_Click(); });
        const double effacer = medianMs(
            runs, [&] { writeFile(file); },
            [&] {
                QString error;
                if (!memoryfile::Efface_qrg(QString::number(1800 + middle), &error))
                    qFatal("deletion failed: %s", qPrintable(error));
            });

        writeFile(file);
        const MemoryEntry entry {
            QStringLiteral("VHF"), QStringLiteral("145500"), QStringLiteral("FM"), QStringLiteral("Relais")};
        const double append = medianMs(
            51, [] {},
            [&] {
                QString error;
                if (!memoryfile::Enreg_qrg(entry, &error))
                    qFatal("append failed: %s", qPrintable(error));
            });

        out << QString::asprintf("%7d %14.1f %13.1f %26.1f %22.1f %7d %15.1f %16.1f %15.2f\n", entries, show,
            showLinkOn, longestPause, turns, rows, remove, effacer, append);
        out.flush();
    }
    return 0;
}
