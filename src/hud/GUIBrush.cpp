// The tool menu's brush-size slider.
#include <algorithm>
#include <string>

#include "base/LocalUtils.h"
#include "base/ScreenMetrics.h"
#include "gui/GUILabel.h"
#include "gui/GUISlider.h"
#include "gui/WeakCallRelay.h"
#include "hud/GUI.h"

USING_NS_CC;

namespace {
constexpr float kBrushSliderScale = 2.0f;
// The stretch of the bar that the values run along.
constexpr float kFrom = 27.0f, kTo = 173.0f;
}  // namespace

GUISlider* GUI::getBrushSlider()
{
    if (m_brushSlider)
        return m_brushSlider;
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/gamemenus.plist");
    auto* slider = new GUISlider();
    // Values 1..8 over the bar's inner length; a stepped slider's last step
    // reaches 9.
    if (!slider->initWithFrameName(CCString::create("gamemenus_brushSizeSlider.png"), ccp(1, 8), ccp(kFrom, kTo))) {
        delete slider;
        return nullptr;
    }
    CCArray* steps = CCArray::create();
    const CCSize size = slider->getContentSize();
    for (int i = 1; i <= 9; ++i) {
        const std::string frame = "gamemenus_brush" + std::to_string(i) + ".png";
        if (CCSprite* step = CCSprite::createWithSpriteFrameName(frame.c_str())) {
            // Each dot in the middle of the stretch a touch gives its size
            // in: 1 left of the range, 9 right of it, 2 to 8 in its sevenths.
            const float along = i == 1 ? kFrom / 2
                : i == 9               ? (kTo + size.width) / 2
                                       : kFrom + (kTo - kFrom) * (static_cast<float>(i) - 1.5f) / 7.0f;
            step->setPosition(ccp(along, size.height / 2));
            // Larger discs: a preview of the brush a player can see.
            step->setScale(1.75f);
            steps->addObject(step);
        }
    }
    slider->setSteps(steps);
    slider->setAnchorPoint(ccp(0, 1));
    // Twice its frame: a bar and a knob a finger or a mouse can hold.
    slider->setScale(kBrushSliderScale);
    // A ring around the chosen step, and the size in words at the right.
    if (CCSprite* knob = CCSprite::createWithSpriteFrameName("gamemenus_brushKnob.png")) {
        slider->addChild(knob, 2);
        slider->setKnob(knob);
    }
    GUILabel::setFontName("gamemenus_ach_fontButtons");
    GUILabel* label = GUILabel::create();
    label->setScale(7.0f * sheetScale() / GUILabel::fontSize / kBrushSliderScale);
    label->setAnchorPoint(ccp(0, 0.5f));
    label->setPosition(ccp(slider->getContentSize().width + 10, slider->getContentSize().height / 2));
    slider->addChild(label, 2, kBrushSizeLabelTag);
    slider->setCallback(CCCallFuncO::create(WeakCallRelay::create(this, callfuncO_selector(GUI::onBrushSizeChanged)),
                                            callfuncO_selector(WeakCallRelay::fire), nullptr));
    m_brushSlider = slider;  // the reference from new is the HUD's
    slider->refreshSteps();
    onBrushSizeChanged(nullptr);
    return m_brushSlider;
}

void GUI::onBrushSizeChanged(CCObject*)
{
    GUISlider* slider = m_brushSlider;
    auto* label = slider ? dynamic_cast<GUILabel*>(slider->getChildByTag(kBrushSizeLabelTag)) : nullptr;
    if (!label)
        return;
    GUILabel::setFontName("gamemenus_ach_fontButtons");
    label->setText(LocalUtils::localizeWithVar("BrushSizeLabel", std::to_string(getBrushSize()).c_str()));
}

int32_t GUI::getBrushSize()
{
    GUISlider* slider = getBrushSlider();
    return slider ? std::clamp(slider->getValue(), 1, 9) : 1;
}

void GUI::setBrushSize(int32_t size)
{
    if (GUISlider* slider = getBrushSlider()) {
        slider->setValue(std::clamp(size, 1, 9));
        slider->refreshSteps();
        onBrushSizeChanged(nullptr);
    }
}

void GUI::addBrushSlider(CCNode* content, const CCPoint& at)
{
    GUISlider* slider = getBrushSlider();
    if (!slider || !content)
        return;
    slider->removeFromParentAndCleanup(false);
    // The slider reads touches in its parent's units and its own scale.
    slider->setPosition(at);
    slider->setEnabled(true);
    content->addChild(slider);
    onBrushSizeChanged(nullptr);
}

void GUI::releaseBrushSlider()
{
    if (m_brushSlider)
        m_brushSlider->removeFromParentAndCleanup(false);
    CC_SAFE_RELEASE(m_brushSlider);
    m_brushSlider = nullptr;
}
