// A Seed on Mud roots; the root grows a two-column trunk, sets a centre on
// top and the centre grows its disc of leaves; the grown and burnt counts go
// to the profile in free play only.
#include "MaterialWorld.h"
#include "profile/Profile.h"
#include "support/CleanGame.h"
#include "elements/living/Plants.h"
#include "elements/living/Trees.h"
#include "elements/materials/Powders.h"

namespace {
uint32_t rgba(cocos2d::ccColor4B c)
{
    return static_cast<uint32_t>(c.r) | static_cast<uint32_t>(c.g) << 8 | static_cast<uint32_t>(c.b) << 16 |
        static_cast<uint32_t>(c.a) << 24;
}
}  // namespace

class Trees : public MaterialWorld {
protected:
    void setFreePlay(bool on) { testsupport::testHost().freePlay = on; }
    TreeRoot* root(int x, int y, int trunk, int crown, bool leftSide)
    {
        auto* r = dynamic_cast<TreeRoot*>(put(x, y, TreeRoot::kTypeId));
        r->trunkHeight = trunk;
        r->crownRadius = crown;
        r->leftSide = leftSide;
        return r;
    }
    int countIn(uint32_t type, int x0, int x1, int y0, int y1) const
    {
        int n = 0;
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y)
                n += typeAt(x, y) == type;
        return n;
    }
};

TEST_F(Trees, ARootGrowsATrunkAndACrownOfTheRightSize)
{
    struct Case {
        int trunk;
        int crown;
        bool leftSide;
        int leaves;
    };
    for (const Case& c : {Case{6, 4, false, 34}, Case{7, 5, true, 58}, Case{6, 5, false, 58}}) {
        SCOPED_TRACE(c.trunk * 10 + c.crown);
        world->reset();
        world->placeBorderWalls();
        fill(1, 1, 238, 9, Stone::kTypeId);
        world->removeParticle(100, 9);
        root(100, 9, c.trunk, c.crown, c.leftSide);
        step(3000);
        world->applyPendingChanges();
        const int limit = c.trunk + c.crown;
        const int side = c.leftSide ? 99 : 101;
        EXPECT_EQ(typeAt(100, 9), Wood::kTypeId) << "the root turned into wood";
        EXPECT_EQ(typeAt(100, 9 + limit), TreeCenter::kTypeId);
        EXPECT_EQ(count(TreeLeaf::kTypeId), c.leaves);
        EXPECT_EQ(countIn(Wood::kTypeId, 100, 100, 10, 158), c.trunk + 1);
        EXPECT_EQ(countIn(Wood::kTypeId, side, side, 10, 158), c.trunk + 1);
        // The left column has Wood's entry 1, the right column entry 0.
        const int left = std::min(100, side);
        for (int y = 10; y <= 9 + c.trunk + 1; ++y) {
            EXPECT_EQ(rgba(world->at(left, y)->color), rgba(Wood::colorAtIndex(1))) << y;
            EXPECT_EQ(rgba(world->at(left + 1, y)->color), rgba(Wood::colorAtIndex(0))) << y;
        }
    }
}

TEST_F(Trees, TheRootChoosesItsSideFromTheCellsDiagonallyBelow)
{
    struct Case {
        bool lowerLeft;
        bool lowerRight;
        bool drawn;
        bool leftSide;
    };
    for (const Case& c :
         {Case{false, true, true, false}, Case{false, false, true, false}, Case{true, false, false, true},
          Case{true, true, true, true}, Case{true, true, false, false}}) {
        world->reset();
        world->placeBorderWalls();
        put(50, 9, Stone::kTypeId);
        if (c.lowerLeft)
            put(49, 9, Stone::kTypeId);
        if (c.lowerRight)
            put(51, 9, Stone::kTypeId);
        TreeRoot* r = root(50, 10, 6, 4, c.drawn);
        r->update();
        EXPECT_TRUE(r->rooted);
        EXPECT_EQ(r->leftSide, c.leftSide) << c.lowerLeft << c.lowerRight << c.drawn;
    }
}

TEST_F(Trees, PaintedWoodCountsAsGrownTrunk)
{
    // Taller than the tree: the side grows to match and no crown is set.
    fill(1, 1, 238, 9, Stone::kTypeId);
    world->removeParticle(50, 9);
    root(50, 9, 6, 4, false);
    fill(50, 10, 50, 22, Wood::kTypeId);
    // Exactly one short of the crown: the centre sits on the painted column.
    world->removeParticle(150, 9);
    root(150, 9, 6, 4, false);
    fill(150, 10, 150, 18, Wood::kTypeId);
    step(2000);
    world->applyPendingChanges();
    EXPECT_EQ(countIn(Wood::kTypeId, 51, 51, 10, 30), 10);
    EXPECT_EQ(countIn(TreeCenter::kTypeId, 40, 60, 10, 40), 0);
    EXPECT_EQ(typeAt(150, 19), TreeCenter::kTypeId);
}

TEST_F(Trees, CrownsAndColumnsNeverReachAboveTheGrid)
{
    const int top = world->height - 1;
    // A leaf in the main column's next cell puts the crown at full height,
    // which is above the grid: no centre, and the root turns into wood.
    TreeRoot* r = root(60, top - 3, 6, 4, false);
    put(59, top - 4, Stone::kTypeId);
    put(61, top - 4, Stone::kTypeId);
    put(60, top - 2, TreeLeaf::kTypeId);
    r->rooted = true;
    for (int i = 0; i < 200 && world->pendingReplacementCount() == 0; ++i)
        r->update();
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(60, top - 3), Wood::kTypeId);
    EXPECT_EQ(count(TreeCenter::kTypeId), 0);
    EXPECT_EQ(typeAt(60, top - 2), TreeLeaf::kTypeId);
}

TEST_F(Trees, ALoadedCentreNeverGrows)
{
    auto* centre = dynamic_cast<TreeCenter*>(put(80, 80, TreeCenter::kTypeId));
    put(80, 79, Stone::kTypeId);
    for (int i = 0; i < 200; ++i)
        centre->update();
    EXPECT_FALSE(centre->growing);
    EXPECT_EQ(count(TreeLeaf::kTypeId), 0);
}

TEST_F(Trees, GrownAndBurntTreesCountInFreePlayOnly)
{
    for (bool freePlay : {false, true}) {
        SCOPED_TRACE(freePlay);
        Profile::resetInstanceForTests();
        setFreePlay(freePlay);
        Profile& profile = *Profile::getInstance();
        // A particle only made to be asked about is not a tree.
        delete ParticleCreator::createByName("TreeCenter");
        EXPECT_EQ(profile.getTreesGrown(), 0);
        Particle* centre = put(30, 30, TreeCenter::kTypeId);
        seal(30, 30);
        EXPECT_EQ(profile.getTreesGrown(), freePlay ? 1 : 0);
        bool burnt = false;
        for (int i = 0; i < 5000 && !burnt; ++i) {
            world->temperatureField.setAt(30, 30, 2000.0f);
            centre->update();
            burnt = world->pendingRemovalCount() + world->pendingReplacementCount() > 0;
        }
        ASSERT_TRUE(burnt);
        EXPECT_EQ(profile.getTreesBurnt(), freePlay ? 1 : 0);
        // Settling moves the centre; it is still one tree.
        world->clearPendingChanges();
        world->moveParticle(centre, 30, 40);
        EXPECT_EQ(profile.getTreesGrown(), freePlay ? 1 : 0);
        world->reset();
        world->placeBorderWalls();
    }
}

TEST_F(Trees, ASeedTakesRootOnMudAndVanishesElsewhere)
{
    struct Case {
        uint32_t ground;
        uint32_t after;  // at the ground cell once the seed is done
    };
    for (const Case& c : {Case{Mud::kTypeId, TreeRoot::kTypeId}, Case{Soil::kTypeId, Soil::kTypeId},
                          Case{Stone::kTypeId, Stone::kTypeId}, Case{Sand::kTypeId, Sand::kTypeId}}) {
        world->reset();
        world->placeBorderWalls();
        fill(60, 1, 80, 9, Wall::kTypeId);
        put(70, 10, c.ground);
        put(69, 10, Wall::kTypeId);
        put(71, 10, Wall::kTypeId);
        put(70, 20, Seed::kTypeId);
        step(15);
        world->applyPendingChanges();
        EXPECT_EQ(count(Seed::kTypeId), 0);
        EXPECT_EQ(typeAt(70, 10), c.after);
    }
}

TEST_F(Trees, ALandingSeedClearsGrassAndItsOwnKindFromThreeColumns)
{
    fill(20, 1, 40, 5, Mud::kTypeId);
    fill(29, 6, 31, 6, Grass::kTypeId);
    Particle* seed = put(30, 7, Seed::kTypeId);
    put(30, 9, Seed::kTypeId);   // two rows above: removed
    put(29, 8, Seed::kTypeId);   // beside: removed
    put(31, 8, Stone::kTypeId);  // another kind ends that column's walk
    put(31, 7, Stone::kTypeId);
    seed->update();
    EXPECT_EQ(typeAt(29, 6) | typeAt(30, 6), 0u) << "the grass is gone";
    EXPECT_EQ(typeAt(31, 6), Grass::kTypeId) << "under the stone it stays";
    EXPECT_EQ(typeAt(30, 9), 0u);
    EXPECT_EQ(typeAt(29, 8), 0u);
    EXPECT_EQ(typeAt(30, 7), Seed::kTypeId) << "the seed falls on later";
    step(5);
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(30, 5), TreeRoot::kTypeId);
}
