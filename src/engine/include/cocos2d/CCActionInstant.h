#pragma once
#include "cocos2d/CCAction.h"

NS_CC_BEGIN

typedef void (CCObject::*SEL_CallFuncN)(CCNode*);
#define callfuncN_selector(_SELECTOR) static_cast<cocos2d::SEL_CallFuncN>(&_SELECTOR)

// Done in its first step; it consumes no time.
class CCActionInstant : public CCFiniteTimeAction {
public:
    void startWithTarget(CCNode* target) override;
    bool isDone() override { return m_bDone; }
    double advance(double dt) override;

protected:
    bool m_bDone = false;
};

// Calls (target->*selector)() when it runs. Retains its target until the
// action is destroyed. execute() may be called directly without running the
// action; a null target does nothing.
class CCCallFunc : public CCActionInstant {
public:
    ~CCCallFunc() override;
    static CCCallFunc* create(CCObject* target, SEL_CallFunc selector);

    virtual void execute();
    void update(float t) override;

    CCObject* getTargetCallback() const { return m_pSelectorTarget; }
    void setTargetCallback(CCObject* target);

protected:
    CCObject* m_pSelectorTarget = nullptr;
    SEL_CallFunc m_pCallFunc = nullptr;
};

// Calls (target->*selector)(node) with the node the action runs on.
class CCCallFuncN : public CCCallFunc {
public:
    static CCCallFuncN* create(CCObject* target, SEL_CallFuncN selector);
    void execute() override;

protected:
    SEL_CallFuncN m_pCallFuncN = nullptr;
};

// Calls (target->*selector)(object). Retains both target and object.
class CCCallFuncO : public CCCallFunc {
public:
    ~CCCallFuncO() override;
    static CCCallFuncO* create(CCObject* target, SEL_CallFuncO selector, CCObject* object);
    void execute() override;

    CCObject* getObject() const { return m_pObject; }

protected:
    SEL_CallFuncO m_pCallFuncO = nullptr;
    CCObject* m_pObject = nullptr;
};

NS_CC_END
