#pragma once
// GameSceneHud: the HUD's answers to what the game scene asks (SceneHud):
// the HUD window, the top bar, the goals window, the backgrounds and share
// windows, the vehicle panels and the message window. installGameHost
// installs it.
#include "scene/SceneHud.h"

class GameSceneHud : public SceneHud {
public:
    void layerMade(GameLayer& layer) override;
    void layerGoes(GameLayer& layer) override;
    void addWindows(cocos2d::CCScene* scene, GameLayer& layer) override;
    bool letGoOwnWindow(GameLayer& layer, GUIWindow* window) override;
    void resetForTests() override;

    bool hudClosed(GameLayer& layer) override;
    cocos2d::CCString* currentElement(GameLayer& layer) override;
    void selectStartChoices(GameLayer& layer) override;
    void onMenuButton(GameLayer& layer, int kind, GUIButton* sender) override;
    void closeHud(GameLayer& layer) override;
    void openGalleryFromMainMenuLater(GameLayer& layer, float seconds) override;

    bool todayGoalsShown(GameLayer& layer) override;
    void hideGoalsWindow(GameLayer& layer) override;
    void showTodayGoals(GameLayer& layer) override;
    void showDayCleared(GameLayer& layer, cocos2d::CCArray* elements, cocos2d::CCArray* options,
                        cocos2d::CCArray* backgrounds, cocos2d::CCArray* mana) override;

    bool backgroundsWindowShown(GameLayer& layer) override;
    void openBackgroundsWindow(GameLayer& layer) override;
    void openShareWindow(GameLayer& layer, cocos2d::CCObject* first, cocos2d::CCObject* second) override;
    GUIWindow* vehiclePanelAt(const cocos2d::CCPoint& point) override;
    bool vehiclePanelOpen(GUIWindow* panel) override;
    GUIWindow* messageWindow() override;
    bool freeModeIntroDone() override;

    bool topBarLocked() override;
    void topBarTouchBegan(cocos2d::CCTouch* touch) override;
    bool panning() override;
    void setPanning(bool panning) override;
    void switchDrawPanToggle() override;
    void showZoomToggle(bool shown) override;
    void setZoomButtonIcon(const char* frame) override;
    void unpressZoomButton() override;
    void hideZoomHint() override;
    void setUndoButtonIcon(const char* frame) override;
    void showLimitWarning(const char* key) override;
    void updateMana() override;
    void onDayButton() override;
};
