#pragma once
// AchievementManager: the goals singleton. It owns the running day's goals:
// the active missions (tested once per world step, in the order they were
// added), the completed ones (freed when the next day begins) and the
// current level step, which closes the day and sets up the next. It starts a
// day of a game mode from that mode's entry missions and first step,
// replaying the earlier days silently (not live), ends days, loads a day's
// prepared world and settings, and unlocks the user achievements.
//
// Invariants: a goal is in at most one place (active list, completed list,
// current step); a goal the manager lets go of is freed only when the
// outermost manager call returns, so a goal may replace itself (a step that
// makes its successor current) and go on running until it returns.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "goals/AchievementBase.h"

class AchievementManager {
public:
    using GoalMaker = AchievementBase* (*)();

    static AchievementManager* getInstance();
    // Tests: frees every goal and starts a new manager.
    static void resetInstanceForTests();

    // --- the day's goals -------------------------------------------------------------
    // Takes the mission over and appends it; it is tested from the next step.
    void addMission(AchievementBase* mission);
    // Takes the step over; the one it replaces is let go of.
    void setCurrentStep(AchievementBase* step);
    AchievementBase* getCurrentStep() const { return m_step; }
    bool hasCurrentStep() const { return m_step != nullptr; }
    // A mission of the day is still open.
    bool hasActiveGoals() const { return m_active.count > 0; }
    int32_t activeCount() const { return m_active.count; }
    int32_t completedCount() const { return m_completed.count; }
    AchievementBase* firstActive() const { return m_active.head; }
    AchievementBase* firstCompleted() const { return m_completed.head; }
    // The active missions as (name, briefing), in order; the completed ones
    // likewise.
    std::vector<std::pair<std::string, std::string>> activeMissions();
    std::vector<std::pair<std::string, std::string>> completedMissions();
    // Live play; off while earlier days are replayed.
    bool isLive() const { return m_live != 0; }
    // The first-time flag: the day running was never closed before, so its
    // rewards are paid.
    bool isNewBestDay() const { return m_newBestDay; }
    void setNewBestDay(bool v) { m_newBestDay = v; }

    // --- after every world step --------------------------------------------------------
    // Nothing in free play. One walk in order: a pending mission whose reward
    // is due is rewarded and completed; the others are tested until one
    // passes, which in live play becomes pending (due after its delay) and
    // outside it is rewarded at once.
    void checkMissions();
    // The user achievements not unlocked yet whose campaign is finished:
    // unlocked, saved and announced.
    void checkAchievements();

    // --- the goals window ------------------------------------------------------------
    // Today's skip: a mission is open, and skipping pays something or leads
    // to a next day. A mode's last day won before, whose end pays nothing
    // again, has none: it would take the price for nothing.
    bool canSkipDay() const;
    // Every active mission rewarded and completed (the skip).
    void completeAllMissions();
    // With no mission left: the completed ones freed, the step's board; in
    // live play the day counts as completed, while replaying the step sets
    // up the next day with rewards off; then the profile is saved.
    void endDay(int32_t gameMode);
    // The step's set-up of the next day (the board's next button).
    void levelEnd();
    // The day's last mission was rewarded in live play and its board has not
    // been seen yet: the day button says the level is complete.
    bool isDayWon() const { return m_dayWon; }
    // Leaving the level (to the menu, or quitting) after its last mission
    // passed: rewards still waiting are paid, and the day ends as its board's
    // next button would end it, with nothing shown (its pages are owed), so
    // the next level is the one offered. False (nothing done) while a
    // mission is still open.
    bool keepWonDay(int32_t gameMode);

    // A day that ended off screen (keepWonDay, settleWonDays) keeps the
    // message pages its end owes in the profile, in the write that ends it.
    // At the mode's next live entry the earliest shows, cleared in a write
    // as it does; answers whether one showed.
    bool showOwedPage(int32_t gameMode);

    // --- days ------------------------------------------------------------------------
    // At the game's start: a mode's newest day that was won and not gone on
    // from (the game was killed before its board's next button) goes on now,
    // as that button would have: the next day becomes the newest and its
    // reward is paid. Nothing shows (its pages are owed); the manager is
    // left without a day.
    void settleWonDays();
    // Whether the mode's newest day `day` had its index-th mission (in the
    // order the day made them) paid, as the profile keeps it; false for any
    // other day.
    static bool wasMissionPaid(int32_t gameMode, int32_t day, int index);
    // Starts the profile's game mode at the day: its entry missions and first
    // step, then days 1 .. day - 1 replayed silently. Level points are kept.
    // A day past the mode's last is that last day (the profile's day too).
    void startDay(int32_t day);
    // The day's prepared world and settings ("Day<d>" in the story, else
    // "Day<mode>_<d>").
    void loadDay(int32_t day);
    // A prepared world of "universes/Missions/" into the game; a missing or
    // refused one leaves the world as it is (false, logged).
    bool loadMissionUniverse(const std::string& worldName);
    static std::string dayName(int gameMode, int day);

    // --- what each game mode's first day starts with -----------------------------------
    void setEntryMissions(int gameMode, std::vector<GoalMaker> missions);
    void setFirstStep(int gameMode, GoalMaker step);
    // The mode's last playable day: a later day (the mode finished) starts
    // that one again.
    void setLastDay(int gameMode, int32_t day);
    // The last level's end sets the day one past the mode's last: that is
    // the campaign's (or the story's) end, no level of its own.
    bool isPastLastDay(int gameMode, int32_t day) const;
    // The day or level a day number stands for: past the end, the last.
    int32_t shownDay(int gameMode, int32_t day) const;

    // --- user achievements -----------------------------------------------------------
    struct UserAchievement {
        const char* name;     // its class name; "<name>Name" is its text
        const char* key;      // "Achievement<n>": n is its slot in the profile
        int completionIndex;  // the campaign-finished flag it waits for
    };
    static constexpr int kUserAchievements = 11;
    static const std::array<UserAchievement, kUserAchievements>& userAchievements();
    // The slot a key names ("Achievement45" -> 45); -1 outside 0..63.
    static int achievementSlot(const char* key);

private:
    AchievementManager();
    ~AchievementManager();

    struct GoalList {
        AchievementBase* head = nullptr;
        AchievementBase* tail = nullptr;
        int32_t count = 0;
        void append(AchievementBase* goal);
        void unlink(AchievementBase* goal);
    };
    struct ModeGoals {
        std::vector<GoalMaker> missions;
        GoalMaker firstStep = nullptr;
        int32_t lastDay = 0;  // 0: none
    };
    // Held by every entry point: goals let go of during the call are freed
    // when the outermost one returns.
    class Call {
    public:
        explicit Call(AchievementManager& m) : m_manager(m) { ++m_manager.m_depth; }
        ~Call();
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;

    private:
        AchievementManager& m_manager;
    };

    void letGo(AchievementBase* goal);
    void clearList(GoalList& list);
    void clearDay();
    void complete(AchievementBase* mission);
    // The mission's reward; live on the mode's newest day the profile records
    // it as paid, and the day as won when it was the last, in the write that
    // pays it.
    void reward(AchievementBase* mission);
    void replayDay(int32_t gameMode);
    // The day's missions paid before (the day entered again, or started after
    // the game was left or killed) are done again silently, as a replayed
    // day's are: their points and unlocks come back, nothing is paid or
    // announced twice. A day found won ends as its board's next button ends
    // it; answers whether it did.
    bool settlePaidMissions(int32_t gameMode, int32_t day);
    // The step's set-up of the next day: the missions it adds are that day's.
    void runLevelEnd();
    static std::vector<std::pair<std::string, std::string>> textsOf(const GoalList& list);
    // After a reward: the day is won when no mission is left. Answers whether
    // it is.
    bool noteWin();
    // The log line and the top bar's notice of a day won in play.
    void announceWin();

    GoalList m_active;
    GoalList m_completed;
    AchievementBase* m_step = nullptr;
    uint8_t m_live = 1;
    // Missions added to the day so far: the next one's place.
    int m_dayMissions = 0;
    bool m_newBestDay = false;
    bool m_dayWon = false;
    // The board of a live day came up and its next button has not run yet.
    bool m_boardShown = false;
    // Raised whenever the lists are emptied, so a walk over them stops.
    uint64_t m_clears = 0;
    int m_depth = 0;
    std::vector<AchievementBase*> m_letGo;
    std::map<int, ModeGoals> m_modes;
};
