// A campaign level handed over on the headless game through the goals
// window: the next button sets up the next level and loads its world in the
// same frame, so no mission of the new level is ever tested against the old
// world (Contra_Demolish passes on any world without its TNT, such as the
// pirate ship of the level before).
#include <gtest/gtest.h>

#include <memory>

#include "base/NSData.h"
#include "campaigns/Campaigns.h"
#include "campaigns/robot/RobotCampaign.h"
#include "goals/GoalsTesting.h"
#include "gui/GUIButton.h"
#include "hud/GUIAchievement.h"
#include "hud/GUITopBar.h"
#include "platform/GameClock.h"
#include "support/GameSceneFixture.h"

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
