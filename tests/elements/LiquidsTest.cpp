// Liquids flow and level, boil, freeze and quench; oil burns; lava heats and
// cools; wax sets.
#include <algorithm>

#include "MaterialWorld.h"
#include "elements/materials/Fire.h"
#include "elements/materials/Gases.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"

using Liquids = MaterialWorld;

TEST_F(Liquids, WaterFlowsSidewaysAndLevels)
{
    for (int y = 1; y <= 40; ++y) {
        put(9, y, Wall::kTypeId);
        put(30, y, Wall::kTypeId);
    }
    fill(10, 1, 11, 20, Water::kTypeId);
    step(600);
    EXPECT_EQ(count(Water::kTypeId), 40);
    int lowest = 100, highest = 0;
    for (int x = 10; x < 30; ++x) {
        int height = 0;
        while (typeAt(x, height + 1) == Water::kTypeId)
            ++height;
        lowest = std::min(lowest, height);
        highest = std::max(highest, height);
    }
    EXPECT_GE(lowest, 1) << "every column of the basin got water";
    EXPECT_LE(highest - lowest, 1);
}

TEST_F(Liquids, WaterBoilsAndFreezesAtItsThresholds)
{
    Particle* water = put(30, 30, Water::kTypeId);
    seal(30, 30);
    const int trials = 40000;
    EXPECT_EQ(changeRate(water, 370.0f, 2000), 0.0) << "370 is the quiet band";
    EXPECT_EQ(changeRate(water, 264.0f, 2000), 0.0);
    expectRate(changeRate(water, 371.0f, trials), 1.0 / 440, trials);
    expectRate(changeRate(water, 2520.0f, trials), 1.0 / 440, trials);
    expectRate(changeRate(water, 2521.0f, trials), 1.0 / 130, trials);
    expectRate(changeRate(water, 263.0f, trials), 1.0 / 400, trials);
    expectRate(changeRate(water, -2519.0f, trials), 1.0 / 400, trials);
    expectRate(changeRate(water, -2520.0f, 4000), 1.0 / 10, 4000);
}

TEST_F(Liquids, BoilingMakesSteamAndFreezingIce)
{
    Particle* hot = put(30, 30, Water::kTypeId);
    seal(30, 30);
    uint32_t kind = Water::kTypeId;
    for (int i = 0; i < 5000 && kind == Water::kTypeId; ++i)
        kind = updateAndApply(hot, 2550.0f);
    EXPECT_EQ(kind, Steam::kTypeId);

    Particle* cold = put(60, 30, Water::kTypeId);
    seal(60, 30);
    kind = Water::kTypeId;
    for (int i = 0; i < 5000 && kind == Water::kTypeId; ++i)
        kind = updateAndApply(cold, -2550.0f);
    EXPECT_EQ(kind, Ice::kTypeId);
}

TEST_F(Liquids, WaterEvaporatesOnlyUnderOpenSkyWithWeather)
{
    Particle* water = put(30, 1, Water::kTypeId);
    put(29, 1, Wall::kTypeId);
    put(31, 1, Wall::kTypeId);
    const int trials = 40000;
    EXPECT_EQ(changeRate(water, 300.0f, 5000), 0.0);
    world->weather = true;
    expectRate(changeRate(water, 300.0f, trials), 1.0 / 520, trials);
    put(30, 2, Wall::kTypeId);
    EXPECT_EQ(changeRate(water, 300.0f, 5000), 0.0);
}

TEST_F(Liquids, LavaTurnsWaterToSteamAndItselfToStone)
{
    put(30, 1, Lava::kTypeId);
    Particle* water = put(31, 1, Water::kTypeId);
    fill(29, 1, 29, 3, Wall::kTypeId);
    fill(32, 1, 32, 3, Wall::kTypeId);
    fill(30, 2, 31, 2, Wall::kTypeId);
    // Beside lava, water neither boils nor freezes by temperature.
    int quenched = 0;
    for (int i = 0; i < 200 && !quenched; ++i) {
        world->temperatureField.setAt(31, 1, -2550.0f);
        water->update();
        if (world->pendingReplacementCount() > 0)
            quenched = 1;
        else
            EXPECT_EQ(typeAt(30, 1), Lava::kTypeId);
    }
    ASSERT_TRUE(quenched);
    EXPECT_EQ(typeAt(30, 1), Stone::kTypeId) << "the lava is quenched at once";
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(31, 1), Steam::kTypeId);
}

TEST_F(Liquids, LavaCoolsToStoneBelow340AndHeatsItsCell)
{
    Particle* lava = put(30, 30, Lava::kTypeId);
    seal(30, 30);
    const int trials = 4000;
    expectRate(changeRate(lava, 339.0f, trials), 0.25, trials);
    EXPECT_EQ(changeRate(lava, 340.0f, 500), 0.0);
    world->temperatureField.setAt(30, 30, 500.0f);
    lava->update();
    EXPECT_FLOAT_EQ(world->temperatureField.getAt(30, 30), 700.0f);
}

TEST_F(Liquids, OilIgnitesByHeatOrCurrent)
{
    Particle* oil = put(30, 30, Oil::kTypeId);
    seal(30, 30);
    EXPECT_EQ(changeRate(oil, 499.0f, 200), 0.0);
    EXPECT_EQ(updateAndApply(oil, 500.0f), OilBurning::kTypeId);

    Particle* wired = put(60, 30, Oil::kTypeId);
    seal(60, 30);
    world->removeParticle(61, 31);
    put(61, 31, Metal::kTypeId);
    world->electricityGrid.setCell(61, 31, ElectricityGrid::kHead);
    ASSERT_TRUE(world->electricityGrid.isPoweredNear(60, 30));
    EXPECT_EQ(updateAndApply(wired, 293.0f), OilBurning::kTypeId);
}

TEST_F(Liquids, BurningOilSpreadsThroughAPoolThrowingFlames)
{
    for (int y = 1; y <= 12; ++y) {
        put(39, y, Wall::kTypeId);
        put(61, y, Wall::kTypeId);
    }
    fill(40, 1, 60, 4, Oil::kTypeId);
    world->removeParticle(50, 4);
    put(50, 4, OilBurning::kTypeId);
    int flames = 0;
    for (int i = 0; i < 200; ++i) {
        step();
        flames = std::max(flames, count(Fire::kTypeId));
    }
    EXPECT_EQ(count(Oil::kTypeId), 0) << "every oil caught";
    EXPECT_GT(flames, 0);
}

TEST_F(Liquids, BurningOilBurnsOutOneInTwoHundredAndHeatsItsCell)
{
    Particle* burning = put(30, 30, OilBurning::kTypeId);
    seal(30, 30);
    const int trials = 40000;
    expectRate(changeRate(burning, 293.0f, trials), 1.0 / 200, trials);
    world->temperatureField.setAt(30, 30, 300.0f);
    burning->update();
    EXPECT_FLOAT_EQ(world->temperatureField.getAt(30, 30), 350.0f);
}

TEST_F(Liquids, BurningOilConvertsEveryOilOfItsBlockInOneTick)
{
    fill(30, 1, 32, 3, Oil::kTypeId);
    world->removeParticle(31, 2);
    Particle* burning = put(31, 2, OilBurning::kTypeId);
    platform::scriptGameRand({0});
    burning->update();
    platform::clearGameRandScript();
    EXPECT_EQ(count(Oil::kTypeId), 0);
    EXPECT_EQ(count(OilBurning::kTypeId), 9);
}

TEST_F(Liquids, MeltedWaxSetsBelow353)
{
    Particle* wax = put(30, 30, WaxMelt::kTypeId);
    seal(30, 30);
    EXPECT_EQ(changeRate(wax, 353.0f, 200), 0.0);
    EXPECT_EQ(updateAndApply(wax, 352.0f), Wax::kTypeId);
}

TEST_F(Liquids, WaxMeltsFlowsAndSetsAgain)
{
    Particle* wax = put(30, 30, Wax::kTypeId);
    EXPECT_EQ(updateAndApply(wax, 400.0f), WaxMelt::kTypeId);
    Particle* melt = world->at(30, 30);
    world->temperatureField.setAt(30, 30, 400.0f);
    melt->update();
    EXPECT_EQ(melt->y, 29) << "melted wax flows";
}
