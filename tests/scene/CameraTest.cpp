#include "support/GameSceneFixture.h"
#include "hud/GUITopBar.h"
#include "world/CCMutableTexture2D.h"
#include "scene/Camera.h"
#include "scene/ZoomOutView.h"

USING_NS_CC;

namespace gametest {
namespace {

using Camera_ = ::Camera;

TEST_F(GameScene, TheLayerShowsTheWholeSmallWorldAtTheStartScale)
{
    EXPECT_EQ(layer->getContentSize().width, 2400);
    EXPECT_EQ(layer->getContentSize().height, 1800);
    CCSprite* sprite = layer->getWorldSprite();
    ASSERT_NE(sprite, nullptr);
    EXPECT_FLOAT_EQ(sprite->getScale(), 9.0f);
    EXPECT_TRUE(sprite->isFlipY());
    EXPECT_NEAR(layer->getScale(), 20.0f / 27, 1e-6);
    EXPECT_NEAR(layer->getPosition().x, -311.111f, 0.01);
    EXPECT_NEAR(layer->getPosition().y, -233.333f, 0.01);
    // Cell corners on screen.
    const CCPoint origin = layer->convertToWorldSpace(ccp(0, 0));
    const CCPoint far = layer->convertToWorldSpace(ccp(120 * 9, 80 * 9));
    EXPECT_NEAR(origin.x, 0, 0.01);
    EXPECT_NEAR(origin.y, 0, 0.01);
    EXPECT_NEAR(far.x, 800, 0.01);
    EXPECT_NEAR(far.y, 533.333, 0.01);
}

TEST_F(GameScene, PressesMapToCellsInBothWorldSizes)
{
    struct Case {
        bool big;
        float scale;
        CCPoint cell;
    };
    for (const Case& c : {Case{false, 20.0f / 27, ccp(60, 45)}, Case{true, 10.0f / 27, ccp(120, 90)}}) {
        world->setBigWorld(c.big);
        EXPECT_NEAR(layer->getScale(), c.scale, 1e-6);
        const CCPoint cell = layer->worldCellAt(ccp(400, 300));
        EXPECT_NEAR(cell.x, c.cell.x, 1e-3) << c.big;
        EXPECT_NEAR(cell.y, c.cell.y, 1e-3) << c.big;
    }
    EXPECT_FALSE(GameLayer::insideWorldView(ccp(0, 300)));
    EXPECT_TRUE(GameLayer::insideWorldView(ccp(1, 300)));
    EXPECT_FALSE(GameLayer::insideWorldView(ccp(800, 300)));
}

TEST_F(GameScene, CameraBoundsAndClamps)
{
    Camera_* camera = layer->getCamera();
    EXPECT_EQ(Camera_::magnification(), 57);
    EXPECT_FLOAT_EQ(camera->getZoomMin(), 57.0f / 9);
    EXPECT_FLOAT_EQ(camera->getZoomMax(), 1.0f / 3);

    world->setBigWorld(false);
    // Below zoomMax: the whole world fits; above zoomMin: zoomMin.
    camera->zoomTo(0.001f);
    EXPECT_NEAR(layer->getScale(), 20.0f / 27, 1e-6);
    camera->zoomTo(100.0f);
    EXPECT_FLOAT_EQ(layer->getScale(), 57.0f / 9);
    EXPECT_NEAR(camera->getExtentX(), 6040, 0.01);
    EXPECT_NEAR(camera->getExtentY(), 4022.5, 0.01);
    EXPECT_NEAR(camera->getMinX(), 360, 0.01);
    EXPECT_NEAR(camera->getMaxX(), 6400, 0.01);
    EXPECT_NEAR(camera->getMinY(), 777.5, 0.01);
    EXPECT_NEAR(camera->getMaxY(), 4800, 0.01);

    // Pans stay within the bounds, whichever way they go.
    struct Pan {
        CCPoint to;
        CCPoint expected;
    };
    camera->setRestPosition(ccp(3000, 3000));
    for (const Pan& pan : {Pan{ccp(0, 0), ccp(3000, 3000)}, Pan{ccp(-10000, -10000), ccp(6400, 4800)},
                           Pan{ccp(10000, 10000), ccp(360, 777.5)}, Pan{ccp(100, -50), ccp(2900, 3050)}}) {
        camera->beginPan(ccp(0, 0));
        camera->panTo(pan.to);
        EXPECT_NEAR(layer->getPosition().x, pan.expected.x, 0.01) << pan.to.x;
        EXPECT_NEAR(layer->getPosition().y, pan.expected.y, 0.01) << pan.to.y;
    }

    // At any other scale the position is pinned.
    camera->zoomTo(1.0f);
    camera->beginPan(ccp(0, 0));
    camera->panTo(ccp(-500, 700));
    EXPECT_NEAR(layer->getPosition().x, camera->getMaxX(), 0.01);
    EXPECT_NEAR(layer->getPosition().y, camera->getMaxY(), 0.01);
}

TEST_F(GameScene, CameraKeepsItsFirstKAndCentresInAWideScreen)
{
    resetScreenMetricsForTests();
    computeScreenMetrics(CCSize(1920, 1080));
    ASSERT_EQ(pixelSize, 6);
    ASSERT_FLOAT_EQ(visibleMargin().width, 480);
    CCNode* node = CCNode::create();
    Camera_ camera;
    camera.setup(node, CCSize(1440 * 6, 1080 * 6));
    EXPECT_EQ(Camera_::magnification(), 57) << "K stays from the first setup";
    EXPECT_FLOAT_EQ(camera.getZoomMin(), 57.0f / 36);
    EXPECT_FLOAT_EQ(node->getPosition().x, 240);
    EXPECT_FLOAT_EQ(node->getPosition().y, 0);
    EXPECT_FALSE(camera.isPanning());

    resetScreenMetricsForTests();
    computeScreenMetrics(CCSize(800, 600));
    camera.setup(node, CCSize(2400, 1800));
    EXPECT_FLOAT_EQ(node->getPosition().x, 0);
    EXPECT_FLOAT_EQ(node->getPosition().y, 0);
}

TEST_F(GameScene, ZoomToPointMagnifiesAroundThePressAndGoesBack)
{
    enterScene(false);
    layer->zoomToPoint(ccp(400, 300));
    EXPECT_TRUE(layer->getZoomedOut());
    EXPECT_FLOAT_EQ(layer->getScale(), 57.0f / 9);
    EXPECT_NEAR(layer->getPosition().x, 2980, 0.01);
    EXPECT_NEAR(layer->getPosition().y, 2520, 0.01);
    EXPECT_NE(layer->getZoomOutView()->getParent(), nullptr);
    EXPECT_FALSE(GUITopBar::getInstance()->isPanning()) << "the toggle is flipped back to drawing";

    layer->zoomToPoint(ccp(0, 0));
    EXPECT_FALSE(layer->getZoomedOut());
    EXPECT_NEAR(layer->getScale(), 20.0f / 27, 1e-6);
    EXPECT_EQ(layer->getZoomOutView()->getParent(), nullptr);
}

TEST_F(GameScene, OverviewPanelInBothWorldSizes)
{
    for (bool big : {false, true}) {
        world->setBigWorld(big);
        ZoomOutView* view = layer->getZoomOutView();
        EXPECT_FLOAT_EQ(view->getContentSize().width, 187.5f) << big;
        EXPECT_FLOAT_EQ(view->getContentSize().height, 125.0f) << big;
        EXPECT_FLOAT_EQ(view->getPosition().x, 612.5f);
        EXPECT_FLOAT_EQ(view->getPosition().y, 0);
        EXPECT_EQ(view->getFrameSize().width, 16);
        EXPECT_EQ(view->getFrameSize().height, 10);
    }
}

TEST_F(GameScene, OverviewFrameIsAMagentaOutline)
{
    resetScreenMetricsForTests();
    computeScreenMetrics(CCSize(1024, 768));
    ASSERT_DOUBLE_EQ(screenRatio, 1.0);
    for (CCSize size : {CCSize(240, 160), CCSize(120, 80)}) {
        auto* view = new ZoomOutView();
        CCMutableTexture2D* texture = CCMutableTexture2D::createWithSize(size);
        texture->retain();
        view->setup(texture);
        EXPECT_FLOAT_EQ(view->getContentSize().width, 240);
        EXPECT_FLOAT_EQ(view->getContentSize().height, 160);
        ASSERT_EQ(view->getFrameSize().width, 16);
        ASSERT_EQ(view->getFrameSize().height, 10);
        CCMutableTexture2D* frame = view->getFrameTexture();
        for (int x = 0; x < 16; ++x)
            for (int y = 0; y < 10; ++y) {
                const ccColor4B c = frame->getPixelAt(x, y);
                const bool edge = x == 0 || y == 0 || x == 15 || y == 9;
                EXPECT_EQ(c.a, edge ? 128 : 0) << x << "," << y;
                if (edge) {
                    EXPECT_TRUE(c.r == 255 && c.g == 0 && c.b == 255);
                }
            }
        // A second setup lets go of the first frame texture.
        CCMutableTexture2D* first = frame;
        first->retain();
        view->setup(texture);
        EXPECT_NE(view->getFrameTexture(), first);
        CCPoolManager::sharedPoolManager()->drain();
        EXPECT_EQ(first->retainCount(), 1u) << "only the test holds the first frame";
        first->release();
        view->release();
        texture->release();
    }
}

TEST_F(GameScene, AOneTexelFrameStillDraws)
{
    resetScreenMetricsForTests();
    computeScreenMetrics(CCSize(1024, 768));
    // A texture this small gives a 1 x 1 frame.
    auto* view = new ZoomOutView();
    view->setup(CCMutableTexture2D::createWithSize(CCSize(8, 8)));
    EXPECT_EQ(view->getFrameSize().width, 1);
    EXPECT_EQ(view->getFrameSize().height, 1);
    EXPECT_EQ(view->getFrameTexture()->getPixelAt(0, 0).a, 128);
    view->release();
}

}  // namespace
}  // namespace gametest
