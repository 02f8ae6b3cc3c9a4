#include "campaigns/contraptions/ContraptionsCampaign.h"

#include "profile/Profile.h"

namespace {

using namespace runs;

CAMPAIGN_TABLE(kLedsOnLed, cell(102, 43, "LedGreen"));
CAMPAIGN_TABLE(kLedsOnPower, cell(48, 31, "Power"));
CAMPAIGN_TABLE(kLedRow, column(90, 38, 40, "LedBlue"), column(92, 38, 40, "LedBlue"), column(94, 38, 40, "LedBlue"),
               column(96, 38, 40, "LedBlue"), column(98, 38, 40, "LedBlue"));
CAMPAIGN_TABLE(kSenseLed, cell(60, 61, "LedRed"));
CAMPAIGN_TABLE(kSensors, cell(39, 9, "VeryColdSensor"), cell(50, 9, "ColdSensor"), cell(61, 9, "NormalSensor"),
               cell(72, 9, "HotSensor"), cell(83, 9, "VeryHotSensor"));
CAMPAIGN_TABLE(kSemaphoreLeds, cell(14, 41, "LedGreen"), cell(41, 41, "LedGreen"), cell(68, 41, "LedGreen"),
               cell(95, 41, "LedGreen"));
CAMPAIGN_TABLE(kSemaphoreWires, cell(24, 41, "CrossWire"), cell(27, 41, "CrossWire"), cell(51, 41, "CrossWire"),
               cell(54, 41, "CrossWire"), cell(78, 41, "CrossWire"), cell(81, 41, "CrossWire"),
               cell(105, 41, "CrossWire"), cell(108, 41, "CrossWire"));
CAMPAIGN_TABLE(kWarmUpMetal, cell(75, 8, "Metal"));
CAMPAIGN_TABLE(kWarmUpParts, cell(75, 9, "Heater"), cell(79, 9, "Heater"), cell(89, 17, "ColdSensor"));
CAMPAIGN_TABLE(kDam, row(17, 92, 78, "Void"), cell(57, 51, "LiquidSensor"), cell(71, 31, "Metal"),
               column(70, 32, 33, "Metal"), column(69, 34, 35, "Metal"), cell(68, 36, "Metal"),
               column(67, 37, 38, "Metal"));
CAMPAIGN_TABLE(kDamWater, cell(66, 12, "Water"));
CAMPAIGN_TABLE(kHouseWall, cell(28, 17, "Wall"), row(16, 28, 18, "Wall"));
CAMPAIGN_TABLE(kHouseBlock,
               // heaters
               cell(18, 39, "Heater"), cell(17, 40, "Heater"), row(19, 21, 40, "Heater"), row(17, 18, 41, "Heater"),
               cell(21, 41, "Heater"), row(18, 21, 42, "Heater"),
               // rubies
               cell(18, 40, "Ruby"), row(19, 20, 41, "Ruby"),
               // coolers
               row(20, 24, 36, "Cooler"), column(19, 37, 39, "Cooler"), column(25, 37, 38, "Cooler"),
               row(22, 23, 38, "Cooler"), cell(22, 39, "Cooler"), column(24, 39, 41, "Cooler"), cell(25, 42, "Cooler"),
               row(21, 24, 43, "Cooler"),
               // glass
               row(20, 24, 37, "Glass"), column(20, 38, 39, "Glass"), column(21, 38, 39, "Glass"),
               cell(24, 38, "Glass"), column(23, 39, 42, "Glass"), column(22, 40, 41, "Glass"), cell(24, 42, "Glass"),
               // wood and obsidian
               cell(21, 35, "Wood"), cell(23, 35, "Wood"), cell(22, 42, "Obsidian"));
CAMPAIGN_TABLE(kHouseC4, row(19, 25, 11, "C4"), row(19, 25, 12, "C4"), row(19, 25, 13, "C4"), row(19, 25, 14, "C4"));
CAMPAIGN_TABLE(kShipWires, column(84, 18, 20, "CrossWire"), column(84, 24, 26, "CrossWire"),
               column(84, 31, 33, "CrossWire"));
CAMPAIGN_TABLE(kShipTnt, cell(107, 33, "Tnt"));
CAMPAIGN_TABLE(kShipGlass, cell(13, 36, "Glass"));
CAMPAIGN_TABLE(kShipMetal, cell(84, 34, "Metal"));
CAMPAIGN_TABLE(kDemolish, cell(69, 9, "Tnt"), cell(54, 12, "Tnt"), cell(61, 12, "Tnt"), cell(66, 14, "Tnt"),
               cell(74, 16, "Tnt"), cell(79, 16, "Tnt"), cell(66, 21, "Tnt"), cell(66, 29, "Tnt"), cell(54, 32, "Tnt"),
               cell(60, 32, "Tnt"), cell(72, 32, "Tnt"), cell(66, 37, "Tnt"), cell(78, 41, "Tnt"), cell(53, 48, "Tnt"),
               cell(61, 48, "Tnt"), cell(74, 49, "Tnt"), cell(66, 53, "Tnt"), cell(69, 57, "Tnt"), cell(71, 61, "Tnt"));
CAMPAIGN_TABLE(kBombLinkA, cell(89, 57, "Metal"), cell(88, 59, "Metal"), cell(89, 59, "Metal"));
CAMPAIGN_TABLE(kBombPowerA, cell(89, 59, "Metal"));
CAMPAIGN_TABLE(kBombLinkB, cell(32, 6, "Metal"), cell(31, 8, "Metal"), cell(32, 8, "Metal"));
CAMPAIGN_TABLE(kBombPowerB, cell(32, 8, "Metal"));
CAMPAIGN_TABLE(kBombLinkC, cell(45, 16, "Metal"), cell(47, 15, "Metal"), cell(47, 16, "Metal"));
CAMPAIGN_TABLE(kBombPowerC, cell(47, 16, "Metal"));
CAMPAIGN_TABLE(kCounterMetal, cell(42, 15, "Metal"));
CAMPAIGN_TABLE(kCounter,
               // wires
               cell(56, 14, "CrossWire"), cell(70, 14, "CrossWire"), cell(77, 14, "CrossWire"),
               cell(91, 14, "CrossWire"), row(44, 45, 15, "CrossWire"), row(50, 59, 15, "CrossWire"),
               row(64, 80, 15, "CrossWire"), row(85, 91, 15, "CrossWire"), cell(49, 16, "CrossWire"),
               cell(56, 16, "CrossWire"), cell(63, 16, "CrossWire"), cell(70, 16, "CrossWire"),
               cell(77, 16, "CrossWire"), cell(84, 16, "CrossWire"), cell(91, 16, "CrossWire"),
               // the counter's LEDs, tested by kind only
               row(46, 49, 14, "LedGreen"), row(60, 63, 14, "LedGreen"), row(81, 84, 14, "LedGreen"),
               // metal
               column(49, 12, 13, "Metal"), column(56, 12, 13, "Metal"), column(63, 12, 13, "Metal"),
               column(70, 12, 13, "Metal"), column(77, 12, 13, "Metal"), column(84, 12, 13, "Metal"),
               column(91, 12, 13, "Metal"), cell(50, 14, "Metal"), cell(64, 14, "Metal"), cell(85, 14, "Metal"),
               row(47, 49, 15, "Metal"), row(61, 63, 15, "Metal"), row(82, 84, 15, "Metal"));

bool linkDone(MissionPattern link, MissionPattern powered)
{
    return patternAllMatch(link) && patternAllMatchPowered(powered);
}

// clang-format off
constexpr CampaignMissionRow kMissions[] = {
    {.className = "Contra_LedsOn", .level = 1, .textKey = "Contra_LedsOn", .rewardKey = "Contra_LedsOn",
     .delay = 6, .points = 100,
     .test = [] { return patternAllLedsLit(kLedsOnLed.data()) && patternAllMatch(kLedsOnPower.data()); }},
    {.className = "Contra_LedRow", .level = 2, .textKey = "Contra_LedRow", .rewardKey = "Contra_LedRow",
     .delay = 6, .points = 100, .test = [] { return patternAllLedsLit(kLedRow.data()); }},
    {.className = "Contra_SenseThis", .level = 3, .textKey = "Contra_SenseThis", .rewardKey = "Contra_SenseThis",
     .delay = 4, .points = 100,
     .test = [] { return patternAllLedsLit(kSenseLed.data()) && patternAllMatch(kSensors.data()); }},
    {.className = "Contra_Semaphores", .level = 4, .textKey = "Contra_Semaphores",
     .rewardKey = "Contra_Semaphores", .delay = 5, .points = 100,
     .test = [] { return patternAllLedsLit(kSemaphoreLeds.data()) && patternAllMatch(kSemaphoreWires.data()); }},
    {.className = "Contra_WarmUp", .level = 5, .textKey = "Contra_WarmUp", .rewardKey = "Contra_WarmUp",
     .delay = 5, .points = 100,
     .test = [] { return patternAllMatchPowered(kWarmUpMetal.data()) && patternAllMatch(kWarmUpParts.data()); }},
    {.className = "Contra_Dam", .level = 6, .textKey = "Contra_Dam", .rewardKey = "Contra_Dam", .delay = 8,
     .points = 100, .test = [] { return patternAllMatch(kDam.data()) && patternAllMatch(kDamWater.data()); }},
    {.className = "Contra_HouseFire", .level = 7, .textKey = "Contra_HouseFire", .rewardKey = "Contra_HouseFire",
     .delay = 10, .points = 100,
     .test = [] {
         return patternAllMatch(kHouseWall.data()) && patternAllMatch(kHouseBlock.data()) &&
             patternNoneMatch(kHouseC4.data());
     }},
    {.className = "Contra_PirateShip", .level = 8, .textKey = "Contra_PirateShip",
     .rewardKey = "Contra_PirateShip", .delay = 10, .points = 100,
     .test = [] {
         return patternAllMatch(kShipWires.data()) && patternAllMatch(kShipTnt.data()) &&
             patternNoneMatch(kShipGlass.data()) && patternAllMatchPowered(kShipMetal.data());
     }},
    {.className = "Contra_Demolish", .level = 9, .textKey = "Contra_Demolish", .rewardKey = "Contra_Demolish",
     .delay = 4, .points = 100, .test = [] { return patternNoneMatch(kDemolish.data()); }},
    {.className = "Contra_FixBomb", .level = 10, .textKey = "Contra_FixBomb", .rewardKey = "Contra_FixBomb",
     .delay = 8, .points = 100,
     .test = [] {
         return linkDone(kBombLinkA.data(), kBombPowerA.data()) || linkDone(kBombLinkB.data(), kBombPowerB.data()) ||
             linkDone(kBombLinkC.data(), kBombPowerC.data());
     }},
    {.className = "Contra_Counter", .level = 11, .textKey = "Contra_Counter", .rewardKey = "Contra_Counter",
     .delay = 8, .points = 100,
     .test = [] { return patternAllMatchPowered(kCounterMetal.data()) && patternAllMatch(kCounter.data()); }},
};

// The last level end pays whatever the day, marks the campaign finished and
// saves before the outro opens.
constexpr EndOrder kLastEnd{EndAction::Day, EndAction::Grant, EndAction::Finished, EndAction::Save,
                            EndAction::Outro};

constexpr CampaignLevelRow kLevels[] = {
    {.level = 1, .missions = {"Contra_LedsOn"}, .step = "Contra_CheckLv2", .threshold = 100,
     .rewardKey = "Contra_CheckLv2", .boardKey = "Contra_CheckLv2"},
    {.level = 2, .missions = {"Contra_LedRow"}, .step = "Contra_CheckLv3", .threshold = 200,
     .rewardKey = "Contra_CheckLv3", .boardKey = "Contra_CheckLv3"},
    {.level = 3, .missions = {"Contra_SenseThis"}, .step = "Contra_CheckLv4", .threshold = 300,
     .rewardKey = "Contra_CheckLv4", .boardKey = "Contra_CheckLv4"},
    {.level = 4, .missions = {"Contra_Semaphores"}, .step = "Contra_CheckLv5", .threshold = 400,
     .rewardKey = "Contra_CheckLv5", .boardKey = "Contra_CheckLv5"},
    {.level = 5, .missions = {"Contra_WarmUp"}, .step = "Contra_CheckLv6", .threshold = 500,
     .rewardKey = "Contra_CheckLv6", .boardKey = "Contra_CheckLv6"},
    {.level = 6, .missions = {"Contra_Dam"}, .step = "Contra_CheckLv7", .threshold = 600,
     .rewardKey = "Contra_CheckLv7", .boardKey = "Contra_CheckLv7"},
    {.level = 7, .missions = {"Contra_HouseFire"}, .step = "Contra_CheckLv8", .threshold = 700,
     .rewardKey = "Contra_CheckLv8", .boardKey = "Contra_CheckLv8"},
    {.level = 8, .missions = {"Contra_PirateShip"}, .step = "Contra_CheckLv9", .threshold = 800,
     .rewardKey = "Contra_CheckLv9", .boardKey = "Contra_CheckLv9"},
    {.level = 9, .missions = {"Contra_Demolish"}, .step = "Contra_CheckLv10", .threshold = 900,
     .rewardKey = "Contra_CheckLv10", .boardKey = "Contra_CheckLv10"},
    {.level = 10, .missions = {"Contra_FixBomb"}, .step = "Contra_CheckLv11", .threshold = 1000,
     .rewardKey = "Contra_CheckLv11", .boardKey = "Contra_CheckLv11"},
    {.level = 11, .missions = {"Contra_Counter"}, .step = "Contra_CheckLv12", .threshold = 1100,
     .rewardKey = "Contra_CheckLv12", .boardKey = "Contra_CheckLv12", .grant = StepGrant::Always,
     .order = kLastEnd},
};
// clang-format on

constexpr CampaignTable kTables[] = {
    {"LedsOnLed", kLedsOnLed.data(), "Contra_LedsOn", 'A'},
    {"LedsOnPower", kLedsOnPower.data(), "Contra_LedsOn", 'B'},
    {"LedRow", kLedRow.data(), "Contra_LedRow", 'A'},
    {"SenseLed", kSenseLed.data(), "Contra_SenseThis", 'A'},
    {"Sensors", kSensors.data(), "Contra_SenseThis", 'B'},
    {"SemaphoreLeds", kSemaphoreLeds.data(), "Contra_Semaphores", 'A'},
    {"SemaphoreWires", kSemaphoreWires.data(), "Contra_Semaphores", 'B'},
    {"WarmUpMetal", kWarmUpMetal.data(), "Contra_WarmUp", 'A'},
    {"WarmUpParts", kWarmUpParts.data(), "Contra_WarmUp", 'B'},
    {"Dam", kDam.data(), "Contra_Dam", 'A'},
    {"DamWater", kDamWater.data(), "Contra_Dam", 'B'},
    {"HouseWall", kHouseWall.data(), "Contra_HouseFire", 'A'},
    {"HouseBlock", kHouseBlock.data(), "Contra_HouseFire", 'B'},
    {"HouseC4", kHouseC4.data(), "Contra_HouseFire", 'C'},
    {"ShipWires", kShipWires.data(), "Contra_PirateShip", 'A'},
    {"ShipTnt", kShipTnt.data(), "Contra_PirateShip", 'B'},
    {"ShipGlass", kShipGlass.data(), "Contra_PirateShip", 'C'},
    {"ShipMetal", kShipMetal.data(), "Contra_PirateShip", 'D'},
    {"Demolish", kDemolish.data(), "Contra_Demolish", 'A'},
    {"BombLinkA", kBombLinkA.data(), "Contra_FixBomb", 'A'},
    {"BombPowerA", kBombPowerA.data(), "Contra_FixBomb", 'B'},
    {"BombLinkB", kBombLinkB.data(), "Contra_FixBomb", 'C'},
    {"BombPowerB", kBombPowerB.data(), "Contra_FixBomb", 'D'},
    {"BombLinkC", kBombLinkC.data(), "Contra_FixBomb", 'E'},
    {"BombPowerC", kBombPowerC.data(), "Contra_FixBomb", 'F'},
    {"CounterMetal", kCounterMetal.data(), "Contra_Counter", 'A'},
    {"Counter", kCounter.data(), "Contra_Counter", 'B'},
};

constexpr Campaign kContraptions{.name = "Contraptions",
                                 .mode = 2,
                                 .completionIndex = CampaignIndex::Contraptions,
                                 .levels = kLevels,
                                 .missions = kMissions,
                                 .tables = kTables};

}  // namespace

const Campaign& contraptionsCampaign()
{
    return kContraptions;
}
