#pragma once

// Switching the link to the radio on ("Marche") and off ("Arret"): the settings are re-read, the port opened,
// CAT mode entered and the poll started; switching off reverses it all and is harmless when already off.

#include <QObject>

#include <functional>

class CatLink;
class FrequencyControl;
class Settings;
class StatusPoll;
struct Ft847Controls;

class LinkSwitch : public QObject
{
    Q_OBJECT

public:
    LinkSwitch(Settings &settings, CatLink &link, FrequencyControl &frequency, Ft847Controls &controls,
               QObject *parent = nullptr);

    bool LinkOff = true;

    void Lab_c_on_Click();
    void Lab_c_off_Click();

    // Opens the configuration dialog modally; run when no port is configured.
    void setConfigurationOpener(std::function<void()> open) { m_openConfiguration = std::move(open); }

    // The panel's look for either state (also the start-up look).
    void showOffAppearance();

private:
    void setPanelSet(bool on);

    Settings &m_settings;
    CatLink &m_link;
    FrequencyControl &m_frequency;
    Ft847Controls &m_c;
    std::function<void()> m_openConfiguration;
};
