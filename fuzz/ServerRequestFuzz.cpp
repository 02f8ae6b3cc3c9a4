// libFuzzer target: the world-sharing server's readers of query parameters
// and request bodies.
#include "fuzz/FuzzHarnessMain.h"

std::unique_ptr<loaders::Harness> fuzzHarness()
{
    return loaders::makeServerRequestHarness();
}
