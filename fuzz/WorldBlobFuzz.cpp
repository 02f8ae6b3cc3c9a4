// libFuzzer target for the world loader: every input is loaded as a world
// blob into one long-lived world, which then takes a step so that elements
// act on whatever extra data they were given. A refused blob must leave the
// world as it was; a loaded one must leave a sound world.
//
// With TESMORA_FUZZ_SEEDS=<folder> set, the first run writes valid blobs
// there to start a corpus from: every format version, small enough that a
// run spends its time in the loader rather than in copying bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/NSData.h"
#include "FuzzLog.h"
#include "platform/GameClock.h"
#include "platform/GameRandom.h"
#include "world/ByteStream.h"
#include "world/ColorTables.h"
#include "screens/GameWiring.h"
#include "scene/GameLayer.h"
#include "world/ParticleCreator.h"
#include "world/World.h"
#include "world/WorldBlob.h"

namespace {

World* g_world = nullptr;

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

void putU32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    storeU32(b.data() + at, v);
}

uint32_t u32At(const std::vector<uint8_t>& b, size_t at)
{
    return loadU32(b.data() + at);
}

// The world saved now, as a version-11 blob.
std::vector<uint8_t> saved(World& w)
{
    NSData* blob = w.save();
    return std::vector<uint8_t>(blob->bytes, blob->bytes + blob->length);
}

// A world with something for every part of the loader: particles with and
// without extra data, a recoloured one, wires with current and a bridge.
void fill(World& w)
{
    w.reset();
    const char* kinds[] = {"Sand", "Water", "Fire", "Oil", "Steam", "Wall", "Metal", "Explosion"};
    const int right = w.width - 10;
    for (int x = 5, k = 0; x < right; x += 3)
        w.addParticle(x, 20 + (x % 7), hashString(kinds[k++ % 8]), false);
    // Kinds that keep extra data in their records.
    const char* extras[] = {"Power",    "Multi", "ColdSensor", "FlowerCenter", "FlockMember",
                            "Xenovine", "Note",  "CrossWire",  "HumanLeader",  "MPInvader"};
    int x = 8;
    for (const char* kind : extras) {
        w.addParticle(x, 40, hashString(kind), false);
        x += 9;
    }
    if (Particle* p = w.at(5, 20 + 5 % 7))
        p->setColor(cocos2d::ccc4(10, 20, 30, 40));
    for (int wx = 30; wx < 40; ++wx)
        w.electricityGrid.setCell(wx, 60, ElectricityGrid::kConductor);
    w.electricityGrid.setCell(34, 60, ElectricityGrid::kHead);
    w.electricityGrid.setCell(33, 60, ElectricityGrid::kTail);
    w.electricityGrid.setBridge(50, 60, true);
    w.electricityGrid.bridgeIn(0, 50, 60).fromAbove = 3;
    w.temperatureField.setAt(6, 6, 1200.0f);
    w.temperatureField.setAt(12, 2, -900.0f);
}

// Header options a player may have set: lights, sun, weather, a colder
// level, a name, a pause and a colony's stock (version-11 offsets).
void setOptions(std::vector<uint8_t>& blob)
{
    putU32(blob, 12, 1);
    putU32(blob, 16, 1);
    putU32(blob, 20, 0);
    putU32(blob, 24, 1);
    putU32(blob, 28, static_cast<uint32_t>(worldblob::storedAmbientForLevel(2)));
    const std::string name = "Seed world";
    std::copy(name.begin(), name.end(), blob.begin() + 48);
    blob[321] = 1;
    putU32(blob, 324, 12);
    putU32(blob, 328, 34);
    putU32(blob, 332, 56);
}

// A version-11 blob as an older version laid it out: that version's header
// (older ones keep the options in bytes and the ambient unshifted), the
// temperature section from version 4 on, cut to `temperatures` values to keep
// the seed small, and the colour records from version 10 on.
std::vector<uint8_t> asVersion(const std::vector<uint8_t>& blob, uint32_t version, uint32_t temperatures)
{
    worldblob::LoadPlan plan;
    std::string why;
    if (!worldblob::parseBlob(blob.data(), blob.size(), plan, why))
        std::abort();
    std::vector<uint8_t> out;
    ByteWriter w(out);
    w.u32(version);
    out.insert(out.end(), blob.begin() + 4, blob.begin() + 12);
    const int32_t ambient = static_cast<int32_t>(u32At(blob, 28)) - worldblob::kAmbientShift;
    auto copy = [&](size_t from, size_t to) { out.insert(out.end(), blob.begin() + from, blob.begin() + to); };
    if (version >= 2 && version <= 4) {
        for (size_t at : {12, 16, 20, 24})
            w.u8(u32At(blob, at) != 0);
        if (version >= 3)
            w.i32(ambient);
    } else if (version == 5) {
        copy(12, 28);
        w.i32(ambient);
    } else if (version == 6 || version == 7) {
        copy(12, 48);
        if (version == 7)
            w.u32(blob[320]);
    } else if (version >= 8 && version <= 10) {
        copy(12, 324);
    } else if (version >= 11) {
        copy(12, worldblob::kHeaderSize);
    }
    copy(plan.electricityOffset, plan.electricityOffset + plan.electricityLength);
    const size_t afterTemperature = plan.temperatureOffset + plan.temperatureLength;
    if (version >= 4) {
        const uint32_t kept = std::min<uint32_t>(temperatures, u32At(blob, plan.temperatureOffset));
        w.u32(kept);
        copy(plan.temperatureOffset + 4, plan.temperatureOffset + 4 + 4 * static_cast<size_t>(kept));
    }
    const uint32_t colours = u32At(blob, afterTemperature + 4);
    const size_t colourStart = blob.size() - 12 * static_cast<size_t>(colours);
    copy(afterTemperature, afterTemperature + 4);
    if (version >= 10)
        copy(afterTemperature + 4, afterTemperature + 8);
    copy(afterTemperature + 8, colourStart);
    if (version >= 10)
        copy(colourStart, blob.size());
    return out;
}

void writeSeeds(const std::string& folder)
{
    World& w = *g_world;
    // Every version's layout, from a small world, one with the options set.
    w.setBigWorld(false);
    fill(w);
    std::vector<uint8_t> small = saved(w);
    std::vector<uint8_t> options = small;
    setOptions(options);
    for (uint32_t version = 1; version <= worldblob::kCurrentVersion; ++version) {
        const std::string name = folder + "/small-v" + std::to_string(version);
        writeFile(name + ".sav", asVersion(small, version, 64));
        writeFile(name + "-options.sav", asVersion(options, version, 64));
    }
    // A big world, with a quarter of the temperature field: every branch of
    // its reading without 38 KB to copy and mutate at every run.
    w.setBigWorld(true);
    fill(w);
    writeFile(
        folder + "/big-v11.sav",
        asVersion(saved(w), worldblob::kCurrentVersion, TemperatureField::kWidth * TemperatureField::kHeight / 4));
    w.reset();
    writeFile(folder + "/empty-v11.sav", asVersion(saved(w), worldblob::kCurrentVersion, 0));

    // A minimal version-1 blob, written by hand.
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
    writeFile(folder + "/tiny-v1.sav", v1);
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

}  // namespace

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
    muteGameLogForFuzzing();
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
