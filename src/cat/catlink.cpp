#include "catlink.h"

#include "messagebox.h"
#include "programend.h"

#include <QCoreApplication>

CatLink::CatLink(CommPort &port)
    : m_port(port)
{
}

void CatLink::Efface_Param()
{
    for (int i = 0; i < 4; ++i) {
        CatCommand[i] = 0;
        QCoreApplication::processEvents();
    }
    m_port.setInBufferCount(0);
}

void CatLink::Envoi_Cmd(quint8 opcode)
{
    if (m_ended)
        return;
    m_port.setInBufferCount(0);
    CatCommand[4] = opcode;
    m_sentAt = std::chrono::steady_clock::now();
    m_port.output(cat::toBytes(CatCommand));
    waitUntilSent(false);
}

void CatLink::Envoi_CatOnOff()
{
    m_port.output(cat::toBytes(CatOnOff));
    waitUntilSent(true);
}

void CatLink::waitUntilSent(bool untilZero)
{
    int pending = 0;
    do {
        QCoreApplication::processEvents();
        if (!m_port.portOpen())
            return; // switched off while yielding: nothing more will drain
        pending = m_port.outBufferCount();
    } while (untilZero ? pending > 0 : pending >= 1);
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
    // The message box runs an event loop: a timer tick arriving meanwhile must not start a second report.
    m_ending = true;
    ui::showMessage(QStringLiteral("Erreur: Le port est invalide ou occupé."), ui::MsgIcon::Error);
    if (m_unload)
        m_unload();
    m_ended = true;
    ui::endProgram(EXIT_FAILURE);
    return false;
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
    const auto remaining = std::chrono::duration_cast<std::chrono::microseconds>(earliest - std::chrono::steady_clock::now());
    return std::max(kPollPacing, remaining);
}

void CatLink::Charge_BCD(qint32 tenHz)
{
    const auto bytes = cat::packBcd(tenHz);
    std::copy(bytes.begin(), bytes.end(), CatCommand.begin());
}
