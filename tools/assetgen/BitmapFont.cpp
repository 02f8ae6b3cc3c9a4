#include "BitmapFont.h"

#include "Manifest.h"
#include "Plist.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace assetgen {

namespace {

struct Glyph {
    std::string key;
    int width = 0;
    std::vector<uint8_t> ink;  // width x kGlyphRows, 1 = set
};

Rgba rowColour(const FontRecipe& recipe, int row)
{
    // Shade from the top glyph row (1) to the last row above the writing line.
    const int first = 1, last = kWritingLineRow - 1;
    float t = static_cast<float>(row - first) / static_cast<float>(last - first);
    t = std::clamp(t, 0.0f, 1.0f);
    auto mix = [t](uint8_t a, uint8_t b) {
        return static_cast<uint8_t>(static_cast<float>(a) + (static_cast<float>(b) - static_cast<float>(a)) * t + 0.5f);
    };
    return {mix(recipe.top.r, recipe.bottom.r), mix(recipe.top.g, recipe.bottom.g), mix(recipe.top.b, recipe.bottom.b),
            255};
}

bool renderGlyph(FT_Face face, const std::string& key, bool blank, Glyph& glyph, std::string& error)
{
    glyph.key = key;
    if (key == " " || blank) {
        glyph.width = kSpaceWidth;
        glyph.ink.assign(static_cast<size_t>(glyph.width) * kGlyphRows, 0);
        return true;
    }
    long cp = decodeUtf8(key);
    FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(cp));
    if (index == 0) {
        error = "the face has no glyph for '" + key + "'";
        return false;
    }
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) {
        error = "FreeType cannot render '" + key + "'";
        return false;
    }
    const FT_Bitmap& bm = face->glyph->bitmap;
    const int top = face->glyph->bitmap_top;
    // Ink columns only: the advance comes from the letter space, not the face.
    int minX = static_cast<int>(bm.width), maxX = -1;
    auto bit = [&](int x, int y) {
        const unsigned char* row = bm.buffer + static_cast<long>(y) * bm.pitch;
        return bm.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] >> (7 - (x & 7))) & 1) != 0 : row[x] >= 128;
    };
    for (int y = 0; y < static_cast<int>(bm.rows); ++y)
        for (int x = 0; x < static_cast<int>(bm.width); ++x)
            if (bit(x, y)) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    glyph.width = maxX >= minX ? maxX - minX + 1 : 1;
    glyph.ink.assign(static_cast<size_t>(glyph.width) * kGlyphRows, 0);
    for (int y = 0; y < static_cast<int>(bm.rows); ++y) {
        int row = kWritingLineRow - top + y;
        if (row < 1 || row >= kGlyphRows)  // row 0 stays empty: the one-line layout drops it
            continue;
        for (int x = minX; x <= maxX; ++x)
            if (bit(x, y))
                glyph.ink[static_cast<size_t>(row) * glyph.width + (x - minX)] = 1;
    }
    return true;
}

bool glyphFromPicture(const std::string& key, const Image& picture, Glyph& glyph, std::string& error)
{
    if (picture.height() != kGlyphRows || picture.width() < 1) {
        error = "the drawn glyph '" + key + "' must be " + std::to_string(kGlyphRows) + " rows high";
        return false;
    }
    glyph.key = key;
    glyph.width = picture.width();
    glyph.ink.assign(static_cast<size_t>(glyph.width) * kGlyphRows, 0);
    for (int row = 1; row < kGlyphRows; ++row)  // row 0 stays empty, as for rasterised glyphs
        for (int x = 0; x < glyph.width; ++x)
            glyph.ink[static_cast<size_t>(row) * glyph.width + x] = picture.at(x, row).a != 0;
    return true;
}

}  // namespace

bool rasteriseFont(const FontRecipe& recipe, BitmapFont& out, std::string& error)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        error = "FreeType does not start";
        return false;
    }
    FT_Face face = nullptr;
    bool ok = FT_New_Face(library, recipe.facePath.c_str(), 0, &face) == 0;
    if (!ok)
        error = "cannot open the font face " + recipe.facePath;
    ok = ok && FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(recipe.pixelSize)) == 0;
    std::vector<Glyph> glyphs;
    for (size_t i = 0; ok && i < recipe.chars.size(); ++i) {
        Glyph glyph;
        auto drawn = recipe.overrides.find(recipe.chars[i]);
        if (drawn != recipe.overrides.end())
            ok = glyphFromPicture(recipe.chars[i], drawn->second, glyph, error);
        else
            ok = renderGlyph(face, recipe.chars[i], recipe.blanks.count(recipe.chars[i]) > 0, glyph, error);
        if (ok)
            glyphs.push_back(std::move(glyph));
        else
            error = recipe.name + ": " + error;
    }
    if (face)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    if (!ok)
        return false;

    // Shelf packing, left to right, 1 empty column and row between rectangles.
    out.glyphs.clear();
    int x = 0, y = 0, width = 0;
    for (const Glyph& g : glyphs) {
        if (x > 0 && x + g.width > kMaxFontWidth) {
            x = 0;
            y += kGlyphRows + 1;
        }
        GlyphRect rect{g.key, x, y, g.width, kGlyphRows};
        for (int row = 0; row < kGlyphRows; ++row)
            for (int col = 0; col < g.width; ++col)
                if (g.ink[static_cast<size_t>(row) * g.width + col]) {
                    if (rect.inkTop < 0)
                        rect.inkTop = row;
                    rect.inkBottom = row;
                }
        out.glyphs.push_back(rect);
        width = std::max(width, x + g.width);
        x += g.width + 1;
    }
    out.image = Image(std::max(width, 1), y + kGlyphRows);
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const GlyphRect& r = out.glyphs[i];
        for (int row = 0; row < kGlyphRows; ++row)
            for (int col = 0; col < r.w; ++col)
                if (glyphs[i].ink[static_cast<size_t>(row) * r.w + col])
                    out.image.set(r.x + col, r.y + row, rowColour(recipe, row));
    }
    return true;
}

std::string fontPlist(const BitmapFont& font)
{
    PlistWriter w;
    w.beginDict();
    w.key("font");
    w.beginDict();
    for (const GlyphRect& g : font.glyphs) {
        w.key(g.key);
        w.string(rectText(g.x, g.y, g.w, g.h));
    }
    w.endDict();
    // The rows each glyph inks, "{first,last}" from its rectangle's top: the
    // wrapped layouts keep a line's accents off the letters above them.
    w.key("ink");
    w.beginDict();
    for (const GlyphRect& g : font.glyphs)
        if (g.inkTop >= 0) {
            w.key(g.key);
            w.string(sizeText(g.inkTop, g.inkBottom));  // the same "{a,b}" form
        }
    w.endDict();
    w.key("fontSize");
    w.integer(kFontSize);
    w.key("letterSpace");
    w.integer(kLetterSpace);
    w.key("baseLine");
    w.integer(kBaseLine);
    w.key("lowercase");
    w.integer(1);
    w.key("uppercase");
    w.integer(1);
    w.endDict();
    return w.finish();
}

}  // namespace assetgen
