#pragma once
// GUITopBar: the strip of buttons along the top of the game screen, one for
// the run, rebuilt in the free-play or the campaign layout whenever a world
// starts. Its buttons forward to the HUD window and the game layer; the bar
// keeps only what it shows: the selections, the draw/pan toggle of the
// overview, the notification panel and its queue, the badges, the mana
// counter and the day button (GUITopBarInfo.cpp). The buttons' handlers are in
// GUITopBarButtons.cpp. Main thread only.
#include <cstdint>
#include <memory>
#include <string>

#include "cocos2d.h"
#include "gui/GUISlider.h"
#include "gui/GUIWindow.h"

class GUIButton;
class GUILabel;

class GUITopBar : public GUIWindow {
public:
    static constexpr float kNotificationSlide = 0.4f;
    static constexpr float kNotificationStay = 1.8f;

    static GUITopBar* getInstance();
    // Tests: drop the singleton.
    static void resetInstanceForTests();

    bool initWithSize(cocos2d::CCSize size) override;
    void onEnter() override;
    void visit() override;

    // --- layouts ---------------------------------------------------------------
    void buildFreeModeBar();
    void buildCampaignBar();
    // Campaign layout: the eraser and zoom buttons show their icons while the
    // day allows them and stay blank otherwise (a day's settings or an unlock
    // changes that while the bar stands).
    void showAvailableTools();
    void clearBar();
    // On the singleton: releases the menu buttons, drops the zoom hint and
    // leaves zoom mode.
    void resetButtons();
    // The thermometer and the three pictograms of the world-settings button.
    void refreshTemperatureIcon();

    // --- touches: forwarded while not locked ----------------------------------
    void handleTouchBegan(cocos2d::CCTouch* touch);
    void handleTouchMoved(cocos2d::CCTouch* touch);
    void handleTouchEnded(cocos2d::CCTouch* touch);

    // --- handlers -----------------------------------------------------------------
    void onElementMenuButton(cocos2d::CCObject* sender);
    void onToolButton(cocos2d::CCObject* sender);
    void onWorldSettingsButton(cocos2d::CCObject* sender);
    void onWorldMenuButton(cocos2d::CCObject* sender);
    void onEraserButton();
    void onZoomButton();
    void onUndoButton();
    void onPlayPauseButton();
    void onManaButton();
    void onCameraButton();
    void onLevelButton();
    void onDayButton();
    void onDrawPanToggle();

    // --- what the game layer and the HUD ask -----------------------------------
    bool isLocked() const { return m_locked; }
    void setLocked(bool v) { m_locked = v; }
    bool isDrawMode() const { return m_drawMode; }
    void setDrawMode(bool v) { m_drawMode = v; }
    // Touches pan the overview while the toggle is on the hand.
    bool isPanning() const { return !m_drawMode; }
    void setPanning(bool v) { m_drawMode = !v; }
    // Inverts the draw mode and shows the toggle's other button.
    void switchDrawPanToggle();
    void showZoomToggle(bool shown);
    void setZoomButtonIcon(const char* frame);
    void unpressZoomButton();
    // The "Zoom in" hint goes once the player has magnified or given up.
    void hideZoomHint();
    void setUndoButtonIcon(const char* frame);
    void setPlayPauseIcon(const char* frame);
    void setToolIcon(const std::string& tool);
    void setElementIcon(const std::string& element);
    // Element menu and tool selected, eraser not (a picked element); or the
    // eraser's selection (tool and eraser).
    void showElementSelected();
    void showEraserSelected();

    // --- notifications, badges, counters (GUITopBarInfo.cpp) -----------------------
    // Shows now, or queues behind the one on screen. The icon is a frame name
    // without the sheet prefix; null for the check box.
    void showNotification(cocos2d::CCString* text, cocos2d::CCString* icon = nullptr);
    void showNextNotification();
    // The goals window and the message pages cover where notices slide
    // down: while the goals window shows a board or a page is up they wait
    // in the queue. Such a window's opening sends the one on screen back to
    // the head of the queue; its closing shows what waited.
    void holdNotifications();
    void showHeldNotifications();
    // Next starts another level: what the last one told, on screen or
    // waiting, goes with it.
    void dropNotifications();
    // A notification is waiting behind the one on screen.
    bool hasNotification() const;
    // A warning by its localisation key (a creature's limit), shown only
    // while no other notification waits.
    void showWarning(const char* key);
    // A notice a touch repeats (a withheld palette entry): not told again
    // while the same words are on screen or waiting.
    void showNoticeOnce(cocos2d::CCString* text, cocos2d::CCString* icon = nullptr);
    bool isNotificationShowing() const { return m_notificationShowing; }
    void updateBadges();
    void updateMana();
    // The day's number, or while the day is won and its board not yet seen
    // a pulsing gold face with a tick.
    void updateDayButton();
    void playLilGodAnimation();
    bool showsDayWon() const { return m_dayWonPlate != nullptr; }

    // --- nodes (tests and the game layer) --------------------------------------------
    GUIButton* getElementMenuButton() const { return m_elementMenuButton; }
    GUIButton* getToolButton() const { return m_toolButton; }
    GUIButton* getEraserButton() const { return m_eraserButton; }
    GUIButton* getWorldSettingsButton() const { return m_worldSettingsButton; }
    GUIButton* getWorldMenuButton() const { return m_worldMenuButton; }
    GUIButton* getManaButton() const { return m_manaButton; }
    GUIButton* getZoomButton() const { return m_zoomButton; }
    GUIButton* getPlayPauseButton() const { return m_playPauseButton; }
    GUIButton* getDayButton() const { return m_dayButton; }
    GUIButton* getUndoButton() const { return m_undoButton; }
    GUIButton* getCameraButton() const { return m_cameraButton; }
    // Null before the first build.
    const DrawPanToggle* getDrawPanToggle() const { return m_toggle.get(); }
    GUILabel* getZoomHintLabel() const { return m_zoomHintLabel; }
    cocos2d::CCSprite* getBar() const { return m_bar; }
    cocos2d::CCSprite* getNotificationPanel() const { return m_notificationPanel; }
    GUILabel* getNotificationLabel() const { return m_notificationLabel; }
    cocos2d::CCSprite* getNotificationIcon() const { return m_notificationIcon; }
    cocos2d::CCSprite* getCheckBox() const { return m_checkBox; }
    cocos2d::CCArray* getNotificationQueue() const { return m_notificationQueue; }
    cocos2d::CCSprite* getElementBadge() const { return m_elementBadge; }
    cocos2d::CCSprite* getToolBadge() const { return m_toolBadge; }
    cocos2d::CCSprite* getWorldSettingsBadge() const { return m_worldSettingsBadge; }
    cocos2d::CCSprite* getTemperatureIcon() const { return m_temperatureIcon; }
    cocos2d::CCSprite* getLightPicto() const { return m_lightPicto; }
    cocos2d::CCSprite* getCloudsPicto() const { return m_cloudsPicto; }
    cocos2d::CCSprite* getSunPicto() const { return m_sunPicto; }
    cocos2d::CCSprite* getLilGodSprite() const { return m_lilGodSprite; }
    int32_t getLastShownMana() const { return m_lastShownMana; }
    // The name of a sprite's frame as the bar set it ("" for none).
    static std::string frameOf(cocos2d::CCNode* node);
    // The buttons of the current row, left to right.
    cocos2d::CCArray* rowButtons() const;

private:
    GUITopBar() = default;
    ~GUITopBar() override;

    bool beginBuild();
    GUIButton* addRowButton(const char* frame, const char* icon, cocos2d::CCObject* callback, GUIButton* previous);
    void addWorldSettingsPictos();
    void addDrawPanToggle();
    // Both toggle buttons hidden, the draw one current.
    void resetDrawPanToggle(bool drawShown);
    void addManaCounter(float iconX);
    // Shrinks the count to the room between the drop icon and the right
    // margin when the text at full size would run under the icon.
    void fitManaLabel();
    void addDayButton(GUIButton* previous);
    void showDayWon(bool won);
    // Closes the HUD when it is not closed, forgetting its open menu.
    void closeHud();
    void placeBadge(cocos2d::CCSprite*& badge, int count, cocos2d::CCPoint at);
    // The notice's text left of `right` (in the panel's units): at full size
    // on one line where it fits, else wrapped and set smaller.
    void layOutNotice(cocos2d::CCString* text, float right);
    // Stops the notice panel and puts it back behind the bar.
    void restNotificationPanel();

    GUIButton* m_elementMenuButton = nullptr;
    GUIButton* m_toolButton = nullptr;
    GUIButton* m_eraserButton = nullptr;
    GUIButton* m_worldSettingsButton = nullptr;
    GUIButton* m_worldMenuButton = nullptr;
    GUIButton* m_manaButton = nullptr;
    bool m_locked = false;
    GUIButton* m_zoomButton = nullptr;
    GUIButton* m_playPauseButton = nullptr;
    GUIButton* m_dayButton = nullptr;
    std::unique_ptr<DrawPanToggle> m_toggle;  // made anew at every build
    bool m_drawMode = true;
    GUILabel* m_zoomPanLabel = nullptr;
    GUILabel* m_zoomDrawLabel = nullptr;
    GUILabel* m_zoomHintLabel = nullptr;
    int32_t m_lastShownMana = -1;
    // Where the mana count may start: just right of the drop icon.
    float m_manaRoomLeft = 0.0f;
    cocos2d::CCSprite* m_elementBadge = nullptr;
    cocos2d::CCSprite* m_toolBadge = nullptr;
    cocos2d::CCSprite* m_worldSettingsBadge = nullptr;
    cocos2d::CCArray* m_notificationQueue = nullptr;  // retained while not empty
    GUIButton* m_undoButton = nullptr;
    cocos2d::CCSprite* m_notificationPanel = nullptr;
    GUILabel* m_notificationLabel = nullptr;
    cocos2d::CCSprite* m_notificationIcon = nullptr;
    cocos2d::CCSprite* m_checkBox = nullptr;   // retained
    cocos2d::CCSprite* m_checkTick = nullptr;  // retained
    bool m_notificationShowing = false;
    std::string m_notificationIconName;  // of the notice on screen; empty for the check box
    GUIButton* m_cameraButton = nullptr;
    cocos2d::CCSprite* m_lightPicto = nullptr;
    cocos2d::CCSprite* m_cloudsPicto = nullptr;
    cocos2d::CCSprite* m_sunPicto = nullptr;
    cocos2d::CCSprite* m_temperatureIcon = nullptr;
    cocos2d::CCSprite* m_lilGodSprite = nullptr;
    cocos2d::CCSprite* m_dayWonPlate = nullptr;  // a child of the day button while the day is won
    cocos2d::CCSprite* m_bar = nullptr;          // the button container
};
