#include "screens/GameFrontEnd.h"

#include "screens/MainMenu.h"
#include "screens/OnlineGallery.h"

USING_NS_CC;

namespace {

// The main menu when the running scene shows it.
MainMenu* shownMenu()
{
    CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
    if (!scene)
        return nullptr;
    for (CCObject* child : *scene->getChildren())
        if (auto* menu = dynamic_cast<MainMenu*>(child))
            return menu;
    return nullptr;
}

}  // namespace

void GameFrontEnd::startFreeMode()
{
    MainMenu::getInstance()->startFreeMode();
}

CCScene* GameFrontEnd::galleryScene(bool fromMainMenu)
{
    return OnlineGallery::scene(fromMainMenu);
}

bool GameFrontEnd::mainMenuShown()
{
    return shownMenu() != nullptr;
}

void GameFrontEnd::refreshMainMenuMana()
{
    if (MainMenu* menu = shownMenu())
        menu->refreshManaLabel();
}

void GameFrontEnd::resumeMainMenu()
{
    if (MainMenu* menu = shownMenu())
        menu->schedule(schedule_selector(MainMenu::update), 1.0f / 30);
}
