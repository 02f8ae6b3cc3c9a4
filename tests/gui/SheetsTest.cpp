// The generated sheets hold the frames the toolkit and its users look up,
// at their sizes, and every embedded copy of a font is the same picture.
#include "GuiFixture.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>

#include "gui/GUILabel.h"

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

}  // namespace

using Sheets = GuiTest;

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
