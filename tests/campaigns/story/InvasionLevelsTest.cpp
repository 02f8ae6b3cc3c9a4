// The machines of the Invasion levels: once loaded, each world holds the car
// or the lander its player has to move and the saucer overhead, each with a
// whole body, and keeps them while nobody acts.
#include <ostream>
#include <string>

#include "campaigns/story/StoryPlayer.h"
#include "elements/creatures/Lander.h"
#include "elements/creatures/MPObject.h"
#include "elements/creatures/SmallCreatures.h"
#include "elements/creatures/Vehicles.h"

namespace storyplay {
namespace {

struct Vehicles {
    int level;
    int cars;
    int landers;
    int invaders;
};

void PrintTo(const Vehicles& v, std::ostream* out)
{
    *out << dayWorld(v.level, 10);
}

class InvasionLevel : public StoryPlayer, public ::testing::WithParamInterface<Vehicles> {
protected:
    // Leaders of the kind whose body stands whole.
    int whole(uint32_t kind) const
    {
        int n = 0;
        for (int x = 0; x < world->width; ++x)
            for (int y = 0; y < world->height; ++y)
                if (Particle* p = world->grid[x][y]; p && p->getType() == kind) {
                    const MPObject* body = static_cast<MPLeaderBase*>(p)->group;
                    n += body && !body->broken ? 1 : 0;
                }
        return n;
    }
};

TEST_P(InvasionLevel, KeepsItsMachinesWholeWhileNobodyActs)
{
    const Vehicles v = GetParam();
    const std::string missing = missingDay(v.level, 10);
    ASSERT_TRUE(missing.empty()) << missing;
    startCampaignLevel(10, v.level);
    ASSERT_FALSE(HasFatalFailure());
    for (int steps : {5, 295}) {
        run(steps);
        EXPECT_EQ(whole(MPLeaderCar::kTypeId), v.cars);
        EXPECT_EQ(whole(MPLander::kTypeId), v.landers);
        EXPECT_EQ(whole(MPInvader::kTypeId), v.invaders);
    }
}

// The saucer of level 1, the car of level 5, the lander of level 7, and a
// level with none.
INSTANTIATE_TEST_SUITE_P(Invasion, InvasionLevel,
                         ::testing::Values(Vehicles{1, 0, 0, 1}, Vehicles{5, 1, 0, 0}, Vehicles{7, 0, 1, 0},
                                           Vehicles{2, 0, 0, 0}),
                         [](const ::testing::TestParamInfo<Vehicles>& info) { return dayWorld(info.param.level, 10); });

}  // namespace
}  // namespace storyplay
