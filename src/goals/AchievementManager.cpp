#include "goals/AchievementManager.h"

#include "base/Logger.h"
#include "profile/Profile.h"
#include "hud/GUI.h"
#include "scene/GameLayer.h"

AchievementManager* AchievementManager::getInstance()
{
    static AchievementManager* instance = new AchievementManager();
    return instance;
}

void AchievementManager::notBuilt(const char* what)
{
    if (m_told.find(std::string_view(what)) != m_told.end())
        return;
    m_told.emplace(what);
    LOG << what;
}

void AchievementManager::checkMissions()
{
    notBuilt("AchievementManager: goals are not built yet; missions and achievements are not tested");
}

void AchievementManager::checkAchievements()
{
    notBuilt("AchievementManager: goals are not built yet; missions and achievements are not tested");
}

bool AchievementManager::hasActiveGoals()
{
    notBuilt("not built yet: the day's active goals (a day is never cleared)");
    return true;
}

std::vector<std::pair<std::string, std::string>> AchievementManager::activeMissions()
{
    notBuilt("not built yet: the day's missions (today's goals list is empty)");
    return {};
}

void AchievementManager::completeAllMissions()
{
    notBuilt("not built yet: completing the day's missions (the skip completes none)");
}

bool AchievementManager::hasCurrentStep()
{
    notBuilt("not built yet: the day's level step (the next-day button only closes the board)");
    return false;
}

void AchievementManager::startDay(int day)
{
    m_startedDay = day;
    notBuilt("not built yet: a story day's goals (the day starts without goals)");
}

std::string AchievementManager::dayName(int gameMode, int day)
{
    if (gameMode == 0)
        return "Day" + std::to_string(day);
    return "Day" + std::to_string(gameMode) + "_" + std::to_string(day);
}

void AchievementManager::loadDay(int day)
{
    notBuilt("not built yet: a day's prepared world (the current world stays)");
    GameLayer* layer = GameLayer::existingInstance();
    if (GUI* gui = layer ? layer->getGUI() : nullptr)
        gui->loadDaySettings(dayName(Profile::getInstance()->getGameMode(), day));
}
