#pragma once

// The road to the radio. Every action that may send or open a window runs here: a control's click, key or choice
// however it was made (the mouse, the keyboard, a screen reader or switch-access tool pressing it through the
// accessibility bus, a timer Qt uses for an animated click), a network client's set, a scanner step, and each
// exchange of the status poll. Actions run one at a time, each to its end before the next starts, and never while a
// command is being sent: one that comes meanwhile waits in line. The operator's actions go before everything else
// waiting (so a pause of the scan is taken as soon as the road is free, whatever the network asks); the others keep
// the order they came in.
//
// A running action that waits in a modal window (a message box, a dialog) holds nothing up: the others run meanwhile,
// so the poll and its lights go on while the box is up. So do they at a turn the action declares safe (a long load
// that lets the panel live while it reads).

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class CatLink;

class ActionRoad : public QObject
{
    Q_OBJECT

public:
    enum class Source {
        Operator, // the panel's own controls, from any input
        Internal, // the poll's exchanges, the scanner's steps
        Network, // network clients' sets
    };

    explicit ActionRoad(const CatLink &link, QObject *parent = nullptr);

    // Runs the action now when the road is free, else in its turn.
    void submit(Source source, std::function<void()> action);

    // Each emission of the control's signal becomes an operator action calling the handler. An action served once
    // the control has been disabled or hidden is dropped, as Qt drops a click on a disabled button.
    template<typename Control, typename Signal, typename Receiver>
    void route(Control *control, Signal signal, Receiver *receiver, void (Receiver::*handler)())
    {
        connect(control, signal, receiver, [this, control, receiver, handler] {
            submit(Source::Operator, whileUsable(control, [receiver, handler] { (receiver->*handler)(); }));
        });
    }
    // The same, with `take` run at the emission with the signal's arguments: it returns the action, holding what the
    // action needs of that moment (the item clicked, the row chosen), which may be gone by the time it is served.
    template<typename Control, typename Signal, typename Take>
    void routeTaking(Control *control, Signal signal, QObject *context, Take take)
    {
        connect(control, signal, context,
            [this, control, take](auto &&...args) { submit(Source::Operator, whileUsable(control, take(args...))); });
    }

    // Whether an action submitted now would run at once.
    bool isFree() const;
    // Whether a command is being sent further down the stack (the port error's report aside).
    bool insideSend() const;
    int waiting() const { return int(m_queue.size()); }
    // Where the action being served came from (the innermost, when one waits in a window); none at rest.
    std::optional<Source> serving() const
    {
        return m_running.empty() ? std::nullopt : std::optional(m_running.back().source);
    }

    // A turn of the event loop inside a running action at a point where nothing it does is half done: the actions
    // waiting, and those that come, run meanwhile.
    void parkedTurn();

private:
    struct Item
    {
        Source source;
        std::function<void()> run;
    };
    struct Running
    {
        Source source;
        int loopLevel; // the event loop it started in; deeper, it waits in a window of its own
        bool parked = false;
    };

    static std::function<void()> whileUsable(QWidget *control, std::function<void()> action);
    // Nothing is being sent, and nothing runs or what runs waits in a window or a parked turn.
    bool runnable() const;
    // A turn in which input held back during a send reaches the program: its actions run as they come, the others
    // wait to be picked after it.
    bool collecting() const;
    void pump();
    void inputTurn();
    void run(Item item);
    bool operatorWaiting() const;

    const CatLink &m_link;
    std::deque<Item> m_queue;
    std::vector<Running> m_running;
    QTimer m_retry; // looks again while actions wait: a send ends, a window opens
    int m_inputTurnLevel = -1;
};
