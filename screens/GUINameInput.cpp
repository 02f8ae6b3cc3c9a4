#include "screens/GUINameInput.h"

#include "app/LocalUtils.h"
#include "app/Logger.h"
#include "gui/GUIProgressBar.h"
#include "screens/MainMenu.h"

USING_NS_CC;

GUINameInput* GUINameInput::create()
{
    GUINameInput* layer = new GUINameInput();
    layer->init();
    layer->autorelease();
    return layer;
}

CCScene* GUINameInput::scene()
{
    CCScene* scene = CCScene::create();
    scene->addChild(create());
    return scene;
}

void GUINameInput::onEnter()
{
    CCLayer::onEnter();
    LOG << "GUINameInput: not built yet, going on to the main menu";
    CCDirector::sharedDirector()->replaceScene(MainMenu::scene());
}

void GUINameInput::onLoginTimeout()
{
    unscheduleAllSelectors();
    LOG << "timeout";
    GUIProgressBar* bar = GUIProgressBar::getInstance();
    bar->setResultText(LocalUtils::localize("NetErrorTimeout"));
    bar->showFailure();
}
