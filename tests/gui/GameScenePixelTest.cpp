#include "support/GameSceneFixture.h"

USING_NS_CC;

namespace gametest {
namespace {

// The game scene drawn by the software renderer: a painted cell shows in its
// colour under the point that was pressed.
TEST_F(GameScene, APaintedCellShowsUnderThePress)
{
    enterScene();
    press(400, 300);
    stepFrames(3, 1.0f / 30);
    release(400, 300);
    stepFrames(1, 1.0f / 30);
    // The frame shows the world as the last step left it.
    int row = -1;
    for (int y = 90; y >= 0 && row < 0; --y)
        if (typeAt(120, y) == hashString("Soil"))
            row = y;
    ASSERT_GE(row, 0);
    const ccColor4B expected = layer->getWorldTexture()->getPixelAt(120, row);
    CCImage* frame = CCEGLView::sharedOpenGLView()->captureFrame();
    ASSERT_NE(frame, nullptr);
    const CCPoint centre = layer->convertToWorldSpace(ccp(120 * 9 + 4.5f, row * 9 + 4.5f));
    const int px = static_cast<int>(centre.x);
    const int py = frame->getHeight() - 1 - static_cast<int>(centre.y);
    const unsigned char* pixel = frame->getData() + (py * frame->getWidth() + px) * 4;
    const int rgb[3] = {pixel[0], pixel[1], pixel[2]};
    frame->release();
    EXPECT_NEAR(rgb[0], expected.r, 2);
    EXPECT_NEAR(rgb[1], expected.g, 2);
    EXPECT_NEAR(rgb[2], expected.b, 2);
}

}  // namespace
}  // namespace gametest
