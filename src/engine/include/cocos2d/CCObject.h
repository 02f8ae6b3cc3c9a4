#pragma once
#include "cocos2d/ccMacros.h"

NS_CC_BEGIN

class CCObject;

// Selectors are plain member-function pointers. CCObject must be a single,
// non-virtual base of every class whose members serve as selectors, so the
// static_cast below stays sound under multiple inheritance.
typedef void (CCObject::*SEL_CallFunc)();
typedef void (CCObject::*SEL_CallFuncO)(CCObject*);
typedef SEL_CallFuncO SEL_MenuHandler;
typedef void (CCObject::*SEL_SCHEDULE)(float);

#define callfunc_selector(_SELECTOR) static_cast<cocos2d::SEL_CallFunc>(&_SELECTOR)
#define callfuncO_selector(_SELECTOR) static_cast<cocos2d::SEL_CallFuncO>(&_SELECTOR)
#define menu_selector(_SELECTOR) static_cast<cocos2d::SEL_MenuHandler>(&_SELECTOR)
#define schedule_selector(_SELECTOR) static_cast<cocos2d::SEL_SCHEDULE>(&_SELECTOR)

// Reference-counted base. A new object has a count of 1; the release that
// brings it to 0 deletes it at once. autorelease() adds one pending release
// to the pool, drained at the end of every frame.
class CCObject {
public:
    CCObject();
    // A copy is a new object: it gets its own count of 1 and nothing pending.
    CCObject(const CCObject&);
    CCObject& operator=(const CCObject&) { return *this; }
    virtual ~CCObject();

    void retain();
    void release();
    CCObject* autorelease();
    unsigned retainCount() const { return m_uReference; }
    // Number of releases the pool still owes this object.
    unsigned pendingReleaseCount() const { return m_uAutoReleaseCount; }

    // Identity by default.
    virtual bool isEqual(const CCObject* object);

private:
    friend class CCPoolManager;
    unsigned m_uReference;
    unsigned m_uAutoReleaseCount;
};

NS_CC_END
