// Blueprints build their pictures one particle per step, in the order each
// stage names, mirrored when flipped; space-checked ones test for ground and
// room first and stop at what they may not overwrite. Broken folders load as
// empty or partial blueprints, never a crash.
#include <fstream>
#include <set>

#include "MaterialWorld.h"
#include "SimpleAudioEngine.h"
#include "profile/Profile.h"
#include "elements/living/Trees.h"
#include "elements/living/blueprint/Blueprint.h"
#include "elements/materials/Powders.h"
#include "support/BlueprintFixtures.h"
#include "tools/assetgen/Image.h"

namespace {

using testsupport::writeBlueprintText;

class Blueprints : public MaterialWorld {
protected:
    void SetUp() override
    {
        MaterialWorld::SetUp();
        Blueprint::variantCounter = 0;
        CocosDenshion::SimpleAudioEngine::sharedEngine()->resetForTests();
    }
    // Writes a folder from .bp text under the temporary folder; its path.
    std::string folder(const std::string& name, const std::string& text)
    {
        const std::string path = dir.file(name);
        std::string error;
        EXPECT_TRUE(writeBlueprintText(text, path, error)) << error;
        return path;
    }
    void writeFile(const std::string& path, const std::string& text)
    {
        assetgen::makeParentFolders(path);
        std::ofstream(path, std::ios::binary) << text;
    }
    // Steps until finished; the number of steps that reported not finished.
    int build(Blueprint& b, int limit = 100000)
    {
        int steps = 0;
        while (!b.step() && steps < limit)
            ++steps;
        return steps;
    }
    int effectsPlayed(const std::string& path) const
    {
        int n = 0;
        for (const auto& call : CocosDenshion::SimpleAudioEngine::sharedEngine()->recordedCalls())
            n += call.operation == "playEffect" && call.path == path;
        return n;
    }
    testsupport::TempDir dir;
};

const char* const kLShape = R"(size 3 2
stage Wall BottomToTop
flipping
color w 0 10 20 30
variant
w..
www
)";

}  // namespace

TEST(BuilderOrders, EveryOrderVisitsEveryPixelOnce)
{
    for (const char* order : {"BottomToTop", "TopToBottom", "CenterToSides"})
        for (auto [w, h] : {std::pair{1, 4}, std::pair{5, 3}, std::pair{4, 3}, std::pair{6, 1}, std::pair{7, 2}}) {
            SCOPED_TRACE(std::string(order) + " " + std::to_string(w) + "x" + std::to_string(h));
            std::unique_ptr<BuilderBehaviour> b(BuilderBehaviour::create(order, w, h));
            std::set<std::pair<int, int>> seen;
            int visits = 0;
            do {
                ASSERT_GE(b->cursorX, 0);
                ASSERT_LT(b->cursorX, w);
                ASSERT_GE(b->cursorY, 0);
                ASSERT_LT(b->cursorY, h);
                seen.insert({b->cursorX, b->cursorY});
                ASSERT_LT(++visits, 1000);
            } while (!b->advance());
            EXPECT_EQ(visits, w * h);
            EXPECT_EQ(static_cast<int>(seen.size()), w * h);
        }
}

TEST(BuilderOrders, CenterToSidesZigzagsUpEachPairFromTheMiddle)
{
    std::unique_ptr<BuilderBehaviour> b(BuilderBehaviour::create("CenterToSides", 4, 2));
    std::vector<std::pair<int, int>> path;
    do
        path.push_back({b->cursorX, b->cursorY});
    while (!b->advance());
    const std::vector<std::pair<int, int>> expected = {{2, 0}, {1, 0}, {1, 1}, {2, 1}, {3, 0}, {0, 0}, {0, 1}, {3, 1}};
    EXPECT_EQ(path, expected);
}

TEST(BuilderOrders, AnUnknownNameSaysSoAndBuildsBottomToTop)
{
    testing::internal::CaptureStdout();
    std::unique_ptr<BuilderBehaviour> b(BuilderBehaviour::create("Sideways", 2, 2));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Tried to load an unexisting type of builder behaviour \xc3\xb6\n");
    EXPECT_EQ(b->cursorX, 0);
    EXPECT_EQ(b->cursorY, 0);
    b->advance();
    EXPECT_EQ(b->cursorX, 1);
}

TEST_F(Blueprints, AFlippedBuildMirrorsAboutTheSameMiddle)
{
    const std::string path = folder("l", kLShape);
    for (bool flip : {false, true}) {
        SCOPED_TRACE(flip);
        world->reset();
        world->placeBorderWalls();
        // The flip draw is "rand() % 2 == 0".
        platform::scriptGameRand({flip ? 0 : 1});
        Blueprint b(nullptr, nullptr, path.c_str(), 50, 10, false);
        platform::clearGameRandScript();
        EXPECT_EQ(b.isFlipped(), flip);
        build(b);
        // x = 50 + trunc(cx - 1.5): columns 48, 49, 50.
        EXPECT_EQ(typeAt(48, 10), Wall::kTypeId);
        EXPECT_EQ(typeAt(49, 10), Wall::kTypeId);
        EXPECT_EQ(typeAt(50, 10), Wall::kTypeId);
        EXPECT_EQ(typeAt(flip ? 50 : 48, 11), Wall::kTypeId);
        EXPECT_EQ(typeAt(flip ? 48 : 50, 11), 0u);
        EXPECT_EQ(count(Wall::kTypeId), 4);
        const cocos2d::ccColor4B c = world->at(48, 10)->color;
        EXPECT_EQ(c.r, 10);
        EXPECT_EQ(c.g, 20);
        EXPECT_EQ(c.b, 30);
    }
    // The box of the picture holds a kind it may not build over (Glass; the
    // Wall it builds with it may): blocked, flipped or not.
    for (bool flip : {false, true}) {
        world->reset();
        world->placeBorderWalls();
        fill(40, 9, 60, 9, Stone::kTypeId);
        put(48, 11, Glass::kTypeId);
        put(50, 11, Wall::kTypeId);
        platform::scriptGameRand({flip ? 0 : 1});
        Blueprint b(nullptr, nullptr, path.c_str(), 50, 10, true);
        platform::clearGameRandScript();
        EXPECT_TRUE(b.isBlocked()) << flip;
    }
    for (bool flip : {false, true}) {
        world->reset();
        world->placeBorderWalls();
        // Ground under the bottom row only on the columns 48..50.
        fill(48, 9, 50, 9, Stone::kTypeId);
        platform::scriptGameRand({flip ? 0 : 1});
        Blueprint b(nullptr, nullptr, path.c_str(), 50, 10, true);
        platform::clearGameRandScript();
        EXPECT_FALSE(b.isBlocked()) << flip;
        world->removeParticle(flip ? 50 : 48, 9);
        platform::scriptGameRand({flip ? 0 : 1});
        Blueprint gap(nullptr, nullptr, path.c_str(), 50, 10, true);
        platform::clearGameRandScript();
        EXPECT_TRUE(gap.isBlocked()) << flip;
    }
}

TEST_F(Blueprints, ATransparentStagePassesWithinOneStepAndClearTakesOneStepPerPixel)
{
    const std::string path = folder("stages", R"(size 3 1
stage Wall BottomToTop
stage Clear BottomToTop
stage Wood BottomToTop
color c 1 0 0 0
color w 2 1 1 1
variant
cww
)");
    Blueprint b(nullptr, nullptr, path.c_str(), 100, 20, false);
    // Stage 0 has no pixel; the Clear pixel lies over an empty cell and
    // still takes its step.
    EXPECT_FALSE(b.step());
    EXPECT_EQ(count(Wood::kTypeId), 0);
    EXPECT_FALSE(b.step());
    EXPECT_EQ(typeAt(99, 20), Wood::kTypeId);
    EXPECT_TRUE(b.step());
    EXPECT_EQ(typeAt(100, 20), Wood::kTypeId);
    EXPECT_TRUE(b.step()) << "finished stays finished";
}

TEST_F(Blueprints, AnOriginOnRowZeroPassesTheGroundTest)
{
    const std::string path = folder("dot", "size 1 1\nstage Wood BottomToTop\ncolor w 0 1 1 1\nvariant\nw\n");
    // Open the border where the dot lands, so only the ground test counts.
    Particle* border = world->grid[30][0];
    world->setCell(30, 0, nullptr);
    Blueprint b(nullptr, nullptr, path.c_str(), 31, 0, true);
    EXPECT_FALSE(b.isBlocked());
    world->setCell(30, 0, border);
    Blueprint air(nullptr, nullptr, path.c_str(), 31, 50, true);
    EXPECT_TRUE(air.isBlocked()) << "no ground under row 50";
}

TEST_F(Blueprints, WallsBlockOnlySpaceCheckedBuildsAndTheBorderIsNeverBuiltOver)
{
    const std::string path = folder("row", "size 6 1\nstage Wood BottomToTop\ncolor w 0 1 1 1\nvariant\nwwwwww\n");
    // checkSpace on: the fit test passes (the wall comes after); meeting the
    // wall ends the build at the next step, with what it built left standing.
    // Columns 12 to 17.
    fill(10, 9, 20, 9, Stone::kTypeId);
    Blueprint on(nullptr, nullptr, path.c_str(), 15, 10, true);
    ASSERT_FALSE(on.isBlocked());
    put(15, 10, Wall::kTypeId);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(on.step());
    EXPECT_FALSE(on.isBlocked());
    // The fourth step meets the wall and still places the pixel after it.
    EXPECT_FALSE(on.step());
    EXPECT_TRUE(on.isBlocked());
    EXPECT_TRUE(on.step());
    EXPECT_EQ(typeAt(15, 10), Wall::kTypeId);
    for (int x : {12, 13, 14, 16})
        EXPECT_EQ(typeAt(x, 10), Wood::kTypeId) << x;
    EXPECT_EQ(typeAt(17, 10), 0u);
    // checkSpace off: the wall is built over; the border never is.
    put(45, 30, Wall::kTypeId);
    Blueprint off(nullptr, nullptr, path.c_str(), 45, 30, false);
    build(off);
    EXPECT_EQ(typeAt(45, 30), Wood::kTypeId);
    EXPECT_EQ(typeAt(42, 30), Wood::kTypeId);
    EXPECT_EQ(count(Wall::kTypeId), 1);
    Blueprint edge(nullptr, nullptr, path.c_str(), 2, 60, false);
    build(edge);
    EXPECT_EQ(world->at(0, 60), world->outsideWall);
    EXPECT_EQ(typeAt(1, 60), Wood::kTypeId);
}

TEST_F(Blueprints, APlacementNeverRemovesItsOwnSeed)
{
    const std::string path = folder("row", "size 3 1\nstage Wood BottomToTop\ncolor w 0 1 1 1\nvariant\nwww\n");
    Particle* seed = put(70, 40, Seed::kTypeId);
    for (bool checkSpace : {false, true}) {
        Blueprint b(nullptr, nullptr, path.c_str(), 71, 40, checkSpace, seed);
        build(b);
        EXPECT_EQ(world->at(70, 40), seed);
        EXPECT_EQ(typeAt(69, 40), Wood::kTypeId);
        EXPECT_EQ(typeAt(71, 40), Wood::kTypeId);
    }
}

TEST_F(Blueprints, TheVariantCounterIsSharedAcrossFolders)
{
    auto variants = [&](const std::string& name, int n) {
        std::string text = "size 1 1\nstage Wood BottomToTop\ncolor w 0 1 1 1\n";
        for (int i = 0; i < n; ++i)
            text += "variant\nw\n";
        return folder(name, text);
    };
    const std::string three = variants("three", 3);
    const std::string two = variants("two", 2);
    // Each draw below is the one-in-eight test (non-zero: no jump).
    platform::scriptGameRand({5});
    {
        Blueprint a(nullptr, nullptr, three.c_str(), 10, 10, false);
    }
    EXPECT_EQ(Blueprint::variantCounter, 1);
    {
        Blueprint b(nullptr, nullptr, three.c_str(), 10, 10, false);
    }
    EXPECT_EQ(Blueprint::variantCounter, 2);
    // Two variants only: the counter starts over at 0.
    {
        Blueprint c(nullptr, nullptr, two.c_str(), 10, 10, false);
    }
    EXPECT_EQ(Blueprint::variantCounter, 1);
    // The jump: 0 fires it, then rand() % 3 = 2 picks the variant.
    platform::scriptGameRand({0, 5});
    {
        Blueprint d(nullptr, nullptr, three.c_str(), 10, 10, false);
    }
    EXPECT_EQ(Blueprint::variantCounter, 3);
    platform::clearGameRandScript();
}

TEST_F(Blueprints, TheCampaignFlagAndTheEndSoundComeOnceAtTheEnd)
{
    const std::string path = folder("pair", "size 2 1\nstage Wood BottomToTop\ncolor w 0 1 1 1\nvariant\nww\n");
    struct Case {
        int mode;
        int day;
        bool flag;
    };
    for (const Case& c : {Case{5, 4, true}, Case{5, 3, false}, Case{4, 4, false}}) {
        world->reset();
        world->placeBorderWalls();
        Profile::resetInstanceForTests();
        CocosDenshion::SimpleAudioEngine::sharedEngine()->clearRecordedCalls();
        Profile& profile = *Profile::getInstance();
        profile.setGameMode(c.mode);
        profile.setDay(c.day);
        Blueprint b("sfx_construction", "sfx_element_dino_1", path.c_str(), 20, 20, false);
        EXPECT_EQ(effectsPlayed("sounds/sfx_construction.mp3"), 1);
        EXPECT_FALSE(b.step());
        EXPECT_FALSE(profile.isStructureBuilt());
        EXPECT_EQ(effectsPlayed("sounds/sfx_element_dino_1.mp3"), 0);
        EXPECT_TRUE(b.step());
        EXPECT_TRUE(b.step());
        EXPECT_EQ(profile.isStructureBuilt(), c.flag);
        EXPECT_EQ(effectsPlayed("sounds/sfx_element_dino_1.mp3"), 1);
    }
}

TEST_F(Blueprints, BrokenFoldersLoadWithoutACrash)
{
    const std::string good =
        "size 2 1\nstage Wood BottomToTop\nstage Wood BottomToTop\ncolor w 0 1 1 1\ncolor v 1 2 2 2\nvariant\nwv\n";
    const std::string header = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n";
    auto plist = [&](const std::string& body) { return header + body + "</plist>\n"; };
    struct Case {
        const char* name;
        std::string randomVars;  // empty: none
        std::string specs;       // empty: keep what the good source wrote
        bool removePicture;
        bool garblePicture;
        int stages;  // -1: empty blueprint
    };
    const std::string woodStage = "<dict><key>element</key><string>Wood</string>"
                                  "<key>behaviour</key><string>BottomToTop</string></dict>";
    const Case cases[] = {
        {"variants-missing", plist("<dict><key>other</key><integer>2</integer></dict>"), "", false, false, -1},
        {"variants-zero", plist("<dict><key>variants</key><integer>0</integer></dict>"), "", false, false, -1},
        {"variants-negative", plist("<dict><key>variants</key><integer>-3</integer></dict>"), "", false, false, -1},
        {"variants-text", plist("<dict><key>variants</key><string>many</string></dict>"), "", false, false, -1},
        {"variants-no-folder", plist("<dict><key>variants</key><integer>4</integer></dict>"), "", false, false, -1},
        {"specs-dictionary", "", plist("<dict><key>element</key><string>Wood</string></dict>"), false, false, -1},
        {"specs-strings", "", plist("<array><string>Wood</string></array>"), false, false, -1},
        {"specs-garbage", "", "not a plist at all", false, false, -1},
        {"no-element", "",
         plist("<array><dict><key>behaviour</key><string>BottomToTop</string></dict>" + woodStage + "</array>"), false,
         false, 1},
        {"no-behaviour", "",
         plist("<array>" + woodStage +
               "<dict><key>element</key><string>Wood</string></dict>"
               "</array>"),
         false, false, 1},
        {"picture-missing", "", "", true, false, 1},
        {"picture-garbled", "", "", false, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(c.name);
        if (!c.randomVars.empty()) {
            writeFile(path + "/randomVars.plist", c.randomVars);
        } else {
            folder(c.name, good);
            if (!c.specs.empty())
                writeFile(path + "/specs.plist", c.specs);
            if (c.removePicture)
                std::remove((path + "/0.png").c_str());
            if (c.garblePicture)
                writeFile(path + "/0.png", "\x89PNG broken");
        }
        Blueprint b(nullptr, nullptr, path.c_str(), 30, 30, true);
        EXPECT_EQ(b.isEmpty(), c.stages < 0);
        if (c.stages >= 0) {
            EXPECT_EQ(b.stageCount(), c.stages);
        }
        build(b, 100);
        EXPECT_TRUE(b.step());
    }
    // No folder at all.
    Blueprint none(nullptr, nullptr, dir.file("nowhere").c_str(), 30, 30, false);
    EXPECT_TRUE(none.isEmpty());
    EXPECT_TRUE(none.step());
}
