#pragma once

// The whole program put together: the main window, the serial port, the CAT link and the controllers of each
// subsystem, with the window's signals wired to their handlers. main() builds one; end-to-end tests too.

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
    CatLink link{port};
    FrequencyControl frequency{link, c};
    StatusPoll poll{link, frequency, c};
    Tuning tuning{frequency, c};
    BandMode bandMode{frequency, link, c};
    VfoShift vfoShift{frequency, link, c};
    RangeScanner scanner{frequency, poll, link, c};
    ScanLists scanLists{scanner, frequency, link, c};
    LinkSwitch linkSwitch{settings, link, frequency, c};
    AppShell shell{frequency, poll, linkSwitch, c};
    MemoryEditor memory{frequency, link, c};
    LocatorLauncher locatorLauncher{settings, c.LabLocat, c.ft_847};
    PanelRig rig{frequency, poll, linkSwitch, link};
    // The radio shared over Hamlib's network protocol; none until share() is asked.
    std::unique_ptr<RigctlServer> sharing;

    // Serves the radio to network clients at this address; on failure, why, in French.
    bool share(const QHostAddress &address, quint16 port, QString *why);

private:
    void wire();
};
