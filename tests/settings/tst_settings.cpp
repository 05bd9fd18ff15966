// setting.ini and the shared record syntax; the configuration dialog.

#include "testmain.h"
#include "tst_configdialog.h"
#include "tst_settingsfile.h"

ORVANE_TEST_MAIN(TestSettingsFile, TestConfigDialog)
