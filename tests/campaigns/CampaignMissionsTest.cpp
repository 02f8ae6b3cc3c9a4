// The device campaigns' missions whose tests do more than one pattern test:
// the melodies and the two run-long counters of Music, the one-cell and any-
// link tests of Contraptions and lasers and pipes, UserMade's own cell read;
// then every mission's texts at the sizes the top bar and goals window draw.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "base/LocalUtils.h"
#include "base/ScreenMetrics.h"
#include "campaigns/Campaigns.h"
#include "campaigns/music/MusicCampaign.h"
#include "campaigns/robot/RobotCampaign.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/HumanRegistry.h"
#include "elements/materials/Instruments.h"
#include "elements/materials/Leds.h"
#include "elements/materials/Wiring.h"
#include "goals/AchievementManager.h"
#include "goals/GoalFunctions.h"
#include "goals/GoalsTesting.h"
#include "gui/GUILabel.h"
#include "hud/GUIAchievement.h"
#include "hud/GUITopBar.h"
#include "platform/GameClock.h"
#include "profile/Profile.h"
#include "support/GameSceneFixture.h"
#include "support/Readability.h"

USING_NS_CC;

namespace {

constexpr uint32_t kMetal = hashString("Metal");
constexpr uint32_t kNote = hashString("Note");

class CampaignMissions : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene(false);
        world->reset();
        Note::resetLastPlayed();
    }
    void TearDown() override
    {
        Note::resetLastPlayed();
        musicPoweredLatch() = 0;
        musicHoldCount() = 0;
        robotLv12aInitialCount() = 0;
        AchievementManager::resetInstanceForTests();
        GameScene::TearDown();
    }

    static bool passes(int mode, const char* mission)
    {
        const CampaignMissionRow* row = campaignOfMode(mode)->mission(mission);
        EXPECT_NE(row, nullptr) << mission;
        return row && row->test();
    }
    Particle* put(int x, int y, const char* element)
    {
        world->removeParticle(x, y);
        Particle* p = world->addParticle(x, y, hashString(element), true);
        EXPECT_NE(p, nullptr) << element;
        return p;
    }
    void power(int x, int y) { world->electricityGrid.setCell(x, y, ElectricityGrid::kTail); }
    static void play(const NoteRecord* melody)
    {
        for (int i = 0; i < melodyLength(melody); ++i)
            Note::record(melody[i].note, melody[i].octave);
    }
    static const NoteRecord* melodyOf(const char* name)
    {
        for (const CampaignMelody& m : campaignOfMode(1)->melodies)
            if (std::string(m.name) == name)
                return m.notes;
        return nullptr;
    }
    static MissionPattern table(int mode, const char* name)
    {
        for (const CampaignTable& t : campaignOfMode(mode)->tables)
            if (std::string(t.name) == name)
                return t.records;
        return nullptr;
    }
    void fill(MissionPattern t)
    {
        for (; !(t->end & 0xff); ++t)
            world->addParticle(t->x, t->y, t->type, true);
    }
    // A human with its body built and listed; its body covers x..x+1, y..y+5.
    HumanLeader* human(int x, int y, const char* job = "normal")
    {
        auto* h = dynamic_cast<HumanLeader*>(put(x, y, "HumanLeader"));
        EXPECT_NE(h, nullptr);
        if (!h)
            return nullptr;
        h->update();
        EXPECT_TRUE(h->registered);
        if (std::string(job) != "normal")
            h->setJob(job);
        return h;
    }
    void removeHuman(HumanLeader* h) { world->removeParticle(h->x, h->y); }
};

TEST_F(CampaignMissions, MelodyBIsAAndAHighCAndAWrongNoteUndoesIt)
{
    fill(table(1, "M3"));
    play(melodyOf("A"));
    EXPECT_TRUE(passes(1, "Music_NoteCheckLv2"));
    EXPECT_FALSE(passes(1, "Music_Lv3")) << "A alone";
    Note::record(0, 1);
    EXPECT_TRUE(passes(1, "Music_Lv3")) << "A and c1";
    EXPECT_FALSE(passes(1, "Music_NoteCheckLv2")) << "A is no longer the last played";

    world->removeParticle(84, 38);
    EXPECT_FALSE(passes(1, "Music_Lv3")) << "melody B without its Notes in place";
    world->reset();
    fill(table(1, "M3"));
    EXPECT_TRUE(passes(1, "Music_Lv3")) << "what was played outlives the world";

    Note::record(2, 1);
    EXPECT_FALSE(passes(1, "Music_Lv3")) << "a wrong note after it";
    play(melodyOf("B"));
    EXPECT_TRUE(passes(1, "Music_Lv3"));

    for (const auto& [mission, melody] : {std::pair{"Music_Lv5", "C"}, std::pair{"Music_NoteCheckLv6", "D"},
                                          std::pair{"Music_NoteCheckLv9", "E"}, std::pair{"Music_Lv10", "F"}}) {
        EXPECT_FALSE(passes(1, mission)) << mission;
        play(melodyOf(melody));
        EXPECT_TRUE(passes(1, mission)) << mission;
    }
}

TEST_F(CampaignMissions, Level8PassesOnThe322ndCountedTestAcrossBreaks)
{
    musicHoldCount() = 0;
    fill(table(1, "M8"));
    for (int call = 1; call <= 200; ++call)
        ASSERT_FALSE(passes(1, "Music_Lv8")) << call;
    world->removeParticle(21, 43);
    for (int call = 0; call < 50; ++call)
        ASSERT_FALSE(passes(1, "Music_Lv8"));
    EXPECT_EQ(musicHoldCount(), 200) << "a broken pattern keeps the count";
    put(21, 43, "Metal");
    for (int call = 201; call <= 321; ++call)
        ASSERT_FALSE(passes(1, "Music_Lv8")) << call;
    EXPECT_TRUE(passes(1, "Music_Lv8")) << "the 322nd";

    rewardMission(*campaignOfMode(1)->mission("Music_Lv8"));
    EXPECT_EQ(musicHoldCount(), 0) << "its reward clears the count";
}

TEST_F(CampaignMissions, Level7RemembersCurrentSeenOnceInTheRun)
{
    musicPoweredLatch() = 0;
    fill(table(1, "M7"));
    put(30, 28, "Metal");
    EXPECT_FALSE(passes(1, "Music_Lv7")) << "no current seen yet";
    power(31, 29);
    EXPECT_TRUE(passes(1, "Music_Lv7"));

    world->reset();  // another attempt at the level
    fill(table(1, "M7"));
    EXPECT_TRUE(passes(1, "Music_Lv7")) << "the latch from the earlier attempt";
    world->removeParticle(29, 42);
    EXPECT_FALSE(passes(1, "Music_Lv7")) << "the metal must still be in place";
}

TEST_F(CampaignMissions, LaserExtinctionNeedsOneCellOfItsKind)
{
    const char* mission = "Contra_LaserExctinction";
    EXPECT_FALSE(passes(7, mission));
    put(63, 59, "Bright");
    EXPECT_TRUE(passes(7, mission)) << "one Bright on a Bright cell";
    world->reset();
    put(72, 59, "LaserBeam");
    EXPECT_TRUE(passes(7, mission)) << "one beam on a beam cell";
    world->reset();
    put(53, 59, "Bright");
    put(63, 59, "LaserBeam");
    put(63, 60, "Bright");
    EXPECT_FALSE(passes(7, mission)) << "kinds swapped, or off the row";
}

TEST_F(CampaignMissions, TheDrainWantsItsOutletAndAnythingInItsArea)
{
    put(89, 49, "PipeOut");
    EXPECT_FALSE(passes(7, "Contra_Drain")) << "an empty area";
    put(98, 40, "Sand");
    EXPECT_TRUE(passes(7, "Contra_Drain")) << "any particle in the area";
    world->removeParticle(89, 49);
    EXPECT_FALSE(passes(7, "Contra_Drain")) << "no outlet";

    put(43, 12, "Water");
    put(100, 14, "PipeIn");
    EXPECT_FALSE(passes(7, "Contra_FixTheSystem")) << "one row still empty";
    put(73, 12, "Stone");
    EXPECT_TRUE(passes(7, "Contra_FixTheSystem"));
}

TEST_F(CampaignMissions, TheBombIsFixedByAnyOneOfItsLinks)
{
    for (const char* link : {"A", "B", "C"}) {
        SCOPED_TRACE(link);
        world->reset();
        fill(table(2, (std::string("BombLink") + link).c_str()));
        EXPECT_FALSE(passes(2, "Contra_FixBomb")) << "no current";
        const MissionPatternRecord& powered = *table(2, (std::string("BombPower") + link).c_str());
        power(powered.x + 1, powered.y);
        EXPECT_TRUE(passes(2, "Contra_FixBomb"));
    }
}

TEST_F(CampaignMissions, NoneMatchTestsPassOnceTheirKindsAreGone)
{
    fill(table(7, "ColorCode"));
    EXPECT_FALSE(passes(7, "Contra_ColorCode"));
    world->reset();
    put(21, 38, "Sand");
    put(18, 43, "Metal");
    EXPECT_TRUE(passes(7, "Contra_ColorCode")) << "other kinds and empty cells";
    put(24, 43, "Tnt");
    EXPECT_FALSE(passes(7, "Contra_ColorCode")) << "a single TNT left";

    put(13, 36, "Glass");
    fill(table(2, "ShipWires"));
    fill(table(2, "ShipTnt"));
    put(84, 34, "Metal");
    power(85, 35);
    EXPECT_FALSE(passes(2, "Contra_PirateShip")) << "the glass is still there";
    world->removeParticle(13, 36);
    EXPECT_TRUE(passes(2, "Contra_PirateShip"));
}

// An outline wants every line cell in Obsidian and no Obsidian beside it;
// another element beside a line does not matter.
TEST_F(CampaignMissions, PixelArtSquaresFailOnObsidianBesideALineOnly)
{
    fill(table(4, "SquaresRequired"));
    EXPECT_TRUE(passes(4, "Pix_Squares"));
    put(87, 16, "Obsidian");
    EXPECT_FALSE(passes(4, "Pix_Squares"));
    put(87, 16, "Diamond");
    EXPECT_TRUE(passes(4, "Pix_Squares"));
    put(79, 17, "Diamond");
    EXPECT_FALSE(passes(4, "Pix_Squares")) << "a line cell in another gem";
    world->removeParticle(79, 17);
    EXPECT_FALSE(passes(4, "Pix_Squares")) << "an empty line cell";
    EXPECT_EQ(campaignOfMode(4)->mission("Pix_Squares")->delay, 2);
}

// Every outline: its lines in Obsidian pass; Obsidian on a cell beside them
// fails, another gem there does not.
TEST_F(CampaignMissions, PixelArtOutlinesFailOnObsidianBesideTheirLines)
{
    const char* const outlines[][3] = {{"Pix_Squares", "SquaresRequired", "SquaresForbidden"},
                                       {"Pix_Lines", "LinesRequired", "LinesForbidden"},
                                       {"Pix_Curves", "CurvesRequired", "CurvesForbidden"},
                                       {"Pix_Geometry", "GeometryRequired", "GeometryForbidden"},
                                       {"Pix_Outlines", "OutlinesRequired", "OutlinesForbidden"}};
    for (const auto& [mission, required, forbidden] : outlines) {
        SCOPED_TRACE(mission);
        world->reset();
        fill(table(4, required));
        EXPECT_TRUE(passes(4, mission));
        const MissionPatternRecord* last = table(4, forbidden);
        while (!(last[1].end & 0xff))
            ++last;
        put(last->x, last->y, "Obsidian");
        EXPECT_FALSE(passes(4, mission));
        put(last->x, last->y, "Diamond");
        EXPECT_TRUE(passes(4, mission));
    }
}

// Level 7 passes on the very world that passes level 6, whose black cells
// are level 5's lines; one cell in the wrong gem fails both.
TEST_F(CampaignMissions, PixelArtDrawingPassesOnTheColouredPicturesWorld)
{
    fill(table(4, "Coloring"));
    EXPECT_TRUE(passes(4, "Pix_Coloring"));
    EXPECT_TRUE(passes(4, "Pix_Drawing"));
    EXPECT_TRUE(patternAllMatch(table(4, "OutlinesRequired")));
    put(80, 26, "Diamond");
    EXPECT_FALSE(passes(4, "Pix_Coloring"));
    EXPECT_FALSE(passes(4, "Pix_Drawing"));
}

// A painting passes with its share of cells and not with one fewer; the
// cells it misses may be empty or in a wrong element alike.
TEST_F(CampaignMissions, PixelArtPaintingsPassAtTheirShareOfCells)
{
    const struct {
        const char* mission;
        const char* table;
        int need;
    } paintings[] = {
        {"Pix_PaintEasy", "PaintEasy", 1304}, {"Pix_Font", "Font", 282}, {"Pix_PaintHard", "PaintHard", 4352}};
    for (const auto& p : paintings) {
        SCOPED_TRACE(p.mission);
        world->reset();
        MissionPattern t = table(4, p.table);
        int n = 0;
        for (; !(t[n].end & 0xff); ++n)
            if (n < p.need)
                world->addParticle(t[n].x, t[n].y, t[n].type, true);
        // The rest hold something else (every other cell) or nothing.
        for (int i = p.need; i < n; i += 2)
            put(t[i].x, t[i].y, t[i].type == hashString("Glass") ? "Wall" : "Glass");
        EXPECT_TRUE(passes(4, p.mission)) << p.need << " of " << n;
        world->removeParticle(t[0].x, t[0].y);
        EXPECT_FALSE(passes(4, p.mission)) << p.need - 1 << " of " << n;
    }
}

// The hunter must stay whole; its prey must be gone, or the way to it
// blocked by three posts of one material, or the pit under them lava.
TEST_F(CampaignMissions, DinosaursHunterHuntedWantsTheHunterAndOneWayOfStoppingIt)
{
    fill(table(3, "Hunter"));
    fill(table(3, "HunterPrey"));
    put(63, 20, "Glass");
    put(63, 26, "Metal");
    put(63, 31, "Glass");
    EXPECT_FALSE(passes(3, "Dino_HunterHunted")) << "prey whole, posts mixed";
    for (MissionPattern t = table(3, "HunterPrey"); !(t->end & 0xff); ++t)
        if (t->x != 95 || t->y != 17)
            world->removeParticle(t->x, t->y);
    EXPECT_FALSE(passes(3, "Dino_HunterHunted")) << "one leaf of the prey left";
    world->removeParticle(95, 17);
    EXPECT_TRUE(passes(3, "Dino_HunterHunted"));

    fill(table(3, "HunterPrey"));
    for (int y : {20, 26, 31})
        put(63, y, "Wax");
    EXPECT_TRUE(passes(3, "Dino_HunterHunted")) << "all posts Wax";
    for (int y : {20, 26, 31})
        world->removeParticle(63, y);
    put(63, 5, "Lava");
    EXPECT_TRUE(passes(3, "Dino_HunterHunted")) << "the lava pit";
    world->removeParticle(40, 12);
    EXPECT_FALSE(passes(3, "Dino_HunterHunted")) << "the hunter broken";
}

// The three drawn lists: the cave wants 5 of its pools watered and every acid
// cell full; the herd and the virus field must be gone to the last cell.
TEST_F(CampaignMissions, DinosaursDrawnListsCountToTheirLastCell)
{
    fill(table(3, "CaveAcid"));
    MissionPattern water = table(3, "CaveWater");
    for (int i = 0; i < 4; ++i)
        put(water[i].x, water[i].y, "Water");
    EXPECT_FALSE(passes(3, "Dino_Cave")) << "4 water";
    put(water[4].x, water[4].y, "Water");
    EXPECT_TRUE(passes(3, "Dino_Cave")) << "5 water";
    put(50, 65, "Wall");
    EXPECT_FALSE(passes(3, "Dino_Cave")) << "one acid cell walled";

    const struct {
        const char* mission;
        const char* table;
        const char* element;
        int x, y;  // its last cell left standing
    } gone[] = {{"Dino_DeathByTNT", "HerdOfThree", "TreeLeaf", 100, 22},
                {"Dino_VirusVsAcid", "VirusField", "Virus", 4, 17}};
    fill(table(3, "Survivors"));
    for (const auto& g : gone) {
        SCOPED_TRACE(g.mission);
        put(g.x, g.y, g.element);
        EXPECT_FALSE(passes(3, g.mission));
        world->removeParticle(g.x, g.y);
        EXPECT_TRUE(passes(3, g.mission));
    }
    put(54, 27, "TreeLeaf");
    EXPECT_FALSE(passes(3, "Dino_VirusVsAcid")) << "the infected one still standing";
}

TEST_F(CampaignMissions, DinosaursHumansSensorsAndTheMachine)
{
    EXPECT_FALSE(passes(3, "Dino_Infiltrate"));
    put(107, 32, "HumanPart");
    EXPECT_TRUE(passes(3, "Dino_Infiltrate")) << "a single body cell";

    put(55, 8, "HotSensor");
    put(61, 8, "HotSensor");
    power(56, 9);
    EXPECT_FALSE(passes(3, "Dino_TurnOnTimeMachine")) << "one socket without current";
    power(60, 7);
    EXPECT_TRUE(passes(3, "Dino_TurnOnTimeMachine"));

    put(103, 7, "VeryHotSensor");
    EXPECT_FALSE(passes(3, "Dino_FixTimeMachine")) << "unpowered";
    power(104, 8);
    EXPECT_TRUE(passes(3, "Dino_FixTimeMachine")) << "one powered core cell";

    const Campaign& dinos = *campaignOfMode(3);
    for (const CampaignMissionRow& m : dinos.missions)
        EXPECT_EQ(m.delay, std::string(m.className) == "Dino_Oilsaurs" ? 15 : 1) << m.className;
}

// Level 1 wants a leader cell and a body cell in its zone; the other zones
// any cell of a human.
TEST_F(CampaignMissions, HumanZonesWantTheirHumanCells)
{
    put(103, 20, "HumanLeader");
    EXPECT_FALSE(passes(5, "Human_Level1")) << "the leader alone";
    world->removeParticle(103, 20);
    put(108, 22, "HumanPart");
    EXPECT_FALSE(passes(5, "Human_Level1")) << "body cells alone";
    put(110, 28, "HumanLeader");
    EXPECT_TRUE(passes(5, "Human_Level1"));

    EXPECT_FALSE(passes(5, "Human_Level3"));
    put(95, 5, "HumanPart");
    EXPECT_TRUE(passes(5, "Human_Level3")) << "one body cell";
    EXPECT_FALSE(passes(5, "Human_Level10"));
    put(117, 56, "HumanLeader");
    EXPECT_TRUE(passes(5, "Human_Level10")) << "one leader cell on a lookout";

    put(40, 25, "Water");
    EXPECT_FALSE(passes(5, "Human_GotWaterLevel2")) << "one water cell";
    put(41, 25, "Water");
    EXPECT_TRUE(passes(5, "Human_GotWaterLevel2"));

    EXPECT_FALSE(passes(5, "Human_Level13"));
    put(84, 10, "Metal");
    EXPECT_TRUE(passes(5, "Human_Level13")) << "the Metal without fire";
    world->removeParticle(84, 10);
    put(3, 30, "Fire");
    EXPECT_TRUE(passes(5, "Human_Level13")) << "one fire cell in the cave";

    EXPECT_TRUE(passes(5, "Human_NoC4Level14"));
    put(113, 65, "C4");
    EXPECT_FALSE(passes(5, "Human_NoC4Level14"));
    put(113, 65, "Stone");
    EXPECT_TRUE(passes(5, "Human_NoC4Level14")) << "another element passes";
}

// The colony's gathering sets level 2's and level 4's flags on their own
// day of the campaign only; the store is read before the gathered unit.
TEST_F(CampaignMissions, HumanFlagsComeFromTheColonyOnTheirDay)
{
    Profile* profile = Profile::getInstance();
    profile->setFoodGathered(false);
    profile->setStockpileGathered(false);
    HumanLeader::replaceResources();
    profile->setGameMode(1);
    profile->setDay(2);
    HumanLeader::gatherResource("Food");
    EXPECT_FALSE(passes(5, "Human_Level2")) << "day 2 of another mode";
    profile->setGameMode(5);
    profile->setDay(3);
    HumanLeader::gatherResource("Food");
    EXPECT_FALSE(passes(5, "Human_Level2")) << "day 3";
    profile->setDay(2);
    HumanLeader::gatherResource("Wood");
    EXPECT_FALSE(passes(5, "Human_Level2")) << "wood is not food";
    HumanLeader::gatherResource("Food");
    EXPECT_TRUE(passes(5, "Human_Level2"));

    profile->setDay(4);
    HumanLeader::replaceResources();
    HumanLeader::addResource("Stone", 5);
    HumanLeader::addResource("Wood", 7);
    HumanLeader::gatherResource("Wood");
    EXPECT_EQ(HumanLeader::getResource("Wood"), 8);
    EXPECT_FALSE(passes(5, "Human_ResourceCollectLevel4")) << "the store was read before the unit";
    HumanLeader::gatherResource("Stone");
    EXPECT_TRUE(passes(5, "Human_ResourceCollectLevel4"));

    // A flag left from an earlier play is cleared when its level begins.
    profile->setBestDay(5, 16);
    profile->setDay(2);
    AchievementManager::getInstance()->startDay(2);
    EXPECT_FALSE(passes(5, "Human_Level2"));
    profile->setStructureBuilt(true);
    profile->setDay(4);
    AchievementManager::getInstance()->startDay(4);
    EXPECT_FALSE(passes(5, "Human_Level4"));
    EXPECT_FALSE(passes(5, "Human_ResourceCollectLevel4"));
    HumanLeader::replaceResources();
    profile->setGameMode(0);
}

TEST_F(CampaignMissions, HumanCountsTheRegistryAndABrightMadeInTheRun)
{
    HumanRegistry* registry = HumanRegistry::getInstance();
    registry->clear();
    Particle* first = put(10, 10, "Stone");
    Particle* second = put(12, 10, "Stone");
    registry->add(first);
    EXPECT_FALSE(passes(5, "Human_Level15")) << "one human";
    registry->add(second);
    EXPECT_TRUE(passes(5, "Human_Level15"));
    registry->clear();

    CCString* bright = CCString::create("Bright");
    resetElementCreated(bright);
    EXPECT_FALSE(passes(5, "Human_Level9"));
    put(30, 30, "Bright");
    EXPECT_TRUE(passes(5, "Human_Level9")) << "made earlier in the run";
    resetElementCreated(bright);
}

TEST_F(CampaignMissions, UserMadeReadsItsOwnCellAndAnyLitLed)
{
    EXPECT_FALSE(passes(6, "UserMade_Level4"));
    put(20, 5, "Water");
    EXPECT_TRUE(passes(6, "UserMade_Level4")) << "any kind";

    fill(table(6, "LedMetal"));
    auto* red = dynamic_cast<Led*>(put(51, 51, "LedRed"));
    auto* yellow = dynamic_cast<Led*>(put(63, 51, "LedYellow"));
    ASSERT_TRUE(red && yellow);
    red->glow = 4;
    yellow->glow = 0;
    EXPECT_FALSE(passes(6, "UserMade_LedLevel5")) << "an unlit LED";
    yellow->glow = 1;
    EXPECT_TRUE(passes(6, "UserMade_LedLevel5")) << "lit LEDs of any colour";
    world->removeParticle(2, 1);
    EXPECT_FALSE(passes(6, "UserMade_LedLevel5")) << "the metal ring open";

    world->reset();
    put(60, 40, "Wax");
    put(58, 41, "LedRed");
    EXPECT_TRUE(passes(6, "UserMade_NoPixelLevel6")) << "other kinds on the block";
    put(59, 43, "Tnt");
    EXPECT_FALSE(passes(6, "UserMade_NoPixelLevel6")) << "TNT by its type name";

    world->reset();
    put(40, 42, "Wax");
    EXPECT_TRUE(passes(6, "UserMade_Level3")) << "one Wax and no Mud";
    world->reset();
    put(40, 42, "Sand");
    put(29, 40, "Glass");
    EXPECT_FALSE(passes(6, "UserMade_Level3"));
    EXPECT_TRUE(passes(6, "UserMade_NoGlassLevel3")) << "glass at an odd x";
}

// "Done: <name>" fits the top bar's notice, and the name and the briefing
// their room in the goals window, in every language.
TEST_F(CampaignMissions, TheTextsFitTheBarsNoticeAndTheGoalsWindow)
{
    GUITopBar::getInstance()->buildCampaignBar();
    GUILabel* notice = GUITopBar::getInstance()->getNotificationLabel();
    ASSERT_NE(notice, nullptr);
    for (const char* code : testsupport::kLanguages) {
        testsupport::LanguageTable language(code);
        for (const Campaign* c : builtCampaigns())
            for (const CampaignMissionRow& row : c->missions) {
                CampaignMission mission(row);
                GUILabel::setFontName("guitopbar_ach_fontButtons");
                notice->setText(LocalUtils::localizeCCStringWithVar(CCString::create("AnouncementMissionGeneric"),
                                                                    mission.getName()));
                EXPECT_LE(notice->getWidth() * notice->getScale(), 140.0f)
                    << code << " " << mission.getName()->getString();
                EXPECT_TRUE(GUIAchievement::goalFits(mission.getName(), mission.getBriefing()))
                    << code << " " << row.className << " " << mission.getBriefing()->getString();
            }
    }
}

}  // namespace

namespace {

TEST_F(CampaignMissions, ZombieFreeNeedsSomeoneListedAndTheEmptyWorldNeedsEveryoneGone)
{
    HumanRegistry& r = *HumanRegistry::getInstance();
    r.clear();
    for (const char* m : {"ZombieLv4", "ZombieLv9", "Zombie_CountLv15", "ZombieLv17", "ZombieLv18"})
        EXPECT_FALSE(passes(8, m)) << m << ": no human listed yet";
    EXPECT_FALSE(passes(8, "ZombieLv20")) << "no human ever";

    HumanLeader* a = human(30, 40);
    HumanLeader* b = human(60, 40);
    EXPECT_TRUE(passes(8, "ZombieLv4"));
    EXPECT_FALSE(passes(8, "ZombieLv20")) << "two living";
    b->setJob("zombie");
    EXPECT_FALSE(passes(8, "ZombieLv4"));
    EXPECT_FALSE(passes(8, "ZombieLv12")) << "a zombie and one living";
    removeHuman(b);
    EXPECT_TRUE(passes(8, "ZombieLv4"));
    EXPECT_FALSE(passes(8, "ZombieLv20")) << "one living";
    removeHuman(a);
    EXPECT_TRUE(passes(8, "ZombieLv4")) << "every human gone";
    EXPECT_TRUE(passes(8, "ZombieLv20"));
    r.clear();
    EXPECT_FALSE(passes(8, "ZombieLv20")) << "a loaded world starts over";
}

TEST_F(CampaignMissions, ZombieBridgePassesWithFortySevenWoodLeftAndALivingHuman)
{
    HumanRegistry::getInstance()->clear();
    fill(table(8, "T11"));
    HumanLeader* h = human(30, 40);
    MissionPattern t = table(8, "T11");
    for (int i = 0; i < 13; ++i)
        world->removeParticle(t[i].x, t[i].y);
    EXPECT_FALSE(passes(8, "ZombieLv11")) << "48 left";
    world->removeParticle(t[13].x, t[13].y);
    EXPECT_TRUE(passes(8, "ZombieLv11")) << "47 left";
    removeHuman(h);
    EXPECT_FALSE(passes(8, "ZombieLv11")) << "no one living";
}

TEST_F(CampaignMissions, ZombieJobTestsReadTheHumanInTheirCells)
{
    HumanRegistry::getInstance()->clear();
    // The shelter: wax or lava, and a normal human inside.
    human(113, 12);
    EXPECT_FALSE(passes(8, "ZombieLv10")) << "neither material";
    fill(table(8, "T10a"));
    EXPECT_TRUE(passes(8, "ZombieLv10")) << "the wax column";
    world->reset();
    HumanRegistry::getInstance()->clear();
    fill(table(8, "T10b"));
    HumanLeader* sheltered = human(113, 12);
    EXPECT_TRUE(passes(8, "ZombieLv10")) << "the lava row";
    sheltered->setJob("miner");
    EXPECT_FALSE(passes(8, "ZombieLv10")) << "only a normal human counts";

    // The mine: a miner at the mark and no TNT left.
    world->reset();
    HumanRegistry::getInstance()->clear();
    human(42, 21, "miner");
    fill(table(8, "T6b"));
    world->removeParticle(59, 33);
    world->removeParticle(59, 34);
    world->removeParticle(60, 32);
    world->removeParticle(60, 33);
    world->removeParticle(60, 34);
    world->removeParticle(61, 32);
    EXPECT_FALSE(passes(8, "ZombieLv6")) << "one TNT left";
    world->removeParticle(61, 33);
    EXPECT_TRUE(passes(8, "ZombieLv6"));

    // The pit: a zombie inside and someone living anywhere.
    world->reset();
    HumanRegistry::getInstance()->clear();
    human(50, 11, "zombie");
    EXPECT_FALSE(passes(8, "ZombieLv3")) << "a zombie alone";
    human(20, 50);
    EXPECT_TRUE(passes(8, "ZombieLv3"));
}

TEST_F(CampaignMissions, ZombieMetalCellsWantCurrentOrNothing)
{
    put(97, 14, "Metal");
    EXPECT_FALSE(passes(8, "ZombieMetalLv8")) << "no current";
    power(98, 14);
    EXPECT_TRUE(passes(8, "ZombieMetalLv8"));

    EXPECT_TRUE(passes(8, "ZombieMetalLv18")) << "an empty cell";
    put(70, 62, "Metal");
    EXPECT_FALSE(passes(8, "ZombieMetalLv18"));
    put(70, 62, "Sand");
    EXPECT_TRUE(passes(8, "ZombieMetalLv18"));
}

}  // namespace

namespace {

TEST_F(CampaignMissions, RobotAcidNeedsTenOfItsCells)
{
    MissionPattern acid = table(9, "T3");
    for (int i = 0; i < 9; ++i)
        put(acid[i].x, acid[i].y, "Acid");
    put(31, 7, "Acid");
    put(88, 8, "Acid");
    EXPECT_FALSE(passes(9, "RobotLv3")) << "9 of its cells, acid elsewhere does not count";
    put(acid[104].x, acid[104].y, "Acid");
    EXPECT_TRUE(passes(9, "RobotLv3")) << "10";
}

TEST_F(CampaignMissions, RobotTeamworkWantsBothLeadersAndCurrentInOneCheck)
{
    put(25, 54, "HumanLeader");
    put(45, 51, "RobotLeader");
    put(43, 50, "Metal");
    EXPECT_FALSE(passes(9, "RobotLv5")) << "unpowered metal";
    power(44, 50);
    EXPECT_TRUE(passes(9, "RobotLv5"));
    put(45, 51, "RobotPart");
    EXPECT_FALSE(passes(9, "RobotLv5")) << "a robot's body cell is not its leader";
    put(62, 46, "RobotLeader");
    put(25, 54, "RobotLeader");
    EXPECT_FALSE(passes(9, "RobotLv5")) << "a robot's leader is not a human's";
}

// Each absence test passes with none of its kind from the start, fails while
// one listed cell holds it, and ignores other kinds on its cells.
TEST_F(CampaignMissions, RobotAbsenceTestsPassOnceTheLastListedCellIsClear)
{
    struct Case {
        const char* mission;
        const char* table;
        const char* other;
    };
    const Case cases[] = {{"RobotLv9a", "T9a", "Stone"},
                          {"RobotLv10c", "T10c", "RobotPart"},
                          {"RobotLv14a", "T14a", "Sand"},
                          {"RobotLv15a", "T15a", "Metal"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mission);
        world->reset();
        EXPECT_TRUE(passes(9, c.mission)) << "none from the start";
        MissionPattern t = table(9, c.table);
        fill(t);
        EXPECT_FALSE(passes(9, c.mission));
        int n = 0;
        for (const MissionPatternRecord* r = t; !(r->end & 0xff); ++r, ++n)
            if (n > 0)
                world->removeParticle(r->x, r->y);
        EXPECT_FALSE(passes(9, c.mission)) << "one left";
        put(t[0].x, t[0].y, c.other);
        EXPECT_TRUE(passes(9, c.mission));
    }
    // The gate: TNT on a Metal cell is not that cell's element.
    world->reset();
    MissionPattern gate = table(9, "T14a");
    for (const MissionPatternRecord* r = gate; !(r->end & 0xff); ++r)
        put(r->x, r->y, r->type == hashString("Metal") ? "Tnt" : "Metal");
    EXPECT_TRUE(passes(9, "RobotLv14a")) << "every cell swapped";
    // A robot whose body stands in the valley but whose leader does not.
    world->reset();
    for (int y = 30; y < 36; ++y) {
        put(40, y, "RobotPart");
        put(41, y, "RobotPart");
    }
    put(100, 40, "RobotLeader");
    EXPECT_TRUE(passes(9, "RobotLv10c"));
    put(40, 30, "RobotLeader");
    EXPECT_FALSE(passes(9, "RobotLv10c"));
}

TEST_F(CampaignMissions, RobotHideoutTakesAnyCellOfAHumanButNotOfARobot)
{
    const std::pair<const char*, bool> cases[] = {
        {"HumanPart", true}, {"HumanLeader", true}, {"RobotPart", false}, {"RobotLeader", false}, {"Stone", false}};
    for (const auto& [kind, passesWith] : cases) {
        world->reset();
        EXPECT_FALSE(passes(9, "RobotLv11a"));
        put(22, 56, kind);
        EXPECT_EQ(passes(9, "RobotLv11a"), passesWith) << kind << " alone";
    }
}

TEST_F(CampaignMissions, RobotTowerPassesAtAnEleventhOfItsFirstCountKeptUntilPaid)
{
    int32_t& initial = robotLv12aInitialCount();
    MissionPattern tower = table(9, "T12a");
    auto leave = [&](int left) {
        world->reset();
        fill(tower);
        for (int i = left; i < 149; ++i)
            world->removeParticle(tower[i].x, tower[i].y);
    };
    initial = 0;
    leave(149);
    EXPECT_FALSE(passes(9, "RobotLv12a"));
    EXPECT_EQ(initial, 149) << "taken at the first test";
    leave(17);
    EXPECT_FALSE(passes(9, "RobotLv12a")) << "17 of 149";
    leave(16);
    EXPECT_TRUE(passes(9, "RobotLv12a")) << "16 of 149";

    // The player leaves the level: the count stays for the next one.
    {
        std::unique_ptr<AchievementBase> abandoned(makeCampaignMission(*campaignOfMode(9), "RobotLv12a"));
        leave(60);
        EXPECT_FALSE(abandoned->isAccomplished());
    }
    EXPECT_EQ(initial, 149);
    leave(16);
    std::unique_ptr<AchievementBase> next(makeCampaignMission(*campaignOfMode(9), "RobotLv12a"));
    EXPECT_TRUE(next->isAccomplished()) << "measured against the kept 149";
    next->onAccomplished();
    EXPECT_EQ(initial, 0) << "cleared when paid";

    world->reset();
    EXPECT_TRUE(passes(9, "RobotLv12a")) << "nothing there at the first test";
    EXPECT_EQ(initial, 0);
}

// One cell decides a count or absence test: empty, another kind, its kind.
TEST_F(CampaignMissions, InvasionCellTestsReadTheirOwnKind)
{
    struct Case {
        const char* mission;
        int x, y;
        const char* kind;
        const char* other;
        bool absence;
    };
    const Case cases[] = {
        {"InvasionLv1a", 56, 13, "HumanLeader", "HumanPart", false},
        {"InvasionLv2a", 93, 34, "Lava", "Stone", true},
        {"InvasionLv2b", 22, 13, "Xenovine", "TreeLeaf", false},
        {"InvasionLv3b", 28, 16, "Ruby", "Sapphire", false},
        {"InvasionLv4a", 105, 39, "Xenovine", "Stone", false},
        {"InvasionLv4b", 115, 60, "PiranthaTunnel", "Sand", false},
        {"InvasionLv45b", 110, 53, "MPBodyCar", "Metal", false},
        {"InvasionLv6", 65, 5, "MPLander", "Metal", false},
        {"InvasionLv7b", 56, 16, "Lava", "Stone", false},
        {"InvasionLv8", 118, 63, "HumanLeader", "RobotLeader", false},
        {"InvasionLv9a", 112, 16, "Xenovine", "Stone", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mission);
        world->reset();
        EXPECT_EQ(passes(10, c.mission), c.absence) << "an empty cell";
        put(c.x, c.y, c.other);
        EXPECT_EQ(passes(10, c.mission), c.absence) << c.other;
        put(c.x, c.y, c.kind);
        EXPECT_EQ(passes(10, c.mission), !c.absence) << c.kind;
    }
    // Whole tables fail on one wrong cell, the basin on oil on a water cell.
    for (const auto& [t, mission, x, y, wrong] :
         {std::tuple{"T3a", "InvasionLv3a", 69, 15, "Stone"}, std::tuple{"T45a", "InvasionLv45a", 111, 36, "Water"},
          std::tuple{"T5", "InvasionLv5", 19, 24, "Oil"}, std::tuple{"T5", "InvasionLv5", 37, 41, "Water"},
          std::tuple{"T9b", "InvasionLv9b", 17, 54, "Stone"}}) {
        SCOPED_TRACE(std::string(t) + " " + wrong);
        world->reset();
        fill(table(10, t));
        EXPECT_TRUE(passes(10, mission));
        put(x, y, wrong);
        EXPECT_FALSE(passes(10, mission));
    }
}

TEST_F(CampaignMissions, InvasionSettlersAreTwoLeadersNotBodiesOrRobots)
{
    put(10, 15, "HumanLeader");
    put(10, 16, "HumanPart");
    put(11, 16, "HumanPart");
    put(12, 15, "RobotLeader");
    EXPECT_FALSE(passes(10, "InvasionLv1b")) << "one human, body cells and a robot";
    put(18, 7, "HumanLeader");
    EXPECT_TRUE(passes(10, "InvasionLv1b"));
}

TEST_F(CampaignMissions, InvasionRoomsAreLitTogetherOrNotAtAll)
{
    Bulb* bulbs[] = {dynamic_cast<Bulb*>(put(58, 18, "Bulb")), dynamic_cast<Bulb*>(put(25, 24, "Bulb")),
                     dynamic_cast<Bulb*>(put(31, 36, "Bulb"))};
    for (int dark = 0; dark < 3; ++dark) {
        for (int i = 0; i < 3; ++i)
            bulbs[i]->litTicks = i == dark ? 0 : 1;
        EXPECT_FALSE(passes(10, "InvasionLv3c")) << "room " << dark << " dark";
    }
    bulbs[2]->litTicks = 1;
    EXPECT_TRUE(passes(10, "InvasionLv3c"));
}

TEST_F(CampaignMissions, InvasionJudgesOnlyTheFirstCamperAndALoadedOneIsNew)
{
    EXPECT_FALSE(passes(10, "InvasionLv7a")) << "nobody in the camp";
    auto* robot = dynamic_cast<HumanLeader*>(put(90, 48, "RobotLeader"));
    auto* first = dynamic_cast<HumanLeader*>(put(90, 54, "HumanLeader"));
    auto* later = dynamic_cast<HumanLeader*>(put(91, 48, "HumanLeader"));
    ASSERT_TRUE(robot && first && later);
    robot->age = 500.0;
    later->age = 500.0;
    first->age = 80.0;
    EXPECT_FALSE(passes(10, "InvasionLv7a")) << "exactly 80 s; a robot before it, an older human after it";
    first->age = 80.5;
    EXPECT_TRUE(passes(10, "InvasionLv7a"));

    ASSERT_TRUE(world->load(world->save()));
    auto* loaded = dynamic_cast<HumanLeader*>(world->at(90, 54));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->age, 0.0);
    EXPECT_FALSE(passes(10, "InvasionLv7a")) << "ages are not saved";
}

// A passing mission is paid once its delay has gone by, one of delay 0 at
// the very next check.
TEST_F(CampaignMissions, InvasionMissionsArePaidAfterTheirDelays)
{
    struct Case {
        int level;
        const char* mission;
        std::vector<std::tuple<int, int, const char*>> cells;
        int64_t delay;
    };
    const Case cases[] = {
        {2, "InvasionLv2b", {{12, 16, "Xenovine"}, {56, 21, "Lava"}}, 20},  // the lava holds back level 2's other
        {3, "InvasionLv3b", {{28, 16, "Ruby"}}, 1},
        {5, "InvasionLv45b", {{103, 47, "MPBodyCar"}}, 2},
        {8, "InvasionLv7b", {{56, 16, "Lava"}}, 0},
        {9, "InvasionLv8", {{111, 52, "HumanLeader"}}, 6},
    };
    Profile* profile = Profile::getInstance();
    AchievementManager* goals = AchievementManager::getInstance();
    auto active = [goals](const char* name) -> AchievementBase* {
        for (AchievementBase* m = goals->firstActive(); m; m = m->next)
            if (std::string(dynamic_cast<CampaignMission&>(*m).row().className) == name)
                return m;
        return nullptr;
    };
    profile->setGameMode(10);
    profile->setBestDay(10, 11);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mission);
        profile->setDay(c.level);
        goals->startDay(c.level);
        world->reset();
        for (const auto& [x, y, kind] : c.cells)
            put(x, y, kind);
        platform::setManualGameTime(1000);
        goals->checkMissions();
        ASSERT_NE(active(c.mission), nullptr);
        EXPECT_EQ(active(c.mission)->rewardPending, 1);
        if (c.delay > 0) {
            platform::setManualGameTime(1000 + c.delay - 1);
            goals->checkMissions();
            EXPECT_NE(active(c.mission), nullptr) << "a second early";
        }
        platform::setManualGameTime(1000 + c.delay);
        goals->checkMissions();
        EXPECT_EQ(active(c.mission), nullptr) << "paid when due";
    }
    platform::clearManualGameTime();
    profile->setGameMode(0);
}

}  // namespace
