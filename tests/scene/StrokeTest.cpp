#include "support/GameSceneFixture.h"
#include "base/NSData.h"
#include "gui/GUIButton.h"
#include "gui/GUIPopup.h"
#include "gui/ScreenUtils.h"
#include "hud/GUITopBar.h"
#include "support/LogCapture.h"
#include "world/ParticleCreator.h"
#include "scene/Camera.h"
#include "world/Tool.h"
#include "world/Tools.h"

USING_NS_CC;

namespace gametest {
namespace {

// An editable element that counts its long presses.
class Editable : public Particle {
public:
    static constexpr uint32_t kType = hashString("Bulb");
    Editable() { editable = true; }
    uint32_t getType() const override { return kType; }
    int32_t getDensity() const override { return 0; }
    float getBlastFactor() const override { return 0; }
    CCArray* getColors() const override
    {
        static CCArray* rows = makeColorRowList({44, 45});
        return rows;
    }
    void update() override { }
    void onTouch() override { ++touched; }
    static inline int touched = 0;
};

class Strokes : public GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        ParticleCreator::registerClass<Editable>("Bulb");
        Editable::touched = 0;
        enterScene();
    }
    void TearDown() override
    {
        world->reset();
        ParticleCreator::clearRegistrations();
        registerAllElements();
        GameScene::TearDown();
    }
    // Magnifies so that one cell is large, puts an editable particle in the
    // cell at the middle of the screen and returns the centre of that cell.
    CCPoint magnifyOverEditable()
    {
        layer->zoomToPoint(ccp(400, 300));
        const CCPoint cell = layer->worldCellAt(ccp(400, 300));
        cx = static_cast<int>(cell.x);
        cy = static_cast<int>(cell.y);
        world->addParticle(cx, cy, Editable::kType, false);
        return layer->convertToWorldSpace(ccp(cx * 9 + 4.5f, cy * 9 + 4.5f));
    }
    int cx = 0;
    int cy = 0;
};

TEST_F(Strokes, APressTakesTheUndoSnapshotAfterTwentyMilliseconds)
{
    ASSERT_EQ(world->undoSnapshot, nullptr);
    press(400, 300);
    EXPECT_FALSE(layer->getTouching());
    stepFrames(2, 0.015f);
    EXPECT_TRUE(layer->getTouching());
    EXPECT_NE(world->undoSnapshot, nullptr);
    release(400, 300);
    EXPECT_FALSE(layer->getTouching());
}

TEST_F(Strokes, ASixthRobotIsRefusedOnceWithoutASnapshot)
{
    GUITopBar* bar = GUITopBar::getInstance();
    bar->buildFreeModeBar();
    CreatureCounts::robots = 5;
    choose("RobotLeader");
    press(400, 300);
    stepFrames(3, 0.015f);
    EXPECT_FALSE(layer->getTouching());
    EXPECT_EQ(world->undoSnapshot, nullptr);
    EXPECT_TRUE(bar->isNotificationShowing()) << "the warning is on the bar";
    EXPECT_FALSE(bar->hasNotification()) << "one warning per stroke";
    release(400, 300);
}

TEST_F(Strokes, CreatureLimitsCountTheRightKinds)
{
    struct Case {
        const char* element;
        int32_t* counter;
        int value;
        bool refused;
    };
    const Case cases[] = {
        {"MPLeaderTruck", &CreatureCounts::trucks, 3, true},  {"MPLeaderTank", &CreatureCounts::tanks, 1, true},
        {"MPSportCar", &CreatureCounts::sportCars, 2, false}, {"LionLeader", &CreatureCounts::lions, 4, true},
        {"Flamingo", &CreatureCounts::flamingos, 19, false},
    };
    for (const Case& c : cases) {
        world->reset();
        CC_SAFE_RELEASE(world->undoSnapshot);
        world->undoSnapshot = nullptr;
        *c.counter = c.value;
        choose(c.element);
        press(400, 300);
        stepFrames(3, 0.015f);
        EXPECT_EQ(world->undoSnapshot == nullptr, c.refused) << c.element;
        release(400, 300);
        *c.counter = 0;
    }
    // Trucks, tanks and sport cars are not plain cars.
    CreatureCounts::cars = 5;
    CreatureCounts::trucks = 1;
    CreatureCounts::tanks = 1;
    CreatureCounts::sportCars = 1;
    CC_SAFE_RELEASE(world->undoSnapshot);
    world->undoSnapshot = nullptr;
    choose("MPLeaderCar");
    press(400, 300);
    stepFrames(3, 0.015f);
    EXPECT_NE(world->undoSnapshot, nullptr) << "two plain cars";
    release(400, 300);
}

// A tap places one vehicle at the tapped cell whatever the brush size, and
// the limits refuse the next one with their warning as at size 1.
TEST_F(Strokes, ATapPlacesOneVehicleAtAnyBrushSizeUpToItsLimit)
{
    const std::pair<const char*, int> limits[] = {
        {"MPLeaderCar", 3}, {"MPLeaderTank", 1}, {"MPLeaderTruck", 3}, {"MPLander", 1}};
    GUITopBar* bar = GUITopBar::getInstance();
    bar->buildFreeModeBar();
    for (const auto& [element, limit] : limits)
        for (int size : {1, 9}) {
            SCOPED_TRACE(std::string(element) + " at brush size " + std::to_string(size));
            world->reset();
            bar->dropNotifications();
            for (int x = 1; x < world->width - 1; ++x)
                for (int y = 1; y <= 20; ++y)
                    world->addParticle(x, y, hashString("Stone"), false);
            layer->getGUI()->setBrushSize(size);
            choose(element);
            for (int n = 1; n <= limit + 1; ++n) {
                const CCPoint cell = layer->worldCellAt(ccp(140.0f * n, 200));
                press(140.0f * n, 200);
                release(140.0f * n, 200);
                const bool refused = n > limit;
                EXPECT_EQ(typeAt(static_cast<int>(cell.x), static_cast<int>(cell.y)) == hashString(element), !refused)
                    << "tap " << n << " at its cell";
                EXPECT_EQ(countOf(element), std::min(n, limit)) << "tap " << n;
                stepFrames(10);
                EXPECT_EQ(countOf(element), std::min(n, limit)) << "tap " << n << ", built";
                EXPECT_EQ(bar->isNotificationShowing(), refused) << "tap " << n << ": the warning";
            }
        }
}

TEST_F(Strokes, LongPressOpensTheEditorAndATapDoesNothing)
{
    const CCPoint at = magnifyOverEditable();

    press(at.x, at.y);
    stepSeconds(0.5f, 1.0f / 30);
    release(at.x, at.y);
    stepSeconds(0.5f, 1.0f / 30);
    EXPECT_EQ(Editable::touched, 0) << "a short tap";

    press(at.x, at.y);
    stepSeconds(0.9f, 1.0f / 30);
    EXPECT_EQ(Editable::touched, 1);
    EXPECT_FALSE(layer->getTouching()) << "a long press draws nothing";
    release(at.x, at.y);
}

TEST_F(Strokes, AParticleRemovedDuringTheLongPressIsNotTouched)
{
    const CCPoint at = magnifyOverEditable();
    press(at.x, at.y);
    ASSERT_NE(layer->getTouchedParticle(), nullptr);
    world->removeParticle(cx, cy);
    stepSeconds(0.9f, 1.0f / 30);
    EXPECT_EQ(Editable::touched, 0);
    release(at.x, at.y);
}

TEST_F(Strokes, MovingFarFromAnEditableParticleDraws)
{
    const CCPoint at = magnifyOverEditable();
    press(at.x, at.y);
    // Far (scale 57/9: 57 screen points per cell): 9 cells away.
    drag(at.x + 57 * 9, at.y);
    EXPECT_TRUE(layer->getTouching());
    EXPECT_EQ(layer->getTouchedParticle(), nullptr);
    release(at.x + 57 * 9, at.y);
    stepSeconds(1.0f, 1.0f / 30);
    EXPECT_EQ(Editable::touched, 0);
}

TEST_F(Strokes, TheRightButtonPansOnlyWhileMagnified)
{
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    const CCPoint start = layer->getPosition();
    view->simulateTouchBegan(2, ccp(400, 300), true);
    view->simulateTouchMoved(2, ccp(300, 250), true);
    view->simulateTouchEnded(2, ccp(300, 250), true);
    EXPECT_EQ(layer->getPosition().x, start.x);
    EXPECT_EQ(layer->getPosition().y, start.y);

    layer->zoomToPoint(ccp(400, 300));
    const CCPoint zoomed = layer->getPosition();
    view->simulateTouchBegan(2, ccp(400, 300), true);
    view->simulateTouchMoved(2, ccp(300, 250), true);
    view->simulateTouchEnded(2, ccp(300, 250), true);
    // The layer follows the pointer.
    EXPECT_NEAR(layer->getPosition().x, zoomed.x - 100, 0.01);
    EXPECT_NEAR(layer->getPosition().y, zoomed.y - 50, 0.01);
    EXPECT_FALSE(layer->getCamera()->isPanning());
    EXPECT_EQ(world->particleCount(), 0) << "a pan draws nothing";
}

TEST_F(Strokes, NoToolMeansNoStroke)
{
    delete world->currentTool;
    world->currentTool = nullptr;
    press(400, 300);
    stepFrames(3, 0.015f);
    drag(450, 300);
    release(450, 300);
    EXPECT_EQ(world->particleCount(), 0);
    EXPECT_FALSE(layer->getTouching());
}

TEST_F(Strokes, AReleaseInTheLeftMarginFinishesNothing)
{
    layer->getGUI()->selectTool("Fill");
    press(400, 300);
    stepFrames(3, 0.015f);
    release(0, 300);
    EXPECT_EQ(world->particleCount(), 0);
}

TEST_F(Strokes, AReleaseBelowTheSmallWorldChangesNothing)
{
    world->setBigWorld(false);
    world->reset();
    layer->getGUI()->selectTool("Fill");
    // Row 80 of a small world: above it on screen.
    const CCPoint row80 = layer->convertToWorldSpace(ccp(60 * 9, 80 * 9 + 4));
    press(row80.x, row80.y);
    stepFrames(3, 0.015f);
    release(row80.x, row80.y);
    EXPECT_EQ(world->particleCount(), 0);
}

// A touchpad tap reaches the game as a press and a release in one frame,
// before the stroke's start and before any tick: it still paints, once.
TEST_F(Strokes, AClickOfAnyLengthPaintsTheCellUnderIt)
{
    struct Case {
        const char* tool;
        const char* element;
        int frames;   // of 1/60 s between the press and the release
        int painted;  // cells of the element after it; -1: many
    };
    const Case cases[] = {
        {"Draw", "Wall", 0, 1},  {"Draw", "Wall", 1, 1},  {"Draw", "Wall", 2, 1},
        {"Draw", "Wall", 6, 1},  {"Draw", "Seed", 0, 1},  {"Fill", "Wall", 0, -1},
        {"Fill", "Wall", 1, -1}, {"Fill", "Wall", 6, -1}, {"Line", "Wall", 0, 1},
    };
    const CCPoint cell = layer->worldCellAt(ccp(400, 300));
    const int x = static_cast<int>(cell.x);
    const int y = static_cast<int>(cell.y);
    for (const Case& c : cases) {
        world->reset();
        layer->getGUI()->selectTool(c.tool);
        choose(c.element);
        press(400, 300);
        stepFrames(c.frames);
        release(400, 300);
        const std::string what = std::string(c.tool) + " " + c.element + ", " + std::to_string(c.frames) + " frames";
        EXPECT_EQ(typeAt(x, y), hashString(c.element)) << what;
        if (c.painted > 0)
            EXPECT_EQ(countOf(c.element), c.painted) << what;
        else
            EXPECT_GT(countOf(c.element), 1000) << what;
        EXPECT_NE(world->undoSnapshot, nullptr) << what << ": the stroke can be undone";
        EXPECT_FALSE(layer->getTouching()) << what;
        CC_SAFE_RELEASE(world->undoSnapshot);
        world->undoSnapshot = nullptr;
    }
    // A refused creature still paints nothing on a short click.
    world->reset();
    layer->getGUI()->selectTool("Draw");
    CreatureCounts::robots = 5;
    choose("RobotLeader");
    press(400, 300);
    release(400, 300);
    EXPECT_EQ(world->particleCount(), 0);
    EXPECT_EQ(world->undoSnapshot, nullptr);
}

TEST_F(Strokes, ADragPaintsSoilUnderThePointer)
{
    press(400, 300);
    stepFrames(2, 0.015f);
    drag(500, 300);
    release(500, 300);
    for (int x = 120; x <= 150; ++x)
        EXPECT_EQ(typeAt(x, 90), hashString("Soil")) << x;
}

// What took the press keeps the touch: a popup whose OK takes it away before
// the release, or a popup that comes up over a held stroke, leaves no paint.
TEST_F(Strokes, APressTheWorldDidNotTakeNeverPaints)
{
    struct Case {
        const char* what;
        bool strokeFirst;     // the popup comes up over a stroke on the world
        int framesToRelease;  // after the press
    };
    const Case cases[] = {
        {"OK released in its own frame", false, 0},
        {"OK released after its popup went", false, 40},
        {"a popup over a held stroke", true, 10},
    };
    layer->getGUI()->selectTool("Draw");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        world->reset();
        GUIPopup::resetInstanceForTests();
        choose("Sand");
        if (c.strokeFirst) {
            press(400, 300);
            stepFrames(3);
        }
        ScreenUtils::showPopup(CCString::create("?"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Confirm);
        stepSeconds(GUIWindow::kOpeningSeconds);
        const int before = countOf("Sand");
        GUIButton* ok = GUIPopup::getInstance()->getOkButton();
        const CCRect box = ok->boundingBox();
        const CCPoint at = ok->getParent()->convertToWorldSpace(ccp(box.getMidX(), box.getMidY()));
        if (!c.strokeFirst)
            press(at.x, at.y);
        stepFrames(c.framesToRelease);
        release(at.x, at.y);
        if (c.strokeFirst)
            GUIPopup::getInstance()->onOkPressed();
        stepSeconds(1.0f);
        EXPECT_FALSE(GUIPopup::getInstance()->isShown());
        EXPECT_EQ(countOf("Sand"), before);
        EXPECT_FALSE(layer->getTouching());
    }
    // A tap on the world itself still paints.
    world->reset();
    press(400, 300);
    release(400, 300);
    EXPECT_EQ(countOf("Sand"), 1);
}

}  // namespace
}  // namespace gametest
