#include "goals/AchievementManager.h"

#include "app/Logger.h"

AchievementManager* AchievementManager::getInstance()
{
    static AchievementManager* instance = new AchievementManager();
    return instance;
}

void AchievementManager::noteNotBuilt()
{
    if (m_notedNotBuilt)
        return;
    m_notedNotBuilt = true;
    LOG << "AchievementManager: goals are not built yet; missions and achievements are not tested";
}

void AchievementManager::checkMissions() { noteNotBuilt(); }
void AchievementManager::checkAchievements() { noteNotBuilt(); }

bool AchievementManager::hasActiveGoals()
{
    noteNotBuilt();
    return true;
}

std::vector<std::pair<std::string, std::string>> AchievementManager::activeMissions()
{
    noteNotBuilt();
    return {};
}

void AchievementManager::completeAllMissions() { noteNotBuilt(); }

bool AchievementManager::hasCurrentStep()
{
    noteNotBuilt();
    return false;
}

void AchievementManager::startDay(int day)
{
    m_startedDay = day;
    if (!m_notedDayNotBuilt) {
        m_notedDayNotBuilt = true;
        LOG << "not built yet: a story day's goals and restrictions (the day starts empty)";
    }
}

void AchievementManager::loadDay(int) {}
