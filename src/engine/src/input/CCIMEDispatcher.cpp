#include "cocos2d/CCIMEDispatcher.h"

#include "cocos2d/CCIMEDelegate.h"
#include "cocos2d/CCObject.h"

NS_CC_BEGIN

CCIMEDelegate::~CCIMEDelegate()
{
    CCIMEDispatcher::sharedDispatcher()->removeDelegate(this);
}

bool CCIMEDelegate::attachWithIME()
{
    return CCIMEDispatcher::sharedDispatcher()->attachDelegateWithIME(this);
}

bool CCIMEDelegate::detachWithIME()
{
    return CCIMEDispatcher::sharedDispatcher()->detachDelegateWithIME(this);
}

CCIMEDispatcher* CCIMEDispatcher::sharedDispatcher()
{
    static CCIMEDispatcher* instance = new CCIMEDispatcher();
    return instance;
}

bool CCIMEDispatcher::attachDelegateWithIME(CCIMEDelegate* delegate)
{
    if (!delegate) {
        return false;
    }
    if (m_pAttached == delegate) {
        return true;
    }
    if (!delegate->canAttachWithIME()) {
        return false;
    }
    m_pAttached = delegate;
    return true;
}

bool CCIMEDispatcher::detachDelegateWithIME(CCIMEDelegate* delegate)
{
    if (!delegate || m_pAttached != delegate || !delegate->canDetachWithIME()) {
        return false;
    }
    m_pAttached = nullptr;
    return true;
}

namespace {

// Keeps a delegate that is also a CCObject alive through a call into it.
struct Hold {
    explicit Hold(CCIMEDelegate* delegate) : object(dynamic_cast<CCObject*>(delegate)) { CC_SAFE_RETAIN(object); }
    ~Hold() { CC_SAFE_RELEASE(object); }
    CCObject* object;
};

}  // namespace

void CCIMEDispatcher::dispatchInsertText(const char* text, int len)
{
    if (m_pAttached && text && len > 0) {
        Hold hold(m_pAttached);
        m_pAttached->insertText(text, len);
    }
}

void CCIMEDispatcher::dispatchDeleteBackward()
{
    if (m_pAttached) {
        Hold hold(m_pAttached);
        m_pAttached->deleteBackward();
    }
}

void CCIMEDispatcher::removeDelegate(CCIMEDelegate* delegate)
{
    if (m_pAttached == delegate) {
        m_pAttached = nullptr;
    }
}

NS_CC_END
