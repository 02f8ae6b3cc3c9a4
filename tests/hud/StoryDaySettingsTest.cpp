// The story days' settings files as shipped: each one the game finds loads,
// offers everything earned up to its day (so a day reached by the silent
// replay is the same as one reached by playing), and holds back what the
// day's own missions hand out, which the player is meant to make first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/GameSceneFixture.h"

USING_NS_CC;

namespace {

struct DayRow {
    int day;
    // Opened by the step that starts the day.
    std::vector<std::string> opened;
    // Handed out by the day's missions: on the next day's file, and not on
    // this one unless the day's world needs it placed (`offeredEarly`).
    std::vector<std::string> earned;
    bool offeredEarly = false;
};

// clang-format off
const DayRow kDays[] = {
    {1, {"Soil", "Water", "Stone", "Draw", "Clear", "Normal"}, {"Mud", "Sand"}},
    {2, {"Sun", "Zoom"}, {}},
    {3, {"Weather"}, {"Steam", "Electro"}},
    {4, {"Temperature"}, {}},
    {5, {"Hot"}, {"Fire", "Oil"}},
    {6, {"Seed", "Miner"}, {"Metal", "Wood", "Lava"}},
    {7, {}, {"Line"}},
    {8, {"Bulb", "Light"}, {"Power"}},
    {9, {}, {"Heater", "Bright"}},
    {10, {}, {"Cooler", "Ice"}},
    {11, {}, {}},
    {12, {"VeryHot"}, {"Glass"}},
    {13, {"Snow", "Cold"}, {"Acid"}},
    {14, {}, {"Multi"}},
    {15, {"Fill"}, {}},
    {16, {"VeryCold"}, {"Wall"}},
    {17, {}, {}},
    // The virus day may hand the player AVirus to make its mission's cell.
    {18, {"Virus", "Void", "Background"}, {"AVirus"}, true},
    {19, {"Wax"}, {}},
    {20, {}, {"Gas"}},
    {21, {"Replace"}, {}},
    {22, {}, {}}, {23, {}, {}}, {24, {}, {}}, {25, {}, {}}, {26, {}, {}},
    {27, {"Note"}, {}},
    {28, {}, {}},
    {29, {"SeedBaobab", "SeedBonsai", "SeedCedar", "SeedDracaena", "SeedOak", "SeedPalm", "SeedPine",
          "SeedRedMaple", "SeedSakura", "SeedTenere", "SeedWillow"}, {}},
    {30, {}, {}},
    {31, {}, {}},
};
// clang-format on

class StoryDaySettings : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene(false);
    }
};

TEST_F(StoryDaySettings, EachDayOffersWhatWasEarnedAndHoldsBackWhatItTeaches)
{
    GUI* gui = layer->getGUI();
    std::vector<std::string> earnedBefore;
    int found = 0;
    for (const DayRow& row : kDays) {
        const std::string name = "Day" + std::to_string(row.day);
        earnedBefore.insert(earnedBefore.end(), row.opened.begin(), row.opened.end());
        if (CCFileUtils::sharedFileUtils()->isFileExist("universes/Missions/" + name + ".plist")) {
            ++found;
            ASSERT_TRUE(gui->loadDaySettings(name)) << name;
            EXPECT_FALSE(gui->getEverythingAvailable()) << name;
            for (const std::string& item : earnedBefore)
                EXPECT_TRUE(gui->isAvailable(item)) << name << " lacks " << item;
            for (const std::string& item : row.earned) {
                if (!row.offeredEarly) {
                    EXPECT_FALSE(gui->isAvailable(item)) << name << " already offers " << item;
                }
            }
        }
        earnedBefore.insert(earnedBefore.end(), row.earned.begin(), row.earned.end());
    }
    // The first days are always shipped.
    EXPECT_GE(found, 10);
}

}  // namespace
