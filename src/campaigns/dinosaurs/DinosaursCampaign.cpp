#include "campaigns/dinosaurs/DinosaursCampaign.h"

// The cave's acid, the herd of three and the virus field are drawn as pixel
// maps (assets/levels/tables), as kMap<mission><letter>.
#include "campaigns/DrawnTables.inc"
#include "profile/Profile.h"

namespace {

using namespace runs;

constexpr std::string_view kLeaf = "TreeLeaf";

// The prey's shape: clear of leaves once it is eaten.
CAMPAIGN_TABLE(kHunterPrey, column(81, 27, 28, kLeaf), column(82, 25, 30, kLeaf), cell(83, 17, kLeaf),
               column(83, 25, 30, kLeaf), cell(84, 18, kLeaf), column(84, 25, 30, kLeaf), column(85, 17, 18, kLeaf),
               column(85, 23, 30, kLeaf), cell(86, 18, kLeaf), column(86, 21, 30, kLeaf), column(87, 18, 29, kLeaf),
               column(88, 18, 25, kLeaf), column(89, 17, 23, kLeaf), column(90, 16, 22, kLeaf),
               column(91, 16, 22, kLeaf), column(92, 14, 21, kLeaf), column(93, 14, 21, kLeaf),
               column(94, 13, 21, kLeaf), column(95, 13, 21, kLeaf), column(96, 13, 22, kLeaf),
               column(97, 13, 20, kLeaf), column(98, 14, 20, kLeaf), column(99, 16, 19, kLeaf),
               column(100, 16, 19, kLeaf), column(101, 16, 19, kLeaf), column(102, 17, 19, kLeaf),
               column(103, 17, 19, kLeaf), column(104, 17, 20, kLeaf), column(105, 18, 20, kLeaf),
               column(106, 18, 20, kLeaf), column(107, 19, 21, kLeaf), column(108, 20, 21, kLeaf),
               column(109, 21, 22, kLeaf));
// The hunter's shape, which must stay whole.
CAMPAIGN_TABLE(kHunter, cell(25, 7, kLeaf), cell(26, 7, kLeaf), column(27, 7, 8, kLeaf), column(28, 7, 11, kLeaf),
               column(29, 8, 14, kLeaf), column(30, 9, 15, kLeaf), column(31, 7, 15, kLeaf), column(32, 7, 16, kLeaf),
               column(33, 7, 16, kLeaf), column(34, 7, 17, kLeaf), column(35, 7, 17, kLeaf), column(36, 9, 17, kLeaf),
               column(37, 10, 17, kLeaf), column(38, 11, 17, kLeaf), column(39, 7, 18, kLeaf), column(40, 7, 18, kLeaf),
               column(41, 7, 18, kLeaf), column(42, 7, 19, kLeaf), column(43, 9, 19, kLeaf), column(44, 13, 20, kLeaf),
               column(45, 16, 22, kLeaf), column(46, 19, 26, kLeaf), column(47, 21, 34, kLeaf),
               column(48, 25, 35, kLeaf), column(49, 32, 35, kLeaf), column(50, 32, 35, kLeaf),
               column(51, 33, 34, kLeaf));
// The dinosaur that must stay whole ...
CAMPAIGN_TABLE(kAutoImmune, cell(37, 14, kLeaf), column(38, 13, 15, kLeaf), column(39, 13, 15, kLeaf),
               column(40, 13, 14, kLeaf), column(41, 13, 14, kLeaf), column(42, 13, 14, kLeaf),
               column(43, 13, 14, kLeaf), column(44, 13, 15, kLeaf), column(45, 13, 15, kLeaf),
               column(46, 14, 16, kLeaf), column(47, 14, 18, kLeaf), column(48, 13, 21, kLeaf),
               column(49, 12, 21, kLeaf), column(50, 11, 22, kLeaf), column(51, 11, 22, kLeaf),
               column(52, 12, 23, kLeaf), column(53, 11, 23, kLeaf), cell(54, 11, kLeaf), column(54, 14, 23, kLeaf),
               column(55, 15, 23, kLeaf), column(56, 13, 23, kLeaf), column(57, 12, 23, kLeaf),
               column(58, 11, 23, kLeaf), column(59, 11, 23, kLeaf), column(60, 12, 22, kLeaf),
               column(61, 11, 22, kLeaf), cell(62, 11, kLeaf), column(62, 14, 21, kLeaf), column(63, 14, 21, kLeaf),
               column(64, 14, 20, kLeaf), column(65, 14, 20, kLeaf), column(66, 13, 19, kLeaf),
               column(67, 13, 18, kLeaf), column(68, 13, 18, kLeaf), column(69, 13, 18, kLeaf),
               column(70, 13, 18, kLeaf), column(71, 13, 16, kLeaf), cell(71, 18, kLeaf), column(72, 14, 15, kLeaf));
// ... and the two mud pools that must dry.
CAMPAIGN_TABLE(kMudPools, cell(14, 8, "Mud"), column(15, 6, 10, "Mud"), column(16, 6, 12, "Mud"),
               column(17, 6, 12, "Mud"), column(18, 6, 12, "Mud"), column(19, 6, 12, "Mud"), column(20, 7, 11, "Mud"),
               column(21, 9, 11, "Mud"), cell(22, 10, "Mud"), column(95, 10, 13, "Mud"), column(96, 8, 14, "Mud"),
               column(97, 8, 15, "Mud"), column(98, 8, 16, "Mud"), column(99, 7, 16, "Mud"), column(100, 7, 16, "Mud"),
               column(101, 7, 16, "Mud"), column(102, 7, 16, "Mud"), column(103, 7, 15, "Mud"),
               column(104, 7, 12, "Mud"), column(105, 8, 11, "Mud"));
// The dinosaur in the acid's way.
CAMPAIGN_TABLE(kAcidVictim, cell(44, 61, kLeaf), cell(45, 60, kLeaf), column(46, 59, 60, kLeaf), cell(47, 59, kLeaf),
               column(48, 58, 59, kLeaf), column(49, 58, 59, kLeaf), column(50, 58, 59, kLeaf), cell(51, 58, kLeaf),
               cell(52, 58, kLeaf), column(53, 58, 59, kLeaf), column(54, 58, 59, kLeaf), column(55, 58, 59, kLeaf),
               column(56, 58, 59, kLeaf), column(57, 58, 60, kLeaf), column(58, 58, 60, kLeaf),
               column(59, 59, 60, kLeaf), column(60, 59, 60, kLeaf), column(61, 59, 61, kLeaf),
               column(62, 59, 61, kLeaf), column(63, 60, 61, kLeaf), column(64, 61, 62, kLeaf),
               column(65, 61, 65, kLeaf), column(66, 62, 66, kLeaf), column(67, 62, 66, kLeaf),
               column(68, 63, 66, kLeaf), column(69, 63, 66, kLeaf), column(70, 63, 66, kLeaf),
               column(71, 63, 64, kLeaf));
// The four dinosaurs of the last hunt.
CAMPAIGN_TABLE(kHerd, column(5, 44, 48, kLeaf), column(6, 43, 48, kLeaf), column(7, 42, 48, kLeaf),
               column(8, 40, 47, kLeaf), column(9, 40, 44, kLeaf), column(10, 41, 43, kLeaf), cell(11, 43, kLeaf),
               column(32, 22, 25, kLeaf), column(33, 22, 26, kLeaf), column(34, 22, 28, kLeaf),
               column(35, 21, 29, kLeaf), column(36, 20, 29, kLeaf), column(37, 20, 29, kLeaf),
               column(38, 20, 29, kLeaf), column(39, 20, 28, kLeaf), column(40, 21, 24, kLeaf), cell(41, 22, kLeaf),
               column(69, 49, 50, kLeaf), column(70, 48, 52, kLeaf), column(71, 48, 52, kLeaf),
               column(72, 48, 52, kLeaf), column(73, 47, 52, kLeaf), column(74, 46, 52, kLeaf),
               column(75, 46, 51, kLeaf), column(76, 46, 48, kLeaf), cell(77, 47, kLeaf), cell(78, 47, kLeaf),
               cell(104, 26, kLeaf), cell(105, 26, kLeaf), cell(106, 26, kLeaf), column(107, 26, 27, kLeaf),
               cell(108, 25, kLeaf), column(108, 27, 28, kLeaf), column(109, 24, 26, kLeaf), column(109, 28, 29, kLeaf),
               column(110, 24, 26, kLeaf), column(110, 28, 29, kLeaf), column(111, 24, 29, kLeaf),
               column(112, 23, 29, kLeaf), column(113, 23, 29, kLeaf), column(114, 24, 28, kLeaf),
               column(115, 25, 28, kLeaf), column(116, 25, 27, kLeaf), column(117, 25, 26, kLeaf),
               cell(118, 26, kLeaf));
// The posts at column 63 that stop the hunter, and the lava pit under them.
CAMPAIGN_TABLE(kPostsGlass, cell(63, 20, "Glass"), cell(63, 26, "Glass"), cell(63, 31, "Glass"));
CAMPAIGN_TABLE(kPitLava, cell(63, 5, "Lava"));
CAMPAIGN_TABLE(kPostsMetal, cell(63, 20, "Metal"), cell(63, 26, "Metal"), cell(63, 31, "Metal"));
CAMPAIGN_TABLE(kPostsMud, cell(63, 20, "Mud"), cell(63, 26, "Mud"), cell(63, 31, "Mud"));
CAMPAIGN_TABLE(kPostsWall, cell(63, 20, "Wall"), cell(63, 26, "Wall"), cell(63, 31, "Wall"));
CAMPAIGN_TABLE(kPostsWax, cell(63, 20, "Wax"), cell(63, 26, "Wax"), cell(63, 31, "Wax"));
CAMPAIGN_TABLE(kCaveWater, row(71, 79, 2, "Water"), row(112, 118, 2, "Water"));
CAMPAIGN_TABLE(kFrozen, row(104, 106, 29, "Ice"), row(104, 106, 30, "Ice"), row(104, 106, 31, "Ice"));
CAMPAIGN_TABLE(kVolcanoes, cell(99, 24, "Lava"), cell(103, 24, "Lava"), cell(107, 24, "Lava"));
CAMPAIGN_TABLE(kSurvivors, cell(105, 16, kLeaf), cell(108, 16, kLeaf), cell(112, 14, kLeaf), cell(114, 13, kLeaf),
               cell(117, 14, kLeaf));
CAMPAIGN_TABLE(kLastInfected, cell(54, 27, kLeaf));
CAMPAIGN_TABLE(kOilPumps, cell(25, 27, "Multi"), cell(25, 29, "Multi"), cell(25, 31, "Multi"), cell(25, 33, "Multi"),
               cell(25, 35, "Multi"), cell(25, 37, "Multi"));
CAMPAIGN_TABLE(kMachineSockets, cell(55, 8, "HotSensor"), cell(61, 8, "HotSensor"));
CAMPAIGN_TABLE(kBase, row(103, 111, 31, "HumanPart"), row(103, 111, 32, "HumanPart"), row(103, 111, 33, "HumanPart"));
CAMPAIGN_TABLE(kShelter, cell(56, 18, "HumanSensor"), cell(61, 18, "HumanSensor"));
CAMPAIGN_TABLE(kRefuge, row(107, 113, 33, "HumanPart"), row(107, 113, 34, "HumanPart"), row(107, 113, 35, "HumanPart"));
CAMPAIGN_TABLE(kMachineCore, row(96, 98, 6, "VeryHotSensor"), row(96, 98, 7, "VeryHotSensor"),
               row(96, 98, 8, "VeryHotSensor"), row(102, 104, 6, "VeryHotSensor"), row(102, 104, 7, "VeryHotSensor"),
               row(102, 104, 8, "VeryHotSensor"));

// The hunter survives, and its prey is gone or the way to it is blocked.
bool hunterHunted()
{
    return (patternNoneMatch(kHunterPrey.data()) || patternAllMatch(kPostsGlass.data()) ||
            patternAllMatch(kPitLava.data()) || patternAllMatch(kPostsMetal.data()) ||
            patternAllMatch(kPostsMud.data()) || patternAllMatch(kPostsWall.data()) ||
            patternAllMatch(kPostsWax.data())) &&
        patternAllMatch(kHunter.data());
}

// clang-format off
constexpr CampaignMissionRow kMissions[] = {
    {.className = "Dino_HunterHunted", .level = 1, .textKey = "Dino_HunterHunted", .rewardKey = "Dino_HunterHunted",
     .delay = 1, .points = 100, .test = hunterHunted},
    {.className = "Dino_AutoImmune", .level = 2, .textKey = "Dino_AutoImmune", .rewardKey = "Dino_AutoImmune",
     .delay = 1, .points = 100,
     .test = [] { return patternAllMatch(kAutoImmune.data()) && patternNoneMatch(kMudPools.data()); }},
    {.className = "Dino_Cave", .level = 3, .textKey = "Dino_Cave", .rewardKey = "Dino_Cave", .delay = 1,
     .points = 100,
     .test = [] { return patternCountAtLeast(kCaveWater.data(), 5) && patternAllMatch(kMapDino_CaveB); }},
    {.className = "Dino_Defrost", .level = 4, .textKey = "Dino_Defrost", .rewardKey = "Dino_Defrost", .delay = 1,
     .points = 100, .test = [] { return patternAllMatch(kFrozen.data()); }},
    {.className = "Dino_Winterland", .level = 5, .textKey = "Dino_Winterland", .rewardKey = "Dino_Winterland",
     .delay = 1, .points = 100, .test = [] { return patternAllMatch(kVolcanoes.data()); }},
    {.className = "Dino_DeathByTNT", .level = 6, .textKey = "Dino_DeathByTNT", .rewardKey = "Dino_DeathByTNT",
     .delay = 1, .points = 100, .test = [] { return patternNoneMatch(kMapDino_DeathByTNTA); }},
    {.className = "Dino_DeathByAcid", .level = 7, .textKey = "Dino_DeathByAcid", .rewardKey = "Dino_DeathByAcid",
     .delay = 1, .points = 100, .test = [] { return patternNoneMatch(kAcidVictim.data()); }},
    {.className = "Dino_VirusVsAcid", .level = 8, .textKey = "Dino_VirusVsAcid", .rewardKey = "Dino_VirusVsAcid",
     .delay = 1, .points = 100,
     .test = [] {
         return patternAllMatch(kSurvivors.data()) && patternNoneMatch(kLastInfected.data()) &&
             patternNoneMatch(kMapDino_VirusVsAcidC);
     }},
    {.className = "Dino_KillThemAll", .level = 9, .textKey = "Dino_KillThemAll", .rewardKey = "Dino_KillThemAll",
     .delay = 1, .points = 100, .test = [] { return patternNoneMatch(kHerd.data()); }},
    {.className = "Dino_Oilsaurs", .level = 10, .textKey = "Dino_Oilsaurs", .rewardKey = "Dino_Oilsaurs",
     .delay = 15, .points = 100, .test = [] { return patternAllMatch(kOilPumps.data()); }},
    {.className = "Dino_TurnOnTimeMachine", .level = 11, .textKey = "Dino_TurnOnTimeMachine",
     .rewardKey = "Dino_TurnOnTimeMachine", .delay = 1, .points = 100,
     .test = [] { return patternAllMatchPowered(kMachineSockets.data()); }},
    {.className = "Dino_Infiltrate", .level = 12, .textKey = "Dino_Infiltrate", .rewardKey = "Dino_Infiltrate",
     .delay = 1, .points = 100, .test = [] { return patternCountAtLeast(kBase.data(), 1); }},
    {.className = "Dino_Survive", .level = 13, .textKey = "Dino_Survive", .rewardKey = "Dino_Survive", .delay = 1,
     .points = 100, .test = [] { return patternAllMatch(kShelter.data()); }},
    {.className = "Dino_DodgeLava", .level = 14, .textKey = "Dino_DodgeLava", .rewardKey = "Dino_DodgeLava",
     .delay = 1, .points = 100, .test = [] { return patternCountAtLeast(kRefuge.data(), 1); }},
    {.className = "Dino_FixTimeMachine", .level = 15, .textKey = "Dino_FixTimeMachine",
     .rewardKey = "Dino_FixTimeMachine", .delay = 1, .points = 100,
     .test = [] { return patternAnyMatchPowered(kMachineCore.data()); }},
};

constexpr EndOrder kLastEnd{EndAction::Day, EndAction::Outro, EndAction::Grant, EndAction::Finished,
                            EndAction::Save};

// Steps 12 to 16 pay on every completion, the earlier ones only the first.
constexpr CampaignLevelRow kLevels[] = {
    {.level = 1, .missions = {"Dino_HunterHunted"}, .step = "Dino_CheckLv2", .threshold = 100, .rewardKey = "Dino_CheckLv2", .boardKey = "Dino_CheckLv2"},
    {.level = 2, .missions = {"Dino_AutoImmune"}, .step = "Dino_CheckLv3", .threshold = 200, .rewardKey = "Dino_CheckLv3", .boardKey = "Dino_CheckLv3"},
    {.level = 3, .missions = {"Dino_Cave"}, .step = "Dino_CheckLv4", .threshold = 300, .rewardKey = "Dino_CheckLv4", .boardKey = "Dino_CheckLv4"},
    {.level = 4, .missions = {"Dino_Defrost"}, .step = "Dino_CheckLv5", .threshold = 400, .rewardKey = "Dino_CheckLv5", .boardKey = "Dino_CheckLv5"},
    {.level = 5, .missions = {"Dino_Winterland"}, .step = "Dino_CheckLv6", .threshold = 500, .rewardKey = "Dino_CheckLv6", .boardKey = "Dino_CheckLv6"},
    {.level = 6, .missions = {"Dino_DeathByTNT"}, .step = "Dino_CheckLv7", .threshold = 600, .rewardKey = "Dino_CheckLv7", .boardKey = "Dino_CheckLv7"},
    {.level = 7, .missions = {"Dino_DeathByAcid"}, .step = "Dino_CheckLv8", .threshold = 700, .rewardKey = "Dino_CheckLv8", .boardKey = "Dino_CheckLv8"},
    {.level = 8, .missions = {"Dino_VirusVsAcid"}, .step = "Dino_CheckLv9", .threshold = 800, .rewardKey = "Dino_CheckLv9", .boardKey = "Dino_CheckLv9"},
    {.level = 9, .missions = {"Dino_KillThemAll"}, .step = "Dino_CheckLv10", .threshold = 900, .rewardKey = "Dino_CheckLv10", .boardKey = "Dino_CheckLv10"},
    {.level = 10, .missions = {"Dino_Oilsaurs"}, .step = "Dino_CheckLv11", .threshold = 900, .rewardKey = "Dino_CheckLv11", .boardKey = "Dino_CheckLv11"},
    {.level = 11, .missions = {"Dino_TurnOnTimeMachine"}, .step = "Dino_CheckLv12", .threshold = 1100, .rewardKey = "Dino_CheckLv12", .boardKey = "Dino_CheckLv12", .grant = StepGrant::Always},
    {.level = 12, .missions = {"Dino_Infiltrate"}, .step = "Dino_CheckLv13", .threshold = 1200, .rewardKey = "Dino_CheckLv13", .boardKey = "Dino_CheckLv13", .grant = StepGrant::Always},
    {.level = 13, .missions = {"Dino_Survive"}, .step = "Dino_CheckLv14", .threshold = 1300, .rewardKey = "Dino_CheckLv14", .boardKey = "Dino_CheckLv14", .grant = StepGrant::Always},
    {.level = 14, .missions = {"Dino_DodgeLava"}, .step = "Dino_CheckLv15", .threshold = 1400, .rewardKey = "Dino_CheckLv15", .boardKey = "Dino_CheckLv15", .grant = StepGrant::Always},
    {.level = 15, .missions = {"Dino_FixTimeMachine"}, .step = "Dino_CheckLv16", .threshold = 1500, .rewardKey = "Dino_CheckLv16", .boardKey = "Dino_CheckLv16", .grant = StepGrant::Always, .order = kLastEnd},
};
// clang-format on

constexpr CampaignTable kTables[] = {
    {"HunterPrey", kHunterPrey.data(), "Dino_HunterHunted", 'A'},
    {"PostsGlass", kPostsGlass.data(), "Dino_HunterHunted", 'B'},
    {"PitLava", kPitLava.data(), "Dino_HunterHunted", 'C'},
    {"PostsMetal", kPostsMetal.data(), "Dino_HunterHunted", 'D'},
    {"PostsMud", kPostsMud.data(), "Dino_HunterHunted", 'E'},
    {"PostsWall", kPostsWall.data(), "Dino_HunterHunted", 'F'},
    {"PostsWax", kPostsWax.data(), "Dino_HunterHunted", 'G'},
    {"Hunter", kHunter.data(), "Dino_HunterHunted", 'H'},
    {"AutoImmune", kAutoImmune.data(), "Dino_AutoImmune", 'A'},
    {"MudPools", kMudPools.data(), "Dino_AutoImmune", 'B'},
    {"CaveWater", kCaveWater.data(), "Dino_Cave", 'A'},
    {"CaveAcid", kMapDino_CaveB, "Dino_Cave", 'B'},
    {"Frozen", kFrozen.data(), "Dino_Defrost", 'A'},
    {"Volcanoes", kVolcanoes.data(), "Dino_Winterland", 'A'},
    {"HerdOfThree", kMapDino_DeathByTNTA, "Dino_DeathByTNT", 'A'},
    {"AcidVictim", kAcidVictim.data(), "Dino_DeathByAcid", 'A'},
    {"Survivors", kSurvivors.data(), "Dino_VirusVsAcid", 'A'},
    {"LastInfected", kLastInfected.data(), "Dino_VirusVsAcid", 'B'},
    {"VirusField", kMapDino_VirusVsAcidC, "Dino_VirusVsAcid", 'C'},
    {"Herd", kHerd.data(), "Dino_KillThemAll", 'A'},
    {"OilPumps", kOilPumps.data(), "Dino_Oilsaurs", 'A'},
    {"MachineSockets", kMachineSockets.data(), "Dino_TurnOnTimeMachine", 'A'},
    {"Base", kBase.data(), "Dino_Infiltrate", 'A'},
    {"Shelter", kShelter.data(), "Dino_Survive", 'A'},
    {"Refuge", kRefuge.data(), "Dino_DodgeLava", 'A'},
    {"MachineCore", kMachineCore.data(), "Dino_FixTimeMachine", 'A'},
};

constexpr Campaign kDinosaurs{.name = "Dinosaurs",
                              .mode = 3,
                              .completionIndex = CampaignIndex::Dinosaurs,
                              .levels = kLevels,
                              .missions = kMissions,
                              .tables = kTables};

}  // namespace

const Campaign& dinosaursCampaign()
{
    return kDinosaurs;
}
