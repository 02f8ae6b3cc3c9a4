// The pattern tests over the world's cells: each one's verdict on a table
// without cells, an empty cell, the expected kind, a wrong kind under a Bulb
// or LED record, lit and unlit devices, carried content, a human's job, the
// Notes of a melody and records outside the world.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "elements/creatures/HumanLeader.h"
#include "elements/materials/Cloners.h"
#include "elements/materials/Instruments.h"
#include "elements/materials/Leds.h"
#include "elements/materials/Wiring.h"
#include "goals/MissionPattern.h"
#include "support/GameSceneFixture.h"

USING_NS_CC;

namespace {

constexpr uint32_t kWall = hashString("Wall");
constexpr uint32_t kBulb = hashString("Bulb");
constexpr uint32_t kLedRed = hashString("LedRed");
constexpr uint32_t kMulti = hashString("Multi");
constexpr uint32_t kHuman = hashString("HumanPart");
constexpr uint32_t kNote = hashString("Note");
constexpr MissionPatternRecord kEnd{0, 0, 0, 1};

class Patterns : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene(false);
    }

    template <class T> T* put(int x, int y, uint32_t type)
    {
        Particle* p = world->addParticle(x, y, type, true);
        EXPECT_NE(p, nullptr) << type;
        return dynamic_cast<T*>(p);
    }

    // Every test's verdict on the table, in one line.
    static std::string verdicts(MissionPattern t)
    {
        auto b = [](bool v) { return v ? "1" : "0"; };
        return std::string("all=") + b(patternAllMatch(t)) + " none=" + b(patternNoneMatch(t)) +
            " empty=" + b(patternAllEmpty(t)) + " count=" + std::to_string(patternCount(t)) +
            " atLeast1=" + b(patternCountAtLeast(t, 1)) + " powered=" + b(patternAllMatchPowered(t)) +
            " anyPowered=" + b(patternAnyMatchPowered(t)) + " bulbs=" + b(patternAllBulbsLit(t)) +
            " anyBulb=" + b(patternAnyBulbLit(t)) + " leds=" + b(patternAllLedsLit(t)) +
            " oil=" + b(patternMatchesCarryName(t, CCString::create("Oil"))) +
            " loading=" + b(patternHasHumanWithJob(t, CCString::create("loading"))) +
            " first=" + b(firstPatternMatch(t) != nullptr) + " compose=" + b(composeSolved(t));
    }
};

TEST_F(Patterns, EachTestJudgesItsCellsAndReadsAKindOnlyWhereItStands)
{
    const MissionPatternRecord endOnly[] = {kEnd};
    const MissionPatternRecord wall[] = {{10, 10, kWall, 0}, kEnd};
    const MissionPatternRecord bulb[] = {{10, 10, kBulb, 0}, kEnd};
    const MissionPatternRecord led[] = {{10, 10, kLedRed, 0}, kEnd};
    const MissionPatternRecord multi[] = {{10, 10, kMulti, 0}, kEnd};
    const MissionPatternRecord human[] = {{10, 10, kHuman, 0}, kEnd};
    const MissionPatternRecord note[] = {{10, 10, kNote, 0}, kEnd};
    // Outside the small world in use, in every direction; the end flag's
    // upper bytes do not end a table.
    const MissionPatternRecord outside[] = {
        {-1, 5, kWall, 0x100}, {120, 5, kWall, 0}, {5, 80, kWall, 0}, {INT_MAX, INT_MIN, kWall, 0}, kEnd};
    struct Case {
        const char* what;
        MissionPattern table;
        std::function<void()> stage;
        const char* expected;
    };
    const Case cases[] = {
        {"a table without cells", endOnly, [] {},
         "all=1 none=1 empty=1 count=0 atLeast1=0 powered=1 anyPowered=0 bulbs=1 anyBulb=0 leds=1 oil=1 loading=0 "
         "first=0 compose=1"},
        {"an empty cell", wall, [] {},
         "all=0 none=1 empty=1 count=0 atLeast1=0 powered=0 anyPowered=0 bulbs=0 anyBulb=0 leds=0 oil=1 loading=0 "
         "first=0 compose=0"},
        {"its kind, unpowered", wall, [&] { put<Particle>(10, 10, kWall); },
         "all=1 none=0 empty=0 count=1 atLeast1=1 powered=0 anyPowered=0 bulbs=0 anyBulb=0 leds=0 oil=0 loading=0 "
         "first=1 compose=0"},
        {"its kind, powered", wall,
         [&] {
             put<Particle>(10, 10, kWall);
             world->electricityGrid.setCell(11, 11, ElectricityGrid::kTail);
         },
         "all=1 none=0 empty=0 count=1 atLeast1=1 powered=1 anyPowered=1 bulbs=0 anyBulb=0 leds=0 oil=0 loading=0 "
         "first=1 compose=0"},
        {"a lit bulb", bulb, [&] { put<Bulb>(10, 10, kBulb)->litTicks = 3; },
         "all=1 none=0 empty=0 count=1 atLeast1=1 powered=0 anyPowered=0 bulbs=1 anyBulb=1 leds=0 oil=0 loading=0 "
         "first=1 compose=0"},
        {"an unlit bulb", bulb, [&] { put<Bulb>(10, 10, kBulb)->litTicks = 0; },
         "all=1 none=0 empty=0 count=1 atLeast1=1 powered=0 anyPowered=0 bulbs=0 anyBulb=0 leds=0 oil=0 loading=0 "
         "first=1 compose=0"},
        {"a wall under a bulb record", bulb, [&] { put<Particle>(10, 10, kWall); },
         "all=0 none=1 empty=0 count=0 atLeast1=0 powered=0 anyPowered=0 bulbs=0 anyBulb=0 leds=0 oil=1 loading=0 "
         "first=0 compose=0"},
        {"another LED colour, glowing", led, [&] { put<Led>(10, 10, hashString("LedBlue"))->glow = 5; },
         "all=0 none=1 empty=0 count=0 atLeast1=0 powered=0 anyPowered=0 bulbs=0 anyBulb=0 leds=1 oil=1 loading=0 "
         "first=0 compose=0"},
        {"a dark LED", led, [&] { put<Led>(10, 10, kLedRed)->glow = 0; },
         "all=1 none=0 empty=0 count=1 atLeast1=1 powered=0 anyPowered=0 bulbs=0 anyBulb=0 leds=0 oil=0 loading=0 "
         "first=1 compose=0"},
        {"a wall under an LED record", led, [&] { put<Particle>(10, 10, kWall); },
         "all=0 none=1 empty=0 count=0 atLeast1=0 powered=0 anyPowered=0 bulbs=0 anyBulb=0 leds=0 oil=1 loading=0 "
         "first=0 compose=0"},
        {"a container of oil", multi, [&] { put<Multi>(10, 10, kMulti)->copiedType = hashString("Oil"); },
         "all=1 none=0 empty=0 count=1 atLeast1=1 powered=0 anyPowered=0 bulbs=0 anyBulb=0 leds=0 oil=1 loading=0 "
         "first=1 compose=0"},
        {"a container of water", multi, [&] { put<Multi>(10, 10, kMulti)->copiedType = hashString("Water"); },
         "all=1 none=0 empty=0 count=1 atLeast1=1 powered=0 anyPowered=0 bulbs=0 anyBulb=0 leds=0 oil=0 loading=0 "
         "first=1 compose=0"},
        // It reports "loading" as its job, yet no job test may take it for one.
        {"a human's body without its group", human, [&] { put<HumanPart>(10, 10, kHuman); },
         "all=1 none=0 empty=0 count=1 atLeast1=1 powered=0 anyPowered=0 bulbs=0 anyBulb=0 leds=0 oil=0 loading=0 "
         "first=1 compose=0"},
        {"a new Note", note, [&] { put<Note>(10, 10, kNote); },
         "all=1 none=0 empty=0 count=1 atLeast1=1 powered=0 anyPowered=0 bulbs=0 anyBulb=0 leds=0 oil=0 loading=0 "
         "first=1 compose=0"},
        {"a retuned Note", note, [&] { put<Note>(10, 10, kNote)->note = 3; },
         "all=1 none=0 empty=0 count=1 atLeast1=1 powered=0 anyPowered=0 bulbs=0 anyBulb=0 leds=0 oil=0 loading=0 "
         "first=1 compose=1"},
        {"cells outside the world", outside, [] {},
         "all=0 none=1 empty=1 count=0 atLeast1=0 powered=0 anyPowered=0 bulbs=0 anyBulb=0 leds=0 oil=1 loading=0 "
         "first=0 compose=0"},
    };
    for (const Case& c : cases) {
        world->reset();
        c.stage();
        EXPECT_EQ(verdicts(c.table), c.expected) << c.what;
    }
}

TEST_F(Patterns, CountsGoOverTheWholeTableAndTheFirstMatchIsInRecordOrder)
{
    const MissionPatternRecord table[] = {{3, 3, kWall, 0}, {4, 3, kWall, 0}, {5, 3, kBulb, 0}, {6, 3, kWall, 0}, kEnd};
    put<Particle>(4, 3, kWall);
    Particle* last = put<Particle>(6, 3, kWall);
    put<Particle>(5, 3, kWall);
    EXPECT_EQ(patternCount(table), 2);
    EXPECT_TRUE(patternCountAtLeast(table, 2));
    EXPECT_FALSE(patternCountAtLeast(table, 3));
    EXPECT_FALSE(patternAllMatch(table));
    EXPECT_FALSE(patternNoneMatch(table));
    EXPECT_EQ(firstPatternMatch(table), world->at(4, 3));
    world->removeParticle(4, 3);
    EXPECT_EQ(firstPatternMatch(table), last);
}

}  // namespace
