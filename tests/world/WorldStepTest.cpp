#include "WorldFixture.h"

#include "gui/ScreenUtils.h"
#include "gui/GUIWindow.h"

#include <algorithm>
#include <vector>

using namespace worldtest;
USING_NS_CC;

TEST_F(WorldTest, QueuedChangesWaitForTheNextStepReplacementsFirst)
{
    add(10, 10, kSand);
    world->queueRemove(10, 10);
    world->queueReplaceById(10, 10, kWater);
    EXPECT_EQ(world->grid[10][10]->getType(), kSand);
    world->step();
    // The replacement made Water, then the removal took it away.
    EXPECT_EQ(world->grid[10][10], nullptr);
    EXPECT_EQ(world->pendingReplacementCount(), 0u);
    EXPECT_EQ(world->pendingRemovalCount(), 0u);
}

TEST_F(WorldTest, AReplacementOfAnEmptyCellAddsAndTwoReplacementsApplyTwice)
{
    world->queueReplace(3, 3, "Water");
    world->queueReplace(3, 3, "Sand");
    world->queueRemove(50, 50);  // an empty cell: nothing happens
    world->step();
    ASSERT_NE(world->grid[3][3], nullptr);
    EXPECT_EQ(world->grid[3][3]->getType(), kSand);
    EXPECT_EQ(world->particleCount(), 1);
}

TEST_F(WorldTest, AReplacementLikeTheLastOneQueuedForItsCellIsQueuedOnce)
{
    struct Case {
        const char* what;
        std::vector<uint32_t> kinds;  // queued at (3, 3) in turn
        size_t records;
        uint32_t result;
    };
    const Case cases[] = {
        {"the same twice", {kWater, kWater}, 1, kWater},
        {"two kinds apply in turn", {kWater, kSand}, 2, kSand},
        {"back to the first kind", {kWater, kSand, kWater}, 3, kWater},
        {"a run after another kind", {kSand, kWater, kWater, kWater}, 2, kWater},
    };
    for (const Case& c : cases) {
        for (uint32_t kind : c.kinds)
            world->queueReplaceById(3, 3, kind);
        EXPECT_EQ(world->pendingReplacementCount(), c.records) << c.what;
        world->step();
        ASSERT_NE(world->grid[3][3], nullptr) << c.what;
        EXPECT_EQ(world->grid[3][3]->getType(), c.result) << c.what;
        EXPECT_EQ(world->particleCount(), 1) << c.what;
        world->removeParticle(3, 3);
    }
}

TEST_F(WorldTest, AReplacementMergesOnlyWithTheLastOneWhereverItsCellsChangesWent)
{
    // Colours: the same colour merges; no colour or another colour is a
    // change of its own.
    world->queueReplaceWithColor(4, 4, kWater, ccc4(1, 2, 3, 255));
    world->queueReplaceWithColor(4, 4, kWater, ccc4(1, 2, 3, 255));
    world->queueReplaceById(4, 4, kWater);
    world->queueReplaceWithColor(4, 4, kWater, ccc4(7, 8, 9, 255));
    EXPECT_EQ(world->pendingReplacementCount(), 3u);
    // A swap: a's change follows it to (5, 6), and (5, 5) holds none.
    Particle* a = add(5, 5, kSand);
    Particle* b = add(5, 6, kWater);
    world->queueReplaceById(5, 5, kGlass);
    world->swapPendingChanges(a, b);
    world->swapParticles(a, b);
    world->queueReplaceById(5, 6, kGlass);  // merged with a's
    world->queueReplaceById(5, 5, kGlass);  // b's own
    EXPECT_EQ(world->pendingReplacementCount(), 5u);
    // A move joins two cells' changes: the one queued later stays the last.
    world->queueReplaceById(10, 10, kGlass);
    world->queueReplaceById(11, 10, kWater);
    world->movePendingChanges(10, 10, 11, 10);
    world->queueReplaceById(11, 10, kGlass);  // after Water: a change of its own
    world->queueReplaceById(10, 10, kSand);   // the moved cell holds nothing now
    world->queueReplaceById(10, 10, kSand);
    EXPECT_EQ(world->pendingReplacementCount(), 9u);
    world->step();
    EXPECT_EQ(world->grid[4][4]->color.r, 7);
    EXPECT_EQ(world->grid[5][5]->getType(), kGlass);
    EXPECT_EQ(world->grid[5][6]->getType(), kGlass);
    EXPECT_EQ(world->grid[11][10]->getType(), kGlass);
    EXPECT_EQ(world->grid[10][10]->getType(), kSand);
    // The queues start over with every step.
    world->queueReplaceById(5, 5, kGlass);
    EXPECT_EQ(world->pendingReplacementCount(), 1u);
}

TEST_F(WorldTest, AColouredReplacementOfAnEmptiedCellStillWorks)
{
    add(8, 8, kSand);
    world->queueReplaceWithColor(8, 8, kWater, ccc4(1, 2, 3, 255));
    world->queueReplaceWithColor(9, 9, kWater, ccc4(4, 5, 6, 255));  // nothing there
    world->removeParticle(8, 8);
    world->step();
    ASSERT_NE(world->grid[8][8], nullptr);
    EXPECT_EQ(world->grid[8][8]->color.r, 1);
    EXPECT_TRUE(world->grid[8][8]->colorChanged);
    ASSERT_NE(world->grid[9][9], nullptr);
    EXPECT_EQ(world->grid[9][9]->color.b, 6);
}

TEST_F(WorldTest, AColouredReplacementThatTheWorldRefusesIsSkipped)
{
    world->queueReplaceWithColor(8, 8, hashString("NoSuchElement"), ccc4(1, 2, 3, 255));
    world->step();
    EXPECT_EQ(world->grid[8][8], nullptr);
}

TEST_F(WorldTest, QueuedChangesFollowSwappedParticles)
{
    Particle* a = add(5, 5, kSand);
    Particle* b = add(5, 6, kWater);
    world->queueRemove(5, 5);               // meant for a
    world->queueReplaceById(5, 6, kGlass);  // meant for b
    world->swapPendingChanges(a, b);
    world->swapParticles(a, b);
    world->step();
    // a now lives at (5, 6) and was removed; b's cell (5, 5) became Glass.
    EXPECT_EQ(world->grid[5][6], nullptr);
    ASSERT_NE(world->grid[5][5], nullptr);
    EXPECT_EQ(world->grid[5][5]->getType(), kGlass);
}

TEST_F(WorldTest, QueuedChangesFollowTheirParticleThroughSeveralSwaps)
{
    // Each swap must find the changes where the last one left them.
    Particle* a = add(5, 5, kSand);
    Particle* b = add(5, 6, kWater);
    Particle* c = add(5, 7, kWater);
    Particle* d = add(9, 9, kWater);
    world->queueRemove(5, 5);  // meant for a
    world->swapPendingChanges(a, b);
    world->swapParticles(a, b);
    world->swapPendingChanges(a, c);
    world->swapParticles(a, c);
    world->swapPendingChanges(d, b);  // b's cell holds nothing now
    world->swapParticles(d, b);
    world->step();
    EXPECT_EQ(world->grid[5][7], nullptr) << "a, removed where it ended";
    EXPECT_EQ(world->grid[5][5], d);
    EXPECT_EQ(world->grid[5][6], c);
    EXPECT_EQ(world->grid[9][9], b);
    EXPECT_EQ(world->particleCount(), 3);
}

TEST_F(WorldTest, MovedPendingChangesGoWithTheirCell)
{
    Particle* p = add(5, 5, kSand);
    world->queueRemove(5, 5);
    world->movePendingChanges(5, 5, 6, 5);
    world->moveParticle(p, 6, 5);
    world->step();
    EXPECT_EQ(world->particleCount(), 0);
}

TEST_F(WorldTest, ParticlesAreUpdatedOnceAStepInIdOrder)
{
    add(1, 1, kSand);             // 38399
    add(2, 1, kSand);             // 38398
    add(3, 1, kSand);             // 38397
    world->removeParticle(2, 1);  // frees 38398
    add(4, 1, kSand);             // 38398 again
    bool added = false;
    updateHook = [&](Particle& p) {
        // The first one updated removes the particle of id 38399 and adds a
        // new one, which takes 38399 again and so is updated this same step.
        if (!added && p.id == 38397) {
            added = true;
            world->removeParticle(1, 1);
            add(9, 9, kWater);
        }
    };
    world->step();
    EXPECT_EQ(updateLog, (std::vector<int32_t>{38397, 38398, 38399}));
    updateLog.clear();
    world->step();
    EXPECT_EQ(updateLog, (std::vector<int32_t>{38397, 38398, 38399}));
}

TEST_F(WorldTest, AParticleAddedAtALowerIdWaitsAStep)
{
    Particle* high = add(1, 1, kSand);
    ASSERT_EQ(high->id, 38399);
    updateHook = [&](Particle& p) {
        if (p.id == 38399 && world->particleCount() == 1)
            add(2, 2, kSand);  // 38398, lower than the current one
    };
    world->step();
    EXPECT_EQ(updateLog, (std::vector<int32_t>{38399}));
}

TEST_F(WorldTest, AParticleReplacedByOneOfItsOwnIdIsNotUpdatedTwice)
{
    add(1, 1, kSand);  // 38399
    add(2, 1, kSand);  // 38398
    updateHook = [&](Particle& p) {
        // The new particle takes the freed id back, the slot just updated.
        if (p.id == 38398 && p.getType() == kSand) {
            world->removeParticle(p.x, p.y);
            add(5, 5, kWater);
        }
    };
    world->step();
    EXPECT_EQ(updateLog, (std::vector<int32_t>{38398, 38399}));
}

namespace {

// Idles up to 393 degrees, as cool wood does.
class IdlingElement : public TestElementOf<hashString("Wood"), 0, 255> {
public:
    IdlingElement() { idleUpTo = 393; }
};

}  // namespace

// The step skips a particle that idles while its cell is at most idleUpTo,
// reading the temperature when its turn comes (a particle updated before it
// in the same step may have heated the cell); the slot of an idling particle
// replaced during the step by one that does not idle is updated.
TEST_F(WorldTest, AnIdlingParticleIsSkippedOnlyWhileItsCellIsCool)
{
    ParticleCreator::registerClass<IdlingElement>("Wood");
    const uint32_t kIdling = hashString("Wood");
    struct Case {
        float temperature;
        bool updated;
    };
    for (const Case c : {Case{293.0f, false}, Case{393.0f, false}, Case{393.5f, true}, Case{-2550.0f, false}}) {
        world = std::make_unique<World>();
        gWorld = world.get();
        world->setBigWorld(true);
        Particle* idler = add(20, 20, kIdling);  // 38399: updated last
        Particle* heater = add(60, 60, kSand);   // 38398
        updateHook = [&](Particle& p) {
            if (&p == heater)
                world->temperatureField.setAt(20, 20, c.temperature);
        };
        updateLog.clear();
        world->step();
        const bool updated = std::count(updateLog.begin(), updateLog.end(), idler->id) == 1;
        EXPECT_EQ(updated, c.updated) << "at " << c.temperature;
    }

    world = std::make_unique<World>();
    gWorld = world.get();
    world->setBigWorld(true);
    add(20, 20, kIdling);                     // 38399
    Particle* replacer = add(60, 60, kSand);  // 38398
    updateHook = [&](Particle& p) {
        if (&p == replacer && p.id == 38398) {
            world->removeParticle(20, 20);
            world->removeParticle(60, 60);
            add(61, 61, kSand);  // takes 38398 back
            add(21, 21, kSand);  // takes 38399: no longer idling
        }
    };
    updateLog.clear();
    world->step();
    EXPECT_EQ(updateLog, (std::vector<int32_t>{38398, 38399}));
}

TEST_F(WorldTest, AParticleThatRemovesItselfAndItsNeighbourIsTolerated)
{
    add(10, 10, kSand);
    add(11, 10, kSand);
    add(12, 10, kSand);
    updateHook = [&](Particle& p) {
        if (p.x == 12) {
            const int x = p.x, y = p.y;
            world->removeParticle(x - 1, y);  // a neighbour not yet updated
            world->removeParticle(x, y);      // itself; nothing of p is touched after
        }
    };
    world->step();
    // (12, 10) holds id 38397 and goes first; its neighbour never gets a turn.
    EXPECT_EQ(updateLog, (std::vector<int32_t>{38397, 38399}));
    EXPECT_EQ(world->particleCount(), 1);
}

TEST_F(WorldTest, NothingMovesWhileTheCurrentWindowIsVisible)
{
    add(10, 10, kSand);
    world->queueRemove(10, 10);
    auto* window = new GUIWindow();
    window->initWithSize(cocos2d::CCSize(100, 100));
    ScreenUtils::getInstance()->setCurrentWindow(window);
    // A closed window is current but hidden: the world goes on.
    EXPECT_FALSE(worldHost().windowShown());
    window->setVisible(true);
    platform::advanceManualGameTime(60);
    world->step();
    EXPECT_NE(world->grid[10][10], nullptr);
    EXPECT_TRUE(updateLog.empty());
    EXPECT_EQ(world->playedSeconds(), 0);

    // A window that goes takes itself out of the screen utilities.
    window->release();
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), nullptr);
    platform::advanceManualGameTime(2);
    world->step();
    EXPECT_EQ(world->grid[10][10], nullptr);
    EXPECT_EQ(world->playedSeconds(), 2);
    EXPECT_EQ(world->lastElapsed(), 2);
}

TEST_F(WorldTest, PausedTheQueuesAreStillApplied)
{
    add(10, 10, kSand);
    add(20, 20, kSand);
    world->queueRemove(10, 10);
    world->queueReplaceById(20, 20, kWater);
    GameLayer::getInstance()->setPaused(true);
    platform::advanceManualGameTime(5);
    world->step();
    EXPECT_EQ(world->grid[10][10], nullptr);
    EXPECT_EQ(world->grid[20][20]->getType(), kWater);
    EXPECT_TRUE(updateLog.empty());
    EXPECT_EQ(world->playedSeconds(), 0);
    EXPECT_FALSE(world->settleParity);
}

TEST_F(WorldTest, ZoomedOutNothingMovesButChangesApply)
{
    add(10, 11, kSand);
    add(10, 10, kWater);
    world->queueRemove(30, 30);
    GameLayer::getInstance()->setZoomedOut(true);
    world->step();
    world->step();
    EXPECT_EQ(world->grid[10][11]->getType(), kSand);
    EXPECT_TRUE(updateLog.empty());
}

TEST_F(WorldTest, HeavierParticlesSinkBelowLighterOnes)
{
    // Rows 10-11 pair up on the first step (even rows first).
    add(10, 11, kSand);
    add(10, 10, kWater);
    // Rows 11-12 pair up only on the second step.
    add(20, 12, kSand);
    add(20, 11, kWater);
    world->step();
    EXPECT_EQ(world->grid[10][10]->getType(), kSand);
    EXPECT_EQ(world->grid[20][11]->getType(), kWater);
    world->step();
    EXPECT_EQ(world->grid[20][11]->getType(), kSand);
}

TEST_F(WorldTest, GasRisesAndDensityZeroOrEqualNeverSettles)
{
    add(10, 11, kSand);
    add(10, 10, kSteam);  // negative density under a powder: they swap
    add(20, 11, kSand);
    add(20, 10, kWall);  // density 0 never moves
    add(30, 11, kSand);
    add(30, 10, kSand);
    add(40, 159, kSand);  // the top row is never a lower row
    for (int i = 0; i < 4; ++i)
        world->step();
    EXPECT_EQ(world->grid[10][11]->getType(), kSteam);
    EXPECT_EQ(world->grid[20][10]->getType(), kWall);
    EXPECT_EQ(world->grid[20][11]->getType(), kSand);
    EXPECT_EQ(world->grid[30][10]->getType(), kSand);
    EXPECT_EQ(world->grid[40][159]->getType(), kSand);
}

TEST_F(WorldTest, ASettledParticleTakesItsQueuedChangesAlong)
{
    // Steam under Sand fades this step (it queues its own removal) and is
    // then settled above the Sand: the removal follows the steam.
    Particle* steam = add(10, 10, kSteam);
    Particle* sand = add(10, 11, kSand);
    // Water over Sand far away is not settled and keeps its queued change.
    add(30, 10, kSand);
    add(30, 11, kWater);
    updateHook = [&](Particle& p) {
        if (&p == steam)
            world->queueRemove(p.x, p.y);
        if (p.x == 30 && p.y == 11 && world->particleCount() == 4)
            world->queueReplaceById(30, 11, kGlass);
    };
    world->step();
    EXPECT_EQ(world->grid[10][10], sand);
    EXPECT_EQ(world->grid[10][11], steam);
    updateHook = nullptr;
    world->step();
    EXPECT_EQ(world->grid[10][10], sand);
    EXPECT_EQ(world->grid[10][11], nullptr);
    ASSERT_NE(world->grid[30][11], nullptr);
    EXPECT_EQ(world->grid[30][11]->getType(), kGlass);
    EXPECT_EQ(world->grid[30][10]->getType(), kSand);
}

TEST_F(WorldTest, TheStepUploadsTheTextureAndResetsTheDirtyLists)
{
    add(10, 10, kSand);
    EXPECT_TRUE(texture()->isDirty());
    world->step();
    EXPECT_FALSE(texture()->isDirty());
    EXPECT_EQ(world->dirtyCount(), 0);
    EXPECT_EQ(world->columnFlags()[239], 1);
    EXPECT_EQ(world->rowFlags()[159], 1);
}

TEST_F(WorldTest, AFullWorldStepsAndEmptiesWithoutLeaks)
{
    updateHook = [&](Particle& p) {
        // Some particles move each step, some remove and re-add each other.
        if (p.id % 97 == 0 && p.y > 0 && !world->grid[p.x][p.y - 1])
            world->moveParticle(&p, p.x, p.y - 1);
    };
    for (int x = 0; x < 240; ++x)
        for (int y = 0; y < 160; ++y)
            ASSERT_NE(add(x, y, (x + y) % 3 == 0 ? kWater : kSand), nullptr);
    EXPECT_EQ(world->particleCount(), 38400);
    for (int i = 0; i < 5; ++i) {
        world->removeParticle(i * 7, i * 5);
        world->queueReplaceById(i * 11, i * 3, kSteam);
        world->step();
    }
    EXPECT_EQ(world->particleCount() + world->freeTop(), World::kMaxParticles);
    for (int x = 0; x < 240; ++x)
        for (int y = 0; y < 160; ++y)
            world->removeParticle(x, y);
    EXPECT_EQ(world->particleCount(), 0);
    EXPECT_EQ(world->freeTop(), World::kMaxParticles);
    EXPECT_EQ(liveElements, 0);
    EXPECT_TRUE(std::all_of(std::begin(world->pool()), std::end(world->pool()), [](Particle* p) { return !p; }));
}

TEST_F(WorldTest, DestroyingAFullWorldDestroysEveryParticle)
{
    for (int x = 0; x < 240; ++x)
        for (int y = 0; y < 160; ++y)
            add(x, y, kSand);
    world->step();
    world.reset();
    gWorld = nullptr;
    EXPECT_EQ(liveElements, 0);
}
