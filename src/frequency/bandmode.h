#pragma once

// The nine band buttons (a working frequency and mode in one amateur band, and the scanner prepared for that
// band) and the six mode buttons.

#include <QObject>

class CatLink;
class FrequencyControl;
class QPushButton;
struct Ft847Controls;

class BandMode : public QObject
{
    Q_OBJECT

public:
    BandMode(FrequencyControl &frequency, CatLink &link, Ft847Controls &controls, QObject *parent = nullptr);
    void wire();

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

private:
    struct Band;
    void selectBand(const Band &band);
    void selectMode(const QString &name, quint8 code, bool pausePoll);

    FrequencyControl &m_frequency;
    CatLink &m_link;
    Ft847Controls &m_c;
};
