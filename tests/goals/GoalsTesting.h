#pragma once
// Test goals and a recording screen for the goals framework: missions that
// pass when the test says so and pay, announce and count their points as
// the game's missions do, and a chain of level steps, one per level, each
// showing its board and setting up the next level with two missions.
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/LocalUtils.h"
#include "cocos2d.h"
#include "goals/AchievementBase.h"
#include "goals/AchievementManager.h"
#include "goals/GoalFunctions.h"
#include "goals/GoalsUi.h"
#include "profile/Profile.h"
#include "support/ResourceMirror.h"
#include "world/GameServices.h"

namespace goalstest {

// What the test goals did, in order: "reward L1a", "board 1", "end 1".
inline std::vector<std::string> journal;
// The missions whose test passes, by name.
inline std::map<std::string, bool> passing;
// How often each mission was tested, and the loaded world at its first test.
inline std::map<std::string, int> tests;
inline std::map<std::string, std::string> firstTestWorld;

class TestMission : public AchievementBase {
public:
    explicit TestMission(std::string name, int64_t delay = 0, int32_t points = 50)
        : m_name(std::move(name)), m_delay(delay), m_points(points)
    {
    }
    cocos2d::CCString* getName() override { return cocos2d::CCString::create(m_name); }
    cocos2d::CCString* getBriefing() override { return cocos2d::CCString::create(m_name + " briefing"); }
    int64_t getRewardDelay() override { return m_delay; }
    bool isAccomplished() override
    {
        if (++tests[m_name] == 1)
            firstTestWorld[m_name] = goalsUi().loadedWorldName();
        return passing[m_name];
    }
    // Points, the reward grant and the announcement, as missions do.
    void onAccomplished() override
    {
        journal.push_back("reward " + m_name);
        Profile* profile = Profile::getInstance();
        profile->setLevelPoints(profile->getLevelPoints() + m_points);
        grantExperience(getMissionReward(m_name));
        cocos2d::CCArray* amounts = cocos2d::CCArray::create();
        amounts->addObject(cocos2d::CCInteger::create(getMissionReward(m_name)));
        showAnnouncement(nullptr, amounts, cocos2d::CCString::create("done " + m_name), nullptr, nullptr);
    }

private:
    std::string m_name;
    int64_t m_delay;
    int32_t m_points;
};

// The step that closes `level`: its board lists "Sand" and its reward;
// its level end opens the next level with missions "L<n>a" and "L<n>b".
class TestStep : public AchievementBase {
public:
    explicit TestStep(int level) : m_level(level) { }
    bool isAccomplished() override { return false; }
    void onAccomplished() override
    {
        journal.push_back("board " + std::to_string(m_level));
        cocos2d::CCArray* elements = cocos2d::CCArray::create();
        elements->addObject(cocos2d::CCString::create("Sand"));
        cocos2d::CCArray* mana = cocos2d::CCArray::create();
        mana->addObject(cocos2d::CCInteger::create(getMissionReward("Step")));
        showLevelUp(elements, nullptr, nullptr, mana);
    }
    void onLevelEnd() override
    {
        const int next = m_level + 1;
        setStoryDay(next);
        AchievementManager* goals = AchievementManager::getInstance();
        goals->addMission(new TestMission("L" + std::to_string(next) + "a"));
        goals->addMission(new TestMission("L" + std::to_string(next) + "b"));
        goals->setCurrentStep(new TestStep(next));
        // The running step was let go of above; it still reads itself.
        grantExperience(getMissionReward("Step"));
        journal.push_back("end " + std::to_string(m_level));
    }
    int level() const { return m_level; }

private:
    int m_level;
};

// Registers the test chain as a game mode's goals.
inline void registerTestMode(int mode)
{
    AchievementManager* goals = AchievementManager::getInstance();
    goals->setEntryMissions(mode,
                            {[]() -> AchievementBase* { return new TestMission("L1a"); },
                             []() -> AchievementBase* { return new TestMission("L1b"); }});
    goals->setFirstStep(mode, []() -> AchievementBase* { return new TestStep(1); });
}

// A profile with nothing of the mode's newest day paid yet.
inline void forgetPaidMissions(int mode)
{
    Profile::getInstance()->setProgressWord(ProgressWord::PaidMissionsDay + 4 * static_cast<size_t>(mode), 0);
}

inline void resetJournal()
{
    journal.clear();
    passing.clear();
    tests.clear();
    firstTestWorld.clear();
}

// The active missions' names, in order.
inline std::vector<std::string> activeNames()
{
    std::vector<std::string> names;
    for (auto& [name, briefing] : AchievementManager::getInstance()->activeMissions())
        names.push_back(name);
    return names;
}

// The rewards file: "L<n>a" pays 10, "L<n>b" nothing, "Step" 100.
inline std::string testRewards()
{
    std::string levels;
    for (int n = 1; n <= 9; ++n)
        levels += "<key>L" + std::to_string(n) + "a</key><integer>10</integer><key>L" + std::to_string(n) +
            "b</key><integer>0</integer>";
    return testsupport::plistText("<dict><key>Levels</key><dict>" + levels +
                                  "<key>Step</key><integer>100</integer></dict></dict>");
}

// Records what the goals ask of the screen.
class RecordingUi : public GoalsUi {
public:
    struct Notice {
        std::string text;
        std::string icon;
        bool operator==(const Notice& o) const { return text == o.text && icon == o.icon; }
    };
    void showNotification(const std::string& text, const std::string& icon) override
    {
        notices.push_back({text, icon});
    }
    void playLilGodAnimation() override { ++lilGods; }
    void updateDayButton() override { ++dayButtons; }
    void unlock(DayItem kind, const std::string& name) override
    {
        unlocks.push_back(std::to_string(static_cast<int>(kind)) + " " + name);
    }
    bool loadDaySettings(const std::string& worldName) override
    {
        settings.push_back(worldName);
        return true;
    }
    void showDayCleared(cocos2d::CCArray*, cocos2d::CCArray*, cocos2d::CCArray*, cocos2d::CCArray*) override
    {
        ++boards;
    }
    bool loadWorld(NSData*) override
    {
        ++worldsLoaded;
        return acceptWorlds;
    }
    std::string loadedWorldName() override { return worldName; }
    void setLoadedWorldName(const std::string& name) override { worldName = name; }
    bool overviewUsed() override { return overview; }
    void setOverviewUsed(bool used) override { overview = used; }
    void setStoryLevel2Flag() override { storyLevel2 = true; }
    void showStoryReminder(int) override { }
    void showFreeModeMessage() override { }
    void showOutro() override { }

    std::vector<Notice> notices;
    std::vector<std::string> unlocks;
    std::vector<std::string> settings;
    int lilGods = 0;
    int dayButtons = 0;
    int boards = 0;
    int worldsLoaded = 0;
    bool acceptWorlds = true;
    std::string worldName;
    bool overview = false;
    bool storyLevel2 = false;
};

// A language table of the test's own while it lives.
class ScopedTable {
public:
    explicit ScopedTable(std::initializer_list<std::pair<const char*, const char*>> texts) : m_old(localizationTable)
    {
        localizationTable = new cocos2d::CCDictionary();
        for (const auto& [key, text] : texts)
            localizationTable->setObject(cocos2d::CCString::create(text), key);
    }
    ~ScopedTable()
    {
        localizationTable->release();
        localizationTable = m_old;
    }
    ScopedTable(const ScopedTable&) = delete;
    ScopedTable& operator=(const ScopedTable&) = delete;

private:
    cocos2d::CCDictionary* m_old;
};

// Counts the profile's saves while it lives.
class SaveCounter {
public:
    SaveCounter() : m_write(gameServices().fileWrite)
    {
        gameServices().fileWrite = [this](const std::string& name, const void* data, int32_t size) {
            saves += name == "profile.dat";
            return m_write(name, data, size);
        };
    }
    ~SaveCounter() { gameServices().fileWrite = m_write; }
    SaveCounter(const SaveCounter&) = delete;
    SaveCounter& operator=(const SaveCounter&) = delete;
    int saves = 0;

private:
    std::function<bool(const std::string&, const void*, int32_t)> m_write;
};

}  // namespace goalstest
