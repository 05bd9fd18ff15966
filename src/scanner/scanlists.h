#pragma once

// The scan list (what the scanner found) with its fine-tuning arrows, and the memo list, a scratch pad of
// frequencies and modes to come back to. Neither is saved.

#include <QObject>

class ActionRoad;
class FrequencyControl;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
class RangeScanner;

// The scan list with its fine-tuning field and arrows, the memo list with its buttons, and the scanner's controls
// they use: its frequency label, and the range fields that bound the arrows.
struct ScanListsControls
{
    QListWidget *Scan_List = nullptr, *List_memo = nullptr;
    QLineEdit *Text_Affine = nullptr, *Textdep = nullptr, *Textariv = nullptr;
    QToolButton *Command1 = nullptr, *Command3 = nullptr;
    QPushButton *Command2 = nullptr, *Com_memo = nullptr, *Com_clr = nullptr;
    QLabel *LabScanvfo = nullptr;
};

class ScanLists : public QObject
{
    Q_OBJECT

public:
    ScanLists(RangeScanner &scanner, FrequencyControl &frequency, const ScanListsControls &controls,
        QObject *parent = nullptr);
    void wire(ActionRoad &road);

    // A click on an item of a list, with that item's text (the list may have changed by the time it is served).
    void Scan_List_Click(const QString &item);
    void Command1_Click(); // one step up
    void Command3_Click(); // one step down
    void Command2_Click(); // clears the scan list
    void Com_memo_Click();
    void List_memo_Click(const QString &item);
    void Com_clr_Click();

private:
    void fineStep(bool up);
    void tune(qint64 tenHz);

    RangeScanner &m_scanner;
    FrequencyControl &m_frequency;
    ScanListsControls m_c;
};
