// The playthrough's own runner: each script action reaches the world through
// the HUD as a player's would, the clock follows the steps, and a day that
// is not won says where and what is still open.
#include <gtest/gtest-spi.h>

#include <functional>
#include <string>

#include "campaigns/story/StoryPlayer.h"
#include "elements/creatures/Robots.h"
#include "goals/AchievementManager.h"
#include "hud/GUITopBar.h"
#include "platform/GameClock.h"
#include "profile/Profile.h"
#include "world/ParticleCreator.h"

USING_NS_CC;

namespace storyplay {
namespace {

class StoryRunner : public StoryPlayer {
protected:
    void SetUp() override
    {
        StoryPlayer::SetUp();
        startStoryFromMenu();
        // Day 1's settings would deny most of what the actions use.
        layer->getGUI()->setEverythingAvailable(true);
    }

    levelscript::Action action(levelscript::ActionKind kind, std::vector<int32_t> at, std::string element = "",
                               int radius = 0)
    {
        levelscript::Action a;
        a.kind = kind;
        a.line = 7;
        a.at = std::move(at);
        a.element = std::move(element);
        a.radius = radius;
        return a;
    }
    levelscript::Action creature(levelscript::ActionKind kind, std::vector<int32_t> at, std::string job)
    {
        levelscript::Action a = action(kind, std::move(at));
        a.name = std::move(job);
        return a;
    }
    // Some human's job or robot's role is this.
    bool jobOfLeader(const std::string& job)
    {
        for (int x = 0; x < world->width; ++x)
            for (int y = 0; y < world->height; ++y)
                if (auto* robot = dynamic_cast<RobotLeader*>(world->at(x, y)); robot && robot->role == job)
                    return true;
                else if (auto* human = dynamic_cast<HumanLeader*>(world->at(x, y));
                         human && !robot && human->job == job)
                    return true;
        return false;
    }
    levelscript::Action named(levelscript::ActionKind kind, std::string name, bool on = false)
    {
        levelscript::Action a;
        a.kind = kind;
        a.line = 7;
        a.name = std::move(name);
        a.on = on;
        return a;
    }
};

TEST_F(StoryRunner, TheStoryStartsAtDayOneWithItsMissionsAndTheClockFollowsTheSteps)
{
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(Profile::getInstance()->getDay(), 1);
    EXPECT_EQ(AchievementManager::getInstance()->activeCount(), 2) << "day 1's two missions";
    const int64_t before = platform::gameTime();
    run(90);
    EXPECT_EQ(platform::gameTime() - before, 3) << "one second per 30 steps";
}

TEST_F(StoryRunner, EachActionReachesTheWorldThroughTheHud)
{
    ASSERT_FALSE(HasFatalFailure());
    using K = levelscript::ActionKind;
    world->reset();
    struct Case {
        const char* what;
        levelscript::Action action;
        std::function<bool()> done;
    };
    const uint32_t metal = hashString("Metal"), wall = hashString("Wall"), glass = hashString("Glass");
    const std::vector<Case> cases = {
        {"paint", action(K::Paint, {30, 40}, "Metal"), [&] { return typeAt(30, 40) == metal; }},
        {"paint with a brush", action(K::Paint, {60, 40}, "Wall", 2),
         [&] { return typeAt(60, 40) == wall && typeAt(61, 40) == wall; }},
        {"stroke", action(K::Stroke, {20, 50, 40, 50}, "Metal"),
         [&] { return typeAt(20, 50) == metal && typeAt(30, 50) == metal && typeAt(40, 50) == metal; }},
        {"erase", action(K::Erase, {30, 40}), [&] { return typeAt(30, 40) == 0; }},
        {"tap places nothing", action(K::Tap, {70, 60}), [&] { return typeAt(70, 60) == 0; }},
        {"miner", action(K::Miner, {25, 50}), [&] { return typeAt(25, 50) == 0; }},
        {"replace", action(K::Replace, {30, 50}, "Glass"), [&] { return typeAt(30, 50) == glass; }},
        {"sun off", named(K::Option, "Sun", false), [&] { return !world->lightMap.isSunOn(); }},
        {"sun on", named(K::Option, "Sun", true), [&] { return world->lightMap.isSunOn(); }},
        {"temperature", named(K::Temperature, "Hot"), [&] { return layer->getGUI()->getTemperatureLevel() == 4; }},
        {"a human given a job by its dust", creature(K::Human, {80, 20}, "miner"),
         [&] { return jobOfLeader("miner"); }},
        {"a robot given a role by its dust", creature(K::Robot, {100, 20}, "hunter"),
         [&] { return jobOfLeader("hunter"); }},
        {"reset", action(K::Reset, {}), [&] { return world->eventFlags[World::kEventWorldReset] == 1; }},
    };
    for (const Case& c : cases) {
        act(1, c.action);
        EXPECT_TRUE(c.done()) << c.what;
    }
}

TEST_F(StoryRunner, TheControlsOneByOneLinesRectanglesAndPictures)
{
    ASSERT_FALSE(HasFatalFailure());
    world->reset();
    world->addParticle(60, 49, hashString("Soil"), true);
    levelscript::Level level;
    std::string error;
    ASSERT_TRUE(levelscript::parseLevel(R"(world Day1
background peaceful
script
  tool Line
  element Metal
  brush 1
  drag 10 60 20 60
  line Wall 30 50 30 58
  rect Glass 40 40 44 42
  legend
    M Metal
    W Wall
    x empty
  end
  picture 60 50
MMW
x.W
  end
  tool Draw
  element Wall
  brush 2
  touch 80 40
  eraser
  brush 1
  touch 44 42
end
)",
                                        "Day1.level", nullptr, level, error))
        << error;
    for (const levelscript::Action& a : level.script)
        act(1, a);
    const uint32_t metal = hashString("Metal"), wall = hashString("Wall"), glass = hashString("Glass");
    const struct {
        int x, y;
        uint32_t type;
    } cells[] = {
        {10, 60, metal}, {20, 60, metal}, {21, 60, 0},     {10, 61, 0},     {30, 50, wall}, {30, 58, wall},
        {31, 54, 0},     {40, 40, glass}, {43, 42, glass}, {44, 41, glass}, {45, 41, 0},    {44, 42, 0},
        {60, 50, metal}, {61, 50, metal}, {62, 50, wall},  {62, 49, wall},  {60, 49, 0},    {61, 49, 0},
        {80, 40, wall},  {81, 41, wall},  {82, 40, 0},
    };
    for (const auto& c : cells)
        EXPECT_EQ(typeAt(c.x, c.y), c.type) << c.x << ", " << c.y;
    EXPECT_EQ(layer->getGUI()->getBrushSize(), 1);
}

// The controls a level does not give fail the script line: an element its
// palette locks, a tool it lacks, a price beyond the player's mana.
TEST_F(StoryRunner, WhatTheLevelDoesNotGiveFailsItsLine)
{
    ASSERT_FALSE(HasFatalFailure());
    world->reset();
    // Day 1's own settings again: soil, water and stone, drawn and erased.
    ASSERT_TRUE(layer->getGUI()->loadDaySettings("Day1"));
    Profile::getInstance()->setMana(0);
    const struct {
        levelscript::Action action;
        const char* failure;
    } cases[] = {
        {action(levelscript::ActionKind::Paint, {30, 40}, "Metal"), "Day1.level:7: the level does not offer Metal"},
        {action(levelscript::ActionKind::Miner, {30, 40}), "Day1.level:7: the level does not offer the tool Miner"},
    };
    for (const auto& c : cases) {
        ::testing::TestPartResultArray failures;
        {
            ::testing::ScopedFakeTestPartResultReporter reporter(
                ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
            act(1, c.action);
        }
        ASSERT_GE(failures.size(), 1) << c.failure;
        EXPECT_NE(std::string(failures.GetTestPartResult(0).message()).find(c.failure), std::string::npos)
            << failures.GetTestPartResult(0).message();
        layer->getGUI()->closeMenu();
        run(10);
    }
    // On sale and not owned: the purchase needs mana.
    layer->getGUI()->setEverythingAvailable(true);
    ::testing::TestPartResultArray failures;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        act(1, action(levelscript::ActionKind::Paint, {30, 40}, "Trumpet"));
    }
    ASSERT_GE(failures.size(), 1);
    EXPECT_NE(std::string(failures.GetTestPartResult(0).message()).find("Trumpet costs 150 mana, the player has 0"),
              std::string::npos)
        << failures.GetTestPartResult(0).message();
}

TEST_F(StoryRunner, ZoomingInAndOutMagnifiesTheViewAndBack)
{
    ASSERT_FALSE(HasFatalFailure());
    Profile::getInstance()->setDay(2);
    act(2, action(levelscript::ActionKind::ZoomIn, {}));
    EXPECT_TRUE(layer->getZoomedOut()) << "magnified";
    act(2, action(levelscript::ActionKind::ZoomOut, {}));
    EXPECT_FALSE(layer->getZoomedOut());
    EXPECT_TRUE(layer->getOverviewUsed()) << "day 2's zoom goal sees it";
}

TEST_F(StoryRunner, AnUnnamedWorldIsNamedThenSaved)
{
    ASSERT_FALSE(HasFatalFailure());
    act(1, action(levelscript::ActionKind::Reset, {}));
    act(1, action(levelscript::ActionKind::Save, {}));
    EXPECT_EQ(world->eventFlags[World::kEventWorldSaved], 1);
    EXPECT_STREQ(layer->getUniverseName()->getCString(), "Day1 saved");
}

TEST_F(StoryRunner, ASavedWorldComesBackThroughTheSavedWorldsScreen)
{
    ASSERT_FALSE(HasFatalFailure());
    using K = levelscript::ActionKind;
    world->reset();
    layer->setUniverseName(CCString::create("Day1"));
    world->addParticle(50, 30, hashString("Metal"), true);
    act(1, action(K::Save, {}));
    act(1, action(K::Reset, {}));
    EXPECT_EQ(typeAt(50, 30), 0u);
    act(1, action(K::Load, {}));
    EXPECT_EQ(typeAt(50, 30), hashString("Metal"));
    EXPECT_EQ(world->eventFlags[World::kEventWorldLoaded], 1);
}

TEST_F(StoryRunner, AnUntilThatRunsOutNamesTheDayTheLineAndTheOpenMissions)
{
    ASSERT_FALSE(HasFatalFailure());
    world->reset();
    levelscript::Action until;
    until.kind = levelscript::ActionKind::Until;
    until.line = 12;
    until.count = 30;
    const std::string open = AchievementManager::getInstance()->activeMissions().at(0).first;
    EXPECT_NONFATAL_FAILURE(act(1, until), "Day1.level:12: after 30 steps missions still open: " + open);
}

}  // namespace
}  // namespace storyplay
