// assetgen: writes the generated part of the resource tree from the manifests
// under assets/ (sprite sheets, bitmap fonts, pictures and blueprint folders).
//
//   assetgen --assets <assets folder> --out <resource tree> [--faces <font folder>] [--stamp <file>]
//
// Every run rewrites the same files with the same bytes.
#include "BitmapFont.h"
#include "Blueprints.h"
#include "Image.h"
#include "Landscape.h"
#include "Manifest.h"
#include "PixelMap.h"
#include "PixelText.h"
#include "Scenes.h"
#include "Sheet.h"
#include "icons/ElementIcons.h"

#include <dirent.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace assetgen;

namespace {

struct Context {
    std::string assets;
    std::string out;
    std::string faces = "/usr/share/fonts/truetype/dejavu";
    std::map<std::string, BitmapFont> fonts;
    std::set<std::string> frameNames;     // across all sheets: the frame cache is global
    std::unique_ptr<ElementIcons> icons;  // made on first use: it runs the game's elements
};

bool fail(const std::string& message)
{
    std::fprintf(stderr, "assetgen: %s\n", message.c_str());
    return false;
}

bool parseColour(const std::vector<std::string>& words, size_t at, Rgba& c)
{
    if (words.size() < at + 4)
        return false;
    int v[4];
    for (int i = 0; i < 4; ++i)
        if (!parseInt(words[at + i], v[i]) || v[i] < 0 || v[i] > 255)
            return false;
    c = {static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]), static_cast<uint8_t>(v[2]),
         static_cast<uint8_t>(v[3])};
    return true;
}

bool parseSize(const std::vector<std::string>& words, size_t at, int& w, int& h)
{
    return words.size() >= at + 2 && parseInt(words[at], w) && parseInt(words[at + 1], h) && w > 0 && h > 0 &&
        w <= kMaxAtlasSize && h <= kMaxAtlasSize;
}

// A drawing recipe starting at words[at]:
//   fill W H R G B A            a flat block
//   box W H R G B A R G B A     a block (first colour) with a 1-pixel outline (second)
//   label W H R G B A R G B A [TEXT]
//                               a box with TEXT (up to three letters or
//                               digits) centred in a 3 x 5 pixel font, white;
//                               without TEXT, letters of the frame name's last
//                               word (guitopbar_HUDelement_BuilderDust.png: BD)
//   digits R G B A              the 42 x 7 badge digit strip: a plus at x 0,
//                               digit n at x 4n + 3, glyphs 3 x 7
//   art FILE                    a pixel map from assets/art/
//   bevel W H R G B A [icon FILE] [foot N]
//                               a panel: light top and left edges, dark bottom
//                               and right edges, a faint diagonal dot pattern;
//                               with icon, the opaque pixels of a pixel map
//                               from assets/art/ drawn over its centre; with
//                               foot, its lowest N rows left clear (a button
//                               that stands on its window's edge draws above
//                               that edge)
//   disc W H D R G B A          a disc D pixels across, centred, on transparency
//   gradient W H R G B R G B    opaque, top colour to bottom colour
//   hills W H SEED R G B R G B R G B
//                               an opaque sky (top to horizon colour) over two
//                               ranges of rolling hills in the third colour,
//                               shaped by the seed
//   ridge W H SEED R G B        a band of land in the colour, transparent
//                               above its skyline, grainy like the world's
//                               powders, with a lit crest; its left and right
//                               edges meet, so copies side by side scroll
//                               without a seam
//   ring W H T R G B A          a frame T pixels thick, transparent inside
//   tileframe W H STRIP         a gallery tile: a light outline round a clear
//                               window and a dark caption strip STRIP rows
//                               high along the bottom
//   scene W H NAME SEED         a reward background painted in code (Scenes.h)
//   sharepanel W H PW PH DX DY  the share window: a panel, a speech bubble and
//                               a photo frame PW x PH, DX right of and DY
//                               below the centre
bool makePicture(const Context& ctx, const ManifestLine& line, size_t at, Image& out)
{
    const auto& w = line.words;
    if (w.size() <= at)
        return fail(line.where() + ": a drawing recipe is missing");
    const std::string& kind = w[at];
    int width = 0, height = 0;
    if (kind == "fill" || kind == "box") {
        Rgba fill, outline;
        if (!parseSize(w, at + 1, width, height) || !parseColour(w, at + 3, fill))
            return fail(line.where() + ": " + kind + " wants a size and a colour (R G B A)");
        out = Image(width, height);
        out.fillRect(0, 0, width, height, fill);
        if (kind == "box") {
            if (!parseColour(w, at + 7, outline))
                return fail(line.where() + ": box wants a second colour for its outline");
            out.fillRect(0, 0, width, 1, outline);
            out.fillRect(0, height - 1, width, 1, outline);
            out.fillRect(0, 0, 1, height, outline);
            out.fillRect(width - 1, 0, 1, height, outline);
        }
        return true;
    }
    if (kind == "label") {
        Rgba fill, outline;
        if (!parseSize(w, at + 1, width, height) || !parseColour(w, at + 3, fill) || !parseColour(w, at + 7, outline))
            return fail(line.where() + ": label wants a size and two colours (R G B A)");
        std::string text;
        if (w.size() > at + 11) {
            text = w[at + 11];
        } else {
            std::string name = at >= 1 ? w[at - 1] : std::string();
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0)
                name.resize(name.size() - 4);
            text = placeholderLabel(name.substr(name.find_last_of('_') + 1));
        }
        out = labelledBlock(width, height, fill, outline, text, Rgba{255, 255, 255, 255});
        return true;
    }
    if (kind == "digits") {
        Rgba ink;
        if (!parseColour(w, at + 1, ink))
            return fail(line.where() + ": digits wants a colour (R G B A)");
        out = digitStrip(ink);
        return true;
    }
    if (kind == "bevel") {
        Rgba body;
        if (!parseSize(w, at + 1, width, height) || !parseColour(w, at + 3, body))
            return fail(line.where() + ": bevel wants a size and a colour (R G B A)");
        std::string iconFile;
        int foot = 0;
        for (size_t i = at + 7; i < w.size(); i += 2) {
            if (i + 1 < w.size() && w[i] == "icon" && iconFile.empty())
                iconFile = w[i + 1];
            else if (i + 1 < w.size() && w[i] == "foot" && parseInt(w[i + 1], foot) && foot >= 0 && foot < height - 2)
                continue;
            else
                return fail(line.where() +
                            ": bevel takes only 'icon FILE' and 'foot N' (under its height) after its colour");
        }
        auto shade = [&](int delta) {
            auto channel = [delta](uint8_t v) { return static_cast<uint8_t>(std::clamp(v + delta, 0, 255)); };
            return Rgba{channel(body.r), channel(body.g), channel(body.b), body.a};
        };
        out = Image(width, height);
        // The panel fills the rows above the foot.
        const int drawn = height - foot;
        out.fillRect(0, 0, width, drawn, body);
        const Rgba dots = shade(12);
        for (int y = 2; y < drawn - 2; ++y)
            for (int x = 2; x < width - 2; ++x)
                if ((x + y) % 6 == 0)
                    out.set(x, y, dots);
        out.fillRect(0, 0, width, 1, shade(48));
        out.fillRect(0, 0, 1, drawn, shade(48));
        out.fillRect(0, drawn - 1, width, 1, shade(-48));
        out.fillRect(width - 1, 0, 1, drawn, shade(-48));
        if (iconFile.empty())
            return true;
        Image icon;
        std::string error;
        if (!readPixelMap(ctx.assets + "/art/" + iconFile, icon, error))
            return fail(line.where() + ": " + error);
        if (icon.width() > width - 2 || icon.height() > drawn - 2)
            return fail(line.where() + ": the icon " + iconFile + " does not fit inside the bevel's edges");
        // Transparent pixels of the map leave the panel showing.
        const int left = (width - icon.width()) / 2, top = (drawn - icon.height()) / 2;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                if (icon.at(x, y).a != 0)
                    out.set(left + x, top + y, icon.at(x, y));
        return true;
    }
    if (kind == "disc") {
        int across = 0;
        Rgba ink;
        if (!parseSize(w, at + 1, width, height) || w.size() < at + 4 || !parseInt(w[at + 3], across) || across < 1 ||
            !parseColour(w, at + 4, ink))
            return fail(line.where() + ": disc wants a size, a diameter and a colour (R G B A)");
        out = Image(width, height);
        // Pixel centres within the radius of the picture's centre.
        const double cx = width / 2.0, cy = height / 2.0, r = across / 2.0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                if (dx * dx + dy * dy <= r * r + 0.25)
                    out.set(x, y, ink);
            }
        return true;
    }
    if (kind == "gradient" || kind == "hills") {
        const bool hills = kind == "hills";
        int seed = 0;
        const size_t colours = at + (hills ? 4 : 3);
        Rgba top, bottom, land;
        auto rgb = [&](size_t i, Rgba& c) {
            std::vector<std::string> four(w.begin() + static_cast<long>(i), w.begin() + static_cast<long>(i + 3));
            four.push_back("255");
            return parseColour(four, 0, c);
        };
        if (!parseSize(w, at + 1, width, height) || (hills && !parseInt(w[at + 3], seed)) ||
            w.size() < colours + (hills ? 9 : 6) || !rgb(colours, top) || !rgb(colours + 3, bottom) ||
            (hills && !rgb(colours + 6, land)))
            return fail(line.where() + ": " + kind + " wants a size" + (hills ? ", a seed" : "") +
                        " and colours (R G B)");
        auto mix = [](Rgba a, Rgba b, double t) {
            auto c = [t](uint8_t u, uint8_t v) { return static_cast<uint8_t>(u + (v - u) * t + 0.5); };
            return Rgba{c(a.r, b.r), c(a.g, b.g), c(a.b, b.b), 255};
        };
        out = Image(width, height);
        for (int y = 0; y < height; ++y)
            out.fillRect(0, y, width, 1, mix(top, bottom, height > 1 ? double(y) / (height - 1) : 0.0));
        if (!hills)
            return true;
        // Two ranges: the far one paler and higher, the near one in the land colour.
        uint32_t state = static_cast<uint32_t>(seed) * 2654435761u + 1u;
        auto next = [&state] {
            state = state * 1664525u + 1013904223u;
            return (state >> 8) / double(1u << 24);
        };
        for (int range = 0; range < 2; ++range) {
            const double base = height * (range == 0 ? 0.55 : 0.72);
            const double phase1 = next() * 6.283, phase2 = next() * 6.283;
            const double amp = height * (range == 0 ? 0.10 : 0.07);
            const Rgba colour = range == 0 ? mix(land, bottom, 0.55) : land;
            for (int x = 0; x < width; ++x) {
                const double t = double(x) / width * 6.283;
                const int ridge =
                    static_cast<int>(base - amp * (std::sin(t * 1.5 + phase1) + 0.5 * std::sin(t * 3.7 + phase2)));
                for (int y = std::max(ridge, 0); y < height; ++y)
                    out.set(x, y, mix(colour, Rgba{0, 0, 0, 255}, 0.25 * (y - ridge) / std::max(1, height - ridge)));
            }
        }
        return true;
    }
    if (kind == "ridge") {
        int seed = 0;
        Rgba land;
        if (!parseSize(w, at + 1, width, height) || w.size() < at + 7 || !parseInt(w[at + 3], seed))
            return fail(line.where() + ": ridge wants a size, a seed and a colour (R G B)");
        {
            std::vector<std::string> four(w.begin() + static_cast<long>(at + 4), w.begin() + static_cast<long>(at + 7));
            four.push_back("255");
            if (!parseColour(four, 0, land))
                return fail(line.where() + ": ridge wants a size, a seed and a colour (R G B)");
        }
        out = drawRidge(width, height, seed, land);
        return true;
    }
    if (kind == "ring") {
        int thick = 0;
        Rgba ink;
        if (!parseSize(w, at + 1, width, height) || w.size() < at + 4 || !parseInt(w[at + 3], thick) || thick < 1 ||
            !parseColour(w, at + 4, ink))
            return fail(line.where() + ": ring wants a size, a thickness and a colour (R G B A)");
        out = Image(width, height);
        out.fillRect(0, 0, width, thick, ink);
        out.fillRect(0, height - thick, width, thick, ink);
        out.fillRect(0, 0, thick, height, ink);
        out.fillRect(width - thick, 0, thick, height, ink);
        return true;
    }
    if (kind == "tileframe") {
        int strip = 0;
        if (!parseSize(w, at + 1, width, height) || w.size() < at + 4 || !parseInt(w[at + 3], strip) || strip < 1 ||
            strip >= height)
            return fail(line.where() + ": tileframe wants a size and a strip height");
        const Rgba edge{200, 210, 220, 255}, shadow{20, 34, 46, 255}, band{24, 38, 52, 255};
        out = Image(width, height);
        out.fillRect(0, height - strip, width, strip, band);
        out.fillRect(1, height - strip, width - 2, 1, shadow);
        out.fillRect(0, 0, width, 1, edge);
        out.fillRect(0, height - 1, width, 1, edge);
        out.fillRect(0, 0, 1, height, edge);
        out.fillRect(width - 1, 0, 1, height, edge);
        return true;
    }
    if (kind == "scene") {
        int seed = 0;
        if (!parseSize(w, at + 1, width, height) || w.size() < at + 5 || !parseInt(w[at + 4], seed))
            return fail(line.where() + ": scene wants a size, a name and a seed");
        out = drawScene(w[at + 3], width, height, seed);
        if (out.empty())
            return fail(line.where() + ": no scene is called '" + w[at + 3] + "'");
        return true;
    }
    if (kind == "sharepanel") {
        int pw = 0, ph = 0, dx = 0, dy = 0;
        if (!parseSize(w, at + 1, width, height) || !parseSize(w, at + 3, pw, ph) || w.size() < at + 7 ||
            !parseInt(w[at + 5], dx) || !parseInt(w[at + 6], dy))
            return fail(line.where() + ": sharepanel wants a size, a photo size and its offset");
        out = drawSharePanel(width, height, pw, ph, dx, dy);
        return true;
    }
    if (kind == "art") {
        if (w.size() <= at + 1)
            return fail(line.where() + ": art wants a pixel-map file");
        std::string error;
        if (!readPixelMap(ctx.assets + "/art/" + w[at + 1], out, error))
            return fail(line.where() + ": " + error);
        return true;
    }
    return fail(line.where() + ": unknown drawing recipe '" + kind + "'");
}

std::vector<std::string> listFiles(const std::string& folder, const std::string& suffix)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* e = readdir(dir)) {
            std::string name = e->d_name;
            if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// fonts/fonts.manifest:
//   ascii                                   adds the printable ASCII characters
//   chars <UTF-8 characters>                adds characters (blanks ignored)
//   blank U+XXXX ...                        adds characters drawn as the space (the no-break space)
//   font NAME FACE PIXELS white             a white font
//   font NAME FACE PIXELS shade R G B R G B rows shade from the first colour to the second
//   override CHAR FILE [FACE]               a hand-drawn glyph (pixel map in fonts/overrides/)
//                                           for every font, or for the fonts of that face
//   accent FILE LB LB ...                   letter L is the face's base letter B with the
//                                           mark drawn in FILE (fonts/overrides/) over it
//   hexbox FILE                             the pieces of the box a label draws for a character
//                                           the fonts lack, from the 16 hex digits in FILE
//                                           (fonts/overrides/, 3 x 4 each, one column between):
//                                           U+E000 + digit a digit cut out of the box's upper
//                                           half, U+E010 + digit of its lower half, U+E020 a
//                                           column of the box
bool generateFonts(Context& ctx)
{
    std::vector<ManifestLine> lines;
    std::string error;
    const std::string path = ctx.assets + "/fonts/fonts.manifest";
    if (!readManifest(path, lines, error))
        return fail(error);
    std::vector<std::string> chars;
    std::set<std::string> seen;
    auto addChar = [&](const std::string& ch) {
        if (seen.insert(ch).second)
            chars.push_back(ch);
    };
    std::vector<FontRecipe> recipes;
    std::map<std::string, Image> overrides;
    std::map<std::string, std::map<std::string, Image>> faceOverrides;  // by face file
    std::map<std::string, FontRecipe::Accent> accents;
    std::set<std::string> blanks;
    for (const ManifestLine& line : lines) {
        const auto& w = line.words;
        if (w[0] == "ascii") {
            for (char c = 0x20; c <= 0x7E; ++c)
                addChar(std::string(1, c));
        } else if (w[0] == "chars") {
            std::vector<std::string> list;
            if (!splitUtf8Chars(line.rest, list))
                return fail(line.where() + ": malformed UTF-8");
            for (const std::string& ch : list)
                addChar(ch);
        } else if (w[0] == "blank") {
            for (size_t i = 1; i < w.size(); ++i) {
                const long code = w[i].rfind("U+", 0) == 0 ? std::strtol(w[i].c_str() + 2, nullptr, 16) : 0;
                const std::string ch = code > 0x7F && code <= 0x10FFFF ? encodeUtf8(code) : std::string();
                if (ch.empty())
                    return fail(line.where() + ": blank wants code points above ASCII, such as U+00A0");
                addChar(ch);
                blanks.insert(ch);
            }
        } else if (w[0] == "font") {
            FontRecipe recipe;
            if (w.size() < 5 || !parseInt(w[3], recipe.pixelSize) || recipe.pixelSize < 4 || recipe.pixelSize > 64)
                return fail(line.where() + ": font wants NAME FACE PIXELS COLOUR");
            recipe.name = w[1];
            recipe.facePath = w[2].find('/') == std::string::npos ? ctx.faces + "/" + w[2] : w[2];
            if (w[4] == "shade") {
                int v[6];
                for (int i = 0; i < 6; ++i)
                    if (w.size() < 11 || !parseInt(w[5 + i], v[i]) || v[i] < 0 || v[i] > 255)
                        return fail(line.where() + ": shade wants two colours (R G B R G B)");
                recipe.top = {static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]), static_cast<uint8_t>(v[2]), 255};
                recipe.bottom = {static_cast<uint8_t>(v[3]), static_cast<uint8_t>(v[4]), static_cast<uint8_t>(v[5]),
                                 255};
            } else if (w[4] != "white") {
                return fail(line.where() + ": the colour is 'white' or 'shade ...'");
            }
            recipes.push_back(recipe);
        } else if (w[0] == "override" && (w.size() == 3 || w.size() == 4)) {
            std::vector<std::string> ch;
            if (!splitUtf8Chars(w[1], ch) || ch.size() != 1)
                return fail(line.where() + ": override wants one character and a pixel-map file");
            Image picture;
            if (!readPixelMap(ctx.assets + "/fonts/overrides/" + w[2], picture, error))
                return fail(line.where() + ": " + error);
            (w.size() == 4 ? faceOverrides[w[3]] : overrides)[ch[0]] = picture;
        } else if (w[0] == "accent" && w.size() >= 3) {
            Image mark;
            if (!readPixelMap(ctx.assets + "/fonts/overrides/" + w[1], mark, error))
                return fail(line.where() + ": " + error);
            for (size_t i = 2; i < w.size(); ++i) {
                std::vector<std::string> pair;
                if (!splitUtf8Chars(w[i], pair) || pair.size() != 2)
                    return fail(line.where() + ": accent wants a mark file, then each letter with its base letter");
                if (!seen.count(pair[0]))
                    return fail(line.where() + ": '" + pair[0] + "' is not among the fonts' characters");
                accents[pair[0]] = {pair[1], mark};
            }
        } else if (w[0] == "hexbox" && w.size() == 2) {
            Image digits;
            if (!readPixelMap(ctx.assets + "/fonts/overrides/" + w[1], digits, error))
                return fail(line.where() + ": " + error);
            if (digits.width() != 16 * 4 - 1 || digits.height() != 4)
                return fail(line.where() + ": hexbox wants 16 digits of 3 x 4, one column between");
            // Rows 1-11 of the glyph: block, 4 digit rows, block, 4 digit rows, block.
            const Rgba ink{255, 255, 255, 255};
            Image column(1, kGlyphRows);
            column.fillRect(0, 1, 1, 11, ink);
            addChar(encodeUtf8(0xE020));
            overrides[encodeUtf8(0xE020)] = column;
            for (int d = 0; d < 16; ++d)
                for (int half = 0; half < 2; ++half) {
                    Image piece(3, kGlyphRows);
                    const int top = half == 0 ? 1 : 6;  // the lower half starts on the block row between
                    piece.fillRect(0, top, 3, 6, ink);
                    for (int y = 0; y < 4; ++y)
                        for (int x = 0; x < 3; ++x)
                            if (digits.at(d * 4 + x, y).a != 0)
                                piece.set(x, top + 1 + y, Rgba{0, 0, 0, 0});
                    const std::string key = encodeUtf8(0xE000 + half * 0x10 + d);
                    addChar(key);
                    overrides[key] = piece;
                }
        } else {
            return fail(line.where() + ": unknown statement '" + w[0] + "'");
        }
    }
    for (const auto& face : faceOverrides) {
        const std::string& faceName = face.first;
        if (std::none_of(recipes.begin(), recipes.end(),
                         [&](const FontRecipe& r) { return r.facePath.substr(r.facePath.rfind('/') + 1) == faceName; }))
            return fail(path + ": no font is drawn from the face '" + faceName + "' of an override");
    }
    for (FontRecipe& recipe : recipes) {
        recipe.chars = chars;
        recipe.overrides = overrides;
        if (auto own = faceOverrides.find(recipe.facePath.substr(recipe.facePath.rfind('/') + 1));
            own != faceOverrides.end())
            for (const auto& [ch, picture] : own->second)
                recipe.overrides[ch] = picture;
        recipe.accents = accents;
        recipe.blanks = blanks;
        BitmapFont font;
        if (!rasteriseFont(recipe, font, error))
            return fail(error);
        if (!writeTextFile(ctx.out + "/fonts/" + recipe.name + ".plist", fontPlist(font), error))
            return fail(error);
        ctx.fonts[recipe.name] = std::move(font);
    }
    return true;
}

// sheets/<sheet>.sheet:
//   font NAME                 embeds the font image as frame <sheet>_NAME.png
//   frame NAME RECIPE...      a frame named <sheet>_....png
//   icons PREFIX SCALE PAD    one frame PREFIX<element>.png per element icon
//                             (icons/elements.icons): the 14 x 14 icon with PAD
//                             transparent pixels round it, enlarged SCALE times
bool addIconFrames(Context& ctx, const ManifestLine& line, const std::string& prefix, std::vector<SheetFrame>& frames)
{
    const auto& w = line.words;
    int scale = 0, pad = -1;
    if (w.size() != 4 || w[1].rfind(prefix, 0) != 0 || !parseInt(w[2], scale) || scale < 1 || scale > 8 ||
        !parseInt(w[3], pad) || pad < 0 || pad > 8)
        return fail(line.where() + ": icons wants " + prefix + "<prefix> SCALE PAD");
    std::string error;
    if (!ctx.icons) {
        ctx.icons = std::make_unique<ElementIcons>(ctx.assets);
        if (!ctx.icons->load(error))
            return fail(error);
    }
    for (const std::string& name : ctx.icons->names()) {
        Image icon;
        if (!ctx.icons->icon(name, icon, error))
            return fail(error);
        Image padded(icon.width() + 2 * pad, icon.height() + 2 * pad);
        padded.blit(icon, pad, pad);
        SheetFrame frame;
        frame.name = w[1] + name + ".png";
        frame.image = padded.scaled(scale);
        frames.push_back(std::move(frame));
    }
    return true;
}

bool generateSheet(Context& ctx, const std::string& file)
{
    const std::string sheet = file.substr(0, file.size() - 6);
    std::vector<ManifestLine> lines;
    std::string error;
    if (!readManifest(ctx.assets + "/sheets/" + file, lines, error))
        return fail(error);
    std::vector<SheetFrame> frames;
    std::set<std::string> names;
    const std::string prefix = sheet + "_";
    for (const ManifestLine& line : lines) {
        const auto& w = line.words;
        if (w[0] == "icons") {
            const size_t first = frames.size();
            if (!addIconFrames(ctx, line, prefix, frames))
                return false;
            for (size_t i = first; i < frames.size(); ++i)
                if (!names.insert(frames[i].name).second || !ctx.frameNames.insert(frames[i].name).second)
                    return fail(line.where() + ": the frame name " + frames[i].name + " is already used");
            continue;
        }
        SheetFrame frame;
        if (w[0] == "font" && w.size() == 2) {
            auto it = ctx.fonts.find(w[1]);
            if (it == ctx.fonts.end())
                return fail(line.where() + ": no font '" + w[1] + "' in fonts.manifest");
            frame.name = prefix + w[1] + ".png";
            frame.image = it->second.image;
        } else if (w[0] == "frame" && w.size() >= 3) {
            frame.name = w[1];
            if (frame.name.rfind(prefix, 0) != 0 || frame.name.size() < prefix.size() + 5 ||
                frame.name.compare(frame.name.size() - 4, 4, ".png") != 0)
                return fail(line.where() + ": frame names are " + prefix + "<name>.png");
            if (!makePicture(ctx, line, 2, frame.image))
                return false;
        } else {
            return fail(line.where() + ": expected 'font NAME', 'frame NAME RECIPE' or 'icons PREFIX SCALE PAD'");
        }
        if (!names.insert(frame.name).second || !ctx.frameNames.insert(frame.name).second)
            return fail(line.where() + ": the frame name " + frame.name + " is already used");
        frames.push_back(std::move(frame));
    }
    Image atlas;
    if (!packSheet(frames, atlas, error))
        return fail(file + ": " + error);
    if (!writePng(ctx.out + "/pvr/" + sheet + ".png", atlas, error) ||
        !writeTextFile(ctx.out + "/pvr/" + sheet + ".plist",
                       sheetPlist(frames, sheet + ".png", atlas.width(), atlas.height()), error))
        return fail(error);
    return true;
}

// pictures/pictures.manifest:
//   picture PATH RECIPE...    a PNG at PATH in the resource tree
bool generatePictures(const Context& ctx)
{
    std::vector<ManifestLine> lines;
    std::string error;
    if (!readManifest(ctx.assets + "/pictures/pictures.manifest", lines, error))
        return fail(error);
    for (const ManifestLine& line : lines) {
        const auto& w = line.words;
        if (w[0] != "picture" || w.size() < 3)
            return fail(line.where() + ": expected 'picture PATH RECIPE'");
        if (w[1].empty() || w[1][0] == '/' || w[1].find("..") != std::string::npos)
            return fail(line.where() + ": picture paths stay inside the resource tree");
        Image image;
        if (!makePicture(ctx, line, 2, image))
            return false;
        if (!writePng(ctx.out + "/" + w[1], image, error))
            return fail(error);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Context ctx;
    std::string stamp;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--assets")
            ctx.assets = argv[i + 1];
        else if (option == "--out")
            ctx.out = argv[i + 1];
        else if (option == "--faces")
            ctx.faces = argv[i + 1];
        else if (option == "--stamp")
            stamp = argv[i + 1];
        else
            return fail("unknown option " + option), 2;
    }
    if (ctx.assets.empty() || ctx.out.empty()) {
        std::fprintf(stderr, "usage: assetgen --assets DIR --out DIR [--faces DIR] [--stamp FILE]\n");
        return 2;
    }
    if (!generateFonts(ctx))
        return 1;
    for (const std::string& file : listFiles(ctx.assets + "/sheets", ".sheet"))
        if (!generateSheet(ctx, file))
            return 1;
    if (!generatePictures(ctx))
        return 1;
    std::string error;
    if (!generateBlueprints(ctx.assets + "/blueprints", ctx.out, error))
        return fail(error), 1;
    if (!stamp.empty() && !writeTextFile(stamp, "generated\n", error))
        return fail(error), 1;
    return 0;
}
