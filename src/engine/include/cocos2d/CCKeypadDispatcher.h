#pragma once
#include <functional>
#include <vector>

#include "cocos2d/CCObject.h"

NS_CC_BEGIN

class CCKeypadDelegate;

enum ccKeypadMSGType {
    kTypeBackClicked = 1,
    kTypeMenuClicked,
};

// Sends every key call to every registered delegate in registration order.
// Retain and deferral rules are those of the touch dispatcher.
class CCKeypadDispatcher : public CCObject {
public:
    CCKeypadDispatcher() = default;
    ~CCKeypadDispatcher() override;

    // A delegate registered already is ignored.
    void addDelegate(CCKeypadDelegate* delegate);
    void removeDelegate(CCKeypadDelegate* delegate);
    void removeAllDelegates();
    bool isRegistered(CCKeypadDelegate* delegate) const;

    // Back or menu; returns whether any delegate was called.
    bool dispatchKeypadMSG(ccKeypadMSGType type);
    void dispatchArrowPressed(int code);
    void dispatchArrowReleased(int code);
    void dispatchKeyboardChar(int codepoint);

private:
    struct Handler {
        CCKeypadDelegate* delegate;
        CCObject* object;
        bool removed;
    };
    struct Change {
        bool add;
        bool all;
        CCKeypadDelegate* delegate;
    };
    bool dispatch(const std::function<void(CCKeypadDelegate*)>& call);
    void applyAdd(CCKeypadDelegate* delegate);
    void applyRemove(CCKeypadDelegate* delegate);
    void applyRemoveAll();

    std::vector<Handler> m_handlers;
    std::vector<Change> m_pending;
    int m_dispatchDepth = 0;
};

NS_CC_END
