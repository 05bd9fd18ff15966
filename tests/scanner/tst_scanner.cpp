// The scanner decimal; the range scanner with its scan and memo lists on the panel.

#include "testmain.h"
#include "tst_fixeddecimal.h"
#include "tst_rangescanner.h"

ORVANE_TEST_MAIN(TestFixedDecimal, TestRangeScanner)
