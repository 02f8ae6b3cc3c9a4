// The vehicles of the Invasion levels: once loaded, each world holds the car
// or the lander its player has to move, with a whole body, and it keeps
// that body while nobody acts.
#include <ostream>
#include <string>

#include "campaigns/story/StoryPlayer.h"
#include "elements/creatures/Lander.h"
#include "elements/creatures/Vehicles.h"

namespace storyplay {
namespace {

struct Vehicles {
    int level;
    int cars;
    int landers;
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
                if (Particle* p = world->grid[x][y]; p && p->getType() == kind)
                    n += static_cast<VehicleLeader*>(p)->hasBody() ? 1 : 0;
        return n;
    }
};

TEST_P(InvasionLevel, KeepsItsVehiclesWholeWhileNobodyActs)
{
    const Vehicles v = GetParam();
    if (!dayExists(v.level, 10))
        GTEST_SKIP() << dayWorld(v.level, 10) << " has no level or world yet";
    startCampaignLevel(10, v.level);
    ASSERT_FALSE(HasFatalFailure());
    for (int steps : {5, 295}) {
        run(steps);
        EXPECT_EQ(whole(MPLeaderCar::kTypeId), v.cars);
        EXPECT_EQ(whole(MPLander::kTypeId), v.landers);
    }
}

// The car of level 5, the lander of level 7, and a level without either.
INSTANTIATE_TEST_SUITE_P(Invasion, InvasionLevel,
                         ::testing::Values(Vehicles{5, 1, 0}, Vehicles{7, 0, 1}, Vehicles{1, 0, 0}),
                         [](const ::testing::TestParamInfo<Vehicles>& info) { return dayWorld(info.param.level, 10); });

}  // namespace
}  // namespace storyplay
