#pragma once

// The nine band buttons (a working frequency and mode in one amateur band, and the scanner prepared for that
// band) and the six mode buttons. The bands are the band plan's (freqlimits.h).

#include <QObject>

class ActionRoad;
class CatLink;
class FrequencyControl;
class QPushButton;

// The band and mode buttons.
struct BandModeControls
{
    QPushButton *Com_18 = nullptr, *Com_35 = nullptr, *Com_7 = nullptr, *Com_14 = nullptr, *Com_21 = nullptr,
                *Com_28 = nullptr, *Com_50 = nullptr, *Com_144 = nullptr, *Com_430 = nullptr;
    QPushButton *Com_LSB = nullptr, *Com_USB = nullptr, *Com_CW = nullptr, *Com_CWR = nullptr, *Com_AM = nullptr,
                *Com_FM = nullptr;
};

class BandMode : public QObject
{
    Q_OBJECT

public:
    BandMode(FrequencyControl &frequency, CatLink &link, const BandModeControls &controls, QObject *parent = nullptr);
    void wire(ActionRoad &road);

    void Com_18_Click();
    void Com_35_Click();
    void Com_7_Click();
    void Com_14_Click();
    void Com_21_Click();
    void Com_28_Click();
    void Com_50_Click();
    void Com_144_Click();
    void Com_430_Click();

    void Com_LSB_Click();
    void Com_USB_Click();
    void Com_CW_Click();
    void Com_CWR_Click();
    void Com_AM_Click();
    void Com_FM_Click();

signals:
    // A band was chosen: its edges and the scanner's step there, in kHz, before anything is tuned.
    void bandChosen(qint64 startKHz, qint64 endKHz, int stepKHz);
    // LSB and AM hold the status poll's timer for the length of their send, and release it after.
    void pollHeld(bool held);

private:
    void selectBand(QStringView caption);
    void selectMode(quint8 code, bool pausePoll);

    FrequencyControl &m_frequency;
    CatLink &m_link;
    BandModeControls m_c;
};
