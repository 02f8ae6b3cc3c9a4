// libFuzzer target: the plist reader and the tables read through it.
#include "fuzz/FuzzHarnessMain.h"

std::unique_ptr<loaders::Harness> fuzzHarness()
{
    return loaders::makePlistHarness();
}
