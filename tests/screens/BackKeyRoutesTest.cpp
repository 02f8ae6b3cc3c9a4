// The back key along the routes a player takes between a world played from
// the online gallery and what opens over it: the world menu, the world
// settings, the background gallery, the online gallery, the saved worlds and
// the share window, each way round. After every step the key must reach
// what is on top; in the bare world it asks whether to go back to the menu.
// A new player, who has not read free mode's introduction, against the real
// server, headless.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/BackButton.h"
#include "gui/GUIProgressBar.h"
#include "gui/GUIWindow.h"
#include "hud/GUIBackgrounds.h"
#include "hud/GUIIngameMessage.h"
#include "hud/GUISaveLoad.h"
#include "hud/GUIShare.h"
#include "hud/GUITopBar.h"
#include "screens/MainMenu.h"
#include "support/GalleryFixture.h"

USING_NS_CC;

namespace {

enum class Top { World, WorldMenu, Settings, Backgrounds, Gallery, SavedWorlds, Share, Popup, Progress };
enum class Do {
    WorldMenu,
    Settings,
    NewWorld,
    Backgrounds,
    Gallery,
    Play,
    SavedWorlds,
    LoadWorld,
    Share,
    Upload,
    Ok,
    Back
};

const char* nameOf(Top top)
{
    static const char* const names[] = {"the world",   "the world menu", "the world settings",
                                        "backgrounds", "the gallery",    "the saved worlds",
                                        "the share",   "a popup",        "the upload"};
    return names[static_cast<int>(top)];
}

struct Step {
    Do act;
    Top then;
};

struct Route {
    const char* name;
    std::vector<Step> steps;
};

class BackKeyRoutes : public gametest::GalleryScene {
protected:
    void TearDown() override
    {
        GUIIngameMessage::resetInstanceForTests();
        GalleryScene::TearDown();
    }

    static bool windowOpen(GUIWindow* window) { return window && window->getState() == GUIWindow::Open; }
    bool gameShown()
    {
        CCDirector* director = CCDirector::sharedDirector();
        return !director->isInTransition() && layer->getParent() == director->getRunningScene();
    }
    static GUISaveLoad* savedWorldsScreen()
    {
        CCDirector* director = CCDirector::sharedDirector();
        CCScene* scene = director->getRunningScene();
        if (director->isInTransition() || !scene || !scene->getChildren())
            return nullptr;
        for (CCObject* child : *scene->getChildren())
            if (auto* screen = dynamic_cast<GUISaveLoad*>(child))
                return screen;
        return nullptr;
    }

    // Whether `top` is what the player sees, everything settled; and the
    // listener the back key must reach then.
    bool shows(Top top)
    {
        GUI* gui = layer->getGUI();
        GUIIngameMessage* message = GUIIngameMessage::getInstance();
        const bool game =
            gameShown() && !GUIPopup::getInstance()->isShown() && !GUIProgressBar::getInstance()->getParent();
        switch (top) {
        case Top::World:
            return game && gui->getState() == GUIWindow::Closed && !layer->getBackgroundsWindow() &&
                !layer->getShareWindow() && !message->getParent();
        case Top::WorldMenu: return game && windowOpen(gui) && gui->getOpenMenu() == GUI::kWorldMenu;
        case Top::Settings: return game && windowOpen(gui) && gui->getOpenMenu() == GUI::kWorldSettingsMenu;
        case Top::Backgrounds: return windowOpen(layer->getBackgroundsWindow());
        case Top::Share: return windowOpen(layer->getShareWindow());
        case Top::Gallery: {
            OnlineGallery* gallery = shownGallery();
            return gallery && !CCDirector::sharedDirector()->isInTransition() && !gallery->isLoadingPage() &&
                gallery->getTotal() >= 0;
        }
        case Top::SavedWorlds: return savedWorldsScreen() != nullptr;
        case Top::Popup: return GUIPopup::getInstance()->isShown() && !GUIPopup::getInstance()->isClosing();
        case Top::Progress: {
            GUIProgressBar* bar = GUIProgressBar::getInstance();
            return bar->getParent() && bar->getDisplayedProgress() >= 100 && bar->getOkButton()->isVisible();
        }
        }
        return false;
    }
    // What shows instead, for a failure's message.
    std::string seen()
    {
        GUI* gui = layer->getGUI();
        std::string out = gameShown() ? "the game"
            : shownGallery()          ? "the gallery"
            : savedWorldsScreen()     ? "saved worlds"
                                      : "another scene";
        out += ", HUD state " + std::to_string(gui->getState()) + " menu " + std::to_string(gui->getOpenMenu());
        if (GUIPopup::getInstance()->isShown())
            out += ", popup \"" + popupText() + "\"";
        if (layer->getBackgroundsWindow())
            out += ", backgrounds " + std::to_string(layer->getBackgroundsWindow()->getState());
        if (layer->getShareWindow())
            out += ", share " + std::to_string(layer->getShareWindow()->getState());
        if (GUIIngameMessage::getInstance()->getParent())
            out += ", a message";
        return out;
    }
    BackButtonListener* listenerOf(Top top)
    {
        switch (top) {
        case Top::World: return layer;
        case Top::WorldMenu:
        case Top::Settings: return layer->getGUI();
        case Top::Backgrounds: return layer->getBackgroundsWindow();
        case Top::Share: return layer->getShareWindow();
        case Top::Gallery: return shownGallery();
        case Top::SavedWorlds: return savedWorldsScreen();
        case Top::Popup: return GUIPopup::getInstance();
        case Top::Progress: return GUIProgressBar::getInstance();
        }
        return nullptr;
    }

    // A press and release in the middle of the button, as a player's finger.
    void touch(GUIButton* button)
    {
        ASSERT_NE(button, nullptr);
        const CCRect box = button->getHitRect();
        const CCPoint at = button->getParent()->convertToWorldSpace(ccp(box.getMidX(), box.getMidY()));
        press(at.x, at.y);
        stepFrames(1);
        release(at.x, at.y);
        stepFrames(2);
    }
    void touchMenuButton(const char* captionKey)
    {
        const std::string wanted = LocalUtils::localize(captionKey)->getString();
        for (const auto& [caption, button] : worldMenuButtons())
            if (caption == wanted) {
                touch(button);
                return;
            }
        ADD_FAILURE() << "no button \"" << wanted << "\" in the open menu";
    }

    void act(Do what)
    {
        GUITopBar* bar = GUITopBar::getInstance();
        switch (what) {
        case Do::WorldMenu: touch(bar->getWorldMenuButton()); break;
        case Do::Settings: touch(bar->getWorldSettingsButton()); break;
        case Do::Share: touch(bar->getCameraButton()); break;
        case Do::NewWorld: touchMenuButton("NewWorldBut"); break;
        case Do::Backgrounds: touchMenuButton("BackgroundName"); break;
        case Do::Gallery: touchMenuButton("GalleryBut"); break;
        case Do::Upload: touchMenuButton("UploadBut"); break;
        case Do::Ok:
            // A box answers only a press that comes once its OK has shown a moment.
            stepSeconds(GUIWindow::kOpeningSeconds);
            touch(GUIProgressBar::getInstance()->getOkButton());
            break;
        case Do::SavedWorlds: touchMenuButton("LoadName"); break;
        case Do::Back: BackButtonAdapter::getInstance()->keyBackClicked(); break;
        case Do::Play: {
            OnlineGallery* gallery = shownGallery();
            ASSERT_NE(gallery, nullptr);
            tapCard(gallery, islands);
            ASSERT_TRUE(stepUntil([&] { return gallery->isDetailsShown() && gallery->getPlayButton()->isVisible(); }));
            touch(gallery->getPlayButton());
            break;
        }
        case Do::LoadWorld: {
            GUISaveLoad* screen = savedWorldsScreen();
            ASSERT_NE(screen, nullptr);
            ASSERT_GT(screen->getRowCount(), 0);
            auto* row = static_cast<CCNode*>(screen->getRows()->objectAtIndex(0));
            const CCPoint at =
                row->getParent()->convertToWorldSpace(ccp(row->getPosition().x + 40, row->getPosition().y - 20));
            press(at.x, at.y);
            release(at.x, at.y);
            stepFrames(2);
            touch(screen->getLoadButton());
            break;
        }
        }
    }

    // The back key reaches what is on top; in the bare world it asks, and
    // the back key on the question lets the player stay. Over a running
    // upload it does nothing, to what is behind either; the finished upload
    // waits for its OK.
    void expectBackReaches(Top top)
    {
        EXPECT_EQ(BackButtonAdapter::getInstance()->frontListener(), listenerOf(top));
        if (top == Top::Progress) {
            GUIButton* ok = GUIProgressBar::getInstance()->getOkButton();
            if (!ok->isVisible()) {
                BackButtonAdapter::getInstance()->keyBackClicked();
                stepFrames(1);
                EXPECT_TRUE(shows(Top::Progress));
            }
            ASSERT_TRUE(stepUntil([&] { return ok->isVisible(); })) << "the upload's result";
            EXPECT_EQ(layer->getGUI()->getState(), GUIWindow::Open) << "the world menu under the upload closed";
            EXPECT_FALSE(GUIPopup::getInstance()->isShown()) << popupText();
            return;
        }
        if (top != Top::World)
            return;
        BackButtonAdapter::getInstance()->keyBackClicked();
        stepFrames(2);
        ASSERT_TRUE(shows(Top::Popup)) << "the back key in the world asked nothing";
        EXPECT_EQ(popupText(), LocalUtils::localize("ConfirmationGameplayMainMenu")->getString());
        EXPECT_TRUE(GUIPopup::getInstance()->getReturnCancels()) << "Return would drop the unsaved world";
        stepSeconds(GUIWindow::kOpeningSeconds);
        BackButtonAdapter::getInstance()->keyBackClicked();
        ASSERT_TRUE(stepUntil([&] { return shows(Top::World); }));
    }

    // From the main menu: the gallery, Ann's world, Play.
    void playFromMainMenu()
    {
        MainMenu::getInstance()->openGallery();
        ASSERT_TRUE(stepUntil([&] { return shows(Top::Gallery); })) << "the gallery from the main menu";
        act(Do::Play);
        ASSERT_TRUE(stepUntil([&] { return shows(Top::World); })) << "Ann's world";
        ASSERT_EQ(layer->getOnlineWorldId(), islands);
    }

    // The world's back key, and OK on its question.
    void leaveToMainMenu()
    {
        BackButtonAdapter::getInstance()->keyBackClicked();
        ASSERT_TRUE(stepUntil([&] { return shows(Top::Popup); }));
        GUIPopup::getInstance()->onOkPressed();
        ASSERT_TRUE(stepUntil([] {
            CCDirector* director = CCDirector::sharedDirector();
            return !director->isInTransition() && MainMenu::getInstance()->getParent() == director->getRunningScene();
        }));
    }

    int32_t islands = 0;
};

TEST_F(BackKeyRoutes, TheKeyReachesWhatIsOnTopAlongEveryRouteAndBothWaysRound)
{
    registerPlayer("Ann");
    islands = share("Islands", 0);
    ASSERT_NE(islands, 0);
    registerPlayer("Bob");
    // A world of Bob's own to load.
    world->reset();
    paintBlock("Sand", 20, 20, 6);
    name("dunes");
    ASSERT_EQ(SaveLoadUtils::saveWorld(true), SaveLoadUtils::SaveResult::Saved);
    world->reset();
    Profile::getInstance()->setShareCount(4);  // no reward popup after the share
    testsupport::testHost().freePlay = true;   // the gallery's worlds play free
    ASSERT_FALSE(GUIIngameMessage::getInstance()->getFreeModeIntroDone());

    using T = Top;
    const Route routes[] = {
        {"new world, then the gallery from the settings",
         {{Do::WorldMenu, T::WorldMenu},
          {Do::NewWorld, T::World},
          {Do::Settings, T::Settings},
          {Do::Gallery, T::Gallery},
          {Do::Back, T::World}}},
        {"the gallery from the settings, then new world",
         {{Do::Settings, T::Settings},
          {Do::Gallery, T::Gallery},
          {Do::Back, T::World},
          {Do::WorldMenu, T::WorldMenu},
          {Do::NewWorld, T::World}}},
        {"the menus switched, then closed by the key",
         {{Do::WorldMenu, T::WorldMenu},
          {Do::Settings, T::Settings},
          {Do::WorldMenu, T::WorldMenu},
          {Do::Back, T::World},
          {Do::Settings, T::Settings},
          {Do::Back, T::World}}},
        {"the gallery, then the saved worlds",
         {{Do::Settings, T::Settings},
          {Do::Gallery, T::Gallery},
          {Do::Back, T::World},
          {Do::WorldMenu, T::WorldMenu},
          {Do::SavedWorlds, T::SavedWorlds},
          {Do::Back, T::World}}},
        {"the saved worlds, then the gallery",
         {{Do::WorldMenu, T::WorldMenu},
          {Do::SavedWorlds, T::SavedWorlds},
          {Do::Back, T::World},
          {Do::Settings, T::Settings},
          {Do::Gallery, T::Gallery},
          {Do::Back, T::World}}},
        {"the backgrounds, then the share",
         {{Do::Settings, T::Settings},
          {Do::Backgrounds, T::Backgrounds},
          {Do::Back, T::World},
          {Do::Share, T::Share},
          {Do::Back, T::World}}},
        {"new world, the share, then the backgrounds",
         {{Do::WorldMenu, T::WorldMenu},
          {Do::NewWorld, T::World},
          {Do::Share, T::Share},
          {Do::Back, T::World},
          {Do::Settings, T::Settings},
          {Do::Backgrounds, T::Backgrounds},
          {Do::Back, T::World}}},
        {"another world played from the gallery, then new world",
         {{Do::Settings, T::Settings},
          {Do::Gallery, T::Gallery},
          {Do::Play, T::World},
          {Do::WorldMenu, T::WorldMenu},
          {Do::NewWorld, T::World}}},
        // Back from the saved worlds the world goes on as it was left: no
        // introduction comes over the loaded world.
        {"a saved world loaded and shared, then the gallery",
         {{Do::WorldMenu, T::WorldMenu},
          {Do::SavedWorlds, T::SavedWorlds},
          {Do::LoadWorld, T::World},
          {Do::WorldMenu, T::WorldMenu},
          {Do::Upload, T::Progress},
          {Do::Ok, T::WorldMenu},
          {Do::Back, T::World},
          {Do::Settings, T::Settings},
          {Do::Gallery, T::Gallery},
          {Do::Back, T::World}}},
    };

    CCDirector::sharedDirector()->runWithScene(MainMenu::scene());
    stepFrames(2);
    for (const Route& route : routes) {
        SCOPED_TRACE(route.name);
        playFromMainMenu();
        expectBackReaches(Top::World);
        if (HasFailure())
            return;
        for (size_t i = 0; i < route.steps.size(); ++i) {
            const Step& step = route.steps[i];
            SCOPED_TRACE("step " + std::to_string(i + 1) + ", to " + nameOf(step.then));
            act(step.act);
            ASSERT_TRUE(stepUntil([&] { return shows(step.then); })) << seen();
            expectBackReaches(step.then);
            if (HasFailure())
                return;
        }
        leaveToMainMenu();
        if (HasFailure())
            return;
    }
}

}  // namespace
