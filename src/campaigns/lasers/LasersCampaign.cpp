#include "campaigns/lasers/LasersCampaign.h"

#include "profile/Profile.h"

namespace {

using namespace runs;

CAMPAIGN_TABLE(kLasers, cell(3, 9, "Laser"), cell(23, 9, "Laser"), cell(43, 9, "Laser"), cell(93, 23, "Laser"),
               cell(10, 29, "Laser"), cell(30, 29, "Laser"), cell(43, 39, "Laser"), cell(93, 45, "Laser"),
               cell(50, 46, "Laser"), cell(10, 49, "Laser"), cell(30, 49, "Laser"), cell(50, 63, "Laser"),
               cell(95, 64, "Laser"), cell(10, 68, "Laser"), cell(30, 68, "Laser"));
CAMPAIGN_TABLE(kReflect, cell(51, 15, "LaserBeam"));
CAMPAIGN_TABLE(kExtinction, row(53, 56, 59, "LaserBeam"), cell(57, 59, "Bright"), row(58, 62, 59, "LaserBeam"),
               row(63, 64, 59, "Bright"), row(65, 69, 59, "LaserBeam"), cell(70, 59, "Bright"),
               row(71, 72, 59, "LaserBeam"));
CAMPAIGN_TABLE(kGems, cell(23, 61, "Ruby"), cell(45, 61, "Sapphire"), cell(71, 61, "Amatist"),
               cell(95, 61, "Obsidian"));
CAMPAIGN_TABLE(kCitrine, cell(23, 64, "Citrine"));
CAMPAIGN_TABLE(kPoweredLeds, cell(60, 40, "LedGreen"), row(59, 61, 41, "LedGreen"));
CAMPAIGN_TABLE(kPump, cell(35, 32, "PipeIn"));
CAMPAIGN_TABLE(kPipe, column(35, 21, 30, "Pipe"), cell(36, 21, "Pipe"), row(36, 37, 20, "Pipe"),
               row(37, 80, 19, "Pipe"), column(80, 20, 28, "Pipe"), row(50, 80, 29, "Pipe"), column(50, 30, 38, "Pipe"),
               row(50, 80, 39, "Pipe"), column(80, 40, 49, "Pipe"), row(81, 88, 49, "Pipe"));
CAMPAIGN_TABLE(kDrainOutlet, cell(89, 49, "PipeOut"));
CAMPAIGN_TABLE(kDrainArea, column(97, 43, 46, "LedRed"), column(98, 40, 46, "LedRed"), column(99, 41, 46, "LedRed"));
CAMPAIGN_TABLE(kFixRowRight, row(66, 73, 12, "LedRed"));
CAMPAIGN_TABLE(kFixRowLeft, row(43, 49, 12, "LedRed"));
CAMPAIGN_TABLE(kFixInlet, cell(100, 14, "PipeIn"));
CAMPAIGN_TABLE(kColorCode, column(18, 38, 43, "Tnt"), column(19, 38, 43, "Tnt"), column(20, 38, 43, "Tnt"),
               column(21, 38, 39, "Metal"), column(21, 40, 43, "Tnt"), column(22, 38, 43, "Tnt"),
               column(23, 38, 43, "Tnt"), column(24, 38, 43, "Tnt"));
CAMPAIGN_TABLE(kGasSensor, cell(42, 64, "GasSensor"));
CAMPAIGN_TABLE(kInsulator, row(10, 18, 10, "Insulator"), row(10, 18, 11, "Insulator"));
CAMPAIGN_TABLE(kTntTesting, row(97, 98, 10, "Tnt"), row(97, 98, 11, "Tnt"));

// clang-format off
constexpr CampaignMissionRow kMissions[] = {
    {.className = "Contra_PlaceTheLasers", .level = 1, .textKey = "Contra_PlaceTheLasers",
     .rewardKey = "Contra_PlaceTheLasers", .delay = 5, .points = 100,
     .test = [] { return patternAllMatch(kLasers.data()); }},
    {.className = "Contra_ReflectAndProtect", .level = 2, .textKey = "Contra_ReflectAndProtect",
     .rewardKey = "Contra_ReflectAndProtect", .delay = 5, .points = 100,
     .test = [] { return patternAllMatch(kReflect.data()); }},
    {.className = "Contra_LaserExctinction", .level = 3, .textKey = "Contra_LaserExctinction",
     .rewardKey = "Contra_LaserExctinction", .delay = 5, .points = 100,
     .test = [] { return patternCountAtLeast(kExtinction.data(), 1); }},
    {.className = "Contra_LaserLab", .level = 4, .textKey = "Contra_LaserLab", .rewardKey = "Contra_LaserLab",
     .delay = 5, .points = 100, .test = [] { return patternAllMatch(kGems.data()); }},
    {.className = "Contra_LightTheCity", .level = 5, .textKey = "Contra_LightTheCity",
     .rewardKey = "Contra_LightTheCity", .delay = 5, .points = 100,
     .test = [] { return patternAllMatch(kCitrine.data()); }},
    {.className = "Contra_LaserPowered", .level = 6, .textKey = "Contra_LaserPowered",
     .rewardKey = "Contra_LaserPowered", .delay = 5, .points = 100,
     .test = [] { return patternAllLedsLit(kPoweredLeds.data()); }},
    {.className = "Contra_Pump", .level = 7, .textKey = "Contra_Pump", .rewardKey = "Contra_Pump", .delay = 4,
     .points = 33, .test = [] { return patternAllMatch(kPump.data()); }},
    {.className = "Contra_Pipe", .level = 7, .textKey = "Contra_Pipe", .rewardKey = "Contra_Pipe", .delay = 4,
     .points = 33, .test = [] { return patternAllMatch(kPipe.data()); }},
    {.className = "Contra_Drain", .level = 7, .textKey = "Contra_Drain", .rewardKey = "Contra_Drain", .delay = 4,
     .points = 34, .test = [] { return patternAllMatch(kDrainOutlet.data()) && !patternAllEmpty(kDrainArea.data()); }},
    {.className = "Contra_FixTheSystem", .level = 8, .textKey = "Contra_FixTheSystem",
     .rewardKey = "Contra_FixTheSystem", .delay = 4, .points = 100,
     .test = [] {
         return !patternAllEmpty(kFixRowRight.data()) && !patternAllEmpty(kFixRowLeft.data()) &&
             patternAllMatch(kFixInlet.data());
     }},
    {.className = "Contra_ColorCode", .level = 9, .textKey = "Contra_ColorCode", .rewardKey = "Contra_ColorCode",
     .delay = 4, .points = 100, .test = [] { return patternNoneMatch(kColorCode.data()); }},
    {.className = "Contra_GasSensor", .level = 10, .textKey = "Contra_GasSensor", .rewardKey = "Contra_GasSensor",
     .delay = 4, .points = 33, .test = [] { return patternAllMatch(kGasSensor.data()); }},
    {.className = "Contra_Insulator", .level = 10, .textKey = "Contra_Insulator", .rewardKey = "Contra_Insulator",
     .delay = 4, .points = 33, .test = [] { return patternAllMatch(kInsulator.data()); }},
    {.className = "Contra_TntTesting", .level = 10, .textKey = "Contra_TntTesting",
     .rewardKey = "Contra_TntTesting", .delay = 4, .points = 34,
     .test = [] { return patternNoneMatch(kTntTesting.data()); }},
};

constexpr EndOrder kLastEnd{EndAction::Day, EndAction::Outro, EndAction::Grant, EndAction::Finished,
                            EndAction::Save};

// Every step of this campaign pays whether or not its level was reached
// before.
constexpr CampaignLevelRow kLevels[] = {
    {.level = 1, .missions = {"Contra_PlaceTheLasers"}, .step = "Contra_CheckLv13", .threshold = 1200,
     .rewardKey = "Contra_CheckLv13", .boardKey = "Contra_CheckLv13", .grant = StepGrant::Always},
    {.level = 2, .missions = {"Contra_ReflectAndProtect"}, .step = "Contra_CheckLv14", .threshold = 1300,
     .rewardKey = "Contra_CheckLv14", .boardKey = "Contra_CheckLv14", .grant = StepGrant::Always},
    {.level = 3, .missions = {"Contra_LaserExctinction"}, .step = "Contra_CheckLv15", .threshold = 1400,
     .rewardKey = "Contra_CheckLv15", .boardKey = "Contra_CheckLv15", .grant = StepGrant::Always},
    {.level = 4, .missions = {"Contra_LaserLab"}, .step = "Contra_CheckLv16", .threshold = 1500,
     .rewardKey = "Contra_CheckLv16", .boardKey = "Contra_CheckLv16", .grant = StepGrant::Always},
    {.level = 5, .missions = {"Contra_LightTheCity"}, .step = "Contra_CheckLv17", .threshold = 1600,
     .rewardKey = "Contra_CheckLv17", .boardKey = "Contra_CheckLv17", .grant = StepGrant::Always},
    {.level = 6, .missions = {"Contra_LaserPowered"}, .step = "Contra_CheckLv18", .threshold = 1700,
     .rewardKey = "Contra_CheckLv18", .boardKey = "Contra_CheckLv18", .grant = StepGrant::Always},
    {.level = 7, .missions = {"Contra_Pump", "Contra_Pipe", "Contra_Drain"}, .step = "Contra_CheckLv19",
     .threshold = 1800, .rewardKey = "Contra_CheckLv19", .boardKey = "Contra_CheckLv19", .grant = StepGrant::Always},
    {.level = 8, .missions = {"Contra_FixTheSystem"}, .step = "Contra_CheckLv20", .threshold = 1900,
     .rewardKey = "Contra_CheckLv20", .boardKey = "Contra_CheckLv20", .grant = StepGrant::Always},
    {.level = 9, .missions = {"Contra_ColorCode"}, .step = "Contra_CheckLv21", .threshold = 2000,
     .rewardKey = "Contra_CheckLv21", .boardKey = "Contra_CheckLv21", .grant = StepGrant::Always},
    {.level = 10, .missions = {"Contra_GasSensor", "Contra_Insulator", "Contra_TntTesting"},
     .step = "Contra_CheckLv22", .threshold = 2100, .rewardKey = "Contra_CheckLv22", .boardKey = "Contra_CheckLv22",
     .grant = StepGrant::Always, .order = kLastEnd},
};
// clang-format on

constexpr CampaignTable kTables[] = {
    {"Lasers", kLasers.data(), "Contra_PlaceTheLasers", 'A'},
    {"Reflect", kReflect.data(), "Contra_ReflectAndProtect", 'A'},
    {"Extinction", kExtinction.data(), "Contra_LaserExctinction", 'A'},
    {"Gems", kGems.data(), "Contra_LaserLab", 'A'},
    {"Citrine", kCitrine.data(), "Contra_LightTheCity", 'A'},
    {"PoweredLeds", kPoweredLeds.data(), "Contra_LaserPowered", 'A'},
    {"Pump", kPump.data(), "Contra_Pump", 'A'},
    {"Pipe", kPipe.data(), "Contra_Pipe", 'A'},
    {"DrainOutlet", kDrainOutlet.data(), "Contra_Drain", 'A'},
    {"DrainArea", kDrainArea.data(), "Contra_Drain", 'B'},
    {"FixRowRight", kFixRowRight.data(), "Contra_FixTheSystem", 'A'},
    {"FixRowLeft", kFixRowLeft.data(), "Contra_FixTheSystem", 'B'},
    {"FixInlet", kFixInlet.data(), "Contra_FixTheSystem", 'C'},
    {"ColorCode", kColorCode.data(), "Contra_ColorCode", 'A'},
    {"GasSensor", kGasSensor.data(), "Contra_GasSensor", 'A'},
    {"Insulator", kInsulator.data(), "Contra_Insulator", 'A'},
    {"TntTesting", kTntTesting.data(), "Contra_TntTesting", 'A'},
};

constexpr Campaign kLasersAndPipes{.name = "LasersAndPipes",
                                   .mode = 7,
                                   .completionIndex = CampaignIndex::LasersAndPipes,
                                   .levels = kLevels,
                                   .missions = kMissions,
                                   .tables = kTables};

}  // namespace

const Campaign& lasersCampaign()
{
    return kLasersAndPipes;
}
