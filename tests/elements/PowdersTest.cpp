// Powders fall, pile and sink by density; they change with heat, with Water
// and with each other; solids stay where they are painted.
#include <algorithm>
#include <vector>

#include "MaterialWorld.h"
#include "elements/materials/Fire.h"
#include "elements/materials/Gases.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"
#include "world/ParticleCreator.h"

using Powders = MaterialWorld;

TEST_F(Powders, SandFallsAndPiles)
{
    for (int y = 60; y < 90; ++y)
        put(100, y, Sand::kTypeId);
    step(400);
    ASSERT_EQ(count(Sand::kTypeId), 30);
    int left = 239, right = 0, top = 0;
    for (Particle* p : world->pool()) {
        if (!p)
            continue;
        EXPECT_NE(typeAt(p->x, p->y - 1), 0u) << "sand left hanging at " << p->x << "," << p->y;
        left = std::min(left, p->x);
        right = std::max(right, p->x);
        top = std::max(top, p->y);
    }
    EXPECT_GE(right - left, 4) << "the column spread into a pile";
    EXPECT_LT(top, 20);
}

TEST_F(Powders, SandSinksBelowWater)
{
    // A box 11 wide: water below, sand on top of it.
    for (int y = 1; y <= 30; ++y) {
        put(9, y, Wall::kTypeId);
        put(21, y, Wall::kTypeId);
    }
    fill(10, 1, 20, 10, Water::kTypeId);
    fill(10, 11, 20, 15, Sand::kTypeId);
    step(400);
    for (int x = 10; x <= 20; ++x) {
        bool waterSeen = false;
        for (int y = 1; y <= 30; ++y) {
            const uint32_t t = typeAt(x, y);
            if (t == Water::kTypeId)
                waterSeen = true;
            if (t == Sand::kTypeId || t == SandWet::kTypeId) {
                EXPECT_FALSE(waterSeen) << "sand above water at " << x << "," << y;
            }
        }
    }
}

TEST_F(Powders, DensityZeroSolidsNeverMove)
{
    std::vector<Particle*> solids = {
        put(60, 50, Wall::kTypeId),  put(62, 50, Glass::kTypeId),     put(64, 50, Wood::kTypeId),
        put(66, 50, Metal::kTypeId), put(68, 50, Insulator::kTypeId), put(70, 50, Bright::kTypeId),
        put(72, 50, Void::kTypeId),
    };
    fill(58, 51, 74, 53, Water::kTypeId);
    fill(58, 54, 74, 56, Sand::kTypeId);
    step(150);
    for (size_t i = 0; i < solids.size(); ++i)
        EXPECT_EQ(world->at(60 + 2 * static_cast<int>(i), 50), solids[i]) << i;
}

TEST_F(Powders, SandMeetingWaterTurnsWetAndTakesTheWater)
{
    fill(19, 1, 19, 6, Wall::kTypeId);
    fill(41, 1, 41, 6, Wall::kTypeId);
    fill(20, 1, 40, 3, Sand::kTypeId);
    fill(20, 4, 40, 4, Water::kTypeId);
    const int water = count(Water::kTypeId);
    step(60);
    world->applyPendingChanges();
    const int wet = count(SandWet::kTypeId);
    EXPECT_GT(wet, 0);
    EXPECT_EQ(count(Water::kTypeId), water - wet) << "each wet sand took one water";
}

TEST_F(Powders, WetSandAndMudDryAt353)
{
    Particle* wet = put(30, 30, SandWet::kTypeId);
    seal(30, 30);
    EXPECT_EQ(changeRate(wet, 352.0f, 200), 0.0);
    EXPECT_EQ(updateAndApply(wet, 353.0f), Sand::kTypeId);

    Particle* mud = put(50, 30, Mud::kTypeId);
    seal(50, 30);
    EXPECT_EQ(changeRate(mud, 352.0f, 200), 0.0);
    EXPECT_EQ(updateAndApply(mud, 353.0f), Soil::kTypeId);
}

TEST_F(Powders, SoilAndWaterMakeMud)
{
    fill(20, 1, 40, 2, Soil::kTypeId);
    fill(20, 3, 40, 3, Water::kTypeId);
    step(100);
    EXPECT_GT(count(Mud::kTypeId), 0);
}

TEST_F(Powders, WetSandUnderTwoCellsDoesNotSinkTheTopOneDoes)
{
    fill(30, 1, 32, 1, Sand::kTypeId);
    fill(30, 2, 30, 3, Sand::kTypeId);
    fill(32, 2, 32, 3, Sand::kTypeId);
    Particle* bottom = put(31, 2, SandWet::kTypeId);
    put(31, 3, SandWet::kTypeId);
    Particle* top = put(31, 4, SandWet::kTypeId);
    EXPECT_EQ(changeRate(bottom, 293.0f, 300), 0.0);
    EXPECT_EQ(bottom->y, 2);
    // Two of the three cells below the top one hold Sand: 1 in 8, then 2 in 3.
    int tries = 0;
    while (top->y == 4 && tries < 1000) {
        top->update();
        ++tries;
    }
    EXPECT_EQ(top->y, 3);
    EXPECT_EQ(typeAt(31, 4), Sand::kTypeId);
}

TEST_F(Powders, WetPowdersPassTheirWaterToTheOtherPowderBelow)
{
    // Each stands on a row of the other dry powder, walled in at its sides.
    const struct {
        uint32_t wet, below, wetBecomes, belowBecomes;
    } cases[] = {
        {SandWet::kTypeId, Soil::kTypeId, Sand::kTypeId, Mud::kTypeId},
        {Mud::kTypeId, Sand::kTypeId, Soil::kTypeId, SandWet::kTypeId},
    };
    int x = 30;
    for (const auto& c : cases) {
        fill(x - 1, 1, x + 1, 1, c.below);
        put(x - 1, 2, Wall::kTypeId);
        put(x + 1, 2, Wall::kTypeId);
        Particle* wet = put(x, 2, c.wet);
        for (int i = 0; i < 1000 && world->pendingReplacementCount() == 0; ++i)
            wet->update();
        world->applyPendingChanges();
        EXPECT_EQ(typeAt(x, 2), c.wetBecomes);
        int turnedWet = 0;
        for (int dx = -1; dx <= 1; ++dx)
            turnedWet += typeAt(x + dx, 1) == c.belowBecomes;
        EXPECT_EQ(turnedWet, 1);
        x += 10;
    }
}

TEST_F(Powders, WetSandUnderTheTopBorderStillSinks)
{
    // Two cells above it lies the outside of the grid, not a second occupant.
    const int y = world->height - 2;
    fill(99, y - 1, 101, y - 1, Sand::kTypeId);
    Particle* wet = put(100, y, SandWet::kTypeId);
    put(99, y, Wall::kTypeId);
    put(101, y, Wall::kTypeId);
    for (int i = 0; i < 400 && wet->y == y; ++i)
        wet->update();
    EXPECT_EQ(wet->y, y - 1);
}

TEST_F(Powders, StoneResistsWaterUntilWornThenTurnsToSand)
{
    auto* stone = static_cast<Stone*>(put(30, 30, Stone::kTypeId));
    put(31, 30, Water::kTypeId);
    seal(30, 30);
    put(32, 29, Wall::kTypeId);
    put(32, 30, Wall::kTypeId);
    put(32, 31, Wall::kTypeId);
    stone->erosion = 60;
    EXPECT_EQ(changeRate(stone, 293.0f, 59), 0.0);
    EXPECT_EQ(stone->erosion, 1);
    const int trials = 20000;
    expectRate(changeRate(stone, 293.0f, trials), 0.01, trials);
    EXPECT_LT(stone->erosion, 0) << "keeps wearing below zero";
}

TEST_F(Powders, HotSandBecomesGlassAndHotStoneLava)
{
    Particle* sand = put(30, 30, Sand::kTypeId);
    const int trials = 5000;
    expectRate(changeRate(sand, 1001.0f, trials), 1.0 / 25, trials);
    EXPECT_EQ(sand->y, 30) << "waiting to turn into glass it does not fall";
    EXPECT_EQ(changeRate(sand, 1000.0f, 1), 0.0);

    Particle* stone = put(60, 30, Stone::kTypeId);
    seal(60, 30);
    expectRate(changeRate(stone, 1500.0f, trials), 1.0 / 20, trials);
}

TEST_F(Powders, SnowAndIceMeltByChanceAndBoilAt573)
{
    Particle* snow = put(30, 30, Snow::kTypeId);
    seal(30, 30);
    const int trials = 4000;
    expectRate(changeRate(snow, 400.0f, trials), 0.4, trials);
    EXPECT_EQ(changeRate(snow, 273.0f, 500), 0.0);
    EXPECT_EQ(updateAndApply(snow, 573.0f), Steam::kTypeId);

    Particle* ice = put(60, 30, Ice::kTypeId);
    seal(60, 30);
    expectRate(changeRate(ice, 400.0f, trials), 0.5, trials);
    EXPECT_EQ(changeRate(ice, 273.0f, 500), 0.0);
}

TEST_F(Powders, SnowChillsItsCell)
{
    Particle* snow = put(30, 30, Snow::kTypeId);
    seal(30, 30);
    world->temperatureField.setAt(30, 30, 200.0f);
    snow->update();
    EXPECT_FLOAT_EQ(world->temperatureField.getAt(30, 30), 100.0f);
}

TEST_F(Powders, WaxMeltsAt383)
{
    Particle* wax = put(30, 30, Wax::kTypeId);
    seal(30, 30);
    EXPECT_EQ(changeRate(wax, 382.0f, 100), 0.0);
    EXPECT_EQ(updateAndApply(wax, 383.0f), WaxMelt::kTypeId);
}

TEST_F(Powders, AshUnderStoneMakesOilAndAshBesideLavaVanishes)
{
    Particle* ash = put(30, 1, Ash::kTypeId);
    put(30, 2, Stone::kTypeId);
    put(29, 1, Wall::kTypeId);
    put(31, 1, Wall::kTypeId);
    const int trials = 4000;
    expectRate(changeRate(ash, 293.0f, trials), 1.0 / 20, trials);
    for (int i = 0; i < 1000 && typeAt(30, 1) == Ash::kTypeId; ++i) {
        world->at(30, 1)->update();
        world->applyPendingChanges();
    }
    EXPECT_EQ(typeAt(30, 1), Oil::kTypeId);

    Particle* nearLava = put(60, 1, Ash::kTypeId);
    put(59, 1, Wall::kTypeId);
    put(61, 1, Wall::kTypeId);
    put(61, 2, Lava::kTypeId);
    put(60, 2, Stone::kTypeId);
    expectRate(changeRate(nearLava, 293.0f, trials), 1.0 / 20, trials);
    for (int i = 0; i < 1000 && typeAt(60, 1) == Ash::kTypeId; ++i) {
        world->at(60, 1)->update();
        world->applyPendingChanges();
    }
    EXPECT_EQ(typeAt(60, 1), 0u) << "beside lava it vanishes rather than turning to oil";
}

TEST_F(Powders, HotWoodBurnsAndLeavesAshAboutOnceInTen)
{
    int ash = 0;
    int burnt = 0;
    const int trials = 100000;
    for (int i = 0; i < trials; ++i) {
        Particle* wood = world->at(30, 30);
        if (!wood)
            wood = put(30, 30, Wood::kTypeId);
        world->temperatureField.setAt(30, 30, 2550.0f);
        wood->update();
        if (world->pendingReplacementCount() + world->pendingRemovalCount() == 0)
            continue;
        ++burnt;
        world->applyPendingChanges();
        if (typeAt(30, 30) == Ash::kTypeId) {
            ++ash;
            world->removeParticle(30, 30);
        }
        // Flames and smoke it threw above itself.
        world->removeParticle(30, 31);
        world->removeParticle(30, 32);
    }
    ASSERT_GT(burnt, 0);
    // One in trunc(600 * 393 / 2550) = 92 updates burns; one burn in ten
    // leaves ash.
    expectRate(static_cast<double>(burnt) / trials, 1.0 / 92, trials);
    expectRate(static_cast<double>(ash) / burnt, 0.1, burnt);
}

TEST_F(Powders, VoidEatsItsNeighboursButNotWalls)
{
    put(50, 50, Void::kTypeId);
    fill(49, 49, 51, 49, Sand::kTypeId);
    put(49, 50, Water::kTypeId);
    put(51, 50, Wall::kTypeId);
    put(49, 51, Void::kTypeId);
    put(50, 51, Stone::kTypeId);
    put(51, 51, Wood::kTypeId);
    world->at(50, 50)->update();
    EXPECT_EQ(typeAt(49, 49), 0u);
    EXPECT_EQ(typeAt(50, 49), 0u);
    EXPECT_EQ(typeAt(51, 49), 0u);
    EXPECT_EQ(typeAt(49, 50), 0u);
    EXPECT_EQ(typeAt(50, 51), 0u);
    EXPECT_EQ(typeAt(51, 51), 0u);
    EXPECT_EQ(typeAt(51, 50), Wall::kTypeId);
    EXPECT_EQ(typeAt(49, 51), Void::kTypeId);
    EXPECT_EQ(typeAt(50, 50), Void::kTypeId);
}

TEST_F(Powders, MetalIsAConductorWhereItStands)
{
    Particle* metal = put(40, 40, Metal::kTypeId);
    EXPECT_EQ(world->electricityGrid.getCell(40, 40), ElectricityGrid::kConductor);
    world->moveParticle(metal, 41, 40);
    EXPECT_EQ(world->electricityGrid.getCell(40, 40), ElectricityGrid::kEmpty);
    EXPECT_EQ(world->electricityGrid.getCell(41, 40), ElectricityGrid::kConductor);
    world->removeParticle(41, 40);
    EXPECT_EQ(world->electricityGrid.getCell(41, 40), ElectricityGrid::kEmpty);

    // Built at (0, 0) and never placed: it marks nothing.
    delete ParticleCreator::createAt(Metal::kTypeId, 0, 0);
    EXPECT_EQ(world->electricityGrid.getCell(0, 0), ElectricityGrid::kEmpty);
}

TEST_F(Powders, InsulatorHoldsItsCellAtTheAmbientTemperature)
{
    Particle* insulator = put(40, 40, Insulator::kTypeId);
    world->temperatureField.setAt(40, 40, 1500.0f);
    insulator->update();
    EXPECT_FLOAT_EQ(world->temperatureField.getAt(40, 40), 293.0f);
}
