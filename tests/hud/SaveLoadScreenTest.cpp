#include <chrono>
#include <string>

#include "support/SavedWorldsFixture.h"
#include "base/LocalUtils.h"
#include "gui/ScreenUtils.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/SlidingLayer.h"
#include "hud/GUISaveLoad.h"

USING_NS_CC;

namespace gametest {
namespace {

class SaveLoadScreen : public SavedWorlds {
protected:
    static std::string rowTitle(GUISaveLoad* screen, int row)
    {
        auto* item = static_cast<CCNode*>(screen->getRows()->objectAtIndex(static_cast<unsigned>(row)));
        for (CCObject* child : *item->getChildren())
            if (auto* label = dynamic_cast<GUILabel*>(child))
                return label->getText() ? label->getText()->getString() : "";
        return "";
    }

    // Taps the row: its centre in screen space, through the screen's touches.
    void tapRow(GUISaveLoad* screen, int row)
    {
        auto* item = static_cast<CCNode*>(screen->getRows()->objectAtIndex(static_cast<unsigned>(row)));
        const CCPoint centre =
            item->getParent()->convertToWorldSpace(ccp(item->getPosition().x + 40, item->getPosition().y - 20));
        press(centre.x, centre.y, 7);
        release(centre.x, centre.y, 7);
    }
};

TEST(SaveExtension, OnlyExactSaveNames)
{
    const std::pair<const char*, bool> cases[] = {
        {"user/a.sav", true},      {".sav", true},        {"sav", false},        {"", false},
        {"user/a.sav.bak", false}, {"user/a.SAV", false}, {"user/a.png", false},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(GUISaveLoad::hasSaveExtension(name), expected) << name;
    EXPECT_EQ(GUISaveLoad::worldNameOf("user/my_world.sav"), "my_world");
}

TEST_F(SaveLoadScreen, EmptyFolderShowsNoRows)
{
    enterScene(false);
    GUISaveLoad* screen = openSavedWorlds();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->getRowCount(), 0);
    EXPECT_FALSE(screen->getLoadButton()->isVisible());
    EXPECT_FALSE(screen->getDeleteButton()->isVisible());
    EXPECT_EQ(soundsPlayed("sfx_gui_select"), 1);
    EXPECT_EQ(screen->getFolder()->getString(), "User");
}

TEST_F(SaveLoadScreen, RowsAreNumberedInListingOrder)
{
    enterScene(false);
    saveAs("alpha one");
    saveAs("beta");
    saveAs("gamma");
    // Not listed: a backup suffix, another extension.
    const char junk[] = "x";
    platform::CloudStorage::fileWrite("User/old.sav.bak", junk, 1);
    platform::CloudStorage::fileWrite("Rewards/gift.sav", junk, 1);

    GUISaveLoad* screen = openSavedWorlds();
    ASSERT_EQ(screen->getRowCount(), 3);
    EXPECT_EQ(rowTitle(screen, 0), "1 - alpha one");
    EXPECT_EQ(rowTitle(screen, 1), "2 - beta");
    EXPECT_EQ(rowTitle(screen, 2), "3 - gamma");
    // Thumbnails of a small world are drawn whole, without the HD mark.
    auto* first = static_cast<CCNode*>(screen->getRows()->objectAtIndex(0));
    int sprites = 0;
    for (CCObject* child : *first->getChildren())
        sprites += dynamic_cast<GUILabel*>(child) == nullptr;
    EXPECT_GE(sprites, 1);

    screen->showRewardWorlds();
    EXPECT_EQ(screen->getRowCount(), 1);
    screen->showRewardWorlds();
    EXPECT_EQ(soundsPlayed("sfx_gui_select"), 3);
}

TEST_F(SaveLoadScreen, PaintSaveResetLoadGivesTheSameBlob)
{
    enterScene(false);
    paintBlock("Stone", 30, 30, 8);
    saveAs("round trip");
    const std::vector<char> saved = cloudBytes("User/round_trip.sav");
    world->reset();
    EXPECT_NE(blobBytes(*world), saved);

    GUISaveLoad* screen = openSavedWorlds();
    ASSERT_EQ(screen->getRowCount(), 1);
    tapRow(screen, 0);
    ASSERT_NE(screen->selectedWorldName(), nullptr);
    EXPECT_TRUE(screen->getLoadButton()->isVisible());
    EXPECT_TRUE(screen->getDeleteButton()->isVisible());

    screen->loadSelectedWorld();
    EXPECT_EQ(soundsPlayed("sfx_gui_loading"), 2);  // the save, then the load
    EXPECT_EQ(layer->getLoadedWorldName()->getString(), "round_trip");
    EXPECT_EQ(world->eventFlags[World::kEventWorldLoaded], 1);
    const std::vector<char> loaded = blobBytes(*world);
    EXPECT_EQ(countOf("Stone"), 64);
    EXPECT_EQ(typeAt(33, 33), hashString("Stone"));
    // The screen gave the world exactly the saved bytes: a direct load of
    // them saves the same.
    ASSERT_TRUE(world->loadBytes(reinterpret_cast<const uint8_t*>(saved.data()), saved.size()));
    EXPECT_EQ(firstDifference(loaded, blobBytes(*world)), -1);
    stepSeconds(0.5f);
    EXPECT_EQ(CCDirector::sharedDirector()->getRunningScene()->getChildren()->objectAtIndex(0), layer);
}

// Loading over unsaved changes asks first, as New world does: Cancel keeps
// the world with its changes and the list, OK loads; with nothing to lose
// the world loads at once.
TEST_F(SaveLoadScreen, LoadAsksFirstWhenUnsavedChangesWouldBeLost)
{
    enterScene(false);
    paintBlock("Stone", 30, 30, 8);
    saveAs("kept");
    struct Case {
        bool changed;
        bool ok;  // the answer, when asked
        bool loaded;
    };
    for (const Case& c : {Case{true, false, false}, Case{true, true, true}, Case{false, false, true}}) {
        SCOPED_TRACE(std::to_string(c.changed) + std::to_string(c.ok));
        world->reset();
        paintBlock("Sand", 60, 30, 4);
        world->unsavedChanges = c.changed;
        GUISaveLoad* screen = openSavedWorlds();
        tapRow(screen, 0);
        tapButton(screen->getLoadButton(), ccp(0.5f, 0.5f));
        GUIPopup* popup = GUIPopup::getInstance();
        ASSERT_EQ(popup->isShown(), c.changed);
        if (c.changed) {
            EXPECT_EQ(std::string(popup->getMessageLabel()->getText()->getString()),
                      LocalUtils::localize("ConfirmationLoadWorld")->getString());
            EXPECT_EQ(popup->getKind(), GUIPopup::Confirm);
            stepSeconds(GUIWindow::kOpeningSeconds);
            tapButton(c.ok ? popup->getOkButton() : popup->getCancelButton(), ccp(0.5f, 0.5f));
            stepSeconds(0.4f);
        }
        EXPECT_EQ(countOf("Sand"), c.loaded ? 0 : 16);
        EXPECT_EQ(countOf("Stone"), c.loaded ? 64 : 0);
        EXPECT_EQ(world->unsavedChanges, !c.loaded);
        if (!c.loaded) {
            EXPECT_NE(screen->selectedWorldName(), nullptr) << "the list stays, its row still chosen";
            screen->goBack();
        }
        stepSeconds(0.5f);
        EXPECT_EQ(CCDirector::sharedDirector()->getRunningScene()->getChildren()->objectAtIndex(0), layer);
    }
}

// A saved world that cannot be read (refused by the reader, read short,
// asked first over unsaved changes) leaves the world as it was and says so
// in a popup; OK comes back to the list for another choice.
TEST_F(SaveLoadScreen, BrokenOrVanishedFilesLeaveTheWorldAndSaySo)
{
    enterScene(false);
    saveAs("first");
    saveAs("second");
    const char junk[] = "not a world at all";
    platform::CloudStorage::fileWrite("User/second.sav", junk, sizeof junk);
    paintBlock("Sand", 50, 50, 4);
    layer->setLoadedWorldName(CCString::create("mine"));
    const std::string unreadable = LocalUtils::localize("SavedWorldUnreadable")->getString();
    GUISaveLoad* screen = openSavedWorlds();
    ASSERT_EQ(screen->getRowCount(), 2);
    GUIPopup* popup = GUIPopup::getInstance();
    const struct {
        const char* why;
        int row;
        bool changed;  // asked first
    } cases[] = {{"refused by the reader", 1, false}, {"asked first, then refused", 1, true}, {"read short", 0, false}};
    int errors = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        if (c.row == 0)
            gameServices().fileRead = [](const std::string& n, void* buffer, int32_t size) {
                return platform::CloudStorage::fileRead(n, buffer, size - 1);
            };
        world->unsavedChanges = c.changed;
        const std::vector<char> before = blobBytes(*world);
        tapRow(screen, c.row);
        tapButton(screen->getLoadButton(), ccp(0.5f, 0.5f));
        if (c.changed) {
            ASSERT_TRUE(popup->isShown());
            stepSeconds(GUIWindow::kOpeningSeconds);
            tapButton(popup->getOkButton(), ccp(0.5f, 0.5f));
            stepSeconds(0.4f);
        }
        ASSERT_TRUE(popup->isShown());
        EXPECT_EQ(std::string(popup->getMessageLabel()->getText()->getString()), unreadable);
        EXPECT_EQ(soundsPlayed("sfx_gui_error"), ++errors);
        EXPECT_EQ(firstDifference(blobBytes(*world), before), -1);
        EXPECT_EQ(layer->getLoadedWorldName()->getString(), "mine");
        EXPECT_EQ(world->eventFlags[World::kEventWorldLoaded], 0);
        stepSeconds(GUIWindow::kOpeningSeconds);
        tapButton(popup->getOkButton(), ccp(0.5f, 0.5f));
        stepSeconds(0.5f);
        EXPECT_FALSE(popup->isShown());
        EXPECT_EQ(CCDirector::sharedDirector()->getRunningScene()->getChildren()->objectAtIndex(0), screen)
            << "still on the list";
    }
    screen->goBack();
    stepSeconds(0.5f);
}

// The store folds file names to lower case; a world is listed under its
// name as typed, also when its file cannot be read, until it is deleted.
TEST_F(SaveLoadScreen, AWorldThatCannotBeReadIsListedUnderItsNameAsSaved)
{
    enterScene(false);
    saveAs("B");
    saveAs("Beach Two");
    saveAs("Cove");
    const char junk[] = "not a world at all";
    platform::CloudStorage::fileWrite("User/B.sav", junk, sizeof junk);
    platform::CloudStorage::fileWrite("User/Beach_Two.sav", junk, 3);
    GUISaveLoad* screen = openSavedWorlds();
    ASSERT_EQ(screen->getRowCount(), 3);
    EXPECT_EQ(rowTitle(screen, 0), "1 - B");
    EXPECT_EQ(rowTitle(screen, 1), "2 - Beach Two");
    EXPECT_EQ(rowTitle(screen, 2), "3 - Cove");

    tapRow(screen, 0);
    screen->deleteSelectedWorld();
    EXPECT_FALSE(platform::CloudStorage::fileExists(SaveLoadUtils::nameFileOf("User/B.sav")));
    ASSERT_EQ(screen->getRowCount(), 2);
}

TEST_F(SaveLoadScreen, RowsKeepTheirNamesWhenTheListingChanges)
{
    enterScene(false);
    saveAs("b world");
    saveAs("c world");
    GUISaveLoad* screen = openSavedWorlds();
    tapRow(screen, 0);
    ASSERT_EQ(screen->selectedWorldName()->getString(), "user/b_world.sav");

    // A world that sorts first appears meanwhile: the row still means b.
    saveAs("a world");
    EXPECT_EQ(screen->selectedWorldName()->getString(), "user/b_world.sav");

    // Delete asks first, then removes the world and its picture.
    screen->askDeleteSelectedWorld();
    EXPECT_NE(ScreenUtils::getInstance()->getCurrentWindow(), nullptr);
    EXPECT_TRUE(platform::CloudStorage::fileExists("User/b_world.sav"));
    screen->deleteSelectedWorld();
    EXPECT_FALSE(platform::CloudStorage::fileExists("User/b_world.sav"));
    EXPECT_FALSE(platform::CloudStorage::fileExists("User/b_world.png"));
    EXPECT_TRUE(platform::CloudStorage::fileExists("User/c_world.sav"));
    EXPECT_EQ(screen->getRowCount(), 2);
    EXPECT_FALSE(screen->getLoadButton()->isVisible());
    // Nothing selected now: load and delete do nothing.
    screen->deleteSelectedWorld();
    EXPECT_EQ(screen->getRowCount(), 2);
}

TEST_F(SaveLoadScreen, OpensOverFiveHundredWorlds)
{
    enterScene(false);
    name("w");
    ASSERT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Saved);
    const std::vector<char> blob = cloudBytes("User/w.sav");
    const std::vector<char> picture = cloudBytes("User/w.png");
    for (int i = 0; i < 500; ++i) {
        const std::string n = "User/world" + std::to_string(i);
        platform::CloudStorage::fileWrite(n + ".sav", blob.data(), static_cast<int32_t>(blob.size()));
        platform::CloudStorage::fileWrite(n + ".png", picture.data(), static_cast<int32_t>(picture.size()));
    }
    // Warm the thumbnail cache once.
    openSavedWorlds();
    stepFrames(1);
    CCDirector::sharedDirector()->popScene();
    stepFrames(2);

    const auto start = std::chrono::steady_clock::now();
    GUISaveLoad* screen = openSavedWorlds();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(screen->getRowCount(), 501);
    RecordProperty("open_seconds", std::to_string(seconds));
    std::printf("saved-worlds screen over 501 worlds: %.3f s\n", seconds);
}

// Quick drags carry the list on after the finger, and it stops with its
// last row at the panel's bottom and its first at the top, never past them.
TEST_F(SaveLoadScreen, FlingsStopAtTheFirstAndLastRows)
{
    enterScene(false);
    saveAs("w");
    std::vector<char> blob = cloudBytes("User/w.sav");
    for (int i = 1; i < 46; ++i)
        platform::CloudStorage::fileWrite("User/world" + std::to_string(i) + ".sav", blob.data(),
                                          static_cast<int32_t>(blob.size()));
    GUISaveLoad* screen = openSavedWorlds();
    ASSERT_EQ(screen->getRowCount(), 46);
    SlidingLayer* list = screen->getSlidingLayer();
    const float bottom = list->getOrigin().y, top = bottom + list->getContentSize().height;
    auto edge = [&](int row, bool lower) {
        auto* item = static_cast<CCNode*>(screen->getRows()->objectAtIndex(static_cast<unsigned>(row)));
        const float y = item->getPosition().y - (lower ? item->getContentSize().height : 0);
        return list->convertToWorldSpace(ccp(0, y)).y;
    };
    EXPECT_NEAR(edge(0, false), top, 1) << "the list opens on its first row";
    const float x = list->getOrigin().x + 100;
    for (int direction : {1, -1, 1, 1, -1}) {
        for (int fling = 0; fling < 20; ++fling) {
            float y = direction > 0 ? bottom + 20 : top - 20;
            press(x, y, 3);
            for (int step = 0; step < 4; ++step) {
                y += direction * 90;
                drag(x, y, 3);
                stepFrames(1);
            }
            release(x, y, 3);
            stepFrames(3);
        }
        stepSeconds(2);
        if (direction > 0)
            EXPECT_NEAR(edge(45, true), bottom, 1) << "flung up: the last row at the bottom";
        else
            EXPECT_NEAR(edge(0, false), top, 1) << "flung down: the first row at the top";
    }

    // Rows that fit the panel do not move at all.
    for (int i = 1; i < 46; ++i)
        platform::CloudStorage::fileDelete("User/world" + std::to_string(i) + ".sav");
    screen->refreshList();
    ASSERT_EQ(screen->getRowCount(), 1);
    for (int direction : {1, -1}) {
        press(x, top - 20, 3);
        drag(x, top - 20 + direction * 150, 3);
        stepFrames(1);
        release(x, top - 20 + direction * 150, 3);
        stepSeconds(1);
        EXPECT_NEAR(edge(0, false), top, 1);
    }
}

TEST_F(SaveLoadScreen, RowsStayInTheirPanelAtEveryWindowShape)
{
    enterScene(false);
    saveAs("alpha");
    saveAs("beta");
    const CCSize shapes[] = {{800, 600}, {1024, 768}, {1366, 768}, {1920, 1080}};
    for (const CCSize& shape : shapes) {
        resetScreenMetricsForTests();
        computeScreenMetrics(shape);
        GUISaveLoad* screen = openSavedWorlds();
        ASSERT_NE(screen, nullptr);
        ASSERT_EQ(screen->getRowCount(), 2);
        const float s = static_cast<float>(screenRatio);
        // The panel: 190 sheet pixels at four times the UI scale, from 260 units.
        const float panelRight = visibleMargin().width / 2 + (260 + 190 * 4) * s;
        EXPECT_LE(panelRight, shape.width);
        for (int i = 0; i < 2; ++i) {
            auto* row = static_cast<CCNode*>(screen->getRows()->objectAtIndex(static_cast<unsigned>(i)));
            const CCSize size = row->getContentSize();
            const CCPoint left = row->getParent()->convertToWorldSpace(row->getPosition());
            const CCPoint right =
                row->getParent()->convertToWorldSpace(ccp(row->getPosition().x + size.width, row->getPosition().y));
            const std::string where = std::to_string(shape.width) + " x " + std::to_string(shape.height);
            EXPECT_LE(right.x, panelRight) << where << " row " << i;
            EXPECT_GE(left.x, 0) << where;
            EXPECT_GT(right.x - left.x, 600 * s) << where << ": the rows shrink no more than they must";
        }
        CCDirector::sharedDirector()->popScene();
        stepFrames(2);
    }
}

}  // namespace
}  // namespace gametest
