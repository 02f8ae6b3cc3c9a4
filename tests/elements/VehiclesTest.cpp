// Vehicles: cars built from pictures, the sports car, the lander, the tank and
// its shells, the truck.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "MaterialWorld.h"
#include "base/NSData.h"
#include "elements/creatures/CreatureCounts.h"
#include "elements/creatures/CreaturePictures.h"
#include "elements/creatures/Lander.h"
#include "elements/creatures/Tank.h"
#include "elements/creatures/Truck.h"
#include "elements/creatures/Vehicles.h"
#include "world/ByteStream.h"
#include "world/WorldHost.h"

USING_NS_CC;

namespace {

const uint32_t kStone = hashString("Stone");
const uint32_t kSand = hashString("Sand");
const uint32_t kWall = hashString("Wall");

CreaturePicture pictureOf(const std::vector<std::string>& rows)  // top row first; '#' opaque
{
    CreaturePicture p;
    p.height = static_cast<int>(rows.size());
    p.width = static_cast<int>(rows[0].size());
    for (const std::string& row : rows)
        for (char c : row)
            p.pixels.push_back(c == '#' ? ccColor4B{200, 10, 10, 255} : ccColor4B{0, 0, 0, 0});
    return p;
}

struct WarningHost : WorldHost {
    std::vector<std::string> warnings;
    std::vector<int> panels;
    void showLimitWarning(const char* key) override { warnings.emplace_back(key); }
    void openVehiclePanel(Particle*, int kind) override { panels.push_back(kind); }
};

class VehiclesTest : public MaterialWorld {
protected:
    void SetUp() override
    {
        MaterialWorld::SetUp();
        if (const char* root = std::getenv("ENGINE_RESOURCES"))
            CCFileUtils::sharedFileUtils()->setResourceRoot(root);
        setWorldHost(&host);
    }
    void TearDown() override
    {
        setWorldHost(nullptr);
        for (const char* path : {"cars/beetle.png", "cars/sportCar.png"})
            setCreaturePicture(path, nullptr);
        CCEGLView::sharedOpenGLView()->setKeyDown(kCCKeySpace, false);
        MaterialWorld::TearDown();
    }
    // A vehicle placed and updated once (its body built).
    template <class T> T* vehicle(int x, int y)
    {
        auto* v = static_cast<T*>(put(x, y, T::kTypeId));
        v->update();
        return v;
    }
    int members(VehicleLeader* v) const { return v->group ? static_cast<int>(v->group->members->count()) : 0; }

    WarningHost host;
};

TEST_F(VehiclesTest, ThePicturesBuildTheirBodiesFromTheBottomLeftPixel)
{
    struct Case {
        uint32_t type;
        int cells;
        int originX;
    };
    // Opaque pixel counts of the pictures, and the first opaque column of
    // the bottom row.
    const Case cases[] = {{MPLeaderCar::kTypeId, 42, 1},
                          {MPSportCar::kTypeId, 29, 1},
                          {MPLander::kTypeId, 35, 0},
                          {MPLeaderTank::kTypeId, 87, 1},
                          {MPLeaderTruck::kTypeId, 58, 2}};
    fill(1, 1, 238, 40, kStone);
    int x = 20;
    for (const Case& c : cases) {
        auto* v = static_cast<VehicleLeader*>(put(x, 41, c.type));
        v->update();
        ASSERT_NE(v->bodyImage, nullptr) << v->getType();
        EXPECT_EQ(members(v), c.cells) << x;
        EXPECT_EQ(v->originX, c.originX);
        EXPECT_EQ(v->originY, 0);
        x += 40;
    }
    // The tank's barrel is the sixth row from the bottom and reaches the
    // right edge; the truck's key marks empty cells as cargo and opaque ones
    // as the tipping bed.
    const CreaturePicture* tank = creaturePicture("cars/tank.png");
    ASSERT_NE(tank, nullptr);
    EXPECT_NE(tank->at(tank->width - 1, MPLeaderTank::kMuzzleRow).a, 0);
    for (int r = 0; r < tank->height; ++r) {
        if (r != MPLeaderTank::kMuzzleRow) {
            EXPECT_EQ(tank->at(tank->width - 1, r).a, 0) << r;
        }
    }
    const CreaturePicture* truck = creaturePicture("cars/truck.png");
    auto* t = static_cast<MPLeaderTruck*>(world->at(180, 41));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->bedPoints.size(), 32u);
    EXPECT_EQ(t->tipPoints.size(), 14u);
    for (const auto& b : t->bedPoints)
        EXPECT_EQ(truck->at(b.x, b.y).a, 0);
    for (const auto& p : t->tipPoints)
        EXPECT_EQ(truck->at(p.x, p.y).a, 255);
}

TEST_F(VehiclesTest, EachClassHasItsNameSoundRowsAndRecordSize)
{
    struct Case {
        const char* name;
        const char* sound;
        int row;
        int saveSize;
    };
    const Case cases[] = {
        {"MPLeaderCar", "sfx_element_fire", 97, 16},   {"MPBodyCar", "sfx_element_fire", 96, 12},
        {"MPLander", "sfx_element_lander", 97, 16},    {"MPLeaderTank", "sfx_element_fire", 97, 16},
        {"MPLeaderTruck", "sfx_element_fire", 97, 20}, {"MPSportCar", "sfx_element_fire", 97, 16},
        {"TankBullet", "sfx_element_tnt", 35, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Particle* p = ParticleCreator::createByName(c.name);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->getType(), hashString(c.name));
        EXPECT_EQ(p->getSoundName(), c.sound);
        EXPECT_EQ(static_cast<cocos2d::CCInteger*>(p->getColors()->objectAtIndex(0))->getValue(), c.row);
        EXPECT_EQ(p->getSaveSize(), c.saveSize);
        EXPECT_EQ(p->getDensity(), 0);
        delete p;
    }
    EXPECT_EQ(CreatureCounts::cars, 0);
}

TEST_F(VehiclesTest, ClassLimitsRefuseTheExtraVehicleWhichLeavesAtOnce)
{
    struct Case {
        const char* what;
        std::vector<uint32_t> before;
        uint32_t extra;
        bool refused;
    };
    const Case cases[] = {
        {"a fourth beetle beside three vehicles",
         {MPLeaderCar::kTypeId, MPLeaderTank::kTypeId, MPLeaderTruck::kTypeId},
         MPLeaderCar::kTypeId,
         true},
        {"a fourth truck",
         {MPLeaderTruck::kTypeId, MPLeaderTruck::kTypeId, MPLeaderTruck::kTypeId},
         MPLeaderTruck::kTypeId,
         true},
        {"a second tank", {MPLeaderTank::kTypeId}, MPLeaderTank::kTypeId, true},
        {"a fifth sports car",
         {MPSportCar::kTypeId, MPSportCar::kTypeId, MPSportCar::kTypeId, MPSportCar::kTypeId},
         MPSportCar::kTypeId,
         true},
        {"a sports car beside three other vehicles",
         {MPLeaderCar::kTypeId, MPLeaderCar::kTypeId, MPLeaderCar::kTypeId},
         MPSportCar::kTypeId,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        world = std::make_unique<World>();
        gWorld = world.get();
        world->setBigWorld(true);
        world->placeBorderWalls();
        fill(1, 1, 238, 40, kStone);
        int x = 20;
        for (uint32_t type : c.before) {
            auto* v = static_cast<VehicleLeader*>(put(x, 41, type));
            v->update();
            v->autoDrive = false;
            x += 40;
        }
        const int carsBefore = CreatureCounts::cars;
        auto* extra = static_cast<VehicleLeader*>(put(x, 41, c.extra));
        const int id = extra->id;
        EXPECT_EQ(CreatureCounts::cars, carsBefore + 1) << "the counters include the new vehicle";
        extra->update();
        EXPECT_EQ(extra->refused, c.refused);
        extra->autoDrive = false;
        step();
        EXPECT_EQ(world->pool()[id] == extra, !c.refused);
        EXPECT_EQ(CreatureCounts::cars, carsBefore + (c.refused ? 0 : 1));
    }
    world.reset();
    gWorld = nullptr;
    EXPECT_EQ(CreatureCounts::cars, 0);
    EXPECT_EQ(CreatureCounts::tanks + CreatureCounts::trucks + CreatureCounts::sportCars + CreatureCounts::landers, 0);
}

TEST_F(VehiclesTest, AOnePixelPictureMakesALeaderOnlyVehicleAndAnUnreadableOneRefusesIt)
{
    const CreaturePicture dot = pictureOf({"...", ".#.", "..."});
    setCreaturePicture("cars/beetle.png", &dot);
    fill(1, 1, 238, 40, kStone);
    auto* car = vehicle<MPLeaderCar>(100, 41);
    EXPECT_EQ(members(car), 1);
    EXPECT_EQ(car->originX, 1);
    EXPECT_EQ(car->originY, 1);

    // A picture that cannot be read refuses the vehicle as its limit does.
    auto* files = CCFileUtils::sharedFileUtils();
    const std::string root = files->getResourceRoot();
    files->setResourceRoot(home.home() + "/nothing-here");
    setCreaturePicture("cars/sportCar.png", nullptr);
    auto* sport = vehicle<MPSportCar>(160, 41);
    files->setResourceRoot(root);
    setCreaturePicture("cars/sportCar.png", nullptr);
    EXPECT_TRUE(sport->refused);
    EXPECT_EQ(members(sport), 1);
    step();
    EXPECT_EQ(world->at(160, 41), nullptr);
}

TEST_F(VehiclesTest, ACarFallsBeforeItDrivesAndTurnsAtAWall)
{
    fill(1, 1, 238, 40, kStone);
    auto* car = vehicle<MPLeaderCar>(100, 50);
    // Built, fell one cell and drove one cell in the same update.
    EXPECT_EQ(car->y, 49);
    EXPECT_EQ(car->x, 101);
    car->update();
    EXPECT_EQ(car->y, 48);
    EXPECT_EQ(car->x, 102);
    for (int i = 0; i < 10; ++i)
        car->update();
    EXPECT_EQ(car->y, 41);
    // A wall ahead: the car turns and drives back.
    fill(car->boxRight() + 2, 41, car->boxRight() + 2, 60, kWall);
    const int wallX = car->boxRight() + 2;
    for (int i = 0; i < 3 && car->facingRight; ++i)
        car->update();
    EXPECT_FALSE(car->facingRight);
    EXPECT_EQ(car->boxRight(), wallX - 1);
    const int x = car->x;
    car->update();
    EXPECT_EQ(car->x, x - 1);
}

TEST_F(VehiclesTest, ATurnRefusedByAWallLeavesTheCarWaiting)
{
    // Asymmetric: the mirror of column 0 is column 2, where the wall stands.
    const CreaturePicture pic = pictureOf({"##."});
    setCreaturePicture("cars/beetle.png", &pic);
    fill(1, 1, 238, 40, kStone);
    put(102, 41, kWall);
    auto* car = vehicle<MPLeaderCar>(100, 41);
    for (int i = 0; i < 5; ++i) {
        car->update();
        EXPECT_EQ(car->x, 100);
        EXPECT_TRUE(car->facingRight);
    }
    EXPECT_FALSE(car->turnAround());
    world->removeParticle(102, 41);
    EXPECT_TRUE(car->turnAround());
    EXPECT_EQ(typeAt(102, 41), MPLeaderCar::kTypeId) << "the leader's column mirrored";
    EXPECT_EQ(car->originX, 2);
}

// Resorting puts the lists in the order that inserting every box anew, in
// the lists' present order, gives (a box before the boxes of its own place),
// whatever order they were left in.
TEST_F(VehiclesTest, ResortingOrdersTheListsAsInsertingEachBoxAnew)
{
    const CreaturePicture pic = pictureOf({"#.##", "####", "##.#"});
    setCreaturePicture("cars/beetle.png", &pic);
    fill(1, 1, 238, 40, kStone);
    auto* car = vehicle<MPLeaderCar>(100, 41);
    ASSERT_NE(car->group, nullptr);
    MPObject& group = *car->group;
    using cocos2d::CCArray;
    const auto setOrder = [](CCArray* list, const std::vector<cocos2d::CCObject*>& order) {
        for (cocos2d::CCObject* o : order)
            o->retain();
        list->removeAllObjects();
        for (cocos2d::CCObject* o : order) {
            list->addObject(o);
            o->release();
        }
    };
    const auto contents = [](CCArray* list) { return std::vector<cocos2d::CCObject*>(list->begin(), list->end()); };
    for (int shuffle = 0; shuffle < 3; ++shuffle) {
        std::vector<cocos2d::CCObject*> expectedX, expectedY;
        for (CCArray* list : {group.membersByX, group.membersByY}) {
            // A scrambled order: reversed, then rotated by the round.
            std::vector<cocos2d::CCObject*> order = contents(list);
            std::reverse(order.begin(), order.end());
            std::rotate(order.begin(), order.begin() + shuffle % order.size(), order.end());
            setOrder(list, order);
            CCArray* inserted = CCArray::create();
            for (cocos2d::CCObject* o : order) {
                auto* box = static_cast<MPObject::Box*>(o);
                if (list == group.membersByX)
                    MPObject::insertSortedByX(inserted, box, box->getValue()->x);
                else
                    MPObject::insertSortedByY(inserted, box, box->getValue()->y);
            }
            (list == group.membersByX ? expectedX : expectedY) = contents(inserted);
        }
        resortGroup(group);
        EXPECT_EQ(contents(group.membersByX), expectedX) << "round " << shuffle;
        EXPECT_EQ(contents(group.membersByY), expectedY) << "round " << shuffle;
    }
}

TEST_F(VehiclesTest, DrivingByHandTurnsFirstAndAutoDriveIgnoresIt)
{
    fill(1, 1, 238, 40, kStone);
    auto* car = vehicle<MPLeaderCar>(100, 41);
    const int x = car->x;
    car->moveLeft();
    car->moveRight();
    EXPECT_EQ(car->x, x) << "auto-drive ignores left and right";
    EXPECT_TRUE(car->facingRight);
    car->autoDrive = false;
    car->moveLeft();
    EXPECT_FALSE(car->facingRight) << "facing right, left only turns";
    const int turnedX = car->x;
    car->moveLeft();
    EXPECT_EQ(car->x, turnedX - 1);
    car->moveRight();
    EXPECT_TRUE(car->facingRight);
    const int before = car->x;
    car->moveRight();
    EXPECT_EQ(car->x, before + 1);
    // The turns kept the column list sorted, so a move shifts every cell.
    int last = -1;
    for (unsigned i = 0; i < car->group->membersByX->count(); ++i) {
        const int cx = static_cast<MPObject::Box*>(car->group->membersByX->objectAtIndex(i))->getValue()->x;
        EXPECT_GE(cx, last);
        last = cx;
    }
}

TEST_F(VehiclesTest, SaveRecordsKeepTheirSizesAndUntrustedOriginsAreRefused)
{
    fill(1, 1, 238, 40, kStone);
    auto* car = vehicle<MPLeaderCar>(100, 41);
    car->autoDrive = false;
    car->moveLeft();
    std::vector<uint8_t> blob;
    ByteWriter out(blob);
    car->saveExtra(out);
    ASSERT_EQ(blob.size(), 16u);
    EXPECT_EQ(car->getSaveSize(), 16);
    auto* copy = static_cast<MPLeaderCar*>(put(30, 100, MPLeaderCar::kTypeId));
    ByteReader in(blob.data(), blob.size());
    copy->loadExtra(in);
    EXPECT_FALSE(copy->facingRight);
    EXPECT_FALSE(copy->autoDrive);
    EXPECT_EQ(copy->originX, car->originX);
    EXPECT_EQ(copy->buildState, 2);
    EXPECT_FALSE(copy->refused);

    auto* truck = vehicle<MPLeaderTruck>(160, 41);
    truck->bedTipped = true;
    std::vector<uint8_t> truckBlob;
    ByteWriter truckOut(truckBlob);
    truck->saveExtra(truckOut);
    ASSERT_EQ(truckBlob.size(), 20u);
    world->removeParticle(160, 41);  // its body falls apart
    step();
    auto* truckCopy = static_cast<MPLeaderTruck*>(put(60, 120, MPLeaderTruck::kTypeId));
    ByteReader truckIn(truckBlob.data(), truckBlob.size());
    truckCopy->loadExtra(truckIn);
    EXPECT_TRUE(truckCopy->retipOnLoad);
    EXPECT_FALSE(truckCopy->bedTipped);

    // A loaded origin outside the picture refuses the vehicle.
    std::vector<uint8_t> bad;
    ByteWriter badOut(bad);
    for (int32_t v : {1, 1, 40, -3})
        badOut.i32(v);
    auto* wrong = static_cast<MPSportCar*>(put(200, 120, MPSportCar::kTypeId));
    ByteReader badIn(bad.data(), bad.size());
    wrong->loadExtra(badIn);
    EXPECT_TRUE(wrong->refused);
    wrong->update();
    step();
    EXPECT_EQ(world->at(200, 120), nullptr);
}

TEST_F(VehiclesTest, AMirrorCellOnTheBorderRingRefusesTheTurn)
{
    const CreaturePicture pic = pictureOf({"#.."});
    setCreaturePicture("cars/beetle.png", &pic);
    world->setCell(world->width - 1, 50, nullptr);
    auto* car = static_cast<MPLeaderCar*>(put(world->width - 2, 50, MPLeaderCar::kTypeId));
    car->buildState = -1;
    car->update();  // built; falls
    const int y = car->y;
    // The box reaches past the grid: its mirror cell would be outside.
    EXPECT_FALSE(car->turnAround());
    EXPECT_TRUE(car->facingRight);
    EXPECT_EQ(car->x, world->width - 2);
    EXPECT_EQ(car->y, y);
}

TEST_F(VehiclesTest, ALoadedVehicleRefusedByItsLimitTakesItsBodyAlong)
{
    fill(1, 1, 238, 40, kStone);
    for (int x : {20, 60, 100})
        vehicle<MPLeaderCar>(x, 41)->autoDrive = false;
    step(2);
    NSData* saved = world->save();
    ASSERT_NE(saved, nullptr);
    saved->retain();
    // The three stay alive in the first world: every loaded car is one too
    // many and leaves with all of its cells.
    std::unique_ptr<World> first = std::move(world);
    world = std::make_unique<World>();
    gWorld = world.get();
    world->setBigWorld(true);
    world->placeBorderWalls();
    ASSERT_TRUE(world->load(saved));
    saved->release();
    EXPECT_EQ(CreatureCounts::cars, 6);
    EXPECT_EQ(count(MPBodyCar::kTypeId), 3 * 41);
    step(6);
    EXPECT_EQ(CreatureCounts::cars, 3);
    EXPECT_EQ(count(MPLeaderCar::kTypeId), 0);
    EXPECT_EQ(count(MPBodyCar::kTypeId), 0);
    EXPECT_EQ(count(kStone), (238) * 40);
    world.reset();
    world = std::move(first);
    gWorld = world.get();
}

// --- Lander -------------------------------------------------------------------

TEST_F(VehiclesTest, ALanderMovesOneCellEveryPeriodOfItsSpeed)
{
    const int expected[] = {13, 7, 5, 4, 3, 3, 2, 2, 2, 2, 2, 2};
    for (int v = 1; v <= 12; ++v) {
        SCOPED_TRACE(v);
        auto* lander = static_cast<MPLander*>(put(100, 130, MPLander::kTypeId));
        lander->update();
        ASSERT_TRUE(lander->hasBody());
        lander->velocityX = v;
        lander->stepCounterX = 0;
        std::vector<int> moves;
        int x = lander->x;
        for (int step = 1; step <= 30 && moves.size() < 2; ++step) {
            lander->velocityY = 0;  // hold it in the air
            lander->stepCounterY = 0;
            lander->update();
            if (lander->x != x)
                moves.push_back(step);
            x = lander->x;
        }
        ASSERT_EQ(moves.size(), 2u);
        EXPECT_EQ(moves[0], expected[v - 1]);
        EXPECT_EQ(moves[1] - moves[0], expected[v - 1]);
        world->removeParticle(lander->x, lander->y);
        step();
        world = std::make_unique<World>();
        gWorld = world.get();
        world->setBigWorld(true);
        world->placeBorderWalls();
    }
}

TEST_F(VehiclesTest, ALanderFallsFasterUpToTwelveAndLiftsOffOnABurst)
{
    auto* lander = vehicle<MPLander>(100, 140);
    for (int n = 2; n <= 15; ++n) {
        lander->update();
        EXPECT_EQ(lander->velocityY, -std::min(n, 12));
    }
}

TEST_F(VehiclesTest, LanderBurstSteeringFuelAndOil)
{
    fill(1, 1, 238, 40, kStone);
    auto* lander = vehicle<MPLander>(100, 41);
    EXPECT_EQ(lander->velocityY, 0) << "on the ground";
    // Burst from the space bar lifts it off.
    CCEGLView::sharedOpenGLView()->setKeyDown(kCCKeySpace, true);
    lander->update();
    EXPECT_EQ(lander->velocityY, 2);
    EXPECT_EQ(lander->fuel, 199);
    int steps = 1;
    while (lander->y == 41 && steps < 10) {
        lander->update();
        ++steps;
    }
    EXPECT_EQ(lander->y, 42);
    EXPECT_EQ(steps, 3);
    CCEGLView::sharedOpenGLView()->setKeyDown(kCCKeySpace, false);

    // Fuel 1: the burst works once and steering no longer applies.
    lander->fuel = 1;
    lander->burstHeld = true;
    lander->leftHeld = true;
    lander->velocityX = 0;
    const int vy = lander->velocityY;
    lander->update();
    EXPECT_EQ(lander->fuel, 0);
    EXPECT_EQ(lander->velocityX, 0);
    EXPECT_GE(lander->velocityY, std::min(vy + 2, 12) - 1);
    lander->burstHeld = false;
    lander->leftHeld = false;

    // Left and right together leave the speed as it was.
    lander->fuel = 100;
    lander->velocityX = 3;
    lander->leftHeld = lander->rightHeld = true;
    lander->update();
    EXPECT_EQ(lander->velocityX, 3);
}

TEST_F(VehiclesTest, ALanderOnOilRefuelsUpToTheFullTank)
{
    fill(1, 1, 238, 39, kStone);
    fill(90, 40, 120, 40, TypeId::Oil);
    for (int start : {195, 200}) {
        SCOPED_TRACE(start);
        auto* lander = static_cast<MPLander*>(put(100, 41, MPLander::kTypeId));
        lander->update();
        lander->fuel = start;
        const int oil = count(TypeId::Oil);
        lander->update();
        EXPECT_EQ(lander->fuel, 200);
        EXPECT_EQ(count(TypeId::Oil), oil - (start < 200 ? 1 : 0));
        world->removeParticle(lander->x, lander->y);
        step(2);
        if (!world->at(100, 40))
            put(100, 40, TypeId::Oil);
    }
}

TEST_F(VehiclesTest, ASecondLanderIsRefusedWithTheWarning)
{
    fill(1, 1, 238, 40, kStone);
    vehicle<MPLander>(60, 41);
    auto* second = vehicle<MPLander>(160, 41);
    EXPECT_TRUE(second->refused);
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_EQ(host.warnings[0], "VehicleLimitWarning");
    step();
    EXPECT_EQ(world->at(160, 41), nullptr);
    EXPECT_EQ(CreatureCounts::landers, 1);
}

// --- Tank and shells ----------------------------------------------------------

TEST_F(VehiclesTest, ATankFiresOnItsClockInAutoDrive)
{
    for (int k = 0; k < 4; ++k) {
        world = std::make_unique<World>();
        gWorld = world.get();
        world->setBigWorld(true);
        world->placeBorderWalls();
        fill(1, 1, 238, 40, kStone);
        auto* tank = static_cast<MPLeaderTank*>(put(100, 41, MPLeaderTank::kTypeId));
        const int first = tank->shotTimer;
        EXPECT_GE(first, 100);
        EXPECT_LE(first, 149);
        std::vector<int> shots;
        int pause = -1;
        for (int n = 1; n <= 600 && shots.size() < 3; ++n) {
            const int before = tank->shotTimer;
            tank->update();
            if (tank->shotTimer > before) {
                shots.push_back(n);
                if (pause < 0)
                    pause = tank->driveTimer;
                // Keep the road clear for the next shot.
                tank->autoDrive = true;
            }
            if (tank->x > 180 || tank->x < 40)
                tank->turnAround();
        }
        ASSERT_GE(shots.size(), 2u);
        EXPECT_EQ(shots[0], first + 1) << "the first update builds the body";
        EXPECT_GE(shots[1] - shots[0], 150);
        EXPECT_LE(shots[1] - shots[0], 248);
        EXPECT_GE(pause, 50);
        EXPECT_LE(pause, 99);
    }
}

TEST_F(VehiclesTest, WithAutoDriveOffATankStandsButTheFireButtonFires)
{
    fill(1, 1, 238, 40, kStone);
    auto* tank = vehicle<MPLeaderTank>(100, 41);
    tank->autoDrive = false;
    const int x = tank->x;
    for (int n = 0; n < 300; ++n)
        tank->update();
    EXPECT_EQ(tank->x, x);
    EXPECT_LT(tank->shotTimer, 0);
    EXPECT_EQ(count(TankBullet::kTypeId), 0);
    tank->fire();
    EXPECT_EQ(count(TankBullet::kTypeId), 1);
    EXPECT_EQ(tank->x, x - 1) << "the recoil";
    const int muzzle = tank->boxRight() + 2;  // before the recoil
    EXPECT_EQ(typeAt(muzzle, tank->boxBottom() + 5), TankBullet::kTypeId);
    EXPECT_EQ(count(TypeId::Explosion), 4);
    // Against a wall behind it the tank fires without moving back.
    fill(tank->boxLeft() - 1, 41, tank->boxLeft() - 1, 50, kWall);
    step(40);
    const int still = tank->x;
    tank->fire();
    EXPECT_EQ(tank->x, still);
}

TEST_F(VehiclesTest, AShellWaitsBehindFireAndExplodesOnAnythingElse)
{
    struct Case {
        const char* what;
        uint32_t ahead;  // 0: empty
        int direction;   // of a shell ahead
        bool waits;
        bool explodes;
    };
    const Case cases[] = {
        {"empty", 0, 0, false, false},
        {"fire", TypeId::Fire, 0, true, false},
        {"smoke", TypeId::Smoke, 0, true, false},
        {"explosion", TypeId::Explosion, 0, true, false},
        {"a shell flying the same way", TankBullet::kTypeId, 1, true, false},
        {"a shell flying at it", TankBullet::kTypeId, -1, false, true},
        {"stone", kStone, 0, false, true},
        {"a vehicle cell", MPBodyCar::kTypeId, 0, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* shell = static_cast<TankBullet*>(put(100, 100, TankBullet::kTypeId));
        if (c.ahead) {
            Particle* p = put(101, 100, c.ahead);
            if (auto* other = dynamic_cast<TankBullet*>(p))
                other->direction = c.direction;
        }
        const size_t removals = world->pendingRemovalCount();
        shell->update();
        EXPECT_EQ(world->at(100, 100) == shell, c.waits || c.explodes);
        EXPECT_EQ(world->pendingRemovalCount() > removals, c.explodes);
        world = std::make_unique<World>();
        gWorld = world.get();
        world->setBigWorld(true);
        world->placeBorderWalls();
    }
}

TEST_F(VehiclesTest, AShellAtTheGridEdgeExplodesAndOneMeetingItsTankToo)
{
    // The border wall gone: outside the grid still ends the flight.
    world->setCell(world->width - 1, 100, nullptr);
    auto* shell = static_cast<TankBullet*>(put(world->width - 1, 100, TankBullet::kTypeId));
    const size_t removals = world->pendingRemovalCount();
    shell->update();
    EXPECT_GT(world->pendingRemovalCount(), removals);
    step(3);
    EXPECT_EQ(count(TankBullet::kTypeId), 0);

    fill(1, 1, 238, 40, kStone);
    auto* tank = vehicle<MPLeaderTank>(100, 41);
    tank->autoDrive = false;
    // A shell flying back at the tank (after a turn) explodes on its body.
    auto* back = static_cast<TankBullet*>(put(tank->boxRight() + 1, tank->boxBottom() + 5, TankBullet::kTypeId));
    back->direction = -1;
    const size_t before = world->pendingRemovalCount();
    back->update();
    EXPECT_GT(world->pendingRemovalCount(), before);
    EXPECT_TRUE(colorsEqual(ccColor4B{1, 2, 3, 4}, ccColor4B{1, 2, 3, 4}));
    EXPECT_FALSE(colorsEqual(ccColor4B{1, 2, 3, 4}, ccColor4B{1, 2, 3, 5}));
}

// --- Truck ---------------------------------------------------------------------

class TruckTest : public VehiclesTest {
protected:
    MPLeaderTruck* truck(int x)
    {
        fill(1, 1, 238, 40, kStone);
        auto* t = vehicle<MPLeaderTruck>(x, 41);
        EXPECT_TRUE(t->hasBody());
        return t;
    }
    // Fills the first n cargo cells with sand.
    void load(MPLeaderTruck* t, int n)
    {
        for (const auto& b : t->bedPoints)
            if (n-- > 0)
                put(t->boxLeft() + b.x, t->boxBottom() + b.y, kSand);
    }
    std::vector<std::pair<int, int>> bedCells(MPLeaderTruck* t)
    {
        std::vector<std::pair<int, int>> cells;
        for (const auto& p : t->tipPoints)
            cells.emplace_back(t->boxLeft() + p.x, t->boxBottom() + p.y);
        return cells;
    }
};

TEST_F(TruckTest, ThirtyCarriedRideAlongAndThirtyOneAreDumped)
{
    for (int load30 : {30, 31}) {
        SCOPED_TRACE(load30);
        world = std::make_unique<World>();
        gWorld = world.get();
        world->setBigWorld(true);
        world->placeBorderWalls();
        MPLeaderTruck* t = truck(100);
        load(t, load30);
        const int x = t->x;
        t->update();
        EXPECT_EQ(t->x, x + 1);
        EXPECT_EQ(t->lastCarried, load30);
        EXPECT_EQ(count(kSand), load30);
        EXPECT_EQ(t->bedTipped, load30 > 30);
        EXPECT_EQ(t->bedTimer, load30 > 30 ? 30 : -1);
        if (load30 > 30) {
            // The cargo is out of the bed; the bed comes down in the 31st step.
            for (const auto& b : t->bedPoints)
                EXPECT_NE(typeAt(t->boxLeft() + b.x, t->boxBottom() + b.y), kSand);
            for (int n = 0; n < 30; ++n)
                t->update();
            EXPECT_TRUE(t->bedTipped);
            t->update();
            EXPECT_FALSE(t->bedTipped);
        }
    }
}

TEST_F(TruckTest, UnloadTwiceTipsAndLowersTheBed)
{
    MPLeaderTruck* t = truck(100);
    t->autoDrive = false;
    const auto cells = bedCells(t);
    std::vector<Particle*> parts;
    for (auto [cx, cy] : cells)
        parts.push_back(world->at(cx, cy));
    EXPECT_TRUE(t->tipBed());
    EXPECT_FALSE(t->tipBed());
    for (size_t i = 0; i < cells.size(); ++i)
        EXPECT_NE(world->at(cells[i].first, cells[i].second), parts[i]);
    EXPECT_TRUE(t->lowerBed());
    EXPECT_FALSE(t->lowerBed());
    for (size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(world->at(cells[i].first, cells[i].second), parts[i]) << i;
    // An obstacle where the bed turns refuses the tip; nothing moves.
    put(t->boxLeft(), t->boxBottom() + 10, kWall);
    EXPECT_FALSE(t->tipBed());
    for (size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(world->at(cells[i].first, cells[i].second), parts[i]);
}

TEST_F(TruckTest, ATurnedTruckMirrorsItsPointsAndCargo)
{
    MPLeaderTruck* t = truck(100);
    t->autoDrive = false;
    load(t, 4);
    const auto bed = t->bedPoints;
    t->moveLeft();  // grabs the cargo, turns, lets go
    ASSERT_FALSE(t->facingRight);
    for (size_t i = 0; i < bed.size(); ++i)
        EXPECT_EQ(t->bedPoints[i].x, 15 - bed[i].x);
    int sand = 0;
    for (const auto& b : t->bedPoints)
        sand += typeAt(t->boxLeft() + b.x, t->boxBottom() + b.y) == kSand;
    EXPECT_EQ(sand, 4);
    // Facing left the bed tips the other way: up at the truck's right.
    EXPECT_TRUE(t->tipBed());
    EXPECT_NE(typeAt(t->boxRight(), t->boxBottom() + 12), 0);
    EXPECT_TRUE(t->lowerBed());
}

TEST_F(TruckTest, ABedSavedUpIsTippedAgainAfterLoading)
{
    MPLeaderTruck* t = truck(100);
    t->autoDrive = false;
    ASSERT_TRUE(t->tipBed());
    const auto cells = bedCells(t);
    NSData* saved = world->save();
    ASSERT_NE(saved, nullptr);
    saved->retain();
    world = std::make_unique<World>();
    gWorld = world.get();
    world->setBigWorld(true);
    world->placeBorderWalls();
    ASSERT_TRUE(world->load(saved));
    saved->release();
    step(6);
    MPLeaderTruck* loaded = nullptr;
    for (Particle* p : world->pool())
        if (p && p->getType() == MPLeaderTruck::kTypeId)
            loaded = static_cast<MPLeaderTruck*>(p);
    ASSERT_NE(loaded, nullptr);
    ASSERT_TRUE(loaded->hasBody());
    EXPECT_TRUE(loaded->bedTipped);
    EXPECT_FALSE(loaded->retipOnLoad);
    EXPECT_EQ(members(loaded), 58);
    // The button brings the bed down where it belongs.
    EXPECT_TRUE(loaded->lowerBed());
    for (auto [cx, cy] : cells)
        EXPECT_EQ(typeAt(cx, cy), MPBodyCar::kTypeId) << cx << "," << cy;
}

TEST_F(TruckTest, TippingNearTheEdgesSkipsCellsOutsideTheGrid)
{
    for (bool top : {false, true}) {
        SCOPED_TRACE(top ? "top" : "left");
        world = std::make_unique<World>();
        gWorld = world.get();
        world->setBigWorld(true);
        world->placeBorderWalls();
        // Clear the border ring where the bed would turn, so that only the
        // grid's own bounds are in the way.
        for (int x = 0; x < world->width; ++x)
            world->setCell(x, world->height - 1, nullptr);
        for (int y = 0; y < world->height; ++y)
            world->setCell(0, y, nullptr);
        MPLeaderTruck* t = nullptr;
        if (top) {
            fill(1, 1, 238, world->height - 10, kStone);
            t = vehicle<MPLeaderTruck>(100, world->height - 9);
        } else {
            t = truck(4);
        }
        ASSERT_TRUE(t->hasBody());
        t->tipBed();  // whatever it decides, nothing outside is touched
        t->lowerBed();
        EXPECT_FALSE(t->bedTipped);
    }
}

}  // namespace
