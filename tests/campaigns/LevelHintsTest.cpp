// Every level's priced hints against the level's world, in the three
// languages: a hint that speaks of marks needs a level that marks cells, one
// that speaks of a path along the marks needs marks that run on as a path,
// and an element a hint names by its title is in the world, on the level's
// palette or what the day asks the player to make. The numbers a hint gives
// are read too, against the level's marks and the world it builds. The
// missions' briefings are held to the same, and a text that calls an element
// marked needs a mark on or beside it. Where a level's marks take different
// elements, each mark that takes one shows it in that element's colour, one
// that the level's darkness leaves seen. A goal whose check wants an element
// on a cell where the level opens without it names that element in its
// briefing, by the palette's name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "DayCheck.h"
#include "GuidePicture.h"
#include "LevelBuilder.h"
#include "LevelScript.h"
#include "campaigns/Campaigns.h"
#include "campaigns/music/MusicCampaign.h"
#include "campaigns/robot/RobotCampaign.h"
#include "campaigns/story/StoryMissions.h"
#include "hud/PaletteTable.h"
#include "support/HeadlessGame.h"
#include "support/PaletteWords.h"
#include "support/ResourceRoot.h"
#include "world/LightMap.h"
#include "world/ParticleCreator.h"
#include "world/WorldBlob.h"

USING_NS_CC;

namespace {

using Cell = std::pair<int32_t, int32_t>;

// What a level's world shows the player, as its script builds it.
struct LevelWorld {
    std::set<Cell> marks;
    std::vector<std::set<Cell>> markSets;      // each mark command's or marked table's cells
    std::vector<std::set<Cell>> groups;        // the marks that touch one another
    std::set<Cell> keys;                       // the Notes the script tunes
    std::vector<Cell> cells;                   // the built world's particles, as the level opens
    std::map<Cell, uint32_t> types;            // and what each holds
    std::set<std::string> elements;            // in the world, on the palette, or made by the day's missions
    std::map<Cell, std::set<uint32_t>> wants;  // what the missions' tables want in each cell
    std::map<Cell, uint32_t> signs;            // marks shown in an element's colour
    std::string background, picture;           // the level's background, and the picture its world shows
    bool dark = false;                         // its lighting on under no sun
};

// The level's missions, by class name and briefing key: a campaign level's
// ("Day2_3"), or a story day's ("Day22").
std::vector<std::pair<std::string, std::string>> levelMissions(const std::string& name)
{
    std::vector<std::pair<std::string, std::string>> out;
    int mode = 0, level = 0;
    if (std::sscanf(name.c_str(), "Day%d_%d", &mode, &level) == 2) {
        if (const Campaign* c = campaignOfMode(mode))
            for (const CampaignMissionRow& m : c->missions)
                if (m.level == level)
                    out.emplace_back(m.className, std::string(m.textKey) + "Briefing");
    } else if (std::sscanf(name.c_str(), "Day%d", &level) == 1) {
        for (const MissionRow& m : storyMissionRows())
            if (m.day == level)
                out.emplace_back(m.className, m.briefingKey);
    }
    return out;
}

// An element's name as the factory gives it back ("Tnt" is "TNT"); a tool's
// name as it is.
std::string canonical(const std::string& name)
{
    const uint32_t type = hashString(name.c_str());
    return ParticleCreator::isAccepted(type) ? ParticleCreator::getName(type) : name;
}

// The marks that touch one another, corner or side, as groups.
std::vector<std::set<Cell>> markGroups(const std::set<Cell>& marks)
{
    std::set<Cell> left = marks;
    std::vector<std::set<Cell>> groups;
    while (!left.empty()) {
        std::vector<Cell> todo{*left.begin()};
        left.erase(left.begin());
        std::set<Cell>& group = groups.emplace_back();
        while (!todo.empty()) {
            const Cell c = todo.back();
            todo.pop_back();
            group.insert(c);
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    if (auto it = left.find({c.first + dx, c.second + dy}); it != left.end()) {
                        todo.push_back(*it);
                        left.erase(it);
                    }
        }
    }
    return groups;
}

// The ways a level shows "so many marks": all its marked cells, the cells of
// one mark command or table, the separate marks of either, or the rows one
// of them marks.
std::set<size_t> markCounts(const LevelWorld& world)
{
    std::set<size_t> counts{world.marks.size(), world.groups.size()};
    for (const std::set<Cell>& set : world.markSets) {
        counts.insert(set.size());
        counts.insert(markGroups(set).size());
        std::set<int32_t> rows;
        for (const Cell& c : set)
            rows.insert(c.second);
        counts.insert(rows.size());
    }
    return counts;
}

// The marks in the keyboard's row, between its lowest and its highest key:
// the keys a player sees marked (or left empty).
size_t keyboardMarks(const LevelWorld& world)
{
    std::set<int32_t> keys;
    for (const Cell& k : world.keys)
        if (k.second == world.keys.begin()->second)
            keys.insert(k.first);
    return std::count_if(world.marks.begin(), world.marks.end(), [&](const Cell& m) {
        return !keys.empty() && m.second == world.keys.begin()->second && m.first >= *keys.begin() &&
            m.first <= *keys.rbegin();
    });
}

// How far each mark stands from the nearest built cell along its row, in
// cells (-1 where its row holds none).
std::vector<int32_t> markDistances(const LevelWorld& world)
{
    std::vector<int32_t> out;
    for (const std::set<Cell>& group : world.groups) {
        int32_t nearest = -1;
        for (const Cell& m : group)
            for (const Cell& cell : world.cells)
                if (const int32_t d = std::abs(cell.first - m.first);
                    cell.second == m.second && !world.marks.count(cell) && (nearest < 0 || d < nearest))
                    nearest = d;
        out.push_back(nearest);
    }
    return out;
}

std::vector<std::string> listed(CCDictionary* dict, const char* key)
{
    std::vector<std::string> out;
    auto* array = dict ? dynamic_cast<CCArray*>(dict->objectForKey(key)) : nullptr;
    for (unsigned i = 0; array && i < array->count(); ++i)
        if (auto* s = dynamic_cast<CCString*>(array->objectAtIndex(i)))
            out.push_back(s->getString());
    return out;
}

LevelWorld readWorld(const std::string& name, const worldblob::ExtraSizeTable& sizes, std::string& error)
{
    LevelWorld out;
    levelscript::Level level;
    if (!levelscript::readLevel(std::string(TESMORA_TEST_FIXTURES) + "/../../assets/levels/" + name + ".level", nullptr,
                                level, error))
        return out;
    auto tableCells = [&](const levelscript::Command& c, auto&& visit) {
        if (MissionPattern t = missionTable(c.mission.c_str(), c.letter))
            for (MissionPattern r = t; (r->end & 0xff) == 0; ++r)
                visit(*r);
    };
    using levelscript::CommandKind;
    using levelscript::TableMode;
    for (const levelscript::Command& c : level.build) {
        if (!c.element.empty() && c.kind != CommandKind::Table)
            out.elements.insert(canonical(c.element));
        for (const auto& [ch, element] : c.legend)
            out.elements.insert(canonical(element));
        if (c.kind == CommandKind::Human)
            out.elements.insert("HumanLeader");
        if (c.kind == CommandKind::Tune)
            out.keys.insert({c.at[0], c.at[1]});
        if (c.kind == CommandKind::Mark) {
            std::set<Cell>& set = out.markSets.emplace_back();
            for (int32_t x = c.at[0]; x <= c.at[2]; ++x)
                for (int32_t y = c.at[1]; y <= c.at[3]; ++y)
                    set.insert({x, y});
        }
        if (c.kind != CommandKind::Table)
            continue;
        if (c.mode == TableMode::Fill)
            tableCells(c, [&](const MissionPatternRecord& r) {
                out.elements.insert(c.element.empty() ? ParticleCreator::getName(r.type) : canonical(c.element));
            });
        else if (c.mode == TableMode::Ends) {
            std::set<Cell>& set = out.markSets.emplace_back();
            for (const levelgen::Cell& end : levelgen::rowEnds(missionTable(c.mission.c_str(), c.letter)))
                set.insert({end.x, end.y});
        } else if (c.mode != TableMode::Empty) {
            std::set<Cell>& set = out.markSets.emplace_back();
            tableCells(c, [&](const MissionPatternRecord& r) {
                set.insert({r.x, r.y});
                if (c.mode == TableMode::Guide)
                    out.signs[{r.x, r.y}] = r.type;
            });
        }
    }
    for (const auto& [mission, briefing] : levelMissions(name))
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            if (MissionPattern t = missionTable(mission.c_str(), letter))
                for (MissionPattern r = t; (r->end & 0xff) == 0; ++r)
                    out.wants[{r->x, r->y}].insert(r->type);
    for (const std::set<Cell>& set : out.markSets)
        out.marks.insert(set.begin(), set.end());
    out.groups = markGroups(out.marks);
    // The world as the level opens, from the game's own file.
    unsigned long size = 0;
    unsigned char* blob =
        CCFileUtils::sharedFileUtils()->getFileData(("universes/Missions/" + name).c_str(), "rb", &size);
    worldblob::LoadPlan plan;
    if (!worldblob::parseBlob(blob, size, plan, error, &sizes))
        error = name + ": " + error;
    delete[] blob;
    out.background = level.header.background;
    out.picture = plan.header.background;
    out.dark = plan.header.light && !plan.header.sun;
    for (const worldblob::ParticleRecord& r : plan.particles) {
        out.cells.push_back({r.x, r.y});
        out.types[{r.x, r.y}] = r.type;
    }
    // The palette: what the settings allow, or all but what they deny; the
    // eraser among the tools.
    CCDictionary* settings = CCDictionary::createWithContentsOfFile(("universes/Missions/" + name + ".plist").c_str());
    const std::vector<std::string> elements = listed(settings, "elements");
    auto* mode = settings ? dynamic_cast<CCString*>(settings->objectForKey("lockMode")) : nullptr;
    const bool deny = mode && mode->getString() == "deny";
    for (const PaletteEntry& e : paletteTable())
        if ((std::find(elements.begin(), elements.end(), e.name) != elements.end()) != deny)
            out.elements.insert(canonical(e.name));
    for (const std::string& tool : listed(settings, "tools"))
        out.elements.insert(tool);
    for (const std::string& made : levelgen::storyDayForbidden(levelgen::storyDayOf(name)))
        out.elements.insert(canonical(made));
    return out;
}

struct NamedLevelWorld {
    std::string name;
    LevelWorld world;
    std::string error;  // empty when read
};

// Every level's world, by name.
std::vector<NamedLevelWorld> everyLevelWorld()
{
    const worldblob::ExtraSizeTable sizes = worldblob::ExtraSizeTable::ofEveryElement();
    std::vector<NamedLevelWorld> worlds;
    for (const std::string& file : levelgen::levelFiles(std::string(TESMORA_TEST_FIXTURES) + "/../../assets/levels")) {
        NamedLevelWorld& w = worlds.emplace_back();
        w.name = std::filesystem::path(file).stem().string();
        w.world = readWorld(w.name, sizes, w.error);
    }
    return worlds;
}

bool isLetter(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80;
}

// The word (a title, case kept) stands in the text, alone or with a plural
// ending.
bool namesWord(const std::string& text, const std::string& word)
{
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        if (at > 0 && isLetter(text[at - 1]))
            continue;
        std::string rest = text.substr(at + word.size());
        for (const char* plural : {"es", "s", "x"})
            if (rest.rfind(plural, 0) == 0) {
                rest = rest.substr(std::string(plural).size());
                break;
            }
        if (rest.empty() || !isLetter(rest[0]))
            return true;
    }
    return false;
}

bool namesAny(const std::string& text, std::initializer_list<const char*> words)
{
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return std::any_of(words.begin(), words.end(), [&](const char* w) { return lower.find(w) != std::string::npos; });
}

// The world a hint key belongs to: "Level3" is story day 3, "Level1_2"
// Music's level 2.
std::string worldOf(const std::string& levelKey)
{
    return "Day" + levelKey.substr(std::string("Level").size());
}

struct Language {
    const char* code;
    std::initializer_list<const char*> markWords;
    std::initializer_list<const char*> pathWords;
    // Element titles that are everyday words too ("Vide", Void, is also
    // "empty out").
    std::initializer_list<const char*> everydayTitles;
    // The numbers a hint writes out, from one; digits are read as well.
    std::initializer_list<const char*> numbers;
    // In a clause in lower case, with their number: things so many cells off
    // their marks; marked or empty keys ("every marked key", or with a number
    // "four keys of the row are empty"); so many marks.
    const char* cellsOff;
    const char* keys;
    const char* marks;
    // "marked metal": the word that a mark word qualifies; and the words for
    // cells.
    const char* markedWord;
    std::initializer_list<const char*> cellWords;
};
const Language kLanguages[] = {
    {"en",
     {"mark"},
     {"path"},
     {},
     {"one",    "two",    "three",    "four",     "five",    "six",     "seven",     "eight",    "nine",     "ten",
      "eleven", "twelve", "thirteen", "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen", "twenty"},
     R"((\S+) cells? (?:off|short)\b.*mark)",
     R"((?:(\S+) )?(?:empty|marked) keys?\b|(\S+) keys?\b.*\b(?:empty|mark))",
     R"((\S+) (?:(\S+) )?mark)",
     R"(marked (\S+))",
     {"cell"}},
    {"fr",
     {"marqu"},
     {"chemin"},
     {"Vide"},
     {"une",  "deux",  "trois",  "quatre",   "cinq",   "six",   "sept",     "huit",     "neuf",     "dix",
      "onze", "douze", "treize", "quatorze", "quinze", "seize", "dix-sept", "dix-huit", "dix-neuf", "vingt"},
     R"((\S+) cases? (?:de|avant)\b.*marqu)",
     R"((?:(\S+) )?touches? (?:vide|marqu)|(\S+) touches?\b.*\b(?:vide|marqu))",
     R"((\S+) (?:(\S+) )?marqu)",
     R"((\S+) marqu)",
     {"case"}},
    {"es",
     {"marca"},
     {"camino"},
     {},
     {"una",  "dos",  "tres",  "cuatro",  "cinco",  "seis",      "siete",      "ocho",      "nueve",      "diez",
      "once", "doce", "trece", "catorce", "quince", "dieciséis", "diecisiete", "dieciocho", "diecinueve", "veinte"},
     R"((\S+) (?:casillas?|celdas?) (?:de|antes)\b.*marca)",
     R"((?:(\S+) )?teclas? (?:vac|marcad)|(\S+) teclas?\b.*\b(?:vac|marcad))",
     R"((\S+) (?:(\S+) )?marca)",
     R"((\S+) marcad)",
     {"casilla", "celda"}},
};

// The number a word writes, or 0.
size_t numberOf(const Language& language, const std::string& word)
{
    if (!word.empty() && std::all_of(word.begin(), word.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::stoul(word);
    const auto at = std::find(language.numbers.begin(), language.numbers.end(), word);
    return at == language.numbers.end() ? 0 : static_cast<size_t>(at - language.numbers.begin()) + 1;
}

// What one hint states in numbers, checked against the level clause by
// clause (up to a full stop, colon or semicolon); each fault fails the test.
void checkNumbers(const Language& language, std::string said, const LevelWorld& world, const std::string& where,
                  bool briefing = false)
{
    std::transform(said.begin(), said.end(), said.begin(), [](unsigned char c) { return std::tolower(c); });
    const std::regex stops("[.:;]");
    for (std::sregex_token_iterator it(said.begin(), said.end(), stops, -1), end; it != end; ++it) {
        const std::string clause = *it;
        const auto matches = [&](const char* pattern) {
            const std::regex re(pattern);
            return std::vector<std::smatch>(std::sregex_iterator(clause.begin(), clause.end(), re),
                                            std::sregex_iterator());
        };
        // A briefing counts marks only ("the three marked rows"); "ten
        // marked cells" may be ten of more.
        if (briefing) {
            for (const std::smatch& m : matches(language.marks))
                if (const size_t n = std::max(numberOf(language, m[1]), numberOf(language, m[2])); n > 1 &&
                    !markCounts(world).count(n) && !(namesAny(clause, language.cellWords) && n <= world.marks.size()))
                    ADD_FAILURE() << where << ": counts " << n << " marks; the level marks " << world.marks.size()
                                  << " cells in " << world.groups.size() << " marks";
            continue;
        }
        for (const std::smatch& m : matches(language.cellsOff))
            for (const int32_t d : markDistances(world))
                if (const size_t n = numberOf(language, m[1]); n && d != static_cast<int32_t>(n))
                    ADD_FAILURE() << where << ": says " << n << " cells off the marks; a mark stands " << d
                                  << " cells from the nearest thing in its row";
        bool keysSpoken = false;
        for (const std::smatch& m : matches(language.keys)) {
            const size_t n = numberOf(language, m[1].matched ? m[1] : m[2]), seen = keyboardMarks(world);
            if (m[2].matched && !n)
                continue;  // "la note touche sa marque": the French word is a verb as well
            keysSpoken = true;
            if (n ? seen != n : seen == 0)
                ADD_FAILURE() << where << ": speaks of " << (n ? std::to_string(n) : "some")
                              << " marked or empty keys; the keyboard's row has " << seen << " marks";
        }
        // "une sortie marquée" is an article's one; marked keys are counted above.
        for (const std::smatch& m : matches(language.marks))
            if (const size_t n = std::max(numberOf(language, m[1]), numberOf(language, m[2]));
                !keysSpoken && n > 1 && !markCounts(world).count(n))
                ADD_FAILURE() << where << ": counts " << n << " marks; the level marks " << world.marks.size()
                              << " cells in " << world.groups.size() << " marks";
    }
}

// A text that calls an element marked ("the marked metal cell", "la case de
// métal marquée") needs a mark on or beside a cell of that element, or on a
// cell a table wants it in.
void checkMarkedElements(const Language& language, const std::map<std::string, std::set<std::string>>& titled,
                         std::string said, const LevelWorld& world, const std::string& where)
{
    auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
        return text;
    };
    said = lower(said);
    const std::regex re(language.markedWord);
    for (std::sregex_iterator it(said.begin(), said.end(), re), end; it != end; ++it)
        for (const auto& [title, elements] : titled) {
            if (lower(title) != (*it)[1].str())
                continue;
            auto named = [&](uint32_t type) { return elements.count(ParticleCreator::getName(type)) > 0; };
            const bool marked = std::any_of(world.marks.begin(), world.marks.end(), [&](const Cell& m) {
                for (int dx = -1; dx <= 1; ++dx)
                    for (int dy = -1; dy <= 1; ++dy)
                        if (auto at = world.types.find({m.first + dx, m.second + dy});
                            at != world.types.end() && named(at->second))
                            return true;
                auto wanted = world.wants.find(m);
                return wanted != world.wants.end() && std::any_of(wanted->second.begin(), wanted->second.end(), named);
            });
            EXPECT_TRUE(marked) << where << ": no mark stands on or beside the " << title << " it calls marked";
        }
}

class LevelHints : public testsupport::HeadlessGame { };

TEST_F(LevelHints, SpeakOfWhatTheirLevelsShow)
{
    for (const char* file : {"data/hints.plist", "localization/en.plist"})
        ASSERT_EQ(testsupport::resourceMissing(file), "");
    CCDictionary* hints = CCDictionary::createWithContentsOfFile("data/hints.plist");
    auto* levels = hints ? dynamic_cast<CCDictionary*>(hints->objectForKey("Hints")) : nullptr;
    ASSERT_NE(levels, nullptr);
    int checked = 0;
    const worldblob::ExtraSizeTable sizes = worldblob::ExtraSizeTable::ofEveryElement();
    std::map<std::string, LevelWorld> worlds;
    for (const Language& language : kLanguages) {
        CCDictionary* texts =
            CCDictionary::createWithContentsOfFile((std::string("localization/") + language.code + ".plist").c_str());
        ASSERT_NE(texts, nullptr) << language.code;
        // Element titles as this language writes them; one title may name
        // several elements.
        std::map<std::string, std::set<std::string>> titled;
        std::vector<std::string> names{"Clear"};
        for (const PaletteEntry& e : paletteTable())
            names.push_back(e.name);
        for (const std::string& name : names)
            if (auto* title = dynamic_cast<CCString*>(texts->objectForKey(name + "Title")))
                titled[title->getString()].insert(canonical(name));
        for (const char* word : language.everydayTitles)
            titled.erase(word);
        CCDictElement* level = nullptr;
        CCDICT_FOREACH(levels, level)
        {
            const std::string key = level->getStrKey();
            if (!worlds.count(key)) {
                std::string error;
                worlds[key] = readWorld(worldOf(key), sizes, error);
                ASSERT_EQ(error, "") << key;
            }
            const LevelWorld& world = worlds[key];
            auto check = [&](const std::string& textKey, bool briefing) {
                auto* text = dynamic_cast<CCString*>(texts->objectForKey(textKey));
                ASSERT_NE(text, nullptr) << language.code << ": " << textKey;
                const std::string said = text->getString();
                const std::string where = std::string(language.code) + " " + textKey + ": \"" + said + "\"";
                ++checked;
                const bool marks = namesAny(said, language.markWords);
                EXPECT_TRUE(!marks || !world.marks.empty()) << where << ": the level marks no cell";
                EXPECT_TRUE(!marks || !namesAny(said, language.pathWords) ||
                            std::any_of(world.groups.begin(), world.groups.end(),
                                        [](const std::set<Cell>& group) { return group.size() >= 3; }))
                    << where << ": the level's marks make no path";
                for (const auto& [title, elements] : titled) {
                    if (briefing || !namesWord(said, title))
                        continue;
                    EXPECT_TRUE(std::any_of(elements.begin(), elements.end(),
                                            [&](const std::string& e) { return world.elements.count(e) > 0; }))
                        << where << ": names " << title << ", which the level neither holds nor offers";
                }
                checkMarkedElements(language, titled, said, world, where);
                checkNumbers(language, said, world, where, briefing);
            };
            CCDictElement* hint = nullptr;
            CCDICT_FOREACH(dynamic_cast<CCDictionary*>(level->getObject()), hint)
            {
                check(key + hint->getStrKey(), false);
            }
            for (const auto& [mission, briefing] : levelMissions(worldOf(key)))
                check(briefing, true);
        }
    }
    EXPECT_GT(checked, 900);
}

}  // namespace

// Marks that look alike but take different things: where separate marks of
// one size each take one element, and not all the same one, each shows its
// element in that element's colour (a guide cell), so the world says which
// goes where; and a mark of one cell in an element's colour is seen in the
// level's darkness.
TEST_F(LevelHints, MarksThatTakeOneElementEachShowIt)
{
    // The least a mark's colour, as shown, stands from its cell's (on the
    // channel that differs most, of 255): the faintest marks a player finds
    // differ by 26.
    constexpr int kSeenApart = 20;
    std::set<uint32_t> palette;
    for (const PaletteEntry& e : paletteTable())
        if (e.family != PaletteFamily::Creatures && e.family != PaletteFamily::Vehicles)
            palette.insert(hashString(e.name));
    int levels = 0;
    for (auto& [name, world, error] : everyLevelWorld()) {
        ASSERT_EQ(error, "") << name;
        ++levels;
        // The marks that take one element from the palette, by their size,
        // and what each takes; a mark on what the level opens with (a cell
        // to keep) takes nothing, and one a creature is led to is named by
        // the briefing.
        std::map<size_t, std::vector<std::pair<const std::set<Cell>*, uint32_t>>> bySize;
        for (const std::set<Cell>& group : world.groups) {
            std::set<uint32_t> taken;
            for (const Cell& m : group)
                if (auto wanted = world.wants.find(m); wanted != world.wants.end())
                    taken.insert(wanted->second.begin(), wanted->second.end());
                else
                    taken.insert(0);
            const uint32_t type = *taken.begin();
            auto held = world.types.find(*group.begin());
            if (taken.size() == 1 && palette.count(type) && (held == world.types.end() || held->second != type))
                bySize[group.size()].emplace_back(&group, type);
        }
        for (const auto& [size, marks] : bySize) {
            if (std::all_of(marks.begin(), marks.end(), [&](const auto& m) { return m.second == marks[0].second; }))
                continue;
            for (const auto& [group, type] : marks)
                for (const Cell& m : *group) {
                    auto sign = world.signs.find(m);
                    EXPECT_TRUE(sign != world.signs.end() && sign->second == type)
                        << name << ": the mark (" << m.first << ", " << m.second << ") takes "
                        << ParticleCreator::getName(type)
                        << ", as a mark like it takes another, but does not show its colour";
                }
        }
        // A mark of one cell in an element's colour stands out from the cell
        // as it shows unmarked, both as dark as the level shows them: at the
        // lighting's base level where it is on and no sun lights the cells.
        // A black gem on a dark wall is the empty cell it looks like.
        std::vector<std::pair<Cell, uint32_t>> singles;
        for (const std::set<Cell>& group : world.groups)
            if (auto sign = world.signs.find(*group.begin());
                group.size() == 1 && sign != world.signs.end() && !world.types.count(sign->first))
                singles.push_back(*sign);
        if (singles.empty())
            continue;
        const char* root = std::getenv("ENGINE_RESOURCES");
        assetgen::Image shown, plain;
        ASSERT_TRUE(root && levelgen::readBackground(levelgen::backgroundPath(root, world.picture), shown, error) &&
                    levelgen::readBackground(levelgen::backgroundPath(root, world.background + ".png"), plain, error))
            << name << ": " << error;
        const int light = world.dark ? LightMap::kBaseLevel : 255;
        for (const auto& [m, type] : singles) {
            const int row = levelscript::kHeight - 1 - m.second;
            const assetgen::Rgba a = shown.at(m.first, row), b = plain.at(m.first, row);
            const int apart = std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}) * light / 255;
            EXPECT_GE(apart, kSeenApart) << name << ": the mark (" << m.first << ", " << m.second << ") of "
                                         << ParticleCreator::getName(type) << " shows " << apart
                                         << " apart from the unmarked cell in the level's light";
        }
    }
    EXPECT_GT(levels, 150);
}

// Marks of one size for different creatures look alike: the goals that
// lead each creature onto its mark say which is which, each naming the
// place its mark is on, in every language, a place no other goal of the
// level names.
struct PlaceNamed {
    const char* briefing;
    const char* place[3];  // as kLanguages, in lower case
};
const PlaceNamed kPlacesNamed[] = {
    {"RobotLv4aBriefing", {"cliff", "falaise", "acantilado"}},
    {"RobotLv4bBriefing", {"pillar", "pilier", "pilar"}},
};

TEST_F(LevelHints, AlikeMarksForDifferentCreaturesAreToldApartByTheirGoals)
{
    const std::set<uint32_t> creatures = {hashString("HumanLeader"), hashString("RobotLeader"),
                                          hashString("LionLeader")};
    std::vector<CCDictionary*> texts;
    for (const Language& language : kLanguages)
        texts.push_back(
            CCDictionary::createWithContentsOfFile((std::string("localization/") + language.code + ".plist").c_str()));
    auto said = [&](size_t language, const std::string& key) {
        auto* text = texts[language] ? dynamic_cast<CCString*>(texts[language]->objectForKey(key)) : nullptr;
        std::string lower = text ? text->getString() : "";
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        return lower;
    };
    int told = 0;
    for (const auto& [name, world, error] : everyLevelWorld()) {
        ASSERT_EQ(error, "") << name;
        // The creature each goal leads onto a whole mark, by the mark's size.
        const auto missions = levelMissions(name);
        std::map<size_t, std::map<std::string, uint32_t>> bySize;
        for (const std::set<Cell>& group : world.groups)
            for (const auto& [mission, briefing] : missions)
                for (char letter = 'A'; letter <= 'Z'; ++letter) {
                    std::map<Cell, uint32_t> cells;
                    if (MissionPattern t = missionTable(mission.c_str(), letter))
                        for (MissionPattern r = t; (r->end & 0xff) == 0; ++r)
                            cells[{r->x, r->y}] = r->type;
                    const uint32_t type = cells.count(*group.begin()) ? cells[*group.begin()] : 0;
                    if (creatures.count(type) && std::all_of(group.begin(), group.end(), [&](const Cell& c) {
                            return cells.count(c) && cells[c] == type;
                        }))
                        bySize[group.size()][briefing] = type;
                }
        for (const auto& [size, goals] : bySize) {
            std::set<uint32_t> kinds;
            for (const auto& [briefing, type] : goals)
                kinds.insert(type);
            if (kinds.size() < 2)
                continue;
            for (const auto& [briefing, type] : goals) {
                const PlaceNamed* row = std::find_if(std::begin(kPlacesNamed), std::end(kPlacesNamed),
                                                     [&](const PlaceNamed& p) { return briefing == p.briefing; });
                ASSERT_NE(row, std::end(kPlacesNamed))
                    << name << ": " << briefing << " leads a " << ParticleCreator::getName(type)
                    << " onto a mark like another creature's; say in it where its mark is";
                ++told;
                for (size_t language = 0; language < texts.size(); ++language) {
                    EXPECT_TRUE(said(language, briefing).find(row->place[language]) != std::string::npos)
                        << name << ": " << kLanguages[language].code << " " << briefing << " does not name the "
                        << row->place[language] << " its mark is on";
                    for (const auto& [other, kind] : goals)
                        EXPECT_TRUE(other == briefing ||
                                    said(language, other).find(row->place[language]) == std::string::npos)
                            << name << ": " << kLanguages[language].code << " " << other << " names the "
                            << row->place[language] << " as well";
                }
            }
        }
    }
    EXPECT_EQ(told, static_cast<int>(std::size(kPlacesNamed)));
}

// --- What a goal's check wants placed -------------------------------------------------------

namespace {

// A check played through the pattern tests' probe, on every way of answering
// the tables it reads (a table read twice in one way gets one answer).
namespace probing {
std::vector<bool> script;  // the answers to the first reads; true after them
std::map<MissionPattern, bool> answered;
std::vector<std::tuple<MissionPattern, PatternAsk, bool>> reads;

bool answer(MissionPattern table, PatternAsk ask)
{
    if (auto it = answered.find(table); it != answered.end())
        return it->second;
    const bool yes = reads.size() < script.size() ? script[reads.size()] : true;
    answered[table] = yes;
    reads.emplace_back(table, ask, yes);
    return yes;
}
}  // namespace probing

// The tables whose every cell the check wants holding its kind, and cannot
// pass without: every way of answering that passes reads them and finds them
// so. (A table read only once a melody is played stays unseen.)
std::set<MissionPattern> tablesNeeded(const std::function<bool()>& check)
{
    std::set<MissionPattern> kinds;
    std::vector<std::map<MissionPattern, bool>> passes;
    std::vector<std::vector<bool>> ways{{}};
    setPatternProbeForTests(probing::answer);
    while (!ways.empty()) {
        probing::script = ways.back();
        ways.pop_back();
        probing::answered.clear();
        probing::reads.clear();
        if (check())
            passes.push_back(probing::answered);
        std::vector<bool> taken;
        for (const auto& [table, ask, yes] : probing::reads) {
            if (ask == PatternAsk::EveryKind)
                kinds.insert(table);
            if (taken.size() >= probing::script.size()) {
                ways.push_back(taken);
                ways.back().push_back(!yes);
            }
            taken.push_back(yes);
        }
    }
    setPatternProbeForTests(nullptr);
    // What the checks keep across tests, as a new run starts it.
    musicPoweredLatch() = 0;
    musicHoldCount() = 0;
    robotLv12aInitialCount() = 0;
    std::set<MissionPattern> needed;
    for (MissionPattern t : kinds)
        if (std::all_of(passes.begin(), passes.end(), [&](auto& answered) { return answered.count(t) && answered[t]; }))
            needed.insert(t);
    return needed;
}

// A story row's tables that a term wants every cell of, holding its kind.
std::set<MissionPattern> tablesNeeded(const MissionRow& row)
{
    std::set<MissionPattern> needed;
    for (const MissionTerm& t : row.test)
        if ((t.kind == TermKind::AllMatch && !t.tables[1]) || t.kind == TermKind::AllMatchPowered)
            needed.insert(t.tables[0]);
    return needed;
}

// Briefings that need not name the elements their check wants placed where
// the level opens without them (palette names in English, or the element's
// own where no palette shows it), and why.
struct Unnamed {
    const char* mission;
    std::vector<std::string> elements;
    const char* why;
};
const Unnamed kUnnamed[] = {
    {"MakeCooler", {"Ice"}, "the powered cooler freezes the pocket's water; Ice is the day's next goal to make"},
    {"MakeOilLamp", {"Burning oil"}, "lighting the wicks, as the briefing says, is what burns their oil"},
    {"Contra_SenseThis",
     {"Frost sensor", "Cold sensor", "Mild sensor", "Heat sensor", "Blaze sensor"},
     "each sensor on the socket drawn in its colour; the palette offers only the five"},
    {"Pix_Coloring",
     {"Obsidian", "Diamond", "Citrine", "Sapphire"},
     "the guide draws each cell in its gem's colour; the palette offers only the four"},
    {"Pix_Drawing",
     {"Obsidian", "Diamond", "Citrine", "Sapphire"},
     "the guide draws each cell in its gem's colour; the palette offers only the four"},
    {"Contra_ReflectAndProtect", {"LaserBeam"}, "the laser makes the beam the briefing names; no palette shows it"},
    {"Contra_LaserLab",
     {"Ruby", "Sapphire", "Amethyst", "Obsidian"},
     "each gem in the holder drawn in its colour; the palette offers only the four"},
};

}  // namespace

// A goal whose check wants an element on a cell that the level's world does
// not hold at the start says what to place: its briefing names the element
// by the palette's name, in every language.
TEST_F(LevelHints, BriefingsNameWhatTheirChecksWantPlaced)
{
    std::vector<std::map<std::string, std::string>> texts;
    for (const Language& language : kLanguages)
        texts.push_back(testsupport::textTable(std::string("localization/") + language.code + ".plist"));
    std::map<uint32_t, std::string> palette;
    for (const PaletteEntry& e : paletteTable())
        palette[hashString(e.name)] = e.name;
    std::set<std::pair<const Unnamed*, std::string>> used;
    int named = 0;
    for (const auto& [name, world, error] : everyLevelWorld()) {
        ASSERT_EQ(error, "") << name;
        int mode = 0, level = 0;
        const bool campaign = std::sscanf(name.c_str(), "Day%d_%d", &mode, &level) == 2;
        for (const auto& [mission, briefing] : levelMissions(name)) {
            std::set<MissionPattern> needed;
            if (campaign) {
                needed = tablesNeeded(campaignOfMode(mode)->mission(mission)->test);
            } else {
                for (const MissionRow& row : storyMissionRows())
                    if (mission == row.className)
                        needed = tablesNeeded(row);
            }
            std::set<std::string> missing;
            for (MissionPattern t : needed)
                for (MissionPattern r = t; (r->end & 0xff) == 0; ++r)
                    if (auto held = world.types.find({r->x, r->y});
                        held == world.types.end() || held->second != r->type)
                        missing.insert(palette.count(r->type) ? palette[r->type] : ParticleCreator::getName(r->type));
            for (const std::string& element : missing) {
                const std::string english = testsupport::paletteName(texts[0], element);
                const Unnamed* unnamed = std::find_if(std::begin(kUnnamed), std::end(kUnnamed), [&](const Unnamed& u) {
                    return mission == u.mission &&
                        std::find(u.elements.begin(), u.elements.end(), english) != u.elements.end();
                });
                if (unnamed != std::end(kUnnamed)) {
                    used.insert({unnamed, english});
                    continue;
                }
                for (size_t language = 0; language < texts.size(); ++language) {
                    const std::string said = texts[language][briefing];
                    const std::string title = testsupport::paletteName(texts[language], element);
                    EXPECT_FALSE(testsupport::phraseAt(testsupport::wordsOf(said), testsupport::wordsOf(title)).empty())
                        << name << ": " << kLanguages[language].code << " " << briefing << " \"" << said
                        << "\" does not name the " << title << " its check wants placed";
                }
                ++named;
            }
        }
    }
    for (const Unnamed& u : kUnnamed)
        for (const std::string& element : u.elements)
            EXPECT_TRUE(used.count({&u, element}))
                << u.mission << " no longer leaves " << element << " unnamed (" << u.why << "): drop it from the list";
    EXPECT_GT(named, 20);
}
