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
        m_port.waitForInput(kPollPacing);
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

void CatLink::Charge_BCD(qint32 tenHz)
{
    const auto bytes = cat::packBcd(tenHz);
    std::copy(bytes.begin(), bytes.end(), CatCommand.begin());
}
