#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "support/SavedWorldsFixture.h"
#include "base/LocalUtils.h"
#include "base/NSData.h"
#include "gui/ScreenUtils.h"
#include "gui/GUIButton.h"
#include "hud/GUIBackgrounds.h"
#include "support/TempFolders.h"

USING_NS_CC;

namespace gametest {
namespace {

// A one-colour PNG at root/relative.
void writePicture(const std::string& root, const std::string& relative, int w, int h, ccColor4B colour)
{
    std::vector<unsigned char> pixels(static_cast<size_t>(w * h * 4));
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = colour.r;
        pixels[i + 1] = colour.g;
        pixels[i + 2] = colour.b;
        pixels[i + 3] = colour.a;
    }
    CCImage image;
    ASSERT_TRUE(image.initWithRawPixels(pixels.data(), w, h, true));
    const std::string path = root + "/" + relative;
    std::string folder = path.substr(0, path.rfind('/'));
    for (size_t at = root.size() + 1; at != std::string::npos; at = folder.find('/', at + 1))
        mkdir(folder.substr(0, at).c_str(), 0700);
    mkdir(folder.c_str(), 0700);
    ASSERT_TRUE(image.saveToFile(path.c_str(), false));
}

ccColor4B pixelOf(CCSprite* sprite, int x, int y)
{
    auto* texture = dynamic_cast<CCMutableTexture2D*>(sprite->getTexture());
    return texture ? texture->getPixelAt(x, y) : ccc4(1, 2, 3, 4);
}

bool sameColour(ccColor4B a, ccColor4B b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

// --- backgrounds --------------------------------------------------------------

class Backgrounds : public SavedWorlds {
protected:
    void useOwnResources()
    {
        previousRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
        writePicture(m_resources.path(), "backgrounds/Rewards/both.png", 120, 80, ccc4(200, 0, 0, 255));
        writePicture(m_resources.path(), "backgrounds/Missions/both.png", 120, 80, ccc4(0, 200, 0, 255));
        writePicture(m_resources.path(), "backgrounds/Missions/background.png", 120, 80, ccc4(10, 10, 10, 255));
        writePicture(m_resources.path(), "backgrounds/Missions/sky.png", 120, 80, ccc4(0, 0, 200, 255));
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_resources.path());
    }
    void TearDown() override
    {
        if (!previousRoot.empty())
            CCFileUtils::sharedFileUtils()->setResourceRoot(previousRoot);
        SavedWorlds::TearDown();
    }
    std::string chosen() const { return layer->getBackgroundName() ? layer->getBackgroundName()->getString() : "-"; }
    testsupport::TempDir m_resources;
    std::string previousRoot;
};

TEST_F(Backgrounds, RewardsWinAndDefaultsNeverRename)
{
    useOwnResources();
    enterScene(false);
    layer->changeBackground("both.png", false);
    EXPECT_EQ(chosen(), "both.png");
    CCSprite* sprite = layer->getBackgroundSprite();
    ASSERT_NE(sprite, nullptr);
    // The Rewards picture, not the Missions one.
    EXPECT_EQ(sprite->getTexture(), CCTextureCache::sharedTextureCache()->addImage("backgrounds/Rewards/both.png"));

    for (const char* name : {"both.png", "sky.png", "missing.png"}) {
        layer->changeBackground(name, true);
        EXPECT_EQ(chosen(), "both.png") << name;
    }
    // A name in neither folder becomes its language variant, shown or not.
    layer->changeBackground("missing.png", false);
    const std::string lang = LocalUtils::localize("files_lang")->getString();
    EXPECT_EQ(chosen(), "missing" + lang + ".png");
    EXPECT_EQ(layer->getBackgroundSprite(), nullptr);
}

TEST_F(Backgrounds, ScaleAndPlaceBehindTheWorld)
{
    useOwnResources();
    for (bool big : {false, true}) {
        enterScene(big);
        layer->changeBackground("sky.png", false);
        CCSprite* sprite = layer->getBackgroundSprite();
        ASSERT_NE(sprite, nullptr);
        EXPECT_FLOAT_EQ(sprite->getScale(), big ? 18.0f : 9.0f);
        EXPECT_EQ(sprite->getZOrder(), -100);
        EXPECT_LT(sprite->getZOrder(), layer->getWorldSprite()->getZOrder());
        EXPECT_EQ(sprite->getParent(), layer);
        // Only one background sprite at a time.
        int backgrounds = 0;
        for (CCObject* child : *layer->getChildren())
            backgrounds += static_cast<CCNode*>(child)->getZOrder() == -100;
        EXPECT_EQ(backgrounds, 1);
    }
}

TEST_F(Backgrounds, ResetShowsPeacefulAndToggleRestoresTheChoice)
{
    enterScene(false);
    EXPECT_EQ(chosen(), "peaceful.png");
    EXPECT_TRUE(layer->getBackgroundOn());
    ASSERT_NE(layer->getBackgroundSprite(), nullptr);
    EXPECT_EQ(layer->getBackgroundSprite()->getTexture(),
              CCTextureCache::sharedTextureCache()->addImage("backgrounds/Missions/peaceful.png"));

    EXPECT_FALSE(layer->toggleBackground());
    EXPECT_EQ(chosen(), "peaceful.png");
    EXPECT_EQ(layer->getBackgroundSprite()->getTexture(),
              CCTextureCache::sharedTextureCache()->addImage("backgrounds/Missions/background.png"));
    EXPECT_TRUE(layer->toggleBackground());
    EXPECT_EQ(layer->getBackgroundSprite()->getTexture(),
              CCTextureCache::sharedTextureCache()->addImage("backgrounds/Missions/peaceful.png"));

    // No chosen picture: switching on shows none instead of failing.
    layer->setBackgroundOn(false);
    CC_SAFE_RELEASE(layer->getBackgroundName());
    layer->setBackgroundName(nullptr);
    EXPECT_TRUE(layer->toggleBackground());
    EXPECT_EQ(layer->getBackgroundSprite(), nullptr);
}

// --- HUD menu buttons ---------------------------------------------------------

TEST_F(SavedWorlds, MenuButtonsOpenSwitchAndClose)
{
    enterScene();
    GUI* gui = layer->getGUI();
    GUIButton* elements = GUIButton::create(nullptr, "gamemenus_HD.png", nullptr);
    GUIButton* tools = GUIButton::create(nullptr, "gamemenus_HD.png", nullptr);
    elements->retain();
    tools->retain();

    // A press without a sender changes nothing, whichever button.
    layer->onElementsButton(nullptr);
    layer->onToolsButton(nullptr);
    layer->onWorldSettingsButton(nullptr);
    layer->onWorldButton(nullptr);
    EXPECT_EQ(gui->getState(), GUIWindow::Closed);
    EXPECT_EQ(gui->getOpenMenu(), 0);

    layer->onElementsButton(elements);
    EXPECT_EQ(gui->getOpenMenu(), 1);
    EXPECT_EQ(gui->getState(), GUIWindow::Opening);
    EXPECT_TRUE(elements->isPressed());
    stepSeconds(0.5f);

    // Another button switches the open window in place, with a sound.
    const int selects = soundsPlayed("sfx_gui_select");
    layer->onToolsButton(tools);
    EXPECT_EQ(gui->getOpenMenu(), 2);
    EXPECT_EQ(gui->getState(), GUIWindow::Open);
    EXPECT_EQ(soundsPlayed("sfx_gui_select"), selects + 1);

    layer->onToolsButton(tools);
    EXPECT_EQ(gui->getState(), GUIWindow::Closing);
    EXPECT_FALSE(tools->isPressed());
    stepSeconds(0.5f);

    // With the eraser chosen the palette button gives the last element back
    // and opens the palette all the same.
    choose("Clear");
    elements->setPressed(false);
    layer->onElementsButton(elements);
    EXPECT_NE(gui->getCurrentElement()->getString(), "Clear");
    EXPECT_EQ(gui->getState(), GUIWindow::Opening);
    EXPECT_EQ(gui->getOpenMenu(), 1);
    stepSeconds(0.5f);
    layer->onElementsButton(elements);
    stepSeconds(0.5f);
    EXPECT_EQ(gui->getState(), GUIWindow::Closed);

    // While the gallery is shown the palette button is ignored.
    choose("Soil");
    layer->openBackgroundsWindow();
    ASSERT_NE(layer->getBackgroundsWindow(), nullptr);
    if (layer->getBackgroundsWindow()->isVisible()) {
        layer->onElementsButton(elements);
        EXPECT_EQ(gui->getState(), GUIWindow::Closed);
    }
    elements->release();
    tools->release();
}

TEST_F(SavedWorlds, GoalsRequestAfterSuppressIsSwallowedOnce)
{
    enterScene();
    layer->setSuppressGoalsWindow(true);
    layer->openGoalsWindow();
    EXPECT_FALSE(layer->getSuppressGoalsWindow());
}

// --- saving -------------------------------------------------------------------

TEST_F(SavedWorlds, SavesUnderTheSafeNameWithAThumbnail)
{
    enterScene(false);
    paintBlock("Stone", 10, 10, 5);
    name("my big world");
    EXPECT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Saved);
    EXPECT_TRUE(platform::CloudStorage::fileExists("User/my_big_world.sav"));
    EXPECT_TRUE(platform::CloudStorage::fileExists("User/my_big_world.png"));
    EXPECT_EQ(layer->getLoadedWorldName()->getString(), "my_big_world");
    EXPECT_EQ(world->eventFlags[World::kEventWorldSaved], 1);
    // The local copy is the lower-cased cloud name.
    FILE* local = std::fopen((saveFolder + "/user/my_big_world.png").c_str(), "r");
    EXPECT_NE(local, nullptr);
    if (local)
        std::fclose(local);
    EXPECT_EQ(cloudBytes("User/my_big_world.sav"), blobBytes(*world));

    // Again without overwrite: nothing written.
    const std::vector<char> first = cloudBytes("User/my_big_world.sav");
    paintBlock("Sand", 40, 10, 5);
    EXPECT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Exists);
    EXPECT_EQ(cloudBytes("User/my_big_world.sav"), first);
    EXPECT_EQ(SaveLoadUtils::saveWorld(true), SaveLoadUtils::SaveResult::Saved);
    EXPECT_EQ(cloudBytes("User/my_big_world.sav"), blobBytes(*world));
}

TEST_F(SavedWorlds, NamesAreMadeSafe)
{
    struct Case {
        const char* universe;
        bool accepted;
        const char* file;
    };
    const Case cases[] = {
        {"a b", true, "a_b"},
        {"../x", true, "._x"},
        {"a\\b", true, "a_b"},
        {"tab\there", true, "tab_here"},
        {".", false, ""},
        {"..", false, ""},
        {"...", false, ""},
        {"", true, ""},
        {"Please give your world a name.", true, "Please_give_your_world_a_name"},
        {"a..b...c", true, "a.b.c"},
        {"v1.2", true, "v1.2"},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(SaveLoadUtils::worldFileName(c.universe, out), c.accepted) << c.universe;
        EXPECT_EQ(out, c.file) << c.universe;
    }

    enterScene(false);
    name("..");
    EXPECT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::NameRefused);
    EXPECT_EQ(world->eventFlags[World::kEventWorldSaved], 0);
    EXPECT_EQ(platform::CloudStorage::getFileCount(), 0);

    name("../x");
    EXPECT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Saved);
    EXPECT_TRUE(platform::CloudStorage::fileExists("User/._x.sav"));
    struct stat st { };
    EXPECT_NE(stat(m_cloud.file("x.sav").c_str(), &st), 0);
    EXPECT_NE(stat((saveFolder + "/x.png").c_str(), &st), 0);
}

TEST_F(SavedWorlds, EmptyNameIsWrittenWithoutThumbnail)
{
    enterScene(false);
    name("");
    EXPECT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Saved);
    EXPECT_TRUE(platform::CloudStorage::fileExists("User/.sav"));
    EXPECT_FALSE(platform::CloudStorage::fileExists("User/.png"));
}

TEST_F(SavedWorlds, RefusedWriteFailsAndKeepsTheOldSave)
{
    enterScene(false);
    name("keep");
    ASSERT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Saved);
    const std::vector<char> old = cloudBytes("User/keep.sav");
    const std::vector<char> oldPicture = cloudBytes("User/keep.png");
    world->eventFlags[World::kEventWorldSaved] = 0;

    gameServices().fileWrite = [](const std::string&, const void*, int32_t) { return false; };
    paintBlock("Stone", 20, 20, 6);
    EXPECT_EQ(SaveLoadUtils::saveWorld(true), SaveLoadUtils::SaveResult::Failed);
    EXPECT_EQ(world->eventFlags[World::kEventWorldSaved], 0);
    EXPECT_EQ(cloudBytes("User/keep.sav"), old);
    EXPECT_EQ(cloudBytes("User/keep.png"), oldPicture);
}

// --- pictures -----------------------------------------------------------------

TEST_F(SavedWorlds, SnapshotColours)
{
    enterScene(false);
    CCMutableTexture2D* cells = layer->getWorldTexture();

    // Opaque everywhere: the picture is the world texture, background or not.
    cells->fill(ccc4(90, 80, 70, 255));
    cells->setPixelAt(3, 4, ccc4(1, 2, 3, 255));
    for (bool on : {true, false}) {
        layer->setBackgroundOn(on);
        CCSprite* picture = ScreenUtils::createWorldSnapshot();
        ASSERT_NE(picture, nullptr);
        EXPECT_TRUE(picture->isFlipY());
        EXPECT_FLOAT_EQ(picture->getContentSize().width, 120);
        EXPECT_FLOAT_EQ(picture->getContentSize().height, 80);
        EXPECT_TRUE(sameColour(pixelOf(picture, 3, 4), ccc4(1, 2, 3, 255)));
        EXPECT_TRUE(sameColour(pixelOf(picture, 100, 70), ccc4(90, 80, 70, 255)));
    }

    // Transparent with the background off: the fixed dark colour.
    cells->fill(ccc4(0, 0, 0, 0));
    layer->setBackgroundOn(false);
    CCSprite* plain = ScreenUtils::createWorldSnapshot();
    EXPECT_TRUE(sameColour(pixelOf(plain, 0, 0), ccc4(23, 30, 34, 255)));
    EXPECT_TRUE(sameColour(pixelOf(plain, 119, 79), ccc4(23, 30, 34, 255)));

    // On: row 0 shows the picture's last row, the last row its first.
    layer->setBackgroundOn(true);
    CCImage* sky = new CCImage();
    ASSERT_TRUE(sky->initWithImageFile(
        CCFileUtils::sharedFileUtils()->fullPathForFilename("backgrounds/Missions/peaceful.png").c_str()));
    CCMutableTexture2D* expected = CCMutableTexture2D::createWithImage(sky);
    sky->release();
    CCSprite* shown = ScreenUtils::createWorldSnapshot();
    for (int x : {0, 60, 119}) {
        EXPECT_TRUE(sameColour(pixelOf(shown, x, 0), expected->getPixelAt(x, 79))) << x;
        EXPECT_TRUE(sameColour(pixelOf(shown, x, 79), expected->getPixelAt(x, 0))) << x;
        EXPECT_EQ(pixelOf(shown, x, 0).a, 255);
    }
}

TEST_F(SavedWorlds, ThumbnailsComeFromTheCacheOrAWholeCloudRead)
{
    enterScene(false);
    name("pic");
    ASSERT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Saved);

    int cloudCalls = 0;
    GameServices& s = gameServices();
    auto realExists = s.fileExists;
    auto realRead = s.fileRead;
    s.fileExists = [&](const std::string& n) {
        ++cloudCalls;
        return realExists(n);
    };
    CCSprite* cached = ScreenUtils::loadThumbnailSprite(CCString::create("user/pic.sav"));
    EXPECT_NE(cached, nullptr);
    EXPECT_EQ(cloudCalls, 0);

    // Not cached: fetched whole from the store; a short read gives nothing.
    std::remove((saveFolder + "/user/pic.png").c_str());
    s.fileRead = [&](const std::string& n, void* buffer, int32_t size) { return realRead(n, buffer, size) - 1; };
    EXPECT_EQ(ScreenUtils::loadThumbnailSprite(CCString::create("user/pic.sav")), nullptr);
    FILE* local = std::fopen((saveFolder + "/user/pic.png").c_str(), "r");
    EXPECT_EQ(local, nullptr);
    if (local)
        std::fclose(local);
    s.fileRead = realRead;
    EXPECT_NE(ScreenUtils::loadThumbnailSprite(CCString::create("user/pic.sav")), nullptr);
    EXPECT_GT(cloudCalls, 0);

    // A picture saved again under the same name shows the new one.
    CCSprite* before = ScreenUtils::loadThumbnailSprite(CCString::create("user/pic.sav"));
    ASSERT_NE(before, nullptr);
    CCTexture2D* oldTexture = before->getTexture();
    oldTexture->retain();
    paintBlock("Stone", 0, 0, 30);
    ASSERT_EQ(SaveLoadUtils::saveWorld(true), SaveLoadUtils::SaveResult::Saved);
    CCSprite* after = ScreenUtils::loadThumbnailSprite(CCString::create("user/pic.sav"));
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after->getTexture(), oldTexture);
    oldTexture->release();

    // Two-character names stay as they are; missing ones give null.
    EXPECT_EQ(ScreenUtils::loadThumbnailSprite(CCString::create("ab")), nullptr);
    EXPECT_EQ(ScreenUtils::loadThumbnailSprite(CCString::create("user/none.sav")), nullptr);
}

}  // namespace
}  // namespace gametest
