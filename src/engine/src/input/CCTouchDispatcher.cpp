#include "cocos2d/CCTouchDispatcher.h"

#include <algorithm>

#include "base/EngineLog.h"
#include "cocos2d/CCDirector.h"
#include "cocos2d/CCSet.h"
#include "cocos2d/CCTouch.h"
#include "cocos2d/CCTouchDelegate.h"

NS_CC_BEGIN

namespace {

void releaseClaims(std::vector<CCTouch*>& claimed)
{
    for (CCTouch* t : claimed) {
        t->release();
    }
    claimed.clear();
}

bool removeClaim(std::vector<CCTouch*>& claimed, CCTouch* touch)
{
    auto it = std::find(claimed.begin(), claimed.end(), touch);
    if (it == claimed.end()) {
        return false;
    }
    claimed.erase(it);
    touch->release();
    return true;
}

// Keeps the delegate alive through a call into it.
struct Hold {
    explicit Hold(CCObject* o) : object(o) { CC_SAFE_RETAIN(object); }
    ~Hold() { CC_SAFE_RELEASE(object); }
    CCObject* object;
};

}  // namespace

CCTouchDispatcher::~CCTouchDispatcher()
{
    m_dispatchDepth = 0;
    applyRemoveAll();
    forgetHeldTouches();
}

void CCTouchDispatcher::forgetHeldTouches()
{
    std::vector<CCTouch*> unseen;
    unseen.swap(m_unseen);
    for (CCTouch* t : unseen) {
        t->release();
    }
}

CCTouchDispatcher::Handler* CCTouchDispatcher::findHandler(CCTouchDelegate* delegate)
{
    for (auto* list : {&m_targeted, &m_standard}) {
        for (Handler* h : *list) {
            if (h->delegate == delegate && !h->removed) {
                return h;
            }
        }
    }
    return nullptr;
}

const CCTouchDispatcher::Handler* CCTouchDispatcher::findHandler(CCTouchDelegate* delegate) const
{
    return const_cast<CCTouchDispatcher*>(this)->findHandler(delegate);
}

bool CCTouchDispatcher::isRegistered(CCTouchDelegate* delegate) const
{
    bool registered = findHandler(delegate) != nullptr;
    // Changes still waiting for the end of a dispatch count as made.
    for (const Change& c : m_pending) {
        if (c.kind == Change::RemoveAll) {
            registered = false;
        } else if (c.handler.delegate == delegate) {
            registered = c.kind == Change::Add;
        }
    }
    return registered;
}

void CCTouchDispatcher::addStandardDelegate(CCTouchDelegate* delegate, int priority)
{
    if (!delegate) {
        engineLog("addStandardDelegate: null delegate ignored");
        return;
    }
    addHandler(Handler{delegate, dynamic_cast<CCObject*>(delegate), priority, 0, false, false, false, {}});
}

void CCTouchDispatcher::addTargetedDelegate(CCTouchDelegate* delegate, int priority, bool swallowsTouches)
{
    if (!delegate) {
        engineLog("addTargetedDelegate: null delegate ignored");
        return;
    }
    addHandler(Handler{delegate, dynamic_cast<CCObject*>(delegate), priority, 0, true, swallowsTouches, false, {}});
}

void CCTouchDispatcher::addHandler(const Handler& handler)
{
    if (m_dispatchDepth > 0) {
        m_pending.push_back(Change{Change::Add, handler});
        return;
    }
    if (findHandler(handler.delegate)) {
        return;
    }
    Handler* h = new Handler(handler);
    h->serial = ++m_serial;
    CC_SAFE_RETAIN(h->object);
    auto& list = h->targeted ? m_targeted : m_standard;
    // Ascending priority; among equals the newest first.
    auto pos = std::find_if(list.begin(), list.end(), [h](const Handler* o) { return o->priority >= h->priority; });
    list.insert(pos, h);
}

void CCTouchDispatcher::removeDelegate(CCTouchDelegate* delegate)
{
    if (!delegate) {
        return;
    }
    if (m_dispatchDepth > 0) {
        // No further calls in this dispatch; the entry goes when it ends.
        if (Handler* h = findHandler(delegate)) {
            h->removed = true;
        }
        m_pending.push_back(Change{Change::Remove, Handler{delegate, nullptr, 0, 0, false, false, false, {}}});
        return;
    }
    applyRemove(delegate);
}

void CCTouchDispatcher::removeAllDelegates()
{
    if (m_dispatchDepth > 0) {
        for (auto* list : {&m_targeted, &m_standard}) {
            for (Handler* h : *list) {
                h->removed = true;
            }
        }
        m_pending.push_back(Change{Change::RemoveAll, Handler{nullptr, nullptr, 0, 0, false, false, false, {}}});
        return;
    }
    applyRemoveAll();
}

void CCTouchDispatcher::releaseHandler(Handler& handler)
{
    releaseClaims(handler.claimed);
    CC_SAFE_RELEASE(handler.object);
}

void CCTouchDispatcher::applyRemove(CCTouchDelegate* delegate)
{
    std::vector<Handler*> dropped;
    for (auto* list : {&m_targeted, &m_standard}) {
        for (auto it = list->begin(); it != list->end();) {
            if ((*it)->delegate == delegate) {
                dropped.push_back(*it);
                it = list->erase(it);
            } else {
                ++it;
            }
        }
    }
    // Released after the lists are consistent: a delegate deleted here may
    // call back into the dispatcher.
    for (Handler* h : dropped) {
        releaseHandler(*h);
        delete h;
    }
}

void CCTouchDispatcher::applyRemoveAll()
{
    std::vector<Handler*> dropped;
    dropped.insert(dropped.end(), m_targeted.begin(), m_targeted.end());
    dropped.insert(dropped.end(), m_standard.begin(), m_standard.end());
    m_targeted.clear();
    m_standard.clear();
    std::vector<Change> pending;
    pending.swap(m_pending);
    for (Handler* h : dropped) {
        releaseHandler(*h);
        delete h;
    }
}

void CCTouchDispatcher::touchesBegan(CCSet* touches, CCEvent* event)
{
    dispatch(touches, event, kCCTouchBegan, false);
}
void CCTouchDispatcher::touchesMoved(CCSet* touches, CCEvent* event)
{
    dispatch(touches, event, kCCTouchMoved, false);
}
void CCTouchDispatcher::touchesEnded(CCSet* touches, CCEvent* event)
{
    dispatch(touches, event, kCCTouchEnded, false);
}
void CCTouchDispatcher::touchesCancelled(CCSet* touches, CCEvent* event)
{
    dispatch(touches, event, kCCTouchCancelled, false);
}
void CCTouchDispatcher::rightTouchesBegan(CCSet* touches, CCEvent* event)
{
    dispatch(touches, event, kCCTouchBegan, true);
}
void CCTouchDispatcher::rightTouchesMoved(CCSet* touches, CCEvent* event)
{
    dispatch(touches, event, kCCTouchMoved, true);
}
void CCTouchDispatcher::rightTouchesEnded(CCSet* touches, CCEvent* event)
{
    dispatch(touches, event, kCCTouchEnded, true);
}
void CCTouchDispatcher::rightTouchesCancelled(CCSet* touches, CCEvent* event)
{
    dispatch(touches, event, kCCTouchCancelled, true);
}

void CCTouchDispatcher::dispatch(CCSet* touches, CCEvent* event, ccTouchPhase phase, bool right)
{
    if (!touches || touches->count() == 0) {
        return;
    }
    // While events are held back (a transition runs, or dispatching is off)
    // no began or moved event goes out. A touch whose began was held back
    // stays unseen to its end; one that began before still delivers its end,
    // so that no delegate is left holding a touch.
    bool holding = !m_bDispatchEvents || CCDirector::sharedDirector()->isInTransition();
    CCSet* deliverable = new CCSet();
    for (CCObject* o : *touches) {
        CCTouch* touch = static_cast<CCTouch*>(o);
        auto unseen = std::find(m_unseen.begin(), m_unseen.end(), touch);
        if (unseen != m_unseen.end()) {
            if (phase == kCCTouchEnded || phase == kCCTouchCancelled) {
                m_unseen.erase(unseen);
                touch->release();
            }
            continue;
        }
        if (holding && phase == kCCTouchBegan) {
            touch->retain();
            m_unseen.push_back(touch);
            continue;
        }
        if (holding && phase == kCCTouchMoved) {
            continue;
        }
        deliverable->addObject(touch);
    }
    if (deliverable->count() == 0) {
        deliverable->release();
        return;
    }
    touches = deliverable;

    CCEvent* ev = event;
    CCEvent fallback;
    if (!ev) {
        ev = &fallback;
    }

    ++m_dispatchDepth;
    retain();

    // The handlers of this event are fixed now; later changes wait.
    std::vector<Handler*> targeted = m_targeted;
    std::vector<Handler*> standard = m_standard;

    CCSet* remaining = new CCSet(*touches);
    if (!right) {
        for (CCObject* o : *touches) {
            CCTouch* touch = static_cast<CCTouch*>(o);
            for (Handler* h : targeted) {
                if (h->removed) {
                    continue;
                }
                bool claimed = false;
                Hold hold(h->object);
                switch (phase) {
                case kCCTouchBegan:
                    claimed = h->delegate->ccTouchBegan(touch, ev);
                    if (claimed && !h->removed) {
                        touch->retain();
                        h->claimed.push_back(touch);
                    }
                    break;
                case kCCTouchMoved:
                    claimed = std::find(h->claimed.begin(), h->claimed.end(), touch) != h->claimed.end();
                    if (claimed) {
                        h->delegate->ccTouchMoved(touch, ev);
                    }
                    break;
                case kCCTouchEnded:
                case kCCTouchCancelled:
                    // The claim goes before the call, so a touch retained only
                    // by the claim stays alive through the call by the set.
                    claimed = removeClaim(h->claimed, touch);
                    if (claimed) {
                        if (phase == kCCTouchEnded) {
                            h->delegate->ccTouchEnded(touch, ev);
                        } else {
                            h->delegate->ccTouchCancelled(touch, ev);
                        }
                    }
                    break;
                }
                if (claimed && h->swallows) {
                    remaining->removeObject(touch);
                    break;
                }
            }
        }
    }

    if (remaining->count() > 0) {
        for (Handler* h : standard) {
            if (h->removed || remaining->count() == 0) {
                continue;
            }
            Hold hold(h->object);
            CCTouchDelegate* d = h->delegate;
            switch (phase) {
            case kCCTouchBegan: right ? d->ccRightTouchesBegan(remaining, ev) : d->ccTouchesBegan(remaining, ev); break;
            case kCCTouchMoved: right ? d->ccRightTouchesMoved(remaining, ev) : d->ccTouchesMoved(remaining, ev); break;
            case kCCTouchEnded: right ? d->ccRightTouchesEnded(remaining, ev) : d->ccTouchesEnded(remaining, ev); break;
            case kCCTouchCancelled:
                right ? d->ccRightTouchesCancelled(remaining, ev) : d->ccTouchesCancelled(remaining, ev);
                break;
            }
        }
    }
    remaining->release();
    deliverable->release();

    --m_dispatchDepth;
    if (m_dispatchDepth == 0) {
        std::vector<Change> pending;
        pending.swap(m_pending);
        for (const Change& c : pending) {
            switch (c.kind) {
            case Change::Add: addHandler(c.handler); break;
            case Change::Remove: applyRemove(c.handler.delegate); break;
            case Change::RemoveAll: applyRemoveAll(); break;
            }
        }
    }
    release();
}

NS_CC_END
