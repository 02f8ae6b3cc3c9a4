// The whole-game benchmarks, beside the world benchmark's step timings:
//
//   frame    one game frame in free play with a full big world, drawn by the
//            software renderer at 800 x 600: the world step, the world
//            texture's upload, the game scene and the HUD drawn, the frame
//            presented. The game is launched in this process the way the game
//            starts (same delegate, same preloads), free play is entered from
//            the main menu, and every inner cell is filled with bands of sand,
//            water, stone, wood, oil and wax (unsettled, so it churns; rebuilt
//            untimed every 150 frames). The player has read the free-mode
//            introduction, so no window stops the world: the benchmark fails
//            when the world did not step in at least 95 % of the timed
//            frames (stepped_share). Reports the median frame and the
//            resident memory in that state.
//   startup  the real game binary from process start to its first drawn
//            frame and exit, headless (dummy video and audio drivers, the
//            software renderer), each run with a fresh home folder. Reports
//            the median run and the peak resident memory of the runs.
//
//   frame_bench [benchmark options]
//
// TESMORA_GAME_BINARY names the game binary for `startup` (default: the
// `tesmora` beside this program).
#include <benchmark/benchmark.h>

#include "BenchCompare.h"
#include "support/BenchSupport.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/GameMain.h"
#include "hud/GUIIngameMessage.h"
#include "cocos2d.h"
#include "screens/MainMenu.h"
#include "scene/GameLayer.h"
#include "world/World.h"

extern char** environ;

USING_NS_CC;

namespace {

// A fresh folder for the game's home, data, settings and documents.
std::string makeTemporaryHome()
{
    char pattern[] = "/tmp/tesmora-bench-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? std::string(dir) : std::string();
}

void removeFolder(const std::string& folder)
{
    std::error_code ignored;
    if (!folder.empty())
        std::filesystem::remove_all(folder, ignored);
}

std::vector<std::pair<std::string, std::string>> homeVariables(const std::string& home)
{
    return {{"HOME", home},
            {"XDG_DATA_HOME", home + "/data"},
            {"XDG_CONFIG_HOME", home + "/config"},
            {"XDG_DOCUMENTS_DIR", home + "/docs"}};
}

// Kilobytes of a "VmRSS:"-style line of /proc/self/status; -1 when absent.
long statusKilobytes(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t keyLength = std::strlen(key);
    while (std::getline(status, line))
        if (line.compare(0, keyLength, key) == 0)
            return std::atol(line.c_str() + keyLength);
    return -1;
}

using benchcompare::median;

constexpr double kMegabyte = 1024.0 * 1024.0;

// --- frame -------------------------------------------------------------------

constexpr int kFramesPerBuild = 150;

void fillBusyWorld(World& world)
{
    static const char* const kBands[] = {"Sand", "Water", "Stone", "Wood", "Oil", "Wax"};
    world.reset();
    for (int y = 1; y < world.height - 1; ++y) {
        const uint32_t type = hashString(kBands[((y - 1) / 8) % 6]);
        for (int x = 1; x < world.width - 1; ++x)
            world.addParticle(x, y, type, false);
    }
}

// The game scene is running when the layer hangs in the director's scene
// (not in the fade that leads there).
bool gameSceneRunning()
{
    GameLayer* layer = GameLayer::existingInstance();
    CCScene* running = CCDirector::sharedDirector()->getRunningScene();
    return layer && running && layer->getParent() == running;
}

void BM_frame(benchmark::State& state)
{
    const std::string home = makeTemporaryHome();
    for (const auto& [name, value] : homeVariables(home))
        setenv(name.c_str(), value.c_str(), 1);
    runGame([&] {
        CCDirector* director = CCDirector::sharedDirector();
        if (!CCApplication::sharedApplication()->launchForTests()) {
            state.SkipWithError("the game did not launch");
            return 1;
        }
        director->stepFrames(2, 1.0f / 60);
        // A player who has read the free-mode introduction: its window would
        // stop the world for as long as it is open.
        GUIIngameMessage::getInstance()->setFreeModeIntroDone(true);
        MainMenu::getInstance()->startFreeMode();
        for (int i = 0; i < 120 && !gameSceneRunning(); ++i)
            director->stepFrame(1.0f / 60);
        if (!gameSceneRunning()) {
            state.SkipWithError("free play did not start");
            return 1;
        }
        World& world = GameLayer::getInstance()->getWorld();
        fillBusyWorld(world);
        // A first pass through every drawing path before timing.
        director->stepFrames(10, 1.0f / 30);

        std::vector<double> frameMs;
        frameMs.reserve(static_cast<size_t>(state.max_iterations));
        int framesInBuild = 10;
        long particles = 0;
        int64_t steps = 0;
        for (auto _ : state) {
            if (framesInBuild == kFramesPerBuild) {
                state.PauseTiming();
                fillBusyWorld(world);
                framesInBuild = 0;
                state.ResumeTiming();
            }
            particles += world.particleCount();
            const int64_t stepsBefore = world.stepsRun;
            const auto start = std::chrono::steady_clock::now();
            // The world ticks at 30 a second: a frame this long steps it once.
            director->stepFrame(1.0f / 30);
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
            frameMs.push_back(took.count());
            steps += world.stepsRun - stepsBefore;
            ++framesInBuild;
        }
        const double frames = static_cast<double>(state.iterations());
        state.counters["median_ms"] = median(frameMs);
        // Frames whose tick stepped the world (one step a frame at most).
        const double steppedShare = static_cast<double>(steps) / frames;
        state.counters["stepped_share"] = steppedShare;
        state.counters["particles"] = static_cast<double>(particles) / frames;
        state.counters["rss_MB"] = statusKilobytes("VmRSS:") * 1024.0 / kMegabyte;
        state.counters["peak_rss_MB"] = statusKilobytes("VmHWM:") * 1024.0 / kMegabyte;
        director->end();
        director->stepFrame(1.0f / 60);
        if (steppedShare < 0.95) {
            char why[128];
            std::snprintf(why, sizeof why, "the world stepped in %.1f %% of the timed frames, not 95 %%",
                          100.0 * steppedShare);
            benchsupport::fail(state, why);
        }
        return 0;
    });
    removeFolder(home);
}
BENCHMARK(BM_frame)->Name("frame")->Unit(benchmark::kMillisecond)->Iterations(600);

// --- startup -----------------------------------------------------------------

struct GameRun {
    bool ok = false;
    std::string failure;
    double ms = 0.0;
    long maxResidentKb = 0;
};

std::string gameBinary()
{
    if (const char* path = std::getenv("TESMORA_GAME_BINARY"); path && *path)
        return path;
    return benchsupport::programFolder() + "/tesmora";
}

// One run of the game to its first frame, with its own fresh home.
GameRun runGameOnce(const std::string& binary)
{
    GameRun run;
    const std::string home = makeTemporaryHome();
    if (home.empty()) {
        run.failure = "cannot make a temporary home folder";
        return run;
    }
    // The environment is built before the fork: the child only execs.
    std::vector<std::pair<std::string, std::string>> set = homeVariables(home);
    set.insert(set.end(),
               {{"SDL_VIDEODRIVER", "dummy"},
                {"SDL_AUDIODRIVER", "dummy"},
                {"ENGINE_EXIT_AFTER_FRAMES", "1"},
                {"ENGINE_RENDERER", "software"}});
    std::vector<std::string> entries;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        const std::string name = entry.substr(0, entry.find('='));
        const bool replaced = std::any_of(set.begin(), set.end(), [&](const auto& v) { return v.first == name; });
        if (!replaced)
            entries.push_back(entry);
    }
    for (const auto& [name, value] : set)
        entries.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = binary;
    char* argv[] = {program.data(), nullptr};

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) {
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
        }
        execve(argv[0], argv, envp.data());
        _exit(127);
    }
    if (pid < 0) {
        run.failure = "cannot start a process";
        removeFolder(home);
        return run;
    }
    int status = 0;
    rusage usage{};
    const pid_t waited = wait4(pid, &status, 0, &usage);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    removeFolder(home);
    if (waited != pid) {
        run.failure = "lost the game's process";
        return run;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        run.failure = WIFEXITED(status) ? "the game exited with code " + std::to_string(WEXITSTATUS(status))
                                        : "the game died of signal " + std::to_string(WTERMSIG(status));
        return run;
    }
    run.ok = true;
    run.ms = took.count();
    run.maxResidentKb = usage.ru_maxrss;
    return run;
}

void BM_startup(benchmark::State& state)
{
    const std::string binary = gameBinary();
    if (access(binary.c_str(), X_OK) != 0) {
        state.SkipWithError(("no game binary at " + binary).c_str());
        return;
    }
    // Untimed: the first run after a build reads the binary and assets from disk.
    if (GameRun first = runGameOnce(binary); !first.ok) {
        state.SkipWithError(first.failure.c_str());
        return;
    }
    std::vector<double> runMs;
    long peakKb = 0;
    for (auto _ : state) {
        const GameRun run = runGameOnce(binary);
        if (!run.ok) {
            state.SkipWithError(run.failure.c_str());
            break;
        }
        runMs.push_back(run.ms);
        peakKb = std::max(peakKb, run.maxResidentKb);
        state.SetIterationTime(run.ms / 1000.0);
    }
    state.counters["median_ms"] = median(runMs);
    state.counters["peak_rss_MB"] = peakKb * 1024.0 / kMegabyte;
}
BENCHMARK(BM_startup)->Name("startup")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(15);

}  // namespace

int main(int argc, char** argv)
{
    CCEGLView::setRunMode(kCCRunModeSoftware);
    benchsupport::quietGameLog("frame_bench");
    return benchsupport::runBenchmarks(argc, argv);
}
