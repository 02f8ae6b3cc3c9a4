// The soak: the game headless on the fixed step and the manual clock, played
// by the scripted player for the given minutes of play on the game's clock,
// or until the world has taken the given number of steps.
// It fails on a wrong state, an error line it does not expect, memory that
// keeps growing after the warm-up, or a run that outlasts its wall-time
// limit; a crash or a sanitizer report ends it anyway.
#include <sys/stat.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "ScriptedPlayer.h"
#include "SimpleAudioEngine.h"
#include "SoakWatch.h"
#include "gui/BackButton.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "profile/Profile.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "cocos2d.h"
#include "platform/GameClock.h"
#include "platform/GameRandom.h"
#include "platform/PlatformServices.h"
#include "world/ColorTables.h"
#include "screens/GameWiring.h"
#include "world/ParticleCreator.h"
#include "world/World.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of heap bytes in use, and its hand-back of
// free memory.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
extern "C" void __sanitizer_purge_allocator();
#endif

USING_NS_CC;

// A short quarantine, and free pages handed back soon, keep the sanitizer's
// own memory small.
extern "C" const char* __asan_default_options()
{
    return "quarantine_size_mb=8:allocator_release_to_os_interval_ms=500:malloc_context_size=10";
}

namespace {

// Error lines that a run may write without anything being wrong.
void expectKnownErrors(soak::ErrorWatch& watch)
{
    // The overview reports its frame size at error level whenever it is laid out.
    watch.expect("frameSize.width");
    // A body cell outside any creature (left when its creature could not be
    // rebuilt, say in a world packed full) is saved and loaded with these lines.
    watch.expect("MPBodyBase is being saved with no ownership!");
    watch.expect("Trying to register MPBodyBase to non existent leader");
}

// The memory a new world is judged by. Under AddressSanitizer resident memory
// also holds the sanitizer's free lists, which keep growing with the mix of
// particle sizes the run has seen: there the growth of the heap in use counts
// instead, against the resident size. The undo snapshot is left out: it is
// one saved world of any size.
long memoryInUseKiB(const soak::ScriptedPlayer& player)
{
#if defined(__SANITIZE_ADDRESS__)
    const size_t heap = __sanitizer_get_current_allocated_bytes();
    const size_t snapshot = player.undoSnapshotBytes();
    return static_cast<long>((heap > snapshot ? heap - snapshot : 0) / 1024);
#else
    return soak::residentKiB() - static_cast<long>(player.undoSnapshotBytes() / 1024);
#endif
}

// The heap's own count of the bytes it has handed out and not had back, so a
// minute line tells memory held from pages the allocator keeps.
long heapInUseKiB()
{
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#elif defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
#else
    return 0;
#endif
}

#if defined(__SANITIZE_ADDRESS__)
constexpr const char* kMemoryInUse = "heap in use";
constexpr bool kHeapAgainstResident = true;
#else
constexpr const char* kMemoryInUse = "resident memory";
constexpr bool kHeapAgainstResident = false;
#endif

// The allocator hands back every free page now, not when it next gets round
// to it: a settled sample then holds what the game keeps, and no wait for the
// allocator depends on how busy the machine is.
void releaseFreeMemory()
{
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_purge_allocator();
#else
    malloc_trim(0);
#endif
}

void recordError(const std::string& line, void* context)
{
    static_cast<soak::ErrorWatch*>(context)->observe(line);
}

// A fresh folder for the run's home, data and documents.
std::string makeHome()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tesmora-soak-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return {};
    for (const char* sub : {"/data", "/docs", "/config"})
        mkdir((pattern + sub).c_str(), 0700);
    setenv("HOME", pattern.c_str(), 1);
    setenv("XDG_DATA_HOME", (pattern + "/data").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (pattern + "/docs").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (pattern + "/config").c_str(), 1);
    return pattern;
}

// What the application does at launch, without the intro.
bool launch(std::string& error)
{
    const platform::StartResult started = platform::PlatformServices::start();
    if (!started.ok) {
        error = "the platform services did not start: " + started.cause;
        return false;
    }
    installGameHost();
    CCDirector* director = CCDirector::sharedDirector();
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    view->setFrameSize(800, 600);
    director->setOpenGLView(view);
    director->getKeypadDispatcher()->addDelegate(BackButtonAdapter::getInstance());
    computeScreenMetrics(director->getWinSizeInPixels());
    CocosDenshion::SimpleAudioEngine::sharedEngine()->setBackendForTests(true);
    // No call log, as in the game: a log filling up would count as growth.
    CocosDenshion::SimpleAudioEngine::sharedEngine()->keepCallLog(false);
    initDocumentsFolders();
    initSaveFolder();
    makeDirectories(joinPath(saveFolder, "user"), true);
    Profile::getInstance()->load(false);
    // Mana for every priced element the player chooses to buy: a new
    // player's mana runs out after a few, and the rest would never be played.
    Profile::getInstance()->setMana(100'000'000);
    if (CCDictionary* table = CCDictionary::createWithContentsOfFile(LocalUtils::tableFileForLanguage(0))) {
        table->retain();
        localizationTable = table;
    }
    ParticleCreator::resetElementsCreated();
    initColorsAndShadows();
    SinCosTable::generateIfNecessary();
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    soak::Options options;
    std::string error;
    if (!soak::parseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "soak: %s\nusage: soak [minutes of play | --steps N] [--seed N] [--wall-limit SECONDS]\n",
                     error.c_str());
        return 2;
    }
    const unsigned seed =
        options.seedGiven ? options.seed : static_cast<unsigned>(platform::gameTime() * 2654435761u ^ getpid());
    // One seed and one length of play make one run, frame for frame, on any
    // machine and under any load; these replace it.
    const bool bySteps = options.steps > 0;
    char length[64];
    if (bySteps)
        std::snprintf(length, sizeof length, "--steps %lld", static_cast<long long>(options.steps));
    else
        std::snprintf(length, sizeof length, "%g", options.minutes);
    const std::string replay = std::string(argv[0]) + " " + length + " --seed " + std::to_string(seed) +
        " (this build), or: bash scripts/soak " + length + " --seed " + std::to_string(seed) +
        (kHeapAgainstResident ? "" : " --optimised");
    if (bySteps)
        std::printf("soak: seed %u, %lld world steps (again: %s)\n", seed, static_cast<long long>(options.steps),
                    replay.c_str());
    else
        std::printf("soak: seed %u, %g minutes of play (again: %s)\n", seed, options.minutes, replay.c_str());
    std::fflush(stdout);

    const std::string home = makeHome();
    if (home.empty()) {
        std::fprintf(stderr, "soak: no temporary folder\n");
        return 2;
    }
    CCEGLView::setRunMode(kCCRunModeHeadless);
    platform::setManualGameTime(1767225600);
    platform::seedGameRand(seed);

    soak::ErrorWatch errors;
    expectKnownErrors(errors);
    Logger::setErrorObserver(&recordError, &errors);

    int result = 0;
    soak::ScriptedPlayer player;
    // Every point of the run is a point of play (frames at 60 a second), not
    // of wall time, so a busy machine makes a run slower but not different.
    // A run by steps is judged by steps: its warm-up, samples and end.
    const double playSeconds =
        bySteps ? static_cast<double>(options.steps) / soak::kStepsPerPlaySecond : options.minutes * 60;
    const double runLength = bySteps ? static_cast<double>(options.steps) : playSeconds;
    const double warmup =
        bySteps ? soak::MemoryWatch::warmupForSteps(runLength) : soak::MemoryWatch::warmupFor(runLength);
    const double wallLimit = options.wallLimitSeconds > 0 ? options.wallLimitSeconds : soak::wallLimitFor(playSeconds);
    soak::MemoryWatch memory(warmup);
    soak::MemoryWatch resident(warmup);
    const auto begin = std::chrono::steady_clock::now();
    auto wall = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count(); };
    auto played = [&] { return static_cast<double>(player.counts().frames) / 60.0; };
    auto progress = [&] { return bySteps ? static_cast<double>(player.worldStepsRun()) : played(); };
    bool gaveUp = false;
    if (!launch(error) || !player.start(error)) {
        std::fprintf(stderr, "soak: %s\n", error.c_str());
        result = 1;
    } else {
        double nextReport = 60;
        const double settleEvery =
            bySteps ? soak::MemoryWatch::settleEverySteps(runLength) : soak::MemoryWatch::settleEvery(runLength);
        double nextSettle = settleEvery;
        // A fault is reported at the end; the play goes on, so that one run
        // shows every kind of fault it meets.
        while (progress() < runLength) {
            if (wall() > wallLimit) {
                gaveUp = true;
                break;
            }
            player.act();
            resident.sample(soak::residentKiB());
            if (progress() >= nextSettle) {
                player.startAfresh();
                releaseFreeMemory();
                resident.settledSample(progress(), soak::residentKiB());
                memory.settledSample(progress(), memoryInUseKiB(player));
                nextSettle += settleEvery;
            }
            if (wall() >= nextReport) {
                // Beside it the heap in use and the world's own holdings: room
                // of the replacement queue, bytes of the lights' grids.
                std::printf("soak: %.0f s, %.0f s of play, %lld steps, %lld strokes, resident %ld KiB, heap in "
                            "use %ld KiB, queue room %zu, light grids %zu KiB\n",
                            wall(), played(), static_cast<long long>(player.worldStepsRun()),
                            static_cast<long long>(player.counts().strokes), resident.last(), heapInUseKiB(),
                            gWorld ? gWorld->pendingReplacementCapacity() : size_t{0},
                            gWorld ? gWorld->lightMap.gridBytes() / 1024 : size_t{0});
                std::fflush(stdout);
                nextReport += 60;
            }
        }
    }
    Logger::setErrorObserver(nullptr, nullptr);

    const soak::Counts& c = player.counts();
    std::printf("soak: seed %u, %.0f s of play in %.0f s, %lld frames, %lld world steps\n", seed, played(), wall(),
                static_cast<long long>(c.frames), static_cast<long long>(player.worldStepsRun()));
    std::printf("steps: %lld (%lld begun)\nstrokes: %lld\nsaves: %lld\nloads: %lld\ndeletes: %lld\nresets: %lld\n",
                static_cast<long long>(player.worldStepsRun()), static_cast<long long>(player.worldSteps()),
                static_cast<long long>(c.strokes), static_cast<long long>(c.saves), static_cast<long long>(c.loads),
                static_cast<long long>(c.deletes), static_cast<long long>(c.resets));
    std::printf("undos: %lld, zooms: %lld, pans: %lld, settings: %lld, brush sizes: %lld\n",
                static_cast<long long>(c.undos), static_cast<long long>(c.zooms), static_cast<long long>(c.pans),
                static_cast<long long>(c.settings), static_cast<long long>(c.brushSizes));
    std::printf("elements used: %zu of %zu, tools used: %zu of 5, expected error lines: %lld\n", player.elementsUsed(),
                player.elementsOffered(), player.toolsUsed(), static_cast<long long>(errors.expectedCount()));
    std::printf("resident memory: peak %ld KiB, final %ld KiB; in a new world after the warm-up %ld KiB, at most "
                "%ld KiB later\n",
                resident.peak(), resident.last(), resident.baseline(), resident.highestSettled());
    std::printf("%s in a new world: %ld KiB after the warm-up, at most %ld KiB later (%d samples)\n", kMemoryInUse,
                memory.baseline(), memory.highestSettled(), memory.settledCount());

    std::string samples;
    const char* unit = bySteps ? " steps: " : " s: ";
    for (const auto& [at, kib] : memory.settled())
        samples += (samples.empty() ? "" : ", ") + std::to_string(static_cast<long>(at)) + unit + std::to_string(kib);
    std::printf("%s in a new world by %s (KiB): %s\n", kMemoryInUse, bySteps ? "world steps" : "seconds of play",
                samples.c_str());
    // The run in one line: what it played and its memory at start and end.
    std::printf("soak line: %lld steps (%s), %.0f min of play, %lld strokes; %s in a new world %ld KiB at the start "
                "(after the warm-up of %.0f %s), %ld KiB at the end, at most %ld KiB\n",
                static_cast<long long>(player.worldStepsRun()), bySteps ? "a run by steps" : "a run by minutes",
                played() / 60.0, static_cast<long long>(c.strokes), kMemoryInUse, memory.baseline(), warmup,
                bySteps ? "steps" : "s of play", memory.lastSettled(), memory.highestSettled());

    // Each failure names its rule and its figures.
    if (gaveUp) {
        std::printf("soak FAILED [wall-time limit]: gave up after %.0f s of wall time with %.0f of %.0f %s done "
                    "(the limit is %.0f s; --wall-limit sets it)\n",
                    wall(), progress(), runLength, bySteps ? "steps" : "s of play", wallLimit);
        result = 1;
    }
    if (!player.fault().empty()) {
        std::printf("soak FAILED [wrong state]: %s; %d more after it\n", player.fault().c_str(), player.laterFaults());
        result = 1;
    }
    for (size_t i = 0; i < errors.unexpected().size() && i < 20; ++i) {
        std::printf("soak FAILED [unexpected error line]: %s", errors.unexpected()[i].c_str());
        result = 1;
    }
    if (errors.unexpected().size() > 20)
        std::printf("soak FAILED [unexpected error line]: %zu more\n", errors.unexpected().size() - 20);
    const long reference = kHeapAgainstResident ? resident.baseline() : 0;
    if (memory.grewTooMuch(reference)) {
        std::printf("soak FAILED [memory in a new world]: %s in a new world grew from %ld KiB (the first sample after "
                    "the warm-up of %.0f %s) to %ld KiB, by %ld KiB; the rule allows 5 %% of the %s %ld KiB, "
                    "%ld KiB\n",
                    kMemoryInUse, memory.baseline(), warmup, bySteps ? "steps" : "s of play", memory.highestSettled(),
                    memory.highestSettled() - memory.baseline(), kHeapAgainstResident ? "resident" : "baseline",
                    reference > 0 ? reference : memory.baseline(), memory.allowedGrowth(reference));
        result = 1;
    }
    if (result == 0)
        std::printf("soak passed\n");
    else
        std::printf("soak: replay: %s\n", replay.c_str());
    std::fflush(stdout);

    CCDirector::sharedDirector()->resetForTests();
    CCPoolManager::sharedPoolManager()->drain();
    platform::PlatformServices::shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
