#include "tuning.h"

#include "actionroad.h"
#include "freqlimits.h"
#include "freqtext.h"
#include "frequencycontrol.h"
#include "keyasciifilter.h"
#include "keys.h"
#include "localenumber.h"
#include "messagebox.h"

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
    for (std::size_t i = 0; i < frequency::kDigitSteps.size(); ++i) {
        const qint64 tenHz = frequency::kDigitSteps[i].tenHz;
        for (const auto &[button, sign] : {std::pair {m_c.stepUp[i], 1}, {m_c.stepDown[i], -1}}) {
            road.routeTaking(button, &QToolButton::clicked, this,
                [this, step = sign * tenHz](bool) { return [this, step] { this->step(step); }; });
        }
    }
    road.route(m_c.ComVfo1, &QPushButton::clicked, this, &Tuning::ComVfo1_Click);
    // What a key does (a message, a send) takes its turn on the road; the key itself goes in now.
    KeyAsciiFilter::install(m_c.TextVfo1, [this](int &keyAscii) {
        m_road->submit(ActionRoad::Source::Operator, [this, typed = keyAscii] { TextVfo1_KeyPress(typed); });
    });
    for (QLabel *digit : m_c.digits)
        digit->installEventFilter(this);
}

void Tuning::step(qint64 tenHz)
{
    m_frequency.tuneTo(m_frequency.frequency() + tenHz);
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
    m_frequency.tuneTo(*tenHz);
}

std::pair<QToolButton *, QToolButton *> Tuning::stepButtonsOf(QObject *digit) const
{
    for (std::size_t i = 0; i < frequency::kDigitSteps.size(); ++i) {
        if (digit == m_c.digits[std::size_t(frequency::kDigitSteps[i].digit)])
            return {m_c.stepUp[i], m_c.stepDown[i]};
    }
    return {nullptr, nullptr}; // the 100 MHz digit has none
}

bool Tuning::eventFilter(QObject *watched, QEvent *event)
{
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
