// The configuration dialog and the locator window, in one program.

#include "../locator/tst_locatorwindow.h"
#include "testmain.h"
#include "tst_configdialog.h"

ORVANE_TEST_MAIN(TestConfigDialog, TestLocatorWindow)
