#pragma once
// GUIAchievement: the goals window. NOT BUILT YET: a stand-in window that
// shows board 0 (nothing) and never slides in.
#include "cocos2d.h"
#include "gui/GUIWindow.h"

class GUIAchievement : public GUIWindow {
public:
    static GUIAchievement* create(cocos2d::CCSize size);
    int getBoardKind() const { return 0; }
    void show();
    void hide() {}
    // Today's goals (board 2); nothing while the goals window is a stand-in.
    void showTodayGoals() { show(); }
};
