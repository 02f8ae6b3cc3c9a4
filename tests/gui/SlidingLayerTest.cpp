// The sliding layer: drags, clamps, flings and taps on its rows.
#include "GuiFixture.h"

#include "gui/SlidingLayer.h"

USING_NS_CC;
using guitest::Counter;
using guitest::GuiTest;
using guitest::Held;

class Sliding : public GuiTest {
protected:
    // A vertical list in the viewport (100, 100) - (300, 400): rows 200 x 16
    // every 40 points from the top, row 0 at y 280 (layer space).
    void SetUp() override
    {
        GuiTest::SetUp();
        layer = SlidingLayer::create(ccp(100, 100), CCSize(200, 300));
        layer->setScrollX(false);
        scene()->addChild(layer);
        host()->sliding = layer;
    }
    CCMenuItemSprite* addRow(int index)
    {
        CCSprite* normal = CCSprite::createWithSpriteFrameName("gamemenus_brushSizeSlider.png");
        CCSprite* selected = CCSprite::createWithSpriteFrameName("gamemenus_brushSizeSlider.png");
        auto* row = CCMenuItemSprite::create(normal, selected, taps.get(), menu_selector(Counter::hitWith));
        row->setPosition(ccp(100, 280 - 40.0f * index));
        layer->addChild(row);
        return row;
    }
    // Screen y of row i's centre while the layer is at its origin.
    static float rowY(int index) { return 100 + 280 - 40.0f * index; }
    Held<Counter> taps;
    SlidingLayer* layer = nullptr;
};

TEST_F(Sliding, AnEmptyLayerDoesNotClampAndEdgesAreOutside)
{
    EXPECT_TRUE(layer->clampPosition(ccp(5000, -5000)).equals(ccp(5000, -5000)));
    for (CCPoint p : {ccp(100, 200), ccp(300, 200), ccp(200, 100), ccp(200, 400)}) {
        auto* touch = new CCTouch();
        touch->setTouchInfo(0, p.x, 600 - p.y);
        EXPECT_FALSE(layer->ccTouchBegan(touch, nullptr)) << p.x << ", " << p.y;
        touch->release();
    }
}

TEST_F(Sliding, AnItemTouchBecomesADragOnlyByADominantMoveAlongTheAxis)
{
    layer->setDirectionalDrag(true);
    layer->setTopRightMargin(ccp(0, 60));  // room to move down from the origin
    for (int i = 0; i < 20; ++i)
        addRow(i);
    touchDown(200, rowY(1));
    touchMove(240, rowY(1) - 10);
    EXPECT_FALSE(layer->isDragging());
    touchUp(240, rowY(1) - 10);
    EXPECT_EQ(taps->count, 1);
    layer->setPosition(layer->getOrigin());
    touchDown(200, rowY(1));
    touchMove(210, rowY(1) + 40);
    EXPECT_TRUE(layer->isDragging());
    touchUp(210, rowY(1) + 40);
    EXPECT_EQ(taps->count, 1);
}

TEST_F(Sliding, ATapCountsOnlyOnTheRowItBeganOnAndSelectionMovesInMode2)
{
    layer->setSelectionMode(2);
    CCMenuItemSprite* a = addRow(0);
    CCMenuItemSprite* b = addRow(1);
    touchDown(200, rowY(0));
    touchUp(200, rowY(1));
    EXPECT_EQ(taps->count, 0);
    EXPECT_EQ(layer->getSelectedItem(), nullptr);
    touchDown(200, rowY(0));
    touchUp(200, rowY(0));
    EXPECT_TRUE(a->isSelected());
    touchDown(200, rowY(1));
    touchUp(200, rowY(1));
    EXPECT_FALSE(a->isSelected());
    EXPECT_TRUE(b->isSelected());
    EXPECT_EQ(layer->getSelectedItem(), b);
    EXPECT_EQ(taps->count, 2);
    // The owner takes the selected row away: the layer lets go of it.
    CCPoolManager::sharedPoolManager()->drain();
    layer->removeChild(b);
    EXPECT_EQ(layer->getSelectedItem(), nullptr);
    touchDown(200, rowY(0));
    touchUp(200, rowY(0));
    EXPECT_TRUE(a->isSelected());
    layer->clearContent();
    EXPECT_EQ(layer->getChildrenCount(), 0u);
    EXPECT_FLOAT_EQ(layer->getContentMin().y, 99999);
}

TEST_F(Sliding, FlingsGlideWithFrictionAboveFivePointsAFrame)
{
    for (int i = 0; i < 20; ++i)
        addRow(i);
    // 10 + 10 over the last move: (10 + 10) / 2 = 10 points a frame.
    touchDown(200, 300);
    touchMove(200, 340);
    touchMove(200, 350);
    touchUp(200, 360);
    EXPECT_FLOAT_EQ(layer->getVelocity().y, -10);
    const float y = layer->getPosition().y;
    stepFrames(1);
    EXPECT_FLOAT_EQ(layer->getPosition().y, y + 10);
    stepFrames(30);
    EXPECT_FLOAT_EQ(layer->getVelocity().y, 0);
    // Exactly 5 a frame is not continued.
    layer->setPosition(layer->getOrigin());
    touchDown(200, 300);
    touchMove(200, 340);
    touchMove(200, 345);
    touchUp(200, 350);
    const float stopped = layer->getPosition().y;
    stepFrames(3);
    EXPECT_FLOAT_EQ(layer->getPosition().y, stopped);
}

TEST_F(Sliding, TheContentCanBeDraggedUpUntilItsLowestRowMeetsTheBottomMargin)
{
    for (int i = 0; i < 20; ++i)
        addRow(i);  // the lowest row's bottom: 280 - 760 - 8 = -488 in layer space
    layer->setBottomLeftMargin(ccp(0, 12));
    layer->moveBy(0, 10000);
    EXPECT_FLOAT_EQ(layer->getPosition().y, 100 + 488 + 12);
    layer->moveBy(0, -10000);
    EXPECT_FLOAT_EQ(layer->getPosition().y, 100 + 12);  // the top row's top (288) at the viewport's top
}
