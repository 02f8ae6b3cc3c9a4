// libFuzzer entry points shared by the loader targets: each target file names
// its harness; this runs it headless inside a temporary home, writes the
// harness's valid inputs as seeds when TESMORA_FUZZ_SEEDS names a folder, and
// aborts on any input after which the harness finds the state unsound.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "cocos2d.h"
#include "fuzz/FuzzHarnessMain.h"
#include "support/TempFolders.h"

namespace {

testsupport::TempHome* g_home = nullptr;
loaders::Harness* g_harness = nullptr;

void writeSeeds(const std::string& folder)
{
    std::filesystem::create_directories(folder);
    int n = 0;
    for (const auto& seed : g_harness->seeds()) {
        std::ofstream out(folder + "/seed-" + std::to_string(n++), std::ios::binary);
        out.write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
    }
    std::fprintf(stderr, "%s: %d seeds written to %s\n", g_harness->name(), n, folder.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    cocos2d::CCEGLView::setRunMode(cocos2d::kCCRunModeHeadless);
    g_home = new testsupport::TempHome();
    g_harness = fuzzHarness().release();
    if (const char* seeds = std::getenv("TESMORA_FUZZ_SEEDS"))
        writeSeeds(seeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string why = g_harness->feed(data, size);
    if (!why.empty()) {
        std::fprintf(stderr, "%s: unsound after this input: %s\n", g_harness->name(), why.c_str());
        std::abort();
    }
    return 0;
}
