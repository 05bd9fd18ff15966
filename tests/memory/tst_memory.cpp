// datamem.txt read and written; the memory editor on the panel.

#include "testmain.h"
#include "tst_memoryeditor.h"
#include "tst_memoryfile.h"

ORVANE_TEST_MAIN(TestMemoryFile, TestMemoryEditor)
