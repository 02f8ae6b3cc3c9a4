#include "cocos2d/CCActionInstant.h"

#include "cocos2d/CCNode.h"

NS_CC_BEGIN

void CCActionInstant::startWithTarget(CCNode* target)
{
    CCFiniteTimeAction::startWithTarget(target);
    m_bDone = false;
}

double CCActionInstant::advance(double dt)
{
    if (!m_bDone) {
        m_bDone = true;
        update(1.0f);
    }
    return dt > 0.0 ? dt : 0.0;
}

CCCallFunc::~CCCallFunc()
{
    CC_SAFE_RELEASE(m_pSelectorTarget);
}

CCCallFunc* CCCallFunc::create(CCObject* target, SEL_CallFunc selector)
{
    CCCallFunc* a = new CCCallFunc();
    a->setTargetCallback(target);
    a->m_pCallFunc = selector;
    a->autorelease();
    return a;
}

void CCCallFunc::setTargetCallback(CCObject* target)
{
    CC_SAFE_RETAIN(target);
    CC_SAFE_RELEASE(m_pSelectorTarget);
    m_pSelectorTarget = target;
}

void CCCallFunc::update(float t)
{
    (void)t;
    execute();
}

void CCCallFunc::execute()
{
    if (!m_pSelectorTarget || !m_pCallFunc) {
        return;
    }
    // The callback may release this action and with it its hold on the target.
    CCObject* target = m_pSelectorTarget;
    target->retain();
    (target->*m_pCallFunc)();
    target->release();
}

CCCallFuncN* CCCallFuncN::create(CCObject* target, SEL_CallFuncN selector)
{
    CCCallFuncN* a = new CCCallFuncN();
    a->setTargetCallback(target);
    a->m_pCallFuncN = selector;
    a->autorelease();
    return a;
}

void CCCallFuncN::execute()
{
    if (!m_pSelectorTarget || !m_pCallFuncN) {
        return;
    }
    CCObject* target = m_pSelectorTarget;
    CCNode* node = m_pTarget;
    target->retain();
    CC_SAFE_RETAIN(node);
    (target->*m_pCallFuncN)(node);
    CC_SAFE_RELEASE(node);
    target->release();
}

CCCallFuncO::~CCCallFuncO()
{
    CC_SAFE_RELEASE(m_pObject);
}

CCCallFuncO* CCCallFuncO::create(CCObject* target, SEL_CallFuncO selector, CCObject* object)
{
    CCCallFuncO* a = new CCCallFuncO();
    a->setTargetCallback(target);
    a->m_pCallFuncO = selector;
    CC_SAFE_RETAIN(object);
    a->m_pObject = object;
    a->autorelease();
    return a;
}

void CCCallFuncO::execute()
{
    if (!m_pSelectorTarget || !m_pCallFuncO) {
        return;
    }
    CCObject* target = m_pSelectorTarget;
    CCObject* object = m_pObject;
    target->retain();
    CC_SAFE_RETAIN(object);
    (target->*m_pCallFuncO)(object);
    CC_SAFE_RELEASE(object);
    target->release();
}

NS_CC_END
