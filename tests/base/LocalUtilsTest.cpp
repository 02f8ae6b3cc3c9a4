#include "base/LocalUtils.h"
#include "base/Utils.h"
#include "support/PaletteWords.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
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

using testsupport::isFormOf;
using testsupport::paletteName;
using testsupport::phraseAt;
using testsupport::wordsOf;

std::map<std::string, std::string> loadTable(const char* language)
{
    auto table =
        testsupport::textTable((kRepo / "resources/localization" / (std::string(language) + ".plist")).string());
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

namespace {

// A number from 2 to 99 in words: "forty seven", "quarante sept",
// "cuarenta y siete".
std::string numberWords(const std::string& language, int n)
{
    static const char* const en[] = {"",         "one",     "two",     "three",     "four",     "five",    "six",
                                     "seven",    "eight",   "nine",    "ten",       "eleven",   "twelve",  "thirteen",
                                     "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
    static const char* const enTens[] = {"",      "",      "twenty",  "thirty", "forty",
                                         "fifty", "sixty", "seventy", "eighty", "ninety"};
    static const char* const fr[] = {"",     "un",  "deux", "trois", "quatre", "cinq",     "six",    "sept", "huit",
                                     "neuf", "dix", "onze", "douze", "treize", "quatorze", "quinze", "seize"};
    static const char* const frTens[] = {"", "", "vingt", "trente", "quarante", "cinquante", "soixante"};
    static const char* const es[] = {
        "",           "uno",        "dos",        "tres",         "cuatro",      "cinco",      "seis",
        "siete",      "ocho",       "nueve",      "diez",         "once",        "doce",       "trece",
        "catorce",    "quince",     "dieciséis",  "diecisiete",   "dieciocho",   "diecinueve", "veinte",
        "veintiuno",  "veintidós",  "veintitrés", "veinticuatro", "veinticinco", "veintiséis", "veintisiete",
        "veintiocho", "veintinueve"};
    static const char* const esTens[] = {"",          "",        "",        "treinta", "cuarenta",
                                         "cincuenta", "sesenta", "setenta", "ochenta", "noventa"};
    const int tens = n / 10, unit = n % 10;
    if (language == "en")
        return n < 20 ? en[n] : std::string(enTens[tens]) + (unit ? std::string(" ") + en[unit] : "");
    if (language == "es")
        return n < 30 ? es[n] : std::string(esTens[tens]) + (unit ? std::string(" y ") + es[unit] : "");
    if (n < 17)
        return fr[n];
    if (n < 20)
        return "dix " + numberWords(language, n - 10);
    if (n >= 80)
        return n == 80 ? "quatre vingts" : "quatre vingt " + numberWords(language, n - 80);
    if (n >= 70)
        return n == 71 ? "soixante et onze" : "soixante " + numberWords(language, n - 60);
    return std::string(frTens[tens]) + (unit == 1 ? " et un" : unit ? std::string(" ") + fr[unit] : "");
}

std::vector<std::string> paletteElements()
{
    std::ifstream in(kRepo / "src/hud/PaletteTable.cpp");
    std::stringstream source;
    source << in.rdbuf();
    const std::string text = source.str();
    std::vector<std::string> elements{"Clear"};  // the eraser heads the Special page
    static const std::regex entry(R"re(\{"(\w+)", PaletteFamily::)re");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), entry); it != std::sregex_iterator(); ++it)
        elements.push_back((*it)[1].str());
    return elements;
}

}  // namespace

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
    // An editor's title is its element's palette name.
    const std::pair<const char*, const char*> editors[] = {
        {"EditorPowerTitle", "Power"},       {"EditorLanderTitle", "MPLander"},     {"EditorCarTitle", "MPLeaderCar"},
        {"EditorTankTitle", "MPLeaderTank"}, {"EditorTruckTitle", "MPLeaderTruck"}, {"EditorHumanTitle", "HumanLeader"},
        {"EditorRobotTitle", "RobotLeader"}};
    for (const auto& [language, table] : tables)
        for (const auto& [editor, element] : editors)
            EXPECT_EQ(table.at(editor), paletteName(table, element)) << language << " " << editor;
    // A pattern that no text (key "") or one text must not or must hold.
    const struct {
        const char *language, *key, *pattern;
        bool holds;
    } rules[] = {
        {"es", "", "\\b[Gg]oma\\b", false},
        {"es", "", "[Cc]alentador", false},
        {"es", "", "\\blámparas?\\b", false},
        {"fr", "", "\\b[Ll]ampes?\\b(?! à pétrole)", false},
        {"fr", "", "tuyaux? d'(entrée|sortie)", false},
        {"es", "", "\\b[Cc]ristal\\b", false},
        {"es", "", "[Tt]uber(í|i)as?", false},
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

// Each French and Spanish goal, briefing and hint says all that its English
// one asks for: every element the English names, by the palette's name in
// that language; every colour and count; as many marks; and "at once".
TEST(LocalizationTables, GoalsAndHintsSayWhatTheEnglishAsksByThePalettesNames)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ(wordsOf("L'Entr\xC3\xA9"
                      "e de TUYAU\xC2\xA0: \xC3\x89tape-C4, \xC5\x92il\xE2\x80\xAF!"),
              (Words{"l",
                     "entr\xC3\xA9"
                     "e",
                     "de", "tuyau", "\xC3\xA9tape", "c4", "\xC5\x93il"}));
    EXPECT_EQ(phraseAt(wordsOf("deux entr\xC3\xA9"
                               "es de tuyaux, des tuyaux d'entr\xC3\xA9"
                               "e"),
                       wordsOf("Entr\xC3\xA9"
                               "e de tuyau")),
              std::vector<size_t>{1});
    EXPECT_EQ(phraseAt(wordsOf("los camiones rojas"), wordsOf("Cami\xC3\xB3n rojo")), std::vector<size_t>{1});
    EXPECT_EQ(numberWords("fr", 63) + "/" + numberWords("es", 47) + "/" + numberWords("en", 19),
              "soixante trois/cuarenta y siete/nineteen");

    const std::map<std::string, std::map<std::string, std::string>> tables = {
        {"en", loadTable("en")}, {"fr", loadTable("fr")}, {"es", loadTable("es")}};
    const auto& en = tables.at("en");
    // English words that are an element's name but say something else there.
    struct Plain {
        const char *language, *key, *english, *why;
        int seen;
    } plain[] = {
        {"", "", "\\b[Pp]owers? (?=(the|a|an|its) )", "to power: alimente, alimenta or da corriente", 0},
        {"", "", "\\bglows?\\b", "to glow, not the element Glow", 0},
        {"", "", "\\btanks?\\b", "a tank that holds a liquid or gas; no goal names the vehicle", 0},
        {"", "Contra_LaserPoweredName", "power", "the beam's own power: that level has no Power", 0},
        {"es", "MakeHeaterName", "Steam", "named after its heater by the palette's name (see above)", 0},
        {"", "Level2_3FreeHint2", "Blaze sensor", "the five sensors share one capteur, one sensor", 0},
        {"", "Level3_5FreeHint1", "at once", "straight away, not together", 0},
    };
    // The English palette names, the longest first so that "Acid water" is
    // not read as Acid and Water.
    std::vector<std::string> elements = paletteElements();
    std::stable_sort(elements.begin(), elements.end(), [&](const std::string& a, const std::string& b) {
        return paletteName(en, a).size() > paletteName(en, b).size();
    });
    std::vector<Words> englishNames;
    for (const std::string& element : elements)
        englishNames.push_back(wordsOf(paletteName(en, element)));
    const struct {
        const char *en, *fr, *es;
    } colours[] = {{"red", "rouge", "rojo"},
                   {"orange", "orange", "naranja"},
                   {"yellow", "jaune", "amarillo"},
                   {"blue", "bleu", "azul"},
                   {"purple", "violet violette", "morado"},
                   {"green", "vert", "verde"},
                   {"white", "blanc blanche", "blanco"},
                   {"black", "noir", "negro"},
                   {"pink", "rose", "rosa"},
                   {"grey", "gris", "gris"},
                   {"brown", "brun marron", "marr\xC3\xB3n"}};
    std::vector<std::string> keys;
    for (const auto& [key, text] : en) {
        const std::string stem = key.size() > 8 ? key.substr(0, key.size() - 8) : "";
        if (key.find("FreeHint") != std::string::npos || key == stem + "Briefing")
            keys.push_back(key);
        if (key == stem + "Briefing" && en.count(stem + "Name"))
            keys.push_back(stem + "Name");
    }
    ASSERT_GT(keys.size(), 700u);
    for (const char* language : {"fr", "es"}) {
        const auto& table = tables.at(language);
        const bool fr = std::string(language) == "fr";
        for (const std::string& key : keys) {
            std::string english = en.at(key);
            for (Plain& p : plain) {
                if ((*p.language == 0 || p.language == std::string(language)) && (*p.key == 0 || p.key == key)) {
                    const std::regex pattern(p.english);
                    p.seen += std::regex_search(english, pattern);
                    english = std::regex_replace(english, pattern, " ");
                }
            }
            const Words said = wordsOf(english), shown = wordsOf(table.at(key));
            const auto says = [&](const std::string& what, const std::vector<std::string>& ways) {
                for (const std::string& way : ways)
                    if (!phraseAt(shown, wordsOf(way)).empty())
                        return;
                ADD_FAILURE() << language << " " << key << " lacks " << what << ":\n  " << en.at(key) << "\n  "
                              << table.at(key);
            };
            std::vector<bool> taken(said.size());
            for (size_t e = 0; e < elements.size(); ++e) {
                const std::string& element = elements[e];
                for (size_t at : phraseAt(said, englishNames[e])) {
                    const size_t length = englishNames[e].size();
                    if (std::find(taken.begin() + at, taken.begin() + at + length, true) != taken.begin() + at + length)
                        continue;
                    std::fill(taken.begin() + at, taken.begin() + at + length, true);
                    says(paletteName(en, element), {paletteName(table, element)});
                }
            }
            for (const auto& c : colours) {
                if (!phraseAt(said, {c.en}, false).empty()) {
                    std::istringstream ways(fr ? c.fr : c.es);
                    says(c.en, {std::istream_iterator<std::string>(ways), std::istream_iterator<std::string>()});
                }
            }
            for (int n = 2; n < 100; ++n)
                if (!phraseAt(said, wordsOf(numberWords("en", n)), false).empty())
                    says(numberWords("en", n), {numberWords(language, n), std::to_string(n)});
            for (const std::string& word : said)
                if (word.find_first_not_of("0123456789") == std::string::npos) {
                    const int n = std::stoi(word);
                    says(word, {word, n >= 2 && n < 100 ? numberWords(language, n) : word});
                }
            if (!phraseAt(said, {"both"}, false).empty())
                says("both", fr ? Words{"deux"} : Words{"dos", "ambos", "ambas"});
            if (!phraseAt(said, {"at", "once"}, false).empty())
                says("at once",
                     fr ? Words{"\xC3\xA0 la fois", "en m\xC3\xAAme temps", "ensemble"}
                        : Words{"a la vez", "al mismo tiempo", "a un tiempo", "juntos", "juntas"});
            const auto count = [](const Words& words, const Words& bases) {
                return std::count_if(words.begin(), words.end(), [&](const std::string& w) {
                    return std::any_of(bases.begin(), bases.end(),
                                       [&](const std::string& b) { return isFormOf(w, b); });
                });
            };
            EXPECT_GE(count(shown, fr ? Words{"marque", "marqu\xC3\xA9"} : Words{"marca", "marcado"}),
                      count(said, {"mark", "marked"}))
                << language << " " << key << " drops a mark:\n  " << en.at(key) << "\n  " << table.at(key);
        }
    }
    for (const Plain& p : plain)
        EXPECT_GT(p.seen, 0) << "no English text says " << p.english << " any more: " << p.why;
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
