#pragma once

// The program's start-up and end, the clock and date, and the navigation row of the main window.

#include <QObject>

class ClickLabel;
class FrequencyControl;
class Ft847Window;
class LinkSwitch;
class QLabel;
class QTimer;
class StatusPoll;

// The shell's controls: the window, its clock and date, the navigation labels it answers, and the clock's timer.
struct AppShellControls
{
    Ft847Window *ft_847 = nullptr;
    QLabel *LabHeure = nullptr, *LabDate = nullptr;
    ClickLabel *Lab_mem = nullptr, *LabLocat = nullptr, *LabPropos = nullptr, *Labquit = nullptr;
    QTimer *Timer2 = nullptr;
};

class AppShell : public QObject
{
    Q_OBJECT

public:
    AppShell(FrequencyControl &frequency, StatusPoll &poll, LinkSwitch &linkSwitch, const AppShellControls &controls,
        QObject *parent = nullptr);

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
    // The link goes off: "Memoire" back to navy and the memory panel folded away (its click count kept).
    void foldForLinkOff();

signals:
    // The loading steps of the scanner (its start and end fields, its lists) and of the memory panel (its grid,
    // its lists and the memory list shown once), in their place in the window's loading.
    void loadingScanner();
    void loadingMemory();
    void configurationRequested(); // "Configuration": the dialog, modally
    void locatorRequested(); // "Locator"

private:
    FrequencyControl &m_frequency;
    StatusPoll &m_poll;
    LinkSwitch &m_linkSwitch;
    AppShellControls m_c;
    bool m_unloaded = false;
};
