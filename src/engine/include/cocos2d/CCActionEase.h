#pragma once
#include "cocos2d/CCActionInterval.h"

NS_CC_BEGIN

// Drives an inner action with a reshaped time. Retains the inner action.
class CCActionEase : public CCActionInterval {
public:
    ~CCActionEase() override;
    void startWithTarget(CCNode* target) override;
    void stop() override;
    CCActionInterval* getInnerAction() const { return m_pInner; }

protected:
    bool initWithAction(CCActionInterval* action);
    CCActionInterval* m_pInner = nullptr;
};

// Inner time t^rate. With rate 0 that is 1 at every step (t = 0 included),
// so the end value comes at the first step.
class CCEaseIn : public CCActionEase {
public:
    static CCEaseIn* create(CCActionInterval* action, float rate);
    void update(float t) override;

protected:
    float m_fRate = 1.0f;
};

// Inner time t^(1/rate).
class CCEaseOut : public CCActionEase {
public:
    static CCEaseOut* create(CCActionInterval* action, float rate);
    void update(float t) override;

protected:
    float m_fRate = 1.0f;
};

NS_CC_END
