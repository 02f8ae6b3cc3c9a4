#include "campaigns/usermade/UserMadeCampaign.h"

#include "profile/Profile.h"
#include "world/World.h"

namespace {

using namespace runs;

// Five rings of 13 columns side by side, each column one or two runs.
constexpr std::array<CellRun, 110> ringRuns()
{
    struct Column {
        int32_t y0, y1, y2, y3;  // y2 > y3: one run only
    };
    constexpr Column shape[13] = {{50, 52, 1, 0},   {48, 54, 1, 0},   {47, 47, 55, 55}, {46, 46, 56, 56},
                                  {46, 46, 56, 56}, {45, 46, 56, 57}, {45, 46, 56, 57}, {45, 46, 56, 57},
                                  {46, 46, 56, 56}, {46, 46, 56, 56}, {47, 47, 55, 55}, {48, 54, 1, 0},
                                  {50, 52, 1, 0}};
    constexpr uint32_t led = hashString("LedYellow");
    std::array<CellRun, 110> list{};
    size_t i = 0;
    for (int32_t x0 : {17, 34, 51, 68, 85})
        for (int32_t c = 0; c < 13; ++c) {
            list[i++] = {x0 + c, x0 + c, shape[c].y0, shape[c].y1, led};
            if (shape[c].y2 <= shape[c].y3)
                list[i++] = {x0 + c, x0 + c, shape[c].y2, shape[c].y3, led};
        }
    if (i != list.size())
        throw "the rings have another shape";
    return list;
}

// Glass at every even x from 28 to 90 on row 40.
constexpr std::array<CellRun, 32> glassRuns()
{
    std::array<CellRun, 32> list{};
    for (int32_t i = 0; i < 32; ++i)
        list[static_cast<size_t>(i)] = cell(28 + 2 * i, 40, "Glass");
    return list;
}

CAMPAIGN_TABLE(kLevel1, cell(61, 15, "Emerald"));
CAMPAIGN_TABLE(kLevel2, column(50, 54, 60, "Bright"), column(51, 52, 62, "Bright"), column(52, 51, 63, "Bright"),
               column(53, 50, 64, "Bright"), column(54, 49, 54, "Bright"), column(54, 56, 65, "Bright"),
               column(55, 48, 53, "Bright"), column(55, 55, 66, "Bright"), column(56, 48, 52, "Bright"),
               column(56, 54, 66, "Bright"), column(57, 47, 52, "Bright"), column(57, 54, 67, "Bright"),
               column(58, 47, 52, "Bright"), column(58, 54, 56, "Bright"), column(58, 62, 67, "Bright"),
               column(59, 47, 52, "Bright"), column(59, 54, 67, "Bright"), column(60, 47, 52, "Bright"),
               cell(60, 54, "Bright"), column(60, 56, 57, "Bright"), column(60, 62, 67, "Bright"),
               column(61, 47, 52, "Bright"), cell(61, 54, "Bright"), column(61, 56, 57, "Bright"),
               column(61, 63, 67, "Bright"), column(62, 47, 50, "Bright"), cell(62, 52, "Bright"),
               column(62, 56, 57, "Bright"), column(62, 64, 67, "Bright"), column(63, 47, 50, "Bright"),
               column(63, 64, 67, "Bright"), column(64, 47, 50, "Bright"), column(64, 64, 67, "Bright"),
               column(65, 48, 50, "Bright"), column(65, 64, 66, "Bright"), column(66, 48, 50, "Bright"),
               column(66, 64, 66, "Bright"), column(67, 49, 50, "Bright"), column(67, 64, 65, "Bright"),
               cell(68, 50, "Bright"), cell(68, 64, "Bright"));
CAMPAIGN_TABLE(kLevel3Mud, row(27, 91, 42, "Mud"), row(27, 91, 43, "Mud"));
CAMPAIGN_TABLE(kLevel3Wax, row(27, 91, 42, "Wax"), row(27, 91, 43, "Wax"));
inline constexpr auto kNoGlassRuns = glassRuns();
inline constexpr auto kNoGlass = cellTable<cellCount(kNoGlassRuns)>(kNoGlassRuns);
inline constexpr auto kRingRuns = ringRuns();
inline constexpr auto kLevel5 = cellTable<cellCount(kRingRuns)>(kRingRuns);
CAMPAIGN_TABLE(kLedMetal, cell(1, 2, "Metal"), cell(2, 1, "Metal"), cell(2, 3, "Metal"), cell(3, 2, "Metal"));
CAMPAIGN_TABLE(kLedLit, cell(51, 51, "LedYellow"), cell(63, 51, "LedYellow"));
CAMPAIGN_TABLE(kLevel6, row(24, 35, 30, "Cooler"), row(86, 97, 33, "Cooler"));
CAMPAIGN_TABLE(kNoPixel, cell(58, 40, "LedRed"), cell(58, 42, "LedRed"), cell(58, 43, "LedRed"), cell(59, 41, "LedRed"),
               cell(60, 40, "LedRed"), cell(60, 42, "LedRed"), cell(60, 43, "LedRed"), cell(58, 41, "Metal"),
               cell(59, 40, "Metal"), cell(59, 42, "Tnt"), cell(59, 43, "Tnt"), cell(60, 41, "Tnt"));
CAMPAIGN_TABLE(kBulb, cell(68, 51, "Bulb"));
CAMPAIGN_TABLE(kLevel7, cell(63, 51, "Wall"), cell(64, 51, "Wall"), cell(65, 50, "Wall"), cell(66, 50, "Wall"),
               cell(67, 52, "Wall"), column(68, 53, 54, "Wall"), cell(69, 52, "Wall"), cell(70, 50, "Wall"),
               cell(71, 50, "Wall"), cell(72, 51, "Wall"), cell(73, 51, "Wall"));
CAMPAIGN_TABLE(kLava, cell(61, 18, "Lava"));
CAMPAIGN_TABLE(kLevel8, cell(114, 42, "Power"));
CAMPAIGN_TABLE(kColdSensor, cell(82, 10, "ColdSensor"));
CAMPAIGN_TABLE(kHotSensorLava, cell(115, 54, "Lava"));
CAMPAIGN_TABLE(kWaterSensor, cell(113, 31, "LiquidSensor"));
CAMPAIGN_TABLE(kLevel10, cell(52, 59, "Cooler"), cell(53, 58, "Cooler"), cell(53, 60, "Cooler"), cell(53, 59, "Metal"),
               cell(54, 58, "Metal"), cell(54, 60, "Metal"), cell(54, 59, "Glass"));
CAMPAIGN_TABLE(kLightSensor, cell(85, 23, "LightSensor"));

// Any particle at (20, 5); outside the world (or without one) it is empty.
bool level4Test()
{
    return gWorld && gWorld->at(20, 5) != nullptr;
}

// clang-format off
#define USERMADE(cls, lvl, share, body)                                                                          \
    {.className = cls, .level = lvl, .textKey = cls, .rewardKey = cls, .delay = 3, .points = share, .test = body}

constexpr CampaignMissionRow kMissions[] = {
    USERMADE("UserMade_Level1", 1, 100, [] { return patternAllMatch(kLevel1.data()); }),
    USERMADE("UserMade_Level2", 2, 100, [] { return patternAllMatch(kLevel2.data()); }),
    USERMADE("UserMade_Level3", 3, 50,
             [] { return patternCountAtLeast(kLevel3Mud.data(), 1) || patternCountAtLeast(kLevel3Wax.data(), 1); }),
    USERMADE("UserMade_NoGlassLevel3", 3, 50, [] { return patternNoneMatch(kNoGlass.data()); }),
    USERMADE("UserMade_Level4", 4, 100, level4Test),
    USERMADE("UserMade_Level5", 5, 50, [] { return patternAllMatch(kLevel5.data()); }),
    USERMADE("UserMade_LedLevel5", 5, 50,
             [] { return patternAllMatch(kLedMetal.data()) && patternAllLedsLit(kLedLit.data()); }),
    USERMADE("UserMade_Level6", 6, 50, [] { return patternAllMatch(kLevel6.data()); }),
    USERMADE("UserMade_NoPixelLevel6", 6, 50, [] { return patternNoneMatch(kNoPixel.data()); }),
    USERMADE("UserMade_Level7", 7, 50, [] { return patternAllMatch(kLevel7.data()); }),
    USERMADE("UserMade_BulbLevel7", 7, 50, [] { return patternAllMatchPowered(kBulb.data()); }),
    USERMADE("UserMade_Level8", 8, 50, [] { return patternAllMatch(kLevel8.data()); }),
    USERMADE("UserMade_LavaLevel8", 8, 50, [] { return patternAllMatch(kLava.data()); }),
    // Level 9's three missions give 150 points in all.
    USERMADE("UserMade_ColdSensorLevel9", 9, 50, [] { return patternAllMatchPowered(kColdSensor.data()); }),
    USERMADE("UserMade_HotSensorLevel9", 9, 50, [] { return patternAllMatch(kHotSensorLava.data()); }),
    USERMADE("UserMade_WaterSensorLevel9", 9, 50, [] { return patternAllMatchPowered(kWaterSensor.data()); }),
    USERMADE("UserMade_Level10", 10, 50, [] { return patternNoneMatch(kLevel10.data()); }),
    USERMADE("UserMade_LightSensorLevel10", 10, 50, [] { return patternAllMatchPowered(kLightSensor.data()); }),
};
#undef USERMADE

// The end saves after its finished flag, so the end of the campaign cannot
// be lost to a grant that did not save.
constexpr EndOrder kLastEnd{EndAction::Day, EndAction::Outro, EndAction::Grant, EndAction::Finished,
                            EndAction::Save};

constexpr CampaignLevelRow kLevels[] = {
    {.level = 1, .missions = {"UserMade_Level1"}, .step = "CheckUserMade_Level1", .threshold = 100,
     .rewardKey = "CheckUserMade_Level1", .boardKey = "CheckUserMade_Level1"},
    {.level = 2, .missions = {"UserMade_Level2"}, .step = "CheckUserMade_Level2", .threshold = 200,
     .rewardKey = "CheckUserMade_Level2", .boardKey = "CheckUserMade_Level2"},
    {.level = 3, .missions = {"UserMade_Level3", "UserMade_NoGlassLevel3"}, .step = "CheckUserMade_Level3",
     .threshold = 300, .rewardKey = "CheckUserMade_Level3", .boardKey = "CheckUserMade_Level3"},
    // Makes its successor current before level 5's missions.
    {.level = 4, .missions = {"UserMade_Level4"}, .step = "CheckUserMade_Level4", .threshold = 400,
     .rewardKey = "CheckUserMade_Level4", .boardKey = "CheckUserMade_Level4", .order = ends::stepFirst},
    {.level = 5, .missions = {"UserMade_Level5", "UserMade_LedLevel5"}, .step = "CheckUserMade_Level5",
     .threshold = 500, .rewardKey = "CheckUserMade_Level5", .boardKey = "CheckUserMade_Level5"},
    {.level = 6, .missions = {"UserMade_Level6", "UserMade_NoPixelLevel6"}, .step = "CheckUserMade_Level6",
     .threshold = 600, .rewardKey = "CheckUserMade_Level6", .boardKey = "CheckUserMade_Level6"},
    {.level = 7, .missions = {"UserMade_BulbLevel7", "UserMade_Level7"}, .step = "CheckUserMade_Level7",
     .threshold = 700, .rewardKey = "CheckUserMade_Level7", .boardKey = "CheckUserMade_Level7"},
    {.level = 8, .missions = {"UserMade_LavaLevel8", "UserMade_Level8"}, .step = "CheckUserMade_Level8",
     .threshold = 700, .rewardKey = "CheckUserMade_Level8", .boardKey = "CheckUserMade_Level8"},
    {.level = 9, .missions = {"UserMade_ColdSensorLevel9", "UserMade_HotSensorLevel9", "UserMade_WaterSensorLevel9"},
     .step = "CheckUserMade_Level9", .threshold = 700, .rewardKey = "CheckUserMade_Level9",
     .boardKey = "CheckUserMade_Level9"},
    {.level = 10, .missions = {"UserMade_Level10", "UserMade_LightSensorLevel10"}, .step = "CheckUserMade_Level10",
     .threshold = 700, .rewardKey = "CheckUserMade_Level10", .boardKey = "CheckUserMade_Level10",
     .order = kLastEnd},
};
// clang-format on

constexpr CampaignTable kTables[] = {
    {"Level1", kLevel1.data(), "UserMade_Level1", 'A'},
    {"Level2", kLevel2.data(), "UserMade_Level2", 'A'},
    {"Level3Mud", kLevel3Mud.data(), "UserMade_Level3", 'A'},
    {"Level3Wax", kLevel3Wax.data(), "UserMade_Level3", 'B'},
    {"NoGlass", kNoGlass.data(), "UserMade_NoGlassLevel3", 'A'},
    {"Level5", kLevel5.data(), "UserMade_Level5", 'A'},
    {"LedMetal", kLedMetal.data(), "UserMade_LedLevel5", 'A'},
    {"LedLit", kLedLit.data(), "UserMade_LedLevel5", 'B'},
    {"Level6", kLevel6.data(), "UserMade_Level6", 'A'},
    {"NoPixel", kNoPixel.data(), "UserMade_NoPixelLevel6", 'A'},
    {"Bulb", kBulb.data(), "UserMade_BulbLevel7", 'A'},
    {"Level7", kLevel7.data(), "UserMade_Level7", 'A'},
    {"Lava", kLava.data(), "UserMade_LavaLevel8", 'A'},
    {"Level8", kLevel8.data(), "UserMade_Level8", 'A'},
    {"ColdSensor", kColdSensor.data(), "UserMade_ColdSensorLevel9", 'A'},
    {"HotSensorLava", kHotSensorLava.data(), "UserMade_HotSensorLevel9", 'A'},
    {"WaterSensor", kWaterSensor.data(), "UserMade_WaterSensorLevel9", 'A'},
    {"Level10", kLevel10.data(), "UserMade_Level10", 'A'},
    {"LightSensor", kLightSensor.data(), "UserMade_LightSensorLevel10", 'A'},
};

constexpr Campaign kUserMade{.name = "UserMade",
                             .mode = 6,
                             .completionIndex = CampaignIndex::UserMade,
                             .board = BoardLists::None,
                             .levels = kLevels,
                             .missions = kMissions,
                             .tables = kTables};

}  // namespace

const Campaign& userMadeCampaign()
{
    return kUserMade;
}
