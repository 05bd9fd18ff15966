#include "actionroad.h"

#include "catlink.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

namespace {
int loopLevel()
{
    return QThread::currentThread()->loopLevel();
}
} // namespace

ActionRoad::ActionRoad(const CatLink &link, QObject *parent)
    : QObject(parent)
    , m_link(link)
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(1);
    connect(&m_retry, &QTimer::timeout, this, &ActionRoad::pump);
}

std::function<void()> ActionRoad::whileUsable(QWidget *control, std::function<void()> action)
{
    return [control = QPointer<QWidget>(control), action = std::move(action)] {
        if (control && control->isEnabled() && control->isVisible())
            action();
    };
}

bool ActionRoad::insideSend() const
{
    return m_link.isSending() && !m_link.isEnding();
}

bool ActionRoad::runnable() const
{
    // Once the port error is being reported nothing more goes out: what waits, waits for the end.
    if (m_link.isSending() || m_link.isEnding())
        return false;
    if (m_running.empty())
        return true;
    const Running &top = m_running.back();
    return top.parked || loopLevel() > top.loopLevel;
}

bool ActionRoad::isFree() const
{
    return runnable() && m_queue.empty();
}

bool ActionRoad::collecting() const
{
    return m_inputTurnLevel >= 0 && loopLevel() == m_inputTurnLevel;
}

bool ActionRoad::operatorWaiting() const
{
    return std::any_of(m_queue.begin(), m_queue.end(), [](const Item &i) { return i.source == Source::Operator; });
}

void ActionRoad::submit(Source source, std::function<void()> action)
{
    if (collecting()) {
        // Held input reaching the program: taken at once, in the order it came, as it would have been at rest.
        if (source == Source::Operator && runnable())
            run({source, std::move(action)});
        else
            m_queue.push_back({source, std::move(action)});
        return;
    }
    m_queue.push_back({source, std::move(action)});
    pump();
}

void ActionRoad::pump()
{
    if (collecting())
        return; // the turn's own pump picks once the held input is in
    while (!m_queue.empty() && runnable()) {
        // The operator's clicks and keys wait in the window system while a command is sent: let them in before
        // anything else waiting is picked, so that they keep their place ahead of it.
        if (!operatorWaiting()) {
            inputTurn();
            if (m_queue.empty() || !runnable())
                break;
        }
        auto next
            = std::find_if(m_queue.begin(), m_queue.end(), [](const Item &i) { return i.source == Source::Operator; });
        if (next == m_queue.end())
            next = m_queue.begin();
        Item item = std::move(*next);
        m_queue.erase(next);
        run(std::move(item));
    }
    if (!m_queue.empty())
        m_retry.start();
}

void ActionRoad::inputTurn()
{
    const int outer = m_inputTurnLevel;
    m_inputTurnLevel = loopLevel();
    QCoreApplication::processEvents();
    m_inputTurnLevel = outer;
}

void ActionRoad::run(Item item)
{
    m_running.push_back({item.source, loopLevel()});
    item.run();
    m_running.pop_back();
}

void ActionRoad::parkedTurn()
{
    if (m_running.empty()) {
        QCoreApplication::processEvents();
        return;
    }
    const std::size_t depth = m_running.size() - 1;
    m_running[depth].parked = true;
    pump();
    QCoreApplication::processEvents();
    m_running[depth].parked = false;
}
