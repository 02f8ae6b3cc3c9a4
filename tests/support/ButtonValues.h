#pragma once
// What a HUD menu's button hands its handler: the players that press
// buttons by what they stand for (the level runner, the soak) read it here.
#include <string>

#include "cocos2d.h"
#include "gui/GUIButton.h"

namespace testsupport {

// The value of the button's callback (a name or a number); null for none.
inline cocos2d::CCObject* buttonValue(cocos2d::CCNode* node)
{
    auto* button = dynamic_cast<GUIButton*>(node);
    auto* call = button ? dynamic_cast<cocos2d::CCCallFuncO*>(button->getCallback()) : nullptr;
    return call ? call->getObject() : nullptr;
}

// The name a button hands over, "" for none.
inline std::string buttonName(cocos2d::CCNode* button)
{
    auto* name = dynamic_cast<cocos2d::CCString*>(buttonValue(button));
    return name ? name->getString() : std::string();
}

// The number a button hands over, -1 for none.
inline int buttonNumber(cocos2d::CCNode* button)
{
    auto* number = dynamic_cast<cocos2d::CCInteger*>(buttonValue(button));
    return number ? number->getValue() : -1;
}

}  // namespace testsupport
