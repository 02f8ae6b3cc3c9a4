#pragma once
// AchievementManager: the goals singleton that tests the active missions and
// the user achievements once per world step. NOT BUILT YET: the goals
// framework comes with its own work; until then both checks do nothing (the
// first call logs that once).
#include <string>
#include <utility>
#include <vector>

class AchievementManager {
public:
    static AchievementManager* getInstance();

    void checkMissions();
    void checkAchievements();
    // Whether a goal of the running day is still open; true while goals are
    // not built (a day is never cleared).
    bool hasActiveGoals();
    // The running day's missions, as (name, briefing); none while goals are
    // not built.
    std::vector<std::pair<std::string, std::string>> activeMissions();
    // Completes every active mission at once (the goals window's skip).
    void completeAllMissions();
    // Whether a campaign step runs whose day can end (the next-day button).
    bool hasCurrentStep();
    // Starting and loading a story day. Until goals are built the day starts
    // empty with nothing restricted; the day number is kept (logged once).
    void startDay(int day);
    void loadDay(int day);
    int lastStartedDay() const { return m_startedDay; }

private:
    AchievementManager() = default;
    void noteNotBuilt();
    bool m_notedNotBuilt = false;
    bool m_notedDayNotBuilt = false;
    int m_startedDay = 0;
};
