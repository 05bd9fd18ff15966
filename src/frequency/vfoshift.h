#pragma once

// The second VFO, kept only in its caption, swapped with the main frequency by "A <> B"; and the repeater shift
// button, which steps the radio through minus shift, plus shift and simplex and shows the transmit frequency.

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

private:
    void showShift(const QString &caption, quint8 code, qint64 offset145, qint64 offset43);

    FrequencyControl &m_frequency;
    CatLink &m_link;
    VfoShiftControls m_c;
};
