// The story played as a player plays it, on the headless game: a new
// profile starts it from the menu and every day's level script wins its day
// by the world's own rules, then each day alone (started through the replay)
// and its solved world. TESMORA_PLAY_SEED picks the seed; TESMORA_PLAY_DAY
// plays one day alone only.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/NSData.h"
#include "campaigns/story/StoryPlayer.h"
#include "goals/AchievementManager.h"
#include "goals/GoalsUi.h"
#include "profile/Profile.h"
#include "support/TempFolders.h"

USING_NS_CC;

namespace storyplay {
namespace {

std::string solvedWorld(int day)
{
    return std::string(TESMORA_TEST_DATA) + "/solved/Day" + std::to_string(day);
}

using Playthrough = StoryPlayer;

TEST_F(Playthrough, ANewProfilePlaysTheStoryFromTheMenuToItsEnd)
{
    const int last = lastConsecutiveDay();
    std::printf("playthrough seed %u: covers days 1..%d\n", playSeed(), last);
    if (last == 0)
        GTEST_SKIP() << "no story day has its level and world yet";
    startStoryFromMenu();
    ASSERT_FALSE(HasFatalFailure());
    int total = 0;
    for (int day = 1; day <= last; ++day) {
        int steps = 0;
        playDay(day, steps);
        total += steps;
        std::printf("playthrough seed %u: Day%d %s in %d steps\n", playSeed(), day, HasFailure() ? "FAILED" : "won",
                    steps);
        ASSERT_FALSE(HasFailure()) << "Day" << day;
        finishDay(day);
        ASSERT_FALSE(HasFailure()) << "after Day" << day;
    }
    std::printf("playthrough seed %u: days 1..%d won in %d steps\n", playSeed(), last, total);
    if (last < kLastPlayableDay)
        std::printf("playthrough: days %d..%d have no level or world yet\n", last + 1, kLastPlayableDay);
}

// One day alone: the story started at that day (the earlier ones replayed)
// and its script played from the prepared world, then the board and what
// the next day brings.
class StoryDay : public StoryPlayer, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        StoryPlayer::SetUp();
        const char* only = std::getenv("TESMORA_PLAY_DAY");
        if (only && *only && std::atoi(only) != GetParam())
            GTEST_SKIP() << "TESMORA_PLAY_DAY picks another day";
        if (!dayExists(GetParam()))
            GTEST_SKIP() << "Day" << GetParam() << " has no level or world yet";
        Profile::getInstance()->setBestDay(0, GetParam());
    }
};

TEST_P(StoryDay, IsReachedByTheReplayAndWon)
{
    const int day = GetParam();
    startStoryFromMenu();
    ASSERT_FALSE(HasFatalFailure());
    int used = 0;
    playDay(day, used);
    std::printf("Day%d: %d steps\n", day, used);
    ASSERT_FALSE(HasFailure());
    finishDay(day);
}

// The level tests: the prepared world passes no mission of its day at load,
// and the solved world with the day's script passes all within the bound.
class Level : public StoryDay { };

TEST_P(Level, ItsPreparedWorldPassesNoMissionAtLoad)
{
    const int day = GetParam();
    startStoryFromMenu();
    ASSERT_FALSE(HasFatalFailure());
    takeDayMissions(day);
    ASSERT_EQ(loadedWorld(), "Day" + std::to_string(day));
    for (AchievementBase* m = AchievementManager::getInstance()->firstActive(); m; m = m->next)
        EXPECT_FALSE(m->isAccomplished()) << m->getName()->getString() << " passes at load";
}

TEST_P(Level, ItsSolvedWorldIsWonByItsScript)
{
    const int day = GetParam();
    const std::string file = solvedWorld(day);
    if (testsupport::readFile(file).empty())
        GTEST_SKIP() << "no solved world " << file;
    startStoryFromMenu();
    ASSERT_FALSE(HasFatalFailure());
    takeDayMissions(day);
    // Read now: the data is autoreleased at the next frame.
    ASSERT_TRUE(goalsUi().loadWorld(NSData::dataWithContentsOfFile(file))) << file;
    // Under the day's name, as the day's own world is loaded.
    goalsUi().setLoadedWorldName("Day" + std::to_string(day));
    int steps = 0;
    playDay(day, steps, /*solvedLoaded=*/true);
    std::printf("Day%d solved: %d steps\n", day, steps);
}

std::string dayName(const ::testing::TestParamInfo<int>& info)
{
    return "Day" + std::to_string(info.param);
}
INSTANTIATE_TEST_SUITE_P(Story, StoryDay, ::testing::Range(1, kLastPlayableDay + 1), dayName);
INSTANTIATE_TEST_SUITE_P(Story, Level, ::testing::Range(1, kLastPlayableDay + 1), dayName);

}  // namespace
}  // namespace storyplay
