// The story's missions on the headless game scene. Every row is staged from
// its own terms on a small world (world name, made element, event, counter,
// switches, its tables' cells) and must pass; undoing any one term must make
// it fail. Then the rows' data against the resources (points per day, reward
// keys, texts in three languages), the edge cases the days rely on, and the
// reward: live (points, mana, set-up, notices) and replayed (points and
// unlocks only).
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>

#include "campaigns/story/StoryMissions.h"
#include "campaigns/story/StoryTables.h"
#include "elements/materials/Cloners.h"
#include "elements/materials/Instruments.h"
#include "elements/materials/Wiring.h"
#include "goals/GoalsTesting.h"
#include "base/ScreenMetrics.h"
#include "gui/GUILabel.h"
#include "hud/GUI.h"
#include "hud/GUIAchievement.h"
#include "hud/GUITopBar.h"
#include "platform/GameClock.h"
#include "support/GameSceneFixture.h"
#include "support/LogCapture.h"
#include "support/Readability.h"
#include "world/ParticleCreator.h"

USING_NS_CC;
using namespace goalstest;

namespace {

class StoryMissions : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene(false);
        setGoalsUi(&ui);
        platform::setManualGameTime(1000);
        profile = Profile::getInstance();
        profile->setGameMode(0);
    }
    void TearDown() override
    {
        AchievementManager::resetInstanceForTests();
        setGoalsUi(nullptr);
        platform::clearManualGameTime();
        mirror.reset();
        GameScene::TearDown();
    }

    // A clean small world and day: nothing made, no event, switches as a day
    // starts (light off, sun on, temperature view on, Normal).
    void clean()
    {
        world->reset();
        std::fill(std::begin(world->eventFlags), std::end(world->eventFlags), 0);
        world->sparkOnMetal = false;
        world->lightMap.setLightOn(false);
        world->lightMap.setSunOn(true);
        world->temperatureField.setViewOn(true);
        layer->getGUI()->refreshTemperature(3);
        ParticleCreator::resetElementsCreated();
        for (DayCounter c : {DayCounter::BoiledWater, DayCounter::FrozenWater, DayCounter::MeltedSnow,
                             DayCounter::GasIgnitions, DayCounter::AcidRain})
            setDayCounter(c, 0);
        ui.worldName = "Day0";
        ui.overview = false;
    }

    Particle* put(const MissionPatternRecord& r)
    {
        world->removeParticle(r.x, r.y);
        return world->addParticle(r.x, r.y, r.type, true);
    }

    // Makes the term pass.
    void stage(const MissionTerm& t)
    {
        MissionPattern table = t.tables[0];
        switch (t.kind) {
        case TermKind::WorldNamed: ui.worldName = t.name; break;
        case TermKind::ElementMade:
            ParticleCreator::getElementsCreated()->setObject(CCInteger::create(1), t.name);
            break;
        case TermKind::Event: setWorldEvent(t.event, true); break;
        case TermKind::CounterAtLeast: setDayCounter(t.counter, t.n); break;
        case TermKind::LightOn: world->lightMap.setLightOn(true); break;
        case TermKind::SunOff: world->lightMap.setSunOn(false); break;
        case TermKind::TemperatureViewOff: world->temperatureField.setViewOn(false); break;
        case TermKind::TemperatureNormal: layer->getGUI()->refreshTemperature(3); break;
        case TermKind::ZoomDone: ui.overview = true; break;
        case TermKind::CountAtLeast:
            for (int i = 0; i < t.n; ++i)
                put(table[i]);
            break;
        case TermKind::AnyMatchPowered:
            put(table[0]);
            world->electricityGrid.setCell(table[0].x, table[0].y, ElectricityGrid::kTail);
            break;
        case TermKind::None:
        case TermKind::Never: break;
        default:
            for (const MissionPatternRecord* r = table; !r->end; ++r) {
                Particle* p = put(*r);
                ASSERT_NE(p, nullptr);
                if (t.kind == TermKind::AllMatchPowered)
                    world->electricityGrid.setCell(r->x, r->y, ElectricityGrid::kTail);
                if (t.kind == TermKind::AllBulbsLit)
                    dynamic_cast<Bulb&>(*p).litTicks = 3;
                if (t.kind == TermKind::MatchesCarry)
                    dynamic_cast<Multi&>(*p).copiedType = hashString(t.name);
                if (t.kind == TermKind::ComposeSolved)
                    dynamic_cast<Note&>(*p).note = 5;
            }
        }
    }

    // Makes the staged term fail again, by one cell for a table.
    void undo(const MissionTerm& t)
    {
        // The first cell of the term's table (none for other terms).
        const MissionPatternRecord first = t.tables[0] ? t.tables[0][0] : MissionPatternRecord{};
        switch (t.kind) {
        case TermKind::WorldNamed: ui.worldName = "Day0"; break;
        case TermKind::ElementMade: resetElementCreated(CCString::create(t.name)); break;
        case TermKind::Event: setWorldEvent(t.event, false); break;
        case TermKind::CounterAtLeast: setDayCounter(t.counter, t.n - 1); break;
        case TermKind::LightOn: world->lightMap.setLightOn(false); break;
        case TermKind::SunOff: world->lightMap.setSunOn(true); break;
        case TermKind::TemperatureViewOff: world->temperatureField.setViewOn(true); break;
        case TermKind::TemperatureNormal: layer->getGUI()->refreshTemperature(4); break;
        case TermKind::ZoomDone: ui.overview = false; break;
        case TermKind::AllBulbsLit: dynamic_cast<Bulb&>(*world->at(first.x, first.y)).litTicks = 0; break;
        case TermKind::MatchesCarry:
            dynamic_cast<Multi&>(*world->at(first.x, first.y)).copiedType = hashString("Sand");
            break;
        case TermKind::ComposeSolved: dynamic_cast<Note&>(*world->at(first.x, first.y)).note = 0; break;
        default: world->removeParticle(first.x, first.y);
        }
    }

    void stageAll(const MissionRow& row)
    {
        clean();
        for (const MissionTerm& t : row.test)
            if (t.kind != TermKind::None)
                stage(t);
    }

    std::unique_ptr<testsupport::ResourceMirror> mirror;
    RecordingUi ui;
    Profile* profile = nullptr;
};

TEST_F(StoryMissions, EachMissionPassesOnItsStagedWorldAndEveryTermCounts)
{
    ASSERT_EQ(storyMissionRows().size(), 48u);
    for (const MissionRow& row : storyMissionRows()) {
        std::unique_ptr<AchievementBase> mission(makeStoryMission(row.className));
        ASSERT_NE(mission, nullptr) << row.className;
        clean();
        EXPECT_FALSE(mission->isAccomplished()) << row.className << " passes on a clean day";
        stageAll(row);
        if (row.test[0].kind == TermKind::Never) {
            EXPECT_FALSE(mission->isAccomplished()) << row.className;
            continue;
        }
        EXPECT_TRUE(mission->isAccomplished()) << row.className;
        for (int i = 0; i < MissionRow::kTerms && row.test[i].kind != TermKind::None; ++i) {
            stageAll(row);
            undo(row.test[i]);
            EXPECT_FALSE(mission->isAccomplished()) << row.className << " without its term " << i;
        }
    }
}

TEST_F(StoryMissions, TheDaysRulesAtTheirEdges)
{
    auto passes = [](const char* name) {
        return std::unique_ptr<AchievementBase>(makeStoryMission(name))->isAccomplished();
    };
    // Burning oil counts in any world; fire only in the day's own.
    stageAll(*storyMissionRow("BurnOil"));
    stage(term::made("Fire"));
    ui.worldName = "Day4";
    EXPECT_TRUE(passes("BurnOil"));
    EXPECT_FALSE(passes("DiscoverFire"));

    // Day 4's new world is the world menu's.
    clean();
    layer->getGUI()->onNewWorldButton(nullptr);
    EXPECT_TRUE(passes("ResetUniverse"));

    // The land takes one material: each alone passes, a mixture fails.
    const MissionRow& earth = *storyMissionRow("PaintEarth");
    for (char letter : {'B', 'C', 'D', 'E'}) {
        stageAll(earth);
        for (MissionPattern r = storyTable("PaintEarth", 'B'); !r->end; ++r)
            world->removeParticle(r->x, r->y);
        for (MissionPattern r = storyTable("PaintEarth", letter); !r->end; ++r)
            put(*r);
        EXPECT_TRUE(passes("PaintEarth")) << letter;
    }
    put(storyTable("PaintEarth", 'B')[3]);
    EXPECT_FALSE(passes("PaintEarth")) << "Wood with one Acid cell";

    // The factory's steam may leave by either cell.
    for (char letter : {'B', 'C'}) {
        stageAll(*storyMissionRow("CloggedFactory"));
        world->removeParticle(101, 57);
        put(storyTable("CloggedFactory", letter)[0]);
        EXPECT_TRUE(passes("CloggedFactory")) << letter;
    }

    // One seed on any of the eighteen cells finds the tree.
    MissionPattern seeds = storyTable("FindTree", 'A');
    for (int i = 0; i < 18; ++i) {
        clean();
        put(seeds[i]);
        EXPECT_TRUE(passes("FindTree")) << i;
    }

    // A Note moved to another octave but on the first note still counts.
    stageAll(*storyMissionRow("Compose"));
    dynamic_cast<Note&>(*world->at(88, 43)).note = 0;
    dynamic_cast<Note&>(*world->at(88, 43)).octave = 3;
    EXPECT_TRUE(passes("Compose"));
    dynamic_cast<Note&>(*world->at(88, 43)).octave = 2;
    EXPECT_FALSE(passes("Compose"));

    // One powered bulb of four lights the eight ball.
    stageAll(*storyMissionRow("EightBall"));
    world->electricityGrid.setCell(73, 8, 0);
    world->electricityGrid.setCell(97, 14, ElectricityGrid::kTail);
    put(storyTable("EightBall", 'B')[3]);
    EXPECT_TRUE(passes("EightBall"));
}

TEST_F(StoryMissions, TheTemperatureTermReadsThePresetNotItsTranslation)
{
    ScopedTable table({{"NormalName", "NORMALE"}});
    stageAll(*storyMissionRow("MakeIce"));
    EXPECT_TRUE(std::unique_ptr<AchievementBase>(makeStoryMission("MakeIce"))->isAccomplished());
    layer->getGUI()->refreshTemperature(2);
    EXPECT_FALSE(std::unique_ptr<AchievementBase>(makeStoryMission("MakeIce"))->isAccomplished());
}

TEST_F(StoryMissions, TheRowsAgreeWithTheDaysTheRewardsAndTheTexts)
{
    std::map<int, int> points;
    std::set<std::string> classes;
    int lastDay = 0;
    CCDictionary* rewards =
        dynamic_cast<CCDictionary*>(CCDictionary::createWithContentsOfFile(kRewardsFile)->objectForKey("Levels"));
    ASSERT_NE(rewards, nullptr);
    for (const MissionRow& row : storyMissionRows()) {
        EXPECT_TRUE(classes.insert(row.className).second) << row.className;
        EXPECT_GE(row.day, lastDay) << row.className << " is out of day order";
        lastDay = row.day;
        points[row.day] += row.points;
        for (const char* key : {row.rewardKey, row.announceKey})
            if (key) {
                EXPECT_TRUE(rewards->objectForKey(key) && getMissionReward(key) > 0) << key;
            }
        EXPECT_TRUE(row.delay == 0 || row.delay == 1 || row.delay == 3 || row.delay == 5 || row.delay == 8 ||
                    row.delay == 10)
            << row.className;
    }
    EXPECT_EQ(lastDay, 31);
    for (int day = 1; day <= 30; ++day)
        EXPECT_EQ(points[day], 100) << "day " << day;
    EXPECT_EQ(storyMissionRow("BlockBeta")->rewardKey, nullptr);
    EXPECT_EQ(makeStoryMission("NoSuchMission"), nullptr);

    for (const char* code : {"en", "fr", "es"}) {
        testsupport::LanguageTable language(code);
        std::set<std::string> names;
        for (const MissionRow& row : storyMissionRows()) {
            std::unique_ptr<AchievementBase> mission(makeStoryMission(row.className));
            for (const char* key : {row.nameKey, row.briefingKey})
                EXPECT_TRUE(localizationTable->objectForKey(key)) << code << " lacks " << key;
            CCString* name = mission->getName();
            EXPECT_NE(name, mission->getName()) << "a new text each call";
            EXPECT_NE(name->getString(), mission->getBriefing()->getString()) << code << " " << row.className;
            EXPECT_TRUE(names.insert(name->getString()).second) << code << " names two missions " << name->getString();
        }
        for (const char* background : {"OilPool", "ElectroShow", "Polar", "WaterCycle"})
            EXPECT_NE(backgroundTitle(background), background) << code;
    }
}

// A mission's name goes into the top bar's notice ("Done: ...") and, with
// its briefing, into its room in the goals window: both in every language,
// at the sizes those windows draw them.
TEST_F(StoryMissions, TheTextsFitTheBarsNoticeAndTheGoalsWindow)
{
    GUITopBar::getInstance()->buildCampaignBar();
    GUILabel* notice = GUITopBar::getInstance()->getNotificationLabel();
    ASSERT_NE(notice, nullptr);
    auto noticeWidth = [&](CCString* text) {
        GUILabel::setFontName("guitopbar_ach_fontButtons");
        notice->setText(text);
        return notice->getWidth() * notice->getScale();
    };
    for (const char* code : {"en", "fr", "es"}) {
        testsupport::LanguageTable language(code);
        for (const MissionRow& row : storyMissionRows()) {
            CCString* name = LocalUtils::localize(row.nameKey);
            EXPECT_LE(
                noticeWidth(LocalUtils::localizeCCStringWithVar(CCString::create("AnouncementMissionGeneric"), name)),
                140.0f)
                << code << " " << name->getString();
            EXPECT_TRUE(GUIAchievement::goalFits(name, LocalUtils::localize(row.briefingKey)))
                << code << " " << row.briefingKey;
        }
        for (const char* background : {"OilPool", "ElectroShow", "Polar", "WaterCycle"})
            EXPECT_LE(noticeWidth(LocalUtils::localizeWithVar("AnouncementUniverseGeneric",
                                                              backgroundTitle(background).c_str())),
                      140.0f)
                << code << " " << background;
    }
}

class StoryRewards : public StoryMissions {
protected:
    void SetUp() override
    {
        StoryMissions::SetUp();
        mirror = std::make_unique<testsupport::ResourceMirror>();
        mirror->write(kRewardsFile,
                      testsupport::plistText("<dict><key>Levels</key><dict>"
                                             "<key>MakeMud</key><integer>50</integer>"
                                             "<key>MakeSand</key><integer>60</integer>"
                                             "<key>MakeMetalBox</key><integer>70</integer>"
                                             "<key>BurnOil</key><integer>0</integer>"
                                             "<key>BoilWater</key><integer>80</integer>"
                                             "<key>Compose</key><integer>100</integer>"
                                             "<key>WaxCycle</key><integer>7</integer>"
                                             "</dict></dict>"));
        profile->setBestDay(0, 1);
        profile->setDay(1);
        profile->setPendingMana(0);
        profile->setLevelPoints(0);
        AchievementManager::getInstance()->setNewBestDay(true);
    }
    std::vector<std::string> texts()
    {
        std::vector<std::string> all;
        for (const auto& n : ui.notices)
            all.push_back(n.text + " @" + n.icon);
        return all;
    }
};

TEST_F(StoryRewards, ALiveRewardPaysSetsUpAndAnnounces)
{
    ScopedTable table({{"AnouncementMissionGeneric", "Done: #var#"},
                       {"AnouncementElementGeneric", "New #var#"},
                       {"AnouncementUniverseGeneric", "Open #var#"},
                       {"AchievementManaEarned", "+#var#"},
                       {"MetalBoxName", "Box"},
                       {"BurnOilName", "Burn"},
                       {"BoilWaterName", "Boil"},
                       {"ComposeName", "Tune"},
                       {"LineName", "Line tool"},
                       {"OilpoolBkgName", "Oil pool"},
                       {"WatercycleBkgName", "Water cycle"}});
    struct Case {
        const char* mission;
        int32_t mana;
        std::vector<std::string> unlocks;
        std::vector<std::string> notices;
    };
    const Case cases[] = {
        {"MakeMetalBox", 70, {"1 Line"}, {"Done: Box @", "Open Line tool @HUDkey.png", "+70 @HUDMana.png"}},
        {"BurnOil", 0, {}, {"Done: Burn @", "Open Oil pool @HUDplanet.png"}},
        {"BoilWater", 80, {}, {"Done: Boil @", "Open Water cycle @HUDplanet.png", "+80 @HUDMana.png"}},
        // Pays "Compose", announces "WaxCycle".
        {"Compose", 100, {}, {"Done: Tune @", "+7 @HUDMana.png"}},
    };
    for (const Case& c : cases) {
        ui.notices.clear();
        ui.unlocks.clear();
        profile->setPendingMana(0);
        profile->setLevelPoints(10);
        setDayCounter(DayCounter::BoiledWater, 45);
        SaveCounter saves;
        std::unique_ptr<AchievementBase>(makeStoryMission(c.mission))->onAccomplished();
        EXPECT_EQ(dayCounter(DayCounter::BoiledWater), std::string(c.mission) == "BoilWater" ? 0 : 45) << c.mission;
        EXPECT_EQ(profile->getLevelPoints(), 10 + storyMissionRow(c.mission)->points) << c.mission;
        EXPECT_EQ(profile->getPendingMana(), c.mana) << c.mission;
        EXPECT_EQ(saves.saves, 1) << c.mission;
        EXPECT_EQ(ui.unlocks, c.unlocks) << c.mission;
        EXPECT_EQ(texts(), c.notices) << c.mission;
    }

    // Without "WaxCycle", Compose still pays but shows no amount.
    mirror->write(kRewardsFile,
                  testsupport::plistText("<dict><key>Levels</key><dict><key>Compose</key>"
                                         "<integer>100</integer></dict></dict>"));
    ui.notices.clear();
    profile->setPendingMana(0);
    std::unique_ptr<AchievementBase>(makeStoryMission("Compose"))->onAccomplished();
    EXPECT_EQ(profile->getPendingMana(), 100);
    EXPECT_EQ(texts(), std::vector<std::string>{"Done: Tune @"});

    // The last day's mission does nothing at all.
    ui.notices.clear();
    profile->setLevelPoints(10);
    std::unique_ptr<AchievementBase>(makeStoryMission("BlockBeta"))->onAccomplished();
    EXPECT_EQ(profile->getLevelPoints(), 10);
    EXPECT_TRUE(ui.notices.empty());
}

TEST_F(StoryRewards, TheStoryStartsWithMudAndSandAndPaysThemAfterTheirDelay)
{
    AchievementManager* goals = AchievementManager::getInstance();
    ParticleCreator::resetElementsCreated();
    goals->startDay(1);
    EXPECT_EQ(activeNames(),
              (std::vector<std::string>{LocalUtils::localize("MakeMudName")->getString(),
                                        LocalUtils::localize("MakeSandName")->getString()}));
    ParticleCreator::getElementsCreated()->setObject(CCInteger::create(1), "Sand");
    goals->checkMissions();
    platform::setManualGameTime(1002);
    goals->checkMissions();
    EXPECT_EQ(goals->activeCount(), 2) << "three seconds to wait";
    platform::setManualGameTime(1003);
    goals->checkMissions();
    EXPECT_EQ(goals->activeCount(), 1);
    EXPECT_EQ(profile->getLevelPoints(), 50);
    EXPECT_EQ(profile->getPendingMana(), 60);
    EXPECT_EQ(ui.unlocks, std::vector<std::string>{"0 Sand"});
}

TEST_F(StoryRewards, AReplayedRewardAddsPointsAndUnlocksOnly)
{
    profile->setBestDay(0, 5);
    profile->setDay(2);
    SaveCounter saves;
    testsupport::LogCapture log;
    AchievementManager::getInstance()->startDay(2);
    EXPECT_EQ(profile->getLevelPoints(), 100);
    // The missions' unlocks, the last added first, then the step's.
    EXPECT_EQ(ui.unlocks, (std::vector<std::string>{"0 Sand", "0 Mud", "2 Sun"}));
    EXPECT_EQ(profile->getPendingMana(), 0);
    EXPECT_TRUE(ui.notices.empty());
    EXPECT_EQ(saves.saves, 1) << "only the replayed day's end saves";
}

}  // namespace
