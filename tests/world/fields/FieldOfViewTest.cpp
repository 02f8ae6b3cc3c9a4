#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "world/FieldOfView.h"

namespace {

// A map of blocking cells and a record of what the scan applied.
struct Scene {
    std::set<std::pair<int, int>> blocking;
    std::map<std::pair<int, int>, int> applied;  // cell -> times applied
    std::set<std::pair<int, int>> tested;
};

int opaque(void* map, int x, int y)
{
    Scene* s = static_cast<Scene*>(map);
    s->tested.insert({x, y});
    return s->blocking.count({x, y}) ? 1 : 0;
}

void record(void* map, int x, int y, int, int, void*)
{
    ++static_cast<Scene*>(map)->applied[{x, y}];
}

struct FieldOfViewTest : ::testing::Test {
    FovSettings settings;
    Scene scene;

    void SetUp() override
    {
        settings.opacityTest = &opaque;
        settings.apply = &record;
        settings.shape = FovSettings::kPrecalculatedCircle;
        settings.applyToBlockingCells = true;
    }

    void cast(int x, int y, uint32_t radius)
    {
        FovSource src;
        src.settings = &settings;
        src.map = &scene;
        src.x = x;
        src.y = y;
        src.radius = radius;
        FieldOfView::compute(src);
    }
};

TEST_F(FieldOfViewTest, HeightTableTruncatesTheCircle)
{
    const std::vector<int32_t> expected{10, 9, 9, 9, 9, 8, 8, 7, 6, 4, 0, 0};
    EXPECT_EQ(FieldOfView::makeHeightTable(10), expected);
}

TEST_F(FieldOfViewTest, RadiusTenReachesNineCellsAndFillsEachOctant)
{
    cast(50, 50, 10);
    ASSERT_FALSE(scene.applied.empty());
    EXPECT_EQ(scene.applied.count({50, 50}), 0u) << "the source is never visited";

    const std::vector<int32_t> height = FieldOfView::makeHeightTable(10);
    std::set<std::pair<int, int>> expected;
    for (int i = 1; i <= 9; ++i) {
        const int reach = std::min(i, static_cast<int>(height[i]));
        for (int j = 0; j <= reach; ++j) {
            for (int sx : {-1, 1})
                for (int sy : {-1, 1}) {
                    expected.insert({50 + sx * i, 50 + sy * j});
                    expected.insert({50 + sx * j, 50 + sy * i});
                }
        }
    }
    std::set<std::pair<int, int>> got;
    for (const auto& [cell, times] : scene.applied) {
        got.insert(cell);
        EXPECT_LE(std::abs(cell.first - 50), 9);
        EXPECT_LE(std::abs(cell.second - 50), 9);
        const bool diagonal = std::abs(cell.first - 50) == std::abs(cell.second - 50);
        EXPECT_EQ(times, diagonal ? 2 : 1)
            << "axis cells once, diagonals twice, at " << cell.first << "," << cell.second;
    }
    EXPECT_EQ(got, expected);
}

TEST_F(FieldOfViewTest, RadiusOneVisitsNothing)
{
    cast(5, 5, 1);
    EXPECT_TRUE(scene.applied.empty());
}

TEST_F(FieldOfViewTest, ABlockingCellShadowsTheRowBehindIt)
{
    scene.blocking.insert({53, 50});
    cast(50, 50, 10);
    EXPECT_EQ(scene.applied.count({53, 50}), 1u) << "blocking cells are applied when asked";
    for (int x = 54; x <= 59; ++x)
        EXPECT_EQ(scene.applied.count({x, 50}), 0u) << x;
    EXPECT_EQ(scene.applied.count({52, 50}), 1u);

    Scene unlit;
    unlit.blocking = scene.blocking;
    settings.applyToBlockingCells = false;
    FovSource src;
    src.settings = &settings;
    src.map = &unlit;
    src.x = 50;
    src.y = 50;
    src.radius = 10;
    FieldOfView::compute(src);
    EXPECT_EQ(unlit.applied.count({53, 50}), 0u);
}

TEST_F(FieldOfViewTest, SourcesOfOneRadiusShareOneTable)
{
    cast(20, 20, 6);
    ASSERT_GE(settings.heightTables.size(), 6u);
    const int32_t* table = settings.heightTables[5].data();
    cast(80, 40, 6);
    EXPECT_EQ(settings.heightTables[5].data(), table);
    EXPECT_EQ(FieldOfView::heightFor(settings, 6, 3), 5);
}

TEST_F(FieldOfViewTest, OtherShapesBoundTheScan)
{
    settings.shape = FovSettings::kSquare;
    cast(50, 50, 4);
    // The square reaches the full radius, corners included.
    EXPECT_EQ((scene.applied[{54, 54}]), 2) << "a diagonal belongs to two octants";
    EXPECT_EQ((scene.applied[{54, 50}]), 1);
    EXPECT_EQ(scene.applied.count({55, 50}), 0u);
}

}  // namespace
