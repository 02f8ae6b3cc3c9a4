// The generated sheets hold the frames the toolkit and its users look up,
// at their sizes, every embedded copy of a font is the same picture, and the
// fonts draw every character of the texts whole.
#include "GuiFixture.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <map>

#include "base/Utf8.h"
#include "gui/GUILabel.h"
#include "support/PaletteWords.h"

USING_NS_CC;
using guitest::GuiTest;

namespace {

CCSize frameSize(const std::string& name)
{
    CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(name.c_str());
    return frame ? frame->getRect().size : CCSize(-1, -1);
}

// The RGBA bytes of a frame's rectangle in its sheet's picture.
std::vector<unsigned char> framePixels(const std::string& sheet, const std::string& name)
{
    CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(name.c_str());
    std::vector<unsigned char> pixels;
    if (!frame)
        return pixels;
    auto* image = new CCImage();
    if (image->initWithImageFile(("pvr/" + sheet + ".png").c_str())) {
        const CCRect r = frame->getRect();
        const int bpp = image->getBytesPerPixel();
        for (int y = static_cast<int>(r.origin.y); y < static_cast<int>(r.getMaxY()); ++y)
            for (int x = static_cast<int>(r.origin.x); x < static_cast<int>(r.getMaxX()); ++x)
                for (int c = 0; c < bpp; ++c)
                    pixels.push_back(image->getData()[(static_cast<size_t>(y) * image->getWidth() + x) * bpp + c]);
    }
    image->release();
    return pixels;
}

// Counts the runs of ink ('#') in a glyph's row.
int runs(const std::string& row)
{
    int n = 0;
    for (size_t x = 0; x < row.size(); ++x)
        n += row[x] == '#' && (x == 0 || row[x - 1] != '#');
    return n;
}

}  // namespace

using Sheets = GuiTest;

// Every character of the shipped texts is in every font; an accented letter
// is its letter, whole, with its own mark over its middle and a row of space
// between (a cedilla under it); an 8 is no 0.
TEST_F(Sheets, EveryCharacterOfTheTextsIsDrawnWholeInEveryFont)
{
    enum Mark { Grave, Acute, Circumflex, Diaeresis, Tilde, Cedilla };
    // Each accented letter, then the letter it is drawn on.
    const std::pair<Mark, const char*> marked[] = {
        {Grave, "àa èe ùu ÀA ÈE ÙU"},
        {Acute, "áa ée íi óo úu ÁA ÉE ÍI ÓO ÚU"},
        {Circumflex, "âa êe îi ôo ûu ÂA ÊE ÎI ÔO ÛU"},
        {Diaeresis, "äa ëe ïi öo üu ÿy ÄA ËE ÏI ÖO ÜU ŸY"},
        {Tilde, "ñn ÑN"},
        {Cedilla, "çc ÇC"},
    };
    std::map<std::string, std::string> used;  // character -> a text using it
    for (const char* language : {"en", "fr", "es"}) {
        const std::string file = std::string("localization/") + language + ".plist";
        const auto table = testsupport::textTable(file);
        ASSERT_FALSE(table.empty()) << file;
        for (const auto& [key, s] : table)
            for (size_t i = 0, n = 1; i < s.size(); i += n) {
                uint32_t code = 0;
                n = std::max<size_t>(1, decodeUtf8(s, i, code));
                if (s[i] != ' ' && s[i] != '\n')
                    used.emplace(s.substr(i, n), file + " " + key);
            }
    }
    for (const auto& [sheet, font] : {std::pair{"gamemenus", "ach_fontButtons"},
                                      {"achgui", "ach_colorFont"},
                                      {"mainmenu", "ach_fontButtonsGold"},
                                      {"keyboard", "keyboard_fontButtons"}}) {
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(
            ("pvr/" + std::string(sheet) + ".plist").c_str());
        const std::string frameName = std::string(sheet) + "_" + font;
        GUILabel::setFontName(frameName.c_str());
        const std::vector<unsigned char> frame = framePixels(sheet, frameName + ".png");
        const size_t frameWidth = static_cast<size_t>(frameSize(frameName + ".png").width);
        ASSERT_FALSE(frame.empty()) << frameName;
        // A glyph's 13 rows, '#' for ink.
        auto glyph = [&](const std::string& ch) {
            const CCRect r = GUILabel::fontFrames.at(ch);
            std::vector<std::string> rows(static_cast<size_t>(r.size.height));
            for (size_t y = 0; y < rows.size(); ++y)
                for (size_t x = 0; x < static_cast<size_t>(r.size.width); ++x)
                    rows[y] += frame[((static_cast<size_t>(r.origin.y) + y) * frameWidth +
                                      static_cast<size_t>(r.origin.x) + x) *
                                         4 +
                                     3]
                        ? '#'
                        : '.';
            return rows;
        };
        auto inked = [](const std::string& row) { return row.find('#') != std::string::npos; };

        for (const auto& [ch, where] : used) {
            if (!GUILabel::fontFrames.count(ch)) {
                ADD_FAILURE() << font << " lacks '" << ch << "', used in " << where;
                continue;
            }
            const auto g = glyph(ch);
            EXPECT_FALSE(inked(g[0])) << font << " '" << ch << "': the one-line layout drops row 0";
            EXPECT_TRUE(ch == "\xC2\xA0" || std::any_of(g.begin(), g.end(), inked)) << font << " '" << ch << "'";
        }
        for (const auto& [mark, pairs] : marked)
            for (const char* p = pairs; *p; p += *p == ' ') {
                const std::string letter(p, 2), base(p + 2, 1);
                p += 3;
                if (!GUILabel::fontFrames.count(letter))
                    continue;  // no text uses it: the check above
                const auto g = glyph(letter), b = glyph(base);
                const std::string what = std::string(font) + " '" + letter + "'";
                const int last = static_cast<int>(std::find_if(b.rbegin(), b.rend(), inked).base() - b.begin()) - 1;
                // Above the letter, the mark: the ink down to the first empty row
                // (the dot of an i is not part of its letter).
                int top = 0, gap = 0;
                while (!inked(g[top]))
                    ++top;
                for (gap = top; mark != Cedilla && inked(g[gap]);)
                    ++gap;
                // The letter stands whole at some column, from that row down;
                // a cedilla's ink is below it.
                bool whole = false;
                for (size_t dx = 0; dx + b[0].size() <= g[0].size() && !whole; ++dx) {
                    whole = true;
                    for (int y = gap; y <= last; ++y)
                        whole = whole && g[y].substr(dx, b[y].size()) == b[y];
                }
                EXPECT_TRUE(whole) << what << ": '" << base << "' is not drawn whole";
                if (mark == Cedilla) {
                    EXPECT_TRUE(std::any_of(g.begin() + last + 1, g.end(), inked)) << what << ": no cedilla";
                    continue;
                }
                const std::string &m0 = g[top], &m1 = g[gap - 1];
                const size_t f0 = m0.find('#'), l0 = m0.rfind('#'), f1 = m1.find('#'), l1 = m1.rfind('#');
                const bool tall = gap - top > 1;
                const bool shaped[] = {tall && f0 < f1 && l0 < l1, tall && f0 > f1 && l0 > l1,
                                       tall && f1 < f0 && l0 < l1 && runs(m1) == 2, runs(m0) == 2 && runs(m1) == 2,
                                       tall && f0 > f1 && l0 > l1 && runs(m0) == 2};
                EXPECT_TRUE(gap < last && shaped[mark]) << what << ": its mark is not its accent";
                size_t markLeft = 99, markRight = 0, left = 99, right = 0;
                for (int y = top; y <= last; ++y)
                    if (inked(g[y])) {
                        (y < gap ? markLeft : left) = std::min(y < gap ? markLeft : left, g[y].find('#'));
                        (y < gap ? markRight : right) = std::max(y < gap ? markRight : right, g[y].rfind('#'));
                    }
                EXPECT_LE(std::abs(static_cast<int>(markLeft + markRight) - static_cast<int>(left + right)), 2)
                    << what << ": the mark is off the letter's middle";
            }

        // Between whole sizes (the palette's names at four screen pixels
        // for three, a caption shrunk into its button) every pixel of a mark
        // still shows at full brightness, wherever the label stands, as the
        // dot of an i does: a mark sampled between its pixels fades into the
        // empty rows round it, to a grey smudge or to nothing.
        for (const float scale : {4.0f / 3.0f, 1.5f})
            for (const float offset : {0.0f, 0.25f, 0.5f, 0.75f}) {
                CCLayerColor* ground = CCLayerColor::create(ccc4(0, 0, 0, 255), 800, 600);
                scene()->addChild(ground);
                struct Drawn {
                    std::string letter;
                    GUILabel* label;
                    int top, gap, pixels;  // the mark's rows and its pixels in the font
                };
                std::vector<Drawn> drawn;
                const auto draw = [&](const std::string& letter) {
                    const auto g = glyph(letter);
                    int top = 0, gap = 0, pixels = 0;
                    while (top + 1 < static_cast<int>(g.size()) && !inked(g[top]))
                        ++top;
                    for (gap = top; gap + 1 < static_cast<int>(g.size()) && inked(g[gap]); ++gap)
                        pixels += static_cast<int>(std::count(g[gap].begin(), g[gap].end(), '#'));
                    GUILabel* label = GUILabel::create();
                    label->setText(CCString::create(letter));
                    label->setScale(scale);
                    label->setAnchorPoint(CCPointZero);
                    const int cell = static_cast<int>(drawn.size());
                    label->setPosition(ccp(20.0f + 30.0f * static_cast<float>(cell % 25) + offset,
                                           40.0f + 40.0f * static_cast<float>(cell / 25) + offset));
                    ground->addChild(label);
                    drawn.push_back({letter, label, top, gap, pixels});
                };
                draw("i");
                for (const auto& [mark, pairs] : marked)
                    for (const char* p = pairs; *p; p += *p == ' ' ? 1 : 3)
                        if (*p != ' ' && mark != Cedilla && GUILabel::fontFrames.count(std::string(p, 2)))
                            draw(std::string(p, 2));
                drawScene();
                // Bright pixels from the middle of the empty row that parts
                // the mark from its letter up, a pixel round it to spare (the
                // renderer puts a picture on whole pixels).
                const auto bright = [&](const Drawn& d) {
                    const float s = d.label->getScale(), width = GUILabel::fontFrames.at(d.letter).size.width;
                    const CCPoint at = d.label->getPosition();
                    const float low = at.y + s * (12.5f - static_cast<float>(d.gap) - GUILabel::baseLine);
                    const float high = at.y + s * (13.0f - static_cast<float>(d.top) - GUILabel::baseLine) + 1;
                    int n = 0;
                    for (int y = static_cast<int>(low); static_cast<float>(y) < high; ++y)
                        for (int x = static_cast<int>(at.x) - 1; static_cast<float>(x) < at.x + s * width + 1; ++x)
                            n += static_cast<float>(y) + 0.5f > low && this->at(x, y).r >= 192;
                    return n;
                };
                std::string dim;
                for (const Drawn& d : drawn)
                    if (bright(d) < d.pixels)
                        dim += " " + d.letter;
                EXPECT_EQ(dim, "") << font << " at " << scale << ", " << offset
                                   << " off the pixel: these marks are dim";
                ground->removeFromParentAndCleanup(true);
            }

        // The digits differ from each other and from letters like them, and
        // an 8 crosses in its middle with one bar where a 0 has its two sides.
        for (char d = '0'; d <= '9'; ++d)
            for (char other : std::string("0123456789OoIlSsBZzbgq"))
                EXPECT_TRUE(other == d || glyph({d}) != glyph({other}))
                    << font << " '" << d << "' is '" << other << "'";
        for (const auto& [digit, sides] : {std::pair{"0", 2}, {"8", 1}}) {
            const auto g = glyph(digit);
            const auto top = std::find_if(g.begin(), g.end(), inked) - g.begin();
            const auto bottom = std::find_if(g.rbegin(), g.rend(), inked).base() - g.begin() - 1;
            const std::string& middle = g[static_cast<size_t>((top + bottom) / 2)];
            EXPECT_EQ(runs(middle), sides) << font << " '" << digit << "' in its middle: " << middle;
            EXPECT_GE(std::count(middle.begin(), middle.end(), '#'), 2) << font << " '" << digit << "': " << middle;
        }
    }
}

TEST_F(Sheets, KnownFramesAreThereAtTheirSizes)
{
    struct Case {
        const char* name;
        float w, h;
    } cases[] = {{"gamemenus_brushSizeSlider.png", 200, 16},
                 {"gamemenus_HD.png", 9, 5},
                 {"guitopbar_btnDraw.png", 18, 18},
                 {"guitopbar_btnPan.png", 18, 18}};
    for (const Case& c : cases) {
        const CCSize size = frameSize(c.name);
        EXPECT_FLOAT_EQ(size.width, c.w) << c.name;
        EXPECT_FLOAT_EQ(size.height, c.h) << c.name;
    }
    for (int i = 1; i <= 9; ++i) {
        const std::string name = "gamemenus_brush" + std::to_string(i) + ".png";
        EXPECT_FLOAT_EQ(frameSize(name).width, 8) << name;
        EXPECT_FLOAT_EQ(frameSize(name).height, 8) << name;
    }
    for (const char* name : {"images/left_border.png", "images/right_border.png"}) {
        CCSprite* border = CCSprite::create(name);
        ASSERT_NE(border, nullptr) << name;
        EXPECT_FLOAT_EQ(border->getContentSize().width, 32);
        EXPECT_FLOAT_EQ(border->getContentSize().height, 192);
    }
}

TEST_F(Sheets, EveryListedFontCanBeMadeCurrentFromTheSameFontPicture)
{
    struct Sheet {
        const char* name;
        std::vector<const char*> fonts;
    };
    const std::vector<Sheet> sheets = {
        {"achgui", {"ach_colorFont", "ach_fontButtons"}},
        {"mainmenu", {"ach_fontButtons", "ach_fontButtonsGold"}},
        {"InputName", {"ach_fontButtons"}},
        {"gamemenus", {"ach_fontButtons", "ach_colorFont"}},
        {"guitopbar", {"ach_fontButtons"}},
        {"popups", {"ach_fontButtons", "ach_colorFont"}},
        {"pixelmarket", {"ach_fontButtons"}},
        {"intro", {"ach_fontButtons", "ach_colorFont"}},
        {"GUIRate", {"ach_fontButtons"}},
        {"keyboard", {"keyboard_fontButtons"}},
        {"ProgressBar", {"ach_fontButtons"}},
        {"achievements", {"ach_fontButtons", "ach_colorFont"}},
        {"options", {"ach_fontButtons", "ach_colorFont"}},
        {"elementpedia", {"ach_fontButtons", "ach_colorFont"}},
        {"campaignmenu", {"ach_fontButtons", "ach_colorFont"}},
        {"onlinegallery", {"ach_fontButtons", "ach_colorFont"}},
        {"campaignselection", {"ach_fontButtons", "ach_colorFont"}},
        {"levelselection", {"ach_fontButtons", "ach_colorFont"}},
        {"iapmarket", {"ach_fontButtons", "ach_colorFont"}},
    };
    std::map<std::string, std::vector<unsigned char>> firstCopy;
    for (const Sheet& sheet : sheets) {
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(
            ("pvr/" + std::string(sheet.name) + ".plist").c_str());
        const std::string prefix = std::string(sheet.name) + "_";
        bool placeholder = std::string(sheet.name) != "gamemenus" && std::string(sheet.name) != "guitopbar" &&
            std::string(sheet.name) != "keyboard" && std::string(sheet.name) != "popups" &&
            std::string(sheet.name) != "GUIRate" && std::string(sheet.name) != "ProgressBar" &&
            std::string(sheet.name) != "intro";
        if (placeholder) {
            EXPECT_FLOAT_EQ(frameSize(prefix + "empty.png").width, 2) << sheet.name;
        }
        for (const char* font : sheet.fonts) {
            const std::string name = prefix + font;
            GUILabel::setFontName(name.c_str());
            EXPECT_FALSE(GUILabel::fontFrames.empty()) << name;
            GUILabel* label = GUILabel::create();
            EXPECT_TRUE(label->hasFontFrame()) << name;
            const std::vector<unsigned char> pixels = framePixels(sheet.name, name + ".png");
            ASSERT_FALSE(pixels.empty()) << name;
            auto [it, first] = firstCopy.emplace(font, pixels);
            if (!first) {
                EXPECT_TRUE(it->second == pixels) << name;
            }
        }
    }
    // Every prefix of the registry's list names a sheet above.
    for (const std::string& prefix : GUILabel::fontSheetPrefixes) {
        bool found = false;
        for (const Sheet& sheet : sheets)
            found = found || prefix == std::string(sheet.name) + "_";
        EXPECT_TRUE(found) << prefix;
    }
}

// Buttons that carry no caption, and the icons laid on captionless buttons:
// a player tells what each does from its picture alone, so inside its edge
// there must be a drawing that stands out from the ground, not a bare panel.
TEST_F(Sheets, EveryButtonWithoutACaptionShowsWhatItDoes)
{
    struct Sheet {
        const char* name;
        std::vector<const char*> frames;
    };
    const std::vector<Sheet> sheets = {
        {"carsGUI",
         {"carsGUI_cross.png", "carsGUI_left_off.png", "carsGUI_right_off.png", "carsGUI_ai_off.png",
          "carsGUI_ai_on.png", "carsGUI_fire_off.png", "carsGUI_unload_off.png", "carsGUI_load_on.png",
          "carsGUI_leftBig_off.png", "carsGUI_rightBig_off.png", "carsGUI_burstBig_off.png"}},
        {"achgui", {"achgui_btnClose.png"}},
        {"guitopbar",
         {"guitopbar_btnDraw.png", "guitopbar_btnPan.png", "guitopbar_HUDDraw.png", "guitopbar_HUDLine.png",
          "guitopbar_HUDFill.png", "guitopbar_HUDReplace.png", "guitopbar_HUDMiner.png", "guitopbar_HUDEraser.png",
          "guitopbar_HUDZoom.png", "guitopbar_HUDZoomOut.png", "guitopbar_HUDUndoPicto.png",
          "guitopbar_HUDRedoPicto.png", "guitopbar_HUDPlayPicto.png", "guitopbar_HUDPausePicto.png",
          "guitopbar_HUDplanet.png", "guitopbar_camera.png"}},
        {"pixelmarket", {"pixelmarket_offer_prev.png", "pixelmarket_offer_next.png"}},
        {"guisaveload",
         {"guisaveload_saveload_arrowLeft.png", "guisaveload_saveload_arrowRight.png", "guisaveload_back_arrow.png"}},
        {"onlinegallery", {"onlinegallery_cross.png"}},
        {"keyboard", {"keyboard_keyShiftIcon.png", "keyboard_keyBackspaceIcon.png"}},
        {"GUIRate", {"GUIRate_star_grey.png", "GUIRate_star_on.png"}},
    };
    // Alpha apart, or light apart: a bevel's own dots and edges are neither.
    auto stands = [](const unsigned char* p, const unsigned char* ground) {
        if (std::abs(p[3] - ground[3]) >= 128)
            return true;
        auto light = [](const unsigned char* c) { return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]; };
        return p[3] >= 128 && std::abs(light(p) - light(ground)) >= 64;
    };
    for (const Sheet& sheet : sheets) {
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(
            ("pvr/" + std::string(sheet.name) + ".plist").c_str());
        for (const char* name : sheet.frames) {
            const CCSize size = frameSize(name);
            const int w = static_cast<int>(size.width), h = static_cast<int>(size.height);
            const std::vector<unsigned char> pixels = framePixels(sheet.name, name);
            ASSERT_EQ(pixels.size(), static_cast<size_t>(w * h * 4)) << name;
            // The ground is the commonest colour inside the one-pixel edge.
            auto pixel = [&](int x, int y) { return &pixels[(static_cast<size_t>(y) * w + x) * 4]; };
            std::map<std::array<unsigned char, 4>, int> counts;
            for (int y = 1; y < h - 1; ++y)
                for (int x = 1; x < w - 1; ++x) {
                    const unsigned char* p = pixel(x, y);
                    ++counts[{p[0], p[1], p[2], p[3]}];
                }
            const std::array<unsigned char, 4> ground =
                std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                    return a.second < b.second;
                })->first;
            int drawn = 0;
            for (int y = 1; y < h - 1; ++y)
                for (int x = 1; x < w - 1; ++x)
                    drawn += stands(pixel(x, y), ground.data()) ? 1 : 0;
            const int inside = (w - 2) * (h - 2);
            EXPECT_GE(drawn, std::max(4, inside / 12))
                << name << ": " << drawn << " of its " << inside << " inner pixels stand out from its ground";
        }
    }
}
