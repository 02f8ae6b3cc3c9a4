// The level script reader: a whole script read into its parts, and every
// fault named with its file and line.
#include <gtest/gtest.h>

#include "LevelScript.h"

using namespace levelscript;

namespace {

bool known(std::string_view name)
{
    for (const char* e : {"Soil", "Water", "Stone", "Metal", "Bulb", "Glass", "Power", "Note"})
        if (name == e)
            return true;
    return false;
}

const char* const kWhole = R"(# a test world
world Day7
background peaceful
options sun on weather off light on temperature off
ambient 4
colony food 2 wood 3
seed 7
places Metal Soil
bound 3000

fill Stone 0 0 119 5      # ground
clear 10 10 20 20
line Metal 10 10 30 10 2
disc Water 40 20 5
cell Bulb 31 20
legend
  S Soil
  W Water
  x empty
end
stamp 10 30
SSSS
SW.x  # the bottom row
end
table MakeMetalBox A fill Glass
table MakeMetalBox A empty
table MakeMetalBox A mark
mark 42 22 77 22
step 120

script
  paint Soil 30 20 2
  stroke Soil 30 20 50 20
  erase 30 20
  miner 50 40
  fill Water 10 10
  replace Glass 20 20
  tap 88 43
  save
  reset
  load
  zoom in
  zoom out
  option Sun off
  temperature VeryCold
  step 300
  until 1200
  note 88 43 fs 3
  key space right 20
end
)";

}  // namespace

TEST(LevelScript, ReadsAWholeScript)
{
    Level level;
    std::string error;
    ASSERT_TRUE(parseLevel(kWhole, "assets/levels/Day7.level", known, level, error)) << error;
    const Header& h = level.header;
    EXPECT_EQ(h.world, "Day7");
    EXPECT_EQ(h.background, "peaceful");
    EXPECT_TRUE(h.sun);
    EXPECT_FALSE(h.weather);
    EXPECT_TRUE(h.light);
    EXPECT_FALSE(h.temperature);
    EXPECT_EQ(h.ambient, 4);
    EXPECT_EQ(h.food, 2);
    EXPECT_EQ(h.stone, 0);
    EXPECT_EQ(h.wood, 3);
    EXPECT_EQ(h.seed, 7u);
    EXPECT_EQ(h.places, (std::vector<std::string>{"Metal", "Soil"}));
    EXPECT_EQ(h.bound, 3000);
    EXPECT_TRUE(level.marks());

    const CommandKind kinds[] = {CommandKind::Fill,  CommandKind::Clear, CommandKind::Line,  CommandKind::Disc,
                                 CommandKind::Cell,  CommandKind::Stamp, CommandKind::Table, CommandKind::Table,
                                 CommandKind::Table, CommandKind::Mark,  CommandKind::Step};
    ASSERT_EQ(level.build.size(), std::size(kinds));
    for (size_t i = 0; i < std::size(kinds); ++i)
        EXPECT_EQ(level.build[i].kind, kinds[i]) << i;
    EXPECT_EQ(level.build[0].line, 11);
    EXPECT_EQ(level.build[0].at, (std::vector<int32_t>{0, 0, 119, 5}));
    EXPECT_EQ(level.build[2].radius, 2);
    EXPECT_EQ(level.build[3].radius, 5);
    const Command& stamp = level.build[5];
    EXPECT_EQ(stamp.line, 21);
    EXPECT_EQ(stamp.at, (std::vector<int32_t>{10, 30}));
    EXPECT_EQ(stamp.rows, (std::vector<std::string>{"SSSS", "SW.x"}));
    EXPECT_EQ(stamp.legend.at('S'), "Soil");
    EXPECT_EQ(stamp.legend.at('x'), "");
    EXPECT_EQ(level.build[6].element, "Glass");
    EXPECT_EQ(level.build[6].mission, "MakeMetalBox");
    EXPECT_EQ(level.build[6].letter, 'A');
    EXPECT_EQ(level.build[7].mode, TableMode::Empty);
    EXPECT_EQ(level.build[8].mode, TableMode::Mark);
    EXPECT_EQ(level.build[10].count, 120);

    const ActionKind actions[] = {ActionKind::Paint,  ActionKind::Stroke,      ActionKind::Erase,  ActionKind::Miner,
                                  ActionKind::Fill,   ActionKind::Replace,     ActionKind::Tap,    ActionKind::Save,
                                  ActionKind::Reset,  ActionKind::Load,        ActionKind::ZoomIn, ActionKind::ZoomOut,
                                  ActionKind::Option, ActionKind::Temperature, ActionKind::Step,   ActionKind::Until,
                                  ActionKind::Note,   ActionKind::Key};
    ASSERT_EQ(level.script.size(), std::size(actions));
    for (size_t i = 0; i < std::size(actions); ++i)
        EXPECT_EQ(level.script[i].kind, actions[i]) << i;
    EXPECT_EQ(level.script[0].line, 32);
    EXPECT_EQ(level.script[0].radius, 2);
    EXPECT_EQ(level.script[1].at, (std::vector<int32_t>{30, 20, 50, 20}));
    EXPECT_EQ(level.script[5].element, "Glass");
    EXPECT_EQ(level.script[12].name, "Sun");
    EXPECT_FALSE(level.script[12].on);
    EXPECT_EQ(level.script[17].keys, (std::vector<std::string>{"space", "right"}));
    EXPECT_EQ(level.script[17].count, 20);
    EXPECT_EQ(level.script[13].name, "VeryCold");
    EXPECT_EQ(level.script[16].at, (std::vector<int32_t>{88, 43}));
    EXPECT_EQ(level.script[16].name, "fs");
    EXPECT_EQ(level.script[16].count, 3);
    EXPECT_EQ(noteIndex("c"), 0);
    EXPECT_EQ(noteIndex("fs"), 6);
    EXPECT_EQ(noteIndex("b"), 11);
    EXPECT_EQ(noteIndex("C"), -1);
    EXPECT_EQ(level.script[15].count, 1200);
}

// Instruments of a prepared world tuned by the build; a run of notes played
// by one action.
TEST(LevelScript, TunesInstrumentsAndPlaysNotes)
{
    Level level;
    std::string error;
    ASSERT_TRUE(parseLevel("world Day1_2\nbackground music\ncell Note 40 30\ntune 40 30 as 1\nscript\n"
                           "play 40 30 42 30 40 30\nend\n",
                           "Day1_2.level", known, level, error))
        << error;
    ASSERT_EQ(level.build.size(), 2u);
    EXPECT_EQ(level.build[1].kind, CommandKind::Tune);
    EXPECT_EQ(level.build[1].at, (std::vector<int32_t>{40, 30}));
    EXPECT_EQ(level.build[1].note, "as");
    EXPECT_EQ(level.build[1].count, 1);
    EXPECT_STREQ(commandName(CommandKind::Tune), "tune");
    ASSERT_EQ(level.script.size(), 1u);
    EXPECT_EQ(level.script[0].kind, ActionKind::Play);
    EXPECT_EQ(level.script[0].at, (std::vector<int32_t>{40, 30, 42, 30, 40, 30}));
}

// The player's controls one by one, and the shapes painted through them.
TEST(LevelScript, ReadsThePlayersControlsAndPictures)
{
    Level level;
    std::string error;
    ASSERT_TRUE(parseLevel("world Day7\nbackground peaceful\nscript\nelement Metal\ntool Line\nbrush 3\neraser\n"
                           "touch 10 20\ntouch 10 20 30\ndrag 1 2 3 4 5 6\nline Metal 1 5 9 5 1\n"
                           "rect Glass 1 1 4 2\nlegend\n  M Metal\n  x empty\nend\npicture 10 30\nMM.x # a comment\n"
                           " M\nend\nend\n",
                           "Day7.level", known, level, error))
        << error;
    const ActionKind kinds[] = {ActionKind::Element, ActionKind::Tool,   ActionKind::Brush, ActionKind::Eraser,
                                ActionKind::Touch,   ActionKind::Touch,  ActionKind::Drag,  ActionKind::Line,
                                ActionKind::Rect,    ActionKind::Picture};
    ASSERT_EQ(level.script.size(), std::size(kinds));
    for (size_t i = 0; i < std::size(kinds); ++i)
        EXPECT_EQ(level.script[i].kind, kinds[i]) << i;
    EXPECT_EQ(level.script[0].element, "Metal");
    EXPECT_EQ(level.script[1].name, "Line");
    EXPECT_EQ(level.script[2].count, 3);
    EXPECT_EQ(level.script[4].count, 2) << "a touch is held two steps unless said";
    EXPECT_EQ(level.script[5].count, 30);
    EXPECT_EQ(level.script[6].at, (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(level.script[7].radius, 1);
    EXPECT_EQ(level.script[8].at, (std::vector<int32_t>{1, 1, 4, 2}));
    const Action& picture = level.script[9];
    EXPECT_EQ(picture.line, 17);
    EXPECT_EQ(picture.at, (std::vector<int32_t>{10, 30}));
    EXPECT_EQ(picture.rows, (std::vector<std::string>{"MM.x", " M"}));
    EXPECT_EQ(picture.legend.at('M'), "Metal");
    EXPECT_EQ(picture.legend.at('x'), "");
}

// Creatures: the leader's cell, a job or role, a facing; the player's
// dust for each job.
TEST(LevelScript, PlacesCreaturesWithJobs)
{
    Level level;
    std::string error;
    ASSERT_TRUE(parseLevel("world Day5_2\nbackground peaceful\nhuman 20 10 hunter left\nrobot 40 10 guardian\n"
                           "built\nbuilt 7\nscript\nhuman 30 10 builder\nrobot 50 10 hunter\nend\n",
                           "Day5_2.level", known, level, error))
        << error;
    ASSERT_EQ(level.build.size(), 4u);
    EXPECT_EQ(level.build[0].kind, CommandKind::Human);
    EXPECT_EQ(level.build[0].at, (std::vector<int32_t>{20, 10}));
    EXPECT_EQ(level.build[0].job, "hunter");
    EXPECT_EQ(level.build[0].facing, -1);
    EXPECT_EQ(level.build[1].kind, CommandKind::Robot);
    EXPECT_EQ(level.build[1].facing, 1);
    EXPECT_EQ(level.build[2].kind, CommandKind::Built);
    EXPECT_EQ(level.build[2].count, 100);
    EXPECT_EQ(level.build[3].count, 7);
    ASSERT_EQ(level.script.size(), 2u);
    EXPECT_EQ(level.script[0].kind, ActionKind::Human);
    EXPECT_EQ(level.script[0].name, "builder");
    EXPECT_EQ(level.script[1].kind, ActionKind::Robot);
    const struct {
        const char* job;
        bool robot;
        const char* dust;
    } dusts[] = {{"hunter", false, "HunterDust"}, {"woodchopper", false, "WoodcutterDust"},
                 {"settler", false, ""},          {"normal", false, ""},
                 {"zombie", false, "ZombieDust"}, {"hunter", true, "RHunterDust"},
                 {"guardian", true, ""}};
    for (const auto& d : dusts)
        EXPECT_EQ(dustOf(d.job, d.robot), d.dust) << d.job;
}

TEST(LevelScript, DefaultsAndNoCheck)
{
    Level level;
    std::string error;
    // Without an element check any name passes; no marks, no sections.
    ASSERT_TRUE(parseLevel("world W\nbackground b\ncell Anything 0 79\n", "W", nullptr, level, error)) << error;
    EXPECT_EQ(level.header.ambient, 3);
    EXPECT_EQ(level.header.seed, 1u);
    EXPECT_EQ(level.header.bound, 0);
    EXPECT_FALSE(level.header.sun);
    EXPECT_FALSE(level.marks());
    EXPECT_FALSE(level.hasScript);
}

TEST(LevelScript, FaultsNameTheirFileAndLine)
{
    const std::string head = "world Day7\nbackground peaceful\n";  // lines 1, 2
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {head + "fill Metl 0 0 1 1\n", "Day7.level:3: unknown element 'Metl'"},
        {head + "places Soil Mud\n", "Day7.level:3: unknown element 'Mud'"},
        {head + "paint Soil 1 1\n", "Day7.level:3: unknown command 'paint'"},
        {head + "script\nfrob 1\nend\n", "Day7.level:4: unknown action 'frob'"},
        {head + "fill Soil 0 0 120 5\n", "Day7.level:3: cell (120, 5) is outside the 120 x 80 world"},
        {head + "disc Water -1 10 4\n", "Day7.level:3: cell (-1, 10) is outside the 120 x 80 world"},
        {head + "cell Soil 1 x\n", "Day7.level:3: expected a number, got 'x'"},
        {head + "cell Soil 1\n", "Day7.level:3: expected: cell ELEMENT X Y"},
        {head + "ambient 6\n", "Day7.level:3: '6' is out of range 1..5"},
        {head + "options sun maybe\n", "Day7.level:3: expected on or off, got 'maybe'"},
        {head + "options moon on\n", "Day7.level:3: unknown option 'moon'"},
        {head + "colony iron 3\n", "Day7.level:3: unknown colony resource 'iron'"},
        {head + "world Day7\n", "Day7.level:3: 'world' given twice"},
        {head + "step 3\nseed 4\n", "Day7.level:4: header line 'seed' after the first build command"},
        {"world Day7\nbackground averyverylong\n",
         "Day7.level:2: background name 'averyverylong' is longer than 11 characters"},
        {head + "legend\nS Soil\nend\nstamp 0 1\nSS\nSS\nSS\nend\n",
         "Day7.level:9: cell (0, -1) is outside the 120 x 80 world"},
        {head + "legend\nS Soil\nend\nstamp 0 10\nSq\nend\n", "Day7.level:7: 'q' is not in the legend"},
        {head + "legend\n. Soil\nend\n", "Day7.level:4: '.' always leaves the cell as it is"},
        {head + "legend\nSoil S\nend\n", "Day7.level:4: expected: CHARACTER ELEMENT | CHARACTER empty"},
        {head + "stamp 0 10\nend\n", "Day7.level:4: a stamp without rows"},
        {head + "stamp 0 10\n\n", "Day7.level:3: stamp without its 'end'"},
        {head + "script\nstep 1\n", "Day7.level:3: script without its 'end'"},
        {head + "script\nscript\n", "Day7.level:4: 'script' inside another section"},
        {head + "script\nend\nscript\n", "Day7.level:5: a second 'script' section"},
        {head + "solved\nfill Soil 0 0 1 1\nend\n", "Day7.level:3: unknown command 'solved'"},
        {head + "end\n", "Day7.level:3: 'end' outside a section"},
        {head + "script\nbuild\nend\n", "Day7.level:4: unknown action 'build'"},
        {head + "script\nzoom sideways\nend\n", "Day7.level:4: expected: zoom in | zoom out"},
        {head + "script\noption Moon on\nend\n", "Day7.level:4: unknown option 'Moon'"},
        {head + "script\ntemperature Warm\nend\n", "Day7.level:4: unknown temperature 'Warm'"},
        {head + "script\nnote 88 43 h 2\nend\n", "Day7.level:4: unknown note 'h' (c cs d ds e f fs g gs a as b)"},
        {head + "script\nnote 88 43 d\nend\n", "Day7.level:4: expected: note X Y NAME OCTAVE"},
        {head + "script\nkey up 5\nend\n", "Day7.level:4: unknown key 'up' (left right space)"},
        {head + "script\nkey 5\nend\n", "Day7.level:4: expected: key left|right|space ... N"},
        {head + "script\nline Metal 1 1 5 5\nend\n", "Day7.level:4: a line runs along a row or a column"},
        {head + "script\ntool Brush\nend\n", "Day7.level:4: unknown tool 'Brush' (Draw Line Fill Replace Miner)"},
        {head + "script\nbrush 10\nend\n", "Day7.level:4: '10' is out of range 1..9"},
        {head + "script\ndrag 1 1\nend\n", "Day7.level:4: expected: drag X0 Y0 X1 Y1 [X Y ...]"},
        {head + "script\nelement Metl\nend\n", "Day7.level:4: unknown element 'Metl'"},
        {head + "script\npicture 0 1\nM\nend\nend\n", "Day7.level:5: 'M' is not in the legend"},
        {head + "script\nlegend\nM Metal\nend\npicture 0 0\nM\nM\nend\nend\n",
         "Day7.level:9: cell (0, -1) is outside the 120 x 80 world"},
        {head + "script\npicture 0 1\nend\nend\n", "Day7.level:5: a picture without rows"},
        {head + "script\npicture 0 1\n", "Day7.level:4: picture without its 'end'"},
        {head + "tune 88 43 h 2\n", "Day7.level:3: unknown note 'h' (c cs d ds e f fs g gs a as b)"},
        {head + "tune 88 43 c 4\n", "Day7.level:3: '4' is out of range 0..3"},
        {head + "script\nplay 88 43 90\nend\n", "Day7.level:4: expected: play X Y [X Y ...]"},
        {head + "script\nplay 88 80\nend\n", "Day7.level:4: cell (88, 80) is outside the 120 x 80 world"},
        {head + "human 10 2 pilot\n",
         "Day7.level:3: unknown job 'pilot' (normal settler hunter woodchopper miner builder zombie spaceman safari)"},
        {head + "robot 10 2 miner\n", "Day7.level:3: unknown role 'miner' (guardian hunter)"},
        {head + "human 10 75 normal\n", "Day7.level:3: cell (11, 80) is outside the 120 x 80 world"},
        {head + "human 119 2 normal\n", "Day7.level:3: cell (120, 7) is outside the 120 x 80 world"},
        {head + "human 10 2 miner up\n", "Day7.level:3: expected left or right, got 'up'"},
        {head + "script\nhuman 10 2 miner left\nend\n", "Day7.level:4: expected: human X Y JOB"},
        {head + "built 0\n", "Day7.level:3: '0' is out of range 1..100000"},
        {head + "table MakeMetalBox a fill\n", "Day7.level:3: expected a table letter A..Z, got 'a'"},
        {head + "table MakeMetalBox A mark Soil\n", "Day7.level:3: expected: table MISSION LETTER mark [ends]"},
        {head + "table MakeMetalBox A paint\n",
         "Day7.level:3: expected fill, empty, mark, guide or frame, got 'paint'"},
        {head + "table MakeMetalBox A guide full\n", "Day7.level:3: expected: table MISSION LETTER guide [empty]"},
        {head + "table MakeMetalBox A frame\n", "Day7.level:3: expected: table MISSION LETTER frame ELEMENT"},
        {head + "table MakeMetalBox A frame Wal\n", "Day7.level:3: unknown element 'Wal'"},
        {head + "guide averyverylong\n", "Day7.level:3: guide name 'averyverylong' is longer than 11 characters"},
        {"background peaceful\n", "Day7.level: no 'world' line"},
        {"world Day7\n", "Day7.level: no 'background' line"},
        {"world Day8\nbackground peaceful\n", "Day7.level: world 'Day8' is not named after its file"},
    };
    for (const auto& c : cases) {
        Level level;
        std::string error;
        EXPECT_FALSE(parseLevel(c.text, "assets/levels/Day7.level", known, level, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}
