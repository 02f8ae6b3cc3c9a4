// A world holding every device kind saves and loads back whole: kinds, cells,
// the saved fields (period, phase, notes and drums), wires and bridges; what
// is not saved starts fresh.
#include <map>

#include "DeviceTesting.h"
#include "MaterialWorld.h"
#include "base/NSData.h"
#include "elements/materials/Instruments.h"
#include "elements/materials/Leds.h"
#include "elements/materials/Pipes.h"
#include "elements/materials/Powders.h"
#include "elements/materials/Sensors.h"
#include "elements/materials/Wiring.h"

using DevicesBlob = MaterialWorld;

TEST_F(DevicesBlob, EveryDeviceComesBackFromASavedWorld)
{
    const char* kinds[] = {
        "Power",          "CrossWire",    "Bulb",      "Heater",        "Cooler",        "LedBlue",       "LedGreen",
        "LedOrange",      "LedPurple",    "LedRed",    "LedYellow",     "ConveyorBeltL", "ConveyorBeltR", "ColdSensor",
        "VeryColdSensor", "NormalSensor", "HotSensor", "VeryHotSensor", "GasSensor",     "LiquidSensor",  "HumanSensor",
        "LightSensor",    "LedSensor",    "Laser",     "LaserBeam",     "LaserTrans",    "Bass",          "Drums",
        "Guitar",         "Trumpet",      "Note",      "Pipe",          "PipeIn",        "PipeOut"};
    std::map<std::pair<int, int>, uint32_t> placed;
    int x = 4;
    for (const char* name : kinds) {
        const uint32_t type = hashString(name);
        ASSERT_TRUE(ParticleCreator::isBuilt(type)) << name;
        put(x, 100, Wall::kTypeId);
        put(x, 101, type);
        placed[{x, 101}] = type;
        x += 6;
    }
    auto at = [this](const char* name) {
        for (Particle* p : world->pool())
            if (p && p->getType() == hashString(name))
                return p;
        return static_cast<Particle*>(nullptr);
    };
    as<Power>(at("Power"))->period = 16;
    as<Power>(at("Power"))->counter = 3;
    as<SensorBase>(at("HotSensor"))->counter = 5;
    as<SensorBase>(at("LedSensor"))->counter = 30;
    as<Instrument>(at("Bass"))->note = 3;
    as<Instrument>(at("Bass"))->octave = 1;
    as<Instrument>(at("Drums"))->note = 7;
    as<Instrument>(at("Note"))->note = 11;
    as<Instrument>(at("Note"))->octave = 0;
    as<Led>(at("LedGreen"))->glow = 20;

    NSData* blob = world->save();
    ASSERT_NE(blob, nullptr);
    const std::vector<uint8_t> bytes(blob->bytes, blob->bytes + blob->length);

    world = std::make_unique<World>();
    gWorld = world.get();
    world->setBigWorld(true);
    world->placeBorderWalls();
    ASSERT_TRUE(world->loadBytes(bytes.data(), bytes.size()));
    for (const auto& [cell, type] : placed)
        EXPECT_EQ(typeAt(cell.first, cell.second), type) << ParticleCreator::getName(type);
    EXPECT_EQ(as<Power>(at("Power"))->period, 16);
    EXPECT_EQ(as<Power>(at("Power"))->counter, 8) << "the counter is not saved";
    EXPECT_EQ(as<SensorBase>(at("HotSensor"))->counter, 5);
    EXPECT_EQ(as<SensorBase>(at("LedSensor"))->counter, 30);
    EXPECT_EQ(as<SensorBase>(at("LedSensor"))->period, 32);
    EXPECT_EQ(as<Instrument>(at("Bass"))->note, 3);
    EXPECT_EQ(as<Instrument>(at("Bass"))->octave, 1);
    EXPECT_EQ(as<Instrument>(at("Drums"))->note, 7);
    EXPECT_EQ(as<Instrument>(at("Note"))->note, 11);
    EXPECT_EQ(as<Instrument>(at("Note"))->octave, 0);
    EXPECT_EQ(as<Led>(at("LedGreen"))->glow, 0) << "a loaded LED starts dark";
    const Particle* power = at("Power");
    const Particle* wire = at("CrossWire");
    EXPECT_EQ(world->electricityGrid.getCell(power->x, power->y), ElectricityGrid::kConductor);
    EXPECT_TRUE(world->electricityGrid.isBridge(wire->x, wire->y));
    const Particle* sensor = at("GasSensor");
    EXPECT_EQ(world->electricityGrid.getCell(sensor->x, sensor->y), ElectricityGrid::kConductor);
}
