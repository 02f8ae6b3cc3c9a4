// The in-game message window: every page of every sequence as the player
// clicks through it, the ends (flags, goals, leaving the scene), the choice
// page, the scene entry's triggers and the back key, and the faults it must
// not have (presses after a close, a second free-mode message, no scene).
#include "IngameMessageFixture.h"
#include "goals/GoalsTesting.h"
#include "platform/CloudStorage.h"
#include "support/TempFolders.h"
#include "gui/GUIPopup.h"
#include "hud/GUIAchievement.h"
#include "gui/BackButton.h"
#include "support/LogCapture.h"

USING_NS_CC;
using messagetest::ExpectedPage;
using messagetest::MessageScene;
using messagetest::sequences;

namespace {

class IngameMessage : public MessageScene { };

TEST_F(IngameMessage, EveryPageOfEverySequenceShowsWhatItSaysAndStepsOnItsButton)
{
    enterQuietly();
    message()->setFreeModeIntroDone(false);
    float okScale = 0, nextScale = 0;
    for (const messagetest::Sequence& sequence : sequences()) {
        SCOPED_TRACE(sequence.name);
        CocosDenshion::SimpleAudioEngine::sharedEngine()->clearRecordedCalls();
        sequence.open();
        ASSERT_TRUE(showing());
        EXPECT_EQ(message()->getZOrder(), GUIIngameMessage::kZOrder);
        EXPECT_EQ(message()->getParent(), layer->getParent()) << "attached to the game scene";
        for (size_t i = 0; i < sequence.pages.size(); ++i) {
            const ExpectedPage& page = sequence.pages[i];
            SCOPED_TRACE(page.text);
            EXPECT_EQ(message()->getPageIndex(), static_cast<int>(i + 1));
            EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), message());
            EXPECT_TRUE(barLocked());
            EXPECT_EQ(sounds("sfx_gui_next"), static_cast<int>(i)) << "none on the first page, one a press";
            ASSERT_NE(pageText(), nullptr);
            EXPECT_EQ(pageText()->getText()->getString(), page.text);
            EXPECT_EQ(pageText()->getPosition().x, GUIIngameMessage::kTextX);
            CCSprite* picture = childShowing(page.picture);
            ASSERT_NE(picture, nullptr);
            EXPECT_TRUE(picture->getPosition().equals(ccp(GUIIngameMessage::kPictureX, GUIIngameMessage::kPictureY)));
            if (page.highlight) {
                CCSprite* glow = childShowing(page.highlight);
                ASSERT_NE(glow, nullptr);
                EXPECT_TRUE(glow->getPosition().equals(GUIIngameMessage::highlightPlacement(page.x, page.y)));
            }
            GUIButton* button = message()->getPageButton();
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(childShowing(page.ok ? "intro_button.png" : "intro_continue.png"), button);
            EXPECT_TRUE(button->getPosition().equals(ccp(222, 30)));
            ASSERT_NE(button->getLabel(), nullptr);
            EXPECT_EQ(button->getLabel()->getText()->getString(), page.ok ? "GenericOkBut" : "GenericNextBut");
            (page.ok ? okScale : nextScale) = button->getLabel()->getScale();
            EXPECT_EQ(button->getIcon() != nullptr && button->getIcon()->isVisible(), page.ok);

            // A click as the page shows (the second of a double click on the
            // page before) turns no page the player has not read.
            const CCPoint at = button->convertToWorldSpace(ccp(button->getContentSize().width / 2, 10));
            press(at.x, at.y);
            stepFrames(1);
            release(at.x, at.y);
            stepFrames(5);
            EXPECT_EQ(message()->getPageIndex(), static_cast<int>(i + 1)) << "turned by a click made as it showed";
            // The back key is swallowed: the page stays, no question.
            BackButtonAdapter::getInstance()->onBackPressed();
            stepFrames(2);
            EXPECT_FALSE(GUIPopup::getInstance()->isShown());
            EXPECT_EQ(message()->getPageIndex(), static_cast<int>(i + 1));
            click(button);
        }
        EXPECT_EQ(sounds("sfx_gui_next"), static_cast<int>(sequence.pages.size())) << "the last OK sounds once";
        EXPECT_TRUE(message()->isClosing());
        EXPECT_FALSE(barLocked()) << "unlocked as the fade begins";
        stepSeconds(0.4f);
        EXPECT_FALSE(showing());
        EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), nullptr);
        if (std::string(sequence.name) == "outro") {
            EXPECT_EQ(CCDirector::sharedDirector()->getRunningScene(), layer->getParent()) << "left 0.25 s later";
            stepSeconds(0.3f);
            EXPECT_NE(CCDirector::sharedDirector()->getRunningScene(), layer->getParent());
        }
    }
    // OK at the size of Next.
    EXPECT_NEAR(okScale / nextScale, 1.0f, 0.05f);
}

TEST_F(IngameMessage, EachEndSetsItsFlagAndOpensTodaysGoalsOnlyOutsideFreePlay)
{
    struct Case {
        const char* name;
        std::function<void()> open;
        int presses;
        bool freePlay;
        bool goals;
        std::function<bool()> flag;
    };
    const Case cases[] = {
        {"story introduction", [] { ScreenUtils::showStoryIntroduction(); }, 5, false, true,
         [] { return message()->isStoryIntroDone(); }},
        {"free-mode introduction", [] { ScreenUtils::showFreeModeIntroduction(); }, 5, true, false,
         [] { return message()->getFreeModeIntroDone(); }},
        {"reminder in story play", [] { ScreenUtils::showStoryReminder(2); }, 1, false, true, nullptr},
        {"reminder in free play", [] { ScreenUtils::showStoryReminder(3); }, 1, true, false, nullptr},
    };
    enterQuietly();
    message()->setFreeModeIntroDone(false);
    GUIAchievement* goals = layer->getAchievementWindow();
    ASSERT_NE(goals, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SaveLoadUtils::setFreePlay(c.freePlay);
        c.open();
        if (c.flag) {
            EXPECT_FALSE(c.flag());
        }
        for (int i = 0; i < c.presses; ++i)
            click(message()->getPageButton());
        if (c.flag) {
            EXPECT_TRUE(c.flag()) << "set by the last press";
        }
        EXPECT_EQ(goals->getBoardKind(), GUIAchievement::kNoBoard) << "not before the fade ends";
        stepSeconds(0.4f);
        EXPECT_EQ(goals->getBoardKind() == GUIAchievement::kTodayGoals, c.goals);
        goals->hide();
        stepSeconds(0.4f);
    }
}

TEST_F(IngameMessage, TheStoryIntroductionSeenThisRunOpensTodaysGoalsInstead)
{
    enterQuietly();
    SaveLoadUtils::setFreePlay(false);
    ScreenUtils::showStoryIntroduction();
    for (int i = 0; i < 5; ++i)
        click(message()->getPageButton());
    stepSeconds(0.4f);
    layer->getAchievementWindow()->hide();
    stepSeconds(0.4f);
    CocosDenshion::SimpleAudioEngine::sharedEngine()->clearRecordedCalls();

    ScreenUtils::showStoryIntroduction();
    EXPECT_FALSE(showing()) << "no pages";
    GUIAchievement* goals = layer->getAchievementWindow();
    EXPECT_EQ(goals->getBoardKind(), GUIAchievement::kTodayGoals);
    EXPECT_FALSE(barLocked());
    EXPECT_EQ(sounds("sfx_gui_next"), 0);
    // The goals take the player's touches: their cross closes them.
    stepSeconds(0.4f);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), goals);
    click(goals->getCloseButton());
    stepSeconds(0.4f);
    EXPECT_EQ(goals->getBoardKind(), GUIAchievement::kNoBoard);

    // A notice that came up as the day started keeps the touches; the goals
    // wait for the day button.
    ScreenUtils::showPopup(CCString::create("Your progress could not be saved"), nullptr, nullptr, nullptr, nullptr, 2);
    GUIPopup* popup = GUIPopup::getInstance();
    ScreenUtils::showStoryIntroduction();
    stepSeconds(0.4f);
    EXPECT_EQ(goals->getBoardKind(), GUIAchievement::kNoBoard);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), popup);
    click(popup->getOkButton());
    stepSeconds(0.4f);
    EXPECT_FALSE(popup->isShown());
}

TEST_F(IngameMessage, TheFreeModeFlagGoesThroughTheProfileAndASaveBeforeTheWindowStoresNotSeen)
{
    testsupport::TempDir cloud;
    ASSERT_TRUE(platform::CloudStorage::setRoot(cloud.file("cloud")));
    enterQuietly();
    message()->setFreeModeIntroDone(false);
    ScreenUtils::showFreeModeIntroduction();
    goalstest::SaveCounter counter;
    for (int i = 0; i < 5; ++i)
        click(message()->getPageButton());
    EXPECT_EQ(counter.saves, 1) << "saved at the end";
    stepSeconds(0.4f);
    // A restart: the window is made again by the profile's load.
    GUIIngameMessage::resetInstanceForTests();
    ASSERT_TRUE(Profile::getInstance()->loadFromFile("profile.dat"));
    ASSERT_NE(GUIIngameMessage::existingInstance(), nullptr);
    EXPECT_TRUE(message()->getFreeModeIntroDone());
    ScreenUtils::showFreeModeIntroduction();
    EXPECT_FALSE(showing()) << "seen: nothing to show, nothing left attached";
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), nullptr);

    GUIIngameMessage::resetInstanceForTests();
    Profile::getInstance()->save();
    GUIIngameMessage::resetInstanceForTests();
    ASSERT_TRUE(Profile::getInstance()->loadFromFile("profile.dat"));
    EXPECT_FALSE(message()->getFreeModeIntroDone());
    platform::CloudStorage::clearRoot();
}

TEST_F(IngameMessage, TheFreeModeMessageOffersTwoChoicesWithTheBarFreeAndIsAnsweredOnce)
{
    for (bool freeMode : {false, true}) {
        SCOPED_TRACE(freeMode ? "free mode" : "story mode");
        GUIIngameMessage::resetInstanceForTests();
        if (!freeMode)
            enterQuietly();
        message()->setFreeModeIntroDone(true);
        SaveLoadUtils::setFreePlay(false);
        Profile::getInstance()->setGameMode(0);
        CocosDenshion::SimpleAudioEngine::sharedEngine()->clearRecordedCalls();
        ScreenUtils::showFreeModeMessage();
        ASSERT_TRUE(showing());
        EXPECT_EQ(message()->getZOrder(), 0) << "attached without a z-order";
        EXPECT_TRUE(message()->isChoicePage());
        EXPECT_FALSE(barLocked());
        EXPECT_EQ(pageText()->getText()->getString(), "IntroductionFreeMode");
        EXPECT_NE(childShowing("intro_day8.png"), nullptr);
        GUIButton* free = message()->getFreeModeChoiceButton();
        GUIButton* story = message()->getStoryModeChoiceButton();
        ASSERT_NE(free, nullptr);
        ASSERT_NE(story, nullptr);
        EXPECT_EQ(childShowing("intro_freemode.png"), free);
        EXPECT_EQ(childShowing("intro_continue.png"), story);
        EXPECT_EQ(free->getChildrenCount(), 2u) << "two caption lines";
        EXPECT_EQ(story->getLabel()->getText()->getString(), "GoStoryModeLabel1");

        // A second press while the first choice fades out changes nothing.
        click(freeMode ? free : story);
        ASSERT_TRUE(message()->isClosing());
        message()->onChoseFreeMode();
        message()->onChoseStoryMode();
        message()->showFreeModeMessagePage();
        EXPECT_EQ(sounds("sfx_gui_next"), 0) << "a choice is no step";
        EXPECT_TRUE(message()->isFreeModeMessageDone());
        stepSeconds(0.4f);
        EXPECT_FALSE(showing());
        stepSeconds(1.0f);
        EXPECT_EQ(SaveLoadUtils::isFreePlay(), freeMode);
        EXPECT_EQ(Profile::getInstance()->getGameMode(), freeMode ? -99 : 0);
        if (!freeMode) {
            EXPECT_EQ(layer->getAchievementWindow()->getBoardKind(), GUIAchievement::kTodayGoals);
            // Asked again in the same run: nothing shows, nothing stays current, the world runs.
            layer->getAchievementWindow()->hide();
            stepSeconds(0.4f);
            ScreenUtils::showFreeModeMessage();
            EXPECT_FALSE(showing());
            EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), nullptr);
            EXPECT_FALSE(barLocked());
        }
    }
}

TEST_F(IngameMessage, PressesOnceACloseHasBegunAreIgnored)
{
    enterQuietly();
    SaveLoadUtils::setFreePlay(false);
    ScreenUtils::showStoryReminder(4);
    GUIButton* ok = message()->getPageButton();
    click(ok);
    ASSERT_TRUE(message()->isClosing());
    message()->showReminderDay4Page();
    message()->showReminderDay2Page();
    stepSeconds(0.1f);
    EXPECT_EQ(sounds("sfx_gui_next"), 1);
    EXPECT_TRUE(showing()) << "still fading";
    stepSeconds(0.3f);
    EXPECT_FALSE(showing());
    EXPECT_EQ(message()->getPageIndex(), 2) << "one step after the page, none more";
}

TEST_F(IngameMessage, WrappersAttachOnceAndNeedAGameScene)
{
    enterQuietly();
    ScreenUtils::showStoryReminder(2);
    GUIWindow* current = ScreenUtils::getInstance()->getCurrentWindow();
    const unsigned children = layer->getParent()->getChildrenCount();
    ScreenUtils::showStoryReminder(3);
    ScreenUtils::showOutro();
    ScreenUtils::showFreeModeMessage();
    EXPECT_EQ(layer->getParent()->getChildrenCount(), children);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), current);
    EXPECT_NE(childShowing("intro_day2.png"), nullptr) << "the first page stays";

    // Ended, the next sequence starts from a clear page at full opacity.
    click(message()->getPageButton());
    stepSeconds(0.4f);
    EXPECT_EQ(message()->getBackground()->getOpacity(), 0);
    ScreenUtils::showStoryReminder(3);
    EXPECT_EQ(message()->getBackground()->getOpacity(), 255);
    EXPECT_EQ(message()->getPageIndex(), 1);
    EXPECT_EQ(childShowing("intro_day2.png"), nullptr);
    EXPECT_NE(childShowing("intro_day3.png"), nullptr);
    click(message()->getPageButton());
    stepSeconds(0.4f);

    // Without a game scene (headless, a replay before the scene exists).
    layer->removeFromParentAndCleanup(false);
    testsupport::LogCapture log;
    ScreenUtils::showStoryReminder(2);
    ScreenUtils::showOutro();
    EXPECT_FALSE(showing());
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), nullptr);
    EXPECT_TRUE(log.contains("no game scene for the message window"));
}

TEST_F(IngameMessage, TheGoalsWindowClosingUnderAReminderLeavesTheBarLocked)
{
    enterQuietly();
    SaveLoadUtils::setFreePlay(false);
    layer->openGoalsWindow();
    ScreenUtils::showStoryReminder(2);
    layer->getAchievementWindow()->hide();
    EXPECT_TRUE(barLocked());
    click(message()->getPageButton());
    EXPECT_FALSE(barLocked());

    ScreenUtils::showFreeModeMessage();
    layer->getAchievementWindow()->hide();
    EXPECT_FALSE(barLocked()) << "the choice page leaves it free";
}

TEST_F(IngameMessage, TheSceneEntryShowsTheIntroductionsAndTheBackKeyWaitsForFreeModes)
{
    // Story, day 1: the introduction 0.4 s after the entry.
    SaveLoadUtils::setFreePlay(false);
    Profile::getInstance()->setGameMode(0);
    Profile::getInstance()->setDay(1);
    enterPushed();
    stepSeconds(0.3f);
    EXPECT_FALSE(showing());
    stepSeconds(0.2f);
    ASSERT_TRUE(showing());
    EXPECT_EQ(pageText()->getText()->getString(), "IntroductionPart1");
    for (int i = 0; i < 5; ++i)
        click(message()->getPageButton());
    stepSeconds(0.4f);
    CCDirector::sharedDirector()->popScene();
    stepFrames(2);

    // Free play: its introduction 1.0 s after the entry; the back key does
    // nothing until it is confirmed, then asks.
    SaveLoadUtils::setFreePlay(true);
    Profile::getInstance()->setGameMode(-99);
    CCDirector::sharedDirector()->pushScene(GameLayer::scene());
    stepSeconds(0.9f);
    EXPECT_FALSE(showing());
    layer->onBackPressed();
    EXPECT_FALSE(GUIPopup::getInstance()->isShown());
    stepSeconds(0.2f);
    ASSERT_TRUE(showing());
    EXPECT_EQ(pageText()->getText()->getString(), "IntroductionFreePart1");
    layer->onBackPressed();
    EXPECT_FALSE(GUIPopup::getInstance()->isShown());
    for (int i = 0; i < 5; ++i)
        click(message()->getPageButton());
    stepSeconds(0.4f);
    EXPECT_FALSE(showing());
    BackButtonAdapter::getInstance()->onBackPressed();
    EXPECT_TRUE(GUIPopup::getInstance()->isShown());
    GUIPopup::resetInstanceForTests();
}

}  // namespace
