// What the goals window shows a player, in the three languages: today's
// goals (title, goals, Hints, Skip, close) and the day-cleared board
// (heading, sections, Next), every label readable (WCAG 4.5:1) over the
// panel, every caption inside its button, the title inside the panel, and
// the level's world in sight beside it. With TESMORA_TEST_FRAMES set, the
// English boards are saved there.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "campaigns/story/StorySteps.h"
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

    // Every label under the window shows its whole text (one glyph per
    // character but the spaces between words) inside the panel.
    void expectWholeTexts(CCNode* node, const std::string& where)
    {
        if (auto* label = dynamic_cast<GUILabel*>(node); label && label->getText()) {
            const std::string text = label->getText()->getString();
            // The one-line layout draws its spaces, the wrapped ones do not.
            unsigned characters = 0, spaces = 0;
            for (const char c : text) {
                characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
                spaces += c == ' ';
            }
            const unsigned glyphs = label->getChildrenCount();
            EXPECT_TRUE(glyphs == characters || glyphs == characters - spaces) << where << ": cut: " << text;
            const CCRect panel = onScreen(goals->getPanel());
            // Above the Next button, unless it is the button's own caption.
            GUIButton* next = goals->getNextButton();
            const bool caption = next && next->getLabel() == label;
            const float floor = next && !caption ? onScreen(next).getMaxY() : panel.getMinY();
            for (CCObject* o : *label->getChildren()) {
                const CCRect glyph = onScreen(static_cast<CCNode*>(o));
                EXPECT_TRUE(glyph.getMinX() >= panel.getMinX() && glyph.getMaxX() <= panel.getMaxX() &&
                            glyph.getMinY() >= floor && glyph.getMaxY() <= panel.getMaxY())
                    << where << ": outside the panel or on Next: " << text;
            }
            return;
        }
        for (CCObject* child : *node->getChildren())
            expectWholeTexts(static_cast<CCNode*>(child), where);
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

// Every story day's board as the day shows it, in the three languages: each
// heading ("Herramientas y opciones desbloqueadas") and caption whole, wrapped
// or set smaller, never cut.
TEST_F(GoalsSheets, EveryDaysBoardShowsEveryHeadingAndCaptionWhole)
{
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        for (const StepRow& row : storyStepRows()) {
            if (!row.elements.present && !row.options.present && !row.backgrounds.present)
                continue;
            CCArray* mana = CCArray::create();
            mana->addObject(CCInteger::create(150));
            goals->showDayCleared(boardList(row.elements), boardList(row.options), boardList(row.backgrounds), mana);
            stepSeconds(0.3f);
            const std::string where = std::string(language) + " day " + std::to_string(row.day) + " " + row.className;
            expectWholeTexts(goals, where);
            if (row.day == 7 && std::string(language) == "es")
                testsupport::saveTestFrame("day_cleared_board_es_day7");
            goals->hide();
            stepSeconds(0.3f);
        }
    }
}
