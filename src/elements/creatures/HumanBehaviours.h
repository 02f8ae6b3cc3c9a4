#pragma once
// The twenty behaviours of a human. A job is a pair: a search configures the
// human's path search and names its gather behaviour as the follow-up; at the
// goal the human switches to the gather, which takes the wanted cells one per
// tick from the blocks in front and hands back to the search when nothing is
// left in reach. Builders walk a while and plant a house seed; zombies hunt
// and convert other humans; the rest walk, turn away, die or hatch.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "elements/creatures/Behaviours.h"

class HumanLeader;

// A human behaviour: its owner is always a HumanLeader.
class HumanAction : public ParticleAction {
public:
    void begin() override { state = kRunning; }
    void tick() override { }
    void reset() override { state = kNotBegun; }

protected:
    HumanLeader* human() const;
};

template <uint32_t Id> class HumanActionOf : public HumanAction {
public:
    static constexpr uint32_t kTypeId = Id;
    uint32_t typeId() const override { return kTypeId; }
};

class WalkAction : public HumanActionOf<ActionType::Walk> {
public:
    // Walk answers the complement of its table key.
    uint32_t typeId() const override { return ActionType::WalkGetter; }
    void tick() override;
    behaviour::WanderState wander{0, 4};
};

class SafariWalkAction : public HumanActionOf<ActionType::SafariWalk> {
public:
    void tick() override;
    behaviour::WanderState wander{0, 4};
};

class RunawayAction : public HumanActionOf<ActionType::Runaway> {
public:
    void tick() override;
    void reset() override { }
};

class AvoidLavaAction : public HumanActionOf<ActionType::AvoidLava> {
public:
    void tick() override;
    void reset() override { }
};

class DieAction : public HumanActionOf<ActionType::Die> {
public:
    void begin() override { state = kFinished; }
    // Leaving it sets off the explosion (never from the human's destructor).
    void reset() override;
};

// A search: its kinds, follow-up, job and whether leaving takes them back.
class SearchAction : public HumanAction {
public:
    void begin() override;
    void reset() override;

protected:
    virtual const behaviour::SearchTargets& targets() const = 0;
    virtual uint32_t followUp() const = 0;
    virtual const char* jobName() const = 0;
    virtual std::vector<uint32_t> noLedgeKinds() const { return {}; }
};

template <uint32_t Id, uint32_t FollowUp> class SearchActionOf : public SearchAction {
public:
    static constexpr uint32_t kTypeId = Id;
    uint32_t typeId() const override { return kTypeId; }

protected:
    uint32_t followUp() const override { return FollowUp; }
};

class SearchWoodAction : public SearchActionOf<ActionType::SearchWood, ActionType::GatherWood> {
protected:
    const behaviour::SearchTargets& targets() const override;
    const char* jobName() const override { return "woodchopper"; }
};

class SearchFoodAction : public SearchActionOf<ActionType::SearchFood, ActionType::GatherFood> {
public:
    void begin() override;
    void reset() override { }

protected:
    const behaviour::SearchTargets& targets() const override;
    const char* jobName() const override { return "hunter"; }
    std::vector<uint32_t> noLedgeKinds() const override;
};

class SearchWaterAction : public SearchActionOf<ActionType::SearchWater, ActionType::GatherWater> {
public:
    void reset() override { }

protected:
    const behaviour::SearchTargets& targets() const override;
    const char* jobName() const override { return "hunter"; }
    std::vector<uint32_t> noLedgeKinds() const override { return {hashString("Water")}; }
};

class SearchStoneAction : public SearchActionOf<ActionType::SearchStone, ActionType::GatherStone> {
public:
    void reset() override;  // takes its kinds back; the state stays

protected:
    const behaviour::SearchTargets& targets() const override;
    const char* jobName() const override { return "miner"; }
};

class SearchAluminiteAction : public SearchActionOf<ActionType::SearchAluminite, ActionType::GatherAluminite> {
public:
    void reset() override;

protected:
    const behaviour::SearchTargets& targets() const override;
    const char* jobName() const override { return "spaceman"; }
};

class SearchHumanAction : public SearchActionOf<ActionType::SearchHuman, ActionType::GatherHuman> {
public:
    void tick() override;
    void reset() override;
    behaviour::WanderState wander;

protected:
    const behaviour::SearchTargets& targets() const override;
    const char* jobName() const override { return "zombie"; }
};

class SearchBuildSpaceAction : public HumanActionOf<ActionType::SearchBuildSpace> {
public:
    void begin() override;
    void tick() override;
    void reset() override { }
    behaviour::WanderState wander;
    int32_t budget = 0;
};

class BuildInSpaceAction : public HumanActionOf<ActionType::BuildInSpace> {
public:
    void tick() override;
    void reset() override { }
};

class GatherWoodAction : public HumanActionOf<ActionType::GatherWood> {
public:
    void tick() override;
    void reset() override;
    int32_t gathered = 0;
    int32_t maxDepth = 8;
    bool turned = false;
};

class GatherFoodAction : public HumanActionOf<ActionType::GatherFood> {
public:
    void tick() override;
    void reset() override { gathered = 0; }
    int32_t gathered = 0;
    int32_t maxDepth = 7;
};

class GatherWaterAction : public HumanActionOf<ActionType::GatherWater> {
public:
    void tick() override;
    void reset() override { gathered = 0; }
    int32_t gathered = 0;
    int32_t maxDepth = 7;
};

// Stone and aluminite: consecutive ticks look for consecutive kinds.
class GatherKindsAction : public HumanAction {
public:
    void tick() override;
    void reset() override { gathered = 0; }
    std::vector<uint32_t> kinds;
    std::vector<std::string> resourceNames;
    size_t kindIndex = 0;
    int32_t gathered = 0;
    int32_t maxDepth = 7;

protected:
    virtual uint32_t searchType() const = 0;
    virtual const char* balloonText() const = 0;
};

class GatherStoneAction : public GatherKindsAction {
public:
    static constexpr uint32_t kTypeId = ActionType::GatherStone;
    GatherStoneAction();
    uint32_t typeId() const override { return kTypeId; }

protected:
    uint32_t searchType() const override { return ActionType::SearchStone; }
    const char* balloonText() const override { return "gatheredStone"; }
};

class GatherAluminiteAction : public GatherKindsAction {
public:
    static constexpr uint32_t kTypeId = ActionType::GatherAluminite;
    GatherAluminiteAction();
    uint32_t typeId() const override { return kTypeId; }

protected:
    uint32_t searchType() const override { return ActionType::SearchAluminite; }
    const char* balloonText() const override { return "gatheredAluminite"; }
};

class GatherHumanAction : public HumanActionOf<ActionType::GatherHuman> {
public:
    void begin() override;
    void tick() override;
    void reset() override { }
    int32_t maxDepth = 7;

private:
    void bite();
};

class XenovineCocoonAction : public HumanActionOf<ActionType::XenovineCocoon> {
public:
    void begin() override;
    void tick() override;
    double seconds = 0.0;
    double lastTime = 0.0;
};

// The twenty, in table order, each owned by `owner`.
std::vector<std::unique_ptr<ParticleAction>> makeHumanActions(BehaviourOwner* owner);
