#include "goals/GoalsUi.h"

USING_NS_CC;

namespace {

// Before the game's is put in: nothing shows, no world loads.
class PlainGoalsUi : public GoalsUi {
public:
    void showNotification(const std::string&, const std::string&) override { }
    void playLilGodAnimation() override { }
    void updateDayButton() override { }
    void unlock(DayItem, const std::string&) override { }
    bool loadDaySettings(const std::string&) override { return false; }
    void showDayCleared(CCArray*, CCArray*, CCArray*, CCArray*) override { }
    bool loadWorld(NSData*) override { return false; }
    std::string loadedWorldName() override { return std::string(); }
    void setLoadedWorldName(const std::string&) override { }
    bool overviewUsed() override { return false; }
    void setOverviewUsed(bool) override { }
    void setStoryLevel2Flag() override { }
    void showStoryReminder(int) override { }
    void showFreeModeMessage() override { }
    void showOutro() override { }
};

PlainGoalsUi g_plain;
GoalsUi* g_game = nullptr;
GoalsUi* g_installed = nullptr;

}  // namespace

GoalsUi& goalsUi()
{
    if (g_installed)
        return *g_installed;
    return g_game ? *g_game : g_plain;
}

GoalsUi* setGoalsUi(GoalsUi* ui)
{
    GoalsUi* previous = g_installed;
    g_installed = ui;
    return previous;
}

void setGameGoalsUi(GoalsUi* ui)
{
    g_game = ui;
}

GoalsUi& plainGoalsUi()
{
    return g_plain;
}
