#include "campaigns/zombie/ZombieCampaign.h"

#include <cmath>

#include "elements/creatures/HumanRegistry.h"
#include "profile/Profile.h"

USING_NS_CC;

namespace {

using namespace runs;

// clang-format off
CAMPAIGN_TABLE(kT1, cell(3, 41, "AVirus"), cell(3, 58, "AVirus"), cell(4, 50, "AVirus"), cell(5, 66, "AVirus"),
               cell(5, 74, "AVirus"), cell(8, 51, "AVirus"), cell(11, 57, "AVirus"), cell(12, 68, "AVirus"),
               cell(19, 48, "AVirus"), cell(19, 72, "AVirus"), cell(20, 58, "AVirus"), cell(26, 66, "AVirus"),
               cell(34, 57, "AVirus"), cell(36, 73, "AVirus"), cell(38, 51, "AVirus"), cell(39, 69, "AVirus"),
               cell(40, 65, "AVirus"), cell(41, 60, "AVirus"), cell(49, 58, "AVirus"), cell(54, 32, "AVirus"),
               cell(54, 48, "AVirus"), cell(57, 67, "AVirus"), cell(58, 42, "AVirus"), cell(61, 54, "AVirus"),
               cell(66, 77, "AVirus"), cell(68, 43, "AVirus"), cell(69, 61, "AVirus"), cell(71, 24, "AVirus"),
               cell(76, 41, "AVirus"), cell(76, 55, "AVirus"), cell(79, 67, "AVirus"), cell(81, 49, "AVirus"),
               cell(86, 27, "AVirus"), cell(86, 47, "AVirus"), cell(86, 63, "AVirus"), cell(95, 53, "AVirus"),
               cell(98, 71, "AVirus"));
CAMPAIGN_TABLE(kT2, block(42, 104, 20, 26, "Wood"), block(105, 107, 21, 26, "Wood"));
CAMPAIGN_TABLE(kT3, block(17, 118, 11, 21, "HumanPart"));
CAMPAIGN_TABLE(kT5, column(1, 20, 24, "Water"), block(2, 3, 21, 24, "Water"), block(4, 7, 21, 23, "Water"),
               block(8, 27, 22, 23, "Water"), block(28, 32, 21, 23, "Water"), column(33, 21, 24, "Water"),
               column(34, 22, 24, "Water"), cell(35, 24, "Water"));
CAMPAIGN_TABLE(kT6a, block(42, 44, 22, 24, "HumanPart"));
CAMPAIGN_TABLE(kT6b, column(59, 33, 34, "Tnt"), column(60, 32, 34, "Tnt"), column(61, 32, 33, "Tnt"));
CAMPAIGN_TABLE(kT7, block(3, 21, 40, 43, "Tnt"));
CAMPAIGN_TABLE(kT8, block(30, 32, 35, 37, "Gas"));
CAMPAIGN_TABLE(kTM8, cell(97, 14, "Metal"));
CAMPAIGN_TABLE(kT10a, column(91, 5, 11, "Wax"));
CAMPAIGN_TABLE(kT10b, row(57, 60, 4, "Lava"));
CAMPAIGN_TABLE(kT10c, block(113, 117, 13, 17, "HumanPart"));
CAMPAIGN_TABLE(kT11, row(67, 68, 39, "Wood"), column(69, 38, 41, "Wood"), cell(70, 39, "Wood"), cell(70, 41, "Wood"),
               column(71, 38, 41, "Wood"), column(72, 38, 39, "Wood"), column(73, 37, 38, "Wood"),
               row(74, 75, 37, "Wood"), column(76, 36, 37, "Wood"), row(77, 79, 36, "Wood"),
               column(80, 35, 36, "Wood"), row(81, 83, 35, "Wood"), column(84, 34, 35, "Wood"),
               row(85, 88, 34, "Wood"), column(89, 33, 34, "Wood"), row(90, 93, 33, "Wood"),
               column(94, 32, 33, "Wood"), row(95, 98, 32, "Wood"), column(99, 31, 32, "Wood"),
               row(100, 103, 31, "Wood"), block(104, 105, 30, 32, "Wood"), column(106, 30, 31, "Wood"),
               cell(107, 31, "Wood"));
CAMPAIGN_TABLE(kT13, column(98, 58, 60, "HumanPart"));
CAMPAIGN_TABLE(kT15, cell(111, 52, "Acid"));
CAMPAIGN_TABLE(kTG15, cell(76, 23, "Sapphire"), cell(84, 23, "Citrine"), cell(92, 23, "Ruby"));
CAMPAIGN_TABLE(kTM18, cell(70, 62, "Metal"));
CAMPAIGN_TABLE(kT19, column(90, 36, 40, "Gas"), column(90, 42, 44, "Gas"), cell(91, 36, "Gas"),
               column(91, 38, 42, "Gas"), cell(91, 44, "Gas"), column(92, 36, 39, "Gas"), column(92, 41, 44, "Gas"),
               column(93, 36, 44, "Gas"));
CAMPAIGN_TABLE(kTF19, row(99, 106, 6, "Lava"), cell(107, 48, "Void"));
// clang-format on

HumanRegistry& registry()
{
    return *HumanRegistry::getInstance();
}

bool noZombies()
{
    return registry().countZombies() <= 0;
}

// With no human ever listed the zombie count is the built counter, which a
// fresh world leaves at 0: such a world must not pass.
bool zombieFree()
{
    return registry().everRegistered() && noZombies();
}

// The job texts are made once: the pattern test compares with them.
bool humanWithJob(MissionPattern table, const char* job)
{
    static CCString* const zombie = CCString::create("zombie");
    static CCString* const miner = CCString::create("miner");
    static CCString* const normal = CCString::create("normal");
    static bool retained = (zombie->retain(), miner->retain(), normal->retain(), true);
    (void)retained;
    const std::string_view j = job;
    CCString* text = j == "zombie" ? zombie : j == "miner" ? miner : normal;
    return patternHasHumanWithJob(table, text);
}

// Fewer wood cells than four fifths of the table (rounded down) are left.
bool woodCut()
{
    static const float threshold = std::floor(static_cast<float>(static_cast<double>(kT11.size() - 1) * 0.8));
    return static_cast<float>(patternCount(kT11.data())) < threshold && registry().countLiving() >= 1;
}

// clang-format off
constexpr CampaignMissionRow kMissions[] = {
    {.className = "ZombieLv1", .level = 1, .textKey = "ZombieLv1", .rewardKey = "ZombieLv1", .delay = 6,
     .points = 100, .test = [] { return patternCountAtLeast(kT1.data(), 1); }},
    {.className = "ZombieLv2", .level = 2, .textKey = "ZombieLv2", .rewardKey = "ZombieLv2", .delay = 6,
     .points = 100, .test = [] { return patternCountAtLeast(kT2.data(), 1) && registry().countLiving() >= 2; }},
    // Pays what the level before pays.
    {.className = "ZombieLv3", .level = 3, .textKey = "ZombieLv3", .rewardKey = "ZombieLv2", .delay = 6,
     .points = 100,
     .test = [] { return humanWithJob(kT3.data(), "zombie") && registry().countLiving() >= 1; }},
    {.className = "ZombieLv4", .level = 4, .textKey = "ZombieLv4", .rewardKey = "ZombieLv4", .delay = 6,
     .points = 100, .test = zombieFree},
    {.className = "ZombieLv5", .level = 5, .textKey = "ZombieLv5", .rewardKey = "ZombieLv5", .delay = 6,
     .points = 100, .test = [] { return patternAllMatch(kT5.data()); }},
    {.className = "ZombieLv6", .level = 6, .textKey = "ZombieLv6", .rewardKey = "ZombieLv6", .delay = 6,
     .points = 100,
     .test = [] { return humanWithJob(kT6a.data(), "miner") && patternNoneMatch(kT6b.data()); }},
    {.className = "ZombieLv7", .level = 7, .textKey = "ZombieLv7", .rewardKey = "ZombieLv7", .delay = 6,
     .points = 100, .test = [] { return patternNoneMatch(kT7.data()); }},
    {.className = "ZombieLv8", .level = 8, .textKey = "ZombieLv8", .rewardKey = "ZombieLv8", .delay = 6,
     .points = 50, .test = [] { return patternAllMatch(kT8.data()); }},
    {.className = "ZombieMetalLv8", .level = 8, .textKey = "ZombieMetalLv8", .rewardKey = "ZombieMetalLv8",
     .delay = 6, .points = 50, .test = [] { return patternAllMatchPowered(kTM8.data()); }},
    {.className = "ZombieLv9", .level = 9, .textKey = "ZombieLv9", .rewardKey = "ZombieLv9", .delay = 6,
     .points = 100, .test = zombieFree},
    // The only mission of its level, yet half a level's points.
    {.className = "ZombieLv10", .level = 10, .textKey = "ZombieLv10", .rewardKey = "ZombieLv10", .delay = 6,
     .points = 50,
     .test = [] {
         return (patternAllMatch(kT10a.data()) || patternAllMatch(kT10b.data())) &&
             humanWithJob(kT10c.data(), "normal");
     }},
    {.className = "ZombieLv11", .level = 11, .textKey = "ZombieLv11", .rewardKey = "ZombieLv11", .delay = 6,
     .points = 100, .test = woodCut},
    {.className = "ZombieLv12", .level = 12, .textKey = "ZombieLv12", .rewardKey = "ZombieLv12", .delay = 6,
     .points = 100, .test = [] { return noZombies() && registry().countLiving() >= 3; }},
    {.className = "ZombieLv13", .level = 13, .textKey = "ZombieLv13", .rewardKey = "ZombieLv13", .delay = 6,
     .points = 100, .test = [] { return patternCountAtLeast(kT13.data(), 1) && noZombies(); }},
    {.className = "ZombieLv14", .level = 14, .textKey = "ZombieLv14", .rewardKey = "ZombieLv14", .delay = 6,
     .points = 100, .test = [] { return registry().countLiving() >= 2 && noZombies(); }},
    {.className = "ZombieLv15", .level = 15, .textKey = "ZombieLv15", .rewardKey = "ZombieLv15", .delay = 6,
     .points = 25, .test = [] { return patternAllMatch(kT15.data()); }},
    {.className = "Zombie_GemLv15", .level = 15, .textKey = "Zombie_GemLv15", .rewardKey = "Zombie_GemLv15",
     .delay = 6, .points = 25, .test = [] { return patternAllMatch(kTG15.data()); }},
    {.className = "Zombie_CountLv15", .level = 15, .textKey = "Zombie_CountLv15", .rewardKey = "Zombie_CountLv15",
     .delay = 6, .points = 50, .test = zombieFree},
    {.className = "ZombieLv16", .level = 16, .textKey = "ZombieLv16", .rewardKey = "ZombieLv16", .delay = 6,
     .points = 100, .test = [] { return noZombies() && registry().count() >= 2; }},
    {.className = "ZombieLv17", .level = 17, .textKey = "ZombieLv17", .rewardKey = "ZombieLv17", .delay = 6,
     .points = 100, .test = zombieFree},
    {.className = "ZombieLv18", .level = 18, .textKey = "ZombieLv18", .rewardKey = "ZombieLv18", .delay = 6,
     .points = 50, .test = zombieFree},
    {.className = "ZombieMetalLv18", .level = 18, .textKey = "ZombieMetalLv18", .rewardKey = "ZombieMetalLv18",
     .delay = 6, .points = 50, .test = [] { return patternNoneMatch(kTM18.data()); }},
    {.className = "ZombieLv19", .level = 19, .textKey = "ZombieLv19", .rewardKey = "ZombieLv19", .delay = 6,
     .points = 50, .test = [] { return patternCountAtLeast(kT19.data(), 1); }},
    {.className = "ZombieFoundryLv19", .level = 19, .textKey = "ZombieFoundryLv19",
     .rewardKey = "ZombieFoundryLv19", .delay = 6, .points = 50, .test = [] { return patternAllMatch(kTF19.data()); }},
    // Every human gone, after some had lived here.
    {.className = "ZombieLv20", .level = 20, .textKey = "ZombieLv20", .rewardKey = "ZombieLv20", .delay = 8,
     .points = 100,
     .test = [] { return registry().everRegistered() && registry().count() == 0 && noZombies(); }},
};

constexpr EndOrder kLastEnd{EndAction::Day, EndAction::Outro, EndAction::Finished, EndAction::Grant,
                            EndAction::Save};

// Every step pays whether or not its level was reached before.
constexpr CampaignLevelRow kLevels[] = {
    {.level = 1, .missions = {"ZombieLv1"}, .step = "Zombie_CheckLv2", .threshold = 100,
     .rewardKey = "Zombie_CheckLv2", .boardKey = "Zombie_CheckLv2", .grant = StepGrant::Always},
    {.level = 2, .missions = {"ZombieLv2"}, .step = "Zombie_CheckLv3", .threshold = 200,
     .rewardKey = "Zombie_CheckLv3", .boardKey = "Zombie_CheckLv3", .grant = StepGrant::Always},
    {.level = 3, .missions = {"ZombieLv3"}, .step = "Zombie_CheckLv4", .threshold = 300,
     .rewardKey = "Zombie_CheckLv4", .boardKey = "Zombie_CheckLv4", .grant = StepGrant::Always},
    // Shows one amount and pays another.
    {.level = 4, .missions = {"ZombieLv4"}, .step = "Zombie_CheckLv5", .threshold = 400,
     .rewardKey = "Zombie_CheckLv5a", .boardKey = "Zombie_CheckLv5", .grant = StepGrant::Always},
    {.level = 5, .missions = {"ZombieLv5"}, .step = "Zombie_CheckLv6", .threshold = 500,
     .rewardKey = "Zombie_CheckLv6", .boardKey = "Zombie_CheckLv6", .grant = StepGrant::Always},
    {.level = 6, .missions = {"ZombieLv6"}, .step = "Zombie_CheckLv7", .threshold = 600,
     .rewardKey = "Zombie_CheckLv7", .boardKey = "Zombie_CheckLv7", .grant = StepGrant::Always},
    {.level = 7, .missions = {"ZombieLv7"}, .step = "Zombie_CheckLv8", .threshold = 700,
     .rewardKey = "Zombie_CheckLv8", .boardKey = "Zombie_CheckLv8", .grant = StepGrant::Always},
    {.level = 8, .missions = {"ZombieLv8", "ZombieMetalLv8"}, .step = "Zombie_CheckLv9", .threshold = 800,
     .rewardKey = "Zombie_CheckLv9", .boardKey = "Zombie_CheckLv9", .grant = StepGrant::Always},
    {.level = 9, .missions = {"ZombieLv9"}, .step = "Zombie_CheckLv10", .threshold = 900,
     .rewardKey = "Zombie_CheckLv10", .boardKey = "Zombie_CheckLv10", .grant = StepGrant::Always},
    {.level = 10, .missions = {"ZombieLv10"}, .step = "Zombie_CheckLv11", .threshold = 1000,
     .rewardKey = "Zombie_CheckLv11", .boardKey = "Zombie_CheckLv11", .grant = StepGrant::Always},
    {.level = 11, .missions = {"ZombieLv11"}, .step = "Zombie_CheckLv12", .threshold = 1100,
     .rewardKey = "Zombie_CheckLv12", .boardKey = "Zombie_CheckLv12", .grant = StepGrant::Always},
    {.level = 12, .missions = {"ZombieLv12"}, .step = "Zombie_CheckLv13", .threshold = 1200,
     .rewardKey = "Zombie_CheckLv13", .boardKey = "Zombie_CheckLv13", .grant = StepGrant::Always},
    {.level = 13, .missions = {"ZombieLv13"}, .step = "Zombie_CheckLv14", .threshold = 1300,
     .rewardKey = "Zombie_CheckLv14", .boardKey = "Zombie_CheckLv14", .grant = StepGrant::Always},
    {.level = 14, .missions = {"ZombieLv14"}, .step = "Zombie_CheckLv15", .threshold = 1400,
     .rewardKey = "Zombie_CheckLv15", .boardKey = "Zombie_CheckLv15", .grant = StepGrant::Always},
    {.level = 15, .missions = {"ZombieLv15", "Zombie_GemLv15", "Zombie_CountLv15"}, .step = "Zombie_CheckLv16",
     .threshold = 1500, .rewardKey = "Zombie_CheckLv16", .boardKey = "Zombie_CheckLv16", .grant = StepGrant::Always},
    {.level = 16, .missions = {"ZombieLv16"}, .step = "Zombie_CheckLv17", .threshold = 1600,
     .rewardKey = "Zombie_CheckLv17", .boardKey = "Zombie_CheckLv17", .grant = StepGrant::Always},
    {.level = 17, .missions = {"ZombieLv17"}, .step = "Zombie_CheckLv18", .threshold = 1700,
     .rewardKey = "Zombie_CheckLv18", .boardKey = "Zombie_CheckLv18", .grant = StepGrant::Always},
    {.level = 18, .missions = {"ZombieLv18", "ZombieMetalLv18"}, .step = "Zombie_CheckLv19", .threshold = 1800,
     .rewardKey = "Zombie_CheckLv19", .boardKey = "Zombie_CheckLv19", .grant = StepGrant::Always},
    {.level = 19, .missions = {"ZombieLv19", "ZombieFoundryLv19"}, .step = "Zombie_CheckLv20", .threshold = 1900,
     .rewardKey = "Zombie_CheckLv20", .boardKey = "Zombie_CheckLv20", .grant = StepGrant::Always},
    {.level = 20, .missions = {"ZombieLv20"}, .step = "Zombie_CheckLv21", .threshold = 2000,
     .rewardKey = "Zombie_CheckLv21", .boardKey = "Zombie_CheckLv21", .grant = StepGrant::Always,
     .order = kLastEnd},
};
// clang-format on

constexpr CampaignTable kTables[] = {
    {"T1", kT1.data(), "ZombieLv1", 'A'},
    {"T2", kT2.data(), "ZombieLv2", 'A'},
    {"T3", kT3.data(), "ZombieLv3", 'A'},
    {"T5", kT5.data(), "ZombieLv5", 'A'},
    {"T6a", kT6a.data(), "ZombieLv6", 'A'},
    {"T6b", kT6b.data(), "ZombieLv6", 'B'},
    {"T7", kT7.data(), "ZombieLv7", 'A'},
    {"T8", kT8.data(), "ZombieLv8", 'A'},
    {"TM8", kTM8.data(), "ZombieMetalLv8", 'A'},
    {"T10a", kT10a.data(), "ZombieLv10", 'A'},
    {"T10b", kT10b.data(), "ZombieLv10", 'B'},
    {"T10c", kT10c.data(), "ZombieLv10", 'C'},
    {"T11", kT11.data(), "ZombieLv11", 'A'},
    {"T13", kT13.data(), "ZombieLv13", 'A'},
    {"T15", kT15.data(), "ZombieLv15", 'A'},
    {"TG15", kTG15.data(), "Zombie_GemLv15", 'A'},
    {"TM18", kTM18.data(), "ZombieMetalLv18", 'A'},
    {"T19", kT19.data(), "ZombieLv19", 'A'},
    {"TF19", kTF19.data(), "ZombieFoundryLv19", 'A'},
};

constexpr Campaign kZombie{.name = "Zombie",
                           .mode = 8,
                           .completionIndex = CampaignIndex::Zombie,
                           .levels = kLevels,
                           .missions = kMissions,
                           .tables = kTables};

}  // namespace

const Campaign& zombieCampaign()
{
    return kZombie;
}
