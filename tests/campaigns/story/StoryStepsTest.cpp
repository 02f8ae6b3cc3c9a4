// The story's level steps on the headless game scene: the chain of rows,
// what each set-up clears and zeroes, the boards, the reward rule, the end
// of the story, and a story started at any day against live play to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "campaigns/story/StoryMissions.h"
#include "campaigns/story/StorySteps.h"
#include "goals/GoalsTesting.h"
#include "hud/GUIAchievement.h"
#include "goals/DayItem.h"
#include "platform/GameClock.h"
#include "screens/MainMenu.h"
#include "support/GameSceneFixture.h"
#include "support/LogCapture.h"
#include "world/Particle.h"
#include "world/ParticleCreator.h"

USING_NS_CC;
using namespace goalstest;

namespace {

std::string describe(CCArray* list)
{
    if (!list)
        return "-";
    std::string s = "[";
    for (CCObject* o : *list) {
        const auto* name = dynamic_cast<CCString*>(o);
        const auto* amount = dynamic_cast<CCInteger*>(o);
        s += (s.size() > 1 ? " " : "") +
            (name         ? name->getString()
                 : amount ? std::to_string(amount->getValue())
                          : std::string("?"));
    }
    return s + "]";
}

// Also records the messages and the boards' lists.
class StepUi : public RecordingUi {
public:
    void showStoryReminder(int day) override { messages.push_back("reminder " + std::to_string(day)); }
    void showFreeModeMessage() override { messages.push_back("free mode"); }
    void showOutro() override { messages.push_back("outro"); }
    void showDayCleared(CCArray* elements, CCArray* options, CCArray* backgrounds, CCArray* mana) override
    {
        RecordingUi::showDayCleared(elements, options, backgrounds, mana);
        releaseLists();
        board = {describe(elements), describe(options), describe(backgrounds), describe(mana)};
        lists = {elements, options, backgrounds, mana};
        for (CCArray* list : lists)
            if (list)
                list->retain();
    }
    ~StepUi() override { releaseLists(); }
    void clear()
    {
        releaseLists();
        messages.clear();
        board.clear();
        notices.clear();
        unlocks.clear();
        boards = 0;
    }
    void releaseLists()
    {
        for (CCArray* list : lists)
            if (list)
                list->release();
        lists.clear();
    }

    std::vector<std::string> messages;
    std::vector<std::string> board;
    std::vector<CCArray*> lists;
};

// The backgrounds the profile holds as unlocked.
std::set<std::string> unlockedBackgrounds()
{
    std::set<std::string> ids;
    for (CCObject* o : *Profile::getInstance()->getUnlockedBackgrounds())
        ids.insert(static_cast<CCString*>(o)->getString());
    return ids;
}

// What a day holds: its missions, its step, everything unlocked so far and
// the level points.
struct DayState {
    std::vector<std::string> missions;
    std::string step;
    std::vector<std::string> unlocks;
    int32_t points = 0;
    bool operator==(const DayState& o) const
    {
        return missions == o.missions && step == o.step && unlocks == o.unlocks && points == o.points;
    }
};

std::ostream& operator<<(std::ostream& out, const DayState& s)
{
    out << "step " << s.step << ", points " << s.points << ", missions";
    for (const std::string& m : s.missions)
        out << " " << m;
    out << ", unlocks";
    for (const std::string& u : s.unlocks)
        out << " " << u;
    return out;
}

class StorySteps : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene(false);
        setGoalsUi(&ui);
        platform::setManualGameTime(1000);
        testsupport::testHost().freePlay = false;
        profile = Profile::getInstance();
        profile->setGameMode(0);
        profile->setLevelPoints(0);
        profile->setPendingMana(0);
        profile->setCompletionFlag(CampaignIndex::Story, 0);
        profile->getUnlockedBackgrounds()->removeAllObjects();
        ParticleCreator::resetElementsCreated();
        goals = AchievementManager::getInstance();
    }
    void TearDown() override
    {
        AchievementManager::resetInstanceForTests();
        setGoalsUi(nullptr);
        testsupport::testHost().freePlay = false;
        profile->setRewardsOff(false);
        platform::clearManualGameTime();
        ui.releaseLists();
        GameScene::TearDown();
    }

    // The step of that class made current on day N - 1 (the best day being
    // `best`), then its level end run live, on a new manager.
    void runLevelEnd(const char* step, int32_t best)
    {
        AchievementManager::resetInstanceForTests();
        goals = AchievementManager::getInstance();
        const StepRow& row = *storyStepRow(step);
        profile->setBestDay(0, best);
        profile->setDay(row.day - 1);
        goals->setCurrentStep(makeStoryStep(step));
        goals->levelEnd();
    }

    DayState state()
    {
        DayState s;
        for (AchievementBase* m = goals->firstActive(); m; m = m->next)
            s.missions.push_back(dynamic_cast<RowMission&>(*m).row().className);
        if (auto* step = dynamic_cast<RowStep*>(goals->getCurrentStep()))
            s.step = step->row().className;
        s.unlocks = ui.unlocks;
        std::sort(s.unlocks.begin(), s.unlocks.end());
        s.points = profile->getLevelPoints();
        return s;
    }

    int32_t reward(const char* step) { return getMissionReward(step); }

    StepUi ui;
    Profile* profile = nullptr;
    AchievementManager* goals = nullptr;
};

TEST_F(StorySteps, TheThirtyOneRowsChainTheDaysAndNameWhatExists)
{
    const auto rows = storyStepRows();
    ASSERT_EQ(rows.size(), 31u);
    std::multiset<std::string> missions{"MakeMud", "MakeSand"};
    for (size_t i = 0; i < rows.size(); ++i) {
        const StepRow& row = rows[i];
        const std::string name = row.className;
        const int32_t n = static_cast<int32_t>(i) + 2;
        EXPECT_EQ(name, n <= 30 ? "CheckLv" + std::to_string(n) : n == 31 ? "CheckLvFinal" : "CheckLvEnd");
        EXPECT_EQ(row.number, n) << name;
        EXPECT_EQ(row.day, n) << name;
        EXPECT_EQ(storyStepRow(name), &row);
        EXPECT_GT(reward(row.className), 0) << name << " has no reward";

        // The threshold: 100 x (N - 1) level points, equal passes.
        std::unique_ptr<AchievementBase> step(makeStoryStep(name));
        profile->setLevelPoints(100 * (n - 1) - 1);
        EXPECT_FALSE(step->isAccomplished()) << name;
        profile->setLevelPoints(100 * (n - 1));
        EXPECT_TRUE(step->isAccomplished()) << name;

        int nextSteps = 0;
        int ownMissions = 0;
        for (const StepAction& a : row.actions) {
            switch (a.kind) {
            case StepActionKind::NextStep:
                ++nextSteps;
                ASSERT_LT(i + 1, rows.size()) << name;
                EXPECT_STREQ(a.name, rows[i + 1].className) << name;
                break;
            case StepActionKind::Mission:
                ++ownMissions;
                missions.insert(a.name);
                ASSERT_NE(storyMissionRow(a.name), nullptr) << a.name;
                EXPECT_EQ(storyMissionRow(a.name)->day, row.day) << a.name << " opened by " << name;
                break;
            case StepActionKind::Element: EXPECT_TRUE(isKnownDayItem(DayItem::Element, a.name)) << a.name; break;
            case StepActionKind::Tool: EXPECT_TRUE(isKnownDayItem(DayItem::Tool, a.name)) << a.name; break;
            case StepActionKind::Option: EXPECT_TRUE(isKnownDayItem(DayItem::Option, a.name)) << a.name; break;
            case StepActionKind::ResetMade:
                EXPECT_TRUE(ParticleCreator::isAccepted(hashString(a.name))) << a.name;
                break;
            default: break;
            }
        }
        const bool last = name == "CheckLvEnd";
        EXPECT_EQ(nextSteps, last ? 0 : 1) << name;
        EXPECT_EQ(ownMissions > 0, !last) << name;
        for (const BoardList* list : {&row.elements, &row.options, &row.backgrounds})
            EXPECT_TRUE(list->present || !list->names[0]) << name << " names an absent list";
    }
    // Every story mission is opened exactly once.
    std::multiset<std::string> all;
    for (const MissionRow& m : storyMissionRows())
        all.insert(m.className);
    EXPECT_EQ(missions, all);
    EXPECT_EQ(makeStoryStep("CheckLv1"), nullptr);
}

TEST_F(StorySteps, NamesAndBriefingsAreValidEmptyTextsAtAnyTime)
{
    CCString* name = nullptr;
    for (const StepRow& row : storyStepRows()) {
        std::unique_ptr<AchievementBase> step(makeStoryStep(row.className));
        name = step->getName();
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->getString(), "");
        ASSERT_NE(step->getBriefing(), nullptr);
        EXPECT_EQ(step->getBriefing()->getString(), "");
    }
    // Held past its step and an autorelease drain.
    CCPoolManager::sharedPoolManager()->drain();
    EXPECT_EQ(name->getString(), "");
}

// Each set-up clears exactly the world's event flags and zeroes exactly the
// story counters that its own or the day before's missions wait for: the
// fill and replace flags survive the set-up of the day that tests them and
// go with the next one's.
TEST_F(StorySteps, EachSetUpClearsAndZeroesOnlyItsFlagsAndCounters)
{
    const std::map<std::string, std::set<std::string>> expected{
        {"CheckLv4", {"Saved", "Reset", "Loaded"}},
        {"CheckLv7", {"MetalElectrified"}},
        {"CheckLv9", {"SparkMade"}},
        {"CheckLv13", {"FrozenWater", "MeltedSnow"}},
        {"CheckLv16", {"FillUsed"}},
        {"CheckLv20", {"GasIgnitions"}},
        {"CheckLv21", {"GasIgnitions"}},
        {"CheckLv22", {"ReplaceUsed"}},
    };
    const std::map<std::string, WorldEvent> events{
        {"Saved", WorldEvent::Saved},         {"Reset", WorldEvent::Reset},
        {"Loaded", WorldEvent::Loaded},       {"StoneMined", WorldEvent::StoneMined},
        {"SparkMade", WorldEvent::SparkMade}, {"MetalElectrified", WorldEvent::MetalElectrified},
        {"FillUsed", WorldEvent::FillUsed},   {"ReplaceUsed", WorldEvent::ReplaceUsed},
    };
    const std::map<std::string, DayCounter> counters{
        {"BoiledWater", DayCounter::BoiledWater}, {"FrozenWater", DayCounter::FrozenWater},
        {"MeltedSnow", DayCounter::MeltedSnow},   {"GasIgnitions", DayCounter::GasIgnitions},
        {"AcidRain", DayCounter::AcidRain},
    };
    for (const StepRow& row : storyStepRows()) {
        for (const auto& [name, e] : events)
            setWorldEvent(e, true);
        for (const auto& [name, c] : counters)
            setDayCounter(c, 77);
        runLevelEnd(row.className, 40);
        std::set<std::string> changed;
        for (const auto& [name, e] : events)
            if (!worldEventRaised(e))
                changed.insert(name);
        for (const auto& [name, c] : counters)
            if (dayCounter(c) != 77)
                changed.insert(name);
        const auto it = expected.find(row.className);
        EXPECT_EQ(changed, it == expected.end() ? std::set<std::string>{} : it->second) << row.className;
    }
}

TEST_F(StorySteps, Day4sWorldFlagsAreClearedBeforeItsMissionsAreTested)
{
    // A world saved, reset and loaded on day 3 completes nothing on day 4.
    for (WorldEvent e : {WorldEvent::Saved, WorldEvent::Reset, WorldEvent::Loaded})
        setWorldEvent(e, true);
    runLevelEnd("CheckLv4", 3);
    EXPECT_EQ(state().missions, (std::vector<std::string>{"SaveUniverse", "ResetUniverse", "LoadUniverse"}));
    for (int i = 0; i < 12; ++i)
        goals->checkMissions();
    EXPECT_EQ(goals->activeCount(), 3);
}

TEST_F(StorySteps, TheSeedsDayUnlocksElevenAndBoardsThree)
{
    profile->setBestDay(0, 28);
    std::unique_ptr<AchievementBase>(makeStoryStep("CheckLv29"))->onAccomplished();
    EXPECT_EQ(ui.board,
              (std::vector<std::string>{"[SeedBaobab SeedBonsai SeedCedar]", "-", "[NightSky]",
                                        "[" + std::to_string(reward("CheckLv29")) + "]"}));
    runLevelEnd("CheckLv29", 28);
    const std::vector<std::string> seeds{"SeedBaobab", "SeedBonsai", "SeedCedar", "SeedDracaena",
                                         "SeedOak",    "SeedPalm",   "SeedPine",  "SeedRedMaple",
                                         "SeedSakura", "SeedTenere", "SeedWillow"};
    std::vector<std::string> unlocked;
    for (const std::string& u : ui.unlocks)
        unlocked.push_back(u.substr(2));
    EXPECT_EQ(unlocked, seeds);
    EXPECT_EQ(state().missions, std::vector<std::string>{"FindTree"});

    std::unique_ptr<AchievementBase>(makeStoryStep("CheckLv29"))->onAccomplished();
    EXPECT_EQ(ui.board.back(), "-") << "once won, the day's board shows no mana";
}

TEST_F(StorySteps, AbsentAndEmptyListsGiveOneBoardAndOnlyTheFirstLogsReward)
{
    GUIAchievement* window = layer->getAchievementWindow();
    ASSERT_NE(window, nullptr);
    auto swapped = [](CCArray* list) -> CCArray* {
        if (!list)
            return CCArray::create();
        return list->count() == 0 ? nullptr : list;
    };
    int absent = 0;
    int empty = 0;
    for (const StepRow& row : storyStepRows()) {
        testsupport::LogCapture log;
        ui.boards = 0;
        std::unique_ptr<AchievementBase>(makeStoryStep(row.className))->onAccomplished();
        ASSERT_EQ(ui.boards, 1) << row.className;
        EXPECT_EQ(log.contains("REWARD"), std::string(row.className) == "CheckLv2") << row.className;
        EXPECT_EQ(ui.board[3], "[" + std::to_string(reward(row.className)) + "]") << row.className;
        std::vector<CCArray*> l = ui.lists;
        for (int i = 0; i < 3; ++i) {
            absent += l[i] == nullptr;
            empty += l[i] && l[i]->count() == 0;
        }
        const auto lines = window->buildGoalsList(l[0], l[1], l[2], l[3]);
        EXPECT_EQ(lines, window->buildGoalsList(swapped(l[0]), swapped(l[1]), swapped(l[2]), l[3])) << row.className;
        int sections = 0;
        for (const std::string& line : lines)
            sections += line.rfind("  ", 0) != 0;
        int filled = 1;
        for (int i = 0; i < 3; ++i)
            filled += l[i] && l[i]->count() > 0;
        EXPECT_EQ(sections, filled) << row.className << ": no section for an absent or empty list";
        ui.releaseLists();
    }
    EXPECT_GT(absent, 0);
    EXPECT_GT(empty, 0);
    EXPECT_EQ(ui.board, (std::vector<std::string>{"-", "-", "-", "[" + std::to_string(reward("CheckLvEnd")) + "]"}));
}

// The grant: once for a first reach, in free play always (unless rewards are
// off), the profile saved whenever it pays.
TEST_F(StorySteps, TheRewardIsPaidOnAFirstReachOrInFreePlay)
{
    struct Case {
        const char* what;
        int32_t best;
        bool freePlay;
        bool rewardsOff;
        bool paid;
        int saves;
    };
    const Case cases[] = {
        {"first reach", 4, false, false, true, 1},
        {"again", 5, false, false, false, 0},
        {"long after", 20, false, false, false, 0},
        {"free play", 20, true, false, true, 1},
        {"free play, rewards off", 20, true, true, false, 1},
    };
    for (const Case& c : cases) {
        testsupport::testHost().freePlay = c.freePlay;
        profile->setRewardsOff(c.rewardsOff);
        profile->setPendingMana(5);
        SaveCounter saves;
        runLevelEnd("CheckLv5", c.best);
        EXPECT_EQ(profile->getPendingMana(), 5 + (c.paid ? reward("CheckLv5") : 0)) << c.what;
        EXPECT_EQ(saves.saves, c.saves) << c.what;
        EXPECT_EQ(profile->getDay(), 5) << c.what;
        EXPECT_EQ(profile->getBestDay(0), std::max(c.best, 5)) << c.what;
    }
}

TEST_F(StorySteps, TheStoryEndsOnceLiveAndItsCompletionIsSavedEvenWithoutAReward)
{
    // Saves record whether the story was finished when they were written.
    std::vector<int32_t> flagAtSave;
    auto write = gameServices().fileWrite;
    gameServices().fileWrite = [&](const std::string& name, const void* data, int32_t size) {
        if (name == "profile.dat")
            flagAtSave.push_back(Profile::getInstance()->getCompletionFlag(CampaignIndex::Story));
        return write(name, data, size);
    };
    struct Case {
        const char* what;
        int32_t best;
        std::vector<int32_t> saves;
    };
    for (const Case& c : {Case{"first end", 30, {0, 1}}, Case{"an end already reached", 31, {1}}}) {
        flagAtSave.clear();
        ui.messages.clear();
        profile->setCompletionFlag(CampaignIndex::Story, 0);
        runLevelEnd("CheckLvFinal", c.best);
        EXPECT_EQ(flagAtSave, c.saves) << c.what;
        EXPECT_EQ(ui.messages, std::vector<std::string>{"outro"}) << c.what;
        EXPECT_EQ(state().missions, std::vector<std::string>{"BlockBeta"});
        EXPECT_EQ(state().step, "CheckLvEnd");
    }
    gameServices().fileWrite = write;
}

TEST_F(StorySteps, AfterTheLastStepDay32EndsAgainAndAgainWithoutAGrant)
{
    runLevelEnd("CheckLvFinal", 30);
    AchievementBase* end = goals->getCurrentStep();
    goals->completeAllMissions();
    profile->setPendingMana(0);
    for (int round = 0; round < 3; ++round) {
        ui.boards = 0;
        goals->endDay(0);
        EXPECT_EQ(ui.boards, 1) << round;
        EXPECT_EQ(ui.board[3], round == 0 ? "[" + std::to_string(reward("CheckLvEnd")) + "]" : "-")
            << "the board shows only mana that is paid, round " << round;
        SaveCounter saves;
        goals->levelEnd();
        EXPECT_EQ(profile->getDay(), 32);
        EXPECT_EQ(profile->getPendingMana(), reward("CheckLvEnd")) << "paid the first time only, round " << round;
        EXPECT_EQ(saves.saves, round == 0 ? 1 : 0) << round;
        EXPECT_EQ(goals->getCurrentStep(), end);
        EXPECT_EQ(goals->activeCount(), 0);
    }
}

// A day won, then left or killed on its board, ends off screen. The page its
// end shows in play (the reminders, the free-mode offer, the closing page)
// is kept in the write that ends it and shows at the story's next entry,
// once. A silent replay owes none.
TEST_F(StorySteps, APageADayEndedOffScreenOwesShowsAtTheNextEntryOnce)
{
    // The day won, and the page it owes (none after day 4).
    const std::pair<int32_t, const char*> won[] = {{1, "reminder 2"}, {2, "reminder 3"}, {3, "reminder 4"},
                                                   {4, nullptr},      {7, "free mode"},  {30, "outro"}};
    // A new run on the profile as written.
    auto restart = [this] {
        AchievementManager::resetInstanceForTests();
        Profile::resetInstanceForTests();
        profile = Profile::getInstance();
        profile->load(false);
        goals = AchievementManager::getInstance();
    };
    for (const auto& [day, page] : won) {
        for (const bool killed : {false, true}) {
            SCOPED_TRACE("day " + std::to_string(day) + (killed ? " killed on its board" : " left"));
            restart();
            profile->setBestDay(0, day);
            profile->setDay(day);
            forgetPaidMissions(0);
            goals->startDay(day);
            EXPECT_FALSE(goals->showOwedPage(0)) << "the replay owes nothing";
            ui.clear();
            goals->completeAllMissions();
            if (killed) {
                goals->endDay(0);
                restart();
                goals->settleWonDays();
            } else {
                SaveCounter saves;
                EXPECT_TRUE(goals->keepWonDay(0));
                EXPECT_EQ(saves.saves, 1) << "the day's end and its page: one write";
                restart();
            }
            EXPECT_EQ(profile->getBestDay(0), day + 1);
            EXPECT_TRUE(ui.messages.empty()) << "nothing shows as the day ends";
            unlockReachedStoryBackgrounds();
            EXPECT_EQ(unlockedBackgrounds().count("lightshow"), day >= 7 ? 1u : 0u) << "day 7's board names it";

            profile->setDay(day + 1);
            goals->startDay(day + 1);
            EXPECT_FALSE(goals->showOwedPage(3)) << "owed to the story only";
            EXPECT_EQ(goals->showOwedPage(0), page != nullptr);
            EXPECT_EQ(ui.messages, page ? std::vector<std::string>{page} : std::vector<std::string>{});
            EXPECT_FALSE(goals->showOwedPage(0)) << "once";
            restart();
            EXPECT_FALSE(goals->showOwedPage(0)) << "its showing was written";
        }
    }
}

// A story started after its end opens day 31 again, replayed up to it
// without the closing page (which would leave the game scene at once).
TEST_F(StorySteps, AStoryStartedAfterItsEndOpensItsLastDaySilently)
{
    for (int32_t best : {31, 32}) {
        AchievementManager::resetInstanceForTests();
        goals = AchievementManager::getInstance();
        ui.messages.clear();
        profile->setBestDay(0, best);
        profile->setDay(best);
        profile->setPendingMana(0);
        profile->setCompletionFlag(CampaignIndex::Story, 0);
        goals->startDay(profile->getDay());
        EXPECT_EQ(profile->getDay(), 31) << best;
        EXPECT_EQ(state().missions, std::vector<std::string>{"BlockBeta"}) << best;
        EXPECT_EQ(state().step, "CheckLvEnd") << best;
        EXPECT_TRUE(ui.messages.empty()) << best;
        EXPECT_EQ(profile->getCompletionFlag(CampaignIndex::Story), 1) << best;
        EXPECT_TRUE(goals->isLive());
        EXPECT_EQ(goals->isNewBestDay(), best == 31) << best;

        // Day 31 played again pays nothing more.
        goals->completeAllMissions();
        goals->endDay(0);
        goals->levelEnd();
        EXPECT_EQ(profile->getDay(), 32);
        EXPECT_EQ(profile->getPendingMana(), best == 31 ? reward("CheckLvEnd") : 0) << best;
    }
}

// The front end starts the story at the best day: after the end that is
// day 31 again, with its own world and settings asked for.
TEST_F(StorySteps, TheMenusStoryButtonAfterTheEndOpensDay31)
{
    profile->setBestDay(0, 32);
    profile->setDay(32);
    MainMenu::getInstance()->startStoryMode();
    EXPECT_EQ(profile->getDay(), 31);
    EXPECT_EQ(state().missions, std::vector<std::string>{"BlockBeta"});
    EXPECT_EQ(state().step, "CheckLvEnd");
    EXPECT_EQ(ui.settings, std::vector<std::string>{"Day31"});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(goals->isNewBestDay());
}

// Live play from day 1, each day skipped and moved on from, against a story
// started at each day: the same missions, step, unlocks and level points; a
// replay pays no mana, saves only at each day's end and shows no message. The
// backgrounds owned are exactly those the boards and notices named so far,
// and a game started at that day owns them before the story is entered.
TEST_F(StorySteps, AStoryStartedAtAnyDayEqualsLivePlayToIt)
{
    ScopedTable table({{"AnouncementUniverseGeneric", "#var#"}});
    std::set<std::string> named;
    std::map<int32_t, DayState> live;
    std::map<int32_t, std::set<std::string>> owned;
    profile->setBestDay(0, 1);
    profile->setDay(1);
    goals->startDay(1);
    live[1] = state();
    for (int32_t day = 1; day <= 30; ++day) {
        goals->completeAllMissions();
        goals->endDay(0);
        goals->levelEnd();
        ASSERT_EQ(profile->getDay(), day + 1);
        live[day + 1] = state();
        for (const RecordingUi::Notice& notice : ui.notices)
            if (notice.icon == "HUDplanet.png")
                named.insert(backgroundId(notice.text));
        ui.notices.clear();
        if (CCArray* board = ui.lists[2])
            for (CCObject* o : *board)
                named.insert(backgroundId(static_cast<CCString*>(o)->getString()));
        owned[day + 1] = named;
        EXPECT_EQ(unlockedBackgrounds(), named) << "day " << day;
    }
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"reminder 2", "reminder 3", "reminder 4", "free mode", "outro"}));
    EXPECT_GT(profile->getPendingMana(), 0);
    EXPECT_TRUE(ui.storyLevel2);
    profile->setCompletionFlag(CampaignIndex::Story, 0);

    for (int32_t day = 1; day <= 31; ++day) {
        AchievementManager::resetInstanceForTests();
        goals = AchievementManager::getInstance();
        ui.clear();
        ParticleCreator::resetElementsCreated();
        profile->setLevelPoints(0);
        profile->setPendingMana(0);
        profile->setBestDay(0, day);
        profile->setDay(day);
        forgetPaidMissions(0);
        profile->getUnlockedBackgrounds()->removeAllObjects();
        unlockReachedStoryBackgrounds();
        EXPECT_EQ(unlockedBackgrounds(), owned[day]) << "at the game's start, day " << day;
        SaveCounter saves;
        goals->startDay(day);
        EXPECT_EQ(state(), live[day]) << "day " << day;
        EXPECT_EQ(profile->getDay(), day);
        EXPECT_EQ(profile->getPendingMana(), 0) << day;
        EXPECT_EQ(saves.saves, day - 1) << "one save per replayed day's end, day " << day;
        EXPECT_TRUE(ui.messages.empty()) << day;
        EXPECT_EQ(ui.boards, 0) << day;
        EXPECT_TRUE(ui.notices.empty()) << day;
        EXPECT_EQ(profile->getCompletionFlag(CampaignIndex::Story), day == 31 ? 1 : 0) << day;
        profile->setCompletionFlag(CampaignIndex::Story, 0);
    }
}

}  // namespace
