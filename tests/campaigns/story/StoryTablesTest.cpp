// The story's pattern tables against what the days ask for: each table's
// size, kinds, box and given first cells, its end record, no cell twice, and
// every cell inside the small world the day worlds use.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "campaigns/story/StoryTables.h"
#include "world/Particle.h"
#include "world/World.h"

namespace {

struct Expected {
    const char* mission;
    char letter;
    int count;
    std::vector<const char*> kinds;
    int x0, x1, y0, y1;                      // the box
    std::vector<std::pair<int, int>> first;  // the first cells, in order
};

const std::vector<Expected>& expectedTables()
{
    static const std::vector<Expected> tables = {
        {"MakeMetalBox", 'A', 140, {"Metal"}, 42, 77, 22, 57, {{42, 22}, {42, 23}}},
        {"LightBulb", 'A', 2, {"Bulb"}, 31, 38, 20, 20, {{31, 20}, {38, 20}}},
        {"MakeResistance", 'A', 1, {"Heater"}, 58, 58, 41, 41, {{58, 41}}},
        {"MakeResistance", 'B', 1, {"Steam"}, 60, 60, 58, 58, {{60, 58}}},
        {"MakeSpark", 'A', 1, {"Heater"}, 58, 58, 41, 41, {{58, 41}}},
        {"MakeCooler", 'A', 2, {"Water", "Ice"}, 30, 90, 15, 42, {{30, 42}, {90, 15}}},
        {"MakeCooler", 'B', 1, {"Cooler"}, 91, 91, 9, 9, {{91, 9}}},
        {"LightVolcano",
         'A',
         6,
         {"Lava"},
         57,
         64,
         16,
         33,
         {{57, 20}, {60, 17}, {61, 29}, {61, 33}, {64, 16}, {64, 20}}},
        {"WaterDesti", 'A', 2, {"Ice"}, 72, 73, 20, 21, {{72, 21}, {73, 20}}},
        {"WaterDesti", 'B', 3, {"Heater", "Power", "Cooler"}, 46, 72, 1, 29, {{46, 29}, {54, 1}, {72, 17}}},
        {"MakeOilLamp", 'A', 5, {"OilBurning"}, 79, 107, 9, 10, {{79, 9}, {84, 10}, {93, 10}, {100, 9}, {107, 10}}},
        {"MakeOilLamp", 'B', 12, {"Multi"}, 78, 111, 39, 39, {{78, 39}, {81, 39}, {84, 39}}},
        {"MakeBattery", 'A', 2, {"Bulb", "Heater"}, 56, 108, 21, 24, {{56, 24}, {108, 21}}},
        {"WaterCascade", 'A', 8, {"Multi"}, 5, 26, 65, 65, {{5, 65}, {8, 65}}},
        {"WaterCascade", 'B', 4, {"Water"}, 98, 99, 37, 38, {{98, 37}, {98, 38}, {99, 37}, {99, 38}}},
        {"VirusGame", 'A', 1, {"AVirus"}, 25, 25, 14, 14, {{25, 14}}},
        {"WaterDam", 'A', 2, {"Water"}, 64, 65, 26, 26, {{64, 26}, {65, 26}}},
        {"PaintEarth", 'A', 9, {"Water"}, 30, 78, 11, 59, {{30, 32}, {37, 21}, {44, 11}, {51, 21}, {54, 32}}},
        {"PaintEarth", 'B', 15, {"Acid"}, 31, 91, 5, 67, {{31, 43}, {39, 47}}},
        {"PaintEarth", 'C', 15, {"Mud"}, 31, 91, 5, 67, {{31, 43}, {39, 47}}},
        {"PaintEarth", 'D', 15, {"Soil"}, 31, 91, 5, 67, {{31, 43}, {39, 47}}},
        {"PaintEarth", 'E', 15, {"Wood"}, 31, 91, 5, 67, {{31, 43}, {39, 47}}},
        {"CloggedFactory", 'A', 14, {"Water", "Multi"}, 50, 114, 2, 14, {{50, 11}, {61, 11}, {76, 11}, {89, 11}}},
        {"CloggedFactory", 'B', 1, {"AcidSteam"}, 101, 101, 57, 57, {{101, 57}}},
        {"CloggedFactory", 'C', 1, {"AcidSteam"}, 102, 102, 57, 57, {{102, 57}}},
        {"Alchemy", 'A', 4, {"Steam", "Oil", "Gas", "AcidSteam"}, 15, 110, 11, 51, {{15, 11}, {15, 24}, {15, 37}}},
        {"MakeDiode", 'A', 23, {"Metal"}, 70, 72, 22, 41, {{70, 31}, {70, 32}}},
        {"MakeDiode", 'B', 1, {"Metal"}, 71, 71, 22, 22, {{71, 22}}},
        {"PortalSong", 'A', 1, {"Metal"}, 54, 54, 50, 50, {{54, 50}}},
        {"ChristmasLights", 'A', 50, {"Metal"}, 21, 32, 9, 21, {{21, 15}, {21, 17}}},
        {"ChristmasLights", 'B', 1, {"Bulb"}, 103, 103, 35, 35, {{103, 35}}},
        {"Compose", 'A', 3, {"Note"}, 88, 96, 43, 43, {{88, 43}, {92, 43}, {96, 43}}},
        {"FindTree", 'A', 18, {"SeedBaobab"}, 51, 68, 24, 24, {{51, 24}, {52, 24}}},
        {"EightBall", 'A', 6, {"Wall"}, 57, 61, 50, 54, {{57, 50}, {58, 52}}},
        {"EightBall", 'B', 4, {"Bulb"}, 23, 97, 8, 14, {{73, 8}, {45, 9}, {23, 14}, {97, 14}}},
    };
    return tables;
}

TEST(StoryTables, EachTableHasItsSizeKindsBoxAndFirstCells)
{
    ASSERT_EQ(storyTables().size(), expectedTables().size());
    for (const Expected& e : expectedTables()) {
        const std::string name = std::string(e.mission) + " " + e.letter;
        MissionPattern t = storyTable(e.mission, e.letter);
        ASSERT_NE(t, nullptr) << name;
        ASSERT_EQ(storyTableSize(t), e.count) << name;
        const MissionPatternRecord& end = t[e.count];
        EXPECT_TRUE(end.x == 0 && end.y == 0 && end.type == 0 && end.end == 1) << name;
        std::set<uint32_t> kinds;
        for (const char* kind : e.kinds)
            kinds.insert(hashString(kind));
        std::set<std::pair<int, int>> cells;
        int x0 = 1000, x1 = -1, y0 = 1000, y1 = -1;
        for (int i = 0; i < e.count; ++i) {
            const MissionPatternRecord& r = t[i];
            EXPECT_EQ(r.end, 0) << name;
            EXPECT_TRUE(kinds.count(r.type)) << name << " record " << i;
            EXPECT_TRUE(cells.insert({r.x, r.y}).second) << name << " has (" << r.x << ", " << r.y << ") twice";
            EXPECT_TRUE(r.x >= 0 && r.x < World::kSmallWidth && r.y >= 0 && r.y < World::kSmallHeight) << name;
            x0 = std::min(x0, r.x), x1 = std::max(x1, r.x), y0 = std::min(y0, r.y), y1 = std::max(y1, r.y);
        }
        EXPECT_EQ(std::vector<int>({x0, x1, y0, y1}), std::vector<int>({e.x0, e.x1, e.y0, e.y1})) << name;
        for (size_t i = 0; i < e.first.size(); ++i)
            EXPECT_EQ(std::make_pair(t[i].x, t[i].y), e.first[i]) << name << " record " << i;
    }
    EXPECT_EQ(storyTable("MakeMetalBox", 'B'), nullptr);
    EXPECT_EQ(storyTable(nullptr, 'A'), nullptr);
}

TEST(StoryTables, TypeIdsAreTheDjb2OfTheKindNames)
{
    EXPECT_EQ(hashString("Bulb"), 2088976522u);
    EXPECT_EQ(hashString("Metal"), 229227416u);
    EXPECT_EQ(hashString("Water"), 240943016u);
    EXPECT_EQ(hashString("Heater"), 3073198238u);
    EXPECT_EQ(hashString("SeedBaobab"), 1660586173u);
    EXPECT_EQ(storyTable("FindTree", 'A')[0].type, 1660586173u);
    EXPECT_EQ(storyTable("MakeMetalBox", 'A')[139].type, 229227416u);
}

TEST(StoryTables, TheDrawnTablesHaveTheirShapes)
{
    // The box is the outline of the square: every cell on its border.
    MissionPattern box = storyTable("MakeMetalBox", 'A');
    for (int i = 0; i < 140; ++i)
        EXPECT_TRUE(box[i].x == 42 || box[i].x == 77 || box[i].y == 22 || box[i].y == 57) << i;
    // The four land tables share their cells, and none is an ocean cell.
    std::set<std::pair<int, int>> ocean;
    for (MissionPattern r = storyTable("PaintEarth", 'A'); !r->end; ++r)
        ocean.insert({r->x, r->y});
    for (char letter : {'C', 'D', 'E'})
        for (int i = 0; i < 15; ++i) {
            EXPECT_EQ(storyTable("PaintEarth", letter)[i].x, storyTable("PaintEarth", 'B')[i].x);
            EXPECT_EQ(storyTable("PaintEarth", letter)[i].y, storyTable("PaintEarth", 'B')[i].y);
            EXPECT_FALSE(ocean.count({storyTable("PaintEarth", letter)[i].x, storyTable("PaintEarth", letter)[i].y}));
        }
}

}  // namespace
