// Belts carry their load on a pulse head only, lift it onto a higher belt,
// stop at the world's edge, and carry sensors with their conductor.
#include "DeviceTesting.h"
#include "MaterialWorld.h"
#include "elements/creatures/MPObject.h"
#include "elements/materials/ConveyorBelts.h"
#include "elements/materials/Powders.h"
#include "elements/materials/Sensors.h"

using ConveyorBelts = MaterialWorld;

TEST_F(ConveyorBelts, AHeadUnderTheBeltMovesTheLoadOneCell)
{
    struct Case {
        uint32_t belt;
        uint32_t under;  // electricity state below the belt
        int movedBy;
    };
    const Case cases[] = {{ConveyorBeltRight::kTypeId, ElectricityGrid::kHead, 1},
                          {ConveyorBeltLeft::kTypeId, ElectricityGrid::kHead, -1},
                          {ConveyorBeltRight::kTypeId, ElectricityGrid::kTail, 0},
                          {ConveyorBeltRight::kTypeId, ElectricityGrid::kConductor, 0}};
    int x = 20;
    for (const Case& c : cases) {
        put(x, 99, Metal::kTypeId);
        Particle* belt = put(x, 100, c.belt);
        put(x, 101, Stone::kTypeId);
        world->electricityGrid.setCell(x, 99, ElectricityGrid::kConductor);
        if (c.under == ElectricityGrid::kHead)
            world->electricityGrid.setCell(x, 99, ElectricityGrid::kHead);
        else
            world->electricityGrid.setCell(x, 99, c.under);
        belt->update();
        EXPECT_EQ(typeAt(x + c.movedBy, 101), Stone::kTypeId) << "case at " << x;
        if (c.movedBy != 0) {
            EXPECT_EQ(typeAt(x, 101), 0u);
        }
        EXPECT_EQ(typeAt(x, 100), c.belt) << "the belt never moves itself";
        x += 10;
    }
}

TEST_F(ConveyorBelts, TheLoadClimbsOntoAHigherBeltButNotOntoOtherObstacles)
{
    struct Case {
        uint32_t ahead;
        bool climbs;
    };
    int x = 20;
    for (const Case& c : {Case{ConveyorBeltLeft::kTypeId, true}, Case{Wall::kTypeId, false}}) {
        put(x, 79, Metal::kTypeId);
        Particle* belt = put(x, 80, ConveyorBeltRight::kTypeId);
        put(x, 81, Sand::kTypeId);
        put(x + 1, 81, c.ahead);
        world->electricityGrid.setCell(x, 79, ElectricityGrid::kHead);
        belt->update();
        EXPECT_EQ(typeAt(x + 1, 82), c.climbs ? Sand::kTypeId : 0u);
        EXPECT_EQ(typeAt(x, 81), c.climbs ? 0u : Sand::kTypeId);
        x += 10;
    }
}

TEST_F(ConveyorBelts, BeltsAtTheEdgeOrUnderTheTopRowCarryNothing)
{
    // A right belt in the last column inside the border: the border is ahead.
    const int last = world->width - 2;
    put(last, 49, Metal::kTypeId);
    Particle* belt = put(last, 50, ConveyorBeltRight::kTypeId);
    put(last, 51, Sand::kTypeId);
    world->electricityGrid.setCell(last, 49, ElectricityGrid::kHead);
    belt->update();
    EXPECT_EQ(typeAt(last, 51), Sand::kTypeId);
    // A belt just below the top border: its load would be the border itself.
    const int top = world->height - 2;
    put(30, top - 1, Metal::kTypeId);
    Particle* high = put(30, top, ConveyorBeltLeft::kTypeId);
    world->electricityGrid.setCell(30, top - 1, ElectricityGrid::kHead);
    high->update();
    EXPECT_EQ(world->at(30, top + 1), world->outsideWall);
    EXPECT_EQ(world->at(29, top + 1), world->outsideWall);
}

TEST_F(ConveyorBelts, ACarriedSensorMovesItsConductor)
{
    put(60, 39, Metal::kTypeId);
    Particle* belt = put(60, 40, ConveyorBeltRight::kTypeId);
    put(60, 41, NormalSensor::kTypeId);
    world->electricityGrid.setCell(60, 39, ElectricityGrid::kHead);
    belt->update();
    EXPECT_EQ(typeAt(61, 41), NormalSensor::kTypeId);
    EXPECT_EQ(world->electricityGrid.getCell(60, 41), ElectricityGrid::kEmpty);
    EXPECT_EQ(world->electricityGrid.getCell(61, 41), ElectricityGrid::kConductor);
}

TEST_F(ConveyorBelts, APoweredLineCarriesSandAlongInAWorld)
{
    // A power source at the left end of a wire under five right belts.
    Particle* power = put(20, 30, TypeId::of("Power"));
    fill(21, 30, 26, 30, Metal::kTypeId);
    fill(21, 31, 25, 31, ConveyorBeltRight::kTypeId);
    put(21, 32, Sand::kTypeId);
    static_cast<void>(power);
    step(40);
    int sandX = -1;
    for (int x = 20; x <= 40; ++x)
        for (int y = 1; y <= 32; ++y)
            if (typeAt(x, y) == Sand::kTypeId)
                sandX = x;
    EXPECT_GT(sandX, 21) << "the sand was carried right";
}

namespace {
// A body cell of a multi-pixel object, as the creatures will have.
inline constexpr ElementInfo kBodyInfo{"MPBodyCar", 0, 0.8f, 0.8f, {24}, StartRow::First, "sfx_element_soil"};
class StandInBody : public Element<kBodyInfo> {
public:
    bool isMultiPixel() const override { return true; }
    MPObject* getGroup() const override { return group; }
    MPObject* group = nullptr;
};
}  // namespace

TEST_F(ConveyorBelts, AMultiPixelCellMovesWithItsObjectOrNotAtAll)
{
    ParticleCreator::registerClass<StandInBody>("MPBodyCar");
    auto* object = new MPObject();  // joins the world's objects, which free it
    for (const bool grouped : {false, true}) {
        const int x = grouped ? 80 : 70;
        put(x, 39, Metal::kTypeId);
        Particle* belt = put(x, 40, ConveyorBeltRight::kTypeId);
        auto* body = as<StandInBody>(put(x, 41, StandInBody::kTypeId));
        body->group = grouped ? object : nullptr;
        world->electricityGrid.setCell(x, 39, ElectricityGrid::kHead);
        belt->update();
        // Never moved as a single cell: only its object moves it (this one
        // does not list it, so it stays), and a cell without its object
        // stays too.
        EXPECT_EQ(world->at(x, 41), body);
        EXPECT_EQ(typeAt(x + 1, 41), 0u);
    }
}
