// The job dusts fall, glint and vanish on landing; the colony's resource
// counts and the human campaign's resource goals; the registry of humans.
#include "MaterialWorld.h"
#include "StandInHuman.h"

#include <map>
#include <string>

#include "profile/Profile.h"
#include "elements/creatures/CreatureKinds.h"
#include "elements/creatures/Dusts.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/HumanRegistry.h"
#include "elements/materials/Powders.h"
#include "world/GameServices.h"

using Dusts = MaterialWorld;
using Colony = MaterialWorld;
using Registry = MaterialWorld;

namespace {
BaseDustState& dust(Particle* p)
{
    return *static_cast<BaseDustState*>(p);
}

const uint32_t kDustKinds[] = {WoodcutterDust::kTypeId, HunterDust::kTypeId,    MinerDust::kTypeId,
                               BuilderDust::kTypeId,    SafariDust::kTypeId,    SpacemanDust::kTypeId,
                               ZombieDust::kTypeId,     RGuardianDust::kTypeId, RHunterDust::kTypeId};

// Stand-in human cells, each with a job of the test's choosing ("normal"
// unless set).
struct StandInHumanJobs {
    static inline std::map<const Particle*, std::string> jobs;
    static void install()
    {
        StandInHuman::install("normal");
        jobs.clear();
        setHumanJobHook([](const Particle* p) {
            auto it = jobs.find(p);
            return it == jobs.end() ? std::string("normal") : it->second;
        });
    }
};
}  // namespace

TEST_F(Dusts, EveryKindIsMadeWithItsSoundAndTheNeverPlacedBaseIsNot)
{
    const char* sounds[] = {"sfx_element_gem", "sfx_element_gem",   "sfx_element_gem",
                            "sfx_element_gem", "sfx_element_gem",   "sfx_element_spaceman",
                            "sfx_element_gem", "sfx_element_robot", "sfx_element_robot"};
    int x = 10;
    for (size_t i = 0; i < std::size(kDustKinds); ++i, x += 3) {
        Particle* p = put(x, 100, kDustKinds[i]);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->getSoundName(), sounds[i]);
        EXPECT_EQ(p->getDensity(), 0);
        EXPECT_FALSE(p->isLiving());
        EXPECT_EQ(p->getSaveSize(), 0) << "a dust keeps nothing across a save";
        EXPECT_TRUE(dust(p).idle);
    }
    EXPECT_EQ(world->addParticle(60, 100, BaseDust::kTypeId, false), nullptr);
}

TEST_F(Dusts, ADustThatLandsOnAnythingIsRemovedUnmoved)
{
    struct Case {
        const char* what;
        int y;
        uint32_t below;  // 0: nothing put below
    };
    const Case cases[] = {
        {"the border row", 1, 0},
        {"a wall", 50, hashString("Wall")},
        {"sand", 50, Sand::kTypeId},
        {"another dust", 50, HunterDust::kTypeId},
    };
    int x = 20;
    for (const Case& c : cases) {
        if (c.below)
            put(x, c.y - 1, c.below);
        Particle* d = put(x, c.y, WoodcutterDust::kTypeId);
        const int ox = d->x;
        const int oy = d->y;
        d->update();
        EXPECT_EQ(d->x, ox) << c.what;
        EXPECT_EQ(d->y, oy) << c.what;
        world->applyPendingChanges();
        EXPECT_EQ(typeAt(ox, oy), 0u) << c.what;
        x += 10;
    }
}

TEST_F(Dusts, ADustInOpenAirFallsOneCellAnUpdateAndDriftsNowAndThen)
{
    Particle* d = put(100, 140, MinerDust::kTypeId);
    int drifted = 0;
    for (int i = 0; i < 100; ++i) {
        const int ox = d->x;
        const int oy = d->y;
        d->update();
        world->applyPendingChanges();
        ASSERT_EQ(world->at(d->x, d->y), d) << "step " << i;
        EXPECT_EQ(d->y, oy - 1) << "step " << i;
        EXPECT_LE(std::abs(d->x - ox), 1);
        drifted += d->x != ox;
    }
    EXPECT_GT(drifted, 0);
}

TEST_F(Dusts, WithEqualRowsTheIdleBlendKeepsTheColourAndAGlintComesBack)
{
    Particle* d = put(100, 150, ZombieDust::kTypeId);
    const cocos2d::ccColor4B start = d->color;
    BaseDustState& s = dust(d);
    s.phase = 3.0f;
    // A white glint climbs away from the colour and falls back to it.
    s.rising = true;
    s.idle = false;
    s.sparkle = true;
    bool brighter = false;
    for (int i = 0; i < 60 && (s.rising || s.falling); ++i) {
        d->update();
        world->applyPendingChanges();
        brighter |= d->color.r > start.r || d->color.g > start.g || d->color.b > start.b;
    }
    EXPECT_TRUE(brighter);
    EXPECT_TRUE(s.idle);
    d->update();
    EXPECT_EQ(d->color.r, start.r);
    EXPECT_EQ(d->color.g, start.g);
    EXPECT_EQ(d->color.b, start.b);
}

TEST_F(Colony, ResourcesAreCountedUsedAndAnEntryAtZeroStays)
{
    EXPECT_EQ(HumanLeader::getResource("Food"), 0);
    EXPECT_FALSE(HumanLeader::useResource("Food")) << "missing";
    HumanLeader::gatherResource("Food");
    EXPECT_EQ(HumanLeader::getResource("Food"), 1);
    EXPECT_TRUE(HumanLeader::useResource("Food"));
    EXPECT_EQ(HumanLeader::getResource("Food"), 0);
    EXPECT_TRUE(HumanLeader::hasResourceEntry("Food"));
    EXPECT_FALSE(HumanLeader::useResource("Food")) << "at 0";
    EXPECT_EQ(HumanLeader::getResource("Food"), 0) << "never below 0 through use";

    HumanLeader::addResource("Wood", 7);
    HumanLeader::addResource("Wood", -2);
    EXPECT_EQ(gameServices().getResource("Wood"), 5) << "the blob reads the same store";
    gameServices().replaceResourceStore();
    EXPECT_EQ(HumanLeader::getResource("Wood"), 0);
    EXPECT_FALSE(HumanLeader::hasResourceEntry("Food"));
}

TEST_F(Colony, ResourceGoalsOnlyInTheHumanCampaignOnTheirDays)
{
    struct Case {
        int mode;
        int day;
        int stone;  // counts before the gathering
        int wood;
        const char* gathered;
        bool food, water, stoneGoal, stockpile;
    };
    const Case cases[] = {
        {5, 2, 0, 0, "Food", true, false, false, false},   {5, 2, 0, 0, "Water", false, true, false, false},
        {5, 2, 9, 9, "Stone", false, false, false, false}, {4, 2, 0, 0, "Food", false, false, false, false},
        {5, 1, 0, 0, "Food", false, false, false, false},  {5, 3, 3, 0, "Wood", false, false, true, false},
        {5, 3, 2, 0, "Stone", false, false, false, false},  // checked before the count rises
        {5, 4, 5, 8, "Food", false, false, false, true},   {5, 4, 5, 7, "Wood", false, false, false, false},
        {5, 4, 4, 8, "Stone", false, false, false, false}, {0, 4, 5, 8, "Food", false, false, false, false},
    };
    for (const Case& c : cases) {
        Profile::resetInstanceForTests();
        Profile& profile = *Profile::getInstance();
        profile.setGameMode(c.mode);
        profile.setDay(c.day);
        HumanLeader::replaceResources();
        HumanLeader::addResource("Stone", c.stone);
        HumanLeader::addResource("Wood", c.wood);
        HumanLeader::gatherResource(c.gathered);
        const std::string what =
            std::string("mode ") + std::to_string(c.mode) + " day " + std::to_string(c.day) + " " + c.gathered;
        EXPECT_EQ(profile.isFoodGathered(), c.food) << what;
        EXPECT_EQ(profile.isWaterGathered(), c.water) << what;
        EXPECT_EQ(profile.isStoneGathered(), c.stoneGoal) << what;
        EXPECT_EQ(profile.isStockpileGathered(), c.stockpile) << what;
        EXPECT_EQ(profile.getCampaignFlag(1), c.food) << what;
        EXPECT_EQ(profile.getCampaignFlag(6), c.stockpile) << what;
    }
}

TEST_F(Registry, ListsHumansInOrderAndCountsZombiesByJob)
{
    StandInHumanJobs::install();
    HumanRegistry& r = *HumanRegistry::getInstance();
    ASSERT_EQ(r.count(), 0);
    EXPECT_EQ(r.countZombies(), 0);
    EXPECT_EQ(r.countLiving(), 0);

    Particle* normal1 = put(10, 50, hashString("HumanLeader"));
    Particle* zombie = put(20, 50, hashString("HumanLeader"));
    Particle* normal2 = put(30, 50, hashString("HumanLeader"));
    StandInHumanJobs::jobs[zombie] = "zombie";
    StandInHumanJobs::jobs[normal2] = "zombies";  // not exactly "zombie"
    r.add(normal1);
    r.add(zombie);
    r.add(normal2);
    r.add(normal1);  // a second entry is removed one at a time
    EXPECT_EQ(r.countZombies(), 1);
    EXPECT_EQ(r.countLiving(), 3);

    r.remove(normal1);
    EXPECT_TRUE(r.contains(normal1)) << "only the first occurrence goes";
    r.remove(world->outsideWall);  // absent: nothing
    EXPECT_EQ(r.count(), 3);
    r.remove(zombie);
    EXPECT_EQ(r.countZombies(), 0);

    gameServices().clearHumanRegistry();
    EXPECT_EQ(r.count(), 0);
    EXPECT_NE(world->at(10, 50), nullptr) << "the humans themselves are not touched";
}
