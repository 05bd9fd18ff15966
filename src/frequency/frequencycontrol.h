#pragma once

// The main frequency: CurrentFreq, the amateur/whole-range choice, and Charge_Num, the one road by which every
// frequency change reaches the radio and the eight digits.

#include <QList>
#include <QObject>
#include <QString>

#include <array>

namespace frequency {
struct LimitResult;
}

class CatLink;
class QLabel;
class QPushButton;
class QToolButton;
class QWidget;

// The controls of the main frequency: the eight digits (most significant first) and the display that holds them,
// the control label, the mode labels, the range button with the band buttons it enables, and the large step
// buttons the limits show or hide (with the 10 kHz pair that the whole range shows again).
struct FrequencyControls
{
    std::array<QLabel *, 8> digits {};
    QWidget *FreqDisplay = nullptr;
    QLabel *Lab_control = nullptr, *L_mode = nullptr, *LabScanMode = nullptr;
    QPushButton *Com_libre = nullptr;
    QList<QPushButton *> bandButtons;
    std::array<QToolButton *, 7> stepUp {}, stepDown {}; // in the order of frequency::kDigitSteps
};

class FrequencyControl : public QObject
{
    Q_OBJECT

public:
    FrequencyControl(CatLink &link, const FrequencyControls &controls, QObject *parent = nullptr);

    QString CurrentFreq; // 10 Hz units, eight digits once Charge_Num has run
    bool AmateurOnly = false; // true keeps tuning inside the amateur bands

    // Builds CurrentFreq from the digit captions, most significant first, and copies it to Lab_control; takes the
    // mode from its label.
    void takeFromDisplay();

    // Normalises CurrentFreq to eight digits, applies the limits, sends it with opcode 01, then shows it.
    // A CurrentFreq that is not a number is never sent nor shown.
    void Charge_Num();
    // A frequency inside the radio's coverage sent as it is, whatever the range chosen: the amateur bands' wrap is for
    // the panel's own tuning. Shown and sent as by Charge_Num.
    void tuneAsAsked(qint64 tenHz);

    void Com_libre_Click();

    // Shows the mode and sends it to the radio (opcode 07).
    void setMode(const QString &name, quint8 code);

    // The mode label and what follows its every change; the mode it shows.
    void setModeCaption(const QString &mode);
    const QString &modeName() const { return m_modeName; }
    // The last frequency sent to the radio, eight digits: the control label's caption.
    QString lastSent() const;
    // How many frequencies have been sent: a reader can tell whether anything tuned the radio since a moment of its
    // own.
    quint64 sends() const { return m_sends; }
    void L_mode_Change();

private:
    void send(const frequency::LimitResult &limited);
    void applyVisibility(const struct LimitView &view);

    CatLink &m_link;
    FrequencyControls m_c;
    QString m_modeName;
    quint64 m_sends = 0;
};
