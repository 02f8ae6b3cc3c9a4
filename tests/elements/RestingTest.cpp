// A buried grain, stone, oil or wax, and cool wood, rest: the step skips
// them until something they would react to happens. Each case buries one
// particle, checks that it rests, disturbs it the way that matters to it and
// checks that it then does what it did before resting.
#include <functional>

#include "MaterialWorld.h"
#include "elements/materials/Fire.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"

using Resting = MaterialWorld;

TEST_F(Resting, ARestingParticleWakesToWhatItReactsTo)
{
    constexpr int x = 60;
    constexpr int y = 40;
    struct Case {
        const char* what;
        uint32_t kind;
        std::function<void()> disturb;
        std::function<bool()> reacted;
    };
    // A field held at a temperature around the particle (a single hot cell
    // would spread its heat before the particle's turn came).
    float held = 0.0f;
    const auto heat = [&](float t) { held = t; };
    const Case cases[] = {
        {"sand whose floor goes", Sand::kTypeId, [&] { world->removeParticle(x, y - 1); },
         [&] { return typeAt(x, y - 1) == Sand::kTypeId; }},
        {"sand that water reaches", Sand::kTypeId,
         [&] {
             world->removeParticle(x + 1, y + 1);
             put(x + 1, y + 1, Water::kTypeId);
             seal(x + 1, y + 1);
         },
         [&] { return typeAt(x, y) == SandWet::kTypeId; }},
        {"stone heated to melting", Stone::kTypeId, [&] { heat(2000.0f); },
         [&] { return typeAt(x, y) == Lava::kTypeId; }},
        {"wax heated to melting", Wax::kTypeId, [&] { heat(450.0f); },
         [&] { return typeAt(x, y) == WaxMelt::kTypeId; }},
        {"oil beside current", Oil::kTypeId,
         [&] {
             world->removeParticle(x + 1, y);
             put(x + 1, y, Metal::kTypeId);
             world->electricityGrid.setCell(x + 1, y, ElectricityGrid::kHead);
         },
         [&] { return typeAt(x, y) == OilBurning::kTypeId; }},
        {"wood heated to burning", Wood::kTypeId, [&] { heat(2500.0f); },
         [&] { return typeAt(x, y) != Wood::kTypeId; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        held = 0.0f;
        Particle* p = put(x, y, c.kind);
        seal(x, y);
        step(2);
        ASSERT_TRUE(world->isResting(p));
        // Resting, it stays put and draws nothing while the world runs.
        step(50);
        ASSERT_EQ(world->at(x, y), p);
        c.disturb();
        bool reacted = false;
        for (int i = 0; i < 400 && !reacted; ++i) {
            if (held != 0.0f)
                setTemperature(x - 10, y - 10, x + 10, y + 10, held);
            step();
            reacted = c.reacted();
        }
        EXPECT_TRUE(reacted);
    }
}

TEST_F(Resting, OnlyAParticleWithNothingToDoRests)
{
    // Beside water, sand may get wet; with a free cell beside it, it may slide.
    Particle* wet = put(20, 20, Sand::kTypeId);
    put(21, 20, Water::kTypeId);
    seal(20, 20);
    seal(21, 20);
    Particle* open = put(40, 20, Sand::kTypeId);
    seal(40, 20);
    world->removeParticle(41, 21);
    Particle* hot = put(60, 20, Stone::kTypeId);
    seal(60, 20);
    setTemperature(50, 10, 70, 30, 2000.0f);
    world->step();
    EXPECT_FALSE(world->isResting(wet));
    EXPECT_FALSE(world->isResting(open));
    EXPECT_FALSE(world->isResting(hot));
}

TEST_F(Resting, ARestingParticleRemovedOrPaintedOverLeavesNothingBehind)
{
    Particle* p = put(30, 30, Sand::kTypeId);
    seal(30, 30);
    world->step();
    ASSERT_TRUE(world->isResting(p));
    const int32_t id = p->id;
    world->removeParticle(30, 30);
    EXPECT_EQ(world->restingCount(), 0);
    // The new particle takes the same id: the step updates i
    Particle* next = put(30, 30, Sand::kTypeId);
    ASSERT_EQ(next->id, id);
    EXPECT_FALSE(world->isResting(next));
    world->removeParticle(30, 29);
    world->step();
    EXPECT_EQ(typeAt(30, 29), Sand::kTypeId);

    put(50, 50, Stone::kTypeId);
    seal(50, 50);
    world->step();
    ASSERT_GT(world->restingCount(), 0);
    world->reset();
    EXPECT_EQ(world->restingCount(), 0);
}
