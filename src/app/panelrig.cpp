#include "panelrig.h"

#include "actionroad.h"
#include "catlink.h"
#include "frequencycontrol.h"
#include "linkswitch.h"
#include "statuspoll.h"

PanelRig::PanelRig(
    FrequencyControl &frequency, StatusPoll &poll, LinkSwitch &linkSwitch, CatLink &link, ActionRoad &road)
    : m_frequency(frequency)
    , m_poll(poll)
    , m_linkSwitch(linkSwitch)
    , m_link(link)
    , m_road(road)
{ }

bool PanelRig::linkOn() const
{
    return !m_linkSwitch.LinkOff && m_link.port().portOpen() && !m_link.hasEnded();
}

qint64 PanelRig::frequencyTenHz() const
{
    return m_frequency.CurrentFreq.toLongLong();
}

QString PanelRig::modeName() const
{
    return m_frequency.modeName();
}

bool PanelRig::transmitting() const
{
    return m_poll.TxActive;
}

bool PanelRig::squelchOpen() const
{
    return m_poll.SquelchOpen;
}

int PanelRig::sMeter() const
{
    return m_poll.SMeterWidth / StatusPoll::kTwipsPerStep;
}

void PanelRig::queueSet(std::function<void()> set)
{
    m_road.submit(ActionRoad::Source::Network, std::move(set));
}

rigctl::Error PanelRig::sent() const
{
    return linkOn() ? rigctl::Ok : rigctl::IoError;
}

rigctl::Error PanelRig::setFrequency(qint64 tenHz)
{
    m_frequency.CurrentFreq = QString::number(tenHz);
    m_frequency.Charge_Num();
    return sent();
}

rigctl::Error PanelRig::setMode(const QString &name, quint8 code)
{
    m_frequency.setMode(name, code);
    return sent();
}

rigctl::Error PanelRig::setPtt(bool on)
{
    m_link.sendWithParameter(on ? cat::OpPttOn : cat::OpPttOff, 0);
    return sent();
}
