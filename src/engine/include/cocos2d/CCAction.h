#pragma once
#include "cocos2d/CCObject.h"

NS_CC_BEGIN

class CCNode;

// Something that acts on a node over time. startWithTarget captures the start
// values; each scheduler update then steps the action with that update's dt.
class CCAction : public CCObject {
public:
    CCAction() = default;

    virtual bool isDone() { return true; }
    virtual void startWithTarget(CCNode* target);
    // Called by the action manager when the action ends on its own.
    virtual void stop();
    virtual void step(float dt) { (void)dt; }
    // t in [0, 1].
    virtual void update(float t) { (void)t; }

    CCNode* getTarget() const { return m_pTarget; }
    void setTarget(CCNode* target) { m_pTarget = target; }
    CCNode* getOriginalTarget() const { return m_pOriginalTarget; }

protected:
    CCNode* m_pTarget = nullptr;  // not retained: the action manager retains it
    CCNode* m_pOriginalTarget = nullptr;
};

// An action with a duration (0 for instant actions).
class CCFiniteTimeAction : public CCAction {
public:
    float getDuration() const { return m_fDuration; }
    void setDuration(float duration) { m_fDuration = duration; }

    void step(float dt) override { advance(dt); }
    // Steps by dt and returns the part of dt left over once the action is
    // done (0 while it is not), so that a sequence can hand it on.
    virtual double advance(double dt) = 0;

protected:
    float m_fDuration = 0.0f;
};

NS_CC_END
