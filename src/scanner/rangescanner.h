#pragma once

// The range scanner: one step per tick from a start towards an arrival frequency, watching the busy state or an
// S-meter threshold at each step, listing what it finds and pausing on it when asked.

#include "fixeddecimal.h"

#include <QObject>

class CatLink;
class FrequencyControl;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;
class StatusPoll;

// The scanner's panel: the range fields, the step, speed and threshold lists, the two check boxes, the three
// buttons, its timer, its frequency label and the list of what it found.
struct RangeScannerControls
{
    QLineEdit *Textdep = nullptr, *Textariv = nullptr;
    QComboBox *Combo_pas = nullptr, *Combo_vitesse = nullptr, *Combo_Seuil = nullptr;
    QCheckBox *Check_squelch = nullptr, *Check_continu = nullptr;
    QPushButton *Av_Pas = nullptr, *Pause_Trace = nullptr, *Arret_Trace = nullptr;
    QTimer *Scan_Timer = nullptr;
    QLabel *LabScanvfo = nullptr;
    QListWidget *Scan_List = nullptr;
};

class RangeScanner : public QObject
{
    Q_OBJECT

public:
    RangeScanner(FrequencyControl &frequency, StatusPoll &poll, CatLink &link, const RangeScannerControls &controls,
        QObject *parent = nullptr);
    void wire();

    using Fixed = scanner::FixedDecimal;
    Fixed ScanStart, ScanEnd, ScanStep, ScanSpeed, ScanThreshold, ScanPos;

    // Start-up: the position and the range come from the start and arrival fields, and the lists are filled.
    void loadFromFields();
    void fillLists();

    void Av_Pas_Click();
    void Pause_Trace_Click();
    void Arret_Trace_Click();
    void Scan_Timer_Timer();
    void Combo_pas_Click();
    void Combo_vitesse_Click();
    void Combo_Seuil_Click();
    void Textdep_Change();
    void Textariv_Change();

    // The operator recalled a frequency (the memo list): a tick that handled it while yielding does not step.
    void noteTakenOver() { ++m_takenOver; }

    // A field's number in the operator's locale, or the value it had when the text does not read as one
    // (an emptied field while typing, letters): the scanner keeps working with what it last understood.
    static Fixed numberOr(const QString &text, Fixed previous);
    // Keeps a field of kHz (the step, the fine-tuning frequency) to numbers the scanner's sums can hold.
    static void boundKHzField(QLineEdit *field);

private:
    void setThresholdFrom(const QString &text);
    void setSpeedFrom(const QString &text);
    int intervalMs() const;
    void record(Fixed frequency);

    FrequencyControl &m_frequency;
    StatusPoll &m_poll;
    CatLink &m_link;
    RangeScannerControls m_c;
    int m_takenOver = 0; // pauses, stops and recalls so far
};
