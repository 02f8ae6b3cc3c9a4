#pragma once
// The seven behaviours of a robot: patrol, stand guard, shoot, hunt, arm
// with a laser or a missile, and recover from a stun. A guardian alternates
// guard and patrol; a hunter searches; both shoot whenever they find a human
// and go back to their cycle after the burst.
#include <cstdint>
#include <memory>
#include <vector>

#include "elements/creatures/Behaviours.h"

class RobotLeader;

class RobotAction : public ParticleAction {
public:
    void begin() override { state = kRunning; }
    void tick() override { }
    void reset() override { state = kNotBegun; }

protected:
    RobotLeader& robot() const;
    // Back into the role's cycle: guard for a guardian, else the hunt.
    void backToRole() const;
};

template <uint32_t Id> class RobotActionOf : public RobotAction {
public:
    static constexpr uint32_t kTypeId = Id;
    uint32_t typeId() const override { return kTypeId; }
};

// The row four cells up, ahead to the grid's edge: the first human cell,
// seen through anything.
bool robotSeesHumanInRow(const RobotLeader& robot);

class RobotWalkAction : public RobotActionOf<ActionType::RobotWalk> {
public:
    void tick() override;
    behaviour::WanderState wander{0, 4};
};

class RobotGuardSpotAction : public RobotActionOf<ActionType::RobotGuardSpot> {
public:
    void begin() override;
    void tick() override;
    int32_t ticks = 0;
};

class RobotShootHumanAction : public RobotActionOf<ActionType::RobotShootHuman> {
public:
    void tick() override;
    void reset() override { }
    // The first occupied cell of the robot's own row ahead is a human leader.
    static bool humanInLineOfFire(const RobotLeader& robot);
};

class RobotSearchHumanAction : public RobotActionOf<ActionType::RobotSearchHuman> {
public:
    void begin() override;
    void tick() override;
    void reset() override;
    behaviour::WanderState wander;
    static bool seesHuman(const RobotLeader& robot);
    static const behaviour::SearchTargets& targets();
};

class RobotEquipLaserAction : public RobotActionOf<ActionType::RobotEquipLaser> {
public:
    void tick() override;
};

class RobotEquipMissileAction : public RobotActionOf<ActionType::RobotEquipMissile> {
public:
    void tick() override;
};

class RobotStunAction : public RobotActionOf<ActionType::RobotStun> {
public:
    void tick() override;
    int32_t counter = 20;
};

// The seven, in table order, each owned by `owner`.
std::vector<std::unique_ptr<ParticleAction>> makeRobotActions(BehaviourOwner* owner);
