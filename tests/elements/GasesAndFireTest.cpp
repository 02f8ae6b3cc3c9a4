// Gases rise, drift, fade and condense; gas goes off with heat or current;
// fire rises, heats and dies; explosion cells fade and throw flames; Bright
// switches its light by its surroundings.
#include <algorithm>

#include "MaterialWorld.h"
#include "elements/materials/Clouds.h"
#include "elements/materials/Fire.h"
#include "elements/materials/Gases.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"
#include "world/ColorTables.h"
#include "world/ParticleCreator.h"

namespace {

bool sameColour(cocos2d::ccColor4B a, cocos2d::ccColor4B b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

}  // namespace

using Gases = MaterialWorld;
using Flames = MaterialWorld;

TEST_F(Gases, SteamRisesThroughAirAndWater)
{
    Particle* steam = put(50, 5, Steam::kTypeId);
    step(10);
    EXPECT_EQ(steam->y, 15) << "one cell a tick";

    put(80, 1, Steam::kTypeId);
    fill(79, 2, 81, 12, Water::kTypeId);
    fill(78, 1, 78, 14, Wall::kTypeId);
    fill(82, 1, 82, 14, Wall::kTypeId);
    step(60);
    for (Particle* p : world->pool()) {
        if (!p || p->getType() != Steam::kTypeId || p->x < 79 || p->x > 81)
            continue;
        for (int y = p->y + 1; y < 14; ++y) {
            EXPECT_NE(typeAt(p->x, y), Water::kTypeId) << "steam below water at " << p->x << "," << p->y;
        }
    }
}

TEST_F(Gases, SmokeRisesOneCellATickAtMost)
{
    Particle* smoke = put(50, 5, Smoke::kTypeId);
    smoke->update();
    EXPECT_EQ(smoke->y, 6);
    world->clearPendingChanges();
    smoke->update();
    EXPECT_EQ(smoke->y, 7);
}

TEST_F(Gases, SmokeFadesInTenTicksOnAverage)
{
    Particle* smoke = put(30, 30, Smoke::kTypeId);
    seal(30, 30);
    const int trials = 5000;
    expectRate(changeRate(smoke, 293.0f, trials), 0.1, trials);
    for (int x = 10; x < 230; x += 2)
        put(x, 20, Smoke::kTypeId);
    step(200);
    EXPECT_EQ(count(Smoke::kTypeId), 0);
}

TEST_F(Gases, SteamInASealedPocketCondenses)
{
    Particle* steam = put(30, 30, Steam::kTypeId);
    seal(30, 30);
    const int trials = 8000;
    expectRate(changeRate(steam, 293.0f, trials), 1.0 / 40, trials);
    uint32_t kind = Steam::kTypeId;
    for (int i = 0; i < 2000 && kind == Steam::kTypeId; ++i)
        kind = updateAndApply(steam, 293.0f);
    EXPECT_EQ(kind, Water::kTypeId);

    world->weather = true;
    Particle* rainy = put(60, 30, Steam::kTypeId);
    seal(60, 30);
    kind = Steam::kTypeId;
    for (int i = 0; i < 2000 && kind == Steam::kTypeId; ++i)
        kind = updateAndApply(rainy, 293.0f);
    EXPECT_EQ(kind, TypeId::Cloud);
}

TEST_F(Gases, TrappedSteamInWeatherGathersIntoACloudOfItsOwn)
{
    world->weather = true;
    Particle* steam = put(30, 130, Steam::kTypeId);
    seal(30, 130);
    uint32_t kind = Steam::kTypeId;
    for (int i = 0; i < 2000 && kind == Steam::kTypeId; ++i)
        kind = updateAndApply(steam, 293.0f);
    ASSERT_EQ(kind, Cloud::kTypeId);
    const auto* cloud = static_cast<const Cloud*>(world->at(30, 130));
    ASSERT_NE(cloud->blob, nullptr);
    EXPECT_EQ(cloud->blob->memberCount(), 1);
    EXPECT_EQ(world->clouds->count(), 1u);
}

TEST_F(Gases, SteamJoinsACloudOnlyInWeather)
{
    Particle* steam = put(30, 30, Steam::kTypeId);
    put(31, 31, TypeId::Cloud);
    fill(29, 31, 30, 31, Wall::kTypeId);
    put(29, 30, Wall::kTypeId);
    put(31, 30, Wall::kTypeId);
    EXPECT_EQ(changeRate(steam, 293.0f, 500), 0.0) << "no joining with the weather off";
    world->weather = true;
    EXPECT_EQ(updateAndApply(steam, 293.0f), TypeId::Cloud);
}

TEST_F(Gases, SteamNextToWaterTurnsBackIntoWater)
{
    Particle* steam = put(30, 30, Steam::kTypeId);
    fill(29, 29, 31, 29, Water::kTypeId);
    // Blocked above, but not sealed (a pocket would condense on its own).
    fill(30, 31, 31, 31, Wall::kTypeId);
    put(29, 30, Wall::kTypeId);
    put(31, 30, Wall::kTypeId);
    // One in 30 it looks at a random cell of its block; three of nine are Water.
    const int trials = 20000;
    expectRate(changeRate(steam, 293.0f, trials), 1.0 / 30 * 3.0 / 9.0, trials);
}

TEST_F(Gases, GasDriftsUntilHeatOrCurrentSetsItOff)
{
    Particle* gas = put(30, 30, Gas::kTypeId);
    EXPECT_EQ(changeRate(gas, 372.0f, 500), 0.0);
    EXPECT_NE(std::abs(gas->x - 30) + std::abs(gas->y - 30), 0) << "it drifted";
    const int x = gas->x;
    const int y = gas->y;
    world->temperatureField.setAt(x, y, 373.0f);
    gas->update();
    EXPECT_EQ(world->pendingRemovalCount(), 1u);
    EXPECT_FLOAT_EQ(world->temperatureField.getAt(x, y), 2550.0f);
    world->applyPendingChanges();
    EXPECT_EQ(count(Gas::kTypeId), 0);

    Particle* wired = put(60, 30, Gas::kTypeId);
    put(61, 29, Metal::kTypeId);
    world->electricityGrid.setCell(61, 29, ElectricityGrid::kHead);
    wired->update();
    EXPECT_EQ(world->pendingRemovalCount(), 1u);
    EXPECT_FLOAT_EQ(world->temperatureField.getAt(60, 30), 2550.0f);
}

TEST_F(Gases, GasInAClosedBoxStaysWhenThePickedCellIsTaken)
{
    Particle* gas = put(30, 30, Gas::kTypeId);
    seal(30, 30);
    for (int i = 0; i < 200; ++i)
        gas->update();
    EXPECT_EQ(gas->x, 30);
    EXPECT_EQ(gas->y, 30);
}

TEST_F(Flames, FireRisesAndDiesOut)
{
    for (int x = 20; x < 220; x += 4)
        put(x, 20, Fire::kTypeId);
    int highest = 20;
    for (int i = 0; i < 150; ++i) {
        step();
        for (Particle* p : world->pool())
            if (p && p->getType() == Fire::kTypeId)
                highest = std::max(highest, p->y);
    }
    EXPECT_GT(highest, 21);
    EXPECT_EQ(count(Fire::kTypeId), 0);
    EXPECT_EQ(world->lightMap.lightsInUse(), 0) << "every light was given back";
}

TEST_F(Flames, FireUnderACeilingStaysHeatsBelowAndDiesOneInThree)
{
    auto* fire = static_cast<Fire*>(put(30, 30, Fire::kTypeId));
    seal(30, 30);
    world->temperatureField.setAt(30, 29, 293.0f);
    fire->update();
    EXPECT_EQ(fire->y, 30);
    EXPECT_FLOAT_EQ(world->temperatureField.getAt(30, 29), 393.0f);
    world->clearPendingChanges();
    const int trials = 6000;
    int removals = 0;
    for (int i = 0; i < trials; ++i) {
        fire->update();
        removals += world->pendingRemovalCount() > 0;
        world->clearPendingChanges();
    }
    expectRate(static_cast<double>(removals) / trials, 1.0 / 3, trials);
}

TEST_F(Flames, FireRipensFromYellowToRedNoFasterThanItsAge)
{
    seal(100, 100);
    world->removeParticle(100, 100);
    int reachedRed = 0;
    for (int n = 0; n < 300; ++n) {
        auto* fire = static_cast<Fire*>(ParticleCreator::createByName("Fire"));
        ASSERT_TRUE(sameColour(fire->color, colorOfRow(12)));
        // Held in a walled cell outside the pool: it neither moves nor spreads.
        fire->setPosition(100, 100);
        world->setCell(100, 100, fire);
        for (int i = 1; i <= 12; ++i) {
            fire->update();
            if (i <= 1) {
                EXPECT_EQ(fire->stage, 0);
            }
            if (i <= 2) {
                EXPECT_LE(fire->stage, 1);
            }
            if (fire->stage == 2) {
                EXPECT_TRUE(sameColour(fire->color, colorOfRow(14)));
            }
        }
        reachedRed += fire->stage == 2;
        world->setCell(100, 100, nullptr);
        world->clearPendingChanges();
        delete fire;
    }
    EXPECT_GT(reachedRed, 0);
}

TEST_F(Flames, ExplosionFadesOutAndThrowsFireOrSmoke)
{
    auto* e = static_cast<Explosion*>(put(30, 30, Explosion::kTypeId));
    EXPECT_GE(e->life, 0);
    EXPECT_LT(e->life, 20);
    EXPECT_EQ(e->life, e->lifeStart);
    e->setLife(20);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(world->pendingRemovalCount(), 0u);
        e->update();
    }
    EXPECT_EQ(world->pendingRemovalCount(), 1u);
    EXPECT_EQ(e->color.a, 12) << "one life of twenty left when last drawn";
    world->applyPendingChanges();
    EXPECT_EQ(count(Explosion::kTypeId), 0);
    EXPECT_GT(count(Fire::kTypeId) + count(Smoke::kTypeId), 0);
}

TEST_F(Flames, ExplosionSparesExplosivesAndTintedCellsThrowNothing)
{
    auto* below = static_cast<Explosion*>(put(30, 30, Explosion::kTypeId));
    put(30, 31, Explosion::kTypeId);
    for (int i = 0; i < 200; ++i) {
        below->setLife(10);
        below->update();
    }
    EXPECT_EQ(world->pendingReplacementCount(), 0u) << "a factor above 1 is left alone";

    auto* underSand = static_cast<Explosion*>(put(60, 30, Explosion::kTypeId));
    put(60, 31, Sand::kTypeId);
    for (int i = 0; i < 200; ++i) {
        underSand->setLife(10);
        underSand->update();
    }
    EXPECT_GT(world->pendingReplacementCount(), 0u) << "sand (0.8) may catch";
    world->clearPendingChanges();

    auto* tinted = static_cast<Explosion*>(put(90, 30, Explosion::kTypeId));
    tinted->setTinted(true);
    tinted->setColor(cocos2d::ccColor4B{1, 2, 3, 255});
    for (int i = 0; i < 50; ++i) {
        tinted->setLife(10);
        tinted->update();
    }
    EXPECT_EQ(typeAt(90, 31), 0u);
    EXPECT_TRUE(sameColour(tinted->color, cocos2d::ccColor4B{1, 2, 3, 255}));
}

TEST_F(Flames, AnExplosionWithNoLifeIsTransparentAndGoneAfterOneUpdate)
{
    auto* e = static_cast<Explosion*>(put(30, 30, Explosion::kTypeId));
    e->setLife(0);
    e->update();
    EXPECT_EQ(e->color.a, 0);
    EXPECT_EQ(world->pendingRemovalCount(), 1u);
}

TEST_F(Flames, BrightIsDarkWithExactlyOneEmptyNeighbour)
{
    auto* bright = static_cast<Bright*>(put(30, 30, Bright::kTypeId));
    bright->update();
    EXPECT_TRUE(bright->getLight()->on) << "open";
    seal(30, 30);
    bright->update();
    EXPECT_TRUE(bright->getLight()->on) << "enclosed";
    world->removeParticle(31, 31);
    bright->update();
    EXPECT_FALSE(bright->getLight()->on);
    EXPECT_TRUE(bright->getLight()->changed);
}
