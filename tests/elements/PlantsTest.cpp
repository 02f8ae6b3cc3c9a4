// Grass grows from Mud in the light and may flower; flowers keep their colour
// scheme through a save; algae grow a frond into the water around them.
#include "MaterialWorld.h"
#include "base/NSData.h"
#include "elements/living/Plants.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"
#include "world/ByteStream.h"

namespace {
uint32_t rgba(cocos2d::ccColor4B c)
{
    return static_cast<uint32_t>(c.r) | static_cast<uint32_t>(c.g) << 8 | static_cast<uint32_t>(c.b) << 16 |
        static_cast<uint32_t>(c.a) << 24;
}
}  // namespace

class Plants : public MaterialWorld {
protected:
    // Sets the light level of a cell (the sun is off, so nothing else adds).
    void light(int x, int y, int32_t level)
    {
        LightMap& l = world->lightMap;
        l.addLevel(x, y, level - l.getLevelAt(x, y));
    }
    void lightRect(int x0, int y0, int x1, int y1, int32_t level)
    {
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y)
                light(x, y, level);
    }
    Grass* blade(int x, int y, int growth, bool flowering)
    {
        auto* g = dynamic_cast<Grass*>(put(x, y, Grass::kTypeId));
        g->seedGrowth(growth, flowering);
        return g;
    }
};

TEST_F(Plants, GrassDiesInTheDarkAtOrBelow230AndFlowersBelow230)
{
    struct Case {
        int32_t level;
        bool grassMayDie;
        bool flowerDies;
    };
    for (const Case& c : {Case{230, true, false}, Case{231, false, false}, Case{229, true, true}}) {
        SCOPED_TRACE(c.level);
        world->reset();
        world->placeBorderWalls();
        put(50, 10, Mud::kTypeId);
        Particle* grass = blade(50, 11, 0, false);
        Particle* centre = put(50, 12, FlowerCenter::kTypeId);
        lightRect(49, 10, 51, 13, c.level);
        // Grass in the dark goes 1 in 120: over 2000 updates it surely goes.
        bool grassGone = false;
        for (int i = 0; i < 2000 && !grassGone; ++i) {
            grass->update();
            grassGone = world->pendingRemovalCount() > 0;
            world->clearPendingChanges();
        }
        EXPECT_EQ(grassGone, c.grassMayDie);
        centre->update();
        EXPECT_EQ(world->pendingRemovalCount() > 0, c.flowerDies);
        world->clearPendingChanges();
    }
}

TEST_F(Plants, AFloweringBladeOfHeightTwoGrowsTwoCellsThenAFlower)
{
    fill(40, 1, 60, 5, Mud::kTypeId);
    blade(50, 6, 2, true);
    lightRect(40, 1, 60, 20, 255);
    // Mud beside grows blades of its own in the light; keep this column clear
    // of them by checking only it.
    step(6);
    EXPECT_EQ(typeAt(50, 6), Grass::kTypeId);
    EXPECT_EQ(typeAt(50, 7), Grass::kTypeId);
    EXPECT_EQ(typeAt(50, 8), Grass::kTypeId);
    EXPECT_EQ(typeAt(50, 9), FlowerCenter::kTypeId);
    EXPECT_EQ(typeAt(50, 10), 0u);
    // The tip is the lightest shade, the base the darkest.
    EXPECT_EQ(rgba(world->at(50, 8)->color), rgba(Grass::colorAtIndex(0)));
    EXPECT_EQ(rgba(world->at(50, 6)->color), rgba(Grass::colorAtIndex(2)));
}

TEST_F(Plants, MudInTheLightGrowsGrass)
{
    fill(20, 1, 80, 3, Mud::kTypeId);
    lightRect(19, 1, 81, 10, 255);
    step(400);
    EXPECT_GT(count(Grass::kTypeId), 0);
}

TEST_F(Plants, GrassWithoutMudOrGrassBelowGoes)
{
    put(30, 10, Sand::kTypeId);
    put(30, 11, Grass::kTypeId);
    put(40, 11, Grass::kTypeId);  // in the air
    step(2);
    EXPECT_EQ(count(Grass::kTypeId), 0);
}

TEST_F(Plants, FlowersGrowAtMostThreePetalsInTheirOwnScheme)
{
    put(50, 10, Mud::kTypeId);
    put(50, 11, Grass::kTypeId);
    auto* centre = dynamic_cast<FlowerCenter*>(put(50, 12, FlowerCenter::kTypeId));
    centre->setColorIndex(2);
    lightRect(48, 10, 52, 14, 255);
    for (int i = 0; i < 3000; ++i)
        centre->update();
    EXPECT_EQ(centre->petalCount, 3);
    const int petals = count(FlowerPetal::kTypeId);
    EXPECT_GE(petals, 1);
    EXPECT_LE(petals, 3);
    for (Particle* p : world->pool())
        if (auto* petal = dynamic_cast<FlowerPetal*>(p)) {
            EXPECT_EQ(petal->colorIndex, 2);
            EXPECT_EQ(rgba(petal->color), rgba(FlowerPetal::colorAtIndex(2)));
        }
    // A petal away from any centre goes at the next step.
    put(100, 50, FlowerPetal::kTypeId);
    light(100, 50, 255);
    step(1);
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(100, 50), 0u);
}

TEST_F(Plants, FlowerColoursSurviveSaveAndLoad)
{
    fill(30, 1, 31, 1, Mud::kTypeId);
    put(30, 2, Grass::kTypeId);
    auto* centre = dynamic_cast<FlowerCenter*>(put(30, 3, FlowerCenter::kTypeId));
    auto* petal = dynamic_cast<FlowerPetal*>(put(31, 3, FlowerPetal::kTypeId));
    centre->setColorIndex(3);
    petal->setColorIndex(1);
    NSData* blob = world->save();
    ASSERT_NE(blob, nullptr);
    blob->retain();
    world->reset();
    world->placeBorderWalls();
    ASSERT_TRUE(world->load(blob));
    blob->release();
    auto* loadedCentre = dynamic_cast<FlowerCenter*>(world->at(30, 3));
    auto* loadedPetal = dynamic_cast<FlowerPetal*>(world->at(31, 3));
    ASSERT_NE(loadedCentre, nullptr);
    ASSERT_NE(loadedPetal, nullptr);
    EXPECT_EQ(loadedCentre->colorIndex, 3);
    EXPECT_EQ(rgba(loadedCentre->color), rgba(FlowerCenter::colorAtIndex(3)));
    EXPECT_EQ(loadedPetal->colorIndex, 1);
    EXPECT_EQ(rgba(loadedPetal->color), rgba(FlowerPetal::colorAtIndex(1)));
}

TEST_F(Plants, ADamagedFlowerWordKeepsTheDrawnScheme)
{
    for (int32_t bad : {-1, 4, 1000}) {
        FlowerCenter centre;
        const int32_t drawn = centre.colorIndex;
        std::vector<uint8_t> bytes;
        ByteWriter(bytes).i32(bad);
        ByteReader in(bytes.data(), bytes.size());
        centre.loadExtra(in);
        EXPECT_EQ(centre.colorIndex, drawn) << bad;
        EXPECT_EQ(rgba(centre.color), rgba(FlowerCenter::colorAtIndex(drawn))) << bad;
    }
}

TEST_F(Plants, AlgaeSinksRootsAndGrowsAFrondIntoTheWater)
{
    fill(40, 1, 60, 1, Mud::kTypeId);
    fill(40, 2, 60, 20, Water::kTypeId);
    fill(39, 1, 39, 21, Wall::kTypeId);
    fill(61, 1, 61, 21, Wall::kTypeId);
    world->removeParticle(50, 15);
    put(50, 15, Algae::kTypeId);
    step(80);
    world->applyPendingChanges();
    auto* algae = dynamic_cast<Algae*>(world->at(50, 2));
    ASSERT_NE(algae, nullptr) << "the plant sank to the mud";
    EXPECT_TRUE(algae->shaped);
    EXPECT_GE(count(AlgaeLeaf::kTypeId), algae->stemHeight - 1);
    for (int y = 3; y < 2 + algae->stemHeight; ++y)
        EXPECT_EQ(typeAt(50, y), AlgaeLeaf::kTypeId) << y;
}

TEST_F(Plants, AlgaeLeavesTurnBackIntoWaterWithoutTheirPlantOrTheirWater)
{
    // A leaf with its plant gone, under water.
    fill(20, 1, 30, 10, Water::kTypeId);
    world->removeParticle(25, 5);
    Particle* orphan = put(25, 5, AlgaeLeaf::kTypeId);
    EXPECT_EQ(updateAndApply(orphan, 293.0f), Water::kTypeId);
    // A leaf in the air beside its plant.
    put(60, 1, Stone::kTypeId);
    put(60, 2, Algae::kTypeId);
    Particle* dry = put(61, 2, AlgaeLeaf::kTypeId);
    EXPECT_EQ(updateAndApply(dry, 293.0f), Water::kTypeId);
}

TEST_F(Plants, AlgaeOnStoneLivesOnlyAmongMoreThanFourWetNeighbours)
{
    for (int wet : {4, 5}) {
        world->reset();
        world->placeBorderWalls();
        put(50, 10, Stone::kTypeId);
        Particle* algae = put(50, 11, Algae::kTypeId);
        const int cells[][2] = {{49, 11}, {51, 11}, {49, 12}, {50, 12}, {51, 12}};
        for (int i = 0; i < wet; ++i)
            put(cells[i][0], cells[i][1], Water::kTypeId);
        for (int i = wet; i < 5; ++i)
            put(cells[i][0], cells[i][1], Stone::kTypeId);
        algae->update();
        EXPECT_EQ(world->pendingRemovalCount() > 0, wet <= 4) << wet;
        world->clearPendingChanges();
    }
}

TEST_F(Plants, AlgaeBesideTheBorderScansOnlyInsideTheGrid)
{
    put(1, 1, Mud::kTypeId);
    Particle* first = put(1, 2, Algae::kTypeId);
    put(2, 1, Mud::kTypeId);
    put(2, 2, Algae::kTypeId);
    first->update();
    EXPECT_TRUE(dynamic_cast<Algae*>(first)->shaped);
    EXPECT_EQ(typeAt(2, 2), 0u) << "the rival beside it gave way";
    EXPECT_EQ(world->at(0, 2), world->outsideWall);
}
