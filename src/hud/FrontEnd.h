#pragma once
// FrontEnd: what the in-game interface asks of the front-end screens above
// it, and the HUD's one way up: free play started from a message page, the
// online gallery's scene, and the main menu that a shop opened over it goes
// back to. installGameHost installs the screens' own (screens/GameFrontEnd.h);
// the plain one has no menu and no gallery.
#include "base/Installed.h"
#include "cocos2d.h"

class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    // The main menu starts free play (its Free play button's work).
    virtual void startFreeMode() { }
    // The gallery's scene; opened from the main menu, its Back goes on to
    // the menu. Null: no gallery.
    virtual cocos2d::CCScene* galleryScene(bool) { return nullptr; }
    // The running scene shows the main menu.
    virtual bool mainMenuShown() { return false; }
    // The shown main menu's mana count again, and its animation running
    // again (30 frames a second); nothing without one.
    virtual void refreshMainMenuMana() { }
    virtual void resumeMainMenu() { }
};

// The installed front end (the plain one when none is).
inline FrontEnd& frontEnd()
{
    return Installed<FrontEnd>::get();
}
// Installs a front end the caller keeps alive; null puts the plain one back.
inline void setFrontEnd(FrontEnd* front)
{
    Installed<FrontEnd>::set(front);
}
