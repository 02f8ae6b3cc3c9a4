#include <cmath>
#include <set>
#include <string>

#include "support/GameSceneFixture.h"
#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "profile/Profile.h"
#include "goals/RandomDealer.h"
#include "gui/GUIPopup.h"
#include "hud/GUITopBar.h"
#include "support/LogCapture.h"
#include "scene/ZoomOutView.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace gametest {
namespace {

int musicStarts()
{
    int n = 0;
    for (const auto& call : SimpleAudioEngine::sharedEngine()->recordedCalls())
        n += call.operation == "playBackgroundMusic";
    return n;
}

// Resizing from inside init's callees must not make a second layer.
TEST_F(GameScene, TheInstanceIsKnownWhileItInitialises)
{
    testsupport::resetGame();
    GameLayer* first = GameLayer::getInstance();
    EXPECT_EQ(GameLayer::existingInstance(), first);
    EXPECT_EQ(gWorld, &first->getWorld());
    EXPECT_NE(first->getGUI(), nullptr);
    EXPECT_NE(first->getZoomOutView(), nullptr);
    EXPECT_FALSE(first->getZoomOutView()->isVisible());
    EXPECT_EQ(first->getUniverseName()->getString(),
              std::string(LocalUtils::localize("UniverseNameEmpty")->getCString()));
}

TEST_F(GameScene, ResizesLeaveOneWorldSprite)
{
    for (bool big : {true, false, true}) {
        world->setBigWorld(big);
        int sprites = 0;
        for (CCObject* child : *layer->getChildren())
            sprites += dynamic_cast<CCSprite*>(child) != nullptr &&
                static_cast<CCSprite*>(child)->getTexture() == layer->getWorldTexture();
        EXPECT_EQ(sprites, 1) << big;
        EXPECT_EQ(layer->getWorldSprite()->getParent(), layer);
        EXPECT_FLOAT_EQ(layer->getWorldSprite()->getContentSize().width, big ? 240 : 120);
    }
}

TEST_F(GameScene, LevelMusicFollowsTheWatcher)
{
    enterScene();
    EXPECT_EQ(musicStarts(), 1);

    // Music off: nothing starts however long the watcher polls.
    layer->setLevelMusicOn(false);
    SimpleAudioEngine::sharedEngine()->stopBackgroundMusic();
    stepSeconds(10.0f, 1.0f / 30);
    EXPECT_EQ(musicStarts(), 1);

    // An instrument holds the music for 180 ticks (6 s).
    layer->setLevelMusicOn(true);
    layer->musicHoldTicks = 180;
    SimpleAudioEngine::sharedEngine()->stopBackgroundMusic();
    stepSeconds(5.0f, 1.0f / 30);
    EXPECT_EQ(musicStarts(), 1);
    stepSeconds(5.0f, 1.0f / 30);
    EXPECT_EQ(musicStarts(), 2);
}

TEST_F(GameScene, TheDealerPlaysEveryTrackBeforeARepeat)
{
    CCArray* names = CCArray::create();
    for (const char* name : {"a", "b", "c"})
        names->addObject(CCString::create(name));
    RandomDealer* dealer = RandomDealer::create(names);
    for (int round = 0; round < 4; ++round) {
        std::set<std::string> dealt;
        for (int i = 0; i < 3; ++i)
            dealt.insert(static_cast<CCString*>(dealer->deal())->getString());
        EXPECT_EQ(dealt.size(), 3u) << round;
    }
    EXPECT_EQ(RandomDealer::create(CCArray::create())->deal(), nullptr);
}

TEST_F(GameScene, TheLaunchCountStopsAtThree)
{
    enterScene();
    testsupport::LogCapture log;
    Profile::getInstance()->setLaunchCount(1);
    for (int i = 0; i < 4; ++i) {
        layer->setRestoreAfterBackground(true);
        stepFrames(3, 1.0f / 30);
        EXPECT_FALSE(layer->getRestoreAfterBackground());
    }
    EXPECT_EQ(Profile::getInstance()->getLaunchCount(), 3);
    // Two updates (to 2 and 3), then the count is only logged.
    const int first = log.find("Updated launchCount ==");
    const int second = log.find("Updated launchCount ==", first + 1);
    EXPECT_NE(first, -1);
    EXPECT_NE(second, -1);
    EXPECT_EQ(log.find("Updated launchCount ==", second + 1), -1);
}

TEST_F(GameScene, AltPansOnlyWhileMagnified)
{
    enterScene();
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    GUITopBar* bar = GUITopBar::getInstance();
    view->setKeyDown(kCCKeyAlt, true);
    layer->pollAltKey();
    EXPECT_TRUE(layer->getAltDown());
    EXPECT_FALSE(bar->isPanning()) << "not magnified: only the key state changes";
    view->setKeyDown(kCCKeyAlt, false);
    layer->pollAltKey();

    layer->zoomToPoint(ccp(400, 300));
    view->setKeyDown(kCCKeyAlt, true);
    layer->pollAltKey();
    EXPECT_TRUE(bar->isPanning());
    layer->pollAltKey();
    EXPECT_TRUE(bar->isPanning()) << "a held key flips once";
    view->setKeyDown(kCCKeyAlt, false);
    layer->pollAltKey();
    EXPECT_FALSE(bar->isPanning());
}

// Free play's back key waits only for an introduction that is on its way:
// a world entered without one asks at once.
TEST_F(GameScene, BackKeyInFreePlayWithNoIntroductionComingAsks)
{
    enterScene();
    testsupport::LogCapture log;
    Profile::getInstance()->setGameMode(-99);
    layer->onBackPressed();
    EXPECT_TRUE(log.contains("GUIPopup: enter"));
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), GUIPopup::getInstance());
    GUIPopup::resetInstanceForTests();
}

TEST_F(GameScene, TheTickStepsTheWorldAndSkipsTheMarkerWhileNotMagnified)
{
    enterScene();
    world->addParticle(100, 100, hashString("Soil"), false);
    const CCPoint marker = layer->getZoomOutView()->getFrameSprite()->getPosition();
    stepFrames(10, 1.0f / 30);
    EXPECT_EQ(world->at(100, 100), nullptr) << "soil falls";
    EXPECT_EQ(layer->getZoomOutView()->getFrameSprite()->getPosition().x, marker.x);
    EXPECT_EQ(layer->getZoomOutView()->getFrameSprite()->getPosition().y, marker.y);
    layer->zoomToPoint(ccp(400, 300));
    stepFrames(2, 1.0f / 30);
    const CCPoint placed = layer->getZoomOutView()->getFrameSprite()->getPosition();
    EXPECT_TRUE(std::isfinite(placed.x) && std::isfinite(placed.y));
}

TEST_F(GameScene, ArrowKeysPanOnlyWhileMagnified)
{
    enterScene();
    const CCPoint before = layer->getPosition();
    layer->keyArrowPressed(1);
    EXPECT_EQ(layer->getPosition().y, before.y);
    layer->zoomToPoint(ccp(400, 300));
    const CCPoint zoomed = layer->getPosition();
    layer->keyArrowPressed(1);
    EXPECT_NEAR(layer->getPosition().y, zoomed.y + 64, 0.01);
    layer->keyArrowPressed(3);
    EXPECT_NEAR(layer->getPosition().x, zoomed.x - 64, 0.01);
    layer->keyArrowPressed(7);
    EXPECT_NEAR(layer->getPosition().x, zoomed.x - 64, 0.01);
    // Not under a box.
    ScreenUtils::showPopup(CCString::create("?"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
    layer->keyArrowPressed(4);
    EXPECT_NEAR(layer->getPosition().x, zoomed.x - 64, 0.01);
    GUIPopup::resetInstanceForTests();
}

}  // namespace
}  // namespace gametest
