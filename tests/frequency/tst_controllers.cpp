// Tuning, the range scanner with its lists, and the memory editor on the panel, in one program.

#include "../memory/tst_memoryeditor.h"
#include "../scanner/tst_rangescanner.h"
#include "testmain.h"
#include "tst_tuning.h"

ORVANE_TEST_MAIN(TestTuning, TestRangeScanner, TestMemoryEditor)
