#include <string>

#include "gui/ScreenUtils.h"
#include "support/SavedWorldsFixture.h"

USING_NS_CC;

namespace gametest {
namespace {

// A saved world's picture, drawn by the software renderer: the whole world,
// one pixel per cell, its bottom row at the bottom of the picture.
TEST_F(SavedWorlds, TheThumbnailHoldsTheWholeWorld)
{
    enterScene(false);
    layer->setBackgroundOn(false);
    CCMutableTexture2D* cells = layer->getWorldTexture();
    cells->fill(ccc4(0, 0, 0, 0));
    cells->setPixelAt(0, 0, ccc4(250, 10, 10, 255));
    cells->setPixelAt(119, 79, ccc4(10, 250, 10, 255));
    SaveLoadUtils::saveThumbnail(CCString::create("px"));

    CCImage* picture = new CCImage();
    ASSERT_TRUE(picture->initWithImageFile((saveFolder + "/user/px.png").c_str()));
    ASSERT_EQ(picture->getWidth(), 120);
    ASSERT_EQ(picture->getHeight(), 80);
    auto at = [picture](int x, int y) {
        const unsigned char* p = picture->getData() + (y * 120 + x) * picture->getBytesPerPixel();
        return ccc4(p[0], p[1], p[2], picture->hasAlpha() ? p[3] : 255);
    };
    struct Case {
        int x, y;
        ccColor4B colour;
    };
    const Case cases[] = {
        {0, 79, ccc4(250, 10, 10, 255)},   // world row 0: the bottom
        {119, 0, ccc4(10, 250, 10, 255)},  // the last row: the top
        {119, 79, ccc4(23, 30, 34, 255)},  // every corner drawn
        {0, 0, ccc4(23, 30, 34, 255)},    {60, 40, ccc4(23, 30, 34, 255)},
    };
    for (const Case& c : cases) {
        const ccColor4B got = at(c.x, c.y);
        EXPECT_NEAR(got.r, c.colour.r, 2) << c.x << "," << c.y;
        EXPECT_NEAR(got.g, c.colour.g, 2) << c.x << "," << c.y;
        EXPECT_NEAR(got.b, c.colour.b, 2) << c.x << "," << c.y;
        EXPECT_EQ(got.a, 255) << c.x << "," << c.y;
    }
    picture->release();
}

// The screen capture is the visible area; a node's picture its content size,
// its anchor given back.
TEST_F(SavedWorlds, ScreenAndNodePictures)
{
    enterScene(false);
    CCImage* screen = ScreenUtils::renderScreenToImage();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->getWidth(), 800);
    EXPECT_EQ(screen->getHeight(), 600);
    screen->release();

    CCSprite* snapshot = ScreenUtils::createWorldSnapshot();
    snapshot->setAnchorPoint(ccp(0.5f, 0.5f));
    CCImage* node = ScreenUtils::renderNodeToImage(snapshot);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->getWidth(), 120);
    EXPECT_EQ(node->getHeight(), 80);
    EXPECT_EQ(node->getData()[3], 255);  // drawn from its corner: no empty quadrant
    node->release();
    EXPECT_FLOAT_EQ(snapshot->getAnchorPoint().x, 0.5f);
    EXPECT_EQ(ScreenUtils::renderNodeToImage(nullptr), nullptr);
}

}  // namespace
}  // namespace gametest
