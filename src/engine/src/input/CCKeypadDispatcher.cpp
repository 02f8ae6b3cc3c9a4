#include "cocos2d/CCKeypadDispatcher.h"

#include "base/EngineLog.h"
#include "cocos2d/CCKeypadDelegate.h"

NS_CC_BEGIN

CCKeypadDispatcher::~CCKeypadDispatcher()
{
    m_dispatchDepth = 0;
    applyRemoveAll();
}

bool CCKeypadDispatcher::isRegistered(CCKeypadDelegate* delegate) const
{
    bool registered = false;
    for (const Handler& h : m_handlers) {
        if (h.delegate == delegate && !h.removed) {
            registered = true;
        }
    }
    for (const Change& c : m_pending) {
        if (c.all) {
            registered = false;
        } else if (c.delegate == delegate) {
            registered = c.add;
        }
    }
    return registered;
}

void CCKeypadDispatcher::addDelegate(CCKeypadDelegate* delegate)
{
    if (!delegate) {
        engineLog("CCKeypadDispatcher::addDelegate: null delegate ignored");
        return;
    }
    if (m_dispatchDepth > 0) {
        m_pending.push_back(Change{true, false, delegate});
        return;
    }
    applyAdd(delegate);
}

void CCKeypadDispatcher::removeDelegate(CCKeypadDelegate* delegate)
{
    if (!delegate) {
        return;
    }
    if (m_dispatchDepth > 0) {
        for (Handler& h : m_handlers) {
            if (h.delegate == delegate) {
                h.removed = true;
            }
        }
        m_pending.push_back(Change{false, false, delegate});
        return;
    }
    applyRemove(delegate);
}

void CCKeypadDispatcher::removeAllDelegates()
{
    if (m_dispatchDepth > 0) {
        for (Handler& h : m_handlers) {
            h.removed = true;
        }
        m_pending.push_back(Change{false, true, nullptr});
        return;
    }
    applyRemoveAll();
}

void CCKeypadDispatcher::applyAdd(CCKeypadDelegate* delegate)
{
    for (const Handler& h : m_handlers) {
        if (h.delegate == delegate) {
            return;
        }
    }
    CCObject* object = dynamic_cast<CCObject*>(delegate);
    CC_SAFE_RETAIN(object);
    m_handlers.push_back(Handler{delegate, object, false});
}

void CCKeypadDispatcher::applyRemove(CCKeypadDelegate* delegate)
{
    for (auto it = m_handlers.begin(); it != m_handlers.end(); ++it) {
        if (it->delegate == delegate) {
            CCObject* object = it->object;
            m_handlers.erase(it);
            CC_SAFE_RELEASE(object);
            return;
        }
    }
}

void CCKeypadDispatcher::applyRemoveAll()
{
    std::vector<Handler> dropped;
    dropped.swap(m_handlers);
    m_pending.clear();
    for (Handler& h : dropped) {
        CC_SAFE_RELEASE(h.object);
    }
}

bool CCKeypadDispatcher::dispatch(const std::function<void(CCKeypadDelegate*)>& call)
{
    ++m_dispatchDepth;
    retain();
    std::vector<Handler> handlers = m_handlers;
    bool any = false;
    for (size_t i = 0; i < handlers.size(); ++i) {
        // A delegate removed by an earlier one in this dispatch is skipped.
        bool live = false;
        for (const Handler& h : m_handlers) {
            if (h.delegate == handlers[i].delegate && !h.removed) {
                live = true;
                break;
            }
        }
        if (!live) {
            continue;
        }
        CC_SAFE_RETAIN(handlers[i].object);
        call(handlers[i].delegate);
        CC_SAFE_RELEASE(handlers[i].object);
        any = true;
    }
    --m_dispatchDepth;
    if (m_dispatchDepth == 0) {
        std::vector<Change> pending;
        pending.swap(m_pending);
        for (const Change& c : pending) {
            if (c.all) {
                applyRemoveAll();
            } else if (c.add) {
                applyAdd(c.delegate);
            } else {
                applyRemove(c.delegate);
            }
        }
    }
    release();
    return any;
}

bool CCKeypadDispatcher::dispatchKeypadMSG(ccKeypadMSGType type)
{
    return dispatch([type](CCKeypadDelegate* d) {
        if (type == kTypeBackClicked) {
            d->keyBackClicked();
        } else {
            d->keyMenuClicked();
        }
    });
}

void CCKeypadDispatcher::dispatchArrowPressed(int code)
{
    dispatch([code](CCKeypadDelegate* d) { d->keyArrowPressed(code); });
}

void CCKeypadDispatcher::dispatchArrowReleased(int code)
{
    dispatch([code](CCKeypadDelegate* d) { d->keyArrowReleased(code); });
}

void CCKeypadDispatcher::dispatchKeyboardChar(int codepoint)
{
    dispatch([codepoint](CCKeypadDelegate* d) { d->keyBoardChar(codepoint); });
}

NS_CC_END
