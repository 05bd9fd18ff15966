#pragma once

// The program's start-up and end, the clock and date, and the navigation row of the main window.

#include <QObject>

#include <functional>

class FrequencyControl;
class LinkSwitch;
class StatusPoll;
struct Ft847Controls;

class AppShell : public QObject
{
    Q_OBJECT

public:
    AppShell(FrequencyControl &frequency, StatusPoll &poll, LinkSwitch &linkSwitch,
             Ft847Controls &controls, QObject *parent = nullptr);

    int memoryPanelClicks = 0;

    void Form_Load();
    // Switches the link off, closes every window of the program and leaves the event loop. Runs once.
    void Form_Unload();
    void Timer2_Timer();
    void Lab_mem_Click();
    void LabLocat_Click();
    void LabConf_Click();
    void LabPropos_Click();
    void Labquit_Click();

    // Until their windows exist, the configuration dialog and the locator assistant are opened through these.
    void setConfigurationOpener(std::function<void()> open) { m_openConfiguration = std::move(open); }
    void setLocatorOpener(std::function<void()> open) { m_openLocator = std::move(open); }
    // Loading steps that belong to other subsystems: the scanner takes its start and end fields, and the memory
    // list is shown once.
    void setScannerLoader(std::function<void()> load) { m_loadScanner = std::move(load); }
    void setMemoryListShower(std::function<void()> show) { m_showMemoryList = std::move(show); }

private:
    FrequencyControl &m_frequency;
    StatusPoll &m_poll;
    LinkSwitch &m_linkSwitch;
    Ft847Controls &m_c;
    std::function<void()> m_openConfiguration;
    std::function<void()> m_openLocator;
    std::function<void()> m_loadScanner;
    std::function<void()> m_showMemoryList;
    bool m_unloaded = false;
};
