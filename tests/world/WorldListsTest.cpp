#include "WorldFixture.h"

#include "cocos2d_extensions/CCValue.h"
#include "elements/creatures/CreatureCounts.h"
#include "elements/creatures/MPObject.h"
#include "elements/materials/Clouds.h"
#include "hud/GUI.h"
#include "world/ByteStream.h"
#include "world/Tool.h"

using namespace worldtest;
USING_NS_CC;

namespace {

class RecordingTool : public Tool {
public:
    void apply(CCArray*, CCArray*) override { ++applied; }
    int applied = 0;
};

// A cloud group that counts its steps and can take itself out of the world.
class CountingCloud : public CloudBlob {
public:
    explicit CountingCloud(bool leaves) : CloudBlob(gWorld), m_leaves(leaves) { }
    ~CountingCloud() override { ++destroyed; }
    void update() override
    {
        ++steps;
        if (m_leaves)
            gWorld->removeCloud(this);
    }
    static inline int steps = 0;
    static inline int destroyed = 0;
    bool m_leaves;
};

}  // namespace

class WorldToolTest : public WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        tool = new RecordingTool();
        delete world->currentTool;
        world->currentTool = tool;
        gui = new GUI();
        previousGui = GameLayer::getInstance()->getGUI();
        previousTouches = GameLayer::getInstance()->getTouches();
        GameLayer::getInstance()->setGUI(gui);
        touches = CCArray::create();
        touches->retain();
        touches->addObject(CCInteger::create(0));
        GameLayer::getInstance()->setTouches(touches);
        GameLayer::getInstance()->setTouching(true);
    }
    void TearDown() override
    {
        GameLayer::getInstance()->setGUI(previousGui);
        GameLayer::getInstance()->setTouches(previousTouches);
        gui->setCurrentElement(nullptr);
        gui->release();
        touches->release();
        CreatureCounts::tanks = CreatureCounts::cars = 0;
        WorldTest::TearDown();
    }
    void choose(const char* element) { gui->setCurrentElement(CCString::create(element)); }

    RecordingTool* tool = nullptr;
    GUI* gui = nullptr;
    GUI* previousGui = nullptr;
    CCArray* previousTouches = nullptr;
    CCArray* touches = nullptr;
};

TEST_F(WorldToolTest, TheToolIsAppliedOnlyWhileTouching)
{
    choose("Sand");
    world->applyCurrentTool();
    EXPECT_EQ(tool->applied, 1);
    GameLayer::getInstance()->setTouching(false);
    world->applyCurrentTool();
    EXPECT_EQ(tool->applied, 1);
    GameLayer::getInstance()->setTouching(true);
    touches->removeAllObjects();
    world->applyCurrentTool();
    EXPECT_EQ(tool->applied, 1);
}

TEST_F(WorldToolTest, CreatureLimitsHoldBackTheStroke)
{
    choose("MPLeaderTank");
    CreatureCounts::tanks = 1;
    CreatureCounts::cars = 1;
    world->applyCurrentTool();
    EXPECT_EQ(tool->applied, 0);

    // Cars count every car kind; tanks, trucks and sport cars are taken out.
    choose("MPLeaderCar");
    CreatureCounts::cars = 3;  // one tank and two plain cars
    world->applyCurrentTool();
    EXPECT_EQ(tool->applied, 1);
    CreatureCounts::cars = 4;  // one tank and three plain cars
    world->applyCurrentTool();
    EXPECT_EQ(tool->applied, 1);
}

TEST_F(WorldTest, BrokenObjectsDissolveAtTheStartOfTheNextStep)
{
    Particle* a = add(10, 10, kSand);
    Particle* b = add(11, 10, kSand);
    MPObject* object = new MPObject();  // joins the world's list
    for (Particle* p : {a, b})
        object->memberLists[0]->addObject(cocos2d_extensions::CCValue<Particle*>::create(p));
    world->step();
    EXPECT_EQ(world->particleCount(), 2);
    object->broken = true;
    world->step();
    // Dissolved before the queues were applied: its cells are gone this step.
    EXPECT_EQ(world->objects->count(), 0u);
    EXPECT_EQ(world->particleCount(), 0);
}

TEST_F(WorldTest, CloudsStepInOrderAndLeaveTheListCleanly)
{
    CountingCloud::destroyed = 0;
    for (int i = 0; i < 3; ++i)
        new CountingCloud(i == 1);  // appends itself to the world's list
    CountingCloud::steps = 0;
    // The middle group leaves during its own step; the last one still steps.
    world->step();
    EXPECT_EQ(CountingCloud::steps, 3);
    EXPECT_EQ(world->clouds->count(), 2u);
    EXPECT_EQ(CountingCloud::destroyed, 1);
    world->clearClouds();
    EXPECT_EQ(world->clouds->count(), 0u);
    EXPECT_EQ(CountingCloud::destroyed, 3);
}

TEST(ByteStream, ReadsBackWhatWasWrittenAndNeverPastTheEnd)
{
    std::vector<uint8_t> bytes;
    ByteWriter out(bytes);
    out.i32(-2);
    out.u16(0xBEEF);
    out.f32(1.5f);
    out.u8(7);
    EXPECT_EQ(bytes.size(), 11u);
    EXPECT_EQ(bytes[0], 0xFE);  // little-endian
    EXPECT_EQ(bytes[4], 0xEF);

    ByteReader in(bytes.data(), bytes.size());
    int32_t i = 0;
    uint16_t s = 0;
    float f = 0;
    uint32_t tooMuch = 123;
    EXPECT_TRUE(in.i32(i));
    EXPECT_TRUE(in.u16(s));
    EXPECT_TRUE(in.f32(f));
    EXPECT_EQ(i, -2);
    EXPECT_EQ(s, 0xBEEF);
    EXPECT_EQ(f, 1.5f);
    EXPECT_FALSE(in.u32(tooMuch));
    EXPECT_EQ(tooMuch, 123u);
    // Once failed it stays failed, even for a read that would fit.
    uint8_t last = 0;
    EXPECT_FALSE(in.u8(last));
    EXPECT_FALSE(in.ok());
    ByteReader empty(nullptr, 50);
    EXPECT_FALSE(empty.skip(1));
}

TEST_F(WorldToolTest, PaintingRefusesTheTwentyFirstFlamingo)
{
    choose("Flamingo");
    CreatureCounts::flamingos = 20;
    world->applyCurrentTool();
    EXPECT_EQ(tool->applied, 0);
    CreatureCounts::flamingos = 19;
    world->applyCurrentTool();
    EXPECT_EQ(tool->applied, 1);
    CreatureCounts::flamingos = 0;
}
