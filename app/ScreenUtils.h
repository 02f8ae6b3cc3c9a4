#pragma once
// ScreenUtils: scene switching, windows and popups.
// NOT BUILT YET: only the two openers the profile and the server client call
// exist, and they open nothing (the keyboard and popup windows come with the
// GUI toolkit). Each call logs what it would have shown.
#include "cocos2d.h"

class ScreenUtils : public cocos2d::CCObject {
public:
    static ScreenUtils* getInstance();

    // The nickname keyboard: its accepted text goes to
    // Profile::setNicknameFromInput on the target.
    void showNicknameKeyboard(cocos2d::CCString* text, cocos2d::CCObject* target);

    // A popup of the given kind (0 confirm, 1 purchase, 2 message, ...).
    void showPopup(cocos2d::CCString* text, cocos2d::CCObject* confirmTarget, cocos2d::SEL_CallFunc confirmSelector,
                   cocos2d::CCObject* cancelTarget, cocos2d::SEL_CallFunc cancelSelector, int kind);

private:
    ScreenUtils() = default;
};
