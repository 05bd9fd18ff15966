#pragma once

// The second VFO, a frequency this class owns and shows in its caption, swapped with the main frequency by "A <> B";
// the repeater shift button, which steps the radio through minus shift, plus shift and simplex and shows the transmit
// frequency; and split, asked for by network clients: the radio in satellite mode, receiving on the main frequency and
// transmitting on the second VFO.

#include <optional>

#include <QObject>

class ActionRoad;
class CatLink;
class FrequencyControl;
class QLabel;
class QPushButton;

// The two buttons, the second VFO's frequency label and the receive/transmit labels beside the two displays.
struct VfoShiftControls
{
    QPushButton *Com_AB = nullptr, *Com_shift = nullptr;
    QLabel *LabVFO2 = nullptr, *LabTRX1 = nullptr, *LabTRX2 = nullptr;
};

class VfoShift : public QObject
{
    Q_OBJECT

public:
    VfoShift(FrequencyControl &frequency, CatLink &link, const VfoShiftControls &controls, QObject *parent = nullptr);
    void wire(ActionRoad &road);

    // Clicks of the shift button; from start-up the next click selects minus shift.
    int shiftClicks = 1;

    void Com_AB_Click();
    void Com_shift_Click();

    bool split() const { return m_split; }
    // The second VFO's frequency, to the 10 Hz, and the same shown in its caption.
    qint64 vfoB() const { return m_vfoB; }
    void setVfoB(qint64 tenHz);
    // The transmit mode: the one asked for, else the main frequency's.
    QString txModeName() const;
    void setSplit(bool on);
    // The second VFO to this frequency, sent as the transmit frequency; split goes on if it was off.
    void setTxFrequency(qint64 tenHz);
    void setTxMode(quint8 code);
    // The link is about to go off: the radio leaves satellite mode first.
    void linkSwitchingOff();

private:
    void showShift(const QString &caption, quint8 code, qint64 offset145, qint64 offset43);
    void showTransmitLabels(bool split);
    void sendTransmit();
    void sendMain();

    FrequencyControl &m_frequency;
    CatLink &m_link;
    VfoShiftControls m_c;
    qint64 m_vfoB = 14550000;
    bool m_split = false;
    std::optional<quint8> m_txMode;
};
