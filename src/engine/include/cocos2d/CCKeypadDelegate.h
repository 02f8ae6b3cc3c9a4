#pragma once
#include "cocos2d/ccMacros.h"

NS_CC_BEGIN

// Receives keys from the keypad dispatcher. An interface, never a CCObject.
// Arrow codes: 1 Up, 2 Down, 3 Left, 4 Right, 8 Page Up or wheel up, 9 Page
// Down or wheel down.
class CCKeypadDelegate {
public:
    virtual ~CCKeypadDelegate() = default;
    virtual void keyBackClicked() { }
    virtual void keyMenuClicked() { }
    virtual void keyArrowPressed(int code) { (void)code; }
    virtual void keyArrowReleased(int code) { (void)code; }
    // One call per typed character (a Unicode code point).
    virtual void keyBoardChar(int codepoint) { (void)codepoint; }
};

NS_CC_END
