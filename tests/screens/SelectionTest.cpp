// The campaign and level selections: which campaigns open, which levels are
// offered, how a level starts and where Back goes.
#include <string>
#include <vector>

#include "base/LocalUtils.h"
#include "campaigns/CampaignRows.h"
#include "campaigns/Campaigns.h"
#include "goals/AchievementBase.h"
#include "goals/AchievementManager.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "hud/GUITopBar.h"
#include "profile/Profile.h"
#include "scene/SaveLoadUtils.h"
#include "screens/CampaignSelection.h"
#include "screens/LevelSelection.h"
#include "screens/MainMenu.h"
#include "support/GameSceneFixture.h"
#include "support/LogCapture.h"
#include "support/Readability.h"
#include "world/ParticleCreator.h"

USING_NS_CC;

namespace {

namespace ci = CampaignIndex;

class SelectionTest : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        MainMenu::resetInstanceForTests();
        ScreenUtils::getInstance()->setBusy(false);
        CCDirector::sharedDirector()->runWithScene(MainMenu::scene());
        stepFrames(2);
    }
    void TearDown() override
    {
        CCDirector::sharedDirector()->resetForTests();
        ScreenUtils::getInstance()->setBusy(false);
        MainMenu::resetInstanceForTests();
        GameScene::TearDown();
    }

    static void finish(std::initializer_list<int> indices)
    {
        for (int index : indices)
            Profile::getInstance()->setCompletionFlag(index, 1);
    }
    static CCNode* top()
    {
        CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
        return scene && scene->getChildren() ? static_cast<CCNode*>(scene->getChildren()->objectAtIndex(0)) : nullptr;
    }
    template <class T> static T* screen() { return dynamic_cast<T*>(top()); }
    void click(GUIButton* button)
    {
        ASSERT_NE(button, nullptr);
        const CCPoint at = button->getParent()->convertToWorldSpace(button->getPosition());
        press(at.x, at.y);
        release(at.x, at.y);
        stepFrames(6);
    }
    // Main menu -> Campaigns -> the campaign's levels.
    LevelSelection* openLevels(int mode)
    {
        click(MainMenu::getInstance()->getCampaignsButton());
        auto* campaigns = screen<CampaignSelection>();
        EXPECT_NE(campaigns, nullptr);
        if (!campaigns)
            return nullptr;
        click(campaigns->tileOf(mode));
        return screen<LevelSelection>();
    }
};

TEST_F(SelectionTest, CampaignsOpenAndCloseByTheProfileAndTheBuiltGoals)
{
    struct Case {
        const char* what;
        std::vector<int> finished;
        std::vector<int> open;        // game modes
        std::vector<int> markedDone;  // game modes
    };
    const Case cases[] = {
        // Every campaign has its level worlds; Human (5) is always unlocked.
        {"a new player", {}, {5}, {}},
        {"the story finished", {ci::Story}, {2, 4, 5}, {}},
        {"Contraptions finished", {ci::Story, ci::Contraptions}, {2, 4, 5, 6, 7}, {2}},
        {"UserMade finished too", {ci::Story, ci::Contraptions, ci::UserMade}, {1, 2, 4, 5, 6, 7}, {2, 6}},
        // Music finished but not unlocked (an old profile): marked, still closed.
        {"Music finished alone", {ci::Music}, {3, 5, 7}, {1}},
        // Human opens Zombie and Robot, Zombie opens Invasion.
        {"Human finished", {ci::Human}, {5, 8, 9}, {5}},
        {"Zombie finished", {ci::Zombie}, {5, 10}, {8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int i = 0; i < ci::Count; ++i)
            Profile::getInstance()->setCompletionFlag(i, 0);
        for (int index : c.finished)
            finish({index});
        CampaignSelection* selection = CampaignSelection::create();
        for (int mode = 1; mode <= 10; ++mode) {
            SCOPED_TRACE(mode);
            const bool open = std::find(c.open.begin(), c.open.end(), mode) != c.open.end();
            const bool done = std::find(c.markedDone.begin(), c.markedDone.end(), mode) != c.markedDone.end();
            EXPECT_EQ(CampaignSelection::stateOf(mode).open, open);
            EXPECT_EQ(CampaignSelection::stateOf(mode).finished, done);
            ASSERT_NE(selection->tileOf(mode), nullptr);
            EXPECT_EQ(selection->lockOf(mode) != nullptr, !open);
            EXPECT_EQ(selection->tickOf(mode) != nullptr, done);
            EXPECT_EQ(LevelSelection::playableLevels(mode) > 0, open);
        }
    }
    EXPECT_EQ(CampaignSelection::create()->tileOf(0), nullptr);
    EXPECT_EQ(CampaignSelection::create()->tileOf(11), nullptr);
}

TEST_F(SelectionTest, LevelsRunFromOneToTheBestDayAndNeverPastTheLast)
{
    finish({ci::Story});
    const int last = campaignOfMode(2)->levelCount();
    ASSERT_EQ(last, 11);
    const struct {
        int bestDay;
        int offered;
    } cases[] = {{0, 1}, {1, 1}, {4, 4}, {11, 11}, {12, 11}, {40, 11}, {-3, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bestDay);
        Profile::getInstance()->setBestDay(2, c.bestDay);
        EXPECT_EQ(LevelSelection::playableLevels(2), c.offered);
        LevelSelection* levels = LevelSelection::create(2);
        EXPECT_EQ(levels->levelCount(), c.offered);
        EXPECT_NE(levels->levelButton(c.offered), nullptr);
        EXPECT_EQ(levels->levelButton(c.offered + 1), nullptr);
    }
    EXPECT_EQ(LevelSelection::playableLevels(3), 0) << "closed";
    EXPECT_EQ(LevelSelection::create(7)->levelCount(), 0) << "closed";
}

TEST_F(SelectionTest, ALevelStartsItsDayAndLoadsItsWorldInOneCall)
{
    finish({ci::Story});
    Profile* profile = Profile::getInstance();
    profile->setBestDay(2, 3);
    SaveLoadUtils::setFreePlay(true);
    world->setBigWorld(true);
    delete ParticleCreator::createByName("Sand");
    LevelSelection* levels = openLevels(2);
    ASSERT_NE(levels, nullptr);
    ASSERT_EQ(levels->levelCount(), 3);

    testsupport::LogCapture log;
    levels->startLevel(2);
    // Nothing stepped yet: the day's goals and its world request came together.
    AchievementManager* goals = AchievementManager::getInstance();
    EXPECT_EQ(profile->getGameMode(), 2);
    EXPECT_EQ(profile->getDay(), 2);
    EXPECT_FALSE(SaveLoadUtils::isFreePlay());
    EXPECT_FALSE(world->bigWorld);
    auto* sand = dynamic_cast<CCInteger*>(ParticleCreator::getElementsCreated()->objectForKey("Sand"));
    EXPECT_TRUE(!sand || sand->getValue() == 0) << "the created record is reset";
    EXPECT_GE(log.find("loadDay: Day2_2"), 0);
    const CampaignLevelRow& row = campaignOfMode(2)->levels[1];
    std::vector<std::string> expected;
    for (const char* name : row.missions)
        if (name)
            expected.push_back(name);
    std::vector<std::string> active;
    for (AchievementBase* m = goals->firstActive(); m; m = m->next)
        if (auto* mission = dynamic_cast<CampaignMission*>(m))
            active.push_back(mission->row().className);
    EXPECT_EQ(active, expected) << "level 2's missions, level 1 replayed";
    EXPECT_TRUE(goals->isLive());

    stepFrames(60);
    GameLayer* game = GameLayer::existingInstance();
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getParent(), CCDirector::sharedDirector()->getRunningScene());
    EXPECT_FALSE(GUITopBar::getInstance()->isLocked());
    EXPECT_EQ(CCDirector::sharedDirector()->getSceneStackSize(), 2u) << "the menu below the game, nothing between";
    CCDirector::sharedDirector()->popScene();
    stepFrames(2);
    EXPECT_EQ(MainMenu::getInstance()->getParent(), CCDirector::sharedDirector()->getRunningScene());
}

TEST_F(SelectionTest, ClosedCampaignsAndLevelsNotOfferedStartNothing)
{
    finish({ci::Story});
    Profile::getInstance()->setBestDay(2, 2);
    click(MainMenu::getInstance()->getCampaignsButton());
    auto* campaigns = screen<CampaignSelection>();
    ASSERT_NE(campaigns, nullptr);
    click(campaigns->tileOf(7));
    EXPECT_EQ(screen<CampaignSelection>(), campaigns) << "a closed tile opens nothing";
    GUIPopup* popup = GUIPopup::getInstance();
    ASSERT_TRUE(popup->isShown()) << "it says what opens it";
    EXPECT_EQ(popup->getMessageLabel()->getText()->getString(), CampaignSelection::lockedText(7)->getString());
    popup->onOkPressed();
    stepFrames(30);
    EXPECT_FALSE(popup->isShown());
    click(campaigns->tileOf(2));
    LevelSelection* levels = screen<LevelSelection>();
    ASSERT_NE(levels, nullptr);
    testsupport::LogCapture log;
    for (int level : {0, 3, 12})
        levels->startLevel(level);
    stepFrames(40);
    EXPECT_EQ(screen<LevelSelection>(), levels);
    EXPECT_EQ(log.find("loadDay"), -1);
    EXPECT_NE(Profile::getInstance()->getGameMode(), 2);
}

// The won levels are green with a tick, the next one gold, and a line counts
// the won ones (in French, none or one in the singular); a finished campaign
// has them all won and none next.
TEST_F(SelectionTest, TheLevelsShowWhichAreWonWhichIsNextAndHowMany)
{
    finish({ci::Story});
    const int total = campaignOfMode(2)->levelCount();
    testsupport::LanguageTable french("fr");
    for (int best : {1, 2, 4, total + 1}) {
        SCOPED_TRACE(best);
        Profile::getInstance()->setBestDay(2, best);
        LevelSelection* levels = openLevels(2);
        ASSERT_NE(levels, nullptr);
        const int won = best - 1;
        EXPECT_EQ(LevelSelection::wonLevels(2), won);
        CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
        for (int level = 1; level <= levels->levelCount(); ++level) {
            const char* frame = level <= won ? "levelselection_levelWon.png" : "levelselection_levelNext.png";
            EXPECT_TRUE(levels->levelButton(level)->isFrameDisplayed(frames->spriteFrameByName(frame))) << level;
        }
        EXPECT_EQ(levels->getProgressLabel()->getText()->getString(),
                  std::to_string(won) + (won < 2 ? " niveau gagné sur " : " niveaux gagnés sur ") +
                      std::to_string(total));
        click(levels->getBackButton());
        stepSeconds(0.5f);
        ASSERT_NE(screen<CampaignSelection>(), nullptr);
        screen<CampaignSelection>()->onBackPressed();
        stepSeconds(0.5f);
    }
}

TEST_F(SelectionTest, BackLeadsFromTheLevelsToTheCampaignsToTheMenu)
{
    finish({ci::Story});
    LevelSelection* levels = openLevels(2);
    ASSERT_NE(levels, nullptr);
    click(levels->getBackButton());
    stepSeconds(0.5f);
    auto* campaigns = screen<CampaignSelection>();
    ASSERT_NE(campaigns, nullptr) << "Back from the levels";
    EXPECT_EQ(CCDirector::sharedDirector()->getSceneStackSize(), 2u);
    // The back key as Back.
    campaigns->onBackPressed();
    campaigns->onBackPressed();
    stepSeconds(0.5f);
    EXPECT_EQ(top(), MainMenu::getInstance());
    EXPECT_EQ(CCDirector::sharedDirector()->getSceneStackSize(), 1u) << "one Back, one scene";
}

}  // namespace
