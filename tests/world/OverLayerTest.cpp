#include "support/GameSceneFixture.h"
#include "gui/GUIWindow.h"
#include "world/OverLayer.h"

USING_NS_CC;

namespace gametest {
namespace {

CCString* str(const char* s)
{
    return CCString::create(s);
}

TEST_F(GameScene, OverlayPositionsAndScales)
{
    const CCPoint origin = OverLayer::cellCentre(0, 0);
    const CCPoint cell = OverLayer::cellCentre(10, 2);
    EXPECT_FLOAT_EQ(origin.x, 4.5f);
    EXPECT_FLOAT_EQ(origin.y, 4.5f);
    EXPECT_FLOAT_EQ(cell.x, 94.5f);
    EXPECT_FLOAT_EQ(cell.y, 22.5f);
    EXPECT_FLOAT_EQ(OverLayer::balloonScale(true), 9.765625f);
    EXPECT_FLOAT_EQ(OverLayer::balloonScale(false), 19.53125f);
}

TEST_F(GameScene, BalloonsComeAfterEnteringAndGoOnce)
{
    OverLayer* overlay = world->overLayer;
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->showBalloon(str("saying"), str("newMiner"), 10, 2), nullptr) << "before the scene";

    enterScene();
    CCSprite* balloon = overlay->showBalloon(str("saying"), str("newMiner"), 10, 2);
    ASSERT_NE(balloon, nullptr);
    EXPECT_FLOAT_EQ(balloon->getPosition().x, 94.5f);
    EXPECT_FLOAT_EQ(balloon->getScale(), 9.765625f);
    ASSERT_EQ(balloon->getChildrenCount(), 1u);
    EXPECT_EQ(overlay->showBalloon(str("shouting"), str("newMiner"), 1, 1), nullptr) << "no such frame";
    EXPECT_EQ(overlay->showBalloon(str("thinking"), str("nothing"), 1, 1), nullptr) << "no such icon";

    overlay->placeAtCell(balloon, 0, 0);
    EXPECT_FLOAT_EQ(balloon->getPosition().x, 4.5f);
    balloon->retain();
    overlay->removeSprite(balloon);
    EXPECT_EQ(balloon->getParent(), nullptr);
    overlay->removeSprite(balloon);  // a second time: nothing
    overlay->removeSprite(nullptr);
    balloon->release();

    overlay->showBalloon(str("thinking"), str("cold"), 5, 5);
    overlay->showBalloon(str("saying"), str("needWood"), 6, 5);
    EXPECT_EQ(overlay->getBatchNode()->getChildrenCount(), 2u);
    world->reset();
    EXPECT_EQ(overlay->getBatchNode()->getChildrenCount(), 0u) << "a new universe has no balloons";
}

TEST_F(GameScene, ClosingAWindowTakesOnlyThatWindowOut)
{
    enterScene();
    CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
    auto* window = new GUIWindow();
    window->initWithSize(CCSize(100, 100));
    scene->addChild(window);
    ScreenUtils::getInstance()->setCurrentWindow(window);
    window->retain();
    layer->closeWindow(window);
    EXPECT_EQ(window->getParent(), nullptr);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), nullptr);
    EXPECT_NE(layer->getGUI()->getParent(), nullptr) << "the HUD stays";
    window->release();
    window->release();
}

}  // namespace
}  // namespace gametest
