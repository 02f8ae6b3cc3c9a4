#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "PixelText.h"

using namespace assetgen;

namespace {

const Rgba kInk{255, 255, 255, 255};

// The 3 x 7 glyph at column x of the strip, as 21 inked-or-not bits.
std::string glyphAt(const Image& strip, int x)
{
    std::string bits;
    for (int y = 0; y < 7; ++y)
        for (int i = 0; i < 3; ++i)
            bits += strip.at(x + i, y).a ? '#' : '.';
    return bits;
}

TEST(PixelText, TheDigitStripHasOneDistinctGlyphPerCountWhereTheBadgeCutsIt)
{
    const Image strip = digitStrip(kInk);
    ASSERT_EQ(strip.width(), 42);
    ASSERT_EQ(strip.height(), 7);
    std::set<std::string> seen;
    // The badge cuts 3 x 7 at 4n + 3 for a count n of 1..9, at 0 above nine.
    std::vector<int> cuts{0};
    for (int n = 0; n <= 9; ++n)
        cuts.push_back(4 * n + 3);
    for (int x : cuts) {
        const std::string glyph = glyphAt(strip, x);
        EXPECT_NE(glyph.find('#'), std::string::npos) << "blank glyph at " << x;
        EXPECT_TRUE(seen.insert(glyph).second) << "two counts look alike at " << x;
    }
    // Between glyphs nothing is drawn, so a cut never shows a neighbour's edge.
    for (int n = 1; n <= 9; ++n)
        for (int y = 0; y < 7; ++y)
            EXPECT_EQ(strip.at(4 * n + 2, y).a, 0) << "column " << 4 * n + 2;
    EXPECT_EQ(glyphAt(strip, 7), ".#.##..#..#..#..#.###") << "a one";
}

TEST(PixelText, PlaceholderLabelsNameTheElement)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Tyrannosaurus", "TYR"},
        {"BuilderDust", "BD"},
        {"SeedPagoda", "PAG"},
        {"SeedRedMaple", "RM"},
        {"SeedUFOCrash", "UFO"},
        {"MPLeaderTank", "TAN"},
        {"MPLander", "LAN"},
        {"Tnt", "TNT"},
        {"Ox", "OX"},
        {"Seed", "SEE"},
        {"", ""},
    };
    for (const auto& [name, label] : cases)
        EXPECT_EQ(placeholderLabel(name), label) << name;
}

TEST(PixelText, ALabelledBlockKeepsItsOutlineAndShowsItsText)
{
    const Rgba fill{128, 128, 128, 255}, outline{255, 0, 255, 255};
    struct Case {
        std::string label;
        int inkedMin;  // at least this many label pixels
    };
    const Case cases[] = {{"TYR", 20}, {"BD", 12}, {"WWWWWW", 20}, {"", 0}};
    // Kept as strings: GCC 12 warns wrongly on comparing byte vectors at -O3.
    std::set<std::string> pictures;
    for (const Case& c : cases) {
        const Image block = labelledBlock(14, 14, fill, outline, c.label, kInk);
        int inked = 0;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 14; ++x) {
                const bool edge = x == 0 || y == 0 || x == 13 || y == 13;
                if (edge) {
                    EXPECT_EQ(block.at(x, y), outline) << c.label << " at " << x << "," << y;
                } else {
                    inked += block.at(x, y) == kInk;
                }
            }
        EXPECT_GE(inked, c.inkedMin) << c.label;
        if (c.label.empty()) {
            EXPECT_EQ(inked, 0);
        }
        EXPECT_TRUE(pictures.insert(std::string(block.bytes().begin(), block.bytes().end())).second)
            << c.label << " looks like another label";
    }
}

}  // namespace
