#include "hud/GameGoalsUi.h"

#include "base/NSData.h"
#include "hud/GUI.h"
#include "hud/GUITopBar.h"
#include "scene/GameLayer.h"
#include "gui/ScreenUtils.h"

USING_NS_CC;

namespace {

GameLayer* layer()
{
    return GameLayer::existingInstance();
}

GUI* hud()
{
    return layer() ? layer()->getGUI() : nullptr;
}

GUITopBar* bar()
{
    return layer() ? GUITopBar::getInstance() : nullptr;
}

}  // namespace

void GameGoalsUi::showNotification(const std::string& text, const std::string& icon)
{
    if (GUITopBar* b = bar())
        b->showNotification(CCString::create(text), icon.empty() ? nullptr : CCString::create(icon));
}

void GameGoalsUi::playLilGodAnimation()
{
    if (GUITopBar* b = bar())
        b->playLilGodAnimation();
}

void GameGoalsUi::updateDayButton()
{
    if (GUITopBar* b = bar())
        b->updateDayButton();
}

void GameGoalsUi::unlock(DayItem kind, const std::string& name)
{
    GUI* gui = hud();
    if (!gui)
        return;
    switch (kind) {
    case DayItem::Element: gui->unlockElement(name); break;
    case DayItem::Tool: gui->unlockTool(name); break;
    case DayItem::Option: gui->unlockOption(name); break;
    }
    if (GUITopBar* b = bar())
        b->updateBadges();
}

bool GameGoalsUi::loadDaySettings(const std::string& worldName)
{
    GUI* gui = hud();
    return gui && gui->loadDaySettings(worldName);
}

void GameGoalsUi::showDayCleared(CCArray* elements, CCArray* options, CCArray* backgrounds, CCArray* mana)
{
    if (GameLayer* l = layer())
        l->showDayCleared(elements, options, backgrounds, mana);
}

bool GameGoalsUi::loadWorld(NSData* blob)
{
    GameLayer* l = layer();
    return l && blob && l->getWorld().load(blob);
}

std::string GameGoalsUi::loadedWorldName()
{
    CCString* name = layer() ? layer()->getLoadedWorldName() : nullptr;
    return name ? name->getString() : std::string();
}

void GameGoalsUi::setLoadedWorldName(const std::string& name)
{
    if (GameLayer* l = layer())
        l->setLoadedWorldName(CCString::create(name));
}

bool GameGoalsUi::overviewUsed()
{
    return layer() && layer()->getOverviewUsed();
}

void GameGoalsUi::setOverviewUsed(bool used)
{
    if (GameLayer* l = layer())
        l->setOverviewUsed(used);
}

void GameGoalsUi::setStoryLevel2Flag()
{
    if (GameLayer* l = layer())
        l->setStoryLevel2(true);
}

void GameGoalsUi::showStoryReminder(int day)
{
    ScreenUtils::showStoryReminder(day);
}

void GameGoalsUi::showFreeModeMessage()
{
    ScreenUtils::showFreeModeMessage();
}

void GameGoalsUi::showOutro()
{
    ScreenUtils::showOutro();
}
