#pragma once
#include "cocos2d/ccMacros.h"

NS_CC_BEGIN

class CCTouch;
class CCEvent;
class CCSet;

// Receives touches from the touch dispatcher. An interface, never a
// CCObject, so selector casts stay sound in classes that also derive from
// CCObject. Every handler does nothing by default; the default ccTouchBegan
// claims nothing.
class CCTouchDelegate {
public:
    virtual ~CCTouchDelegate() = default;

    // Targeted: one touch at a time. Returning true claims the touch.
    virtual bool ccTouchBegan(CCTouch* touch, CCEvent* event)
    {
        (void)touch;
        (void)event;
        return false;
    }
    virtual void ccTouchMoved(CCTouch* touch, CCEvent* event)
    {
        (void)touch;
        (void)event;
    }
    virtual void ccTouchEnded(CCTouch* touch, CCEvent* event)
    {
        (void)touch;
        (void)event;
    }
    virtual void ccTouchCancelled(CCTouch* touch, CCEvent* event)
    {
        (void)touch;
        (void)event;
    }

    // Standard: the set of touches no targeted delegate swallowed.
    virtual void ccTouchesBegan(CCSet* touches, CCEvent* event)
    {
        (void)touches;
        (void)event;
    }
    virtual void ccTouchesMoved(CCSet* touches, CCEvent* event)
    {
        (void)touches;
        (void)event;
    }
    virtual void ccTouchesEnded(CCSet* touches, CCEvent* event)
    {
        (void)touches;
        (void)event;
    }
    virtual void ccTouchesCancelled(CCSet* touches, CCEvent* event)
    {
        (void)touches;
        (void)event;
    }

    // Right button: standard delegates only.
    virtual void ccRightTouchesBegan(CCSet* touches, CCEvent* event)
    {
        (void)touches;
        (void)event;
    }
    virtual void ccRightTouchesMoved(CCSet* touches, CCEvent* event)
    {
        (void)touches;
        (void)event;
    }
    virtual void ccRightTouchesEnded(CCSet* touches, CCEvent* event)
    {
        (void)touches;
        (void)event;
    }
    virtual void ccRightTouchesCancelled(CCSet* touches, CCEvent* event)
    {
        (void)touches;
        (void)event;
    }
};

NS_CC_END
