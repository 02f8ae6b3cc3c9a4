// Structure seeds fall, settle into the ground and build their structure one
// particle per update from the row they stood on; resource seeds wait, put
// the ground back and use up the colony's stock; tree seeds take only Mud;
// the Plesiosaurus dives. The folders are the test fixtures.
#include "MaterialWorld.h"
#include "SimpleAudioEngine.h"
#include "base/NSData.h"
#include "profile/Profile.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/living/BuildingSeeds.h"
#include "elements/living/DinosaurSeeds.h"
#include "elements/living/Plants.h"
#include "elements/living/TreeSeeds.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"
#include "support/BlueprintFixtures.h"
#include "world/GameServices.h"

class Seeds : public MaterialWorld {
protected:
    void SetUp() override
    {
        MaterialWorld::SetUp();
        Blueprint::variantCounter = 0;
        gameServices().replaceResourceStore();
    }
    // A flat bed of one kind, rows 1 to `top`, walled at both ends.
    void bed(uint32_t kind, int top, int x0 = 20, int x1 = 120)
    {
        fill(x0, 1, x1, top, kind);
        fill(x0 - 1, 1, x0 - 1, top + 1, Wall::kTypeId);
        fill(x1 + 1, 1, x1 + 1, top + 1, Wall::kTypeId);
    }
    SeedState& state(Particle* p) { return *stateOf(p); }
    static SeedState* stateOf(Particle* p);
    int resource(const char* name) { return gameServices().getResource(name); }
    testsupport::FixtureBlueprints fixtures;
};

SeedState* Seeds::stateOf(Particle* p)
{
    auto* carrier = dynamic_cast<SeedCarrier*>(p);
    return carrier ? &carrier->seedState() : nullptr;
}

TEST_F(Seeds, ASeedFallsSinksAndBuildsFromTheRowAboveOneParticleAnUpdate)
{
    bed(Soil::kTypeId, 5);
    Particle* seed = put(70, 15, SeedHouse::kTypeId);
    int updates = 0;
    while (!state(seed).blueprint && updates < 30) {
        seed->update();
        ++updates;
    }
    EXPECT_EQ(updates, 10) << "nine falls, then it settles";
    EXPECT_EQ(world->at(70, 5), seed) << "sunk into the ground";
    // One particle per update from row 6: the hut is 18 pixels.
    for (int i = 1; i <= 18; ++i) {
        seed->update();
        EXPECT_EQ(count(Wood::kTypeId) + count(Glass::kTypeId), i);
    }
    // Columns 67 to 71, rows 6 to 9; the middle column is 69.
    EXPECT_EQ(typeAt(67, 6), Wood::kTypeId);
    EXPECT_EQ(typeAt(69, 7), Glass::kTypeId);
    EXPECT_EQ(typeAt(67, 9), 0u);
    EXPECT_EQ(typeAt(68, 9), Wood::kTypeId);
    seed->update();
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(70, 5), 0u) << "an ordinary seed leaves its cell empty";
}

TEST_F(Seeds, ASeedClearsThreeColumnsOfGrassAndItsOwnKindBeforeSettling)
{
    bed(Soil::kTypeId, 5);
    fill(59, 6, 61, 6, Grass::kTypeId);
    Particle* seed = put(60, 7, SeedHouse::kTypeId);
    put(60, 9, SeedHouse::kTypeId);  // same kind above: removed
    put(61, 8, SeedOak::kTypeId);    // another kind ends that walk
    put(59, 8, SeedHouse::kTypeId);
    seed->update();
    EXPECT_EQ(typeAt(59, 6), 0u);
    EXPECT_EQ(typeAt(60, 6), 0u);
    EXPECT_EQ(typeAt(61, 6), Grass::kTypeId);
    EXPECT_EQ(typeAt(60, 9), 0u);
    EXPECT_EQ(typeAt(59, 8), 0u);
    EXPECT_EQ(typeAt(61, 8), SeedOak::kTypeId);
    EXPECT_FALSE(state(seed).blueprint) << "it falls on and settles later";
    seed->update();
    seed->update();
    EXPECT_TRUE(state(seed).blueprint);
    EXPECT_EQ(world->at(60, 5), seed);
}

TEST_F(Seeds, ASeedOnRowOneOrZeroRemovesItself)
{
    Particle* low = put(50, 1, SeedHouse::kTypeId);
    low->update();
    EXPECT_EQ(world->pendingRemovalCount(), 1u);
    world->clearPendingChanges();
    // A seed that somehow stands on row 0 never looks below it.
    std::unique_ptr<Particle> bottom(ParticleCreator::createByName("SeedHouse"));
    bottom->setPosition(50, 0);
    bottom->update();
    EXPECT_EQ(world->pendingRemovalCount(), 1u);
    world->clearPendingChanges();
    std::unique_ptr<Particle> oak(ParticleCreator::createByName("SeedOak"));
    oak->setPosition(60, 0);
    oak->update();
    EXPECT_EQ(world->pendingRemovalCount(), 1u);
    world->clearPendingChanges();
}

TEST_F(Seeds, ResourceSeedsWaitTheirDelayBeforeSettling)
{
    struct Case {
        uint32_t type;
        int delay;
    };
    for (const Case& c :
         {Case{SeedPier::kTypeId, 20}, Case{SeedNiceHouse::kTypeId, 200}, Case{SeedWoodHouse::kTypeId, 200}}) {
        world->reset();
        world->placeBorderWalls();
        bed(Soil::kTypeId, 5);
        Particle* seed = put(70, 6, c.type);
        int updates = 0;
        while (!state(seed).blueprint && updates < 500) {
            seed->update();
            ++updates;
        }
        EXPECT_EQ(updates, c.delay);
        // In the air when the delay runs out, it hangs there.
        Particle* high = put(90, 40, c.type);
        state(high).startDelay = 1;
        for (int i = 0; i < 50; ++i)
            high->update();
        EXPECT_EQ(high->y, 40);
        EXPECT_FALSE(state(high).blueprint);
    }
}

TEST_F(Seeds, ResourceSeedsPutTheGroundBackAndUseWhatTheColonyHas)
{
    bed(Soil::kTypeId, 5);
    gameServices().addResource("Stone", 2);
    gameServices().addResource("Wood", 5);
    Particle* seed = put(70, 6, SeedNiceHouse::kTypeId);
    state(seed).startDelay = 1;
    for (int i = 0; i < 100 && world->pendingReplacementCount() == 0; ++i)
        seed->update();
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(70, 5), Soil::kTypeId);
    EXPECT_EQ(resource("Stone"), 0);
    EXPECT_EQ(resource("Wood"), 3);
    EXPECT_EQ(count(Wall::kTypeId) - 2 * 6, 6) << "the house stands (beside the bed's walls)";
    EXPECT_EQ(count(Wood::kTypeId), 4);
    EXPECT_FALSE(HumanLeader::useResource("Stone"));
    EXPECT_TRUE(HumanLeader::useResource("Wood"));
    EXPECT_EQ(resource("Wood"), 2);
}

TEST_F(Seeds, TheFireplaceFlagIsSetOnDayOneOfTheHumanCampaignEvenWhenBlocked)
{
    for (int day : {1, 2}) {
        world->reset();
        world->placeBorderWalls();
        Profile::resetInstanceForTests();
        Profile& profile = *Profile::getInstance();
        profile.setGameMode(5);
        profile.setDay(day);
        bed(Soil::kTypeId, 5);
        put(70, 7, Glass::kTypeId);  // in the way: blocked
        Particle* seed = put(70, 6, SeedFireplace::kTypeId);
        state(seed).startDelay = 1;
        seed->update();
        ASSERT_TRUE(state(seed).blueprint);
        EXPECT_TRUE(state(seed).blueprint->isBlocked());
        EXPECT_EQ(profile.isFireplacePlanted(), day == 1);
        EXPECT_TRUE(state(seed).blueprint->step());
    }
}

TEST_F(Seeds, TreeSeedsSettleOnlyOnMudAndLeaveMudBehind)
{
    struct Case {
        uint32_t ground;
        bool builds;
    };
    for (const Case& c : {Case{Mud::kTypeId, true}, Case{Soil::kTypeId, false}, Case{Sand::kTypeId, false}}) {
        world->reset();
        world->placeBorderWalls();
        bed(c.ground, 5);
        put(70, 12, SeedOak::kTypeId);
        step(60);
        world->applyPendingChanges();
        EXPECT_EQ(count(SeedOak::kTypeId), 0);
        EXPECT_EQ(count(TreeLeaf::kTypeId), c.builds ? 10 : 0);
        EXPECT_EQ(count(Wood::kTypeId), c.builds ? 4 : 0);
        EXPECT_EQ(typeAt(70, 5), c.ground) << "the ground cell is as it was";
    }
    // Blocked by a wall in the picture's box: Mud comes back, nothing built.
    world->reset();
    world->placeBorderWalls();
    bed(Mud::kTypeId, 5);
    put(71, 10, Wall::kTypeId);
    put(70, 6, SeedOak::kTypeId);
    step(5);
    world->applyPendingChanges();
    EXPECT_EQ(count(SeedOak::kTypeId), 0);
    EXPECT_EQ(count(TreeLeaf::kTypeId) + count(Wood::kTypeId), 0);
    EXPECT_EQ(typeAt(70, 5), Mud::kTypeId);
}

TEST_F(Seeds, APlesiosaurusDivesEightRowsAndLeavesWater)
{
    // A lake 12 deep: the seed floats on it and dives.
    bed(Stone::kTypeId, 2);
    fill(20, 3, 120, 14, Water::kTypeId);
    Particle* seed = put(70, 15, Plesiosaurus::kTypeId);
    seed->update();
    EXPECT_EQ(world->at(70, 7), seed);
    ASSERT_TRUE(state(seed).blueprint);
    for (int i = 0; i < 100 && world->pendingReplacementCount() == 0; ++i)
        seed->update();
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(70, 7), Water::kTypeId);
    // The neck stands above the surface.
    EXPECT_EQ(typeAt(70, 17), TreeLeaf::kTypeId);
    EXPECT_EQ(typeAt(69, 8), TreeLeaf::kTypeId);
    EXPECT_EQ(typeAt(70, 9), TreeLeaf::kTypeId);
    // Below row 9 it vanishes; on land too.
    world->reset();
    world->placeBorderWalls();
    fill(20, 1, 120, 7, Water::kTypeId);
    Particle* shallow = put(70, 8, Plesiosaurus::kTypeId);
    shallow->update();
    EXPECT_EQ(world->pendingRemovalCount(), 1u);
    world->clearPendingChanges();
    bed(Soil::kTypeId, 20, 130, 150);
    Particle* dry = put(140, 21, Plesiosaurus::kTypeId);
    dry->update();
    EXPECT_EQ(world->pendingRemovalCount(), 1u);
    EXPECT_FALSE(state(dry).blueprint);
}

TEST_F(Seeds, ALandDinosaurRoarsOnceAndLeavesAHole)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->resetForTests();
    bed(Soil::kTypeId, 5);
    Particle* seed = put(70, 6, Brontosaur::kTypeId);
    for (int i = 0; i < 100 && world->pendingRemovalCount() == 0; ++i)
        seed->update();
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(70, 5), 0u);
    EXPECT_EQ(count(TreeLeaf::kTypeId), 10);
    int roars = 0;
    for (const auto& call : CocosDenshion::SimpleAudioEngine::sharedEngine()->recordedCalls())
        roars += call.path == "sounds/sfx_element_dino_2.mp3";
    EXPECT_EQ(roars, 1);
}

TEST_F(Seeds, DinosaurNamesKeepTheirIdsThroughSaveAndLoad)
{
    EXPECT_EQ(Pachy::kTypeId, hashString("Pachy"));
    EXPECT_EQ(Brontosaur::kTypeId, hashString("Brontosaurus"));
    EXPECT_EQ(SeedFuturisticBuilding::kTypeId, hashString("SeedFutureBuild"));
    fill(10, 1, 30, 1, Wall::kTypeId);
    put(12, 2, Pachy::kTypeId);
    put(14, 2, Brontosaur::kTypeId);
    world->addParticle(16, 2, hashString("Pachycephalosaurus"), false);
    NSData* blob = world->save();
    ASSERT_NE(blob, nullptr);
    blob->retain();
    world->reset();
    world->placeBorderWalls();
    ASSERT_TRUE(world->load(blob));
    blob->release();
    EXPECT_EQ(typeAt(12, 2), hashString("Pachy"));
    EXPECT_EQ(typeAt(14, 2), hashString("Brontosaurus"));
    EXPECT_EQ(typeAt(16, 2), hashString("Pachy"));
}
