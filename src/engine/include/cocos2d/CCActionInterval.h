#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cocos2d/CCAction.h"
#include "cocos2d/CCGeometry.h"

NS_CC_BEGIN

class CCArray;

// An action over d seconds: each step adds dt to the elapsed time and applies
// t = min(1, elapsed / d) (t = 1 at once when d = 0). Done when
// elapsed >= d - 1 us; the last applied t is then exactly 1.
class CCActionInterval : public CCFiniteTimeAction {
public:
    bool initWithDuration(float duration);
    void startWithTarget(CCNode* target) override;
    bool isDone() override;
    double advance(double dt) override;
    double getElapsed() const { return m_dElapsed; }

protected:
    double m_dElapsed = 0.0;
};

// Runs its actions one after another, handing leftover time on within one
// step: an instant action runs in the step its predecessor finished. Retains
// its actions.
class CCSequence : public CCActionInterval {
public:
    ~CCSequence() override;
    // A NULL-terminated list; nulls give a null result and a log line.
    static CCSequence* create(CCFiniteTimeAction* first, ...);
    static CCSequence* createWithTwoActions(CCFiniteTimeAction* first, CCFiniteTimeAction* second);
    static CCSequence* create(CCArray* actions);

    void startWithTarget(CCNode* target) override;
    void stop() override;
    bool isDone() override;
    double advance(double dt) override;
    // Moves the sequence forward to t x duration (never back).
    void update(float t) override;

private:
    bool initWithList(const std::vector<CCFiniteTimeAction*>& actions);
    std::vector<CCFiniteTimeAction*> m_actions;
    size_t m_current = 0;
    bool m_bCurrentStarted = false;
};

class CCDelayTime : public CCActionInterval {
public:
    static CCDelayTime* create(float duration);
};

// Restarts its inner action as soon as it finishes, carrying the excess time
// over. Never done.
class CCRepeatForever : public CCActionInterval {
public:
    ~CCRepeatForever() override;
    static CCRepeatForever* create(CCActionInterval* action);
    void startWithTarget(CCNode* target) override;
    void stop() override;
    bool isDone() override { return false; }
    double advance(double dt) override;
    CCActionInterval* getInnerAction() const { return m_pInner; }

private:
    CCActionInterval* m_pInner = nullptr;
};

class CCMoveTo : public CCActionInterval {
public:
    static CCMoveTo* create(float duration, const CCPoint& position);
    void startWithTarget(CCNode* target) override;
    void update(float t) override;

protected:
    CCPoint m_endPosition;
    CCPoint m_startPosition;
    CCPoint m_delta;
};

class CCMoveBy : public CCActionInterval {
public:
    static CCMoveBy* create(float duration, const CCPoint& delta);
    void startWithTarget(CCNode* target) override;
    void update(float t) override;

protected:
    CCPoint m_delta;
    CCPoint m_startPosition;
};

// Sets scaleX and scaleY (never the one-factor setScale).
class CCScaleTo : public CCActionInterval {
public:
    static CCScaleTo* create(float duration, float scale);
    static CCScaleTo* create(float duration, float scaleX, float scaleY);
    void startWithTarget(CCNode* target) override;
    void update(float t) override;

protected:
    float m_fStartScaleX = 1, m_fStartScaleY = 1;
    float m_fEndScaleX = 1, m_fEndScaleY = 1;
};

// From the target's opacity at start to the given one. Acts on targets that
// implement CCRGBAProtocol; children are not faded with their parent.
class CCFadeTo : public CCActionInterval {
public:
    static CCFadeTo* create(float duration, uint8_t opacity);
    void startWithTarget(CCNode* target) override;
    void update(float t) override;

protected:
    uint8_t m_toOpacity = 0;
    uint8_t m_fromOpacity = 0;
};

// To 0 from the current opacity.
class CCFadeOut : public CCFadeTo {
public:
    static CCFadeOut* create(float duration);
};

// To 255 from the current opacity.
class CCFadeIn : public CCFadeTo {
public:
    static CCFadeIn* create(float duration);
};

NS_CC_END
