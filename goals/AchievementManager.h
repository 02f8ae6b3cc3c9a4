#pragma once
// AchievementManager: the goals singleton that tests the active missions and
// the user achievements once per world step. NOT BUILT YET: the goals
// framework comes with its own work; until then both checks do nothing (the
// first call logs that once).
class AchievementManager {
public:
    static AchievementManager* getInstance();

    void checkMissions();
    void checkAchievements();
    // Whether a goal of the running day is still open; true while goals are
    // not built (a day is never cleared).
    bool hasActiveGoals();

private:
    AchievementManager() = default;
    void noteNotBuilt();
    bool m_notedNotBuilt = false;
};
