// The goals window: its boards, the bar lock, the skip and the next button
// acting once per board, the level's hints, and the ways it closes.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "goals/GoalsTesting.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "support/GameSceneFixture.h"
#include "profile/Profile.h"
#include "hud/GUIAchievement.h"
#include "hud/GUIIngameMessage.h"
#include "hud/GUITopBar.h"
#include "gui/BackButton.h"
#include "gui/ScreenUtils.h"

USING_NS_CC;

namespace {

class GoalsWindow : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene();
        goals = layer->getAchievementWindow();
        ASSERT_NE(goals, nullptr);
    }
    static CCArray* list(std::initializer_list<const char*> items)
    {
        CCArray* a = CCArray::create();
        for (const char* i : items)
            a->addObject(CCString::create(i));
        return a;
    }
    GUIAchievement* goals = nullptr;
};

// A mode's last day won before, whose end pays nothing again (the story's
// day 31 after its end, Music's last level), offers no skip: it would take
// the price for nothing. Its first reach, or a last level whose end pays
// every time (Robot's), still does.
TEST_F(GoalsWindow, TheSkipIsPaidFromTheManaOrRefusedAndEndsTheDay)
{
    enum Skip { Refused, Skipped, NotOffered };
    struct Case {
        int mode;
        int32_t day, best;
        int32_t mana, pending;
        bool rewardsOff;
        Skip skip;
        int32_t pendingAfter;
    };
    const Case cases[] = {
        {5, 1, 1, 3500, 0, false, Skipped, -150},
        {5, 1, 1, 100, 50, false, Skipped, -100},    // paid with what is pending
        {5, 1, 1, 100, 49, false, Refused, 49},      // too little
        {5, 1, 1, 0, 0, true, Skipped, 0},           // rewards off: free
        {0, 32, 32, 3500, 0, false, NotOffered, 0},  // the story after its end: day 31 again
        {0, 31, 31, 3500, 0, false, Skipped, -150},  // day 31 the first time: its end pays
        {1, 11, 11, 3500, 0, false, NotOffered, 0},  // Music finished: its last level again
        {9, 17, 17, 3500, 0, false, Skipped, -150},  // Robot finished: its last level pays again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " day " + std::to_string(c.day));
        goalstest::registerTestMode(5);
        Profile* profile = Profile::getInstance();
        profile->setGameMode(c.mode);
        profile->setBestDay(c.mode, c.best);
        profile->setDay(c.day);
        profile->setMana(c.mana);
        profile->setPendingMana(c.pending);
        profile->setRewardsOff(c.rewardsOff);
        AchievementManager::getInstance()->startDay(c.day);
        const int32_t open = AchievementManager::getInstance()->activeCount();
        GUIPopup::resetInstanceForTests();
        layer->openGoalsWindow();
        ASSERT_EQ(goals->getBoardKind(), GUIAchievement::kTodayGoals);
        ASSERT_EQ(goals->getSkipButton() != nullptr, c.skip != NotOffered);
        goals->onSkipButton();
        GUIPopup* popup = GUIPopup::getInstance();
        ASSERT_EQ(popup->isShown(), c.skip != NotOffered);
        if (c.skip == Skipped) {
            EXPECT_EQ(popup->getKind(), GUIPopup::Purchase);
            EXPECT_EQ(popup->getPurchasePrice(), 150.0f);
            goals->onSkipConfirmed();
            goals->onSkipConfirmed();
            EXPECT_EQ(goals->getBoardKind(), GUIAchievement::kDayCleared) << "the day ends at once";
        } else {
            if (c.skip == Refused) {
                EXPECT_EQ(popup->getKind(), GUIPopup::Confirm);
                EXPECT_EQ(popup->getMessageLabel()->getText()->getString(), "ConfirmationNotEnoughMana");
            }
            goals->onSkipConfirmed();
            EXPECT_EQ(AchievementManager::getInstance()->activeCount(), open) << "nothing was completed";
        }
        EXPECT_EQ(profile->getPendingMana(), c.pendingAfter) << c.mana << " + " << c.pending;
        for (int i = 0; i < 40; ++i) {
            profile->transferPendingMana();
            EXPECT_GE(profile->getMana(), 0);
        }
        EXPECT_EQ(profile->getMana() + profile->getPendingMana(), c.mana + c.pendingAfter);
        goals->hide();
        GUIPopup::resetInstanceForTests();
        stepFrames(20);
    }
    Profile::getInstance()->setRewardsOff(false);
}

// Hints opens the level's hints over the goals, which are current again
// once the list closes; a touch on the panel leaves them, one beside it or
// the cross closes them; a level without hints offers none.
TEST_F(GoalsWindow, HintsOpenOverTheGoalsAndATouchBesideOrTheCrossClosesThem)
{
    const std::string file = home().home() + "/hints.plist";
    std::ofstream(file) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
                           "<key>Hints</key><dict><key>Level5_1</key><dict><key>FreeHint1</key><integer>10</integer>"
                           "</dict></dict></dict></plist>";
    GUIPopup::setHintsFileForTests(file);
    goalstest::registerTestMode(5);
    Profile::getInstance()->setGameMode(5);
    AchievementManager::getInstance()->startDay(1);
    layer->openGoalsWindow();
    stepFrames(20);
    ASSERT_NE(goals->getHintButton(), nullptr);
    tapButton(goals->getHintButton(), ccp(-0.5f, 0.5f));
    GUIPopup* popup = GUIPopup::getInstance();
    ASSERT_TRUE(popup->isShown());
    EXPECT_EQ(popup->getKind(), GUIPopup::Hints);
    popup->onOkPressed();
    stepFrames(30);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), goals);
    EXPECT_EQ(goals->getBoardKind(), GUIAchievement::kTodayGoals);

    const CCPoint middle = goals->getPanel()->getParent()->convertToWorldSpace(goals->getPanel()->getPosition());
    press(middle.x, middle.y);
    release(middle.x, middle.y);
    stepFrames(20);
    EXPECT_EQ(goals->getBoardKind(), GUIAchievement::kTodayGoals) << "a touch on the panel";
    press(10, middle.y);
    release(10, middle.y);
    stepFrames(20);
    EXPECT_EQ(goals->getBoardKind(), GUIAchievement::kNoBoard) << "a touch beside it";
    EXPECT_EQ(goals->getState(), GUIWindow::Closed);

    AchievementManager::getInstance()->startDay(2);
    layer->openGoalsWindow();
    stepFrames(20);
    EXPECT_EQ(goals->getHintButton(), nullptr) << "level 2 has no hints";
    tapButton(goals->getCloseButton(), ccp(-0.5f, -0.5f));
    EXPECT_EQ(goals->getBoardKind(), GUIAchievement::kNoBoard) << "the cross";
    GUIPopup::setHintsFileForTests("");
    GUIPopup::resetInstanceForTests();
}

TEST_F(GoalsWindow, TheDayClearedBoardLocksTheBarUntilNextClosesIt)
{
    goals->showDayCleared(list({"Acid"}), nullptr, CCArray::create(), nullptr);
    EXPECT_EQ(goals->getBoardKind(), GUIAchievement::kDayCleared);
    EXPECT_TRUE(GUITopBar::getInstance()->isLocked());
    stepFrames(20);
    ASSERT_EQ(goals->getState(), GUIWindow::Open);
    goals->onNextDayButton();
    EXPECT_FALSE(GUITopBar::getInstance()->isLocked()) << "with no step, next only closes";
    stepFrames(20);
    EXPECT_EQ(goals->getState(), GUIWindow::Closed);
    goals->onNextDayButton();
    EXPECT_EQ(goals->getState(), GUIWindow::Closed) << "acts once per board";
}

TEST_F(GoalsWindow, NoticesWaitWhileABoardOrAPageCoversTheirPlaceAndThenShowWhole)
{
    // What covers the place where notices slide down, and how the player
    // leaves it: the level's board, today's goals, and a reminder page
    // (its OK opens today's goals, which the player then closes).
    GUIIngameMessage* page = GUIIngameMessage::getInstance();
    const struct {
        const char* name;
        std::function<void()> show, close;
    } covers[] = {
        {"day cleared", [&] { goals->showDayCleared(nullptr, nullptr, nullptr, list({"120"})); },
         [&] { goals->onNextDayButton(); }},
        {"today's goals", [&] { goals->showTodayGoals(); }, [&] { goals->hide(); }},
        {"reminder page", [] { ScreenUtils::showStoryReminder(2); },
         [&] {
             executeAction(page->getPageButton()->getCallback());
             stepSeconds(1.0f);
             EXPECT_EQ(goals->getBoardKind(), GUIAchievement::kTodayGoals);
             goals->hide();
         }},
    };
    GUITopBar* bar = GUITopBar::getInstance();
    bar->buildCampaignBar();
    CCSprite* panel = bar->getNotificationPanel();
    ASSERT_NE(panel, nullptr);
    const CCPoint rest = panel->getPosition();
    const auto shown = [&] { return bar->getNotificationLabel()->getText()->getString(); };
    for (const auto& cover : covers) {
        SCOPED_TRACE(cover.name);
        // One notice on its way down as the cover opens, one told with it.
        bar->showNotification(CCString::create("Level complete!"));
        stepSeconds(0.3f);
        cover.show();
        bar->showNotification(CCString::create("+120 mana"), CCString::create("HUDMana.png"));
        for (float wait : {1.0f, 5.0f}) {
            stepSeconds(wait);
            EXPECT_FALSE(bar->isNotificationShowing()) << "a notice slides out behind it";
            EXPECT_TRUE(panel->getPosition().equals(rest));
        }
        ASSERT_NE(bar->getNotificationQueue(), nullptr);
        EXPECT_EQ(bar->getNotificationQueue()->count(), 2u);
        cover.close();
        stepSeconds(1.0f);
        EXPECT_TRUE(bar->isNotificationShowing());
        EXPECT_EQ(shown(), "Level complete!");
        EXPECT_LT(panel->getPosition().y, rest.y) << "it slides down whole";
        stepSeconds(2.6f);
        EXPECT_EQ(shown(), "+120 mana");
        EXPECT_EQ(GUITopBar::frameOf(bar->getNotificationIcon()), "guitopbar_HUDMana.png");
        stepSeconds(2.6f);
        EXPECT_FALSE(bar->isNotificationShowing());
    }
}

// A level's notices are its own: those still sliding down or waiting when
// Next starts the following level (the level won and its day button pressed
// at once, or levels skipped one after another with the goals left open)
// never come down on a later level, which still tells its own.
TEST_F(GoalsWindow, ALevelsNoticesNeverComeDownOnTheLevelsAfterIt)
{
    const struct {
        const char* name;
        int levels;  // ended before the one played
        bool skipped;
    } routes[] = {{"won, day button at once", 1, false}, {"three skipped", 3, true}};
    GUITopBar* bar = GUITopBar::getInstance();
    Profile* profile = Profile::getInstance();
    for (const auto& route : routes) {
        SCOPED_TRACE(route.name);
        goalstest::resetJournal();
        goalstest::registerTestMode(5);
        profile->setGameMode(5);
        profile->setMana(3500);
        bar->buildCampaignBar();
        AchievementManager::getInstance()->startDay(1);
        for (int level = 1; level <= route.levels; ++level) {
            const std::string l = "L" + std::to_string(level);
            if (route.skipped) {
                if (level == 1)
                    layer->openGoalsWindow();
                goals->onSkipButton();
                GUIPopup::getInstance()->onOkPressed();
                stepFrames(20);
            } else {
                goalstest::passing = {{l + "a", true}, {l + "b", true}};
                stepFrames(12);
                ASSERT_TRUE(bar->isNotificationShowing()) << "won: its notices slide down";
                layer->openGoalsWindow();
            }
            ASSERT_EQ(goals->getBoardKind(), GUIAchievement::kDayCleared) << l;
            EXPECT_TRUE(bar->hasNotification()) << l << ": its notices wait behind the board";
            goals->onNextDayButton();
            stepFrames(20);
        }
        ASSERT_EQ(goals->getBoardKind(), GUIAchievement::kTodayGoals);
        goals->hide();
        stepSeconds(0.5f);
        EXPECT_FALSE(bar->isNotificationShowing())
            << "\"" << bar->getNotificationLabel()->getText()->getString() << "\" came down";
        EXPECT_FALSE(bar->hasNotification());

        const std::string now = "L" + std::to_string(route.levels + 1) + "a";
        goalstest::passing = {{now, true}};
        stepFrames(12);
        ASSERT_TRUE(bar->isNotificationShowing());
        EXPECT_EQ(bar->getNotificationLabel()->getText()->getString(), "done " + now);
    }
}

TEST_F(GoalsWindow, TheBackKeyClosesTodaysGoalsButNotTheClearedBoard)
{
    goalstest::registerTestMode(5);
    Profile::getInstance()->setGameMode(5);
    AchievementManager::getInstance()->startDay(1);
    layer->openGoalsWindow();
    stepFrames(20);
    ASSERT_EQ(goals->getState(), GUIWindow::Open);
    BackButtonAdapter::getInstance()->onBackPressed();
    stepFrames(20);
    EXPECT_EQ(goals->getState(), GUIWindow::Closed);
    EXPECT_FALSE(GUITopBar::getInstance()->isLocked());

    goals->showDayCleared(list({"Acid"}), nullptr, CCArray::create(), nullptr);
    stepFrames(20);
    BackButtonAdapter::getInstance()->onBackPressed();
    stepFrames(20);
    EXPECT_EQ(goals->getState(), GUIWindow::Open) << "the cleared board waits for next";
}

TEST_F(GoalsWindow, EmptyOrAbsentListsShowNoSection)
{
    CCArray* mana = CCArray::create();
    mana->addObject(CCInteger::create(20));
    mana->addObject(CCString::create("30"));
    goalstest::ScopedTable table({{"AcidTitle", "ACID"},
                                  {"SunName", "Sun"},
                                  {"PolarBkgName", "Polar sea"},
                                  {"BoardUnlockedElements", "Unlocked elements"},
                                  {"BoardManaEarned", "Mana earned"}});
    EXPECT_EQ(goals->buildGoalsList(list({"Acid", "Gem"}), list({"Sun"}), list({"Polar"}), mana),
              (std::vector<std::string>{"Unlocked elements", "  ACID", "  Gem", "BoardUnlockedOptions", "  Sun",
                                        "BoardUnlockedBackgrounds", "  Polar sea", "Mana earned", "  50"}))
        << "titles, else the names";
    EXPECT_TRUE(goals->buildGoalsList(nullptr, nullptr, CCArray::create(), CCArray::create()).empty());
}

}  // namespace
