#pragma once

// The radio as the panel knows it, for the network service: the frequency, mode and split from their owners, the
// receiver's state as the poll last reported it; sets go through the same routines as the panel's own buttons.

#include "rigctlprotocol.h"

class ActionRoad;
class CatLink;
class VfoShift;
class FrequencyControl;
class LinkSwitch;

class PanelRig : public rigctl::Rig
{
public:
    PanelRig(FrequencyControl &frequency, VfoShift &vfoShift, LinkSwitch &linkSwitch, CatLink &link, ActionRoad &road);

    // The poll's reports.
    void statusRead(bool transmitting, bool busy);
    void meterRead(int reading);

    bool linkOn() const override;
    qint64 frequencyTenHz() const override;
    QString modeName() const override;
    bool transmitting() const override;
    bool split() const override;
    qint64 txFrequencyTenHz() const override;
    QString txModeName() const override;
    bool squelchOpen() const override;
    int sMeter() const override;
    void queueSet(std::function<void()> set) override;
    rigctl::Error setFrequency(qint64 tenHz) override;
    rigctl::Error setMode(const QString &name, quint8 code) override;
    rigctl::Error setPtt(bool on) override;
    rigctl::Error setSplit(bool on) override;
    rigctl::Error setTxFrequency(qint64 tenHz) override;
    rigctl::Error setTxMode(const QString &name, quint8 code) override;

private:
    // What a set that went out reports: the link may have been lost while it was sent.
    rigctl::Error sent() const;

    struct Receiver
    {
        bool transmitting = true;
        bool busy = false;
        int meter = 0; // 0 to 31
    };

    FrequencyControl &m_frequency;
    VfoShift &m_vfoShift;
    Receiver m_receiver;
    LinkSwitch &m_linkSwitch;
    CatLink &m_link;
    ActionRoad &m_road;
};
