#pragma once

// The range scanner: one step per tick from a start towards an arrival frequency, watching the busy state or an
// S-meter threshold at each step, listing what it finds and pausing on it when asked.

#include "fixeddecimal.h"
#include "scanreading.h"
#include "statuspoll.h"

#include <QObject>

#include <optional>

class ActionRoad;
class CatLink;
class FrequencyControl;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

// The scanner's panel: the range fields, the step, speed and threshold lists, the two check boxes, the three
// buttons, its timer, its frequency label and the list of what it found.
struct RangeScannerControls
{
    QLineEdit *Textdep = nullptr, *Textariv = nullptr;
    QComboBox *Combo_pas = nullptr, *Combo_vitesse = nullptr, *Combo_Seuil = nullptr;
    QCheckBox *Check_squelch = nullptr, *Check_continu = nullptr;
    QPushButton *Av_Pas = nullptr, *Pause_Trace = nullptr, *Arret_Trace = nullptr;
    QTimer *Scan_Timer = nullptr;
    QLabel *LabScanvfo = nullptr, *LabScanMode = nullptr;
    QListWidget *Scan_List = nullptr;
};

class RangeScanner : public QObject
{
    Q_OBJECT

public:
    RangeScanner(FrequencyControl &frequency, StatusPoll &poll, CatLink &link, const RangeScannerControls &controls,
        QObject *parent = nullptr);
    void wire(ActionRoad &road);

    using Fixed = scanner::FixedDecimal;
    Fixed ScanStart, ScanEnd, ScanStep, ScanSpeed, ScanThreshold, ScanPos;

    // Start-up: the position and the range come from the start and arrival fields, and the lists are filled.
    void loadFromFields();
    void fillLists();

    void Av_Pas_Click();
    void Pause_Trace_Click();
    void Arret_Trace_Click();
    // Scan_Timer's tick, as it comes: a step on the road, unless one is waiting already. A step still waiting when
    // the operator takes the radio (a pause, a stop, a recall) is not made.
    void requestStep();
    void Scan_Timer_Timer();
    void Combo_pas_Click();
    void Combo_vitesse_Click();
    void Combo_Seuil_Click();
    void Textdep_Change();
    void Textariv_Change();

    // The operator recalled a frequency (the memo list): a step asked for before it does not step.
    void noteTakenOver() { ++m_takenOver; }
    // No step until the next Start: the operator takes the radio.
    void stopSteps();
    // The mode label of the scanner's panel follows the panel's mode (L_mode_Change).
    void showMode(const QString &mode);
    // A band chosen on the panel: the range and step of the next scan, in kHz, as the operator could type them.
    void prepareBand(qint64 startKHz, qint64 endKHz, int stepKHz);
    // The link is being switched off (by "Arret", the port error or quitting): a running scan stops as by its own
    // stop button.
    void linkSwitchingOff();

    // A field's number in the operator's locale, or the value it had when the text does not read as one
    // (an emptied field while typing, letters): the scanner keeps working with what it last understood.
    static Fixed numberOr(const QString &text, Fixed previous);
    // Keeps a field of kHz (the step, the fine-tuning frequency) to numbers the scanner's sums can hold.
    static void boundKHzField(QLineEdit *field);

signals:
    // Each step whose S-meter the poll read while the radio stood there, as the scanner leaves it.
    void stepHeard(const scanner::ScanReading &reading);
    // The step the radio has just been tuned to.
    void stepTuned(scanner::FixedDecimal at);

private:
    void setThresholdFrom(const QString &text);
    void setSpeedFrom(const QString &text);
    int intervalMs() const;
    void record(Fixed frequency);
    // Whether the poll's busy flag or S-meter describes the step the radio stood on: read while the scanner's tune
    // was the last frequency sent.
    bool readsStep(std::optional<quint64> StatusPoll::ReadAt::*which) const;

    FrequencyControl &m_frequency;
    StatusPoll &m_poll;
    CatLink &m_link;
    RangeScannerControls m_c;
    ActionRoad *m_road = nullptr;
    int m_takenOver = 0; // pauses, stops and recalls so far
    bool m_stepWaiting = false;
    // The scanner's last tune, counted in frequencies sent; none before the first, nor after a stop.
    std::optional<quint64> m_tunedSends;
};
