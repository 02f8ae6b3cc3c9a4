// The device campaigns' missions whose tests do more than one pattern test:
// the melodies and the two run-long counters of Music, the one-cell and any-
// link tests of Contraptions and lasers and pipes, UserMade's own cell read;
// then every mission's texts at the sizes the top bar and goals window draw.
#include <gtest/gtest.h>

#include <string>

#include "base/LocalUtils.h"
#include "base/ScreenMetrics.h"
#include "campaigns/Campaigns.h"
#include "campaigns/music/MusicCampaign.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/HumanRegistry.h"
#include "elements/materials/Instruments.h"
#include "elements/materials/Leds.h"
#include "goals/AchievementManager.h"
#include "goals/GoalFunctions.h"
#include "goals/GoalsTesting.h"
#include "gui/GUILabel.h"
#include "hud/GUITopBar.h"
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

// "Done: <name>" fits the top bar's notice and the briefing one line of
// the goals window, in every language.
TEST_F(CampaignMissions, TheTextsFitTheBarsNoticeAndTheGoalsWindow)
{
    GUITopBar::getInstance()->buildCampaignBar();
    GUILabel* notice = GUITopBar::getInstance()->getNotificationLabel();
    ASSERT_NE(notice, nullptr);
    GUILabel::setFontName("guitopbar_ach_fontButtons");
    const float goalsScale = 10.0f * 2.0f * static_cast<float>(screenRatio) / GUILabel::fontSize;
    for (const char* code : testsupport::kLanguages) {
        testsupport::LanguageTable language(code);
        for (const Campaign* c : builtCampaigns())
            for (const CampaignMissionRow& row : c->missions) {
                CampaignMission mission(row);
                notice->setText(LocalUtils::localizeCCStringWithVar(CCString::create("AnouncementMissionGeneric"),
                                                                    mission.getName()));
                EXPECT_LE(notice->getWidth() * notice->getScale(), 140.0f)
                    << code << " " << mission.getName()->getString();
                GUILabel* line = GUILabel::create();
                line->setText(CCString::create("  " + mission.getBriefing()->getString()));
                EXPECT_LE(40.0f + line->getWidth() * goalsScale, screenSize.width - 8.0f)
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
