// Rockets are lit by heat, climb to their burst height or until stopped, and
// burst; water makes them wet and the wetness passes into a pile.
#include "MaterialWorld.h"
#include "elements/materials/Clouds.h"
#include "elements/materials/Fire.h"
#include "elements/materials/Fireworks.h"
#include "elements/materials/Gases.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"

using Rockets = MaterialWorld;

namespace {
Fireworks* asRocket(Particle* p)
{
    return static_cast<Fireworks*>(p);
}
}  // namespace

TEST_F(Rockets, ARocketLitAboveRowSeventyBurstsAtOnce)
{
    Fireworks* rocket = asRocket(put(30, 100, Fireworks::kTypeId));
    world->temperatureField.setAt(30, 100, 2000.0f);
    rocket->update();
    EXPECT_EQ(rocket->y, 101) << "it climbs one cell first";
    EXPECT_GT(world->pendingRemovalCount(), 0u);
    EXPECT_GT(count(TypeId::Explosion), 0);
}

TEST_F(Rockets, ARocketLitLowBurstsBetweenRows37And70)
{
    fill(1, 1, 238, 2, Stone::kTypeId);
    for (int x = 10; x < 230; x += 10) {
        Fireworks* rocket = asRocket(put(x, 3, Fireworks::kTypeId));
        world->temperatureField.setAt(x, 3, 2000.0f);
        int updates = 0;
        while (world->pendingRemovalCount() == 0 && updates++ < 200)
            rocket->update();
        EXPECT_GE(rocket->y, 37);
        EXPECT_LE(rocket->y, 70);
        world->applyPendingChanges();
    }
}

TEST_F(Rockets, AClimbingRocketPassesLightCellsAndBurstsUnderSand)
{
    struct Case {
        uint32_t above;
        bool passes;
    };
    const Case cases[] = {{TypeId::Fire, true},      {TypeId::Smoke, true},  {TypeId::Cloud, true},
                          {TypeId::Explosion, true}, {Sand::kTypeId, false}, {Wall::kTypeId, false}};
    int x = 20;
    for (const Case& c : cases) {
        Fireworks* rocket = asRocket(put(x, 120, Fireworks::kTypeId));
        put(x, 121, c.above);
        rocket->launched = true;
        rocket->burstHeight = 150;
        rocket->update();
        if (c.passes) {
            EXPECT_EQ(rocket->y, 121) << ParticleCreator::getName(c.above);
            EXPECT_EQ(typeAt(x, 120), c.above);
            EXPECT_EQ(world->pendingRemovalCount(), 0u);
        } else {
            EXPECT_EQ(rocket->y, 120);
            EXPECT_GT(world->pendingRemovalCount(), 0u) << "bursts under " << ParticleCreator::getName(c.above);
        }
        world->clearPendingChanges();
        x += 30;
    }
}

TEST_F(Rockets, ALitRocketSwapsPastAnUnlitOneAndTakesOverAWetOne)
{
    Fireworks* lower = asRocket(put(30, 120, Fireworks::kTypeId));
    Fireworks* upper = asRocket(put(30, 121, Fireworks::kTypeId));
    lower->launched = true;
    lower->burstHeight = 150;
    lower->update();
    EXPECT_EQ(lower->y, 121);
    EXPECT_EQ(upper->y, 120);

    Fireworks* climber = asRocket(put(60, 120, Fireworks::kTypeId));
    Fireworks* wet = asRocket(put(60, 121, Fireworks::kTypeId));
    wet->setWet(true);
    climber->launched = true;
    climber->update();
    EXPECT_TRUE(climber->wet);
    EXPECT_FALSE(climber->launched);
    EXPECT_FALSE(wet->wet);
}

TEST_F(Rockets, WaterWetsARocketAndAWetRocketCannotBeLit)
{
    Fireworks* rocket = asRocket(put(30, 30, Fireworks::kTypeId));
    put(31, 30, Water::kTypeId);
    put(30, 29, Stone::kTypeId);
    rocket->update();
    EXPECT_TRUE(rocket->wet);
    EXPECT_EQ(typeAt(31, 30), 0u) << "the water is taken up";
    world->temperatureField.setAt(30, 30, 2550.0f);
    for (int i = 0; i < 50; ++i)
        rocket->update();
    EXPECT_FALSE(rocket->launched);
}

TEST_F(Rockets, WetnessPassesAtMostTwentyRocketsDeep)
{
    fill(20, 20, 50, 50, Fireworks::kTypeId);
    for (Particle* p : world->pool())
        if (p && p->getType() == Fireworks::kTypeId)
            asRocket(p)->setWet(true);
    put(19, 35, Water::kTypeId);
    for (Particle* p : world->pool())
        if (p)
            p->colorChanged = false;
    Fireworks* touching = asRocket(world->at(20, 35));
    touching->update();
    int touched = 0;
    for (Particle* p : world->pool())
        touched += p && p->colorChanged;
    EXPECT_GE(touched, 1);
    EXPECT_LE(touched, 22) << "a chain of at most 21 hand-overs";
    EXPECT_FALSE(touching->wet) << "the rocket that met the water ends dry";
}
