#pragma once
#include "cocos2d/ccMacros.h"

NS_CC_BEGIN

class CCIMEDelegate;

// Holds the attached input-method delegate and sends it text.
class CCIMEDispatcher {
public:
    static CCIMEDispatcher* sharedDispatcher();

    bool attachDelegateWithIME(CCIMEDelegate* delegate);
    bool detachDelegateWithIME(CCIMEDelegate* delegate);
    CCIMEDelegate* getAttachedDelegate() const { return m_pAttached; }

    // Nothing happens when no delegate is attached.
    void dispatchInsertText(const char* text, int len);
    void dispatchDeleteBackward();

    // Forgets the delegate if it is attached (its destructor calls this).
    void removeDelegate(CCIMEDelegate* delegate);
    // (ext) Detaches whatever is attached, without asking.
    void reset() { m_pAttached = nullptr; }

private:
    CCIMEDispatcher() = default;
    CCIMEDelegate* m_pAttached = nullptr;
};

NS_CC_END
