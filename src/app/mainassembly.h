#pragma once

// The whole program put together: the main window, the serial port, the CAT link and the controllers of each
// subsystem, with the window's signals wired to their handlers. main() builds one; end-to-end tests too.

#include "catlink.h"
#include "frequencycontrol.h"
#include "ft847window.h"
#include "linkswitch.h"
#include "qtcommport.h"
#include "settings.h"
#include "shell.h"
#include "statuspoll.h"

class MainAssembly
{
public:
    MainAssembly();
    ~MainAssembly();

    // Runs the main window's loading, then shows it.
    void start();

    Ft847Window window;
    Ft847Controls &c = window.controls();
    Settings settings;
    QtCommPort port;
    CatLink link{port};
    FrequencyControl frequency{link, c};
    StatusPoll poll{link, frequency, c};
    LinkSwitch linkSwitch{settings, link, frequency, c};
    AppShell shell{settings, frequency, poll, linkSwitch, c};
    // Further subsystem controllers go above this line.

private:
    void wire();
};
