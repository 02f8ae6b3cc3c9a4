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
#include <unistd.h>

#include "cocos2d.h"
#include "fuzz/FuzzHarnessMain.h"
#include "FuzzLog.h"
#include "support/TempFolders.h"

namespace {

testsupport::TempHome* g_home = nullptr;
// libFuzzer's -close_fd_mask closes stderr after start-up; the reason for an
// abort must still reach the log.
int g_reportFd = 2;
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

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_reportFd = ::dup(2);
    cocos2d::CCEGLView::setRunMode(cocos2d::kCCRunModeHeadless);
    g_home = new testsupport::TempHome();
    g_harness = fuzzHarness().release();
    if (const char* seeds = std::getenv("TESMORA_FUZZ_SEEDS"))
        writeSeeds(seeds);
    muteGameLogForFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string why = g_harness->feed(data, size);
    if (!why.empty()) {
        const std::string line = std::string(g_harness->name()) + ": unsound after this input: " + why + "\n";
        if (::write(g_reportFd, line.data(), line.size()) < 0)
            std::fputs(line.c_str(), stderr);
        std::abort();
    }
    return 0;
}
