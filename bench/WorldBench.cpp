// The world benchmark: standard scenes on a full 240 x 160 world, timed one
// world step per iteration. Reports world steps per second and the time per
// particle update, counts heap allocations per step, and checks that each
// scene still holds what it claims (its census, bench/scenes) once built and
// after its timed steps: a scene that lost it fails, and the program exits 1.
//
//   mixed    every cell inside the border, bands of eight rows cycling sand,
//            water, stone, wood, oil and wax from the bottom up; settled for
//            200 steps first
//   burning  a forest of wood columns on stone, set alight at the bottom and
//            timed while it burns (rebuilt, untimed, when it has burnt down)
//   lights   300 Bright particles (radius-10 lights) spread over stone, with
//            the light overlay and the sun on
//   acid_virus  stone floor, a metal wire, bands of the nine gems, 40 rows of
//            water, 30 of acid and wood to the top around a 30 x 30 virus
//            block; 300 steps a build, rebuilt untimed
//   blasts   40 blocks of C4 and TNT on sand set off by sparks and hot lava,
//            100 bombs and 20 meteors dropped, 200 fireworks on a plate at
//            2000; 200 steps a build
//   storm    weather on, water over stone with a metal wire, 6,400 cloud
//            cells in eight blocks high up that merge, rain, snow and spark;
//            600 steps a build
//   living   stone floor, a mud bed over two thirds with trees grown from
//            seeds, grass and flowers, an algae pond on mud with 40 fish and
//            4 deep-sea fish, grown 1,000 steps untimed; then 60 wild bees,
//            20 fireflies and 10 flamingos; 1,200 steps a build
//   alien    in the dark: a xenovine field with piranthas and 5 stingers
//            hunting the fish of a pond beside it; 600 steps a build
//   mixed_10000_steps, storm_10000_steps  one scene stepped 10,000 times:
//            memory must stay flat
//   charge_field  60 rows of packed TNT over a sand bed, set off by lava:
//            the worst step, the queued changes and memory; 100 steps a build
//   wired    a Metal lattice (~6,000 cells) fed by 24 Power sources of
//            periods 4-32, with CrossWires, Bulbs, Heaters, Coolers, 600 LEDs,
//            100 sensors of every kind, 30 belts carrying sand and 20
//            instruments; settled for 200 steps first
//   lasers   24 lasers and powered transmitters firing through glass
//            splitters and corners and the nine gems onto stone; counts the
//            beam cells traced a step; 200 steps a build
//   pipes    8 inlets in water and sand, a 4,000-cell block of Pipe and 48
//            LED-tagged outlets; reports the worst step too
//   critters grassy soil hills on stone with 60 rabbits, 40 falling blocks
//            and 4 lions without prey (each runs a full path search every
//            update), the 12 invaders above a wall ceiling; settled for 500
//            steps, rebuilt untimed every 1,200 steps
//   traffic  the mixed bands in the lower 96 rows, settled, a stone road over
//            them between end walls and five vehicles driving (a beetle, a
//            sports car, two trucks hauling sand, a tank shelling a stone
//            target); rebuilt untimed every 600 steps
//   colony   soil and stone, a wood forest, a stone-and-gem hill, grass with
//            40 rabbits, a pond; 6 humans at work and 4 lions, 5 guardian
//            robots on a walled shelf above; settled for 500 steps, rebuilt
//            untimed every 1,200 steps
//   path_worst  one 6 x 2 path search (limits 10/10) for a kind that is not
//            there, over stone shelves every 8 rows with gaps: all 180 waves
//
// Allocations are counted in every timed step. A scene built once was settled
// before its timing, and every step counts. A scene that is rebuilt warms up
// in its first build (the run's first storm, first creatures and first
// blasts take the room that later ones reuse) and in the first kWarmUpSteps
// steps of each later build (each build is a new world, which takes what it
// keeps from step to step); allocs_per_step counts the steps after those,
// warmup_allocs_per_build the ones before. The particle pool taking a chunk
// for 256 more particles of one size, as a world's population of a kind
// reaches a new high, is counted apart (pool_chunks_per_build).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

#include "SimpleAudioEngine.h"
#include "campaigns/CampaignRows.h"
#include "campaigns/Campaigns.h"
#include "cocos2d.h"
#include "elements/creatures/PathSearch.h"
#include "elements/materials/Lasers.h"
#include "elements/materials/Pipes.h"
#include "goals/AchievementManager.h"
#include "profile/Profile.h"
#include "screens/GameWiring.h"
#include "scene/GameLayer.h"
#include "scenes/WorldScenes.h"
#include "support/BenchSupport.h"
#include "world/ColorTables.h"
#include "world/ParticleCreator.h"
#include "world/ParticlePool.h"
#include "world/World.h"

// Every allocation of the process is counted, so a step that allocates shows.
#include "support/CountingAllocator.h"

namespace {

using scenes::BenchWorld;
using scenes::Moment;
using scenes::Scene;

constexpr uint32_t id(const char* name)
{
    return hashString(name);
}

// Every scene steps the same number of times in every run, so two builds
// measure the same stretch of the scene's life (the worlds change as they run).
constexpr int kSceneSteps = 2000;
// The steps after a build that the allocation count leaves to the warm-up.
constexpr int kWarmUpSteps = 100;

const Scene& sceneNamed(const char* name)
{
    const Scene* scene = scenes::findScene(name);
    if (!scene)
        std::abort();
    return *scene;
}

// Takes the scene's census: the first missing population is kept as the
// scene's failure; the counts are the scene's counters.
void takeCensus(const Scene& scene, const BenchWorld& b, Moment moment, std::string& failure,
                benchmark::State* counters)
{
    const std::vector<scenes::Population> census = scene.census(b, moment);
    if (failure.empty())
        failure = scenes::missingPopulation(scene, census, moment);
    if (counters)
        for (const scenes::Population& p : census)
            counters->counters[p.name] = p.count;
}

struct SceneHooks {
    // Untimed, with the world about to be dropped for a new build (and at the end).
    std::function<void(BenchWorld&)> beforeRebuild;
    // Untimed, with a new build.
    std::function<void(BenchWorld&)> built;
    // Each timed step's milliseconds, when given.
    std::vector<double>* stepMs = nullptr;
};

// Times the scene's steps, one per iteration, rebuilding it untimed every
// stepsPerBuild steps; reports steps per second, the time per particle
// update, allocations per step and the census after the last step.
void runScene(benchmark::State& state, const Scene& scene, const SceneHooks& hooks = {})
{
    std::unique_ptr<BenchWorld> b;
    std::string failure;
    long updates = 0;
    long allocations = 0;
    long countedSteps = 0;
    long warmUpAllocations = 0;
    long poolChunks = 0;
    long builds = 0;
    int stepsInScene = 0;
    for (auto _ : state) {
        if (!b || (scene.stepsPerBuild > 0 && stepsInScene == scene.stepsPerBuild)) {
            state.PauseTiming();
            if (b) {
                takeCensus(scene, *b, Moment::Stepped, failure, nullptr);
                if (hooks.beforeRebuild)
                    hooks.beforeRebuild(*b);
            }
            b.reset();
            b = std::make_unique<BenchWorld>();
            scene.build(*b);
            ++builds;
            takeCensus(scene, *b, Moment::Built, failure, nullptr);
            if (hooks.built)
                hooks.built(*b);
            stepsInScene = 0;
            state.ResumeTiming();
        }
        updates += b->world->particleCount();
        const long before = countingallocator::allocations.load(std::memory_order_relaxed);
        const size_t chunksBefore = particleMemory().chunkCount();
        const bool counted = scene.stepsPerBuild == 0 || (builds > 1 && stepsInScene >= kWarmUpSteps);
        if (hooks.stepMs) {
            const auto start = std::chrono::steady_clock::now();
            scene.step(*b);
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
            hooks.stepMs->push_back(took.count());
        } else {
            scene.step(*b);
        }
        // A chunk for 256 more particles of one size is the pool growing
        // with the world's population, counted apart.
        const auto chunks = static_cast<long>(particleMemory().chunkCount()) - static_cast<long>(chunksBefore);
        const long allocated =
            countingallocator::allocations.load(std::memory_order_relaxed) - before - std::max(chunks, 0L);
        poolChunks += std::max(chunks, 0L);
        if (counted) {
            allocations += allocated;
            ++countedSteps;
        } else {
            warmUpAllocations += allocated;
        }
        ++stepsInScene;
    }
    if (b) {
        takeCensus(scene, *b, Moment::Stepped, failure, &state);
        if (hooks.beforeRebuild)
            hooks.beforeRebuild(*b);
    }
    state.counters["steps_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    // Seconds per particle update: shown with an SI suffix ("52n" = 52 ns).
    state.counters["per_particle"] =
        benchmark::Counter(static_cast<double>(updates), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["allocs_per_step"] =
        countedSteps > 0 ? static_cast<double>(allocations) / static_cast<double>(countedSteps) : 0.0;
    if (scene.stepsPerBuild > 0)
        state.counters["warmup_allocs_per_build"] =
            static_cast<double>(warmUpAllocations) / static_cast<double>(std::max(builds, 1L));
    state.counters["pool_chunks_per_build"] =
        static_cast<double>(poolChunks) / static_cast<double>(std::max(builds, 1L));
    if (!failure.empty())
        benchsupport::fail(state, failure);
}

void BM_mixed(benchmark::State& state)
{
    runScene(state, sceneNamed("mixed"));
}
BENCHMARK(BM_mixed)->Name("mixed")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

// The goals' check of a step with one of the largest campaign missions
// active and never passing: PixelArt's great painting counts all its 4,582
// cells, Robot's valley reads 3,424 cells for robot leaders (one stands on the
// last), Zombie's pit 1,122 for a zombie. Reports microseconds per check.
void BM_goalsCheck(benchmark::State& state)
{
    struct Active {
        int mode;
        const char* mission;
    };
    static const Active kActive[] = {{4, "Pix_PaintHard"}, {9, "RobotLv10c"}, {8, "ZombieLv3"}};
    const Active& a = kActive[state.range(0)];
    BenchWorld b;
    if (a.mode == 9)
        b.put(82, 63, id("RobotLeader"));
    AchievementManager* goals = AchievementManager::getInstance();
    goals->addMission(makeCampaignMission(*campaignOfMode(a.mode), a.mission));
    goals->checkMissions();  // texts a test needs are made at its first check
    const long allocationsBefore = countingallocator::allocations.load();
    for (auto _ : state)
        goals->checkMissions();
    state.counters["allocs_per_check"] =
        static_cast<double>(countingallocator::allocations.load() - allocationsBefore) /
        static_cast<double>(state.iterations());
    state.counters["active"] = goals->activeCount();
    state.SetLabel(a.mission);
    AchievementManager::resetInstanceForTests();
}
BENCHMARK(BM_goalsCheck)->Name("goals_check")->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_burning(benchmark::State& state)
{
    int woodAtStart = 0;
    double burntShare = 0.0;
    int scenes = 0;
    SceneHooks hooks;
    hooks.built = [&](BenchWorld& b) { woodAtStart = b.count(id("Wood")); };
    hooks.beforeRebuild = [&](BenchWorld& b) {
        // The last build is cut short by the end of the timing: not counted.
        if (b.world->stepsBegun >= 300) {
            burntShare += 1.0 - static_cast<double>(b.count(id("Wood"))) / woodAtStart;
            ++scenes;
        }
    };
    runScene(state, sceneNamed("burning"), hooks);
    // How much of the forest a scene's 300 steps burn.
    if (scenes > 0)
        state.counters["wood_burnt"] = burntShare / scenes;
}
BENCHMARK(BM_burning)->Name("burning")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_lights(benchmark::State& state)
{
    runScene(state, sceneNamed("lights"));
}
BENCHMARK(BM_lights)->Name("lights")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_acidVirus(benchmark::State& state)
{
    runScene(state, sceneNamed("acid_virus"));
}
BENCHMARK(BM_acidVirus)->Name("acid_virus")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_blasts(benchmark::State& state)
{
    runScene(state, sceneNamed("blasts"));
}
BENCHMARK(BM_blasts)->Name("blasts")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_storm(benchmark::State& state)
{
    runScene(state, sceneNamed("storm"));
}
BENCHMARK(BM_storm)->Name("storm")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_living(benchmark::State& state)
{
    runScene(state, sceneNamed("living"));
}
BENCHMARK(BM_living)->Name("living")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_alien(benchmark::State& state)
{
    runScene(state, sceneNamed("alien"));
}
BENCHMARK(BM_alien)->Name("alien")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_critters(benchmark::State& state)
{
    runScene(state, sceneNamed("critters"));
}
BENCHMARK(BM_critters)->Name("critters")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_colony(benchmark::State& state)
{
    runScene(state, sceneNamed("colony"));
}
BENCHMARK(BM_colony)->Name("colony")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_pathWorst(benchmark::State& state)
{
    BenchWorld b;
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x)
        b.put(x, 1, id("Stone"));
    for (int y = 9; y < w.height - 8; y += 8)
        for (int x = 1; x < w.width - 1; ++x)
            if ((x + y * 5) % 24 >= 4)  // gaps four cells wide, staggered
                b.put(x, y, id("Stone"));
    PathSearch search(6, 2);
    search.addGoalKind(id("Ruby"));
    long nodes = 0;
    long walkers = 0;
    long waves = 0;
    const long allocationsBefore = countingallocator::allocations.load();
    for (auto _ : state) {
        search.findPath(120, 146);  // on the top shelf
        nodes += search.nodesMade;
        walkers += search.walkersExpanded;
        waves += search.waveBudget - search.wavesLeft;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["nodes"] = static_cast<double>(nodes) / n;
    state.counters["walkers"] = static_cast<double>(walkers) / n;
    state.counters["waves"] = static_cast<double>(waves) / n;
    state.counters["allocs_per_search"] =
        static_cast<double>(countingallocator::allocations.load() - allocationsBefore) / n;
}
BENCHMARK(BM_pathWorst)->Name("path_worst")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

long residentKilobytes()
{
    long pages = 0;
    long resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// 10,000 steps of the mixed scene in one go: memory must stay flat.
void BM_mixedLong(benchmark::State& state)
{
    for (auto _ : state) {
        BenchWorld b;
        buildSettledMixed(b);
        const long before = residentKilobytes();
        const long allocationsBefore = countingallocator::allocations.load();
        for (int i = 0; i < 10000; ++i)
            b.world->step();
        state.counters["rss_growth_kb"] = static_cast<double>(residentKilobytes() - before);
        state.counters["allocs_per_step"] =
            static_cast<double>(countingallocator::allocations.load() - allocationsBefore) / 10000.0;
    }
}
BENCHMARK(BM_mixedLong)->Name("mixed_10000_steps")->Iterations(1)->Unit(benchmark::kSecond);

// 10,000 steps of one storm: the clouds rain out and spark, memory stays flat.
void BM_stormLong(benchmark::State& state)
{
    for (auto _ : state) {
        BenchWorld b;
        buildStorm(b);
        b.world->step();
        const long before = residentKilobytes();
        const long allocationsBefore = countingallocator::allocations.load();
        long afterFirstScene = 0;
        long liveAfterFirstScene = 0;
        for (int i = 0; i < 10000; ++i) {
            b.world->step();
            // As the director does every frame: the boxes of freed cloud
            // groups are released here.
            cocos2d::CCPoolManager::sharedPoolManager()->drain();
            // The groups' member lists have grown to their merged sizes by now.
            if (i == 600) {
                afterFirstScene = residentKilobytes();
                liveAfterFirstScene = countingallocator::allocations.load() - countingallocator::frees.load();
            }
        }
        // Heap blocks still held that were not held after the first scene.
        state.counters["live_allocs_growth_after_600"] = static_cast<double>(
            countingallocator::allocations.load() - countingallocator::frees.load() - liveAfterFirstScene);
        state.counters["rss_growth_kb"] = static_cast<double>(residentKilobytes() - before);
        state.counters["rss_growth_after_600_kb"] = static_cast<double>(residentKilobytes() - afterFirstScene);
        state.counters["allocs_per_step"] =
            static_cast<double>(countingallocator::allocations.load() - allocationsBefore) / 10000.0;
        state.counters["clouds_left"] = b.count(id("Cloud"));
    }
}
BENCHMARK(BM_stormLong)->Name("storm_10000_steps")->Iterations(1)->Unit(benchmark::kSecond);

void BM_chargeField(benchmark::State& state)
{
    const long before = residentKilobytes();
    long peak = before;
    std::unique_ptr<BenchWorld> b;
    int stepsInScene = 0;
    double worst = 0.0;
    size_t mostQueued = 0;
    size_t mostRoom = 0;
    for (auto _ : state) {
        if (!b || stepsInScene == 100) {
            state.PauseTiming();
            b.reset();
            b = std::make_unique<BenchWorld>();
            buildChargeField(*b);
            stepsInScene = 0;
            state.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        b->world->step();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        worst = std::max(worst, took.count());
        mostQueued = std::max(mostQueued, b->world->pendingReplacementCount());
        mostRoom = std::max(mostRoom, b->world->pendingReplacementCapacity());
        ++stepsInScene;
        state.PauseTiming();
        peak = std::max(peak, residentKilobytes());
        state.ResumeTiming();
    }
    b.reset();
    state.counters["worst_step_ms"] = worst;
    state.counters["most_queued"] = static_cast<double>(mostQueued);
    state.counters["queue_room"] = static_cast<double>(mostRoom);
    state.counters["rss_peak_growth_kb"] = static_cast<double>(peak - before);
    state.counters["rss_left_kb"] = static_cast<double>(residentKilobytes() - before);
}
BENCHMARK(BM_chargeField)->Name("charge_field")->Iterations(300)->Unit(benchmark::kMillisecond);

void BM_wired(benchmark::State& state)
{
    uint64_t playsBefore = 0;
    SceneHooks hooks;
    hooks.built = [&](BenchWorld&) { playsBefore = CocosDenshion::SimpleAudioEngine::sharedEngine()->effectsPlayed(); };
    runScene(state, sceneNamed("wired"), hooks);
    state.counters["plays"] =
        static_cast<double>(CocosDenshion::SimpleAudioEngine::sharedEngine()->effectsPlayed() - playsBefore);
}
BENCHMARK(BM_wired)->Name("wired")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_lasers(benchmark::State& state)
{
    const int64_t walkedBefore = LaserBase::cellsWalked;
    runScene(state, sceneNamed("lasers"));
    state.counters["beam_cells_per_step"] =
        static_cast<double>(LaserBase::cellsWalked - walkedBefore) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_lasers)->Name("lasers")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_pipes(benchmark::State& state)
{
    std::vector<double> stepTimes;
    stepTimes.reserve(1 << 16);
    SceneHooks hooks;
    hooks.stepMs = &stepTimes;
    runScene(state, sceneNamed("pipes"), hooks);
    if (!stepTimes.empty()) {
        state.counters["worst_step_ms"] = *std::max_element(stepTimes.begin(), stepTimes.end());
        std::sort(stepTimes.begin(), stepTimes.end());
        state.counters["p99_step_ms"] = stepTimes[stepTimes.size() * 99 / 100];
    }
    // The same measure on the settled mixed scene, in this run: a single
    // worst step mostly shows the machine, not the scene.
    BenchWorld mixed;
    scenes::buildSettledMixed(mixed);
    double mixedWorst = 0.0;
    for (int i = 0; i < 1000; ++i) {
        const auto start = std::chrono::steady_clock::now();
        mixed.world->step();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        mixedWorst = std::max(mixedWorst, took.count());
    }
    state.counters["mixed_worst_step_ms"] = mixedWorst;
    state.counters["outlets_read_per_cell"] = PipeNetwork::getInstance().maxOutletsReadPerCell;
}
BENCHMARK(BM_pipes)->Name("pipes")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_traffic(benchmark::State& state)
{
    runScene(state, sceneNamed("traffic"));
}
BENCHMARK(BM_traffic)->Name("traffic")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

// The profile and the game layer write nothing outside a temporary home.
std::string useTemporaryHome()
{
    char pattern[] = "/tmp/tesmora-bench-XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir)
        return {};
    const std::string home(dir);
    {
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", (home + "/docs").c_str(), 1);
    }
    return home;
}

}  // namespace

int main(int argc, char** argv)
{
    benchsupport::quietGameLog("world_bench");
    const std::string home = useTemporaryHome();
    // As the game starts: the record of elements made lists every name.
    ParticleCreator::resetElementsCreated();
    initColorsAndShadows();
    installGameHost();
    GameLayer::getInstance();
    Profile::getInstance();
    const int status = benchsupport::runBenchmarks(argc, argv);
    if (!home.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
    }
    return status;
}
