#include "screens/MainMenu.h"

#include "SimpleAudioEngine.h"
#include "app/Logger.h"
#include "app/Profile.h"
#include "app/SaveLoadUtils.h"
#include "app/Utils.h"
#include "hud/GUITopBar.h"
#include "world/GameLayer.h"

USING_NS_CC;

namespace {
MainMenu* g_mainMenu = nullptr;
}

MainMenu* MainMenu::getInstance()
{
    if (!g_mainMenu) {
        g_mainMenu = new MainMenu();
        g_mainMenu->init();
    }
    return g_mainMenu;
}

CCScene* MainMenu::scene()
{
    CCScene* scene = CCScene::create();
    scene->addChild(getInstance());
    return scene;
}

void MainMenu::onEnter()
{
    CCLayer::onEnter();
    // The title screen's music, looped.
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playBackgroundMusic(
        soundFilePath("music", "music_main_menu").c_str(), true);
    LOG << "MainMenu: not built yet, free play starts at once";
    startFreeMode();
}

void MainMenu::startFreeMode()
{
    Profile* profile = Profile::getInstance();
    profile->setGameMode(kFreeModeGameMode);
    profile->save();
    SaveLoadUtils::setFreePlay(true);
    World& world = GameLayer::getInstance()->getWorld();
    world.setBigWorld(true);
    world.reset();
    GUITopBar::getInstance()->buildFreeModeBar();
    CCDirector::sharedDirector()->replaceScene(GameLayer::scene());
}
