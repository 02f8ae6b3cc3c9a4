#include <gtest/gtest.h>

#include <string>

#include "base/json/Json.h"

TEST(Json, DottedPathsReachNestedValuesAndArrayItems)
{
    auto doc =
        json::Document::parse(R"({"player":{"id":42,"key":"abc","score":2.5,"tags":["a","b"],"ok":true,"none":null}})");
    ASSERT_TRUE(doc.isValid());
    EXPECT_EQ(doc.find("player.id")->intValue(), 42);
    EXPECT_EQ(doc.find("player.id")->text(), "42");
    EXPECT_EQ(doc.find("player.key")->stringValue(), "abc");
    EXPECT_DOUBLE_EQ(doc.find("player.score")->doubleValue(), 2.5);
    EXPECT_EQ(doc.find("player.tags.1")->stringValue(), "b");
    EXPECT_TRUE(doc.find("player.ok")->boolValue());
    EXPECT_TRUE(doc.find("player.none")->isValid());
    EXPECT_EQ(doc.find("player")->name(), "player");
}

TEST(Json, MissingPathsAndWrongTypesGiveTheInvalidNodeAndFallbacks)
{
    auto doc = json::Document::parse(R"({"a":{"b":[1,2]},"s":"text"})");
    for (const char* path : {"x", "a.x", "a.b.2", "a.b.x", "a.b.-1", "s.t", "", "a..b"})
        EXPECT_FALSE(doc.find(path)->isValid()) << path;
    EXPECT_EQ(doc.find("s")->intValue(-7), -7);
    EXPECT_EQ(doc.find("a.b.0")->stringValue("none"), "none");
    EXPECT_EQ(doc.find("missing")->stringValue(), "");
}

TEST(Json, TextThatIsNotJsonGivesAnInvalidDocumentWithAMessage)
{
    for (const std::string& text :
         {std::string(""), std::string("<html>502</html>"), std::string("{\"a\":"), std::string("{\"a\":1}\0x", 9)}) {
        auto doc = json::Document::parse(text);
        EXPECT_FALSE(doc.isValid()) << text;
        EXPECT_FALSE(doc.error().empty());
        EXPECT_FALSE(doc.find("a")->isValid());
    }
}

TEST(Json, DeeplyNestedInputIsRefusedInsteadOfExhaustingTheStack)
{
    std::string deep(200000, '[');
    auto doc = json::Document::parse(deep + std::string(200000, ']'));
    EXPECT_FALSE(doc.isValid());
    // Brackets inside strings do not count.
    auto ok = json::Document::parse("{\"k\":\"" + std::string(500, '[') + "\"}");
    EXPECT_TRUE(ok.isValid());
}

TEST(Json, NamedNodesSerialiseWithEscapes)
{
    std::string body = json::objectJson({
        json::stringNode("nickname", "A\"b\\c\n\x01"),
        json::cstringNode("nothing", nullptr),
        json::intNode("n", -12),
        json::doubleNode("d", 0.5),
        json::boolNode("b", false),
    });
    EXPECT_EQ(body, R"({"nickname":"A\"b\\c\n\u0001","nothing":"","n":-12,"d":0.5,"b":false})");
    // What we write, we read back.
    auto doc = json::Document::parse(body);
    ASSERT_TRUE(doc.isValid());
    EXPECT_EQ(doc.find("nickname")->stringValue(), "A\"b\\c\n\x01");
    EXPECT_EQ(doc.find("n")->intValue(), -12);
}

TEST(Json, NumbersReadWrittenAndReadAgainKeepTheirText)
{
    // Written text, then what it must read back as once written.
    const struct {
        const char* input;
        const char* written;
    } cases[] = {
        {"[-0e5]", "[-0.0]"},       {"[-0]", "[0]"},
        {"[-0.0]", "[-0.0]"},       {"[0.5]", "[0.5]"},
        {"[5.0]", "[5]"},           {"[1e300]", "[1e+300]"},
        {"[-1e-300]", "[-1e-300]"}, {"[9300000000000000000]", "[9.3e+18]"},
    };
    for (const auto& c : cases) {
        auto doc = json::Document::parse(c.input);
        ASSERT_TRUE(doc.isValid()) << c.input;
        const std::string once = doc.root()->toJson();
        EXPECT_EQ(once, c.written) << c.input;
        auto again = json::Document::parse(once);
        ASSERT_TRUE(again.isValid()) << once;
        EXPECT_EQ(again.root()->toJson(), once) << c.input;
    }
}
