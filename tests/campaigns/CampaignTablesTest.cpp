// The four device campaigns' data: every cell table (its size, cells inside
// the small world, none twice, in order, closed, kinds the factory makes),
// the melodies' lengths, and the level and mission rows against each other
// and against the resources (reward keys, texts in three languages).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/LocalUtils.h"
#include "campaigns/Campaigns.h"
#include "campaigns/pixelart/PixelArtCampaign.h"
#include "goals/AchievementManager.h"
#include "goals/GoalFunctions.h"
#include "support/HeadlessGame.h"
#include "support/Readability.h"
#include "world/ParticleCreator.h"

USING_NS_CC;

namespace {

class CampaignData : public testsupport::HeadlessGame {
protected:
    void TearDown() override
    {
        AchievementManager::resetInstanceForTests();
        HeadlessGame::TearDown();
    }
};

// The level end of the Human steps that clear the next level's flags.
constexpr EndOrder kFlagsEnd{EndAction::Day, EndAction::Flags, EndAction::Missions, EndAction::NextStep,
                             EndAction::Grant};

// The cells of each table, as the levels' descriptions count them.
const std::map<std::string, std::map<std::string, int>> kTableSizes = {
    {"Music",
     {{"M1", 123},
      {"M2", 1},
      {"M3", 3},
      {"M3x", 3},
      {"M4", 7},
      {"M6", 4},
      {"M7", 3},
      {"M7p", 1},
      {"M8", 9},
      {"M9", 13}}},
    {"Contraptions",
     {{"LedsOnLed", 1},     {"LedsOnPower", 1},    {"LedRow", 15},     {"SenseLed", 1},    {"Sensors", 5},
      {"SemaphoreLeds", 4}, {"SemaphoreWires", 8}, {"WarmUpMetal", 1}, {"WarmUpParts", 3}, {"Dam", 85},
      {"DamWater", 1},      {"HouseWall", 14},     {"HouseBlock", 56}, {"HouseC4", 28},    {"ShipWires", 9},
      {"ShipTnt", 1},       {"ShipGlass", 1},      {"ShipMetal", 1},   {"Demolish", 19},   {"BombLinkA", 3},
      {"BombPowerA", 1},    {"BombLinkB", 3},      {"BombPowerB", 1},  {"BombLinkC", 3},   {"BombPowerC", 1},
      {"CounterMetal", 1},  {"Counter", 85}}},
    {"UserMade",
     {{"Level1", 1},
      {"Level2", 227},
      {"Level3Mud", 130},
      {"Level3Wax", 130},
      {"NoGlass", 32},
      {"Level5", 220},
      {"LedMetal", 4},
      {"LedLit", 2},
      {"Level6", 24},
      {"NoPixel", 12},
      {"Bulb", 1},
      {"Level7", 12},
      {"Lava", 1},
      {"Level8", 1},
      {"ColdSensor", 1},
      {"HotSensorLava", 1},
      {"WaterSensor", 1},
      {"Level10", 7},
      {"LightSensor", 1}}},
    {"LasersAndPipes",
     {{"Lasers", 15},
      {"Reflect", 1},
      {"Extinction", 20},
      {"Gems", 4},
      {"Citrine", 1},
      {"PoweredLeds", 4},
      {"Pump", 1},
      {"Pipe", 155},
      {"DrainOutlet", 1},
      {"DrainArea", 17},
      {"FixRowRight", 8},
      {"FixRowLeft", 7},
      {"FixInlet", 1},
      {"ColorCode", 42},
      {"GasSensor", 1},
      {"Insulator", 18},
      {"TntTesting", 4}}},
    {"Zombie",
     {{"T1", 37},
      {"T2", 459},
      {"T3", 1122},
      {"T5", 88},
      {"T6a", 9},
      {"T6b", 7},
      {"T7", 76},
      {"T8", 9},
      {"TM8", 1},
      {"T10a", 7},
      {"T10b", 4},
      {"T10c", 25},
      {"T11", 61},
      {"T13", 3},
      {"T15", 1},
      {"TG15", 3},
      {"TM18", 1},
      {"T19", 32},
      {"TF19", 9}}},
    {"Robot",
     {{"T1", 14},    {"T2", 11},    {"T3", 105},   {"T4a", 4},  {"T4b", 4},   {"T5-1", 6}, {"T5-2", 18}, {"T5-3", 1},
      {"T6", 54},    {"T7", 9},     {"T8", 5},     {"T9a", 42}, {"T9b", 5},   {"T10a", 7}, {"T10b", 8},  {"T10c", 3424},
      {"T11a-1", 6}, {"T11a-2", 6}, {"T12a", 149}, {"T13a", 9}, {"T14a", 63}, {"T15a", 10}}},
    {"PixelArt",
     {{"SquaresRequired", 196},  {"SquaresForbidden", 48},   {"LinesRequired", 126},    {"LinesForbidden", 75},
      {"CurvesRequired", 122},   {"CurvesForbidden", 78},    {"GeometryRequired", 200}, {"GeometryForbidden", 136},
      {"OutlinesRequired", 229}, {"OutlinesForbidden", 146}, {"Coloring", 567},         {"Drawing", 567},
      {"PaintEasy", 1318},       {"PaintMedium", 1375},      {"PaintHard", 4582},       {"Font", 297},
      {"Gradient", 1428},        {"Shading", 2232},          {"Font2", 1998},           {"Final", 2806}}},
    {"Dinosaurs",
     {{"HunterPrey", 178}, {"PostsGlass", 3},     {"PitLava", 1},       {"PostsMetal", 3},    {"PostsMud", 3},
      {"PostsWall", 3},    {"PostsWax", 3},       {"Hunter", 216},      {"AutoImmune", 258},  {"MudPools", 130},
      {"CaveWater", 16},   {"CaveAcid", 1018},    {"HerdOfThree", 538}, {"VirusField", 3208}, {"Frozen", 9},
      {"Volcanoes", 3},    {"AcidVictim", 70},    {"Survivors", 5},     {"LastInfected", 1},  {"Herd", 198},
      {"OilPumps", 6},     {"MachineSockets", 2}, {"Base", 27},         {"Shelter", 2},       {"Refuge", 21},
      {"MachineCore", 18}}},
    {"Human", {{"Z1Leader", 145}, {"Z1Part", 145},    {"Z2Water", 45},         {"Z3Leader", 77},   {"Z3Part", 77},
               {"Z5Leader", 224}, {"Z5Part", 224},    {"Z6Leader", 267},       {"Z6Part", 267},    {"Z7Leader", 364},
               {"Z7Part", 364},   {"Z8Leader", 81},   {"Z8Part", 81},          {"Z10Leader", 3},   {"Z10Part", 3},
               {"Wax10", 6},      {"Z11Leader", 109}, {"Z11Part", 109},        {"Metal12", 1},     {"CrossWire12", 3},
               {"Notes12", 2},    {"Bulbs12", 3},     {"Z13FireOrMetal", 119}, {"Z14Leader", 108}, {"Z14Part", 108},
               {"C4Column", 9},   {"Wall", 15}}},
    {"Invasion", {{"T1a", 24},  {"T1b", 216}, {"T2a", 18}, {"T2b", 10},  {"T3a", 7},  {"T3b", 1},   {"T3c-1", 3},
                  {"T3c-2", 2}, {"T3c-3", 2}, {"T4a", 7},  {"T4b", 299}, {"T45a", 6}, {"T45b", 56}, {"T5", 223},
                  {"T6", 34},   {"T7a", 182}, {"T7b", 1},  {"T8", 59},   {"T9a", 3},  {"T9b", 2}}},
};

const std::map<std::string, int> kMelodyLengths = {{"A", 15}, {"B", 16}, {"C", 63}, {"D", 28}, {"E", 55}, {"F", 47}};

// Levels, missions and steps of each campaign.
struct Shape {
    int mode;
    int levels;
    int missions;
    const char* firstStep;
    const char* lastStep;
};
const std::map<std::string, Shape> kShapes = {
    {"Music", {1, 10, 14, "Music_CheckLv2", "Music_CheckLv11"}},
    {"Contraptions", {2, 11, 11, "Contra_CheckLv2", "Contra_CheckLv12"}},
    {"UserMade", {6, 10, 18, "CheckUserMade_Level1", "CheckUserMade_Level10"}},
    {"LasersAndPipes", {7, 10, 14, "Contra_CheckLv13", "Contra_CheckLv22"}},
    {"Zombie", {8, 20, 25, "Zombie_CheckLv2", "Zombie_CheckLv21"}},
    {"PixelArt", {4, 15, 15, "Pix_CheckLv2", "Pix_CheckLv16"}},
    {"Dinosaurs", {3, 15, 15, "Dino_CheckLv2", "Dino_CheckLv16"}},
    {"Human", {5, 15, 22, "CheckHuman_Level2", "CheckHuman_Level16"}},
    {"Robot", {9, 15, 19, "Robot_CheckLv2", "Robot_CheckLv16"}},
    {"Invasion", {10, 10, 18, "Invasion_CheckLv2", "Invasion_CheckLv10"}},
};

// The level ends that set the campaign's finished flag before the grant.
constexpr EndOrder kFinishedEnd{EndAction::Day, EndAction::Missions, EndAction::NextStep, EndAction::Finished,
                                EndAction::Grant};
bool finishedEarly(int mode, int level)
{
    return mode == 9 && (level == 11 || level == 12 || level == 14);
}

// A mission's text key: its class name, but Robot's from level 11 on drop
// their final "a", and Invasion's are their reward keys.
std::string textKeyOf(const Campaign& c, const CampaignMissionRow& m)
{
    if (c.mode == 10)
        return m.rewardKey;
    std::string key = m.className;
    if (c.mode == 9 && m.level >= 11)
        key.pop_back();
    return key;
}

// A level whose missions add other than 100 points.
int levelPoints(int mode, int level)
{
    if (mode == 6 && level == 9)
        return 150;
    if (mode == 8 && level == 10)
        return 50;
    if (mode == 5 && level == 13)
        return 130;
    return 100;
}

TEST_F(CampaignData, EveryTableHasItsCellsOnceInsideTheSmallWorldInOrderAndClosed)
{
    EXPECT_EQ(hashString("Tnt"), 193472219u) << "djb2 of the type name";
    ASSERT_EQ(builtCampaigns().size(), kTableSizes.size());
    for (const Campaign* c : builtCampaigns()) {
        const auto& sizes = kTableSizes.at(c->name);
        EXPECT_EQ(c->tables.size(), sizes.size()) << c->name;
        for (const CampaignTable& t : c->tables) {
            SCOPED_TRACE(std::string(c->name) + " " + t.name);
            std::set<std::pair<int, int>> cells;
            int n = 0;
            const MissionPatternRecord* r = t.records;
            for (; !(r->end & 0xff); ++r, ++n) {
                EXPECT_TRUE(r->x >= 0 && r->x < 120 && r->y >= 0 && r->y < 80) << r->x << "," << r->y;
                EXPECT_TRUE(cells.insert({r->x, r->y}).second) << "twice: " << r->x << "," << r->y;
                EXPECT_TRUE(ParticleCreator::isAccepted(r->type)) << "no element has the id " << r->type;
                if (n > 0) {
                    EXPECT_TRUE(r[-1].x < r->x || (r[-1].x == r->x && r[-1].y < r->y)) << "order of x, then y";
                }
            }
            EXPECT_EQ(n, sizes.at(t.name));
            EXPECT_EQ(r->x, 0);
            EXPECT_EQ(r->y, 0);
            EXPECT_EQ(r->type, 0u);
            EXPECT_EQ(r->end, 1);
        }
    }
    const Campaign* music = campaignOfMode(1);
    ASSERT_EQ(music->melodies.size(), kMelodyLengths.size());
    for (const CampaignMelody& m : music->melodies) {
        EXPECT_EQ(melodyLength(m.notes), kMelodyLengths.at(m.name)) << m.name;
        const int n = melodyLength(m.notes);
        EXPECT_TRUE(m.notes[n].end && m.notes[n].note == 0 && m.notes[n].octave == 0) << m.name << " closed";
        for (int i = 0; i < n; ++i)
            EXPECT_TRUE(m.notes[i].note >= 0 && m.notes[i].note < 12 && m.notes[i].octave >= 0 &&
                        m.notes[i].octave <= 3)
                << m.name << " note " << i;
    }
    // A few notes read back: sharps, octaves and the melodies' ends.
    const NoteRecord* e = music->melodies[4].notes;
    EXPECT_EQ(e[2].note, 10) << "a#";
    EXPECT_EQ(e[2].octave, 1);
    EXPECT_EQ(e[54].note, 1) << "c#";
    EXPECT_EQ(music->melodies[5].notes[46].note, 7) << "g";
}

TEST_F(CampaignData, LevelsAndMissionsAgreeAndTheirKeysAreInTheResources)
{
    CCDictionary* rewards =
        dynamic_cast<CCDictionary*>(CCDictionary::createWithContentsOfFile(kRewardsFile)->objectForKey("Levels"));
    ASSERT_NE(rewards, nullptr);
    std::set<std::string> goalNames;
    for (const Campaign* c : builtCampaigns()) {
        SCOPED_TRACE(c->name);
        const Shape& shape = kShapes.at(c->name);
        EXPECT_EQ(c->mode, shape.mode);
        EXPECT_EQ(c->levelCount(), shape.levels);
        EXPECT_EQ(static_cast<int>(c->missions.size()), shape.missions);
        EXPECT_STREQ(c->levels.front().step, shape.firstStep);
        EXPECT_STREQ(c->levels.back().step, shape.lastStep);
        EXPECT_EQ(campaignOfMode(c->mode), c);

        std::set<std::string> made;
        for (const CampaignLevelRow& level : c->levels) {
            EXPECT_EQ(level.level, &level - c->levels.data() + 1);
            EXPECT_TRUE(goalNames.insert(level.step).second) << level.step;
            int points = 0;
            for (const char* name : level.missions) {
                if (!name)
                    continue;
                const CampaignMissionRow* m = c->mission(name);
                ASSERT_NE(m, nullptr) << name;
                EXPECT_EQ(m->level, level.level) << name;
                EXPECT_TRUE(made.insert(name).second) << name << " made twice";
                points += m->points;
            }
            EXPECT_EQ(points, levelPoints(c->mode, level.level)) << "level " << level.level;
            for (const char* key : {level.rewardKey, level.boardKey})
                EXPECT_GT(getMissionReward(key), 0) << key;
        }
        EXPECT_EQ(made.size(), c->missions.size()) << "every mission is made by one level";
        for (const CampaignMissionRow& m : c->missions) {
            EXPECT_TRUE(goalNames.insert(m.className).second) << m.className;
            EXPECT_GT(getMissionReward(m.rewardKey), 0) << m.rewardKey;
            EXPECT_EQ(m.textKey, textKeyOf(*c, m));
            EXPECT_NE(m.test, nullptr);
        }
    }
    // Only UserMade's fourth level end makes its step current before the
    // next level's missions.
    for (const Campaign* c : builtCampaigns())
        for (const CampaignLevelRow& level : c->levels)
            if (&level != &c->levels.back()) {
                const bool flags = c->mode == 5 && (level.level == 1 || level.level == 3);
                EXPECT_EQ(level.order,
                          c->mode == 6 && level.level == 4          ? ends::stepFirst
                              : flags                               ? kFlagsEnd
                              : finishedEarly(c->mode, level.level) ? kFinishedEnd
                                                                    : ends::usual)
                    << c->name << " " << level.level;
                EXPECT_EQ(level.clearFlags != nullptr, flags) << c->name << " " << level.level;
            }
    // Keys that are not the class's own.
    const Campaign* music = campaignOfMode(1);
    EXPECT_STREQ(music->mission("Music_Lv3")->rewardKey, "Music_Lv4");
    const CampaignMissionRow* medium = campaignOfMode(4)->mission("Pix_PaintMedium");
    EXPECT_STREQ(medium->nameKey, "Pix_PaintMediumsName");
    EXPECT_STREQ(medium->rewardKey, "Pix_PaintMedium");
    EXPECT_STREQ(campaignOfMode(5)->mission("Human_NoC4Level14")->rewardKey, "Human_WaxLevel14");
    EXPECT_STREQ(music->mission("Music_PixRemoveLv3")->rewardKey, "Music_Lv4");
    const Campaign* zombie = campaignOfMode(8);
    EXPECT_STREQ(zombie->mission("ZombieLv3")->rewardKey, "ZombieLv2");
    EXPECT_STREQ(zombie->levels[3].boardKey, "Zombie_CheckLv5");
    EXPECT_STREQ(zombie->levels[3].rewardKey, "Zombie_CheckLv5a");
    EXPECT_NE(getMissionReward("Zombie_CheckLv5"), getMissionReward("Zombie_CheckLv5a")) << "tells them apart";
    for (const CampaignMissionRow& m : zombie->missions)
        EXPECT_EQ(m.delay, std::string_view(m.className) == "ZombieLv20" ? 8 : 6) << m.className;
    const Campaign* robot = campaignOfMode(9);
    EXPECT_STREQ(robot->mission("RobotLv3")->rewardKey, "RobotLv2");
    EXPECT_STREQ(robot->mission("RobotLv11a")->rewardKey, "RobotLv11");
    EXPECT_STREQ(robot->levels[3].boardKey, "Robot_CheckLv5");
    EXPECT_STREQ(robot->levels[3].rewardKey, "Robot_CheckLv5a");
    EXPECT_NE(getMissionReward("Robot_CheckLv5"), getMissionReward("Robot_CheckLv5a")) << "tells them apart";
    for (const CampaignLevelRow& level : robot->levels)
        EXPECT_EQ(level.grant, StepGrant::Always) << level.step;
    for (const CampaignMissionRow& m : robot->missions)
        EXPECT_EQ(m.delay, 6) << m.className;
    // Invasion's classes run one behind their level from level 5 on; their
    // text and reward keys carry the level (and the class's letter).
    const std::map<std::string, int64_t> invasionDelays = {
        {"InvasionLv2b", 20}, {"InvasionLv3a", 1}, {"InvasionLv3b", 1}, {"InvasionLv3c", 0}, {"InvasionLv45a", 5},
        {"InvasionLv45b", 2}, {"InvasionLv6", 2},  {"InvasionLv7a", 0}, {"InvasionLv7b", 0}};
    for (const CampaignMissionRow& m : campaignOfMode(10)->missions) {
        const std::string cls = m.className;
        const std::string letter = cls.back() >= 'a' ? cls.substr(cls.size() - 1) : "";
        EXPECT_EQ(m.rewardKey, "InvasionLv" + std::to_string(m.level) + letter) << cls;
        EXPECT_STREQ(m.textKey, m.rewardKey) << cls;
        EXPECT_EQ(m.delay, invasionDelays.count(cls) ? invasionDelays.at(cls) : 6) << cls;
    }
    for (const CampaignLevelRow& level : campaignOfMode(10)->levels) {
        EXPECT_STREQ(level.rewardKey, level.step) << "a step pays under its own name";
        EXPECT_STREQ(level.boardKey, level.step);
        EXPECT_EQ(level.grant, StepGrant::Always);
    }
    EXPECT_STREQ(campaignOfMode(10)->levels[3].step, "Invasion_CheckLv45") << "closes level 4";
    int oil = 0;
    int water = 0;
    for (MissionPattern t = missionTable("InvasionLv5", 'A'); !(t->end & 0xff); ++t) {
        oil += t->type == hashString("Oil");
        water += t->type == hashString("Water");
    }
    EXPECT_EQ(oil, 213) << "the basin and the drops in one table";
    EXPECT_EQ(water, 10);

    for (const char* code : testsupport::kLanguages) {
        testsupport::LanguageTable language(code);
        std::set<std::string> names;
        for (const Campaign* c : builtCampaigns())
            for (const CampaignMissionRow& m : c->missions) {
                const std::string keys[] = {m.nameKey ? m.nameKey : std::string(m.textKey) + "Name",
                                            std::string(m.textKey) + "Briefing"};
                for (const std::string& key : keys)
                    EXPECT_TRUE(localizationTable->objectForKey(key)) << code << " lacks " << key;
                std::unique_ptr<AchievementBase> mission(makeCampaignMission(*c, m.className));
                EXPECT_TRUE(names.insert(mission->getName()->getString()).second)
                    << code << " names two missions " << mission->getName()->getString();
            }
    }
}

TEST_F(CampaignData, StepsHaveEmptyTextsForTheWholeRunAndUnknownNamesMakeNothing)
{
    for (const Campaign* c : builtCampaigns()) {
        std::unique_ptr<AchievementBase> step(makeCampaignStep(*c, c->levels[0].step));
        ASSERT_NE(step, nullptr);
        CCString* name = step->getName();
        EXPECT_EQ(name->getString(), "");
        EXPECT_EQ(step->getBriefing()->getString(), "");
        step.reset();
        EXPECT_EQ(name->getString(), "") << "still alive once its step is gone";
        EXPECT_EQ(makeCampaignStep(*c, "NoSuchStep"), nullptr);
        EXPECT_EQ(makeCampaignMission(*c, "NoSuchMission"), nullptr);
    }
    EXPECT_EQ(campaignOfMode(11), nullptr);
}

}  // namespace

// The tools find a table by its mission's class name and letter: each names a
// mission of its own campaign, whose letters run A, B, ... without a gap.
TEST_F(CampaignData, EveryTableIsFoundByItsMissionAndLetter)
{
    for (const Campaign* c : builtCampaigns()) {
        std::map<std::string, std::string> letters;
        for (const CampaignTable& t : c->tables) {
            SCOPED_TRACE(std::string(c->name) + " " + t.name);
            ASSERT_NE(t.mission, nullptr);
            EXPECT_NE(c->mission(t.mission), nullptr) << "not a mission of the campaign: " << t.mission;
            std::string& seen = letters[t.mission];
            EXPECT_EQ(t.letter, static_cast<char>('A' + seen.size()));
            seen += t.letter;
            EXPECT_EQ(missionTable(t.mission, t.letter), t.records);
        }
    }
    EXPECT_EQ(missionTable("Contra_FixBomb", 'G'), nullptr);
    EXPECT_EQ(missionTable(nullptr, 'A'), nullptr);
}

// --- PixelArt ---------------------------------------------------------------------------------

namespace {

using Cells = std::set<std::pair<int, int>>;

Cells cellsOf(MissionPattern t, uint32_t type = 0)
{
    Cells cells;
    for (; !(t->end & 0xff); ++t)
        if (!type || t->type == type)
            cells.insert({t->x, t->y});
    return cells;
}

bool touches(const Cells& cells, std::pair<int, int> c)
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if ((dx || dy) && cells.count({c.first + dx, c.second + dy}))
                return true;
    return false;
}

// The figures, diagonal neighbours joined: each its size and how many ends
// (cells with one neighbour) it has; a closed figure has none.
std::multiset<std::pair<int, int>> figures(const Cells& cells)
{
    std::multiset<std::pair<int, int>> found;
    Cells left = cells;
    while (!left.empty()) {
        std::vector<std::pair<int, int>> todo{*left.begin()};
        left.erase(left.begin());
        int size = 0;
        int ends = 0;
        while (!todo.empty()) {
            const auto c = todo.back();
            todo.pop_back();
            ++size;
            int neighbours = 0;
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy) {
                    const std::pair<int, int> n{c.first + dx, c.second + dy};
                    if ((dx || dy) && cells.count(n)) {
                        ++neighbours;
                        if (left.erase(n))
                            todo.push_back(n);
                    }
                }
            ends += neighbours == 1;
        }
        found.insert({size, ends});
    }
    return found;
}

// A row of a table: its x runs, ends included.
struct Row {
    int y;
    std::vector<std::pair<int, int>> runs;
};

struct Outline {
    const char* required;
    const char* forbidden;
    int box[2][4];  // x0 x1 y0 y1 of the required, then the forbidden cells
    std::vector<Row> requiredRows;
    std::vector<Row> forbiddenRows;
    std::multiset<std::pair<int, int>> figures;  // size, ends
    int forbiddenApart;                          // forbidden cells touching no required one
};

const Outline kOutlines[] = {
    {"SquaresRequired",
     "SquaresForbidden",
     {{68, 105, 6, 64}, {69, 104, 5, 65}},
     {{17, {{79, 94}}}, {18, {{79, 79}, {94, 94}}}},
     {{16, {{87, 87}}}, {33, {{87, 87}}}},
     {{60, 0}, {36, 0}, {20, 0}, {12, 0}, {68, 2}},
     0},
    {"LinesRequired",
     "LinesForbidden",
     {{90, 110, 2, 61}, {89, 111, 1, 62}},
     {{2, {{100, 100}}}, {3, {{99, 99}, {101, 101}}}, {17, {{93, 97}, {103, 107}}}},
     {{3, {{100, 100}}}, {16, {{94, 96}, {103, 106}}}},
     {{49, 0}, {29, 2}, {48, 0}},
     0},
    {"CurvesRequired",
     "CurvesForbidden",
     {{70, 103, 7, 62}, {72, 101, 7, 62}},
     {{13, {{85, 88}}}, {20, {{85, 88}}}},
     {{12, {{83, 83}, {85, 88}, {90, 90}}}, {14, {{85, 88}}}},
     {{42, 2}, {36, 0}, {24, 0}, {12, 0}, {8, 0}},
     0},
    // A flower of boxes, triangles and a circle with two round eyes.
    {"GeometryRequired",
     "GeometryForbidden",
     {{71, 95, 17, 54}, {72, 98, 16, 55}},
     {{17, {{79, 88}}}, {24, {{79, 88}}}},
     {{16, {{81, 85}}}, {26, {{78, 78}, {80, 87}, {89, 89}}}},
     {{184, 0}, {8, 0}, {8, 0}},
     6},
    // The smiling flower's outline, eyes and mouth.
    {"OutlinesRequired",
     "OutlinesForbidden",
     {{71, 95, 17, 54}, {71, 95, 17, 55}},
     {{25, {{79, 88}}}, {27, {{78, 89}}}},
     {{17, {{78, 78}, {81, 81}, {86, 86}, {89, 89}}}, {26, {{78, 78}, {80, 80}, {87, 87}, {89, 89}}}},
     {{208, 0}, {13, 2}, {4, 2}, {4, 2}},
     0},
};

MissionPattern pixelTable(const char* name)
{
    for (const CampaignTable& t : campaignOfMode(4)->tables)
        if (std::string(t.name) == name)
            return t.records;
    return nullptr;
}

}  // namespace

TEST_F(CampaignData, PixelArtOutlinesHaveTheirBoxesRowsAndFiguresAndForbiddenCellsBesideThem)
{
    const uint32_t ink = hashString("Obsidian");
    for (const Outline& o : kOutlines) {
        SCOPED_TRACE(o.required);
        MissionPattern tables[] = {pixelTable(o.required), pixelTable(o.forbidden)};
        ASSERT_TRUE(tables[0] && tables[1]);
        const Cells required = cellsOf(tables[0]);
        const Cells forbidden = cellsOf(tables[1]);
        for (int k = 0; k < 2; ++k) {
            const Cells all = cellsOf(tables[k]);
            EXPECT_EQ(cellsOf(tables[k], ink), all) << "only Obsidian";
            int box[4] = {1000, -1, 1000, -1};
            for (const auto& [x, y] : all) {
                box[0] = std::min(box[0], x);
                box[1] = std::max(box[1], x);
                box[2] = std::min(box[2], y);
                box[3] = std::max(box[3], y);
            }
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(box[i], o.box[k][i]) << "table " << k << " box " << i;
            for (const Row& row : k == 0 ? o.requiredRows : o.forbiddenRows) {
                Cells expected;
                for (const auto& [x0, x1] : row.runs)
                    for (int x = x0; x <= x1; ++x)
                        expected.insert({x, row.y});
                Cells got;
                for (const auto& c : all)
                    if (c.second == row.y)
                        got.insert(c);
                EXPECT_EQ(got, expected) << "table " << k << " row " << row.y;
            }
        }
        EXPECT_EQ(figures(required), o.figures);
        int apart = 0;
        for (const auto& c : forbidden) {
            EXPECT_FALSE(required.count(c)) << "both required and forbidden: " << c.first << "," << c.second;
            apart += !touches(required, c);
        }
        EXPECT_EQ(apart, o.forbiddenApart);
    }
}

namespace {

struct ElementRun {
    int x0, x1;
    const char* element;
};
struct ElementRow {
    int y;
    std::vector<ElementRun> runs;
};
struct Picture {
    const char* name;
    int box[4];  // x0 x1 y0 y1
    std::vector<std::pair<const char*, int>> counts;
    std::vector<ElementRow> rows;
};

const Picture kPictures[] = {
    {"Coloring",
     {71, 95, 17, 54},
     {{"Obsidian", 229}, {"Diamond", 196}, {"Citrine", 134}, {"Sapphire", 8}},
     {{25, {{79, 88, "Obsidian"}}},
      {26, {{79, 79, "Obsidian"}, {80, 87, "Sapphire"}, {88, 88, "Obsidian"}}},
      {35, {{79, 80, "Obsidian"}, {81, 94, "Diamond"}, {95, 95, "Obsidian"}}}}},
    {"PaintEasy",
     {66, 114, 16, 60},
     {{"Obsidian", 662},
      {"Diamond", 328},
      {"Citrine", 256},
      {"Sapphire", 36},
      {"Lapislazuli", 18},
      {"Ruby", 8},
      {"Emerald", 5},
      {"Amatist", 5}},
     {{16, {{67, 114, "Obsidian"}}},
      {20,
       {{67, 67, "Obsidian"},
        {68, 70, "Emerald"},
        {71, 79, "Obsidian"},
        {80, 81, "Lapislazuli"},
        {82, 82, "Sapphire"},
        {83, 83, "Lapislazuli"},
        {84, 90, "Sapphire"},
        {91, 91, "Obsidian"},
        {103, 112, "Obsidian"}}}}},
    {"PaintMedium",
     {65, 114, 4, 67},
     {{"Obsidian", 421},
      {"Lapislazuli", 318},
      {"Diamond", 221},
      {"Citrine", 214},
      {"Zircon", 146},
      {"Sapphire", 37},
      {"Emerald", 9},
      {"Ruby", 9}},
     {{4, {{84, 85, "Obsidian"}, {93, 94, "Obsidian"}}},
      {5,
       {{83, 83, "Obsidian"},
        {84, 85, "Citrine"},
        {86, 86, "Obsidian"},
        {92, 92, "Obsidian"},
        {93, 94, "Citrine"},
        {95, 95, "Obsidian"}}}}},
    {"PaintHard",
     {22, 100, 8, 65},
     {{"Sapphire", 2488}, {"Diamond", 696}, {"Obsidian", 671}, {"Lapislazuli", 460}, {"Zircon", 145}, {"Citrine", 122}},
     {{8, {{22, 100, "Obsidian"}}},
      {9, {{22, 22, "Obsidian"}, {23, 99, "Sapphire"}, {100, 100, "Obsidian"}}},
      {65, {{22, 100, "Obsidian"}}}}},
    {"Font",
     {11, 117, 1, 29},
     {{"Obsidian", 297}},
     {{26,
       {{26, 32, "Obsidian"},
        {34, 34, "Obsidian"},
        {39, 39, "Obsidian"},
        {41, 47, "Obsidian"},
        {51, 53, "Obsidian"},
        {58, 60, "Obsidian"},
        {65, 65, "Obsidian"},
        {70, 71, "Obsidian"},
        {76, 76, "Obsidian"},
        {83, 84, "Obsidian"},
        {92, 92, "Obsidian"}}}}},
    {"Gradient",
     {30, 97, 11, 31},
     {{"Pipe", 571}, {"PipeOut", 342}, {"PipeIn", 341}, {"Obsidian", 174}},
     {{11, {{30, 97, "Obsidian"}}},
      {31, {{30, 97, "Obsidian"}}},
      {12, {{30, 30, "Obsidian"}, {31, 42, "PipeIn"},  {43, 43, "Pipe"},    {44, 46, "PipeIn"},  {47, 47, "Pipe"},
            {48, 48, "PipeIn"},   {49, 49, "Pipe"},    {50, 50, "PipeIn"},  {51, 53, "Pipe"},    {54, 54, "PipeIn"},
            {55, 72, "Pipe"},     {73, 73, "PipeOut"}, {74, 76, "Pipe"},    {77, 77, "PipeOut"}, {78, 78, "Pipe"},
            {79, 79, "PipeOut"},  {80, 80, "Pipe"},    {81, 83, "PipeOut"}, {84, 84, "Pipe"},    {85, 96, "PipeOut"},
            {97, 97, "Obsidian"}}}}},
    {"Shading",
     {54, 115, 1, 36},
     {{"LiquidSensor", 819},
      {"PipeOut", 616},
      {"VeryColdSensor", 306},
      {"LedPurple", 153},
      {"Obsidian", 132},
      {"PipeIn", 78},
      {"Bulb", 69},
      {"Amatist", 42},
      {"Electro", 17}},
     {{1,
       {{54, 54, "Obsidian"}, {55, 96, "PipeOut"}, {97, 100, "PipeIn"}, {101, 114, "PipeOut"}, {115, 115, "Obsidian"}}},
      {36, {{54, 115, "Obsidian"}}}}},
    {"Font2",
     {12, 112, 1, 33},
     {{"Bulb", 456},
      {"Amatist", 395},
      {"PipeIn", 369},
      {"LedPurple", 261},
      {"PipeOut", 187},
      {"Laser", 175},
      {"Heater", 88},
      {"Tnt", 67}},
     {{1, {{99, 99, "Bulb"}, {100, 105, "LedPurple"}}},
      {30,
       {{22, 26, "Tnt"},
        {34, 36, "Tnt"},
        {79, 79, "Bulb"},
        {80, 86, "Amatist"},
        {87, 87, "LedPurple"},
        {88, 98, "Amatist"},
        {99, 100, "LedPurple"},
        {101, 102, "Bulb"},
        {103, 111, "Amatist"},
        {112, 112, "LedPurple"}}}}},
    {"Final",
     {67, 112, 5, 65},
     {{"LiquidSensor", 1003},
      {"Bright", 552},
      {"Obsidian", 437},
      {"VeryColdSensor", 341},
      {"Bulb", 152},
      {"Zircon", 111},
      {"Wax", 87},
      {"PipeOut", 60},
      {"PipeIn", 36},
      {"Sapphire", 14},
      {"LedOrange", 13}},
     {{5,
       {{67, 73, "Obsidian"},
        {74, 77, "Bright"},
        {78, 84, "Obsidian"},
        {85, 88, "Bright"},
        {89, 96, "Obsidian"},
        {97, 99, "Bright"},
        {100, 112, "Obsidian"}}},
      {65, {{67, 112, "Obsidian"}}}}},
};

}  // namespace

// Each picture: its box, how many cells of each element, and its telling
// rows cell by cell, each cell with its element.
TEST_F(CampaignData, PixelArtPicturesHaveTheirBoxesElementCountsAndRows)
{
    for (const Picture& p : kPictures) {
        SCOPED_TRACE(p.name);
        MissionPattern t = pixelTable(p.name);
        ASSERT_TRUE(t);
        std::map<std::pair<int, int>, uint32_t> cells;
        std::map<uint32_t, int> counts;
        int box[4] = {1000, -1, 1000, -1};
        for (; !(t->end & 0xff); ++t) {
            cells[{t->x, t->y}] = t->type;
            ++counts[t->type];
            box[0] = std::min(box[0], t->x);
            box[1] = std::max(box[1], t->x);
            box[2] = std::min(box[2], t->y);
            box[3] = std::max(box[3], t->y);
        }
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(box[i], p.box[i]) << "box " << i;
        std::map<uint32_t, int> expected;
        for (const auto& [element, n] : p.counts)
            expected[hashString(element)] = n;
        EXPECT_EQ(counts, expected);
        for (const ElementRow& row : p.rows) {
            std::map<std::pair<int, int>, uint32_t> want, got;
            for (const ElementRun& r : row.runs)
                for (int x = r.x0; x <= r.x1; ++x)
                    want[{x, row.y}] = hashString(r.element);
            for (const auto& [c, type] : cells)
                if (c.second == row.y)
                    got[c] = type;
            EXPECT_EQ(got, want) << "row " << row.y;
        }
    }
}

// The pictures that share cells: level 5 outlines level 6's picture, level 7
// tests level 6's very table; the geometry's eyes are rings.
TEST_F(CampaignData, PixelArtPicturesShareWhatTheirLevelsShare)
{
    EXPECT_EQ(cellsOf(pixelTable("OutlinesRequired")), cellsOf(pixelTable("Coloring"), hashString("Obsidian")));
    EXPECT_EQ(pixelTable("Drawing"), pixelTable("Coloring"));
    EXPECT_EQ(missionTable("Pix_Drawing", 'A'), missionTable("Pix_Coloring", 'A'));
    // Full rectangles, two of them in a ring of Obsidian.
    const std::pair<const char*, bool> full[] = {
        {"PaintHard", true}, {"Gradient", true}, {"Shading", false}, {"Final", false}};
    for (const auto& [name, framed] : full) {
        const Cells cells = cellsOf(pixelTable(name));
        const Cells ink = cellsOf(pixelTable(name), hashString("Obsidian"));
        const auto [x0, y0] = *cells.begin();
        const auto [x1, y1] = *cells.rbegin();
        EXPECT_EQ(cells.size(), static_cast<size_t>((x1 - x0 + 1) * (y1 - y0 + 1))) << name;
        for (const auto& [x, y] : cells) {
            if (framed && (x == x0 || x == x1 || y == y0 || y == y1)) {
                EXPECT_EQ(ink.count({x, y}), 1u) << name << " frame at " << x << "," << y;
            }
        }
    }
    const Cells required = cellsOf(pixelTable("GeometryRequired"));
    for (int x0 : {82, 88})
        for (int x = x0; x < x0 + 4; ++x)
            for (int y = 40; y < 44; ++y) {
                const bool ring = (x == x0 || x == x0 + 3) != (y == 40 || y == 43);
                EXPECT_EQ(required.count({x, y}), ring ? 1u : 0u) << x << "," << y;
            }
}

TEST(PixelArtThreshold, ThePaintingsNeedTheirShareOfCellsRoundedDown)
{
    struct Case {
        int32_t cells, percent, need;
    };
    const Case cases[] = {{1318, 99, 1304}, {1375, 95, 1306}, {4582, 95, 4352}, {297, 95, 282},
                          {1428, 95, 1356}, {2232, 95, 2120}, {1998, 95, 1898}, {2806, 95, 2665}};
    for (const Case& c : cases)
        EXPECT_EQ(pixelArtThreshold(c.cells, c.percent), c.need) << c.cells;
    EXPECT_EQ(4582 - pixelArtThreshold(4582, 95), 230) << "wrong cells the great painting forgives";
}

// --- Robot ------------------------------------------------------------------------------------

namespace {

MissionPattern robotTable(const char* name)
{
    for (const CampaignTable& t : campaignOfMode(9)->tables)
        if (std::string(t.name) == name)
            return t.records;
    return nullptr;
}

// The kinds each table holds, and how many of each.
struct Kinds {
    const char* table;
    std::map<std::string, int> counts;
};
const Kinds kRobotKinds[] = {
    {"T1", {{"RobotPart", 14}}},
    {"T2", {{"HumanLeader", 11}}},
    {"T3", {{"Acid", 105}}},
    {"T4a", {{"RobotLeader", 4}}},
    {"T4b", {{"HumanLeader", 4}}},
    {"T5-1", {{"HumanLeader", 6}}},
    {"T5-2", {{"RobotLeader", 18}}},
    {"T5-3", {{"Metal", 1}}},
    {"T6", {{"HumanLeader", 54}}},
    {"T7", {{"HumanLeader", 9}}},
    {"T8", {{"HumanLeader", 5}}},
    {"T9a", {{"Tnt", 42}}},
    {"T9b", {{"HumanLeader", 5}}},
    {"T10a", {{"Stone", 7}}},
    {"T10b", {{"Lava", 8}}},
    {"T10c", {{"RobotLeader", 3424}}},
    {"T11a-1", {{"HumanPart", 6}}},
    {"T11a-2", {{"HumanLeader", 6}}},
    {"T12a", {{"Obsidian", 1}, {"Tnt", 148}}},
    {"T13a", {{"HumanPart", 9}}},
    {"T14a", {{"Metal", 34}, {"Tnt", 29}}},
    {"T15a", {{"Tnt", 10}}},
};

// The gate of level 14 as its rows list it: x of its Metal, then of its TNT.
struct GateRow {
    int y;
    std::vector<int> metal;
    std::vector<int> tnt;
};
const GateRow kGate[] = {
    {30, {53, 60, 61}, {54, 59, 62, 63}},
    {31, {53, 59, 61, 62}, {54, 63}},
    {32, {53}, {54, 63}},
    {33, {53}, {54, 63}},
    {34, {53, 54}, {63}},
    {35, {53}, {54, 63}},
    {36, {53, 63}, {54}},
    {37, {53}, {54, 63}},
    {38, {53, 61, 62, 63}, {54}},
    {39, {53, 59, 60, 61, 63}, {54, 62}},
    {40, {54, 55, 60, 63}, {53, 56, 59, 61, 62}},
    {41, {53, 54, 57, 58, 60, 61}, {55, 56, 59, 62, 63}},
};

}  // namespace

TEST_F(CampaignData, RobotTablesHoldTheirKindsTheKeyCellFirstAndTheGateByRows)
{
    for (const Kinds& k : kRobotKinds) {
        SCOPED_TRACE(k.table);
        MissionPattern t = robotTable(k.table);
        ASSERT_NE(t, nullptr);
        std::map<std::string, int> counts;
        for (const auto& [kind, n] : k.counts)
            counts[kind] = static_cast<int>(cellsOf(t, hashString(kind)).size());
        EXPECT_EQ(counts, k.counts);
    }
    MissionPattern structure = robotTable("T12a");
    EXPECT_EQ(structure[0].type, hashString("Obsidian"));
    EXPECT_EQ(std::make_pair(structure[0].x, structure[0].y), std::make_pair(43, 32));

    MissionPattern gate = robotTable("T14a");
    Cells metal;
    Cells tnt;
    for (const GateRow& row : kGate) {
        for (int x : row.metal)
            metal.insert({x, row.y});
        for (int x : row.tnt)
            tnt.insert({x, row.y});
    }
    EXPECT_EQ(cellsOf(gate, hashString("Metal")), metal);
    EXPECT_EQ(cellsOf(gate, hashString("Tnt")), tnt);
}

namespace {

// A table's columns written as the levels describe them: "3: 50, 55-59; 4: 50-59".
std::map<int, std::vector<int>> columnsOf(MissionPattern t)
{
    std::map<int, std::vector<int>> cols;
    for (; !(t->end & 0xff); ++t)
        cols[t->x].push_back(t->y);
    return cols;
}

std::string runsText(const std::vector<int>& values)
{
    std::string out;
    for (size_t i = 0; i < values.size();) {
        size_t j = i;
        while (j + 1 < values.size() && values[j + 1] == values[j] + 1)
            ++j;
        out += (out.empty() ? "" : ", ") + std::to_string(values[i]);
        if (j > i)
            out += "-" + std::to_string(values[j]);
        i = j + 1;
    }
    return out;
}

std::string columnsText(const std::map<int, std::vector<int>>& cols, bool first, size_t n)
{
    std::vector<std::string> parts;
    for (const auto& [x, ys] : cols)
        parts.push_back(std::to_string(x) + ": " + runsText(ys));
    const size_t from = first ? 0 : parts.size() - std::min(n, parts.size());
    std::string out;
    for (size_t i = from; i < std::min(parts.size(), from + n); ++i)
        out += (out.empty() ? "" : "; ") + parts[i];
    return out;
}

}  // namespace

TEST_F(CampaignData, DinosaurListsDrawnAsMapsKeepTheirCountsBoxesEndsAndColumns)
{
    struct Drawn {
        const char* mission;
        char letter;
        const char* element;
        int count;
        int box[4];  // x0, x1, y0, y1
        const char* first;
        const char* last;
        const char* columns;
    };
    const Drawn lists[] = {
        {"Dino_Cave",
         'B',
         "Acid",
         1018,
         {3, 85, 1, 70},
         "3: 50, 55-59; 4: 50-59; 5: 46-60; 6: 46-61; 7: 41-59; 8: 44-56",
         "82: 30-36; 83: 32-35; 84: 32-34; 85: 33-34",
         "3-15, 20-85"},
        {"Dino_DeathByTNT",
         'A',
         "TreeLeaf",
         538,
         {1, 100, 19, 39},
         "1: 24-26; 2: 24-25; 3: 24-25; 4: 24-26; 5: 23-26; 6: 20-26",
         "98: 22-24; 99: 22-23; 100: 21-22",
         "1-22, 35-63, 75-100"},
        {"Dino_VirusVsAcid",
         'C',
         "Virus",
         3208,
         {4, 91, 7, 61},
         "4: 17-25; 5: 9-13, 15-26; 6: 8-27; 7: 7-27",
         "89: 17-29; 90: 19-28; 91: 22-26",
         "4-91"},
    };
    for (const Drawn& d : lists) {
        SCOPED_TRACE(std::string(d.mission) + " " + d.letter);
        MissionPattern t = missionTable(d.mission, d.letter);
        ASSERT_NE(t, nullptr);
        const auto cols = columnsOf(t);
        std::vector<int> xs;
        int count = 0, y0 = 1000, y1 = -1;
        for (const auto& [x, ys] : cols) {
            xs.push_back(x);
            count += static_cast<int>(ys.size());
            y0 = std::min(y0, ys.front());
            y1 = std::max(y1, ys.back());
        }
        EXPECT_EQ(count, d.count);
        EXPECT_EQ(xs.front(), d.box[0]);
        EXPECT_EQ(xs.back(), d.box[1]);
        EXPECT_EQ(y0, d.box[2]);
        EXPECT_EQ(y1, d.box[3]);
        EXPECT_EQ(columnsText(cols, true, std::count(d.first, d.first + std::strlen(d.first), ';') + 1), d.first);
        EXPECT_EQ(columnsText(cols, false, std::count(d.last, d.last + std::strlen(d.last), ';') + 1), d.last);
        EXPECT_EQ(runsText(xs), d.columns);
        EXPECT_EQ(cellsOf(t, hashString(d.element)).size(), static_cast<size_t>(d.count)) << "one element";
    }
    // Where the lists meet the level's other cells: the cave's water pools
    // hold no acid, and the infected dinosaur's cell is not in the field.
    const auto acid = cellsOf(missionTable("Dino_Cave", 'B'));
    for (const auto& c : cellsOf(missionTable("Dino_Cave", 'A')))
        EXPECT_FALSE(acid.count(c)) << c.first << "," << c.second;
    EXPECT_FALSE(cellsOf(missionTable("Dino_VirusVsAcid", 'C')).count({54, 27}));
}

// A campaign's completion notice names it as the campaign screen does.
TEST_F(CampaignData, CompletionNoticesNameTheCampaignAsItsScreenDoes)
{
    const std::pair<const char*, int> notices[] = {
        {"MusicCampaignName", 1}, {"ContraptionsName", 2},   {"DinosaursName", 3},     {"PixelArtName", 4},
        {"HumanCampaignName", 5}, {"UserMadeName", 6},       {"LaserAndPipesName", 7}, {"ZombieCampaignName", 8},
        {"RobotCampaignName", 9}, {"AlienCampaignName", 10},
    };
    for (const char* language : {"en", "fr", "es"}) {
        testsupport::LanguageTable table(language);
        for (const auto& [key, mode] : notices) {
            const std::string notice = LocalUtils::localize(key)->getString();
            const std::string title =
                LocalUtils::localize(("CampaignTitle" + std::to_string(mode)).c_str())->getString();
            EXPECT_TRUE(notice.size() > title.size() &&
                        notice.compare(notice.size() - title.size(), title.size(), title) == 0)
                << language << ": \"" << notice << "\" does not end with \"" << title << "\"";
        }
    }
}
