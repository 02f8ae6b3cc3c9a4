// The creatures of the Robot levels: each world holds the robots and the
// humans its player works with, and while nobody acts no guardian shoots
// the human it keeps from its target and no hunter gets out of its hall.
#include <ostream>

#include "campaigns/story/StoryPlayer.h"
#include "elements/creatures/Robots.h"

namespace storyplay {
namespace {

struct Creatures {
    int level;
    int robots;
    int humans;
};

void PrintTo(const Creatures& c, std::ostream* out)
{
    *out << dayWorld(c.level, 9);
}

class RobotLevel : public StoryPlayer, public ::testing::WithParamInterface<Creatures> {
protected:
    int whole(uint32_t kind) const
    {
        int n = 0;
        for (int x = 0; x < world->width; ++x)
            for (int y = 0; y < world->height; ++y)
                if (auto* p = dynamic_cast<HumanLeader*>(world->grid[x][y]); p && p->getType() == kind)
                    n += p->hasWholeBody();
        return n;
    }
};

TEST_P(RobotLevel, KeepsItsRobotsAndHumansWhileNobodyActs)
{
    const Creatures c = GetParam();
    const std::string missing = missingDay(c.level, 9);
    ASSERT_TRUE(missing.empty()) << missing;
    startCampaignLevel(9, c.level);
    ASSERT_FALSE(HasFatalFailure());
    // Whole after a load, and still whole half a minute later.
    for (int steps : {5, 895}) {
        run(steps);
        EXPECT_EQ(whole(RobotLeader::kTypeId), c.robots) << "after " << steps << " more steps";
        EXPECT_EQ(whole(HumanLeader::kTypeId), c.humans) << "after " << steps << " more steps";
    }
}

// The other levels start with no creature: the player places them.
INSTANTIATE_TEST_SUITE_P(Robot, RobotLevel,
                         ::testing::Values(Creatures{2, 1, 0}, Creatures{6, 1, 1}, Creatures{7, 1, 1},
                                           Creatures{8, 1, 1}, Creatures{9, 0, 1}, Creatures{10, 2, 0},
                                           Creatures{13, 0, 1}, Creatures{14, 1, 0}, Creatures{15, 2, 0}),
                         [](const ::testing::TestParamInfo<Creatures>& info) { return dayWorld(info.param.level, 9); });

}  // namespace
}  // namespace storyplay
