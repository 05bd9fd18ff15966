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
{ }

void VfoShift::wire(ActionRoad &road)
{
    road.route(m_c.Com_AB, &QPushButton::clicked, this, &VfoShift::Com_AB_Click);
    road.route(m_c.Com_shift, &QPushButton::clicked, this, &VfoShift::Com_shift_Click);
}

void VfoShift::Com_AB_Click()
{
    const QString kept = m_c.LabVFO2->text();
    m_c.LabVFO2->setText(frequency::vfoDisplayText(frequency::normaliseFreq(m_frequency.CurrentFreq).value_or(0)));
    m_frequency.CurrentFreq = QString::number(frequency::vfo2ToTenHz(kept));
    m_frequency.Charge_Num();
}

void VfoShift::Com_shift_Click()
{
    ++shiftClicks;
    if (shiftClicks == 1) {
        m_c.Com_shift->setText(QStringLiteral("Simplex"));
        m_link.sendWithParameter(cat::OpRepeaterShift, 0x89);
        m_c.LabTRX2->hide();
        m_c.LabTRX1->setText(QStringLiteral("RXTX"));
        m_c.LabVFO2->setText(frequency::vfoDisplayText(frequency::normaliseFreq(m_frequency.CurrentFreq).value_or(0)));
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
    const QString current = m_frequency.CurrentFreq;
    const qint64 value = frequency::normaliseFreq(current).value_or(0);
    if (current.startsWith(QLatin1String("145")))
        m_c.LabVFO2->setText(frequency::vfoDisplayText(value + offset145));
    if (current.startsWith(QLatin1String("43")))
        m_c.LabVFO2->setText(frequency::vfoDisplayText(value + offset43));
    m_c.LabTRX1->setText(QStringLiteral("RX"));
    m_c.LabTRX2->setText(QStringLiteral("TX"));
    m_c.LabTRX2->show();
}
