#include "campaigns/story/StoryMissions.h"

#include <array>
#include <cstring>

#include "base/Logger.h"
// The tables drawn as pixel maps (assets/levels/tables), as kMap<mission><letter>,
// written at build time by tools/tablegen.
#include "campaigns/DrawnTables.inc"
#include "campaigns/story/StorySteps.h"
#include "campaigns/story/StoryTables.h"
#include "goals/AchievementManager.h"
#include "world/Particle.h"

namespace {

constexpr uint32_t kMetal = hashString("Metal");
constexpr uint32_t kBulb = hashString("Bulb");
constexpr uint32_t kHeater = hashString("Heater");
constexpr uint32_t kSteam = hashString("Steam");
constexpr uint32_t kWater = hashString("Water");
constexpr uint32_t kIce = hashString("Ice");
constexpr uint32_t kCooler = hashString("Cooler");
constexpr uint32_t kLava = hashString("Lava");
constexpr uint32_t kPower = hashString("Power");
constexpr uint32_t kOilBurning = hashString("OilBurning");
constexpr uint32_t kMulti = hashString("Multi");
constexpr uint32_t kAVirus = hashString("AVirus");
constexpr uint32_t kAcidSteam = hashString("AcidSteam");
constexpr uint32_t kOil = hashString("Oil");
constexpr uint32_t kGas = hashString("Gas");
constexpr uint32_t kNote = hashString("Note");
constexpr uint32_t kSeedBaobab = hashString("SeedBaobab");
constexpr MissionPatternRecord kEnd{0, 0, 0, 1};

// N cells of one kind in a row, `step` columns apart, then the end record.
template <int N>
constexpr std::array<MissionPatternRecord, N + 1> rowOf(int32_t x, int32_t step, int32_t y, uint32_t type)
{
    std::array<MissionPatternRecord, N + 1> t{};
    for (int i = 0; i < N; ++i)
        t[i] = {x + i * step, y, type, 0};
    t[N] = kEnd;
    return t;
}

constexpr MissionPatternRecord kLightBulbA[] = {{31, 20, kBulb, 0}, {38, 20, kBulb, 0}, kEnd};
constexpr MissionPatternRecord kMakeResistanceA[] = {{58, 41, kHeater, 0}, kEnd};
constexpr MissionPatternRecord kMakeResistanceB[] = {{60, 58, kSteam, 0}, kEnd};
constexpr MissionPatternRecord kMakeSparkA[] = {{58, 41, kHeater, 0}, kEnd};
constexpr MissionPatternRecord kMakeCoolerA[] = {{30, 42, kWater, 0}, {90, 15, kIce, 0}, kEnd};
constexpr MissionPatternRecord kMakeCoolerB[] = {{91, 9, kCooler, 0}, kEnd};
constexpr MissionPatternRecord kLightVolcanoA[] = {{57, 20, kLava, 0},
                                                   {60, 17, kLava, 0},
                                                   {61, 29, kLava, 0},
                                                   {61, 33, kLava, 0},
                                                   {64, 16, kLava, 0},
                                                   {64, 20, kLava, 0},
                                                   kEnd};
constexpr MissionPatternRecord kWaterDestiA[] = {{72, 21, kIce, 0}, {73, 20, kIce, 0}, kEnd};
constexpr MissionPatternRecord kWaterDestiB[] = {{46, 29, kHeater, 0}, {54, 1, kPower, 0}, {72, 17, kCooler, 0}, kEnd};
constexpr MissionPatternRecord kMakeOilLampA[] = {{79, 9, kOilBurning, 0},   {84, 10, kOilBurning, 0},
                                                  {93, 10, kOilBurning, 0},  {100, 9, kOilBurning, 0},
                                                  {107, 10, kOilBurning, 0}, kEnd};
constexpr auto kMakeOilLampB = rowOf<12>(78, 3, 39, kMulti);
constexpr MissionPatternRecord kMakeBatteryA[] = {{56, 24, kBulb, 0}, {108, 21, kHeater, 0}, kEnd};
constexpr auto kWaterCascadeA = rowOf<8>(5, 3, 65, kMulti);
constexpr MissionPatternRecord kWaterCascadeB[] = {
    {98, 37, kWater, 0}, {98, 38, kWater, 0}, {99, 37, kWater, 0}, {99, 38, kWater, 0}, kEnd};
constexpr MissionPatternRecord kVirusGameA[] = {{25, 14, kAVirus, 0}, kEnd};
constexpr MissionPatternRecord kWaterDamA[] = {{64, 26, kWater, 0}, {65, 26, kWater, 0}, kEnd};
constexpr MissionPatternRecord kPaintEarthA[] = {
    {30, 32, kWater, 0}, {37, 21, kWater, 0}, {44, 11, kWater, 0}, {51, 21, kWater, 0}, {54, 32, kWater, 0},
    {56, 59, kWater, 0}, {74, 50, kWater, 0}, {77, 18, kWater, 0}, {78, 38, kWater, 0}, kEnd};
constexpr MissionPatternRecord kCloggedFactoryA[] = {
    {50, 11, kWater, 0},  {61, 11, kWater, 0},  {76, 11, kWater, 0},  {89, 11, kWater, 0},  {94, 11, kWater, 0},
    {109, 14, kMulti, 0}, {111, 14, kMulti, 0}, {113, 14, kMulti, 0}, {114, 2, kMulti, 0},  {114, 4, kMulti, 0},
    {114, 6, kMulti, 0},  {114, 8, kMulti, 0},  {114, 10, kMulti, 0}, {114, 12, kMulti, 0}, kEnd};
constexpr MissionPatternRecord kCloggedFactoryB[] = {{101, 57, kAcidSteam, 0}, kEnd};
constexpr MissionPatternRecord kCloggedFactoryC[] = {{102, 57, kAcidSteam, 0}, kEnd};
constexpr MissionPatternRecord kAlchemyA[] = {
    {15, 11, kSteam, 0}, {15, 24, kOil, 0}, {15, 37, kGas, 0}, {110, 51, kAcidSteam, 0}, kEnd};
constexpr MissionPatternRecord kMakeDiodeB[] = {{71, 22, kMetal, 0}, kEnd};
constexpr MissionPatternRecord kPortalSongA[] = {{54, 50, kMetal, 0}, kEnd};
constexpr MissionPatternRecord kChristmasLightsB[] = {{103, 35, kBulb, 0}, kEnd};
constexpr MissionPatternRecord kComposeA[] = {{88, 43, kNote, 0}, {92, 43, kNote, 0}, {96, 43, kNote, 0}, kEnd};
constexpr auto kFindTreeA = rowOf<18>(51, 1, 24, kSeedBaobab);
constexpr MissionPatternRecord kEightBallB[] = {
    {73, 8, kBulb, 0}, {45, 9, kBulb, 0}, {23, 14, kBulb, 0}, {97, 14, kBulb, 0}, kEnd};

constexpr StoryTable kTables[] = {
    {"MakeMetalBox", 'A', kMapMakeMetalBoxA},
    {"LightBulb", 'A', kLightBulbA},
    {"MakeResistance", 'A', kMakeResistanceA},
    {"MakeResistance", 'B', kMakeResistanceB},
    {"MakeSpark", 'A', kMakeSparkA},
    {"MakeCooler", 'A', kMakeCoolerA},
    {"MakeCooler", 'B', kMakeCoolerB},
    {"LightVolcano", 'A', kLightVolcanoA},
    {"WaterDesti", 'A', kWaterDestiA},
    {"WaterDesti", 'B', kWaterDestiB},
    {"MakeOilLamp", 'A', kMakeOilLampA},
    {"MakeOilLamp", 'B', kMakeOilLampB.data()},
    {"MakeBattery", 'A', kMakeBatteryA},
    {"WaterCascade", 'A', kWaterCascadeA.data()},
    {"WaterCascade", 'B', kWaterCascadeB},
    {"VirusGame", 'A', kVirusGameA},
    {"WaterDam", 'A', kWaterDamA},
    {"PaintEarth", 'A', kPaintEarthA},
    {"PaintEarth", 'B', kMapPaintEarthB},
    {"PaintEarth", 'C', kMapPaintEarthC},
    {"PaintEarth", 'D', kMapPaintEarthD},
    {"PaintEarth", 'E', kMapPaintEarthE},
    {"CloggedFactory", 'A', kCloggedFactoryA},
    {"CloggedFactory", 'B', kCloggedFactoryB},
    {"CloggedFactory", 'C', kCloggedFactoryC},
    {"Alchemy", 'A', kAlchemyA},
    {"MakeDiode", 'A', kMapMakeDiodeA},
    {"MakeDiode", 'B', kMakeDiodeB},
    {"PortalSong", 'A', kPortalSongA},
    {"ChristmasLights", 'A', kMapChristmasLightsA},
    {"ChristmasLights", 'B', kChristmasLightsB},
    {"Compose", 'A', kComposeA},
    {"FindTree", 'A', kFindTreeA.data()},
    {"EightBall", 'A', kMapEightBallA},
    {"EightBall", 'B', kEightBallB},
};

using namespace term;
using WE = WorldEvent;
using DC = DayCounter;

// One row per mission class, in day order.
// clang-format off
constexpr MissionRow kRows[] = {
    // Day 1
    {.className = "MakeMud", .day = 1, .nameKey = "MakeMudName", .briefingKey = "MakeMudBriefing", .delay = 3,
     .test = {made("Mud")}, .points = 50, .rewardKey = "MakeMud", .element = "Mud"},
    {.className = "MakeSand", .day = 1, .nameKey = "MakeSandName", .briefingKey = "MakeSandBriefing", .delay = 3,
     .test = {made("Sand")}, .points = 50, .rewardKey = "MakeSand", .element = "Sand"},
    // Day 2
    {.className = "DiscoveredFlower", .day = 2, .nameKey = "MakeFlowerName", .briefingKey = "MakeFlowerBriefing",
     .delay = 10, .test = {made("FlowerCenter")}, .points = 50, .rewardKey = "DiscoverFlower"},
    {.className = "DoZoom", .day = 2, .nameKey = "UseZoomName", .briefingKey = "UseZoomBriefing", .delay = 0,
     .test = {zoomDone}, .points = 50, .rewardKey = "DoZoom", .clearZoom = true},
    // Day 3
    {.className = "DiscoveredCloud", .day = 3, .nameKey = "MakeCloudName", .briefingKey = "MakeCloudBriefing",
     .delay = 8, .test = {made("Cloud")}, .points = 50, .rewardKey = "DiscoveredCloud", .element = "Steam"},
    {.className = "DiscoveredElectro", .day = 3, .nameKey = "MakeElectroName", .briefingKey = "MakeElectroBriefing",
     .delay = 0, .test = {made("Electro")}, .points = 50, .rewardKey = "DiscoveredElectro", .element = "Electro"},
    // Day 4
    {.className = "SaveUniverse", .day = 4, .nameKey = "SaveUniverseName", .briefingKey = "SaveUniverseBriefing",
     .delay = 0, .test = {event(WE::Saved)}, .points = 33, .rewardKey = "SaveUniverse"},
    {.className = "ResetUniverse", .day = 4, .nameKey = "ResetUniverseName", .briefingKey = "ResetUniverseBriefing",
     .delay = 0, .test = {event(WE::Reset)}, .points = 33, .rewardKey = "ResetUniverse"},
    {.className = "LoadUniverse", .day = 4, .nameKey = "LoadUniverseName", .briefingKey = "LoadUniverseBriefing",
     .delay = 0, .test = {event(WE::Loaded)}, .points = 34, .rewardKey = "LoadUniverse"},
    // Day 5
    {.className = "DiscoverFire", .day = 5, .nameKey = "MakeFireName", .briefingKey = "MakeFireBriefing", .delay = 5,
     .test = {world("Day5"), made("Fire")}, .points = 45, .rewardKey = "DiscoverFire", .element = "Fire"},
    {.className = "DiscoverOil", .day = 5, .nameKey = "MakeOilName", .briefingKey = "MakeOilBriefing", .delay = 5,
     .test = {made("Oil")}, .points = 45, .rewardKey = "DiscoverOil", .element = "Oil"},
    {.className = "BurnOil", .day = 5, .nameKey = "BurnOilName", .briefingKey = "BurnOilBriefing", .delay = 5,
     .test = {made("OilBurning")}, .points = 10, .rewardKey = "BurnOil", .background = "OilPool"},
    // Day 6
    {.className = "MinedStoneInMountain", .day = 6, .nameKey = "MineMetalName", .briefingKey = "MineMetalBriefing",
     .delay = 3, .test = {event(WE::StoneMined)}, .points = 33, .rewardKey = "MinedStoneInMountain",
     .element = "Metal", .clearEvent = WE::StoneMined},
    {.className = "MakeTree", .day = 6, .nameKey = "MakeTreeName", .briefingKey = "MakeTreeBriefing", .delay = 10,
     .test = {made("TreeCenter")}, .points = 34, .rewardKey = "MakeTree", .element = "Wood"},
    {.className = "MakeLava", .day = 6, .nameKey = "MakeLavaName", .briefingKey = "MakeLavaBriefing", .delay = 3,
     .test = {made("Lava")}, .points = 33, .rewardKey = "MakeLava", .element = "Lava"},
    // Day 7
    {.className = "MakeMetalBox", .day = 7, .nameKey = "MetalBoxName", .briefingKey = "MetalBoxBriefing", .delay = 3,
     .test = {world("Day7"), allMatch(kMapMakeMetalBoxA)}, .points = 50, .rewardKey = "MakeMetalBox", .tool = "Line"},
    {.className = "MetalElectro", .day = 7, .nameKey = "MakeElectricityName",
     .briefingKey = "MakeElectricityBriefing", .delay = 5, .test = {event(WE::MetalElectrified)}, .points = 50,
     .rewardKey = "MetalElectro", .background = "ElectroShow"},
    // Day 8
    {.className = "LightBulb", .day = 8, .nameKey = "UseBulbName", .briefingKey = "UseBulbBriefing", .delay = 5,
     .test = {world("Day8"), lightOn, sunOff, bulbsLit(kLightBulbA)}, .points = 100, .rewardKey = "LightBulb",
     .element = "Power"},
    // Day 9
    {.className = "MakeResistance", .day = 9, .nameKey = "MakeHeaterName", .briefingKey = "MakeHeaterBriefing",
     .delay = 3, .test = {world("Day9"), allPowered(kMakeResistanceA), allMatch(kMakeResistanceB)}, .points = 50,
     .rewardKey = "MakeResistance", .element = "Heater"},
    {.className = "MakeSpark", .day = 9, .nameKey = "MakeSparkName", .briefingKey = "MakeSparkBriefing", .delay = 5,
     .test = {lightOn, event(WE::SparkMade), allPowered(kMakeSparkA)}, .points = 50, .rewardKey = "MakeSpark",
     .element = "Bright", .clearEvent = WE::SparkMade},
    // Day 10
    {.className = "MakeCooler", .day = 10, .nameKey = "MakeCoolerName", .briefingKey = "MakeCoolerBriefing",
     .delay = 3, .test = {world("Day10"), allMatch(kMakeCoolerA), allPowered(kMakeCoolerB)}, .points = 50,
     .rewardKey = "MakeCooler", .element = "Cooler"},
    {.className = "MakeIce", .day = 10, .nameKey = "MakeIceName", .briefingKey = "MakeIceBriefing", .delay = 3,
     .test = {made("Ice"), temperatureNormal}, .points = 50, .rewardKey = "MakeIce", .element = "Ice",
     .background = "Polar"},
    // Day 11
    {.className = "LightVolcano", .day = 11, .nameKey = "LightVolcanoName", .briefingKey = "LightVolcanoBriefing",
     .delay = 3, .test = {world("Day11"), allMatch(kLightVolcanoA)}, .points = 50, .rewardKey = "LightVolcano"},
    {.className = "BoilWater", .day = 11, .nameKey = "BoilWaterName", .briefingKey = "BoilWaterBriefing", .delay = 3,
     .test = {counterAtLeast(DC::BoiledWater, 40)}, .points = 50, .rewardKey = "BoilWater",
     .zeroCounter = DC::BoiledWater, .background = "WaterCycle"},
    // Day 12
    {.className = "MakeGlass", .day = 12, .nameKey = "MakeGlassName", .briefingKey = "MakeGlassBriefing", .delay = 3,
     .test = {made("Glass")}, .points = 40, .rewardKey = "MakeGlass", .element = "Glass"},
    {.className = "MakeSnow", .day = 12, .nameKey = "MakeSnowName", .briefingKey = "MakeSnowBriefing", .delay = 3,
     .test = {made("Snow")}, .points = 40, .rewardKey = "MakeSnow"},
    {.className = "FreezeLake", .day = 12, .nameKey = "FreezeLakeName", .briefingKey = "FreezeLakeBriefing",
     .delay = 3, .test = {world("Day12"), counterAtLeast(DC::FrozenWater, 70)}, .points = 20,
     .rewardKey = "FreezeLake", .zeroCounter = DC::FrozenWater},
    // Day 13
    {.className = "WaterDesti", .day = 13, .nameKey = "WaterDistiName", .briefingKey = "WaterDistiBriefing",
     .delay = 3, .test = {world("Day13"), allMatch(kWaterDestiA), allPowered(kWaterDestiB)}, .points = 50,
     .rewardKey = "WaterDesti", .element = "Acid"},
    {.className = "MeltSnow", .day = 13, .nameKey = "MeltSnowName", .briefingKey = "MeltSnowBriefing", .delay = 3,
     .test = {counterAtLeast(DC::MeltedSnow, 30)}, .points = 50, .rewardKey = "MeltSnow"},
    // Days 14 to 19
    {.className = "MakeOilLamp", .day = 14, .nameKey = "MakeOilLampName", .briefingKey = "MakeOilLampBriefing",
     .delay = 3, .test = {world("Day14"), allMatch(kMakeOilLampA), carry(kMakeOilLampB.data(), "Oil")}, .points = 100,
     .rewardKey = "MakeOilLamp", .element = "Multi"},
    {.className = "UseFill", .day = 15, .nameKey = "UseFillName", .briefingKey = "UseFillBriefing", .delay = 3,
     .test = {event(WE::FillUsed)}, .points = 100, .rewardKey = "UseFill"},
    {.className = "MakeBattery", .day = 16, .nameKey = "MakeBatteryName", .briefingKey = "MakeBatteryBriefing",
     .delay = 3, .test = {world("Day16"), allPowered(kMakeBatteryA)}, .points = 100, .rewardKey = "MakeBattery",
     .element = "Wall"},
    {.className = "WaterCascade", .day = 17, .nameKey = "MakeWaterfallName", .briefingKey = "MakeWaterfallBriefing",
     .delay = 3, .test = {world("Day17"), carry(kWaterCascadeA.data(), "Water"), allMatch(kWaterCascadeB)},
     .points = 100, .rewardKey = "WaterCascade"},
    {.className = "VirusGame", .day = 18, .nameKey = "VirusGameName", .briefingKey = "VirusGameBriefing", .delay = 3,
     .test = {world("Day18"), allMatch(kVirusGameA)}, .points = 100, .rewardKey = "VirusGame", .element = "AVirus"},
    {.className = "WaterDam", .day = 19, .nameKey = "WaterDamName", .briefingKey = "WaterDamBriefing", .delay = 10,
     .test = {allMatch(kWaterDamA)}, .points = 100, .rewardKey = "WaterDam"},
    // Day 20
    {.className = "KaBoom", .day = 20, .nameKey = "KaBoomName", .briefingKey = "KaBoomBriefing", .delay = 3,
     .test = {world("Day20"), counterAtLeast(DC::GasIgnitions, 100), temperatureViewOff}, .points = 50,
     .rewardKey = "KaBoom", .element = "Gas", .zeroCounter = DC::GasIgnitions},
    {.className = "AcidRain", .day = 20, .nameKey = "MakeAcidRainName", .briefingKey = "MakeAcidRainBriefing",
     .delay = 3, .test = {counterAtLeast(DC::AcidRain, 10)}, .points = 50, .rewardKey = "AcidRain"},
    // Days 21 to 31
    {.className = "UseReplace", .day = 21, .nameKey = "UseReplaceName", .briefingKey = "UseReplaceBriefing",
     .delay = 3, .test = {world("Day21"), event(WE::ReplaceUsed)}, .points = 100, .rewardKey = "UseReplace"},
    {.className = "PaintEarth", .day = 22, .nameKey = "TheEarthName", .briefingKey = "TheEarthBriefing", .delay = 3,
     .test = {world("Day22"), allMatch(kPaintEarthA), allMatch(kMapPaintEarthB, kMapPaintEarthC, kMapPaintEarthD, kMapPaintEarthE)},
     .points = 100, .rewardKey = "PaintEarth"},
    {.className = "CloggedFactory", .day = 23, .nameKey = "CloggedFactoryName",
     .briefingKey = "CloggedFactoryBriefing", .delay = 3,
     .test = {world("Day23"), allMatch(kCloggedFactoryA), allMatch(kCloggedFactoryB, kCloggedFactoryC)},
     .points = 100, .rewardKey = "CloggedFactory"},
    {.className = "Alchemy", .day = 24, .nameKey = "AlchemyName", .briefingKey = "AlchemyBriefing", .delay = 3,
     .test = {world("Day24"), allMatch(kAlchemyA)}, .points = 100, .rewardKey = "Alchemy"},
    {.className = "MakeDiode", .day = 25, .nameKey = "MakeDiodeName", .briefingKey = "MakeDiodeBriefing", .delay = 3,
     .test = {allMatch(kMapMakeDiodeA), allPowered(kMakeDiodeB)}, .points = 100, .rewardKey = "MakeDiode"},
    {.className = "PortalSong", .day = 26, .nameKey = "PortalSongName", .briefingKey = "PortalSongBriefing",
     .delay = 3, .test = {world("Day26"), allPowered(kPortalSongA)}, .points = 100, .rewardKey = "PortalSong"},
    {.className = "ChristmasLights", .day = 27, .nameKey = "ChristmasName", .briefingKey = "ChristmasBriefing",
     .delay = 0, .test = {world("Day27"), lightOn, allMatch(kMapChristmasLightsA), allPowered(kChristmasLightsB)},
     .points = 100, .rewardKey = "ChristmasLights"},
    // Pays what "Compose" holds and announces what "WaxCycle" holds.
    {.className = "Compose", .day = 28, .nameKey = "ComposeName", .briefingKey = "ComposeBriefing", .delay = 3,
     .test = {compose(kComposeA)}, .points = 100, .rewardKey = "Compose", .announceKey = "WaxCycle"},
    {.className = "FindTree", .day = 29, .nameKey = "FindTreeName", .briefingKey = "FindTreeBriefing", .delay = 5,
     .test = {countAtLeast(kFindTreeA.data(), 1)}, .points = 100, .rewardKey = "FindTree"},
    {.className = "EightBall", .day = 30, .nameKey = "EightBallName", .briefingKey = "EightBallBriefing", .delay = 5,
     .test = {allMatch(kMapEightBallA), anyPowered(kEightBallB)}, .points = 100, .rewardKey = "EightBall"},
    // The last day never ends by its mission: only the goals window's skip
    // completes it, and its reward does nothing.
    {.className = "BlockBeta", .day = 31, .nameKey = "BlockBetaName", .briefingKey = "BlockBetaBriefing", .delay = 1,
     .test = {never}},
};
// clang-format on

}  // namespace

std::span<const StoryTable> storyTables()
{
    return kTables;
}

MissionPattern storyTable(const char* mission, char letter)
{
    if (!mission)
        return nullptr;
    for (const StoryTable& t : kTables)
        if (t.letter == letter && std::strcmp(t.mission, mission) == 0)
            return t.records;
    return nullptr;
}

int storyTableSize(MissionPattern table)
{
    int n = 0;
    while (table && !(table[n].end & 0xff))
        ++n;
    return n;
}

std::span<const MissionRow> storyMissionRows()
{
    return kRows;
}

const MissionRow* storyMissionRow(const std::string& className)
{
    for (const MissionRow& row : kRows)
        if (className == row.className)
            return &row;
    return nullptr;
}

AchievementBase* makeStoryMission(const std::string& className)
{
    const MissionRow* row = storyMissionRow(className);
    if (!row) {
        LOG << "no story mission is called" << className;
        return nullptr;
    }
    return new RowMission(*row);
}

void registerStoryGoals(AchievementManager& goals)
{
    goals.setEntryMissions(
        0, {[]() { return makeStoryMission("MakeMud"); }, []() { return makeStoryMission("MakeSand"); }});
    goals.setFirstStep(0, []() { return makeStoryStep("CheckLv2"); });
    // After its end the story opens its last day (BlockBeta) again.
    goals.setLastDay(0, kStoryLastDay);
}
