#pragma once
#include "cocos2d/CCObject.h"

namespace cocos2d_extensions {

// Boxes one plain value (a point, a colour, a float, a pointer, a selector)
// as a reference-counted object so it can live in the engine's containers.
template <typename T> class CCValue : public cocos2d::CCObject {
public:
    static CCValue* create(const T& value)
    {
        CCValue* box = new CCValue();
        box->m_value = value;
        box->autorelease();
        return box;
    }

    ~CCValue() override { }

    virtual T getValue() const { return m_value; }

protected:
    CCValue() : m_value() { }

private:
    T m_value;
};

}  // namespace cocos2d_extensions
