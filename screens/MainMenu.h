#pragma once
// The title screen. Not built yet: an empty layer that says so in the log,
// so that start-up has somewhere to go.
#include "cocos2d.h"

class MainMenu : public cocos2d::CCLayer {
public:
    // The one main-menu layer, created on first use.
    static MainMenu* getInstance();
    // A new scene holding the main-menu layer.
    static cocos2d::CCScene* scene();

    void onEnter() override;

private:
    MainMenu() = default;
};
