// The game's GoalsUi: the real top bar, HUD, game layer and message pages.
// The bar is asked for only once a game layer exists, so that a silent
// replay before the game scene makes no window.
#include "base/NSData.h"
#include "goals/GoalsUi.h"
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

class GameGoalsUi : public GoalsUi {
public:
    void showNotification(const std::string& text, const std::string& icon) override
    {
        if (GUITopBar* b = bar())
            b->showNotification(CCString::create(text), icon.empty() ? nullptr : CCString::create(icon));
    }
    void playLilGodAnimation() override
    {
        if (GUITopBar* b = bar())
            b->playLilGodAnimation();
    }
    void updateDayButton() override
    {
        if (GUITopBar* b = bar())
            b->updateDayButton();
    }

    void unlock(DayItem kind, const std::string& name) override
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
    bool loadDaySettings(const std::string& worldName) override
    {
        GUI* gui = hud();
        return gui && gui->loadDaySettings(worldName);
    }

    void showDayCleared(CCArray* elements, CCArray* options, CCArray* backgrounds, CCArray* mana) override
    {
        if (GameLayer* l = layer())
            l->showDayCleared(elements, options, backgrounds, mana);
    }
    bool loadWorld(NSData* blob) override
    {
        GameLayer* l = layer();
        return l && blob && l->getWorld().load(blob);
    }
    std::string loadedWorldName() override
    {
        CCString* name = layer() ? layer()->getLoadedWorldName() : nullptr;
        return name ? name->getString() : std::string();
    }
    void setLoadedWorldName(const std::string& name) override
    {
        if (GameLayer* l = layer())
            l->setLoadedWorldName(CCString::create(name));
    }
    bool overviewUsed() override { return layer() && layer()->getOverviewUsed(); }
    void setOverviewUsed(bool used) override
    {
        if (GameLayer* l = layer())
            l->setOverviewUsed(used);
    }
    void setStoryLevel2Flag() override
    {
        if (GameLayer* l = layer())
            l->setStoryLevel2(true);
    }

    void showStoryReminder(int day) override { ScreenUtils::showStoryReminder(day); }
    void showFreeModeMessage() override { ScreenUtils::showFreeModeMessage(); }
    void showOutro() override { ScreenUtils::showOutro(); }
};

GoalsUi* g_installed = nullptr;

}  // namespace

GoalsUi& goalsUi()
{
    static GameGoalsUi game;
    return g_installed ? *g_installed : game;
}

GoalsUi* setGoalsUi(GoalsUi* ui)
{
    GoalsUi* previous = g_installed;
    g_installed = ui;
    return previous;
}
