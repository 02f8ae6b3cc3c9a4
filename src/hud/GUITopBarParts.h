#pragma once
// What the top bar's files (GUITopBar*.cpp) share: its sheet, font and
// sounds, the HUD it forwards to, and the small helpers for its nodes.
#include <string>

#include "SimpleAudioEngine.h"
#include "base/Utils.h"
#include "cocos2d.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "hud/GUI.h"
#include "scene/GameLayer.h"

namespace topbar {

inline constexpr const char* kSheetTexture = "pvr/guitopbar.png";
inline constexpr const char* kSheetFrames = "pvr/guitopbar.plist";
inline constexpr const char* kFont = "guitopbar_ach_fontButtons";
inline constexpr int kZoomHintPlateTag = 71;

inline void loadFrames()
{
    cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kSheetFrames);
}

inline void playSound(const char* name)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str(), false);
}

// The game layer's HUD window, or null.
inline GUI* hud()
{
    GameLayer* layer = GameLayer::existingInstance();
    return layer ? layer->getGUI() : nullptr;
}

// Sprites remember the frame the bar gave them, so that tests and the
// picture checks can tell which icon is shown.
inline cocos2d::CCSprite* frameSprite(const std::string& frame)
{
    cocos2d::CCSprite* sprite = cocos2d::CCSprite::createWithSpriteFrameName(frame.c_str());
    if (sprite)
        sprite->setUserObject(cocos2d::CCString::create(frame));
    return sprite;
}

inline void setIcon(GUIButton* button, const char* frame)
{
    if (!button || !frame)
        return;
    button->setIcon(frame);
    if (cocos2d::CCSprite* icon = button->getIcon())
        icon->setUserObject(cocos2d::CCString::create(frame));
}

inline GUILabel* newLabel(cocos2d::CCString* text)
{
    GUILabel* label = GUILabel::create();
    label->setScale(10.0f / GUILabel::fontSize);
    label->setText(text);
    return label;
}

inline void releaseButton(GUIButton* button)
{
    if (button)
        button->setPressed(false);
}

inline void removeNode(cocos2d::CCNode* node)
{
    if (node && node->getParent())
        node->removeFromParentAndCleanup(true);
}

}  // namespace topbar
