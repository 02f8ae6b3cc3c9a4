// The tool menu's brush slider: what a touch sets is the size the tools read,
// shown by a knob on the chosen step and in words.
#include <gtest/gtest.h>

#include "gui/GUILabel.h"
#include "support/GameSceneFixture.h"
#include "support/Readability.h"
#include "gui/GUISlider.h"
#include "world/Tool.h"

USING_NS_CC;

namespace {

class BrushSlider : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene();
        gui = layer->getGUI();
    }
    bool contentHolds(CCNode* node) const
    {
        return node && gui->getMenuContent() && node->getParent() == gui->getMenuContent();
    }

    GUI* gui = nullptr;
};

TEST_F(BrushSlider, TheBrushSliderSetsWhatTheToolsRead)
{
    gui->onMenuButton(GUI::kToolMenu, nullptr);
    GUISlider* slider = gui->getBrushSlider();
    ASSERT_NE(slider, nullptr);
    ASSERT_TRUE(contentHolds(slider));
    EXPECT_EQ(slider->getSteps()->count(), 9u);

    // Touches along the slider, in its own units from its left edge (drawn
    // at its scale).
    struct Case {
        float along;
        int size;
    };
    const float left = gui->getMenuContent()->getPosition().x + slider->getPosition().x;
    const float scale = slider->getScaleX();
    for (const Case c : {Case{-10, 1}, Case{0, 1}, Case{27, 2}, Case{100, 5}, Case{173, 9}, Case{400, 9}}) {
        CCTouch touch;
        touch.setTouchInfo(1, left + c.along * scale, 300);
        slider->handleTouch(&touch);
        EXPECT_EQ(gui->getBrushSize(), c.size) << c.along;
        EXPECT_EQ(Tool::brushSize(), c.size) << c.along;
        int shown = 0;
        for (CCObject* step : *slider->getSteps())
            shown += static_cast<CCNode*>(step)->isVisible() ? 1 : 0;
        EXPECT_EQ(shown, c.size) << c.along;
    }

    for (const Case c : {Case{0, 1}, Case{-3, 1}, Case{4, 4}, Case{12, 9}}) {
        gui->setBrushSize(static_cast<int32_t>(c.along));
        EXPECT_EQ(Tool::brushSize(), c.size) << c.along;
    }

    // Another menu and back: the same slider, the size kept.
    gui->setBrushSize(6);
    gui->onMenuButton(GUI::kWorldSettingsMenu, nullptr);
    EXPECT_FALSE(contentHolds(slider));
    gui->onMenuButton(GUI::kToolMenu, nullptr);
    EXPECT_EQ(gui->getBrushSlider(), slider);
    EXPECT_TRUE(contentHolds(slider));
    EXPECT_EQ(Tool::brushSize(), 6);
}

TEST_F(BrushSlider, TheBrushSliderHasAKnobOnTheChosenStepAndSaysTheSize)
{
    testsupport::LanguageTable english("en");
    gui->onMenuButton(GUI::kToolMenu, nullptr);
    GUISlider* slider = gui->getBrushSlider();
    ASSERT_NE(slider, nullptr);
    ASSERT_NE(slider->getKnob(), nullptr);
    auto* label = dynamic_cast<GUILabel*>(slider->getChildByTag(GUI::kBrushSizeLabelTag));
    ASSERT_NE(label, nullptr);
    for (int size : {1, 5, 9}) {
        gui->setBrushSize(size);
        auto* step = static_cast<CCNode*>(slider->getSteps()->objectAtIndex(static_cast<unsigned>(size - 1)));
        EXPECT_FLOAT_EQ(slider->getKnob()->getPosition().x, step->getPosition().x) << size;
        EXPECT_EQ(label->getText()->getString(), "Brush size: " + std::to_string(size));
    }
    // The knob is a handle, not a dot: at least 8 x 16 screen pixels.
    const CCSize size = slider->getKnob()->boundingBox().size;
    EXPECT_GE(size.width * slider->getScale(), 8);
    EXPECT_GE(size.height * slider->getScale(), 16);
    // A touch moves both.
    CCTouch touch;
    touch.setTouchInfo(1, gui->getMenuContent()->getPosition().x + slider->getPosition().x + 100 * slider->getScaleX(),
                       300);
    slider->handleTouch(&touch);
    EXPECT_EQ(label->getText()->getString(), "Brush size: 5");
}

// A click on a dot as it is drawn, at its centre or near its edges, gives
// that dot's size, whatever size was chosen before.
TEST_F(BrushSlider, EachDotGivesItsOwnSize)
{
    gui->onMenuButton(GUI::kToolMenu, nullptr);
    stepSeconds(1.0f);
    GUISlider* slider = gui->getBrushSlider();
    ASSERT_NE(slider, nullptr);
    for (int before : {1, 5, 9})
        for (int size = 1; size <= 9; ++size) {
            auto* dot = static_cast<CCNode*>(slider->getSteps()->objectAtIndex(static_cast<unsigned>(size - 1)));
            const CCRect box = dot->boundingBox();
            for (float along : {box.getMidX(), box.getMinX() + 1, box.getMaxX() - 1}) {
                gui->setBrushSize(before);
                const CCPoint at = slider->convertToWorldSpace(ccp(along, box.getMidY()));
                press(at.x, at.y);
                release(at.x, at.y);
                stepFrames(2);
                EXPECT_EQ(gui->getBrushSize(), size)
                    << "dot " << size << " at " << along << ", size " << before << " before";
            }
        }
}

TEST_F(BrushSlider, TheKnobDragsAlongItsTrackInItsSteps)
{
    gui->onMenuButton(GUI::kToolMenu, nullptr);
    stepSeconds(1.0f);
    GUISlider* slider = gui->getBrushSlider();
    ASSERT_NE(slider, nullptr);
    gui->setBrushSize(1);
    // Screen points along the track, in the slider's own units from its left edge.
    auto along = [&](float t) { return slider->convertToWorldSpace(ccp(t, slider->getContentSize().height / 2)); };
    const CCPoint knob = along(27);
    press(knob.x, knob.y);
    for (float t = 27; t <= 200; t += 8)
        drag(along(t).x, knob.y);
    EXPECT_EQ(gui->getBrushSize(), 9) << "dragged to the end";
    drag(along(58).x, knob.y + 3);
    release(along(58).x, knob.y + 3);
    stepFrames(2);
    EXPECT_EQ(gui->getBrushSize(), 3) << "and back to the third step";
    EXPECT_EQ(Tool::brushSize(), 3);
    auto* third = static_cast<CCNode*>(slider->getSteps()->objectAtIndex(2));
    EXPECT_FLOAT_EQ(slider->getKnob()->getPosition().x, third->getPosition().x);
}

}  // namespace
