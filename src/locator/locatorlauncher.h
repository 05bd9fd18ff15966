#pragma once

// Opens the locator window from the main window's "Locator" label: the window is loaded on first use with the
// operator's configured locator, shown when it has one, and refused with a message when it has none.

#include <QPointer>

class ClickLabel;
class QWidget;
class Settings;
class WinLocAssistance;

class LocatorLauncher
{
public:
    // label: the "Locator" label of the main window; mainWindow: the window the assistant stays above.
    LocatorLauncher(const Settings &settings, ClickLabel *label, QWidget *mainWindow);
    ~LocatorLauncher();
    LocatorLauncher(const LocatorLauncher &) = delete;
    LocatorLauncher &operator=(const LocatorLauncher &) = delete;

    // The loaded window, or nullptr while none is loaded.
    WinLocAssistance *window() const;

    // The "Locator" click: reading the own locator loads the window when it is not loaded; a window with an own
    // locator is shown (not modal), otherwise the operator is told to configure one. A window the click loaded is
    // then released; one already open stays open with what it holds.
    void open();

private:
    const Settings &m_settings;
    ClickLabel *m_label;
    QWidget *m_mainWindow;
    QPointer<WinLocAssistance> m_window;
};
