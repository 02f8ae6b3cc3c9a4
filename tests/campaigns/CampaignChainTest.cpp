// Each device campaign played through the goals manager as the goals window
// drives it (start, skip, day end, next) on a recording screen with the
// game's own rewards file: the days, the missions of each level in order,
// the steps, what is paid and when the profile is saved, the outro and the
// finished flag. Then starts at a later level (the silent replay), the
// re-completion of a level reached before, and a start after the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "campaigns/Campaigns.h"
#include "campaigns/music/MusicCampaign.h"
#include "campaigns/robot/RobotCampaign.h"
#include "goals/GoalsTesting.h"
#include "platform/CloudStorage.h"
#include "platform/GameClock.h"
#include "support/HeadlessGame.h"
#include "support/TempFolders.h"

USING_NS_CC;
using namespace goalstest;

namespace {

// What the screen and the profile file saw, in order: "outro", "save".
std::vector<std::string> events;

class EndRecordingUi : public RecordingUi {
public:
    void showOutro() override { events.push_back("outro " + finishedFlag()); }
    std::function<std::string()> finishedFlag = [] { return std::string(); };
};

class CampaignChain : public testsupport::HeadlessGame {
protected:
    void SetUp() override
    {
        HeadlessGame::SetUp();
        previousStore = platform::CloudStorage::root();
        ASSERT_TRUE(platform::CloudStorage::setRoot(store.path()));
        setGoalsUi(&ui);
        platform::setManualGameTime(1000);
        goals = AchievementManager::getInstance();
        profile = Profile::getInstance();
        write = gameServices().fileWrite;
        gameServices().fileWrite = [this](const std::string& name, const void* data, int32_t size) {
            if (name == "profile.dat")
                events.push_back("save " + flagText());
            return write(name, data, size);
        };
        ui.finishedFlag = [this] { return flagText(); };
    }
    void TearDown() override
    {
        gameServices().fileWrite = write;
        AchievementManager::resetInstanceForTests();
        setGoalsUi(nullptr);
        platform::clearManualGameTime();
        if (previousStore.empty())
            platform::CloudStorage::clearRoot();
        else
            platform::CloudStorage::setRoot(previousStore);
        HeadlessGame::TearDown();
    }

    std::string flagText() const
    {
        return campaign ? std::to_string(profile->getCompletionFlag(campaign->completionIndex)) : "";
    }

    // The campaign's mode with nothing played: day 1, no best day, nothing
    // pending or finished.
    void fresh(const Campaign& c)
    {
        campaign = &c;
        profile->setGameMode(c.mode);
        profile->setBestDay(c.mode, 0);
        profile->setDay(1);
        profile->setLevelPoints(0);
        profile->setPendingMana(0);
        profile->setCompletionFlag(c.completionIndex, 0);
        events.clear();
        ui = EndRecordingUi{};
        ui.finishedFlag = [this] { return flagText(); };
    }

    // The class names of the active missions, in order.
    std::vector<std::string> active() const
    {
        std::vector<std::string> names;
        for (AchievementBase* m = goals->firstActive(); m; m = m->next)
            names.push_back(dynamic_cast<CampaignMission&>(*m).row().className);
        return names;
    }
    static std::vector<std::string> missionsOf(const CampaignLevelRow& level)
    {
        std::vector<std::string> names;
        for (const char* name : level.missions)
            if (name)
                names.push_back(name);
        return names;
    }
    std::string step() const
    {
        auto* s = dynamic_cast<CampaignStep*>(goals->getCurrentStep());
        return s ? s->row().step : "";
    }
    int32_t missionPay(const CampaignLevelRow& level) const
    {
        int32_t pay = 0;
        for (const char* name : level.missions)
            if (name)
                pay += getMissionReward(campaign->mission(name)->rewardKey);
        return pay;
    }
    int32_t sharesOf(const CampaignLevelRow& level) const
    {
        int32_t points = 0;
        for (const char* name : level.missions)
            if (name)
                points += campaign->mission(name)->points;
        return points;
    }
    // The goals window: skip, the day's end, then next.
    void playLevel()
    {
        goals->completeAllMissions();
        goals->endDay(campaign->mode);
        goals->levelEnd();
    }

    testsupport::TempDir store;
    std::string previousStore;
    EndRecordingUi ui;
    AchievementManager* goals = nullptr;
    Profile* profile = nullptr;
    const Campaign* campaign = nullptr;
    std::function<bool(const std::string&, const void*, int32_t)> write;
};

// How each campaign ends: its final day and what the last level end shows
// and saves, in order (the flag as each one saw it).
struct Ending {
    int mode;
    int finalDay;
    int achievementSlot;
    std::vector<std::string> last;
};
const Ending kEndings[] = {
    {1, 11, 4, {"outro 0", "save 0", "save 1"}},
    {2, 12, 5, {"save 0", "save 1", "outro 1"}},
    {6, 11, 2, {"outro 0", "save 0", "save 1"}},
    {7, 11, 8, {"outro 0", "save 0", "save 1"}},
    {8, 21, 9, {"outro 0", "save 1", "save 1"}},  // the flag before the grant
    {4, 16, 7, {"outro 0", "save 1"}},
    {3, 16, 6, {"outro 0", "save 0", "save 1"}},
    {5, 16, 3, {"outro 0", "save 1", "save 1"}},
    {9, 16, 10, {"outro 1", "save 1"}},  // finished since level 11's end
    {10, 11, 11, {"outro 0", "save 1", "save 1"}},
};

TEST_F(CampaignChain, EveryLevelPaysOnItsFirstReachAndTheLastEndsTheCampaignSaved)
{
    for (const Ending& e : kEndings) {
        const Campaign& c = *campaignOfMode(e.mode);
        SCOPED_TRACE(c.name);
        fresh(c);
        goals->startDay(1);
        int32_t points = 0;
        int32_t pending = 0;
        for (const CampaignLevelRow& level : c.levels) {
            SCOPED_TRACE("level " + std::to_string(level.level));
            EXPECT_EQ(profile->getDay(), level.level);
            EXPECT_EQ(active(), missionsOf(level));
            EXPECT_EQ(step(), level.step);
            EXPECT_TRUE(goals->isNewBestDay()) << "a first reach pays";

            goals->completeAllMissions();
            points += sharesOf(level);
            pending += missionPay(level);
            EXPECT_EQ(profile->getLevelPoints(), points);
            EXPECT_EQ(profile->getPendingMana(), pending);
            EXPECT_EQ(ui.notices.size(), 2 * missionsOf(level).size()) << "each mission's name and amount";
            ui.notices.clear();

            const int boards = ui.boards;
            goals->endDay(c.mode);
            EXPECT_EQ(ui.boards, boards + 1);
            events.clear();
            goals->levelEnd();
            pending += getMissionReward(level.rewardKey);
            EXPECT_EQ(profile->getPendingMana(), pending) << level.rewardKey;
            EXPECT_EQ(std::count(events.begin(), events.end(), "outro 0") +
                          std::count(events.begin(), events.end(), "outro 1"),
                      &level == &c.levels.back() ? 1 : 0);
        }
        EXPECT_EQ(events, e.last);
        EXPECT_EQ(profile->getDay(), e.finalDay);
        EXPECT_EQ(profile->getCompletionFlag(c.completionIndex), 1);
        EXPECT_EQ(goals->activeCount(), 0);
        EXPECT_EQ(step(), c.levels.back().step) << "the last step stays current";
        goals->checkAchievements();
        EXPECT_EQ(profile->getAchievementUnlocked(e.achievementSlot), 1);
        EXPECT_EQ(ui.notices.size(), 1u) << "the completion achievement is announced";
    }
}

// A start at level N replays 1 .. N - 1 without paying or showing anything;
// playing N again (reached before) pays only what pays always.
struct Replay {
    int mode;
    int level;
    int32_t pointsAdded;
    bool stepPaysAgain;
    std::vector<std::string> missions;
};
const Replay kReplays[] = {
    {1, 3, 200, false, {"Music_Lv3", "Music_PixRemoveLv3"}},
    {1, 6, 500, false, {"Music_NoteCheckLv6", "Music_Lv6"}},
    {1, 7, 600, false, {"Music_Lv7"}},
    {1, 9, 800, false, {"Music_Lv9", "Music_NoteCheckLv9"}},
    {1, 10, 900, false, {"Music_Lv10"}},
    {2, 3, 200, false, {"Contra_SenseThis"}},
    {2, 11, 1000, true, {"Contra_Counter"}},
    {6, 5, 400, false, {"UserMade_Level5", "UserMade_LedLevel5"}},
    {6, 7, 600, false, {"UserMade_BulbLevel7", "UserMade_Level7"}},
    {6, 10, 950, false, {"UserMade_Level10", "UserMade_LightSensorLevel10"}},
    {7, 3, 200, true, {"Contra_LaserExctinction"}},
    {7, 7, 600, true, {"Contra_Pump", "Contra_Pipe", "Contra_Drain"}},
    {7, 10, 900, true, {"Contra_GasSensor", "Contra_Insulator", "Contra_TntTesting"}},
    {8, 5, 400, true, {"ZombieLv5"}},
    {8, 11, 950, true, {"ZombieLv11"}},  // level 10 adds 50
    {8, 16, 1450, true, {"ZombieLv16"}},
    {4, 10, 900, false, {"Pix_PaintHard"}},
    {4, 11, 1000, true, {"Pix_Font"}},
    {4, 15, 1400, true, {"Pix_Final"}},
    {3, 5, 400, false, {"Dino_Winterland"}},
    {3, 12, 1100, true, {"Dino_Infiltrate"}},
    {5, 13, 1200, false, {"Human_Level13"}},
    {5, 14, 1330, false, {"Human_Level14", "Human_NoC4Level14", "Human_WallLevel14"}},
    {9, 4, 300, true, {"RobotLv4a", "RobotLv4b"}},
    {9, 10, 900, true, {"RobotLv10a", "RobotLv10b", "RobotLv10c"}},
    {9, 13, 1200, true, {"RobotLv13a"}},
    {10, 4, 300, true, {"InvasionLv4a", "InvasionLv4b"}},
    {10, 5, 400, true, {"InvasionLv45a", "InvasionLv45b"}},  // after Invasion_CheckLv45
    {10, 8, 700, true, {"InvasionLv7a", "InvasionLv7b"}},
    {10, 10, 900, true, {"InvasionLv9a", "InvasionLv9b"}},
};

TEST_F(CampaignChain, AStartAtALaterLevelReplaysTheEarlierOnesSilently)
{
    for (const Replay& r : kReplays) {
        const Campaign& c = *campaignOfMode(r.mode);
        SCOPED_TRACE(std::string(c.name) + " at level " + std::to_string(r.level));
        fresh(c);
        profile->setBestDay(c.mode, c.levelCount() + 1);
        profile->setDay(r.level);
        profile->setLevelPoints(7);
        profile->setPendingMana(5);
        musicHoldCount() = 99;
        goals->startDay(r.level);

        EXPECT_EQ(profile->getLevelPoints(), 7 + r.pointsAdded);
        EXPECT_EQ(profile->getPendingMana(), 5) << "nothing paid";
        EXPECT_EQ(ui.boards, 0);
        EXPECT_TRUE(ui.notices.empty());
        EXPECT_EQ(std::count(events.begin(), events.end(), "outro 0"), 0);
        const CampaignLevelRow& level = c.levels[r.level - 1];
        EXPECT_EQ(profile->getDay(), r.level);
        EXPECT_EQ(active(), r.missions);
        EXPECT_EQ(step(), level.step);
        if (r.mode == 1 && r.level > 8) {
            EXPECT_EQ(musicHoldCount(), 0) << "level 8's reward cleared the count";
        }
        EXPECT_FALSE(goals->isNewBestDay());

        playLevel();
        EXPECT_EQ(profile->getPendingMana(), 5 + (r.stepPaysAgain ? getMissionReward(level.rewardKey) : 0));
    }
    musicHoldCount() = 0;
}

TEST_F(CampaignChain, AStartAfterTheEndPlaysTheLastLevelAgainWithoutItsEnd)
{
    for (const Campaign* c : builtCampaigns()) {
        SCOPED_TRACE(c->name);
        fresh(*c);
        const int32_t after = c->levelCount() + 1;
        profile->setBestDay(c->mode, after);
        profile->setDay(after);
        goals->startDay(after);
        EXPECT_EQ(profile->getDay(), c->levelCount());
        EXPECT_EQ(active(), missionsOf(c->levels.back()));
        EXPECT_EQ(step(), c->levels.back().step);
        // Robot counts as finished from level 11's end on, which was replayed.
        EXPECT_EQ(profile->getCompletionFlag(c->completionIndex), c->mode == 9 ? 1 : 0) << "no end was replayed";
        for (const std::string& e : events)
            EXPECT_EQ(e.rfind("outro", 0), std::string::npos) << e;
    }
}

// Finishing the last level again pays nothing under the grant rule, yet the
// finished flag it sets is saved.
TEST_F(CampaignChain, TheLastLevelPlayedAgainStillSavesTheFinishedFlag)
{
    for (int mode : {4, 5}) {
        const Campaign& c = *campaignOfMode(mode);
        SCOPED_TRACE(c.name);
        fresh(c);
        profile->setBestDay(c.mode, c.levelCount() + 1);
        profile->setDay(c.levelCount());
        goals->startDay(c.levelCount());
        events.clear();
        playLevel();
        EXPECT_EQ(profile->getCompletionFlag(c.completionIndex), 1);
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back(), "save 1");
    }
}

// The last level won and left before its board's Next ends off screen: its
// closing page waits for the campaign's next entry and shows there once.
TEST_F(CampaignChain, TheLastLevelWonAndLeftShowsItsOutroAtTheNextEntry)
{
    for (const Campaign* c : builtCampaigns()) {
        SCOPED_TRACE(c->name);
        fresh(*c);
        profile->setBestDay(c->mode, c->levelCount());
        profile->setDay(c->levelCount());
        goals->startDay(c->levelCount());
        goals->completeAllMissions();
        events.clear();
        EXPECT_TRUE(goals->keepWonDay(c->mode));
        EXPECT_EQ(profile->getCompletionFlag(c->completionIndex), 1);
        goals->startDay(profile->getDay());
        EXPECT_TRUE(goals->showOwedPage(c->mode));
        EXPECT_FALSE(goals->showOwedPage(c->mode)) << "once";
        const auto outros =
            std::count_if(events.begin(), events.end(), [](const std::string& e) { return e.rfind("outro", 0) == 0; });
        EXPECT_EQ(outros, 1);
    }
}

// Robot's finished flag: set by the ends of levels 11, 12 and 14, live or
// replayed, and left alone by level 13's.
TEST_F(CampaignChain, RobotIsFinishedFromLevelElevensEndAndLevelThirteensLeavesTheFlag)
{
    const Campaign& c = *campaignOfMode(9);
    fresh(c);
    profile->setBestDay(c.mode, 16);
    profile->setDay(11);
    goals->startDay(11);
    EXPECT_EQ(profile->getCompletionFlag(c.completionIndex), 0) << "levels 1 to 10 replayed";
    const int expected[] = {1, 1, 0, 1};  // after the ends of levels 11 to 14
    for (int level = 11; level <= 14; ++level) {
        profile->setCompletionFlag(c.completionIndex, 0);
        playLevel();
        EXPECT_EQ(profile->getCompletionFlag(c.completionIndex), expected[level - 11]) << "level " << level;
    }

    fresh(c);
    profile->setBestDay(c.mode, 16);
    profile->setDay(13);
    robotLv12aInitialCount() = 149;
    goals->startDay(13);
    EXPECT_EQ(profile->getCompletionFlag(c.completionIndex), 1) << "level 11's end replayed";
    EXPECT_EQ(robotLv12aInitialCount(), 0) << "level 12's mission paid in the replay";
}

TEST_F(CampaignChain, LevelOnePaysOnlyOnItsFirstPlay)
{
    for (const Campaign* c : builtCampaigns()) {
        SCOPED_TRACE(c->name);
        fresh(*c);
        profile->setBestDay(c->mode, 4);
        goals->setNewBestDay(true);  // left over from another mode's day
        goals->startDay(1);
        goals->completeAllMissions();
        EXPECT_EQ(profile->getPendingMana(), 0) << "level 1 was reached before";

        fresh(*c);
        goals->startDay(1);
        goals->completeAllMissions();
        EXPECT_EQ(profile->getPendingMana(), missionPay(c->levels[0]));
    }
}

}  // namespace

namespace {

// The story's first day and each campaign's first level skipped, its board
// up, and the game killed there before Next: the game's next start goes on
// to the second level as Next would have, with its step paid once and
// nothing paid or shown twice.
TEST_F(CampaignChain, AFirstLevelWonAndKilledOnItsBoardGoesOnAtTheNextStart)
{
    // A new player of the mode, or the same one when the game starts again.
    auto start = [this](int mode, bool newPlayer) {
        if (newPlayer) {
            gameServices().fileDelete("profile.dat");
            gameServices().fileDelete(Profile::backupFileName());
        }
        AchievementManager::resetInstanceForTests();
        Profile::resetInstanceForTests();
        goals = AchievementManager::getInstance();
        profile = Profile::getInstance();
        if (!newPlayer) {
            profile->load(false);
            goals->settleWonDays();
        }
        profile->setGameMode(mode);
        profile->setDay(profile->getBestDay(mode));
        ui = EndRecordingUi{};
        goals->startDay(profile->getDay());
    };
    for (int mode = 0; mode <= 10; ++mode) {
        SCOPED_TRACE("game mode " + std::to_string(mode));
        start(mode, true);
        goals->completeAllMissions();
        goals->endDay(mode);
        goals->levelEnd();
        const std::vector<std::string> second = activeNames();
        const int32_t mana = profile->getMana() + profile->getPendingMana();

        start(mode, true);
        goals->completeAllMissions();
        goals->endDay(mode);
        ASSERT_EQ(ui.boards, 1);
        start(mode, false);
        EXPECT_EQ(profile->getBestDay(mode), 2) << "the level lists offer the second level";
        EXPECT_EQ(profile->getDay(), 2);
        EXPECT_EQ(activeNames(), second);
        EXPECT_EQ(profile->getMana() + profile->getPendingMana(), mana);
        EXPECT_EQ(ui.boards, 0);
        EXPECT_TRUE(ui.notices.empty());
    }
}

}  // namespace
