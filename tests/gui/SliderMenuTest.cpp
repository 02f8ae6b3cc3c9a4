// Sliders, hold buttons, the draw/pan toggle, button menus and the borders.
#include "GuiFixture.h"

#include "SimpleAudioEngine.h"
#include "base/ScreenMetrics.h"
#include "gui/GUIBatchNodeMenu.h"
#include "gui/GUIButton.h"
#include "gui/GUISlider.h"

USING_NS_CC;
using guitest::Counter;
using guitest::GuiTest;
using guitest::Held;

namespace {

int selectSounds()
{
    int count = 0;
    for (const auto& call : CocosDenshion::SimpleAudioEngine::sharedEngine()->recordedCalls())
        if (call.operation == "playEffect" && call.path.find("sfx_gui_select") != std::string::npos)
            ++count;
    return count;
}

// The HUD's brush slider: anchor (0, 0), values 1..8 over x 27..173, nine steps.
GUISlider* brushSlider(Counter* counter)
{
    auto* slider = new GUISlider();
    EXPECT_NE(slider->initWithFrameName(CCString::create("gamemenus_brushSizeSlider.png"), ccp(1, 8), ccp(27, 173)),
              nullptr);
    slider->autorelease();
    slider->setAnchorPoint(CCPointZero);
    if (counter)
        slider->setCallback(counter->action());
    CCArray* steps = CCArray::create();
    for (int i = 1; i <= 9; ++i)
        steps->addObject(
            CCSprite::createWithSpriteFrameName(CCString::createWithFormat("gamemenus_brush%d.png", i)->getCString()));
    slider->setSteps(steps);
    return slider;
}

int visibleSteps(GUISlider* slider)
{
    int count = 0;
    for (CCObject* object : *slider->getSteps())
        count += static_cast<CCNode*>(object)->isVisible() ? 1 : 0;
    return count;
}

}  // namespace

using Sliders = GuiTest;

TEST_F(Sliders, TouchesStepTheBrushSliderAndOnlyAChangeSounds)
{
    Held<Counter> counter;
    GUISlider* slider = brushSlider(counter.get());
    GUIBatchNodeMenu* menu = GUIBatchNodeMenu::create("pvr/gamemenus.png", 10);
    menu->addChild(slider);
    scene()->addChild(menu);
    host()->menu = menu;
    struct Case {
        float x;
        int value;
    } cases[] = {{26.9f, 1}, {27, 2}, {27 + 146.0f / 7 - 0.01f, 2}, {27 + 146.0f / 7 + 0.01f, 3}, {173, 9}, {500, 9},
                 {500, 9},   {0, 1}};
    int value = slider->getValue();
    int calls = 0;
    for (const Case& c : cases) {
        const int soundsBefore = selectSounds();
        auto* touch = new CCTouch();
        touch->setTouchInfo(0, c.x, 600 - 8);
        slider->handleTouch(touch);
        touch->release();
        EXPECT_EQ(slider->getValue(), c.value) << c.x;
        EXPECT_EQ(visibleSteps(slider), c.value) << c.x;
        EXPECT_EQ(selectSounds() - soundsBefore, c.value != value ? 1 : 0) << c.x;
        EXPECT_EQ(counter->count, ++calls);
        value = c.value;
    }
    // Through the menu: a touch-down on the slider moves its value at once.
    touchDown(100, 8);
    EXPECT_EQ(slider->getValue(), 5);  // 1 + (100 - 27) / 146 * 7, plus 1
    touchUp(100, 8);
    auto* broken = new GUISlider();
    EXPECT_EQ(broken->initWithFrameName(CCString::create("gamemenus_nothing.png"), ccp(1, 8), ccp(0, 1)), nullptr);
    EXPECT_TRUE(log.contains("initWithSpriteFrameName failed; return NULL"));
    broken->release();
}

TEST_F(Sliders, StepsAboveTheValueAreHiddenAndTheKnobStopsAtItsEnds)
{
    auto* slider = new GUISlider();
    slider->initWithFrameName(CCString::create("gamemenus_brushSizeSlider.png"), ccp(1, 8), ccp(27, 173));
    slider->setValue(3);
    CCArray* steps = CCArray::create();
    for (int i = 0; i < 5; ++i)
        steps->addObject(CCSprite::create());
    slider->setSteps(steps);
    EXPECT_EQ(visibleSteps(slider), 3);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(static_cast<CCNode*>(slider->getSteps()->objectAtIndex(i))->isVisible(), i < 3);

    CCSprite* knob = CCSprite::create();
    slider->addChild(knob);
    slider->setKnob(knob);
    slider->setKind(GUISlider::Knob);
    slider->positionKnob();  // position 1.0 = min
    EXPECT_TRUE(knob->getPosition().equals(ccp(27, 8)));
    for (int orientation : {GUISlider::Horizontal, GUISlider::Vertical}) {
        slider->setOrientation(orientation);
        auto* touch = new CCTouch();
        touch->setTouchInfo(0, 900, 600 - 900);  // far past both ends
        slider->handleTouch(touch);
        touch->release();
        slider->positionKnob();
        const CCPoint expected = orientation == GUISlider::Horizontal ? ccp(173, 8) : ccp(100, 173);
        EXPECT_TRUE(knob->getPosition().equals(expected)) << orientation;
    }
    slider->release();
}

using HoldButtons = GuiTest;

TEST_F(HoldButtons, OnlyTheHoldingTouchReleasesAndASlideMovesTheHold)
{
    Held<Counter> pressA, releaseA, pressB, releaseB;
    GUIDynamicButton* a = GUIDynamicButton::create(pressA->action(), releaseA->action(), "gamemenus_brush9.png");
    GUIDynamicButton* b = GUIDynamicButton::create(pressB->action(), releaseB->action(), "gamemenus_brush9.png");
    a->setPosition(ccp(100, 100));  // 8 x 8: x 96..104
    b->setPosition(ccp(100, 130));
    scene()->addChild(a);
    scene()->addChild(b);

    auto* first = new CCTouch();
    first->setTouchInfo(0, 100, 600 - 100);
    auto* second = new CCTouch();
    second->setTouchInfo(1, 101, 600 - 101);
    a->updateHold(first);
    EXPECT_EQ(pressA->count, 1);
    a->updateHold(second);  // a second touch neither presses nor releases
    second->setTouchInfo(1, 300, 600 - 300);
    a->updateHold(second);
    a->endHold(second);
    EXPECT_EQ(pressA->count, 1);
    EXPECT_EQ(releaseA->count, 0);
    // The holding finger slides from a onto b.
    first->setTouchInfo(0, 100, 600 - 130);
    a->updateHold(first);
    b->updateHold(first);
    EXPECT_EQ(releaseA->count, 1);
    EXPECT_EQ(pressB->count, 1);
    b->endHold(first);
    EXPECT_EQ(releaseB->count, 1);
    EXPECT_EQ(b->getHoldingTouch(), nullptr);
    // A touch that ends without the button seeing it is still safe to compare.
    b->updateHold(second = [&] {
        second->release();
        auto* t = new CCTouch();
        t->setTouchInfo(2, 100, 600 - 130);
        return t;
    }());
    EXPECT_EQ(b->getHoldingTouch(), second);
    second->release();  // the view lets go of it; the button still holds it
    ASSERT_NE(b->getHoldingTouch(), nullptr);
    EXPECT_EQ(b->getHoldingTouch()->retainCount(), 1u);
    first->release();
}

TEST_F(HoldButtons, TheDrawPanToggleSwapsOnlyWhenOneShows)
{
    Held<Counter> counter;
    DrawPanToggle* toggle = createDrawPanToggle(counter->action());
    ASSERT_NE(toggle->drawButton, nullptr);
    EXPECT_FALSE(toggle->drawButton->isVisible());
    EXPECT_FALSE(toggle->panButton->isVisible());
    switchDrawPanToggle(toggle);
    EXPECT_EQ(toggle->mode, 0);
    EXPECT_FALSE(toggle->drawButton->isVisible());
    toggle->drawButton->setVisible(true);
    switchDrawPanToggle(toggle);
    EXPECT_EQ(toggle->mode, 1);
    EXPECT_FALSE(toggle->drawButton->isVisible());
    EXPECT_TRUE(toggle->panButton->isVisible());
    switchDrawPanToggle(toggle);
    EXPECT_EQ(toggle->mode, 0);
    EXPECT_EQ(toggle->drawButton->getCallback(), toggle->panButton->getCallback());
    CCPoolManager::sharedPoolManager()->drain();  // the record keeps its buttons
    EXPECT_TRUE(toggle->drawButton->isVisible());
    delete toggle;
}

class Menus : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        menu = GUIBatchNodeMenu::create("pvr/gamemenus.png", 10);
        scene()->addChild(menu);
        host()->menu = menu;
        under = GUIButton::create(first->action(), "gamemenus_brushSizeSlider.png", nullptr);
        under->setPosition(ccp(200, 100));  // x 100..300, y 92..108
        over = GUIButton::create(second->action(), "gamemenus_brushSizeSlider.png", nullptr);
        over->setPosition(ccp(250, 100));  // x 150..350
        menu->addChild(under);
        menu->addChild(over);
    }
    Held<Counter> first, second;
    GUIBatchNodeMenu* menu = nullptr;
    GUIButton* under = nullptr;
    GUIButton* over = nullptr;
};

TEST_F(Menus, TheButtonAddedLastTakesThePressAndFiresOnReleaseOnIt)
{
    touchDown(200, 100);
    EXPECT_EQ(menu->getPressedButton(), over);
    EXPECT_TRUE(over->isPressed());
    stepSeconds(1.0f);  // no time limit
    touchUp(340, 100);
    EXPECT_EQ(second->count, 1);
    EXPECT_EQ(first->count, 0);
    EXPECT_FALSE(over->isPressed());
    // Released where both lie: the one on top, which took the press.
    touchDown(220, 100);
    touchUp(220, 100);
    EXPECT_EQ(second->count, 2);
    EXPECT_EQ(first->count, 0);
}

TEST_F(Menus, ReleasingElsewhereFiresNothing)
{
    touchDown(120, 100);  // under only
    EXPECT_EQ(menu->getPressedButton(), under);
    touchUp(340, 100);  // on over
    touchDown(120, 100);
    touchUp(700, 500);  // on nothing
    EXPECT_EQ(first->count + second->count, 0);
    EXPECT_FALSE(under->isPressed());
    CCPoolManager::sharedPoolManager()->drain();  // only the menu holds its buttons now
    touchDown(120, 100);
    under->removeFromParent();  // gone before the release
    touchUp(120, 100);
    EXPECT_EQ(first->count, 0);
}

TEST_F(Menus, FireOnPressFiresAfter50msAndTheReleaseAddsNothing)
{
    menu->setFireOnPress(true);
    touchDown(120, 100);
    EXPECT_TRUE(menu->hasFiredOnPress());
    EXPECT_EQ(menu->getPressedButton(), nullptr);
    EXPECT_EQ(first->count, 0);
    stepSeconds(0.06f);
    EXPECT_EQ(first->count, 1);
    touchUp(120, 100);
    stepSeconds(0.1f);
    EXPECT_EQ(first->count, 1);
    touchDown(700, 500);
    EXPECT_FALSE(menu->hasFiredOnPress());
    touchUp(700, 500);
    stepSeconds(0.1f);
    EXPECT_EQ(first->count + second->count, 1);
}

using Borders = GuiTest;

TEST_F(Borders, OnAWideScreenEachBorderCoversItsMarginAndTouchesTheDesignArea)
{
    resetScreenMetricsForTests();
    computeScreenMetrics(CCSize(1200, 600));  // 1.5 times the 4:3 area
    auto* layer = new GUIBorderLayer();
    const float margin = (screenSize.width - visibleSize.width) / 2;
    ASSERT_GT(margin, 0);
    CCSprite* left = layer->getLeftBorder();
    CCSprite* right = layer->getRightBorder();
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(layer->getZOrder(), 100);
    for (CCSprite* border : {left, right}) {
        const CCRect box = border->boundingBox();
        EXPECT_GE(box.size.width, margin - 1e-3);
        EXPECT_GE(box.size.height, screenSize.height - 1e-3);
        EXPECT_FLOAT_EQ(box.origin.y, 0);
    }
    EXPECT_NEAR(left->boundingBox().getMaxX(), margin, 1e-3);
    EXPECT_NEAR(right->boundingBox().getMinX(), screenSize.width - margin, 1e-3);
    layer->release();
}
