#include "engine/render/SoftwareRenderFixture.h"

#include <vector>

using namespace cocos2d;
using enginetest::SoftwareRender;

namespace {

const ccColor4B kRed = ccc4(255, 0, 0, 255);
const ccColor4B kGreen = ccc4(0, 255, 0, 255);
const ccColor4B kBlue = ccc4(0, 0, 255, 255);
const ccColor4B kYellow = ccc4(255, 255, 0, 255);
const ccColor4B kBlack = ccc4(0, 0, 0, 255);

TEST_F(SoftwareRender, SheetSpriteLandsWhereItsPositionAndScaleSay)
{
    CCNode* root = CCNode::create();
    CCSprite* sprite = quadSprite();
    sprite->setPosition(ccp(100, 200));
    sprite->setScale(4);  // 8 x 8 texels -> 32 x 32 pixels, quadrants of 16
    root->addChild(sprite);
    drawFrame(root);

    EXPECT_PIXEL(at(100, 231), kRed);     // top-left of the sprite
    EXPECT_PIXEL(at(131, 231), kGreen);   // top-right
    EXPECT_PIXEL(at(100, 200), kBlue);    // bottom-left
    EXPECT_PIXEL(at(131, 200), kYellow);  // bottom-right
    EXPECT_PIXEL(at(99, 215), kBlack);
    EXPECT_PIXEL(at(132, 215), kBlack);
    EXPECT_PIXEL(at(115, 232), kBlack);
    EXPECT_PIXEL(at(115, 199), kBlack);

    // A flip mirrors only the sprite's own mapping; its box stays put.
    sprite->setFlipX(true);
    drawFrame(root);
    EXPECT_PIXEL(at(100, 231), kGreen);
    EXPECT_PIXEL(at(131, 200), kBlue);
    EXPECT_PIXEL(at(99, 215), kBlack);
}

TEST_F(SoftwareRender, TintMultipliesAndOpacityBlendsStraightAlpha)
{
    CCNode* root = CCNode::create();
    CCSprite* white = CCSprite::createWithSpriteFrameName("enginetest_white.png");
    white->setPosition(ccp(300, 300));  // centred: covers 296..303
    white->setColor(ccc3(75, 184, 229));
    root->addChild(white);
    drawFrame(root);
    EXPECT_PIXEL(at(300, 300), ccc4(75, 184, 229, 255));

    white->setOpacity(128);
    drawFrame(root);
    EXPECT_PIXEL(at(300, 300), ccc4(38, 92, 115, 255));

    // Over another colour the same half opacity gives the straight-alpha mix.
    CCSprite* under = CCSprite::createWithSpriteFrameName("enginetest_white.png");
    under->setPosition(ccp(300, 300));
    under->setColor(ccc3(255, 0, 0));
    root->addChild(under, -1);
    white->setColor(ccc3(0, 0, 255));
    drawFrame(root);
    EXPECT_PIXEL(at(300, 300), ccc4(127, 0, 128, 255));
}

TEST_F(SoftwareRender, LaterChildrenAndHigherZDrawOnTop)
{
    CCNode* root = CCNode::create();
    CCSprite* a = CCSprite::createWithSpriteFrameName("enginetest_white.png");
    CCSprite* b = CCSprite::createWithSpriteFrameName("enginetest_white.png");
    a->setColor(ccc3(255, 0, 0));
    b->setColor(ccc3(0, 255, 0));
    a->setPosition(ccp(50, 50));
    b->setPosition(ccp(50, 50));
    root->addChild(a);
    root->addChild(b);
    drawFrame(root);
    EXPECT_PIXEL(at(50, 50), kGreen);
    a->setZOrder(1);
    drawFrame(root);
    EXPECT_PIXEL(at(50, 50), kRed);
}

TEST_F(SoftwareRender, ChildrenDrawThroughTheTransformsOfTheWholeTree)
{
    CCLayer* layer = CCLayer::create();  // ignores its anchor: bottom-left at its position
    layer->setPosition(ccp(100, 50));
    CCNode* group = CCNode::create();
    group->setPosition(ccp(10, 10));
    group->setScale(2);
    layer->addChild(group);
    CCSprite* sprite = quadSprite();  // anchor (0, 0)
    sprite->setPosition(ccp(5, 5));
    group->addChild(sprite);
    drawFrame(layer);
    // (100 + 10 + 2 * 5, 50 + 10 + 2 * 5) = (120, 70), 16 x 16 on screen.
    EXPECT_PIXEL(at(120, 70), kBlue);
    EXPECT_PIXEL(at(135, 85), kGreen);
    EXPECT_PIXEL(at(119, 70), kBlack);
    EXPECT_PIXEL(at(136, 85), kBlack);
}

TEST_F(SoftwareRender, ColourLayerFillsItsRectangleWithColourTimesOpacity)
{
    if (!view->getBackend() || !view->getBackend()->drawsFrames())
        GTEST_SKIP() << "the view was made headless earlier in this process";
    CCLayerColor* layer = CCLayerColor::create(ccc4(200, 100, 50, 128), 40, 30);
    layer->setPosition(ccp(10, 20));
    drawFrame(layer);
    EXPECT_PIXEL(at(10, 20), ccc4(100, 50, 25, 255));
    EXPECT_PIXEL(at(49, 49), ccc4(100, 50, 25, 255));
    EXPECT_PIXEL(at(50, 20), kBlack);
    EXPECT_PIXEL(at(10, 50), kBlack);
}

TEST_F(SoftwareRender, TheDirectorsFrameDrawsTheRunningSceneOnBlack)
{
    if (!view->getBackend() || !view->getBackend()->drawsFrames())
        GTEST_SKIP() << "the view was made headless earlier in this process";
    CCScene* scene = CCScene::create();
    CCSprite* sprite = quadSprite();
    sprite->setPosition(ccp(700, 500));
    sprite->setScale(2);
    scene->addChild(sprite);
    CCDirector* director = CCDirector::sharedDirector();
    director->runWithScene(scene);
    director->stepFrame(1 / 60.f);
    frame = view->captureFrame();
    director->resetForTests();
    ASSERT_NE(frame, nullptr);
    EXPECT_PIXEL(at(701, 515), kRed);
    EXPECT_PIXEL(at(715, 501), kYellow);
    EXPECT_PIXEL(at(10, 10), kBlack);
}

TEST_F(SoftwareRender, ClippedNodeDrawsNothingOutsideTheClip)
{
    CCNode* root = CCNode::create();
    CCSprite* white = CCSprite::createWithSpriteFrameName("enginetest_white.png");
    white->setAnchorPoint(CCPointZero);
    white->setScale(60);  // 480 x 480 from the origin
    root->addChild(white);
    render::beginFrame();
    clip(200, 100, 50, 40);  // bottom-left origin, as the game computes it
    root->visit();
    clearClip();
    frame = render::captureFrame();
    const ccColor4B kWhite = ccc4(255, 255, 255, 255);
    EXPECT_PIXEL(at(200, 100), kWhite);
    EXPECT_PIXEL(at(249, 139), kWhite);
    EXPECT_PIXEL(at(199, 120), kBlack);
    EXPECT_PIXEL(at(250, 120), kBlack);
    EXPECT_PIXEL(at(220, 99), kBlack);
    EXPECT_PIXEL(at(220, 140), kBlack);
}

// The game's writable texture is a CPU buffer uploaded whole when it changes.
TEST_F(SoftwareRender, DataTextureShowsEachUploadInItsFormat)
{
    CCNode* root = CCNode::create();
    std::vector<uint8_t> pixels(4 * 4 * 2);
    auto fill16 = [&pixels](uint16_t v) {
        for (size_t i = 0; i < pixels.size(); i += 2) {
            pixels[i] = static_cast<uint8_t>(v & 0xFF);  // little-endian
            pixels[i + 1] = static_cast<uint8_t>(v >> 8);
        }
    };
    CCTexture2D* rgb565 = new CCTexture2D();
    fill16(0xF800);  // red
    ASSERT_TRUE(rgb565->initWithData(pixels.data(), kCCTexture2DPixelFormat_RGB565, 4, 4, CCSize(4, 4)));
    rgb565->setAliasTexParameters();
    CCSprite* sprite = CCSprite::createWithTexture(rgb565);
    rgb565->release();
    sprite->setAnchorPoint(CCPointZero);
    sprite->setPosition(ccp(10, 10));
    sprite->setScale(4);
    root->addChild(sprite);
    drawFrame(root);
    EXPECT_PIXEL(at(12, 12), kRed);
    fill16(0x07E0);  // green
    rgb565->updateData(pixels.data());
    drawFrame(root);
    EXPECT_PIXEL(at(12, 12), kGreen);

    CCTexture2D* rgba4444 = new CCTexture2D();
    fill16(0x00FF);  // opaque blue
    ASSERT_TRUE(rgba4444->initWithData(pixels.data(), kCCTexture2DPixelFormat_RGBA4444, 4, 4, CCSize(4, 4)));
    sprite->setTexture(rgba4444);
    rgba4444->release();
    drawFrame(root);
    EXPECT_PIXEL(at(12, 12), kBlue);
    fill16(0xF008);  // red at alpha 8/15 over black
    rgba4444->updateData(pixels.data());
    drawFrame(root);
    EXPECT_PIXEL(at(12, 12), ccc4(136, 0, 0, 255));
}

// The world: 240 x 160 cells in a 256 x 256 buffer, row 0 shown at the bottom.
TEST_F(SoftwareRender, FlippedWorldSpriteShowsRowZeroAtTheBottomAndOnlyItsContent)
{
    std::vector<uint8_t> world(256 * 256 * 4, 0);
    auto put = [&world](int x, int y, ccColor4B c) {
        uint8_t* p = &world[(static_cast<size_t>(y) * 256 + x) * 4];
        p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = c.a;
    };
    put(0, 0, kRed);
    put(239, 159, kGreen);
    put(240, 0, kBlue);    // beyond the content: never shown
    put(0, 160, kYellow);  // likewise
    CCTexture2D* texture = new CCTexture2D();
    ASSERT_TRUE(texture->initWithData(world.data(), kCCTexture2DPixelFormat_RGBA8888, 256, 256, CCSize(240, 160)));
    texture->setAliasTexParameters();
    CCSprite* sprite = CCSprite::createWithTexture(texture);
    texture->release();
    EXPECT_EQ(sprite->getContentSize().width, 240);
    sprite->setFlipY(true);
    sprite->setAnchorPoint(CCPointZero);
    sprite->setScale(2);
    CCNode* root = CCNode::create();
    root->addChild(sprite);
    drawFrame(root);
    EXPECT_PIXEL(at(1, 1), kRed);
    EXPECT_PIXEL(at(478, 318), kGreen);
    EXPECT_PIXEL(at(481, 1), kBlack);
    EXPECT_PIXEL(at(1, 321), kBlack);
}

}  // namespace
