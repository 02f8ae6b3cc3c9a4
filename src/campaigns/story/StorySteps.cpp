#include "campaigns/story/StorySteps.h"

#include "base/Logger.h"
#include "campaigns/story/StoryMissions.h"
#include "goals/AchievementManager.h"
#include "goals/GoalFunctions.h"
#include "goals/GoalsUi.h"
#include "profile/Profile.h"

USING_NS_CC;

namespace {

using namespace step;
using WE = WorldEvent;
using DC = DayCounter;

// One row per step class, in chain order. The set-up runs between the day
// being set and the reward, in the order written.
// clang-format off
constexpr StepRow kRows[] = {
    {.className = "CheckLv2", .number = 2, .day = 2,
     .actions = {option("Sun"), storyLevel2Flag, resetZoom, mission("DiscoveredFlower"), mission("DoZoom"),
                 next("CheckLv3"), reminder(2)},
     .elements = names("Mud", "Sand"), .options = names("Sun", "Zoom"), .backgrounds = absent, .logsReward = true},
    {.className = "CheckLv3", .number = 3, .day = 3,
     .actions = {option("Weather"), mission("DiscoveredCloud"), mission("DiscoveredElectro"), next("CheckLv4"),
                 reminder(3)},
     .elements = absent, .options = names("Weather"), .backgrounds = names()},
    // A world saved, reset or loaded on day 3 must not count for day 4.
    {.className = "CheckLv4", .number = 4, .day = 4,
     .actions = {clear(WE::Saved), clear(WE::Reset), clear(WE::Loaded), mission("SaveUniverse"),
                 mission("ResetUniverse"), mission("LoadUniverse"), next("CheckLv5"), option("Temperature"),
                 reminder(4)},
     .elements = names("Steam", "Electro"), .options = names("Temperature"), .backgrounds = names()},
    {.className = "CheckLv5", .number = 5, .day = 5,
     .actions = {mission("DiscoverFire"), mission("DiscoverOil"), mission("BurnOil"), next("CheckLv6"),
                 option("Hot")},
     .elements = absent, .options = names("Hot"), .backgrounds = names()},
    {.className = "CheckLv6", .number = 6, .day = 6,
     .actions = {mission("MinedStoneInMountain"), mission("MakeTree"), mission("MakeLava"), next("CheckLv7"),
                 element("Seed"), tool("Miner"), resetMade("TreeCenter"), resetMade("Lava")},
     .elements = names("Seed", "Fire", "Oil"), .options = names("Miner"), .backgrounds = names()},
    {.className = "CheckLv7", .number = 7, .day = 7,
     .actions = {clear(WE::MetalElectrified), mission("MakeMetalBox"), mission("MetalElectro"), next("CheckLv8")},
     .elements = names("Metal", "Wood", "Lava"), .options = absent, .backgrounds = names()},
    {.className = "CheckLv8", .number = 8, .day = 8,
     .actions = {mission("LightBulb"), next("CheckLv9"), element("Bulb"), option("Light"), freeModeMessage},
     .elements = names("Bulb"), .options = names("Line", "Light"), .backgrounds = names("LightShow")},
    {.className = "CheckLv9", .number = 9, .day = 9,
     .actions = {clear(WE::SparkMade), mission("MakeResistance"), mission("MakeSpark"), next("CheckLv10")},
     .elements = names("Power"), .options = absent, .backgrounds = names()},
    {.className = "CheckLv10", .number = 10, .day = 10,
     .actions = {mission("MakeCooler"), mission("MakeIce"), next("CheckLv11")},
     .elements = names("Heater", "Bright"), .options = absent, .backgrounds = names()},
    {.className = "CheckLv11", .number = 11, .day = 11,
     .actions = {resetMade("Ice"), mission("LightVolcano"), mission("BoilWater"), next("CheckLv12")},
     .elements = names("Cooler", "Ice"), .options = absent, .backgrounds = names("Polar")},
    {.className = "CheckLv12", .number = 12, .day = 12,
     .actions = {resetMade("Glass"), mission("MakeGlass"), mission("MakeSnow"), mission("FreezeLake"),
                 next("CheckLv13"), option("VeryHot")},
     .elements = absent, .options = names("VeryHot"), .backgrounds = names("WaterCycle")},
    // Day 12's frozen water is zeroed here, after its lake was frozen.
    {.className = "CheckLv13", .number = 13, .day = 13,
     .actions = {zero(DC::FrozenWater), zero(DC::MeltedSnow), resetMade("Snow"), element("Snow"),
                 mission("WaterDesti"), mission("MeltSnow"), next("CheckLv14"), option("Cold")},
     .elements = names("Glass", "Snow"), .options = names("Cold"), .backgrounds = names()},
    {.className = "CheckLv14", .number = 14, .day = 14,
     .actions = {mission("MakeOilLamp"), next("CheckLv15")},
     .elements = names("Acid"), .options = absent, .backgrounds = names()},
    {.className = "CheckLv15", .number = 15, .day = 15,
     .actions = {mission("UseFill"), next("CheckLv16"), tool("Fill")},
     .elements = names("Multi"), .options = names("Fill"), .backgrounds = names()},
    // The fill flag of day 15 is cleared only now, a day late.
    {.className = "CheckLv16", .number = 16, .day = 16,
     .actions = {mission("MakeBattery"), next("CheckLv17"), option("VeryCold"), clear(WE::FillUsed)},
     .elements = absent, .options = names("VeryCold"), .backgrounds = absent},
    {.className = "CheckLv17", .number = 17, .day = 17,
     .actions = {mission("WaterCascade"), next("CheckLv18")},
     .elements = names("Wall"), .options = absent, .backgrounds = names("LightShow")},
    {.className = "CheckLv18", .number = 18, .day = 18,
     .actions = {mission("VirusGame"), next("CheckLv19"), element("Virus"), element("Void"), option("Background")},
     .elements = names("Virus", "Void"), .options = names("Background"), .backgrounds = absent},
    {.className = "CheckLv19", .number = 19, .day = 19,
     .actions = {mission("WaterDam"), next("CheckLv20"), element("Wax")},
     .elements = names("Wax", "AVirus"), .options = absent, .backgrounds = absent},
    {.className = "CheckLv20", .number = 20, .day = 20,
     .actions = {zero(DC::GasIgnitions), resetMade("AcidSteam"), mission("KaBoom"), mission("AcidRain"),
                 next("CheckLv21")},
     .elements = absent, .options = absent, .backgrounds = absent},
    {.className = "CheckLv21", .number = 21, .day = 21,
     .actions = {zero(DC::GasIgnitions), mission("UseReplace"), next("CheckLv22"), tool("Replace")},
     .elements = names("Gas"), .options = names("Replace"), .backgrounds = absent},
    // The replace flag of day 21 is cleared only now, a day late.
    {.className = "CheckLv22", .number = 22, .day = 22,
     .actions = {mission("PaintEarth"), next("CheckLv23"), clear(WE::ReplaceUsed)},
     .elements = absent, .options = absent, .backgrounds = absent},
    {.className = "CheckLv23", .number = 23, .day = 23,
     .actions = {mission("CloggedFactory"), next("CheckLv24")},
     .elements = absent, .options = absent, .backgrounds = absent},
    {.className = "CheckLv24", .number = 24, .day = 24,
     .actions = {mission("Alchemy"), next("CheckLv25")},
     .elements = absent, .options = absent, .backgrounds = absent},
    {.className = "CheckLv25", .number = 25, .day = 25,
     .actions = {mission("MakeDiode"), next("CheckLv26")},
     .elements = absent, .options = absent, .backgrounds = absent},
    {.className = "CheckLv26", .number = 26, .day = 26,
     .actions = {mission("PortalSong"), next("CheckLv27")},
     .elements = names("Note"), .options = absent, .backgrounds = absent},
    {.className = "CheckLv27", .number = 27, .day = 27,
     .actions = {element("Note"), mission("ChristmasLights"), next("CheckLv28")},
     .elements = names("Note"), .options = absent, .backgrounds = absent},
    {.className = "CheckLv28", .number = 28, .day = 28,
     .actions = {mission("Compose"), next("CheckLv29")},
     .elements = absent, .options = absent, .backgrounds = absent},
    // Eleven seeds open; the board names the first three.
    {.className = "CheckLv29", .number = 29, .day = 29,
     .actions = {element("SeedBaobab"), element("SeedBonsai"), element("SeedCedar"), element("SeedDracaena"),
                 element("SeedOak"), element("SeedPalm"), element("SeedPine"), element("SeedRedMaple"),
                 element("SeedSakura"), element("SeedTenere"), element("SeedWillow"), mission("FindTree"),
                 next("CheckLv30")},
     .elements = names("SeedBaobab", "SeedBonsai", "SeedCedar"), .options = absent,
     .backgrounds = names("NightSky")},
    {.className = "CheckLv30", .number = 30, .day = 30,
     .actions = {mission("EightBall"), next("CheckLvFinal")},
     .elements = absent, .options = absent, .backgrounds = absent},
    {.className = "CheckLvFinal", .number = 31, .day = 31,
     .actions = {mission("BlockBeta"), next("CheckLvEnd"), outro},
     .elements = absent, .options = absent, .backgrounds = absent, .finishesStory = true},
    // The end: no mission, no successor; it stays current and day 32 can
    // only be closed again, paying nothing more.
    {.className = "CheckLvEnd", .number = 32, .day = 32,
     .elements = absent, .options = absent, .backgrounds = absent},
};
// clang-format on

CCString* emptyText()
{
    // Kept for the whole run: anyone may hold a goal's text at any time.
    static CCString* text = new CCString("");
    return text;
}

void runAction(const StepAction& a, AchievementManager* goals)
{
    switch (a.kind) {
    case StepActionKind::None: break;
    case StepActionKind::Mission: goals->addMission(makeStoryMission(a.name)); break;
    case StepActionKind::NextStep: goals->setCurrentStep(makeStoryStep(a.name)); break;
    case StepActionKind::Element: unlockPaletteElement(CCString::create(a.name)); break;
    case StepActionKind::Tool: unlockTool(CCString::create(a.name)); break;
    case StepActionKind::Option: unlockOption(CCString::create(a.name)); break;
    case StepActionKind::ResetMade: resetElementCreated(CCString::create(a.name)); break;
    case StepActionKind::ClearEvent: setWorldEvent(a.event, false); break;
    case StepActionKind::ZeroCounter: setDayCounter(a.counter, 0); break;
    case StepActionKind::StoryLevel2Flag: setStoryLevel2Flag(); break;
    case StepActionKind::ResetZoom: resetZoomDone(); break;
    case StepActionKind::Reminder:
        if (goals->isLive())
            goalsUi().showStoryReminder(a.n);
        break;
    case StepActionKind::FreeModeMessage:
        if (goals->isLive())
            goalsUi().showFreeModeMessage();
        break;
    // Shown once, when the story's end is reached in play: a replay that
    // showed it would leave the game scene before the last day is played.
    case StepActionKind::Outro:
        if (goals->isLive())
            goalsUi().showOutro();
        break;
    }
}

}  // namespace

int32_t stepThreshold(const StepRow& row)
{
    return 100 * (row.number - 1);
}

CCArray* boardList(const BoardList& list)
{
    if (!list.present)
        return nullptr;
    CCArray* names = CCArray::create();
    for (const char* name : list.names)
        if (name)
            names->addObject(CCString::create(name));
    return names;
}

CCString* RowStep::getName()
{
    return emptyText();
}

CCString* RowStep::getBriefing()
{
    return emptyText();
}

bool RowStep::isAccomplished()
{
    return Profile::getInstance()->getLevelPoints() >= stepThreshold(m_row);
}

void RowStep::onAccomplished()
{
    if (m_row.logsReward)
        LOG << "REWARD";
    // A day won before pays nothing more, and its board shows no mana.
    CCArray* mana = nullptr;
    if (levelEndGrantPays(m_row.day)) {
        mana = CCArray::create();
        mana->addObject(CCInteger::create(getMissionReward(m_row.className)));
    }
    showLevelUp(boardList(m_row.elements), boardList(m_row.options), boardList(m_row.backgrounds), mana);
}

void RowStep::onLevelEnd()
{
    // The set-up makes the successor current: from there on only the row,
    // which outlives every step, is read.
    setUpStoryDay(m_row);
}

void setUpStoryDay(const StepRow& row)
{
    AchievementManager* goals = AchievementManager::getInstance();
    setStoryDay(row.day);
    for (const StepAction& a : row.actions) {
        if (a.kind == StepActionKind::None)
            break;
        runAction(a, goals);
    }
    grantExperience(getMissionReward(row.className));
    if (row.finishesStory) {
        Profile* profile = Profile::getInstance();
        profile->setCompletionFlag(CampaignIndex::Story, 1);
        // The grant saves only on a first reach: without this a quit now
        // would lose the finished story and the campaigns it opens. A
        // replay's day end saves it instead.
        if (goals->isLive())
            profile->save();
    }
}

void unlockReachedStoryBackgrounds()
{
    const int32_t best = Profile::getInstance()->getBestDay(0);
    for (const StepRow& row : kRows) {
        if (row.day <= best)
            for (const char* name : row.backgrounds.names)
                if (name)
                    unlockBackground(name);
        // Day 1's missions, which no row makes, name no background.
        int index = 0;
        for (const StepAction& a : row.actions) {
            if (a.kind != StepActionKind::Mission)
                continue;
            const MissionRow* mission = storyMissionRow(a.name);
            if (mission && mission->background &&
                (row.day < best || (row.day == best && AchievementManager::wasMissionPaid(0, best, index))))
                unlockBackground(mission->background);
            ++index;
        }
    }
}

std::span<const StepRow> storyStepRows()
{
    return kRows;
}

const StepRow* storyStepRow(const std::string& className)
{
    for (const StepRow& row : kRows)
        if (className == row.className)
            return &row;
    return nullptr;
}

AchievementBase* makeStoryStep(const std::string& className)
{
    const StepRow* row = storyStepRow(className);
    if (!row) {
        LOG << "no story step is called" << className;
        return nullptr;
    }
    return new RowStep(*row);
}
