#include "panelrig.h"

#include "actionroad.h"
#include "catlink.h"
#include "freqlimits.h"
#include "frequencycontrol.h"
#include "linkswitch.h"
#include "vfoshift.h"

PanelRig::PanelRig(
    FrequencyControl &frequency, VfoShift &vfoShift, LinkSwitch &linkSwitch, CatLink &link, ActionRoad &road)
    : m_frequency(frequency)
    , m_vfoShift(vfoShift)
    , m_linkSwitch(linkSwitch)
    , m_link(link)
    , m_road(road)
{ }

void PanelRig::statusRead(bool transmitting, bool busy)
{
    m_receiver.transmitting = transmitting;
    m_receiver.busy = busy;
}

void PanelRig::meterRead(int reading)
{
    m_receiver.meter = reading;
}

bool PanelRig::linkOn() const
{
    return m_linkSwitch.isOn();
}

qint64 PanelRig::frequencyTenHz() const
{
    return m_frequency.frequency();
}

QString PanelRig::modeName() const
{
    return m_frequency.modeName();
}

bool PanelRig::transmitting() const
{
    return m_receiver.transmitting;
}

bool PanelRig::split() const
{
    return m_vfoShift.split();
}

qint64 PanelRig::txFrequencyTenHz() const
{
    return m_vfoShift.vfoB();
}

QString PanelRig::txModeName() const
{
    return m_vfoShift.txModeName();
}

bool PanelRig::squelchOpen() const
{
    return m_receiver.busy;
}

int PanelRig::sMeter() const
{
    return m_receiver.meter;
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
    // A client gets its frequency on the radio, or an error: nothing is moved to fit the panel's band.
    if (!frequency::inCoverage(tenHz))
        return rigctl::InvalidArgument;
    m_frequency.tuneAsAsked(tenHz);
    return sent();
}

rigctl::Error PanelRig::setSplit(bool on)
{
    m_vfoShift.setSplit(on);
    return sent();
}

rigctl::Error PanelRig::setTxFrequency(qint64 tenHz)
{
    if (!frequency::inCoverage(tenHz))
        return rigctl::InvalidArgument;
    m_vfoShift.setTxFrequency(tenHz);
    return sent();
}

rigctl::Error PanelRig::setTxMode(const QString &, quint8 code)
{
    m_vfoShift.setTxMode(code);
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
