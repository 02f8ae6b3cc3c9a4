// The drawing tools' benchmark: a Fill of an empty big world (every inner
// cell, 37,604 particles), timed per fill. Target: under 5 ms.
#include <benchmark/benchmark.h>

#include <memory>

#include "cocos2d.h"
#include "hud/GUI.h"
#include "scene/GameLayer.h"
#include "world/Tools.h"
#include "world/World.h"

namespace {

void BM_fillEmptyBigWorld(benchmark::State& state)
{
    auto world = std::make_unique<World>();
    gWorld = world.get();
    world->setBigWorld(true);
    GameLayer::getInstance()->getGUI()->selectElement("Stone");
    Fill fill;
    for (auto _ : state) {
        state.PauseTiming();
        world->reset();
        state.ResumeTiming();
        fill.finish(120, 80);
    }
    state.counters["cells"] = world->particleCount();
    world.reset();
    gWorld = nullptr;
}

}  // namespace

BENCHMARK(BM_fillEmptyBigWorld)->Name("fill_empty_big_world")->Unit(benchmark::kMillisecond);
