#include "campaigns/robot/RobotCampaign.h"

#include "goals/GoalFunctions.h"
#include "profile/Profile.h"

namespace {

using namespace runs;

// A drawn block whose top left cell is (x0, y0): 'M' Metal, 'T' TNT, any
// other character nothing. N must be the number of cells drawn.
template <size_t N, size_t R>
constexpr std::array<CellRun, N> drawn(int32_t x0, int32_t y0, const std::array<std::string_view, R>& rows)
{
    std::array<CellRun, N> cells{};
    size_t n = 0;
    for (size_t y = 0; y < R; ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) {
            const char c = rows[y][x];
            if (c != 'M' && c != 'T')
                continue;
            if (n >= N)
                throw "more cells drawn than counted";
            cells[n++] = cell(x0 + static_cast<int32_t>(x), y0 + static_cast<int32_t>(y), c == 'M' ? "Metal" : "Tnt");
        }
    if (n != N)
        throw "fewer cells drawn than counted";
    return cells;
}

// clang-format off
CAMPAIGN_TABLE(kT1, block(58, 59, 22, 28, "RobotPart"));
CAMPAIGN_TABLE(kT2, cell(1, 11, "HumanLeader"), row(3, 5, 12, "HumanLeader"), block(106, 107, 40, 42, "HumanLeader"),
               cell(106, 43, "HumanLeader"));
CAMPAIGN_TABLE(kT3, row(32, 79, 7, "Acid"), row(31, 87, 8, "Acid"));
CAMPAIGN_TABLE(kT4a, row(109, 112, 25, "RobotLeader"));
CAMPAIGN_TABLE(kT4b, row(81, 84, 62, "HumanLeader"));
CAMPAIGN_TABLE(kT5Humans, row(23, 28, 54, "HumanLeader"));
CAMPAIGN_TABLE(kT5Robots, row(59, 64, 46, "RobotLeader"), row(70, 75, 46, "RobotLeader"),
               row(43, 48, 51, "RobotLeader"));
CAMPAIGN_TABLE(kT5Metal, cell(43, 50, "Metal"));
CAMPAIGN_TABLE(kT6, block(63, 80, 1, 3, "HumanLeader"));
CAMPAIGN_TABLE(kT7, row(107, 115, 13, "HumanLeader"));
CAMPAIGN_TABLE(kT8, row(114, 118, 15, "HumanLeader"));
CAMPAIGN_TABLE(kT9a, row(14, 28, 30, "Tnt"), row(16, 27, 50, "Tnt"), row(15, 29, 66, "Tnt"));
CAMPAIGN_TABLE(kT9b, row(114, 118, 62, "HumanLeader"));
CAMPAIGN_TABLE(kT10a, row(52, 54, 11, "Stone"), row(51, 54, 12, "Stone"));
CAMPAIGN_TABLE(kT10b, row(24, 31, 14, "Lava"));
// The valley below the lava: no robot leader may stand in it.
CAMPAIGN_TABLE(kT10c, row(24, 31, 14, "RobotLeader"), row(23, 32, 15, "RobotLeader"), row(22, 33, 16, "RobotLeader"),
               row(21, 34, 17, "RobotLeader"), row(20, 35, 18, "RobotLeader"), row(19, 37, 19, "RobotLeader"),
               row(18, 37, 20, "RobotLeader"), row(17, 38, 21, "RobotLeader"), row(16, 39, 22, "RobotLeader"),
               row(4, 82, 23, "RobotLeader"), block(3, 82, 24, 63, "RobotLeader"));
CAMPAIGN_TABLE(kT11aParts, row(17, 22, 56, "HumanPart"));
CAMPAIGN_TABLE_AS(kT11aLeaders, kT11aParts, "HumanLeader");
// The obsidian key cell, then the TNT tower.
CAMPAIGN_TABLE(kT12a, cell(43, 32, "Obsidian"), row(88, 109, 3, "Tnt"), block(87, 110, 4, 7, "Tnt"),
               row(87, 89, 8, "Tnt"), row(96, 101, 8, "Tnt"), row(108, 110, 8, "Tnt"), cell(88, 9, "Tnt"),
               row(90, 95, 9, "Tnt"), row(97, 100, 9, "Tnt"), row(102, 107, 9, "Tnt"), cell(109, 9, "Tnt"));
CAMPAIGN_TABLE(kT13a, block(105, 107, 54, 56, "HumanPart"));
inline constexpr auto kT14aRuns = drawn<63>(53, 30, std::array<std::string_view, 12>{
    "MT....TMMTT",  // y 30
    "MT....M.MMT",
    "MT........T",
    "MT........T",
    "MM........T",
    "MT........T",  // y 35
    "MT........M",
    "MT........T",
    "MT......MMM",
    "MT....MMMTM",
    "TMMT..TMTTM",  // y 40
    "MMTTMMTMMTT",
});
inline constexpr auto kT14a = cellTable<cellCount(kT14aRuns)>(kT14aRuns);
CAMPAIGN_TABLE(kT15a, block(96, 100, 45, 46, "Tnt"));
// clang-format on

// A tenth of the acid rows' cells, rounded down: 10 of 105.
constexpr int32_t kAcidNeeded = static_cast<int32_t>(kT3.size() - 1) * 10 / 100;

int32_t initialCount = 0;

// Pulled down: at most 11 % of the structure found at the first test is left.
bool structureDown()
{
    if (initialCount == 0)
        initialCount = patternCount(kT12a.data());
    return static_cast<double>(initialCount) * 0.11 >= static_cast<double>(patternCount(kT12a.data()));
}

// clang-format off
#define ROBOT_MISSION(cls, lvl, key, share, ...)                                                                       \
    {.className = cls, .level = lvl, .textKey = key, .rewardKey = key, .delay = 6, .points = share,                  \
     .test = [] { return __VA_ARGS__; }}

constexpr CampaignMissionRow kMissions[] = {
    ROBOT_MISSION("RobotLv1", 1, "RobotLv1", 100, patternCountAtLeast(kT1.data(), 1)),
    ROBOT_MISSION("RobotLv2", 2, "RobotLv2", 100, patternCountAtLeast(kT2.data(), 1)),
    // Pays what the level before pays.
    {.className = "RobotLv3", .level = 3, .textKey = "RobotLv3", .rewardKey = "RobotLv2", .delay = 6, .points = 100,
     .test = [] { return patternCountAtLeast(kT3.data(), kAcidNeeded); }},
    ROBOT_MISSION("RobotLv4a", 4, "RobotLv4a", 50, patternCountAtLeast(kT4a.data(), 1)),
    ROBOT_MISSION("RobotLv4b", 4, "RobotLv4b", 50, patternCountAtLeast(kT4b.data(), 1)),
    ROBOT_MISSION("RobotLv5", 5, "RobotLv5", 100,
                  patternCountAtLeast(kT5Humans.data(), 1) && patternCountAtLeast(kT5Robots.data(), 1) &&
                      patternAllMatchPowered(kT5Metal.data())),
    ROBOT_MISSION("RobotLv6", 6, "RobotLv6", 100, patternCountAtLeast(kT6.data(), 1)),
    ROBOT_MISSION("RobotLv7", 7, "RobotLv7", 100, patternCountAtLeast(kT7.data(), 1)),
    ROBOT_MISSION("RobotLv8", 8, "RobotLv8", 100, patternCountAtLeast(kT8.data(), 1)),
    ROBOT_MISSION("RobotLv9a", 9, "RobotLv9a", 50, !patternCountAtLeast(kT9a.data(), 1)),
    ROBOT_MISSION("RobotLv9b", 9, "RobotLv9b", 50, patternCountAtLeast(kT9b.data(), 1)),
    ROBOT_MISSION("RobotLv10a", 10, "RobotLv10a", 33, patternAllMatch(kT10a.data())),
    ROBOT_MISSION("RobotLv10b", 10, "RobotLv10b", 33, patternAllMatch(kT10b.data())),
    ROBOT_MISSION("RobotLv10c", 10, "RobotLv10c", 34, !patternCountAtLeast(kT10c.data(), 1)),
    // From level 11 on the class ends in "a" and its keys do not.
    {.className = "RobotLv11a", .level = 11, .textKey = "RobotLv11", .rewardKey = "RobotLv11", .delay = 6,
     .points = 100,
     .test = [] { return patternCountAtLeast(kT11aParts.data(), 1) || patternCountAtLeast(kT11aLeaders.data(), 1); }},
    {.className = "RobotLv12a", .level = 12, .textKey = "RobotLv12", .rewardKey = "RobotLv12", .delay = 6,
     .points = 100, .test = structureDown, .extra = [] { initialCount = 0; }},
    {.className = "RobotLv13a", .level = 13, .textKey = "RobotLv13", .rewardKey = "RobotLv13", .delay = 6,
     .points = 100, .test = [] { return patternCountAtLeast(kT13a.data(), 1); }},
    {.className = "RobotLv14a", .level = 14, .textKey = "RobotLv14", .rewardKey = "RobotLv14", .delay = 6,
     .points = 100, .test = [] { return patternNoneMatch(kT14a.data()); }},
    {.className = "RobotLv15a", .level = 15, .textKey = "RobotLv15", .rewardKey = "RobotLv15", .delay = 6,
     .points = 100, .test = [] { return patternNoneMatch(kT15a.data()); }},
};
#undef ROBOT_MISSION

// The finished flag is set before the grant from the end of level 11 on,
// except at level 13's end.
constexpr EndOrder kFlaggedEnd{EndAction::Day, EndAction::Missions, EndAction::NextStep, EndAction::Finished,
                               EndAction::Grant};
constexpr EndOrder kLastEnd{EndAction::Day, EndAction::Outro, EndAction::Finished, EndAction::Grant};

#define ROBOT_LEVEL(lvl, name, ...)                                                                                    \
    {.level = lvl, .missions = {__VA_ARGS__}, .step = name, .threshold = 100 * (lvl), .rewardKey = name,             \
     .boardKey = name, .grant = StepGrant::Always}

// Every step pays, and saves, whether or not its level was reached before.
constexpr CampaignLevelRow kLevels[] = {
    ROBOT_LEVEL(1, "Robot_CheckLv2", "RobotLv1"),
    ROBOT_LEVEL(2, "Robot_CheckLv3", "RobotLv2"),
    ROBOT_LEVEL(3, "Robot_CheckLv4", "RobotLv3"),
    // Shows one amount and pays another.
    {.level = 4, .missions = {"RobotLv4a", "RobotLv4b"}, .step = "Robot_CheckLv5", .threshold = 400,
     .rewardKey = "Robot_CheckLv5a", .boardKey = "Robot_CheckLv5", .grant = StepGrant::Always},
    ROBOT_LEVEL(5, "Robot_CheckLv6", "RobotLv5"),
    ROBOT_LEVEL(6, "Robot_CheckLv7", "RobotLv6"),
    ROBOT_LEVEL(7, "Robot_CheckLv8", "RobotLv7"),
    ROBOT_LEVEL(8, "Robot_CheckLv9", "RobotLv8"),
    ROBOT_LEVEL(9, "Robot_CheckLv10", "RobotLv9a", "RobotLv9b"),
    ROBOT_LEVEL(10, "Robot_CheckLv11", "RobotLv10a", "RobotLv10b", "RobotLv10c"),
    {.level = 11, .missions = {"RobotLv11a"}, .step = "Robot_CheckLv12", .threshold = 1100,
     .rewardKey = "Robot_CheckLv12", .boardKey = "Robot_CheckLv12", .grant = StepGrant::Always, .order = kFlaggedEnd},
    {.level = 12, .missions = {"RobotLv12a"}, .step = "Robot_CheckLv13", .threshold = 1200,
     .rewardKey = "Robot_CheckLv13", .boardKey = "Robot_CheckLv13", .grant = StepGrant::Always, .order = kFlaggedEnd},
    ROBOT_LEVEL(13, "Robot_CheckLv14", "RobotLv13a"),
    {.level = 14, .missions = {"RobotLv14a"}, .step = "Robot_CheckLv15", .threshold = 1400,
     .rewardKey = "Robot_CheckLv15", .boardKey = "Robot_CheckLv15", .grant = StepGrant::Always, .order = kFlaggedEnd},
    {.level = 15, .missions = {"RobotLv15a"}, .step = "Robot_CheckLv16", .threshold = 1500,
     .rewardKey = "Robot_CheckLv16", .boardKey = "Robot_CheckLv16", .grant = StepGrant::Always, .order = kLastEnd},
};
#undef ROBOT_LEVEL
// clang-format on

constexpr CampaignTable kTables[] = {
    {"T1", kT1.data(), "RobotLv1", 'A'},
    {"T2", kT2.data(), "RobotLv2", 'A'},
    {"T3", kT3.data(), "RobotLv3", 'A'},
    {"T4a", kT4a.data(), "RobotLv4a", 'A'},
    {"T4b", kT4b.data(), "RobotLv4b", 'A'},
    {"T5-1", kT5Humans.data(), "RobotLv5", 'A'},
    {"T5-2", kT5Robots.data(), "RobotLv5", 'B'},
    {"T5-3", kT5Metal.data(), "RobotLv5", 'C'},
    {"T6", kT6.data(), "RobotLv6", 'A'},
    {"T7", kT7.data(), "RobotLv7", 'A'},
    {"T8", kT8.data(), "RobotLv8", 'A'},
    {"T9a", kT9a.data(), "RobotLv9a", 'A'},
    {"T9b", kT9b.data(), "RobotLv9b", 'A'},
    {"T10a", kT10a.data(), "RobotLv10a", 'A'},
    {"T10b", kT10b.data(), "RobotLv10b", 'A'},
    {"T10c", kT10c.data(), "RobotLv10c", 'A'},
    {"T11a-1", kT11aParts.data(), "RobotLv11a", 'A'},
    {"T11a-2", kT11aLeaders.data(), "RobotLv11a", 'B'},
    {"T12a", kT12a.data(), "RobotLv12a", 'A'},
    {"T13a", kT13a.data(), "RobotLv13a", 'A'},
    {"T14a", kT14a.data(), "RobotLv14a", 'A'},
    {"T15a", kT15a.data(), "RobotLv15a", 'A'},
};

constexpr Campaign kRobot{.name = "Robot",
                          .mode = 9,
                          .completionIndex = CampaignIndex::Robot,
                          .levels = kLevels,
                          .missions = kMissions,
                          .tables = kTables};

}  // namespace

const Campaign& robotCampaign()
{
    return kRobot;
}

int32_t& robotLv12aInitialCount()
{
    return initialCount;
}
