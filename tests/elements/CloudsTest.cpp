// Cloud groups: forming, merging, moving, raining, and freeing without
// leaving a dangling link behind.
#include <set>

#include "MaterialWorld.h"
#include "elements/materials/Clouds.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"
#include "world/ParticleCreator.h"

class Clouds : public MaterialWorld {
protected:
    void SetUp() override
    {
        MaterialWorld::SetUp();
        world->weather = true;
    }
    Cloud* cloudAt(int x, int y) const { return static_cast<Cloud*>(world->at(x, y)); }
    // A w x h block of clouds with its lower left at (x, y), all in one group.
    CloudBlob* group(int x, int y, int w, int h)
    {
        fill(x, y, x + w - 1, y + h - 1, Cloud::kTypeId);
        for (int cx = x; cx < x + w; ++cx)
            for (int cy = y; cy < y + h; ++cy) {
                if (cloudAt(cx, cy)->blob != cloudAt(x, y)->blob) {
                    EXPECT_TRUE(CloudBlob::tryMerge(cloudAt(x, y)->blob, cloudAt(cx, cy)->blob));
                }
            }
        return cloudAt(x, y)->blob;
    }
    // Every member stands in the grid at its cell, once, and nothing else of
    // the group does.
    void expectWhole(const CloudBlob* blob, int members)
    {
        ASSERT_EQ(blob->memberCount(), members);
        std::set<const Cloud*> seen;
        for (const Cloud* m : blob->memberList()) {
            EXPECT_EQ(world->at(m->x, m->y), m);
            EXPECT_EQ(m->blob, blob);
            seen.insert(m);
        }
        EXPECT_EQ(static_cast<int>(seen.size()), members);
        EXPECT_EQ(count(Cloud::kTypeId), members);
    }
};

TEST_F(Clouds, WithTheWeatherOffEveryCloudTurnsToWaterNextStep)
{
    group(50, 120, 10, 5);
    put(100, 130, Cloud::kTypeId);
    world->weather = false;
    step(2);
    EXPECT_EQ(count(Cloud::kTypeId), 0);
    EXPECT_EQ(count(Water::kTypeId), 51);
    EXPECT_EQ(world->clouds->count(), 0u);
}

TEST_F(Clouds, ACloudInTheLowerHalfRainsWaterOrSnow)
{
    for (const auto& [temperature, kind] :
         {std::pair{293.0f, Water::kTypeId}, std::pair{262.0f, Snow::kTypeId}, std::pair{263.0f, Water::kTypeId}}) {
        Particle* cloud = put(30, 40, Cloud::kTypeId);
        EXPECT_EQ(updateAndApply(cloud, temperature), kind) << temperature;
        world->removeParticle(30, 40);
    }
    EXPECT_EQ(world->clouds->count(), 0u);
}

TEST_F(Clouds, RainNeedsAHundredAndThirtyTwoMembers)
{
    for (const auto& [members, rains] : {std::pair{131, false}, std::pair{132, true}}) {
        CloudBlob* blob = group(40, 120, 33, 4);
        if (members == 131) {
            world->removeParticle(72, 123);
            blob = cloudAt(40, 120)->blob;
        }
        ASSERT_EQ(blob->memberCount(), members);
        for (int i = 0; i < 3000 && !blob->rain; ++i)
            blob->update();
        EXPECT_EQ(blob->rain, rains) << members;
        for (const Cloud* m : std::vector<Cloud*>(blob->memberList()))
            world->removeParticle(m->x, m->y);
        EXPECT_EQ(world->clouds->count(), 0u);
    }
}

TEST_F(Clouds, MergingKeepsTheLargerGroupAndTheTouchingOneOnATie)
{
    struct Case {
        int own;
        int touching;
        bool keepsTouching;
    };
    for (const Case c : {Case{5, 3, false}, Case{3, 5, true}, Case{4, 4, true}}) {
        CloudBlob* own = group(20, 120, c.own, 1);
        CloudBlob* touching = group(20, 122, c.touching, 1);
        ASSERT_TRUE(CloudBlob::tryMerge(own, touching));
        CloudBlob* kept = cloudAt(20, 120)->blob;
        EXPECT_EQ(kept, c.keepsTouching ? touching : own);
        expectWhole(kept, c.own + c.touching);
        EXPECT_EQ(world->clouds->count(), 1u);
        for (const Cloud* m : std::vector<Cloud*>(kept->memberList()))
            world->removeParticle(m->x, m->y);
    }
}

TEST_F(Clouds, BigGroupsMergeOnlyWhenTheSizeRulesAreSkipped)
{
    CloudBlob* a = group(10, 120, 50, 5);
    CloudBlob* b = group(10, 130, 50, 5);
    // The size rules apply 999 times in 1000 and refuse two groups of 250.
    platform::scriptGameRand({1, 199, 199});
    EXPECT_FALSE(CloudBlob::tryMerge(a, b));
    platform::scriptGameRand({0});
    EXPECT_TRUE(CloudBlob::tryMerge(a, b));
    platform::clearGameRandScript();
    expectWhole(cloudAt(10, 120)->blob, 500);
}

TEST_F(Clouds, RefusedMergesThrowSparks)
{
    group(10, 120, 50, 5);
    group(10, 125, 50, 5);
    Cloud* edge = cloudAt(30, 124);
    int sparks = 0;
    for (int i = 0; i < 200 && edge->blob != cloudAt(30, 125)->blob; ++i) {
        edge->spark = false;
        edge->update();
        sparks += edge->spark;
    }
    EXPECT_GT(sparks, 100);
}

TEST_F(Clouds, TheLastMemberFreesItsGroup)
{
    group(30, 120, 3, 1);
    EXPECT_EQ(world->clouds->count(), 1u);
    world->removeParticle(30, 120);
    world->removeParticle(31, 120);
    EXPECT_EQ(world->clouds->count(), 1u);
    world->removeParticle(32, 120);
    EXPECT_EQ(world->clouds->count(), 0u);
}

TEST_F(Clouds, FreedGroupsLeaveNoLinkBehind)
{
    group(30, 120, 4, 4);
    put(60, 120, Cloud::kTypeId);
    world->clearClouds();
    EXPECT_EQ(cloudAt(30, 120)->blob, nullptr);
    EXPECT_EQ(cloudAt(60, 120)->blob, nullptr);
    // A cloud without a group does nothing, and a grouped cloud touching one
    // skips it rather than merging with nothing.
    Particle* beside = put(34, 121, Cloud::kTypeId);
    beside->update();
    EXPECT_EQ(static_cast<Cloud*>(beside)->blob->memberCount(), 1);
    step(3);
    world->removeParticle(30, 120);

    CloudBlob* blob = group(90, 120, 3, 3);
    world->removeCloud(blob);
    EXPECT_EQ(cloudAt(91, 121)->blob, nullptr);
    EXPECT_EQ(world->clouds->count(), 1u) << "only the group of the cloud put beside";
    world.reset();  // destroying the clouds touches no freed group
    gWorld = nullptr;
}

TEST_F(Clouds, MovingAGroupLosesAndDoublesNoMember)
{
    struct Case {
        bool horizontal;
        int step;
    };
    for (const Case c : {Case{true, 1}, Case{true, -1}, Case{false, 1}, Case{false, -1}}) {
        CloudBlob* blob = group(100, 120, 6, 5);
        Cloud* corner = cloudAt(100, 120);
        EXPECT_FALSE(blob->moveBy(c.horizontal, c.step));
        expectWhole(blob, 30);
        EXPECT_EQ(world->at(100 + (c.horizontal ? c.step : 0), 120 + (c.horizontal ? 0 : c.step)), corner);
        // A wall in front of one line holds that line back and blocks the move.
        const int wx = c.horizontal ? (c.step > 0 ? 107 : 98) : 102;
        const int wy = c.horizontal ? 122 : (c.step > 0 ? 126 : 118);
        put(wx, wy, Wall::kTypeId);
        EXPECT_TRUE(blob->moveBy(c.horizontal, c.step));
        expectWhole(blob, 30);
        for (const Cloud* m : std::vector<Cloud*>(blob->memberList()))
            world->removeParticle(m->x, m->y);
        for (int x = 90; x < 115; ++x)
            for (int y = 110; y < 135; ++y)
                world->removeParticle(x, y);
    }
}

TEST_F(Clouds, ATrialCloudLeavesNoGroupBehind)
{
    delete ParticleCreator::createByName("Cloud");
    EXPECT_EQ(world->clouds->count(), 0u);
    World* saved = gWorld;
    gWorld = nullptr;
    Particle* trial = ParticleCreator::createByName("Cloud");
    ASSERT_NE(trial, nullptr);
    EXPECT_EQ(static_cast<Cloud*>(trial)->blob, nullptr);
    delete trial;
    gWorld = saved;
}

TEST_F(Clouds, AGroupSpanningTwelveRowsArmsStormAtItsNextMove)
{
    struct Case {
        int w;
        int h;
        bool storm;
    };
    for (const Case c : {Case{3, 14, true}, Case{14, 3, false}}) {
        CloudBlob* blob = group(100, 110, c.w, c.h);
        // The period grows with every member that joined.
        for (int i = 0; i < 15; ++i)
            blob->update();
        EXPECT_EQ(blob->storm, c.storm) << c.w << " x " << c.h;
        EXPECT_FALSE(blob->rain);
        for (const Cloud* m : std::vector<Cloud*>(blob->memberList()))
            world->removeParticle(m->x, m->y);
    }
}

TEST_F(Clouds, ASmallGroupDriftsToItsHeightAndTurnsAtObstacles)
{
    Cloud* cloud = static_cast<Cloud*>(put(120, 90, Cloud::kTypeId));
    CloudBlob* blob = cloud->blob;
    EXPECT_GE(blob->targetY, 113);
    EXPECT_LE(blob->targetY, 152);
    for (int i = 0; i < 1200; ++i)
        blob->update();
    EXPECT_LE(std::abs(cloud->y - blob->targetY), 2);

    // Walled in on both sides: every move is blocked and turns it around.
    Cloud* boxed = static_cast<Cloud*>(put(60, cloud->y, Cloud::kTypeId));
    put(59, boxed->y, Wall::kTypeId);
    put(61, boxed->y, Wall::kTypeId);
    fill(59, boxed->y + 1, 61, boxed->y + 1, Wall::kTypeId);
    fill(59, boxed->y - 1, 61, boxed->y - 1, Wall::kTypeId);
    CloudBlob* small = boxed->blob;
    const int direction = small->direction;
    small->counter = small->period;
    small->update();
    EXPECT_EQ(small->direction, -direction);
}
