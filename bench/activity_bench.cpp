// What "Activité de la bande" costs: a repaint of a 2,000-step range with a hundred sweeps, the memory the model and
// the window hold, and a scanner step on the UART test port with the window closed and open (its time and the
// frames it sends). Offscreen platform unless told otherwise; each time is the median of repeated runs.
//
//   build/bin/activity_bench

#include "activitymodel.h"
#include "activityview.h"
#include "activitywindow.h"
#include "clicklabel.h"
#include "panelfixture.h"
#include "resident.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

double medianMs(int runs, const std::function<void()> &measured)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        measured();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A 2,000-step range (144,000 to 146,000 kHz by 1 kHz) swept `sweeps` times, a station every 37 kHz.
void fill(ActivityModel &model, int sweeps)
{
    using F = scanner::FixedDecimal;
    scanner::ScanReading r {F::fromInteger(144000), F::fromInteger(146000), F::fromInteger(1), {}, {}, 0, false};
    for (int s = 0; s < sweeps; ++s) {
        for (int i = 0; i < 2000; ++i) {
            r.at = F::fromInteger(144000 + i);
            r.level = i % 37 == 0 ? (i * 7 + s) % 32 / 2.0 : (i + s) % 3 / 2.0;
            r.found = i % 37 == 0;
            model.take(r);
        }
    }
}

void drawing()
{
    // Qt's own first-window costs (fonts, glyph caches, the platform's backing store) are not the window's: an
    // empty window of the same size is shown first.
    const long start = residentKiB();
    QWidget plain;
    plain.resize(800, 520);
    plain.show();
    QCoreApplication::processEvents();
    plain.repaint();
    const long before = residentKiB();
    ClickLabel label(u"Activité"_s);
    ActivityModel model;
    ActivityWindow window(model, &label);
    window.show();
    QCoreApplication::processEvents();
    fill(model, 100);
    QCoreApplication::processEvents();
    ActivityView *view = window.view();
    const double repaint = medianMs(50, [&] { view->repaint(); });
    // A reading arriving during a sweep, then its repaint: what each scanner step asks of the window.
    using F = scanner::FixedDecimal;
    int i = 0;
    const double reading = medianMs(200, [&] {
        model.take({F::fromInteger(144000), F::fromInteger(146000), F::fromInteger(1), F::fromInteger(144000 + i++), {},
            5, false});
        view->repaint();
    });
    const double csv = medianMs(5, [&] { (void)model.toCsv(); });
    std::printf("2,000 steps, %d sweeps, window %dx%d\n", model.sweepCount(), window.width(), window.height());
    std::printf("  repaint                 %7.2f ms\n", repaint);
    std::printf("  reading + repaint       %7.2f ms\n", reading);
    std::printf("  CSV of every sweep      %7.2f ms\n", csv);
    std::printf(
        "  resident memory added   %7.2f MiB (the window, its model and pictures); %.2f MiB with Qt's first window\n",
        (residentKiB() - before) / 1024.0, (residentKiB() - start) / 1024.0);
}

// Scanner steps on the UART test port, the poll's reads after each, with the window closed and then open.
void steps()
{
    PanelFixture f;
    if (!f.start(57600) || !f.switchOn())
        qFatal("no radio");
    f.c().Timer1->stop();
    f.c().Textariv->setText(u"146000"_s);
    f.c().Combo_pas->setEditText(u"1"_s);
    f.c().Combo_vitesse->setEditText(u"9"_s);
    f.c().Check_continu->setChecked(true);
    f.c().Av_Pas->click();
    auto run = [&](const char *what) {
        const std::size_t frames = f.sim().frames().size();
        const double ms = medianMs(300, [&] {
            f.program().scanner.requestStep();
            f.program().poll.Lit_Etat();
            f.program().poll.Lit_SMetre();
        });
        std::printf(
            "  %-22s %7.2f ms a step, %.2f frames a step\n", what, ms, double(f.sim().frames().size() - frames) / 300);
    };
    std::printf("scanner step with the poll's reads, 57,600 baud\n");
    run("window closed");
    f.c().LabActiv->click();
    QCoreApplication::processEvents();
    run("window open");
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    drawing();
    steps();
    return 0;
}
