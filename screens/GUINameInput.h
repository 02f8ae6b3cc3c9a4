#pragma once
// The player-name screen. Not built yet: an empty layer that says so in the
// log, so that start-up has somewhere to go for a player without an account.
#include "cocos2d.h"

class GUINameInput : public cocos2d::CCLayer {
public:
    static GUINameInput* create();
    // A new scene holding a new player-name layer.
    static cocos2d::CCScene* scene();

    void onEnter() override;
    // The progress bar ran out while the player was being created.
    void onLoginTimeout();
};
