#pragma once

// Switching the link to the radio on ("Marche") and off ("Arret"): the settings are re-read, the port opened,
// CAT mode entered and the poll started; switching off reverses it all and is harmless when already off.

#include <QList>
#include <QObject>

class CatLink;
class ClickLabel;
class FrequencyControl;
class Ft847Window;
class QFrame;
class QLabel;
class QTimer;
class QWidget;
class Settings;
class StatusPoll;

// The controls switching drives: the two switch labels and the ones enabled only while the link is on, the
// operating frame, and the panel set whose colour tells the state.
struct LinkSwitchControls
{
    ClickLabel *Lab_c_on = nullptr, *Lab_c_off = nullptr, *Lab_mem = nullptr, *LabLocat = nullptr, *Labquit = nullptr;
    QFrame *Frame1 = nullptr;
    QList<QWidget *> panelSet;
};

class LinkSwitch : public QObject
{
    Q_OBJECT

public:
    LinkSwitch(Settings &settings, CatLink &link, FrequencyControl &frequency, StatusPoll &poll,
        const LinkSwitchControls &controls, QObject *parent = nullptr);

    bool LinkOff = true;
    // The link is on and can carry commands: switched on, the port open, and not ended by the port error.
    bool isOn() const;

    void Lab_c_on_Click();
    void Lab_c_off_Click();

    // The panel's look for either state (also the start-up look).
    void showOffAppearance();

signals:
    // "Marche" found no port configured: the configuration dialog is to be shown, modally.
    void configurationRequired();
    // The link is about to go off: what works the radio on its own (the scanner, a client's split) stops, and the
    // window folds its memory panel away.
    void switchingOff();

private:
    void setPanelSet(bool on);

    Settings &m_settings;
    CatLink &m_link;
    FrequencyControl &m_frequency;
    StatusPoll &m_poll;
    LinkSwitchControls m_c;
};
