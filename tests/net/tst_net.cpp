// The radio shared over the network: Hamlib's protocol against the running panel.

#include "testmain.h"
#include "tst_rigctld.h"

ORVANE_TEST_MAIN(TestRigctld)
