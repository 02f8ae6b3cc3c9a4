#pragma once
#include <cstdint>
#include <vector>

#include "cocos2d/CCObject.h"

NS_CC_BEGIN

class CCTouchDelegate;
class CCTouch;
class CCEvent;
class CCSet;

enum ccTouchPhase {
    kCCTouchBegan = 0,
    kCCTouchMoved,
    kCCTouchEnded,
    kCCTouchCancelled,
};

// Routes touches to registered delegates: targeted delegates first, then
// standard ones, each in ascending priority, the most recent registration
// first among equal priorities. During a transition (or with dispatching off)
// began and moved events are held back; a touch that began before still
// delivers its end. Delegates that are CCObjects are retained
// while registered. Registration changes made during a dispatch apply when
// that dispatch ends; a delegate removed during it gets no further calls.
class CCTouchDispatcher : public CCObject {
public:
    CCTouchDispatcher() = default;
    ~CCTouchDispatcher() override;

    // A delegate registered already (in either role) is ignored.
    void addStandardDelegate(CCTouchDelegate* delegate, int priority);
    void addTargetedDelegate(CCTouchDelegate* delegate, int priority, bool swallowsTouches);
    void removeDelegate(CCTouchDelegate* delegate);
    void removeAllDelegates();
    bool isDispatchEvents() const { return m_bDispatchEvents; }
    void setDispatchEvents(bool dispatch) { m_bDispatchEvents = dispatch; }
    // (ext) Registered and not pending removal.
    bool isRegistered(CCTouchDelegate* delegate) const;
    // (ext) Forgets the touches whose began was held back.
    void forgetHeldTouches();

    // Left-button touches: targeted, then standard delegates.
    void touchesBegan(CCSet* touches, CCEvent* event);
    void touchesMoved(CCSet* touches, CCEvent* event);
    void touchesEnded(CCSet* touches, CCEvent* event);
    void touchesCancelled(CCSet* touches, CCEvent* event);
    // Right-button touches: standard delegates only, never claimed.
    void rightTouchesBegan(CCSet* touches, CCEvent* event);
    void rightTouchesMoved(CCSet* touches, CCEvent* event);
    void rightTouchesEnded(CCSet* touches, CCEvent* event);
    void rightTouchesCancelled(CCSet* touches, CCEvent* event);

private:
    struct Handler {
        CCTouchDelegate* delegate;
        CCObject* object;  // the delegate as a CCObject, or null
        int priority;
        uint64_t serial;  // later registrations have larger serials
        bool targeted;
        bool swallows;
        bool removed;
        std::vector<CCTouch*> claimed;  // retained
    };
    struct Change {
        enum Kind { Add, Remove, RemoveAll } kind;
        Handler handler;
    };

    void dispatch(CCSet* touches, CCEvent* event, ccTouchPhase phase, bool right);
    void addHandler(const Handler& handler);
    void applyRemove(CCTouchDelegate* delegate);
    void applyRemoveAll();
    void releaseHandler(Handler& handler);
    Handler* findHandler(CCTouchDelegate* delegate);
    const Handler* findHandler(CCTouchDelegate* delegate) const;

    std::vector<Handler*> m_targeted;
    std::vector<Handler*> m_standard;
    std::vector<Change> m_pending;
    std::vector<CCTouch*> m_unseen;  // retained: began held back, not ended yet
    uint64_t m_serial = 0;
    int m_dispatchDepth = 0;
    bool m_bDispatchEvents = true;
};

NS_CC_END
