// Every level's priced hints against the level's world, in the three
// languages: a hint that speaks of marks needs a level that marks cells, one
// that speaks of a path along the marks needs marks that run on as a path,
// and an element a hint names by its title is in the world, on the level's
// palette or what the day asks the player to make.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "DayCheck.h"
#include "LevelScript.h"
#include "campaigns/Campaigns.h"
#include "hud/PaletteTable.h"
#include "support/HeadlessGame.h"
#include "support/ResourceRoot.h"
#include "world/ParticleCreator.h"

USING_NS_CC;

namespace {

using Cell = std::pair<int32_t, int32_t>;

// What a level's world shows the player, as its script builds it.
struct LevelWorld {
    std::set<Cell> marks;
    std::set<std::string> elements;  // in the world, on the palette, or made by the day's missions
};

// An element's name as the factory gives it back ("Tnt" is "TNT"); a tool's
// name as it is.
std::string canonical(const std::string& name)
{
    const uint32_t type = hashString(name.c_str());
    return ParticleCreator::isAccepted(type) ? ParticleCreator::getName(type) : name;
}

// The marks that touch one another, corner or side: the longest run.
size_t longestMarkRun(const std::set<Cell>& marks)
{
    std::set<Cell> left = marks;
    size_t longest = 0;
    while (!left.empty()) {
        std::vector<Cell> todo{*left.begin()};
        left.erase(left.begin());
        size_t size = 0;
        while (!todo.empty()) {
            const Cell c = todo.back();
            todo.pop_back();
            ++size;
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    if (auto it = left.find({c.first + dx, c.second + dy}); it != left.end()) {
                        todo.push_back(*it);
                        left.erase(it);
                    }
        }
        longest = std::max(longest, size);
    }
    return longest;
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

LevelWorld readWorld(const std::string& name, std::string& error)
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
        if (c.kind == CommandKind::Mark)
            for (int32_t x = c.at[0]; x <= c.at[2]; ++x)
                for (int32_t y = c.at[1]; y <= c.at[3]; ++y)
                    out.marks.insert({x, y});
        if (c.kind != CommandKind::Table)
            continue;
        if (c.mode == TableMode::Fill)
            tableCells(c, [&](const MissionPatternRecord& r) {
                out.elements.insert(c.element.empty() ? ParticleCreator::getName(r.type) : canonical(c.element));
            });
        else if (c.mode != TableMode::Empty)
            tableCells(c, [&](const MissionPatternRecord& r) { out.marks.insert({r.x, r.y}); });
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
};
const Language kLanguages[] = {
    {"en", {"mark"}, {"path"}, {}},
    {"fr", {"marqu"}, {"chemin"}, {"Vide"}},
    {"es", {"marca"}, {"camino"}, {}},
};

class LevelHints : public testsupport::HeadlessGame { };

TEST_F(LevelHints, SpeakOfWhatTheirLevelsShow)
{
    for (const char* file : {"data/hints.plist", "localization/en.plist"})
        ASSERT_EQ(testsupport::resourceMissing(file), "");
    CCDictionary* hints = CCDictionary::createWithContentsOfFile("data/hints.plist");
    auto* levels = hints ? dynamic_cast<CCDictionary*>(hints->objectForKey("Hints")) : nullptr;
    ASSERT_NE(levels, nullptr);
    int checked = 0;
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
            std::string error;
            const LevelWorld world = readWorld(worldOf(key), error);
            ASSERT_EQ(error, "") << key;
            CCDictElement* hint = nullptr;
            CCDICT_FOREACH(dynamic_cast<CCDictionary*>(level->getObject()), hint)
            {
                const std::string textKey = key + hint->getStrKey();
                auto* text = dynamic_cast<CCString*>(texts->objectForKey(textKey));
                ASSERT_NE(text, nullptr) << language.code << ": " << textKey;
                const std::string said = text->getString();
                const std::string where = std::string(language.code) + " " + textKey + ": \"" + said + "\"";
                ++checked;
                const bool marks = namesAny(said, language.markWords);
                EXPECT_TRUE(!marks || !world.marks.empty()) << where << ": the level marks no cell";
                EXPECT_TRUE(!marks || !namesAny(said, language.pathWords) || longestMarkRun(world.marks) >= 3)
                    << where << ": the level's marks make no path";
                for (const auto& [title, elements] : titled) {
                    if (!namesWord(said, title))
                        continue;
                    EXPECT_TRUE(std::any_of(elements.begin(), elements.end(),
                                            [&](const std::string& e) { return world.elements.count(e) > 0; }))
                        << where << ": names " << title << ", which the level neither holds nor offers";
                }
            }
        }
    }
    EXPECT_GT(checked, 900);
}

}  // namespace
