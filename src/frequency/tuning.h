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

// The controls of tuning by hand: the fourteen step buttons, the digits whose wheel steps them (most significant
// first), the entry field with its button, and the operating frame they sit in.
struct TuningControls
{
    QToolButton *Com_pmm = nullptr, *Com_mmm = nullptr, *Com_pm = nullptr, *Com_mm = nullptr, *Com_pkkk = nullptr,
                *Com_mkkk = nullptr, *Com_pkk = nullptr, *Com_mkk = nullptr, *Com_pk = nullptr, *Com_mk = nullptr,
                *Com_phh = nullptr, *Com_mhh = nullptr, *Com_ph = nullptr, *Com_mh = nullptr;
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

    void Com_ph_Click() { step(1); }
    void Com_mh_Click() { step(-1); }
    void Com_phh_Click() { step(10); }
    void Com_mhh_Click() { step(-10); }
    void Com_pk_Click() { step(100); }
    void Com_mk_Click() { step(-100); }
    void Com_pkk_Click() { step(1000); }
    void Com_mkk_Click() { step(-1000); }
    void Com_pkkk_Click() { step(10000); }
    void Com_mkkk_Click() { step(-10000); }
    void Com_pm_Click() { step(100000); }
    void Com_mm_Click() { step(-100000); }
    void Com_pmm_Click() { step(1000000); }
    void Com_mmm_Click() { step(-1000000); }

    // A key typed into the entry field, by its character code; the key itself always goes on into the field.
    void TextVfo1_KeyPress(int keyAscii);
    void ComVfo1_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void step(qint64 tenHz);
    // The plus and minus buttons of a digit label; null for the 100 MHz digit, which has none.
    std::pair<QToolButton *, QToolButton *> stepButtonsOf(QObject *digit) const;

    FrequencyControl &m_frequency;
    TuningControls m_c;
    ActionRoad *m_road = nullptr;
    int m_wheelRemainder = 0;
};
