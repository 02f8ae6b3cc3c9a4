// Whole job cycles on small scenes: each job fills the colony (or spends
// it), a zombie turns a colony, a hunter robot shoots a human.
#include <string>

#include "MaterialWorld.h"
#include "elements/creatures/CreatureCounts.h"
#include "elements/creatures/CreatureKinds.h"
#include "elements/creatures/Dusts.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/HumanRegistry.h"
#include "elements/creatures/Robots.h"

namespace {

const uint32_t kStone = hashString("Stone");

class ColonyCycles : public MaterialWorld {
protected:
    void SetUp() override
    {
        MaterialWorld::SetUp();
        fill(1, 1, 238, 10, kStone);
    }
    void TearDown() override
    {
        MaterialWorld::TearDown();
        CreatureCounts::robots = 0;
    }
    HumanLeader* human(int x)
    {
        auto* h = static_cast<HumanLeader*>(put(x, 11, HumanLeader::kTypeId));
        h->update();
        return h;
    }
    // Steps until the resource reaches `target` (at most `limit` steps).
    void stepUntil(const char* resource, int target, int limit = 2000)
    {
        for (int i = 0; i < limit && HumanLeader::getResource(resource) < target; ++i)
            step();
    }
};

TEST_F(ColonyCycles, JobsFillTheColony)
{
    struct Case {
        const char* what;
        uint32_t dust;
        uint32_t action;  // when no dust gives the job
        const char* scenery;
        const char* resource;
    };
    const Case cases[] = {
        {"miner", MinerDust::kTypeId, 0, "Stone", "Stone"},
        {"woodchopper", WoodcutterDust::kTypeId, 0, "Wood", "Wood"},
        {"water carrier", 0, ActionType::SearchWater, "Water", "Water"},
    };
    for (const Case& c : cases) {
        world->reset();
        world->placeBorderWalls();
        HumanRegistry::getInstance()->clear();
        HumanLeader::replaceResources();
        fill(1, 1, 238, 10, kStone);
        if (std::string(c.scenery) == "Water")
            fill(60, 11, 80, 13, hashString("Wall")), fill(62, 14, 78, 20, TypeId::Water);
        else
            fill(70, 11, 76, 25, hashString(c.scenery));
        HumanLeader* h = human(50);
        if (c.dust)
            put(52, h->y + 9, c.dust);
        else
            h->setAction(c.action);
        stepUntil(c.resource, 2);
        EXPECT_GE(HumanLeader::getResource(c.resource), 2) << c.what;
    }
}

TEST_F(ColonyCycles, AHunterFillsTheColonyWithRabbits)
{
    fill(60, 11, 120, 11, hashString("Soil"));
    for (int x = 70; x < 110; x += 8)
        put(x, 12, CreatureKind::MPLeaderRabbit);
    HumanLeader* h = human(50);
    put(52, h->y + 9, HunterDust::kTypeId);
    stepUntil("Food", 1, 3000);
    EXPECT_GE(HumanLeader::getResource("Food"), 1);
}

TEST_F(ColonyCycles, ABuildersSeedBuildsAndSpendsTheStock)
{
    fill(1, 11, 238, 12, hashString("Soil"));
    HumanLeader::addResource("Wood", 10);
    HumanLeader::addResource("Stone", 10);
    auto* h = static_cast<HumanLeader*>(put(50, 13, HumanLeader::kTypeId));
    h->update();
    put(52, h->y + 9, BuilderDust::kTypeId);
    for (int i = 0; i < 6000 && HumanLeader::getResource("Wood") + HumanLeader::getResource("Stone") == 20; ++i)
        step();
    EXPECT_EQ(h->job, "builder");
    EXPECT_LT(HumanLeader::getResource("Wood") + HumanLeader::getResource("Stone"), 20);
}

TEST_F(ColonyCycles, AZombieTurnsTheColony)
{
    HumanLeader* zombie = human(40);
    human(60);
    human(80);
    zombie->setAction(ActionType::SearchHuman);
    for (int i = 0; i < 4000 && HumanRegistry::getInstance()->countLiving() > 0; ++i)
        step();
    EXPECT_EQ(HumanRegistry::getInstance()->countLiving(), 0);
    EXPECT_EQ(HumanRegistry::getInstance()->countZombies(), 3);
}

TEST_F(ColonyCycles, AHunterRobotShootsAHuman)
{
    auto* robot = static_cast<RobotLeader*>(put(40, 11, RobotLeader::kTypeId));
    robot->update();
    human(70);
    robot->setAction(ActionType::RobotSearchHuman);
    for (int i = 0; i < 3000 && HumanRegistry::getInstance()->count() > 0; ++i)
        step();
    EXPECT_EQ(HumanRegistry::getInstance()->count(), 0) << "the human was shot";
}

}  // namespace
