// LEDs light at once when powered, pass their surplus on, fade slowly, and a
// large field fed at a corner ends without exhausting the stack.
#include "DeviceTesting.h"
#include "MaterialWorld.h"
#include "elements/materials/Leds.h"
#include "elements/materials/Powders.h"

using Leds = MaterialWorld;

namespace {
// Powers (x, y) through a Metal cell to its left holding a pulse tail.
void powerFromLeft(World& w, int x, int y)
{
    w.electricityGrid.setCell(x - 1, y, ElectricityGrid::kTail);
}
}  // namespace

TEST_F(Leds, APoweredLedGoesToFullGlowAndLightsAtOnce)
{
    const uint32_t colours[] = {LedBlue::kTypeId,   LedGreen::kTypeId, LedOrange::kTypeId,
                                LedPurple::kTypeId, LedRed::kTypeId,   LedYellow::kTypeId};
    int x = 20;
    for (uint32_t type : colours) {
        put(x - 1, 100, Metal::kTypeId);
        auto* led = as<Led>(put(x, 100, type));
        EXPECT_EQ(led->glow, 0);
        EXPECT_FALSE(led->lightSource);
        powerFromLeft(*world, x, 100);
        led->update();
        EXPECT_EQ(led->glow, 32) << ParticleCreator::getName(type);
        EXPECT_TRUE(led->lightSource);
        EXPECT_FALSE(led->colorChanged) << "the look is not saved";
        x += 5;
    }
}

TEST_F(Leds, ASmallFeedStaysDarkSkipsOneDecayThenFades)
{
    auto* led = as<Led>(put(40, 100, LedRed::kTypeId));
    auto* giver = as<Led>(put(41, 100, LedRed::kTypeId));
    giver->fed = true;
    // Offer 5 until the neighbour takes it (each try reaches it 1 in 6).
    for (int i = 0; i < 20 && !led->fed; ++i)
        giver->shareGlow(5);
    ASSERT_TRUE(led->fed);
    EXPECT_EQ(led->glow, 5);
    EXPECT_FALSE(led->lightSource) << "5 is not above 8";
    led->update();
    EXPECT_EQ(led->glow, 5) << "fed since its last update: no decay";
    for (int i = 0; i < 4; ++i)
        led->update();
    EXPECT_EQ(led->glow, 1);
    led->update();
    EXPECT_EQ(led->glow, 0);
    EXPECT_FALSE(led->lightSource);
}

TEST_F(Leds, AFullLedFadesOutAboutThirtyTwoUpdatesAfterItsLastFeed)
{
    put(49, 100, Metal::kTypeId);
    auto* led = as<Led>(put(50, 100, LedGreen::kTypeId));
    powerFromLeft(*world, 50, 100);
    led->update();
    world->electricityGrid.setCell(49, 100, ElectricityGrid::kConductor);
    int updates = 0;
    while (led->lightSource && updates < 100) {
        led->update();
        ++updates;
    }
    // The update after the feed skips its decay; then 32 steps down to 0.
    EXPECT_EQ(updates, 33);
    EXPECT_EQ(led->glow, 0);
    EXPECT_EQ(led->color.r, LedGreen::colorAtIndex(0).r);
}

TEST_F(Leds, TwoPoweredLedsKeepEachOtherFullAndShareOnlyFromTheSecondUpdate)
{
    fill(59, 100, 59, 101, Metal::kTypeId);
    auto* a = as<Led>(put(60, 100, LedBlue::kTypeId));
    auto* b = as<Led>(put(60, 101, LedBlue::kTypeId));
    auto* dark = as<Led>(put(61, 100, LedBlue::kTypeId));
    powerFromLeft(*world, 60, 100);
    powerFromLeft(*world, 60, 101);
    a->update();
    EXPECT_EQ(dark->glow, 0) << "nothing shared at the first powered update";
    for (int i = 0; i < 10; ++i) {
        a->update();
        b->update();
        EXPECT_EQ(a->glow, 32);
        EXPECT_EQ(b->glow, 32);
    }
    EXPECT_GT(dark->glow, 8) << "a neighbour of a full LED is fed";
}

TEST_F(Leds, ALedAtTheBorderOffersNothingOutside)
{
    fill(1, 1, 1, 3, LedRed::kTypeId);
    auto* corner = as<Led>(world->at(1, 1));
    corner->fed = true;
    for (int i = 0; i < 50; ++i)
        corner->shareGlow(32);
    EXPECT_EQ(world->at(0, 1), world->outsideWall);
    EXPECT_EQ(as<Led>(world->at(1, 2))->glow, 32);
}

TEST_F(Leds, AFieldFedAtACornerEnds)
{
    // 200 x 150 LEDs already at full glow: one share reaches deep into the
    // field in one go; the explicit stack keeps the call depth flat.
    fill(10, 5, 209, 154, LedYellow::kTypeId);
    for (Particle* p : world->pool())
        if (p && Led::isLed(p->getType()))
            as<Led>(p)->glow = 32;
    auto* corner = as<Led>(world->at(10, 5));
    corner->fed = true;
    corner->shareGlow(32);
    int fed = 0;
    for (Particle* p : world->pool())
        if (p && Led::isLed(p->getType()) && as<Led>(p)->fed)
            ++fed;
    EXPECT_GT(fed, 1000);
}
