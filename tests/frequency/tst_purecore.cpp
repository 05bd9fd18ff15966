// The pure core of the panel's subsystems in one program: numbers, texts, files and locator arithmetic, with no
// window and no radio.

#include "../locator/tst_locatorcore.h"
#include "../memory/tst_memoryfile.h"
#include "../scanner/tst_fixeddecimal.h"
#include "../settings/tst_settingsfile.h"
#include "testmain.h"
#include "tst_frequencycore.h"

ORVANE_TEST_MAIN(TestFrequencyCore, TestFixedDecimal, TestMemoryFile, TestSettingsFile, TestLocatorCore)
