// The people of the Zombie levels: once loaded and joined to the registry,
// each world holds the zombies its player has to cure and the living its
// missions count, each wearing its job's skin, and nobody gets out or gets
// bitten while the player waits.
#include <ostream>
#include <string>

#include "campaigns/story/StoryPlayer.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/HumanRegistry.h"
#include "elements/creatures/MPObject.h"
#include "elements/creatures/SkinSchemes.h"

namespace storyplay {
namespace {

struct People {
    int level;
    int living;
    int zombies;
};

void PrintTo(const People& p, std::ostream* out)
{
    *out << dayWorld(p.level, 8);
}

class ZombieLevel : public StoryPlayer, public ::testing::WithParamInterface<People> { };

TEST_P(ZombieLevel, KeepsItsLivingAndItsZombiesWhileNobodyActs)
{
    const People p = GetParam();
    const std::string missing = missingDay(p.level, 8);
    ASSERT_TRUE(missing.empty()) << missing;
    startCampaignLevel(8, p.level);
    ASSERT_FALSE(HasFatalFailure());
    const HumanRegistry& registry = *HumanRegistry::getInstance();
    // Everyone has joined after a few steps; the cages and safe rooms still
    // hold ten seconds later.
    for (int steps : {5, 295}) {
        run(steps);
        EXPECT_EQ(registry.countLiving(), p.living);
        EXPECT_EQ(registry.count() - registry.countLiving(), p.zombies);
    }
    // A zombie that looked like anyone else could not be told apart.
    const SchemeStore& skins = *SchemeStore::getInstance();
    for (int x = 0; x < world->width; ++x)
        for (int y = 0; y < world->height; ++y) {
            auto* human = dynamic_cast<HumanLeader*>(world->grid[x][y]);
            if (!human || !human->group)
                continue;
            const uint32_t skin = hashString(human->skinName().c_str());
            ASSERT_TRUE(skins.hasKey(skin)) << human->skinName();
            for (unsigned i = 0; i < human->group->members->count(); ++i) {
                const Particle* cell = static_cast<MPObject::Box*>(human->group->members->objectAtIndex(i))->getValue();
                if (cell->y - y < 3)
                    continue;  // arms and legs swap as it walks
                const cocos2d::ccColor4B want = skins.colourAt(skin, cell->x - x, cell->y - y, human->getFacing() < 0);
                EXPECT_TRUE(cell->color.r == want.r && cell->color.g == want.g && cell->color.b == want.b)
                    << human->job << " at (" << x << ", " << y << "): its cell (" << cell->x << ", " << cell->y
                    << ") is not in its skin";
            }
        }
}

// Levels 7, 8 and 19 hold nobody.
INSTANTIATE_TEST_SUITE_P(Zombie, ZombieLevel,
                         ::testing::Values(People{1, 0, 1}, People{2, 2, 2}, People{3, 1, 1}, People{4, 3, 2},
                                           People{5, 2, 0}, People{6, 1, 0}, People{9, 2, 3}, People{10, 1, 0},
                                           People{11, 1, 0}, People{12, 4, 2}, People{13, 0, 1}, People{14, 3, 2},
                                           People{15, 2, 1}, People{16, 2, 1}, People{17, 2, 3}, People{18, 1, 1},
                                           People{20, 0, 3}),
                         [](const ::testing::TestParamInfo<People>& info) { return dayWorld(info.param.level, 8); });

}  // namespace
}  // namespace storyplay
