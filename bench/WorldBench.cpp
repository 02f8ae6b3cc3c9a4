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
//   critters grassy soil hills on stone with 60 rabbits, 40 falling blocks,
//            the 12 invaders and 4 lions without prey (each runs a full
//            path search every update); settled for 500 steps, rebuilt
//            untimed every 1,200 steps
//   traffic  the mixed bands in the lower 96 rows, settled, a stone road over
//            them between end walls and five vehicles driving (a beetle, a
//            sports car, two trucks hauling sand, a tank shelling a stone
//            target); rebuilt untimed every 600 steps
//   colony   soil and stone, a wood forest, a stone-and-gem hill, grass with
//            40 rabbits, a pond; 6 humans at work, 5 guardian robots, 4
//            lions; settled for 500 steps, rebuilt untimed every 1,200 steps
//   path_worst  one 6 x 2 path search (limits 10/10) for a kind that is not
//            there, over stone shelves every 8 rows with gaps: all 180 waves
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

#include "SimpleAudioEngine.h"
#include "profile/Profile.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/materials/Lasers.h"
#include "elements/materials/Pipes.h"
#include "elements/materials/Wiring.h"
#include "elements/creatures/PathSearch.h"
#include "elements/creatures/CreatureCounts.h"
#include "elements/creatures/SmallCreatures.h"
#include "cocos2d.h"
#include "elements/materials/Powders.h"
#include "platform/GameRandom.h"
#include "world/ColorTables.h"
#include "campaigns/CampaignRows.h"
#include "campaigns/Campaigns.h"
#include "goals/AchievementManager.h"
#include "screens/GameWiring.h"
#include "scene/GameLayer.h"
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

constexpr uint32_t id(const char* name)
{
    return hashString(name);
}

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

// Every scene steps the same number of times in every run, so two builds
// measure the same stretch of the scene's life (the worlds change as they run).
constexpr int kSceneSteps = 2000;

void report(benchmark::State& state, long particleUpdates, long allocations)
{
    state.counters["steps_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    // Seconds per particle update: shown with an SI suffix ("52n" = 52 ns).
    state.counters["per_particle"] = benchmark::Counter(static_cast<double>(particleUpdates),
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["allocs_per_step"] = static_cast<double>(allocations) / static_cast<double>(state.iterations());
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
    const long allocationsBefore = g_allocations.load();
    for (auto _ : state)
        goals->checkMissions();
    state.counters["allocs_per_check"] =
        static_cast<double>(g_allocations.load() - allocationsBefore) / static_cast<double>(state.iterations());
    state.counters["active"] = goals->activeCount();
    state.SetLabel(a.mission);
    AchievementManager::resetInstanceForTests();
}
BENCHMARK(BM_goalsCheck)->Name("goals_check")->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

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
BENCHMARK(BM_burning)->Name("burning")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_lights)->Name("lights")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void buildAcidVirus(BenchWorld& b)
{
    static const uint32_t kGems[] = {id("Amatist"),  id("Citrine"), id("Diamond"),  id("Emerald"), id("Lapislazuli"),
                                     id("Obsidian"), id("Ruby"),    id("Sapphire"), id("Zircon")};
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

void BM_acidVirus(benchmark::State& state)
{
    runRebuiltScene(state, buildAcidVirus, 300);
}
BENCHMARK(BM_acidVirus)->Name("acid_virus")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_blasts(benchmark::State& state)
{
    runRebuiltScene(state, buildBlasts, 200);
}
BENCHMARK(BM_blasts)->Name("blasts")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_storm(benchmark::State& state)
{
    runRebuiltScene(state, buildStorm, 600);
}
BENCHMARK(BM_storm)->Name("storm")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

// The living scenes.
void buildPond(BenchWorld& b, int x0, int x1, int fish, int deepSeaFish)
{
    for (int y = 4; y <= 30; ++y) {
        b.put(x0 - 1, y, id("Wall"));
        b.put(x1 + 1, y, id("Wall"));
    }
    for (int x = x0; x <= x1; ++x) {
        for (int y = 4; y <= 5; ++y)
            b.put(x, y, id("Mud"));
        for (int y = 6; y <= 28; ++y)
            b.put(x, y, id("Water"));
    }
    for (int x = x0 + 4; x <= x1 - 4; x += 8)
        b.put(x, 6, id("Algae"));
    World& w = *b.world;
    for (int i = 0; i < fish + deepSeaFish; ++i) {
        const int x = x0 + 1 + (i * 7) % (x1 - x0 - 1);
        const int y = 8 + (i * 5) % 18;
        w.removeParticle(x, y);
        b.put(x, y, id(i < fish ? "Fish" : "DeepSeaFish"));
    }
}

void buildLiving(BenchWorld& b)
{
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 1; y <= 3; ++y)
            b.put(x, y, id("Stone"));
    const int bedEnd = (w.width - 2) * 2 / 3;
    for (int x = 1; x <= bedEnd; ++x)
        for (int y = 4; y <= 7; ++y)
            b.put(x, y, id("Mud"));
    for (int x = 12; x < bedEnd - 8; x += 22)
        b.put(x, 40, id("Seed"));
    for (int x = 5; x < bedEnd; x += 6) {
        b.put(x, 8, id("Grass"));
        if (auto* blade = dynamic_cast<SeededGrowth*>(w.at(x, 8)))
            blade->seedGrowth(2, x % 12 == 5);
    }
    buildPond(b, bedEnd + 3, w.width - 3, 40, 4);
    w.lightMap.setSunOn(true);
    for (int i = 0; i < 1000; ++i)
        w.step();
    // The animals of the air, placed in free cells.
    auto scatter = [&](const char* kind, int n, int x0, int x1, int y0, int y1) {
        for (int placed = 0, tries = 0; placed < n && tries < 10000; ++tries) {
            const int x = x0 + gameRand() % (x1 - x0 + 1);
            const int y = y0 + gameRand() % (y1 - y0 + 1);
            if (!w.at(x, y)) {
                b.put(x, y, id(kind));
                ++placed;
            }
        }
    };
    scatter("Bee", 60, 5, bedEnd, 50, 120);
    scatter("Firefly", 20, 5, bedEnd, 50, 120);
    scatter("Flamingo", 10, bedEnd + 5, w.width - 5, 40, 60);
}

void buildAlien(BenchWorld& b)
{
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 1; y <= 3; ++y)
            b.put(x, y, id("Stone"));
    const int fieldEnd = 150;
    for (int x = 2; x <= fieldEnd; ++x)
        for (int y = 4; y <= 6; ++y)
            b.put(x, y, id("Soil"));
    for (int x = 4; x <= fieldEnd - 2; x += 2)
        for (int y = 10; y <= 14; y += 2)
            b.put(x, y, id("Xenovine"));
    for (int x = 10; x <= fieldEnd; x += 14)
        b.put(x, 20, id("Pirantha"));
    for (int i = 0; i < 5; ++i)
        b.put(30 + 25 * i, 40, id("Stinger"));
    buildPond(b, fieldEnd + 6, w.width - 3, 40, 4);
    w.lightMap.setSunOn(false);
}

void BM_living(benchmark::State& state)
{
    runRebuiltScene(state, buildLiving, 1200);
}
BENCHMARK(BM_living)->Name("living")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

void BM_alien(benchmark::State& state)
{
    runRebuiltScene(state, buildAlien, 600);
}
BENCHMARK(BM_alien)->Name("alien")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);
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
BENCHMARK(BM_critters)->Name("critters")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

// Six humans at work (two woodchoppers, two miners, a hunter and a builder
// with stock), five guardian robots and four lions by a forest, a stone and
// gem hill, grass with 40 rabbits and a pond.
void buildColony(BenchWorld& b)
{
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x) {
        for (int y = 1; y <= 12; ++y)
            b.put(x, y, id("Stone"));
        for (int y = 13; y <= 16; ++y)
            b.put(x, y, id(x >= 200 && x < 230 ? "Water" : "Soil"));
        if (x >= 130 && x < 195)
            b.put(x, 17, id("Grass"));
    }
    for (int x = 10; x < 40; x += 6)
        for (int y = 17; y < 32; ++y)
            b.put(x, y, id("Wood"));
    for (int x = 95; x < 125; ++x)
        for (int y = 17; y < 17 + std::min(x - 94, 125 - x); ++y)
            b.put(x, y, id(y % 5 == 0 ? "Diamond" : "Stone"));
    for (int i = 0; i < 4; ++i)
        b.put(140 + i * 14, 40, id("LionLeader"));
    w.step();
    for (int i = 0; i < 40; ++i)
        b.put(131 + (i * 7) % 62, 18 + (i % 3) * 3, id("MPLeaderRabbit"));
    const char* dusts[] = {"WoodcutterDust", "WoodcutterDust", "MinerDust", "MinerDust", "HunterDust", "BuilderDust"};
    const int columns[] = {45, 55, 85, 128, 135, 65};
    for (int i = 0; i < 6; ++i) {
        b.put(columns[i], 17, id("HumanLeader"));
        b.put(columns[i] + 2, 40, id(dusts[i]));
    }
    for (int i = 0; i < 5; ++i)
        b.put(20 + i * 40, 60, id("RobotLeader"));
    HumanLeader::replaceResources();
    HumanLeader::addResource("Wood", 20);
    HumanLeader::addResource("Stone", 20);
    for (int i = 0; i < 500; ++i)
        w.step();
}

void BM_colony(benchmark::State& state)
{
    runRebuiltScene(state, buildColony, 1200);
    BenchWorld b;
    buildColony(b);
    state.counters["humans"] = b.count(id("HumanLeader"));
    state.counters["robots"] = b.count(id("RobotLeader"));
    state.counters["lions"] = b.count(id("LionLeader"));
    state.counters["rabbits"] = b.count(id("MPLeaderRabbit"));
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

// A packed charge field: a sand bed under 60 rows of TNT across the whole
// world, a hot lava cell inside. Its heat sets the field off within a few
// steps, thousands of charges in one step, each blast's rays running through
// the sand. Reports the worst step, the most replacements queued for one
// step, the most the queue held room for, and resident memory at the peak
// and once the worlds are gone.
void buildChargeField(BenchWorld& b)
{
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x) {
        for (int y = 1; y <= 40; ++y)
            b.put(x, y, id("Sand"));
        for (int y = 41; y <= 100; ++y)
            b.put(x, y, id(x == 120 && y == 70 ? "Lava" : "Tnt"));
    }
    w.temperatureField.setAt(120, 70, 2000.0f);
}

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

// --- the devices -----------------------------------------------------------------

void setPeriod(World& w, int x, int y, int32_t period)
{
    if (auto* power = dynamic_cast<Power*>(w.at(x, y)))
        power->period = period;
}

// Wires every six rows (y = 20 .. 140) joined by columns every 20, the
// devices standing on the cells just above the wires.
void buildWired(BenchWorld& b)
{
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x)
        b.put(x, 1, id("Stone"));
    for (int y = 20; y <= 140; y += 6)
        for (int x = 10; x < 230; ++x)
            b.put(x, y, id("Metal"));
    for (int x = 10; x < 230; x += 20)
        for (int y = 20; y <= 140; ++y)
            if (!w.at(x, y))
                b.put(x, y, id("Metal"));
    // 24 sources on the left ends, periods 4, 8, 16, 32 in turn.
    for (int i = 0; i < 21; ++i) {
        b.put(9, 20 + 6 * i, id("Power"));
        setPeriod(w, 9, 20 + 6 * i, 4 << (i % 4));
    }
    for (int i = 0; i < 3; ++i) {
        b.put(230, 20 + 36 * i, id("Power"));
        setPeriod(w, 230, 20 + 36 * i, 4 << (i % 4));
    }
    // 40 CrossWires where extra columns cross the wires.
    for (int i = 0; i < 40; ++i) {
        const int x = 15 + 20 * (i % 10);
        const int y = 26 + 6 * (i / 10) * 4;
        w.removeParticle(x, y);
        b.put(x, y, id("CrossWire"));
        for (int dy : {-1, 1})
            if (!w.at(x, y + dy))
                b.put(x, y + dy, id("Metal"));
    }
    // On the cells above the wires: bulbs, heaters, coolers, LEDs, sensors,
    // instruments, and belts with sand two rows up.
    const char* sensors[] = {"ColdSensor", "VeryColdSensor", "NormalSensor", "HotSensor",   "VeryHotSensor",
                             "GasSensor",  "LiquidSensor",   "HumanSensor",  "LightSensor", "LedSensor"};
    const char* instruments[] = {"Bass", "Drums", "Guitar", "Trumpet", "Note"};
    int bulbs = 0, heaters = 0, coolers = 0, leds = 0, sensorCount = 0, belts = 0, played = 0;
    for (int y = 21; y <= 141; y += 6)
        for (int x = 11; x < 229; ++x) {
            if (w.at(x, y))
                continue;
            const int slot = (x + y) % 11;
            if (leds < 600 && slot < 3) {
                b.put(x, y, id(leds % 2 ? "LedGreen" : "LedRed"));
                ++leds;
            } else if (sensorCount < 100 && slot == 3) {
                b.put(x, y, id(sensors[sensorCount % 10]));
                ++sensorCount;
            } else if (bulbs < 60 && slot == 4) {
                b.put(x, y, id("Bulb"));
                ++bulbs;
            } else if (heaters < 20 && slot == 5) {
                b.put(x, y, id("Heater"));
                ++heaters;
            } else if (coolers < 20 && slot == 6) {
                b.put(x, y, id("Cooler"));
                ++coolers;
            } else if (played < 20 && slot == 7 && y > 100) {
                b.put(x, y, id(instruments[played % 5]));
                ++played;
            } else if (belts < 30 && slot == 8 && y < 60) {
                b.put(x, y, id(x % 2 ? "ConveyorBeltR" : "ConveyorBeltL"));
                b.put(x, y + 1, id("Sand"));
                ++belts;
            }
        }
}

void BM_wired(benchmark::State& state)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->setBackendForTests(true);
    CocosDenshion::SimpleAudioEngine::sharedEngine()->keepCallLog(false);  // as in the game
    BenchWorld b;
    buildWired(b);
    // As in the game, the sound clock runs on (a step is 1/30 s), so plays
    // end and the silent backend's list of them stays short.
    auto step = [&b] {
        b.world->step();
        CocosDenshion::SimpleAudioEngine::advanceClock(1.0f / 30.0f);
    };
    for (int i = 0; i < 200; ++i)
        step();
    const uint64_t playsBefore = CocosDenshion::SimpleAudioEngine::sharedEngine()->effectsPlayed();
    long updates = 0;
    const long allocationsBefore = g_allocations.load();
    for (auto _ : state) {
        updates += b.world->particleCount();
        step();
    }
    report(state, updates, g_allocations.load() - allocationsBefore);
    state.counters["particles"] = b.world->particleCount();
    state.counters["metal"] = b.count(id("Metal"));
    state.counters["plays"] =
        static_cast<double>(CocosDenshion::SimpleAudioEngine::sharedEngine()->effectsPlayed() - playsBefore);
}
BENCHMARK(BM_wired)->Name("wired")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

// Rows six apart: a laser (or a transmitter on a fed wire) fires right
// through glass, over a gem on a wall shelf, through a pair of corners (odd
// rows) and a splitter, onto a stone column.
void buildLasers(BenchWorld& b)
{
    World& w = *b.world;
    const char* gems[] = {"Amatist",  "Citrine", "Diamond",  "Emerald", "Lapislazuli",
                          "Obsidian", "Ruby",    "Sapphire", "Zircon"};
    for (int y = 2; y < w.height - 2; ++y)
        b.put(220, y, id("Stone"));
    for (int i = 0; i < 24; ++i) {
        const int y = 8 + 6 * i;
        if (i % 2) {
            // A source whose pulse runs down a short wire past the
            // transmitter, so current reaches it every step.
            b.put(3, y + 1, id("Power"));
            setPeriod(w, 3, y + 1, 4);
            b.put(2, y + 1, id("Metal"));
            b.put(2, y, id("Metal"));
            b.put(3, y, id("LaserTrans"));
        } else {
            b.put(3, y, id("Laser"));
        }
        b.put(4, y, id("Glass"));
        b.put(30, y - 1, id("Wall"));
        b.put(30, y, id(gems[i % 9]));
        // Odd rows first turn up two rows through a pair of corners.
        int row = y;
        if (i % 2) {
            b.put(40, y, id("Glass"));
            b.put(41, y - 1, id("Glass"));
            b.put(42, y - 3, id("Glass"));
            b.put(43, y - 3, id("Glass"));
            row = y - 2;
        }
        // A splitter: the beam goes on and two more leave beside it.
        b.put(60, row, id("Glass"));
        b.put(59, row - 1, id("Glass"));
        b.put(59, row + 1, id("Glass"));
    }
}

void BM_lasers(benchmark::State& state)
{
    const int64_t walkedBefore = LaserBase::cellsWalked;
    runRebuiltScene(state, buildLasers, 200);
    state.counters["beam_cells_per_step"] =
        static_cast<double>(LaserBase::cellsWalked - walkedBefore) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_lasers)->Name("lasers")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

// Water (left) and sand (right) pools; 8 inlets inside them, each at the foot
// of a pipe column up to a 230 x 17 block of pipe at rows 60 .. 76; 48 outlets
// on top of the block, each with an LED beside it.
void buildPipes(BenchWorld& b)
{
    World& w = *b.world;
    const char* leds[] = {"LedBlue", "LedGreen", "LedOrange", "LedPurple", "LedRed", "LedYellow"};
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 1; y <= 40; ++y)
            b.put(x, y, id(x < 120 ? "Water" : "Sand"));
    for (int i = 0; i < 8; ++i) {
        const int x = 15 + 29 * i;
        w.removeParticle(x, 20);
        b.put(x, 20, id("PipeIn"));
        if (i < 6) {
            w.removeParticle(x + 1, 20);
            b.put(x + 1, 20, id(leds[i]));
        }
        for (int y = 21; y < 60; ++y) {
            w.removeParticle(x, y);
            b.put(x, y, id("Pipe"));
        }
    }
    for (int x = 5; x < 235; ++x)
        for (int y = 60; y <= 76; ++y)
            b.put(x, y, id("Pipe"));
    for (int i = 0; i < 48; ++i) {
        const int x = 8 + 4 * i;
        b.put(x, 77, id("PipeOut"));
        b.put(x + 1, 77, id(leds[i % 6]));
    }
}

void BM_pipes(benchmark::State& state)
{
    std::unique_ptr<BenchWorld> b;
    long updates = 0;
    long allocations = 0;
    int stepsInScene = 0;
    double worst = 0.0;
    std::vector<double> stepTimes;
    stepTimes.reserve(1 << 16);
    for (auto _ : state) {
        if (!b || stepsInScene == 300) {
            // Built and let settle for ten steps untimed (the first steps
            // relight every new cell, as in any freshly painted world).
            state.PauseTiming();
            b.reset();
            b = std::make_unique<BenchWorld>();
            buildPipes(*b);
            for (int i = 0; i < 10; ++i)
                b->world->step();
            stepsInScene = 0;
            state.ResumeTiming();
        }
        updates += b->world->particleCount();
        const long before = g_allocations.load();
        const auto start = std::chrono::steady_clock::now();
        b->world->step();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        worst = std::max(worst, took.count());
        stepTimes.push_back(took.count());
        allocations += g_allocations.load() - before;
        ++stepsInScene;
    }
    report(state, updates, allocations);
    state.counters["worst_step_ms"] = worst;
    std::sort(stepTimes.begin(), stepTimes.end());
    if (!stepTimes.empty())
        state.counters["p99_step_ms"] = stepTimes[stepTimes.size() * 99 / 100];
    // The same measure on the settled mixed scene, in this run: a single
    // worst step mostly shows the machine, not the scene.
    BenchWorld mixed;
    buildSettledMixed(mixed);
    double mixedWorst = 0.0;
    for (int i = 0; i < 1000; ++i) {
        const auto start = std::chrono::steady_clock::now();
        mixed.world->step();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        mixedWorst = std::max(mixedWorst, took.count());
    }
    state.counters["mixed_worst_step_ms"] = mixedWorst;
    state.counters["pipes"] = static_cast<double>(PipeNetwork::getInstance().pipeCount());
    state.counters["outlets_read_per_cell"] = PipeNetwork::getInstance().maxOutletsReadPerCell;
}
BENCHMARK(BM_pipes)->Name("pipes")->Iterations(kSceneSteps)->Unit(benchmark::kMillisecond);

// Traffic: the mixed bands in the lower 96 rows, settled; a stone road over
// them between end walls; five vehicles driving: a beetle, a sports car, two
// trucks hauling sand (31 grains each, so they dump) and a tank shelling a
// stone target. Rebuilt, untimed, every 600 steps (the target is shot away).
void buildTraffic(BenchWorld& b)
{
    static const uint32_t kBands[] = {id("Sand"), id("Water"), id("Stone"), id("Wood"), id("Oil"), id("Wax")};
    World& w = *b.world;
    for (int y = 1; y <= 96; ++y)
        for (int x = 1; x < w.width - 1; ++x)
            b.put(x, y, kBands[((y - 1) / 8) % 6]);
    for (int i = 0; i < 200; ++i)
        w.step();
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 97; y <= 98; ++y)
            if (!w.at(x, y))
                b.put(x, y, id("Stone"));
    for (int y = 99; y <= 130; ++y) {
        b.put(2, y, id("Wall"));
        b.put(w.width - 3, y, id("Wall"));
    }
    for (int x = 215; x <= 219; ++x)
        for (int y = 99; y <= 110; ++y)
            b.put(x, y, id("Stone"));
    b.put(20, 99, id("MPLeaderCar"));
    b.put(50, 99, id("MPSportCar"));
    b.put(80, 99, id("MPLeaderTruck"));
    b.put(125, 99, id("MPLeaderTruck"));
    b.put(185, 99, id("MPLeaderTank"));
    w.step();
    for (int truckX : {80, 125}) {
        int grains = 0;
        for (int y = 102; y <= 105; ++y)
            for (int x = truckX - 1; x <= truckX + 6 && grains < 31; ++x, ++grains)
                b.put(x, y, id("Sand"));
    }
}

void BM_traffic(benchmark::State& state)
{
    runRebuiltScene(state, buildTraffic, 600);
    BenchWorld b;
    buildTraffic(b);
    state.counters["vehicles"] = CreatureCounts::cars;
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
