#pragma once
// Camera: zoom and pan of the game view, applied to one target node (the
// game layer). It keeps the node's scale between zoomMax (the whole world
// fits) and zoomMin (magnified most) and its position inside the range the
// current scale allows; the view can be panned only at zoomMin.
#include "cocos2d.h"

class Camera : public cocos2d::CCObject {
public:
    Camera() = default;

    // Takes the target (not retained) and the content size the layer has
    // (visible size times the cell pixel size).
    void setup(cocos2d::CCNode* target, cocos2d::CCSize contentSize);
    void zoomTo(float scale);
    void beginPan(cocos2d::CCPoint point);
    void panTo(cocos2d::CCPoint point);
    void clampPosition();
    // Where every pan is measured from; the game layer stores the target's
    // position here when a pan ends.
    void setRestPosition(cocos2d::CCPoint p) { m_restPosition = p; }
    cocos2d::CCPoint getRestPosition() const { return m_restPosition; }
    // Stores the target's position as the rest position and ends the pan.
    void anchorHere();

    virtual bool isPanning() { return m_panning; }
    virtual void setPanning(bool v) { m_panning = v; }
    virtual float getZoomMin() { return m_zoomMin; }
    virtual void setZoomMin(float v) { m_zoomMin = v; }
    virtual float getZoomMax() { return m_zoomMax; }
    virtual void setZoomMax(float v) { m_zoomMax = v; }
    virtual float getMaxX() { return m_maxX; }
    virtual float getMinX() { return m_minX; }
    virtual float getMaxY() { return m_maxY; }
    virtual float getMinY() { return m_minY; }

    float getExtentX() const { return m_extentX; }
    float getExtentY() const { return m_extentY; }
    // The K of zoomMin (visible width / 14), fixed at the first setup.
    static int magnification();
    // Tests: forget K so the next setup computes it again.
    static void resetForTests();

private:
    cocos2d::CCNode* m_target = nullptr;
    cocos2d::CCPoint m_panStart;
    bool m_panning = false;
    cocos2d::CCPoint m_restPosition;
    float m_zoomMin = 0;
    float m_zoomMax = 0;
    float m_extentX = 0;
    float m_extentY = 0;
    float m_maxX = 0;
    float m_minX = 0;
    float m_maxY = 0;
    float m_minY = 0;
};
