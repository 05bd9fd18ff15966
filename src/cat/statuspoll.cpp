#include "statuspoll.h"

#include "catlink.h"
#include "frequencycontrol.h"
#include "lamp.h"
#include "linkswitch.h"
#include "look.h"
#include "twips.h"

#include <QLabel>
#include <QTimer>

StatusPoll::StatusPoll(CatLink &link, FrequencyControl &frequency, const StatusPollControls &controls, QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_frequency(frequency)
    , m_c(controls)
{ }

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
    TxActive = v == cat::StatusTransmitting;
    m_c.Shape_tx_rx->setState(TxActive ? look::Transmitting : look::Receiving,
        TxActive ? QStringLiteral("Émission") : QStringLiteral("Réception"));
    SquelchOpen = v < cat::StatusSquelchClosed;
    m_c.ShapbuzyA->setState(
        SquelchOpen ? look::Busy : look::Quiet, SquelchOpen ? QStringLiteral("Occupé") : QStringLiteral("Libre"));
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
    const int s = static_cast<quint8>(m_link.CatReply[0]) & cat::StatusMeterMask;
    SignalLevel = s / 2.0;
    SMeterWidth = static_cast<qint16>(s * kTwipsPerStep);
    Trace_SMetre();
    m_c.Label2->setText(QString::number(SMeterWidth));
}

void StatusPoll::Trace_SMetre()
{
    QColor color;
    if (SMeterWidth <= 1340)
        color = look::MeterLow;
    else if (SMeterWidth <= 1800)
        color = look::MeterMid;
    else if (SMeterWidth <= 2340)
        color = look::MeterHigh;
    else
        color = look::MeterOver;
    // Repainting an unchanged bar three times a second would be the poll's main cost.
    if (look::backColor(m_c.Lab_SM) != color)
        look::setBackColor(m_c.Lab_SM, color);
    if (m_c.Lab_SM->width() != ui::px(SMeterWidth))
        m_c.Lab_SM->resize(ui::px(SMeterWidth), m_c.Lab_SM->height());
    const QString name = QStringLiteral("S-mètre %1").arg(SMeterWidth / kTwipsPerStep);
    if (m_c.Lab_SM->accessibleName() != name)
        m_c.Lab_SM->setAccessibleName(name);
}
