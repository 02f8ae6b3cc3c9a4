#pragma once
// The title screen. Not built yet: an empty layer that says so in the log
// and starts free play at once, so that start-up reaches the game.
#include "cocos2d.h"

class MainMenu : public cocos2d::CCLayer {
public:
    // The one main-menu layer, created on first use.
    static MainMenu* getInstance();
    // A new scene holding the main-menu layer.
    static cocos2d::CCScene* scene();

    void onEnter() override;

    static constexpr int kFreeModeGameMode = -99;
    // Sets the game up for free mode (game mode saved, free play on, a new
    // big world, the free-play top bar) and replaces the menu by the game.
    void startFreeMode();

private:
    MainMenu() = default;
};
