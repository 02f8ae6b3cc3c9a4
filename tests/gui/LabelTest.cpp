// The font registry, the label and its three layouts.
#include "GuiFixture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "gui/GUILabel.h"

USING_NS_CC;
using guitest::GuiTest;

namespace {

std::vector<float> glyphXs(CCNode* label)
{
    std::vector<float> xs;
    for (CCObject* object : *label->getChildren())
        xs.push_back(static_cast<CCNode*>(object)->getPosition().x);
    return xs;
}

std::vector<float> glyphWidths(CCNode* label)
{
    std::vector<float> ws;
    for (CCObject* object : *label->getChildren())
        ws.push_back(static_cast<CCSprite*>(object)->getTextureRect().size.width);
    return ws;
}

// A label of the game's own texts, which read colour markup.
GUILabel* markupLabel()
{
    GUILabel* label = GUILabel::create();
    label->setMarkup(true);
    return label;
}

bool sameColour(const ccColor3B& a, const ccColor3B& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

}  // namespace

using FontRegistry = GuiTest;

TEST_F(FontRegistry, NamesReadTheFileAfterTheSheetPrefixAndTheFrameOfTheWholeName)
{
    EXPECT_EQ(GUILabel::fontFilePath("gamemenus_ach_fontButtons"), "fonts/ach_fontButtons.plist");
    EXPECT_EQ(GUILabel::fontFilePath("plain"), "fonts/plain.plist");
    GUILabel::setFontName("gamemenus_ach_fontButtons");
    EXPECT_FLOAT_EQ(GUILabel::fontSize, 10);
    EXPECT_FLOAT_EQ(GUILabel::baseLine, 2);
    EXPECT_FLOAT_EQ(GUILabel::letterSpace, 1);
    EXPECT_EQ(GUILabel::uppercase, 1);
    EXPECT_TRUE(GUILabel::fontFrames.count(" "));
    EXPECT_TRUE(GUILabel::fontFrames.count("\xC3\xA9"));  // é as one key
    GUILabel* label = GUILabel::create();
    EXPECT_TRUE(label->hasFontFrame());
    CCSpriteFrame* frame =
        CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("gamemenus_ach_fontButtons.png");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(label->getTexture(), frame->getTexture());
    EXPECT_FLOAT_EQ(label->getTextureRect().origin.x, frame->getRect().origin.x);
    EXPECT_FLOAT_EQ(label->getContentSize().width, 0);
}

TEST_F(FontRegistry, EachFontChangeReplacesTheTableAndResetsLineSpacingAndPrefixesFillOnce)
{
    GUILabel::setFontName("gamemenus_ach_fontButtons");
    GUILabel::lineSpacing = -3;
    const size_t prefixes = GUILabel::fontSheetPrefixes.size();
    EXPECT_EQ(prefixes, 14u);
    GUILabel::setFontName("mainmenu_ach_fontButtonsGold");
    EXPECT_STREQ(GUILabel::currentFontName->getCString(), "mainmenu_ach_fontButtonsGold");
    EXPECT_FLOAT_EQ(GUILabel::lineSpacing, 0);
    EXPECT_EQ(GUILabel::fontSheetPrefixes.size(), prefixes);
}

TEST_F(FontRegistry, AnUnreadableFontLeavesNoGlyphsAndAUsableSize)
{
    GUILabel::setFontName("gamemenus_no_such_font");
    EXPECT_TRUE(GUILabel::fontFrames.empty());
    EXPECT_GT(GUILabel::fontSize, 0);
    EXPECT_TRUE(log.contains("no_such_font"));
    GUILabel* label = GUILabel::create();  // no frame of that name either
    label->scaleToSize(10);
    EXPECT_TRUE(std::isfinite(label->getScale()));
}

TEST_F(FontRegistry, ALabelWithoutItsFontFrameDrawsNothing)
{
    GUILabel::setFontName("gamemenus_ach_fontButtons");
    GUILabel::currentFontName->release();
    GUILabel::currentFontName = CCString::create("nosheet_ach_fontButtons");
    GUILabel::currentFontName->retain();
    GUILabel* label = GUILabel::create();
    EXPECT_FALSE(label->hasFontFrame());
    label->setText(CCString::create("Hello"));
    label->setColoredText(CCString::create("Hello there"), 20);
    label->setMultilineText(CCString::create("Hello there"), 20, 3);
    EXPECT_EQ(label->getChildrenCount(), 0u);
    EXPECT_FLOAT_EQ(label->getWidth(), 0);
}

TEST_F(FontRegistry, SnapScaleOnlyForListedSheetsAndOnlyNearWholeScales)
{
    // room: the label held to its own width times this (0: not held).
    struct Case {
        const char* font;
        float parentScale;
        float effective;
        float room = 0;
    } cases[] = {
        {"popups_ach_fontButtons", 1.9f, 2.0f},
        {"popups_ach_fontButtons", 1.85f, 2.0f},
        {"popups_ach_fontButtons", 2.1f, 2.0f},
        {"popups_ach_fontButtons", 2.5f, 2.5f},
        {"popups_ach_fontButtons", 0.15f, 0.15f},
        {"mainmenu_ach_fontButtons", 1.9f, 1.9f},
        {"gamemenus_ach_fontButtons", 1.0f, 1.0f},
        // Held to its room, a label is not snapped wider than the room.
        {"popups_ach_fontButtons", 1.9f, 1.9f, 1.0f},
        {"popups_ach_fontButtons", 1.9f, 2.0f, 1.1f},
        {"popups_ach_fontButtons", 2.1f, 2.0f, 1.0f},
    };
    for (const Case& c : cases) {
        GUILabel::setFontName(c.font);
        CCNode* parent = CCNode::create();
        parent->setScale(c.parentScale);
        GUILabel* label = GUILabel::create();
        label->setText(CCString::create("MUY CALIENTE"));
        if (c.room > 0)
            label->shrinkToWidth(label->getWidth() * c.room);
        parent->addChild(label);
        scene()->addChild(parent);  // enters: snaps
        EXPECT_NEAR(label->getCumulativeScale(), c.effective, 1e-4) << c.font << " under " << c.parentScale;
        scene()->removeChild(parent);
    }
}

TEST_F(FontRegistry, ColourAndOpacityReachEveryGlyph)
{
    GUILabel* label = GUILabel::create();
    label->setText(CCString::create("abc"));
    label->setColor(ccc3(36, 75, 98));
    label->setOpacity(100);
    ASSERT_EQ(label->getChildrenCount(), 3u);
    for (CCObject* object : *label->getChildren()) {
        auto* glyph = static_cast<CCSprite*>(object);
        EXPECT_TRUE(sameColour(glyph->getColor(), ccc3(36, 75, 98)));
        EXPECT_EQ(glyph->getOpacity(), 100);
    }
    label->setText(CCString::create("d"));  // new glyphs take the label's colour
    EXPECT_EQ(childrenColoured(label, ccc3(36, 75, 98)), 1);
}

using LabelLayout = GuiTest;

TEST_F(LabelLayout, OneLineTextAndItsSize)
{
    fakeFont("abcAB", 4);
    GUILabel* label = GUILabel::create();
    label->setText(CCString::create(""));
    EXPECT_EQ(label->getChildrenCount(), 0u);
    EXPECT_FLOAT_EQ(label->getContentSize().width, 0);
    EXPECT_FLOAT_EQ(label->getContentSize().height, 8);  // fontSize - baseLine
    label->setText(nullptr);                             // a null text is empty
    EXPECT_EQ(label->getChildrenCount(), 0u);
    ASSERT_NE(label->getText(), nullptr);
    label->setText(CCString::create("ab"));
    EXPECT_EQ(glyphXs(label), (std::vector<float>{0, 5}));
    EXPECT_FLOAT_EQ(label->getContentSize().width, 10);  // letter space after the last glyph too
    auto* first = static_cast<CCSprite*>(label->getChildren()->objectAtIndex(0));
    EXPECT_FLOAT_EQ(first->getPosition().y, -2);
    EXPECT_FLOAT_EQ(first->getTextureRect().size.height, 12);  // top row dropped
}

TEST_F(LabelLayout, UnderscoreIsASpaceInMarkupAndFontsWithoutCapitalsLookUpLowerCase)
{
    fakeFont("ab", 4);
    GUILabel::uppercase = 0;
    GUILabel* label = markupLabel();
    label->setText(CCString::create("A_B"));
    EXPECT_EQ(glyphWidths(label), (std::vector<float>{4, 3, 4}));
    EXPECT_FALSE(log.contains("doesn't contain"));
    // A name or a path keeps its "_".
    fakeFont("ab_", 4);
    GUILabel* name = GUILabel::create();
    name->setText(CCString::create("a_b"));
    EXPECT_EQ(glyphWidths(name), (std::vector<float>{4, 4, 4}));
}

TEST_F(LabelLayout, MissingCharactersBecomeOneSpaceAndSkipExactlyThemselves)
{
    fakeFont("ab", 4);
    struct Case {
        const char* text;
        std::vector<float> widths;
    } cases[] = {
        {"axb", {4, 3, 4}},  // one byte
        {"a\xC3\xA9"
         "b",
         {4, 3, 4}},  // two bytes
        {"a\xE2\x82\xAC"
         "b",
         {4, 3, 4}},  // three bytes
        {"a\xF0\x9F\x98\x80"
         "b",
         {4, 3, 4}},        // four bytes
        {"a\xC3", {4, 3}},  // cut short at the end
    };
    for (const Case& c : cases) {
        GUILabel* label = GUILabel::create();
        log.clear();
        label->setText(CCString::create(c.text));
        EXPECT_EQ(glyphWidths(label), c.widths) << c.text;
        EXPECT_TRUE(log.contains("fontFrames doesn't contain key ")) << c.text;
    }
    fakeFont("ab", 4, false);  // no space glyph: the rest is not drawn
    GUILabel* label = GUILabel::create();
    label->setText(CCString::create("axb"));
    EXPECT_EQ(glyphWidths(label), (std::vector<float>{4}));
}

// What a player typed or a server sent is drawn as written: brackets and
// bars are characters like any other, in every layout.
TEST_F(LabelLayout, WithoutMarkupEveryCharacterIsDrawnAsWritten)
{
    fakeFont("[]|,0125Red", 4);
    const std::string text = "[255,0,0]Red|";
    for (int layout = 0; layout < 3; ++layout) {
        GUILabel* label = GUILabel::create();
        label->setColor(ccc3(36, 75, 98));
        if (layout == 0)
            label->setText(CCString::create(text));
        else if (layout == 1)
            label->setColoredText(CCString::create(text), 1000);
        else
            label->setMultilineText(CCString::create(text), 1000, 5);
        EXPECT_EQ(childrenColoured(label, ccc3(36, 75, 98)), static_cast<int>(text.size())) << layout;
        EXPECT_EQ(label->getText()->getString(), text);
    }
    EXPECT_FALSE(log.contains("Failed to parse color"));
}

TEST_F(LabelLayout, MarkupColoursFollowingGlyphsAndTakesNoWidth)
{
    fakeFont("HeloWrd", 4);
    GUILabel* label = markupLabel();
    label->setColor(ccc3(36, 75, 98));
    label->setText(CCString::create("[255,0,0]Hello|World"));
    EXPECT_EQ(childrenColoured(label, ccc3(255, 0, 0)), 5);
    EXPECT_EQ(childrenColoured(label, ccc3(36, 75, 98)), 5);
    GUILabel* wrapped = markupLabel();
    wrapped->setColoredText(CCString::create("[255,0,0]Hello"), 1000);
    GUILabel* plain = markupLabel();
    plain->setColoredText(CCString::create("Hello"), 1000);
    EXPECT_FLOAT_EQ(wrapped->getContentSize().width, plain->getContentSize().width);
    EXPECT_EQ(childrenColoured(wrapped, ccc3(255, 0, 0)), 5);
    EXPECT_TRUE(log.contains("choosenColor.r 255"));
}

TEST_F(LabelLayout, BadMarkupIsLoggedAndDrawnAsText)
{
    fakeFont("1234,", 4);
    GUILabel* label = markupLabel();
    label->setText(CCString::create("[12,34"));
    EXPECT_TRUE(log.contains(">>>> Failed to parse color!!!"));
    EXPECT_EQ(label->getChildrenCount(), 5u);  // 12,34
}

TEST_F(LabelLayout, ColourComponentsAreCappedOrCutNeverOverflowed)
{
    ccColor3B colour{1, 2, 3};
    std::string text = "[300,0,0]";
    EXPECT_EQ(parseColorMarkup(text, 0, colour), std::optional<size_t>(9));
    EXPECT_TRUE(sameColour(colour, ccc3(255, 0, 0)));
    EXPECT_TRUE(log.contains("Bad buffer cast!!!"));
    text = "[99999999999999999999999,7, 8]";
    EXPECT_TRUE(parseColorMarkup(text, 0, colour).has_value());
    EXPECT_TRUE(sameColour(colour, ccc3(255, 7, 8)));
    EXPECT_FALSE(parseColorMarkup("[1,2,3", 0, colour).has_value());

    fakeFont("ab", 4);
    struct Case {
        const char* text;
        ccColor3B expected;
    } cases[] = {
        {"[300,0,0]a", {44, 0, 0}},
        {"[99999999999999999999999,0,0]a", {255, 0, 0}},
        {"[0, 128, 9]a", {0, 128, 9}},
    };
    for (const Case& c : cases) {
        GUILabel* label = markupLabel();
        label->setMultilineText(CCString::create(c.text), 1000, 5);
        EXPECT_EQ(childrenColoured(label, c.expected), 1) << c.text;
    }
}

TEST_F(LabelLayout, AShortMarkupKeepsTheLabelsOwnColourForMissingComponents)
{
    fakeFont("ab", 4);
    GUILabel* label = markupLabel();
    label->setColor(ccc3(36, 75, 98));
    label->setMultilineText(CCString::create("[10,20]a"), 1000, 5);
    EXPECT_EQ(childrenColoured(label, ccc3(10, 75, 98)), 1);
    GUILabel* other = markupLabel();
    other->setColor(ccc3(36, 75, 98));
    other->setText(CCString::create("[10]a"));
    EXPECT_EQ(childrenColoured(other, ccc3(10, 75, 98)), 1);
}

TEST_F(LabelLayout, WordsWrapAndCountLinesPerLayout)
{
    fakeFont("abcdefghij", 4);
    GUILabel* coloured = GUILabel::create();
    coloured->setColoredText(CCString::create("abc def"), 20);
    EXPECT_EQ(coloured->getLineCount(), 2);
    GUILabel* multi = GUILabel::create();
    multi->setMultilineText(CCString::create("abc def"), 20, 5);
    EXPECT_EQ(multi->getLineCount(), 1);  // line breaks made
    // The second word starts the second line, one line step down.
    auto* d = static_cast<CCNode*>(coloured->getChildren()->objectAtIndex(3));
    EXPECT_FLOAT_EQ(d->getPosition().x, 0);
    EXPECT_FLOAT_EQ(d->getPosition().y, -(8 + 2));
    EXPECT_FLOAT_EQ(coloured->getContentSize().height, 8 + 10);

    GUILabel::lineSpacing = -2;
    GUILabel* closer = GUILabel::create();
    closer->setColoredText(CCString::create("abc def"), 20);
    auto* d2 = static_cast<CCNode*>(closer->getChildren()->objectAtIndex(3));
    EXPECT_FLOAT_EQ(d2->getPosition().y, -(8 + 2 - 2));

    GUILabel::lineSpacing = 0;
    GUILabel* limited = GUILabel::create();
    limited->setMultilineText(CCString::create("abc def ghi"), 20, 2);
    EXPECT_EQ(limited->getChildrenCount(), 6u);  // the third line is not drawn
    GUILabel* none = GUILabel::create();
    none->setMultilineText(CCString::create("abc"), 20, 0);
    EXPECT_EQ(none->getChildrenCount(), 0u);
}

TEST_F(LabelLayout, ALongWordIsCutAndEveryLineTakesAGlyph)
{
    fakeFont("abcdefghij", 4);
    GUILabel* label = GUILabel::create();
    label->setColoredText(CCString::create("abcdefghij"), 20);
    EXPECT_EQ(label->getChildrenCount(), 10u);
    EXPECT_GT(label->getLineCount(), 1);
    // Narrower than one glyph: one glyph per line, and the layout ends.
    for (bool multiline : {false, true}) {
        GUILabel* narrow = GUILabel::create();
        if (multiline)
            narrow->setMultilineText(CCString::create("abcd"), 2, 10);
        else
            narrow->setColoredText(CCString::create("abcd"), 2);
        EXPECT_EQ(narrow->getChildrenCount(), 4u);
        for (CCObject* object : *narrow->getChildren())
            EXPECT_FLOAT_EQ(static_cast<CCNode*>(object)->getPosition().x, 0);
    }
    // A cut never splits a character.
    fakeFont("a\xC3\xA9", 4);
    GUILabel* accents = GUILabel::create();
    log.clear();
    accents->setColoredText(CCString::create("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"), 12);
    EXPECT_EQ(accents->getChildrenCount(), 4u);
    EXPECT_FALSE(log.contains("doesn't contain"));
}

// A character the font lacks is drawn as the font's replacement mark, in
// every layout: no name reads as the same name without it, none is blank.
// Control characters stay blank.
TEST_F(LabelLayout, CharactersTheFontLacksTakeTheReplacementMark)
{
    const std::string mark = "\xEF\xBF\xBD";
    fakeFont("An" + mark, 4);
    const float markX = GUILabel::fontFrames[mark].origin.x;
    const auto drawn = [](GUILabel* label) {
        std::vector<float> xs;
        for (CCObject* object : *label->getChildren())
            xs.push_back(static_cast<CCSprite*>(object)->getTextureRect().origin.x - label->getTextureRect().origin.x);
        return xs;
    };
    const struct {
        const char* name;
        size_t marks;
    } names[] = {
        {"Ann\xE7\x8E\x8B", 1},                   // Ann + a Chinese letter
        {"Ann\xCC\x81", 1},                       // an accent on its own
        {"Ann\xE2\x83\x9D", 1},                   // an enclosing circle
        {"Ann\xE2\x80\x8B", 1},                   // a zero-width space
        {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", 4},  // Hebrew
        {"\xD8\xB3\xD9\x84\xD8\xA7\xD9\x85", 4},  // Arabic
        {"\xE7\x8E\x8B\xE8\x8A\xB3", 2},          // Chinese
        {"Ann\xFF", 1},                           // not UTF-8
    };
    for (int layout = 0; layout < 3; ++layout) {
        const auto lay = [layout](const std::string& text) {
            GUILabel* label = GUILabel::create();
            if (layout == 0)
                label->setText(CCString::create(text));
            else if (layout == 1)
                label->setColoredText(CCString::create(text), 1000);
            else
                label->setMultilineText(CCString::create(text), 1000, 3);
            return label;
        };
        const std::vector<float> ann = drawn(lay("Ann"));
        for (const auto& n : names) {
            const std::vector<float> xs = drawn(lay(n.name));
            EXPECT_NE(xs, ann) << layout << " " << n.name;
            EXPECT_EQ(std::count(xs.begin(), xs.end(), markX), static_cast<long>(n.marks)) << layout << " " << n.name;
        }
        const std::vector<float> control = drawn(lay("A\nn"));
        EXPECT_EQ(std::count(control.begin(), control.end(), markX), 0) << layout;
    }
}

// In the game's fonts a character they lack is a box showing its code point
// in hex, two digits above two (three above three beyond U+FFFF), in every
// font and layout: no name reads as another, nor as itself without it, and
// none is blank. The box measures, wraps and takes colour as one glyph.
TEST_F(LabelLayout, CharactersTheFontsLackShowTheirCodePointInABox)
{
    // What a label draws: each piece's place and the font glyph it shows; the
    // box's digits read back from its pieces, upper row then lower row.
    struct Drawn {
        std::vector<std::array<float, 4>> pieces;
        std::string upper, lower;
    };
    const auto draw = [](GUILabel* label) {
        std::map<std::pair<float, float>, long> glyphAt;
        for (const auto& [key, rect] : GUILabel::fontFrames)
            if (key.size() == 3 && static_cast<unsigned char>(key[0]) == 0xEE)
                glyphAt[{rect.origin.x, rect.origin.y}] = ((key[1] & 0x3F) << 6) | (key[2] & 0x3F);
        Drawn d;
        for (CCObject* object : *label->getChildren()) {
            auto* sprite = static_cast<CCSprite*>(object);
            const CCPoint at = ccpSub(sprite->getTextureRect().origin, label->getTextureRect().origin);
            const CCPoint p = sprite->getPosition();
            d.pieces.push_back({p.x, p.y, at.x, std::round(at.y)});
            auto found = glyphAt.find({at.x, std::round(at.y)});
            if (found == glyphAt.end())
                found = glyphAt.find({at.x, std::round(at.y) - 1});  // top row dropped
            if (found != glyphAt.end() && found->second < 0x20)
                (found->second < 0x10 ? d.upper : d.lower) += "0123456789ABCDEF"[found->second & 0xF];
        }
        return d;
    };
    const struct {
        const char* text;
        const char* upper;
        const char* lower;
    } names[] = {
        {"Ann", "", ""},
        {"Ann\xE7\x8E\x8B", "73", "8B"},                               // Ann + a Chinese letter
        {"Ann\xE4\xB8\xAD", "4E", "2D"},                               // another one
        {"Ann\xCC\x81", "03", "01"},                                   // an accent on its own
        {"Ann\xE2\x83\x9D", "20", "DD"},                               // an enclosing circle
        {"Ann\xF0\x9F\x98\x80", "01F", "600"},                         // an emoji
        {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", "05050505", "E9DCD5DD"},  // Hebrew
        {"Ann\xFF", "", ""},                                           // not UTF-8: the mark
        {"A\x01n\x7F", "", ""},                                        // controls stay blank
    };
    for (const char* font : {"popups_ach_fontButtons", "popups_ach_colorFont", "mainmenu_ach_fontButtonsGold",
                             "keyboard_keyboard_fontButtons"}) {
        GUILabel::setFontName(font);
        for (int layout = 0; layout < 3; ++layout) {
            const auto lay = [layout](const std::string& text, GUILabel* label = GUILabel::create()) {
                if (layout == 0)
                    label->setText(CCString::create(text));
                else if (layout == 1)
                    label->setColoredText(CCString::create(text), 1000);
                else
                    label->setMultilineText(CCString::create(text), 1000, 3);
                return label;
            };
            std::set<std::vector<std::array<float, 4>>> seen;
            const float ann = lay("Ann")->getWidth();
            for (const auto& n : names) {
                GUILabel* label = lay(n.text);
                const Drawn d = draw(label);
                EXPECT_TRUE(seen.insert(d.pieces).second) << font << " " << layout << ": " << n.text << " looks alike";
                EXPECT_EQ(d.upper, n.upper) << font << " " << layout << " " << n.text;
                EXPECT_EQ(d.lower, n.lower) << font << " " << layout << " " << n.text;
                // Two digits and three columns of block, each 1 wide, make a
                // box 9 wide; six digits, 13.
                const size_t digits = std::string(n.upper).size();
                if (digits == 2 || digits == 3) {
                    EXPECT_FLOAT_EQ(label->getWidth() - ann, digits == 2 ? 10 : 14)
                        << font << " " << layout << " " << n.text;
                }
            }
            // Colour markup colours every piece of a box.
            GUILabel* coloured = markupLabel();
            lay("[200,10,10]\xE7\x8E\x8B|", coloured);
            ASSERT_EQ(coloured->getChildrenCount(), 7u) << font << " " << layout;
            for (CCObject* object : *coloured->getChildren())
                EXPECT_TRUE(sameColour(static_cast<CCSprite*>(object)->getColor(), ccc3(200, 10, 10)))
                    << font << " " << layout;
        }
        // Boxes wrap whole: 2 of 10 a line fit 25.
        GUILabel* wrapped = GUILabel::create();
        wrapped->setMultilineText(CCString::create("\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD"), 25,
                                  5);
        std::map<float, int> piecesPerLine;
        for (CCObject* object : *wrapped->getChildren())
            ++piecesPerLine[static_cast<CCNode*>(object)->getPosition().y];
        EXPECT_EQ(piecesPerLine.size(), 3u) << font;
        for (const auto& [y, count] : piecesPerLine)
            EXPECT_EQ(count % 7, 0) << font << " line at " << y;
    }
}

// A path or a name longer than the line breaks only after its own
// separators, and its pieces never stand on one line with a space between.
TEST_F(LabelLayout, APathBreaksAtItsSeparatorsAndShowsNoSpaceItLacks)
{
    const std::string chars = "KeptinhomaulcsrfbTd-1/.";
    fakeFont(chars, 4);
    const auto lines = [&](GUILabel* label) {
        // The text of each line as drawn; a gap wider than the letter space is a space.
        std::map<float, std::vector<std::pair<float, char>>> rows;
        for (CCObject* object : *label->getChildren()) {
            auto* glyph = static_cast<CCSprite*>(object);
            const float x = glyph->getTextureRect().origin.x - label->getTextureRect().origin.x;
            const auto index = static_cast<size_t>(std::lround(x / 5));
            rows[-glyph->getPosition().y].push_back({glyph->getPosition().x, chars[index]});
        }
        std::vector<std::string> out;
        for (auto& [y, glyphs] : rows) {
            std::sort(glyphs.begin(), glyphs.end());
            std::string line;
            for (size_t i = 0; i < glyphs.size(); ++i)
                line +=
                    std::string(i > 0 && glyphs[i].first - glyphs[i - 1].first > 5.5f ? " " : "") + glyphs[i].second;
            out.push_back(line);
        }
        return out;
    };
    const std::string text = "Kept in /home/ann/.local/share/Tesmora/unreadable-profile-1";
    // Every piece between separators fits these lines.
    for (float width : {70.0f, 90.0f, 130.0f, 200.0f}) {
        for (bool multiline : {false, true}) {
            GUILabel* label = GUILabel::create();
            if (multiline)
                label->setMultilineText(CCString::create(text), width, 20);
            else
                label->setColoredText(CCString::create(text), width);
            const std::vector<std::string> shown = lines(label);
            ASSERT_FALSE(shown.empty());
            // The lines read back the text: each is a piece of it, joined to
            // the next by the text's own space or, inside a word, by nothing
            // after a separator.
            size_t at = 0;
            for (size_t i = 0; i < shown.size(); ++i) {
                if (i > 0 && text.compare(at, 1, " ") == 0) {
                    ++at;
                } else if (i > 0) {
                    EXPECT_NE(std::string("/-_.").find(text[at - 1]), std::string::npos)
                        << width << ": broken inside a word before " << shown[i];
                }
                EXPECT_EQ(text.compare(at, shown[i].size(), shown[i]), 0)
                    << width << " " << multiline << ": line " << i << " \"" << shown[i] << "\" is not in the text";
                at += shown[i].size();
            }
            EXPECT_EQ(at, text.size()) << width << " " << multiline;
        }
    }
}

TEST_F(LabelLayout, EveryLayoutKeepsTheLabelsOwnFontWhateverFontIsCurrent)
{
    using Layout = void (*)(GUILabel*);
    const std::pair<const char*, Layout> layouts[] = {
        {"one line", [](GUILabel* l) { l->setText(CCString::create("Plain 3500")); }},
        {"wrapped", [](GUILabel* l) { l->setColoredText(CCString::create("Plain 3500"), 40); }},
        {"lines", [](GUILabel* l) { l->setMultilineText(CCString::create("Plain 3500"), 40, 3); }},
        {"fitted", [](GUILabel* l) { l->fitColoredText(CCString::create("Plain 3500"), 60, 40); }},
    };
    const auto glyphs = [](GUILabel* label) {
        std::vector<CCRect> rects;
        for (CCObject* child : *label->getChildren())
            rects.push_back(static_cast<CCSprite*>(child)->getTextureRect());
        return rects;
    };
    for (const auto& [name, layOut] : layouts) {
        GUILabel::setFontName("gamemenus_ach_fontButtons");
        GUILabel* label = GUILabel::create();
        layOut(label);
        const std::vector<CCRect> own = glyphs(label);
        const CCSize size = label->getContentSize();
        // Another screen's font, whose glyphs lie elsewhere in its image.
        GUILabel::setFontName("popups_ach_colorFont");
        layOut(label);
        const std::vector<CCRect> again = glyphs(label);
        ASSERT_EQ(again.size(), own.size()) << name;
        for (size_t i = 0; i < own.size(); ++i)
            EXPECT_TRUE(again[i].equals(own[i])) << name << " glyph " << i;
        EXPECT_TRUE(label->getContentSize().equals(size)) << name;
        EXPECT_EQ(label->getFontName(), "gamemenus_ach_fontButtons") << name;
        label->scaleToSize(20);
        EXPECT_FLOAT_EQ(label->getScale(), 2.0f) << name;  // its own font's size, 10
    }
}
