// The vehicles' control panels: opened by a vehicle's touch, driving it,
// closed with it.
#include "support/GameSceneFixture.h"
#include "elements/creatures/Lander.h"
#include "elements/creatures/Tank.h"
#include "elements/creatures/Truck.h"
#include "elements/creatures/Vehicles.h"
#include "gui/BackButton.h"
#include "gui/GUIButton.h"
#include "gui/GUIPopup.h"
#include "hud/GUITopBar.h"
#include "hud/VehicleEditors.h"
#include "scene/ZoomOutView.h"
#include "support/Readability.h"

USING_NS_CC;

namespace gametest {
namespace {

// The nodes as they are drawn, hidden ones and their children left out: a
// node's children of negative z-order before it, the others after it.
void drawOrder(CCNode* node, std::vector<CCNode*>& out)
{
    if (!node->isVisible())
        return;
    CCArray* children = node->getChildren();
    const unsigned count = children ? children->count() : 0;
    unsigned i = 0;
    for (; i < count && static_cast<CCNode*>(children->objectAtIndex(i))->getZOrder() < 0; ++i)
        drawOrder(static_cast<CCNode*>(children->objectAtIndex(i)), out);
    out.push_back(node);
    for (; i < count; ++i)
        drawOrder(static_cast<CCNode*>(children->objectAtIndex(i)), out);
}

// Only sprites and coloured layers put pixels on the screen.
bool paints(CCNode* node)
{
    if (auto* layer = dynamic_cast<CCLayerColor*>(node))
        return layer->getOpacity() > 0;
    auto* sprite = dynamic_cast<CCSprite*>(node);
    return sprite && sprite->getTexture() && sprite->getOpacity() > 0;
}

bool isWithin(CCNode* node, CCNode* ancestor)
{
    for (; node; node = node->getParent())
        if (node == ancestor)
            return true;
    return false;
}

void collectButtons(CCNode* node, std::vector<GUIButton*>& out)
{
    if (auto* button = dynamic_cast<GUIButton*>(node))
        out.push_back(button);
    if (CCArray* children = node->getChildren())
        for (CCObject* child : *children)
            collectButtons(static_cast<CCNode*>(child), out);
}

class VehiclePanelsTest : public GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene();
        for (int x = 1; x < world->width - 1; ++x)
            for (int y = 1; y <= 40; ++y)
                world->addParticle(x, y, hashString("Stone"), false);
    }
    void TearDown() override
    {
        while (!VehicleEditor::openPanels().empty())
            VehicleEditor::openPanels().back()->close();
        GameScene::TearDown();
    }
    template <class T> T* vehicle(int x)
    {
        auto* v = static_cast<T*>(world->addParticle(x, 41, T::kTypeId, false));
        EXPECT_NE(v, nullptr);
        v->update();
        return v;
    }
    // Touches the vehicle (a body cell forwards to its leader).
    VehicleEditor* openPanel(VehicleLeader* v)
    {
        Particle* cell = world->at(v->x + 1, v->y + 1);
        (cell ? cell : v)->onTouch();
        return dynamic_cast<VehicleEditor*>(v->editor);
    }
};

TEST_F(VehiclePanelsTest, RowButtonsSitBetweenFiveUnitMarginsWithEqualGaps)
{
    EXPECT_FLOAT_EQ(VehicleEditor::rowGap(100, 20, 3), 15.0f);
    EXPECT_EQ(VehicleEditor::rowPositions(100, 20, 3), (std::vector<float>{5, 40, 75}));
    // Four buttons: the last still ends 5 units from the right edge.
    EXPECT_NEAR(VehicleEditor::rowPositions(100, 20, 4).back(), 75.0f, 1e-4);
    EXPECT_NEAR(VehicleEditor::rowGap(100, 20, 4), 10.0f / 3.0f, 1e-4);

    auto* car = vehicle<MPLeaderCar>(100);
    VehicleEditor* panel = openPanel(car);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getParent(), layer->getParent());
    EXPECT_EQ(panel->getZOrder(), VehicleEditor::kZOrder);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), nullptr) << "the world steps on";
    const char* names[] = {"left", "ai", "right"};
    const float left[] = {5, 40, 75};
    for (int i = 0; i < 3; ++i) {
        GUIButton* b = panel->button(names[i]);
        ASSERT_NE(b, nullptr) << names[i];
        EXPECT_FLOAT_EQ(b->getPosition().x, left[i]);
        EXPECT_FLOAT_EQ(b->getPosition().y, 5.0f);
    }
    // A second touch opens no second panel.
    openPanel(car);
    EXPECT_EQ(VehicleEditor::openPanels().size(), 1u);
}

TEST_F(VehiclePanelsTest, AiTogglesAutoDriveAndThenLeftAndRightDrive)
{
    auto* car = vehicle<MPLeaderCar>(100);
    VehicleEditor* panel = openPanel(car);
    ASSERT_NE(panel, nullptr);
    GUIButton* ai = panel->button("ai");
    EXPECT_TRUE(ai->isToggled());
    const int x = car->x;
    panel->press("right", nullptr);
    panel->press("left", nullptr);
    EXPECT_EQ(car->x, x) << "nothing while auto-drive is on";
    EXPECT_TRUE(car->facingRight);
    panel->press("ai", ai);
    EXPECT_FALSE(car->autoDrive);
    EXPECT_FALSE(ai->isToggled());
    panel->press("right", nullptr);
    EXPECT_EQ(car->x, x + 1);
    panel->press("left", nullptr);
    EXPECT_FALSE(car->facingRight);
    panel->press("ai", ai);
    EXPECT_TRUE(car->autoDrive);
    EXPECT_TRUE(ai->isToggled());
}

TEST_F(VehiclePanelsTest, FireWorksWithAutoDriveOffAndUnloadTipsAndLowers)
{
    auto* tank = vehicle<MPLeaderTank>(60);
    VehicleEditor* tankPanel = openPanel(tank);
    ASSERT_NE(tankPanel, nullptr);
    ASSERT_NE(dynamic_cast<TankEditor*>(tankPanel), nullptr);
    tankPanel->press("ai", tankPanel->button("ai"));
    EXPECT_FALSE(tank->autoDrive);
    tankPanel->press("fire", nullptr);
    EXPECT_EQ(countOf("TankBullet"), 1);

    auto* truck = vehicle<MPLeaderTruck>(150);
    VehicleEditor* truckPanel = openPanel(truck);
    ASSERT_NE(dynamic_cast<TruckEditor*>(truckPanel), nullptr);
    GUIButton* unload = truckPanel->button("unload");
    ASSERT_NE(unload, nullptr);
    EXPECT_FALSE(unload->isToggled());
    truckPanel->press("unload", unload);
    EXPECT_TRUE(truck->bedTipped);
    EXPECT_TRUE(unload->isToggled()) << "the button shows the bed up";
    truckPanel->press("unload", unload);
    EXPECT_FALSE(truck->bedTipped);
    EXPECT_FALSE(unload->isToggled()) << "the button shows the bed down";
}

TEST_F(VehiclePanelsTest, TheLanderPanelHoldsItsButtonsAndShowsTheFuel)
{
    auto* lander = vehicle<MPLander>(100);
    auto* panel = dynamic_cast<LanderEditor*>(openPanel(lander));
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(panel->fuelBar(), nullptr);
    panel->hold("burstBig", true);
    EXPECT_TRUE(lander->burstHeld);
    EXPECT_TRUE(panel->flameOn()->isVisible());
    struct Case {
        float fraction;
        bool lit;
    };
    for (Case c : {Case{1.0f, true}, Case{0.5f, true}, Case{0.11f, true}, Case{0.1f, false}, Case{0.0f, false}}) {
        panel->showFuel(c.fraction);
        EXPECT_EQ(panel->flameOn()->isVisible(), c.lit) << c.fraction;
        EXPECT_EQ(panel->flameOff()->isVisible(), !c.lit) << c.fraction;
        EXPECT_FLOAT_EQ(panel->fuelBar()->getTextureRect().size.width, 60.0f * c.fraction);
    }
    panel->hold("burstBig", false);
    EXPECT_FALSE(lander->burstHeld);
    EXPECT_TRUE(lander->facingRight);
    panel->hold("leftBig", true);
    EXPECT_FALSE(lander->facingRight) << "pressing left turns a lander facing right";
    EXPECT_TRUE(lander->leftHeld);
    panel->hold("leftBig", false);
    EXPECT_FALSE(lander->leftHeld);
    // Every step the lander shows its fuel on the open panel.
    lander->fuel = 100;
    lander->update();
    EXPECT_NEAR(panel->fuelBar()->getTextureRect().size.width, 60.0f * 0.5f, 0.5f);
}

TEST_F(VehiclePanelsTest, AVehiclesDeathClosesItsPanelAndAClosedPanelForgetsIt)
{
    auto* car = vehicle<MPLeaderCar>(100);
    VehicleEditor* panel = openPanel(car);
    ASSERT_NE(panel, nullptr);
    world->removeParticle(car->x, car->y);
    EXPECT_TRUE(VehicleEditor::openPanels().empty());

    auto* other = vehicle<MPLeaderCar>(160);
    VehicleEditor* second = openPanel(other);
    ASSERT_NE(second, nullptr);
    second->close();
    EXPECT_EQ(other->editor, nullptr);
    EXPECT_TRUE(VehicleEditor::openPanels().empty());
    // A new touch opens a new panel.
    EXPECT_NE(openPanel(other), nullptr);
}

// The back key closes the panel, as its cross does, and asks nothing.
TEST_F(VehiclePanelsTest, TheBackKeyClosesEachPanelAsItsCrossDoes)
{
    int x = 20;
    for (uint32_t type : {MPLeaderCar::kTypeId, MPSportCar::kTypeId, MPLeaderTank::kTypeId, MPLeaderTruck::kTypeId,
                          MPLander::kTypeId}) {
        auto* v = static_cast<VehicleLeader*>(world->addParticle(x += 40, 41, type, false));
        ASSERT_NE(v, nullptr);
        v->update();
        ASSERT_NE(openPanel(v), nullptr) << x;
        BackButtonAdapter::getInstance()->keyBackClicked();
        stepFrames(2);
        EXPECT_EQ(v->editor, nullptr) << x;
        EXPECT_FALSE(GUIPopup::getInstance()->isShown()) << x;
        world->removeParticle(v->x, v->y);
    }
}

TEST_F(VehiclePanelsTest, ATouchOnAnOpenPanelGoesToThePanelOnly)
{
    choose("Sand");
    auto* car = vehicle<MPLeaderCar>(100);
    VehicleEditor* panel = openPanel(car);
    ASSERT_NE(panel, nullptr);
    car->autoDrive = false;
    const int sand = countOf("Sand");
    CC_SAFE_RELEASE(world->undoSnapshot);
    world->undoSnapshot = nullptr;
    // The panel sits at the middle of the window.
    const CCSize win = CCDirector::sharedDirector()->getWinSize();
    press(win.width / 2, win.height / 2);
    stepFrames(3, 0.015f);
    EXPECT_FALSE(layer->getTouching()) << "no stroke begins under the panel";
    EXPECT_EQ(world->undoSnapshot, nullptr);
    release(win.width / 2, win.height / 2);
    stepFrames(3, 0.015f);
    EXPECT_EQ(countOf("Sand"), sand) << "nothing painted under the panel";
}

TEST_F(VehiclePanelsTest, ACarDrivesInTheSceneAndALongPressWhileMagnifiedOpensItsPanel)
{
    auto* driving = vehicle<MPLeaderCar>(60);
    const int x = driving->x;
    stepSeconds(0.5f, 1.0f / 30);
    EXPECT_GT(driving->x, x) << "the scene steps the world: it drives";

    // Magnified: a long press on a car cell opens the car's panel.
    layer->zoomToPoint(ccp(400, 300));
    const CCPoint cell = layer->worldCellAt(ccp(400, 300));
    auto* car = static_cast<MPLeaderCar*>(
        world->addParticle(static_cast<int>(cell.x), static_cast<int>(cell.y), MPLeaderCar::kTypeId, false));
    ASSERT_NE(car, nullptr);
    car->autoDrive = false;
    car->update();
    ASSERT_TRUE(car->hasBody());
    const CCPoint at = layer->convertToWorldSpace(ccp(car->x * 9 + 4.5f, car->y * 9 + 4.5f));
    press(at.x, at.y);
    stepSeconds(0.9f, 1.0f / 30);
    release(at.x, at.y);
    stepFrames(2, 1.0f / 30);
    auto* panel = dynamic_cast<CarEditor*>(car->editor);
    ASSERT_NE(panel, nullptr);
    // With auto-drive off the panel's left button turns the car (it faces
    // right), pressed by a touch on the button.
    GUIButton* left = panel->button("left");
    ASSERT_NE(left, nullptr);
    const CCSize size = left->getContentSize();
    const CCPoint on = left->convertToWorldSpace(ccp(size.width / 2, size.height / 2));
    ASSERT_EQ(VehicleEditor::panelAt(on), panel);
    press(on.x, on.y);
    stepSeconds(0.3f, 1.0f / 30);
    release(on.x, on.y);
    stepFrames(2, 1.0f / 30);
    EXPECT_FALSE(car->facingRight);
}

TEST_F(VehiclePanelsTest, EveryPanelButtonIsOnScreenAndDrawnOverTheMagnifiedViewsCorners)
{
    struct Case {
        const char* vehicle;
        uint32_t type;
        bool campaignBar;
    };
    const Case cases[] = {
        {"car", MPLeaderCar::kTypeId, false},   {"sports car", MPSportCar::kTypeId, false},
        {"tank", MPLeaderTank::kTypeId, false}, {"truck", MPLeaderTruck::kTypeId, false},
        {"lander", MPLander::kTypeId, false},   {"lander in a campaign", MPLander::kTypeId, true},
    };
    const CCSize win = CCDirector::sharedDirector()->getWinSize();
    GUITopBar* bar = GUITopBar::getInstance();
    int x = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vehicle);
        c.campaignBar ? bar->buildCampaignBar() : bar->buildFreeModeBar();
        bar->resetButtons();
        bar->setLocked(false);
        layer->zoomToPoint(ccp(400, 300));
        auto* v = static_cast<VehicleLeader*>(world->addParticle(x += 35, 41, c.type, false));
        ASSERT_NE(v, nullptr);
        v->update();
        VehicleEditor* panel = openPanel(v);
        ASSERT_NE(panel, nullptr);
        stepFrames(2, 1.0f / 30);
        ZoomOutView* overview = layer->getZoomOutView();
        ASSERT_TRUE(layer->getZoomedOut() && overview->getParent() && overview->isVisible());
        ASSERT_TRUE(bar->getDrawPanToggle()->currentButton()->isVisible());

        std::vector<CCNode*> drawn;
        drawOrder(CCDirector::sharedDirector()->getRunningScene(), drawn);
        std::vector<GUIButton*> buttons;
        collectButtons(panel, buttons);
        ASSERT_GE(buttons.size(), 4u) << "the row or the big buttons and the cross";
        for (GUIButton* button : buttons) {
            const CCRect box = testsupport::screenBox(button);
            const char* name = button == panel->button("leftBig") ? "leftBig"
                : button == panel->button("rightBig")             ? "rightBig"
                : button == panel->button("burstBig")             ? "burstBig"
                                                                  : "a row button or the cross";
            EXPECT_TRUE(box.getMinX() >= 0 && box.getMinY() >= 0 && box.getMaxX() <= win.width &&
                        box.getMaxY() <= win.height)
                << name << " is off the screen";
            auto above = std::find(drawn.begin(), drawn.end(), button);
            ASSERT_NE(above, drawn.end()) << name << " is not drawn";
            for (++above; above != drawn.end(); ++above) {
                CCNode* node = *above;
                if (isWithin(node, panel) || !paints(node) ||
                    !testsupport::overlapOnScreen(box, testsupport::screenBox(node)))
                    continue;
                ADD_FAILURE() << name << " is covered by "
                              << (isWithin(node, overview)  ? "the overview"
                                      : isWithin(node, bar) ? "the top bar or its draw/pan toggle"
                                                            : typeid(*node).name());
                break;
            }
            // A touch on its middle reaches the panel.
            EXPECT_EQ(VehicleEditor::panelAt(ccp(box.getMidX(), box.getMidY())), panel) << name;
        }
        world->removeParticle(v->x, v->y);
        ASSERT_TRUE(VehicleEditor::openPanels().empty());
        layer->zoomToPoint(ccp(400, 300));
    }
}

TEST_F(VehiclePanelsTest, TheLanderPanelShowsTheFuelFromItsOpeningOnAPausedWorld)
{
    struct Case {
        int fuel;
        bool lit;
    };
    // Nothing steps the world: the gauge shows what the panel itself shows.
    int x = 20;
    for (Case c : {Case{MPLander::kMaxFuel, true}, Case{100, true}, Case{20, false}, Case{0, false}}) {
        SCOPED_TRACE(c.fuel);
        auto* lander = vehicle<MPLander>(x += 40);
        lander->fuel = c.fuel;
        auto* panel = dynamic_cast<LanderEditor*>(openPanel(lander));
        ASSERT_NE(panel, nullptr);
        const float width = 60.0f * static_cast<float>(c.fuel) / MPLander::kMaxFuel;
        for (const char* when : {"at opening", "after the engine button is pressed and let go"}) {
            EXPECT_EQ(panel->flameOn()->isVisible(), c.lit) << when;
            EXPECT_EQ(panel->flameOff()->isVisible(), !c.lit) << when;
            EXPECT_FLOAT_EQ(panel->fuelBar()->getTextureRect().size.width, width) << when;
            panel->hold("burstBig", true);
            panel->hold("burstBig", false);
        }
        world->removeParticle(lander->x, lander->y);
    }
}

}  // namespace
}  // namespace gametest
