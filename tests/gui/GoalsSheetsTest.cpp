// What the goals window shows a player, in the three languages: today's
// goals (title, goals, Hints, Skip, close) and the day-cleared board
// (heading, sections, Next), every label readable (WCAG 4.5:1) over the
// panel, every caption inside its button, the title inside the panel, and
// the level's world in sight beside it. With TESMORA_TEST_FRAMES set, the
// English boards are saved there.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "goals/AchievementManager.h"
#include "goals/GoalFunctions.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "hud/GUIAchievement.h"
#include "profile/Profile.h"
#include "support/GameSceneFixture.h"
#include "support/Readability.h"

USING_NS_CC;

namespace {

class GoalsSheets : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        // Day 2: day 1 would open the story's introduction first.
        Profile* profile = Profile::getInstance();
        profile->setGameMode(0);
        profile->setDay(2);
        enterScene(false);
        goals = layer->getAchievementWindow();
    }
    static CCArray* names(std::initializer_list<const char*> items)
    {
        CCArray* a = CCArray::create();
        for (const char* i : items)
            a->addObject(CCString::create(i));
        return a;
    }
    static CCRect onScreen(CCNode* node)
    {
        const CCSize size = node->getContentSize();
        return CCRectApplyAffineTransform(CCRect(0, 0, size.width, size.height), node->nodeToWorldTransform());
    }
    void expectShown(const std::string& where, int captions)
    {
        testsupport::expectReadable(goals, where);
        EXPECT_EQ(testsupport::expectCaptionsFit(goals, where), captions) << where;
        ASSERT_NE(goals->getTitleLabel(), nullptr) << where;
        const CCRect panel = onScreen(goals->getPanel());
        const CCRect title = onScreen(goals->getTitleLabel());
        EXPECT_TRUE(panel.containsPoint(title.origin) && panel.containsPoint(ccp(title.getMaxX(), title.getMaxY())))
            << where << ": " << goals->getTitleLabel()->getText()->getString();
        // The world shows on either side of the panel.
        EXPECT_GT(panel.getMinX(), 30.0f) << where;
        EXPECT_LT(panel.getMaxX(), screenSize.width - 30.0f) << where;
    }

    GUIAchievement* goals = nullptr;
};

TEST_F(GoalsSheets, TheGoalsAndTheBoardReadAndFitInTheThreeLanguages)
{
    // Each board: what shows it, the game mode and day, its title, how many
    // captions (Hints and Skip, or Next; the close button is a cross) and
    // where the English one is saved.
    const struct {
        std::function<void(GUIAchievement*)> show;
        int mode, day;
        bool complete;
        int captions;
        const char* frame;
    } boards[] = {
        {[](GUIAchievement* g) { g->showTodayGoals(); }, 0, 2, false, 2, "goals_window"},
        {[](GUIAchievement* g) {
             CCArray* mana = CCArray::create();
             mana->addObject(CCInteger::create(120));
             g->showDayCleared(names({"Mud", "Sand", "Water"}), names({"Sun", "Zoom"}), names({"Polar"}), mana);
         },
         0, 2, true, 1, "day_cleared_board"},
        // The longest title, and a level won before: nothing new to list.
        {[](GUIAchievement* g) { g->showDayCleared(nullptr, nullptr, nullptr, nullptr); }, 7, 10, true, 1, nullptr},
    };
    for (const char* language : testsupport::kLanguages) {
        SCOPED_TRACE(language);
        testsupport::LanguageTable table(language);
        AchievementManager::getInstance()->startDay(2);
        for (const auto& b : boards) {
            Profile::getInstance()->setGameMode(b.mode);
            Profile::getInstance()->setDay(b.day);
            b.show(goals);
            stepSeconds(0.5f);
            ASSERT_NE(goals->getTitleLabel(), nullptr);
            EXPECT_EQ(goals->getTitleLabel()->getText()->getString(), levelTitle(b.mode, b.day, b.complete));
            expectShown(std::string(language) + " " + goals->getTitleLabel()->getText()->getString(), b.captions);
            if (b.frame && std::string(language) == "en")
                testsupport::saveTestFrame(b.frame);
            goals->hide();
            stepSeconds(0.5f);
        }
    }
}

}  // namespace
