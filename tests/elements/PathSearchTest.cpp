// The creatures' path search: climbs, standing, duplicates, the goal that
// wins a wave, result lengths and where goals may lie.
#include "MaterialWorld.h"
#include "elements/creatures/PathSearch.h"

namespace {

const uint32_t kStone = hashString("Stone");
const uint32_t kRuby = hashString("Ruby");

class PathSearchTest : public MaterialWorld {
protected:
    void SetUp() override
    {
        MaterialWorld::SetUp();
        fill(1, 1, 238, 40, kStone);
    }
};

TEST_F(PathSearchTest, ClimbsUpToTheLimitAndNoHigher)
{
    struct Case {
        int limit;
        int ledge;
        bool climbs;
    };
    // A body 6 high climbs ledges up to limit - 3 rows.
    const Case cases[] = {{10, 7, true}, {10, 8, false}, {15, 12, true}, {15, 13, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "limit " << c.limit << ", ledge " << c.ledge);
        fill(102, 41, 110, 40 + c.ledge, kStone);
        put(110, 41 + c.ledge, kRuby);
        PathSearch search(6, 2);
        search.climbLimit = search.dropLimit = c.limit;
        search.addGoalKind(kRuby);
        search.findPath(100, 41);
        EXPECT_EQ(search.pathLength >= 2, c.climbs);
        if (c.climbs) {
            EXPECT_EQ(search.path[1]->kind, PathNode::kClimb);
            EXPECT_EQ(search.path[1]->amount, c.ledge);
            EXPECT_EQ(search.path.back()->kind, PathNode::kGoal);
        }
        for (int x = 102; x <= 110; ++x)
            for (int y = 41; y <= 41 + c.ledge; ++y)
                world->removeParticle(x, y);
    }
}

TEST_F(PathSearchTest, GroundUnderOneColumnIsStanding)
{
    world->removeParticle(101, 40);
    put(95, 41, kRuby);
    PathSearch search(6, 2);
    search.addGoalKind(kRuby);
    search.findPath(100, 41);
    ASSERT_GE(search.pathLength, 2);
    EXPECT_EQ(search.path[1]->kind, PathNode::kWalk);
    EXPECT_EQ(search.path[1]->amount, -1);
}

TEST_F(PathSearchTest, TheLastGoalOfAWaveWinsAndResultsEndInAGoal)
{
    put(95, 41, kRuby);
    put(106, 41, kRuby);
    PathSearch search(6, 2);
    search.addGoalKind(kRuby);
    search.findPath(100, 41);
    ASSERT_EQ(search.pathLength, 6);
    EXPECT_EQ(search.path.back()->x, 95);
    EXPECT_FALSE(search.path.back()->right);

    // A goal beside the start: the start node and the goal node.
    put(99, 42, kRuby);
    search.findPath(100, 41);
    ASSERT_EQ(search.pathLength, 2);
    EXPECT_EQ(search.path[0]->kind, PathNode::kStart);
    EXPECT_EQ(search.path[1]->kind, PathNode::kGoal);

    // Nothing wanted: no result at all, never a lone start node.
    search.removeGoalKind(kRuby);
    search.findPath(100, 41);
    EXPECT_EQ(search.pathLength, 0);
    EXPECT_TRUE(search.path.empty());
}

TEST_F(PathSearchTest, EachMoveIsExpandedOnceAndTheArenaIsReused)
{
    PathSearch search(6, 2);
    search.addGoalKind(kRuby);
    search.findPath(100, 41);
    const int64_t first = search.nodesMade;
    // Walks one way or the other along the floor: a handful of nodes a column.
    EXPECT_GT(first, 200);
    EXPECT_LT(first, 2000);
    search.findPath(100, 41);
    EXPECT_EQ(search.nodesMade, first);
}

TEST_F(PathSearchTest, GoalsLieInsideTheBorderRingOfTheWorldInUse)
{
    PathSearch search(6, 2);
    // Beyond column 120 in a big world: found.
    put(150, 41, kRuby);
    search.addGoalKind(kRuby);
    search.findPath(140, 41);
    EXPECT_GE(search.pathLength, 2);
    // The border ring itself never.
    search.removeGoalKind(kRuby);
    search.addGoalKind(hashString("OutsideWall"));
    search.addGoalKind(kStone);
    world->removeParticle(150, 41);
    search.removeGoalKind(kStone);
    search.findPath(2, 41);
    EXPECT_EQ(search.pathLength, 0);
}

TEST_F(PathSearchTest, ListsKeepOneEntryPerKindOrJob)
{
    PathSearch search(5, 4);
    for (int i = 0; i < 3; ++i) {
        search.addGoalKind(kRuby);
        search.addPassableKind(kRuby);
        search.addNoLedgeKind(kRuby);
        search.addGoalJob("miner");
    }
    EXPECT_EQ(search.goalKinds.size(), 1u);
    EXPECT_EQ(search.passableKinds.size(), 1u);
    EXPECT_EQ(search.noLedgeKinds.size(), 1u);
    EXPECT_EQ(search.goalJobs.size(), 1u);
    search.removeGoalJob("miner");
    search.removeGoalKind(kRuby);
    EXPECT_TRUE(search.goalJobs.empty());
    EXPECT_TRUE(search.goalKinds.empty());
}

}  // namespace

namespace {

TEST_F(PathSearchTest, ASearchDropsThroughStaggeredGapsShelfByShelf)
{
    for (int y = 9 + 40; y < world->height - 8; y += 8)
        for (int x = 1; x < world->width - 1; ++x)
            if ((x + y * 5) % 24 >= 4)
                put(x, y, kStone);
    PathSearch search(6, 2);
    search.addGoalKind(kRuby);
    search.findPath(120, 146);
    EXPECT_EQ(search.pathLength, 0);
    // Every shelf is walked both ways: far more nodes than one shelf holds.
    EXPECT_GT(search.nodesMade, 1500);
    EXPECT_LT(search.wavesLeft, search.waveBudget - 100);
}

}  // namespace
