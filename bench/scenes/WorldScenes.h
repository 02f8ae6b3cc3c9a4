#pragma once
// The world benchmark's scenes: full 240 x 160 worlds, each built the same
// way on every run (the random sequence is seeded per build), so that
// world_bench times them, world_checksum fingerprints them and the tests step
// them all alike. A scene's build includes the untimed steps it settles for.
//
// Each scene says what it holds (its census): the populations that must be
// there once it is built and still there after its timed steps, or the scene
// no longer times what its name says.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/World.h"

namespace scenes {

// A fresh full-size world with its border, as the game has after a reset; the
// process-wide world while it lives.
class BenchWorld {
public:
    BenchWorld();
    ~BenchWorld();
    BenchWorld(const BenchWorld&) = delete;
    BenchWorld& operator=(const BenchWorld&) = delete;

    void put(int x, int y, uint32_t type) { world->addParticle(x, y, type, false); }
    int count(uint32_t type) const;

    std::unique_ptr<World> world;
};

// When a census is taken: once the scene is built (and settled), or after
// its timed steps.
enum class Moment { Built, Stepped };

struct Population {
    std::string name;
    int count = 0;
    bool required = true;  // the scene fails when it is 0
};

struct Scene {
    const char* name;
    void (*build)(BenchWorld&);
    // Timed steps between two builds; 0: built once.
    int stepsPerBuild;
    // One step as the scene takes it (most: scenes::step).
    void (*step)(BenchWorld&);
    std::vector<Population> (*census)(const BenchWorld&, Moment);
};

// The scenes world_bench times one step at a time, in its order.
const std::vector<Scene>& allScenes();
// Null when no scene has that name.
const Scene* findScene(const std::string& name);

// The first required population that is 0, as "critters: no lions once built";
// empty when every one is there.
std::string missingPopulation(const Scene& scene, const std::vector<Population>& census, Moment moment);

// A fingerprint of everything a step changes: every cell's particle (kind, id,
// colour, what it saves beside), the temperature and light of every cell,
// and where the random sequence stands.
uint32_t worldChecksum(const World& world);

// The builds themselves (some benchmarks use them outside the table).
void buildMixed(BenchWorld& b);
void buildSettledMixed(BenchWorld& b);
void buildForest(BenchWorld& b);
void buildLights(BenchWorld& b);
void buildAcidVirus(BenchWorld& b);
void buildBlasts(BenchWorld& b);
void buildStorm(BenchWorld& b);
void buildLiving(BenchWorld& b);
void buildAlien(BenchWorld& b);
void buildCritters(BenchWorld& b);
void buildColony(BenchWorld& b);
void buildChargeField(BenchWorld& b);
void buildWired(BenchWorld& b);
void buildLasers(BenchWorld& b);
void buildPipes(BenchWorld& b);
void buildTraffic(BenchWorld& b);

// A step as the game's frame makes it: the world's, then the objects it let
// go of released, as the director does at the end of every frame.
void step(BenchWorld& b);
// The wired scene's step: that, then the sound clock on by a step's
// 1/30 s, as the game's frame does (plays end and the silent backend's list
// of them stays short).
void stepWithSoundClock(BenchWorld& b);

}  // namespace scenes
