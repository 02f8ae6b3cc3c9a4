// Lions: the body from the picture, mirroring, falling, the live count, the
// bite and the behaviours it switches between.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "MaterialWorld.h"
#include "StandInHuman.h"
#include "elements/creatures/CreatureCounts.h"
#include "elements/creatures/CreaturePictures.h"
#include "platform/GameRandom.h"
#include "elements/creatures/Lions.h"
#include "world/ByteStream.h"

namespace {

const uint32_t kStone = hashString("Stone");

class LionsTest : public MaterialWorld {
protected:
    void TearDown() override
    {
        StandInHuman::remove();
        MaterialWorld::TearDown();
        EXPECT_EQ(CreatureCounts::lions, 0);
    }
    LionLeader* lion(int x, int y)
    {
        auto* l = static_cast<LionLeader*>(put(x, y, LionLeader::kTypeId));
        l->update();
        EXPECT_NE(l->group, nullptr);
        EXPECT_FALSE(l->group->broken);
        return l;
    }
    std::map<Particle*, std::pair<int, int>> cells(const LionLeader& l) const
    {
        std::map<Particle*, std::pair<int, int>> out;
        for (unsigned i = 0; i < l.group->members->count(); ++i) {
            Particle* p = static_cast<MPObject::Box*>(l.group->members->objectAtIndex(i))->getValue();
            out[p] = {p->x, p->y};
        }
        return out;
    }
    // Each sorted list holds every member once, in order of its cells.
    static bool sortedLists(const MPObject& o)
    {
        auto inOrder = [&o](cocos2d::CCArray* list, bool byX) {
            if (list->count() != o.members->count() + o.carried->count())
                return false;
            for (unsigned i = 1; i < list->count(); ++i) {
                const Particle* a = static_cast<MPObject::Box*>(list->objectAtIndex(i - 1))->getValue();
                const Particle* b = static_cast<MPObject::Box*>(list->objectAtIndex(i))->getValue();
                if ((byX ? a->x : a->y) > (byX ? b->x : b->y))
                    return false;
            }
            return true;
        };
        return inOrder(o.membersByX, true) && inOrder(o.membersByY, false);
    }
};

TEST_F(LionsTest, ALionFacingRightIsMirroredOnceAndTwiceRestores)
{
    fill(1, 1, 238, 40, kStone);
    LionLeader* l = lion(100, 41);
    ASSERT_EQ(l->facingSide, 1);
    ASSERT_NE(l->bodyImage, nullptr);
    // The picture's leader stands in column 1 of a 4-wide picture.
    EXPECT_EQ(l->originX, 2);
    EXPECT_EQ(l->x, 101);
    EXPECT_EQ(l->group->members->count(), 14u);
    const auto before = cells(*l);
    ASSERT_TRUE(l->mirror());
    EXPECT_EQ(l->originX, 1);
    EXPECT_EQ(l->x, 100);
    ASSERT_TRUE(l->mirror());
    EXPECT_EQ(cells(*l), before);
}

// Mirroring swaps body cells that trade places; the column and row lists
// must follow the cells, or the next move walks them in the wrong order.
TEST_F(LionsTest, MirroringKeepsTheSortedListsInOrder)
{
    fill(1, 1, 238, 40, kStone);
    LionLeader* l = lion(100, 41);
    ASSERT_TRUE(sortedLists(*l->group));
    for (int turn = 1; turn <= 4; ++turn) {
        ASSERT_TRUE(l->mirror());
        EXPECT_TRUE(sortedLists(*l->group)) << "after mirror " << turn;
    }
    EXPECT_TRUE(l->group->moveBy(1, 0, true));
    EXPECT_TRUE(sortedLists(*l->group));
}

TEST_F(LionsTest, AMirrorOntoAForeignParticleOrTheRingIsRefused)
{
    fill(1, 1, 238, 40, kStone);
    LionLeader* l = lion(100, 41);
    const auto before = cells(*l);
    // Facing right the top row is "..mm"; mirrored back it needs the left two.
    put(99, 45, hashString("Wall"));
    EXPECT_FALSE(l->mirror());
    EXPECT_EQ(cells(*l), before);
    EXPECT_EQ(l->originX, 2);
    // Turning keeps facing and body together when refused.
    l->turnAround();
    EXPECT_EQ(l->facingSide, 1);
    world->removeParticle(99, 45);
    l->turnAround();
    EXPECT_EQ(l->facingSide, -1);
}

TEST_F(LionsTest, ALionInTheAirFallsOneCellPerUpdate)
{
    LionLeader* l = lion(100, 80);
    const int y0 = l->y;
    for (int i = 1; i <= 5; ++i) {
        l->update();
        EXPECT_EQ(l->y, y0 - i);
    }
}

TEST_F(LionsTest, LionsAreCountedAndTheFactoryStopsPastTheLimit)
{
    EXPECT_EQ(CreatureCounts::lions, 0);
    std::vector<Particle*> made;
    for (int i = 0; i < 5; ++i)
        made.push_back(ParticleCreator::createById(LionLeader::kTypeId));
    EXPECT_EQ(CreatureCounts::lions, 5);
    EXPECT_EQ(ParticleCreator::createById(LionLeader::kTypeId), nullptr);
    delete made.back();
    made.pop_back();
    EXPECT_EQ(CreatureCounts::lions, 4);
    for (Particle* p : made)
        delete p;
    EXPECT_EQ(CreatureCounts::lions, 0);
}

TEST_F(LionsTest, TheBiteKillsAHumanAndSparesAZombie)
{
    for (const char* job : {"normal", "zombie"}) {
        SCOPED_TRACE(job);
        StandInHuman::install(job);
        fill(1, 1, 238, 40, kStone);
        LionLeader* l = lion(100, 41);
        put(l->x + 2, l->y, hashString("HumanLeader"));
        l->setAction(ActionType::LionGatherHuman);
        ASSERT_EQ(l->currentAction->typeId(), ActionType::LionGatherHuman);
        l->currentAction->step();
        step();
        const bool bitten = std::string(job) != "zombie";
        EXPECT_EQ(count(hashString("HumanLeader")), bitten ? 0 : 1);
        EXPECT_EQ(l->currentAction->typeId(), bitten ? ActionType::LionSearchFood : ActionType::LionGatherHuman);
        // A bite that finds nobody keeps testing every tick.
        if (!bitten) {
            EXPECT_EQ(l->currentAction->state, ParticleAction::kRunning);
            l->currentAction->step();
            EXPECT_EQ(count(hashString("HumanLeader")), 1);
        }
        world = std::make_unique<World>();
        gWorld = world.get();
        world->setBigWorld(true);
        world->placeBorderWalls();
    }
}

TEST_F(LionsTest, TheSearchAddsItsGoalsOnceAndTakesThemBack)
{
    fill(1, 1, 238, 40, kStone);
    LionLeader* l = lion(100, 41);
    PathSearch& search = *l->pathSearch();
    ASSERT_EQ(l->currentAction->typeId(), ActionType::LionSearchFood);
    for (int i = 0; i < 3; ++i)
        l->currentAction->begin();
    EXPECT_EQ(search.goalKinds.size(), 1u);
    EXPECT_EQ(search.goalJobs.size(), 8u);
    EXPECT_EQ(l->currentAction->nextAction, l->actionOf(ActionType::LionGatherHuman));
    l->setAction(ActionType::LionGatherHuman);
    EXPECT_TRUE(search.goalKinds.empty());
    EXPECT_TRUE(search.goalJobs.empty());
}

TEST_F(LionsTest, ALionRoamsAndSavesItsFacing)
{
    fill(1, 1, 238, 40, kStone);
    LionLeader* l = lion(100, 41);
    std::set<int> columns;
    for (int i = 0; i < 400; ++i) {
        step();
        columns.insert(l->x);
    }
    EXPECT_GT(columns.size(), 5u);
    std::vector<uint8_t> record;
    ByteWriter out(record);
    l->saveExtra(out);
    EXPECT_EQ(record.size(), 12u);
    // A facing other than +1 or -1 loads as +1.
    record[0] = 7;
    ByteReader in(record.data(), record.size());
    l->loadExtra(in);
    EXPECT_EQ(l->facingSide, 1);
    EXPECT_EQ(l->buildState, 2);
}

TEST_F(LionsTest, ABehaviourSwitchResetsOnceAndADyingLionFreesEachOnce)
{
    fill(1, 1, 238, 40, kStone);
    LionLeader* l = lion(100, 41);
    l->currentAction->step();
    EXPECT_FALSE(l->pathSearch()->goalKinds.empty());
    // Destroying the lion under ASan: each behaviour freed once, no reset
    // reaching a freed path search.
    world->removeParticle(l->x, l->y);
    step();
    EXPECT_EQ(count(LionPart::kTypeId), 0);
}

TEST_F(LionsTest, FacingIsDrawnWithoutOverflow)
{
    struct Case {
        int draw;
        int facing;
    };
    // Any positive draw faces right, however large; only 0 faces left.
    const Case cases[] = {{0, -1}, {1, 1}, {0x40000000, 1}, {0x7fffffff, 1}};
    for (const Case& c : cases) {
        platform::scriptGameRand({c.draw});
        LionLeader l;
        platform::clearGameRandScript();
        EXPECT_EQ(l.facingSide, c.facing) << c.draw;
    }
}

TEST_F(LionsTest, AMirrorIntoTheBorderRingIsRefused)
{
    // A picture with an empty right column: mirrored, the body would take it.
    CreaturePicture narrow;
    narrow.width = 3;
    narrow.height = 2;
    const cocos2d::ccColor4B fur{200, 150, 60, 255};
    const cocos2d::ccColor4B none{0, 0, 0, 0};
    narrow.pixels = {fur, fur, none, fur, fur, none};
    setCreaturePicture(LionLeader::kPicturePath, &narrow);
    fill(1, 1, 238, 40, kStone);
    LionLeader* l = lion(237, 41);
    EXPECT_EQ(l->x, 237);  // the mirror after building was refused
    EXPECT_FALSE(l->mirror());
    EXPECT_EQ(world->at(238, 41)->getGroup(), l->group);
    setCreaturePicture(LionLeader::kPicturePath, nullptr);
}

TEST_F(LionsTest, TheBitesTickLooksFromTheLionsOwnRow)
{
    StandInHuman::install("miner");
    fill(1, 1, 238, 40, kStone);
    LionLeader* l = lion(100, 41);
    l->setAction(ActionType::LionGatherHuman);
    l->currentAction->step();  // begin: nobody there
    ASSERT_EQ(l->currentAction->state, ParticleAction::kRunning);
    put(l->x + 2, l->y + 1, hashString("HumanLeader"));
    l->currentAction->step();  // tick
    EXPECT_EQ(l->currentAction->typeId(), ActionType::LionSearchFood);
    step();
    EXPECT_EQ(count(hashString("HumanLeader")), 0);
}

}  // namespace
