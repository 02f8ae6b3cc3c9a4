#include "engine/render/SoftwareRenderFixture.h"

using namespace cocos2d;
using enginetest::pixelAt;
using enginetest::SoftwareRender;

namespace {

const ccColor4B kRed = ccc4(255, 0, 0, 255);
const ccColor4B kGreen = ccc4(0, 255, 0, 255);
const ccColor4B kBlue = ccc4(0, 0, 255, 255);
const ccColor4B kYellow = ccc4(255, 255, 0, 255);
const ccColor4B kClear = ccc4(0, 0, 0, 0);

// The quad sprite drawn 16 x 16 at (4, 2) of a 64 x 32 render texture.
class RenderTextureTest : public SoftwareRender {
protected:
    void SetUp() override
    {
        SoftwareRender::SetUp();
        rt = CCRenderTexture::create(64, 32);
        ASSERT_NE(rt, nullptr);
        CCSprite* sprite = quadSprite();
        sprite->setPosition(ccp(4, 2));
        sprite->setScale(2);
        rt->begin();
        sprite->visit();
        rt->end();
    }
    CCRenderTexture* rt = nullptr;
};

TEST_F(RenderTextureTest, ReadBackIsUprightWhenFlippedAndBottomFirstWhenNot)
{
    CCImage* upright = rt->newCCImage(true);
    ASSERT_NE(upright, nullptr);
    EXPECT_EQ(upright->getWidth(), 64);
    EXPECT_EQ(upright->getHeight(), 32);
    EXPECT_TRUE(upright->hasAlpha());
    // GL pixel (x, y) of the texture is row 31 - y of an upright picture.
    EXPECT_PIXEL(pixelAt(upright, 4, 31 - 17), kRed);
    EXPECT_PIXEL(pixelAt(upright, 19, 31 - 17), kGreen);
    EXPECT_PIXEL(pixelAt(upright, 4, 31 - 2), kBlue);
    EXPECT_PIXEL(pixelAt(upright, 19, 31 - 2), kYellow);
    EXPECT_PIXEL(pixelAt(upright, 40, 10), kClear) << "a new render texture starts transparent";
    upright->release();

    CCImage* raw = rt->newCCImage(false);
    EXPECT_PIXEL(pixelAt(raw, 4, 17), kRed);
    EXPECT_PIXEL(pixelAt(raw, 4, 2), kBlue);
    raw->release();
}

TEST_F(RenderTextureTest, ItsSpriteShowsTheContentUprightAndRectsMeasureFromTheBottom)
{
    CCNode* root = CCNode::create();
    CCSprite* shown = rt->getSprite();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isFlipY());
    CCSprite* copy = CCSprite::createWithTexture(shown->getTexture());
    copy->setFlipY(true);
    copy->setAnchorPoint(CCPointZero);
    copy->setPosition(ccp(100, 100));
    root->addChild(copy);
    // The bottom-left 16 x 8 of the content: y counts from the bottom.
    CCSprite* crop = CCSprite::createWithTexture(shown->getTexture(), CCRect(4, 2, 16, 8));
    crop->setAnchorPoint(CCPointZero);
    crop->setPosition(ccp(300, 100));
    root->addChild(crop);
    drawFrame(root);
    EXPECT_PIXEL(at(104, 117), kRed);
    EXPECT_PIXEL(at(104, 102), kBlue);
    // Unflipped, the crop shows the blue and yellow row upside down; colours
    // only, so the row order shows as which half is where: all of it is the
    // bottom half of the sprite.
    EXPECT_PIXEL(at(300, 100), kBlue);
    EXPECT_PIXEL(at(315, 107), kYellow);
}

// A screen capture crops through an unflipped sprite into a second render
// texture read unflipped: the two flips cancel and the picture is upright.
TEST_F(RenderTextureTest, CaptureThroughASecondTextureIsUpright)
{
    CCSprite* crop = CCSprite::createWithTexture(rt->getSprite()->getTexture(), CCRect(4, 2, 16, 16));
    crop->setAnchorPoint(CCPointZero);
    CCRenderTexture* second = CCRenderTexture::create(16, 16);
    second->begin();
    crop->visit();
    second->end();
    CCImage* picture = second->newCCImage(false);
    EXPECT_PIXEL(pixelAt(picture, 0, 0), kRed);
    EXPECT_PIXEL(pixelAt(picture, 15, 0), kGreen);
    EXPECT_PIXEL(pixelAt(picture, 0, 15), kBlue);
    picture->release();
}

TEST_F(RenderTextureTest, SaveToFileWritesExactlyThePathWithAlpha)
{
    enginetest::TempDir dir;
    const std::string path = dir.file("Shot 1.png");
    ASSERT_TRUE(rt->saveToFile(path.c_str()));
    CCImage loaded;
    ASSERT_TRUE(loaded.initWithImageFile(path.c_str()));
    EXPECT_TRUE(loaded.hasAlpha());
    EXPECT_PIXEL(pixelAt(&loaded, 4, 31 - 17), kRed);
    EXPECT_PIXEL(pixelAt(&loaded, 40, 10), kClear);
}

TEST_F(RenderTextureTest, TheClipInsideARenderTextureUsesItsOwnHeight)
{
    CCSprite* white = CCSprite::createWithSpriteFrameName("enginetest_white.png");
    white->setAnchorPoint(CCPointZero);
    white->setScale(8);
    CCRenderTexture* target = CCRenderTexture::create(64, 32);
    target->begin();
    clip(0, 0, 10, 5);
    white->visit();
    clearClip();
    target->end();
    CCImage* picture = target->newCCImage(true);
    EXPECT_PIXEL(pixelAt(picture, 0, 31), ccc4(255, 255, 255, 255));
    EXPECT_PIXEL(pixelAt(picture, 9, 27), ccc4(255, 255, 255, 255));
    EXPECT_PIXEL(pixelAt(picture, 10, 31), kClear);
    EXPECT_PIXEL(pixelAt(picture, 0, 26), kClear);
    picture->release();
}

}  // namespace
