// TESMORA_SAVE_WORLD_AT_EXIT: a clean exit leaves the world where an
// unattended run can check it; anything else says so through the exit code.
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>

#include "app/GameMain.h"
#include "base/NSData.h"
#include "base/ScreenMetrics.h"
#include "scene/GameLayer.h"
#include "world/Particle.h"
#include "world/World.h"
#include "support/HeadlessGame.h"
#include "support/TempFolders.h"

USING_NS_CC;

namespace {

constexpr uint32_t kSand = hashString("Sand");

enum class Path { Absolute, Relative, Unwritable };

struct Case {
    const char* name;
    Path path;
    int loopResult;
    bool dropTheGameLayer;
    int expectedResult;
    bool expectWorld;
};

const Case kCases[] = {
    {"CleanExitWritesTheWorld", Path::Absolute, 0, false, 0, true},
    {"RelativePathIsFromTheStartingFolder", Path::Relative, 0, false, 0, true},
    {"FailedRunWritesNothingAndKeepsItsCode", Path::Absolute, 3, false, 3, false},
    {"UnwritablePathFailsTheExit", Path::Unwritable, 0, false, 1, false},
    {"NoWorldFailsAndLeavesNoStaleFile", Path::Absolute, 0, true, 1, false},
};

class WorldAtExit : public testsupport::HeadlessGame, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override
    {
        HeadlessGame::SetUp();
        resetScreenMetricsForTests();
        GameLayer::resetInstanceForTests();
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        m_cwd = cwd;
    }
    void TearDown() override
    {
        ASSERT_EQ(chdir(m_cwd.c_str()), 0);
        HeadlessGame::TearDown();
    }

    std::string m_cwd;
};

TEST_P(WorldAtExit, WritesTheWorldOnlyAfterACleanExit)
{
    const Case& c = GetParam();
    testsupport::TempDir folder;
    ASSERT_EQ(chdir(folder.path().c_str()), 0);
    const std::string written = folder.file("exit.sav");
    // A file from an earlier run must never pass for this run's world.
    ASSERT_TRUE(NSData::writeToFile(NSData::dataWithBytes("stale", 5), written));
    std::string setting = c.path == Path::Absolute ? written
        : c.path == Path::Relative                 ? std::string("exit.sav")
                                                   : folder.file("missing/exit.sav");
    testsupport::ScopedEnv env;
    env.set("TESMORA_SAVE_WORLD_AT_EXIT", setting.c_str());

    int result = runGame([&] {
        if (!CCApplication::sharedApplication()->launchForTests())
            return 1;
        stepFrames(2);
        World& world = GameLayer::getInstance()->getWorld();
        world.setBigWorld(true);
        world.reset();
        world.addParticle(60, 100, kSand, true);
        // The engine works from the resource folder once it has started.
        EXPECT_EQ(chdir("/"), 0);
        if (c.dropTheGameLayer)
            GameLayer::resetInstanceForTests();
        return c.loopResult;
    });

    EXPECT_EQ(result, c.expectedResult);
    NSData* data = NSData::dataWithContentsOfFile(c.path == Path::Unwritable ? setting : written);
    if (!c.expectWorld) {
        if (c.loopResult == 0) {
            EXPECT_EQ(data, nullptr) << "the stale file is gone";
        }
        return;
    }
    ASSERT_NE(data, nullptr);
    World& world = GameLayer::getInstance()->getWorld();
    world.reset();
    ASSERT_EQ(world.at(60, 100), nullptr);
    ASSERT_TRUE(world.load(data)) << "the game's loader reads what was written";
    ASSERT_NE(world.at(60, 100), nullptr);
    EXPECT_EQ(world.at(60, 100)->getType(), kSand);
}

INSTANTIATE_TEST_SUITE_P(GameMain, WorldAtExit, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
