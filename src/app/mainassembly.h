#pragma once

// The whole program put together: the main window, the serial port, the CAT link and the controllers of each
// subsystem, with the window's signals wired to their handlers. main() builds one; end-to-end tests too.

#include "actionroad.h"
#include "activitylauncher.h"
#include "activitymodel.h"
#include "bandmode.h"
#include "catlink.h"
#include "frequencycontrol.h"
#include "ft847window.h"
#include "linkswitch.h"
#include "locatorlauncher.h"
#include "memoryeditor.h"
#include "panelrig.h"
#include "qtcommport.h"
#include "rangescanner.h"
#include "rigctlserver.h"
#include "scanlists.h"
#include "settings.h"
#include "shell.h"
#include "statuspoll.h"
#include "tuning.h"
#include "vfoshift.h"

#include <memory>

class MainAssembly
{
    // Declared first: the port below may be this one.
    std::unique_ptr<CommPort> m_ownPort;

public:
    // The program on the machine's serial ports (Qt SerialPort), or on the port given (a test's).
    explicit MainAssembly(CommPort *testPort = nullptr);
    ~MainAssembly();

    // Runs the main window's loading, then shows it.
    void start();

    Ft847Window window;
    Ft847Controls &c = window.controls();
    Settings settings;
    CommPort &port;
    CatLink link {port};
    ActionRoad road {link};
    FrequencyControl frequency {link, frequencyControls(c)};
    StatusPoll poll {link, road, frequency, statusPollControls(c)};
    Tuning tuning {frequency, tuningControls(c)};
    BandMode bandMode {frequency, link, bandModeControls(c)};
    VfoShift vfoShift {frequency, link,
        {.Com_AB = c.Com_AB,
            .Com_shift = c.Com_shift,
            .LabVFO2 = c.LabVFO2,
            .LabTRX1 = c.LabTRX1,
            .LabTRX2 = c.LabTRX2}};
    RangeScanner scanner {frequency, poll, link, rangeScannerControls(c)};
    ScanLists scanLists {scanner, frequency, scanListsControls(c)};
    // What the scanner hears, kept for "Activité de la bande"; a step chosen there tunes as a scan-list click.
    ActivityModel activity;
    ActivityLauncher activityLauncher {
        activity, c.LabActiv, c.ft_847, [this](const QString &kHz) { tuneFromActivity(kHz); }};
    LinkSwitch linkSwitch {settings, link, frequency, poll, linkSwitchControls(c)};
    AppShell shell {frequency, poll, linkSwitch,
        {.ft_847 = c.ft_847,
            .LabHeure = c.LabHeure,
            .LabDate = c.LabDate,
            .Lab_mem = c.Lab_mem,
            .LabLocat = c.LabLocat,
            .LabPropos = c.LabPropos,
            .Labquit = c.Labquit,
            .Timer2 = c.Timer2}};
    MemoryEditor memory {frequency, road, memoryEditorControls(c)};
    LocatorLauncher locatorLauncher {settings, c.LabLocat, c.ft_847};
    PanelRig rig {frequency, vfoShift, linkSwitch, link, road};
    // The radio shared over Hamlib's network protocol; none until share() is asked.
    std::unique_ptr<RigctlServer> sharing;

    // Serves the radio to network clients at this address; on failure, why, in French.
    bool share(const QHostAddress &address, quint16 port, QString *why);

private:
    // Each controller's own controls, out of the window's whole set.
    static FrequencyControls frequencyControls(const Ft847Controls &c);
    static StatusPollControls statusPollControls(const Ft847Controls &c);
    static TuningControls tuningControls(const Ft847Controls &c);
    static BandModeControls bandModeControls(const Ft847Controls &c);
    static RangeScannerControls rangeScannerControls(const Ft847Controls &c);
    static ScanListsControls scanListsControls(const Ft847Controls &c);
    static LinkSwitchControls linkSwitchControls(const Ft847Controls &c);
    static MemoryEditorControls memoryEditorControls(const Ft847Controls &c);

    void wire();
    void tuneFromActivity(const QString &kHz);
};
