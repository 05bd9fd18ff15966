// The emulator against Hamlib's own rigctl.

#include "testmain.h"
#include "tst_rigctl.h"

ORVANE_TEST_MAIN(TestRigctl)
