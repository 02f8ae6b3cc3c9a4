// What the title screen costs the game's own thread while the player only
// looks at it: the real loop (window mode, paced frames: the wait for each
// frame is in the figure) at a named player's main menu, for a fixed number
// of frames. SDL's dummy video driver stands in for the display unless
// SDL_VIDEODRIVER names another; the label names the driver.
//
//   menu     the game thread's CPU time per frame (the benchmark's time), the
//            share of one core it took (cpu_share, in %) and the frames'
//            wall-clock length (frame_ms, which the pacing holds at 1/60 s).
//
//   menu_bench [benchmark options]
#include <benchmark/benchmark.h>

#include "support/BenchSupport.h"

#include <time.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/GameMain.h"
#include "cocos2d.h"
#include "profile/Profile.h"
#include "screens/MainMenu.h"

USING_NS_CC;

namespace {

constexpr float kFrame = 1.0f / 60;

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

bool menuShown()
{
    CCScene* running = CCDirector::sharedDirector()->getRunningScene();
    return running && MainMenu::getInstance()->getParent() == running;
}

void BM_menu(benchmark::State& state)
{
    char pattern[] = "/tmp/tesmora-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) {
        state.SkipWithError("cannot make a temporary home folder");
        return;
    }
    const std::string home = made;
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (home + "/docs").c_str(), 1);
    runGame([&] {
        CCApplication* application = CCApplication::sharedApplication();
        CCDirector* director = CCDirector::sharedDirector();
        if (!application->launchForTests()) {
            state.SkipWithError("the game did not launch");
            return 1;
        }
        // Past the intro on the manual clock, then the menu a named player
        // goes to.
        director->stepFrames(150, kFrame);
        Profile::getInstance()->setNickname(CCString::create("Bench"));
        director->replaceScene(MainMenu::scene());
        for (int i = 0; i < 120 && !menuShown(); ++i)
            director->stepFrame(kFrame);
        if (!menuShown()) {
            state.SkipWithError("the main menu did not show");
            return 1;
        }
        // A second of the real loop before timing.
        for (int i = 0; i < 60; ++i)
            application->runFrame();

        double cpuTotal = 0;
        const auto wallStart = std::chrono::steady_clock::now();
        for (auto _ : state) {
            const double before = threadCpuSeconds();
            application->runFrame();
            const double took = threadCpuSeconds() - before;
            cpuTotal += took;
            state.SetIterationTime(took);
        }
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallStart;
        const double frames = static_cast<double>(state.iterations());
        state.counters["cpu_share"] = 100.0 * cpuTotal / wall.count();
        state.counters["frame_ms"] = 1000.0 * wall.count() / frames;
        state.SetLabel(std::string("video driver ") + std::getenv("SDL_VIDEODRIVER"));
        if (!menuShown())
            benchsupport::fail(state, "the main menu left the screen while it was timed");
        director->end();
        director->stepFrame(kFrame);
        return 0;
    });
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
}
BENCHMARK(BM_menu)->Name("menu")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(300);

}  // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    // A window, not the desktop's full screen.
    setenv("ENGINE_WINDOWED", "1", 1);
    CCEGLView::setRunMode(kCCRunModeWindow);
    benchsupport::quietGameLog("menu_bench");
    return benchsupport::runBenchmarks(argc, argv);
}
