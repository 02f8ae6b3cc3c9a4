#include "campaigns/story/StoryPlayer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "DayCheck.h"
#include "campaigns/story/StoryMissions.h"
#include "campaigns/Campaigns.h"
#include "campaigns/music/MusicCampaign.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/MPObject.h"
#include "elements/creatures/Robots.h"
#include "elements/materials/Instruments.h"
#include "cocos2d_extensions/CCValue.h"
#include "goals/AchievementManager.h"
#include "goals/GoalFunctions.h"
#include "goals/GoalsUi.h"
#include "goals/MissionPattern.h"
#include "gui/GUIButton.h"
#include "gui/GUIKeyboard.h"
#include "gui/GUIPopup.h"
#include "gui/SlidingLayer.h"
#include "hud/GUIAchievement.h"
#include "gui/GUIWindow.h"
#include "hud/GUIIngameMessage.h"
#include "hud/GUISaveLoad.h"
#include "hud/DeviceEditors.h"
#include "hud/GUITopBar.h"
#include "hud/PaletteTable.h"
#include "base/Utils.h"
#include "platform/CloudStorage.h"
#include "platform/GameClock.h"
#include "platform/GameRandom.h"
#include "profile/Profile.h"
#include "profile/ProfileFile.h"
#include "screens/MainMenu.h"
#include "support/ResourceRoot.h"
#include "world/ParticleCreator.h"

USING_NS_CC;

namespace storyplay {

namespace {

constexpr float kStep = 1.0f / 30.0f;
// Steps for a window to close after its button.
constexpr int kSettleSteps = 8;

std::string sourceRoot()
{
    // The fixtures folder is tests/fixtures of the source tree.
    return std::string(TESMORA_TEST_FIXTURES) + "/../..";
}

bool fileExists(const std::string& path)
{
    struct stat st { };
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool knownElement(std::string_view name)
{
    return ParticleCreator::isAccepted(hashString(std::string(name).c_str()));
}

// The names a day's settings list under a key, those the palette can show.
std::set<std::string> paletteOf(const std::string& world)
{
    std::set<std::string> names;
    CCDictionary* settings = CCDictionary::createWithContentsOfFile(("universes/Missions/" + world + ".plist").c_str());
    auto* listed = settings ? dynamic_cast<CCArray*>(settings->objectForKey("elements")) : nullptr;
    std::set<std::string> listedNames;
    for (unsigned i = 0; listed && i < listed->count(); ++i)
        if (auto* s = dynamic_cast<CCString*>(listed->objectAtIndex(i)))
            listedNames.insert(s->getString());
    // A deny list offers everything it does not name.
    auto* mode = settings ? dynamic_cast<CCString*>(settings->objectForKey("lockMode")) : nullptr;
    const bool deny = mode && mode->getString() == "deny";
    for (const PaletteEntry& e : paletteTable())
        if (ParticleCreator::isBuilt(hashString(e.name)) && listedNames.count(e.name) != deny)
            names.insert(e.name);
    return names;
}

// The elements a story day offers from its start, as levelgen's check has
// them from the game's steps and missions, those the palette shows.
std::set<std::string> cumulativeElements(int day)
{
    const char* root = std::getenv("ENGINE_RESOURCES");
    const levelgen::DayRules rules =
        levelgen::storyDayRules(day, levelgen::storyStart(std::string(root ? root : "") + "/universes/Missions"));
    std::set<std::string> names;
    for (const PaletteEntry& e : paletteTable())
        if (ParticleCreator::isBuilt(hashString(e.name)) &&
            std::find(rules.elements.begin(), rules.elements.end(), e.name) != rules.elements.end())
            names.insert(e.name);
    return names;
}

// The elements the game's made-elements record holds.
std::string madeSoFar()
{
    std::set<std::string> names;
    CCDictElement* entry = nullptr;
    CCDICT_FOREACH(ParticleCreator::getElementsCreated(), entry)
    {
        auto* n = dynamic_cast<CCInteger*>(entry->getObject());
        if (n && n->getValue() != 0)
            names.insert(entry->getStrKey());
    }
    std::string out;
    for (const std::string& n : names)
        out += (out.empty() ? "" : " ") + n;
    return out;
}

// With TESMORA_PLAY_PICTURE set, the world as rows of letters (the first of
// each element's name, top row first), to see why a day was not won.
std::string worldPicture()
{
    const char* wanted = std::getenv("TESMORA_PLAY_PICTURE");
    if (!wanted || !*wanted)
        return "";
    const World& world = GameLayer::getInstance()->getWorld();
    std::string out = "\n";
    for (int y = world.height - 1; y >= 0; --y) {
        out += std::to_string(y % 10);
        for (int x = 0; x < world.width; ++x) {
            const Particle* p = world.at(x, y);
            const std::string name = p ? ParticleCreator::getName(p->getType()) : "";
            out += name.empty() ? '.' : name[0];
        }
        out += '\n';
    }
    // The letters' names.
    std::set<std::string> names;
    for (int y = 0; y < world.height; ++y)
        for (int x = 0; x < world.width; ++x)
            if (const Particle* p = world.at(x, y))
                names.insert(ParticleCreator::getName(p->getType()));
    for (const std::string& n : names)
        out += n + " ";
    return out;
}

std::string joined(const std::set<std::string>& names)
{
    std::string out;
    for (const std::string& n : names)
        out += (out.empty() ? "" : " ") + n;
    return out.empty() ? "(none)" : out;
}

// Whether an element kind shows in that family of the palette; creatures,
// the border and what no palette shows are in none.
bool inFamily(uint32_t type, PaletteFamily family)
{
    static const std::map<uint32_t, PaletteFamily> families = [] {
        std::map<uint32_t, PaletteFamily> out;
        for (const PaletteEntry& e : paletteTable())
            out[hashString(e.name)] = e.family;
        return out;
    }();
    const auto it = families.find(type);
    return it != families.end() && it->second == family;
}

struct StandingCell {
    int x, y;
    const Particle* particle;
    uint32_t type;
};

// The world's powders and solids (its ground, its rocks, what the level
// builds to stand), those with no liquid around them: a liquid may wear,
// melt or sink them by the world's rules.
std::vector<StandingCell> standingCells(const World& world)
{
    auto wet = [&](int x, int y) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (const Particle* p = world.at(x + dx, y + dy); p && inFamily(p->getType(), PaletteFamily::Liquids))
                    return true;
        return false;
    };
    std::vector<StandingCell> out;
    for (int x = 0; x < world.width; ++x)
        for (int y = 0; y < world.height; ++y)
            if (const Particle* p = world.at(x, y); p && inFamily(p->getType(), PaletteFamily::Powders) && !wet(x, y))
                out.push_back({x, y, p, p->getType()});
    return out;
}

// The standing cells whose grain now lies in another cell, leaving its own
// to air or to what does not stand: what fell or slid. A grain gone (worn,
// melted, burnt) does not count, nor one that traded places with another
// (mud sinking into soil).
std::string movedStanding(const World& world, const std::vector<StandingCell>& cells)
{
    std::map<const Particle*, std::pair<int, int>> now;
    for (int x = 0; x < world.width; ++x)
        for (int y = 0; y < world.height; ++y)
            if (const Particle* p = world.at(x, y))
                now[p] = {x, y};
    std::ostringstream out;
    int moved = 0;
    for (const StandingCell& c : cells) {
        const auto it = now.find(c.particle);
        if (it == now.end() || it->first->getType() != c.type || it->second == std::make_pair(c.x, c.y))
            continue;
        if (const Particle* here = world.at(c.x, c.y); here && inFamily(here->getType(), PaletteFamily::Powders))
            continue;
        if (++moved <= 4)
            out << ParticleCreator::getName(c.type) << " (" << c.x << ", " << c.y << ") to (" << it->second.first
                << ", " << it->second.second << "); ";
    }
    if (moved > 4)
        out << moved - 4 << " more";
    return out.str();
}

// The cells of the day's missions' tables that hold an LED or a Bulb, each
// followed by the end record, so that each is a table of its own.
std::vector<MissionPatternRecord> lightCells(int mode, int day, const World& world)
{
    static const std::set<uint32_t> lights = {hashString("LedBlue"),   hashString("LedGreen"), hashString("LedOrange"),
                                              hashString("LedPurple"), hashString("LedRed"),   hashString("LedYellow"),
                                              hashString("Bulb")};
    std::vector<const char*> missions;
    if (mode == 0)
        missions = missionsOfDay(day);
    else if (const Campaign* c = campaignOfMode(mode); c && day >= 1 && day <= c->levelCount())
        for (const char* m : c->levels[static_cast<size_t>(day - 1)].missions)
            if (m)
                missions.push_back(m);
    std::vector<MissionPatternRecord> out;
    for (const char* m : missions)
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            if (MissionPattern table = missionTable(m, letter))
                for (MissionPattern r = table; (r->end & 0xff) == 0; ++r)
                    if (const Particle* p = world.at(r->x, r->y); p && lights.count(p->getType())) {
                        out.push_back({r->x, r->y, p->getType(), 0});
                        out.push_back(kTableEnd);
                    }
    return out;
}

// The open air: the empty cells that reach the row under the border's top
// through empty cells, where virus that its walls keep in never gets.
std::vector<std::pair<int, int>> openAir(const World& world)
{
    std::set<std::pair<int, int>> air;
    std::vector<std::pair<int, int>> todo;
    for (int x = 1; x < world.width - 1; ++x)
        todo.push_back({x, world.height - 2});
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        if (x < 1 || y < 1 || x >= world.width - 1 || y >= world.height - 1 || world.at(x, y) ||
            !air.insert({x, y}).second)
            continue;
        todo.insert(todo.end(), {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}});
    }
    return {air.begin(), air.end()};
}

CCArray* namesArray(const std::vector<const char*>& names, bool absent)
{
    if (absent)
        return nullptr;
    CCArray* array = CCArray::create();
    for (const char* n : names)
        array->addObject(CCString::create(n));
    return array;
}

}  // namespace

// --- levels ---------------------------------------------------------------------------

std::string dayWorld(int day, int mode)
{
    return AchievementManager::dayName(mode, day);
}

std::string levelPath(int day, int mode)
{
    return sourceRoot() + "/assets/levels/" + dayWorld(day, mode) + ".level";
}

std::string missingDay(int day, int mode)
{
    const std::string world = dayWorld(day, mode);
    if (!fileExists(levelPath(day, mode)))
        return "no level script " + levelPath(day, mode);
    for (const std::string& file : {"universes/Missions/" + world, "universes/Missions/" + world + ".plist"})
        if (std::string missing = testsupport::resourceMissing(file); !missing.empty())
            return missing;
    return {};
}

uint32_t playSeed()
{
    const char* seed = std::getenv("TESMORA_PLAY_SEED");
    return seed && *seed ? static_cast<uint32_t>(std::strtoul(seed, nullptr, 10)) : 20261208u;
}

const std::vector<const char*>& missionsOfDay(int day)
{
    static const std::vector<std::vector<const char*>> days = {
        {"MakeMud", "MakeSand"},
        {"DiscoveredFlower", "DoZoom"},
        {"DiscoveredCloud", "DiscoveredElectro"},
        {"SaveUniverse", "ResetUniverse", "LoadUniverse"},
        {"DiscoverFire", "DiscoverOil", "BurnOil"},
        {"MinedStoneInMountain", "MakeTree", "MakeLava"},
        {"MakeMetalBox", "MetalElectro"},
        {"LightBulb"},
        {"MakeResistance", "MakeSpark"},
        {"MakeCooler", "MakeIce"},
        {"LightVolcano", "BoilWater"},
        {"MakeGlass", "MakeSnow", "FreezeLake"},
        {"WaterDesti", "MeltSnow"},
        {"MakeOilLamp"},
        {"UseFill"},
        {"MakeBattery"},
        {"WaterCascade"},
        {"VirusGame"},
        {"WaterDam"},
        {"KaBoom", "AcidRain"},
        {"UseReplace"},
        {"PaintEarth"},
        {"CloggedFactory"},
        {"Alchemy"},
        {"MakeDiode"},
        {"PortalSong"},
        {"ChristmasLights"},
        {"Compose"},
        {"FindTree"},
        {"EightBall"},
        {"BlockBeta"},
    };
    static const std::vector<const char*> none;
    return day >= 1 && day <= static_cast<int>(days.size()) ? days[static_cast<size_t>(day - 1)] : none;
}

std::string stepAfterDay(int day)
{
    if (day == 30)
        return "CheckLvFinal";
    if (day == 31)
        return "CheckLvEnd";
    return "CheckLv" + std::to_string(day + 1);
}

const Board& boardAfterDay(int day)
{
    // What each day's closing step lists on its board.
    static const Board none{{}, {}, {}, true, true, true};
    static const std::vector<Board> boards = {
        {{"Mud", "Sand"}, {"Sun", "Zoom"}, {}, false, false, true},
        {{}, {"Weather"}, {}, true, false, false},
        {{"Steam", "Electro"}, {"Temperature"}, {}},
        {{}, {"Hot"}, {}, true, false, false},
        {{"Seed", "Fire", "Oil"}, {"Miner"}, {}},
        {{"Metal", "Wood", "Lava"}, {}, {}, false, true, false},
        {{"Bulb"}, {"Line", "Light"}, {"LightShow"}},
        {{"Power"}, {}, {}, false, true, false},
        {{"Heater", "Bright"}, {}, {}, false, true, false},
        {{"Cooler", "Ice"}, {}, {"Polar"}, false, true, false},
        {{}, {"VeryHot"}, {"WaterCycle"}, true, false, false},
        {{"Glass", "Snow"}, {"Cold"}, {}},
        {{"Acid"}, {}, {}, false, true, false},
        {{"Multi"}, {"Fill"}, {}},
        {{}, {"VeryCold"}, {}, true, false, true},
        {{"Wall"}, {}, {"LightShow"}, false, true, false},
        {{"Virus", "Void"}, {"Background"}, {}, false, false, true},
        {{"Wax", "AVirus"}, {}, {}, false, true, true},
        none,
        {{"Gas"}, {"Replace"}, {}, false, false, true},
        none,
        none,
        none,
        none,
        {{"Note"}, {}, {}, false, true, true},
        {{"Note"}, {}, {}, false, true, true},
        none,
        {{"SeedBaobab", "SeedBonsai", "SeedCedar"}, {}, {"NightSky"}, false, true, false},
        none,
        none,
        none,
    };
    return day >= 1 && day <= static_cast<int>(boards.size()) ? boards[static_cast<size_t>(day - 1)] : none;
}

// --- the fixture ----------------------------------------------------------------------

void StoryPlayer::SetUp()
{
    GameScene::SetUp();
    ASSERT_TRUE(platform::CloudStorage::setRoot(m_cloud.file("cloud")));
    m_previousSaveFolder = saveFolder;
    saveFolder = m_cloud.file("save");
    mkdir(saveFolder.c_str(), 0700);
    mkdir((saveFolder + "/user").c_str(), 0700);
    platform::seedGameRand(playSeed());
    platform::setManualGameTime(m_clockBase);
    MainMenu::resetInstanceForTests();
    ScreenUtils::getInstance()->setBusy(false);
}

void StoryPlayer::TearDown()
{
    ScreenUtils::getInstance()->setBusy(false);
    MainMenu::resetInstanceForTests();
    AchievementManager::resetInstanceForTests();
    platform::clearManualGameTime();
    saveFolder = m_previousSaveFolder;
    platform::CloudStorage::clearRoot();
    GameScene::TearDown();
}

void StoryPlayer::run(int steps)
{
    for (int i = 0; i < steps; ++i) {
        stepFrames(1, kStep);
        ++m_stepsRun;
        platform::setManualGameTime(m_clockBase + m_stepsRun / 30);
    }
}

void StoryPlayer::click(CCNode* button, int after)
{
    ASSERT_NE(button, nullptr);
    // A player presses what a window shows once it shows it.
    for (CCNode* node = button; node; node = node->getParent())
        if (auto* window = dynamic_cast<GUIWindow*>(node)) {
            ASSERT_TRUE(runUntil([&] { return window->takesPresses(); }, 60)) << m_where << ": a window came up";
            break;
        }
    const CCSize size = button->getContentSize();
    const CCPoint at = button->convertToWorldSpace(ccp(size.width / 2, size.height / 2));
    press(at.x, at.y);
    run(1);
    release(at.x, at.y);
    run(after);
}

std::string StoryPlayer::loadedWorld()
{
    CCString* name = layer->getLoadedWorldName();
    return name ? name->getString() : std::string();
}

std::string StoryPlayer::screenState()
{
    std::ostringstream out;
    GUIWindow* window = ScreenUtils::getInstance()->getCurrentWindow();
    CCScene* running = CCDirector::sharedDirector()->getRunningScene();
    out << "window " << (window ? typeid(*window).name() : "none") << (window && window->isVisible() ? " shown" : "")
        << ", top bar " << (GUITopBar::getInstance()->isLocked() ? "locked" : "free") << ", HUD state "
        << layer->getGUI()->getState() << ", game scene " << (layer->getParent() == running ? "running" : "not running")
        << ", open missions " << openMissionList();
    return out.str();
}

std::string StoryPlayer::openMissionList()
{
    std::string out;
    for (const auto& [name, briefing] : AchievementManager::getInstance()->activeMissions())
        out += (out.empty() ? "" : "; ") + name;
    return out.empty() ? "(none)" : out;
}

void StoryPlayer::startStoryFromMenu()
{
    CCDirector::sharedDirector()->runWithScene(MainMenu::scene());
    run(2);
    click(MainMenu::getInstance()->getStoryButton());
    const bool inGame = runUntil(
        [&] { return layer->getParent() && layer->getParent() == CCDirector::sharedDirector()->getRunningScene(); },
        120);
    ASSERT_TRUE(inGame) << "the story button did not bring the game scene";
    GUIIngameMessage* message = GUIIngameMessage::getInstance();
    if (Profile::getInstance()->getDay() == 1) {
        ASSERT_TRUE(runUntil([&] { return message->isShowing() && message->getPageButton(); }, 60))
            << "no introduction at day 1";
        for (int page = 1; page <= 5; ++page) {
            ASSERT_TRUE(runUntil([&] { return message->getPageButton() != nullptr; }, 30)) << "page " << page;
            ASSERT_EQ(message->getPageIndex(), page) << "the introduction's page";
            click(message->getPageButton());
        }
    }
    GUIAchievement* goals = layer->getAchievementWindow();
    ASSERT_NE(goals, nullptr);
    ASSERT_TRUE(runUntil([&] { return goals->getBoardKind() == GUIAchievement::kTodayGoals; }, 90))
        << "today's goals did not open";
    run(15);
    click(GUITopBar::getInstance()->getDayButton());
    ASSERT_TRUE(runUntil([&] { return goals->getState() == GUIWindow::Closed; }, 60)) << "today's goals stay open";
    m_dayStart = m_stepsRun;
}

void StoryPlayer::startCampaignLevel(int mode, int level)
{
    m_mode = mode;
    // A level starts as in a fresh run: no notes heard, no Music latch or count.
    Note::resetLastPlayed();
    musicPoweredLatch() = 0;
    musicHoldCount() = 0;
    Profile* profile = Profile::getInstance();
    profile->setGameMode(mode);
    profile->setDay(level);
    SaveLoadUtils::setFreePlay(false);
    ParticleCreator::resetElementsCreated();
    world->setBigWorld(false);
    world->reset();
    world->lightMap.setLightOn(true);
    world->lightMap.setSunOn(true);
    GUITopBar* bar = GUITopBar::getInstance();
    bar->buildCampaignBar();
    bar->resetButtons();
    bar->setLocked(false);
    bar->updateBadges();
    AchievementManager* goals = AchievementManager::getInstance();
    goals->startDay(level);
    goals->loadDay(level);
    // Started again in the same fixture, the game scene replaces itself.
    CCDirector* director = CCDirector::sharedDirector();
    if (director->getRunningScene())
        director->replaceScene(GameLayer::scene());
    else
        director->runWithScene(GameLayer::scene());
    ASSERT_TRUE(runUntil([&] { return layer->getParent() == CCDirector::sharedDirector()->getRunningScene(); }, 60))
        << "the game scene did not come in";
    // The story's first day opens with its introduction: read through it.
    GUIIngameMessage* message = GUIIngameMessage::getInstance();
    for (int page = 1; mode == 0 && level == 1 && page <= 5; ++page) {
        ASSERT_TRUE(runUntil([&] { return message->isShowing() && message->getPageButton(); }, 60))
            << "page " << page << " of the introduction";
        click(message->getPageButton());
    }
    GUIAchievement* window = layer->getAchievementWindow();
    ASSERT_NE(window, nullptr);
    if (runUntil([&] { return window->getBoardKind() == GUIAchievement::kTodayGoals; }, 60)) {
        run(15);
        click(GUITopBar::getInstance()->getDayButton());
        ASSERT_TRUE(runUntil([&] { return window->getState() == GUIWindow::Closed; }, 60)) << "today's goals stay open";
    }
    m_dayStart = m_stepsRun;
}

void StoryPlayer::takeDayMissions(int day)
{
    AchievementManager::resetInstanceForTests();
    AchievementManager* goals = AchievementManager::getInstance();
    for (const char* name : missionsOfDay(day)) {
        AchievementBase* mission = makeStoryMission(name);
        ASSERT_NE(mission, nullptr) << name;
        goals->addMission(mission);
    }
    if (day == 2)
        goalsUi().setStoryLevel2Flag();
}

void StoryPlayer::playDay(int day, int& steps)
{
    const std::string worldName = dayWorld(day, m_mode);
    SCOPED_TRACE(worldName);
    levelscript::Level level;
    std::string error;
    ASSERT_TRUE(levelscript::readLevel(levelPath(day, m_mode), knownElement, level, error)) << error;
    ASSERT_EQ(Profile::getInstance()->getDay(), day);
    EXPECT_EQ(loadedWorld(), worldName) << "the day's world is not the one loaded";
    CCString* universe = layer->getUniverseName();
    EXPECT_EQ(universe ? universe->getString() : std::string(), levelTitle(m_mode, day, false))
        << "the world's name, as the world menu shows it";
    std::vector<std::string> offered = layer->getGUI()->paletteNames();
    std::set<std::string> palette(offered.begin(), offered.end());
    palette.erase("Clear");
    EXPECT_EQ(joined(palette), joined(paletteOf(worldName))) << worldName << ": the palette is not its day's set";
    std::set<std::string> missing;
    // Campaign levels offer their own lists, not the story's growing set.
    for (const std::string& e : m_mode == 0 ? cumulativeElements(day) : std::set<std::string>())
        if (!palette.count(e))
            missing.insert(e);
    EXPECT_TRUE(missing.empty()) << worldName << ": the palette lacks " << joined(missing);

    AchievementManager* goals = AchievementManager::getInstance();
    ASSERT_GT(goals->activeCount(), 0) << worldName << " has no mission";
    for (AchievementBase* m = goals->firstActive(); m; m = m->next)
        EXPECT_FALSE(m->isAccomplished())
            << worldName << ": " << m->getName()->getString() << " passes at load (made so far: " << madeSoFar() << ")";

    const int64_t before = m_stepsRun;
    for (const levelscript::Action& action : level.script) {
        act(day, action);
        if (::testing::Test::HasFatalFailure())
            return;
    }
    const int used = static_cast<int>(m_stepsRun - before);
    steps += used;
    EXPECT_EQ(goals->activeCount(), 0) << worldName << ": the script ended with missions open: " << openMissionList();
    if (level.header.bound > 0) {
        EXPECT_LE(used, level.header.bound) << worldName << " used more steps than its bound";
    }
}

void StoryPlayer::act(int day, const levelscript::Action& a)
{
    using levelscript::ActionKind;
    m_where = dayWorld(day, m_mode) + ".level:" + std::to_string(a.line);
    switch (a.kind) {
    case ActionKind::Paint:
    case ActionKind::Stroke:
    case ActionKind::Line:
        pickTool(a.kind == ActionKind::Line ? "Line" : "Draw");
        pickElement(a.element);
        pickBrush(a.radius + 1);
        if (::testing::Test::HasFatalFailure())
            return;
        if (a.kind == ActionKind::Paint)
            touchCell(a.at[0], a.at[1]);
        else
            strokeCells(a.at);
        break;
    case ActionKind::Rect:
    case ActionKind::Picture: paintPicture(a); break;
    case ActionKind::Erase:
    case ActionKind::Tap:
        // A tap is a touch that places nothing: the eraser over an empty cell.
        pickTool("Draw");
        pickEraser();
        pickBrush(a.kind == ActionKind::Erase ? a.radius + 1 : 1);
        if (!::testing::Test::HasFatalFailure())
            touchCell(a.at[0], a.at[1]);
        break;
    case ActionKind::Miner:
        pickTool("Miner");
        if (!::testing::Test::HasFatalFailure())
            touchCell(a.at[0], a.at[1]);
        break;
    case ActionKind::Fill:
    case ActionKind::Replace:
        pickTool(a.kind == ActionKind::Fill ? "Fill" : "Replace");
        pickElement(a.element);
        if (!::testing::Test::HasFatalFailure())
            touchCell(a.at[0], a.at[1]);
        break;
    case ActionKind::Element: pickElement(a.element); break;
    case ActionKind::Tool: pickTool(a.name); break;
    case ActionKind::Brush: pickBrush(a.count); break;
    case ActionKind::Eraser: pickEraser(); break;
    case ActionKind::Touch: touchCell(a.at[0], a.at[1], a.count); break;
    case ActionKind::Drag: strokeCells(a.at); break;
    case ActionKind::Save: saveWorld(day); break;
    case ActionKind::Reset:
        tapWorldMenu("NewWorldBut");
        // A world with unsaved changes asks first: the player goes on.
        // A player reads it before answering: a box answers no earlier press.
        if (runUntil(
                [&] {
                    GUIPopup* popup = GUIPopup::getInstance();
                    return popup->isShown() && popup->getOkButton() && popup->takesPresses();
                },
                30))
            tapButton(GUIPopup::getInstance()->getOkButton(), "the new world's question");
        run(kSettleSteps);
        break;
    case ActionKind::Load: loadLastSaved(); break;
    case ActionKind::ZoomIn:
        // The zoom button, then a touch where to magnify.
        if (!layer->getZoomedOut())
            magnifyAt(400, 300);
        EXPECT_TRUE(layer->getZoomedOut()) << m_where << ": the view is not magnified";
        break;
    case ActionKind::ZoomOut:
        // Back from the magnified view; without one there is nothing to leave.
        if (layer->getZoomedOut()) {
            tapButton(GUITopBar::getInstance()->getZoomButton(), "the zoom");
            run(10);
        }
        EXPECT_FALSE(layer->getZoomedOut()) << m_where << ": the view stays magnified";
        break;
    case ActionKind::Option: setSwitch(a.name, a.on); break;
    case ActionKind::Temperature: setTemperature(a.name); break;
    case ActionKind::Step: run(a.count); break;
    case ActionKind::Key: {
        // Held on the keyboard as a pilot holds them, then let go.
        CCEGLView* view = CCEGLView::sharedOpenGLView();
        auto hold = [&](bool down) {
            for (const std::string& k : a.keys)
                view->setKeyDown(k == "left" ? kCCKeyLeft : k == "right" ? kCCKeyRight : kCCKeySpace, down);
        };
        hold(true);
        run(a.count);
        hold(false);
        break;
    }
    case ActionKind::Until: {
        AchievementManager* goals = AchievementManager::getInstance();
        const bool done = runUntil([&] { return goals->activeCount() == 0; }, a.count);
        EXPECT_TRUE(done) << m_where << ": after " << a.count << " steps missions still open: " << openMissionList()
                          << worldPicture();
        break;
    }
    case ActionKind::Human:
    case ActionKind::Robot: placeCreature(a); break;
    case ActionKind::Note: tuneInstrument(a); break;
    case ActionKind::Play:
        for (size_t i = 0; i + 1 < a.at.size(); i += 2) {
            playInstrument(a.at[i], a.at[i + 1]);
            if (::testing::Test::HasFatalFailure())
                return;
        }
        break;
    }
}

void StoryPlayer::leaveUntouched(int steps)
{
    const int64_t until = m_stepsRun + steps;
    AchievementManager* goals = AchievementManager::getInstance();
    const int open = goals->activeCount();
    ASSERT_GT(open, 0) << loadedWorld() << " has no mission";
    const int completed = goals->completedCount();
    const bool fromStart = m_stepsRun == m_dayStart;
    const std::vector<StandingCell> standing = fromStart ? standingCells(*world) : std::vector<StandingCell>();
    const std::vector<MissionPatternRecord> lights = lightCells(m_mode, Profile::getInstance()->getDay(), *world);
    // Virus the day starts with stays where its walls keep it.
    const std::vector<std::pair<int, int>> air =
        fromStart && countOf("Virus") > 0 ? openAir(*world) : std::vector<std::pair<int, int>>();
    while (m_stepsRun < until) {
        run(1);
        std::string passed;
        for (AchievementBase* m = goals->firstActive(); m; m = m->next)
            if (m->rewardPending)
                passed += m->getName()->getString() + " ";
        ASSERT_TRUE(passed.empty() && goals->activeCount() == open && goals->completedCount() == completed)
            << loadedWorld() << ": untouched, a mission passed at step " << m_stepsRun << ": " << passed
            << worldPicture();
        // What the player is asked to light stays dark, even where the
        // mission also wants more.
        for (size_t i = 0; i < lights.size(); i += 2)
            ASSERT_FALSE(patternAllLedsLit(&lights[i]) || patternAllBulbsLit(&lights[i]))
                << loadedWorld() << ": untouched, the " << ParticleCreator::getName(lights[i].type) << " at ("
                << lights[i].x << ", " << lights[i].y << ") of a mission's table lit at step " << m_stepsRun
                << worldPicture();
        for (const auto& [x, y] : air)
            if (typeAt(x, y) == hashString("Virus"))
                FAIL() << loadedWorld() << ": untouched, virus got out into the open air at (" << x << ", " << y
                       << ") at step " << m_stepsRun << worldPicture();
        if (fromStart && m_stepsRun == m_dayStart + kStandingSteps) {
            EXPECT_EQ(movedStanding(*world, standing), "")
                << loadedWorld() << ": its ground or a structure fell or slid in its first two seconds"
                << worldPicture();
        }
    }
}

void StoryPlayer::finishDay(int day)
{
    SCOPED_TRACE("after Day" + std::to_string(day));
    Profile* profile = Profile::getInstance();
    GUIAchievement* goals = layer->getAchievementWindow();
    ASSERT_NE(goals, nullptr);
    click(GUITopBar::getInstance()->getDayButton());
    ASSERT_TRUE(runUntil([&] { return goals->getBoardKind() == GUIAchievement::kDayCleared; }, 30))
        << "Day" << day << ": the day button did not bring the day-cleared board (" << screenState() << ")";
    const std::string step = stepAfterDay(day);
    const Board& board = boardAfterDay(day);
    // The board shows the mana only when it is paid: on a new best day.
    const bool newBest = day + 1 > profile->getBestDay(0);
    CCArray* mana = CCArray::create();
    mana->addObject(CCInteger::create(getMissionReward(step)));
    std::vector<std::string> lines{levelTitle(0, day, true)};
    for (const std::string& line :
         goals->buildGoalsList(namesArray(board.elements, board.noElements), namesArray(board.options, board.noOptions),
                               namesArray(board.backgrounds, board.noBackgrounds), newBest ? mana : nullptr))
        lines.push_back(line);
    EXPECT_EQ(goals->getLines(), lines) << "Day" << day << ": the board is not " << step << "'s";
    run(20);

    const int64_t manaBefore = static_cast<int64_t>(profile->getMana()) + profile->getPendingMana();
    click(goals->getNextButton());
    const int64_t manaAfter = static_cast<int64_t>(profile->getMana()) + profile->getPendingMana();
    EXPECT_EQ(manaAfter - manaBefore, newBest ? getMissionReward(step) : 0)
        << "Day" << day + 1 << ": the mana of a new day is paid once";
    EXPECT_EQ(profile->getDay(), day + 1);

    GUIIngameMessage* message = GUIIngameMessage::getInstance();
    const int next = day + 1;
    if (next >= 2 && next <= 4) {
        ASSERT_TRUE(runUntil([&] { return message->isShowing() && message->getPageButton(); }, 30))
            << "no reminder for day " << next;
        click(message->getPageButton());
    } else if (next == 8) {
        ASSERT_TRUE(runUntil([&] { return message->isShowing() && message->isChoicePage(); }, 30))
            << "no free-mode message on day 8";
        click(message->getStoryModeChoiceButton());
        EXPECT_FALSE(SaveLoadUtils::isFreePlay()) << "the answer \"story\" keeps the story";
    } else if (next == 31) {
        ASSERT_TRUE(runUntil([&] { return message->isShowing() && message->getPageButton(); }, 30))
            << "no outro after day 30";
        Profile disk;
        ASSERT_TRUE(disk.loadFromFile(ProfileFile::kFileName));
        EXPECT_EQ(disk.getCompletionFlag(CampaignIndex::Story), 1) << "the story-finished flag on disk";
        EXPECT_EQ(loadedWorld(), "Day31");
        click(message->getPageButton());
        EXPECT_TRUE(runUntil([&] { return layer->getParent() != CCDirector::sharedDirector()->getRunningScene(); }, 60))
            << "the outro's OK did not leave the game scene";
        return;
    } else {
        EXPECT_FALSE(message->isShowing()) << "a message page on day " << next;
    }
    ASSERT_TRUE(runUntil([&] { return !message->isShowing(); }, 60)) << "the message page stays";
    run(5);
    // A page closed back to the game opens today's goals: read, then closed.
    if (goals->getBoardKind() == GUIAchievement::kTodayGoals) {
        run(15);
        click(GUITopBar::getInstance()->getDayButton());
        ASSERT_TRUE(runUntil([&] { return goals->getState() == GUIWindow::Closed; }, 60)) << "today's goals stay open";
    }
    EXPECT_FALSE(GUITopBar::getInstance()->isLocked()) << "Day" << next << " starts with the top bar locked";
    GUIWindow* window = ScreenUtils::getInstance()->getCurrentWindow();
    EXPECT_FALSE(window && window->isVisible())
        << "Day" << next << " starts under a window (" << (window ? typeid(*window).name() : "")
        << "): the world stands still";
}

}  // namespace storyplay
