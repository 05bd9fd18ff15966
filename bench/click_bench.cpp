// Actions while the panel polls, on a line that drains at its speed (the UART test port), from every source at once:
// mouse clicks through the window system's input queue, presses through the controls' accessibility interface (as a
// screen reader or a switch-access tool makes them), and two network clients sending frequency sets. How soon each
// reaches the line, and that thousands of them, at random moments, never cost the poll a reply, never split a frame
// and leave the panel where the radio is.
//
// The hand is a timer of the program's own thread with random pauses: it comes due in the turns the program makes
// while it sends, as the bus and the network do. Latency runs from the action (the click made, the press turned into
// a click, the client's line written) to the first byte of its first frame starting to cross the line; "alone" counts
// the actions made while nothing but the poll stood before them. The goal: one exchange of wire time at most.
//
//   build/bin/click_bench [actions at 4800 baud, default 10000] [actions at 57600 baud, default 10000]

#include "catframe.h"
#include "clicklabel.h"
#include "memorygrid.h"
#include "panelfixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyleHints>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <random>

using Clock = std::chrono::steady_clock;

namespace {

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

enum Source { Mouse, Bus, Network, kSources };
const char *const kSourceNames[] = {"mouse click", "press through the bus", "network set"};

struct Action
{
    Source source;
    Clock::time_point at; // made
    bool alone = false; // every earlier action was done: only the poll stood in its way
    int frames = 1; // the commands it sends
    int seen = 0;
    std::optional<Clock::time_point> onLine; // when its first byte started to cross
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
    program.vfoShift.setVfoB(43342500);
    QString why;
    if (!program.share(QHostAddress(QHostAddress::LocalHost), 0, &why))
        return false;
    QTcpSocket clients[2];
    for (QTcpSocket &client : clients) {
        client.connectToHost(QHostAddress::LocalHost, program.sharing->port());
        client.waitForConnected(3000);
    }
    QCoreApplication::processEvents();

    // What the hand reaches, with the commands each sends: every control that sends, but for "LSB" and "AM", which
    // start the poll's timer again (a stream of them would hold the poll back); the lists by the mouse only.
    struct Control
    {
        QWidget *widget;
        int frames;
        std::optional<QPoint> at;
    };
    std::vector<Control> controls;
    for (const auto &[name, frames] :
        {std::pair {"Com_18", 2}, {"Com_35", 2}, {"Com_7", 2}, {"Com_14", 2}, {"Com_21", 2}, {"Com_28", 2},
            {"Com_50", 2}, {"Com_144", 2}, {"Com_430", 2}, {"Com_USB", 1}, {"Com_CW", 1}, {"Com_CWR", 1}, {"Com_FM", 1},
            {"Com_pk", 1}, {"Com_mk", 1}, {"ComVfo1", 1}, {"Com_AB", 1}, {"Com_shift", 1}})
        controls.push_back({program.window.findChild<QAbstractButton *>(QLatin1String(name)), frames, {}});
    // A push button pressed through the bus is down for a tenth of a second; a mouse click elsewhere meanwhile would
    // take its focus, and Qt then drops the press. The hand's mouse clicks leave the focus where it is.
    for (const Control &control : controls)
        control.widget->setFocusPolicy(Qt::NoFocus);
    for (QListWidget *list : {c.Scan_List, c.List_memo})
        controls.push_back(
            {list->viewport(), list == c.List_memo ? 2 : 1, list->visualItemRect(list->item(0)).center()});

    // Operator actions are served in the order their clicks reach the program; a network set is known by its
    // frequency, unique to it, when the road is serving a network client.
    std::vector<Action> actions;
    actions.reserve(std::size_t(count));
    std::deque<std::size_t> operatorOrder; // clicked, in order, not yet all sent
    std::map<quint32, std::size_t> networkSets; // frequency in 10 Hz -> action, not yet sent
    std::map<QObject *, std::deque<std::size_t>> byControl; // made, their click not yet come
    for (const Control &control : controls) {
        QObject *emitter = control.widget->parent() && qobject_cast<QListWidget *>(control.widget->parent())
            ? control.widget->parent()
            : control.widget;
        const auto clicked = [&, emitter] {
            auto &waiting = byControl[emitter];
            if (waiting.empty())
                return;
            const std::size_t i = waiting.front();
            waiting.pop_front();
            if (actions[i].source == Bus)
                actions[i].at = Clock::now(); // the press's own click: Qt's animation is not the program's wait

            operatorOrder.push_back(i);
        };
        // Just before the click itself, which may be served at once: the press of a list item, a button's release.
        if (auto *list = qobject_cast<QListWidget *>(emitter))
            QObject::connect(list, &QListWidget::itemPressed, clicked);
        else
            QObject::connect(static_cast<QAbstractButton *>(emitter), &QAbstractButton::released, clicked);
    }

    int malformedOrUnknown = 0;
    port.setOutputHook([&](const QByteArray &bytes) {
        if (isPollRequest(bytes))
            return;
        const auto start = std::max(Clock::now(), port.lineFreeAt());
        std::optional<std::size_t> owner;
        const quint32 tenHz = bytes.left(4).toHex().toUInt();
        if (program.road.serving() == ActionRoad::Source::Network && networkSets.count(tenHz)) {
            owner = networkSets[tenHz];
            networkSets.erase(tenHz);
        } else if (!operatorOrder.empty()) {
            owner = operatorOrder.front();
            if (++actions[*owner].seen == actions[*owner].frames)
                operatorOrder.pop_front();
        }
        if (!owner) {
            ++malformedOrUnknown;
            return;
        }
        if (!actions[*owner].onLine)
            actions[*owner].onLine = start;
    });

    const auto allDone = [&] {
        return std::all_of(actions.begin(), actions.end(),
            [](const Action &a) { return a.source == Network ? a.onLine.has_value() : a.seen == a.frames; });
    };
    const double exchangeMs = 10 * 11.0 * 1000 / baud; // the frequency read: 5 bytes out, 5 back
    std::mt19937 random(baud);
    std::exponential_distribution<double> pause(1.0 / std::max(3 * exchangeMs, 10.0));
    std::uniform_int_distribution<std::size_t> pick(0, controls.size() - 1);
    std::uniform_int_distribution<int> source(0, kSources - 1), kHz(0, 3399);
    QTimer hand;
    hand.setSingleShot(true);
    hand.setTimerType(Qt::PreciseTimer);
    QObject::connect(&hand, &QTimer::timeout, [&] {
        if (int(actions.size()) == count)
            return;
        const bool alone = allDone();
        Source from = Source(source(random));
        const Control &control = controls[pick(random)];
        QObject *emitter = control.at ? control.widget->parent() : control.widget;
        if (from == Bus && control.at)
            from = Mouse; // a list is clicked by the mouse
        if (from != Network && !byControl[emitter].empty()) {
            hand.start(0); // its last click has not come yet: which click is whose would be a guess
            return;
        }
        Action &action = actions.emplace_back(Action {from, Clock::now(), alone, control.frames, 0, {}});
        const std::size_t index = actions.size() - 1;
        if (from == Network) {
            action.frames = 1;
            // 14.000.07 to 14.169.97 MHz from the first client, 14.170.07 up from the second, a hundred hertz apart.
            quint32 tenHz = 1400007 + quint32(kHz(random)) * 10;
            while (networkSets.count(tenHz))
                tenHz = 1400007 + quint32(kHz(random)) * 10;
            networkSets[tenHz] = index;
            clients[tenHz >= 1417000].write("F " + QByteArray::number(qint64(tenHz) * 10) + '\n');
        } else {
            byControl[emitter].push_back(index);
            if (from == Mouse)
                PanelFixture::queueClick(control.widget, control.at);
            else
                QAccessible::queryAccessibleInterface(control.widget)
                    ->actionInterface()
                    ->doAction(QAccessibleActionInterface::pressAction());
        }
        hand.start(int(pause(random)));
    });
    hand.start(0);
    const bool ended = !PanelFixture::waitFor(
        [&] { return (int(actions.size()) == count && allDone()) || !f.programEnds.isEmpty(); },
        std::chrono::milliseconds(count * 200 + 10000));
    for (QTcpSocket &client : clients)
        client.readAll();
    port.setOutputHook({});
    c.Timer1->stop();

    // Every frame whole: a known command, a request with clear parameters, and none sent into an exchange. The
    // panel ends where the radio is.
    int malformed = malformedOrUnknown;
    for (const auto &frame : port.frames()) {
        const auto op = static_cast<quint8>(frame.bytes.at(4));
        const bool known = isPollRequest(frame.bytes) || op == cat::OpCatOn || op == cat::OpSetFrequency
            || op == cat::OpSetMode || op == cat::OpRepeaterShift;
        if (!known || (isPollRequest(frame.bytes) && frame.bytes.left(4) != QByteArray(4, '\0')))
            ++malformed;
    }
    const bool agrees = c.L_mode->text() == cat::modeName(port.mode())
        && program.frequency.CurrentFreq() == QStringLiteral("%1").arg(port.frequency(), 8, 10, QLatin1Char('0'));
    const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    // A set that an action of the operator's went ahead of (by design) did not have only the poll before it.
    for (Action &set : actions) {
        for (const Action &a : actions) {
            if (set.source == Network && a.source != Network && a.at > set.at && set.onLine && a.at < *set.onLine)
                set.alone = false;
        }
    }
    const bool sound = f.messages.isEmpty() && f.programEnds.isEmpty() && malformed == 0 && !ended
        && port.interruptedReplies() == 0 && agrees && allDone();
    int made[kSources] = {};
    for (const Action &a : actions)
        ++made[a.source];
    std::printf("| %5d baud | %zu actions (%d mouse, %d bus, %d network) | port errors %lld, malformed frames %d, "
                "frames sent into an exchange %d, panel agrees with the radio: %s | %s |\n",
        baud, actions.size(), made[Mouse], made[Bus], made[Network], static_cast<long long>(f.messages.size()),
        malformed, port.interruptedReplies(), agrees ? "yes" : "NO", sound ? "sound" : "FAULT");
    for (int s = 0; s < kSources; ++s) {
        std::vector<double> all, alone;
        for (const Action &a : actions) {
            if (a.source != s || !a.onLine)
                continue;
            all.push_back(ms(*a.onLine - a.at));
            if (a.alone)
                alone.push_back(all.back());
        }
        if (all.empty())
            continue;
        std::printf("| %5d baud | %s to the line: any, median %.2f ms, p99 %.2f ms; alone (%zu), median %.2f ms, "
                    "worst %.2f ms | one exchange %.2f ms |\n",
            baud, kSourceNames[s], percentile(all, 0.5), percentile(all, 0.99), alone.size(),
            alone.empty() ? 0.0 : percentile(alone, 0.5), alone.empty() ? 0.0 : percentile(alone, 1.0), exchangeMs);
    }
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
