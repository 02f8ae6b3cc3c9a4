// ScreenUtils' own list: the message-page openers outside the game scene,
// and the first use of the singleton.
#include <functional>

#include "WindowsFixture.h"
#include "gui/GUILabel.h"
#include "hud/GUIIngameMessage.h"

USING_NS_CC;
using guitest::Held;
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

// A notice waits for a popup that shows, is shown again over the next scene
// when its own scene goes before it is answered, and goes once answered.
TEST_F(Openers, ANoticeWaitsItsTurnAndStaysUntilAnswered)
{
    GUIPopup* popup = GUIPopup::getInstance();
    auto shownText = [&] {
        return popup->isShown() && popup->getMessageLabel() ? popup->getMessageLabel()->getText()->getString()
                                                            : std::string();
    };
    ScreenUtils::showPopup(CCString::create("a question"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Confirm);
    ScreenUtils::showNotice(CCString::create("first notice"));
    stepSeconds(0.5f);
    EXPECT_EQ(shownText(), "a question") << "the popup that shows is left alone";
    popup->onOkPressed();
    stepSeconds(0.5f);
    EXPECT_EQ(shownText(), "first notice");
    EXPECT_EQ(current(), popup);

    // Its scene is replaced, or another comes over it, or goes, before it
    // is answered: it follows to the scene the player sees.
    CCScene* next = CCScene::create();
    CCDirector::sharedDirector()->replaceScene(CCTransitionFade::create(0.25f, next));
    stepSeconds(0.6f);
    EXPECT_EQ(popup->getParent(), next);
    EXPECT_EQ(shownText(), "first notice");
    CCScene* over = CCScene::create();
    CCDirector::sharedDirector()->pushScene(CCTransitionFade::create(0.25f, over));
    stepSeconds(0.6f);
    EXPECT_EQ(popup->getParent(), over) << "not left behind on the scene below, holding other popups back";
    CCDirector::sharedDirector()->popScene();
    stepSeconds(0.3f);
    EXPECT_EQ(popup->getParent(), next);
    EXPECT_EQ(shownText(), "first notice");

    // The back key answers it as OK does; a later notice shows once more.
    stepSeconds(GUIWindow::kOpeningSeconds);
    popup->onBackPressed();
    stepSeconds(0.5f);
    EXPECT_FALSE(popup->isShown());
    EXPECT_EQ(ScreenUtils::pendingNotice(), nullptr);
    stepSeconds(0.5f);
    EXPECT_FALSE(popup->isShown()) << "seen once is enough";
    ScreenUtils::showNotice(CCString::create("second notice"));
    EXPECT_EQ(shownText(), "second notice") << "a free popup shows it at once";
    popup->onOkPressed();
    stepSeconds(0.5f);
    EXPECT_FALSE(popup->isShown());
}

// A window that opens while a box waits for its answer opens beneath it (a
// story page under "could not be saved", a name keyboard brought back under
// a purchase or a progress bar): the box keeps the keys and the touches, and
// gives the window back once answered.
TEST_F(Openers, AWindowOpeningWhileABoxWaitsOpensBeneathIt)
{
    BackButtonAdapter* keys = BackButtonAdapter::getInstance();
    GUIProgressBar* bar = GUIProgressBar::getInstance();
    Held<guitest::Counter> named;
    const auto page = [this]() -> GUIWindow* {
        GUIWindow* window = addWindow();
        window->open();
        window->setVisible(true);
        ScreenUtils::getInstance()->setCurrentWindow(window);
        return window;
    };
    const auto nameKeyboard = [&]() -> GUIWindow* {
        ScreenUtils::showKeyboard(GUILabel::create(), named.get(), callfuncO_selector(guitest::Counter::hitWith));
        return GUIKeyboard::getInstance();
    };
    const struct {
        const char* name;
        bool bar;
        std::function<GUIWindow*()> open;
    } cases[] = {{"a page under a message", false, page},
                 {"a keyboard under a message", false, nameKeyboard},
                 {"a keyboard under a progress bar", true, nameKeyboard}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GUIWindow* box = c.bar ? static_cast<GUIWindow*>(bar) : GUIPopup::getInstance();
        if (c.bar)
            ScreenUtils::showUploadProgress();
        else
            ScreenUtils::showNotice(CCString::create("could not be saved"));
        stepSeconds(GUIWindow::kOpeningSeconds);
        GUIWindow* under = c.open();
        EXPECT_EQ(current(), box);
        EXPECT_EQ(keys->frontListener(), box);
        keys->insertText("Zed", 3);
        if (under == GUIKeyboard::getInstance()) {
            EXPECT_EQ(GUIKeyboard::getInstance()->getText()->getString(), "")
                << "typed into the keyboard under the box";
        }
        ASSERT_TRUE(box->awaitsAnswer());
        if (c.bar) {
            bar->setResultText(CCString::create("That name is taken"));
            bar->setFastFill(true);
            bar->showFailure();
            stepSeconds(0.5f);
            stepSeconds(GUIWindow::kOpeningSeconds);
        }
        keys->insertText("\n", 1);
        stepSeconds(0.5f);
        EXPECT_EQ(box->getParent(), nullptr) << "answered";
        EXPECT_EQ(current(), under);
        EXPECT_EQ(keys->frontListener(), under);
        if (under == GUIKeyboard::getInstance()) {
            keys->insertText("\n", 1);
            stepSeconds(0.3f);
        } else {
            keys->removeListener(under);
            ScreenUtils::getInstance()->setCurrentWindow(nullptr);
        }
    }
    EXPECT_EQ(named->count, 2);
}
