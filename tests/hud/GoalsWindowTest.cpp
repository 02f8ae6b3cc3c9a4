// The goals window: its boards, the bar lock, the skip and the next button
// acting once per board.
#include <gtest/gtest.h>

#include "support/GameSceneFixture.h"
#include "profile/Profile.h"
#include "hud/GUIAchievement.h"
#include "hud/GUITopBar.h"

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

TEST_F(GoalsWindow, TheSkipTakes150OnceUnlessRewardsAreOff)
{
    struct Case {
        bool rewardsOff;
        int32_t after;
    };
    for (const Case c : {Case{false, 50}, Case{true, 200}}) {
        Profile::getInstance()->setRewardsOff(c.rewardsOff);
        Profile::getInstance()->setPendingMana(200);
        goals->showTodayGoals();
        goals->onSkipConfirmed();
        goals->onSkipConfirmed();
        EXPECT_EQ(Profile::getInstance()->getPendingMana(), c.after) << "rewards off " << c.rewardsOff;
        EXPECT_EQ(goals->getBoardKind(), GUIAchievement::kTodayGoals) << "the window shows again";
        goals->hide();
        stepFrames(20);
    }
    Profile::getInstance()->setRewardsOff(false);
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

TEST_F(GoalsWindow, EmptyOrAbsentListsShowNoSection)
{
    CCArray* mana = CCArray::create();
    mana->addObject(CCInteger::create(20));
    mana->addObject(CCString::create("30"));
    EXPECT_EQ(goals->buildGoalsList(list({"Acid", "Gem"}), CCArray::create(), nullptr, mana),
              (std::vector<std::string>{"elements", "  Acid", "  Gem", "mana", "  50"}));
    EXPECT_TRUE(goals->buildGoalsList(nullptr, nullptr, CCArray::create(), CCArray::create()).empty());
}

}  // namespace
