#pragma once
// The structure seed: a one-cell element that falls, settles on the ground
// and grows a whole structure above itself from a blueprint folder, one
// particle per update, before it goes. One template serves the building,
// tree and dinosaur seeds; each family fills in its parameters.
#include <memory>

#include "elements/living/Trees.h"
#include "elements/living/blueprint/Blueprint.h"

// Which cells below let a seed settle, and what it leaves when done.
enum class SeedGround : uint8_t {
    Building,  // anything but Grass (cleared first); leaves its cell empty
    Resource,  // as Building after a start delay; puts the ground back and uses colony resources
    Tree,      // Mud only (Grass cleared first, anything else: it vanishes); leaves Mud
    Sea,       // dives 8 rows into Water; leaves Water
};

struct SeedParams {
    const char* folder;
    SeedGround ground;
    const char* startSound = nullptr;
    const char* endSound = nullptr;
    bool checkSpace = false;
    int32_t startDelay = 0;
    // Resources used up when done, in order ("Stone", "Wood"), null-ended.
    const char* uses[6] = {};
    // Campaign flag of the fireplace: planted on day 1 of the human campaign.
    bool marksFireplace = false;
};

// Seeds' constants: one row of 48, living, transparent to light.
constexpr ElementInfo seedInfo(const char* typeName, int32_t density = 100)
{
    return ElementInfo{typeName, density, 0.95f, 0.4f, {48}, StartRow::First, "sfx_element_seed", 0};
}

// What a seed carries: its blueprint once settled, its delay, its ground.
class SeedState {
public:
    explicit SeedState(const SeedParams& params) : startDelay(params.startDelay) { }
    // One update of the seed `self` (never removes `self` at once: every
    // removal of its own cell is queued).
    void update(Particle& self, const SeedParams& params);

    std::unique_ptr<Blueprint> blueprint;
    int32_t startDelay;
    uint32_t groundKind = 0;

private:
    void settleOnLand(Particle& self, const SeedParams& params);
    void settleOnMud(Particle& self, const SeedParams& params);
    void diveIntoWater(Particle& self, const SeedParams& params);
    void createBlueprint(const Particle& self, const SeedParams& params, int originX, int originY);
    void finish(const Particle& self, const SeedParams& params);
};

// Reaches the state of any structure seed (tools and tests).
class SeedCarrier {
public:
    virtual ~SeedCarrier() = default;
    virtual SeedState& seedState() = 0;
};

template <const ElementInfo& Info, const SeedParams& Params>
class StructureSeed : public Element<Info>, public SeedCarrier {
public:
    static const SeedParams& seedParams() { return Params; }
    bool isLiving() const override { return true; }
    void update() override { state.update(*this, Params); }
    SeedState& seedState() override { return state; }

    SeedState state{Params};
};
