#include "tuning.h"

#include "actionroad.h"
#include "freqtext.h"
#include "frequencycontrol.h"
#include "keys.h"
#include "localenumber.h"
#include "messagebox.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QWheelEvent>

Tuning::Tuning(FrequencyControl &frequency, const TuningControls &controls, QObject *parent)
    : QObject(parent)
    , m_frequency(frequency)
    , m_c(controls)
{ }

void Tuning::wire(ActionRoad &road)
{
    m_road = &road;
    const std::pair<QToolButton *, void (Tuning::*)()> steps[] = {
        {m_c.Com_ph, &Tuning::Com_ph_Click},
        {m_c.Com_mh, &Tuning::Com_mh_Click},
        {m_c.Com_phh, &Tuning::Com_phh_Click},
        {m_c.Com_mhh, &Tuning::Com_mhh_Click},
        {m_c.Com_pk, &Tuning::Com_pk_Click},
        {m_c.Com_mk, &Tuning::Com_mk_Click},
        {m_c.Com_pkk, &Tuning::Com_pkk_Click},
        {m_c.Com_mkk, &Tuning::Com_mkk_Click},
        {m_c.Com_pkkk, &Tuning::Com_pkkk_Click},
        {m_c.Com_mkkk, &Tuning::Com_mkkk_Click},
        {m_c.Com_pm, &Tuning::Com_pm_Click},
        {m_c.Com_mm, &Tuning::Com_mm_Click},
        {m_c.Com_pmm, &Tuning::Com_pmm_Click},
        {m_c.Com_mmm, &Tuning::Com_mmm_Click},
    };
    for (const auto &[button, handler] : steps)
        road.route(button, &QToolButton::clicked, this, handler);
    road.route(m_c.ComVfo1, &QPushButton::clicked, this, &Tuning::ComVfo1_Click);
    m_c.TextVfo1->installEventFilter(this);
    for (QLabel *digit : m_c.digits)
        digit->installEventFilter(this);
}

void Tuning::step(qint64 tenHz)
{
    const auto value = frequency::normaliseFreq(m_frequency.CurrentFreq);
    if (!value)
        return;
    m_frequency.CurrentFreq = QString::number(*value + tenHz);
    m_frequency.Charge_Num();
}

void Tuning::TextVfo1_KeyPress(int keyAscii)
{
    if (keyAscii == keys::Point || keyAscii == keys::Comma)
        ui::showMessage(QStringLiteral("Erreur : Entrer la fréquence sans point ni virgule."), ui::MsgIcon::Error);
    else if (keyAscii == keys::Enter)
        ComVfo1_Click();
}

void Tuning::ComVfo1_Click()
{
    // Empty or unreadable text never reaches the radio; a fraction of a kHz is brought to whole 10 Hz units.
    const auto tenHz = frequency::kHzTextToTenHz(m_c.TextVfo1->text(), QLocale());
    if (!tenHz)
        return;
    m_frequency.CurrentFreq = QString::number(*tenHz);
    m_frequency.Charge_Num();
}

std::pair<QToolButton *, QToolButton *> Tuning::stepButtonsOf(QObject *digit) const
{
    const std::pair<QToolButton *, QToolButton *> pairs[8] = {
        {nullptr, nullptr}, // the 100 MHz digit has none
        {m_c.Com_pmm, m_c.Com_mmm},
        {m_c.Com_pm, m_c.Com_mm},
        {m_c.Com_pkkk, m_c.Com_mkkk},
        {m_c.Com_pkk, m_c.Com_mkk},
        {m_c.Com_pk, m_c.Com_mk},
        {m_c.Com_phh, m_c.Com_mhh},
        {m_c.Com_ph, m_c.Com_mh},
    };
    for (std::size_t i = 0; i < m_c.digits.size(); ++i) {
        if (digit == m_c.digits[i])
            return pairs[i];
    }
    return {nullptr, nullptr};
}

bool Tuning::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_c.TextVfo1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        int keyAscii = -1;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            keyAscii = keys::Enter;
        else if (key->text().size() == 1)
            keyAscii = key->text().at(0).unicode();
        // What the key does (a message, a send) takes its turn on the road; the key itself goes in now.
        if (keyAscii >= 0)
            m_road->submit(ActionRoad::Source::Operator, [this, keyAscii] { TextVfo1_KeyPress(keyAscii); });
        return false; // the keystroke still goes into the field
    }
    if (event->type() == QEvent::Wheel) {
        const auto [plus, minus] = stepButtonsOf(watched);
        if (!plus)
            return false;
        // One notch (120 eighths of a degree) is one click; finer wheels add up to notches.
        m_wheelRemainder += static_cast<QWheelEvent *>(event)->angleDelta().y();
        while (m_wheelRemainder >= 120 || m_wheelRemainder <= -120) {
            QToolButton *button = m_wheelRemainder > 0 ? plus : minus;
            m_wheelRemainder += m_wheelRemainder > 0 ? -120 : 120;
            // Only what the button itself would do: nothing when the limits hide it or the link is off.
            if (button->isVisibleTo(m_c.Frame1) && button->isEnabled())
                button->click();
        }
        return true;
    }
    return false;
}
