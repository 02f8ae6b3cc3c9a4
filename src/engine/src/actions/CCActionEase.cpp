#include "cocos2d/CCActionEase.h"

#include <cmath>

#include "base/EngineLog.h"

NS_CC_BEGIN

CCActionEase::~CCActionEase()
{
    CC_SAFE_RELEASE(m_pInner);
}

bool CCActionEase::initWithAction(CCActionInterval* action)
{
    initWithDuration(action->getDuration());
    action->retain();
    m_pInner = action;
    return true;
}

void CCActionEase::startWithTarget(CCNode* target)
{
    CCActionInterval::startWithTarget(target);
    m_pInner->startWithTarget(target);
}

void CCActionEase::stop()
{
    m_pInner->stop();
    CCActionInterval::stop();
}

CCEaseIn* CCEaseIn::create(CCActionInterval* action, float rate)
{
    if (!action) {
        engineLog("CCEaseIn::create: null action");
        return nullptr;
    }
    CCEaseIn* a = new CCEaseIn();
    a->initWithAction(action);
    a->m_fRate = rate;
    a->autorelease();
    return a;
}

void CCEaseIn::update(float t)
{
    // powf(0, 0) is 1: rate 0 puts the inner action at its end at once.
    m_pInner->update(powf(t, m_fRate));
}

CCEaseOut* CCEaseOut::create(CCActionInterval* action, float rate)
{
    if (!action) {
        engineLog("CCEaseOut::create: null action");
        return nullptr;
    }
    CCEaseOut* a = new CCEaseOut();
    a->initWithAction(action);
    a->m_fRate = rate;
    a->autorelease();
    return a;
}

void CCEaseOut::update(float t)
{
    if (m_fRate == 0.0f) {
        // The limit of t^(1/rate): the start value until t reaches 1.
        m_pInner->update(t >= 1.0f ? 1.0f : 0.0f);
        return;
    }
    m_pInner->update(powf(t, 1.0f / m_fRate));
}

NS_CC_END
