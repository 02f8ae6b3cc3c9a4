// A day played through on the headless game with the real top bar, HUD and
// goals window: a mission passes and is announced, the lil god cheers, the
// day button ends the day on its board, and the board's next button brings
// the next day's prepared world and settings in the same frame. Also the
// prepared worlds themselves: loaded and named, or the current world kept.
#include <gtest/gtest.h>

#include <memory>

#include "SimpleAudioEngine.h"
#include "base/NSData.h"
#include "goals/GoalsTesting.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "hud/GUIAchievement.h"
#include "hud/GUITopBar.h"
#include "hud/PaletteTable.h"
#include "platform/GameClock.h"
#include "support/GameSceneFixture.h"
#include "support/LogCapture.h"

USING_NS_CC;
using namespace goalstest;

namespace {

constexpr int kTestMode = 5;
const uint32_t kWall = hashString("Wall");

std::string settingsAllowing(const char* element)
{
    return testsupport::plistText(std::string("<dict><key>lock</key><true/><key>lockMode</key><string>allow</string>"
                                              "<key>elements</key><array><string>") +
                                  element +
                                  "</string></array><key>tools</key><array><string>Draw</string>"
                                  "</array></dict>");
}

class GoalsFlow : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        resetJournal();
        mirror = std::make_unique<testsupport::ResourceMirror>();
        mirror->write(kRewardsFile, testRewards());
        // Two prepared worlds, each with a wall where the other has none.
        writeWorld("Day5_1", 5);
        writeWorld("Day5_2", 6);
        mirror->write("universes/Missions/Day5_1.plist", settingsAllowing("Wall"));
        mirror->write("universes/Missions/Day5_2.plist", settingsAllowing("Water"));
        platform::setManualGameTime(1000);
    }
    void TearDown() override
    {
        platform::clearManualGameTime();
        mirror.reset();
        GameScene::TearDown();
    }

    void writeWorld(const std::string& name, int wallAt)
    {
        world->setBigWorld(false);
        world->reset();
        world->addParticle(wallAt, wallAt, kWall, true);
        NSData* blob = world->save();
        mirror->write("universes/Missions/" + name, std::string(reinterpret_cast<char*>(blob->bytes), blob->length));
    }

    static bool played(const std::string& sound)
    {
        for (const auto& call : CocosDenshion::SimpleAudioEngine::sharedEngine()->recordedCalls())
            if (call.operation == "playEffect" && call.path.find(sound) != std::string::npos)
                return true;
        return false;
    }

    std::string loadedName() const
    {
        CCString* name = layer->getLoadedWorldName();
        return name ? name->getString() : std::string();
    }

    std::unique_ptr<testsupport::ResourceMirror> mirror;
};

TEST_F(GoalsFlow, AMissionPassesTheDayEndsAndNextLoadsTheNextWorldAtOnce)
{
    ScopedTable table({{"AchievementManaEarned", "+#var# mana"}, {"DayButtonInGame", "D#var#"}});
    registerTestMode(kTestMode);
    Profile* profile = Profile::getInstance();
    profile->setGameMode(kTestMode);
    profile->setDay(1);
    enterScene(false);
    GUITopBar* bar = GUITopBar::getInstance();
    bar->buildCampaignBar();
    bar->setLocked(false);
    AchievementManager* goals = AchievementManager::getInstance();
    goals->startDay(1);
    goals->loadDay(1);
    ASSERT_EQ(loadedName(), "Day5_1");
    EXPECT_EQ(gameServices().universeName(), levelTitle(kTestMode, 1, false)) << "the world menu's name";
    EXPECT_EQ(gameServices().universeDescription(), "L1a, L1b") << "and its description: the goals";
    EXPECT_EQ(layer->getWorld().at(5, 5) ? layer->getWorld().at(5, 5)->getType() : 0, kWall);
    EXPECT_TRUE(layer->getGUI()->isAvailable("Wall"));

    passing = {{"L1a", true}, {"L1b", true}};
    stepFrames(12);
    EXPECT_EQ(journal, (std::vector<std::string>{"reward L1a", "reward L1b"}));
    EXPECT_EQ(firstTestWorld["L1a"], "Day5_1");
    ASSERT_TRUE(bar->isNotificationShowing());
    EXPECT_EQ(bar->getNotificationLabel()->getText()->getString(), "done L1a");
    ASSERT_TRUE(bar->hasNotification());
    auto* queued = dynamic_cast<CCArray*>(bar->getNotificationQueue()->objectAtIndex(0));
    ASSERT_NE(queued, nullptr);
    EXPECT_EQ(dynamic_cast<CCString*>(queued->objectAtIndex(0))->getString(), "+10 mana");
    EXPECT_EQ(dynamic_cast<CCString*>(queued->objectAtIndex(1))->getString(), "HUDMana.png");
    EXPECT_EQ(GUITopBar::frameOf(bar->getLilGodSprite()), "guitopbar_HUDlilGod1.png") << "no goal is left";
    EXPECT_TRUE(played("sfx_game_cleared"));
    EXPECT_TRUE(bar->showsDayWon()) << "the day button says the level is won";
    EXPECT_FALSE(bar->getDayButton()->getLabel()->isVisible());

    // The day button: the day ends on the board.
    tapButton(bar->getDayButton(), ccp(0.5f, -0.5f));
    GUIAchievement* window = layer->getAchievementWindow();
    ASSERT_EQ(window->getBoardKind(), GUIAchievement::kDayCleared);
    EXPECT_EQ(window->getLines(),
              (std::vector<std::string>{"BoardLevelComplete", "BoardUnlockedElements", "  Sand", "BoardManaEarned",
                                        "  100"}));
    EXPECT_TRUE(bar->isLocked());
    EXPECT_FALSE(bar->showsDayWon()) << "until the board is seen";
    EXPECT_EQ(journal.back(), "board 1");
    EXPECT_TRUE(played("sfx_game_day_cleared"));

    // Next: the step sets up level 2 and its world comes in the same frame,
    // drawn at once under level 2's goals; the element in hand, which level 2
    // locks, gives way to one it offers.
    layer->getGUI()->selectElement("Wall");
    ASSERT_TRUE(stepUntil([&] { return window->takesPresses(); }));
    tapButton(window->getNextButton(), ccp(0, 0.5f));
    CCMutableTexture2D* picture = layer->getWorldTexture();
    EXPECT_FALSE(picture->isDirty()) << "the new world is on screen";
    EXPECT_GT(picture->getPixelAt(6, 6).a, 0);
    EXPECT_EQ(picture->getPixelAt(5, 5).a, 0);
    EXPECT_EQ(layer->getGUI()->getCurrentElement()->getString(), "Water");
    EXPECT_EQ(journal.back(), "end 1");
    EXPECT_EQ(loadedName(), "Day5_2");
    EXPECT_EQ(layer->getWorld().at(5, 5), nullptr);
    EXPECT_NE(layer->getWorld().at(6, 6), nullptr);
    EXPECT_EQ(activeNames(), (std::vector<std::string>{"L2a", "L2b"}));
    EXPECT_TRUE(layer->getGUI()->isAvailable("Water"));
    EXPECT_FALSE(layer->getGUI()->isAvailable("Wall")) << "the new day's settings replace the old";
    EXPECT_EQ(bar->getDayButton()->getLabel()->getText()->getString(), "D2");
    EXPECT_FALSE(bar->isLocked());
    // Level 2's goals come up over its world, which stands still until a
    // touch beside them closes them.
    EXPECT_EQ(window->getBoardKind(), GUIAchievement::kTodayGoals);
    stepFrames(30);
    EXPECT_EQ(firstTestWorld.count("L2a"), 0u);
    press(10, 300);
    release(10, 300);
    stepFrames(30);
    EXPECT_EQ(window->getBoardKind(), GUIAchievement::kNoBoard);
    EXPECT_EQ(firstTestWorld["L2a"], "Day5_2") << "no mission of the new day saw the old world";
    layer->getGUI()->onMenuButton(GUI::kElementMenu, nullptr);
    EXPECT_EQ(layer->getGUI()->getPaletteFamily(), static_cast<int>(paletteFamilyOf("Water")))
        << "the palette opens on the element's page";
}

TEST_F(GoalsFlow, ADayWithoutGoalsListsNothingAndNeverEnds)
{
    Profile::getInstance()->setGameMode(20);
    enterScene(false);
    GUITopBar* bar = GUITopBar::getInstance();
    bar->buildCampaignBar();
    bar->setLocked(false);
    AchievementManager::getInstance()->startDay(1);
    GUIAchievement* window = layer->getAchievementWindow();
    for (int press = 0; press < 2; ++press) {
        tapButton(bar->getDayButton(), ccp(0.5f, -0.5f));
        EXPECT_EQ(window->getBoardKind(), GUIAchievement::kTodayGoals) << press;
        EXPECT_TRUE(window->getLines().empty());
        EXPECT_EQ(window->getSkipButton(), nullptr) << "nothing to skip";
        tapButton(bar->getDayButton(), ccp(0.5f, -0.5f));
        EXPECT_EQ(window->getBoardKind(), GUIAchievement::kNoBoard) << "the button closes it again";
    }
    EXPECT_FALSE(played("sfx_game_day_cleared"));
}

TEST_F(GoalsFlow, AMissingOrBrokenWorldKeepsTheCurrentOne)
{
    enterScene(false);
    world->addParticle(9, 9, kWall, true);
    layer->setLoadedWorldName(CCString::create("Mine"));
    AchievementManager* goals = AchievementManager::getInstance();
    testsupport::LogCapture log;
    struct Case {
        const char* name;
        const char* bytes;  // null: no file
        const char* logged;
    };
    for (const Case c :
         // Final days are never played, so no world of theirs ships.
         {Case{"Day3_16", nullptr, "loadDay: no world universes/Missions/Day3_16"},
          Case{"Day1_11", "not a world", "loadDay: the world universes/Missions/Day1_11 was not loaded"}}) {
        if (c.bytes)
            mirror->write(std::string("universes/Missions/") + c.name, c.bytes);
        EXPECT_FALSE(goals->loadMissionUniverse(c.name));
        EXPECT_TRUE(log.contains(c.logged)) << c.name;
        EXPECT_EQ(loadedName(), "Mine") << c.name;
        EXPECT_NE(world->at(9, 9), nullptr) << c.name;
    }
    EXPECT_TRUE(goals->loadMissionUniverse("Day5_1"));
    EXPECT_EQ(loadedName(), "Day5_1");
    EXPECT_EQ(world->at(9, 9), nullptr);
}

}  // namespace
