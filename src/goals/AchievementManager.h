#pragma once
// AchievementManager: the goals singleton that tests the active missions and
// the user achievements once per world step. NOT BUILT YET: the goals
// framework comes with its own work; until then every operation answers as a
// day without goals, and each logs once that it is not built.
#include <set>
#include <string>
#include <string_view>
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
    // Starting and loading a day. Until goals are built the day starts with
    // no goals and its prepared world is not loaded; the day number is kept
    // and loadDay restricts the HUD to the day's settings file.
    void startDay(int day);
    void loadDay(int day);
    int lastStartedDay() const { return m_startedDay; }
    // The day's file name: "Day<d>" in the story (game mode 0), else
    // "Day<mode>_<d>".
    static std::string dayName(int gameMode, int day);
    // Each stand-in logs again (tests).
    void forgetNotesForTests() { m_told.clear(); }

private:
    AchievementManager() = default;
    void notBuilt(const char* what);
    // Transparent: a note already told is found without building a string
    // (the checks run after every world step).
    std::set<std::string, std::less<>> m_told;
    int m_startedDay = 0;
};
