// The world step must stay bit-for-bit what it is: the same seed gives the
// same world, whatever is done to make the step faster. Each scene is built
// from a fixed seed, stepped a few hundred times and hashed (every cell's
// kind, id and colour, the temperature field, the electricity states and
// bridges, the light levels and cell shades, and the pixels of the world
// texture and of the light and electricity overlays) against a constant. A change that is meant to
// change what elements do records the new constants with it; any other
// change must keep them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>

#include "profile/Profile.h"
#include "elements/living/LivingFamilies.h"
#include "elements/materials/MaterialFamilies.h"
#include "elements/materials/Powders.h"
#include "elements/materials/Wiring.h"
#include "platform/GameClock.h"
#include "platform/GameRandom.h"
#include "world/CCMutableTexture2D.h"
#include "world/ColorTables.h"
#include "world/FieldOverlay.h"
#include "support/CleanGame.h"
#include "scene/GameLayer.h"
#include "world/ParticleCreator.h"
#include "elements/creatures/HumanLeader.h"
#include "world/World.h"
#include "support/BlueprintFixtures.h"

namespace {

constexpr uint32_t id(const char* name)
{
    return hashString(name);
}

class Fnv {
public:
    void add(uint32_t v)
    {
        for (int i = 0; i < 4; ++i) {
            h_ ^= (v >> (8 * i)) & 0xffu;
            h_ *= 1099511628211ull;
        }
    }
    void addColour(cocos2d::ccColor4B c)
    {
        add(static_cast<uint32_t>(c.r) | static_cast<uint32_t>(c.g) << 8 | static_cast<uint32_t>(c.b) << 16 |
            static_cast<uint32_t>(c.a) << 24);
    }
    void addFloat(float f)
    {
        uint32_t bits = 0;
        std::memcpy(&bits, &f, sizeof bits);
        add(bits);
    }
    uint64_t value() const { return h_; }

private:
    uint64_t h_ = 14695981039346656037ull;
};

class StepDeterminismTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetGame();
        initColorsAndShadows();
        registerAllElements();
        platform::setManualGameTime(1000);
        platform::seedGameRand(1234u);
    }

    void TearDown() override
    {
        world.reset();
        gWorld = nullptr;
        ParticleCreator::clearRegistrations();
        platform::clearGameRandScript();
        platform::clearManualGameTime();
        testsupport::resetGame();
    }

    // A fresh world of the given size with its border, as after a reset.
    World& makeWorld(bool big)
    {
        world = std::make_unique<World>();
        gWorld = world.get();
        world->setBigWorld(big);
        World& w = *world;
        w.placeBorderWalls();
        return w;
    }

    void put(int x, int y, uint32_t type) { world->addParticle(x, y, type, false); }

    void step(int steps)
    {
        for (int i = 0; i < steps; ++i)
            world->step();
    }

    uint64_t hashWorld() const
    {
        const World& w = *world;
        Fnv h;
        h.add(static_cast<uint32_t>(w.particleCount()));
        for (int x = 0; x < World::kMaxWidth; ++x) {
            for (int y = 0; y < World::kMaxHeight; ++y) {
                const Particle* p = w.grid[x][y];
                h.add(p ? p->getType() : 0u);
                h.add(p ? static_cast<uint32_t>(p->id) : 0xffffffffu);
                if (p)
                    h.addColour(p->color);
                h.add(w.electricityGrid.encodeCell(x, y));
                h.add(static_cast<uint32_t>(w.lightMap.getLevelAt(x, y)));
                const CellColour shade = w.lightMap.getCellColor(x, y);
                h.add(static_cast<uint32_t>(shade.r) | static_cast<uint32_t>(shade.g) << 8 |
                      static_cast<uint32_t>(shade.b) << 16 | static_cast<uint32_t>(shade.a) << 24);
            }
        }
        LightMap& light = world->lightMap;
        ElectricityGrid& electricity = world->electricityGrid;
        const CCMutableTexture2D* texture = GameLayer::getInstance()->getWorldTexture();
        for (int x = 0; x < w.width; ++x)
            for (int y = 0; y < w.height; ++y) {
                const float fx = static_cast<float>(x), fy = static_cast<float>(y);
                if (texture)
                    h.addColour(texture->getPixelAt(fx, fy));
                h.addColour(light.overlay().pixel(x, y));
                h.addColour(electricity.overlay().pixel(x, y));
            }
        for (int x = 0; x < World::kMaxWidth; x += 2)
            for (int y = 0; y < World::kMaxHeight; y += 2)
                h.addFloat(w.temperatureField.getAt(x, y));
        // The next draws show whether the step drew as many values as before.
        h.add(static_cast<uint32_t>(gameRand()));
        return h.value();
    }

    std::unique_ptr<World> world;
};

// Bands of eight rows cycling sand, water, stone, wood, oil and wax.
TEST_F(StepDeterminismTest, MixedBandsSettleToTheSameWorld)
{
    const uint32_t bands[] = {id("Sand"), id("Water"), id("Stone"), id("Wood"), id("Oil"), id("Wax")};
    World& w = makeWorld(false);
    for (int y = 1; y < w.height - 1; ++y)
        for (int x = 1; x < w.width - 1; ++x)
            put(x, y, bands[((y - 1) / 8) % 6]);
    step(300);
    EXPECT_EQ(hashWorld(), 8125197041444391331ull);
}

// Wood trunks on stone, lit by burning oil at their feet, their lower half hot.
TEST_F(StepDeterminismTest, ABurningForestBurnsTheSameWay)
{
    World& w = makeWorld(false);
    for (int y = 1; y <= 4; ++y)
        for (int x = 1; x < w.width - 1; ++x)
            put(x, y, id("Stone"));
    for (int x = 2; x + 2 < w.width - 1; x += 3) {
        for (int y = 5; y < 60; ++y) {
            put(x, y, id("Wood"));
            put(x + 1, y, id("Wood"));
        }
        for (int y = 5; y <= 8; ++y)
            put(x + 2, y, id("OilBurning"));
    }
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 5; y < 30; ++y)
            w.temperatureField.setAt(x, y, 2000.0f);
    step(300);
    EXPECT_EQ(hashWorld(), 18400846847006134705ull);
}

// Metal wires carrying sparks, a crossing bridge, gas and oil beside the
// wires (current ignites them) and sand falling onto a loop of wire.
TEST_F(StepDeterminismTest, SparksOnWiresRunTheSameWay)
{
    World& w = makeWorld(true);
    ElectricityGrid& e = w.electricityGrid;
    for (int x = 1; x < w.width - 1; ++x)
        put(x, 1, id("Stone"));
    // Three long wires, each with a spark running right, and a loop.
    for (int row : {10, 30, 50}) {
        for (int x = 5; x < 200; ++x)
            put(x, row, id("Metal"));
        e.setCell(5, row, ElectricityGrid::kTail);
        e.setCell(6, row, ElectricityGrid::kHead);
    }
    for (int x = 20; x <= 60; ++x) {
        put(x, 70, id("Metal"));
        put(x, 90, id("Metal"));
    }
    for (int y = 71; y < 90; ++y) {
        put(20, y, id("Metal"));
        put(60, y, id("Metal"));
    }
    e.setCell(30, 70, ElectricityGrid::kTail);
    e.setCell(31, 70, ElectricityGrid::kHead);
    // A vertical wire crossing the middle wire through a bridge.
    for (int y = 20; y <= 40; ++y)
        if (y != 30)
            put(100, y, id("Metal"));
    w.removeParticle(100, 30);
    e.setBridge(100, 30, true);
    e.setCell(100, 20, ElectricityGrid::kTail);
    e.setCell(100, 21, ElectricityGrid::kHead);
    // Gas above one wire, oil above another, sand to fall on the loop.
    for (int x = 120; x < 180; ++x) {
        put(x, 11, id("Gas"));
        put(x, 51, id("Oil"));
    }
    for (int x = 25; x < 55; ++x)
        for (int y = 120; y < 130; ++y)
            put(x, y, id("Sand"));
    step(150);
    // Cut the loop and take the bridge away: the current dies out and the
    // grid idles, until a new spark starts on the lowest wire.
    w.removeParticle(40, 90);
    e.setBridge(100, 30, false);
    step(150);
    e.setCell(9, 50, ElectricityGrid::kTail);
    e.setCell(10, 50, ElectricityGrid::kHead);
    step(60);
    EXPECT_EQ(hashWorld(), 4483199956351827488ull);
}

// Bright particles over stone with the sun and the light overlay on.
TEST_F(StepDeterminismTest, LightsRelightTheSameWay)
{
    platform::seedGameRand(1234u);
    World& w = makeWorld(true);
    for (int y = 1; y <= 60; ++y)
        for (int x = 1; x < w.width - 1; ++x)
            put(x, y, id("Stone"));
    int placed = 0;
    while (placed < 60) {
        const int x = 2 + gameRand() % (w.width - 4);
        const int y = 61 + gameRand() % (w.height - 63);
        if (!w.at(x, y)) {
            put(x, y, id("Bright"));
            ++placed;
        }
    }
    w.lightMap.setSunOn(true);
    w.lightMap.setLightOn(true);
    step(60);
    EXPECT_EQ(hashWorld(), 9849417021969265037ull);
}

// Acid over water and metal beside a Virus block in wood; an AcidWater pool
// on hot stone boils into acid steam.
TEST_F(StepDeterminismTest, AcidsAndVirusEatTheSameWay)
{
    World& w = makeWorld(false);
    for (int x = 1; x < w.width - 1; ++x) {
        put(x, 1, id("Stone"));
        put(x, 2, id("Metal"));
    }
    for (int x = 1; x < 60; ++x)
        for (int y = 3; y < 15; ++y)
            put(x, y, id("Water"));
    for (int x = 1; x < 60; ++x)
        for (int y = 15; y < 25; ++y)
            put(x, y, id("Acid"));
    for (int x = 60; x < w.width - 1; ++x)
        for (int y = 3; y < 40; ++y)
            put(x, y, x >= 80 && x < 95 && y >= 15 && y < 30 ? id("Virus") : id("Wood"));
    for (int x = 20; x < 40; ++x)
        for (int y = 40; y < 45; ++y) {
            put(x, y, id("AcidWater"));
            w.temperatureField.setAt(x, y, 450.0f);
        }
    w.weather = true;
    step(300);
    EXPECT_EQ(hashWorld(), 9907414199460401783ull);
}

// C4 and TNT blocks on sand set off by sparks and lava, bombs and meteors
// dropped, and fireworks on a hot plate, some beside water.
TEST_F(StepDeterminismTest, ExplosivesAndFireworksBlastTheSameWay)
{
    World& w = makeWorld(false);
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 1; y < 6; ++y)
            put(x, y, id("Sand"));
    for (int x = 5; x < 11; ++x)
        for (int y = 6; y < 12; ++y) {
            put(x, y, id("C4"));
            put(x + 10, y, id("Tnt"));
        }
    put(7, 14, id("Electro"));
    for (int x = 30; x < 34; ++x)
        put(x, 6, id("Lava"));
    for (int x = 22; x < 30; ++x)
        for (int y = 6; y < 9; ++y)
            put(x, y, id("Tnt"));
    for (int i = 0; i < 8; ++i) {
        put(40 + 6 * i, 60, id("Bomb"));
        put(43 + 6 * i, 70, id("Meteor"));
    }
    for (int x = 90; x < 110; ++x) {
        put(x, 6, id("Stone"));
        put(x, 7, id("Fireworks"));
        put(x, 8, id("Fireworks"));
        w.temperatureField.setAt(x, 7, 2000.0f);
    }
    for (int x = 105; x < 110; ++x)
        put(x, 9, id("Water"));
    step(200);
    EXPECT_EQ(hashWorld(), 10529999541617530403ull);
}

// Cloud blocks in weather over water merge, drift and rain; a cloner fills
// with sand, a powered one beside metal clones water, sparks fall on metal.
TEST_F(StepDeterminismTest, CloudsClonersAndSparksRunTheSameWay)
{
    World& w = makeWorld(true);
    w.weather = true;
    for (int x = 1; x < w.width - 1; ++x) {
        put(x, 1, id("Stone"));
        put(x, 2, id("Metal"));
        for (int y = 3; y < 10; ++y)
            put(x, y, id("Water"));
    }
    for (int block = 0; block < 4; ++block)
        for (int x = 10 + 55 * block; x < 40 + 55 * block; ++x)
            for (int y = 120 + 3 * block; y < 128 + 3 * block; ++y)
                put(x, y, id("Cloud"));
    put(60, 60, id("Multi"));
    put(61, 61, id("Sand"));
    for (int x = 100; x < 130; ++x)
        put(x, 40, id("Metal"));
    put(115, 41, id("EMulti"));
    put(114, 42, id("Water"));
    w.electricityGrid.setCell(100, 40, ElectricityGrid::kTail);
    w.electricityGrid.setCell(101, 40, ElectricityGrid::kHead);
    for (int x = 150; x < 200; x += 5)
        put(x, 100, id("Electro"));
    step(400);
    EXPECT_EQ(hashWorld(), 15871111650103418052ull);
}

// Bands of the nine gems falling into a pile and sparkling.
TEST_F(StepDeterminismTest, GemsPileAndSparkleTheSameWay)
{
    const uint32_t gems[] = {id("Amatist"),  id("Citrine"), id("Diamond"),  id("Emerald"), id("Lapislazuli"),
                             id("Obsidian"), id("Ruby"),    id("Sapphire"), id("Zircon")};
    World& w = makeWorld(false);
    for (int x = 1; x < w.width - 1; ++x)
        put(x, 1, id("Stone"));
    for (int i = 0; i < 9; ++i)
        for (int x = 20 + 8 * i; x < 40 + 8 * i; ++x)
            for (int y = 20 + 4 * i; y < 24 + 4 * i; ++y)
                put(x, y, gems[i]);
    step(300);
    EXPECT_EQ(hashWorld(), 17776705884740541552ull);
}

// Seeds rooting in a sunny mud bed, a flowering blade, an algae pond, and a
// seed of each family building from the test fixtures (so the game's own art
// can change without moving this constant).
TEST_F(StepDeterminismTest, PlantsTreesAndSeedsGrowTheSameWay)
{
    testsupport::FixtureBlueprints fixtures;
    World& w = makeWorld(true);
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 1; y <= 3; ++y)
            put(x, y, id("Stone"));
    // Mud bed with two tree seeds, a tree seed and a flowering blade.
    for (int x = 10; x <= 100; ++x)
        for (int y = 4; y <= 8; ++y)
            put(x, y, id("Mud"));
    put(30, 40, id("Seed"));
    put(70, 30, id("Seed"));
    put(50, 35, id("SeedOak"));
    put(90, 9, id("Grass"));
    if (auto* blade = dynamic_cast<SeededGrowth*>(w.at(90, 9)))
        blade->seedGrowth(2, true);
    // An algae pond on mud between walls, a plesiosaurus above it.
    for (int y = 4; y <= 20; ++y) {
        put(110, y, id("Wall"));
        put(150, y, id("Wall"));
    }
    for (int x = 111; x <= 149; ++x) {
        put(x, 4, id("Mud"));
        for (int y = 5; y <= 18; ++y)
            put(x, y, id("Water"));
    }
    for (int x : {120, 130, 140})
        put(x, 25, id("Algae"));
    put(145, 30, id("Plesiosaurus"));
    // A soil bed with a building seed and a dinosaur seed.
    for (int x = 160; x <= 230; ++x)
        for (int y = 4; y <= 6; ++y)
            put(x, y, id("Soil"));
    put(180, 20, id("SeedHouse"));
    put(210, 30, id("Brontosaurus"));
    w.lightMap.setSunOn(true);
    step(400);
    EXPECT_EQ(hashWorld(), 4691147686445955213ull);
}

// Bees by a tree over flowers, fish, deep-sea fish and fireflies, flamingos
// over a pond, a xenovine field with piranthas and a Stinger, aluminite in
// the light, and the anti-virus among Virus.
TEST_F(StepDeterminismTest, TheLivingWorldLivesTheSameWay)
{
    World& w = makeWorld(true);
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 1; y <= 3; ++y)
            put(x, y, id("Stone"));
    // A tree of leaves on a wood trunk, grass and flowers, and bees.
    for (int y = 4; y <= 20; ++y)
        put(30, y, id("Wood"));
    for (int x = 22; x <= 38; ++x)
        for (int y = 21; y <= 26; ++y)
            put(x, y, id("TreeLeaf"));
    for (int x = 10; x <= 60; ++x)
        put(x, 4, id("Mud"));
    for (int x = 40; x <= 56; x += 4) {
        put(x, 5, id("FlowerCenter"));
        put(x + 1, 5, id("FlowerPetal"));
    }
    for (int i = 0; i < 12; ++i)
        put(20 + 3 * i, 40 + i % 4, id("Bee"));
    // A pond with algae, fish and deep-sea fish; flamingos and fireflies above.
    for (int y = 4; y <= 24; ++y) {
        put(70, y, id("Wall"));
        put(130, y, id("Wall"));
    }
    for (int x = 71; x <= 129; ++x) {
        put(x, 4, id("Mud"));
        for (int y = 5; y <= 22; ++y)
            put(x, y, id("Water"));
    }
    for (int x : {80, 100, 120})
        put(x, 5, id("Algae"));
    for (int i = 0; i < 10; ++i) {
        w.removeParticle(75 + 5 * i, 10 + i % 6);
        put(75 + 5 * i, 10 + i % 6, id(i < 8 ? "Fish" : "DeepSeaFish"));
    }
    for (int i = 0; i < 5; ++i)
        put(85 + 8 * i, 40, id("Flamingo"));
    for (int i = 0; i < 8; ++i)
        put(75 + 7 * i, 60 + i % 3, id("Firefly"));
    // A dark xenovine field under a roof, piranthas and a Stinger hunting a fish.
    for (int x = 140; x <= 200; ++x)
        put(x, 60, id("Wall"));
    for (int x = 145; x <= 195; ++x)
        for (int y = 4; y <= 6; ++y)
            put(x, y, id("Xenovine"));
    for (int x : {150, 170, 190})
        put(x, 12, id("Pirantha"));
    put(160, 20, id("Stinger"));
    put(185, 8, id("Fish"));
    // Aluminite in the open light; the anti-virus among Virus.
    for (int x = 205; x <= 212; ++x)
        put(x, 4, id("Aluminite"));
    for (int x = 215; x <= 225; ++x)
        for (int y = 4; y <= 8; ++y)
            put(x, y, id("Virus"));
    put(220, 12, id("AVirus"));
    put(214, 12, id("AVirus"));
    w.lightMap.setSunOn(true);
    step(400);
    EXPECT_EQ(hashWorld(), 288585293999905999ull);
}

// --- the devices ---------------------------------------------------------------

// A wire fed by sources of several periods, lighting bulbs and LEDs, driving
// heaters, coolers, a belt of sand and instruments, crossed by a second wire,
// with a sensor of every kind on it.
TEST_F(StepDeterminismTest, WiredDevicesRunTheSameWay)
{
    World& w = makeWorld(true);
    for (int x = 1; x < w.width - 1; ++x)
        put(x, 1, id("Stone"));
    put(9, 20, id("Power"));
    for (int x = 10; x <= 200; ++x)
        put(x, 20, x == 150 ? id("CrossWire") : id("Metal"));
    for (int y = 10; y <= 30; ++y)
        if (y != 20)
            put(150, y, id("Metal"));
    put(150, 9, id("Power"));
    static_cast<Power*>(w.at(150, 9))->period = 16;
    for (int x = 12; x <= 60; x += 6)
        put(x, 21, id("Bulb"));
    for (int x = 20; x <= 70; ++x)
        put(x, 19, x < 45 ? id("LedRed") : id("LedBlue"));
    put(70, 21, id("Heater"));
    put(80, 21, id("Cooler"));
    const char* sensors[] = {"ColdSensor", "VeryColdSensor", "NormalSensor", "HotSensor",   "VeryHotSensor",
                             "GasSensor",  "LiquidSensor",   "HumanSensor",  "LightSensor", "LedSensor"};
    for (int i = 0; i < 10; ++i)
        put(100 + 4 * i, 22, id(sensors[i]));
    put(101, 23, id("Steam"));
    put(120, 21, id("Note"));
    put(125, 21, id("Drums"));
    // A belt line on its own wire, fed every fourth step.
    put(29, 40, id("Power"));
    static_cast<Power*>(w.at(29, 40))->period = 4;
    for (int x = 30; x <= 60; ++x) {
        put(x, 40, id("Metal"));
        put(x, 41, x < 58 ? id("ConveyorBeltR") : id("ConveyorBeltL"));
    }
    for (int x = 30; x <= 50; x += 5)
        put(x, 42, id("Sand"));
    step(200);
    EXPECT_EQ(hashWorld(), 2579218868417480097ull);
}

// Lasers and a powered transmitter through glass corners, splitters and the
// nine gems onto stone.
TEST_F(StepDeterminismTest, LasersTraceTheSameWay)
{
    World& w = makeWorld(true);
    const char* gems[] = {"Amatist",  "Citrine", "Diamond",  "Emerald", "Lapislazuli",
                          "Obsidian", "Ruby",    "Sapphire", "Zircon"};
    for (int x = 1; x < w.width - 1; ++x)
        put(x, 1, id("Stone"));
    for (int i = 0; i < 9; ++i) {
        const int y = 20 + 14 * i;
        put(10, y, id("Laser"));
        put(11, y, id("Glass"));
        put(40, y - 1, id("Wall"));  // a shelf, so the gem stays in the beam
        put(40, y, id(gems[i]));
        for (int dy = -2; dy <= 2; ++dy)
            put(200, y + dy, id("Stone"));
    }
    // A splitter: glass above and below the cell before the glass.
    put(100, 34, id("Glass"));
    put(99, 33, id("Glass"));
    put(99, 35, id("Glass"));
    // A transmitter on a powered wire, firing up through a corner.
    put(150, 5, id("Power"));
    for (int x = 151; x <= 160; ++x)
        put(x, 5, id("Metal"));
    put(160, 6, id("LaserTrans"));
    put(160, 7, id("Glass"));
    put(160, 60, id("Glass"));
    put(159, 61, id("Glass"));
    step(120);
    EXPECT_EQ(hashWorld(), 16579601945389620679ull);
}

// Inlets in water and sand feeding outlets through a pipe network, with
// LED-coloured ends.
TEST_F(StepDeterminismTest, PipesCarryTheSameWay)
{
    World& w = makeWorld(true);
    for (int x = 1; x < w.width - 1; ++x)
        put(x, 1, id("Stone"));
    // Two pools: water on the left, sand in the middle, walled in.
    for (int y = 2; y <= 30; ++y) {
        put(5, y, id("Wall"));
        put(60, y, id("Wall"));
        put(120, y, id("Wall"));
    }
    for (int x = 6; x < 60; ++x)
        for (int y = 2; y <= 20; ++y)
            put(x, y, id("Water"));
    for (int x = 61; x < 120; ++x)
        for (int y = 2; y <= 15; ++y)
            put(x, y, id("Sand"));
    // Inlets at the pools' surface, a main pipe along row 50 and outlets
    // hanging down from it.
    for (int x : {30, 90}) {
        w.removeParticle(x, 21);
        put(x, 21, id("PipeIn"));
        for (int y = 22; y < 50; ++y)
            put(x, y, id("Pipe"));
    }
    for (int x = 30; x <= 220; ++x)
        if (!w.at(x, 50))
            put(x, 50, id("Pipe"));
    for (int x = 140; x <= 220; x += 20) {
        put(x, 49, id("PipeOut"));
        if (x % 40 == 0)
            put(x + 1, 49, id("LedRed"));
    }
    put(31, 21, id("LedRed"));
    step(300);
    EXPECT_EQ(hashWorld(), 817181793295997318ull);
}

// Grassy soil on stone with rabbits, falling blocks, two invaders and two
// lions roaming without prey.
TEST_F(StepDeterminismTest, CreaturesRoamTheSameWay)
{
    World& w = makeWorld(true);
    for (int x = 1; x < w.width - 1; ++x) {
        for (int y = 1; y <= 20; ++y)
            put(x, y, id("Stone"));
        for (int y = 21; y <= 24; ++y)
            put(x, y, id("Soil"));
        if (x % 3 != 0)
            put(x, 25, id("Grass"));
    }
    for (int x = 20; x < 220; x += 25)
        put(x, 30, id("MPLeaderRabbit"));
    for (int x = 30; x < 220; x += 40)
        put(x, 90, id("Tetro"));
    put(60, 130, id("MPInvader"));
    put(160, 120, id("MPInvader"));
    put(80, 40, id("LionLeader"));
    put(170, 40, id("LionLeader"));
    step(300);
    EXPECT_EQ(hashWorld(), 14969888556135078337ull);
}

// Five vehicles on a stone road between end walls: a beetle, a sports car,
// two trucks hauling sand and a tank shelling a stone target.
TEST_F(StepDeterminismTest, TrafficDrivesTheSameWay)
{
    World& w = makeWorld(true);
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 1; y <= 20; ++y)
            put(x, y, id("Stone"));
    for (int y = 21; y <= 40; ++y) {
        put(3, y, id("Wall"));
        put(w.width - 4, y, id("Wall"));
    }
    for (int x = 200; x <= 204; ++x)
        for (int y = 21; y <= 30; ++y)
            put(x, y, id("Stone"));
    put(20, 21, id("MPLeaderCar"));
    put(60, 21, id("MPSportCar"));
    put(90, 21, id("MPLeaderTruck"));
    put(130, 21, id("MPLeaderTruck"));
    put(170, 21, id("MPLeaderTank"));
    step(1);
    // Both beds full of sand: more than a load, so they dump.
    for (int truckX : {90, 130})
        for (int x = truckX - 1; x <= truckX + 6; ++x)
            for (int y = 24; y <= 27; ++y)
                put(x, y, id("Sand"));
    step(400);
    EXPECT_EQ(hashWorld(), 18203477514259029720ull);
}

// A colony at work: woodchoppers, a miner, a hunter and a builder with
// stock, two guardian robots and a hunter robot, beside a forest, a stone
// hill, grazing rabbits and a pond.
TEST_F(StepDeterminismTest, AColonyWorksTheSameWay)
{
    World& w = makeWorld(true);
    for (int x = 1; x < w.width - 1; ++x) {
        for (int y = 1; y <= 10; ++y)
            put(x, y, id("Stone"));
        for (int y = 11; y <= 14; ++y)
            put(x, y, id(x >= 190 && x < 215 ? "Water" : "Soil"));
        if (x >= 120 && x < 180 && x % 2 == 0)
            put(x, 15, id("Grass"));
    }
    for (int x = 20; x < 30; ++x)
        for (int y = 15; y < 30; ++y)
            put(x, y, id("Wood"));
    for (int x = 90; x < 110; ++x)
        for (int y = 15; y < 15 + (x < 100 ? x - 89 : 110 - x); ++y)
            put(x, y, id(y % 4 == 0 ? "Ruby" : "Stone"));
    for (int x = 125; x < 175; x += 10)
        put(x, 16, id("MPLeaderRabbit"));
    const char* dusts[] = {"WoodcutterDust", "WoodcutterDust", "MinerDust", "HunterDust", "BuilderDust"};
    const int columns[] = {40, 50, 80, 115, 60};
    for (int i = 0; i < 5; ++i) {
        put(columns[i], 15, id("HumanLeader"));
        put(columns[i] + 2, 40, id(dusts[i]));
    }
    put(70, 15, id("RobotLeader"));
    put(140, 15, id("RobotLeader"));
    put(180, 15, id("RobotLeader"));
    put(182, 40, id("RHunterDust"));
    HumanLeader::addResource("Wood", 5);
    HumanLeader::addResource("Stone", 5);
    step(300);
    EXPECT_EQ(hashWorld(), 11007467230225067657ull);
}

}  // namespace

// Rays stop where every cell left on their way is one no ray can change.
// Charges set off one by one, over a band of charges on sand and over a
// small world packed with them (where few tiles stay live), with the world
// changed between blasts in ways that make spent cells live again, must
// leave the same world as when every blast starts with no cell known spent.
TEST_F(StepDeterminismTest, BlastsOverSpentCellsLeaveWhatFullWalksLeave)
{
    struct Row {
        const char* name;
        void (*between)(World& w, int blast);
    };
    const Row rows[] = {
        {"nothing else changes", [](World&, int) {}},
        {"a spent cell cools", [](World& w, int blast) { w.temperatureField.setAt(60 + blast, 60, 300.0f); }},
        {"a spent cell is chilled", [](World& w, int blast) { w.temperatureField.addAt(70 - blast, 65, -20.0f); }},
        {"a queued sand cell gets another change",
         [](World& w, int blast) { w.queueReplaceById(40 + blast, 20, id("Water")); }},
        {"a charge leaves its cell", [](World& w, int blast) { w.removeParticle(60 + blast, 70); }},
        {"a step runs",
         [](World& w, int blast) {
             if (blast % 5 == 4)
                 w.step();
         }},
    };
    for (const bool big : {true, false})
        for (const Row& row : rows) {
            uint64_t hashes[2] = {};
            for (int forget = 0; forget < 2; ++forget) {
                platform::seedGameRand(1234u);
                World& w = makeWorld(big);
                for (int x = 1; x < w.width - 1; ++x)
                    for (int y = 1; y < w.height - 1; ++y)
                        if (!big || y <= 30)
                            put(x, y, id(big ? "Sand" : "Tnt"));
                        else if (y >= 50 && y <= 90)
                            put(x, y, id("Tnt"));
                for (int blast = 0; blast < 40; ++blast) {
                    if (forget)
                        w.spentCells.forgetAll();
                    explode(5 + blast * 7 % 110, 10 + blast * 13 % 60, 3);
                    row.between(w, blast);
                }
                hashes[forget] = hashWorld() ^ w.pendingReplacementCount();
            }
            EXPECT_EQ(hashes[0], hashes[1]) << row.name << (big ? " (big world)" : " (small world)");
        }
}
