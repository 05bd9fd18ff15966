#include "statuspoll.h"

#include "actionroad.h"
#include "catlink.h"
#include "frequencycontrol.h"
#include "lamp.h"
#include "linkswitch.h"
#include "look.h"
#include "twips.h"

#include <QLabel>
#include <QTimer>

StatusPoll::StatusPoll(
    CatLink &link, ActionRoad &road, FrequencyControl &frequency, const StatusPollControls &controls, QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_road(road)
    , m_frequency(frequency)
    , m_c(controls)
{ }

bool StatusPoll::switchedOff() const
{
    return !m_switch || !m_switch->isOn();
}

void StatusPoll::start()
{
    m_c.Timer1->start();
}

void StatusPoll::stop()
{
    m_c.Timer1->stop();
}

void StatusPoll::hold(bool held)
{
    if (held)
        stop();
    else
        start();
}

void StatusPoll::clearMeter()
{
    m_c.Lab_SM->resize(0, m_c.Lab_SM->height());
}

void StatusPoll::resetStatus()
{
    SquelchOpen = false;
    TxActive = true;
    emit statusRead(TxActive, SquelchOpen);
}

bool StatusPoll::request(quint8 opcode, int count)
{
    if (switchedOff())
        return false;
    return m_link.exchange(opcode, count);
}

void StatusPoll::requestTick()
{
    // LSB and AM start the timer again in the middle of a tick: that tick's own end re-arms it.
    if (m_tickWaiting || m_ticking)
        return;
    m_tickWaiting = true;
    m_road.submit(ActionRoad::Source::Internal, [this] {
        m_tickWaiting = false;
        Timer1_Timer();
    });
}

void StatusPoll::Timer1_Timer()
{
    if (m_ticking)
        return;
    m_ticking = true;
    m_steps.clear();
    if (m_link.port().outBufferCount() < 1) {
        Lit_Etat();
        if (!TxActive)
            m_steps = {&StatusPoll::Lit_Freq_Mode, &StatusPoll::Lit_SMetre};
    }
    m_steps.push_back(&StatusPoll::endOfTick);
    nextStep();
}

void StatusPoll::nextStep()
{
    // Each read takes its turn behind what came during the one before: the operator's actions, a client's set.
    if (m_steps.isEmpty())
        return;
    const Step step = m_steps.takeFirst();
    m_road.submit(ActionRoad::Source::Internal, [this, step] {
        (this->*step)();
        nextStep();
    });
}

void StatusPoll::endOfTick()
{
    if (m_switch && m_switch->LinkOff)
        stop();
    else
        start();
    Lit_SMetre();
    m_ticking = false;
}

void StatusPoll::Lit_Etat()
{
    // Stopped for the length of the tick: the reads below yield to the event loop.
    m_c.Timer1->stop();
    if (!request(cat::OpReadReceiverStatus, 1))
        return;
    const auto v = static_cast<quint8>(m_link.CatReply[0]);
    m_readAt.busy = m_frequency.sends();
    TxActive = v == cat::StatusTransmitting;
    m_c.Shape_tx_rx->setState(TxActive ? look::Transmitting : look::Receiving,
        TxActive ? QStringLiteral("Émission") : QStringLiteral("Réception"));
    SquelchOpen = v < cat::StatusSquelchClosed;
    m_c.ShapbuzyA->setState(
        SquelchOpen ? look::Busy : look::Quiet, SquelchOpen ? QStringLiteral("Occupé") : QStringLiteral("Libre"));
    emit statusRead(TxActive, SquelchOpen);
}

void StatusPoll::Lit_Freq_Mode()
{
    if (!request(cat::OpReadFrequencyMode, 5))
        return;
    // A reply whose digits are not BCD would give CurrentFreq letters: ignore it like a short reply.
    if (!cat::isBcdFrequency(m_link.CatReply))
        return;
    const QString text = cat::replyFrequencyText(m_link.CatReply);
    const auto modeCode = static_cast<quint8>(m_link.CatReply[4]);
    if (text != m_frequency.CurrentFreq())
        m_frequency.tuneTo(text.toLongLong());
    // The mode follows the radio too, dial moved or not: a mode set on the radio itself, or one it did not take,
    // shows at the next tick instead of waiting for the frequency to change.
    m_frequency.showMode(cat::modeName(modeCode).trimmed());
}

void StatusPoll::Lit_SMetre()
{
    if (!request(cat::OpReadReceiverStatus, 1))
        return;
    const int s = static_cast<quint8>(m_link.CatReply[0]) & cat::StatusMeterMask;
    m_readAt.level = m_frequency.sends();
    SignalLevel = s / 2.0;
    SMeterWidth = static_cast<qint16>(s * ui::meterTwipsPerStep);
    Trace_SMetre();
    m_c.Label2->setText(QString::number(SMeterWidth));
    emit meterRead(s);
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
    const QString name = QStringLiteral("S-mètre %1").arg(SMeterWidth / ui::meterTwipsPerStep);
    if (m_c.Lab_SM->accessibleName() != name)
        m_c.Lab_SM->setAccessibleName(name);
}
