// Lasers fire through neighbouring glass; the tracer follows the glass rules,
// gives each gem's hit, ends on humans, loops and the border, and survives a
// beam that removes its own laser.
#include <set>

#include "DeviceTesting.h"
#include "MaterialWorld.h"
#include "StandInHuman.h"
#include "elements/materials/Gems.h"
#include "elements/materials/Lasers.h"
#include "elements/materials/Powders.h"

using Lasers = MaterialWorld;

namespace {
constexpr uint32_t kBeam = LaserBeam::kTypeId;
}  // namespace

TEST_F(Lasers, ALaserFiresOneBeamThroughEachGlassNeighbour)
{
    put(50, 50, Laser::kTypeId);
    put(49, 50, Glass::kTypeId);
    put(51, 51, Glass::kTypeId);
    put(50, 49, Wall::kTypeId);  // not glass: no beam
    world->at(50, 50)->update();
    EXPECT_EQ(typeAt(48, 50), kBeam);
    EXPECT_EQ(typeAt(30, 50), kBeam) << "on to the left";
    EXPECT_EQ(typeAt(52, 52), kBeam);
    EXPECT_EQ(typeAt(60, 60), kBeam) << "on diagonally";
    EXPECT_EQ(typeAt(50, 48), 0u) << ParticleCreator::getName(typeAt(50, 48));

    // A transmitter fires only while current reaches it.
    put(150, 50, LaserTransmitter::kTypeId);
    put(151, 50, Glass::kTypeId);
    put(150, 49, Metal::kTypeId);
    world->at(150, 50)->update();
    EXPECT_EQ(typeAt(152, 50), 0u);
    world->electricityGrid.setCell(150, 49, ElectricityGrid::kTail);
    world->at(150, 50)->update();
    EXPECT_EQ(typeAt(152, 50), kBeam);
    // Made under either name, it is the same kind.
    std::unique_ptr<Particle> byOldName(ParticleCreator::createById(hashString("LaserTransmitter")));
    ASSERT_NE(byOldName, nullptr);
    EXPECT_EQ(byOldName->getType(), LaserTransmitter::kTypeId);
}

TEST_F(Lasers, GlassRules)
{
    struct Case {
        const char* rule;
        int dx, dy;                              // beam direction; glass g at (50, 80)
        std::vector<std::pair<int, int>> glass;  // more glass, relative to g
        std::vector<std::pair<int, int>> beams;  // cells (relative to g) that get a beam
        std::vector<std::pair<int, int>> dark;   // cells that stay empty
    };
    const Case cases[] = {
        {"straight e", 1, 0, {}, {{1, 0}, {5, 0}}, {}},
        {"straight d1", 1, 0, {{1, -1}}, {{0, -1}, {2, -3}}, {{1, 0}}},
        {"straight d2", 1, 0, {{1, 1}}, {{0, 1}, {2, 3}}, {{1, 0}}},
        {"straight d3", 1, 0, {{-1, -1}}, {{0, 1}, {2, 3}}, {{1, 0}}},
        {"straight d4", 1, 0, {{-1, 1}}, {{0, -1}, {2, -3}}, {{1, 0}}},
        {"straight a", 1, 0, {{-1, -1}, {-1, 1}}, {{2, -1}, {2, 1}, {2, 0}}, {}},
        {"straight b1", 1, 0, {{1, -1}, {1, 1}, {-1, -1}}, {{2, -2}, {4, -4}}, {{1, 0}, {0, 1}}},
        {"straight b2", 1, 0, {{1, -1}, {1, 1}, {-1, 1}}, {{2, 2}, {4, 4}}, {{1, 0}, {0, -1}}},
        {"straight b3", 1, 0, {{1, -1}, {1, 1}}, {{0, -1}, {2, -3}, {0, 1}, {2, 3}}, {{2, 0}}},
        {"straight c", 1, 0, {{-1, -1}, {-1, 1}, {0, -1}, {1, -1}}, {{1, 0}, {4, 0}}, {}},
        {"vertical d1", 0, 1, {{-1, 1}}, {{-1, 0}, {-3, 2}}, {{0, 1}}},
        {"diagonal e", 1, 1, {}, {{1, 1}, {4, 4}}, {}},
        {"diagonal c", 1, 1, {{-1, 0}, {0, -1}, {1, -1}, {-1, 1}}, {{1, 1}, {4, 4}}, {}},
        {"diagonal d1", 1, 1, {{1, 0}}, {{0, -1}, {3, -1}}, {{1, 1}}},
        {"diagonal d2", 1, 1, {{0, 1}}, {{-1, 0}, {-1, 3}}, {{1, 1}}},
        {"diagonal d3", 1, 1, {{-1, 0}}, {{0, -1}, {3, -1}}, {{1, 1}}},
        {"diagonal d4", 1, 1, {{0, -1}}, {{-1, 0}, {-1, 3}}, {{1, 1}}},
        {"diagonal a", 1, 1, {{-1, 0}, {0, -1}}, {{2, 1}, {1, 2}, {2, 2}}, {}},
        {"diagonal b1", 1, 1, {{1, 0}, {0, 1}, {-1, 0}}, {{0, 2}, {0, 5}}, {{1, 1}}},
        {"diagonal b2", 1, 1, {{1, 0}, {0, 1}, {0, -1}}, {{2, 0}, {5, 0}}, {{1, 1}}},
        {"diagonal b3", 1, 1, {{1, 0}, {0, 1}}, {{2, 0}, {5, 0}, {0, 2}, {0, 5}}, {{1, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        const int gx = 50, gy = 80;
        put(gx, gy, Glass::kTypeId);
        for (auto [ox, oy] : c.glass)
            put(gx + ox, gy + oy, Glass::kTypeId);
        LaserBase::traceBeam(gx - 4 * c.dx, gy - 4 * c.dy, c.dx, c.dy, BeamRow::kDiamond);
        for (auto [ox, oy] : c.beams)
            EXPECT_EQ(typeAt(gx + ox, gy + oy), kBeam) << "beam at " << ox << "," << oy;
        for (auto [ox, oy] : c.dark)
            EXPECT_EQ(typeAt(gx + ox, gy + oy), 0u) << "dark at " << ox << "," << oy;
        // Clear the whole scene for the next rule.
        for (int x = 1; x < world->width - 1; ++x)
            for (int y = 1; y < world->height - 1; ++y)
                world->removeParticle(x, y);
    }
}

TEST_F(Lasers, TheHundredAndFirstCrossedBeamCellStopsALeg)
{
    for (const int laid : {100, 101}) {
        for (int i = 0; i < laid; ++i)
            put(20 + i, 90 + laid - 100, kBeam);
        LaserBase::traceBeam(20, 90 + laid - 100, 1, 0, BeamRow::kDiamond);
        EXPECT_EQ(typeAt(20 + laid, 90 + laid - 100), laid == 100 ? kBeam : 0u) << laid << " laid";
    }
}

TEST_F(Lasers, EachGemGivesItsHit)
{
    struct Case {
        uint32_t gem;
        uint32_t target;
        float heat;         // least change of the temperature at the target (the star
                            // shares its 2 x 2 field cell, so it adds more)
        uint32_t atTarget;  // kind at the target afterwards
        uint32_t around;    // kind added next to the target (0 = none)
    };
    const Case cases[] = {
        {Diamond::kTypeId, Stone::kTypeId, 0, Stone::kTypeId, 0},
        {Ruby::kTypeId, Stone::kTypeId, 1000, Stone::kTypeId, kBeam},
        {Sapphire::kTypeId, Stone::kTypeId, -1000, Stone::kTypeId, kBeam},
        {Zircon::kTypeId, Stone::kTypeId, 100, Stone::kTypeId, kBeam},
        {Lapislazuli::kTypeId, Stone::kTypeId, -100, Stone::kTypeId, kBeam},
        {Obsidian::kTypeId, Stone::kTypeId, 0, kBeam, kBeam},
        {Obsidian::kTypeId, Wall::kTypeId, 0, Wall::kTypeId, kBeam},
        {Emerald::kTypeId, Stone::kTypeId, 0, Stone::kTypeId, TypeId::Virus},
        {Citrine::kTypeId, Stone::kTypeId, 0, Stone::kTypeId, TypeId::Electro},
    };
    int y = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(ParticleCreator::getName(c.gem));
        setTemperature(1, y - 5, 238, y + 5, 293.0f);
        put(30, y, c.gem);
        put(40, y, c.target);
        LaserBase::traceBeam(25, y, 1, 0, BeamRow::kDiamond);
        const float change = world->temperatureField.getAt(40, y) - 293.0f;
        if (c.heat == 0) {
            EXPECT_EQ(change, 0.0f);
        } else {
            EXPECT_GE(change * c.heat, c.heat * c.heat) << "at least " << c.heat;
        }
        // The Obsidian beam removes the stone; its flash then lies beside it.
        if (c.atTarget != kBeam) {
            EXPECT_EQ(typeAt(40, y), c.atTarget);
        } else {
            EXPECT_NE(typeAt(40, y), Stone::kTypeId);
        }
        EXPECT_EQ(typeAt(40, y + 1), c.around);
        y += 14;
    }
    // Citrine current into Metal.
    put(30, 150, Citrine::kTypeId);
    put(40, 150, Metal::kTypeId);
    LaserBase::traceBeam(25, 150, 1, 0, BeamRow::kDiamond);
    EXPECT_EQ(world->electricityGrid.getCell(40, 150), ElectricityGrid::kHead);
}

TEST_F(Lasers, AHitNeedsOpenSpaceRightBeforeIt)
{
    // Ruby, then Snow (lets light through), then Stone: no hit.
    put(30, 60, Ruby::kTypeId);
    put(31, 60, Snow::kTypeId);
    put(32, 60, Stone::kTypeId);
    LaserBase::traceBeam(25, 60, 1, 0, BeamRow::kDiamond);
    EXPECT_EQ(world->temperatureField.getAt(32, 60), 293.0f);
    EXPECT_EQ(typeAt(33, 60), 0u);
}

TEST_F(Lasers, HumansStopABeam)
{
    StandInHuman::install("miner");
    StandInHuman* human = as<StandInHuman>(put(40, 60, CreatureKind::HumanLeader));
    human->lightAbsorption = 0;  // even a human that lets light through
    LaserBase::traceBeam(30, 60, 1, 0, BeamRow::kRuby);
    EXPECT_EQ(typeAt(41, 60), kBeam) << "the flash of the hit";
    EXPECT_EQ(typeAt(46, 60), 0u) << "nothing beyond";
    EXPECT_GE(world->temperatureField.getAt(40, 60), 1293.0f);
    StandInHuman::remove();
}

TEST_F(Lasers, AGlassMazeEndsWithinTheBudgetOfOneTrace)
{
    // Dense random glass makes corners, splits and restarts that can run in
    // circles; every trace still ends.
    for (int x = 60; x < 180; ++x)
        for (int y = 30; y < 130; ++y)
            if (gameRand() % 3 == 0)
                put(x, y, Glass::kTypeId);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            const int64_t before = LaserBase::cellsWalked;
            LaserBase::traceBeam(120, 80, dx, dy, BeamRow::kDiamond);
            EXPECT_LE(LaserBase::cellsWalked - before, LaserBase::kCallBudget);
        }
}

TEST_F(Lasers, AnObsidianBeamBackOntoItsLaserIsSafe)
{
    // The beam leaves upward, turns left through five glass corners and
    // comes back along the laser's row, where it removes the laser.
    put(50, 50, Laser::kTypeId);
    put(50, 51, Glass::kTypeId);
    put(50, 53, Obsidian::kTypeId);
    for (auto [x, y] : {std::pair{50, 60},
                        {49, 61},
                        {40, 69},
                        {39, 69},
                        {30, 68},
                        {29, 67},
                        {25, 62},
                        {25, 61},
                        {26, 56},
                        {27, 55},
                        {34, 49},
                        {35, 49}})
        put(x, y, Glass::kTypeId);
    world->at(50, 50)->update();
    EXPECT_NE(typeAt(50, 50), Laser::kTypeId) << "the beam came back and removed it";
    EXPECT_EQ(typeAt(45, 50), kBeam);
}

TEST_F(Lasers, ATraceStartingOutsideTheWorldReadsNothing)
{
    const int before = world->particleCount();
    for (auto [x, y] : {std::pair{-1, 50}, {world->width, 50}, {50, -1}, {50, world->height}, {-3000, 70}})
        LaserBase::traceBeam(x, y, 1, 1, BeamRow::kRuby);
    EXPECT_EQ(world->particleCount(), before);
    // A gun standing on the border ring hits the border and stays inside.
    LaserBase::traceBeam(0, 50, -1, 0, BeamRow::kObsidian);
    EXPECT_EQ(world->at(0, 50), world->outsideWall);
}

TEST_F(Lasers, ALaserThroughGlassAndRubyHeatsStoneInTheWorld)
{
    fill(1, 1, 238, 1, Stone::kTypeId);
    put(20, 2, Laser::kTypeId);
    put(21, 2, Glass::kTypeId);
    put(30, 2, Ruby::kTypeId);
    fill(60, 2, 62, 6, Stone::kTypeId);
    step(10);
    EXPECT_GE(world->temperatureField.getAt(60, 2), 2000.0f);
    EXPECT_EQ(typeAt(45, 2), kBeam) << "a steady beam";
}
