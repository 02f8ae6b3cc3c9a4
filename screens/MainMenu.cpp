#include "screens/MainMenu.h"

#include "SimpleAudioEngine.h"
#include "app/Logger.h"
#include "app/Utils.h"

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
    LOG << "MainMenu: not built yet, an empty main-menu scene";
}
