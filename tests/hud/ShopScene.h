#pragma once
// The shop on screen, as a presenter would show it (no game code does): over
// the running game scene or over the main menu, made the current window, and
// driven by taps on its buttons, the back key and the manual clock. Test code
// only.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Utils.h"
#include "cocos2d.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "hud/PixelMarket.h"
#include "gui/BackButton.h"
#include "gui/ScreenUtils.h"
#include "screens/MainMenu.h"

namespace shoptest {

constexpr int kShopZ = 150;

// The shop over the running scene, the window it covers kept to give back.
inline PixelMarket* presentShop()
{
    PixelMarket* shop = PixelMarket::getInstance();
    cocos2d::CCScene* scene = cocos2d::CCDirector::sharedDirector()->getRunningScene();
    if (!shop || !scene)
        return nullptr;
    shop->initWithSize(cocos2d::CCDirector::sharedDirector()->getWinSize());
    shop->setPosition(cocos2d::CCPointZero);
    shop->setVisible(true);
    shop->setPreviousWindow(ScreenUtils::getInstance()->getCurrentWindow());
    ScreenUtils::getInstance()->setCurrentWindow(shop);
    scene->addChild(shop, kShopZ);
    return shop;
}

// The main menu's scene, running.
inline void runMainMenu()
{
    cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
    if (director->getRunningScene())
        director->replaceScene(MainMenu::scene());
    else
        director->runWithScene(MainMenu::scene());
    director->stepFrames(2, 1.0f / 60);
}

// The middle of a node on the screen.
inline cocos2d::CCPoint centreOf(cocos2d::CCNode* node)
{
    const cocos2d::CCSize size = node->getContentSize();
    return node->convertToWorldSpace(cocos2d::ccp(size.width / 2, size.height / 2));
}

// A tap: down, up, then long enough for a press to fire.
inline void tap(const cocos2d::CCPoint& at)
{
    cocos2d::CCEGLView* view = cocos2d::CCEGLView::sharedOpenGLView();
    view->simulateTouchBegan(7, at);
    view->simulateTouchEnded(7, at);
    cocos2d::CCDirector::sharedDirector()->stepFrames(18, 1.0f / 60);
}

inline void tap(cocos2d::CCNode* node)
{
    tap(centreOf(node));
}

// The back key, as the game routes it: to the front listener.
inline void pressBack()
{
    BackButtonAdapter::getInstance()->onBackPressed();
    cocos2d::CCDirector::sharedDirector()->stepFrames(2, 1.0f / 60);
}

// Does the sprite show that frame of the sheet?
inline bool shows(cocos2d::CCSprite* sprite, const char* frame)
{
    return sprite &&
        sprite->isFrameDisplayed(cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frame));
}

inline std::string textOf(GUILabel* label)
{
    return label && label->getText() ? label->getText()->getString() : std::string();
}

inline std::string captionOf(GUIButton* button)
{
    return button ? textOf(button->getLabel()) : std::string();
}

// The message of the popup that shows, or "".
inline std::string popupMessage()
{
    GUIPopup* popup = GUIPopup::getInstance();
    return popup->isShown() ? textOf(popup->getMessageLabel()) : std::string();
}

inline std::string offlineText()
{
    return LocalUtils::localize("NotificationOfflineMode")->getString();
}

// How often the sound (an effect's name, or a music track's) was started.
inline int timesPlayed(const char* name, bool looped = false)
{
    int times = 0;
    for (const auto& call : CocosDenshion::SimpleAudioEngine::sharedEngine()->recordedCalls())
        if ((call.operation == "playEffect" || call.operation == "playBackgroundMusic") &&
            call.path.find(name) != std::string::npos && call.loop == looped)
            ++times;
    return times;
}

}  // namespace shoptest
