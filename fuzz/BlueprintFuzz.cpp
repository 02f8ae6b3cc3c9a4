// libFuzzer target: the blueprint folder reader.
#include "fuzz/FuzzHarnessMain.h"

std::unique_ptr<loaders::Harness> fuzzHarness()
{
    return loaders::makeBlueprintHarness();
}
