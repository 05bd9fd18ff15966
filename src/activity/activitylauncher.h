#pragma once

// Opens "Activité de la bande" from the main window's "Activité" label: loaded on first use, then shown again as
// it was left. A step chosen in it tunes the radio as a click in the scan list does.

#include <QPointer>

#include <functional>

class ActivityModel;
class ActivityWindow;
class ClickLabel;
class QWidget;

class ActivityLauncher
{
public:
    using Tune = std::function<void(const QString &kHzText)>;

    // tune: what a scan-list click on this text does; mainWindow: the window the activity window stays above.
    ActivityLauncher(const ActivityModel &model, ClickLabel *label, QWidget *mainWindow, Tune tune);
    ~ActivityLauncher();
    ActivityLauncher(const ActivityLauncher &) = delete;
    ActivityLauncher &operator=(const ActivityLauncher &) = delete;

    ActivityWindow *window() const; // nullptr until first opened
    void open();

private:
    const ActivityModel &m_model;
    ClickLabel *m_label;
    QWidget *m_mainWindow;
    Tune m_tune;
    QPointer<ActivityWindow> m_window;
};
