#pragma once
// AchievementBase: the base of every goal, the day's missions and the level
// step that closes a day. A goal keeps no state of its own: its test reads the
// world, the game layer, the HUD or the profile. The fields here belong to the
// goals manager (AchievementManager), which owns every goal from the moment it
// is handed over and tests, rewards and destroys it.
#include <cstdint>

#include "cocos2d.h"

class AchievementBase {
public:
    AchievementBase() = default;
    AchievementBase(const AchievementBase&) = delete;
    AchievementBase& operator=(const AchievementBase&) = delete;

    // Texts: "AchievementBase", "AchievementBase", "Well, this is awkward."
    // here; live strings for the whole run.
    virtual cocos2d::CCString* getName();
    virtual cocos2d::CCString* getKey();
    virtual cocos2d::CCString* getBriefing();
    // Seconds between a passed test and the reward in live play.
    virtual int64_t getRewardDelay();
    virtual ~AchievementBase();
    // The test; called once per world step while the goal is active and not
    // pending. Cheap and without side effects.
    virtual bool isAccomplished() = 0;
    // The reward (a mission) or the day-cleared board (a level step).
    virtual void onAccomplished() = 0;
    // The set-up of the next day (a level step).
    virtual void onLevelEnd() { }
    virtual void grantReward() { }
    // A level step whose level end pays again when the level was won before.
    virtual bool paysAgain() { return false; }

    // The manager's fields: the links of the list that holds the goal, when a
    // pending reward is due (seconds of the game clock) and whether one is,
    // and the mission's place among its day's missions (0 for the first
    // added), by which the profile remembers it as paid.
    AchievementBase* previous = nullptr;
    AchievementBase* next = nullptr;
    int64_t rewardDue = 0;
    uint8_t rewardPending = 0;
    uint8_t dayIndex = 0;
};
