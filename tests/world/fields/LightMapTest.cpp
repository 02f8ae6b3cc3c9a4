#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "FieldWorld.h"
#include "world/ColorTables.h"
#include "world/CCMutableTexture2D.h"
#include "world/FieldOverlay.h"
#include "world/LightMap.h"

namespace {

struct LightMapTest : FieldWorld {
    std::vector<int32_t> allColumns = std::vector<int32_t>(240, 1);
    std::vector<int32_t> noColumns = std::vector<int32_t>(240, 0);

    LightMap& lights() { return world->lightMap; }
    void step(bool flagColumns = true)
    {
        lights().step(nullptr, nullptr, 0, (flagColumns ? allColumns : noColumns).data());
    }
    std::vector<int32_t> levels()
    {
        std::vector<int32_t> v;
        for (int x = 0; x < 240; ++x)
            for (int y = 0; y < 160; ++y)
                v.push_back(lights().getLevelAt(x, y));
        return v;
    }
};

TEST_F(LightMapTest, FullSunOverAnEmptyWorldShowsEverything)
{
    lights().setSunOn(true);
    lights().setLightOn(true);
    step();
    const cocos2d::ccColor4B wall = world->outsideWall->color;
    FieldOverlay& overlay = lights().overlay();
    for (int x = 1; x < 239; ++x) {
        for (int y = 1; y < 159; ++y) {
            ASSERT_EQ(lights().getLevelAt(x, y), 355) << x << "," << y;
            const cocos2d::ccColor4B t = overlay.pixel(x, y);
            ASSERT_EQ(t.a, 0) << x << "," << y;
        }
    }
    for (auto [x, y] : {std::pair{0, 0}, {0, 80}, {239, 159}, {120, 159}, {120, 0}}) {
        const cocos2d::ccColor4B t = overlay.pixel(x, y);
        EXPECT_TRUE(t.r == wall.r && t.g == wall.g && t.b == wall.b && t.a == wall.a) << x << "," << y;
    }
    EXPECT_FALSE(overlay.texture()->isDirty()) << "uploaded once at the end of the step";
}

TEST_F(LightMapTest, AResetWithTheLightOnShowsEachCellsDarknessOverWhatWasPainted)
{
    // Sand and a bulb painted at the last step; the reset paints every cell
    // from its level alone, the darkest ones by the fill.
    const struct {
        const char* what;
        bool sun;
        bool bulb;
    } cases[] = {
        {"dark", false, false}, {"sun", true, false}, {"bulb in the dark", false, true}, {"sun and bulb", true, true}};
    for (const auto& c : cases) {
        world->reset();
        for (int x = 20; x < 40; ++x)
            putSand(x, 100);
        lights().setSunOn(c.sun);
        lights().setLightOn(true);
        if (c.bulb) {
            ASSERT_NE(lights().addLight(60, 60, 10, 1.0f), nullptr) << c.what;
        }
        step();
        std::vector<int32_t> before = levels();
        lights().reset();
        FieldOverlay& overlay = lights().overlay();
        for (int x = 0; x < 240; ++x) {
            for (int y = 0; y < 160; ++y) {
                const int32_t level = std::clamp(lights().getLevelAt(x, y), 100, 255);
                const cocos2d::ccColor4B t = overlay.pixel(x, y);
                ASSERT_TRUE(t.r == 0 && t.g == 0 && t.b == 0 && t.a == 255 - level)
                    << c.what << " at " << x << "," << y << " level " << level << " alpha " << int(t.a);
            }
        }
        // The lights are gone; the sun stays until the next step.
        EXPECT_EQ(lights().lightsInUse(), 0) << c.what;
        if (!c.bulb) {
            EXPECT_EQ(levels(), before) << c.what;
        }
    }
}

TEST_F(LightMapTest, WithoutTheSunTheWorldIsDark)
{
    lights().setLightOn(true);
    step();
    EXPECT_EQ(lights().getLevelAt(50, 50), 100);
    EXPECT_EQ(lights().overlay().pixel(50, 50).a, 155);
    EXPECT_EQ(lights().overlay().pixel(200, 100).a, 155);
}

TEST_F(LightMapTest, SunlightFallsThroughAColumnOfSand)
{
    const int x = 30;
    for (int y = 158; y >= 154; --y)
        putSand(x, y);
    lights().setSunOn(true);
    lights().setLightOn(true);
    step();

    const int expected[] = {255, 225, 195, 165, 135};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(lights().sunLayerAt(x, 158 - k), expected[k]) << k;
    for (int y = 153; y >= 1; --y)
        ASSERT_EQ(lights().sunLayerAt(x, y), 110) << y;
    EXPECT_EQ(lights().sunLayerAt(x, 159), 255) << "border";

    for (int k = 0; k < 4; ++k) {
        const CellColour c = lights().getCellColor(x, 158 - k);
        EXPECT_EQ(c.a, LightMap::kKindParticle);
        EXPECT_EQ(c.r, kSandColour.r) << k;
    }
    const cocos2d::ccColor4B darker = darkenColor(kSandColour, 1);
    const CellColour fifth = lights().getCellColor(x, 154);
    EXPECT_EQ(fifth.r, darker.r);
    EXPECT_EQ(fifth.g, darker.g);
    EXPECT_EQ(fifth.b, darker.b);
    EXPECT_NE(fifth.r, kSandColour.r);

    EXPECT_EQ(lights().getCellColor(x + 1, 156).a, LightMap::kKindEmptyNearParticle);
    EXPECT_EQ(lights().getCellColor(x + 3, 156).a, LightMap::kKindEmpty);
}

// Deep cells take darkenColor's shade of their own colour at their depth,
// however many colours and depths share the step, and a recoloured particle
// is shaded anew.
TEST_F(LightMapTest, EveryDeepCellIsShadedFromItsOwnColourAndDepth)
{
    std::vector<Particle*> stacks;
    for (int x = 1; x < 239; ++x)
        for (int y = 158; y >= 1; --y) {
            const cocos2d::ccColor4B colour{static_cast<uint8_t>(x * 7), static_cast<uint8_t>(x * 13),
                                            static_cast<uint8_t>(x * 29), 255};
            stacks.push_back(put(x, y, kTestSand, 30, colour));
        }
    lights().setSunOn(true);
    for (int round = 0; round < 2; ++round) {
        step();
        for (const Particle* p : stacks) {
            const int depth = 158 - p->y;
            const cocos2d::ccColor4B expected =
                depth < 4 ? p->color : darkenColor(p->color, static_cast<uint16_t>(depth / 4));
            const CellColour c = lights().getCellColor(p->x, p->y);
            ASSERT_TRUE(c.r == expected.r && c.g == expected.g && c.b == expected.b)
                << p->x << "," << p->y << " in round " << round;
        }
        for (Particle* p : stacks)
            p->color = cocos2d::ccColor4B{p->color.g, p->color.b, p->color.r, 255};
    }
}

TEST_F(LightMapTest, ACellEmptiedSinceItsColumnWasLitIsPaintedEmpty)
{
    putSand(30, 100);
    lights().setSunOn(true);
    lights().setLightOn(true);
    step();
    ASSERT_EQ(lights().getCellColor(30, 100).a, LightMap::kKindParticle);
    EXPECT_EQ(lights().overlay().pixel(30, 100).r, kSandColour.r);

    // The particle leaves without its column being flagged for relighting.
    world->setCell(30, 100, nullptr);
    owned.clear();
    step(false);
    const cocos2d::ccColor4B t = lights().overlay().pixel(30, 100);
    const int32_t level = std::clamp(lights().getLevelAt(30, 100), 100, 255);
    EXPECT_EQ(t.r, 0);
    EXPECT_EQ(t.a, 255 - level);
}

// A particle's texel carries the particle's own alpha as it is when painted,
// whether or not its column was recomputed in that step.
TEST_F(LightMapTest, AParticleTexelTakesTheParticlesCurrentAlpha)
{
    Particle* glass = put(30, 100, kTestSand, 0, cocos2d::ccColor4B{10, 20, 30, 120});
    lights().setSunOn(true);
    lights().setLightOn(true);
    step();
    EXPECT_EQ(lights().overlay().pixel(30, 100).a, 120);
    glass->color.a = 90;
    step(false);
    EXPECT_EQ(lights().overlay().pixel(30, 100).a, 90) << "column not recomputed";
    glass->color.a = 60;
    step();
    EXPECT_EQ(lights().overlay().pixel(30, 100).a, 60) << "column recomputed";
    glass->color.a = 200;
    step(false);
    EXPECT_EQ(lights().overlay().pixel(30, 100).a, 200) << "column not recomputed again";
}

TEST_F(LightMapTest, SwitchingTheSunOffTakesItsLayerOut)
{
    putSand(40, 100);
    lights().setSunOn(true);
    step();
    EXPECT_GT(lights().getLevelAt(40, 50), 100);
    lights().setSunOn(false);
    EXPECT_EQ(lights().getLevelAt(40, 50), 100);
    EXPECT_EQ(lights().getLevelAt(0, 0), 100);
}

TEST_F(LightMapTest, WithoutTheSunEveryCellReadsNoSunAgainAfterBeingSet)
{
    const auto noSun = [&](int x, int y) { return lights().getCellColor(x, y).a == LightMap::kKindNoSun; };
    step();
    EXPECT_TRUE(noSun(30, 30));
    // The sun's pass leaves its colours; set by hand here as it would.
    lights().setCellColor(30, 30, CellColour{1, 2, 3, LightMap::kKindParticle});
    step();
    EXPECT_TRUE(noSun(30, 30));
    lights().setSunOn(true);
    step();
    EXPECT_FALSE(noSun(30, 30));
    lights().setSunOn(false);
    step();
    EXPECT_TRUE(noSun(30, 30));
}

TEST_F(LightMapTest, ASmallLightRaisesOnlyItsCellAndGoesBackExactly)
{
    const std::vector<int32_t> before = levels();
    Light* fire = lights().addLight(60, 60, 1, 1.0f);
    ASSERT_NE(fire, nullptr);
    step();
    EXPECT_EQ(lights().getLevelAt(60, 60), 355);
    EXPECT_EQ(lights().getLevelAt(61, 60), 100);
    lights().removeLight(fire);
    EXPECT_EQ(levels(), before);
    EXPECT_EQ(lights().lightsInUse(), 0);
}

TEST_F(LightMapTest, PointLightsFollowEveryChangeTheirOwnersMake)
{
    // What owners do to a flame's light between two steps, and the levels
    // at its first cell (60, 60) and at (62, 60) after the second step.
    struct Case {
        const char* name;
        int radius;
        std::function<void(Light&)> change;
        int32_t atFirst, atSecond;
    };
    const auto moveTo = [](Light& l, int x) {
        l.remove();
        l.x = x;
        l.changed = true;
    };
    const Case cases[] = {
        {"left alone", 1, [](Light&) {}, 355, 100},
        {"marked but not moved", 1, [](Light& l) { l.changed = true; }, 355, 100},
        {"moved twice", 1,
         [&](Light& l) {
             moveTo(l, 61);
             moveTo(l, 62);
         },
         100, 355},
        {"switched off", 1,
         [](Light& l) {
             l.on = false;
             l.changed = true;
         },
         100, 100},
        {"dimmed", 1,
         [](Light& l) {
             l.intensity = 0.5f;
             l.changed = true;
         },
         227, 100},
        {"radius 0 moved", 0, [&](Light& l) { moveTo(l, 62); }, 100, 355},
    };
    const std::vector<int32_t> before = levels();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Light* light = lights().addLight(60, 60, c.radius, 1.0f);
        ASSERT_NE(light, nullptr);
        step();
        EXPECT_EQ(lights().getLevelAt(60, 60), 355);
        c.change(*light);
        step();
        EXPECT_EQ(lights().getLevelAt(60, 60), c.atFirst);
        EXPECT_EQ(lights().getLevelAt(62, 60), c.atSecond);
        lights().removeLight(light);
        EXPECT_EQ(levels(), before);
    }
}

TEST_F(LightMapTest, AResetLetsGoOfTheGridsOfEveryLightAndLightsStillWorkAfter)
{
    const std::vector<int32_t> before = levels();
    // The room every map keeps for sparks and fireflies.
    const size_t reserved = lights().gridBytes();
    std::vector<Light*> bulbs;
    for (int x = 20; x < 220; x += 4)
        for (int y = 20; y < 140; y += 20)
            bulbs.push_back(lights().addLight(x, y, 10, 0.5f));
    step();
    // Some go before the reset, as burnt-out lamps do: their grids wait for the next lamp.
    for (size_t i = 0; i < bulbs.size(); i += 3)
        lights().removeLight(bulbs[i]);
    EXPECT_GE(lights().gridBytes(), reserved + bulbs.size() * 20 * 20 * sizeof(int32_t));

    lights().reset();
    EXPECT_EQ(lights().gridBytes(), reserved);
    EXPECT_EQ(lights().lightsInUse(), 0);
    EXPECT_EQ(levels(), before);

    Light* bulb = lights().addLight(50, 50, 10, 1.0f);
    ASSERT_NE(bulb, nullptr);
    step();
    EXPECT_EQ(lights().getLevelAt(50, 50), 355);
    EXPECT_GT(lights().getLevelAt(53, 50), 100);
    lights().removeLight(bulb);
    EXPECT_EQ(levels(), before);
}

TEST_F(LightMapTest, AWallShadowsABulbButIsLitItself)
{
    for (int y = 40; y <= 60; ++y)
        putWall(55, y);
    const std::vector<int32_t> before = levels();
    Light* bulb = lights().addLight(50, 50, 10, 1.0f);
    step();
    EXPECT_GT(lights().getLevelAt(53, 50), 100);
    EXPECT_GT(lights().getLevelAt(55, 50), 100) << "blocking cells are lit";
    for (int x = 56; x <= 59; ++x)
        EXPECT_EQ(lights().getLevelAt(x, 50), 100) << x;
    EXPECT_GT(lights().getLevelAt(45, 50), 100) << "the open side is lit";
    EXPECT_EQ(lights().getLevelAt(50, 50), 355);
    EXPECT_EQ(lights().getLevelAt(60, 50), 100) << "reach is at most radius - 1";

    lights().removeLight(bulb);
    EXPECT_EQ(levels(), before);
}

TEST_F(LightMapTest, ANegativeLightDarkensByTheSameAmounts)
{
    Light* bright = lights().addLight(80, 80, 6, 1.0f);
    step();
    std::vector<int32_t> lit = levels();
    lights().removeLight(bright);
    Light* dark = lights().addLight(80, 80, 6, -1.0f);
    step();
    const std::vector<int32_t> darkened = levels();
    for (size_t i = 0; i < lit.size(); ++i)
        ASSERT_EQ(darkened[i] - 100, -(lit[i] - 100)) << i;
    lights().removeLight(dark);
    EXPECT_EQ(lights().getLevelAt(80, 80), 100);
}

TEST_F(LightMapTest, MovingSwitchingAndRecastingKeepTheSumsExact)
{
    for (int y = 20; y <= 30; ++y)
        putWall(70, y);
    const std::vector<int32_t> before = levels();
    Light* a = lights().addLight(65, 25, 10, 1.0f);
    Light* b = lights().addLight(75, 25, 4, 0.5f);
    step();
    // An owner moves its light the way the elements do.
    a->remove();
    a->x = 66;
    a->changed = true;
    b->on = false;
    b->changed = true;
    step();
    EXPECT_EQ(lights().getLevelAt(75, 25), 100) << "switched off";
    // A cell changing near a light recasts it without the light being marked.
    putWall(68, 25);
    const int32_t xs[] = {68};
    const int32_t ys[] = {25};
    lights().step(xs, ys, 1, noColumns.data());
    EXPECT_EQ(lights().getLevelAt(69, 25), 100) << "now in the new wall's shadow";
    lights().removeLight(a);
    lights().removeLight(b);
    EXPECT_EQ(levels(), before);
}

TEST_F(LightMapTest, AGlowingLightFollowsEveryChangeAroundIt)
{
    Light* bulb = lights().addLight(50, 50, 10, 1.0f);
    step(false);
    const std::vector<int32_t> lit = levels();
    bulb->changed = true;  // glowing elements mark their light every update
    step(false);
    EXPECT_EQ(levels(), lit);
    EXPECT_FALSE(bulb->changed);

    putWall(53, 50);
    bulb->changed = true;
    const int32_t xs[] = {53};
    const int32_t ys[] = {50};
    lights().step(xs, ys, 1, noColumns.data());
    EXPECT_EQ(lights().getLevelAt(56, 50), 100) << "the new wall's shadow";

    bulb->intensity = 0.5f;
    bulb->changed = true;
    step(false);
    EXPECT_EQ(lights().getLevelAt(50, 50), 100 + 127);
    lights().removeLight(bulb);
    EXPECT_EQ(lights().getLevelAt(51, 50), 100);
}

TEST_F(LightMapTest, LightsStayInsideTheWorld)
{
    EXPECT_EQ(lights().addLight(240, 0, 1, 1.0f), nullptr);
    EXPECT_EQ(lights().addLight(0, 160, 1, 1.0f), nullptr);
    EXPECT_EQ(lights().addLight(-1, 5, 1, 1.0f), nullptr);

    // A small world: nothing beyond its 120 x 80 cells is read or lit.
    resize(World::kSmallWidth, World::kSmallHeight);
    const std::vector<int32_t> before = levels();
    Light* edge = lights().addLight(60, 77, 10, 1.0f);
    step();
    for (int x = 0; x < 240; ++x)
        for (int y = 80; y < 160; ++y)
            ASSERT_EQ(lights().getLevelAt(x, y), 100) << x << "," << y;
    EXPECT_GT(lights().getLevelAt(60, 78), 100);
    lights().removeLight(edge);
    EXPECT_EQ(levels(), before);
}

TEST_F(LightMapTest, ALightAtTheTopEdgeIgnoresCellsPastTheGrid)
{
    // In the grid's storage the cells past the top of column 120 are the
    // bottom of column 121: a wall there must not shade a light at the top.
    Light* top = lights().addLight(120, 158, 10, 1.0f);
    step();
    const std::vector<int32_t> open = levels();
    lights().removeLight(top);
    for (int y = 1; y <= 9; ++y)
        putWall(121, y);
    for (int y = 1; y <= 9; ++y)
        putWall(122, y);
    top = lights().addLight(120, 158, 10, 1.0f);
    step();
    const std::vector<int32_t> withWall = levels();
    for (int x = 110; x <= 130; ++x)
        for (int y = 148; y < 160; ++y)
            ASSERT_EQ(withWall[static_cast<size_t>(x) * 160 + y], open[static_cast<size_t>(x) * 160 + y])
                << x << "," << y;
    lights().removeLight(top);
}

TEST_F(LightMapTest, RecordsAreReusedLastFreedFirstAndNeverTwice)
{
    Light* a = lights().addLight(10, 10, 2, 1.0f);
    Light* b = lights().addLight(11, 10, 2, 1.0f);
    EXPECT_NE(a, b);
    lights().removeLight(a);
    EXPECT_EQ(lights().addLight(12, 10, 2, 1.0f), a);
    lights().reset();
    EXPECT_EQ(lights().lightsInUse(), 0);
    lights().removeLight(b);  // an owner giving back a light the reset already freed
    EXPECT_EQ(lights().lightsInUse(), 0);
    Light* c = lights().addLight(13, 10, 2, 1.0f);
    Light* d = lights().addLight(14, 10, 2, 1.0f);
    EXPECT_NE(c, d);
}

}  // namespace
