// The world builder on its fixture level: cells where the script puts them,
// the header the script asks for, the same bytes on every run and after a
// reload, the guide picture; and the checks on worlds and day settings,
// each fault planted once.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "DayCheck.h"
#include "GuidePicture.h"
#include "LevelBuilder.h"
#include "LevelScript.h"
#include "campaigns/Campaigns.h"
#include "campaigns/story/StoryTables.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/MPObject.h"
#include "elements/creatures/Robots.h"
#include "world/World.h"
#include "world/WorldBlob.h"

namespace fs = std::filesystem;
using namespace levelgen;

namespace {

levelscript::Level fixture()
{
    levelscript::Level level;
    std::string error;
    EXPECT_TRUE(levelscript::readLevel(LEVELGEN_FIXTURES "/Fixture.level", LevelBuilder::knownElement, level, error))
        << error;
    return level;
}

class Tree {
public:
    Tree() : root_(fs::temp_directory_path() / ("levelgen-test-" + std::to_string(::getpid())))
    {
        fs::remove_all(root_);
        assetgen::Image sky(120, 80);
        sky.fillRect(0, 0, 120, 80, assetgen::Rgba{10, 20, 30, 255});
        std::string error;
        EXPECT_TRUE(assetgen::writePng(path("backgrounds/Missions/peaceful.png"), sky, error)) << error;
    }
    ~Tree() { fs::remove_all(root_); }
    std::string path(const std::string& rel) const { return (root_ / rel).string(); }
    std::string root() const { return root_.string(); }
    void write(const std::string& rel, const std::string& text) const
    {
        fs::create_directories(fs::path(path(rel)).parent_path());
        std::ofstream(path(rel)) << text;
    }

private:
    fs::path root_;
};

uint32_t typeAt(World& w, int x, int y)
{
    Particle* p = w.at(x, y);
    return p && p->id >= 0 ? p->getType() : 0;
}

}  // namespace

TEST(Levelgen, BuildsTheFixtureWhereTheScriptSays)
{
    LevelBuilder builder;
    BuiltLevel built;
    std::string error;
    ASSERT_TRUE(builder.build(fixture(), built, error)) << error;
    EXPECT_EQ(built.backgroundFile, "fixture.png");
    // The square's outline and the marked row, each cell once.
    MissionPattern box = storyTable("MakeMetalBox", 'A');
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(built.marks.size(), static_cast<size_t>(storyTableSize(box)) + 3);

    ASSERT_TRUE(builder.load(built.prepared));
    World& w = builder.world();
    EXPECT_EQ(w.width, 120);
    EXPECT_EQ(w.height, 80);
    const uint32_t stone = hashString("Stone"), metal = hashString("Metal");
    const struct {
        int x, y;
        uint32_t type;
    } cells[] = {
        {1, 1, stone},   {118, 5, stone}, {0, 3, 0},      {119, 3, 0},
        {10, 10, metal}, {20, 10, metal}, {21, 10, 0},    {15, 15, metal},
        {15, 13, metal}, {15, 16, 0},     {40, 5, metal}, {41, 5, 0},
        {42, 5, metal},  {41, 4, metal},  {43, 5, stone}, {31, 20, hashString("Bulb")},
        {42, 22, 0},     {77, 57, 0},
    };
    for (const auto& c : cells)
        EXPECT_EQ(typeAt(w, c.x, c.y), c.type) << c.x << ", " << c.y;
    const LoadedHeader& h = builder.loadedHeader();
    EXPECT_EQ(h.name, "Fixture");
    EXPECT_EQ(h.description, "");
    EXPECT_EQ(h.background, "fixture.png");
    EXPECT_TRUE(h.backgroundShown);
    EXPECT_EQ(h.ambient, 4);
    EXPECT_EQ(h.resources.at("Food"), 5);
    EXPECT_EQ(h.resources.at("Stone"), 6);
    EXPECT_EQ(h.resources.at("Wood"), 7);
    EXPECT_TRUE(w.lightMap.isSunOn());
    EXPECT_TRUE(w.lightMap.isLightOn());
    EXPECT_FALSE(w.weather);
    EXPECT_FALSE(w.temperatureField.isViewOn());
    worldblob::LoadPlan plan;
    ASSERT_TRUE(worldblob::parseBlob(built.prepared.data(), built.prepared.size(), plan, error)) << error;
    EXPECT_FALSE(plan.header.paused);
}

TEST(Levelgen, SameBytesTwiceAndAfterAReload)
{
    BuiltLevel first, second;
    std::string error;
    {
        LevelBuilder builder;
        ASSERT_TRUE(builder.build(fixture(), first, error)) << error;
        // Another world built in between changes nothing.
        levelscript::Level other;
        ASSERT_TRUE(levelscript::parseLevel("world Other\nbackground peaceful\nseed 3\ndisc Water 50 50 9\nstep 20\n",
                                            "Other.level", LevelBuilder::knownElement, other, error))
            << error;
        BuiltLevel unused;
        ASSERT_TRUE(builder.build(other, unused, error)) << error;
        ASSERT_TRUE(builder.build(fixture(), second, error)) << error;
        // A load reverses the records: one round trip gives the same world,
        // two the same bytes.
        ASSERT_TRUE(builder.load(first.prepared));
        const std::vector<uint8_t> once = builder.saveAgain();
        EXPECT_NE(once, first.prepared);
        std::string why;
        EXPECT_TRUE(sameRecordsReversed(first.prepared, once, why)) << why;
        ASSERT_TRUE(builder.load(once));
        EXPECT_EQ(builder.saveAgain(), first.prepared);
    }
    EXPECT_EQ(first.prepared, second.prepared);
}

// Campaign missions' tables by class name and letter, as the story's: each
// mode fills, empties or marks its cells; an unknown letter is a fault.
TEST(Levelgen, TablesOfCampaignMissionsByClassName)
{
    const uint32_t power = hashString("Power"), note = hashString("Note");
    const struct {
        const char* command;
        int x, y;
        uint32_t type;  // after the command, over a metal floor at y 31 and 38
        size_t marks;
    } cases[] = {
        {"table Contra_LedsOn B fill", 48, 31, power, 0},
        {"table Contra_LedsOn B fill Stone", 48, 31, hashString("Stone"), 0},
        {"table Contra_LedsOn B empty", 48, 31, 0, 0},
        {"table Contra_LedsOn A mark", 48, 31, hashString("Metal"), 1},
        {"table Music_PixRemoveLv3 A fill", 80, 38, note, 0},
        {"table Music_Lv1 A mark", 80, 38, hashString("Metal"), 123},
        // the cells beside a row's two ends, the row itself left as it is
        {"table Contra_LedsOn A mark ends", 47, 31, hashString("Metal"), 2},
        {"table RobotLv9a A mark ends", 14, 30, 0, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        levelscript::Level level;
        std::string error;
        const std::string text = std::string("world Day2_1\nbackground peaceful\nfill Metal 1 31 118 31\n") +
            "fill Metal 1 38 118 38\n" + c.command + "\n";
        ASSERT_TRUE(levelscript::parseLevel(text, "Day2_1.level", LevelBuilder::knownElement, level, error)) << error;
        LevelBuilder builder;
        BuiltLevel built;
        ASSERT_TRUE(builder.build(level, built, error)) << error;
        EXPECT_EQ(built.marks.size(), c.marks);
        ASSERT_TRUE(builder.load(built.prepared));
        EXPECT_EQ(typeAt(builder.world(), c.x, c.y), c.type);
    }
    ASSERT_NE(missionTable("Music_Lv7", 'B'), nullptr);
    EXPECT_EQ(missionTable("Music_Lv7", 'C'), nullptr);
    EXPECT_EQ(missionTable("MakeMetalBox", 'A'), storyTable("MakeMetalBox", 'A'));
    levelscript::Level level;
    std::string error;
    ASSERT_TRUE(levelscript::parseLevel("world Day2_1\nbackground peaceful\ntable Contra_LedsOn C fill\n",
                                        "Day2_1.level", LevelBuilder::knownElement, level, error))
        << error;
    LevelBuilder builder;
    BuiltLevel built;
    EXPECT_FALSE(builder.build(level, built, error));
    EXPECT_NE(error.find("no table Contra_LedsOn C"), std::string::npos) << error;
}

// Creatures are saved whole with their jobs, and a loaded world gives them
// back; the body's room, its building and the limits are faults with lines.
TEST(Levelgen, CreaturesAreSavedWholeWithTheirJobs)
{
    const std::string head = "world Day5_1\nbackground peaceful\nfill Stone 1 1 118 4\n";  // lines 1-3
    const struct {
        std::string body;
        const char* error;  // empty: builds
        const char* job;    // the first leader's job after a load
    } cases[] = {
        {"human 20 5 hunter left\nrobot 40 5 hunter\nbuilt\n", "", "hunter"},
        {"human 20 5 settler\nbuilt 3\n", "", "normal"},
        {"human 20 5 zombie\nbuilt\nstep 40\n", "", "zombie"},
        {"human 20 3 normal\n", "Day5_1.level:4: no room for the body at (20, 4), which holds Stone", ""},
        {"human 20 5 normal\n",
         "Day5_1.level: the HumanLeader at (20, 5) has no whole body when the world is saved ('built' steps until it "
         "has)",
         ""},
        {"human 10 5 normal\nhuman 20 5 normal\nhuman 30 5 normal\nhuman 40 5 normal\nhuman 50 5 normal\n"
         "human 60 5 normal\nbuilt\nhuman 70 5 normal\n",
         "Day5_1.level:11: the world took no more humans", ""},
        {"human 10 5 normal\nhuman 20 5 normal\nhuman 30 5 normal\nhuman 40 5 normal\nhuman 50 5 normal\n"
         "human 60 5 normal\nhuman 70 5 normal\n",
         "Day5_1.level:10: 7 humans, more than 6", ""},
        {"robot 10 5 guardian\nrobot 20 5 guardian\nrobot 30 5 guardian\nrobot 40 5 guardian\nrobot 50 5 hunter\n",
         "Day5_1.level:8: 5 robots, more than 4", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        levelscript::Level level;
        std::string error;
        ASSERT_TRUE(levelscript::parseLevel(head + c.body, "Day5_1.level", LevelBuilder::knownElement, level, error))
            << error;
        LevelBuilder builder;
        BuiltLevel built;
        const bool ok = builder.build(level, built, error);
        EXPECT_EQ(error, c.error);
        if (!ok)
            continue;
        ASSERT_TRUE(builder.load(built.prepared));
        World& w = builder.world();
        for (int i = 0; i < 5; ++i)
            w.step();
        std::vector<HumanLeader*> leaders;
        for (int x = 0; x < w.width; ++x)
            for (int y = 0; y < w.height; ++y)
                if (auto* h = dynamic_cast<HumanLeader*>(w.at(x, y)))
                    leaders.push_back(h);
        ASSERT_FALSE(leaders.empty());
        for (HumanLeader* h : leaders)
            EXPECT_TRUE(h->hasWholeBody());
        EXPECT_EQ(leaders.front()->job, c.job);
        if (leaders.size() > 1) {
            auto* robot = dynamic_cast<RobotLeader*>(leaders.back());
            ASSERT_NE(robot, nullptr);
            EXPECT_EQ(robot->role, "hunter");
            EXPECT_EQ(leaders.front()->getFacing(), -1);
        }
    }
}

TEST(Levelgen, GuidePictureMarksCellsTopRowFirst)
{
    Tree tree;
    assetgen::Image sky;
    std::string error;
    const std::string path = backgroundPath(tree.root(), "peaceful.png");
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(backgroundPath(tree.root(), "nowhere.png").empty());
    ASSERT_TRUE(readBackground(path, sky, error)) << error;
    const assetgen::Image guide = guidePicture(sky, {{0, 0}, {100, 70}});
    EXPECT_EQ(guide.at(0, 79), kGuideColour);
    EXPECT_EQ(guide.at(100, 9), kGuideColour);
    EXPECT_EQ(guide.at(100, 70), (assetgen::Rgba{10, 20, 30, 255}));
}

// A picture level's guide, keep-empty marks and stencil: guided cells stay
// empty in the world and name the guide picture; the frame walls in each cell
// beside and below, never on the table's own cells nor above them.
TEST(Levelgen, GuideAndFrameOfAPictureTable)
{
    const uint32_t wall = hashString("Wall"), obsidian = hashString("Obsidian");
    const struct {
        const char* command;
        size_t guides;
        uint32_t guideType;
        std::string background;
        struct {
            int x, y;
            uint32_t type;
        } cells[4];  // (79, 17) the bottom-left corner of the big square
    } cases[] = {
        {"table Pix_Squares A guide", 196, obsidian, "pix01.png", {{79, 17, 0}, {87, 16, 0}, {78, 18, 0}, {87, 33, 0}}},
        {"table Pix_Squares B guide empty", 48, 0, "pix01.png", {{79, 17, 0}, {87, 16, 0}, {78, 18, 0}, {87, 33, 0}}},
        {"table Pix_Squares A frame Wall",
         0,
         0,
         "peaceful.png",
         {{79, 17, 0}, {87, 16, wall}, {78, 18, wall}, {87, 33, 0}}},
        // Painted into the stencil, the gems stay where they are put.
        {"table Pix_Squares A frame Wall\ntable Pix_Squares A fill\nstep 90",
         0,
         0,
         "peaceful.png",
         {{79, 17, obsidian}, {94, 32, obsidian}, {85, 64, obsidian}, {105, 12, obsidian}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        levelscript::Level level;
        std::string error;
        const std::string text = std::string("world Day4_1\nbackground peaceful\nguide pix01\n") + c.command + "\n";
        ASSERT_TRUE(levelscript::parseLevel(text, "Day4_1.level", LevelBuilder::knownElement, level, error)) << error;
        LevelBuilder builder;
        BuiltLevel built;
        ASSERT_TRUE(builder.build(level, built, error)) << error;
        ASSERT_EQ(built.guides.size(), c.guides);
        for (const GuideCell& g : built.guides)
            EXPECT_EQ(g.type, c.guideType);
        EXPECT_TRUE(built.marks.empty());
        EXPECT_EQ(built.backgroundFile, c.background);
        ASSERT_TRUE(builder.load(built.prepared));
        for (const auto& cell : c.cells)
            EXPECT_EQ(typeAt(builder.world(), cell.x, cell.y), cell.type) << cell.x << ", " << cell.y;
    }

    // Faint colours of the elements themselves, over whatever lies beneath.
    LevelBuilder builder;
    const assetgen::Rgba ink = elementColour(obsidian), gem = elementColour(hashString("Diamond"));
    EXPECT_NE(ink, gem);
    EXPECT_NE(ink, kGuideColour);
    assetgen::Image sky(120, 80);
    sky.fillRect(0, 0, 120, 80, assetgen::Rgba{10, 20, 30, 255});
    const assetgen::Image guide = guidePicture(sky, {{3, 3}}, {{{0, 0}, obsidian}, {{5, 5}, 0}, {{3, 3}, obsidian}});
    auto faint = [](assetgen::Rgba to) {
        auto mix = [](int a, int b) { return uint8_t((a * (256 - kGuideStrength) + b * kGuideStrength) >> 8); };
        return assetgen::Rgba{mix(10, to.r), mix(20, to.g), mix(30, to.b), 255};
    };
    EXPECT_EQ(guide.at(0, 79), faint(ink));
    EXPECT_EQ(guide.at(5, 74), faint(kKeepEmptyColour));
    EXPECT_EQ(guide.at(3, 76), faint(ink));  // a guide over a mark blends with the background, not the mark
    EXPECT_EQ(guide.at(1, 79), (assetgen::Rgba{10, 20, 30, 255}));

    // Each sensor in the colour it is made in, which alone tells them apart.
    std::set<std::vector<uint8_t>> sensors;
    for (const char* name : {"VeryColdSensor", "ColdSensor", "NormalSensor", "HotSensor", "VeryHotSensor"}) {
        const assetgen::Rgba c = elementColour(hashString(name));
        sensors.insert({c.r, c.g, c.b});
    }
    EXPECT_EQ(sensors.size(), 5u);
}

// The days' rules come from the game's own steps and missions on top of day
// 1's settings file.
TEST(Levelgen, StoryDayRulesAreCumulative)
{
    const auto has = [](const std::vector<std::string>& list, const char* name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    Tree tree;
    tree.write("universes/Missions/Day1.plist",
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict><key>lock</key><true/>"
               "<key>lockMode</key><string>allow</string><key>elements</key><array><string>Soil</string>"
               "<string>Water</string><string>Stone</string></array><key>tools</key><array><string>Draw</string>"
               "<string>Clear</string></array><key>options</key><array><string>Normal</string></array></dict>\n"
               "</plist>\n");
    const DayRules start = storyStart(tree.path("universes/Missions"));
    EXPECT_EQ(start.elements, (std::vector<std::string>{"Soil", "Water", "Stone"}));
    const DayRules day1 = storyDayRules(1, start), day2 = storyDayRules(2, start), day29 = storyDayRules(29, start);
    EXPECT_EQ(day1.elements, (std::vector<std::string>{"Soil", "Water", "Stone"}));
    EXPECT_EQ(day1.tools, (std::vector<std::string>{"Draw", "Clear"}));
    EXPECT_EQ(day1.options, (std::vector<std::string>{"Normal"}));
    EXPECT_EQ(storyDayForbidden(1), (std::vector<std::string>{"Mud", "Sand"}));
    // Mission rewards of a day reach the next day's file, not its own.
    EXPECT_TRUE(has(day2.elements, "Mud"));
    EXPECT_TRUE(has(day2.tools, "Zoom")) << "day 2's zoom goal needs the zoom";
    EXPECT_TRUE(has(day2.options, "Sun"));
    EXPECT_FALSE(has(storyDayRules(3, start).elements, "Steam"));
    EXPECT_TRUE(has(storyDayRules(4, start).elements, "Steam"));
    EXPECT_FALSE(has(storyDayRules(7, start).tools, "Line"));
    EXPECT_TRUE(has(storyDayRules(8, start).tools, "Line"));
    EXPECT_TRUE(has(day29.elements, "SeedWillow"));
    EXPECT_TRUE(has(day29.elements, "AVirus"));
    EXPECT_FALSE(has(storyDayRules(28, start).elements, "SeedOak"));
    EXPECT_EQ(day29.elements.size(), 41u);
    EXPECT_TRUE(storyDayForbidden(11).empty());
    EXPECT_EQ(storyDayForbidden(12), (std::vector<std::string>{"Glass", "Snow"}));
    EXPECT_EQ(storyDayOf("Day7"), 7);
    EXPECT_EQ(storyDayOf("Day31"), 31);
    for (const char* no : {"Day0", "Day32", "Day07", "Day5_3", "Fixture", "Day"})
        EXPECT_EQ(storyDayOf(no), 0) << no;
}

TEST(Levelgen, WorldChecksFindPlantedFaults)
{
    Tree tree;
    LevelBuilder builder;
    std::string error;
    levelscript::Level level;
    ASSERT_TRUE(levelscript::parseLevel("world Day1\nbackground peaceful\ncell Mud 50 50\ncell Soil 51 50\n",
                                        "Day1.level", LevelBuilder::knownElement, level, error))
        << error;
    BuiltLevel built;
    ASSERT_TRUE(builder.build(level, built, error)) << error;
    CheckReport report;
    checkWorld(builder, built.prepared, "Day1", tree.root(), report);
    EXPECT_EQ(report.errors, (std::vector<std::string>{"Day1: holds Mud, which its day's missions count as made"}));
    // A campaign level's world too: the ninth Human level asks for Bright.
    ASSERT_TRUE(levelscript::parseLevel("world Day5_9\nbackground peaceful\ncell Bright 50 50\n", "Day5_9.level",
                                        LevelBuilder::knownElement, level, error))
        << error;
    ASSERT_TRUE(builder.build(level, built, error)) << error;
    report = {};
    checkWorld(builder, built.prepared, "Day5_9", tree.root(), report);
    EXPECT_EQ(report.errors,
              (std::vector<std::string>{"Day5_9: holds Bright, which its day's missions count as made"}));

    // Creatures beyond the game's limits, which the builder itself refuses:
    // planted in a loaded world.
    ASSERT_TRUE(levelscript::parseLevel("world Zoo\nbackground peaceful\n", "Zoo.level", LevelBuilder::knownElement,
                                        level, error))
        << error;
    ASSERT_TRUE(builder.build(level, built, error)) << error;
    ASSERT_TRUE(builder.load(built.prepared));
    for (int x = 10; x <= 13; ++x)
        builder.world().addParticle(x, 10, hashString("LionLeader"), false);
    const std::vector<uint8_t> zoo = builder.saveAgain();
    report = {};
    checkWorld(builder, zoo, "Zoo", tree.root(), report);
    EXPECT_EQ(report.errors, (std::vector<std::string>{"Zoo: 4 lions, more than 3"}));
    ASSERT_TRUE(levelscript::parseLevel("world Day1\nbackground peaceful\ncell Mud 50 50\ncell Soil 51 50\n",
                                        "Day1.level", LevelBuilder::knownElement, level, error))
        << error;
    ASSERT_TRUE(builder.build(level, built, error)) << error;

    // Not reversed, the two records differ.
    std::string why;
    EXPECT_FALSE(sameRecordsReversed(built.prepared, built.prepared, why));
    EXPECT_EQ(why.rfind("the particle at (", 0), 0u) << why;

    // The same world without its background, and under another name.
    report = {};
    checkWorld(builder, built.prepared, "Day2", fs::temp_directory_path().string() + "/no-tree", report);
    EXPECT_EQ(report.errors,
              (std::vector<std::string>{"Day2: its background 'peaceful.png' is not in the tree",
                                        "Day2: its universe name is 'Day1'"}));

    // A blob cut short does not load.
    report = {};
    std::vector<uint8_t> cut(built.prepared.begin(), built.prepared.begin() + 100);
    checkWorld(builder, cut, "Day1", tree.root(), report);
    ASSERT_EQ(report.errors.size(), 1u);
    EXPECT_EQ(report.errors[0].rfind("Day1: the world does not load", 0), 0u) << report.errors[0];
}

TEST(Levelgen, SettingsChecksFindPlantedFaults)
{
    Tree tree;
    auto plist = [](const std::string& body) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n" + body +
            "</dict>\n</plist>\n";
    };
    const std::string day1 = "<key>elements</key><array><string>Soil</string><string>Water</string>"
                             "<string>Stone</string></array>"
                             "<key>tools</key><array><string>Draw</string><string>Clear</string></array>"
                             "<key>options</key><array><string>Normal</string></array>";
    const std::string lock = "<key>lock</key><true/><key>lockMode</key><string>allow</string>";
    const std::vector<std::string> places{"Soil"};
    const struct {
        std::string world;
        std::string body;
        std::vector<std::string> errors;
    } cases[] = {
        {"Day1", lock + day1, {}},
        {"Day1", "<key>lock</key><false/>", {}},
        {"Day1", day1, {"Day1.plist: 'lock' is missing or not a boolean"}},
        {"Day1",
         "<key>lock</key><true/><key>lockMode</key><string>maybe</string>" + day1,
         {"Day1.plist: 'lockMode' is 'maybe', not allow or deny"}},
        {"Day1",
         lock + "<key>elements</key><array><string>Soil</string><string>Water</string></array>" +
             "<key>tools</key><array><string>Draw</string><string>Clear</string><string>Hammer</string></array>" +
             "<key>options</key><array><string>Normal</string></array><key>colour</key><string>red</string>",
         {"Day1.plist: unknown key 'colour'", "Day1.plist: 'Hammer' in tools is not a known name"}},
        {"Day1",
         "<key>lock</key><true/><key>lockMode</key><string>deny</string><key>elements</key><array>"
         "<string>Soil</string></array>",
         {"Day1.plist: day 1's cumulative set has Soil, the file does not allow it",
          "Day1.plist: the level script places Soil, the file does not allow it"}},
        {"Day2",
         lock + day1,
         {"Day2.plist: day 2's cumulative set has Mud, the file does not allow it",
          "Day2.plist: day 2's cumulative set has Sand, the file does not allow it",
          "Day2.plist: day 2's cumulative set has Zoom, the file does not allow it",
          "Day2.plist: day 2's cumulative set has Sun, the file does not allow it"}},
        {"Day1", lock + day1 + "<key>made</key><array><string>Mud</string></array>", {}},
        {"Day1",
         lock + day1 + "<key>made</key><array><string>Water</string><string>Gold</string></array>",
         {"Day1.plist: 'Gold' in made is not a known name", "Day1.plist: 'Water' in made is offered, not withheld"}},
        {"Level",
         lock + "<key>elements</key><string>Soil</string>",
         {"Level.plist: elements, tools, options and made are arrays of strings",
          "Level.plist: the level script places Soil, the file does not allow it"}},
    };
    for (const auto& c : cases) {
        const std::string rel = "universes/Missions/" + c.world + ".plist";
        tree.write(rel, plist(c.body));
        CheckReport report;
        checkSettings(tree.path(rel), c.world, &places, report);
        EXPECT_EQ(report.errors, c.errors) << c.body;
    }
    CheckReport report;
    checkSettings(tree.path("universes/Missions/Day9.plist"), "Day9", &places, report);
    EXPECT_EQ(report.errors, (std::vector<std::string>{"Day9: no settings file universes/Missions/Day9.plist"}));
}

TEST(Levelgen, LevelsCheckReportsMissingDaysAndFaultyScripts)
{
    Tree tree;
    const std::string levels = tree.path("levels");
    tree.write("levels/Day3.level", "world Day3\nbackground peaceful\nfill Metl 1 1 2 2\n");
    CheckReport report;
    checkLevels(levels, tree.root(), false, report);
    EXPECT_EQ(report.errors, (std::vector<std::string>{"Day3.level:3: unknown element 'Metl'"}));
    ASSERT_EQ(report.notes.size(), 1u);
    EXPECT_EQ(report.notes[0].rfind("story days without a level script: 1 2 3 4 ", 0), 0u) << report.notes[0];

    tree.write("levels/Day3.level", "world Day3\nbackground peaceful\nfill Metal 1 1 2 2\n");
    tree.write("levels/Day4.level", "world Day4\nbackground peaceful\nbound 59000\n");
    tree.write("levels/Day31.level", "world Day31\nbackground peaceful\n");
    report = {};
    checkLevels(levels, tree.root(), true, report);
    ASSERT_EQ(report.errors.size(), 8u);
    EXPECT_EQ(report.errors[0], "Day3: no step bound");
    EXPECT_EQ(report.errors[1], "Day3: no world universes/Missions/Day3 in the tree");
    EXPECT_EQ(report.errors[2], "Day3: no settings file universes/Missions/Day3.plist");
    EXPECT_EQ(report.errors[3], "Day31: no world universes/Missions/Day31 in the tree");
    EXPECT_EQ(report.errors[5], "Day4: no world universes/Missions/Day4 in the tree");
    EXPECT_EQ(report.errors[7].rfind("story days without a level script: 1 2 5 6 ", 0), 0u) << report.errors[7];

    tree.write("levels/Day5.level", "world Day5\nbackground peaceful\nbound 1001\n");
    report = {};
    checkLevels(levels, tree.root(), false, report);
    EXPECT_NE(std::find(report.errors.begin(), report.errors.end(),
                        "the story days' step bounds sum to 60001, more than 60000"),
              report.errors.end());
}
