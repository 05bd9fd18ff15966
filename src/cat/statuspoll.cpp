#include "statuspoll.h"

#include "catlink.h"
#include "frequencycontrol.h"
#include "ft847controls.h"
#include "lamp.h"
#include "linkswitch.h"
#include "look.h"
#include "twips.h"

#include <QLabel>
#include <QTimer>

StatusPoll::StatusPoll(CatLink &link, FrequencyControl &frequency, Ft847Controls &controls, QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_frequency(frequency)
    , m_c(controls)
{
}

bool StatusPoll::switchedOff() const
{
    return (m_switch && m_switch->LinkOff) || !m_link.port().portOpen() || m_link.hasEnded();
}

bool StatusPoll::request(quint8 opcode, int count)
{
    if (switchedOff())
        return false;
    return m_link.exchange(opcode, count);
}

void StatusPoll::Timer1_Timer()
{
    if (m_link.port().outBufferCount() < 1) {
        Lit_Etat();
        if (!TxActive) {
            Lit_Freq_Mode();
            Lit_SMetre();
        }
    }
    if (m_switch && m_switch->LinkOff)
        m_c.Timer1->stop();
    else
        m_c.Timer1->start();
    Lit_SMetre();
}

void StatusPoll::Lit_Etat()
{
    // Stopped for the length of the tick: the reads below yield to the event loop.
    m_c.Timer1->stop();
    if (!request(cat::OpReadReceiverStatus, 1))
        return;
    const auto v = static_cast<quint8>(m_link.CatReply[0]);
    TxActive = v == 160;
    m_c.Shape_tx_rx->setState(TxActive ? QColor(0xFF, 0x00, 0x00) : QColor(0x00, 0xC0, 0x00),
                              TxActive ? QStringLiteral("Émission") : QStringLiteral("Réception"));
    SquelchOpen = v < 128;
    m_c.ShapbuzyA->setState(SquelchOpen ? QColor(0xC0, 0xFF, 0xFF) : QColor(0xC0, 0xC0, 0xFF),
                            SquelchOpen ? QStringLiteral("Occupé") : QStringLiteral("Libre"));
}

void StatusPoll::Lit_Freq_Mode()
{
    if (!request(cat::OpReadFrequencyMode, 5))
        return;
    // A reply whose digits are not BCD would put letters into CurrentFreq: ignore it like a short reply.
    if (!cat::isBcdFrequency(m_link.CatReply))
        return;
    const QString text = cat::replyFrequencyText(m_link.CatReply);
    if (text == m_frequency.CurrentFreq)
        return;
    const auto modeCode = static_cast<quint8>(m_link.CatReply[4]);
    m_frequency.CurrentFreq = text;
    m_frequency.Charge_Num();
    CurrentMode = cat::modeName(modeCode);
    m_frequency.setModeCaption(CurrentMode.trimmed());
}

void StatusPoll::Lit_SMetre()
{
    if (!request(cat::OpReadReceiverStatus, 1))
        return;
    const int s = static_cast<quint8>(m_link.CatReply[0]) % 32;
    SignalLevel = s / 2.0;
    SMeterWidth = static_cast<qint16>(s * 130);
    Trace_SMetre();
    m_c.Label2->setText(QString::number(SMeterWidth));
}

void StatusPoll::Trace_SMetre()
{
    QColor color;
    if (SMeterWidth <= 1340)
        color = QColor(0x00, 0xC0, 0xC0);
    else if (SMeterWidth <= 1800)
        color = QColor(0x00, 0x80, 0x80);
    else if (SMeterWidth <= 2340)
        color = QColor(0x00, 0x40, 0x40);
    else
        color = QColor(0xFF, 0x00, 0x00);
    // Repainting an unchanged bar three times a second would be the poll's main cost.
    if (look::backColor(m_c.Lab_SM) != color)
        look::setBackColor(m_c.Lab_SM, color);
    if (m_c.Lab_SM->width() != ui::px(SMeterWidth))
        m_c.Lab_SM->resize(ui::px(SMeterWidth), m_c.Lab_SM->height());
    const QString name = QStringLiteral("S-mètre %1").arg(SMeterWidth / 130);
    if (m_c.Lab_SM->accessibleName() != name)
        m_c.Lab_SM->setAccessibleName(name);
}
