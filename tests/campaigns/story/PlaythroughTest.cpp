// The story played as a player plays it, on the headless game: a new
// profile starts it from the menu and every day's level script wins its day
// by the world's own rules, then each day alone (started through the replay)
// and left alone. TESMORA_PLAY_SEED picks the seed; TESMORA_PLAY_DAY plays
// one day alone only.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "campaigns/story/StoryPlayer.h"
#include "goals/AchievementManager.h"
#include "profile/Profile.h"

USING_NS_CC;

namespace storyplay {
namespace {

using Playthrough = StoryPlayer;

TEST_F(Playthrough, ANewProfilePlaysTheStoryFromTheMenuToItsEnd)
{
    for (int day = 1; day <= kLastPlayableDay; ++day) {
        const std::string missing = missingDay(day);
        ASSERT_TRUE(missing.empty()) << missing;
    }
    std::printf("playthrough seed %u: days 1..%d\n", playSeed(), kLastPlayableDay);
    startStoryFromMenu();
    ASSERT_FALSE(HasFatalFailure());
    int total = 0;
    for (int day = 1; day <= kLastPlayableDay; ++day) {
        int steps = 0;
        playDay(day, steps);
        total += steps;
        std::printf("playthrough seed %u: Day%d %s in %d steps\n", playSeed(), day, HasFailure() ? "FAILED" : "won",
                    steps);
        ASSERT_FALSE(HasFailure()) << "Day" << day;
        finishDay(day);
        ASSERT_FALSE(HasFailure()) << "after Day" << day;
    }
    std::printf("playthrough seed %u: days 1..%d won in %d steps\n", playSeed(), kLastPlayableDay, total);
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
        const std::string missing = missingDay(GetParam());
        ASSERT_TRUE(missing.empty()) << missing;
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

// The day's world left alone wins nothing in three minutes, lights none of
// its missions' lights, and its ground and structures stand still as it
// starts.
class Level : public StoryDay { };

TEST_P(Level, ItsUntouchedWorldWinsNothing)
{
    startStoryFromMenu();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(loadedWorld(), "Day" + std::to_string(GetParam()));
    leaveUntouched(kUntouchedSteps);
}

std::string dayName(const ::testing::TestParamInfo<int>& info)
{
    return "Day" + std::to_string(info.param);
}
INSTANTIATE_TEST_SUITE_P(Story, StoryDay, ::testing::Range(1, kLastPlayableDay + 1), dayName);
// The last day too: it never ends by its mission.
INSTANTIATE_TEST_SUITE_P(Story, Level, ::testing::Range(1, kLastPlayableDay + 2), dayName);

}  // namespace
}  // namespace storyplay
