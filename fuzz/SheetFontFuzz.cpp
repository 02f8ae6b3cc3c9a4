// libFuzzer target: the sprite-frame cache and the bitmap-font loader.
#include "fuzz/FuzzHarnessMain.h"

std::unique_ptr<loaders::Harness> fuzzHarness()
{
    return loaders::makeSheetFontHarness();
}
