#include "catlink.h"

#include "messagebox.h"
#include "programend.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include <algorithm>
#include <thread>
#include <utility>

struct CatLink::Sending
{
    explicit Sending(CatLink &link)
        : m_link(link)
    {
        ++m_link.m_sending;
    }
    ~Sending()
    {
        // The window system may hand input held back by the send's turns over only once woken again: without this,
        // a click made during a send could wait for the next movement of the mouse.
        if (--m_link.m_sending == 0 && std::exchange(m_link.m_heldInput, false)) {
            if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
                dispatcher->wakeUp();
        }
    }
    Sending(const Sending &) = delete;
    Sending &operator=(const Sending &) = delete;

private:
    CatLink &m_link;
};

CatLink::CatLink(CommPort &port)
    : m_port(port)
{ }

void CatLink::yieldWhileSending()
{
    m_heldInput = true;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CatLink::turn()
{
    if (isSending())
        yieldWhileSending();
    else
        QCoreApplication::processEvents();
}

void CatLink::Efface_Param()
{
    const Sending sending(*this);
    for (int i = 0; i < 4; ++i) {
        CatCommand[i] = 0;
        yieldWhileSending();
    }
    m_port.setInBufferCount(0);
}

void CatLink::send(quint8 opcode)
{
    m_port.setInBufferCount(0);
    CatCommand[4] = m_satellite ? cat::inSatelliteMode(opcode) : opcode;
    m_sentAt = std::chrono::steady_clock::now();
    m_port.output(cat::toBytes(CatCommand));
}

void CatLink::Envoi_Cmd(quint8 opcode)
{
    // Once the port error is decided, nothing more goes out but the CAT off of the unload.
    if (!canSend())
        return;
    const Sending sending(*this);
    send(opcode);
    waitUntilSent(false);
}

void CatLink::Envoi_CatOnOff()
{
    const Sending sending(*this);
    m_port.output(cat::toBytes(CatOnOff));
    waitUntilSent(true);
}

void CatLink::waitUntilSent(bool untilZero)
{
    // An adapter that stops sending (a hung driver) must not hold the program, nor its unload, for ever.
    const auto deadline = std::chrono::steady_clock::now() + m_port.outBufferCount() * m_port.byteTime() + kStuckLine;
    int pending = 0;
    do {
        yieldWhileSending();
        if (!m_port.portOpen())
            return; // switched off while yielding: nothing more will drain
        pending = m_port.outBufferCount();
        if (pending > 0 && std::chrono::steady_clock::now() > deadline) {
            if (!isEnding())
                reportPortError();
            return;
        }
        // Let the CPU rest between looks while the line drains.
        if (pending > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    } while (untilZero ? pending > 0 : pending >= 1);
}

bool CatLink::waitUntilSentInExchange()
{
    const auto start = std::chrono::steady_clock::now();
    const int queued = m_port.outBufferCount();
    const auto deadline = start + queued * m_port.byteTime() + kStuckLine;
    for (int pending = queued; pending > 0; pending = m_port.outBufferCount()) {
        if (!m_port.portOpen())
            return false;
        if (std::chrono::steady_clock::now() > deadline) {
            reportPortError();
            return false;
        }
        // The bytes cannot have left sooner; look again at least every two milliseconds.
        const auto wire = std::chrono::duration_cast<std::chrono::microseconds>(pending * m_port.byteTime());
        std::this_thread::sleep_for(std::clamp(wire, std::chrono::microseconds(50), std::chrono::microseconds(2000)));
    }
    return true;
}

bool CatLink::exchange(quint8 opcode, int count)
{
    CatReply.clear();
    Efface_Param();
    const Sending sending(*this);
    if (!canSend())
        return false;
    send(opcode);
    if (!waitUntilSentInExchange())
        return false;
    return Lit_Reponse(count) && CatReply.size() == count;
}

bool CatLink::Lit_Reponse(int count)
{
    CatReply.clear();
    // Nothing can answer on a closed port (the link was switched off while a send yielded).
    if (m_ended || !m_port.portOpen())
        return false;
    m_port.setInputLen(count);
    m_expected = count;
    do {
        if (!Attente_Port())
            return false;
    } while (m_port.inBufferCount() != count);
    WaitCount = 0;
    CatReply = m_port.input();
    return true;
}

bool CatLink::Attente_Port()
{
    if (m_ended || m_ending)
        return false;
    ++WaitCount;
    if (WaitCount < kWaitLimit) {
        m_port.waitForInput(pollPacing());
        return true;
    }
    reportPortError();
    return false;
}

void CatLink::reportPortError()
{
    // The message box runs an event loop: a timer tick arriving meanwhile must neither send nor start a second
    // report.
    m_ending = true;
    ui::showMessage(QStringLiteral("Erreur: Le port est invalide ou occupé."), ui::MsgIcon::Error);
    if (m_unload)
        m_unload();
    m_ended = true;
    ui::endProgram(EXIT_FAILURE);
}

void CatLink::sendWithParameter(quint8 opcode, quint8 p1)
{
    Efface_Param();
    CatCommand[0] = p1;
    Envoi_Cmd(opcode);
}

std::chrono::microseconds CatLink::pollPacing() const
{
    // The request and its reply cross the line one byte at a time: before the last reply byte can physically
    // have arrived, waking every 150 us only costs CPU. Rest until then (input still wakes the wait at once);
    // after it, the short pacing keeps a missing reply's bound near a second and a half.
    const auto earliest = m_sentAt + (cat::kFrameSize + m_expected) * m_port.byteTime();
    const auto remaining
        = std::chrono::duration_cast<std::chrono::microseconds>(earliest - std::chrono::steady_clock::now());
    return std::max(kPollPacing, remaining);
}

void CatLink::Charge_BCD(qint32 tenHz)
{
    const auto bytes = cat::packBcd(tenHz);
    std::copy(bytes.begin(), bytes.end(), CatCommand.begin());
}
