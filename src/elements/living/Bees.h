#pragma once
// The bee economy: Bee, a flying insect with a life span and an errand cycle;
// BeeHive, which releases workers while it has a bee budget and grows honey
// cells when they come home; BeeHiveCell, the inert comb. A painted bee is
// wild: it founds a hive on a tree leaf or joins one nearby.
#include "elements/living/LivingKinds.h"

// clang-format off
//                                      type name      dens blast factor colour rows    start row         sound                 absorb flags
inline constexpr ElementInfo kBeeInfo         {"Bee",         0, 0.9f, 0.8f, {84, 85, 86}, StartRow::Random, "sfx_element_bees",  5,  kFlat};
inline constexpr ElementInfo kBeeHiveInfo     {"BeeHive",     0, 0.9f, 0.8f, {87},         StartRow::First,  "sfx_element_steam", 40, kFlat};
inline constexpr ElementInfo kBeeHiveCellInfo {"BeeHiveCell", 0, 0.9f, 0.8f, {88},         StartRow::First,  "sfx_element_steam", 40, kFlat};
// clang-format on

class Bee : public Element<kBeeInfo> {
public:
    enum State : int32_t {
        kSearching = 1,  // wild, looking for a tree leaf
        kToLeaf = 2,
        kForaging = 3,  // worker, looking for a flower
        kToFlower = 4,
        kFeeding = 5,
        kFed = 6,
        kToHive = 7,
        kResting = 8,
    };
    static constexpr int kLeafRadius = 80;
    static constexpr int kFlowerRadius = 40;
    static constexpr int kHiveSpacing = 5;  // no new hive this close to another
    static constexpr int kDrowns = 240;     // water contact beyond which it dies

    Bee() : life((gameRand() % 6 + 20) * 60), wanderTicks(gameRand() % 50) { }
    bool isLiving() const override { return true; }
    void update() override;

    bool wild = true;
    int32_t state = kSearching;
    int32_t life;
    bool hasTarget = false;
    int32_t wanderTicks;
    int32_t waitTicks = 0;
    int32_t wetness = 0;
    int32_t homeX = 0;
    int32_t homeY = 0;
    int32_t targetX = 0;
    int32_t targetY = 0;

private:
    void dieOutright();
    void wander(bool decision);
    void seekTarget();
    void setTarget(int tx, int ty, int32_t next);
};

class BeeHive : public Element<kBeeHiveInfo> {
public:
    BeeHive() : spawnTicks(drawSpawnTicks()) { }
    void update() override;
    // A worker finished its rest: one more bee to release and one more honey
    // cell (a leaf next to the hive first, else an empty neighbour cell).
    void receiveBee();

    int32_t beeBudget = 1;
    int32_t spawnTicks;

private:
    static int32_t drawSpawnTicks() { return (gameRand() % 2 * 5 + 10) * 4; }
};

class BeeHiveCell : public Element<kBeeHiveCellInfo> { };

// Registers the bees with the element factory.
void registerBees();
