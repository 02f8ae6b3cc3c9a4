#include "screens/GUIIntro.h"

#include "base/Logger.h"
#include "campaigns/story/StorySteps.h"
#include "goals/AchievementManager.h"
#include "online/ServerLink.h"
#include "gui/ScreenUtils.h"
#include "profile/Profile.h"
#include "screens/GUINameInput.h"
#include "screens/MainMenu.h"

USING_NS_CC;

GUIIntro::GUIIntro()
{
    init();
    CCSize size = CCDirector::sharedDirector()->getWinSize();
    addChild(CCLayerColor::create(ccc4(0, 0, 0, 255), size.width, size.height));
    if (CCSprite* splash = CCSprite::create("images/app_icon.png")) {
        splash->setPosition(ccp(size.width / 2, size.height / 2));
        splash->setScale(4.0f);
        addChild(splash);
    } else {
        LOG_ERROR << "intro: no splash picture";
    }
    runAction(CCSequence::create(CCDelayTime::create(kSplashSeconds),
                                 CCCallFunc::create(this, callfunc_selector(GUIIntro::goOn)), NULL));
}

void GUIIntro::goOn()
{
    Profile* profile = Profile::getInstance();
    profile->load(true);
    // A day won before the game was killed on its board goes on now, so the
    // menu and the level lists count it.
    AchievementManager::getInstance()->settleWonDays();
    // What the story's boards and notices promised is the player's in every
    // mode from the start, free mode and the shop too.
    unlockReachedStoryBackgrounds();
    // The name screen asks once: a kept name goes straight to the menu, and
    // an account the server has not made yet is asked for again quietly.
    if (!profile->isRegistered() && !profile->hasNickname()) {
        CCDirector::sharedDirector()->replaceScene(GUINameInput::scene());
        return;
    }
    if (!profile->isRegistered() && ServerLink::getInstance()->isConfigured())
        ServerLink::getInstance()->createPlayerQuietly(profile, this, callfunc_selector(GUIIntro::onNameTaken));
    CCDirector::sharedDirector()->replaceScene(MainMenu::scene());
}

void GUIIntro::onNameTaken()
{
    // Asked as a new player is asked, from the menu the player was given.
    // A player who has gone on from it is asked by the next request that
    // needs the account, as ever.
    CCScene* running = CCDirector::sharedDirector()->getRunningScene();
    if (!running || MainMenu::getInstance()->getParent() != running || ScreenUtils::getInstance()->getCurrentWindow()) {
        LOG << "intro: the kept name is taken on this server; asked again at the next request that needs it";
        return;
    }
    LOG << "intro: the kept name is taken on this server; the name screen asks for another";
    CCDirector::sharedDirector()->replaceScene(GUINameInput::scene(true));
}
