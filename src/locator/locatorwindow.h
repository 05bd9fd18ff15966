#pragma once

// The locator assistant's window, "Locavia-V1.1": the own station's panel ("Mon Locator"), the correspondent's
// ("Son Locator"), the distance and azimuth with the compass, the date, help and about. It creates and places
// the controls and hands every event to the field checks or the assistant; creating it is the window's loading,
// closing it unloads and releases it.

#include "locatorassistant.h"
#include "locatorcontrols.h"
#include "locatorfields.h"

#include <QHash>
#include <QWidget>

#include <functional>

class Settings;

class WinLocAssistance : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidthTwips = 10200;
    static constexpr int kHeightTwips = 5250;

    // Runs the loading: the own locator comes from settings.Locator as it is now; launcher is the main window's
    // "Locator" label (teal while this window is loaded). parent: the main window, which this one stays above.
    WinLocAssistance(const Settings &settings, QWidget *launcher, QWidget *parent = nullptr);

    LocatorControls &controls() { return m_c; }
    LocatorAssistant &assistant() { return m_assistant; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildStationPanel(Station station, int top);
    void buildCompassSide();
    void setTabOrder();
    void wire();
    void onGotFocus(QWidget *widget, std::function<void()> handler);

    LocatorControls m_c;
    LocatorFields m_fields;
    LocatorAssistant m_assistant;
    QHash<QObject *, std::function<void()>> m_focusHandlers;
};
