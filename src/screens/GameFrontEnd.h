#pragma once
// GameFrontEnd: the screens' answers to what the in-game interface asks
// (FrontEnd): the main menu and the online gallery. installGameHost installs
// it.
#include "hud/FrontEnd.h"

class GameFrontEnd : public FrontEnd {
public:
    void startFreeMode() override;
    cocos2d::CCScene* galleryScene(bool fromMainMenu) override;
    bool mainMenuShown() override;
    void refreshMainMenuMana() override;
    void resumeMainMenu() override;
};
