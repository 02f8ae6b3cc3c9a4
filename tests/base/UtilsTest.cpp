#include "base/Utils.h"
#include "base/Utf8.h"
#include "support/LogCapture.h"
#include "support/TempFolders.h"

#include <cerrno>
#include <gtest/gtest.h>

USING_NS_CC;
using testsupport::LogCapture;
using testsupport::TempDir;
using testsupport::TempHome;

namespace {

class UtilsTest : public ::testing::Test {
protected:
    void TearDown() override { CCPoolManager::sharedPoolManager()->drain(); }
    static CCString* str(const char* text) { return CCString::create(text); }
};

std::vector<std::string> texts(CCArray* array)
{
    std::vector<std::string> out;
    for (CCObject* object : *array)
        out.push_back(static_cast<CCString*>(object)->getString());
    return out;
}

}  // namespace

TEST_F(UtilsTest, JoinAndStripPaths)
{
    EXPECT_EQ(joinPath("", "backgrounds/"), "backgrounds/");
    EXPECT_EQ(joinPath("backgrounds/", "Rewards"), "backgrounds/Rewards");
    EXPECT_EQ(joinPath("a///", "//b"), "a/b");
    EXPECT_EQ(joinPath("/", "b"), "/b");
    EXPECT_EQ(joinPath("a", ""), "a/");
    EXPECT_EQ(stripTrailingSlashes("///", false), "/");
    EXPECT_EQ(stripTrailingSlashes("///", true), "");
    EXPECT_EQ(stripTrailingSlashes("", false), "");
    EXPECT_EQ(stripTrailingSlashes("a/b//", true), "a/b");
    EXPECT_EQ(stripTrailingSlashes("a/b", true), "a/b");
}

TEST_F(UtilsTest, ExtensionsAndComponents)
{
    EXPECT_EQ(appendExtension("profile", ""), "profile");
    EXPECT_EQ(appendExtension("User/w", "sav"), "User/w.sav");
    EXPECT_EQ(removeExtension("User/world.sav"), "User/world");
    EXPECT_EQ(removeExtension(".hidden"), ".hidden");
    EXPECT_EQ(removeExtension("dir.d/file"), "dir.d/file");
    EXPECT_EQ(removeExtension("a.tar.gz/"), "a.tar");
    EXPECT_EQ(lastPathComponent("a/b/"), "b");
    EXPECT_EQ(lastPathComponent("name"), "name");
    EXPECT_EQ(lastPathComponent("/"), "/");
    EXPECT_EQ(soundFilePath("sounds", "sfx_gui_next"), "sounds/sfx_gui_next.mp3");
}

TEST_F(UtilsTest, ReplaceAllScansLeftToRightWithoutOverlap)
{
    EXPECT_EQ(replaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(replaceAll("#var# and #var#", "#var#", "x"), "x and x");
    EXPECT_EQ(replaceAll("ab", "a", "aa"), "aab") << "the replacement is not searched again";
    EXPECT_EQ(replaceAll("none", "#var#", "x"), "none");
    EXPECT_EQ(replaceAll(nullptr, "a", "b"), "");
    EXPECT_EQ(replaceAll("a", nullptr, "b"), "");
    EXPECT_EQ(replaceAll("a", "a", nullptr), "");
    EXPECT_EQ(replaceAll("abc", "", "x"), "") << "an empty pattern is refused, not looped on";
}

TEST_F(UtilsTest, ReplaceRangeActsOnlyInsideTheText)
{
    EXPECT_EQ(replaceRange("hello", Range{1, 3}, "EY"), "hEYo");
    EXPECT_EQ(replaceRange("hello", Range{5, 0}, "!"), "hello!");
    EXPECT_EQ(replaceRange("hello", Range{3, 2}, ""), "hel");
    // A range that ends past the text changes nothing.
    EXPECT_EQ(replaceRange("hello", Range{3, 3}, "x"), "hello");
    EXPECT_EQ(replaceRange("hello", Range{6, 0}, "x"), "hello");
    EXPECT_EQ(replaceRange("hello", Range{Range::npos, 0}, "x"), "hello");
    EXPECT_EQ(replaceRange("hello", Range{1, 0xFFFFFFFFu}, "x"), "hello") << "no wrap-around";
    Range found = rangeOfString("ll", "hello");
    EXPECT_EQ(found.start, 2u);
    EXPECT_EQ(found.length, 2u);
    EXPECT_EQ(replaceRangeOfCCString(str("hello"), found, "LL"), "heLLo");
    Range missing = rangeOfString("z", "hello");
    EXPECT_EQ(missing.start, Range::npos);
    EXPECT_EQ(missing.length, 0u);
}

TEST_F(UtilsTest, SplitKeepsEmptyPieces)
{
    EXPECT_EQ(texts(splitCCString(str("a,,b,"), ",")), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(texts(splitCCString(str(""), ",")), (std::vector<std::string>{""}));
    EXPECT_EQ(texts(splitCCString(str("a::b"), "::")), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(splitCCString(nullptr, ","), nullptr);
}

TEST_F(UtilsTest, UpperCaseTakesAccentedLettersLowerCaseOnlyAscii)
{
    EXPECT_EQ(toUpperCCString("abc \xc3\xa9z")->getString(), "ABC \xc3\x89Z");
    EXPECT_EQ(toUpperCCString("lumière œuf ÿ ñ ÷ € ß")->getString(), "LUMIÈRE ŒUF Ÿ Ñ ÷ € ß");
    EXPECT_EQ(toLowerCCString("User/My_World")->getString(), "user/my_world");
    EXPECT_EQ(toLowerString("ÀB"), "Àb");
    EXPECT_EQ(toLowerCString(nullptr), nullptr);
    EXPECT_EQ(toLowerCString("AbC")->getString(), "abc");
}

TEST_F(UtilsTest, TruncateKeepsAtMostTheLimit)
{
    EXPECT_EQ(truncateCCString(str("0123456789abcdef"), 16)->getString(), "0123456789abcdef");
    EXPECT_EQ(truncateCCString(str("0123456789abcdefg"), 16)->getString(), "0123456789abcdef");
    EXPECT_EQ(truncateCCString(str("short"), 16)->getString(), "short");
}

TEST_F(UtilsTest, ComparisonsAreNullSafe)
{
    EXPECT_TRUE(stringsEqual(nullptr, nullptr));
    EXPECT_FALSE(stringsEqual("a", nullptr));
    EXPECT_TRUE(stringsEqual("a", "a"));
    EXPECT_TRUE(ccStringEqualsCString(str("x"), "x"));
    EXPECT_FALSE(cStringEqualsCCString("x", nullptr));
    EXPECT_TRUE(ccStringsEqual(nullptr, nullptr));
    EXPECT_FALSE(ccStringsEqual(str("x"), nullptr));
    EXPECT_TRUE(ccStringsEqual(str("x"), str("x")));
}

TEST_F(UtilsTest, SetsAndArraysOfStrings)
{
    CCSet* set = CCSet::create();
    set->addObject(str("Sand"));
    set->addObject(str("Water"));
    set->addObject(str("Sand"));
    EXPECT_TRUE(setContainsString(set, str("Sand")));
    EXPECT_FALSE(setContainsString(set, nullptr));
    EXPECT_FALSE(setContainsString(nullptr, str("Sand")));
    // Removing by a set member itself must not use it after it is freed.
    CCString* member = static_cast<CCString*>(set->anyObject());
    removeStringFromSet(set, member);
    EXPECT_EQ(set->count(), 1u);
    EXPECT_FALSE(setContainsString(set, str("Sand")));
    LogCapture log;
    removeStringFromSet(nullptr, str("x"));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("): _"), std::string::npos);

    CCArray* array = CCArray::create(str("a"), str("b"), NULL);
    EXPECT_TRUE(arrayContainsString(array, str("b")));
    EXPECT_FALSE(arrayContainsString(array, str("c")));
    EXPECT_FALSE(arrayContainsString(nullptr, str("a")));

    CCArray* retained = createArrayWithObjects(str("1"), str("2"), NULL);
    EXPECT_EQ(texts(retained), (std::vector<std::string>{"1", "2"}));
    CCPoolManager::sharedPoolManager()->drain();
    EXPECT_EQ(retained->retainCount(), 1u) << "the caller owns one reference";
    retained->release();
    CCString* owned = createCCString("kept");
    CCPoolManager::sharedPoolManager()->drain();
    EXPECT_EQ(owned->getString(), "kept");
    owned->release();
    EXPECT_EQ(appendToCCString(str("ab"), "cd")->getString(), "abcd");
    EXPECT_EQ(concatCCStrings(str("ab"), str("cd"))->getString(), "abcd");
}

TEST_F(UtilsTest, UrlEncodeKeepsUnreservedAndEncodesSpaces)
{
    const std::string serverKeep = " ";
    const std::string serverEncode = "\n\r?[]()$,!'*;:@&=#%+/";
    EXPECT_EQ(urlEncode("a b&c", serverKeep, serverEncode), "a%20b%26c");
    EXPECT_EQ(urlEncode("Az09-_.~"), "Az09-_.~");
    EXPECT_EQ(urlEncode("\xe9/"), "%E9%2F");
    EXPECT_EQ(urlEncode("x", "", "x"), "%78") << "the encoded list wins";
    EXPECT_EQ(urlEncode(std::string("\0", 1)), "%00");
}

TEST_F(UtilsTest, WideConversionDecodesUtf8)
{
    EXPECT_EQ(ansiToWide("ab"), L"ab");
    EXPECT_EQ(ansiToWide("\xc3\xa9"), std::wstring(1, static_cast<wchar_t>(0xE9)));
    EXPECT_EQ(ansiToWide("\xc3").size(), 1u) << "a cut sequence passes byte by byte";
}

// One strict decoder for the labels and the server: each edge of each
// length decodes and encodes back; what is no character decodes to nothing.
TEST(Utf8, DecodesEveryLengthToItsEdgesAndRefusesWhatIsNoCharacter)
{
    for (const uint32_t code : {0x00u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xD7FFu, 0xE000u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
        std::string bytes = "a";
        appendUtf8(code, bytes);
        uint32_t decoded = 0xFFFFFFFF;
        EXPECT_EQ(decodeUtf8(bytes + "z", 1, decoded), bytes.size() - 1) << std::hex << code;
        EXPECT_EQ(decoded, code);
    }
    const struct {
        const char* why;
        std::string bytes;
    } refused[] = {{"a stray continuation byte", "\x80"},       {"a lead byte of no length", "\xF8\x88\x80\x80\x80"},
                   {"cut short at the end", "\xE2\x82"},        {"cut short by a letter", "\xC3\x41"},
                   {"overlong in two bytes", "\xC0\x80"},       {"overlong in two bytes, its top", "\xC1\xBF"},
                   {"overlong in three bytes", "\xE0\x9F\xBF"}, {"overlong in four bytes", "\xF0\x8F\xBF\xBF"},
                   {"the first surrogate", "\xED\xA0\x80"},     {"the last surrogate", "\xED\xBF\xBF"},
                   {"past U+10FFFF", "\xF4\x90\x80\x80"},       {"a lead byte past U+10FFFF", "\xF5\x80\x80\x80"}};
    for (const auto& r : refused) {
        uint32_t code = 0;
        EXPECT_EQ(decodeUtf8(r.bytes, 0, code), 0u) << r.why;
    }
    uint32_t code = 0;
    EXPECT_EQ(decodeUtf8("ab", 2, code), 0u) << "nothing starts past the end";
}

TEST_F(UtilsTest, MakeDirectoriesAndListing)
{
    TempDir dir;
    LogCapture log;
    EXPECT_TRUE(makeDirectories(dir.file("x/y/z"), true));
    EXPECT_TRUE(makeDirectories(dir.file("x/y/z"), false)) << "an existing folder is fine";
    EXPECT_FALSE(makeDirectories(dir.file("p/q"), false)) << "a missing parent without recursion";
    EXPECT_NE(log.find("Error on creation directory: "), -1);
    EXPECT_NE(log.find("msg: A directory component in pathname does not exist"), -1);

    testsupport::writeFile(dir.file("x/b.png"), "1");
    testsupport::writeFile(dir.file("x/a.png"), "2");
    EXPECT_FALSE(makeDirectories(dir.file("x/a.png"), false)) << "a file is not a folder";
    EXPECT_FALSE(makeDirectories(dir.file("x/a.png/sub"), true));
    EXPECT_EQ(listFilesInFolder(dir.file("x")), (std::list<std::string>{"a.png", "b.png"}));
    EXPECT_TRUE(listFilesInFolder(dir.file("missing")).empty());
    EXPECT_TRUE(listArchiveEntries("").empty());
}

TEST_F(UtilsTest, ErrnoTexts)
{
    EXPECT_EQ(errnoText(EEXIST), "Pathname already exists (not necessarily as a directory);");
    EXPECT_EQ(errnoText(ELOOP), "Too many symbolic links were encountered in resolving pathname;");
    EXPECT_EQ(errnoText(EINTR), "");
}

TEST_F(UtilsTest, FoldersFromTheEnvironment)
{
    TempHome home;
    ASSERT_TRUE(initDocumentsFolders());
    ASSERT_TRUE(initSaveFolder());
    EXPECT_EQ(documentsFolder, home.documents() + "/ORVANE/TesmOra");
    EXPECT_EQ(screenshotsFolder, documentsFolder + "/screenshots");
    EXPECT_EQ(saveFolder, home.saveFolder());

    home.env().set("HOME", nullptr);
    home.env().set("XDG_DATA_HOME", nullptr);
    home.env().set("XDG_DOCUMENTS_DIR", nullptr);
    LogCapture log;
    EXPECT_FALSE(initSaveFolder());
    EXPECT_EQ(saveFolder, "") << "no garbage path";
    EXPECT_NE(log.find("No save folder:"), -1);
    EXPECT_FALSE(initDocumentsFolders());
    EXPECT_EQ(screenshotsFolder, "");
}
