// libFuzzer target: the JSON document and the create-player answer handler.
#include "fuzz/FuzzHarnessMain.h"

std::unique_ptr<loaders::Harness> fuzzHarness()
{
    return loaders::makeServerAnswerHarness();
}
