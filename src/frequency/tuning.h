#pragma once

// Tuning by hand: fourteen buttons that step one digit up or down, the mouse wheel over a digit doing the same,
// and direct entry of a frequency in kHz.

#include <QObject>

#include <array>

class ActionRoad;
class FrequencyControl;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The controls of tuning by hand: the fourteen step buttons (in the order of frequency::kDigitSteps), the digits
// whose wheel steps them (most significant first), the entry field with its button, and the operating frame they sit
// in.
struct TuningControls
{
    std::array<QToolButton *, 7> stepUp {}, stepDown {};
    std::array<QLabel *, 8> digits {};
    QLineEdit *TextVfo1 = nullptr;
    QPushButton *ComVfo1 = nullptr;
    QFrame *Frame1 = nullptr;
};

class Tuning : public QObject
{
    Q_OBJECT

public:
    Tuning(FrequencyControl &frequency, const TuningControls &controls, QObject *parent = nullptr);

    // Connects the step buttons, the entry field and the digits' mouse wheel, through the road.
    void wire(ActionRoad &road);

    // A step button's click (Com_ph_Click ... Com_mmm_Click): the digit's step, added or taken away.
    void step(qint64 tenHz);

    // A key typed into the entry field, by its character code; the key itself always goes on into the field.
    void TextVfo1_KeyPress(int keyAscii);
    void ComVfo1_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The plus and minus buttons of a digit label; null for the 100 MHz digit, which has none.
    std::pair<QToolButton *, QToolButton *> stepButtonsOf(QObject *digit) const;

    FrequencyControl &m_frequency;
    TuningControls m_c;
    ActionRoad *m_road = nullptr;
    int m_wheelRemainder = 0;
};
