#pragma once
// The levels of one campaign that the player may play: 1 up to the best day
// reached, never past the campaign's last level, so the day after it (which
// would replay the campaign's end) is never offered. Won levels are marked,
// the next one to play stands out, and a line counts the won ones. A level
// starts as the story starts its day; Back returns to the campaign selection.
#include "screens/SelectionScreen.h"

class LevelSelection : public SelectionScreen {
public:
    // How many levels of the mode's campaign are offered: 0 for a campaign
    // that is closed or not built, otherwise at least level 1.
    static int playableLevels(int mode);
    // How many of them were won (all of a finished campaign's).
    static int wonLevels(int mode);

    static LevelSelection* create(int mode);
    static cocos2d::CCScene* scene(int mode);

    int getMode() const { return m_mode; }
    // The level's button (1 based), or null.
    GUIButton* levelButton(int level) const;
    int levelCount() const { return static_cast<int>(m_levels.size()); }
    // "n of total levels won".
    GUILabel* getProgressLabel() const { return m_progressLabel; }

    // The level's day through the main menu; nothing for a level not offered.
    void startLevel(int level);

protected:
    void leave() override;

private:
    explicit LevelSelection(int mode) : m_mode(mode) { }
    bool initLevels();
    void onLevel(cocos2d::CCObject* level);

    int m_mode = 0;
    std::vector<GUIButton*> m_levels;
    GUILabel* m_progressLabel = nullptr;
};
