#include "campaigns/human/HumanCampaign.h"

#include "elements/creatures/HumanRegistry.h"
#include "goals/GoalFunctions.h"
#include "profile/Profile.h"

USING_NS_CC;

namespace {

using namespace runs;

constexpr std::string_view kLeader = "HumanLeader";
constexpr std::string_view kPart = "HumanPart";

// Each zone twice: as leader cells and as body cells.
CAMPAIGN_TABLE(kZ1Leader, column(102, 20, 26, kLeader), column(103, 19, 27, kLeader), column(104, 18, 28, kLeader),
               column(105, 17, 29, kLeader), column(106, 17, 29, kLeader), column(107, 17, 29, kLeader),
               column(108, 17, 29, kLeader), column(109, 17, 29, kLeader), column(110, 17, 29, kLeader),
               column(111, 17, 29, kLeader), column(112, 18, 28, kLeader), column(113, 19, 27, kLeader),
               column(114, 20, 26, kLeader));
CAMPAIGN_TABLE_AS(kZ1Part, kZ1Leader, kPart);
CAMPAIGN_TABLE(kZ3Leader, column(92, 4, 10, kLeader), column(93, 3, 11, kLeader), column(94, 3, 11, kLeader),
               column(95, 3, 11, kLeader), column(96, 3, 11, kLeader), column(97, 3, 11, kLeader),
               column(98, 3, 11, kLeader), column(99, 3, 11, kLeader), column(100, 4, 10, kLeader));
CAMPAIGN_TABLE_AS(kZ3Part, kZ3Leader, kPart);
CAMPAIGN_TABLE(kZ5Leader, column(93, 15, 23, kLeader), column(94, 14, 25, kLeader), column(95, 14, 26, kLeader),
               column(96, 14, 26, kLeader), column(97, 14, 26, kLeader), column(98, 14, 26, kLeader),
               column(99, 14, 26, kLeader), column(100, 14, 26, kLeader), column(101, 14, 26, kLeader),
               column(102, 14, 26, kLeader), column(103, 14, 26, kLeader), column(104, 14, 26, kLeader),
               column(105, 14, 26, kLeader), column(106, 14, 26, kLeader), column(107, 14, 26, kLeader),
               column(108, 14, 25, kLeader), column(109, 14, 25, kLeader), column(110, 15, 24, kLeader));
CAMPAIGN_TABLE_AS(kZ5Part, kZ5Leader, kPart);
CAMPAIGN_TABLE(kZ6Leader, column(91, 45, 51, kLeader), column(92, 44, 52, kLeader), column(93, 43, 53, kLeader),
               column(94, 43, 53, kLeader), column(95, 43, 53, kLeader), column(96, 43, 53, kLeader),
               column(97, 43, 53, kLeader), column(98, 43, 54, kLeader), column(99, 43, 55, kLeader),
               column(100, 44, 55, kLeader), column(101, 45, 55, kLeader), column(102, 45, 55, kLeader),
               column(103, 45, 55, kLeader), column(104, 45, 55, kLeader), column(105, 45, 55, kLeader),
               column(106, 46, 56, kLeader), column(107, 47, 57, kLeader), column(108, 47, 57, kLeader),
               column(109, 47, 57, kLeader), column(110, 47, 57, kLeader), column(111, 47, 57, kLeader),
               column(112, 47, 57, kLeader), column(113, 47, 57, kLeader), column(114, 48, 56, kLeader),
               column(115, 49, 55, kLeader));
CAMPAIGN_TABLE_AS(kZ6Part, kZ6Leader, kPart);
CAMPAIGN_TABLE(kZ7Leader, column(90, 20, 24, kLeader), column(91, 13, 24, kLeader), column(92, 12, 24, kLeader),
               column(93, 11, 24, kLeader), column(94, 11, 24, kLeader), column(95, 11, 25, kLeader),
               column(96, 11, 25, kLeader), column(97, 11, 25, kLeader), column(98, 11, 25, kLeader),
               column(99, 11, 25, kLeader), column(100, 11, 25, kLeader), column(101, 11, 25, kLeader),
               column(102, 11, 25, kLeader), column(103, 11, 25, kLeader), column(104, 11, 25, kLeader),
               column(105, 11, 25, kLeader), column(106, 11, 25, kLeader), column(107, 11, 25, kLeader),
               column(108, 11, 25, kLeader), column(109, 11, 25, kLeader), column(110, 11, 24, kLeader),
               column(111, 11, 24, kLeader), column(112, 12, 24, kLeader), column(113, 13, 24, kLeader),
               column(114, 16, 23, kLeader), column(115, 18, 22, kLeader), column(116, 18, 22, kLeader),
               column(117, 18, 22, kLeader), column(118, 18, 22, kLeader));
CAMPAIGN_TABLE_AS(kZ7Part, kZ7Leader, kPart);
CAMPAIGN_TABLE(kZ8Leader, column(101, 50, 60, kLeader), column(102, 50, 61, kLeader), column(103, 50, 61, kLeader),
               column(104, 50, 61, kLeader), column(105, 50, 61, kLeader), column(106, 51, 61, kLeader),
               column(107, 51, 61, kLeader));
CAMPAIGN_TABLE_AS(kZ8Part, kZ8Leader, kPart);
CAMPAIGN_TABLE(kZ10Leader, cell(109, 56, kLeader), cell(113, 56, kLeader), cell(117, 56, kLeader));
CAMPAIGN_TABLE_AS(kZ10Part, kZ10Leader, kPart);
CAMPAIGN_TABLE(kZ11Leader, column(100, 5, 11, kLeader), column(101, 4, 12, kLeader), column(102, 3, 13, kLeader),
               column(103, 3, 13, kLeader), column(104, 3, 13, kLeader), column(105, 3, 13, kLeader),
               column(106, 3, 13, kLeader), column(107, 3, 13, kLeader), column(108, 3, 13, kLeader),
               column(109, 4, 12, kLeader), column(110, 5, 11, kLeader));
CAMPAIGN_TABLE_AS(kZ11Part, kZ11Leader, kPart);
CAMPAIGN_TABLE(kZ14Leader, column(96, 64, 68, kLeader), column(97, 63, 69, kLeader), column(98, 63, 69, kLeader),
               column(99, 63, 69, kLeader), column(100, 63, 69, kLeader), column(101, 63, 69, kLeader),
               column(102, 63, 69, kLeader), column(103, 63, 69, kLeader), column(104, 63, 69, kLeader),
               column(105, 63, 69, kLeader), column(106, 63, 69, kLeader), column(107, 63, 69, kLeader),
               column(108, 63, 69, kLeader), column(109, 63, 69, kLeader), column(110, 63, 69, kLeader),
               column(111, 64, 68, kLeader));
CAMPAIGN_TABLE_AS(kZ14Part, kZ14Leader, kPart);
CAMPAIGN_TABLE(kZ2Water, column(38, 24, 28, "Water"), column(39, 23, 29, "Water"), column(40, 23, 29, "Water"),
               column(41, 23, 29, "Water"), column(42, 23, 29, "Water"), column(43, 23, 29, "Water"),
               column(44, 24, 28, "Water"));
// The fire of the zone, then the one Metal cell that also counts.
CAMPAIGN_TABLE(kZ13FireOrMetal, column(1, 22, 34, "Fire"), column(2, 22, 34, "Fire"), column(3, 22, 34, "Fire"),
               column(4, 22, 34, "Fire"), column(5, 22, 34, "Fire"), column(6, 22, 34, "Fire"),
               column(7, 22, 34, "Fire"), column(8, 23, 33, "Fire"), column(9, 24, 32, "Fire"),
               column(10, 25, 31, "Fire"), cell(84, 10, "Metal"));
CAMPAIGN_TABLE(kWall, cell(47, 18, "Wall"), cell(48, 18, "Wall"), cell(49, 18, "Wall"), cell(50, 18, "Wall"),
               cell(51, 18, "Wall"), cell(52, 11, "Wall"), cell(52, 25, "Wall"), cell(53, 11, "Wall"),
               cell(53, 25, "Wall"), cell(54, 11, "Wall"), cell(54, 25, "Wall"), cell(55, 11, "Wall"),
               cell(55, 25, "Wall"), cell(56, 11, "Wall"), cell(56, 25, "Wall"));
CAMPAIGN_TABLE(kWax10, column(106, 53, 58, "Wax"));
CAMPAIGN_TABLE(kMetal12, cell(86, 11, "Metal"));
CAMPAIGN_TABLE(kCrossWire12, row(88, 90, 9, "CrossWire"));
CAMPAIGN_TABLE(kNotes12, cell(96, 52, "Note"), cell(97, 51, "Note"));
CAMPAIGN_TABLE(kBulbs12, cell(95, 56, "Bulb"), cell(99, 58, "Bulb"), cell(103, 56, "Bulb"));
CAMPAIGN_TABLE(kC4Column, column(113, 61, 69, "C4"));

// Any part of any human in the zone.
template <const auto& Leader, const auto& Part> bool anyoneIn()
{
    return patternCountAtLeast(Leader.data(), 1) || patternCountAtLeast(Part.data(), 1);
}

// A leader cell and a body cell in the first zone.
bool leaderAndPartInZ1()
{
    return patternCountAtLeast(kZ1Leader.data(), 1) && patternCountAtLeast(kZ1Part.data(), 1);
}

bool brightMade()
{
    static CCString* const bright = new CCString("Bright");
    return wasElementCreated(bright);
}

// clang-format off
constexpr CampaignMissionRow kMissions[] = {
    {.className = "Human_Level1", .level = 1, .textKey = "Human_Level1", .rewardKey = "Human_Level1", .delay = 3,
     .points = 100, .test = leaderAndPartInZ1},
    {.className = "Human_Level2", .level = 2, .textKey = "Human_Level2", .rewardKey = "Human_Level2", .delay = 3,
     .points = 50, .test = [] { return Profile::getInstance()->isFoodGathered(); }},
    {.className = "Human_GotWaterLevel2", .level = 2, .textKey = "Human_GotWaterLevel2",
     .rewardKey = "Human_GotWaterLevel2", .delay = 3, .points = 50,
     .test = [] { return patternCountAtLeast(kZ2Water.data(), 2); }},
    {.className = "Human_Level3", .level = 3, .textKey = "Human_Level3", .rewardKey = "Human_Level3", .delay = 3,
     .points = 100, .test = anyoneIn<kZ3Leader, kZ3Part>},
    {.className = "Human_Level4", .level = 4, .textKey = "Human_Level4", .rewardKey = "Human_Level4", .delay = 3,
     .points = 50, .test = [] { return Profile::getInstance()->isStructureBuilt(); }},
    {.className = "Human_ResourceCollectLevel4", .level = 4, .textKey = "Human_ResourceCollectLevel4",
     .rewardKey = "Human_ResourceCollectLevel4", .delay = 3, .points = 50,
     .test = [] { return Profile::getInstance()->isStockpileGathered(); }},
    {.className = "Human_Level5", .level = 5, .textKey = "Human_Level5", .rewardKey = "Human_Level5", .delay = 3,
     .points = 100, .test = anyoneIn<kZ5Leader, kZ5Part>},
    {.className = "Human_Level6", .level = 6, .textKey = "Human_Level6", .rewardKey = "Human_Level6", .delay = 3,
     .points = 100, .test = anyoneIn<kZ6Leader, kZ6Part>},
    {.className = "Human_Level7", .level = 7, .textKey = "Human_Level7", .rewardKey = "Human_Level7", .delay = 3,
     .points = 100, .test = anyoneIn<kZ7Leader, kZ7Part>},
    {.className = "Human_Level8", .level = 8, .textKey = "Human_Level8", .rewardKey = "Human_Level8", .delay = 3,
     .points = 100, .test = anyoneIn<kZ8Leader, kZ8Part>},
    {.className = "Human_Level9", .level = 9, .textKey = "Human_Level9", .rewardKey = "Human_Level9", .delay = 3,
     .points = 100, .test = brightMade},
    {.className = "Human_Level10", .level = 10, .textKey = "Human_Level10", .rewardKey = "Human_Level10",
     .delay = 3, .points = 50, .test = anyoneIn<kZ10Leader, kZ10Part>},
    {.className = "Human_WaxLevel10", .level = 10, .textKey = "Human_WaxLevel10", .rewardKey = "Human_WaxLevel10",
     .delay = 3, .points = 50, .test = [] { return patternAllMatch(kWax10.data()); }},
    {.className = "Human_Level11", .level = 11, .textKey = "Human_Level11", .rewardKey = "Human_Level11",
     .delay = 3, .points = 100, .test = anyoneIn<kZ11Leader, kZ11Part>},
    {.className = "Human_Level12", .level = 12, .textKey = "Human_Level12", .rewardKey = "Human_Level12",
     .delay = 3, .points = 50, .test = [] { return patternAllMatchPowered(kMetal12.data()); }},
    {.className = "Human_CrosswireLevel12", .level = 12, .textKey = "Human_CrosswireLevel12",
     .rewardKey = "Human_CrosswireLevel12", .delay = 3, .points = 25,
     .test = [] { return patternAllMatch(kCrossWire12.data()); }},
    {.className = "Human_NoteBulbLevel12", .level = 12, .textKey = "Human_NoteBulbLevel12",
     .rewardKey = "Human_NoteBulbLevel12", .delay = 3, .points = 25,
     .test = [] { return patternAllMatch(kNotes12.data()) && patternAllMatch(kBulbs12.data()); }},
    // The level's one mission is worth 130.
    {.className = "Human_Level13", .level = 13, .textKey = "Human_Level13", .rewardKey = "Human_Level13",
     .delay = 3, .points = 130, .test = [] { return patternCountAtLeast(kZ13FireOrMetal.data(), 1); }},
    {.className = "Human_Level14", .level = 14, .textKey = "Human_Level14", .rewardKey = "Human_Level14",
     .delay = 3, .points = 50, .test = anyoneIn<kZ14Leader, kZ14Part>},
    // Paid under another mission's key.
    {.className = "Human_NoC4Level14", .level = 14, .textKey = "Human_NoC4Level14", .rewardKey = "Human_WaxLevel14",
     .delay = 3, .points = 25, .test = [] { return patternNoneMatch(kC4Column.data()); }},
    {.className = "Human_WallLevel14", .level = 14, .textKey = "Human_WallLevel14", .rewardKey = "Human_WallLevel14",
     .delay = 3, .points = 25, .test = [] { return patternAllMatch(kWall.data()); }},
    // Zombies count too.
    {.className = "Human_Level15", .level = 15, .textKey = "Human_Level15", .rewardKey = "Human_Level15",
     .delay = 3, .points = 100, .test = [] { return HumanRegistry::getInstance()->count() >= 2; }},
};

constexpr EndOrder kFlagsEnd{EndAction::Day, EndAction::Flags, EndAction::Missions, EndAction::NextStep,
                             EndAction::Grant};
// The grant saves only when it pays: the save after the flag keeps the
// campaign's end on every path.
constexpr EndOrder kLastEnd{EndAction::Day, EndAction::Outro, EndAction::Finished, EndAction::Grant,
                            EndAction::Save};

void clearFood()
{
    Profile::getInstance()->setFoodGathered(false);
}

void clearBuildingAndStockpile()
{
    Profile::getInstance()->setStructureBuilt(false);
    Profile::getInstance()->setStockpileGathered(false);
}

constexpr CampaignLevelRow kLevels[] = {
    {.level = 1, .missions = {"Human_Level1"}, .step = "CheckHuman_Level2", .threshold = 100,
     .rewardKey = "CheckHuman_Level2", .boardKey = "CheckHuman_Level2", .order = kFlagsEnd, .clearFlags = clearFood},
    {.level = 2, .missions = {"Human_Level2", "Human_GotWaterLevel2"}, .step = "CheckHuman_Level3",
     .threshold = 200, .rewardKey = "CheckHuman_Level3", .boardKey = "CheckHuman_Level3"},
    {.level = 3, .missions = {"Human_Level3"}, .step = "CheckHuman_Level4", .threshold = 300,
     .rewardKey = "CheckHuman_Level4", .boardKey = "CheckHuman_Level4", .order = kFlagsEnd,
     .clearFlags = clearBuildingAndStockpile},
    {.level = 4, .missions = {"Human_ResourceCollectLevel4", "Human_Level4"}, .step = "CheckHuman_Level5",
     .threshold = 400, .rewardKey = "CheckHuman_Level5", .boardKey = "CheckHuman_Level5"},
    {.level = 5, .missions = {"Human_Level5"}, .step = "CheckHuman_Level6", .threshold = 500,
     .rewardKey = "CheckHuman_Level6", .boardKey = "CheckHuman_Level6"},
    {.level = 6, .missions = {"Human_Level6"}, .step = "CheckHuman_Level7", .threshold = 600,
     .rewardKey = "CheckHuman_Level7", .boardKey = "CheckHuman_Level7"},
    {.level = 7, .missions = {"Human_Level7"}, .step = "CheckHuman_Level8", .threshold = 700,
     .rewardKey = "CheckHuman_Level8", .boardKey = "CheckHuman_Level8"},
    {.level = 8, .missions = {"Human_Level8"}, .step = "CheckHuman_Level9", .threshold = 100,
     .rewardKey = "CheckHuman_Level9", .boardKey = "CheckHuman_Level9"},
    {.level = 9, .missions = {"Human_Level9"}, .step = "CheckHuman_Level10", .threshold = 800,
     .rewardKey = "CheckHuman_Level10", .boardKey = "CheckHuman_Level10"},
    {.level = 10, .missions = {"Human_Level10", "Human_WaxLevel10"}, .step = "CheckHuman_Level11",
     .threshold = 900, .rewardKey = "CheckHuman_Level11", .boardKey = "CheckHuman_Level11"},
    {.level = 11, .missions = {"Human_Level11"}, .step = "CheckHuman_Level12", .threshold = 1000,
     .rewardKey = "CheckHuman_Level12", .boardKey = "CheckHuman_Level12"},
    {.level = 12, .missions = {"Human_CrosswireLevel12", "Human_NoteBulbLevel12", "Human_Level12"},
     .step = "CheckHuman_Level13", .threshold = 1100, .rewardKey = "CheckHuman_Level13",
     .boardKey = "CheckHuman_Level13"},
    {.level = 13, .missions = {"Human_Level13"}, .step = "CheckHuman_Level14", .threshold = 1200,
     .rewardKey = "CheckHuman_Level14", .boardKey = "CheckHuman_Level14"},
    {.level = 14, .missions = {"Human_Level14", "Human_NoC4Level14", "Human_WallLevel14"},
     .step = "CheckHuman_Level15", .threshold = 1300, .rewardKey = "CheckHuman_Level15",
     .boardKey = "CheckHuman_Level15"},
    {.level = 15, .missions = {"Human_Level15"}, .step = "CheckHuman_Level16", .threshold = 1400,
     .rewardKey = "CheckHuman_Level16", .boardKey = "CheckHuman_Level16", .order = kLastEnd},
};
// clang-format on

constexpr CampaignTable kTables[] = {
    {"Z1Leader", kZ1Leader.data(), "Human_Level1", 'A'},
    {"Z1Part", kZ1Part.data(), "Human_Level1", 'B'},
    {"Z2Water", kZ2Water.data(), "Human_GotWaterLevel2", 'A'},
    {"Z3Leader", kZ3Leader.data(), "Human_Level3", 'A'},
    {"Z3Part", kZ3Part.data(), "Human_Level3", 'B'},
    {"Z5Leader", kZ5Leader.data(), "Human_Level5", 'A'},
    {"Z5Part", kZ5Part.data(), "Human_Level5", 'B'},
    {"Z6Leader", kZ6Leader.data(), "Human_Level6", 'A'},
    {"Z6Part", kZ6Part.data(), "Human_Level6", 'B'},
    {"Z7Leader", kZ7Leader.data(), "Human_Level7", 'A'},
    {"Z7Part", kZ7Part.data(), "Human_Level7", 'B'},
    {"Z8Leader", kZ8Leader.data(), "Human_Level8", 'A'},
    {"Z8Part", kZ8Part.data(), "Human_Level8", 'B'},
    {"Z10Leader", kZ10Leader.data(), "Human_Level10", 'A'},
    {"Z10Part", kZ10Part.data(), "Human_Level10", 'B'},
    {"Wax10", kWax10.data(), "Human_WaxLevel10", 'A'},
    {"Z11Leader", kZ11Leader.data(), "Human_Level11", 'A'},
    {"Z11Part", kZ11Part.data(), "Human_Level11", 'B'},
    {"Metal12", kMetal12.data(), "Human_Level12", 'A'},
    {"CrossWire12", kCrossWire12.data(), "Human_CrosswireLevel12", 'A'},
    {"Notes12", kNotes12.data(), "Human_NoteBulbLevel12", 'A'},
    {"Bulbs12", kBulbs12.data(), "Human_NoteBulbLevel12", 'B'},
    {"Z13FireOrMetal", kZ13FireOrMetal.data(), "Human_Level13", 'A'},
    {"Z14Leader", kZ14Leader.data(), "Human_Level14", 'A'},
    {"Z14Part", kZ14Part.data(), "Human_Level14", 'B'},
    {"C4Column", kC4Column.data(), "Human_NoC4Level14", 'A'},
    {"Wall", kWall.data(), "Human_WallLevel14", 'A'},
};

constexpr Campaign kHuman{.name = "Human",
                          .mode = 5,
                          .completionIndex = CampaignIndex::Human,
                          .board = BoardLists::None,
                          .levels = kLevels,
                          .missions = kMissions,
                          .tables = kTables,
                          .newStepTexts = true};

}  // namespace

const Campaign& humanCampaign()
{
    return kHuman;
}
