// Humans: body and registry, the cap of six, save and load, eating, burning,
// the dusts they take, leaving behaviours on destruction and the scans at the
// world's edge; one job cycle filling the colony.
#include <string>
#include <vector>

#include "MaterialWorld.h"
#include "elements/creatures/CreatureKinds.h"
#include "elements/creatures/Dusts.h"
#include "elements/creatures/HumanBehaviours.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/HumanRegistry.h"
#include "elements/creatures/Robots.h"
#include "platform/GameClock.h"
#include "world/ByteStream.h"
#include "world/GameServices.h"

namespace {

const uint32_t kStone = hashString("Stone");
const uint32_t kWood = hashString("Wood");

class Humans : public MaterialWorld {
protected:
    void SetUp() override
    {
        MaterialWorld::SetUp();
        setHumanJobHook(jobOfHumanCell);
        fill(1, 1, 238, 10, kStone);
    }
    void TearDown() override
    {
        MaterialWorld::TearDown();
        EXPECT_EQ(HumanRegistry::getInstance()->count(), 0) << "every human left the registry";
    }
    // A human standing on the ground at column x, its body built.
    HumanLeader* human(int x, int y = 11)
    {
        auto* h = static_cast<HumanLeader*>(put(x, y, HumanLeader::kTypeId));
        h->update();
        return h;
    }
    int humansInWorld() const { return count(HumanLeader::kTypeId); }
};

TEST_F(Humans, AHumanBuildsTwelveCellsRegistersOnceAndLeavesWhenDestroyed)
{
    HumanLeader* h = human(50);
    ASSERT_NE(h->group, nullptr);
    EXPECT_EQ(h->group->members->count(), 12u);
    EXPECT_TRUE(h->registered);
    EXPECT_EQ(HumanRegistry::getInstance()->count(), 1);
    h->update();
    EXPECT_EQ(HumanRegistry::getInstance()->count(), 1) << "registered once";
    EXPECT_EQ(humanJobOf(world->at(51, 15)), "normal") << "a body cell answers its human's job";
    EXPECT_EQ(humanJobOf(h), "normal");
    EXPECT_EQ(h->currentActionType, ActionType::Walk);
    world->removeParticle(50, 11);
    EXPECT_EQ(HumanRegistry::getInstance()->count(), 0);
}

TEST_F(Humans, TheSeventhHumanVanishesAtItsFirstUpdate)
{
    for (int i = 0; i < 6; ++i)
        human(20 + 10 * i);
    ASSERT_EQ(HumanRegistry::getInstance()->count(), 6);
    auto* seventh = static_cast<HumanLeader*>(put(200, 11, HumanLeader::kTypeId));
    EXPECT_TRUE(seventh->overLimit);
    step(3);
    EXPECT_EQ(humansInWorld(), 6);
    EXPECT_EQ(HumanRegistry::getInstance()->count(), 6);
}

TEST_F(Humans, SaveAndLoadKeepBehaviourFacingAndGender)
{
    struct Case {
        uint32_t action;
        int32_t facing;
        const char* gender;
        int32_t loadedFacing;
    };
    const Case cases[] = {
        {ActionType::SearchWood, -1, "female", -1},
        {ActionType::SearchStone, 1, "male", 1},
        {ActionType::SafariWalk, 7, "female", 1},  // a stored facing other than +-1 loads as +1
        {0, 0, "male", 1},
    };
    for (const Case& c : cases) {
        HumanLeader saved;  // never registered: still writes its 12 bytes
        saved.currentActionType = c.action;
        saved.facing_ = c.facing;
        saved.gender = c.gender;
        std::vector<uint8_t> bytes;
        ByteWriter out(bytes);
        saved.saveExtra(out);
        ASSERT_EQ(bytes.size(), 12u);
        EXPECT_EQ(bytes[8], std::string(c.gender) == "male" ? 0 : 1);
        HumanLeader loaded;
        ByteReader in(bytes.data(), bytes.size());
        loaded.loadExtra(in);
        EXPECT_EQ(loaded.currentActionType, c.action);
        EXPECT_EQ(loaded.facing_, c.loadedFacing);
        EXPECT_EQ(loaded.gender, c.gender);
    }
}

// A body cell saved before it rejoins its leader after a load keeps the
// leader's cell; only a cell that belongs to no human is saved free.
TEST_F(Humans, ABodyCellSavedBeforeItRejoinsItsLeaderKeepsIt)
{
    HumanLeader* h = human(50);
    const struct {
        const char* what;
        bool bound, loaded, registered;
        int32_t x, y;  // the leader cell written
    } cases[] = {
        {"in its human", true, false, false, 50, 11},
        {"loaded, not yet registered", false, true, false, 40, 20},
        {"registered, its human not yet built", false, false, true, 40, 20},
        {"free", false, false, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HumanPart part;
        part.savedLeaderX = 40;
        part.savedLeaderY = 20;
        part.group = c.bound ? h->group : nullptr;
        part.mustRegister = c.loaded;
        part.registeredWith = c.registered ? h : nullptr;
        std::vector<uint8_t> bytes;
        ByteWriter out(bytes);
        part.saveExtra(out);
        part.group = nullptr;
        part.registeredWith = nullptr;
        ByteReader in(bytes.data(), bytes.size());
        int32_t x = -1, y = -1, detached = -1;
        in.i32(x);
        in.i32(y);
        in.i32(detached);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(detached, 0);
    }
}

TEST_F(Humans, AHumanEatsItsOneFoodAt801AndThenHasNone)
{
    HumanLeader* h = human(50);
    HumanLeader::addResource("Food", 1);
    h->hunger = 800;
    h->update();
    EXPECT_EQ(HumanLeader::getResource("Food"), 1) << "not above 800 yet";
    h->update();
    EXPECT_EQ(HumanLeader::getResource("Food"), 0);
    EXPECT_LE(h->hunger, 1);
    h->hunger = 801;
    h->update();
    EXPECT_EQ(HumanLeader::getResource("Food"), 0);
    EXPECT_TRUE(HumanLeader::hasResourceEntry("Food"));
}

TEST_F(Humans, ABurnCheckWhoseDivisorTruncatesToZeroKillsNothing)
{
    struct Case {
        float temperature;
        int threshold;
    };
    // The gas exposure burns at (temperature - 100): from 91 to 110 the
    // divisor truncates to 0 or below.
    const Case cases[] = {{91.0f, -9}, {95.0f, -5}, {100.0f, 0}, {105.0f, 5}, {110.0f, 10}};
    HumanLeader* h = human(50);
    for (const Case& c : cases) {
        setTemperature(40, 1, 60, 30, c.temperature);
        for (int i = 0; i < 200; ++i) {
            h->burnCheck(c.threshold, 10);
            EXPECT_EQ(world->pendingRemovalCount(), 0u) << c.temperature << " " << c.threshold;
            EXPECT_EQ(world->pendingReplacementCount(), 0u) << c.temperature << " " << c.threshold;
            world->clearPendingChanges();
        }
    }
}

TEST_F(Humans, DustsGiveJobsInOrderTheLastWinsAndBothAreUsed)
{
    struct Case {
        uint32_t before;  // behaviour before
        std::vector<uint32_t> dusts;
        uint32_t after;
        int dustsLeft;
    };
    const Case cases[] = {
        {ActionType::Walk, {WoodcutterDust::kTypeId, HunterDust::kTypeId}, ActionType::SearchFood, 0},
        {ActionType::SearchHuman, {HunterDust::kTypeId}, ActionType::SearchHuman, 1},  // zombies ignore it
        {ActionType::XenovineCocoon, {ZombieDust::kTypeId}, ActionType::SearchHuman, 0},
        {ActionType::SearchWood, {WoodcutterDust::kTypeId}, ActionType::SearchWood, 1},  // already searching
    };
    int x = 30;
    for (const Case& c : cases) {
        HumanLeader* h = human(x);
        h->setAction(c.before);
        h->dustRow = 5;
        int y = h->y + 5;
        for (uint32_t d : c.dusts)
            put(x + 2, y--, d);
        h->update();
        world->applyPendingChanges();
        EXPECT_EQ(h->currentActionType, c.after) << "case at " << x;
        int left = 0;
        for (uint32_t d : c.dusts)
            left += count(d) > 0;
        EXPECT_EQ(left, c.dustsLeft) << "case at " << x;
        for (int yy = 12; yy < 30; ++yy)
            if (world->at(x + 2, yy))
                world->removeParticle(x + 2, yy);
        x += 40;
    }
}

TEST_F(Humans, DestructionLeavesDieWithoutAnExplosion)
{
    HumanLeader* h = human(50);
    h->setAction(ActionType::Die);
    world->removeParticle(50, 11);
    world->applyPendingChanges();
    EXPECT_EQ(count(TypeId::Explosion), 0);
    world->reset();
    world->placeBorderWalls();
    HumanRegistry::getInstance()->clear();

    // Switched away while alive, Die explodes.
    fill(1, 1, 238, 10, kStone);
    HumanLeader* living = human(50);
    living->setAction(ActionType::Die);
    living->setAction(ActionType::Walk);
    EXPECT_GT(count(TypeId::Explosion), 0);
}

TEST_F(Humans, ASpacemanInTheAirFallsEveryFifteenSteps)
{
    HumanLeader* h = human(50, 60);
    h->setAction(ActionType::SearchAluminite);
    const int startY = h->y;
    for (int i = 0; i < 30; ++i)
        h->update();
    EXPECT_GE(startY - h->y, 1);
    EXPECT_LE(startY - h->y, 3);
    EXPECT_FLOAT_EQ(h->burnThreshold, HumanLeader::kSpacemanBurnThreshold);
}

TEST_F(Humans, ScansAtTheWorldsEdgeSkipColumnsOutsideTheGrid)
{
    HumanLeader* h = human(1);
    h->facing_ = -1;
    h->scanColumn = 3;
    h->update();  // column -2: nothing read
    h->setAction(ActionType::SearchHuman);
    h->scanColumn = 3;
    h->update();  // the zombie's acid scan too
    EXPECT_EQ(h->scanColumn, 0);
}

TEST_F(Humans, ABuildersThreeDrawsPlaceTheirHouseOrThinkOfResources)
{
    struct Case {
        int draw;
        uint32_t seed;  // 0: none, a balloon instead
    };
    const Case cases[] = {{0, hashString("SeedNiceHouse")}, {1, 0}, {2, hashString("SeedStoneHouse")}};
    for (const Case& c : cases) {
        HumanLeader::replaceResources();
        HumanLeader::addResource("Wood", 2);
        HumanLeader::addResource("Stone", 3);
        HumanLeader* h = human(100);
        auto* build = static_cast<BuildInSpaceAction*>(h->actionOf(ActionType::BuildInSpace));
        platform::scriptGameRand({c.draw});
        build->tick();
        platform::clearGameRandScript();
        const uint32_t placed = world->at(102, 19) ? world->at(102, 19)->getType() : 0;
        EXPECT_EQ(placed, c.seed) << "draw " << c.draw;
        EXPECT_EQ(h->currentActionType, ActionType::SearchBuildSpace);
        EXPECT_EQ(HumanLeader::getResource("Wood"), 2) << "the seed pays as it builds";
        world->removeParticle(100, 11);
        if (world->at(102, 19))
            world->removeParticle(102, 19);
    }
}

TEST_F(Humans, AMinerCyclesThroughTheStoneKinds)
{
    fill(53, 11, 60, 20, kStone);
    HumanLeader* h = human(50);
    auto* gather = static_cast<GatherStoneAction*>(h->actionOf(ActionType::GatherStone));
    h->setAction(ActionType::GatherStone);
    gather->state = ParticleAction::kRunning;
    gather->tick();
    world->applyPendingChanges();
    EXPECT_EQ(HumanLeader::getResource("Stone"), 1);
    EXPECT_EQ(gather->kindIndex, 1u) << "next it looks for Amatist";
    gather->tick();
    EXPECT_EQ(h->currentActionType, ActionType::SearchStone) << "no Amatist in reach";
}

TEST_F(Humans, AWoodchopperFillsTheColonyWithWood)
{
    fill(70, 11, 74, 30, kWood);
    HumanLeader* h = human(50);
    put(52, h->y + 9, WoodcutterDust::kTypeId);
    for (int i = 0; i < 1500 && HumanLeader::getResource("Wood") < 3; ++i)
        step();
    EXPECT_EQ(h->job, "woodchopper");
    EXPECT_GE(HumanLeader::getResource("Wood"), 3);
}

TEST_F(Humans, AZombieTurnsAHumanAndNeverAnotherZombie)
{
    HumanLeader* zombie = human(50);
    HumanLeader* victim = human(53);
    zombie->setAction(ActionType::SearchHuman);
    ASSERT_EQ(zombie->job, "zombie");
    zombie->setAction(ActionType::GatherHuman);
    zombie->actionOf(ActionType::GatherHuman)->step();
    EXPECT_EQ(victim->job, "zombie");
    EXPECT_EQ(zombie->currentActionType, ActionType::SearchHuman);
    EXPECT_EQ(HumanRegistry::getInstance()->countZombies(), 2);
    EXPECT_EQ(HumanRegistry::getInstance()->countLiving(), 0);
}

TEST_F(Humans, AHumanWithoutRoomForItsBodyWarnsOfTheLimit)
{
    std::vector<std::string> warnings;
    gameServices().showLimitWarning = [&warnings](const char* key) { warnings.emplace_back(key); };
    for (int i = 0; i < 6; ++i)
        human(20 + 10 * i);
    EXPECT_TRUE(warnings.empty());
    auto* seventh = static_cast<HumanLeader*>(put(200, 11, HumanLeader::kTypeId));
    seventh->update();
    EXPECT_EQ(warnings, std::vector<std::string>{"HumanLimitWarning"});
}

TEST_F(Humans, ACocoonHatchesIntoPiranthaOnceThreeSecondsHavePassed)
{
    platform::setManualGameTime(1000);
    HumanLeader* h = human(50);
    h->setAction(ActionType::XenovineCocoon);
    ParticleAction* cocoon = h->actionOf(ActionType::XenovineCocoon);
    cocoon->step();  // begins
    for (int second = 1; second <= 3; ++second) {
        platform::advanceManualGameTime(1);
        cocoon->step();
        EXPECT_EQ(world->pendingReplacementCount() > 0, second == 3) << second << " s";
    }
    platform::clearManualGameTime();
}

}  // namespace

TEST_F(Humans, TheRegistryCountsBuiltHumansAndRemembersAnyoneListedUntilCleared)
{
    HumanRegistry& r = *HumanRegistry::getInstance();
    r.clear();
    EXPECT_EQ(r.countZombies(), 0);
    EXPECT_EQ(r.countLiving(), 0);
    EXPECT_FALSE(r.everRegistered());

    HumanLeader* a = human(50);
    HumanLeader* b = human(80);
    EXPECT_EQ(r.builtCount(), 2);
    EXPECT_TRUE(r.everRegistered());
    b->setJob("zombie");
    EXPECT_EQ(r.countZombies(), 1);
    EXPECT_EQ(r.countLiving(), 1);

    world->removeParticle(a->x, a->y);
    world->removeParticle(b->x, b->y);
    EXPECT_EQ(r.count(), 0);
    EXPECT_EQ(r.countZombies(), 0) << "none listed: the built counter, two built and two gone";
    EXPECT_EQ(r.countLiving(), 0);
    EXPECT_TRUE(r.everRegistered()) << "kept until a clear";

    // A human gone that this run never built leaves the counter below zero.
    r.humanDestroyed();
    EXPECT_EQ(r.countZombies(), -1);
    r.clear();
    EXPECT_EQ(r.builtCount(), 0);
    EXPECT_FALSE(r.everRegistered());
}

TEST_F(Humans, ARobotNeverMovesTheBuiltCounter)
{
    HumanRegistry& r = *HumanRegistry::getInstance();
    r.clear();
    Particle* robot = put(60, 11, RobotLeader::kTypeId);
    robot->update();
    world->removeParticle(60, 11);
    EXPECT_EQ(r.builtCount(), 0);
    EXPECT_FALSE(r.everRegistered());
}
