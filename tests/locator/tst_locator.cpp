// Maidenhead and the great circle; the locator window.

#include "testmain.h"
#include "tst_locatorcore.h"
#include "tst_locatorwindow.h"

ORVANE_TEST_MAIN(TestLocatorCore, TestLocatorWindow)
