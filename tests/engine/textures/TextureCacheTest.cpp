#include <gtest/gtest.h>

#include <vector>

#include "cocos2d/CCConfiguration.h"
#include "cocos2d/CCImage.h"
#include "cocos2d/CCTexture2D.h"
#include "cocos2d/CCTextureCache.h"
#include "engine/render/EngineTestSupport.h"

using namespace cocos2d;
using enginetest::TempDir;

namespace {

void writePng(const std::string& path, int w, int h)
{
    std::vector<unsigned char> px(static_cast<size_t>(w) * h * 4, 255);
    CCImage image;
    ASSERT_TRUE(image.initWithRawPixels(px.data(), w, h, true));
    ASSERT_TRUE(image.saveToFile(path.c_str(), false));
}

class TextureCacheTest : public ::testing::Test {
protected:
    void TearDown() override { CCTextureCache::sharedTextureCache()->removeAllTextures(); }
    CCTextureCache* cache = CCTextureCache::sharedTextureCache();
};

TEST_F(TextureCacheTest, SheetNamesAndTheirPngShareOneTexture)
{
    CCTexture2D* byAtlasName = cache->addImage("pvr/enginetest.pvr.ccz");
    ASSERT_NE(byAtlasName, nullptr) << "the generated test sheet is missing from the resource tree";
    EXPECT_EQ(cache->addImage("pvr/enginetest.png"), byAtlasName);
    EXPECT_EQ(cache->textureForKey("pvr/enginetest.png"), byAtlasName);
    EXPECT_EQ(byAtlasName->getPixelsWide(), 256u);
    EXPECT_EQ(byAtlasName->getPixelFormat(), kCCTexture2DPixelFormat_RGBA8888);
}

TEST_F(TextureCacheTest, MissingFilesGiveNullAndRemovalForgets)
{
    TempDir dir;
    EXPECT_EQ(cache->addImage(dir.file("none.png").c_str()), nullptr);
    writePng(dir.file("a.png"), 4, 4);
    CCTexture2D* a = cache->addImage(dir.file("a.png").c_str());
    ASSERT_NE(a, nullptr);
    a->retain();
    cache->removeTextureForKey(dir.file("a.png").c_str());
    EXPECT_EQ(cache->textureForKey(dir.file("a.png").c_str()), nullptr);
    CCTexture2D* again = cache->addImage(dir.file("a.png").c_str());
    EXPECT_NE(again, nullptr);
    cache->removeTexture(again);
    EXPECT_EQ(cache->textureCount(), 0u);
    a->release();
}

TEST_F(TextureCacheTest, ARewrittenFileIsLoadedAgain)
{
    TempDir dir;
    const std::string path = dir.file("thumb.png");
    writePng(path, 4, 4);
    CCTexture2D* first = cache->addImage(path.c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(cache->addImage(path.c_str()), first);
    writePng(path, 8, 2);
    enginetest::touchLater(path);
    CCTexture2D* second = cache->addImage(path.c_str());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->getPixelsWide(), 8u) << "a re-saved thumbnail must never show stale";
    EXPECT_EQ(second->getPixelsHigh(), 2u);
}

TEST_F(TextureCacheTest, SizeOnlyTexturesAndDataTexturesCarryTheirGeometry)
{
    CCTexture2D* t = cache->addSizeOnlyTexture("fixtures/panel.png", 64, 32);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(cache->addImage("fixtures/panel.png"), t);
    EXPECT_EQ(t->getContentSize().width, 64);

    CCTexture2D data;
    ASSERT_TRUE(data.initWithData(nullptr, kCCTexture2DPixelFormat_RGB565, 256, 256, CCSize(240, 160)));
    EXPECT_FLOAT_EQ(data.getMaxS(), 0.9375f);
    EXPECT_FLOAT_EQ(data.getMaxT(), 0.625f);
    EXPECT_FALSE(data.hasPremultipliedAlpha());
    EXPECT_NE(data.getName(), 0u);
    EXPECT_NE(data.getName(), t->getName());
    EXPECT_GE(CCConfiguration::sharedConfiguration()->getMaxTextureSize(), 2048);
}

}  // namespace
