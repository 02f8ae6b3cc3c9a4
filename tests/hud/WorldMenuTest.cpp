// The HUD's world menu: name and description through the keyboard, saving
// with its overwrite question and its failure message, loading and a new world.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "support/SavedWorldsFixture.h"
#include "base/LocalUtils.h"
#include "profile/Profile.h"
#include "gui/BackButton.h"
#include "gui/GUIButton.h"
#include "gui/GUIKeyboard.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "hud/GUISaveLoad.h"
#include "world/Tool.h"
#include "hud/GUITopBar.h"
#include "platform/CloudStorage.h"
#include "support/Readability.h"

USING_NS_CC;

namespace {

class WorldMenu : public gametest::SavedWorlds {
protected:
    void SetUp() override
    {
        SavedWorlds::SetUp();
        enterScene(false);
        gui = layer->getGUI();
        GUIPopup::resetInstanceForTests();
    }
    void TearDown() override
    {
        GUIPopup::resetInstanceForTests();
        SavedWorlds::TearDown();
    }

    static std::string popupText()
    {
        GUILabel* label = GUIPopup::getInstance()->getMessageLabel();
        return label && label->getText() ? label->getText()->getString() : std::string();
    }
    static std::string text(const char* key) { return LocalUtils::localize(key)->getString(); }

    GUI* gui = nullptr;
};

TEST_F(WorldMenu, SavingAnswersWithThePopupThatMatchesTheOutcome)
{
    struct Case {
        const char* what;
        const char* universe;
        bool savedBefore;
        bool storeRefuses;
        int kind;
        std::string shown;
        bool written;
    };
    const Case cases[] = {
        {"a new name is saved", "fresh", false, false, 2, text("WorldSavedPopup"), true},
        {"an existing save asks first", "taken", true, false, 0, text("ConfirmationOverwritePopup"), false},
        {"a refused name is a failure", "..", false, false, 2, text("WorldSaveFailedPopup"), false},
        {"a store that refuses is a failure, with why", "refused", false, true, 2,
         LocalUtils::localizeWithVar("WorldNotSavedBecause", text("SaveFailedNoSpace").c_str())->getString(), false},
    };
    const auto realWrite = gameServices().fileWrite;
    const auto realError = gameServices().lastFileWriteError;
    gameServices().lastFileWriteError = [] { return ENOSPC; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gameServices().fileWrite = realWrite;
        name(c.universe);
        if (c.savedBefore) {
            ASSERT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Saved);
        }
        const std::vector<char> before = cloudBytes(std::string("User/") + c.universe + ".sav");
        if (c.storeRefuses)
            gameServices().fileWrite = [](const std::string&, const void*, int32_t) { return false; };
        paintBlock("Stone", 30, 30, 4);
        Profile::getInstance()->setHasSavedWorld(false);
        GUIPopup::resetInstanceForTests();

        gui->onSaveButton(nullptr);

        EXPECT_TRUE(Profile::getInstance()->isHasSavedWorld());
        EXPECT_EQ(GUIPopup::getInstance()->getKind(), c.kind);
        EXPECT_EQ(popupText(), c.shown);
        const std::vector<char> after = cloudBytes(std::string("User/") + c.universe + ".sav");
        EXPECT_EQ(after, c.written ? blobBytes(*world) : before);
        world->reset();
    }
    gameServices().fileWrite = realWrite;
    gameServices().lastFileWriteError = realError;
}

TEST_F(WorldMenu, ConfirmingTheOverwriteWritesTheWorld)
{
    layer->setPaused(true);  // the blob is compared after the popup's frames
    name("mine");
    ASSERT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Saved);
    paintBlock("Sand", 50, 20, 6);
    gui->onSaveButton(nullptr);
    ASSERT_EQ(GUIPopup::getInstance()->getKind(), 0);
    GUIPopup::getInstance()->onOkPressed();
    stepSeconds(1.0f);
    EXPECT_EQ(cloudBytes("User/mine.sav"), blobBytes(*world));
    EXPECT_EQ(popupText(), text("WorldSavedPopup"));
}

// Save on a new world, "w1" typed, while a world "w1" is saved: the
// overwrite question. Declined in any way it saves nothing and names
// nothing: the world keeps the name it had before Save, the menu shows that,
// and the next Save asks for a name again. Its OK saves under "w1".
TEST_F(WorldMenu, AnOverwriteDeclinedAnyWayLeavesTheWorldsNameAsBeforeSave)
{
    CCDirector* director = CCDirector::sharedDirector();
    director->getKeypadDispatcher()->addDelegate(BackButtonAdapter::getInstance());
    BackButtonAdapter::getInstance()->attachWithIME();
    auto key = [](int code) {
        CCEGLView::sharedOpenGLView()->simulateKey(code, true);
        CCEGLView::sharedOpenGLView()->simulateKey(code, false);
    };
    auto stepUntil = [this](const std::function<bool()>& done) {
        for (int frame = 0; frame < 600 && !done(); ++frame)
            stepFrames(1);
        return done();
    };
    GUIPopup* popup = GUIPopup::getInstance();
    GUIKeyboard* keyboard = GUIKeyboard::getInstance();
    layer->setPaused(true);
    saveAs("w1");
    const std::vector<char> saved = cloudBytes("User/w1.sav");
    CCScene* game = director->getRunningScene();
    const struct {
        const char* how;
        std::function<void()> answer;
        bool confirmed;
    } cases[] = {
        {"Cancel", [&] { tapButton(popup->getCancelButton(), ccp(0.5f, 0)); }, false},
        {"Escape", [&] { key(kCCKeyBack); }, false},
        {"Return", [&] { key(kCCKeyEnter); }, false},
        {"the box going with its scene",
         [&] {
             director->pushScene(CCScene::create());
             stepUntil([&] { return !popup->getParent(); });
             director->popScene();
             stepUntil([&] { return director->getRunningScene() == game; });
         },
         false},
        {"OK", [&] { tapButton(popup->getOkButton(), ccp(0.5f, 0)); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        gui->startNewWorld();
        const std::string before = layer->getUniverseName()->getString();
        ASSERT_EQ(before, text("UniverseNameEmpty"));
        paintBlock("Sand", 40, 20, 5);
        gui->onMenuButton(GUI::kWorldMenu, nullptr);
        gui->onSaveButton(nullptr);
        ASSERT_TRUE(keyboard->isActive());
        keyboard->insertText("w1\n", 3);
        ASSERT_TRUE(stepUntil([&] { return popup->isShown() && popup->takesPresses(); }));
        ASSERT_EQ(popupText(), text("ConfirmationOverwritePopup"));
        EXPECT_EQ(layer->getUniverseName()->getString(), before) << "not named while asked";

        c.answer();
        ASSERT_TRUE(stepUntil([&] { return !popup->isShown() || popupText() == text("WorldSavedPopup"); }));
        const std::string named = c.confirmed ? "w1" : before;
        EXPECT_EQ(layer->getUniverseName()->getString(), named);
        EXPECT_EQ(gui->getNameLabel()->getText()->getString(), named);
        EXPECT_EQ(cloudBytes("User/w1.sav"), c.confirmed ? blobBytes(*world) : saved);
        if (c.confirmed)
            break;
        gui->onSaveButton(nullptr);
        EXPECT_TRUE(keyboard->isActive()) << "the next Save asks for a name";
        EXPECT_FALSE(popup->isShown());
        keyboard->onBackPressed();
        stepUntil([&] { return !keyboard->isActive(); });
        gui->closeMenu();
        stepUntil([&] { return gui->getState() == GUIWindow::Closed; });
    }
}

TEST_F(WorldMenu, TheMenuShowsTheWorldAndTheKeyboardAnswersStoreIt)
{
    name("Valley");
    layer->setUniverseDescription(CCString::create(""));
    gui->onMenuButton(GUI::kWorldMenu, nullptr);
    ASSERT_NE(gui->getNameLabel(), nullptr);
    EXPECT_EQ(gui->getNameLabel()->getText()->getString(), "Valley");
    EXPECT_EQ(gui->getDescriptionLabel()->getText()->getString(), text("WorldNoDescription"));
    EXPECT_NE(gui->getMenuContent()->getChildByTag(GUI::kSnapshotTag), nullptr);

    gui->onNameEntered(CCString::create("Hills"));
    gui->onDescriptionEntered(CCString::create("Rolling"));
    EXPECT_EQ(layer->getUniverseName()->getString(), "Hills");
    EXPECT_EQ(layer->getUniverseDescription()->getString(), "Rolling");
    EXPECT_EQ(gui->getNameLabel()->getText()->getString(), "Hills");
}

TEST_F(WorldMenu, ANamedWorldsTextIsReplacedByItsFirstKeyAndKeptByEnterAlone)
{
    GUIKeyboard* keyboard = GUIKeyboard::getInstance();
    struct Case {
        const char* what;
        bool description;
        const char* onScreenKey;  // pressed first, when set
        const char* typed;
        const char* expected;
    };
    const Case cases[] = {
        {"a rename is the new name alone", false, nullptr, "Beta\n", "Beta"},
        {"an on-screen key drops the name too", false, "0", "\n", "1"},
        {"Reset is an edit: it drops the name", false, "reset", "Gamma\n", "Gamma"},
        {"Enter alone keeps the name", false, nullptr, "\n", "Alpha"},
        {"a new description is the new text alone", true, nullptr, "Windy\n", "Windy"},
        {"Enter alone keeps the description", true, nullptr, "\n", "Old shore"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        name("Alpha");
        layer->setUniverseDescription(CCString::create("Old shore"));
        gui->onMenuButton(GUI::kWorldMenu, nullptr);
        if (c.description)
            gui->onDescriptionButton(nullptr);
        else
            gui->onNameButton(nullptr);
        EXPECT_EQ(keyboard->getText()->getString(), c.description ? "Old shore" : "Alpha");
        if (c.onScreenKey)
            keyboard->onKeyPressed(CCString::create(c.onScreenKey));
        keyboard->insertText(c.typed, static_cast<int>(std::string(c.typed).size()));
        stepSeconds(0.3f);
        CCString* now = c.description ? layer->getUniverseDescription() : layer->getUniverseName();
        EXPECT_EQ(now->getString(), c.expected);
        gui->closeMenu();
        stepSeconds(0.3f);
    }
    // Saved under the new name, not the old one with the new added.
    name("Alpha");
    gui->onMenuButton(GUI::kWorldMenu, nullptr);
    gui->onNameButton(nullptr);
    keyboard->insertText("Beta\n", 5);
    stepSeconds(0.3f);
    gui->onSaveButton(nullptr);
    EXPECT_TRUE(platform::CloudStorage::fileExists("User/Beta.sav"));
    EXPECT_FALSE(platform::CloudStorage::fileExists("User/AlphaBeta.sav"));
}

TEST_F(WorldMenu, AnUnnamedWorldIsNamedAndDescribedAsTypedAndSavedUnderThatName)
{
    GUIKeyboard* keyboard = GUIKeyboard::getInstance();
    auto type = [&](const std::string& typed) {
        keyboard->insertText(typed.c_str(), static_cast<int>(typed.size()));
        keyboard->insertText("\n", 1);
        stepSeconds(0.3f);
    };
    layer->setPaused(true);
    gui->onMenuButton(GUI::kWorldMenu, nullptr);
    ASSERT_EQ(layer->getUniverseName()->getString(), text("UniverseNameEmpty"));

    // Saving an unnamed world asks for the name first: the prompt is a hint.
    gui->onSaveButton(nullptr);
    EXPECT_TRUE(keyboard->isActive());
    EXPECT_EQ(keyboard->getText()->getString(), "");
    EXPECT_TRUE(keyboard->isShowingHint());
    EXPECT_EQ(platform::CloudStorage::getFileCount(), 0) << "nothing saved before the name";
    type("Beach 2");
    EXPECT_EQ(layer->getUniverseName()->getString(), "Beach 2");
    EXPECT_EQ(gui->getNameLabel()->getText()->getString(), "Beach 2");
    EXPECT_TRUE(platform::CloudStorage::fileExists("User/Beach_2.sav"));
    EXPECT_EQ(popupText(), text("WorldSavedPopup"));
    GUIPopup::getInstance()->onOkPressed();
    stepSeconds(0.5f);

    // The fresh world's description is a hint too; what is typed is kept whole.
    ASSERT_EQ(layer->getUniverseDescription()->getString(), text("UniverseDescriptionInitial"));
    gui->onDescriptionButton(nullptr);
    EXPECT_EQ(keyboard->getText()->getString(), "");
    EXPECT_TRUE(keyboard->isShowingHint());
    EXPECT_GT(keyboard->getMaxLength(), 15);
    type("Sand and sea, and a long shore");
    EXPECT_EQ(layer->getUniverseDescription()->getString(), "Sand and sea, and a long shore");
    EXPECT_EQ(gui->getDescriptionLabel()->getText()->getString(), "Sand and sea, and a long shore");

    // A named world opens on its name; nothing typed at all leaves the name.
    gui->onNameButton(nullptr);
    EXPECT_EQ(keyboard->getText()->getString(), "Beach 2");
    EXPECT_FALSE(keyboard->isShowingHint());
    keyboard->accept();
    stepSeconds(0.3f);
    EXPECT_EQ(layer->getUniverseName()->getString(), "Beach 2");
    // Emptied, the world is unnamed again; a save then asks again.
    gui->onNameButton(nullptr);
    keyboard->onKeyPressed(CCString::create("clear"));
    keyboard->accept();
    stepSeconds(0.3f);
    EXPECT_EQ(layer->getUniverseName()->getString(), text("UniverseNameEmpty"));

    // The saved-worlds list shows the name as typed, though the store folds it.
    EXPECT_EQ(GUISaveLoad::listTitleOf("user/beach_2.sav"), "Beach 2");
    EXPECT_EQ(GUISaveLoad::listTitleOf("user/never_saved.sav"), "never saved");
}

// A save gets no world without a name: Return on nothing keeps the keyboard
// up saying so, as the player-name screen does, until a name comes; the
// back key on nothing calls the save off, on a typed name saves it.
TEST_F(WorldMenu, ASaveWithNoNameTypedSaysSoAndKeepsTheKeyboardUp)
{
    GUIKeyboard* keyboard = GUIKeyboard::getInstance();
    layer->setPaused(true);
    const struct Case {
        const char* what;
        const char* typed;  // then Return
    } noNames[] = {{"Return on the untouched prompt", ""}, {"spaces only", "   "}};
    gui->onMenuButton(GUI::kWorldMenu, nullptr);
    gui->onSaveButton(nullptr);
    for (const Case& c : noNames) {
        SCOPED_TRACE(c.what);
        keyboard->insertText(c.typed, static_cast<int>(std::string(c.typed).size()));
        keyboard->insertText("\n", 1);
        stepSeconds(0.3f);
        EXPECT_TRUE(keyboard->isActive());
        EXPECT_TRUE(keyboard->getParent() && keyboard->isVisible());
        EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), keyboard);
        EXPECT_TRUE(keyboard->isShowingHint());
        ASSERT_NE(keyboard->getHint(), nullptr);
        EXPECT_EQ(keyboard->getHint()->getString(), text("NameInputEmpty"));
        EXPECT_EQ(gui->getNameLabel()->getText()->getString(), text("UniverseNameEmpty"));
        EXPECT_EQ(platform::CloudStorage::getFileCount(), 0) << "nothing saved";
    }
    keyboard->insertText("Hill\n", 5);
    stepSeconds(0.3f);
    EXPECT_FALSE(keyboard->isActive());
    EXPECT_TRUE(platform::CloudStorage::fileExists("User/Hill.sav"));
    EXPECT_EQ(popupText(), text("WorldSavedPopup"));
    GUIPopup::getInstance()->onOkPressed();
    stepSeconds(0.5f);

    // The back key: on nothing the save is called off, on a name it saves.
    const struct Back {
        const char* typed;
        bool saved;
    } backs[] = {{"", false}, {"Dale", true}};
    for (const Back& b : backs) {
        SCOPED_TRACE(b.typed);
        world->reset();
        gui->onMenuButton(GUI::kWorldMenu, nullptr);
        gui->onSaveButton(nullptr);
        keyboard->insertText(b.typed, static_cast<int>(std::string(b.typed).size()));
        ASSERT_TRUE(stepUntil([&] { return keyboard->takesPresses(); }));
        keyboard->onBackPressed();
        stepSeconds(0.3f);
        EXPECT_FALSE(keyboard->isActive());
        EXPECT_FALSE(gui->isSavingAfterNaming());
        EXPECT_EQ(platform::CloudStorage::fileExists("User/Dale.sav"), b.saved);
        GUIPopup::resetInstanceForTests();
        gui->closeMenu();
        stepSeconds(0.3f);
    }
}

TEST_F(WorldMenu, TheNameKeyboardOpensEmptyAfterAnUndoAndOnALoadedWorldWithoutAName)
{
    testsupport::LanguageTable english("en");
    world->reset();
    GUIKeyboard* keyboard = GUIKeyboard::getInstance();
    auto expectEmptyWithHint = [&](const char* where) {
        gui->onMenuButton(GUI::kWorldMenu, nullptr);
        gui->onNameButton(nullptr);
        EXPECT_EQ(keyboard->getText()->getString(), "") << where;
        EXPECT_TRUE(keyboard->isShowingHint()) << where;
        EXPECT_EQ(keyboard->getMaxLength(), 15) << where;
        EXPECT_NE(keyboard->getCharsLeftLabel()->getText()->getString().find("15"), std::string::npos)
            << where << ": " << keyboard->getCharsLeftLabel()->getText()->getString();
        keyboard->insertText("V", 1);
        EXPECT_EQ(keyboard->getText()->getString(), "V") << where << ": typing replaces the hint";
        keyboard->onBackPressed();
        stepSeconds(0.3f);
        gui->closeMenu();
        stepSeconds(0.3f);
    };
    // The first world: a stroke keeps the world for undo, and undo brings it back.
    press(400, 300);
    stepFrames(2, 0.015f);
    release(400, 300);
    ASSERT_NE(world->undoSnapshot, nullptr);
    GUITopBar::getInstance()->onUndoButton();
    ASSERT_EQ(layer->getUniverseName()->getString(), text("UniverseNameEmpty"));
    expectEmptyWithHint("the first world, after an undo");

    // A world saved by an earlier version with the prompt cut to its field.
    world->reset();
    name(text("UniverseNameEmpty").substr(0, 15).c_str());
    NSData* blob = world->save();
    name("Other");
    ASSERT_TRUE(world->load(blob));
    expectEmptyWithHint("a loaded world without a name");
}

TEST_F(WorldMenu, LoadClosesTheHudAndPushesTheSavedWorldsScreen)
{
    GUIButton* sender = GUIButton::create(nullptr, "guitopbar_HUDbtnMenuPlanet.png", nullptr);
    ASSERT_NE(sender, nullptr);
    sender->retain();  // the bar's button outlives the frames stepped here
    gui->onMenuButton(GUI::kWorldMenu, sender);
    stepSeconds(1.0f);
    ASSERT_TRUE(sender->isPressed());
    CCScene* game = CCDirector::sharedDirector()->getRunningScene();

    gui->onLoadButton(nullptr);
    EXPECT_FALSE(sender->isPressed());
    EXPECT_EQ(gui->getMenuButton(), nullptr);
    EXPECT_EQ(gui->getOpenMenu(), GUI::kNoMenu);
    EXPECT_TRUE(gui->getState() == GUIWindow::Closing || gui->getState() == GUIWindow::Closed);
    stepFrames(2);
    CCScene* shown = CCDirector::sharedDirector()->getRunningScene();
    EXPECT_NE(shown, game);
    EXPECT_TRUE(CCDirector::sharedDirector()->isInTransition());
    bool savedWorlds = false;
    if (shown && shown->getChildren())
        for (CCObject* child : *shown->getChildren())
            savedWorlds = savedWorlds || dynamic_cast<GUISaveLoad*>(child) != nullptr;
    EXPECT_TRUE(savedWorlds);
    sender->release();
}

// Back from the saved worlds, with or without a world loaded, the player's
// element, tool and brush are as they were.
TEST_F(WorldMenu, TheSavedWorldsLeaveThePlayersElementToolAndBrush)
{
    testsupport::testHost().freePlay = true;
    name("kept");
    ASSERT_EQ(SaveLoadUtils::saveWorld(true), SaveLoadUtils::SaveResult::Saved);
    CCScene* game = CCDirector::sharedDirector()->getRunningScene();
    gui->selectElement("Water");
    gui->selectTool("Fill");
    gui->setBrushSize(3);
    for (bool load : {false, true}) {
        SCOPED_TRACE(load ? "a world loaded" : "back without one");
        gui->onLoadButton(nullptr);
        stepSeconds(1.0f);
        GUISaveLoad* screen = nullptr;
        for (CCObject* child : *CCDirector::sharedDirector()->getRunningScene()->getChildren())
            if (!screen)
                screen = dynamic_cast<GUISaveLoad*>(child);
        ASSERT_NE(screen, nullptr);
        if (load) {
            ASSERT_EQ(screen->getRowCount(), 1);
            auto* row = static_cast<CCNode*>(screen->getRows()->objectAtIndex(0));
            const CCPoint centre =
                row->getParent()->convertToWorldSpace(ccp(row->getPosition().x + 40, row->getPosition().y - 20));
            press(centre.x, centre.y, 7);
            release(centre.x, centre.y, 7);
            ASSERT_NE(screen->selectedWorldName(), nullptr);
            screen->loadSelectedWorld();
        } else {
            screen->goBack();
        }
        stepSeconds(1.0f);
        ASSERT_EQ(CCDirector::sharedDirector()->getRunningScene(), game);
        ASSERT_NE(gui->getCurrentElement(), nullptr);
        EXPECT_EQ(gui->getCurrentElement()->getString(), "Water");
        EXPECT_EQ(gWorld->currentTool->kind, Tool::kFill);
        EXPECT_EQ(gui->getBrushSize(), 3);
    }
    EXPECT_EQ(layer->getLoadedWorldName()->getString(), "kept");
}

TEST_F(WorldMenu, NewWorldEmptiesTheWorld)
{
    const int32_t empty = world->particleCount();
    paintBlock("Stone", 10, 10, 5);
    ASSERT_GT(world->particleCount(), empty);
    gui->onMenuButton(GUI::kWorldMenu, nullptr);
    gui->onNewWorldButton(nullptr);
    EXPECT_EQ(world->particleCount(), empty);
    EXPECT_EQ(gui->getOpenMenu(), GUI::kNoMenu);
}

TEST_F(WorldMenu, NewWorldAsksFirstOnlyWhenChangesWouldBeLost)
{
    testsupport::LanguageTable english("en");
    layer->setPaused(true);
    const int32_t empty = world->particleCount();
    auto stroke = [&] {
        press(400, 300);
        stepFrames(2, 0.015f);
        release(400, 300);
        stepFrames(1);
    };
    // Asked: does the popup come, and is the world still there?
    auto newWorld = [&]() {
        GUIPopup::resetInstanceForTests();
        gui->onMenuButton(GUI::kWorldMenu, nullptr);
        stepSeconds(0.5f);
        gui->onNewWorldButton(nullptr);
        stepSeconds(0.3f);
        return GUIPopup::getInstance()->isShown();
    };
    const struct {
        const char* what;
        std::function<void()> change;
        bool asks;
    } cases[] = {
        {"a fresh world", [] {}, false},
        {"a stroke", stroke, true},
        {"a world setting", [&] { gui->onSwitchPicked(CCInteger::create(3)); }, true},
        {"a stroke, then a save",
         [&] {
             stroke();
             name("Saved");
             ASSERT_EQ(SaveLoadUtils::saveWorld(true), SaveLoadUtils::SaveResult::Saved);
         },
         false},
        {"a stroke, then a load",
         [&] {
             stroke();
             ASSERT_TRUE(world->load(world->save()));
         },
         false},
        {"a stroke undone",
         [&] {
             stroke();
             GUITopBar::getInstance()->onUndoButton();
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        world->reset();
        c.change();
        const int32_t before = world->particleCount();
        if (!newWorld()) {
            EXPECT_FALSE(c.asks) << "a new world without asking";
            EXPECT_EQ(world->particleCount(), empty);
            continue;
        }
        EXPECT_TRUE(c.asks) << "asked with nothing to lose";
        EXPECT_EQ(popupText(), text("ConfirmationNewWorld"));
        EXPECT_EQ(GUIPopup::getInstance()->getKind(), GUIPopup::Confirm);
        EXPECT_EQ(world->particleCount(), before) << "nothing thrown away before the answer";
        GUIPopup::getInstance()->onOkPressed();
        stepSeconds(0.5f);
        EXPECT_EQ(world->particleCount(), empty) << "OK starts the new world";
        EXPECT_FALSE(world->unsavedChanges);
    }
}

}  // namespace
