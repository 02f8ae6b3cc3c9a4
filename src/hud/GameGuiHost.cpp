#include "hud/GameGuiHost.h"

#include "base/Logger.h"
#include "gui/ScreenUtils.h"
#include "hud/GUIIngameMessage.h"
#include "hud/GUITopBar.h"
#include "scene/GameLayer.h"
#include "scene/WorldPictures.h"

USING_NS_CC;

namespace {

// The message window attached to the game scene (the game layer's parent)
// and made the current window; null when it is showing already or when
// there is no game scene to show it in.
GUIIngameMessage* attachMessageWindow(const char* sequence, bool withZOrder = true)
{
    GUIIngameMessage* message = GUIIngameMessage::getInstance();
    if (message->getParent())
        return nullptr;
    GameLayer* layer = GameLayer::existingInstance();
    CCNode* scene = layer ? layer->getParent() : nullptr;
    if (!scene) {
        LOG << "ScreenUtils: no game scene for the message window; the" << sequence << "is not shown";
        return nullptr;
    }
    ScreenUtils::getInstance()->setCurrentWindow(message);
    if (withZOrder)
        scene->addChild(message, GUIIngameMessage::kZOrder);
    else
        scene->addChild(message);
    return message;
}

}  // namespace

void GameGuiHost::closeWindow(GUIWindow* window)
{
    GameLayer::getInstance()->closeWindow(window);
}

void GameGuiHost::releaseTopBar()
{
    GUITopBar::getInstance()->setLocked(false);
    GUITopBar::getInstance()->resetButtons();
}

void GameGuiHost::showStoryIntroduction()
{
    if (GUIIngameMessage* message = attachMessageWindow("story introduction"))
        message->showStoryIntro();
}

void GameGuiHost::showFreeModeIntroduction()
{
    if (GUIIngameMessage* message = attachMessageWindow("free-mode introduction"))
        message->showFreeModeIntro();
}

void GameGuiHost::showStoryReminder(int number)
{
    if (GUIIngameMessage* message = attachMessageWindow("story reminder"))
        message->showStoryReminder(number);
}

void GameGuiHost::showFreeModeMessage()
{
    if (GUIIngameMessage* message = attachMessageWindow("free-mode message", false))
        message->showFreeModeMessage();
}

void GameGuiHost::showOutro()
{
    if (GUIIngameMessage* message = attachMessageWindow("outro")) {
        message->startSequence();
        message->showOutro();
    }
}

CCSprite* GameGuiHost::createWorldSnapshot()
{
    return WorldPictures::createWorldSnapshot();
}

CCSprite* GameGuiHost::loadThumbnailSprite(CCString* worldName)
{
    return WorldPictures::loadThumbnailSprite(worldName);
}
