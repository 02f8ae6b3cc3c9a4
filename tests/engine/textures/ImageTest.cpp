#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "cocos2d/CCImage.h"
#include "engine/render/EngineTestSupport.h"
#include "support/FileSizeLimit.h"

using namespace cocos2d;
using enginetest::TempDir;

namespace {

// A 3 x 2 picture: distinct colours, the middle column half transparent.
std::vector<unsigned char> samplePixels()
{
    std::vector<unsigned char> px;
    const unsigned char colours[6][4] = {{255, 0, 0, 255},  {0, 255, 0, 128},  {0, 0, 255, 255},
                                         {10, 20, 30, 255}, {40, 50, 60, 128}, {70, 80, 90, 0}};
    for (auto& c : colours)
        px.insert(px.end(), c, c + 4);
    return px;
}

TEST(Image, PngRoundTripKeepsStraightAlphaAndRowOrder)
{
    TempDir dir;
    std::vector<unsigned char> px = samplePixels();
    CCImage original;
    ASSERT_TRUE(original.initWithRawPixels(px.data(), 3, 2, true));
    ASSERT_TRUE(original.saveToFile(dir.file("rgba.png").c_str(), false));

    CCImage loaded;
    ASSERT_TRUE(loaded.initWithImageFile(dir.file("rgba.png").c_str()));
    EXPECT_TRUE(loaded.hasAlpha());
    EXPECT_FALSE(loaded.isPremultipliedAlpha());
    EXPECT_EQ(loaded.getWidth(), 3);
    EXPECT_EQ(loaded.getHeight(), 2);
    EXPECT_EQ(loaded.getDataLen(), 3 * 2 * 4);
    EXPECT_EQ(loaded.getBitsPerComponent(), 8);
    ASSERT_EQ(std::vector<unsigned char>(loaded.getData(), loaded.getData() + loaded.getDataLen()), px)
        << "half-transparent pixels keep their colour (no premultiplication)";
}

TEST(Image, RgbPicturesStayThreeBytesAndSavingToRgbDropsAlpha)
{
    TempDir dir;
    std::vector<unsigned char> px = samplePixels();
    CCImage original;
    ASSERT_TRUE(original.initWithRawPixels(px.data(), 3, 2, true));
    ASSERT_TRUE(original.saveToFile(dir.file("flat.PNG").c_str()));  // toRGB by default; extension any case

    CCImage loaded;
    ASSERT_TRUE(loaded.initWithImageFile(dir.file("flat.PNG").c_str()));
    EXPECT_FALSE(loaded.hasAlpha());
    EXPECT_EQ(loaded.getDataLen(), 3 * 2 * 3);
    EXPECT_EQ(loaded.getData()[3 * 5], 70) << "the last pixel keeps its colour, only alpha goes";
    EXPECT_EQ(loaded.getData()[3 * 5 + 2], 90);
}

TEST(Image, JpegIsWrittenByExtensionAndReadBack)
{
    TempDir dir;
    std::vector<unsigned char> px(16 * 16 * 4, 200);
    CCImage original;
    ASSERT_TRUE(original.initWithRawPixels(px.data(), 16, 16, true));
    ASSERT_TRUE(original.saveToFile(dir.file("shot.jpeg").c_str()));
    CCImage loaded;
    ASSERT_TRUE(loaded.initWithImageFile(dir.file("shot.jpeg").c_str()));
    EXPECT_FALSE(loaded.hasAlpha());
    EXPECT_NEAR(loaded.getData()[0], 200, 3);
}

TEST(Image, FailuresAreDetectable)
{
    TempDir dir;
    CCImage image;
    EXPECT_FALSE(image.initWithImageFile(dir.file("missing.png").c_str()));
    EXPECT_EQ(image.getData(), nullptr);
    EXPECT_EQ(image.getWidth(), 0);

    FILE* f = std::fopen(dir.file("junk.png").c_str(), "wb");
    std::fputs("not a picture at all", f);
    std::fclose(f);
    EXPECT_FALSE(image.initWithImageFile(dir.file("junk.png").c_str()));
    EXPECT_EQ(image.getDataLen(), 0);

    // Nothing to save, and unknown extensions, are refused without writing.
    EXPECT_FALSE(image.saveToFile(dir.file("empty.png").c_str()));
    std::vector<unsigned char> px(4, 255);
    ASSERT_TRUE(image.initWithRawPixels(px.data(), 1, 1, true));
    EXPECT_FALSE(image.saveToFile(dir.file("picture.bmp").c_str()));
    EXPECT_EQ(std::fopen(dir.file("picture.bmp").c_str(), "rb"), nullptr);
    EXPECT_FALSE(image.saveToFile(dir.file("no/such/folder/x.png").c_str()));

    // A disk that cannot take the whole file (here a size limit; a full disk
    // fails the same way, often only when the file is closed): refused, and
    // no file cut short is left.
    for (const char* name : {"cut.png", "cut.jpg"}) {
        std::vector<unsigned char> picture(16 * 16 * 4, 90);
        ASSERT_TRUE(image.initWithRawPixels(picture.data(), 16, 16, true));
        bool saved = true;
        {
            const testsupport::FileSizeLimit limit(40);
            ASSERT_TRUE(limit.applied());
            saved = image.saveToFile(dir.file(name).c_str());
        }
        EXPECT_FALSE(saved) << name;
        EXPECT_EQ(std::fopen(dir.file(name).c_str(), "rb"), nullptr) << name;
    }

    // Sizes whose byte count does not fit are refused, not wrapped around.
    EXPECT_FALSE(image.initWithRawPixels(nullptr, 60000, 60000, true));
    EXPECT_EQ(image.getData(), nullptr);
}

}  // namespace
