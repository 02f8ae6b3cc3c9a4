#include "LevelBuilder.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

#include "base/Logger.h"
#include "base/NSData.h"
#include "campaigns/Campaigns.h"
#include "elements/creatures/CreatureKinds.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/Robots.h"
#include "elements/materials/Instruments.h"
#include "platform/GameClock.h"
#include "platform/GameRandom.h"
#include "world/ColorTables.h"
#include "world/GameServices.h"
#include "world/ParticleCreator.h"
#include "world/World.h"
#include "world/WorldHost.h"

using namespace levelscript;

namespace levelgen {

namespace {

// Every build starts at the same moment: nothing in a world may depend on
// when it was generated.
constexpr int64_t kBuildTime = 1700000000;

void prepareGame()
{
    static bool ready = false;
    if (ready)
        return;
    // The game's log is not the build's.
    Logger::setMuted(true);
    cocos2d::CCEGLView::setRunMode(cocos2d::kCCRunModeHeadless);
    initColorsAndShadows();
    registerAllElements();
    ready = true;
}

// The behaviour a job is saved as: a loaded human takes its job from it.
uint32_t jobAction(const std::string& job)
{
    static const std::pair<const char*, uint32_t> actions[] = {
        {"hunter", ActionType::SearchFood},  {"woodchopper", ActionType::SearchWood},
        {"miner", ActionType::SearchStone},  {"builder", ActionType::SearchBuildSpace},
        {"zombie", ActionType::SearchHuman}, {"spaceman", ActionType::SearchAluminite},
        {"safari", ActionType::SafariWalk},
    };
    for (const auto& [name, action] : actions)
        if (job == name)
            return action;
    return ActionType::Walk;
}

// How a fault of the level begins: "<file>:<line>: ", or "<file>: " for the
// level as a whole.
std::string faultPrefix(const Level& level, int line = 0)
{
    std::string text = level.file.substr(level.file.find_last_of('/') + 1);
    if (line > 0) {
        text += ':';
        text += std::to_string(line);
    }
    text += ": ";
    return text;
}

std::string cellText(int x, int y)
{
    // Appended piece by piece: GCC's restrict warning misreads "(" + string.
    std::string text = "(";
    text += std::to_string(x);
    text += ", ";
    text += std::to_string(y);
    text += ")";
    return text;
}

}  // namespace

const std::vector<CreatureLimit>& creatureLimits()
{
    static const std::vector<CreatureLimit> limits = {
        {"humans", {CreatureKind::HumanLeader}, 6},
        {"robots", {CreatureKind::RobotLeader}, 4},
        {"lions", {CreatureKind::LionLeader}, 3},
        {"vehicles",
         {CreatureKind::MPLeaderCar, CreatureKind::MPLeaderTank, CreatureKind::MPLeaderTruck, CreatureKind::MPLander},
         3},
        {"sports cars", {CreatureKind::MPSportCar}, 4},
        {"flamingos", {CreatureKind::Flamingo}, 19},
    };
    return limits;
}

// The header of the world being built (or loaded): what the game layer, the
// HUD and the colony would answer.
struct LevelBuilder::Host : WorldHost {
    LoadedHeader header;

    int32_t temperatureLevel() override { return header.ambient; }
    void refreshTemperature(int32_t level) override { header.ambient = level; }

    void install()
    {
        setWorldHost(this);
        GameServices& s = gameServices();
        s.universeName = [this] { return header.name; };
        s.setUniverseName = [this](const std::string& n) { header.name = n; };
        s.universeDescription = [this] { return header.description; };
        s.setUniverseDescription = [this](const std::string& d) { header.description = d; };
        s.backgroundName = [this] { return header.background; };
        s.backgroundOn = [this] { return header.backgroundShown; };
        s.changeBackground = [this](const std::string& name, bool) { header.background = name; };
        s.toggleBackground = [this] { return header.backgroundShown = !header.backgroundShown; };
        s.resetBackground = [this] {
            header.background = "peaceful.png";
            header.backgroundShown = true;
        };
        s.getResource = [this](const std::string& n) {
            auto it = header.resources.find(n);
            return it == header.resources.end() ? 0 : it->second;
        };
        s.replaceResourceStore = [this] { header.resources.clear(); };
        s.addResource = [this](const std::string& n, int32_t v) { header.resources[n] += v; };
        // Without a HUD the switches flip the world's own flags.
        s.applyTemperature = [](World& w) { w.temperatureField.setViewOn(!w.temperatureField.isViewOn()); };
        s.applyLight = [](World& w) { w.lightMap.setLightOn(!w.lightMap.isLightOn()); };
        s.applySun = [](World& w) { w.lightMap.setSunOn(!w.lightMap.isSunOn()); };
        s.applyWeather = [](World& w) { w.weather = !w.weather; };
    }
};

LevelBuilder::LevelBuilder() : host_(std::make_unique<Host>())
{
    prepareGame();
    host_->install();
}

LevelBuilder::~LevelBuilder()
{
    world_.reset();
    gWorld = nullptr;
    gameServices() = GameServices{};
    setWorldHost(nullptr);
    platform::clearManualGameTime();
}

bool LevelBuilder::knownElement(std::string_view name)
{
    prepareGame();
    const uint32_t id = hashString(name);
    return ParticleCreator::isAccepted(id) && ParticleCreator::isBuilt(id);
}

void LevelBuilder::freshWorld()
{
    world_.reset();
    gWorld = nullptr;
    platform::setManualGameTime(kBuildTime);
    stepsRun_ = 0;
    ParticleCreator::resetElementsCreated();
    world_ = std::make_unique<World>();
    gWorld = world_.get();
    world_->setBigWorld(false);
    world_->reset();
}

World& LevelBuilder::world()
{
    return *world_;
}

const LoadedHeader& LevelBuilder::loadedHeader() const
{
    return host_->header;
}

void LevelBuilder::put(int x, int y, uint32_t type)
{
    World& w = *world_;
    if (Particle* p = w.at(x, y)) {
        if (p->id < 0)
            return;  // the border ring stays the border
        w.removeParticle(x, y);
    }
    w.addParticle(x, y, type, false);
}

std::string LevelBuilder::overLimit() const
{
    const World& w = *world_;
    for (const CreatureLimit& l : creatureLimits()) {
        size_t count = 0;
        for (int x = 0; x < w.width; ++x)
            for (int y = 0; y < w.height; ++y)
                if (const Particle* p = w.grid[x][y];
                    p && std::find(l.leaders.begin(), l.leaders.end(), p->getType()) != l.leaders.end())
                    ++count;
        if (count > l.limit)
            return std::to_string(count) + " " + l.what + ", more than " + std::to_string(l.limit);
    }
    return {};
}

std::string LevelBuilder::unbuiltCreature() const
{
    const World& w = *world_;
    for (int x = 0; x < w.width; ++x)
        for (int y = 0; y < w.height; ++y) {
            const auto* leader = dynamic_cast<const MPLeaderBase*>(w.grid[x][y]);
            if (!leader)
                continue;
            const auto* human = dynamic_cast<const HumanLeader*>(leader);
            const MPObject* g = leader->group;
            if (human ? !human->hasWholeBody() : (!g || g->broken))
                return "the " + ParticleCreator::getName(leader->getType()) + " at " + cellText(x, y);
        }
    return {};
}

bool LevelBuilder::placeCreature(const Command& c, const std::string& where, std::string& error)
{
    World& w = *world_;
    const int x = c.at[0], y = c.at[1];
    // The body stands on the leader: two columns, six rows.
    for (int dx = 0; dx < HumanLeader::kBodyWidth; ++dx)
        for (int dy = 0; dy < HumanLeader::kBodyHeight; ++dy) {
            const Particle* p = w.at(x + dx, y + dy);
            if (p && (p->id < 0 || dx != 0 || dy != 0)) {
                error = where + "no room for the body at " + cellText(x + dx, y + dy) + ", which holds " +
                    (p->id < 0 ? std::string("the border") : ParticleCreator::getName(p->getType()));
                return false;
            }
        }
    const bool human = c.kind == CommandKind::Human;
    put(x, y, human ? CreatureKind::HumanLeader : CreatureKind::RobotLeader);
    auto* leader = dynamic_cast<HumanLeader*>(w.at(x, y));
    if (!leader || leader->overLimit) {
        error = where + "the world took no more " + (human ? "humans" : "robots");
        return false;
    }
    if (human)
        leader->setAction(jobAction(c.job));
    else
        leader->setAction(c.job == "hunter" ? ActionType::RobotSearchHuman : ActionType::RobotGuardSpot);
    leader->facing_ = c.facing;
    return true;
}

std::vector<Cell> rowEnds(MissionPattern table)
{
    std::set<Cell> cells;
    for (MissionPattern r = table; r && (r->end & 0xff) == 0; ++r)
        cells.insert({r->x, r->y});
    std::set<Cell> ends;
    for (const Cell& at : cells)
        for (const Cell n : {Cell{at.x - 1, at.y}, Cell{at.x + 1, at.y}})
            if (!cells.count(n))
                ends.insert(n);
    return {ends.begin(), ends.end()};
}

void LevelBuilder::clear(int x, int y)
{
    if (Particle* p = world_->at(x, y); p && p->id >= 0)
        world_->removeParticle(x, y);
}

bool LevelBuilder::apply(const Command& c, const Level& level, std::vector<Cell>& marks, std::vector<GuideCell>& guides,
                         std::string& error)
{
    const std::string where = faultPrefix(level, c.line);
    auto fault = [&](const std::string& message) {
        error = where + message;
        return false;
    };
    const uint32_t type = c.element.empty() ? 0 : hashString(c.element);
    auto brush = [&](int cx, int cy, int r) {
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx)
                if (dx * dx + dy * dy <= r * r)
                    put(cx + dx, cy + dy, type);
    };
    switch (c.kind) {
    case CommandKind::Fill:
    case CommandKind::Clear:
    case CommandKind::Mark: {
        const int x0 = std::min(c.at[0], c.at[2]), x1 = std::max(c.at[0], c.at[2]);
        const int y0 = std::min(c.at[1], c.at[3]), y1 = std::max(c.at[1], c.at[3]);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                if (c.kind == CommandKind::Fill)
                    put(x, y, type);
                else if (c.kind == CommandKind::Clear)
                    clear(x, y);
                else
                    marks.push_back({x, y});
            }
        return true;
    }
    case CommandKind::Line: {
        forLineCells(c.at[0], c.at[1], c.at[2], c.at[3], [&](int32_t x, int32_t y) { brush(x, y, c.radius); });
        return true;
    }
    case CommandKind::Disc: brush(c.at[0], c.at[1], c.radius); return true;
    case CommandKind::Cell: {
        Particle* p = world_->at(c.at[0], c.at[1]);
        if (p && p->id < 0)
            return fault("cell (" + std::to_string(c.at[0]) + ", " + std::to_string(c.at[1]) +
                         ") is the world's border");
        put(c.at[0], c.at[1], type);
        p = world_->at(c.at[0], c.at[1]);
        if (!p || p->getType() != type)
            return fault("the world did not take " + c.element + " at (" + std::to_string(c.at[0]) + ", " +
                         std::to_string(c.at[1]) + ")");
        return true;
    }
    case CommandKind::Stamp:
        for (size_t r = 0; r < c.rows.size(); ++r)
            for (size_t i = 0; i < c.rows[r].size(); ++i) {
                const char ch = c.rows[r][i];
                if (ch == '.' || ch == ' ' || ch == '\t')
                    continue;
                const std::string& name = c.legend.at(ch);
                const int x = c.at[0] + static_cast<int>(i), y = c.at[1] - static_cast<int>(r);
                if (name.empty())
                    clear(x, y);
                else
                    put(x, y, hashString(name));
            }
        return true;
    case CommandKind::Table: {
        MissionPattern table = missionTable(c.mission.c_str(), c.letter);
        if (!table)
            return fault("no table " + c.mission + " " + c.letter);
        if (c.mode == TableMode::Frame) {
            std::set<Cell> cells;
            for (MissionPattern r = table; (r->end & 0xff) == 0; ++r)
                cells.insert({r->x, r->y});
            // Beside and below: a grain falls into a free cell below, and
            // slides into one beside once something rests on it.
            for (const Cell& at : cells)
                for (const Cell n : {Cell{at.x - 1, at.y}, Cell{at.x + 1, at.y}, Cell{at.x, at.y - 1}})
                    if (!cells.count(n) && world_->inWorld(n.x, n.y))
                        put(n.x, n.y, type);
            return true;
        }
        if (c.mode == TableMode::Ends) {
            const std::vector<Cell> ends = rowEnds(table);
            marks.insert(marks.end(), ends.begin(), ends.end());
            return true;
        }
        for (MissionPattern r = table; (r->end & 0xff) == 0; ++r) {
            if (c.mode == TableMode::Fill)
                put(r->x, r->y, c.element.empty() ? r->type : type);
            else if (c.mode == TableMode::Empty)
                clear(r->x, r->y);
            else if (c.mode == TableMode::Mark)
                marks.push_back({r->x, r->y});
            else
                guides.push_back({{r->x, r->y}, c.mode == TableMode::Guide ? r->type : 0u});
        }
        return true;
    }
    case CommandKind::Tune: {
        Particle* p = world_->at(c.at[0], c.at[1]);
        auto* instrument = p && p->id >= 0 ? dynamic_cast<Instrument*>(p) : nullptr;
        if (!instrument)
            return fault("no instrument at (" + std::to_string(c.at[0]) + ", " + std::to_string(c.at[1]) + ") to tune");
        instrument->note = instrument->chosenNote = noteIndex(c.note);
        instrument->octave = instrument->chosenOctave = c.count;
        return true;
    }
    case CommandKind::Step:
        for (int i = 0; i < c.count; ++i)
            stepWorld();
        return true;
    case CommandKind::Human:
    case CommandKind::Robot: return placeCreature(c, where, error);
    case CommandKind::Built:
        for (int i = 0; i < c.count && !unbuiltCreature().empty(); ++i)
            stepWorld();
        if (const std::string unbuilt = unbuiltCreature(); !unbuilt.empty())
            return fault("after " + std::to_string(c.count) + " steps " + unbuilt + " has no whole body");
        return true;
    }
    return true;
}

void LevelBuilder::stepWorld()
{
    // The game's clock moves a second every 30 steps, as in play.
    world_->step();
    if (++stepsRun_ % 30 == 0)
        platform::advanceManualGameTime(1);
}

bool LevelBuilder::applyAll(const std::vector<Command>& commands, const Level& level, std::vector<Cell>& marks,
                            std::vector<GuideCell>& guides, std::string& error)
{
    for (const Command& c : commands) {
        if (!apply(c, level, marks, guides, error))
            return false;
        if (const std::string over = overLimit(); !over.empty()) {
            error = faultPrefix(level, c.line) + over;
            return false;
        }
    }
    // A world is saved with its creatures whole: a loaded body cell finds
    // its leader only then.
    if (const std::string unbuilt = unbuiltCreature(); !unbuilt.empty()) {
        error =
            faultPrefix(level) + unbuilt + " has no whole body when the world is saved ('built' steps until it has)";
        return false;
    }
    return true;
}

std::vector<uint8_t> LevelBuilder::save()
{
    NSData* data = world_->save();
    std::vector<uint8_t> bytes(data->bytes, data->bytes + data->length);
    cocos2d::CCPoolManager::sharedPoolManager()->drain();
    return bytes;
}

bool LevelBuilder::build(const Level& level, BuiltLevel& out, std::string& error)
{
    out = BuiltLevel{};
    const Header& h = level.header;
    freshWorld();
    platform::seedGameRand(h.seed);

    // The ambient level counts while building too (melting, freezing).
    LoadedHeader& header = host_->header;
    header = LoadedHeader{};
    header.name = h.world;
    header.background = h.background + ".png";
    header.backgroundShown = true;
    header.ambient = h.ambient;
    header.resources = {{"Food", h.food}, {"Stone", h.stone}, {"Wood", h.wood}};

    World& w = *world_;
    // The flag itself: the HUD's switch would play its sound.
    w.weather = h.weather;
    w.lightMap.setLightOn(h.light);
    w.lightMap.setSunOn(h.sun);
    w.temperatureField.setViewOn(h.temperature);

    std::vector<Cell> marks;
    if (!applyAll(level.build, level, marks, out.guides, error))
        return false;
    std::sort(marks.begin(), marks.end());
    marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
    out.marks = marks;

    std::string lower = h.world;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char ch) { return std::tolower(ch); });
    const std::string guide = h.guide.empty() ? lower : h.guide;
    out.backgroundFile = (marks.empty() && out.guides.empty() ? h.background : guide) + ".png";

    header.background = out.backgroundFile;
    out.prepared = save();
    return true;
}

bool LevelBuilder::load(const std::vector<uint8_t>& blob)
{
    freshWorld();
    host_->header = LoadedHeader{};
    const bool loaded = world_->loadBytes(blob.data(), blob.size());
    cocos2d::CCPoolManager::sharedPoolManager()->drain();
    return loaded;
}

std::vector<uint8_t> LevelBuilder::saveAgain()
{
    return save();
}

}  // namespace levelgen
