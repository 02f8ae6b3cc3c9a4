// libFuzzer target for the world loader: every input is loaded as a world
// blob into one long-lived world, which then takes a step so that elements
// act on whatever extra data they were given. A refused blob must leave the
// world as it was; a loaded one must leave a sound world.
//
// With TESMORA_FUZZ_SEEDS=<folder> set, the first run writes a few valid
// blobs there to start a corpus from.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/NSData.h"
#include "platform/GameClock.h"
#include "platform/GameRandom.h"
#include "world/ByteStream.h"
#include "world/ColorTables.h"
#include "world/GameHost.h"
#include "world/GameLayer.h"
#include "world/ParticleCreator.h"
#include "world/World.h"
#include "world/WorldBlob.h"

namespace {

World* g_world = nullptr;

void writeFile(const std::string& path, const uint8_t* data, size_t size)
{
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

void writeSeeds(const std::string& folder)
{
    World& w = *g_world;
    NSData* empty = w.save();
    writeFile(folder + "/empty-v11.sav", empty->bytes, empty->length);

    const char* kinds[] = {"Sand", "Water", "Fire", "Oil", "Steam", "Wall", "Metal", "Explosion"};
    int k = 0;
    for (int x = 5; x < 100; ++x)
        w.addParticle(x, 20 + (x % 7), hashString(kinds[k++ % 8]), false);
    for (int x = 30; x < 40; ++x)
        w.electricityGrid.setCell(x, 60, 3);
    w.electricityGrid.setBridge(50, 60, true);
    NSData* rich = w.save();
    writeFile(folder + "/rich-v11.sav", rich->bytes, rich->length);
    w.reset();

    // A small version-1 blob: no temperature section to wade through.
    std::vector<uint8_t> v1;
    ByteWriter out(v1);
    out.u32(1);
    out.i32(120);
    out.i32(80);
    out.u32(1);
    out.u32(10);
    out.u32(10);
    out.u32(3);
    out.u32(2);
    for (uint32_t x : {10u, 11u}) {
        out.u32(x);
        out.u32(10);
        out.u32(hashString("Sand"));
    }
    writeFile(folder + "/small-v1.sav", v1.data(), v1.size());
}

void checkSound(const World& w)
{
    int pooled = 0;
    for (int i = 0; i < World::kMaxParticles; ++i) {
        const Particle* p = w.pool()[i];
        if (!p)
            continue;
        ++pooled;
        if (p->id != i || !w.inWorld(p->x, p->y) || w.grid[p->x][p->y] != p)
            std::abort();
    }
    if (pooled != w.particleCount() || w.particleCount() + w.freeTop() != World::kMaxParticles)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    platform::seedGameRand(1);
    platform::setManualGameTime(1000);
    registerAllElements();
    initColorsAndShadows();
    installGameHost();
    // The layer makes its own HUD; replacing it would leak that one.
    GameLayer::getInstance();
    g_world = new World();
    gWorld = g_world;
    g_world->setBigWorld(true);
    g_world->reset();
    if (const char* seeds = std::getenv("TESMORA_FUZZ_SEEDS"))
        writeSeeds(seeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    World& w = *g_world;
    platform::seedGameRand(1);
    const int32_t countBefore = w.particleCount();
    if (w.loadBytes(data, size)) {
        checkSound(w);
        w.step();
        checkSound(w);
    } else if (w.particleCount() != countBefore) {
        std::abort();  // a refused blob touched the world
    }
    cocos2d::CCPoolManager::sharedPoolManager()->drain();
    return 0;
}
