#include "frequencycontrol.h"

#include "catlink.h"
#include "freqlimits.h"
#include "freqtext.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

struct LimitView
{
    frequency::StepButtons hidden;
    bool hideLabMmm;
    bool hideLabMm;
};

FrequencyControl::FrequencyControl(CatLink &link, const FrequencyControls &controls, QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_c(controls)
{ }

void FrequencyControl::showStart()
{
    m_frequency = frequency::kStartTenHz;
    m_currentFreq = frequency::eightDigitText(m_frequency);
    m_c.Lab_control->setText(m_currentFreq);
    showDigits();
    m_modeName = QString::fromUtf16(frequency::kStartMode);
    m_c.L_mode->setText(m_modeName);
}

void FrequencyControl::tuneTo(qint64 tenHz)
{
    m_currentFreq = QString::number(tenHz);
    Charge_Num();
}

void FrequencyControl::Charge_Num()
{
    const auto value = frequency::normaliseFreq(m_currentFreq);
    if (!value)
        return;
    send(m_amateurOnly ? frequency::freq_limite_bande(*value) : frequency::freq_limit(*value));
}

void FrequencyControl::tuneAsAsked(qint64 tenHz)
{
    // The whole-range limits leave a frequency inside the coverage as it is, and say which steps and digits show.
    send(frequency::freq_limit(tenHz));
}

void FrequencyControl::send(const frequency::LimitResult &limited)
{
    m_frequency = limited.value;
    m_currentFreq = frequency::eightDigitText(m_frequency);
    applyVisibility({limited.hidden, limited.hideLabMmm, limited.hideLabMm});

    m_c.Lab_control->setText(m_currentFreq);
    m_link.Charge_BCD(qint32(m_frequency));
    m_link.Envoi_Cmd(cat::OpSetFrequency);
    ++m_sends;
    showDigits();
}

void FrequencyControl::showDigits()
{
    for (int i = 0; i < 8; ++i)
        m_c.digits[std::size_t(i)]->setText(m_currentFreq.mid(i, 1));
    m_c.FreqDisplay->setAccessibleName(QStringLiteral("Fréquence ") + frequency::vfoDisplayText(m_frequency));
    if (QAccessible::isActive()) {
        QAccessibleEvent event(m_c.FreqDisplay, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void FrequencyControl::applyVisibility(const LimitView &view)
{
    for (std::size_t i = 0; i < frequency::kDigitSteps.size(); ++i) {
        const frequency::DigitStep &step = frequency::kDigitSteps[i];
        m_c.stepUp[i]->setVisible(!(view.hidden & step.plusFlag));
        m_c.stepDown[i]->setVisible(!(view.hidden & step.minusFlag));
    }
    m_c.digits[0]->setVisible(!view.hideLabMmm);
    m_c.digits[1]->setVisible(!view.hideLabMm);
}

void FrequencyControl::Com_libre_Click()
{
    m_rangeAmateur = !m_rangeAmateur;
    if (!m_rangeAmateur) {
        m_c.Com_libre->setText(QStringLiteral("Fréquence totale"));
        for (QPushButton *band : m_c.bandButtons)
            band->setEnabled(false);
        m_amateurOnly = false;
        for (std::size_t i = 0; i < frequency::kDigitSteps.size(); ++i) {
            m_c.stepUp[i]->setVisible(true);
            m_c.stepDown[i]->setVisible(true);
        }
    } else {
        m_c.Com_libre->setText(QStringLiteral("Fréquence Amateur"));
        for (QPushButton *band : m_c.bandButtons)
            band->setEnabled(true);
        m_amateurOnly = true;
    }
}

QString FrequencyControl::lastSent() const
{
    return frequency::eightDigitText(m_frequency);
}

void FrequencyControl::setMode(const QString &name, quint8 code)
{
    showMode(name);
    m_link.sendWithParameter(cat::OpSetMode, code);
}

void FrequencyControl::showMode(const QString &mode)
{
    if (m_modeName == mode)
        return; // the label's change notification (L_mode_Change) fires only on a change
    m_modeName = mode;
    m_c.L_mode->setText(mode);
    emit modeChanged(mode);
}
