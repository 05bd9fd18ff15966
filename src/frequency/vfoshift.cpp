#include "vfoshift.h"

#include "actionroad.h"
#include "catlink.h"
#include "freqtext.h"
#include "frequencycontrol.h"

#include <QLabel>
#include <QPushButton>

VfoShift::VfoShift(FrequencyControl &frequency, CatLink &link, const VfoShiftControls &controls, QObject *parent)
    : QObject(parent)
    , m_frequency(frequency)
    , m_link(link)
    , m_c(controls)
{
    setVfoB(m_vfoB);
}

void VfoShift::wire(ActionRoad &road)
{
    road.route(m_c.Com_AB, &QPushButton::clicked, this, &VfoShift::Com_AB_Click);
    road.route(m_c.Com_shift, &QPushButton::clicked, this, &VfoShift::Com_shift_Click);
}

void VfoShift::Com_AB_Click()
{
    // The swap takes the second VFO to the kHz, as its caption reads in MHz with three decimals.
    const qint64 kept = m_vfoB / 100 * 100;
    setVfoB(m_frequency.frequency());
    m_frequency.tuneTo(kept);
    // In split the second VFO is where the radio transmits: it follows the swap.
    if (m_split)
        sendTransmit();
}

void VfoShift::setVfoB(qint64 tenHz)
{
    m_vfoB = tenHz;
    m_c.LabVFO2->setText(frequency::vfoDisplayText(tenHz));
}

QString VfoShift::txModeName() const
{
    return m_txMode ? cat::modeName(*m_txMode) : m_frequency.modeName();
}

void VfoShift::showTransmitLabels(bool split)
{
    m_c.LabTRX1->setText(split ? QStringLiteral("RX") : QStringLiteral("RXTX"));
    m_c.LabTRX2->setText(QStringLiteral("TX"));
    m_c.LabTRX2->setVisible(split);
}

void VfoShift::sendTransmit()
{
    m_link.Charge_BCD(qint32(vfoB()));
    m_link.Envoi_Cmd(cat::OpSetSatTxFrequency);
    if (const auto code = m_txMode ? m_txMode : cat::settableModeCode(m_frequency.modeName()))
        m_link.sendWithParameter(cat::OpSetSatTxMode, *code);
}

void VfoShift::sendMain()
{
    // The VFO the radio receives on changes with the mode: it is put where the panel is, so that nothing moves.
    m_frequency.tuneAsAsked(m_frequency.frequency());
    if (const auto code = cat::settableModeCode(m_frequency.modeName()))
        m_link.sendWithParameter(cat::OpSetMode, *code);
}

void VfoShift::setSplit(bool on)
{
    if (on == m_split)
        return;
    m_split = on;
    m_link.sendWithParameter(on ? cat::OpSatelliteOn : cat::OpSatelliteOff, 0);
    m_link.setSatelliteMode(on);
    sendMain();
    if (on)
        sendTransmit();
    showTransmitLabels(on);
}

void VfoShift::setTxFrequency(qint64 tenHz)
{
    setVfoB(tenHz);
    if (!m_split) {
        setSplit(true);
        return;
    }
    m_link.Charge_BCD(qint32(tenHz));
    m_link.Envoi_Cmd(cat::OpSetSatTxFrequency);
}

void VfoShift::setTxMode(quint8 code)
{
    m_txMode = code;
    if (m_split)
        m_link.sendWithParameter(cat::OpSetSatTxMode, code);
}

void VfoShift::linkSwitchingOff()
{
    if (!m_split)
        return;
    m_split = false;
    m_link.sendWithParameter(cat::OpSatelliteOff, 0);
    m_link.setSatelliteMode(false);
    showTransmitLabels(false);
}

void VfoShift::Com_shift_Click()
{
    ++shiftClicks;
    if (shiftClicks == 1) {
        m_c.Com_shift->setText(QStringLiteral("Simplex"));
        m_link.sendWithParameter(cat::OpRepeaterShift, 0x89);
        m_c.LabTRX2->hide();
        m_c.LabTRX1->setText(QStringLiteral("RXTX"));
        setVfoB(m_frequency.frequency());
    } else if (shiftClicks == 2) {
        showShift(QStringLiteral("Shift -"), 0x09, -60000, -160000);
    } else if (shiftClicks == 3) {
        showShift(QStringLiteral("Shift +"), 0x49, 60000, 160000);
        shiftClicks = 0;
    }
}

void VfoShift::showShift(const QString &caption, quint8 code, qint64 offset145, qint64 offset43)
{
    m_c.Com_shift->setText(caption);
    m_link.sendWithParameter(cat::OpRepeaterShift, code);
    // The radio applies its own offset; this only shows where it will transmit, in the two repeater bands.
    const QString current = m_frequency.CurrentFreq();
    const qint64 value = m_frequency.frequency();
    if (current.startsWith(QLatin1String("145")))
        setVfoB(value + offset145);
    if (current.startsWith(QLatin1String("43")))
        setVfoB(value + offset43);
    m_c.LabTRX1->setText(QStringLiteral("RX"));
    m_c.LabTRX2->setText(QStringLiteral("TX"));
    m_c.LabTRX2->show();
}
