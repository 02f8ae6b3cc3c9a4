#include <gtest/gtest.h>

#include <cmath>

#include "support/LogCapture.h"
#include "cocos2d.h"
#include "world/CCMutableTexture2D.h"

USING_NS_CC;

namespace {

struct TextureHolder {
    explicit TextureHolder(CCMutableTexture2D* t) : texture(t) { texture->retain(); }
    ~TextureHolder()
    {
        texture->release();
        CCPoolManager::sharedPoolManager()->drain();
    }
    CCMutableTexture2D* operator->() const { return texture; }
    CCMutableTexture2D* texture;
};

CCMutableTexture2D* made(int format, float w, float h)
{
    CCMutableTexture2D* t = new CCMutableTexture2D();
    t->initWithSize(format, CCSize(w, h));
    t->autorelease();
    return t;
}

}  // namespace

TEST(MutableTexture, BuffersArePowersOfTwo)
{
    TextureHolder t(CCMutableTexture2D::createWithSize(CCSize(240, 160)));
    EXPECT_EQ(t->getPixelsWide(), 256u);
    EXPECT_EQ(t->getPixelsHigh(), 256u);
    EXPECT_FLOAT_EQ(t->getMaxS(), 0.9375f);
    EXPECT_FLOAT_EQ(t->getMaxT(), 0.625f);
    EXPECT_EQ(t->getPixelFormat(), kCCTexture2DPixelFormat_RGBA8888);
    TextureHolder small(CCMutableTexture2D::createWithSize(CCSize(120, 80)));
    EXPECT_EQ(small->getPixelsWide(), 128u);
    EXPECT_EQ(small->getPixelsHigh(), 128u);
    TextureHolder tiny(CCMutableTexture2D::createWithSize(CCSize(1, 0)));
    EXPECT_EQ(tiny->getPixelsWide(), 2u);
    EXPECT_EQ(tiny->getPixelsHigh(), 2u);
}

TEST(MutableTexture, PixelFormatsRoundTrip)
{
    TextureHolder rgb565(made(CCMutableTexture2D::kRGB565, 16, 16));
    EXPECT_TRUE(rgb565->setPixelAt(3, 4, ccc4(255, 255, 255, 255)));
    ccColor4B c = rgb565->getPixelAt(3, 4);
    EXPECT_EQ(c.r, 248);
    EXPECT_EQ(c.g, 252);
    EXPECT_EQ(c.b, 248);
    EXPECT_EQ(c.a, 255);

    TextureHolder rgb5a1(made(CCMutableTexture2D::kRGB5A1, 16, 16));
    rgb5a1->setPixelAt(1, 1, ccc4(200, 100, 50, 1));
    c = rgb5a1->getPixelAt(1, 1);
    EXPECT_EQ(c.a, 255);
    EXPECT_EQ(c.r, 200 & 0xF8);
    EXPECT_EQ(c.g, 100 & 0xF8);
    EXPECT_EQ(c.b, 50 & 0xF8);
    rgb5a1->setPixelAt(1, 1, ccc4(200, 100, 50, 0));
    EXPECT_EQ(rgb5a1->getPixelAt(1, 1).a, 0);

    TextureHolder rgba4444(made(CCMutableTexture2D::kRGBA4444, 16, 16));
    rgba4444->setPixelAt(2, 2, ccc4(0xF0, 0x80, 0x1F, 0x44));
    c = rgba4444->getPixelAt(2, 2);
    EXPECT_EQ(c.r, 255);
    EXPECT_EQ(c.g, 8 * 17);
    EXPECT_EQ(c.b, 17);
    EXPECT_EQ(c.a, 4 * 17);

    TextureHolder a8(made(CCMutableTexture2D::kA8, 16, 16));
    a8->setPixelAt(0, 0, ccc4(1, 2, 3, 77));
    c = a8->getPixelAt(0, 0);
    EXPECT_EQ(c.r, 255);
    EXPECT_EQ(c.a, 77);

    TextureHolder rgba(CCMutableTexture2D::createWithSize(CCSize(16, 16)));
    rgba->setPixelAt(5, 6, ccc4(1, 2, 3, 4));
    c = rgba->getPixelAt(5, 6);
    EXPECT_EQ(c.r, 1);
    EXPECT_EQ(c.a, 4);
    // Little-endian 16-bit pixels in the buffer.
    EXPECT_EQ(rgb565->pixelData()[(4 * 16 + 3) * 2], 0xFF);
}

TEST(MutableTexture, WritesOutsideTheTextureAreRefused)
{
    TextureHolder t(CCMutableTexture2D::createWithSize(CCSize(240, 160)));
    EXPECT_FALSE(t->setPixelAt(256, 0, ccc4(1, 1, 1, 1)));
    EXPECT_FALSE(t->setPixelAt(0, 256, ccc4(1, 1, 1, 1)));
    EXPECT_FALSE(t->setPixelAt(-1, 0, ccc4(1, 1, 1, 1)));
    EXPECT_FALSE(t->isDirty());
    // Inside the buffer beyond the content size is still the texture.
    EXPECT_TRUE(t->setPixelAt(250, 200, ccc4(1, 1, 1, 1)));
    // Reads stop at the content size.
    EXPECT_EQ(t->getPixelAt(250, 200).a, 0);
    EXPECT_EQ(t->getPixelAt(240, 0).a, 0);
}

TEST(MutableTexture, ATextureTooLargeToMakeHasNoBuffer)
{
    TextureHolder t(CCMutableTexture2D::createWithSize(CCSize(4.0e9f, 16)));
    EXPECT_EQ(t->pixelData(), nullptr);
    EXPECT_FALSE(t->setPixelAt(1, 1, ccc4(1, 1, 1, 1)));
    EXPECT_EQ(t->getPixelAt(1, 1).a, 0);
    t->apply();
    EXPECT_FALSE(t->isDirty());
}

TEST(MutableTexture, FillStaysInsideTheContentAndApplyCleans)
{
    TextureHolder t(CCMutableTexture2D::createWithSize(CCSize(240, 160)));
    t->fill(ccc4(9, 9, 9, 9));
    EXPECT_TRUE(t->isDirty());
    EXPECT_EQ(t->getPixelAt(239, 159).r, 9);
    const uint8_t* pixels = t->pixelData();
    EXPECT_EQ(pixels[(0 * 256 + 240) * 4], 0);
    EXPECT_EQ(pixels[(160 * 256 + 0) * 4], 0);
    t->fill(ccc4(1, 2, 3, 4));
    for (const CCPoint& at : {CCPoint(0, 0), CCPoint(239, 0), CCPoint(117, 80), CCPoint(0, 159)}) {
        const ccColor4B c = t->getPixelAt(at.x, at.y);
        EXPECT_TRUE(c.r == 1 && c.g == 2 && c.b == 3 && c.a == 4) << at.x << "," << at.y;
    }
    t->apply();
    EXPECT_FALSE(t->isDirty());
}

TEST(MutableTexture, FillCoversExactlyTheContentInEveryFormat)
{
    // Widths that are not a power of two, one pixel, a content as large as
    // its buffer, and a fraction of a pixel (which counts as one).
    const struct {
        int format;
        float width, height;
    } cases[] = {
        {CCMutableTexture2D::kRGBA8888, 240, 160}, {CCMutableTexture2D::kRGBA8888, 1, 1},
        {CCMutableTexture2D::kRGBA8888, 64, 32},   {CCMutableTexture2D::kRGB565, 120, 80},
        {CCMutableTexture2D::kA8, 37, 5},          {CCMutableTexture2D::kRGBA4444, 100, 3},
        {CCMutableTexture2D::kRGB5A1, 2.5f, 7},
    };
    const ccColor4B colour = ccc4(200, 100, 50, 255);
    for (const auto& c : cases) {
        TextureHolder t(made(c.format, c.width, c.height));
        ASSERT_NE(t->pixelData(), nullptr) << c.format;
        // What one pixel of the colour looks like in this format.
        TextureHolder probe(made(c.format, 1, 1));
        ASSERT_TRUE(probe->setPixelAt(0, 0, colour));
        const int bytes = t->bytesPerPixel();
        const uint8_t* expected = probe->pixelData();

        t->fill(colour);
        const unsigned wide = t->getPixelsWide(), high = t->getPixelsHigh();
        const auto contentWide = static_cast<unsigned>(std::ceil(c.width));
        const auto contentHigh = static_cast<unsigned>(std::ceil(c.height));
        for (unsigned y = 0; y < high; ++y) {
            for (unsigned x = 0; x < wide; ++x) {
                const uint8_t* pixel = t->pixelData() + (static_cast<size_t>(y) * wide + x) * bytes;
                const bool inside = x < contentWide && y < contentHigh;
                for (int b = 0; b < bytes; ++b)
                    ASSERT_EQ(pixel[b], inside ? expected[b] : 0)
                        << "format " << c.format << " size " << c.width << "x" << c.height << " at " << x << "," << y;
            }
        }
    }
}

TEST(MutableTexture, ReadOnlyImagesAndTheRegistry)
{
    // Other tests of this program may leave textures alive (a world view):
    // the registry must lose exactly the one made here.
    const size_t liveBefore = CCMutableTexture2D::registry().size();
    CCImage* image = new CCImage();
    const unsigned char rgb[] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    ASSERT_TRUE(image->initWithRawPixels(rgb, 2, 2, false));
    {
        TextureHolder t(CCMutableTexture2D::createWithImage(image));
        EXPECT_EQ(t->getPixelFormat(), kCCTexture2DPixelFormat_RGB888);
        EXPECT_EQ(t->getPixelsWide(), 2u);
        const ccColor4B c = t->getPixelAt(1, 1);
        EXPECT_EQ(c.r, 100);
        EXPECT_EQ(c.a, 255);
        EXPECT_FALSE(t->setPixelAt(0, 0, ccc4(1, 1, 1, 1)));
        EXPECT_FALSE(t->isDirty());
        EXPECT_EQ(CCMutableTexture2D::registry().count(t.texture), 1u);

        CCMutableTexture2D::invalidateAll();
        EXPECT_TRUE(t->isDirty());
        t->apply();
        EXPECT_FALSE(t->isDirty());
    }
    image->release();
    EXPECT_EQ(CCMutableTexture2D::registry().size(), liveBefore);
}
