#pragma once
// GameGuiHost: the game's answers to what the widget toolkit asks (GuiHost):
// closed windows go to the game layer, the top bar is the HUD's, the message
// pages are the in-game message window's and the pictures are the running
// world's. installGameHost installs it.
#include "gui/GuiHost.h"

class GameGuiHost : public GuiHost {
public:
    void closeWindow(GUIWindow* window) override;
    void releaseTopBar() override;

    // Each attaches the message window to the game scene (z-order 30; the
    // free-mode message without one), makes it current and runs its opener;
    // nothing while the window shows, nor without a game scene (logged).
    void showStoryIntroduction() override;
    void showFreeModeIntroduction() override;
    void showStoryReminder(int number) override;
    void showFreeModeMessage() override;
    void showOutro() override;

    cocos2d::CCSprite* createWorldSnapshot() override;
    cocos2d::CCSprite* loadThumbnailSprite(cocos2d::CCString* worldName) override;
};
