// The world benchmark: standard scenes on a full 240 x 160 world, timed one
// world step per iteration. Reports world steps per second and the time per
// particle update, and counts heap allocations per step.
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
//   mixed_10000_steps, storm_10000_steps  one scene stepped 10,000 times:
//            memory must stay flat
//   critters grassy soil hills on stone with 60 rabbits, 40 falling blocks,
//            the 12 invaders and 4 lions without prey (each runs a full
//            path search every update); settled for 500 steps, rebuilt
//            untimed every 1,200 steps
//   path_worst  one 6 x 2 path search (limits 10/10) for a kind that is not
//            there, over stone shelves every 8 rows with gaps: all 180 waves
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <unistd.h>

#include "app/Profile.h"
#include "elements/creatures/PathSearch.h"
#include "elements/creatures/SmallCreatures.h"
#include "cocos2d.h"
#include "platform/GameRandom.h"
#include "world/ColorTables.h"
#include "world/GameHost.h"
#include "world/GameLayer.h"
#include "world/ParticleCreator.h"
#include "world/World.h"

namespace {

std::atomic<long> g_allocations{0};
std::atomic<long> g_frees{0};

}  // namespace

// Every allocation of the process is counted, so a step that allocates shows.
// (GCC cannot tell that these replace the global pair; the warning is moot.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    g_frees.fetch_add(p != nullptr, std::memory_order_relaxed);
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    g_frees.fetch_add(p != nullptr, std::memory_order_relaxed);
    std::free(p);
}
#pragma GCC diagnostic pop

namespace {

constexpr uint32_t id(const char* name) { return hashString(name); }

// A fresh full-size world with its border, as the game has after a reset.
class BenchWorld {
public:
    BenchWorld()
    {
        platform::seedGameRand(1234u);
        world = std::make_unique<World>();
        gWorld = world.get();
        world->setBigWorld(true);
        world->placeBorderWalls();
    }
    ~BenchWorld()
    {
        world.reset();
        gWorld = nullptr;
    }
    void put(int x, int y, uint32_t type) { world->addParticle(x, y, type, false); }
    int count(uint32_t type) const
    {
        int n = 0;
        for (Particle* p : world->pool())
            n += p && p->getType() == type;
        return n;
    }

    std::unique_ptr<World> world;
};

void buildMixed(BenchWorld& b)
{
    static const uint32_t kBands[] = {id("Sand"), id("Water"), id("Stone"), id("Wood"), id("Oil"), id("Wax")};
    World& w = *b.world;
    for (int y = 1; y < w.height - 1; ++y) {
        const uint32_t type = kBands[((y - 1) / 8) % 6];
        for (int x = 1; x < w.width - 1; ++x)
            b.put(x, y, type);
    }
}

// The mixed scene after 200 untimed steps, once the first rush has settled.
void buildSettledMixed(BenchWorld& b)
{
    buildMixed(b);
    for (int i = 0; i < 200; ++i)
        b.world->step();
}

// Trunks two cells wide with a gap of one, standing on stone. The gaps'
// feet hold burning oil, and the forest is set alight: its lower half starts
// hot enough for wood to catch (heat spreads too slowly for a flame at the
// foot of a trunk to light the whole of it).
void buildForest(BenchWorld& b)
{
    World& w = *b.world;
    for (int y = 1; y <= 6; ++y)
        for (int x = 1; x < w.width - 1; ++x)
            b.put(x, y, id("Stone"));
    for (int x = 2; x + 2 < w.width - 1; x += 3) {
        for (int y = 7; y < 120; ++y) {
            b.put(x, y, id("Wood"));
            b.put(x + 1, y, id("Wood"));
        }
        for (int y = 7; y <= 10; ++y)
            b.put(x + 2, y, id("OilBurning"));
    }
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 7; y < 60; ++y)
            w.temperatureField.setAt(x, y, 2000.0f);
}

void buildLights(BenchWorld& b)
{
    World& w = *b.world;
    for (int y = 1; y <= 60; ++y)
        for (int x = 1; x < w.width - 1; ++x)
            b.put(x, y, id("Stone"));
    int placed = 0;
    while (placed < 300) {
        const int x = 2 + gameRand() % (w.width - 4);
        const int y = 61 + gameRand() % (w.height - 63);
        if (!w.at(x, y)) {
            b.put(x, y, id("Bright"));
            ++placed;
        }
    }
    w.lightMap.setSunOn(true);
    w.lightMap.setLightOn(true);
}

void report(benchmark::State& state, long particleUpdates, long allocations)
{
    state.counters["steps_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    // Seconds per particle update: shown with an SI suffix ("52n" = 52 ns).
    state.counters["per_particle"] = benchmark::Counter(static_cast<double>(particleUpdates),
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["allocs_per_step"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations());
}

void BM_mixed(benchmark::State& state)
{
    BenchWorld b;
    buildSettledMixed(b);
    long updates = 0;
    const long allocationsBefore = g_allocations.load();
    for (auto _ : state) {
        updates += b.world->particleCount();
        b.world->step();
    }
    report(state, updates, g_allocations.load() - allocationsBefore);
    state.counters["particles"] = b.world->particleCount();
}
BENCHMARK(BM_mixed)->Name("mixed")->Unit(benchmark::kMillisecond);

void BM_burning(benchmark::State& state)
{
    std::unique_ptr<BenchWorld> b;
    long updates = 0;
    long allocations = 0;
    int stepsInScene = 0;
    int woodAtStart = 0;
    double burntShare = 0.0;
    int scenes = 0;
    for (auto _ : state) {
        if (!b || stepsInScene == 300) {
            state.PauseTiming();
            if (b) {
                burntShare += 1.0 - static_cast<double>(b->count(id("Wood"))) / woodAtStart;
                ++scenes;
            }
            b.reset();
            b = std::make_unique<BenchWorld>();
            buildForest(*b);
            woodAtStart = b->count(id("Wood"));
            stepsInScene = 0;
            state.ResumeTiming();
        }
        updates += b->world->particleCount();
        const long before = g_allocations.load();
        b->world->step();
        allocations += g_allocations.load() - before;
        ++stepsInScene;
    }
    report(state, updates, allocations);
    // How much of the forest a scene's 300 steps burn.
    if (scenes > 0)
        state.counters["wood_burnt"] = burntShare / scenes;
}
BENCHMARK(BM_burning)->Name("burning")->Unit(benchmark::kMillisecond);

void BM_lights(benchmark::State& state)
{
    BenchWorld b;
    buildLights(b);
    b.world->step();
    long updates = 0;
    const long allocationsBefore = g_allocations.load();
    for (auto _ : state) {
        updates += b.world->particleCount();
        b.world->step();
    }
    report(state, updates, g_allocations.load() - allocationsBefore);
}
BENCHMARK(BM_lights)->Name("lights")->Unit(benchmark::kMillisecond);

void buildAcidVirus(BenchWorld& b)
{
    static const uint32_t kGems[] = {id("Amatist"), id("Citrine"), id("Diamond"), id("Emerald"), id("Lapislazuli"),
                                     id("Obsidian"), id("Ruby"), id("Sapphire"), id("Zircon")};
    World& w = *b.world;
    const int vx = (w.width - 30) / 2;
    const int vy = w.height - 45;
    for (int x = 1; x < w.width - 1; ++x) {
        for (int y = 1; y <= 3; ++y)
            b.put(x, y, id("Stone"));
        b.put(x, 4, id("Metal"));
        for (int y = 5; y < 14; ++y)
            b.put(x, y, kGems[y - 5]);
        for (int y = 14; y < 54; ++y)
            b.put(x, y, id("Water"));
        for (int y = 54; y < 84; ++y)
            b.put(x, y, id("Acid"));
        for (int y = 84; y < w.height - 1; ++y) {
            const bool virus = x >= vx && x < vx + 30 && y >= vy && y < vy + 30;
            b.put(x, y, virus ? id("Virus") : id("Wood"));
        }
    }
}

void buildBlasts(BenchWorld& b)
{
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 1; y <= 10; ++y)
            b.put(x, y, id("Sand"));
    // Two rows of twenty 6 x 6 blocks: C4 below, TNT above; a spark over
    // every C4 block and a hot lava cell beside every TNT block.
    for (int i = 0; i < 20; ++i) {
        const int x0 = 3 + 11 * i;
        for (int x = x0; x < x0 + 6; ++x)
            for (int y = 11; y < 17; ++y) {
                b.put(x, y, id("C4"));
                b.put(x, y + 8, id("Tnt"));
            }
        b.put(x0 + 2, 19, id("Electro"));
        b.put(x0 + 7, 20, id("Lava"));
        w.temperatureField.setAt(x0 + 7, 20, 2000.0f);
    }
    // A plate of 200 fireworks, lit.
    for (int x = 20; x < 220; ++x) {
        b.put(x, 40, id("Stone"));
        b.put(x, 41, id("Fireworks"));
        w.temperatureField.setAt(x, 41, 2000.0f);
    }
    for (int i = 0; i < 100; ++i)
        b.put(10 + 2 * i + (i / 100), 100 + (i % 3) * 10, id("Bomb"));
    for (int i = 0; i < 20; ++i)
        b.put(12 + 11 * i, w.height - 10, id("Meteor"));
}

void buildStorm(BenchWorld& b)
{
    World& w = *b.world;
    w.weather = true;
    for (int x = 1; x < w.width - 1; ++x) {
        for (int y = 1; y <= 5; ++y)
            b.put(x, y, id("Stone"));
        for (int y = 6; y < 30; ++y)
            b.put(x, y, id("Water"));
        // A broken wire on the water for the lightning to strike.
        if (x % 3 == 0)
            b.put(x, 30, id("Metal"));
    }
    // Eight blocks of 800 cells, 50 x 16, one cell apart, in two rows.
    for (int block = 0; block < 8; ++block) {
        const int x0 = 10 + 55 * (block % 4);
        const int y0 = 100 + 20 * (block / 4);
        for (int x = x0; x < x0 + 50; ++x)
            for (int y = y0; y < y0 + 16; ++y)
                b.put(x, y, id("Cloud"));
    }
    // The left quarter is cold enough for snow.
    for (int x = 1; x < w.width / 4; ++x)
        for (int y = 80; y < w.height - 1; ++y)
            w.temperatureField.setAt(x, y, -2550.0f);
}

// Times a scene that changes as it runs: rebuilt, untimed, every
// `stepsPerBuild` steps.
void runRebuiltScene(benchmark::State& state, void (*build)(BenchWorld&), int stepsPerBuild)
{
    std::unique_ptr<BenchWorld> b;
    long updates = 0;
    long allocations = 0;
    int stepsInScene = 0;
    for (auto _ : state) {
        if (!b || stepsInScene == stepsPerBuild) {
            state.PauseTiming();
            b.reset();
            b = std::make_unique<BenchWorld>();
            build(*b);
            stepsInScene = 0;
            state.ResumeTiming();
        }
        updates += b->world->particleCount();
        const long before = g_allocations.load();
        b->world->step();
        allocations += g_allocations.load() - before;
        ++stepsInScene;
    }
    report(state, updates, allocations);
}

void BM_acidVirus(benchmark::State& state) { runRebuiltScene(state, buildAcidVirus, 300); }
BENCHMARK(BM_acidVirus)->Name("acid_virus")->Unit(benchmark::kMillisecond);

void BM_blasts(benchmark::State& state) { runRebuiltScene(state, buildBlasts, 200); }
BENCHMARK(BM_blasts)->Name("blasts")->Unit(benchmark::kMillisecond);

void BM_storm(benchmark::State& state) { runRebuiltScene(state, buildStorm, 600); }
BENCHMARK(BM_storm)->Name("storm")->Unit(benchmark::kMillisecond);

// Hills of soil on stone, grass on top, and the creatures scattered above.
void buildCritters(BenchWorld& b)
{
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x) {
        const int top = 20 + static_cast<int>(8.0 * std::sin(x / 14.0) + 4.0 * std::sin(x / 5.0));
        for (int y = 1; y <= top; ++y)
            b.put(x, y, id(y < top - 4 ? "Stone" : "Soil"));
        b.put(x, top + 1, id("Grass"));
    }
    // The lions first: their bodies are the largest.
    for (int i = 0; i < 4; ++i)
        b.put(30 + i * 55, 50, id("LionLeader"));
    w.step();
    for (int i = 0; i < 60; ++i)
        b.put(4 + (i * 37) % (w.width - 8), 45 + (i % 5) * 4, id("MPLeaderRabbit"));
    for (int i = 0; i < 40; ++i)
        b.put(6 + (i * 53) % (w.width - 12), 70 + (i % 4) * 8, id("Tetro"));
    for (int i = 0; i < MPInvader::kPictures; ++i) {
        b.put(12 + i * 19, 130 + (i % 2) * 12, id("MPInvader"));
        auto* invader = static_cast<MPInvader*>(w.at(12 + i * 19, 130 + (i % 2) * 12));
        if (!invader)
            continue;
        invader->group = new MPObject();
        invader->group->addLeader(invader);
        invader->buildFromImage(i);
        invader->buildState = -2;
    }
    for (int i = 0; i < 500; ++i)
        w.step();
}

void BM_critters(benchmark::State& state)
{
    runRebuiltScene(state, buildCritters, 1200);
    // What a settled scene holds (built once more, untimed).
    BenchWorld b;
    buildCritters(b);
    state.counters["rabbits"] = b.count(id("MPLeaderRabbit"));
    state.counters["blocks"] = b.count(id("Tetro"));
    state.counters["invaders"] = b.count(id("MPInvader"));
    state.counters["lions"] = b.count(id("LionLeader"));
}
BENCHMARK(BM_critters)->Name("critters")->Unit(benchmark::kMillisecond);

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
    const long allocationsBefore = g_allocations.load();
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
    state.counters["allocs_per_search"] = static_cast<double>(g_allocations.load() - allocationsBefore) / n;
}
BENCHMARK(BM_pathWorst)->Name("path_worst")->Unit(benchmark::kMillisecond);

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
        const long allocationsBefore = g_allocations.load();
        for (int i = 0; i < 10000; ++i)
            b.world->step();
        state.counters["rss_growth_kb"] = static_cast<double>(residentKilobytes() - before);
        state.counters["allocs_per_step"] = static_cast<double>(g_allocations.load() - allocationsBefore) / 10000.0;
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
        const long allocationsBefore = g_allocations.load();
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
                liveAfterFirstScene = g_allocations.load() - g_frees.load();
            }
        }
        // Heap blocks still held that were not held after the first scene.
        state.counters["live_allocs_growth_after_600"] =
            static_cast<double>(g_allocations.load() - g_frees.load() - liveAfterFirstScene);
        state.counters["rss_growth_kb"] = static_cast<double>(residentKilobytes() - before);
        state.counters["rss_growth_after_600_kb"] = static_cast<double>(residentKilobytes() - afterFirstScene);
        state.counters["allocs_per_step"] = static_cast<double>(g_allocations.load() - allocationsBefore) / 10000.0;
        state.counters["clouds_left"] = b.count(id("Cloud"));
    }
}
BENCHMARK(BM_stormLong)->Name("storm_10000_steps")->Iterations(1)->Unit(benchmark::kSecond);

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
    const std::string home = useTemporaryHome();
    initColorsAndShadows();
    installGameHost();
    GameLayer::getInstance();
    Profile::getInstance();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!home.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
    }
    return 0;
}
