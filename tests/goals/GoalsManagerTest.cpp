// The goals manager on a recording screen: when missions are tested and
// paid, how days start (replaying the earlier ones silently) and end, the
// reward grant and the day's first-time flag, the rewards file, the
// announcements and the user achievements.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "goals/GoalsTesting.h"
#include "platform/CloudStorage.h"
#include "platform/GameClock.h"
#include "scene/GameLayer.h"
#include "support/CleanGame.h"
#include "support/HeadlessGame.h"
#include "support/LogCapture.h"
#include "world/ParticleCreator.h"

USING_NS_CC;
using namespace goalstest;

namespace {

constexpr int kTestMode = 5;

class GoalsManager : public testsupport::HeadlessGame {
protected:
    void SetUp() override
    {
        HeadlessGame::SetUp();
        previousStore = platform::CloudStorage::root();
        ASSERT_TRUE(platform::CloudStorage::setRoot(store.path()));
        mirror = std::make_unique<testsupport::ResourceMirror>();
        mirror->write(kRewardsFile, testRewards());
        setGoalsUi(&ui);
        resetJournal();
        platform::setManualGameTime(1000);
        goals = AchievementManager::getInstance();
        profile = Profile::getInstance();
    }
    void TearDown() override
    {
        AchievementManager::resetInstanceForTests();
        setGoalsUi(nullptr);
        platform::clearManualGameTime();
        mirror.reset();
        if (previousStore.empty())
            platform::CloudStorage::clearRoot();
        else
            platform::CloudStorage::setRoot(previousStore);
        HeadlessGame::TearDown();
    }

    // A new run: the goals and the profile as the game starts them, the
    // profile not read yet.
    void restart()
    {
        AchievementManager::resetInstanceForTests();
        Profile::resetInstanceForTests();
        goals = AchievementManager::getInstance();
        profile = Profile::getInstance();
    }

    // A test-mode day started at `day`, the best day being `best`.
    void startAt(int day, int best)
    {
        registerTestMode(kTestMode);
        profile->setGameMode(kTestMode);
        profile->setBestDay(kTestMode, best);
        profile->setDay(day);
        goals->startDay(day);
    }

    testsupport::TempDir store;
    std::string previousStore;
    std::unique_ptr<testsupport::ResourceMirror> mirror;
    RecordingUi ui;
    AchievementManager* goals = nullptr;
    Profile* profile = nullptr;
};

TEST_F(GoalsManager, MissionsTurnPendingOneAStepAndArePaidWhenDue)
{
    goals->addMission(new TestMission("A", 0));
    goals->addMission(new TestMission("B", 5));
    goals->addMission(new TestMission("C", 0));
    passing = {{"A", true}, {"B", true}, {"C", true}};

    goals->checkMissions();
    EXPECT_EQ(tests, (std::map<std::string, int>{{"A", 1}})) << "the walk stops at the first that passes";
    EXPECT_TRUE(journal.empty()) << "a passed mission waits one step even without delay";

    goals->checkMissions();
    EXPECT_EQ(journal, (std::vector<std::string>{"reward A"}));
    EXPECT_EQ(ui.lilGods, 1);
    EXPECT_EQ(tests["B"], 1);
    EXPECT_EQ(tests["C"], 0);

    passing["B"] = false;  // a pending mission stays won
    goals->checkMissions();
    EXPECT_EQ(tests["C"], 1);
    platform::advanceManualGameTime(4);
    goals->checkMissions();
    EXPECT_EQ(journal, (std::vector<std::string>{"reward A", "reward C"})) << "B is due at 1005";
    platform::advanceManualGameTime(1);
    goals->checkMissions();
    EXPECT_EQ(journal, (std::vector<std::string>{"reward A", "reward C", "reward B"}));
    EXPECT_EQ(tests["B"], 1) << "never tested again once pending";
    EXPECT_EQ(goals->activeCount(), 0);
    EXPECT_EQ(goals->completedCount(), 3);
    EXPECT_FALSE(goals->hasActiveGoals());
}

TEST_F(GoalsManager, FreePlayTestsNothing)
{
    testsupport::testHost().freePlay = true;
    goals->addMission(new TestMission("A"));
    passing["A"] = true;
    for (int step = 0; step < 3; ++step)
        goals->checkMissions();
    EXPECT_TRUE(tests.empty());
    EXPECT_TRUE(journal.empty());
}

TEST_F(GoalsManager, StartingALaterDayReplaysTheEarlierOnesSilently)
{
    for (int day : {1, 2, 4}) {
        resetJournal();
        ui = RecordingUi{};
        profile->setLevelPoints(7);
        profile->setPendingMana(0);
        SaveCounter counter;
        startAt(day, day);

        const std::string n = std::to_string(day);
        EXPECT_EQ(activeNames(), (std::vector<std::string>{"L" + n + "a", "L" + n + "b"})) << day;
        auto* step = dynamic_cast<TestStep*>(goals->getCurrentStep());
        ASSERT_NE(step, nullptr);
        EXPECT_EQ(step->level(), day);
        std::vector<std::string> replay;
        for (int d = 1; d < day; ++d) {
            const std::string l = std::to_string(d);
            for (const std::string& entry : {"reward L" + l + "b", "reward L" + l + "a", "board " + l, "end " + l})
                replay.push_back(entry);
        }
        EXPECT_EQ(journal, replay) << "last added first, then the step's board and level end";
        EXPECT_EQ(profile->getLevelPoints(), 7 + 100 * (day - 1)) << "points are kept and grow by the shares";
        EXPECT_EQ(profile->getPendingMana(), 0) << "nothing is paid";
        EXPECT_TRUE(ui.notices.empty());
        EXPECT_EQ(ui.boards, 0);
        EXPECT_EQ(counter.saves, day - 1) << "one save per replayed day, none per mission";
        EXPECT_EQ(profile->getDay(), day);
        EXPECT_TRUE(goals->isLive());
        EXPECT_TRUE(goals->isNewBestDay()) << "the best day was never closed";
        EXPECT_EQ(ui.dayButtons, 1);
        EXPECT_FALSE(profile->isRewardsOff());
    }
}

TEST_F(GoalsManager, ALiveDayEndsOnItsBoardAndTheStepHandsOverSafely)
{
    startAt(1, 1);
    SaveCounter counter;
    goals->endDay(kTestMode);
    EXPECT_TRUE(journal.empty()) << "two missions are open";
    EXPECT_EQ(counter.saves, 0);

    goals->completeAllMissions();
    EXPECT_EQ(journal, (std::vector<std::string>{"reward L1a", "reward L1b"}));
    EXPECT_EQ(ui.lilGods, 1);
    goals->endDay(kTestMode);
    EXPECT_EQ(ui.boards, 1);
    EXPECT_EQ(goals->completedCount(), 0) << "the day's completed missions are freed";
    EXPECT_EQ(profile->getProgressWord(ProgressWord::DaysCompletedLive), 1);
    EXPECT_EQ(counter.saves, 2) << "the skip's grants in one write, then the end of the day";

    // The step makes its successor current and reads itself afterwards.
    goals->levelEnd();
    EXPECT_EQ(journal.back(), "end 1");
    EXPECT_EQ(activeNames(), (std::vector<std::string>{"L2a", "L2b"}));
    EXPECT_EQ(dynamic_cast<TestStep*>(goals->getCurrentStep())->level(), 2);
    EXPECT_EQ(profile->getBestDay(kTestMode), 2);
    EXPECT_EQ(profile->getPendingMana(), 10 + 100) << "L1a's 10 and the step's 100 on the first reach";
}

// The last reward wins the day: the day button shows it and a notice says
// so. Leaving a won level before its board's next button ends it with
// nothing shown (paid, the next level set up); a level with a mission still
// open, or free play, is left as it is.
TEST_F(GoalsManager, LeavingAWonLevelKeepsTheWin)
{
    enum Before { Open, Pending, Won, BoardSeen, FreePlay };
    const struct {
        Before before;
        bool kept;
    } cases[] = {{Open, false}, {Pending, true}, {Won, true}, {BoardSeen, true}, {FreePlay, false}};
    for (const auto& c : cases) {
        AchievementManager::resetInstanceForTests();
        goals = AchievementManager::getInstance();
        resetJournal();
        ui = RecordingUi{};
        testsupport::testHost().freePlay = false;
        profile->setPendingMana(0);
        forgetPaidMissions(kTestMode);
        startAt(1, 1);
        passing = {{"L1a", true}, {"L1b", c.before != Open}};
        // A passed mission waits a step; one turns pending a step.
        for (int step = 0; step < (c.before == Open || c.before == Pending ? 2 : 4); ++step)
            goals->checkMissions();
        EXPECT_EQ(goals->isDayWon(), c.before >= Won) << c.before;
        const auto notices =
            std::count(ui.notices.begin(), ui.notices.end(), RecordingUi::Notice{"LevelCompleteNotice", ""});
        EXPECT_EQ(notices, c.before >= Won ? 1 : 0) << c.before;
        if (c.before == BoardSeen) {
            goals->endDay(kTestMode);
            EXPECT_FALSE(goals->isDayWon()) << "the board has been seen";
        }
        testsupport::testHost().freePlay = c.before == FreePlay;
        const int boards = ui.boards;
        EXPECT_EQ(goals->keepWonDay(kTestMode), c.kept) << c.before;
        EXPECT_EQ(ui.boards, boards) << "nothing comes on screen, " << c.before;
        EXPECT_EQ(profile->getBestDay(kTestMode), c.kept ? 2 : 1) << c.before;
        const std::vector<std::string> left = c.kept ? std::vector<std::string>{"L2a", "L2b"}
            : c.before == Open                       ? std::vector<std::string>{"L1b"}
                                                     : std::vector<std::string>{};
        EXPECT_EQ(activeNames(), left) << c.before;
        EXPECT_EQ(profile->getPendingMana(), c.kept ? 10 + 100 : 10) << "L1a's 10 and the step's 100, " << c.before;
        EXPECT_FALSE(goals->keepWonDay(kTestMode)) << "the next level has just begun, " << c.before;
    }
    testsupport::testHost().freePlay = false;
}

// A mission paid on its mode's newest day stays paid, in the write that
// pays it: the day entered again (from the menu, or after a kill) shows it
// done and pays and announces it no more; a day won and killed on its board
// goes on at the game's start as its next button would have, its step paid
// once. A record of another day (an older game went on) counts for nothing.
TEST_F(GoalsManager, WhatADayPaidStaysPaidWhenItIsEnteredAgain)
{
    enum Before { Nothing, OnePaid, OtherDay, Won, BoardSeen, Skipped, NextPressed };
    const struct {
        Before before;
        int writes;   // while the missions are paid
        bool killed;  // else left for the menu and started again
        int32_t day;  // the one the start opens
        std::vector<std::string> done, active;
        int32_t mana, manaAfterPlay;  // from 0: after the start, after its missions pass again
    } cases[] = {
        {Nothing, 0, true, 1, {}, {"L1a", "L1b"}, 0, 10},
        {OnePaid, 1, false, 1, {"L1a"}, {"L1b"}, 10, 10},
        {OnePaid, 1, true, 1, {"L1a"}, {"L1b"}, 10, 10},
        {OtherDay, 1, true, 2, {}, {"L2a", "L2b"}, 10, 10 + 10},
        {Won, 2, true, 2, {}, {"L2a", "L2b"}, 10 + 100, 10 + 100 + 10},
        {BoardSeen, 2, true, 2, {}, {"L2a", "L2b"}, 10 + 100, 10 + 100 + 10},
        {Skipped, 1, true, 2, {}, {"L2a", "L2b"}, -150 + 10 + 100, -150 + 10 + 100 + 10},
        {NextPressed, 2, true, 2, {}, {"L2a", "L2b"}, 10 + 100, 10 + 100 + 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.before) + (c.killed ? " killed" : " menu"));
        // A new player.
        gameServices().fileDelete("profile.dat");
        gameServices().fileDelete(Profile::backupFileName());
        restart();
        profile->setMana(0);
        profile->save();
        resetJournal();
        ui = RecordingUi{};
        startAt(1, 1);
        passing = {{"L1a", c.before != Nothing}, {"L1b", c.before >= Won}};
        {
            SaveCounter counter;
            if (c.before == Skipped) {
                profile->setPendingMana(-150);
                goals->completeAllMissions();
            }
            for (int step = 0; step < 4; ++step)
                goals->checkMissions();
            EXPECT_EQ(counter.saves, c.writes) << "a reward and its record in one write, the skip's cost with all";
        }
        if (c.before >= BoardSeen)
            goals->endDay(kTestMode);
        if (c.before == NextPressed)
            goals->levelEnd();
        if (c.before == OtherDay) {
            profile->setBestDay(kTestMode, 2);
            profile->save();
        }

        resetJournal();
        ui = RecordingUi{};
        if (c.killed) {
            restart();
            profile->load(false);
            registerTestMode(kTestMode);
            goals->settleWonDays();
            EXPECT_EQ(profile->getBestDay(kTestMode), c.day) << "the game's start goes on from a won day";
            EXPECT_EQ(goals->activeCount(), 0);
        }
        const int32_t best = profile->getBestDay(kTestMode);
        startAt(best, best);
        std::vector<std::string> done;
        for (const auto& [name, briefing] : goals->completedMissions())
            done.push_back(name);
        EXPECT_EQ(done, c.done);
        EXPECT_EQ(activeNames(), c.active);
        EXPECT_EQ(profile->getDay(), c.day);
        EXPECT_EQ(profile->getMana() + profile->getPendingMana(), c.mana);
        EXPECT_TRUE(ui.notices.empty()) << "nothing is announced again";
        EXPECT_EQ(ui.boards, 0);

        passing = {{"L1a", true}, {"L1b", true}, {"L2a", true}, {"L2b", true}};
        for (int step = 0; step < 4; ++step)
            goals->checkMissions();
        EXPECT_EQ(profile->getMana() + profile->getPendingMana(), c.manaAfterPlay);
        EXPECT_EQ(std::count(ui.notices.begin(), ui.notices.end(), RecordingUi::Notice{"done L1a", ""}),
                  c.before == Nothing ? 1 : 0);
    }
}

TEST_F(GoalsManager, DaysEndAndStartOnlyWhereTheyCan)
{
    testsupport::LogCapture log;
    goals->endDay(0);
    EXPECT_TRUE(log.contains("endDay: no level step runs")) << "no step";

    goals->addMission(new TestMission("A"));
    profile->setGameMode(20);
    goals->startDay(1);
    EXPECT_TRUE(log.contains("not built yet: the goals of game mode 20"));
    EXPECT_EQ(goals->activeCount(), 0) << "the day is cleared";
    EXPECT_FALSE(goals->hasCurrentStep());
    EXPECT_TRUE(profile->isDayStarted());

    log.clear();
    startAt(1, 1);
    goals->endDay(kTestMode);
    EXPECT_TRUE(log.contains("endDay: 2 missions are still open"));
    EXPECT_TRUE(journal.empty());

    log.clear();
    profile->setDay(5000);
    goals->startDay(5000);
    EXPECT_TRUE(log.contains("startDay: day 5000 is out of range"));
    EXPECT_EQ(profile->getDay(), 1);
    EXPECT_EQ(activeNames(), (std::vector<std::string>{"L1a", "L1b"}));
}

// A mission that records what one reward grant did.
struct GrantProbe : AchievementBase {
    bool isAccomplished() override { return false; }
    void onAccomplished() override
    {
        const int32_t before = Profile::getInstance()->getPendingMana();
        grantExperience(100);
        paid = Profile::getInstance()->getPendingMana() - before;
    }
    static inline int32_t paid = 0;
};

TEST_F(GoalsManager, TheGrantPaysInFreePlayOrLiveOnAFirstReach)
{
    struct Case {
        bool freePlay, live, newBest, rewardsOff;
        int32_t paid;
        bool saved;
    };
    const Case cases[] = {
        {false, true, true, false, 100, true}, {false, true, false, false, 0, false},
        {false, false, true, false, 0, false}, {true, false, false, false, 100, true},
        {true, true, false, true, 0, true},    {false, true, true, true, 0, true},
    };
    for (const Case& c : cases) {
        testsupport::testHost().freePlay = c.freePlay;
        profile->setRewardsOff(c.rewardsOff);
        GrantProbe::paid = -1;
        SaveCounter counter;
        if (c.live) {
            goals->setNewBestDay(c.newBest);
            GrantProbe().onAccomplished();
        } else {
            // A replayed day rewards its missions with the manager not live.
            goals->setEntryMissions(20, {[]() -> AchievementBase* { return new GrantProbe(); }});
            profile->setGameMode(20);
            goals->setNewBestDay(c.newBest);
            goals->startDay(2);  // its day end finds no step and saves nothing
        }
        EXPECT_EQ(GrantProbe::paid, c.paid) << c.freePlay << c.live << c.newBest << c.rewardsOff;
        EXPECT_EQ(counter.saves > 0, c.saved) << c.freePlay << c.live << c.newBest << c.rewardsOff;
    }
    profile->setRewardsOff(false);
}

TEST_F(GoalsManager, TheStoryDayRecordsTheBestOfItsModeAndTheFirstReach)
{
    struct Case {
        int mode, best, day;
        int bestAfter;
        bool firstReach;
    };
    const Case cases[] = {
        {3, 5, 6, 6, true}, {3, 5, 5, 5, false}, {3, 5, 4, 5, false}, {-99, 0, 7, 0, false}, {-1, 0, 7, 0, false},
    };
    for (const Case& c : cases) {
        profile->setGameMode(c.mode);
        profile->setBestDay(3, 5);
        goals->setNewBestDay(!c.firstReach);
        int32_t slots[Profile::kModeSlots];
        for (int m = 0; m < Profile::kModeSlots; ++m)
            slots[m] = profile->getBestDay(m);
        setStoryDay(c.day);
        EXPECT_EQ(profile->getDay(), c.day);
        EXPECT_EQ(profile->getBestDay(c.mode), c.bestAfter) << c.mode << " " << c.day;
        EXPECT_EQ(goals->isNewBestDay(), c.firstReach) << c.mode << " " << c.day;
        for (int m = 0; m < Profile::kModeSlots; ++m) {
            if (m != c.mode) {
                EXPECT_EQ(profile->getBestDay(m), slots[m]) << "mode " << c.mode << " touched slot " << m;
            }
        }
    }
}

TEST_F(GoalsManager, MissionRewardsAreReadFromTheFileAtEveryCall)
{
    struct Case {
        const char* file;  // null: no file
        int32_t reward;
    };
    const Case cases[] = {
        {nullptr, 0},
        {"<dict><key>Other</key><dict><key>K</key><integer>40</integer></dict></dict>", 0},
        {"<dict><key>Levels</key><integer>40</integer></dict>", 0},
        {"<dict><key>Levels</key><dict><key>J</key><integer>40</integer></dict></dict>", 0},
        {"<dict><key>Levels</key><dict><key>K</key><string>forty</string></dict></dict>", 0},
        {"<dict><key>Levels</key><dict><key>K</key><real>1.5</real></dict></dict>", 0},
        {"<dict><key>Levels</key><dict><key>K</key><dict/></dict></dict>", 0},
        {"<dict><key>Levels</key><dict><key>K</key><integer>40</integer></dict></dict>", 40},
        {"<dict><key>Levels</key><dict><key>K</key><integer>55</integer></dict></dict>", 55},
    };
    for (const Case& c : cases) {
        if (c.file)
            mirror->write(kRewardsFile, testsupport::plistText(c.file));
        else
            mirror->remove(kRewardsFile);
        EXPECT_EQ(getMissionReward(CCString::create("K")), c.reward) << (c.file ? c.file : "no file");
    }
    EXPECT_EQ(getMissionReward(static_cast<CCString*>(nullptr)), 0);
}

TEST_F(GoalsManager, AnnouncementsListTheMessageUnlocksAndAmountsInOrder)
{
    ScopedTable table({{"AnouncementElementGeneric", "New element: #var#"},
                       {"AnouncementUniverseGeneric", "Unlocked: #var#"},
                       {"AchievementManaEarned", "+#var# mana"},
                       {"SandTitle", "SAND"},
                       {"MinerName", "Miner tool"},
                       {"LightshowBkgName", "Light show"}});
    auto names = [](std::initializer_list<const char*> items) {
        CCArray* a = CCArray::create();
        for (const char* i : items)
            a->addObject(CCString::create(i));
        return a;
    };
    CCArray* amounts = CCArray::create();
    amounts->addObject(CCInteger::create(25));
    amounts->addObject(CCInteger::create(0));
    amounts->addObject(CCString::create("7"));
    profile->setGameMode(0);
    profile->setBestDay(0, 3);
    struct Case {
        int day;
        size_t notices;
    };
    for (const Case c : {Case{3, 7}, Case{2, 0}, Case{4, 7}}) {
        ui.notices.clear();
        profile->setDay(c.day);
        profile->setProgressWord(ProgressWord::AnnouncementCounter, 0);
        showAnnouncement(names({"LightShow"}), amounts, CCString::create("Goal!"), names({"Sand", "Lava"}),
                         names({"Miner"}));
        ASSERT_EQ(ui.notices.size(), c.notices) << "day " << c.day << " against the best day 3";
        EXPECT_EQ(profile->getProgressWord(ProgressWord::AnnouncementCounter), static_cast<int32_t>(c.notices));
    }
    using N = RecordingUi::Notice;
    EXPECT_EQ(ui.notices,
              (std::vector<N>{{"Goal!", ""},
                              {"New element: SAND", "HUDelement_Sand.png"},
                              {"New element: Lava", "HUDelement_Lava.png"},
                              {"Unlocked: Miner tool", "HUDkey.png"},
                              {"Unlocked: Light show", "HUDplanet.png"},
                              {"+25 mana", "HUDMana.png"},
                              {"+7 mana", "HUDMana.png"}}))
        << "no line for an amount of 0";
}

TEST_F(GoalsManager, AFirstDayPaysWhatItAnnouncesAndAnEarlierDayNeither)
{
    ScopedTable table({{"AchievementManaEarned", "+#var# mana"}});
    struct Case {
        int day, best;
        int32_t paid;
        size_t notices;
    };
    for (const Case c : {Case{1, 1, 10, 2}, Case{2, 3, 0, 0}}) {
        ui.notices.clear();
        profile->setPendingMana(0);
        startAt(c.day, c.best);
        const std::string mission = "L" + std::to_string(c.day) + "a";
        passing[mission] = true;
        goals->checkMissions();
        goals->checkMissions();
        EXPECT_EQ(profile->getPendingMana(), c.paid) << "day " << c.day;
        EXPECT_EQ(ui.notices.size(), c.notices) << "day " << c.day;
    }
}

TEST_F(GoalsManager, ACompletionFlagUnlocksItsAchievementOnce)
{
    ScopedTable table({{"MusicCampaignName", "Music done"}});
    EXPECT_EQ(AchievementManager::achievementSlot("Achievement45"), 45);
    EXPECT_EQ(AchievementManager::achievementSlot("Achievement64"), -1);
    EXPECT_EQ(AchievementManager::achievementSlot("Achievement"), -1);
    const auto& all = AchievementManager::userAchievements();
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].completionIndex, static_cast<int>(i)) << all[i].name;
        EXPECT_EQ(AchievementManager::achievementSlot(all[i].key), static_cast<int>(i) + 1) << all[i].name;
    }

    profile->setCompletionFlag(CampaignIndex::Music, 1);
    {
        SaveCounter counter;
        goals->checkAchievements();
        goals->checkAchievements();
        EXPECT_EQ(counter.saves, 1);
    }
    EXPECT_EQ(ui.notices, (std::vector<RecordingUi::Notice>{{"Music done", ""}}));
    for (int slot = 0; slot < Profile::kAchievementSlots; ++slot)
        EXPECT_EQ(profile->getAchievementUnlocked(slot), slot == 4 ? 1 : 0) << slot;

    // A new run reads the unlock back and says nothing.
    Profile::resetInstanceForTests();
    Profile::getInstance()->load(false);
    ASSERT_EQ(Profile::getInstance()->getCompletionFlag(CampaignIndex::Music), 1);
    AchievementManager::resetInstanceForTests();
    AchievementManager::getInstance()->checkAchievements();
    EXPECT_EQ(ui.notices.size(), 1u);
}

TEST_F(GoalsManager, UnknownNamesUnlockAndResetNothing)
{
    struct Case {
        void (*unlock)(CCString*);
        const char* name;
        const char* recorded;  // null: nothing
    };
    const Case cases[] = {
        {unlockPaletteElement, "Sand", "0 Sand"},
        {unlockPaletteElement, "Sandd", nullptr},
        {unlockPaletteElement, "Miner", nullptr},
        {unlockTool, "Miner", "1 Miner"},
        {unlockTool, "Zoom", "1 Zoom"},
        {unlockTool, "Sand", nullptr},
        {unlockOption, "Sun", "2 Sun"},
        {unlockOption, "Moon", nullptr},
        {unlockOption, "", nullptr},
    };
    for (const Case& c : cases) {
        ui.unlocks.clear();
        c.unlock(CCString::create(c.name));
        EXPECT_EQ(ui.unlocks, c.recorded ? std::vector<std::string>{c.recorded} : std::vector<std::string>{}) << c.name;
    }
    unlockTool(nullptr);
    EXPECT_TRUE(ui.unlocks.empty());

    ParticleCreator::resetElementsCreated();
    delete ParticleCreator::createByName("Sand");
    EXPECT_TRUE(wasElementCreated(CCString::create("Sand")));
    const unsigned entries = ParticleCreator::getElementsCreated()->count();
    resetElementCreated(CCString::create("Nothing"));
    EXPECT_EQ(ParticleCreator::getElementsCreated()->count(), entries);
    resetElementCreated(CCString::create("Sand"));
    EXPECT_FALSE(wasElementCreated(CCString::create("Sand")));
    EXPECT_FALSE(wasElementCreated(CCString::create("Nothing")));
}

TEST_F(GoalsManager, WithoutAGameLayerTheScreenIsLeftAlone)
{
    setGoalsUi(nullptr);  // the game's own
    GameLayer::resetInstanceForTests();
    mirror->write("universes/Missions/Day5_3", "blob");
    CCArray* amounts = CCArray::create();
    amounts->addObject(CCInteger::create(5));
    startAt(3, 3);  // a silent replay, then live
    showAnnouncement(amounts, amounts, CCString::create("Goal!"), amounts, amounts);
    showLevelUp(nullptr, nullptr, nullptr, amounts);
    unlockPaletteElement(CCString::create("Sand"));
    resetZoomDone();
    setStoryLevel2Flag();
    goals->completeAllMissions();
    goals->loadDay(3);
    EXPECT_FALSE(isZoomDone());
    EXPECT_FALSE(isWorldNamed(CCString::create("Day5_3")));
    EXPECT_EQ(GameLayer::existingInstance(), nullptr) << "nothing made a game layer";
}

TEST_F(GoalsManager, ADayLoadsItsPreparedWorldAndSettingsByName)
{
    struct Case {
        int mode, day;
        bool worldFile, accepted;
        const char* settings;  // the name asked for; null for none
        const char* named;     // the loaded world's name afterwards
    };
    const Case cases[] = {
        {0, 4, false, true, "Day4", ""},           {0, 4, true, true, "Day4", "Day4"},
        {3, 5, true, false, "Day3_5", "Day4"},     {3, 5, true, true, "Day3_5", "Day3_5"},
        {10, 1, true, true, "Day10_1", "Day10_1"}, {-1, 2, true, true, nullptr, "Day10_1"},
    };
    for (const Case& c : cases) {
        ui.settings.clear();
        ui.acceptWorlds = c.accepted;
        profile->setGameMode(c.mode);
        const std::string name = AchievementManager::dayName(c.mode, c.day);
        if (c.worldFile)
            mirror->write("universes/Missions/" + name, "blob");
        else
            mirror->remove("universes/Missions/" + name);
        goals->loadDay(c.day);
        EXPECT_EQ(ui.settings, c.settings ? std::vector<std::string>{c.settings} : std::vector<std::string>{}) << name;
        EXPECT_EQ(ui.worldName, c.named) << name;
    }
    EXPECT_FALSE(goals->loadMissionUniverse("../Day4"));
    EXPECT_FALSE(goals->loadMissionUniverse(""));
}

}  // namespace
