#pragma once
// ScreenUtils: the busy flag that holds GUI buttons back while a delayed press
// is pending, and the window that is open over the scene (current) or kept
// aside while the encyclopedia is shown (saved). Neither window is retained:
// a window clears itself from both when it is destroyed.
// NOT BUILT YET: the openers. The two the profile and the server client call
// exist and open nothing (the keyboard and popup windows come with the
// popups); each call logs what it would have shown.
#include "cocos2d.h"

class GUIWindow;

class ScreenUtils : public cocos2d::CCObject {
public:
    static ScreenUtils* getInstance();

    virtual bool isBusy();
    virtual void setBusy(bool busy);
    virtual GUIWindow* getCurrentWindow();
    virtual void setCurrentWindow(GUIWindow* window);

    // Called by a window's destructor: forgets it wherever it is kept.
    void forgetWindow(GUIWindow* window);

    // The nickname keyboard: its accepted text goes to
    // Profile::setNicknameFromInput on the target.
    void showNicknameKeyboard(cocos2d::CCString* text, cocos2d::CCObject* target);

    // A popup of the given kind (0 confirm, 1 purchase, 2 message, ...).
    void showPopup(cocos2d::CCString* text, cocos2d::CCObject* confirmTarget, cocos2d::SEL_CallFunc confirmSelector,
                   cocos2d::CCObject* cancelTarget, cocos2d::SEL_CallFunc cancelSelector, int kind);

    // Read and written directly by the screens that leave the game and come back.
    GUIWindow* savedWindow = nullptr;

private:
    ScreenUtils() = default;

    bool m_busy = false;
    GUIWindow* m_currentWindow = nullptr;
};
