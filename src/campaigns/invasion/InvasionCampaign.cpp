#include "campaigns/invasion/InvasionCampaign.h"

#include "elements/creatures/HumanLeader.h"
#include "goals/MissionPattern.h"
#include "profile/Profile.h"

namespace {

using namespace runs;

// clang-format off
CAMPAIGN_TABLE(kT1a, cell(14, 59, "HumanLeader"), cell(16, 34, "HumanLeader"), cell(19, 7, "HumanLeader"),
               block(54, 56, 7, 13, "HumanLeader"));
CAMPAIGN_TABLE(kT1b, block(5, 7, 12, 23, "HumanLeader"), block(8, 9, 11, 23, "HumanLeader"),
               block(10, 13, 10, 23, "HumanLeader"), block(14, 17, 8, 23, "HumanLeader"),
               block(18, 19, 7, 23, "HumanLeader"));
CAMPAIGN_TABLE(kT2a, row(56, 65, 21, "Lava"), row(86, 93, 34, "Lava"));
CAMPAIGN_TABLE(kT2b, cell(12, 16, "Xenovine"), cell(13, 14, "Xenovine"), cell(13, 18, "Xenovine"),
               cell(14, 12, "Xenovine"), cell(14, 20, "Xenovine"), cell(15, 23, "Xenovine"),
               cell(16, 11, "Xenovine"), cell(18, 11, "Xenovine"), cell(20, 12, "Xenovine"),
               cell(22, 13, "Xenovine"));
CAMPAIGN_TABLE(kT3a, column(69, 9, 15, "Wax"));
CAMPAIGN_TABLE(kT3b, cell(28, 16, "Ruby"));
CAMPAIGN_TABLE(kT3c1, cell(52, 18, "Bulb"), cell(58, 18, "Bulb"), cell(66, 18, "Bulb"));
CAMPAIGN_TABLE(kT3c2, cell(13, 24, "Bulb"), cell(25, 24, "Bulb"));
CAMPAIGN_TABLE(kT3c3, cell(21, 36, "Bulb"), cell(31, 36, "Bulb"));
CAMPAIGN_TABLE(kT4a, cell(88, 37, "Xenovine"), cell(98, 37, "Xenovine"), cell(98, 41, "Xenovine"),
               cell(100, 49, "Xenovine"), cell(101, 44, "Xenovine"), cell(104, 46, "Xenovine"),
               cell(105, 39, "Xenovine"));
CAMPAIGN_TABLE(kT4b, block(90, 94, 37, 39, "PiranthaTunnel"), block(95, 98, 37, 40, "PiranthaTunnel"),
               column(99, 37, 39, "PiranthaTunnel"), column(99, 52, 53, "PiranthaTunnel"),
               column(100, 37, 39, "PiranthaTunnel"), column(100, 51, 53, "PiranthaTunnel"),
               column(101, 37, 39, "PiranthaTunnel"), column(101, 50, 53, "PiranthaTunnel"),
               column(102, 37, 41, "PiranthaTunnel"), column(102, 48, 53, "PiranthaTunnel"),
               column(103, 37, 44, "PiranthaTunnel"), column(103, 48, 53, "PiranthaTunnel"),
               column(104, 37, 44, "PiranthaTunnel"), column(104, 47, 53, "PiranthaTunnel"),
               column(105, 42, 44, "PiranthaTunnel"), column(105, 46, 54, "PiranthaTunnel"),
               block(106, 107, 42, 55, "PiranthaTunnel"), column(108, 40, 56, "PiranthaTunnel"),
               column(109, 40, 57, "PiranthaTunnel"), column(110, 38, 57, "PiranthaTunnel"),
               block(111, 112, 38, 58, "PiranthaTunnel"), column(113, 37, 59, "PiranthaTunnel"),
               block(114, 115, 36, 60, "PiranthaTunnel"));
CAMPAIGN_TABLE(kT45a, cell(107, 34, "Oil"), cell(107, 36, "Oil"), cell(109, 34, "Oil"), cell(109, 36, "Oil"),
               cell(111, 34, "Oil"), cell(111, 36, "Oil"));
CAMPAIGN_TABLE(kT45b, block(103, 110, 47, 53, "MPBodyCar"));
// The basin's oil and the water drops above it, sorted together.
CAMPAIGN_TABLE(kT5, cell(18, 35, "Oil"), cell(18, 44, "Oil"), column(19, 35, 44, "Oil"), column(20, 34, 44, "Oil"),
               block(21, 33, 33, 44, "Oil"), block(34, 35, 34, 44, "Oil"), column(36, 36, 43, "Oil"),
               column(37, 38, 41, "Oil"),
               cell(19, 24, "Water"), cell(21, 24, "Water"), cell(22, 23, "Water"), cell(24, 24, "Water"),
               cell(27, 24, "Water"), cell(29, 23, "Water"), cell(31, 24, "Water"), cell(33, 23, "Water"),
               cell(34, 24, "Water"), cell(36, 23, "Water"));
CAMPAIGN_TABLE(kT6, block(49, 65, 4, 5, "MPLander"));
CAMPAIGN_TABLE(kT7a, block(90, 115, 48, 54, "HumanLeader"));
CAMPAIGN_TABLE(kT7b, cell(56, 16, "Lava"));
CAMPAIGN_TABLE(kT8, block(111, 112, 52, 59, "HumanLeader"), column(113, 55, 63, "HumanLeader"),
               column(114, 56, 63, "HumanLeader"), block(115, 116, 57, 63, "HumanLeader"),
               block(117, 118, 58, 63, "HumanLeader"));
CAMPAIGN_TABLE(kT9a, cell(37, 28, "Xenovine"), cell(44, 16, "Xenovine"), cell(112, 16, "Xenovine"));
CAMPAIGN_TABLE(kT9b, cell(17, 54, "Aluminite"), cell(24, 54, "Aluminite"));
// clang-format on

// All three rooms lit in the same check.
bool everyRoomLit()
{
    return patternAnyBulbLit(kT3c1.data()) && patternAnyBulbLit(kT3c2.data()) && patternAnyBulbLit(kT3c3.data());
}

// Only the first human in the camp's order is judged, however old the others.
bool firstCamperOld()
{
    auto* leader = dynamic_cast<HumanLeader*>(firstPatternMatch(kT7a.data()));
    return leader && leader->age > 80.0;
}

// Level 5's classes carry 45, later ones the number before their level; the
// text and reward keys carry the level's own number.
// clang-format off
constexpr CampaignMissionRow kMissions[] = {
    {.className = "InvasionLv1a", .level = 1, .textKey = "InvasionLv1a", .rewardKey = "InvasionLv1a", .delay = 6,
     .points = 50, .test = [] { return patternCountAtLeast(kT1a.data(), 1); }},
    {.className = "InvasionLv1b", .level = 1, .textKey = "InvasionLv1b", .rewardKey = "InvasionLv1b", .delay = 6,
     .points = 50, .test = [] { return patternCountAtLeast(kT1b.data(), 2); }},
    {.className = "InvasionLv2a", .level = 2, .textKey = "InvasionLv2a", .rewardKey = "InvasionLv2a", .delay = 6,
     .points = 50, .test = [] { return patternCount(kT2a.data()) == 0; }},
    {.className = "InvasionLv2b", .level = 2, .textKey = "InvasionLv2b", .rewardKey = "InvasionLv2b", .delay = 20,
     .points = 50, .test = [] { return patternCountAtLeast(kT2b.data(), 1); }},
    {.className = "InvasionLv3a", .level = 3, .textKey = "InvasionLv3a", .rewardKey = "InvasionLv3a", .delay = 1,
     .points = 30, .test = [] { return patternAllMatch(kT3a.data()); }},
    {.className = "InvasionLv3b", .level = 3, .textKey = "InvasionLv3b", .rewardKey = "InvasionLv3b", .delay = 1,
     .points = 30, .test = [] { return patternAllMatch(kT3b.data()); }},
    {.className = "InvasionLv3c", .level = 3, .textKey = "InvasionLv3c", .rewardKey = "InvasionLv3c", .delay = 0,
     .points = 40, .test = everyRoomLit},
    {.className = "InvasionLv4a", .level = 4, .textKey = "InvasionLv4a", .rewardKey = "InvasionLv4a", .delay = 6,
     .points = 50, .test = [] { return patternCountAtLeast(kT4a.data(), 1); }},
    {.className = "InvasionLv4b", .level = 4, .textKey = "InvasionLv4b", .rewardKey = "InvasionLv4b", .delay = 6,
     .points = 50, .test = [] { return patternCountAtLeast(kT4b.data(), 1); }},
    {.className = "InvasionLv45a", .level = 5, .textKey = "InvasionLv5a", .rewardKey = "InvasionLv5a", .delay = 5,
     .points = 50, .test = [] { return patternAllMatch(kT45a.data()); }},
    {.className = "InvasionLv45b", .level = 5, .textKey = "InvasionLv5b", .rewardKey = "InvasionLv5b", .delay = 2,
     .points = 50, .test = [] { return patternCountAtLeast(kT45b.data(), 1); }},
    {.className = "InvasionLv5", .level = 6, .textKey = "InvasionLv6", .rewardKey = "InvasionLv6", .delay = 6,
     .points = 100, .test = [] { return patternAllMatch(kT5.data()); }},
    {.className = "InvasionLv6", .level = 7, .textKey = "InvasionLv7", .rewardKey = "InvasionLv7", .delay = 2,
     .points = 100, .test = [] { return patternCountAtLeast(kT6.data(), 1); }},
    {.className = "InvasionLv7a", .level = 8, .textKey = "InvasionLv8a", .rewardKey = "InvasionLv8a", .delay = 0,
     .points = 50, .test = firstCamperOld},
    {.className = "InvasionLv7b", .level = 8, .textKey = "InvasionLv8b", .rewardKey = "InvasionLv8b", .delay = 0,
     .points = 50, .test = [] { return patternAllMatch(kT7b.data()); }},
    {.className = "InvasionLv8", .level = 9, .textKey = "InvasionLv9", .rewardKey = "InvasionLv9", .delay = 6,
     .points = 100, .test = [] { return patternCountAtLeast(kT8.data(), 1); }},
    {.className = "InvasionLv9a", .level = 10, .textKey = "InvasionLv10a", .rewardKey = "InvasionLv10a", .delay = 6,
     .points = 50, .test = [] { return !patternCountAtLeast(kT9a.data(), 1); }},
    {.className = "InvasionLv9b", .level = 10, .textKey = "InvasionLv10b", .rewardKey = "InvasionLv10b", .delay = 6,
     .points = 50, .test = [] { return patternAllMatch(kT9b.data()); }},
};

constexpr EndOrder kLastEnd{EndAction::Day, EndAction::Outro, EndAction::Finished, EndAction::Grant,
                            EndAction::Save};

// Every step pays whether or not its level was reached before, under its own
// name even where that name is not its level's.
constexpr CampaignLevelRow kLevels[] = {
    {.level = 1, .missions = {"InvasionLv1a", "InvasionLv1b"}, .step = "Invasion_CheckLv2", .threshold = 100,
     .rewardKey = "Invasion_CheckLv2", .boardKey = "Invasion_CheckLv2", .grant = StepGrant::Always},
    {.level = 2, .missions = {"InvasionLv2a", "InvasionLv2b"}, .step = "Invasion_CheckLv3", .threshold = 200,
     .rewardKey = "Invasion_CheckLv3", .boardKey = "Invasion_CheckLv3", .grant = StepGrant::Always},
    {.level = 3, .missions = {"InvasionLv3a", "InvasionLv3b", "InvasionLv3c"}, .step = "Invasion_CheckLv4",
     .threshold = 300, .rewardKey = "Invasion_CheckLv4", .boardKey = "Invasion_CheckLv4", .grant = StepGrant::Always},
    {.level = 4, .missions = {"InvasionLv4a", "InvasionLv4b"}, .step = "Invasion_CheckLv45", .threshold = 400,
     .rewardKey = "Invasion_CheckLv45", .boardKey = "Invasion_CheckLv45", .grant = StepGrant::Always},
    {.level = 5, .missions = {"InvasionLv45a", "InvasionLv45b"}, .step = "Invasion_CheckLv5", .threshold = 500,
     .rewardKey = "Invasion_CheckLv5", .boardKey = "Invasion_CheckLv5", .grant = StepGrant::Always},
    {.level = 6, .missions = {"InvasionLv5"}, .step = "Invasion_CheckLv6", .threshold = 600,
     .rewardKey = "Invasion_CheckLv6", .boardKey = "Invasion_CheckLv6", .grant = StepGrant::Always},
    {.level = 7, .missions = {"InvasionLv6"}, .step = "Invasion_CheckLv7", .threshold = 700,
     .rewardKey = "Invasion_CheckLv7", .boardKey = "Invasion_CheckLv7", .grant = StepGrant::Always},
    {.level = 8, .missions = {"InvasionLv7a", "InvasionLv7b"}, .step = "Invasion_CheckLv8", .threshold = 800,
     .rewardKey = "Invasion_CheckLv8", .boardKey = "Invasion_CheckLv8", .grant = StepGrant::Always},
    {.level = 9, .missions = {"InvasionLv8"}, .step = "Invasion_CheckLv9", .threshold = 900,
     .rewardKey = "Invasion_CheckLv9", .boardKey = "Invasion_CheckLv9", .grant = StepGrant::Always},
    {.level = 10, .missions = {"InvasionLv9a", "InvasionLv9b"}, .step = "Invasion_CheckLv10", .threshold = 1000,
     .rewardKey = "Invasion_CheckLv10", .boardKey = "Invasion_CheckLv10", .grant = StepGrant::Always,
     .order = kLastEnd},
};
// clang-format on

constexpr CampaignTable kTables[] = {
    {"T1a", kT1a.data(), "InvasionLv1a", 'A'},    {"T1b", kT1b.data(), "InvasionLv1b", 'A'},
    {"T2a", kT2a.data(), "InvasionLv2a", 'A'},    {"T2b", kT2b.data(), "InvasionLv2b", 'A'},
    {"T3a", kT3a.data(), "InvasionLv3a", 'A'},    {"T3b", kT3b.data(), "InvasionLv3b", 'A'},
    {"T3c-1", kT3c1.data(), "InvasionLv3c", 'A'}, {"T3c-2", kT3c2.data(), "InvasionLv3c", 'B'},
    {"T3c-3", kT3c3.data(), "InvasionLv3c", 'C'}, {"T4a", kT4a.data(), "InvasionLv4a", 'A'},
    {"T4b", kT4b.data(), "InvasionLv4b", 'A'},    {"T45a", kT45a.data(), "InvasionLv45a", 'A'},
    {"T45b", kT45b.data(), "InvasionLv45b", 'A'}, {"T5", kT5.data(), "InvasionLv5", 'A'},
    {"T6", kT6.data(), "InvasionLv6", 'A'},       {"T7a", kT7a.data(), "InvasionLv7a", 'A'},
    {"T7b", kT7b.data(), "InvasionLv7b", 'A'},    {"T8", kT8.data(), "InvasionLv8", 'A'},
    {"T9a", kT9a.data(), "InvasionLv9a", 'A'},    {"T9b", kT9b.data(), "InvasionLv9b", 'A'},
};

constexpr Campaign kInvasion{.name = "Invasion",
                             .mode = 10,
                             .completionIndex = CampaignIndex::Invasion,
                             .levels = kLevels,
                             .missions = kMissions,
                             .tables = kTables};

}  // namespace

const Campaign& invasionCampaign()
{
    return kInvasion;
}
