#pragma once
// GuiHost: what the widget toolkit asks of the game it is shown in, and its
// one way up: where a window that closed for good goes, the top bar that a
// progress bar held, and the game's own pages and pictures that ScreenUtils
// opens. installGameHost installs the HUD's (hud/GameGuiHost.h); without it
// the toolkit runs under this plain one, which does nothing and has no
// pictures.
#include "base/Installed.h"
#include "cocos2d.h"

class GUIWindow;

class GuiHost {
public:
    virtual ~GuiHost() = default;

    // A window with removeOnClose has closed: the game takes it out.
    virtual void closeWindow(GUIWindow*) { }
    // The progress bar has gone: the top bar takes touches again, its
    // buttons released.
    virtual void releaseTopBar() { }

    // The in-game message pages, as ScreenUtils' openers of the same names
    // describe them.
    virtual void showStoryIntroduction() { }
    virtual void showFreeModeIntroduction() { }
    virtual void showStoryReminder(int) { }
    virtual void showFreeModeMessage() { }
    virtual void showOutro() { }

    // The running world one pixel per cell, and a saved world's thumbnail,
    // as ScreenUtils' pictures of the same names describe them.
    virtual cocos2d::CCSprite* createWorldSnapshot() { return nullptr; }
    virtual cocos2d::CCSprite* loadThumbnailSprite(cocos2d::CCString*) { return nullptr; }
};

// The installed host (the plain one when none is).
inline GuiHost& guiHost()
{
    return Installed<GuiHost>::get();
}
// Installs a host the caller keeps alive; null puts the plain one back.
inline void setGuiHost(GuiHost* host)
{
    Installed<GuiHost>::set(host);
}
