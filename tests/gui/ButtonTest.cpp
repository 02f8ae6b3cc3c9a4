// Buttons: tints, activation through the busy flag, captions and icons.
#include "GuiFixture.h"

#include "gui/ScreenUtils.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"

USING_NS_CC;
using guitest::Counter;
using guitest::GuiTest;
using guitest::Held;

namespace {

bool tinted(GUIButton* button, const ccColor3B& c)
{
    const ccColor3B& t = button->getColor();
    return t.r == c.r && t.g == c.g && t.b == c.b;
}

}  // namespace

using Buttons = GuiTest;

TEST_F(Buttons, TheFlagSetLastDecidesTheTint)
{
    const ccColor3B grey = GUIButton::kPressedTint, blue = GUIButton::kSelectedTint, white = GUIButton::kPlainTint;
    struct Step {
        bool pressed;  // else selected
        bool value;
        ccColor3B expected;
    };
    const std::vector<std::vector<Step>> sequences = {
        {{true, true, grey}, {false, true, blue}},                        // pressed then selected: blue
        {{false, true, blue}, {true, true, grey}},                        // selected then pressed: grey
        {{false, true, blue}, {true, true, grey}, {true, false, blue}},   // unpressing a selected one
        {{true, true, grey}, {false, true, blue}, {false, false, grey}},  // unselecting a pressed one
        {{true, true, grey}, {true, false, white}},
    };
    for (const auto& steps : sequences) {
        GUIButton* button = GUIButton::create(nullptr, "gamemenus_brush1.png", nullptr);
        for (const Step& step : steps) {
            if (step.pressed)
                button->setPressed(step.value);
            else
                button->setSelected(step.value);
            EXPECT_TRUE(tinted(button, step.expected));
        }
    }
}

TEST_F(Buttons, ADisabledButtonKeepsItsFlagsTintAndSilence)
{
    Held<Counter> counter;
    GUIButton* button = GUIButton::create(counter->action(), "gamemenus_brush1.png", nullptr);
    button->setSelected(true);
    button->setEnabled(false);
    button->setPressed(true);
    button->setSelected(false);
    EXPECT_FALSE(button->isPressed());
    EXPECT_TRUE(button->isSelected());
    EXPECT_TRUE(tinted(button, GUIButton::kSelectedTint));
    button->activate();
    EXPECT_EQ(counter->count, 0);
    EXPECT_TRUE(tinted(button, GUIButton::kSelectedTint));
}

TEST_F(Buttons, WhileBusyAnActivationOnlyUnpresses)
{
    Held<Counter> counter;
    GUIButton* button = GUIButton::create(counter->action(), "gamemenus_brush1.png", nullptr);
    button->setSelected(true);
    button->setPressed(true);
    ScreenUtils::getInstance()->setBusy(true);
    button->activate();
    EXPECT_EQ(counter->count, 0);
    EXPECT_FALSE(button->isPressed());
    EXPECT_TRUE(tinted(button, GUIButton::kSelectedTint));
    ScreenUtils::getInstance()->setBusy(false);
    button->activate();
    EXPECT_EQ(counter->count, 1);
}

TEST_F(Buttons, ADelayedActivationHoldsEveryOtherButtonBackFor50ms)
{
    Held<Counter> first, second;
    GUIButton* a = GUIButton::create(first->action(), "gamemenus_brush1.png", nullptr);
    GUIButton* b = GUIButton::create(second->action(), "gamemenus_brush2.png", nullptr);
    scene()->addChild(a);
    scene()->addChild(b);
    a->setActivateDelayed(true);
    b->setActivateDelayed(true);
    a->activate();
    EXPECT_TRUE(ScreenUtils::getInstance()->isBusy());
    stepFrames(1);
    b->activate();  // dropped
    EXPECT_EQ(first->count, 0);
    stepFrames(3);
    EXPECT_EQ(first->count, 1);
    EXPECT_EQ(second->count, 0);
    EXPECT_FALSE(ScreenUtils::getInstance()->isBusy());
    stepFrames(10);
    EXPECT_EQ(first->count, 1);
}

TEST_F(Buttons, ADelayedActivationDroppedWithItsSceneClearsTheBusyFlag)
{
    Held<Counter> counter;
    GUIButton* button = GUIButton::create(counter->action(), "gamemenus_brush1.png", nullptr);
    button->retain();
    button->setActivateDelayed(true);
    button->activate();
    ASSERT_TRUE(ScreenUtils::getInstance()->isBusy());
    CCDirector::sharedDirector()->replaceScene(CCScene::create());  // the old scene is cleaned up
    stepFrames(2);
    EXPECT_FALSE(ScreenUtils::getInstance()->isBusy());
    EXPECT_EQ(counter->count, 0);
    Held<Counter> later;
    GUIButton* next = GUIButton::create(later->action(), "gamemenus_brush2.png", nullptr);
    next->setActivateDelayed(true);
    next->activate();
    stepFrames(4);
    EXPECT_EQ(later->count, 1);
    button->release();
}

TEST_F(Buttons, CaptionsDefaultToBlackAtTheOriginAndKeepWhatTheyReplace)
{
    GUIButton* bare = new GUIButton();
    bare->initWithLabel(nullptr);
    bare->getLabel();
    bare->release();

    auto* plain = new GUIButton();  // no caption at all
    plain->setText(CCString::create("ab"));
    GUILabel* caption = plain->getLabel();
    ASSERT_NE(caption, nullptr);
    EXPECT_TRUE(caption->getColor().r == 0 && caption->getColor().g == 0 && caption->getColor().b == 0);
    EXPECT_TRUE(caption->getPosition().equals(CCPointZero));
    EXPECT_TRUE(caption->getAnchorPoint().equals(CCPointZero));
    EXPECT_FLOAT_EQ(caption->getScale(), 1);
    plain->release();

    GUIButton* button = GUIButton::create(nullptr, "gamemenus_brushSizeSlider.png", nullptr);
    button->setText(CCString::create("ab"), 20, ccp(5, 6), ccp(0.5f, 0.5f), ccc3(1, 2, 3));
    button->setText(CCString::create("cd"), 10);
    GUILabel* kept = button->getLabel();
    EXPECT_TRUE(kept->getPosition().equals(ccp(5, 6)));
    EXPECT_TRUE(kept->getAnchorPoint().equals(ccp(0.5f, 0.5f)));
    EXPECT_EQ(kept->getColor().b, 3);
    EXPECT_FLOAT_EQ(kept->getScale(), 10 / GUILabel::fontSize);
    button->setText(CCString::create("ef"));
    EXPECT_FLOAT_EQ(button->getLabel()->getScale(), 10 / GUILabel::fontSize);
    EXPECT_STREQ(button->getText()->getCString(), "ef");
}

TEST_F(Buttons, ACaptionReplacedAfterItsFrameKeepsItsPlace)
{
    // Once the frame is over, the button holds the only reference to its
    // caption: the new one must not read the old one's position after it went.
    GUIButton* button = GUIButton::create(nullptr, "gamemenus_brushSizeSlider.png", nullptr);
    button->retain();
    button->setText(CCString::create("ab"), 20, ccp(5, 6), ccp(0.5f, 0.5f), ccc3(1, 2, 3));
    stepFrames(1);
    button->setText(CCString::create("cd"));
    EXPECT_TRUE(button->getLabel()->getPosition().equals(ccp(5, 6)));
    button->release();
}

TEST_F(Buttons, IconsAndTheTextOfAButtonWithoutCaption)
{
    GUIButton* button = GUIButton::create(nullptr, "gamemenus_brushSizeSlider.png", "gamemenus_brush3.png");
    ASSERT_TRUE(button->hasIcon());
    GUILabel* caption = button->getLabel();
    button->setIcon("gamemenus_brush4.png");
    EXPECT_EQ(button->getLabel(), caption);    // still held
    EXPECT_EQ(caption->getParent(), nullptr);  // but no longer shown
    EXPECT_EQ(button->getChildrenCount(), 1u);
    EXPECT_TRUE(button->toggle());
    EXPECT_TRUE(button->getIcon()->isVisible());
    EXPECT_FALSE(button->toggle());
    EXPECT_FALSE(button->getIcon()->isVisible());
    button->removeIcon();
    EXPECT_FALSE(button->hasIcon());
    EXPECT_TRUE(button->toggle());  // only the flag flips

    auto* empty = new GUIButton();
    ASSERT_NE(empty->getText(), nullptr);
    EXPECT_STREQ(empty->getText()->getCString(), "");
    empty->release();
}

TEST_F(Buttons, HitRectIsTheUnscaledRectangleInTheParent)
{
    GUIButton* button = GUIButton::create(nullptr, "gamemenus_brushSizeSlider.png", nullptr);  // 200 x 16
    button->setPosition(ccp(300, 100));
    button->setScale(3);
    const CCRect hit = button->getHitRect();
    EXPECT_FLOAT_EQ(hit.origin.x, 200);
    EXPECT_FLOAT_EQ(hit.origin.y, 92);
    EXPECT_FLOAT_EQ(hit.size.width, 200);
    EXPECT_FLOAT_EQ(hit.size.height, 16);
}
