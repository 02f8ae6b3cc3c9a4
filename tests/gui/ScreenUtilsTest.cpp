// ScreenUtils' own list: the message-page openers outside the game scene,
// and the first use of the singleton.
#include "WindowsFixture.h"
#include "hud/GUIIngameMessage.h"

USING_NS_CC;
using guitest::ModalTest;

class Openers : public ModalTest { };

TEST_F(Openers, MessagePagesOutsideTheGameSceneAttachNothingAndSaySo)
{
    auto* window = new GUIWindow();
    window->initWithSize(CCSize(800, 200));
    window->autorelease();
    scene()->addChild(window);
    ScreenUtils::getInstance()->setCurrentWindow(window);
    const unsigned children = scene()->getChildrenCount();
    for (int twice = 0; twice < 2; ++twice) {
        ScreenUtils::showStoryIntroduction();
        ScreenUtils::showFreeModeIntroduction();
        ScreenUtils::showStoryReminder(3);
        ScreenUtils::showFreeModeMessage();
        ScreenUtils::showOutro();
        ScreenUtils::showMainMenuPopup();
    }
    EXPECT_EQ(current(), window);
    EXPECT_EQ(scene()->getChildrenCount(), children);
    EXPECT_TRUE(log.contains("no game scene for the message window; the story reminder is not shown"));
    EXPECT_TRUE(log.contains("the outro is not shown"));
    EXPECT_EQ(GUIIngameMessage::getInstance()->getParent(), nullptr);
}

TEST_F(Openers, TheTrackingHooksOnlyWriteTheirTracePair)
{
    ScreenUtils::trackButton();
    ScreenUtils::trackScreen();
    EXPECT_TRUE(log.contains("------function execution starts"));
    EXPECT_TRUE(log.contains("------execution finished"));
    EXPECT_EQ(current(), nullptr);
}
