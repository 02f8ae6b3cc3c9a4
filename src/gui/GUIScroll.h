#pragma once
// A sprite-batch container whose content scrolls vertically inside a fixed
// rectangle, clipped with the scissor. Its owner forwards touches: the content
// follows a drag with extra gain and stiffens beyond its limits, glides on
// after release, or eases back to the limit it was pulled past. A linked node
// can move in step with it. Main thread only.
#include "cocos2d.h"

class GUIScroll : public cocos2d::CCSpriteBatchNode {
public:
    static GUIScroll* create(const char* file, unsigned int capacity);
    ~GUIScroll() override;

    void update(float dt) override;
    void setScale(float scale) override;
    void visit() override;

    virtual cocos2d::CCNode* getLinkedNode() { return m_linkedNode; }
    // Retained, so a node that goes away first is never moved after its death.
    virtual void setLinkedNode(cocos2d::CCNode* node);
    virtual cocos2d::CCRect getRect();
    virtual void setRect(cocos2d::CCRect rect);
    virtual float getMinY() { return m_minY; }
    virtual void setMinY(float y) { m_minY = y; }
    virtual float getMaxY() { return m_maxY; }
    virtual void setMaxY(float y) { m_maxY = y; }
    virtual bool getUserFlag() { return m_userFlag; }
    virtual void setUserFlag(bool flag) { m_userFlag = flag; }
    virtual bool isRectInPoints() { return m_rectInPoints; }
    virtual void setRectInPoints(bool inPoints) { m_rectInPoints = inPoints; }

    // Moves the scroll and the linked node to the point.
    void moveTo(const cocos2d::CCPoint& point);
    void beginTouch();
    void handleTouchMoved(float distance);
    void handleTouchEnded();
    void logUnimplementedScale();
    void logUnimplemented();

    float getVelocity() const { return m_velocity; }
    bool isMoving() const { return m_moving; }
    bool isBouncing() const { return m_bouncing; }
    bool isTouching() const { return m_touching; }
    cocos2d::CCRect getFrameRect() const { return m_frameRect; }

private:
    void startUpdates();
    void stopUpdates();

    cocos2d::CCRect m_rect;
    bool m_moving = false;
    bool m_touching = false;
    bool m_bouncing = false;
    float m_bounceElapsed = 0.0f;
    float m_bounceExponent = 0.0f;
    float m_bounceAmplitude = 0.0f;
    float m_bounceDuration = 0.0f;
    float m_velocity = 0.0f;
    cocos2d::CCNode* m_linkedNode = nullptr;  // retained
    cocos2d::CCRect m_frameRect;
    float m_minY = 0.0f;
    float m_maxY = 0.0f;
    bool m_userFlag = false;
    bool m_rectInPoints = true;
};
