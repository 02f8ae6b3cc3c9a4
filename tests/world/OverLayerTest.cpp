#include <vector>

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

// Speakers side by side and at the world's right edge: every balloon inside
// the world, none over another, one at the edge turned to its speaker's left.
TEST_F(GameScene, BalloonsStayInsideTheWorldAndApart)
{
    enterScene();
    OverLayer* overlay = world->overLayer;
    const float p2 = static_cast<float>(pixelSize * pixelSize);
    const CCRect inside(0, 0, static_cast<float>(world->width) * p2, static_cast<float>(world->height) * p2);
    std::vector<CCSprite*> balloons;
    for (int x : {40, 41, 42, world->width - 2})
        balloons.push_back(overlay->showBalloon(str("thinking"), str("cold"), static_cast<float>(x), 20));
    for (size_t i = 0; i < balloons.size(); ++i) {
        ASSERT_NE(balloons[i], nullptr);
        const CCRect box = balloons[i]->boundingBox();
        EXPECT_TRUE(inside.containsPoint(box.origin) && inside.containsPoint(ccp(box.getMaxX(), box.getMaxY())))
            << "balloon " << i;
        for (size_t j = 0; j < i; ++j) {
            const CCRect other = balloons[j]->boundingBox();
            EXPECT_FALSE(box.getMinX() < other.getMaxX() && other.getMinX() < box.getMaxX() &&
                         box.getMinY() < other.getMaxY() && other.getMinY() < box.getMaxY())
                << "balloons " << j << " and " << i;
        }
    }
    EXPECT_TRUE(balloons.back()->isFlipX()) << "turned towards its speaker";
    EXPECT_FALSE(balloons.front()->isFlipX());
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
