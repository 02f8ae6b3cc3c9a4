// Sensors test once a cycle and pulse their own cell; the temperature bands
// overlap at their ends; loaded phases stay inside the cycle.
#include "DeviceTesting.h"
#include "MaterialWorld.h"
#include "StandInHuman.h"
#include "elements/creatures/CreatureKinds.h"
#include "elements/materials/Leds.h"
#include "elements/materials/Sensors.h"

using Sensors = MaterialWorld;

namespace {
// Updates the sensor `updates` times; the updates after which its cell held a
// pulse head (the head is taken off again each time).
std::vector<int> pulses(World& w, SensorBase* s, int updates)
{
    std::vector<int> seen;
    for (int i = 1; i <= updates; ++i) {
        s->update();
        if (w.electricityGrid.getCell(s->x, s->y) == ElectricityGrid::kHead) {
            seen.push_back(i);
            w.electricityGrid.setCell(s->x, s->y, ElectricityGrid::kConductor);
        }
    }
    return seen;
}
}  // namespace

TEST_F(Sensors, ASensorWhoseTestHoldsPulsesOnceEachCycle)
{
    setTemperature(18, 98, 23, 103, 293.0f);
    auto* normal = as<SensorBase>(put(20, 100, NormalSensor::kTypeId));
    EXPECT_EQ(world->electricityGrid.getCell(20, 100), ElectricityGrid::kConductor);
    EXPECT_EQ(pulses(*world, normal, 24), (std::vector<int>{8, 16, 24}));

    auto* ledSensor = as<SensorBase>(put(30, 100, LedSensor::kTypeId));
    auto* led = as<Led>(put(31, 100, LedRed::kTypeId));
    led->glow = 9;
    EXPECT_EQ(pulses(*world, ledSensor, 64), (std::vector<int>{32, 64}));
    led->glow = 8;
    led->setLit(true);
    EXPECT_TRUE(pulses(*world, ledSensor, 32).empty()) << "glow 8 does not count, even drawn lit";
}

TEST_F(Sensors, TheTemperatureBandsMeetAtTheirEnds)
{
    struct Case {
        float t;
        bool veryCold, cold, normal, hot, veryHot;
    };
    const Case cases[] = {
        {-2550, true, false, false, false, false}, {-2430, true, true, false, false, false},
        {-2429, false, true, false, false, false}, {173, false, true, true, false, false},
        {173.9f, false, true, true, false, false}, {174, false, false, true, false, false},
        {353, false, false, true, true, false},    {2429, false, false, false, true, false},
        {2430, false, false, false, true, true},   {2520, false, false, false, true, true},
        {2521, false, false, false, false, true},
    };
    const uint32_t kinds[] = {VeryColdSensor::kTypeId, ColdSensor::kTypeId, NormalSensor::kTypeId, HotSensor::kTypeId,
                              VeryHotSensor::kTypeId};
    std::vector<SensorBase*> sensors;
    for (int i = 0; i < 5; ++i)
        sensors.push_back(as<SensorBase>(put(40 + 4 * i, 100, kinds[i])));
    for (const Case& c : cases) {
        const bool expected[] = {c.veryCold, c.cold, c.normal, c.hot, c.veryHot};
        for (int i = 0; i < 5; ++i) {
            world->temperatureField.setAt(sensors[i]->x, 100, c.t);
            EXPECT_EQ(sensors[i]->test(), expected[i]) << ParticleCreator::getName(kinds[i]) << " at " << c.t;
        }
    }
}

TEST_F(Sensors, NeighbourTests)
{
    struct Case {
        uint32_t sensor;
        uint32_t neighbour;  // 0 = none
        bool fires;
    };
    const Case cases[] = {
        {GasSensor::kTypeId, TypeId::Steam, true},  {GasSensor::kTypeId, TypeId::Water, false},
        {LiquidSensor::kTypeId, TypeId::Oil, true}, {LiquidSensor::kTypeId, TypeId::Sand, false},
        {HumanSensor::kTypeId, 0, false},
    };
    int x = 20;
    for (const Case& c : cases) {
        auto* s = as<SensorBase>(put(x, 60, c.sensor));
        if (c.neighbour)
            put(x + 1, 61, c.neighbour);
        EXPECT_EQ(s->test(), c.fires) << ParticleCreator::getName(c.sensor) << " by "
                                      << ParticleCreator::getName(c.neighbour);
        x += 5;
    }
}

TEST_F(Sensors, LightAbove230)
{
    auto* s = as<SensorBase>(put(60, 60, LightSensor::kTypeId));
    const int32_t level = world->lightMap.getLevelAt(60, 60);
    world->lightMap.addLevel(60, 60, 230 - level);
    EXPECT_FALSE(s->test()) << "230 is not above 230";
    world->lightMap.addLevel(60, 60, 1);
    EXPECT_TRUE(s->test());
}

TEST_F(Sensors, TheBlinkFadesTowardRow34OverTheCycle)
{
    auto* s = as<SensorBase>(put(70, 60, HotSensor::kTypeId));
    const auto own = HotSensor::colorAtIndex(1);
    const auto grey = HotSensor::colorAtIndex(0);
    EXPECT_EQ(s->color.g, own.g) << "a new sensor shows its own colour";
    s->update();
    EXPECT_EQ(s->color.g, own.g);
    for (int i = 0; i < 4; ++i)
        s->update();
    // Drawn at counter 4 of 8: halfway.
    EXPECT_EQ(s->color.g, static_cast<uint8_t>(static_cast<int>(grey.g * 0.5f + own.g * 0.5f)));
    EXPECT_FALSE(s->colorChanged);
}

TEST_F(Sensors, LoadedCountersOutsideTheCycleStartAtZero)
{
    struct Case {
        uint32_t kind;
        int32_t saved;
        int32_t loaded;
    };
    const Case cases[] = {{ColdSensor::kTypeId, 5, 5},  {ColdSensor::kTypeId, 8, 0}, {ColdSensor::kTypeId, -1, 0},
                          {LedSensor::kTypeId, 31, 31}, {LedSensor::kTypeId, 32, 0}, {ColdSensor::kTypeId, 1 << 30, 0}};
    for (const Case& c : cases) {
        auto* s = as<SensorBase>(put(80, 60, c.kind));
        loadWords(s, {c.saved});
        EXPECT_EQ(s->counter, c.loaded) << c.saved;
        s->update();
        if (c.loaded == 0) {
            const auto own =
                s->getType() == LedSensor::kTypeId ? LedSensor::colorAtIndex(1) : ColdSensor::colorAtIndex(1);
            EXPECT_EQ(s->color.g, own.g) << "the cycle starts again at its own colour";
        }
        world->removeParticle(80, 60);
    }
}

TEST_F(Sensors, AMovedSensorTakesItsConductorAlong)
{
    Particle* s = put(90, 60, GasSensor::kTypeId);
    world->moveParticle(s, 91, 60);
    EXPECT_EQ(world->electricityGrid.getCell(90, 60), ElectricityGrid::kEmpty);
    EXPECT_EQ(world->electricityGrid.getCell(91, 60), ElectricityGrid::kConductor);
    world->removeParticle(91, 60);
    EXPECT_EQ(world->electricityGrid.getCell(91, 60), ElectricityGrid::kEmpty);
}

TEST_F(Sensors, AHumanSensorNoticesEveryHumanButAZombie)
{
    for (const auto& [job, fires] : {std::pair<std::string, bool>{"", true}, {"miner", true}, {"zombie", false}}) {
        StandInHuman::install(job);
        auto* s = as<SensorBase>(put(100, 60, HumanSensor::kTypeId));
        put(101, 59, CreatureKind::HumanLeader);
        EXPECT_EQ(s->test(), fires) << "job '" << job << "'";
        world->removeParticle(100, 60);
        world->removeParticle(101, 59);
        StandInHuman::remove();
    }
}
