#pragma once
// The ten campaigns as tiles, from the main menu's Campaigns button. A
// campaign is open when the profile unlocks it and its goals are built; a
// finished one carries a tick, a closed one a padlock and, touched, says what
// opens it. An open one leads to its level selection; Back returns to the menu.
#include "screens/SelectionScreen.h"

class CampaignSelection : public SelectionScreen {
public:
    static constexpr int kFirstMode = 1;
    static constexpr int kLastMode = 10;

    struct State {
        bool open = false;
        bool finished = false;
    };
    // What the profile and the built goals make of a campaign's game mode.
    static State stateOf(int mode);

    static CampaignSelection* create();
    static cocos2d::CCScene* scene();

    bool init() override;

    // Its level selection in this screen's place; for a closed one, a popup
    // that says what opens it.
    void openCampaign(int mode);
    // "Finish Music to open this campaign." (or either of two), by the
    // profile's rule.
    static cocos2d::CCString* lockedText(int mode);

    // The tile of a game mode 1 to 10, or null.
    GUIButton* tileOf(int mode) const;
    cocos2d::CCSprite* lockOf(int mode) const;
    cocos2d::CCSprite* tickOf(int mode) const;

protected:
    void leave() override;

private:
    void onTile(cocos2d::CCObject* mode);

    GUIButton* m_tiles[kLastMode] = {};
    cocos2d::CCSprite* m_locks[kLastMode] = {};
    cocos2d::CCSprite* m_ticks[kLastMode] = {};
};
