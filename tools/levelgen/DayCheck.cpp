#include "DayCheck.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "GuidePicture.h"
#include "elements/creatures/CreatureKinds.h"
#include "campaigns/Campaigns.h"
#include "campaigns/story/StoryMissions.h"
#include "campaigns/story/StorySteps.h"
#include "goals/DayItem.h"
#include "world/Particle.h"
#include "world/ParticleCreator.h"
#include "world/WorldBlob.h"

namespace fs = std::filesystem;
using namespace cocos2d;

namespace levelgen {

namespace {

// The same for campaign levels, by world name.
const struct {
    const char* world;
    std::vector<const char*> elements;
} kCampaignForbidden[] = {
    {"Day5_9", {"Bright"}},
};

std::vector<uint8_t> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> names(CCDictionary* d, const char* key, bool& wrongType)
{
    std::vector<std::string> out;
    CCObject* value = d->objectForKey(key);
    if (!value)
        return out;
    auto* list = dynamic_cast<CCArray*>(value);
    if (!list) {
        wrongType = true;
        return out;
    }
    for (CCObject* o : *list) {
        auto* s = dynamic_cast<CCString*>(o);
        out.push_back(s ? s->getString() : std::string());
    }
    return out;
}

}  // namespace

bool sameRecordsReversed(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, std::string& why)
{
    worldblob::LoadPlan pa, pb;
    if (!worldblob::parseBlob(a.data(), a.size(), pa, why) || !worldblob::parseBlob(b.data(), b.size(), pb, why))
        return false;
    if (a.size() != b.size()) {
        why = std::to_string(a.size()) + " bytes against " + std::to_string(b.size());
        return false;
    }
    if (pa.particles.size() != pb.particles.size() || pa.colours.size() != pb.colours.size()) {
        why = "another number of particles or colours";
        return false;
    }
    // Header, fields and counts: everything before the first record.
    const size_t records = pa.particles.empty() ? a.size() : pa.particles.front().extraOffset - 12;
    if (!std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(records), b.begin())) {
        why = "another header or field";
        return false;
    }
    const size_t n = pa.particles.size();
    for (size_t i = 0; i < n; ++i) {
        const worldblob::ParticleRecord& x = pa.particles[i];
        const worldblob::ParticleRecord& y = pb.particles[n - 1 - i];
        if (x.x != y.x || x.y != y.y || x.type != y.type || x.extraSize != y.extraSize ||
            !std::equal(a.begin() + static_cast<std::ptrdiff_t>(x.extraOffset),
                        a.begin() + static_cast<std::ptrdiff_t>(x.extraOffset + x.extraSize),
                        b.begin() + static_cast<std::ptrdiff_t>(y.extraOffset))) {
            why = "the particle at (" + std::to_string(x.x) + ", " + std::to_string(x.y) + ") changed";
            return false;
        }
    }
    const size_t m = pa.colours.size();
    for (size_t i = 0; i < m; ++i) {
        const worldblob::ColourRecord& x = pa.colours[i];
        const worldblob::ColourRecord& y = pb.colours[m - 1 - i];
        if (x.x != y.x || x.y != y.y || x.colour.r != y.colour.r || x.colour.g != y.colour.g ||
            x.colour.b != y.colour.b || x.colour.a != y.colour.a) {
            why = "the colour at (" + std::to_string(x.x) + ", " + std::to_string(x.y) + ") changed";
            return false;
        }
    }
    return true;
}

int storyDayOf(const std::string& world)
{
    if (world.size() < 4 || world.size() > 5 || world.compare(0, 3, "Day") != 0 || world[3] == '0')
        return 0;
    int day = 0;
    for (size_t i = 3; i < world.size(); ++i) {
        if (world[i] < '0' || world[i] > '9')
            return 0;
        day = day * 10 + (world[i] - '0');
    }
    return day >= 1 && day <= kStoryDays ? day : 0;
}

DayRules storyStart(const std::string& missionsDir)
{
    DayRules start;
    CCDictionary* d =
        CCDictionary::createWithContentsOfFile(fs::absolute(fs::path(missionsDir) / "Day1.plist").string());
    if (!d)
        return start;
    bool wrongType = false;
    start.elements = names(d, "elements", wrongType);
    start.tools = names(d, "tools", wrongType);
    start.options = names(d, "options", wrongType);
    return start;
}

DayRules storyDayRules(int day, const DayRules& start)
{
    DayRules rules = start;
    auto add = [](std::vector<std::string>& list, const char* name) {
        if (name && std::find(list.begin(), list.end(), name) == list.end())
            list.emplace_back(name);
    };
    // What the steps opening days 2 .. day unlock.
    for (const StepRow& row : storyStepRows())
        if (row.day <= day)
            for (const StepAction& a : row.actions) {
                if (a.kind == StepActionKind::Element)
                    add(rules.elements, a.name);
                else if (a.kind == StepActionKind::Tool)
                    add(rules.tools, a.name);
                else if (a.kind == StepActionKind::Option)
                    add(rules.options, a.name);
            }
    for (const MissionRow& m : storyMissionRows()) {
        // The missions of the days before give their element or tool.
        if (m.day < day) {
            add(rules.elements, m.element);
            add(rules.tools, m.tool);
        }
        // A mission needs the control its test waits for, from its own day.
        if (m.day > day)
            continue;
        for (const MissionTerm& t : m.test) {
            if (t.kind == TermKind::ZoomDone)
                add(rules.tools, "Zoom");
            else if (t.kind == TermKind::LightOn)
                add(rules.options, "Light");
            else if (t.kind == TermKind::SunOff)
                add(rules.options, "Sun");
            else if (t.kind == TermKind::Event && t.event == WorldEvent::FillUsed)
                add(rules.tools, "Fill");
            else if (t.kind == TermKind::Event && t.event == WorldEvent::ReplaceUsed)
                add(rules.tools, "Replace");
            else if (t.kind == TermKind::Event && t.event == WorldEvent::StoneMined)
                add(rules.tools, "Miner");
        }
    }
    return rules;
}

std::vector<std::string> storyDayForbidden(int day)
{
    std::vector<std::string> made;
    for (const MissionRow& m : storyMissionRows())
        if (m.day == day)
            for (const MissionTerm& t : m.test)
                if (t.kind == TermKind::ElementMade)
                    made.emplace_back(t.name);
    return made;
}

void checkWorld(LevelBuilder& builder, const std::vector<uint8_t>& blob, const std::string& world,
                const std::string& tree, CheckReport& report)
{
    auto fault = [&](const std::string& message) { report.errors.push_back(world + ": " + message); };
    worldblob::LoadPlan plan;
    std::string why;
    if (!worldblob::parseBlob(blob.data(), blob.size(), plan, why)) {
        fault("the world does not load: " + why);
        return;
    }
    if (plan.bigWorld || plan.header.width != levelscript::kWidth || plan.header.height != levelscript::kHeight)
        fault("a " + std::to_string(plan.header.width) + " x " + std::to_string(plan.header.height) +
              " world, not a small one");
    int outside = 0;
    std::set<std::string> forbiddenHeld;
    std::vector<std::string> forbidden = storyDayForbidden(storyDayOf(world));
    for (const auto& f : kCampaignForbidden)
        if (world == f.world)
            forbidden.insert(forbidden.end(), f.elements.begin(), f.elements.end());
    for (const worldblob::ParticleRecord& r : plan.particles) {
        if (r.x < 1 || r.y < 1 || r.x >= levelscript::kWidth - 1 || r.y >= levelscript::kHeight - 1)
            ++outside;
        for (const std::string& f : forbidden)
            if (r.type == hashString(f))
                forbiddenHeld.insert(f);
    }
    if (outside)
        fault(std::to_string(outside) + " particles outside the 120 x 80 world or on its border");
    // Loading keeps no more creatures than the game's limits let a player place.
    for (const CreatureLimit& l : creatureLimits()) {
        const size_t count = std::count_if(plan.particles.begin(), plan.particles.end(), [&](const auto& r) {
            return std::find(l.leaders.begin(), l.leaders.end(), r.type) != l.leaders.end();
        });
        if (count > l.limit)
            fault(std::to_string(count) + " " + l.what + ", more than " + std::to_string(l.limit));
    }
    for (const std::string& f : forbiddenHeld)
        fault("holds " + f + ", which its day's missions count as made");
    if (!builder.load(blob)) {
        fault("World::load refuses the world");
        return;
    }
    const std::string& background = builder.loadedHeader().background;
    if (background.empty() || backgroundPath(tree, background).empty())
        fault("its background '" + background + "' is not in the tree");
    if (builder.loadedHeader().name != world)
        fault("its universe name is '" + builder.loadedHeader().name + "'");
    // A load hands out particle ids from the top of the free stack, so it
    // reverses the records: one round trip gives them back reversed, a
    // second the very bytes.
    const std::vector<uint8_t> once = builder.saveAgain();
    if (!sameRecordsReversed(blob, once, why))
        fault("loaded and saved again, it gives another world: " + why);
    else if (!builder.load(once) || builder.saveAgain() != blob)
        fault("loaded and saved twice, it gives other bytes");
}

void checkSettings(const std::string& path, const std::string& world, const std::vector<std::string>* places,
                   CheckReport& report)
{
    auto fault = [&](const std::string& message) {
        report.errors.push_back(fs::path(path).filename().string() + ": " + message);
    };
    if (!fs::is_regular_file(path)) {
        report.errors.push_back(world + ": no settings file universes/Missions/" + world + ".plist");
        return;
    }
    // Relative paths would go to the engine's resource root.
    CCDictionary* d = CCDictionary::createWithContentsOfFile(fs::absolute(path).string());
    if (!d) {
        fault("not a property list dictionary");
        return;
    }
    static const char* const keys[] = {"lock", "lockMode", "elements", "tools", "options", "made"};
    if (CCArray* all = d->allKeys())
        for (CCObject* k : *all) {
            auto* s = dynamic_cast<CCString*>(k);
            if (s && std::find(std::begin(keys), std::end(keys), s->getString()) == std::end(keys))
                fault("unknown key '" + s->getString() + "'");
        }
    auto* lockValue = dynamic_cast<CCString*>(d->objectForKey("lock"));
    const std::string lockText = lockValue ? lockValue->getString() : std::string();
    if (lockText != "1" && lockText != "0" && lockText != "true" && lockText != "false") {
        fault("'lock' is missing or not a boolean");
        return;
    }
    const bool lock = lockText == "1" || lockText == "true";
    auto* modeValue = dynamic_cast<CCString*>(d->objectForKey("lockMode"));
    const std::string mode = modeValue ? modeValue->getString() : std::string();
    if (lock && mode != "allow" && mode != "deny")
        fault("'lockMode' is '" + mode + "', not allow or deny");
    bool wrongType = false;
    const std::vector<std::string> elements = names(d, "elements", wrongType);
    const std::vector<std::string> tools = names(d, "tools", wrongType);
    const std::vector<std::string> options = names(d, "options", wrongType);
    const std::vector<std::string> made = names(d, "made", wrongType);
    if (wrongType)
        fault("elements, tools, options and made are arrays of strings");
    const struct {
        const std::vector<std::string>& list;
        DayItem kind;
        const char* key;
    } lists[] = {{elements, DayItem::Element, "elements"},
                 {tools, DayItem::Tool, "tools"},
                 {options, DayItem::Option, "options"},
                 {made, DayItem::Element, "made"}};
    for (const auto& l : lists)
        for (const std::string& name : l.list)
            if (!isKnownDayItem(l.kind, name))
                fault("'" + name + "' in " + l.key + " is not a known name");
    const bool deny = mode == "deny";
    auto allowed = [&](const std::vector<std::string>& list, const std::string& name) {
        if (!lock)
            return true;
        const bool listed = std::find(list.begin(), list.end(), name) != list.end();
        return deny ? !listed : listed;
    };
    if (const int day = storyDayOf(world)) {
        const DayRules rules = storyDayRules(day, storyStart(fs::path(path).parent_path().string()));
        std::vector<std::string> missing;
        for (const std::string& e : rules.elements)
            if (!allowed(elements, e))
                missing.push_back(e);
        for (const std::string& t : rules.tools)
            if (!allowed(tools, t))
                missing.push_back(t);
        for (const std::string& o : rules.options)
            if (!allowed(options, o))
                missing.push_back(o);
        for (const std::string& m : missing)
            fault("day " + std::to_string(day) + "'s cumulative set has " + m + ", the file does not allow it");
    }
    if (places)
        for (const std::string& e : *places)
            if (!allowed(elements, e))
                fault("the level script places " + e + ", the file does not allow it");
    // The palette tells why only of what it withholds.
    for (const std::string& e : made)
        if (allowed(elements, e))
            fault("'" + e + "' in made is offered, not withheld");
}

std::vector<std::string> levelFiles(const std::string& levelsDir)
{
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(levelsDir, ec))
        if (entry.is_regular_file() && entry.path().extension() == ".level")
            out.push_back(entry.path().string());
    std::sort(out.begin(), out.end());
    return out;
}

void checkLevels(const std::string& levelsDir, const std::string& tree, bool allDays, CheckReport& report)
{
    LevelBuilder builder;
    std::set<int> daysSeen;
    int64_t bounds = 0;
    for (const std::string& file : levelFiles(levelsDir)) {
        levelscript::Level level;
        std::string error;
        if (!levelscript::readLevel(file, LevelBuilder::knownElement, level, error)) {
            report.errors.push_back(error);
            continue;
        }
        const std::string& world = level.header.world;
        if (const int day = storyDayOf(world)) {
            daysSeen.insert(day);
            // The last day never ends by its missions.
            if (day < kStoryDays && level.header.bound == 0)
                report.errors.push_back(world + ": no step bound");
            if (day < kStoryDays)
                bounds += level.header.bound;
        }
        const std::string worldPath = tree + "/universes/Missions/" + world;
        if (!fs::is_regular_file(worldPath))
            report.errors.push_back(world + ": no world universes/Missions/" + world + " in the tree");
        else
            checkWorld(builder, readBytes(worldPath), world, tree, report);
        checkSettings(worldPath + ".plist", world, &level.header.places, report);
    }
    if (bounds > kStoryStepBudget)
        report.errors.push_back("the story days' step bounds sum to " + std::to_string(bounds) + ", more than " +
                                std::to_string(kStoryStepBudget));
    std::string missing;
    for (int day = 1; day <= kStoryDays; ++day) {
        if (daysSeen.count(day))
            continue;
        missing += (missing.empty() ? "" : " ") + std::to_string(day);
        // A settings file written before its level still keeps the schema.
        const std::string settings = tree + "/universes/Missions/Day" + std::to_string(day) + ".plist";
        if (fs::is_regular_file(settings))
            checkSettings(settings, "Day" + std::to_string(day), nullptr, report);
    }
    if (!missing.empty())
        (allDays ? report.errors : report.notes).push_back("story days without a level script: " + missing);
}

}  // namespace levelgen
