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
        const int row = kWritingLineRow - top + y;
        for (int x = minX; x <= maxX; ++x) {
            if (!bit(x, y))
                continue;
            // Row 0 stays empty: the one-line layout drops it. Ink outside
            // the rows left would be cut off the letter.
            if (row < 1 || row >= kGlyphRows) {
                error = "'" + key + "' reaches row " + std::to_string(row) + ", outside rows 1 to " +
                    std::to_string(kGlyphRows - 1) + " of its glyph";
                return false;
            }
            glyph.ink[static_cast<size_t>(row) * glyph.width + (x - minX)] = 1;
        }
    }
    return true;
}

// The letter with the mark set over it, one empty row between, centred on
// the letter's ink. A mark of odd width over a letter of even width is
// widened by its middle column; one of even width over a letter of odd width
// has the middle of its lowest row over the letter's middle column, so an
// acute and a grave lean away from the same column.
bool composeAccent(const Glyph& base, const std::string& key, const Image& picture, Glyph& glyph, std::string& error)
{
    std::vector<std::vector<bool>> mark;
    int left = picture.width(), right = -1;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.at(x, y).a) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    for (int y = 0; y < picture.height(); ++y) {
        std::vector<bool> row;
        for (int x = left; x <= right; ++x)
            row.push_back(picture.at(x, y).a != 0);
        if (std::find(row.begin(), row.end(), true) != row.end())
            mark.push_back(row);
    }
    int baseTop = -1;
    for (int row = 0; row < kGlyphRows && baseTop < 0; ++row)
        for (int x = 0; x < base.width; ++x)
            if (base.ink[static_cast<size_t>(row) * base.width + x]) {
                baseTop = row;
                break;
            }
    if (mark.empty() || baseTop < 0) {
        error = "the accent of '" + key + "' or its letter has no ink";
        return false;
    }
    int markWidth = static_cast<int>(mark[0].size());
    if (markWidth % 2 == 1 && base.width % 2 == 0) {
        for (auto& row : mark)
            row.insert(row.begin() + markWidth / 2, row[static_cast<size_t>(markWidth / 2)]);
        ++markWidth;
    }
    int offset = (base.width - markWidth) / 2;
    if ((base.width - markWidth) % 2 != 0) {
        const std::vector<bool>& lowest = mark.back();
        const int first = static_cast<int>(std::find(lowest.begin(), lowest.end(), true) - lowest.begin());
        const int last = static_cast<int>(lowest.rend() - std::find(lowest.rbegin(), lowest.rend(), true)) - 1;
        offset = (base.width - 1) / 2 - (first + last) / 2;
    }
    const int markTop = baseTop - 1 - static_cast<int>(mark.size());
    if (markTop < 1) {
        error = "no room above '" + base.key + "' for the accent of '" + key + "'";
        return false;
    }
    const int shift = std::max(0, -offset);
    glyph.key = key;
    glyph.width = std::max(base.width, offset + markWidth) + shift;
    glyph.ink.assign(static_cast<size_t>(glyph.width) * kGlyphRows, 0);
    for (int row = 0; row < kGlyphRows; ++row)
        for (int x = 0; x < base.width; ++x)
            glyph.ink[static_cast<size_t>(row) * glyph.width + x + shift] =
                base.ink[static_cast<size_t>(row) * base.width + x];
    for (size_t y = 0; y < mark.size(); ++y)
        for (int x = 0; x < markWidth; ++x)
            if (mark[y][static_cast<size_t>(x)])
                glyph.ink[(static_cast<size_t>(markTop) + y) * glyph.width + x + offset + shift] = 1;
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
    auto plain = [&](const std::string& key, Glyph& glyph) {
        auto drawn = recipe.overrides.find(key);
        if (drawn != recipe.overrides.end())
            return glyphFromPicture(key, drawn->second, glyph, error);
        return renderGlyph(face, key, recipe.blanks.count(key) > 0, glyph, error);
    };
    std::vector<Glyph> glyphs;
    for (size_t i = 0; ok && i < recipe.chars.size(); ++i) {
        const std::string& key = recipe.chars[i];
        Glyph glyph;
        auto accent = recipe.accents.find(key);
        if (accent != recipe.accents.end() && !recipe.overrides.count(key)) {
            Glyph base;
            ok = plain(accent->second.base, base) && composeAccent(base, key, accent->second.mark, glyph, error);
        } else {
            ok = plain(key, glyph);
        }
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
