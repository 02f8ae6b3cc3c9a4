#pragma once
// Creature behaviours: one object per behaviour class in its leader's table,
// exactly one of them current. The leader steps the current one at its own
// cadence; a behaviour switches its leader to another by type id (djb2 of the
// class name). The mechanics several behaviours share (the wander step, the
// neighbourhood scan, the search setup) are written once here.
#include <cstdint>
#include <string>
#include <vector>

#include "world/Particle.h"

class MPObject;
class PathSearch;
class ParticleAction;

// Behaviour type ids, one per class name.
namespace ActionType {
inline constexpr uint32_t AvoidLava = hashString("AvoidLavaAction");
inline constexpr uint32_t BuildInSpace = hashString("BuildInSpaceAction");
inline constexpr uint32_t Die = hashString("DieAction");
inline constexpr uint32_t GatherAluminite = hashString("GatherAluminiteAction");
inline constexpr uint32_t GatherFood = hashString("GatherFoodAction");
inline constexpr uint32_t GatherHuman = hashString("GatherHumanAction");
inline constexpr uint32_t GatherStone = hashString("GatherStoneAction");
inline constexpr uint32_t GatherWater = hashString("GatherWaterAction");
inline constexpr uint32_t GatherWood = hashString("GatherWoodAction");
inline constexpr uint32_t LionGatherHuman = hashString("LionGatherHumanAction");
inline constexpr uint32_t LionSearchFood = hashString("LionSearchFoodAction");
inline constexpr uint32_t RobotEquipLaser = hashString("RobotEquipLaserAction");
inline constexpr uint32_t RobotEquipMissile = hashString("RobotEquipMissileAction");
inline constexpr uint32_t RobotGuardSpot = hashString("RobotGuardSpotAction");
inline constexpr uint32_t RobotSearchHuman = hashString("RobotSearchHumanAction");
inline constexpr uint32_t RobotShootHuman = hashString("RobotShootHumanAction");
inline constexpr uint32_t RobotStun = hashString("RobotStunAction");
inline constexpr uint32_t RobotWalk = hashString("RobotWalkAction");
inline constexpr uint32_t Runaway = hashString("RunawayAction");
inline constexpr uint32_t SafariWalk = hashString("SafariWalkAction");
inline constexpr uint32_t SearchAluminite = hashString("SearchAluminiteAction");
inline constexpr uint32_t SearchBuildSpace = hashString("SearchBuildSpaceAction");
inline constexpr uint32_t SearchFood = hashString("SearchFoodAction");
inline constexpr uint32_t SearchHuman = hashString("SearchHumanAction");
inline constexpr uint32_t SearchStone = hashString("SearchStoneAction");
inline constexpr uint32_t SearchWater = hashString("SearchWaterAction");
inline constexpr uint32_t SearchWood = hashString("SearchWoodAction");
inline constexpr uint32_t Walk = hashString("WalkAction");
inline constexpr uint32_t XenovineCocoon = hashString("XenovineCocoonAction");
// Walk's own typeId answers the complement of its key.
inline constexpr uint32_t WalkGetter = ~Walk;
inline constexpr int kCount = 29;
}  // namespace ActionType

// What a behaviour reaches of the leader that holds it.
class BehaviourOwner {
public:
    virtual ~BehaviourOwner() = default;
    virtual Particle* ownerCell() = 0;
    virtual MPObject* ownerGroup() const = 0;
    virtual int facing() const = 0;
    // Turns the creature to face the other way (a lion mirrors its body).
    virtual void turnAround() = 0;
    virtual void swapWalkFrame(bool /*gathering*/) { }
    virtual PathSearch* pathSearch() = 0;
    // The behaviour of the leader's table under a type id, or null.
    virtual ParticleAction* actionOf(uint32_t typeId) = 0;
    // The current behaviour is reset and the one under typeId (if any)
    // becomes current with state 0.
    virtual void setAction(uint32_t typeId) = 0;
};

class ParticleAction {
public:
    enum State : int32_t { kNotBegun = 0, kRunning = 1, kFinished = 2 };

    ParticleAction() = default;
    // Takes nothing along: a dying leader resets its current behaviour itself.
    virtual ~ParticleAction() = default;
    ParticleAction(const ParticleAction&) = delete;
    ParticleAction& operator=(const ParticleAction&) = delete;

    virtual void begin() = 0;
    virtual void tick() = 0;
    virtual void reset() = 0;
    virtual uint32_t typeId() const = 0;
    // State 0 begins, state 1 ticks, anything else does nothing.
    void step();

    int32_t state = kNotBegun;
    BehaviourOwner* owner = nullptr;
    ParticleAction* nextAction = nullptr;
};

namespace behaviour {

// The wander step: walks one column ahead every `delay` ticks, climbing one
// or two rows where it must and turning where it cannot (or 1 in
// `turnChance`). `frames` counts walking steps up to `frameLimit`.
struct WanderState {
    int32_t delay = 0;
    int32_t frames = 0;
};
void wanderStep(BehaviourOwner& owner, WanderState& s, int frameLimit, int turnChance, int delay);

// The neighbourhood scan from start offset d0 up to maxDepth (rows above the
// owner, blocks centred dx columns aside): the offset of the block to pick
// from.
int scanOffset(const Particle& self, uint32_t type, int dx, int d0, int maxDepth);

// Search setup: the kinds and jobs a search adds to (and takes back from)
// its owner's path search.
struct SearchTargets {
    std::vector<uint32_t> goalKinds;
    std::vector<uint32_t> passableKinds;
    std::vector<std::string> goalJobs;
};
void addSearchTargets(PathSearch& search, const SearchTargets& targets);
void removeSearchTargets(PathSearch& search, const SearchTargets& targets);

}  // namespace behaviour

class LionSearchFoodAction : public ParticleAction {
public:
    static constexpr uint32_t kTypeId = ActionType::LionSearchFood;
    void begin() override;
    void tick() override;
    void reset() override;
    uint32_t typeId() const override { return kTypeId; }

    behaviour::WanderState wander;

    static const behaviour::SearchTargets& targets();
};

class LionGatherHumanAction : public ParticleAction {
public:
    static constexpr uint32_t kTypeId = ActionType::LionGatherHuman;
    void begin() override;
    void tick() override;
    void reset() override { state = kNotBegun; }
    uint32_t typeId() const override { return kTypeId; }

    int32_t maxDepth = 7;

private:
    // The bite; true when a human was taken.
    bool bite();
};
