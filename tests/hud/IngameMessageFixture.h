#pragma once
// The message window's fixture: the game scene pushed over a base scene (so
// that leaving it has somewhere to go), the window made new, the sounds
// counted, and the five sequences as the player sees them, page by page.
#include <functional>
#include <string>
#include <vector>

#include "SimpleAudioEngine.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "hud/GUIIngameMessage.h"
#include "hud/GUITopBar.h"
#include "profile/Profile.h"
#include "scene/SaveLoadUtils.h"
#include "support/GameSceneFixture.h"

namespace messagetest {

struct ExpectedPage {
    const char* picture;
    const char* text;
    const char* highlight;  // null for none
    float x, y;             // the highlight point, in the top bar's units
    bool ok;                // OK (the last page) or Next
};

struct Sequence {
    const char* name;
    std::function<void()> open;
    std::vector<ExpectedPage> pages;
};

inline const std::vector<Sequence>& sequences()
{
    static const std::vector<Sequence> all = {
        {"story introduction",
         [] { ScreenUtils::showStoryIntroduction(); },
         {{"intro_intro1.png", "IntroductionPart1", nullptr, 0, 0, false},
          {"intro_intro2.png", "IntroductionPart2", nullptr, 0, 0, false},
          {"intro_intro3.png", "IntroductionPart3", "intro_element.png", 0, 132, false},
          {"intro_intro4.png", "IntroductionPart4", "intro_day.png", 135, 132, false},
          {"intro_intro5.png", "IntroductionPart5", "intro_day.png", 175, 132, true}}},
        {"free-mode introduction",
         [] { ScreenUtils::showFreeModeIntroduction(); },
         {{"intro_freemode1.png", "IntroductionFreePart1", nullptr, 0, 0, false},
          {"intro_freemode2.png", "IntroductionFreePart2", "intro_day.png", 82, 132, false},
          {"intro_freemode3.png", "IntroductionFreePart3", nullptr, 0, 0, false},
          {"intro_freemode4.png", "IntroductionFreePart4", "intro_save.png", 151, 132, false},
          {"intro_freemode5.png", "IntroductionFreePart5", "intro_camera.png", 210, 132, true}}},
        {"day 2 reminder",
         [] { ScreenUtils::showStoryReminder(2); },
         {{"intro_day2.png", "StoryReminderIntro1", "intro_glow_day2.png", 83, 132, true}}},
        {"day 3 reminder",
         [] { ScreenUtils::showStoryReminder(3); },
         {{"intro_day3.png", "StoryReminderIntro2", "intro_glow_day3.png", 0, 132, true}}},
        {"day 4 reminder",
         [] { ScreenUtils::showStoryReminder(4); },
         {{"intro_day4.png", "StoryReminderIntro3", "intro_glow_day4.png", 112, 132, true}}},
        {"outro", [] { ScreenUtils::showOutro(); }, {{"intro_outro.png", "Outro", nullptr, 0, 0, true}}},
    };
    return all;
}

class MessageScene : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        CocosDenshion::SimpleAudioEngine::sharedEngine()->clearRecordedCalls();
    }

    // Free play with the free-mode introduction seen: the entry schedules
    // nothing, so a test opens what it means to.
    void enterQuietly()
    {
        SaveLoadUtils::setFreePlay(true);
        Profile::getInstance()->setGameMode(-99);
        GUIIngameMessage::getInstance()->setFreeModeIntroDone(true);
        enterPushed();
    }

    void enterPushed()
    {
        world->setBigWorld(true);
        world->reset();
        cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
        director->runWithScene(cocos2d::CCScene::create());
        stepFrames(1);
        GUITopBar::getInstance()->buildCampaignBar();
        director->pushScene(GameLayer::scene());
        stepFrames(2);
    }

    static GUIIngameMessage* message() { return GUIIngameMessage::getInstance(); }
    static bool showing() { return GUIIngameMessage::getInstance()->getParent() != nullptr; }
    static bool barLocked() { return GUITopBar::getInstance()->isLocked(); }

    static int sounds(const std::string& name)
    {
        int count = 0;
        for (const auto& call : CocosDenshion::SimpleAudioEngine::sharedEngine()->recordedCalls())
            if (call.operation == "playEffect" && call.path.find(name) != std::string::npos)
                ++count;
        return count;
    }

    // A click on the button as the player makes it: through the game
    // layer's touches, then the button's short activation delay.
    void click(GUIButton* button)
    {
        ASSERT_NE(button, nullptr);
        // Pressed once the page has shown, as a player reads it first.
        for (cocos2d::CCNode* node = button; node; node = node->getParent())
            if (auto* window = dynamic_cast<GUIWindow*>(node)) {
                ASSERT_TRUE(stepUntil([&] { return window->takesPresses(); }));
                break;
            }
        const cocos2d::CCSize size = button->getContentSize();
        const cocos2d::CCPoint at = button->convertToWorldSpace(cocos2d::ccp(size.width / 2, size.height / 2));
        press(at.x, at.y);
        stepFrames(1);
        release(at.x, at.y);
        stepFrames(5);
    }

    // The page's text label (the background's first label).
    static GUILabel* pageText()
    {
        cocos2d::CCSprite* background = message()->getBackground();
        for (cocos2d::CCObject* child : *background->getChildren())
            if (auto* label = dynamic_cast<GUILabel*>(child))
                return label;
        return nullptr;
    }

    // The background's child showing that frame, or null.
    static cocos2d::CCSprite* childShowing(const char* frame)
    {
        cocos2d::CCSpriteFrame* wanted =
            cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frame);
        if (!wanted)
            return nullptr;
        for (cocos2d::CCObject* child : *message()->getBackground()->getChildren()) {
            auto* sprite = dynamic_cast<cocos2d::CCSprite*>(child);
            if (sprite && !dynamic_cast<GUILabel*>(sprite) && sprite->isFrameDisplayed(wanted))
                return sprite;
        }
        return nullptr;
    }
};

}  // namespace messagetest
