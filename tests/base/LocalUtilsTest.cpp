#include "base/LocalUtils.h"
#include "base/Utils.h"

#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

USING_NS_CC;

namespace {

class LocalUtilsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = localizationTable;
        localizationTable = CCDictionary::create();
        localizationTable->retain();
        add("Plain", "Hello");
        add("One", "#var# and #var#!");
        add("Two", "#var1# then #var2#");
        add("", "empty key");
    }
    void TearDown() override
    {
        localizationTable->release();
        localizationTable = m_saved;
        CCPoolManager::sharedPoolManager()->drain();
    }
    void add(const char* key, const char* text) { localizationTable->setObject(CCString::create(text), key); }
    static CCString* str(const char* text) { return CCString::create(text); }

    CCDictionary* m_saved = nullptr;
};

}  // namespace

TEST_F(LocalUtilsTest, LookupGivesTheTablesOwnTextOrTheKey)
{
    CCString* found = LocalUtils::getLocalizedString("Plain");
    EXPECT_EQ(found, localizationTable->objectForKey("Plain")) << "the table's object, not a copy";
    EXPECT_EQ(LocalUtils::getLocalizedString("plain")->getString(), "plain") << "case counts";
    EXPECT_EQ(LocalUtils::getLocalizedString("Missing Key")->getString(), "Missing Key");
    EXPECT_EQ(LocalUtils::localize(nullptr)->getString(), "");
    EXPECT_EQ(LocalUtils::localize("")->getString(), "empty key") << "an empty key is looked up";
    EXPECT_EQ(LocalUtils::localizeCCString(nullptr)->getString(), "");
    EXPECT_EQ(LocalUtils::localizeCCString(str("Plain"))->getString(), "Hello");
}

TEST_F(LocalUtilsTest, NoTableAnswersEveryKeyWithItself)
{
    CCDictionary* table = localizationTable;
    localizationTable = nullptr;
    EXPECT_EQ(LocalUtils::localize("Plain")->getString(), "Plain");
    EXPECT_EQ(LocalUtils::localizeWithVar("One", "x")->getString(), "One");
    localizationTable = table;
}

TEST_F(LocalUtilsTest, OneValueReplacesEveryPlaceholder)
{
    EXPECT_EQ(LocalUtils::localizeWithVar("One", "5")->getString(), "5 and 5!");
    CCString* unchanged = LocalUtils::localizeWithVar("Plain", "5");
    EXPECT_EQ(unchanged->getString(), "Hello");
    EXPECT_NE(unchanged, localizationTable->objectForKey("Plain")) << "a new text";
    EXPECT_EQ(LocalUtils::localizeWithVar("One", nullptr)->getString(), "");
    EXPECT_EQ(LocalUtils::localizeCCStringWithVar(str("One"), str("a"))->getString(), "a and a!");
    EXPECT_EQ(LocalUtils::localizeCCStringWithVar(str("One"), nullptr)->getString(), "");
    EXPECT_EQ(LocalUtils::localizeCCStringWithVar(nullptr, str("a"))->getString(), "");
}

TEST_F(LocalUtilsTest, TwoValuesReplaceInTwoPasses)
{
    EXPECT_EQ(LocalUtils::localizeWithVars(str("Two"), str("A"), str("B"))->getString(), "A then B");
    // The second pass runs over the first's result.
    EXPECT_EQ(LocalUtils::localizeWithVars(str("Two"), str("<#var2#>"), str("B"))->getString(), "<B> then B");
    EXPECT_EQ(LocalUtils::localizeWithVars(str("Two"), nullptr, str("B"))->getString(), "");
    EXPECT_EQ(LocalUtils::localizeWithVars(str("Two"), str("A"), nullptr)->getString(), "");
    EXPECT_EQ(LocalUtils::localizeWithVars(nullptr, str("A"), str("B"))->getString(), "");
}

TEST(LocalUtilsLanguages, LanguageCodesPickTheirTables)
{
    EXPECT_STREQ(LocalUtils::tableFileForLanguage(2), "localization/fr.plist");
    EXPECT_STREQ(LocalUtils::tableFileForLanguage(5), "localization/es.plist");
    for (int code : {0, 1, 3, 4, 6, -1, 99})
        EXPECT_STREQ(LocalUtils::tableFileForLanguage(code), "localization/en.plist") << code;
}

// ---- The committed tables against the code that reads them ----

namespace {

const std::filesystem::path kRepo = TESMORA_SOURCE_DIR;

std::map<std::string, std::string> loadTable(const char* language)
{
    std::map<std::string, std::string> table;
    std::string path = (kRepo / "resources/localization" / (std::string(language) + ".plist")).string();
    CCDictionary* dict = CCDictionary::createWithContentsOfFile(path);
    CCDictElement* element = nullptr;
    CCDICT_FOREACH(dict, element)
    {
        if (auto* text = dynamic_cast<CCString*>(element->getObject()))
            table[element->getStrKey()] = text->getString();
    }
    CCPoolManager::sharedPoolManager()->drain();
    return table;
}

std::multiset<std::string> placeholders(const std::string& text)
{
    std::multiset<std::string> found;
    static const std::regex pattern("#var[12]?#");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it)
        found.insert(it->str());
    return found;
}

// Literal keys handed to a lookup, directly or through a helper that takes a
// key (add such helpers here as they appear).
void collectKeys(const std::string& source, std::set<std::string>& keys)
{
    static const std::regex call(
        R"((?:getLocalizedString|localize|localizeWithVar|showMessagePopup|showMessage)\s*\(\s*"([^"\\]*)\")"
        R"(|(?:localizeCCString|localizeCCStringWithVar|localizeWithVars)\s*\(\s*CCString::create\(\s*"([^"\\]*)\")"
        R"(|countedKey\s*\(\s*"([^"\\]*)\"\s*,\s*"([^"\\]*)\")");
    for (auto it = std::sregex_iterator(source.begin(), source.end(), call); it != std::sregex_iterator(); ++it)
        for (size_t group = 1; group < it->size(); ++group)
            if ((*it)[group].matched)
                keys.insert((*it)[group].str());
}

std::set<std::string> keysUsedByTheCode()
{
    std::set<std::string> keys;
    for (const char* dir : {"app", "base", "world", "elements", "profile", "scene", "gui", "goals", "hud", "campaigns",
                            "online", "screens"}) {
        std::filesystem::path root = kRepo / "src" / dir;
        if (!std::filesystem::exists(root))
            continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h")
                continue;
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            collectKeys(text.str(), keys);
        }
    }
    return keys;
}

// French high punctuation (: ! ? ;) written without a space, a no-break
// space or a narrow no-break space before it: the words that run into it.
// A time (12:30) and a web address are no sentences; a run such as "?!"
// needs its space only before its first mark.
std::vector<std::string> unspacedFrenchPunctuation(std::string text)
{
    text = std::regex_replace(text, std::regex("\xC2\xA0|\xE2\x80\xAF"), " ");
    text = std::regex_replace(text, std::regex(R"(\d:\d|\S*://\S*)"), "");
    const std::regex unspaced(R"(\S*[^\s:!?;][:!?;]\S*)");
    return {std::sregex_token_iterator(text.begin(), text.end(), unspaced), std::sregex_token_iterator()};
}

// The words that speak to the player as "vous": the pronouns and the
// imperatives in -ez (and "faites", "dites"). The game says "tu".
std::vector<std::string> frenchVous(const std::string& text)
{
    static const std::set<std::string> vous{"vous", "votre", "vos", "faites", "dites"},
        notVerbs{"assez", "chez", "nez"};
    std::vector<std::string> found;
    std::string word;
    for (const char c : std::regex_replace(text, std::regex("\xC2\xA0"), " ") + " ") {
        if (std::isalpha(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80) {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            continue;
        }
        const bool ez = word.size() > 2 && word.compare(word.size() - 2, 2, "ez") == 0;
        if (vous.count(word) || (ez && !notVerbs.count(word)))
            found.push_back(word);
        word.clear();
    }
    return found;
}

}  // namespace

// The space before : ; ! ? and inside « » is a no-break one, so that no
// line starts with the punctuation; and the texts say "tu".
TEST(LocalizationTables, FrenchTextsSpaceTheirHighPunctuationWithoutBreakAndSayTu)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ(unspacedFrenchPunctuation("Voici le [150,50,20]libre|: un monde. Tu veux!"),
              (Words{"[150,50,20]libre|:", "veux!"}));
    EXPECT_EQ(unspacedFrenchPunctuation("Quoi ?! Il est 12:30 ; vois https://a.fr/?b=c : #var# !"), Words{});
    EXPECT_EQ(unspacedFrenchPunctuation("Prêt\xC2\xA0? Oui\xE2\x80\xAF!"), Words{});
    // An ordinary space before : ; ! ? or », or after «.
    const std::regex breakable("( [:;!?]| \xC2\xBB|\xC2\xAB )");
    EXPECT_EQ(frenchVous("Posez-le, \xC3\xB4tez votre zombie, faites vite\xC2\xA0! Assez, tu poses chez toi."),
              (Words{"posez", "\xC3\xB4tez", "votre", "faites"}));
    for (const auto& [key, text] : loadTable("fr")) {
        EXPECT_EQ(unspacedFrenchPunctuation(text), Words{}) << key << ": " << text;
        EXPECT_FALSE(std::regex_search(text, breakable)) << key << ": a line may start with the punctuation: " << text;
        EXPECT_EQ(frenchVous(text), Words{}) << key << ": " << text;
    }
}

// Counted texts in the singular for 1, and for 0 where the language says so
// (French): 0, 1 and 2 of 10, the key chosen as the screens choose it.
TEST(LocalizationTables, CountedTextsTakeTheSingularAsTheLanguageDoes)
{
    const std::vector<std::array<const char*, 4>> cases = {
        {"fr", "LevelSelectionProgressOne", "LevelSelectionProgress",
         "0 niveau gagné sur 10/1 niveau gagné sur 10/2 niveaux gagnés sur 10/"},
        {"es", "LevelSelectionProgressOne", "LevelSelectionProgress",
         "0 de 10 niveles ganados/1 de 10 niveles ganados/2 de 10 niveles ganados/"},
        {"fr", "KeybCharLeft", "KeybCharsLeft", "0 caractère restant/1 caractère restant/2 caractères restants/"},
        {"es", "KeybCharLeft", "KeybCharsLeft", "Quedan 0 caracteres/Queda 1 carácter/Quedan 2 caracteres/"},
        {"fr", "GalleryWorldCountOne", "GalleryWorldCount", "0 monde/1 monde/2 mondes/"},
        {"es", "GalleryWorldCountOne", "GalleryWorldCount", "0 mundos/1 mundo/2 mundos/"},
        {"fr", "GalleryDownloadCountOne", "GalleryDownloadCount",
         "0 téléchargement/1 téléchargement/2 téléchargements/"},
        {"es", "GalleryDownloadCountOne", "GalleryDownloadCount", "0 descargas/1 descarga/2 descargas/"},
    };
    CCDictionary* saved = localizationTable;
    for (const auto& [language, singular, plural, wanted] : cases) {
        localizationTable = CCDictionary::createWithContentsOfFile(
            (kRepo / "resources/localization" / (std::string(language) + ".plist")).string());
        std::string shown;
        for (long long count = 0; count < 3; ++count) {
            const std::string n = std::to_string(count);
            const std::string text =
                LocalUtils::localizeWithVar(LocalUtils::countedKey(singular, plural, count), n.c_str())->getString();
            shown += replaceAll(replaceAll(text.c_str(), "#var1#", n.c_str()).c_str(), "#var2#", "10") + "/";
        }
        EXPECT_EQ(shown, wanted) << language << " " << plural;
    }
    localizationTable = saved;
    CCPoolManager::sharedPoolManager()->drain();
}

// One name for one thing in each language, the word a hint gives being the
// one the palette, the menus and the buttons show; and the wording the goals
// check, in each language's grammar.
TEST(LocalizationTables, OneNamePerThingAndTheGoalsWordsInEveryLanguage)
{
    const std::map<std::string, std::map<std::string, std::string>> tables = {
        {"en", loadTable("en")}, {"fr", loadTable("fr")}, {"es", loadTable("es")}};
    // The same text under two keys.
    const struct {
        const char *language, *key, *sameAs;
    } same[] = {
        {"es", "ClearName", "ClearTitle"},                  // the tools menu's eraser is the palette's
        {"es", "MakeHeaterName", "HeaterTitle"},            // the heater
        {"fr", "SaveUniverseNameBut", "SaveUniverseName"},  // the Save button and day 4's goal
    };
    for (const auto& s : same)
        EXPECT_EQ(tables.at(s.language).at(s.key), tables.at(s.language).at(s.sameAs)) << s.language << " " << s.key;
    // A pattern that no text (key "") or one text must not or must hold.
    const struct {
        const char *language, *key, *pattern;
        bool holds;
    } rules[] = {
        {"es", "", "\\b[Gg]oma\\b", false},
        {"es", "", "[Cc]alentador", false},
        {"es", "", "\\blámparas?\\b", false},
        {"fr", "", "\\b[Ll]ampes?\\b(?! à huile)", false},
        {"fr", "", "[Cc]hauffage", false},
        {"en", "Pix_Font2Briefing", "\\blamps?\\b", false},
        {"en", "Level25FreeHint2", "\\blamps?\\b", false},
        {"es", "", "\\b(el|con) tiempo\\b", false},
        {"es", "WeatherName", "^Clima$", true},
        {"es", "", "LED (roja|amarilla|morada|encendida|apagada)", false},
        {"es", "", "\\b([Ll]as?|[Uu]nas?) (\\S+ )?TNT\\b", false},
        {"fr", "", "\\b([Dd]u|[Ll]e|[Uu]n) TNT\\b", false},
        {"en", "Level8_6FreeHint2", "to a human|a human", true},
        {"fr", "Level8_6FreeHint2", "à un humain, mène-le", true},
        {"es", "Level8_6FreeHint2", "a un humano, llévalo", true},
        {"fr", "InvasionLv4aBriefing", "sur une marque", true},
        {"fr", "Level10_4FreeHint2", "sur une marque", true},
        {"es", "InvasionLv4aBriefing", "en un punto marcado", true},
        {"es", "Level10_4FreeHint2", "en un punto marcado", true},
        {"es", "ProfileUnreadableKept", "\\bSus\\b", false},
        {"es", "IntroductionPart5", "elementos en los que", false},
        {"en", "", "\\b[Aa] [aeiouAEIOU][a-z]", false},
    };
    for (const auto& r : rules) {
        const std::regex pattern(r.pattern);
        for (const auto& [key, text] : tables.at(r.language)) {
            if (*r.key == 0 || key == r.key) {
                EXPECT_EQ(std::regex_search(text, pattern), r.holds) << r.language << " " << key << ": " << text;
            }
        }
    }
    // The note editor names the notes as the texts do: the scale of the
    // Music campaign's first hints, and day 28's "low C".
    for (const char* language : {"en", "fr", "es"}) {
        std::vector<std::string> notes;
        std::istringstream names(tables.at(language).at("NoteNames"));
        for (std::string name; names >> name;)
            notes.push_back(name);
        ASSERT_EQ(notes.size(), 12u) << language;
        std::string scale;
        for (int natural : {0, 2, 4, 5, 7, 9, 11})
            scale += (scale.empty() ? "" : " ") + notes[natural];
        const auto lower = [](std::string s) {
            for (char& c : s)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            return s;
        };
        EXPECT_NE(lower(tables.at(language).at("Level1_2FreeHint2")).find(lower(scale)), std::string::npos)
            << language << ": " << scale;
        EXPECT_NE(tables.at(language).at("ComposeBriefing").find(notes[0]), std::string::npos) << language;
    }
}

// Numbers with decimals are written as the language writes them.
TEST(LocalizationTables, RatingsTakeTheLanguagesDecimalSeparator)
{
    const struct {
        const char *language, *one, *two;
    } cases[] = {{"en", "4.0 (1 rating)", "3.5 (2 ratings)"},
                 {"fr", "4,0 (1 note)", "3,5 (2 notes)"},
                 {"es", "4,0 (1 valoración)", "3,5 (2 valoraciones)"}};
    CCDictionary* saved = localizationTable;
    for (const auto& c : cases) {
        localizationTable = CCDictionary::createWithContentsOfFile(
            (kRepo / "resources/localization" / (std::string(c.language) + ".plist")).string());
        EXPECT_EQ(
            LocalUtils::localizeWithVar("GalleryRatingCountOne", LocalUtils::decimalText(4.0, 1).c_str())->getString(),
            c.one);
        EXPECT_EQ(LocalUtils::localizeWithVars(CCString::create("GalleryRatingCount"),
                                               CCString::create(LocalUtils::decimalText(3.46, 1)),
                                               CCString::create("2"))
                      ->getString(),
                  c.two);
    }
    localizationTable = saved;
    CCPoolManager::sharedPoolManager()->drain();
}

TEST(LocalizationTables, TheScanFindsKeysInTheUsualCallForms)
{
    std::set<std::string> keys;
    collectKeys(R"(LocalUtils::localize("A"); s.localize( "B" ); LocalUtils::localizeWithVar("C", v);
        showMessage("D"); LocalUtils::localizeWithVars(CCString::create("E"), a, b); localize(key);
        LocalUtils::countedKey("F", "G", n);)",
                keys);
    EXPECT_EQ(keys, (std::set<std::string>{"A", "B", "C", "D", "E", "F", "G"}));
}

TEST(LocalizationTables, EveryKeyTheCodeLooksUpExistsInAllThreeLanguages)
{
    auto en = loadTable("en"), fr = loadTable("fr"), es = loadTable("es");
    ASSERT_FALSE(en.empty());
    const std::set<std::string> used = keysUsedByTheCode();
    ASSERT_TRUE(used.count("DayButtonInGame")) << "the scan reads the sources";
    for (const std::string& key : used) {
        EXPECT_TRUE(en.count(key)) << "en.plist lacks " << key;
        EXPECT_TRUE(fr.count(key)) << "fr.plist lacks " << key;
        EXPECT_TRUE(es.count(key)) << "es.plist lacks " << key;
    }
}

TEST(LocalizationTables, LanguagesHaveTheSameKeysAndPlaceholders)
{
    auto en = loadTable("en"), fr = loadTable("fr"), es = loadTable("es");
    for (const auto& [key, text] : en) {
        ASSERT_TRUE(fr.count(key)) << key;
        ASSERT_TRUE(es.count(key)) << key;
        EXPECT_EQ(placeholders(text), placeholders(fr[key])) << key;
        EXPECT_EQ(placeholders(text), placeholders(es[key])) << key;
    }
    EXPECT_EQ(en.size(), fr.size());
    EXPECT_EQ(en.size(), es.size());
    // The story compares the temperature label with this literal.
    EXPECT_EQ(en["NormalName"], "NORMAL");
    EXPECT_EQ(fr["NormalName"], "NORMAL");
    EXPECT_EQ(es["NormalName"], "NORMAL");
    EXPECT_EQ(fr["files_lang"], "_fr");
}
