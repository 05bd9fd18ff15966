// Clicks while the panel polls, on a line that drains at its speed (the UART test port): how soon a click reaches
// the line, and that thousands of them, at random moments, never cost the poll a reply nor split a frame.
//
// Clicks come from another thread at random moments through the window system's input queue, as a user's do: each
// waits there until the program next takes input. Latency runs from the click to the first byte of its first frame
// starting to cross the line; the goal is never more than one exchange (a request and its reply) of wire time.
//
//   build/bin/click_bench [clicks at 4800 baud, default 10000] [clicks at 57600 baud, default 10000]

#include "catframe.h"
#include "clicklabel.h"
#include "memorygrid.h"
#include "panelfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyleHints>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>
#include <thread>

using Clock = std::chrono::steady_clock;

namespace {

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

struct Click
{
    Clock::time_point at; // when the user clicked
    bool duringTick = false; // the poll was in a tick then
    bool alone = false; // every earlier click had been handled: nothing but the poll stood in its way
    std::optional<Clock::time_point> taken; // when the program took it
    std::optional<Clock::time_point> onLine; // when its first byte started to cross
};

// Counts the clicks the program takes, as it takes them: the button's release reaching the window.
class ReleaseCounter : public QObject
{
public:
    explicit ReleaseCounter(std::vector<Click> &clicks)
        : m_clicks(clicks)
    { }
    std::atomic<int> taken {0};

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched->isWindowType() && event->type() == QEvent::MouseButtonRelease)
            m_clicks[std::size_t(taken++)].taken = Clock::now();
        return false;
    }

private:
    std::vector<Click> &m_clicks;
};

bool isPollRequest(const QByteArray &frame)
{
    const auto op = static_cast<quint8>(frame.at(4));
    return op == cat::OpReadReceiverStatus || op == cat::OpReadFrequencyMode;
}

bool run(int baud, int count)
{
    PanelFixture f;
    if (!f.start(baud) || !f.switchOn()) {
        std::printf("could not start at %d baud\n", baud);
        return false;
    }
    Ft847Controls &c = f.c();
    MainAssembly &program = f.program();
    UartTestPort &port = f.uart();
    c.Lab_mem->click(); // unfolds the memory panel, where the memo list is
    c.Scan_List->addItem(QStringLiteral("14340"));
    c.List_memo->addItem(QStringLiteral("007.050 LSB"));
    c.TextVfo1->setText(QStringLiteral("7050"));
    c.LabVFO2->setText(QStringLiteral("433.425.00"));
    QCoreApplication::processEvents();

    // The poll's ticks, timed: was a click made while one was running?
    std::atomic<bool> inTick {false};
    int ticks = 0;
    QObject::disconnect(c.Timer1, &QTimer::timeout, &program.poll, &StatusPoll::Timer1_Timer);
    QObject::connect(c.Timer1, &QTimer::timeout, &program.poll, [&] {
        inTick = true;
        ++ticks;
        program.poll.Timer1_Timer();
        inTick = false;
    });

    // Every control a click can send from, as the user's hand finds it; but for "LSB" and "AM", which start the
    // poll's timer again, so that a stream of them would hold the poll back.
    // Connected after the program's own handlers, so each count comes once a handler has returned: its commands sent.
    std::atomic<int> handled {0};
    std::vector<std::function<void()>> clickers;
    for (const char *name : {"Com_18", "Com_35", "Com_7", "Com_14", "Com_21", "Com_28", "Com_50", "Com_144", "Com_430",
             "Com_USB", "Com_CW", "Com_CWR", "Com_FM", "Com_pk", "Com_mk", "ComVfo1", "Com_AB", "Com_shift"}) {
        auto *button = program.window.findChild<QAbstractButton *>(QLatin1String(name));
        QObject::connect(button, &QAbstractButton::clicked, [&] { ++handled; });
        clickers.push_back(PanelFixture::clicker(button));
    }
    for (QListWidget *list : {c.Scan_List, c.List_memo}) {
        QObject::connect(list, &QListWidget::itemClicked, [&] { ++handled; });
        clickers.push_back(PanelFixture::clicker(list->viewport(), list->visualItemRect(list->item(0)).center()));
    }

    std::vector<Click> clicks(static_cast<std::size_t>(count));
    ReleaseCounter releases(clicks);
    qApp->installEventFilter(&releases);
    int attributed = 0; // clicks whose first frame has been seen
    port.setOutputHook([&](const QByteArray &bytes) {
        if (isPollRequest(bytes))
            return;
        const auto start = std::max(Clock::now(), port.lineFreeAt());
        // Clicks are taken one at a time, in order: the first command after the n-th is taken is the n-th's.
        if (attributed < releases.taken)
            clicks[std::size_t(attributed++)].onLine = start;
    });

    const double exchangeMs = 10 * 11.0 * 1000 / baud; // the frequency read: 5 bytes out, 5 back
    std::atomic<bool> allMade {false};
    std::thread user([&] {
        std::mt19937 random(baud);
        std::exponential_distribution<double> pause(1.0 / (3 * exchangeMs));
        std::uniform_int_distribution<std::size_t> pick(0, clickers.size() - 1);
        for (int i = 0; i < count; ++i) {
            std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(pause(random)));
            Click &click = clicks[std::size_t(i)];
            click.duringTick = inTick;
            click.alone = releases.taken == i && handled == i;
            click.at = Clock::now();
            clickers[pick(random)]();
        }
        allMade = true;
    });
    while (!allMade && f.programEnds.isEmpty())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    user.join();
    PanelFixture::waitFor([&] { return attributed == count || !f.programEnds.isEmpty(); }, std::chrono::seconds(5));
    port.setOutputHook({});
    qApp->removeEventFilter(&releases);
    c.Timer1->stop();

    // Every frame whole: a known command, a request with clear parameters, and none sent into an exchange. The
    // panel ends where the radio is.
    int malformed = 0;
    for (const auto &frame : port.frames()) {
        const auto op = static_cast<quint8>(frame.bytes.at(4));
        const bool known = isPollRequest(frame.bytes) || op == cat::OpCatOn || op == cat::OpSetFrequency
            || op == cat::OpSetMode || op == cat::OpRepeaterShift;
        if (!known || (isPollRequest(frame.bytes) && frame.bytes.left(4) != QByteArray(4, '\0')))
            ++malformed;
    }
    const bool agrees = c.L_mode->text() == cat::modeName(port.mode())
        && program.frequency.CurrentFreq == QStringLiteral("%1").arg(port.frequency(), 8, 10, QLatin1Char('0'));
    std::vector<double> all, waits, totals;
    const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    for (const Click &click : clicks) {
        if (!click.onLine || !click.taken)
            continue;
        all.push_back(ms(*click.onLine - click.at));
        if (click.duringTick && click.alone) {
            waits.push_back(ms(*click.taken - click.at));
            totals.push_back(ms(*click.onLine - click.at));
        }
    }
    const bool sound = f.messages.isEmpty() && f.programEnds.isEmpty() && malformed == 0
        && port.interruptedReplies() == 0 && agrees && int(all.size()) == count;
    std::printf("| %5d baud | %d clicks, %zu of them alone during one of %d ticks | port errors %lld, malformed frames "
                "%d, frames sent into an exchange %d, panel agrees with the radio: %s | %s |\n",
        baud, count, waits.size(), ticks, static_cast<long long>(f.messages.size()), malformed,
        port.interruptedReplies(), agrees ? "yes" : "NO", sound ? "sound" : "FAULT");
    if (!all.empty())
        std::printf("| %5d baud | every click to the line: median %.2f ms, p99 %.2f ms, worst %.2f ms | | |\n", baud,
            percentile(all, 0.5), percentile(all, 0.99), percentile(all, 1.0));
    if (!waits.empty())
        std::printf("| %5d baud | a click during a tick, waiting to be taken: median %.2f ms, worst %.2f ms; to the "
                    "line: median %.2f ms, worst %.2f ms | one exchange %.2f ms | |\n",
            baud, percentile(waits, 0.5), percentile(waits, 1.0), percentile(totals, 0.5), percentile(totals, 1.0),
            exchangeMs);
    return sound;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Two quick clicks on one list item would be a double-click, which the lists do not act on: this hand only clicks.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
    const int slow = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const int fast = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10000;
    const bool sound = run(4800, slow) & run(57600, fast);
    return sound ? 0 : 1;
}
