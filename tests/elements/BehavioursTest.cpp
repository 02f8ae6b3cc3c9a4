// The behaviour base: the stepping protocol, the type ids, and the shared
// neighbourhood scan; and a belt's push carrying a whole creature.
#include <set>

#include "MaterialWorld.h"
#include "elements/creatures/Behaviours.h"
#include "elements/creatures/SmallCreatures.h"

namespace {

class CountingAction : public ParticleAction {
public:
    void begin() override
    {
        ++begun;
        state = kRunning;
    }
    void tick() override { ++ticked; }
    void reset() override { state = kNotBegun; }
    uint32_t typeId() const override { return 1; }
    int begun = 0;
    int ticked = 0;
};

TEST(BehaviourTest, BeginThenTickAndAFinishedBehaviourRests)
{
    CountingAction a;
    a.step();
    EXPECT_EQ(a.begun, 1);
    EXPECT_EQ(a.ticked, 0);
    a.step();
    a.step();
    EXPECT_EQ(a.ticked, 2);
    a.state = ParticleAction::kFinished;
    a.step();
    EXPECT_EQ(a.begun, 1);
    EXPECT_EQ(a.ticked, 2);
    a.state = ParticleAction::kNotBegun;
    a.step();
    EXPECT_EQ(a.begun, 2);
}

TEST(BehaviourTest, TheTypeIdsAreDistinctHashesOfTheClassNames)
{
    const uint32_t ids[] = {
        ActionType::AvoidLava,
        ActionType::BuildInSpace,
        ActionType::Die,
        ActionType::GatherAluminite,
        ActionType::GatherFood,
        ActionType::GatherHuman,
        ActionType::GatherStone,
        ActionType::GatherWater,
        ActionType::GatherWood,
        ActionType::LionGatherHuman,
        ActionType::LionSearchFood,
        ActionType::RobotEquipLaser,
        ActionType::RobotEquipMissile,
        ActionType::RobotGuardSpot,
        ActionType::RobotSearchHuman,
        ActionType::RobotShootHuman,
        ActionType::RobotStun,
        ActionType::RobotWalk,
        ActionType::Runaway,
        ActionType::SafariWalk,
        ActionType::SearchAluminite,
        ActionType::SearchBuildSpace,
        ActionType::SearchFood,
        ActionType::SearchHuman,
        ActionType::SearchStone,
        ActionType::SearchWater,
        ActionType::SearchWood,
        ActionType::Walk,
        ActionType::XenovineCocoon,
    };
    EXPECT_EQ(std::set<uint32_t>(std::begin(ids), std::end(ids)).size(), static_cast<size_t>(ActionType::kCount));
    EXPECT_EQ(ActionType::LionSearchFood, hashString("LionSearchFoodAction"));
    EXPECT_EQ(ActionType::WalkGetter, ~hashString("WalkAction"));
    EXPECT_NE(ActionType::WalkGetter, ActionType::Walk);
}

class ScanTest : public MaterialWorld { };

TEST_F(ScanTest, ThePickOffsetIsOneBeyondTheLastBlockCounted)
{
    const uint32_t kWood = hashString("Wood");
    Particle* self = put(100, 50, hashString("Wall"));
    struct Case {
        int woodRow;  // offset of the wood above the scanner; -1: none
        int pick;
    };
    // Found at the start: the start; found at offset d > 0: d + 1; none: max + 1.
    const Case cases[] = {{0, 0}, {1, 0}, {3, 3}, {5, 5}, {-1, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.woodRow);
        if (c.woodRow >= 0)
            put(102, 50 + c.woodRow, kWood);
        EXPECT_EQ(behaviour::scanOffset(*self, kWood, 2, 0, 7), c.pick);
        if (c.woodRow >= 0)
            world->removeParticle(102, 50 + c.woodRow);
    }
}

TEST_F(ScanTest, ABeltsPushCarriesARabbitWhole)
{
    fill(1, 1, 238, 40, hashString("Wall"));
    auto* rabbit = static_cast<MPLeaderRabbit*>(put(100, 41, MPLeaderRabbit::kTypeId));
    rabbit->jumpCountdown = -1;
    rabbit->update();
    const int x0 = rabbit->x;
    const int y0 = rabbit->y;
    ASSERT_EQ(y0, 41);
    // A belt under the rabbit reaches it only as a particle with a group.
    Particle* onBelt = world->at(x0 + 1, 41);
    ASSERT_NE(onBelt->getGroup(), nullptr);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(onBelt->getGroup()->moveBy(1, 0, true));
    EXPECT_EQ(rabbit->x, x0 + 5);
    EXPECT_EQ(rabbit->y, y0);
    EXPECT_EQ(typeAt(x0 + 6, 41), MPRabbitBody::kTypeId);
    EXPECT_EQ(count(MPRabbitBody::kTypeId), 2);
}

}  // namespace
