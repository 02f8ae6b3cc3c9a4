// ScreenUtils' own list: the message-page openers that wait for their window,
// and the first use of the singleton.
#include "WindowsFixture.h"

USING_NS_CC;
using guitest::ModalTest;

class Openers : public ModalTest { };

TEST_F(Openers, MessagePagesSayTheirWindowIsNotBuiltAndChangeNothing)
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
    EXPECT_TRUE(log.contains("not built yet: in-game message window, page story reminder 3"));
    EXPECT_TRUE(log.contains("page outro"));
}

TEST_F(Openers, TheTrackingHooksOnlyWriteTheirTracePair)
{
    ScreenUtils::trackButton();
    ScreenUtils::trackScreen();
    EXPECT_TRUE(log.contains("------function execution starts"));
    EXPECT_TRUE(log.contains("------execution finished"));
    EXPECT_EQ(current(), nullptr);
}
