// Windows: the slide and its states, one window at a time, and the touches
// that become presses, cancels, scroll drags and arrow-key scrolls.
#include "GuiFixture.h"

#include "SimpleAudioEngine.h"
#include "gui/ScreenUtils.h"
#include "gui/GUIButton.h"
#include "gui/GUIPopup.h"
#include "gui/GUIScroll.h"
#include "gui/GUIWindow.h"

USING_NS_CC;
using guitest::Counter;
using guitest::GuiTest;
using guitest::Held;

namespace {

// A 800 x 300 window with two buttons in its container and, optionally, a
// scroll over its left half holding one button.
class TestWindow : public GUIWindow {
public:
    static TestWindow* create(Counter* counter, bool withScroll = false)
    {
        auto* window = new TestWindow();
        window->initWithSize(CCSize(800, 300));
        window->m_buttonContainer = CCNode::create();
        window->addChild(window->m_buttonContainer);
        // 200 x 16 at (100, 200): x 0..200, y 192..208.
        window->button =
            GUIButton::create(counter ? counter->action() : nullptr, "gamemenus_brushSizeSlider.png", nullptr);
        window->button->setPosition(ccp(100, 200));
        window->m_buttonContainer->addChild(window->button);
        window->other = GUIButton::create(nullptr, "gamemenus_brushSizeSlider.png", nullptr);
        window->other->setPosition(ccp(500, 200));
        window->m_buttonContainer->addChild(window->other);
        if (withScroll) {
            window->scroll = GUIScroll::create("pvr/gamemenus.png", 10);
            window->scroll->setRect(CCRect(0, 150, 400, 100));
            window->scroll->setMinY(100);
            window->scroll->setMaxY(200);
            window->addChild(window->scroll);
            window->m_scroll = window->scroll;
            window->scrolled = GUIButton::create(nullptr, "gamemenus_brushSizeSlider.png", nullptr);
            window->scrolled->setPosition(ccp(100, 50));  // over the container's button
            window->scroll->addChild(window->scrolled);
        }
        window->autorelease();
        return window;
    }
    GUIButton* button = nullptr;
    GUIButton* other = nullptr;
    GUIButton* scrolled = nullptr;
    GUIScroll* scroll = nullptr;
    int handedOver = 0;
    void onBackPressed() override { }
};

int sounds(const char* name)
{
    int count = 0;
    for (const auto& call : CocosDenshion::SimpleAudioEngine::sharedEngine()->recordedCalls())
        if (call.operation == "playEffect" && call.path.find(name) != std::string::npos)
            ++count;
    return count;
}

}  // namespace

class Windows : public GuiTest {
protected:
    // An open window that the host forwards touches to.
    TestWindow* openWindow(Counter* counter, bool withScroll = false)
    {
        TestWindow* window = TestWindow::create(counter, withScroll);
        scene()->addChild(window);
        window->toggle();
        stepSeconds(0.25f);
        EXPECT_EQ(window->getState(), GUIWindow::Open);
        host()->window = window;
        return window;
    }
};

TEST_F(Windows, OnlyOneWindowOpensAtATime)
{
    TestWindow* a = TestWindow::create(nullptr);
    TestWindow* b = TestWindow::create(nullptr);
    scene()->addChild(a);
    scene()->addChild(b);
    EXPECT_EQ(a->getState(), GUIWindow::Closed);
    EXPECT_FALSE(a->isVisible());
    EXPECT_FLOAT_EQ(a->getPosition().y, -300);
    a->toggle();
    EXPECT_EQ(a->getState(), GUIWindow::Opening);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), a);
    EXPECT_EQ(sounds("sfx_gui_popup"), 1);
    b->toggle();  // a is opening
    EXPECT_EQ(b->getState(), GUIWindow::Closed);
    stepSeconds(0.25f);
    EXPECT_EQ(a->getState(), GUIWindow::Open);
    EXPECT_FLOAT_EQ(a->getPosition().y, 0);
    EXPECT_EQ(BackButtonAdapter::getInstance()->frontListener(), a);
    b->toggle();  // a is open
    EXPECT_EQ(b->getState(), GUIWindow::Closed);
    EXPECT_EQ(sounds("sfx_gui_popup"), 1);
    a->toggle();
    EXPECT_EQ(a->getState(), GUIWindow::Closing);
    EXPECT_EQ(BackButtonAdapter::getInstance()->listenerCount(), 0u);
    b->toggle();  // a is closing: b may open
    EXPECT_EQ(b->getState(), GUIWindow::Opening);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), b);
    stepSeconds(0.25f);
    EXPECT_EQ(a->getState(), GUIWindow::Closed);
    EXPECT_FALSE(a->isVisible());
    EXPECT_EQ(a->getParent(), scene());  // without removeOnClose it stays
}

TEST_F(Windows, TogglingMidSlideIsIgnoredWhileOpeningAndReversesWhileClosing)
{
    TestWindow* window = TestWindow::create(nullptr);
    scene()->addChild(window);
    window->toggle();
    stepSeconds(0.1f);
    window->toggle();
    EXPECT_EQ(window->getState(), GUIWindow::Opening);
    stepSeconds(0.15f);
    ASSERT_EQ(window->getState(), GUIWindow::Open);
    window->toggle();
    stepSeconds(0.1f);
    const float halfway = window->getPosition().y;
    EXPECT_NEAR(halfway, -150, 10);
    window->toggle();
    EXPECT_EQ(window->getState(), GUIWindow::Opening);
    stepFrames(1);
    EXPECT_GT(window->getPosition().y, halfway);  // from where it was, upward
    EXPECT_LT(window->getPosition().y, halfway + 30);
    stepSeconds(0.2f);
    EXPECT_EQ(window->getState(), GUIWindow::Open);
    EXPECT_FLOAT_EQ(window->getPosition().y, 0);
}

TEST_F(Windows, ATapFiresOnReleaseOnTheButtonAndAHoldFiresAfter200ms)
{
    Held<Counter> counter;
    TestWindow* window = openWindow(counter.get());
    // Released on the button within 0.2 s.
    touchDown(100, 200);
    EXPECT_TRUE(window->button->isPressed());
    stepSeconds(0.1f);
    touchUp(110, 202);
    EXPECT_EQ(counter->count, 1);
    EXPECT_FALSE(window->button->isPressed());
    stepSeconds(0.3f);
    EXPECT_EQ(counter->count, 1);
    // Released off the button within 0.2 s.
    touchDown(100, 200);
    touchUp(100, 250);
    stepSeconds(0.3f);
    EXPECT_EQ(counter->count, 1);
    // Held: fires at 0.2 s, even though the finger then leaves sideways.
    touchDown(100, 200);
    touchMove(700, 205);
    stepSeconds(0.22f);
    EXPECT_EQ(counter->count, 2);
    touchUp(700, 205);
    EXPECT_EQ(counter->count, 2);
}

TEST_F(Windows, AVerticalMoveOfTenPointsCancelsThePress)
{
    Held<Counter> counter;
    TestWindow* window = openWindow(counter.get());
    struct Case {
        float dx, dy;
        bool fires;
    } cases[] = {{0, 9.9f, true}, {0, -9.9f, true}, {300, 0, true}, {0, 10, false}, {0, -10, false}};
    for (const Case& c : cases) {
        counter->count = 0;
        touchDown(100, 200);
        touchMove(100 + c.dx, 200 + c.dy);
        stepSeconds(0.25f);
        touchUp(100 + c.dx, 200 + c.dy);
        EXPECT_EQ(counter->count, c.fires ? 1 : 0) << c.dx << ", " << c.dy;
        EXPECT_FALSE(window->button->isPressed());
    }
}

TEST_F(Windows, AScrollButtonOverAContainerButtonWinsAndAMoveDragsTheScroll)
{
    Held<Counter> counter;
    TestWindow* window = openWindow(counter.get(), true);
    touchDown(100, 200);
    EXPECT_EQ(window->getPressedButton(), window->scrolled);
    EXPECT_FALSE(window->button->isPressed());
    touchMove(100, 220);  // 20 points: cancels, and drags the content from here on
    EXPECT_EQ(window->getPressedButton(), nullptr);
    const float y = window->scroll->getPosition().y;
    touchMove(100, 230);
    EXPECT_FLOAT_EQ(window->scroll->getPosition().y, y + 14);
    touchUp(100, 230);
    EXPECT_EQ(counter->count, 0);
}

TEST_F(Windows, AnImmediateButtonFiresAtTouchDownThroughItsOwnDelay)
{
    Held<Counter> counter;
    TestWindow* window = openWindow(counter.get());
    window->button->setActivateDelayed(true);
    touchDown(100, 200);
    EXPECT_EQ(window->getPressedButton(), nullptr);
    EXPECT_TRUE(ScreenUtils::getInstance()->isBusy());
    stepSeconds(0.06f);
    EXPECT_EQ(counter->count, 1);
    touchUp(100, 200);
    stepSeconds(0.3f);
    EXPECT_EQ(counter->count, 1);
}

TEST_F(Windows, ArrowAndPageKeysScrollByFixedSteps)
{
    TestWindow* window = openWindow(nullptr, true);
    window->scroll->setMinY(-1000);
    window->scroll->setMaxY(1000);
    struct Case {
        int key;
        float moved;
    } cases[] = {{kCCKeyUp, -8 * 1.4f},       {kCCKeyDown, 8 * 1.4f}, {kCCKeyPageUp, -24 * 1.4f},
                 {kCCKeyPageDown, 24 * 1.4f}, {kCCKeyLeft, 0},        {kCCKeyRight, 0}};
    for (const Case& c : cases) {
        const float y = window->scroll->getPosition().y;
        CCEGLView::sharedOpenGLView()->simulateKey(c.key, true);
        CCEGLView::sharedOpenGLView()->simulateKey(c.key, false);
        EXPECT_NEAR(window->scroll->getPosition().y - y, c.moved, 1e-3) << c.key;
    }
    for (int code : {3, 4, 5, 6, 7, 10, 100}) {
        const float y = window->scroll->getPosition().y;
        window->keyArrowPressed(code);
        EXPECT_FLOAT_EQ(window->scroll->getPosition().y, y);
    }
    TestWindow* plain = TestWindow::create(nullptr);
    for (int code : {1, 2, 8, 9})
        plain->keyArrowPressed(code);  // no scroll: nothing
    // A box over the list takes them as it takes every key.
    ScreenUtils::showPopup(CCString::create("?"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
    const float y = window->scroll->getPosition().y;
    for (int key : {kCCKeyUp, kCCKeyPageDown}) {
        CCEGLView::sharedOpenGLView()->simulateKey(key, true);
        CCEGLView::sharedOpenGLView()->simulateKey(key, false);
    }
    EXPECT_FLOAT_EQ(window->scroll->getPosition().y, y);
    GUIPopup::resetInstanceForTests();
}

TEST_F(Windows, AWindowThatRemovesItselfOnCloseGoesOnceAndLetsGoOfTheCurrentWindow)
{
    TestWindow* window = openWindow(nullptr);
    window->setRemoveOnClose(true);
    ASSERT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), window);
    window->close();
    stepSeconds(0.1f);
    EXPECT_EQ(window->getParent(), scene());
    host()->window = nullptr;
    stepSeconds(0.15f);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), nullptr);
    EXPECT_EQ(scene()->getChildrenCount(), 1u);  // only the host is left
    TestWindow* second = TestWindow::create(nullptr);
    second->retain();
    scene()->addChild(second);
    second->setRemoveOnClose(true);
    second->toggle();
    stepSeconds(0.25f);
    log.clear();
    second->toggle();
    stepSeconds(0.25f);
    EXPECT_EQ(second->getParent(), nullptr);
    second->release();
}

TEST_F(Windows, ADestroyedWindowIsForgottenAndAGoneButtonIsNeverFired)
{
    {
        auto* window = TestWindow::create(nullptr);
        window->retain();
        ScreenUtils::getInstance()->setCurrentWindow(window);
        ScreenUtils::getInstance()->savedWindow = window;
        CCPoolManager::sharedPoolManager()->drain();
        window->release();
    }
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), nullptr);
    EXPECT_EQ(ScreenUtils::getInstance()->savedWindow, nullptr);

    Held<Counter> counter;
    TestWindow* window = openWindow(counter.get());
    touchDown(100, 200);
    window->button->removeFromParent();  // gone before the 0.2 s fire
    stepSeconds(0.3f);
    EXPECT_EQ(counter->count, 0);
    touchUp(100, 200);
    EXPECT_EQ(counter->count, 0);
}
