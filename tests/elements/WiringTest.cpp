// Power pulses at its period and keeps its phase across editor choices;
// bulbs, heaters and coolers act for a fixed number of updates after current;
// a CrossWire's bridge follows it and it reads the current bridge buffer.
#include <climits>

#include "DeviceTesting.h"
#include "MaterialWorld.h"
#include "elements/materials/Powders.h"
#include "elements/materials/Wiring.h"
#include "platform/GameClock.h"
#include "support/CleanGame.h"
#include "world/WorldHost.h"

using Wiring = MaterialWorld;

TEST_F(Wiring, PowerFiresAtItsFirstPulseThenEveryPeriod)
{
    struct Case {
        int32_t period;
        std::vector<int> pulses;  // update numbers, from 1
    };
    const Case cases[] = {{4, {1, 5, 9}}, {8, {1, 9, 17}}, {16, {8, 24}}, {32, {24, 56}}, {0, {}}};
    ElectricityGrid& grid = world->electricityGrid;
    int x = 20;
    for (const Case& c : cases) {
        auto* power = as<Power>(put(x, 100, Power::kTypeId));
        power->period = c.period;
        ASSERT_EQ(grid.getCell(x, 100), ElectricityGrid::kConductor);
        std::vector<int> seen;
        for (int update = 1; update <= 60; ++update) {
            power->update();
            if (grid.getCell(x, 100) == ElectricityGrid::kHead) {
                seen.push_back(update);
                grid.setCell(x, 100, ElectricityGrid::kConductor);
            }
        }
        seen.resize(std::min(seen.size(), c.pulses.size()));
        EXPECT_EQ(seen, c.pulses) << "period " << c.period;
        if (c.period == 0) {
            EXPECT_EQ(power->counter, 8) << "an idle source keeps its counter";
        }
        x += 10;
    }
}

TEST_F(Wiring, ANewPeriodKeepsTheCounterAndWithoutAGameNoEditorOpens)
{
    auto* power = as<Power>(put(30, 100, Power::kTypeId));
    power->period = 32;
    for (int i = 0; i < 3; ++i)
        power->update();
    ASSERT_EQ(power->counter, 11);
    testsupport::LogCapture log;
    setWorldHost(nullptr);  // no game above the world
    power->onTouch();
    power->onTouch();
    setWorldHost(&testsupport::testHost());
    EXPECT_EQ(power->editor, nullptr);
    EXPECT_EQ(logCount(log, "element editor window"), 1) << "said once";
    power->chosenPeriod = 4;
    power->applyEditor();
    EXPECT_EQ(power->period, 4);
    EXPECT_EQ(power->counter, 11) << "the counter keeps its value";
    power->update();
    EXPECT_EQ(world->electricityGrid.getCell(30, 100), ElectricityGrid::kHead) << "12 >= 4 fires at once";
}

TEST_F(Wiring, LoadedPeriodsBelowZeroAreOff)
{
    for (const int32_t saved : {16, 0, -5, INT32_MIN}) {
        auto* power = as<Power>(put(40, 100, Power::kTypeId));
        loadWords(power, {saved});
        EXPECT_EQ(power->period, saved < 0 ? 0 : saved);
        world->removeParticle(40, 100);
    }
}

TEST_F(Wiring, ABulbStaysLitEightUpdatesFromItsLastPoweredOne)
{
    auto* bulb = as<Bulb>(put(50, 100, Bulb::kTypeId));
    put(51, 100, Metal::kTypeId);
    ElectricityGrid& grid = world->electricityGrid;
    std::vector<bool> lit;
    for (int update = 1; update <= 12; ++update) {
        // Powered at updates 1 and 2.
        grid.setCell(51, 100, update <= 2 ? ElectricityGrid::kTail : ElectricityGrid::kConductor);
        bulb->update();
        lit.push_back(bulb->lightSource);
        EXPECT_EQ(bulb->getLight()->on, bulb->lightSource);
    }
    const std::vector<bool> expected = {true, true, true, true, true, true, true, true, true, false, false, false};
    EXPECT_EQ(lit, expected);
    EXPECT_EQ(bulb->litTicks, 0);
}

TEST_F(Wiring, HeatersAndCoolersDriveFiveUpdatesToTheExtremes)
{
    struct Case {
        uint32_t type;
        float extreme;
    };
    for (const Case c : {Case{Heater::kTypeId, 2550.0f}, Case{Cooler::kTypeId, -2550.0f}}) {
        setTemperature(58, 98, 63, 103, 293.0f);
        Particle* driver = put(60, 100, c.type);
        put(61, 100, Metal::kTypeId);
        world->electricityGrid.setCell(61, 100, ElectricityGrid::kTail);
        driver->update();
        world->electricityGrid.setCell(61, 100, ElectricityGrid::kConductor);
        for (int update = 2; update <= 6; ++update) {
            setTemperature(58, 98, 63, 103, 293.0f);
            driver->update();
            const float expected = update <= 5 ? c.extreme : 293.0f;
            for (auto [cx, cy] : {std::pair{59, 100}, {61, 100}, {60, 99}, {60, 101}, {60, 100}})
                EXPECT_EQ(world->temperatureField.getAt(cx, cy), expected) << "update " << update;
        }
        world->removeParticle(60, 100);
        world->removeParticle(61, 100);
    }
}

TEST_F(Wiring, ACrossWireTakesItsBridgeAlongAndLeavesNoneBehind)
{
    ElectricityGrid& grid = world->electricityGrid;
    Particle* wire = put(70, 100, CrossWire::kTypeId);
    EXPECT_TRUE(grid.isBridge(70, 100));
    world->moveParticle(wire, 71, 100);
    EXPECT_FALSE(grid.isBridge(70, 100));
    EXPECT_TRUE(grid.isBridge(71, 100));
    world->removeParticle(71, 100);
    EXPECT_FALSE(grid.isBridge(71, 100));
    EXPECT_EQ(grid.bridgeCount(), 0);
}

TEST_F(Wiring, ACrossWireShowsThePulseOfTheCurrentBridgeBuffer)
{
    ElectricityGrid& grid = world->electricityGrid;
    Particle* wire = put(80, 100, CrossWire::kTypeId);
    const auto idle = CrossWire::colorAtIndex(0);
    const auto pulse = CrossWire::colorAtIndex(1);
    for (const bool aCurrent : {true, false}) {
        if (grid.isACurrent() != aCurrent)
            grid.step();
        ASSERT_EQ(grid.isACurrent(), aCurrent);
        grid.currentBridge(80, 100).fromLeft = 3;
        grid.nextBridge(80, 100).fromLeft = 0;
        wire->update();
        EXPECT_EQ(wire->color.r, pulse.r) << "current buffer " << (aCurrent ? "A" : "B");
        EXPECT_FALSE(wire->colorChanged);
        grid.currentBridge(80, 100).fromLeft = 0;
        grid.nextBridge(80, 100).fromLeft = 3;
        wire->update();
        EXPECT_EQ(wire->color.r, idle.r) << "the other buffer is not read";
        grid.nextBridge(80, 100).fromLeft = 0;
    }
}

TEST_F(Wiring, ABrokenBridgeIsLoggedOnceASecondWithItsCount)
{
    for (int x = 90; x < 100; ++x)
        put(x, 100, CrossWire::kTypeId);
    for (int x = 90; x < 100; ++x)
        world->electricityGrid.setBridge(x, 100, false);
    platform::setManualGameTime(1767225600);
    testsupport::LogCapture log;
    step(3);
    EXPECT_EQ(logCount(log, "Bridge doesn't exist? WTF?"), 1);
    platform::advanceManualGameTime(1);
    step(1);
    platform::clearManualGameTime();
    ASSERT_EQ(logCount(log, "Bridge doesn't exist? WTF?"), 2);
    EXPECT_TRUE(log.contains("Bridge doesn't exist? WTF? (30 times since the last line)"));
}

TEST_F(Wiring, APowerSourceLightsABulbAlongAMetalWire)
{
    put(20, 20, Power::kTypeId);
    fill(21, 20, 40, 20, Metal::kTypeId);
    auto* bulb = as<Bulb>(put(41, 20, Bulb::kTypeId));
    int litSteps = 0;
    for (int i = 0; i < 60; ++i) {
        step();
        litSteps += bulb->litTicks > 0;
    }
    EXPECT_GT(litSteps, 0) << "the pulse reached the bulb";
    // Period 32 pulses seldom enough that the bulb goes dark in between.
    as<Power>(world->at(20, 20))->period = 32;
    bool darkened = false;
    bool relit = false;
    for (int i = 0; i < 80; ++i) {
        step();
        if (!bulb->lightSource)
            darkened = true;
        else if (darkened)
            relit = true;
    }
    EXPECT_TRUE(darkened && relit) << "it blinks";
}
