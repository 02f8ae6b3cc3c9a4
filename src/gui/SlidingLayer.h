#pragma once
// A layer dragged by a finger inside a fixed viewport: inertia after a fling,
// clamping to the extent of its content, clipping to the viewport. Its
// CCMenuItemSprite children are tappable rows. The owner forwards touches to
// it (it never registers itself). Main thread only.
#include "cocos2d.h"

class SlidingLayer : public cocos2d::CCLayer {
public:
    static SlidingLayer* create(const cocos2d::CCPoint& position, const cocos2d::CCSize& size);
    ~SlidingLayer() override;

    void addChild(cocos2d::CCNode* child) override;
    using cocos2d::CCLayer::addChild;
    void visit() override;
    void registerWithTouchDispatcher() override { }
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

    bool& getActivateOnTap() { return m_activateOnTap; }
    void setActivateOnTap(const bool& value) { m_activateOnTap = value; }
    bool& getScrollX() { return m_scrollX; }
    void setScrollX(const bool& value) { m_scrollX = value; }
    bool& getScrollY() { return m_scrollY; }
    void setScrollY(const bool& value) { m_scrollY = value; }
    bool& getDirectionalDrag() { return m_directionalDrag; }
    void setDirectionalDrag(const bool& value) { m_directionalDrag = value; }
    int& getSelectionMode() { return m_selectionMode; }
    void setSelectionMode(const int& value) { m_selectionMode = value; }
    float& getFriction() { return m_friction; }
    void setFriction(const float& value) { m_friction = value; }
    cocos2d::CCPoint& getTopRightMargin() { return m_topRightMargin; }
    void setTopRightMargin(const cocos2d::CCPoint& value) { m_topRightMargin = value; }
    cocos2d::CCPoint& getBottomLeftMargin() { return m_bottomLeftMargin; }
    void setBottomLeftMargin(const cocos2d::CCPoint& value) { m_bottomLeftMargin = value; }
    // Null when the selected row has left the layer.
    cocos2d::CCMenuItemSprite* getSelectedItem();
    bool& getInertiaPaused() { return m_inertiaPaused; }
    void setInertiaPaused(const bool& value) { m_inertiaPaused = value; }
    const cocos2d::CCPoint& getOrigin() const { return m_origin; }
    const cocos2d::CCPoint& getContentMin() const { return m_contentMin; }
    const cocos2d::CCPoint& getContentMax() const { return m_contentMax; }
    const cocos2d::CCPoint& getVelocity() const { return m_velocity; }
    bool isDragging() const { return m_dragging; }

    void clearContent();
    cocos2d::CCPoint clampPosition(const cocos2d::CCPoint& point) const;
    void moveBy(float dx, float dy);
    // point in the layer's own space.
    cocos2d::CCMenuItemSprite* itemAtPoint(const cocos2d::CCPoint& point);
    void inertiaStep(float dt);

private:
    bool initAt(const cocos2d::CCPoint& position, const cocos2d::CCSize& size);
    // The item if it is still one of this layer's children.
    cocos2d::CCMenuItemSprite* live(cocos2d::CCMenuItemSprite* item) const;
    void keep(cocos2d::CCMenuItemSprite*& slot, cocos2d::CCMenuItemSprite* item);
    void resetExtent();

    cocos2d::CCPoint m_origin;
    cocos2d::CCPoint m_contentMax;
    cocos2d::CCPoint m_contentMin;
    bool m_dragging = false;
    cocos2d::CCPoint m_touchStartPosition;
    cocos2d::CCPoint m_lastTouchPoint;
    cocos2d::CCMenuItemSprite* m_touchedItem = nullptr;  // retained
    cocos2d::CCPoint m_lastDelta;
    cocos2d::CCPoint m_velocity;
    bool m_itemTouched = false;
    cocos2d::CCPoint m_accumulatedMove;
    bool m_activateOnTap = true;
    bool m_scrollX = true;
    bool m_scrollY = true;
    bool m_directionalDrag = false;
    int m_selectionMode = 0;
    float m_friction = 0.9f;
    cocos2d::CCPoint m_topRightMargin;
    cocos2d::CCPoint m_bottomLeftMargin;
    cocos2d::CCMenuItemSprite* m_selectedItem = nullptr;  // retained
    bool m_inertiaPaused = false;
};
