#include "cocos2d/CCActionInterval.h"

#include <cstdarg>

#include "base/EngineLog.h"
#include "cocos2d/CCArray.h"
#include "cocos2d/CCNode.h"

NS_CC_BEGIN

namespace {
// Summed float dts never meet a float duration exactly: 15 x (1/60.f) must
// count as reaching 0.25.
constexpr double kTimeTolerance = 1e-6;
}  // namespace

// --- base actions ---------------------------------------------------------------

void CCAction::startWithTarget(CCNode* target)
{
    m_pTarget = target;
    m_pOriginalTarget = target;
}

void CCAction::stop()
{
    m_pTarget = nullptr;
}

bool CCActionInterval::initWithDuration(float duration)
{
    m_fDuration = duration > 0.0f ? duration : 0.0f;
    m_dElapsed = 0.0;
    return true;
}

void CCActionInterval::startWithTarget(CCNode* target)
{
    CCFiniteTimeAction::startWithTarget(target);
    m_dElapsed = 0.0;
}

bool CCActionInterval::isDone()
{
    return m_dElapsed >= m_fDuration - kTimeTolerance;
}

double CCActionInterval::advance(double dt)
{
    m_dElapsed += dt > 0.0 ? dt : 0.0;
    bool done = isDone();
    float t = 1.0f;
    if (!done && m_fDuration > 0.0f) {
        t = static_cast<float>(m_dElapsed / m_fDuration);
        t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
    }
    update(t);
    if (!done) {
        return 0.0;
    }
    double excess = m_dElapsed - m_fDuration;
    return excess > 0.0 ? excess : 0.0;
}

// --- sequence --------------------------------------------------------------------

CCSequence::~CCSequence()
{
    for (CCFiniteTimeAction* a : m_actions) {
        a->release();
    }
}

bool CCSequence::initWithList(const std::vector<CCFiniteTimeAction*>& actions)
{
    float duration = 0.0f;
    for (CCFiniteTimeAction* a : actions) {
        a->retain();
        duration += a->getDuration();
    }
    m_actions = actions;
    return CCActionInterval::initWithDuration(duration);
}

CCSequence* CCSequence::create(CCFiniteTimeAction* first, ...)
{
    std::vector<CCFiniteTimeAction*> list;
    va_list args;
    va_start(args, first);
    for (CCFiniteTimeAction* a = first; a; a = va_arg(args, CCFiniteTimeAction*)) {
        list.push_back(a);
    }
    va_end(args);
    if (list.empty()) {
        engineLog("CCSequence::create: no actions");
        return nullptr;
    }
    CCSequence* seq = new CCSequence();
    seq->initWithList(list);
    seq->autorelease();
    return seq;
}

CCSequence* CCSequence::createWithTwoActions(CCFiniteTimeAction* first, CCFiniteTimeAction* second)
{
    if (!first || !second) {
        engineLog("CCSequence::createWithTwoActions: null action");
        return nullptr;
    }
    return create(first, second, nullptr);
}

CCSequence* CCSequence::create(CCArray* actions)
{
    std::vector<CCFiniteTimeAction*> list;
    if (actions) {
        for (CCObject* o : *actions) {
            auto* a = dynamic_cast<CCFiniteTimeAction*>(o);
            if (!a) {
                engineLog("CCSequence::create: the array holds a non-action");
                return nullptr;
            }
            list.push_back(a);
        }
    }
    if (list.empty()) {
        engineLog("CCSequence::create: no actions");
        return nullptr;
    }
    CCSequence* seq = new CCSequence();
    seq->initWithList(list);
    seq->autorelease();
    return seq;
}

void CCSequence::startWithTarget(CCNode* target)
{
    CCActionInterval::startWithTarget(target);
    m_current = 0;
    m_bCurrentStarted = false;
    if (!m_actions.empty()) {
        // The first action captures its start values now, like any action
        // started by runAction.
        m_actions[0]->startWithTarget(target);
        m_bCurrentStarted = true;
    }
}

void CCSequence::stop()
{
    if (m_current < m_actions.size() && m_bCurrentStarted) {
        m_actions[m_current]->stop();
    }
    CCActionInterval::stop();
}

bool CCSequence::isDone()
{
    return m_current >= m_actions.size();
}

double CCSequence::advance(double dt)
{
    m_dElapsed += dt > 0.0 ? dt : 0.0;
    double left = dt > 0.0 ? dt : 0.0;
    // Keeps the sequence alive if one of its actions stops it; a stopped
    // sequence (its target cleared) runs no further actions.
    retain();
    while (m_current < m_actions.size() && m_pTarget) {
        CCFiniteTimeAction* a = m_actions[m_current];
        if (!m_bCurrentStarted) {
            a->startWithTarget(m_pTarget);
            m_bCurrentStarted = true;
        }
        left = a->advance(left);
        if (!a->isDone()) {
            left = 0.0;
            break;
        }
        a->stop();
        ++m_current;
        m_bCurrentStarted = false;
    }
    double result = isDone() ? left : 0.0;
    release();
    return result;
}

void CCSequence::update(float t)
{
    // Driven by an ease: move forward to the matching time.
    double wanted = static_cast<double>(t) * m_fDuration;
    double delta = wanted - m_dElapsed;
    if (delta > 0.0 || (t >= 1.0f && !isDone())) {
        advance(delta > 0.0 ? delta : 0.0);
    }
}

// --- delay and repeat ------------------------------------------------------------

CCDelayTime* CCDelayTime::create(float duration)
{
    CCDelayTime* a = new CCDelayTime();
    a->initWithDuration(duration);
    a->autorelease();
    return a;
}

CCRepeatForever::~CCRepeatForever()
{
    CC_SAFE_RELEASE(m_pInner);
}

CCRepeatForever* CCRepeatForever::create(CCActionInterval* action)
{
    if (!action) {
        engineLog("CCRepeatForever::create: null action");
        return nullptr;
    }
    CCRepeatForever* a = new CCRepeatForever();
    a->initWithDuration(action->getDuration());
    action->retain();
    a->m_pInner = action;
    a->autorelease();
    return a;
}

void CCRepeatForever::startWithTarget(CCNode* target)
{
    CCActionInterval::startWithTarget(target);
    m_pInner->startWithTarget(target);
}

void CCRepeatForever::stop()
{
    m_pInner->stop();
    CCActionInterval::stop();
}

double CCRepeatForever::advance(double dt)
{
    m_dElapsed += dt > 0.0 ? dt : 0.0;
    double left = m_pInner->advance(dt);
    // One restart per period that fits in dt; a zero-length inner action
    // restarts once per step instead of spinning.
    for (int restarts = 0; m_pInner->isDone() && m_pTarget && restarts < 1000; ++restarts) {
        m_pInner->stop();
        m_pInner->startWithTarget(m_pTarget);
        if (left <= 0.0 || m_pInner->getDuration() <= 0.0f) {
            break;
        }
        left = m_pInner->advance(left);
    }
    return 0.0;
}

// --- move, scale, fade ------------------------------------------------------------

CCMoveTo* CCMoveTo::create(float duration, const CCPoint& position)
{
    CCMoveTo* a = new CCMoveTo();
    a->initWithDuration(duration);
    a->m_endPosition = position;
    a->autorelease();
    return a;
}

void CCMoveTo::startWithTarget(CCNode* target)
{
    CCActionInterval::startWithTarget(target);
    m_startPosition = target->getPosition();
    m_delta = m_endPosition - m_startPosition;
}

void CCMoveTo::update(float t)
{
    if (m_pTarget) {
        m_pTarget->setPosition(t >= 1.0f ? m_endPosition : m_startPosition + m_delta * t);
    }
}

CCMoveBy* CCMoveBy::create(float duration, const CCPoint& delta)
{
    CCMoveBy* a = new CCMoveBy();
    a->initWithDuration(duration);
    a->m_delta = delta;
    a->autorelease();
    return a;
}

void CCMoveBy::startWithTarget(CCNode* target)
{
    CCActionInterval::startWithTarget(target);
    m_startPosition = target->getPosition();
}

void CCMoveBy::update(float t)
{
    if (m_pTarget) {
        m_pTarget->setPosition(m_startPosition + m_delta * t);
    }
}

CCScaleTo* CCScaleTo::create(float duration, float scale)
{
    return create(duration, scale, scale);
}

CCScaleTo* CCScaleTo::create(float duration, float scaleX, float scaleY)
{
    CCScaleTo* a = new CCScaleTo();
    a->initWithDuration(duration);
    a->m_fEndScaleX = scaleX;
    a->m_fEndScaleY = scaleY;
    a->autorelease();
    return a;
}

void CCScaleTo::startWithTarget(CCNode* target)
{
    CCActionInterval::startWithTarget(target);
    m_fStartScaleX = target->getScaleX();
    m_fStartScaleY = target->getScaleY();
}

void CCScaleTo::update(float t)
{
    if (m_pTarget) {
        m_pTarget->setScaleX(m_fStartScaleX + (m_fEndScaleX - m_fStartScaleX) * t);
        m_pTarget->setScaleY(m_fStartScaleY + (m_fEndScaleY - m_fStartScaleY) * t);
    }
}

CCFadeTo* CCFadeTo::create(float duration, uint8_t opacity)
{
    CCFadeTo* a = new CCFadeTo();
    a->initWithDuration(duration);
    a->m_toOpacity = opacity;
    a->autorelease();
    return a;
}

void CCFadeTo::startWithTarget(CCNode* target)
{
    CCActionInterval::startWithTarget(target);
    if (auto* rgba = dynamic_cast<CCRGBAProtocol*>(target)) {
        m_fromOpacity = rgba->getOpacity();
    } else {
        engineLog("fade: the target has no opacity; nothing will change");
    }
}

void CCFadeTo::update(float t)
{
    if (auto* rgba = dynamic_cast<CCRGBAProtocol*>(m_pTarget)) {
        float value = m_fromOpacity + (static_cast<float>(m_toOpacity) - m_fromOpacity) * t;
        rgba->setOpacity(static_cast<uint8_t>(value < 0.0f ? 0.0f : (value > 255.0f ? 255.0f : value)));
    }
}

CCFadeOut* CCFadeOut::create(float duration)
{
    CCFadeOut* a = new CCFadeOut();
    a->initWithDuration(duration);
    a->m_toOpacity = 0;
    a->autorelease();
    return a;
}

CCFadeIn* CCFadeIn::create(float duration)
{
    CCFadeIn* a = new CCFadeIn();
    a->initWithDuration(duration);
    a->m_toOpacity = 255;
    a->autorelease();
    return a;
}

NS_CC_END
