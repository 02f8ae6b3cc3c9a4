// libFuzzer target: the profile file loader ("profile.dat" and its backup).
#include "fuzz/FuzzHarnessMain.h"

std::unique_ptr<loaders::Harness> fuzzHarness()
{
    return loaders::makeProfileHarness();
}
