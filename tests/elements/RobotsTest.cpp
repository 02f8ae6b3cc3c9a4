// Robots: the count of five, roles and weapons from dusts and gems, lava,
// the row scan through walls, the line of fire to the world's last column,
// the sight test, the editor's patrol length and the 16-byte save.
#include <string>
#include <vector>

#include "MaterialWorld.h"
#include "base/NSData.h"
#include "elements/creatures/CreatureCounts.h"
#include "elements/creatures/CreatureKinds.h"
#include "elements/creatures/Dusts.h"
#include "elements/creatures/RobotBehaviours.h"
#include "elements/creatures/Robots.h"
#include "world/ByteStream.h"
#include "world/ColorTables.h"

namespace {

const uint32_t kStone = hashString("Stone");

class Robots : public MaterialWorld {
protected:
    void SetUp() override
    {
        MaterialWorld::SetUp();
        fill(1, 1, 238, 10, kStone);
    }
    void TearDown() override
    {
        MaterialWorld::TearDown();
        EXPECT_EQ(CreatureCounts::robots, 0) << "every counted robot was taken back";
        CreatureCounts::robots = 0;
    }
    RobotLeader* robot(int x, int y = 11)
    {
        auto* r = static_cast<RobotLeader*>(put(x, y, RobotLeader::kTypeId));
        r->update();
        return r;
    }
};

TEST_F(Robots, TheSixthRobotRemovesItselfAndTheFactoryRefusesMore)
{
    std::vector<RobotLeader*> robots;
    for (int i = 0; i < 6; ++i)
        robots.push_back(static_cast<RobotLeader*>(put(20 + 12 * i, 11, RobotLeader::kTypeId)));
    for (RobotLeader* r : robots)
        r->update();
    EXPECT_EQ(CreatureCounts::robots, 5);
    EXPECT_TRUE(robots[5]->overLimit);
    step(2);
    EXPECT_EQ(count(RobotLeader::kTypeId), 5);
    EXPECT_EQ(CreatureCounts::robots, 5);
    EXPECT_EQ(world->addParticle(200, 30, RobotLeader::kTypeId, false), nullptr);
}

TEST_F(Robots, AWorldWithFiveRobotsLoadsAndUndoesWhileFiveLive)
{
    for (int i = 0; i < 5; ++i)
        robot(20 + 12 * i);
    step(2);
    ASSERT_EQ(CreatureCounts::robots, 5);
    NSData* saved = world->save();
    saved->retain();
    // The running world's robots are replaced by the load: they do not bar
    // the saved ones.
    EXPECT_TRUE(world->load(saved));
    step(10);
    EXPECT_EQ(count(RobotLeader::kTypeId), 5);
    EXPECT_LE(CreatureCounts::robots, 5);
    EXPECT_EQ(world->addParticle(200, 30, RobotLeader::kTypeId, false), nullptr) << "outside a load the cap holds";

    // Undo exchanges the world with a snapshot that holds robots too.
    CC_SAFE_RELEASE(world->undoSnapshot);
    world->undoSnapshot = saved;
    const bool toggle = world->undoToggle;
    world->undo();
    EXPECT_NE(world->undoToggle, toggle) << "the snapshot was loaded";
    EXPECT_EQ(count(RobotLeader::kTypeId), 5);
}

TEST_F(Robots, ARobotDestroyedBeforeItsBodyIsNotTakenOffTheCount)
{
    put(50, 11, RobotLeader::kTypeId);
    world->removeParticle(50, 11);
    EXPECT_EQ(CreatureCounts::robots, 0);
    robot(60);
    EXPECT_EQ(CreatureCounts::robots, 1);
    world->removeParticle(60, 11);
    EXPECT_EQ(CreatureCounts::robots, 0);
}

TEST_F(Robots, DustsAndGemsSetRoleAndWeapon)
{
    struct Case {
        uint32_t touched;
        const char* skin;
        uint32_t action;
    };
    const Case cases[] = {
        {RHunterDust::kTypeId, "robot_hunter_laser", ActionType::RobotSearchHuman},
        {hashString("Obsidian"), "robot_guardian_missile", ActionType::RobotEquipMissile},
        {RGuardianDust::kTypeId, "robot_guardian_laser", ActionType::RobotGuardSpot},  // already guarding
    };
    int x = 30;
    for (const Case& c : cases) {
        RobotLeader* r = robot(x);
        EXPECT_EQ(r->skinName(), "robot_guardian_laser");
        r->dustRow = 4;
        put(x + 2, r->y + 3, c.touched);
        r->update();
        if (c.action == ActionType::RobotEquipMissile)
            r->currentAction->tick();
        world->applyPendingChanges();
        EXPECT_EQ(r->skinName(), c.skin) << c.skin;
        const bool consumed = c.action != ActionType::RobotGuardSpot;
        EXPECT_EQ(world->at(x + 2, r->y + 3) == nullptr, consumed) << c.skin;
        x += 40;
    }
}

TEST_F(Robots, LavaBesideARobotDestroysIt)
{
    RobotLeader* r = robot(50);
    put(49, 12, TypeId::Lava);
    r->update();
    world->applyPendingChanges();
    EXPECT_EQ(count(RobotLeader::kTypeId), 0);
}

TEST_F(Robots, TheRowScanSeesThroughWallsAndTheLineOfFireEndsAtAHumanLeaderOnly)
{
    RobotLeader* r = robot(150);
    const int y = r->y;
    put(153, y + 4, hashString("Wall"));
    EXPECT_FALSE(robotSeesHumanInRow(*r));
    put(170, y + 4, CreatureKind::HumanPart);
    EXPECT_TRUE(robotSeesHumanInRow(*r)) << "seen through the wall";

    // Far past column 119, out to the world's last column.
    put(236, y, CreatureKind::HumanLeader);
    EXPECT_TRUE(RobotShootHumanAction::humanInLineOfFire(*r));
    put(200, y, CreatureKind::HumanPart);
    EXPECT_FALSE(RobotShootHumanAction::humanInLineOfFire(*r)) << "a body cell in front ends the burst";
}

TEST_F(Robots, SightRangeOfTwoOrLessNeverFindsAHuman)
{
    RobotLeader* r = robot(50);
    put(54, r->y + 2, CreatureKind::HumanPart);
    for (int range : {0, 1, 2}) {
        r->sightRange = range;
        EXPECT_FALSE(RobotSearchHumanAction::seesHuman(*r)) << range;
    }
    r->sightRange = 10;
    EXPECT_TRUE(RobotSearchHumanAction::seesHuman(*r));
}

TEST_F(Robots, TheEditorsChoiceSetsThePatrolLengthAndSavesKeepIt)
{
    RobotLeader* r = robot(50);
    r->editorChoice = 40;
    r->applyEditor();
    EXPECT_EQ(r->patrolLength, 40);
    r->patrolSteps = 7;
    r->facing_ = 3;  // a stored facing other than +-1 loads as +1
    r->setAction(ActionType::RobotWalk);
    std::vector<uint8_t> bytes;
    ByteWriter out(bytes);
    r->saveExtra(out);
    ASSERT_EQ(bytes.size(), 16u);
    RobotLeader loaded;
    ByteReader in(bytes.data(), bytes.size());
    loaded.loadExtra(in);
    EXPECT_EQ(loaded.currentActionType, ActionType::RobotWalk);
    EXPECT_EQ(loaded.facing_, 1);
    EXPECT_EQ(loaded.patrolLength, 40);
    EXPECT_EQ(loaded.patrolSteps, 7);
}

TEST_F(Robots, AGuardianSwitchesBetweenGuardAndPatrolAndShootsAHumanInItsRow)
{
    RobotLeader* r = robot(50);
    auto* guard = r->actionOf(ActionType::RobotGuardSpot);
    r->setAction(ActionType::RobotGuardSpot);
    for (int i = 0; i < 8 && r->currentActionType == ActionType::RobotGuardSpot; ++i)
        guard->step();
    EXPECT_EQ(r->currentActionType, ActionType::RobotWalk);
    put(r->x + 30 * r->getFacing(), r->y + 4, CreatureKind::HumanPart);
    r->setAction(ActionType::RobotGuardSpot);
    guard->step();
    guard->step();
    EXPECT_EQ(r->currentActionType, ActionType::RobotShootHuman);
}

TEST_F(Robots, ABeamOfRow107DestroysARobotAndOtherBeamsDoNot)
{
    int x = 50;
    for (int row : {95, 107}) {
        RobotLeader* r = robot(x);
        Particle* beam = put(x - 1, 12, hashString("LaserBeam"));
        beam->color = colorOfRow(row);
        r->update();
        world->applyPendingChanges();
        EXPECT_EQ(world->at(x, 11) != nullptr, row != 107) << "row " << row;
        x += 40;
    }
}

TEST_F(Robots, ElectrifiedMetalBesideARobotStunsIt)
{
    RobotLeader* r = robot(50);
    r->setAction(ActionType::RobotWalk);
    put(49, 12, TypeId::Metal);
    r->update();
    EXPECT_EQ(r->currentActionType, ActionType::RobotWalk) << "metal without current";
    world->electricityGrid.setCell(49, 12, ElectricityGrid::kHead);
    r->update();
    EXPECT_EQ(r->currentActionType, ActionType::RobotStun);
}

}  // namespace
