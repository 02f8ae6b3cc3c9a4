// libFuzzer target: names in the cloud store and the saved-worlds listing.
#include "fuzz/FuzzHarnessMain.h"

std::unique_ptr<loaders::Harness> fuzzHarness()
{
    return loaders::makeCloudNameHarness();
}
