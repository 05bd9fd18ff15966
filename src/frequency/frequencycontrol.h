#pragma once

// The main frequency and the mode: CurrentFreq, the amateur/whole-range choice, and Charge_Num, the one road by which
// every frequency change reaches the radio and the eight digits (tuneTo). This controller owns both facts; the others
// read them here and learn of a new mode by its signal.

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
    QLabel *Lab_control = nullptr, *L_mode = nullptr;
    QPushButton *Com_libre = nullptr;
    QList<QPushButton *> bandButtons;
    std::array<QToolButton *, 7> stepUp {}, stepDown {}; // in the order of frequency::kDigitSteps
};

class FrequencyControl : public QObject
{
    Q_OBJECT

public:
    FrequencyControl(CatLink &link, const FrequencyControls &controls, QObject *parent = nullptr);

    // The main frequency, 10 Hz units, eight digits once Charge_Num has run: CurrentFreq, as a number and as text.
    qint64 frequency() const { return m_frequency; }
    const QString &CurrentFreq() const { return m_currentFreq; }
    // The last frequency sent to the radio, eight digits.
    QString lastSent() const;
    // How many frequencies have been sent: a reader can tell whether anything tuned the radio since a moment of its
    // own.
    quint64 sends() const { return m_sends; }

    // True keeps tuning inside the amateur bands ("Marche" sets it, the range button toggles it).
    bool amateurOnly() const { return m_amateurOnly; }
    void setAmateurOnly(bool on) { m_amateurOnly = on; }

    // Start-up: CurrentFreq and the mode the panel shows before the radio is read, written to the display and
    // Lab_control.
    void showStart();

    // Every tuning action: the frequency through the limits in force (Charge_Num), sent with opcode 01, then shown.
    void tuneTo(qint64 tenHz);
    // A frequency inside the radio's coverage sent as it is, whatever the range chosen: the amateur bands' wrap is for
    // the panel's own tuning. Shown and sent as by Charge_Num.
    void tuneAsAsked(qint64 tenHz);

    void Com_libre_Click();

    // The mode, shown and sent to the radio (opcode 07).
    void setMode(const QString &name, quint8 code);
    // The mode as the radio, a band, a memory or a button has it: shown, and told to whoever follows it.
    void showMode(const QString &mode);
    const QString &modeName() const { return m_modeName; }

signals:
    void modeChanged(const QString &mode);

private:
    // Normalises CurrentFreq to eight digits, applies the limits, sends it, then shows it. A CurrentFreq that is not a
    // number is never sent nor shown.
    void Charge_Num();
    void send(const frequency::LimitResult &limited);
    void showDigits(); // the eight digits and the display's spoken name
    void applyVisibility(const struct LimitView &view);

    CatLink &m_link;
    FrequencyControls m_c;
    QString m_currentFreq;
    qint64 m_frequency = 0;
    bool m_amateurOnly = false;
    bool m_rangeAmateur = true; // what the range button offers: its caption, kept apart from m_amateurOnly
    QString m_modeName;
    quint64 m_sends = 0;
};
