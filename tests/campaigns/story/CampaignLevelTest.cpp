// The campaigns' level tests on the story's runner, each level started as
// its selection starts it: its palette offers what the player places, the
// untouched world keeps the cells its script fills from the missions'
// tables, holds its ground and structures still as it starts, lights none of
// its missions' lights and passes no mission in three minutes, and the
// level's script passes every mission within its bound. Where the hint has
// the player rub out what a human walks up to, the human keeps out of the
// eraser's reach.
// TESMORA_PLAY_LEVEL=<mode>_<level> plays one level only.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "base/NSData.h"
#include "campaigns/Campaigns.h"
#include "campaigns/story/StoryPlayer.h"
#include "goals/AchievementManager.h"
#include "goals/GoalsUi.h"
#include "support/TempFolders.h"
#include "world/ParticleCreator.h"

USING_NS_CC;

namespace storyplay {
namespace {

struct LevelOf {
    int mode;
    int level;
};

// Test names and failures say "Day2_8", not the bytes of the struct.
void PrintTo(const LevelOf& l, std::ostream* out)
{
    *out << "Day" << l.mode << "_" << l.level;
}

std::vector<LevelOf> everyCampaignLevel()
{
    std::vector<LevelOf> out;
    for (const Campaign* c : builtCampaigns())
        for (int level = 1; level <= c->levelCount(); ++level)
            out.push_back({c->mode, level});
    return out;
}

class CampaignLevel : public StoryPlayer, public ::testing::WithParamInterface<LevelOf> {
protected:
    void SetUp() override
    {
        StoryPlayer::SetUp();
        const LevelOf l = GetParam();
        const std::string name = std::to_string(l.mode) + "_" + std::to_string(l.level);
        const char* only = std::getenv("TESMORA_PLAY_LEVEL");
        if (only && *only && name != only)
            GTEST_SKIP() << "TESMORA_PLAY_LEVEL picks another level";
        const std::string missing = missingDay(l.level, l.mode);
        ASSERT_TRUE(missing.empty()) << missing;
    }

    std::string worldName() const { return dayWorld(GetParam().level, GetParam().mode); }
};

struct KeptCell {
    int x, y;
    uint32_t type;
};

// The cells the level's build fills from a mission's table: the puzzle's
// given parts, which the world must not lose by itself. A cell a later
// command takes away again is left out by the caller. Virus thins itself out
// by its own rule, so its cells are given but never kept.
std::vector<KeptCell> keptCells(const levelscript::Level& level)
{
    std::vector<KeptCell> out;
    for (const levelscript::Command& c : level.build)
        if (c.kind == levelscript::CommandKind::Table && c.mode == levelscript::TableMode::Fill)
            if (MissionPattern table = missionTable(c.mission.c_str(), c.letter))
                for (MissionPattern r = table; (r->end & 0xff) == 0; ++r) {
                    const uint32_t type = c.element.empty() ? r->type : hashString(c.element.c_str());
                    if (type != hashString("Virus"))
                        out.push_back({r->x, r->y, type});
                }
    return out;
}

TEST_P(CampaignLevel, ItsUntouchedWorldWinsNothingAndKeepsItsCells)
{
    const LevelOf l = GetParam();
    startCampaignLevel(l.mode, l.level);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(loadedWorld(), worldName());
    levelscript::Level level;
    std::string error;
    ASSERT_TRUE(levelscript::readLevel(levelPath(l.level, l.mode), nullptr, level, error)) << error;

    // The palette the level's settings give offers what the player places.
    const std::vector<std::string> palette = layer->getGUI()->paletteNames();
    for (const std::string& e : level.header.places)
        EXPECT_TRUE(std::find(palette.begin(), palette.end(), e) != palette.end())
            << worldName() << ": the palette does not offer " << e << ", which the player places";

    auto holds = [&](const KeptCell& k) {
        Particle* p = world->at(k.x, k.y);
        return p && p->getType() == k.type;
    };
    std::vector<KeptCell> kept;
    for (const KeptCell& k : keptCells(level))
        if (holds(k))
            kept.push_back(k);
    leaveUntouched(300);
    ASSERT_FALSE(HasFatalFailure());
    for (const KeptCell& k : kept)
        EXPECT_TRUE(holds(k)) << worldName() << ": the given cell (" << k.x << ", " << k.y << ") lost its "
                              << ParticleCreator::getName(k.type);
    leaveUntouched(kUntouchedSteps - 300);
}

// Played from the level's start, through the player's controls only.
TEST_P(CampaignLevel, IsWonByItsScript)
{
    const LevelOf l = GetParam();
    levelscript::Level level;
    std::string error;
    ASSERT_TRUE(levelscript::readLevel(levelPath(l.level, l.mode), nullptr, level, error)) << error;
    ASSERT_TRUE(level.hasScript) << worldName() << " has no script";
    startCampaignLevel(l.mode, l.level);
    ASSERT_FALSE(HasFatalFailure());
    int steps = 0;
    playDay(l.level, steps);
    std::printf("%s played: %d steps\n", worldName().c_str(), steps);
}

// The cells the level's own solution rubs out: its script's erase actions,
// and its touches and drags with the eraser chosen, each with its brush
// (size N takes the cells nearer than N to the touch).
std::set<std::pair<int, int>> eraserReach(const levelscript::Level& level)
{
    using levelscript::ActionKind;
    std::set<std::pair<int, int>> out;
    auto rub = [&](int x, int y, int size) {
        for (int dx = -size; dx <= size; ++dx)
            for (int dy = -size; dy <= size; ++dy)
                if (dx * dx + dy * dy < size * size)
                    out.insert({x + dx, y + dy});
    };
    bool eraser = false;
    int brush = 1;
    for (const levelscript::Action& a : level.script)
        switch (a.kind) {
        case ActionKind::Erase:
        case ActionKind::Tap:
            eraser = true;
            brush = a.kind == ActionKind::Erase ? a.radius + 1 : 1;
            rub(a.at[0], a.at[1], brush);
            break;
        case ActionKind::Eraser: eraser = true; break;
        case ActionKind::Brush: brush = a.count; break;
        case ActionKind::Touch:
            if (eraser)
                rub(a.at[0], a.at[1], brush);
            break;
        case ActionKind::Drag:
            for (size_t i = 2; eraser && i + 1 < a.at.size(); i += 2) {
                const int x0 = a.at[i - 2], y0 = a.at[i - 1], x1 = a.at[i], y1 = a.at[i + 1];
                const int n = std::max({std::abs(x1 - x0), std::abs(y1 - y0), 1});
                for (int k = 0; k <= n; ++k)
                    rub(x0 + (x1 - x0) * k / n, y0 + (y1 - y0) * k / n, brush);
            }
            break;
        case ActionKind::Paint:
        case ActionKind::Stroke:
        case ActionKind::Line:
        case ActionKind::Rect:
        case ActionKind::Picture:
        case ActionKind::Element:
        case ActionKind::Miner:
        case ActionKind::Fill:
        case ActionKind::Replace: eraser = false; break;
        default: break;
        }
    return out;
}

// Levels whose hint has the player rub out what a human walks up to: left
// alone, the human never comes within reach of the eraser strokes of the
// level's own solution, so rubbing out as the hint says cannot take the
// human too and leave the level unwinnable. (Humans 8, 10, 11 and 14 have
// such hints too, and their humans still walk up to what is rubbed out.)
const LevelOf kRoomToRubOut[] = {{5, 1}};

class RoomToRubOut : public CampaignLevel { };

TEST_P(RoomToRubOut, NoHumanComesWithinTheEraserStrokesOfTheSolution)
{
    const LevelOf l = GetParam();
    levelscript::Level level;
    std::string error;
    ASSERT_TRUE(levelscript::readLevel(levelPath(l.level, l.mode), nullptr, level, error)) << error;
    const std::set<std::pair<int, int>> rubbed = eraserReach(level);
    ASSERT_FALSE(rubbed.empty()) << worldName() << "'s script rubs nothing out";
    startCampaignLevel(l.mode, l.level);
    ASSERT_FALSE(HasFatalFailure());
    const std::set<uint32_t> human = {hashString("HumanLeader"), hashString("HumanPart")};
    for (int step = 1; step <= kUntouchedSteps; ++step) {
        run(1);
        for (const auto& [x, y] : rubbed) {
            const Particle* p = world->at(x, y);
            ASSERT_FALSE(p && human.count(p->getType()))
                << worldName() << ": untouched, a human stands at (" << x << ", " << y << ") at step " << step
                << ", where the solution rubs out";
        }
    }
}

std::string levelName(const ::testing::TestParamInfo<LevelOf>& info)
{
    return "Day" + std::to_string(info.param.mode) + "_" + std::to_string(info.param.level);
}
INSTANTIATE_TEST_SUITE_P(Campaigns, CampaignLevel, ::testing::ValuesIn(everyCampaignLevel()), levelName);
INSTANTIATE_TEST_SUITE_P(Campaigns, RoomToRubOut, ::testing::ValuesIn(kRoomToRubOut), levelName);

}  // namespace
}  // namespace storyplay
