// The generated sheets hold the frames the toolkit and its users look up,
// at their sizes, and every embedded copy of a font is the same picture.
#include "GuiFixture.h"

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
