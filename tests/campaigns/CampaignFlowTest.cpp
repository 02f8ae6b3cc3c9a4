// A campaign level handed over on the headless game through the goals
// window: the next button sets up the next level and loads its world in the
// same frame, so no mission of the new level is ever tested against the old
// world (Contra_Demolish passes on any world without its TNT, such as the
// pirate ship of the level before).
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "base/NSData.h"
#include "base/LocalUtils.h"
#include "campaigns/Campaigns.h"
#include "campaigns/story/StorySteps.h"
#include "goals/GoalFunctions.h"
#include "campaigns/robot/RobotCampaign.h"
#include "goals/GoalsTesting.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "hud/GUIAchievement.h"
#include "hud/GUITopBar.h"
#include "platform/GameClock.h"
#include "support/GameSceneFixture.h"
#include "support/LogCapture.h"

USING_NS_CC;

namespace {

class CampaignFlow : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        mirror = std::make_unique<testsupport::ResourceMirror>();
        platform::setManualGameTime(1000);
    }
    void TearDown() override
    {
        platform::clearManualGameTime();
        mirror.reset();
        AchievementManager::resetInstanceForTests();
        GameScene::TearDown();
    }

    // A prepared world holding the table's cells.
    void writeWorld(const std::string& name, MissionPattern cells)
    {
        world->setBigWorld(false);
        world->reset();
        for (; cells && !(cells->end & 0xff); ++cells)
            world->addParticle(cells->x, cells->y, cells->type, true);
        NSData* blob = world->save();
        mirror->write("universes/Missions/" + name, std::string(reinterpret_cast<char*>(blob->bytes), blob->length));
        mirror->write("universes/Missions/" + name + ".plist",
                      testsupport::plistText("<dict><key>lock</key><false/></dict>"));
    }
    static MissionPattern table(const char* name, int mode = 2)
    {
        for (const CampaignTable& t : campaignOfMode(mode)->tables)
            if (std::string(t.name) == name)
                return t.records;
        return nullptr;
    }
    std::string loadedName() const
    {
        CCString* name = layer->getLoadedWorldName();
        return name ? name->getString() : std::string();
    }
    std::unique_ptr<testsupport::ResourceMirror> mirror;
};

TEST_F(CampaignFlow, NextLoadsTheNextLevelsWorldBeforeItsMissionIsTested)
{
    writeWorld("Day2_8", table("ShipGlass"));  // none of level 9's TNT
    writeWorld("Day2_9", table("Demolish"));
    Profile* profile = Profile::getInstance();
    profile->setGameMode(2);
    profile->setBestDay(2, 12);
    profile->setDay(8);
    enterScene(false);
    GUITopBar* bar = GUITopBar::getInstance();
    bar->buildCampaignBar();
    bar->setLocked(false);
    AchievementManager* goals = AchievementManager::getInstance();
    goals->startDay(8);
    goals->loadDay(8);
    ASSERT_EQ(loadedName(), "Day2_8");

    goals->completeAllMissions();
    tapButton(bar->getDayButton(), ccp(0.5f, -0.5f));
    GUIAchievement* window = layer->getAchievementWindow();
    ASSERT_EQ(window->getBoardKind(), GUIAchievement::kDayCleared);
    ASSERT_TRUE(stepUntil([&] { return window->takesPresses(); }));
    tapButton(window->getNextButton(), ccp(0, 0.5f));

    EXPECT_EQ(loadedName(), "Day2_9");
    EXPECT_EQ(profile->getDay(), 9);
    ASSERT_EQ(goals->activeCount(), 1);
    EXPECT_STREQ(dynamic_cast<CampaignMission&>(*goals->firstActive()).row().className, "Contra_Demolish");
    stepFrames(30);
    EXPECT_EQ(goals->firstActive()->rewardPending, 0) << "tested only on its own world, where the TNT stands";
    EXPECT_EQ(goals->activeCount(), 1);
}

}  // namespace

namespace {

// The tower mission takes its starting count at its first test: on the level
// before, which has no tower, it would take 0 and pass at once.
TEST_F(CampaignFlow, RobotTowerCountsItsOwnWorldAfterNextAndAfterAStart)
{
    writeWorld("Day9_11", table("T11a-1", 9));
    writeWorld("Day9_12", table("T12a", 9));
    Profile* profile = Profile::getInstance();
    profile->setGameMode(9);
    profile->setBestDay(9, 16);
    profile->setDay(11);
    enterScene(false);
    GUITopBar* bar = GUITopBar::getInstance();
    bar->buildCampaignBar();
    bar->setLocked(false);
    AchievementManager* goals = AchievementManager::getInstance();
    robotLv12aInitialCount() = 0;
    goals->startDay(11);
    goals->loadDay(11);

    goals->completeAllMissions();
    tapButton(bar->getDayButton(), ccp(0.5f, -0.5f));
    GUIAchievement* window = layer->getAchievementWindow();
    ASSERT_EQ(window->getBoardKind(), GUIAchievement::kDayCleared);
    ASSERT_TRUE(stepUntil([&] { return window->takesPresses(); }));
    tapButton(window->getNextButton(), ccp(0, 0.5f));
    EXPECT_EQ(loadedName(), "Day9_12");
    window->hide();
    stepFrames(30);
    EXPECT_EQ(robotLv12aInitialCount(), 149) << "counted on the tower's world";
    ASSERT_EQ(goals->activeCount(), 1);
    EXPECT_EQ(goals->firstActive()->rewardPending, 0);

    // A start at level 12, as the level selection makes it: goals and world
    // in one frame.
    robotLv12aInitialCount() = 0;
    writeWorld("Day9_11", nullptr);
    goals->loadDay(11);
    goals->startDay(12);
    goals->loadDay(12);
    stepFrames(30);
    EXPECT_EQ(robotLv12aInitialCount(), 149);
    ASSERT_EQ(goals->activeCount(), 1);
    EXPECT_EQ(goals->firstActive()->rewardPending, 0);
    robotLv12aInitialCount() = 0;
}

}  // namespace

namespace {

// The last level of each campaign, and the story's last day, ended through
// the goals window: the board's next button opens no level past the last,
// in the world or on the day button.
struct LastLevel {
    int mode;
    int last;
};

void PrintTo(const LastLevel& level, std::ostream* os)
{
    *os << "game mode " << level.mode << ", last level " << level.last;
}

class CampaignEnd : public CampaignFlow, public ::testing::WithParamInterface<LastLevel> {
protected:
    // The day button and the board show numbers in the player's words.
    void SetUp() override
    {
        CampaignFlow::SetUp();
        ASSERT_EQ(localizationTable, nullptr);
        localizationTable = CCDictionary::createWithContentsOfFile("localization/en.plist");
        ASSERT_NE(localizationTable, nullptr);
        localizationTable->retain();
    }
    void TearDown() override
    {
        CC_SAFE_RELEASE_NULL(localizationTable);
        CampaignFlow::TearDown();
    }
};

TEST_P(CampaignEnd, NextAfterTheLastLevelLoadsNoneAndShowsNoneBeyond)
{
    const auto [mode, last] = GetParam();
    const std::string lastWorld = AchievementManager::dayName(mode, last);
    const std::string beyond = AchievementManager::dayName(mode, last + 1);
    Profile* profile = Profile::getInstance();
    profile->setGameMode(mode);
    profile->setBestDay(mode, last);
    profile->setDay(last);
    enterScene(false);
    GUITopBar* bar = GUITopBar::getInstance();
    bar->buildCampaignBar();
    bar->setLocked(false);
    AchievementManager* goals = AchievementManager::getInstance();
    goals->startDay(last);
    goals->loadDay(last);
    ASSERT_EQ(loadedName(), lastWorld);
    const std::string lastButton =
        LocalUtils::localizeWithVar("DayButtonInGame", std::to_string(last).c_str())->getString();
    const std::string lastBoard = levelTitle(mode, last, true);

    testsupport::LogCapture log;
    goals->completeAllMissions();
    tapButton(bar->getDayButton(), ccp(0.5f, -0.5f));
    GUIAchievement* window = layer->getAchievementWindow();
    ASSERT_EQ(window->getBoardKind(), GUIAchievement::kDayCleared);
    ASSERT_TRUE(stepUntil([&] { return window->takesPresses(); }));
    tapButton(window->getNextButton(), ccp(0, 0.5f));

    EXPECT_EQ(loadedName(), lastWorld) << "the last level's world stays";
    EXPECT_EQ(log.find(beyond), -1) << "nothing asked for " << beyond;
    EXPECT_EQ(bar->getDayButton()->getLabel()->getText()->getString(), lastButton);
    // The story stays open after its end: the day button ends its last day
    // again, under that day's name. (A campaign's outro leaves the world.)
    if (mode == 0) {
        tapButton(bar->getDayButton(), ccp(0.5f, -0.5f));
        ASSERT_EQ(window->getBoardKind(), GUIAchievement::kDayCleared);
        EXPECT_EQ(window->getTitleLabel()->getText()->getString(), lastBoard);
        EXPECT_EQ(bar->getDayButton()->getLabel()->getText()->getString(), lastButton);
    }
}

std::vector<LastLevel> lastLevels()
{
    std::vector<LastLevel> levels{{0, kStoryLastDay}};
    for (const Campaign* c : builtCampaigns())
        levels.push_back({c->mode, c->levelCount()});
    return levels;
}

INSTANTIATE_TEST_SUITE_P(Modes, CampaignEnd, ::testing::ValuesIn(lastLevels()),
                         [](const ::testing::TestParamInfo<LastLevel>& info) {
                             return "Mode" + std::to_string(info.param.mode);
                         });

}  // namespace
