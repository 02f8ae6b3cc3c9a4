#pragma once
// Bitmap fonts: glyphs rasterised with FreeType (hinted, 1-bit) into one font
// image, plus the font plist that gives every glyph's rectangle in it.
#include "Image.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace assetgen {

struct FontRecipe {
    std::string name;  // file name without ".plist", e.g. "ach_fontButtons"
    std::string facePath;
    int pixelSize = 9;
    Rgba top{255, 255, 255, 255};     // colour of the glyphs' top row
    Rgba bottom{255, 255, 255, 255};  // colour at the writing line and below
    std::vector<std::string> chars;   // UTF-8 characters, in plist order
    // Characters drawn as the space, 3 columns and no ink, whatever the face
    // draws (the no-break space).
    std::set<std::string> blanks;
    // Hand-drawn glyphs that replace rasterised ones: kGlyphRows high, any
    // opaque pixel is ink.
    std::map<std::string, Image> overrides;
    // Accented letters built from the face's own base letter and a
    // hand-drawn mark (any opaque pixel is ink) set one empty row above it.
    struct Accent {
        std::string base;
        Image mark;
    };
    std::map<std::string, Accent> accents;
};

struct GlyphRect {
    std::string key;
    int x = 0, y = 0, w = 0, h = 0;
    // The glyph's first and last rows holding ink (from its top row, 0);
    // -1 for a glyph without ink.
    int inkTop = -1, inkBottom = -1;
};

struct BitmapFont {
    Image image;
    std::vector<GlyphRect> glyphs;
};

// Metrics shared by every font file (the labels scale by size / fontSize).
constexpr int kFontSize = 10;
constexpr int kBaseLine = 2;
constexpr int kLetterSpace = 1;
constexpr int kGlyphRows = 13;       // row 0 empty, 1-2 accents, 3-10 ascent, 11-12 descent
constexpr int kWritingLineRow = 11;  // first row below the writing line
constexpr int kMaxFontWidth = 256;
constexpr int kSpaceWidth = 3;

bool rasteriseFont(const FontRecipe& recipe, BitmapFont& out, std::string& error);
std::string fontPlist(const BitmapFont& font);

}  // namespace assetgen
