#pragma once

// The second VFO, kept only in its caption, swapped with the main frequency by "A <> B"; and the repeater shift
// button, which steps the radio through minus shift, plus shift and simplex and shows the transmit frequency.

#include <QObject>

class CatLink;
class FrequencyControl;
struct Ft847Controls;

class VfoShift : public QObject
{
    Q_OBJECT

public:
    VfoShift(FrequencyControl &frequency, CatLink &link, Ft847Controls &controls, QObject *parent = nullptr);
    void wire();

    // Clicks of the shift button; from start-up the next click selects minus shift.
    int shiftClicks = 1;

    void Com_AB_Click();
    void Com_shift_Click();

private:
    void showShift(const QString &caption, quint8 code, qint64 offset145, qint64 offset43);

    FrequencyControl &m_frequency;
    CatLink &m_link;
    Ft847Controls &m_c;
};
