// libFuzzer target: the gallery's answers as the game reads them.
#include "fuzz/FuzzHarnessMain.h"

std::unique_ptr<loaders::Harness> fuzzHarness()
{
    return loaders::makeGalleryAnswerHarness();
}
