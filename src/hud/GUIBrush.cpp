// The tool menu's brush-size slider.
#include <algorithm>
#include <string>

#include "gui/GUISlider.h"
#include "hud/GUI.h"

USING_NS_CC;

GUISlider* GUI::getBrushSlider()
{
    if (m_brushSlider)
        return m_brushSlider;
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/gamemenus.plist");
    auto* slider = new GUISlider();
    // Values 1..8 over the bar's inner length; a stepped slider's last step
    // reaches 9.
    if (!slider->initWithFrameName(CCString::create("gamemenus_brushSizeSlider.png"), ccp(1, 8), ccp(27, 173))) {
        delete slider;
        return nullptr;
    }
    CCArray* steps = CCArray::create();
    for (int i = 1; i <= 9; ++i) {
        const std::string frame = "gamemenus_brush" + std::to_string(i) + ".png";
        if (CCSprite* step = CCSprite::createWithSpriteFrameName(frame.c_str())) {
            const CCSize size = slider->getContentSize();
            step->setPosition(ccp(27 + (173 - 27) * static_cast<float>(i - 1) / 8.0f, size.height / 2));
            steps->addObject(step);
        }
    }
    slider->setSteps(steps);
    slider->setAnchorPoint(ccp(0, 1));
    m_brushSlider = slider;  // the reference from new is the HUD's
    return m_brushSlider;
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
    }
}

void GUI::addBrushSlider(CCNode* content, const CCPoint& at)
{
    GUISlider* slider = getBrushSlider();
    if (!slider || !content)
        return;
    slider->removeFromParentAndCleanup(false);
    // Unscaled: the slider reads touches in its parent's units.
    slider->setPosition(at);
    slider->setEnabled(true);
    content->addChild(slider);
}

void GUI::releaseBrushSlider()
{
    if (m_brushSlider)
        m_brushSlider->removeFromParentAndCleanup(false);
    CC_SAFE_RELEASE(m_brushSlider);
    m_brushSlider = nullptr;
}
