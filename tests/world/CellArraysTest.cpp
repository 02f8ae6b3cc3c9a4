// The flat arrays beside the cells (occupied, kind, density) must say what
// the cell holds after every way a cell can change; the scans read only them.
#include "WorldFixture.h"

#include <functional>
#include <string>

#include "base/NSData.h"

using namespace worldtest;

namespace {

// Every cell of the storage, compared with its occupant; returns the first
// mismatch as text, or an empty string.
std::string firstMismatch(const World& w)
{
    for (int y = 0; y < World::kMaxHeight; ++y)
        for (int x = 0; x < World::kMaxWidth; ++x) {
            const Particle* p = w.grid[x][y];
            const bool occupied = p != nullptr;
            const uint32_t kind = p ? p->getType() : 0;
            const int32_t density = p ? p->getDensity() : 0;
            if (w.occupiedAt(x, y) != occupied || w.kindAt(x, y) != kind || w.densityAt(x, y) != density)
                return std::to_string(x) + "," + std::to_string(y);
        }
    return {};
}

class CellArraysTest : public WorldTest {
protected:
    void paint()
    {
        buildBorder();
        for (int x = 1; x < 60; ++x)
            for (int y = 1; y < 30; ++y)
                add(x, y, (x + y) % 3 == 0 ? kSand : ((x + y) % 3 == 1 ? kWater : kSteam));
    }
};

TEST_F(CellArraysTest, FollowEveryChangeOfACell)
{
    struct Case {
        const char* name;
        std::function<void(World&)> change;
    };
    const Case cases[] = {
        {"add and forced add",
         [](World& w) {
             w.addParticle(100, 100, kSand, false);
             w.addParticle(100, 100, kWall, true);
         }},
        {"remove", [](World& w) { w.removeParticle(10, 10); }},
        {"move into a free cell",
         [](World& w) {
             Particle* p = w.addParticle(100, 50, kMud, false);
             w.moveParticle(p, 101, 60);
         }},
        {"refused move onto a particle", [](World& w) { w.moveParticle(w.at(5, 5), 6, 5); }},
        {"swap", [](World& w) { w.swapParticles(w.at(3, 3), w.at(3, 4)); }},
        {"queued replacement and removal",
         [](World& w) {
             w.queueReplaceById(7, 7, kWall);
             w.queueRemove(8, 8);
             w.applyPendingChanges();
         }},
        {"settling by density",
         [](World& w) {
             for (int i = 0; i < 20; ++i)
                 w.settleByDensity();
         }},
        {"stepping",
         [](World& w) {
             for (int i = 0; i < 5; ++i)
                 w.step();
         }},
        {"staging a cell directly",
         [](World& w) {
             w.setCell(120, 120, w.outsideWall);
             w.setCell(121, 120, nullptr);
         }},
        {"load of a saved world",
         [](World& w) {
             NSData* blob = w.save();
             blob->retain();
             w.reset();
             EXPECT_TRUE(w.load(blob));
             blob->release();
         }},
        {"reset", [](World& w) { w.reset(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        paint();
        c.change(*world);
        EXPECT_EQ(firstMismatch(*world), "") << c.name;
        world->reset();
    }
}

TEST_F(CellArraysTest, EmptyCellsAndParticlesThatNeverSettleAreAlikeToSettling)
{
    // A dense particle over one that never settles (density 0) stays put, as
    // over an empty cell; over a lighter one it sinks.
    struct Case {
        uint32_t lower;  // 0: empty
        bool sinks;
    };
    const Case cases[] = {{0, false}, {kWall, false}, {kWater, true}, {kSteam, true}, {kSand, false}};
    for (const Case& c : cases) {
        world->reset();
        if (c.lower)
            add(50, 40, c.lower);
        Particle* sand = add(50, 41, kSand);
        ASSERT_NE(sand, nullptr);
        // Row 40 is even: settle from both parities.
        world->settleByDensity();
        world->settleByDensity();
        EXPECT_EQ(sand->y, c.sinks ? 40 : 41) << c.lower;
        EXPECT_EQ(firstMismatch(*world), "");
    }
}

}  // namespace
