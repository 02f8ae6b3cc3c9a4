#pragma once
// WeakCallRelay: a button's call-back retains its target; aimed at the window
// that owns the button it would keep that window alive for ever. The relay
// holds the target weakly instead. Only the target's own buttons hold relays,
// so the target is alive whenever one fires.
#include "cocos2d.h"

class WeakCallRelay : public cocos2d::CCObject {
public:
    static WeakCallRelay* create(cocos2d::CCObject* target, cocos2d::SEL_CallFuncO selector)
    {
        auto* relay = new WeakCallRelay();
        relay->m_target = target;
        relay->m_selector = selector;
        relay->autorelease();
        return relay;
    }
    void fire(cocos2d::CCObject* value) { (m_target->*m_selector)(value); }

private:
    cocos2d::CCObject* m_target = nullptr;
    cocos2d::SEL_CallFuncO m_selector = nullptr;
};
