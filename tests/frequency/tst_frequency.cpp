// Frequency limits and texts, typed numbers; tuning on the panel against the radio.

#include "testmain.h"
#include "tst_frequencycore.h"
#include "tst_tuning.h"

ORVANE_TEST_MAIN(TestFrequencyCore, TestTuning)
