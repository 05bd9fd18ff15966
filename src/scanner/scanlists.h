#pragma once

// The scan list (what the scanner found) with its fine-tuning arrows, and the memo list, a scratch pad of
// frequencies and modes to come back to. Neither is saved.

#include <QObject>

class CatLink;
class FrequencyControl;
class RangeScanner;
struct Ft847Controls;

class ScanLists : public QObject
{
    Q_OBJECT

public:
    ScanLists(RangeScanner &scanner, FrequencyControl &frequency, CatLink &link, Ft847Controls &controls,
              QObject *parent = nullptr);
    void wire();

    void Scan_List_Click();
    void Command1_Click(); // one step up
    void Command3_Click(); // one step down
    void Command2_Click(); // clears the scan list
    void Com_memo_Click();
    void List_memo_Click();
    void Com_clr_Click();

private:
    void fineStep(bool up);
    void tuneKHz(qint64 tenHz);

    RangeScanner &m_scanner;
    FrequencyControl &m_frequency;
    CatLink &m_link;
    Ft847Controls &m_c;
};
