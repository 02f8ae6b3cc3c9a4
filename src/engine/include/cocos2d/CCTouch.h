#pragma once
#include "cocos2d/CCGeometry.h"
#include "cocos2d/CCObject.h"

NS_CC_BEGIN

// One touch (a mouse button held down). The view owns it from its began to
// its ended or cancelled event and passes the same object to every event of
// that touch, so handlers may compare pointers.
class CCTouch : public CCObject {
public:
    CCTouch() = default;

    int getID() const { return m_nId; }
    // View coordinates: origin at the top left, logical pixels.
    CCPoint getLocationInView() const { return m_point; }
    CCPoint getPreviousLocationInView() const { return m_prevPoint; }
    // GL coordinates: origin at the bottom left.
    CCPoint getLocation() const;
    CCPoint getPreviousLocation() const;

    // The first call sets both the location and the previous location.
    void setTouchInfo(int id, float x, float y);

private:
    int m_nId = 0;
    bool m_bStarted = false;
    CCPoint m_point;
    CCPoint m_prevPoint;
};

// Passed non-null to every touch handler; it carries nothing.
class CCEvent : public CCObject { };

NS_CC_END
