#include <gtest/gtest.h>

#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BitmapFont.h"
#include "Image.h"
#include "Landscape.h"
#include "Manifest.h"
#include "PixelMap.h"
#include "Sheet.h"

using namespace assetgen;

namespace {

std::string tempPath(const std::string& name)
{
    return "/tmp/assetgen-test-" + std::to_string(getpid()) + "-" + name;
}

std::vector<unsigned char> readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

SheetFrame frame(const std::string& name, int w, int h)
{
    SheetFrame f;
    f.name = name;
    f.image = Image(w, h);
    f.image.fillRect(0, 0, w, h, {1, 2, 3, 255});
    return f;
}

TEST(SheetPacking, FramesGoInNameOrderWithGapsIntoAPowerOfTwoAtlas)
{
    std::vector<SheetFrame> frames = {frame("s_c.png", 30, 10), frame("s_a.png", 50, 20), frame("s_b.png", 40, 40)};
    Image atlas;
    std::string error;
    ASSERT_TRUE(packSheet(frames, atlas, error)) << error;
    ASSERT_EQ(frames[0].name, "s_a.png");
    EXPECT_EQ(frames[2].name, "s_c.png");
    EXPECT_EQ(atlas.width() & (atlas.width() - 1), 0);
    EXPECT_EQ(atlas.height() & (atlas.height() - 1), 0);
    for (size_t i = 0; i < frames.size(); ++i) {
        const SheetFrame& a = frames[i];
        EXPECT_LE(a.x + a.image.width(), atlas.width());
        EXPECT_LE(a.y + a.image.height(), atlas.height());
        for (size_t j = i + 1; j < frames.size(); ++j) {
            const SheetFrame& b = frames[j];
            const bool apart = a.x + a.image.width() + kFrameGap <= b.x || b.x + b.image.width() + kFrameGap <= a.x ||
                a.y + a.image.height() + kFrameGap <= b.y || b.y + b.image.height() + kFrameGap <= a.y;
            EXPECT_TRUE(apart) << a.name << " and " << b.name << " are closer than the gap";
        }
    }
    EXPECT_EQ(atlas.at(frames[1].x, frames[1].y).a, 255);

    std::vector<SheetFrame> huge = {frame("s_big.png", kMaxAtlasSize + 1, 4)};
    EXPECT_FALSE(packSheet(huge, atlas, error));
}

TEST(SheetPlist, ListsEveryFrameUntrimmedAndUnrotated)
{
    std::vector<SheetFrame> frames = {frame("s_a.png", 5, 6)};
    frames[0].x = 8;
    frames[0].y = 9;
    const std::string text = sheetPlist(frames, "s.png", 16, 32);
    EXPECT_NE(text.find("<key>s_a.png</key>"), std::string::npos);
    EXPECT_NE(text.find("<string>{{8,9},{5,6}}</string>"), std::string::npos);
    EXPECT_NE(text.find("<key>rotated</key>\n\t\t\t<false/>"), std::string::npos);
    EXPECT_NE(text.find("<string>{0,0}</string>"), std::string::npos);
    EXPECT_NE(text.find("<string>s.png</string>"), std::string::npos);
}

TEST(PixelMaps, LegendScaleAndMistakes)
{
    const std::string path = tempPath("map.art");
    auto write = [&path](const std::string& text) { std::ofstream(path) << text; };
    Image out;
    std::string error;
    write("# comment\nscale 2\ncolor . 0 0 0 0\ncolor # 9 8 7 255\npixels\n#.\n.#\n");
    ASSERT_TRUE(readPixelMap(path, out, error)) << error;
    EXPECT_EQ(out.width(), 4);
    EXPECT_EQ(out.height(), 4);
    EXPECT_EQ(out.at(1, 1), (Rgba{9, 8, 7, 255}));
    EXPECT_EQ(out.at(2, 1).a, 0);

    write("color . 0 0 0 0\npixels\n..\n...\n");
    EXPECT_FALSE(readPixelMap(path, out, error));
    EXPECT_NE(error.find("row 2"), std::string::npos) << error;
    write("color . 0 0 0 0\npixels\n.x\n");
    EXPECT_FALSE(readPixelMap(path, out, error));
    write("color . 0 0 0 300\npixels\n.\n");
    EXPECT_FALSE(readPixelMap(path, out, error));
    write("color . 0 0 0 0\n");
    EXPECT_FALSE(readPixelMap(path, out, error));
    std::remove(path.c_str());
}

TEST(PngWriter, SameImageGivesTheSameBytesAndAValidStream)
{
    Image image(3, 2);
    image.set(0, 0, {255, 0, 0, 255});
    image.set(2, 1, {0, 0, 255, 128});
    const std::string a = tempPath("a.png"), b = tempPath("b.png");
    std::string error;
    ASSERT_TRUE(writePng(a, image, error)) << error;
    ASSERT_TRUE(writePng(b, image, error)) << error;
    std::vector<unsigned char> bytes = readAll(a);
    EXPECT_EQ(bytes, readAll(b));
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "IHDR");
    EXPECT_EQ(bytes[24], 8);  // bits per component
    EXPECT_EQ(bytes[25], 6);  // RGBA
    // The image data inflates to filter byte + RGBA per row.
    const size_t idat = 8 + 25;
    const uint32_t len = (bytes[idat] << 24) | (bytes[idat + 1] << 16) | (bytes[idat + 2] << 8) | bytes[idat + 3];
    ASSERT_EQ(std::string(bytes.begin() + idat + 4, bytes.begin() + idat + 8), "IDAT");
    std::vector<unsigned char> raw(2 * (1 + 3 * 4));
    uLongf rawLen = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawLen, &bytes[idat + 8], len), Z_OK);
    EXPECT_EQ(rawLen, raw.size());
    EXPECT_EQ(raw[1], 255);
    EXPECT_EQ(raw[13 + 1 + 8 + 2], 255);
    EXPECT_EQ(raw[13 + 1 + 8 + 3], 128);
    EXPECT_FALSE(writePng(tempPath("empty.png"), Image(), error));
    std::remove(a.c_str());
    std::remove(b.c_str());
}

TEST(Fonts, GlyphsAreThirteenRowsWithTheirInkWidthAndShadedRows)
{
    FontRecipe recipe;
    recipe.name = "test";
    recipe.facePath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
    recipe.top = {255, 236, 139, 255};
    recipe.bottom = {227, 140, 30, 255};
    ASSERT_TRUE(splitUtf8Chars("A g \xC3\x89 |", recipe.chars));
    recipe.chars.insert(recipe.chars.begin(), " ");
    BitmapFont font;
    std::string error;
    ASSERT_TRUE(rasteriseFont(recipe, font, error)) << error;
    ASSERT_EQ(font.glyphs.size(), 5u);
    EXPECT_EQ(font.glyphs[0].key, " ");
    EXPECT_EQ(font.glyphs[0].w, kSpaceWidth);
    for (const GlyphRect& g : font.glyphs) {
        EXPECT_EQ(g.h, kGlyphRows) << g.key;
        EXPECT_GE(g.w, 1) << g.key;
        for (int x = 0; x < g.w; ++x)
            EXPECT_EQ(font.image.at(g.x + x, g.y).a, 0) << "row 0 of '" << g.key << "' must stay empty";
    }
    // 'g' reaches below the writing line; 'É' above the capitals.
    auto inkRows = [&font](const GlyphRect& g, int from, int to) {
        for (int y = from; y < to; ++y)
            for (int x = 0; x < g.w; ++x)
                if (font.image.at(g.x + x, g.y + y).a)
                    return true;
        return false;
    };
    EXPECT_TRUE(inkRows(font.glyphs[2], kWritingLineRow, kGlyphRows));
    EXPECT_FALSE(inkRows(font.glyphs[1], kWritingLineRow, kGlyphRows));
    EXPECT_TRUE(inkRows(font.glyphs[3], 1, 3));
    // The gold shade darkens towards the writing line.
    const GlyphRect& bar = font.glyphs[4];
    Rgba high{}, low{};
    for (int y = 1; y < kWritingLineRow; ++y)
        for (int x = 0; x < bar.w; ++x)
            if (Rgba c = font.image.at(bar.x + x, bar.y + y); c.a) {
                if (!high.a)
                    high = c;
                low = c;
            }
    EXPECT_GT(high.b, low.b);

    recipe.chars = {"\xE4\xB8\xAD"};  // a character the face lacks
    EXPECT_FALSE(rasteriseFont(recipe, font, error));
}

TEST(Manifests, StrictNumbersAndUtf8)
{
    int v = 0;
    EXPECT_TRUE(parseInt("-12", v));
    EXPECT_EQ(v, -12);
    EXPECT_FALSE(parseInt("12px", v));
    EXPECT_FALSE(parseInt("", v));
    EXPECT_FALSE(parseInt("99999999999", v));
    std::vector<std::string> chars;
    EXPECT_TRUE(splitUtf8Chars("a \xC3\xA9\xE2\x82\xAC", chars));
    EXPECT_EQ(chars, (std::vector<std::string>{"a", "\xC3\xA9", "\xE2\x82\xAC"}));
    EXPECT_FALSE(splitUtf8Chars("\xC3", chars));
    EXPECT_EQ(decodeUtf8("\xE2\x82\xAC"), 0x20AC);
    EXPECT_EQ(encodeUtf8(0x20AC), "\xE2\x82\xAC");
}

}  // namespace

TEST(Landscapes, ARidgeIsLandBelowItsCrestNothingAboveAndItsEdgesMeet)
{
    const Rgba sand{214, 172, 98, 255};
    for (const int seed : {3, 5, 11}) {
        const int width = 200, height = 40;
        const Image ridge = drawRidge(width, height, seed, sand);
        ASSERT_EQ(ridge.width(), width);
        for (int x = 0; x < width; ++x) {
            const int crest = ridgeCrest(width, height, seed, x);
            ASSERT_GE(crest, 0);
            ASSERT_LT(crest, height);
            EXPECT_EQ(ridge.at(x, std::max(0, crest - 1)).a, crest == 0 ? 255 : 0) << seed << " " << x;
            EXPECT_EQ(ridge.at(x, crest).a, 255);
            EXPECT_EQ(ridge.at(x, height - 1).a, 255);
        }
        // The column after the last is the first again: no step at the seam.
        EXPECT_LE(std::abs(ridgeCrest(width, height, seed, width) - ridgeCrest(width, height, seed, 0)), 1);
        EXPECT_LE(std::abs(ridgeCrest(width, height, seed, width - 1) - ridgeCrest(width, height, seed, 0)), 1);
        EXPECT_EQ(drawRidge(width, height, seed, sand).bytes(), ridge.bytes()) << "the same picture every time";
    }
}
