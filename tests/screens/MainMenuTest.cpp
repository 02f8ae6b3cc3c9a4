// The title screen and the world start: free play and the story from the
// menu, the menu's mana counter, and what stays below the game scene.
#include <string>
#include <vector>

#include "gui/BackButton.h"
#include "base/LocalUtils.h"
#include "profile/Profile.h"
#include "scene/SaveLoadUtils.h"
#include "gui/ScreenUtils.h"
#include "gui/GUIButton.h"
#include "gui/GUIPopup.h"
#include "hud/GUIIngameMessage.h"
#include "gui/GUILabel.h"
#include "hud/GUI.h"
#include "hud/GUITopBar.h"
#include "screens/MainMenu.h"
#include "screens/MainMenuAnimation.h"
#include "world/ParticleCreator.h"
#include "world/Tools.h"
#include "support/GameSceneFixture.h"
#include "support/LogCapture.h"

USING_NS_CC;

namespace {

class MainMenuTest : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        MainMenu::resetInstanceForTests();
        ScreenUtils::getInstance()->setBusy(false);
        menu = MainMenu::getInstance();
        CCDirector::sharedDirector()->runWithScene(MainMenu::scene());
        stepFrames(2);
    }
    void TearDown() override
    {
        ScreenUtils::getInstance()->setBusy(false);
        MainMenu::resetInstanceForTests();
        GameScene::TearDown();
    }

    static CCScene* running() { return CCDirector::sharedDirector()->getRunningScene(); }
    static bool gameRunning()
    {
        GameLayer* l = GameLayer::existingInstance();
        return l && running() && l->getParent() == running();
    }
    static bool menuRunning() { return running() && MainMenu::getInstance()->getParent() == running(); }
    // Presses and releases a menu button where it is on screen.
    void click(GUIButton* button)
    {
        ASSERT_NE(button, nullptr);
        CCPoint at = button->getParent()->convertToWorldSpace(button->getPosition());
        press(at.x, at.y);
        release(at.x, at.y);
    }
    std::string manaText() const
    {
        GUILabel* label = menu->getManaLabel();
        return label && label->getText() ? label->getText()->getString() : "";
    }

    static int createdSand()
    {
        auto* n = dynamic_cast<CCInteger*>(ParticleCreator::getElementsCreated()->objectForKey("Sand"));
        return n ? n->getValue() : -1;
    }
    static unsigned sceneCount() { return CCDirector::sharedDirector()->getSceneStackSize(); }

    MainMenu* menu = nullptr;
};

TEST_F(MainMenuTest, EachModeButtonHasItsCaptionOnTwoLines)
{
    testsupport::LogCapture log;
    MainMenu::resetInstanceForTests();
    menu = MainMenu::getInstance();
    EXPECT_EQ(log.find("fontFrames doesn't contain key"), -1) << "no caption asks the font for a line break";
    const std::pair<GUIButton*, std::vector<const char*>> buttons[] = {
        {menu->getStoryButton(), {"GoStoryModeLabel1", "GoStoryModeLabel2"}},
        {menu->getFreeModeButton(), {"GoFreeModeLabel1", "GoFreeModeLabel2"}},
    };
    for (const auto& [button, keys] : buttons) {
        ASSERT_NE(button, nullptr);
        // The captions among the button's labels, in the order they were added.
        std::vector<GUILabel*> lines;
        for (CCObject* child : *button->getChildren())
            if (auto* label = dynamic_cast<GUILabel*>(child);
                label && label->getText() && !label->getText()->getString().empty())
                lines.push_back(label);
        ASSERT_EQ(lines.size(), 2u);
        for (size_t i = 0; i < 2; ++i)
            EXPECT_EQ(lines[i]->getText()->getString(), LocalUtils::localize(keys[i])->getString());
        EXPECT_EQ(lines[0]->getAnchorPoint().y, 0) << "the first line stands on the middle";
        EXPECT_EQ(lines[1]->getAnchorPoint().y, 1) << "the second hangs below it";
        EXPECT_LT(lines[1]->getPosition().y, lines[0]->getPosition().y) << "a gap between the lines";
        for (GUILabel* line : lines) {
            EXPECT_EQ(line->getAnchorPoint().x, 0.5f) << "centred";
            EXPECT_EQ(line->getPosition().x, button->getContentSize().width * 0.5f);
        }
    }
}

TEST_F(MainMenuTest, UpdateMovesPendingManaAndTheLabelFollows)
{
    Profile* profile = Profile::getInstance();
    EXPECT_EQ(manaText(), "3500");
    profile->setPendingMana(100);
    stepFrames(1);
    // A tenth of the pending mana (rounded up) moves per update.
    menu->update(1.0f / 30);
    EXPECT_EQ(profile->getMana(), 3500 + 10 + 9);
    EXPECT_EQ(manaText(), std::to_string(profile->getMana()));
    stepFrames(300);
    EXPECT_EQ(profile->getPendingMana(), 0);
    EXPECT_EQ(manaText(), "3600");
}

TEST_F(MainMenuTest, FreeModeStartsAnEmptyBigWorldOverTheMenu)
{
    world->addParticle(10, 10, hashString("Soil"), false);
    click(menu->getFreeModeButton());
    stepFrames(60);
    Profile* profile = Profile::getInstance();
    EXPECT_EQ(profile->getGameMode(), MainMenu::kFreeModeGameMode);
    EXPECT_TRUE(SaveLoadUtils::isFreePlay());
    EXPECT_TRUE(world->bigWorld);
    EXPECT_EQ(world->particleCount(), 0);
    EXPECT_EQ(GUITopBar::getInstance()->rowButtons()->count(), 10u);
    EXPECT_FALSE(GUITopBar::getInstance()->isLocked());
    EXPECT_EQ(layer->getOnlineWorldId(), 0);
    ASSERT_TRUE(gameRunning());
    ASSERT_NE(layer->getGUI()->getCurrentElement(), nullptr);
    EXPECT_EQ(layer->getGUI()->getCurrentElement()->getString(), std::string("Soil"));
    EXPECT_NE(dynamic_cast<Draw*>(world->currentTool), nullptr);
    EXPECT_FALSE(ScreenUtils::getInstance()->isBusy()) << "buttons act again in the game";
    // The menu waits below: popping returns to it.
    CCDirector::sharedDirector()->popScene();
    stepFrames(2);
    EXPECT_TRUE(menuRunning());
}

TEST_F(MainMenuTest, StoryStartsTheBestDayInASmallLitWorld)
{
    Profile* profile = Profile::getInstance();
    SaveLoadUtils::setFreePlay(true);
    world->lightMap.setLightOn(false);
    world->lightMap.setSunOn(false);
    delete ParticleCreator::createByName("Sand");
    ASSERT_EQ(createdSand(), 1);
    click(menu->getStoryButton());
    stepFrames(60);
    EXPECT_EQ(profile->getGameMode(), MainMenu::kStoryGameMode);
    EXPECT_EQ(profile->getDay(), 1) << "a new profile starts at day 1";
    EXPECT_FALSE(SaveLoadUtils::isFreePlay());
    EXPECT_FALSE(world->bigWorld);
    EXPECT_TRUE(world->lightMap.isLightOn());
    EXPECT_TRUE(world->lightMap.isSunOn());
    EXPECT_EQ(createdSand(), 0) << "the created record is reset";
    EXPECT_TRUE(profile->isDayStarted());
    EXPECT_TRUE(gameRunning());
}

// A story day lights its world and may bring rain; free mode's new world has
// its own settings, the same as for a new player.
TEST_F(MainMenuTest, FreeModeOpensWithItsOwnSettingsAfterAStoryDay)
{
    auto settings = [this] {
        return std::vector<bool>{world->lightMap.isLightOn(), world->lightMap.isSunOn(), world->weather,
                                 world->lightMap.getSprite()->isVisible()};
    };
    const std::vector<bool> allOff(4, false);
    auto freeModeFromTheMenu = [this] {
        ASSERT_TRUE(menuRunning());
        click(menu->getFreeModeButton());
        stepFrames(60);
        ASSERT_TRUE(gameRunning());
        EXPECT_TRUE(SaveLoadUtils::isFreePlay());
    };
    // The back key (a day's goals window takes the first), and OK on its
    // question.
    auto backToTheMenu = [this] {
        GUIPopup::resetInstanceForTests();
        for (int i = 0; i < 3 && !GUIPopup::getInstance()->isShown(); ++i) {
            BackButtonAdapter::getInstance()->onBackPressed();
            stepSeconds(0.5f);
        }
        ASSERT_TRUE(GUIPopup::getInstance()->isShown());
        GUIPopup::getInstance()->onOkPressed();
        stepSeconds(1.0f);
        GUIPopup::resetInstanceForTests();
    };
    GUIIngameMessage::getInstance()->setFreeModeIntroDone(true);
    freeModeFromTheMenu();
    EXPECT_EQ(settings(), allOff) << "a new player's free mode";
    backToTheMenu();
    // A day past the story's introduction.
    Profile::getInstance()->setBestDay(MainMenu::kStoryGameMode, 3);
    click(menu->getStoryButton());
    stepFrames(60);
    ASSERT_TRUE(gameRunning());
    world->toggleWeather();
    ASSERT_EQ(settings(), std::vector<bool>(4, true)) << "the day is lit and rains";
    backToTheMenu();
    freeModeFromTheMenu();
    EXPECT_EQ(settings(), allOff) << "free mode after a story day";
}

TEST_F(MainMenuTest, ADoublePressStartsOneWorld)
{
    unsigned scenesBefore = sceneCount();
    click(menu->getFreeModeButton());
    stepFrames(4);  // the first press has fired; the fade is running
    click(menu->getFreeModeButton());
    menu->startFreeMode();
    click(menu->getStoryButton());
    stepFrames(60);
    EXPECT_EQ(sceneCount(), scenesBefore + 1);
    EXPECT_EQ(Profile::getInstance()->getGameMode(), MainMenu::kFreeModeGameMode);
    EXPECT_TRUE(gameRunning());
}

TEST_F(MainMenuTest, FreeModeFromTheGameSceneLeavesMenuAndOneGameScene)
{
    click(menu->getStoryButton());
    stepFrames(60);
    ASSERT_TRUE(gameRunning());
    CCScene* storyScene = running();
    storyScene->retain();
    unsigned scenes = sceneCount();
    menu->startFreeMode();
    stepFrames(60);
    EXPECT_EQ(sceneCount(), scenes) << "the game scene is swapped, not stacked";
    EXPECT_TRUE(gameRunning());
    EXPECT_NE(running(), storyScene);
    EXPECT_NE(layer->getParent(), storyScene) << "the layer is in one scene only";
    storyScene->release();
    EXPECT_TRUE(SaveLoadUtils::isFreePlay());
    CCDirector::sharedDirector()->popScene();
    stepFrames(2);
    EXPECT_TRUE(menuRunning());
}

TEST_F(MainMenuTest, BackInFreePlayConfirmedReturnsToTheMenu)
{
    GUIPopup::resetInstanceForTests();
    // A player who has confirmed the free-mode introduction.
    GUIIngameMessage::getInstance()->setFreeModeIntroDone(true);
    click(menu->getFreeModeButton());
    stepFrames(60);
    ASSERT_TRUE(gameRunning());
    BackButtonAdapter::getInstance()->onBackPressed();
    stepFrames(2);
    GUIPopup* popup = GUIPopup::getInstance();
    ASSERT_TRUE(popup->isShown()) << "the confirmation, not the introduction";
    popup->onOkPressed();
    stepSeconds(0.1f);
    EXPECT_TRUE(gameRunning()) << "the menu comes after 0.25 s";
    stepSeconds(0.5f);
    EXPECT_TRUE(menuRunning());
    GUIPopup::resetInstanceForTests();
}

TEST_F(MainMenuTest, TheMenuShowsTheTitleOverAMovingBackdropTheManaAndThePlayersName)
{
    Profile::getInstance()->setNickname(CCString::create("Ada"));
    Profile::getInstance()->setMana(3500);
    menu->onExit();
    menu->onEnter();
    ASSERT_NE(menu->getTitleLabel(), nullptr);
    EXPECT_EQ(std::string(menu->getTitleLabel()->getText()->getString()), "The Tesmora");
    EXPECT_EQ(std::string(menu->getPlayerNameLabel()->getText()->getString()), "Ada");
    EXPECT_EQ(manaText(), "3500");

    MainMenuAnimation* backdrop = menu->getBackdrop();
    ASSERT_NE(backdrop, nullptr);
    ASSERT_EQ(backdrop->getBandCount(), 3u);
    EXPECT_EQ(backdrop->getCloudCount(), 3u);
    stepSeconds(2.0f, 0.25f);
    // Slowly, the far hills slowest: a few pixels a second at most.
    for (size_t band = 0; band < backdrop->getBandCount(); ++band) {
        EXPECT_GT(backdrop->getDrift(band), 0.0f) << band;
        EXPECT_LT(backdrop->getDrift(band), 40.0f) << band;
        if (band > 0) {
            EXPECT_GT(backdrop->getDrift(band), backdrop->getDrift(band - 1)) << band;
        }
    }
}

TEST_F(MainMenuTest, TheBackKeyAsksBeforeQuittingAndOkQuits)
{
    GUIPopup::resetInstanceForTests();
    BackButtonAdapter::getInstance()->onBackPressed();
    stepFrames(2);
    GUIPopup* popup = GUIPopup::getInstance();
    ASSERT_TRUE(popup->isShown());
    EXPECT_EQ(popup->getKind(), 0);
    EXPECT_EQ(std::string(popup->getMessageLabel()->getText()->getString()),
              LocalUtils::localize("ConfirmationQuitGame")->getString());
    // The back key again answers the question (cancel), and the game goes on.
    stepSeconds(GUIWindow::kOpeningSeconds);
    BackButtonAdapter::getInstance()->onBackPressed();
    stepSeconds(0.5f);
    EXPECT_FALSE(popup->isShown());
    EXPECT_TRUE(menuRunning());
    EXPECT_FALSE(CCDirector::sharedDirector()->hasEnded());

    BackButtonAdapter::getInstance()->onBackPressed();
    stepFrames(2);
    ASSERT_TRUE(popup->isShown());
    popup->onOkPressed();
    stepSeconds(0.5f);
    EXPECT_TRUE(CCDirector::sharedDirector()->hasEnded());
    CCDirector::sharedDirector()->resetForTests();
    GUIPopup::resetInstanceForTests();
}

}  // namespace
