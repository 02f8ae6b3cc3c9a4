#pragma once
#include "cocos2d/ccMacros.h"

NS_CC_BEGIN

// Receives typed text. One delegate at a time is attached; the last one
// attached wins. Attaching the attached delegate, or detaching one that is
// not attached, does nothing. Destroying a delegate detaches it.
// An interface, never a CCObject; the dispatcher does not retain it.
class CCIMEDelegate {
public:
    virtual ~CCIMEDelegate();

    // True when the delegate is attached afterwards.
    virtual bool attachWithIME();
    // True when the delegate was attached and is detached now.
    virtual bool detachWithIME();

    virtual bool canAttachWithIME() { return true; }
    virtual bool canDetachWithIME() { return true; }
    // UTF-8 bytes, possibly several characters; Enter arrives as "\n".
    virtual void insertText(const char* text, int len)
    {
        (void)text;
        (void)len;
    }
    virtual void deleteBackward() { }

protected:
    CCIMEDelegate() = default;
};

NS_CC_END
