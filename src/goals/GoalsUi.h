#pragma once
// GoalsUi: everything the goals show or change on screen, in one interface:
// the top bar's notices, the HUD's unlocks and day settings, the game layer's
// world, flags and day-cleared board, and the message pages. The goals sit
// below the scene and the HUD, so this is their one way up. The game's own
// (hud/GameGoalsUi.h, put in by installGameHost) skips a call whose window or
// layer does not exist (a silent replay before the game scene, a headless
// run); tests install a recorder instead. Before the game's is put in, a
// plain one shows nothing and loads no world.
#include <string>

#include "cocos2d.h"
#include "goals/DayItem.h"

class NSData;

class GoalsUi {
public:
    virtual ~GoalsUi() = default;

    // Top bar. The icon is a frame name without the sheet's prefix; empty
    // for none.
    virtual void showNotification(const std::string& text, const std::string& icon) = 0;
    virtual void playLilGodAnimation() = 0;
    virtual void updateDayButton() = 0;

    // HUD: one item more for the rest of the day (the badges follow), and a
    // day's settings by world name (false when they were not applied).
    virtual void unlock(DayItem kind, const std::string& name) = 0;
    virtual bool loadDaySettings(const std::string& worldName) = 0;

    // Game layer.
    virtual void showDayCleared(cocos2d::CCArray* elements, cocos2d::CCArray* options, cocos2d::CCArray* backgrounds,
                                cocos2d::CCArray* mana) = 0;
    // A world blob into the running world; false when there is none or it
    // was refused (the world is then unchanged).
    virtual bool loadWorld(NSData* blob) = 0;
    virtual std::string loadedWorldName() = 0;
    virtual void setLoadedWorldName(const std::string& name) = 0;
    virtual bool overviewUsed() = 0;
    virtual void setOverviewUsed(bool used) = 0;
    virtual void setStoryLevel2Flag() = 0;

    // Message pages.
    virtual void showStoryReminder(int day) = 0;
    virtual void showFreeModeMessage() = 0;
    virtual void showOutro() = 0;
};

// The interface in use: the game's unless a test installed another.
GoalsUi& goalsUi();
// Null puts the game's back. Answers the one installed before (null: the
// game's).
GoalsUi* setGoalsUi(GoalsUi* ui);
// The game's own, which setGoalsUi(nullptr) goes back to; the caller keeps
// it alive. Null: the plain one.
void setGameGoalsUi(GoalsUi* ui);
// The plain one: nothing shows, nothing unlocks, no world loads.
GoalsUi& plainGoalsUi();
