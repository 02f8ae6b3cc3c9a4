#pragma once
// SceneHud: what the game scene asks of the in-game interface laid over it
// (the HUD panel, the top bar, the goals window and the windows the layer
// opens), and the scene's one way up. The game layer holds the HUD's windows
// in its fields for the HUD and never calls them. installGameHost installs
// the HUD's own (hud/GameSceneHud.h); without it the scene runs bare under
// this plain one: no HUD, no windows, a top bar never locked nor panning.
#include "base/Installed.h"
#include "cocos2d.h"

class GameLayer;
class GUIButton;
class GUIWindow;

class SceneHud {
public:
    virtual ~SceneHud() = default;

    // --- the layer's windows -------------------------------------------------------
    // The layer was made: its HUD and goals window are made for it, retained
    // in its fields. It goes: every window it holds is let go.
    virtual void layerMade(GameLayer&) { }
    virtual void layerGoes(GameLayer&) { }
    // A new scene: the HUD and the top bar (z 0) and the goals window (z 40)
    // go in above the layer.
    virtual void addWindows(cocos2d::CCScene*, GameLayer&) { }
    // A window closed for good: true when it was the layer's own share or
    // backgrounds window, now out of the scene and let go.
    virtual bool letGoOwnWindow(GameLayer&, GUIWindow*) { return false; }
    // Tests: the top bar and the message window start new.
    virtual void resetForTests() { }

    // --- the HUD panel -----------------------------------------------------------------
    // No HUD, or its window closed.
    virtual bool hudClosed(GameLayer&) { return true; }
    // The palette's element (null before any choice or without a HUD).
    virtual cocos2d::CCString* currentElement(GameLayer&) { return nullptr; }
    // Entering a world: the start element and tool, the smallest brush.
    virtual void selectStartChoices(GameLayer&) { }
    // A menu button of the top bar (kinds as GUI's menus): the palette
    // button while erasing brings the last element back; else the HUD opens,
    // switches or closes its menu. Nothing without a HUD.
    virtual void onMenuButton(GameLayer&, int, GUIButton*) { }
    // The HUD closes with its menu, unless it is closed or closing already.
    virtual void closeHud(GameLayer&) { }
    // The online gallery from the main menu, opened by the HUD after a delay.
    virtual void openGalleryFromMainMenuLater(GameLayer&, float) { }

    // --- the goals window -------------------------------------------------------------
    virtual bool todayGoalsShown(GameLayer&) { return false; }
    virtual void hideGoalsWindow(GameLayer&) { }
    virtual void showTodayGoals(GameLayer&) { }
    // The day's board: the HUD closes (a closing one opens again, as the
    // toggle does) and the goals window shows what the day unlocked.
    virtual void showDayCleared(GameLayer&, cocos2d::CCArray*, cocos2d::CCArray*, cocos2d::CCArray*, cocos2d::CCArray*)
    {
    }

    // --- windows the layer opens --------------------------------------------------------
    virtual bool backgroundsWindowShown(GameLayer&) { return false; }
    // Each made on first use, toggled and built; one refused because
    // another window is open is let go at once.
    virtual void openBackgroundsWindow(GameLayer&) { }
    virtual void openShareWindow(GameLayer&, cocos2d::CCObject*, cocos2d::CCObject*) { }
    // The open vehicle panel under a GL point, and whether a panel is still
    // open (a panel is no current window: the layer hands it its touches).
    virtual GUIWindow* vehiclePanelAt(const cocos2d::CCPoint&) { return nullptr; }
    virtual bool vehiclePanelOpen(GUIWindow*) { return false; }
    // The in-game message window (made on first use) and whether the
    // free-mode introduction was seen.
    virtual GUIWindow* messageWindow() { return nullptr; }
    virtual bool freeModeIntroDone() { return true; }

    // --- the top bar ---------------------------------------------------------------------
    virtual bool topBarLocked() { return false; }
    virtual void topBarTouchBegan(cocos2d::CCTouch*) { }
    // Touches pan the overview while the draw/pan toggle is on the hand.
    virtual bool panning() { return false; }
    virtual void setPanning(bool) { }
    virtual void switchDrawPanToggle() { }
    virtual void showZoomToggle(bool) { }
    virtual void setZoomButtonIcon(const char*) { }
    virtual void unpressZoomButton() { }
    virtual void hideZoomHint() { }
    virtual void setUndoButtonIcon(const char*) { }
    // A creature's limit warning (a localisation key), shown only while the
    // bar shows no other notification.
    virtual void showLimitWarning(const char*) { }
    virtual void updateMana() { }
    // The day button's press: the goals window.
    virtual void onDayButton() { }
};

// The installed interface (the plain one when none is).
inline SceneHud& sceneHud()
{
    return Installed<SceneHud>::get();
}
// Installs an interface the caller keeps alive; null puts the plain one back.
inline void setSceneHud(SceneHud* hud)
{
    Installed<SceneHud>::set(hud);
}
