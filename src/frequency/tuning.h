#pragma once

// Tuning by hand: fourteen buttons that step one digit up or down, the mouse wheel over a digit doing the same,
// and direct entry of a frequency in kHz.

#include <QObject>

class FrequencyControl;
class QToolButton;
struct Ft847Controls;

class Tuning : public QObject
{
    Q_OBJECT

public:
    Tuning(FrequencyControl &frequency, Ft847Controls &controls, QObject *parent = nullptr);

    // Connects the step buttons, the entry field and the digits' mouse wheel.
    void wire();

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
    Ft847Controls &m_c;
    int m_wheelRemainder = 0;
};
