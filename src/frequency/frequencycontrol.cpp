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

void FrequencyControl::takeFromDisplay()
{
    CurrentFreq.clear();
    for (const QLabel *digit : m_c.digits)
        CurrentFreq += digit->text();
    m_c.Lab_control->setText(CurrentFreq);
    m_modeName = m_c.L_mode->text();
}

void FrequencyControl::Charge_Num()
{
    const auto value = frequency::normaliseFreq(CurrentFreq);
    if (!value)
        return;
    send(AmateurOnly ? frequency::freq_limite_bande(*value) : frequency::freq_limit(*value));
}

void FrequencyControl::tuneAsAsked(qint64 tenHz)
{
    // The whole-range limits leave a frequency inside the coverage as it is, and say which steps and digits show.
    send(frequency::freq_limit(tenHz));
}

void FrequencyControl::send(const frequency::LimitResult &limited)
{
    CurrentFreq = frequency::eightDigitText(limited.value);
    applyVisibility({limited.hidden, limited.hideLabMmm, limited.hideLabMm});

    m_c.Lab_control->setText(CurrentFreq);
    // What goes to the radio is read back from the caption, so the caption always holds the last value sent.
    m_link.Charge_BCD(m_c.Lab_control->text().toInt());
    m_link.Envoi_Cmd(cat::OpSetFrequency);
    ++m_sends;

    // A press handled while the command drained may have moved CurrentFreq on: show it as it stands now.
    const QString shown = CurrentFreq;
    if (shown.size() != 8)
        return;
    const auto digits = m_c.digits;
    for (int i = 0; i < 8; ++i)
        digits[i]->setText(shown.mid(i, 1));
    m_c.FreqDisplay->setAccessibleName(
        QStringLiteral("Fréquence ") + frequency::vfoDisplayText(frequency::normaliseFreq(shown).value_or(0)));
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
    if (m_c.Com_libre->text() == QStringLiteral("Fréquence Amateur")) {
        m_c.Com_libre->setText(QStringLiteral("Fréquence totale"));
        for (QPushButton *band : m_c.bandButtons)
            band->setEnabled(false);
        AmateurOnly = false;
        for (std::size_t i = 0; i < frequency::kDigitSteps.size(); ++i) {
            m_c.stepUp[i]->setVisible(true);
            m_c.stepDown[i]->setVisible(true);
        }
    } else {
        m_c.Com_libre->setText(QStringLiteral("Fréquence Amateur"));
        for (QPushButton *band : m_c.bandButtons)
            band->setEnabled(true);
        AmateurOnly = true;
    }
}

QString FrequencyControl::lastSent() const
{
    return m_c.Lab_control->text();
}

void FrequencyControl::setMode(const QString &name, quint8 code)
{
    setModeCaption(name);
    m_link.sendWithParameter(cat::OpSetMode, code);
}

void FrequencyControl::setModeCaption(const QString &mode)
{
    if (m_c.L_mode->text() == mode)
        return; // a label's change notification fires only on a change
    m_modeName = mode;
    m_c.L_mode->setText(mode);
    L_mode_Change();
}

void FrequencyControl::L_mode_Change()
{
    m_c.LabScanMode->setText(m_c.L_mode->text());
}
