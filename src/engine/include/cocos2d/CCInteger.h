#pragma once
#include "cocos2d/CCObject.h"

NS_CC_BEGIN

class CCInteger : public CCObject {
public:
    explicit CCInteger(int value) : m_nValue(value) { }
    static CCInteger* create(int value)
    {
        CCInteger* p = new CCInteger(value);
        p->autorelease();
        return p;
    }
    int getValue() const { return m_nValue; }

private:
    int m_nValue;
};

// Boxes unsigned values such as type ids.
class CCUnsignedInteger : public CCObject {
public:
    explicit CCUnsignedInteger(unsigned value) : m_uValue(value) { }
    static CCUnsignedInteger* create(unsigned value)
    {
        CCUnsignedInteger* p = new CCUnsignedInteger(value);
        p->autorelease();
        return p;
    }
    unsigned getValue() const { return m_uValue; }

private:
    unsigned m_uValue;
};

NS_CC_END
