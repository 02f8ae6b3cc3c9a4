#include <gtest/gtest.h>

#include "FieldWorld.h"
#include "platform/GameRandom.h"
#include "world/CCMutableTexture2D.h"
#include "world/FieldOverlay.h"
#include "world/ParticleCreator.h"

namespace {

using S = ElectricityGrid::State;

struct ElectricityGridTest : FieldWorld {
    ElectricityGrid& grid() { return world->electricityGrid; }

    void wire(int x0, int x1, int y)
    {
        for (int x = x0; x <= x1; ++x)
            grid().setCell(x, y, S::kConductor);
    }
    void column(int x, int y0, int y1)
    {
        for (int y = y0; y <= y1; ++y)
            grid().setCell(x, y, S::kConductor);
    }
    bool anyHeadOrTailInColumn(int x, int y0, int y1)
    {
        for (int y = y0; y <= y1; ++y)
            if (grid().getCell(x, y) == S::kHead || grid().getCell(x, y) == S::kTail)
                return true;
        return false;
    }
    int headX(int x0, int x1, int y)
    {
        for (int x = x0; x <= x1; ++x)
            if (grid().getCell(x, y) == S::kHead)
                return x;
        return -1;
    }
};

TEST_F(ElectricityGridTest, ASparkRunsOneCellPerStepAlongAWire)
{
    wire(10, 40, 20);
    grid().setCell(10, 20, S::kTail);
    grid().setCell(11, 20, S::kHead);
    for (int step = 1; step <= 10; ++step) {
        grid().step();
        EXPECT_EQ(grid().getCell(11 + step, 20), S::kHead) << step;
        EXPECT_EQ(grid().getCell(10 + step, 20), S::kTail) << step;
        EXPECT_EQ(grid().getCell(9 + step, 20), S::kConductor) << step;
    }
    EXPECT_TRUE(grid().isPowered(21, 20));
    EXPECT_FALSE(grid().isPowered(15, 20));
}

TEST_F(ElectricityGridTest, OneOrTwoHeadsIgniteAConductorButThreeDoNot)
{
    grid().setCell(50, 50, S::kConductor);
    auto ignitesWith = [&](int heads) {
        grid().reset();
        grid().setCell(50, 50, S::kConductor);
        const int cells[3][2] = {{49, 51}, {51, 51}, {51, 49}};
        for (int i = 0; i < heads; ++i) {
            grid().setCell(cells[i][0], cells[i][1], S::kConductor);
            grid().setCell(cells[i][0], cells[i][1], S::kHead);
        }
        grid().step();
        return grid().getCell(50, 50) == S::kHead;
    };
    EXPECT_TRUE(ignitesWith(1));
    EXPECT_TRUE(ignitesWith(2));
    EXPECT_FALSE(ignitesWith(3));
}

TEST_F(ElectricityGridTest, SevenConductorsAroundACellBlockIgnition)
{
    auto ignitesWithEmptyCorners = [&](int emptyCorners) {
        grid().reset();
        for (int x = 49; x <= 51; ++x)
            for (int y = 49; y <= 51; ++y)
                grid().setCell(x, y, S::kConductor);
        grid().setCell(51, 49, S::kEmpty);
        if (emptyCorners > 1)
            grid().setCell(51, 51, S::kEmpty);
        // Written as a saved cell would be, without the junction rule.
        grid().decodeCell(49, 50, S::kHead);
        grid().step();
        return grid().getCell(50, 50) == S::kHead;
    };
    EXPECT_FALSE(ignitesWithEmptyCorners(1)) << "seven conductors with the cell itself";
    EXPECT_TRUE(ignitesWithEmptyCorners(2)) << "six conductors";
}

TEST_F(ElectricityGridTest, AHeadStartsOnlyOnAConductorAndPicksOneBranch)
{
    grid().setCell(30, 30, S::kHead);
    EXPECT_EQ(grid().getCell(30, 30), S::kEmpty);
    grid().setCell(0, 0, S::kConductor);
    EXPECT_EQ(grid().getCell(0, 0), S::kEmpty) << "cell (0, 0) is never written";

    // A T-junction: the centre and three arms.
    platform::seedGameRand(7);
    for (auto [x, y] : {std::pair{60, 60}, {59, 60}, {61, 60}, {60, 61}})
        grid().setCell(x, y, S::kConductor);
    grid().setCell(60, 60, S::kHead);
    EXPECT_EQ(grid().getCell(60, 60), S::kHead);
    int tails = 0, conductors = 0;
    for (auto [x, y] : {std::pair{59, 60}, {61, 60}, {60, 61}}) {
        tails += grid().getCell(x, y) == S::kTail;
        conductors += grid().getCell(x, y) == S::kConductor;
    }
    EXPECT_EQ(tails, 2);
    EXPECT_EQ(conductors, 1);
}

TEST_F(ElectricityGridTest, PoweredCountsOrthogonalNeighboursOnlyNearCountsTheBlock)
{
    grid().setCell(70, 70, S::kTail);
    EXPECT_FALSE(grid().isPowered(71, 71));
    EXPECT_TRUE(grid().isPoweredNear(71, 71));
    EXPECT_TRUE(grid().isPowered(71, 70));
    EXPECT_FALSE(grid().isPoweredNear(72, 72));
}

TEST_F(ElectricityGridTest, MovingACellCarriesItsStateAndBridge)
{
    grid().setCell(20, 20, S::kConductor);
    grid().setBridge(20, 20, true);
    grid().moveCell(20, 20, 21, 20);
    EXPECT_EQ(grid().getCell(21, 20), S::kConductor);
    EXPECT_EQ(grid().getCell(20, 20), S::kEmpty);
    EXPECT_TRUE(grid().isBridge(21, 20));
    EXPECT_FALSE(grid().isBridge(20, 20));
    EXPECT_TRUE(grid().bridgeIn(0, 21, 20).isBridge && grid().bridgeIn(1, 21, 20).isBridge);

    grid().setCell(30, 30, S::kTail);
    grid().swapCells(30, 30, 30, 31);
    EXPECT_EQ(grid().getCell(30, 31), S::kTail);
    EXPECT_EQ(grid().getCell(30, 30), S::kEmpty);
}

// Horizontal wire through the bridge at (100, 50); the vertical wire stops
// one cell short of it on both sides, so the two never touch.
struct BridgeCrossing : ElectricityGridTest {
    static constexpr int bx = 100, by = 50;
    void SetUp() override
    {
        ElectricityGridTest::SetUp();
        wire(80, bx - 1, by);
        wire(bx + 1, 120, by);
        column(bx, by + 2, by + 12);
        column(bx, by - 12, by - 2);
        grid().setBridge(bx, by, true);
    }
};

TEST_F(BridgeCrossing, ASparkFromTheLeftCrossesAndLeavesTheOtherWireAlone)
{
    grid().setCell(82, by, S::kTail);
    grid().setCell(83, by, S::kHead);
    bool crossed = false;
    for (int step = 0; step < 40; ++step) {
        grid().step();
        if (headX(bx + 3, 120, by) >= 0)
            crossed = true;
        EXPECT_FALSE(anyHeadOrTailInColumn(bx, by + 2, by + 12)) << step;
        EXPECT_FALSE(anyHeadOrTailInColumn(bx, by - 12, by - 2)) << step;
    }
    EXPECT_TRUE(crossed);
}

TEST_F(BridgeCrossing, ASparkFromAboveCrossesDownward)
{
    grid().setCell(bx, by + 12, S::kTail);
    grid().setCell(bx, by + 11, S::kHead);
    // The vertical wire needs its head right above the bridge to arm it.
    grid().setCell(bx, by + 1, S::kConductor);
    grid().setCell(bx - 1, by, S::kEmpty);
    grid().setCell(bx + 1, by, S::kEmpty);
    bool crossed = false;
    for (int step = 0; step < 40; ++step) {
        grid().step();
        crossed = crossed || anyHeadOrTailInColumn(bx, by - 12, by - 4);
        EXPECT_EQ(headX(80, bx - 2, by), -1) << step;
        EXPECT_EQ(headX(bx + 2, 120, by), -1) << step;
    }
    EXPECT_TRUE(crossed);
}

TEST_F(ElectricityGridTest, BlobCodesCarryBridgesAndArmedSides)
{
    grid().setBridge(40, 40, true);
    grid().bridgeIn(0, 40, 40).fromLeft = 3;
    EXPECT_EQ(grid().encodeCell(40, 40), 170u);

    std::vector<uint8_t> section;
    const int32_t length = grid().save(section);
    ASSERT_EQ(length, 4 + 12);
    ASSERT_EQ(section.size(), 16u);
    EXPECT_EQ(section[0], 1);
    EXPECT_EQ(section[12], 170);

    grid().reset();
    EXPECT_FALSE(grid().isBridge(40, 40));
    ASSERT_EQ(grid().load(section.data(), section.size()), 16);
    for (int buffer : {0, 1}) {
        EXPECT_TRUE(grid().bridgeIn(buffer, 40, 40).isBridge);
        EXPECT_EQ(grid().bridgeIn(buffer, 40, 40).fromLeft, 3);
    }
    EXPECT_EQ(grid().getCell(40, 40), S::kEmpty);
}

TEST_F(ElectricityGridTest, Code173DecodesToAnArmedBridgeConductorInEitherBuffer)
{
    for (int flips : {0, 1}) {
        grid().reset();
        for (int i = 0; i < flips; ++i)
            grid().step();
        for (int buffer : {0, 1}) {
            grid().bridgeIn(buffer, 40, 40).fromRight = 2;
            grid().bridgeIn(buffer, 40, 40).fromBelow = 1;
        }
        const uint8_t record[] = {1, 0, 0, 0, 40, 0, 0, 0, 40, 0, 0, 0, 173, 0, 0, 0};
        ASSERT_EQ(grid().load(record, sizeof record), 16);
        EXPECT_EQ(grid().getCell(40, 40), S::kConductor);
        for (int buffer : {0, 1}) {
            const ElectricityBridge& b = grid().bridgeIn(buffer, 40, 40);
            EXPECT_TRUE(b.isBridge);
            EXPECT_EQ(b.fromLeft, 3);
            EXPECT_EQ(b.fromRight, 2) << "counters without their weight are untouched";
            EXPECT_EQ(b.fromBelow, 1);
        }
    }
}

TEST_F(ElectricityGridTest, BadSectionsAreRefusedWithoutReadingPastTheEnd)
{
    const uint8_t claimsTwo[] = {2, 0, 0, 0, 5, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0};
    EXPECT_EQ(grid().load(claimsTwo, sizeof claimsTwo), 0);
    EXPECT_EQ(grid().getCell(5, 5), S::kEmpty);

    // One record off the grid, one with an impossible state: both skipped.
    const uint8_t bad[] = {3, 0, 0, 0, 0, 1, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0, 6, 0, 0, 0,
                           6, 0, 0, 0, 9, 0, 0, 0, 7, 0, 0, 0, 7, 0, 0, 0, 3, 0, 0, 0};
    EXPECT_EQ(grid().load(bad, sizeof bad), static_cast<int32_t>(sizeof bad));
    EXPECT_EQ(grid().getCell(6, 6), S::kEmpty);
    EXPECT_EQ(grid().getCell(7, 7), S::kConductor);
    EXPECT_EQ(grid().load(nullptr, 10), 0);
}

TEST_F(ElectricityGridTest, AStaleCounterDoesNotTurnAPlainCellIntoABridge)
{
    grid().setBridge(40, 40, true);
    grid().bridgeIn(1, 40, 40).fromAbove = 3;
    grid().setBridge(40, 40, false);
    grid().bridgeIn(1, 40, 40).fromAbove = 3;
    grid().setCell(40, 40, S::kConductor);
    EXPECT_EQ(grid().encodeCell(40, 40), 3u);
}

TEST_F(ElectricityGridTest, OverlayShowsHeadsAndTailsAndUploadsAtOnce)
{
    grid().setCell(12, 10, S::kConductor);
    grid().setCell(12, 10, S::kHeadDelayed);
    grid().setCell(16, 10, S::kTailDelayed);
    grid().setCell(20, 10, S::kConductor);
    FieldOverlay& overlay = grid().overlay();
    EXPECT_EQ(overlay.pixel(12, 10).r, 255);
    EXPECT_EQ(overlay.pixel(12, 10).g, 255);
    EXPECT_EQ(overlay.pixel(16, 10).r, 140);
    EXPECT_EQ(overlay.pixel(20, 10).a, 0) << "a plain conductor is not drawn";
    EXPECT_FALSE(overlay.texture()->isDirty()) << "a paused world must show cell writes too";
    grid().moveCell(16, 10, 17, 10);
    EXPECT_EQ(overlay.pixel(16, 10).a, 0);
    EXPECT_EQ(overlay.pixel(17, 10).r, 140);
    EXPECT_FALSE(overlay.texture()->isDirty());
    grid().step();
    EXPECT_FALSE(overlay.texture()->isDirty());
    EXPECT_EQ(overlay.pixel(12, 10).r, 255);
    EXPECT_EQ(grid().getCell(12, 10), S::kHead);
    EXPECT_EQ(grid().getCell(17, 10), S::kTail);
}

TEST_F(ElectricityGridTest, MovingOrSwappingACellOntoItselfKeepsItAndItsBridge)
{
    grid().setCell(20, 20, S::kConductor);
    grid().setBridge(20, 20, true);
    grid().bridgeIn(0, 20, 20).fromLeft = 3;
    grid().moveCell(20, 20, 20, 20);
    grid().swapCells(20, 20, 20, 20);
    EXPECT_EQ(grid().getCell(20, 20), S::kConductor);
    EXPECT_TRUE(grid().isBridge(20, 20));
    EXPECT_EQ(grid().bridgeIn(0, 20, 20).fromLeft, 3);
}

// A tail whose block holds seven conductors throws an Electro spark into the
// empty cell opposite the first conductor, and raises the spark-made flag.
TEST_F(ElectricityGridTest, ATailAtTheEndOfAThickConductorThrowsASpark)
{
    constexpr uint32_t kElectro = hashString("Electro");
    ParticleCreator::registerClass<TestMaterialOf<kElectro>>("Electro");
    struct Unregister {
        ~Unregister() { ParticleCreator::clearRegistrations(); }
    } unregister;
    auto thickEnd = [&](int cx, int cy, int conductors) {
        int placed = 0;
        for (int x = cx - 1; x <= cx + 1; ++x)
            for (int y = cy - 1; y <= cy + 1; ++y)
                if ((x != cx || y != cy) && (x != cx + 1 || y != cy + 1) && placed++ < conductors)
                    grid().setCell(x, y, S::kConductor);
        grid().setCell(cx, cy, S::kTail);
    };
    thickEnd(50, 50, 7);
    thickEnd(80, 50, 6);
    grid().step();

    Particle* spark = world->at(51, 51);
    ASSERT_NE(spark, nullptr) << "opposite the first conductor, (49, 49)";
    EXPECT_EQ(spark->getType(), kElectro);
    EXPECT_EQ(world->eventFlags[ElectricityGrid::kSparkMadeEventFlag], 1);
    EXPECT_FALSE(world->sparkOnMetal) << "that flag is for a spark meeting Metal";
    EXPECT_EQ(world->at(81, 51), nullptr) << "six conductors are no dead end";
    EXPECT_EQ(world->particleCount(), 1);
}

// The step skips a grid without current or bridges, so the counts that say
// so must match the cells after every kind of write.
TEST_F(ElectricityGridTest, LiveCellAndBridgeCountsFollowEveryWrite)
{
    auto expectCounts = [&](const char* after) {
        int live = 0, bridges = 0;
        for (int x = 0; x < World::kMaxWidth; ++x)
            for (int y = 0; y < World::kMaxHeight; ++y) {
                const uint32_t s = grid().getCell(x, y);
                live += s != S::kEmpty && s != S::kConductor;
                bridges += grid().isBridge(x, y);
            }
        EXPECT_EQ(grid().liveCellCount(), live) << after;
        EXPECT_EQ(grid().bridgeCount(), bridges) << after;
    };
    wire(10, 30, 20);
    grid().setCell(10, 20, S::kTail);
    grid().setCell(11, 20, S::kHead);
    grid().setCell(50, 50, S::kHeadDelayed);  // refused: no conductor there
    grid().setCell(60, 60, S::kTailDelayed);
    grid().setCell(60, 60, S::kTailDelayed);
    expectCounts("setCell");
    grid().setBridge(40, 40, true);
    grid().setBridge(40, 40, true);
    grid().setBridge(41, 40, false);
    expectCounts("setBridge");
    grid().moveCell(40, 40, 42, 42);
    grid().moveCell(60, 60, 61, 61);
    grid().swapCells(61, 61, 70, 70);
    grid().swapCells(42, 42, 43, 43);
    grid().moveCell(43, 43, 44, 44);
    expectCounts("moving");
    EXPECT_TRUE(grid().decodeCell(44, 44, 3));    // the bridge goes
    EXPECT_TRUE(grid().decodeCell(45, 45, 171));  // a bridge comes with a head
    EXPECT_FALSE(grid().decodeCell(46, 46, 9));
    expectCounts("decodeCell");
    for (int step = 0; step < 5; ++step) {
        grid().step();
        expectCounts("step");
    }
    std::vector<uint8_t> section;
    ASSERT_GT(grid().save(section), 4);
    grid().reset();
    expectCounts("reset");
    ASSERT_EQ(grid().load(section.data(), section.size()), static_cast<int32_t>(section.size()));
    expectCounts("load");
    EXPECT_GT(grid().liveCellCount(), 0);
    EXPECT_EQ(grid().bridgeCount(), 1);
    // Cells beyond a smaller grid are out of it, and out of the counts.
    grid().setCell(200, 100, S::kTail);
    resize(120, 80);
    expectCounts("a smaller grid");
    resize(World::kMaxWidth, World::kMaxHeight);
    expectCounts("the full grid again");
}

// A wire without current idles; a spark set on it later runs as on any wire,
// and current near a cell shows only while it is there.
TEST_F(ElectricityGridTest, AnIdleWireKeepsItsConductorsAndCarriesALaterSpark)
{
    wire(10, 40, 20);
    for (int step = 0; step < 7; ++step)
        grid().step();
    for (int x = 10; x <= 40; ++x)
        ASSERT_EQ(grid().getCell(x, 20), S::kConductor) << x;
    EXPECT_FALSE(grid().isPoweredNear(20, 21));
    EXPECT_FALSE(grid().isPowered(20, 20));
    grid().setCell(19, 20, S::kTail);
    grid().setCell(20, 20, S::kHead);
    EXPECT_TRUE(grid().isPoweredNear(21, 21));
    for (int step = 1; step <= 5; ++step) {
        grid().step();
        EXPECT_EQ(grid().getCell(20 + step, 20), S::kHead) << step;
        EXPECT_EQ(grid().getCell(19 + step, 20), S::kTail) << step;
    }
    for (int step = 0; step < 30; ++step)
        grid().step();
    EXPECT_EQ(grid().liveCellCount(), 0);
    EXPECT_FALSE(grid().isPoweredNear(40, 21));
}

}  // namespace
