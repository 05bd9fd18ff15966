#pragma once

// The main frequency: CurrentFreq, the amateur/whole-range choice, and Charge_Num, the one road by which every
// frequency change reaches the radio and the eight digits.

#include <QObject>
#include <QString>

class CatLink;
struct Ft847Controls;

class FrequencyControl : public QObject
{
    Q_OBJECT

public:
    FrequencyControl(CatLink &link, Ft847Controls &controls, QObject *parent = nullptr);

    QString CurrentFreq; // 10 Hz units, eight digits once Charge_Num has run
    bool AmateurOnly = false; // true keeps tuning inside the amateur bands

    // Builds CurrentFreq from the digit captions, most significant first, and copies it to Lab_control; takes the
    // mode from its label.
    void takeFromDisplay();

    // Normalises CurrentFreq to eight digits, applies the limits, sends it with opcode 01, then shows it.
    // A CurrentFreq that is not a number is never sent nor shown.
    void Charge_Num();

    void Com_libre_Click();

    // Shows the mode and sends it to the radio (opcode 07).
    void setMode(const QString &name, quint8 code);

    // The mode label and what follows its every change; the mode it shows.
    void setModeCaption(const QString &mode);
    const QString &modeName() const { return m_modeName; }
    void L_mode_Change();

private:
    void applyVisibility(const struct LimitView &view);

    CatLink &m_link;
    Ft847Controls &m_c;
    QString m_modeName;
};
