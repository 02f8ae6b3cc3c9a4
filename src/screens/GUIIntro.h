#pragma once
// The first scene: the splash picture for 2 s, then the profile is loaded
// (backup allowed) and the main menu follows, or the player-name screen while
// the player has no name yet. A name the server has no account for yet is
// registered quietly meanwhile, when there is a server; when that server
// gives the name to another player, the name screen asks for another.
#include "cocos2d.h"

class GUIIntro : public cocos2d::CCScene {
public:
    static constexpr float kSplashSeconds = 2.0f;

    // Built by `new`, as the start-up does; the creator owns one reference.
    GUIIntro();

    // Loads the profile and replaces the intro by the next screen.
    void goOn();
    // The quiet registration's answer: the kept name is another player's.
    void onNameTaken();
};
