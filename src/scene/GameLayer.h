#pragma once
// GameLayer: the game scene's layer and singleton, owner of the running
// simulation. It embeds the World, shows it as one sprite with one texel per
// cell, steps it 30 times a second, turns touches into tool strokes
// (GameLayerInput.cpp) and holds the HUD's windows. Part of the game layer
// above the world: the world reaches it only through the game's WorldHost.
// It reaches the HUD above it only through SceneHud (scene/SceneHud.h).
#include <cstdint>
#include <string>
#include <vector>

#include "gui/BackButton.h"
#include "cocos2d.h"
#include "world/World.h"

class Camera;
class CCMutableTexture2D;
class GUIWindow;
class Particle;
class RandomDealer;
class ZoomOutView;

// The HUD's windows (hud/): made and let go by the HUD through SceneHud,
// held here for it and for tests; the layer never calls them.
class GUI;
class GUIAchievement;
class GUIShare;
class GUIBackgrounds;

// The gallery world a world came from: what the world menu says of its
// ratings and what Rate sends stars for. It goes with its world: the undo
// snapshot keeps the one of the world it holds. Id 0: none (a world of the
// player's own, a new one, a saved one loaded).
struct GalleryOrigin {
    int32_t id = 0;
    std::string name;
    float rating = 0;       // the average of its ratings
    int32_t ratings = 0;    // how many rated it
    int32_t myRating = -1;  // the player's stars, 0 for none yet; -1 not known
};

class GameLayer : public cocos2d::CCLayerColor, public BackButtonListener {
public:
    // The singleton; stored before init runs, so init's callees get it too.
    static GameLayer* getInstance();
    // Null until the first getInstance.
    static GameLayer* existingInstance();
    // Tests: drop the singleton so the next getInstance starts clean.
    static void resetInstanceForTests();
    // A new scene: the layer, the side borders, the HUD windows.
    static cocos2d::CCScene* scene();

    bool init() override;
    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    void onExit() override;
    void cleanup() override;
    void registerWithTouchDispatcher() override;
    void keyArrowPressed(int code) override;
    void onBackPressed() override;

    // Rebuilds the world view for the big (240 x 160) or small world.
    void resizeWorldView(bool big);
    // A window has finished closing: take it out.
    void closeWindow(GUIWindow* window);
    void tick(float dt);
    void pollAltKey();
    void playNextLevelMusic();
    void musicWatcher();
    // The back-key popup's confirm action: leave the game scene.
    void leaveToMenu();
    // The scene entry's delayed introductions.
    void showStoryIntroduction();
    void showFreeModeIntroduction();
    // Free mode's introduction is due after the entry, or is on screen
    // unread: the back key waits for it.
    bool freeModeIntroductionPending();

    // Input (GameLayerInput.cpp).
    void ccTouchesBegan(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccTouchesMoved(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccTouchesEnded(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccTouchesCancelled(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccRightTouchesBegan(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccRightTouchesMoved(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccRightTouchesEnded(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void collectTouches(cocos2d::CCSet* touches);
    void beginStroke(float dt);
    void onLongPress(float dt);
    void resetStroke();
    cocos2d::CCPoint panCentroid(cocos2d::CCSet* touches);
    void zoomToPoint(cocos2d::CCPoint glPoint);
    // The world cell (with fractions) under a GL point.
    cocos2d::CCPoint worldCellAt(cocos2d::CCPoint glPoint) const;
    // Whether a GL point lies inside the world view (x only).
    static bool insideWorldView(cocos2d::CCPoint glPoint);

    // Properties: setters store the value unchanged.
    virtual cocos2d::CCSprite* getBackgroundSprite() { return m_backgroundSprite; }
    virtual void setBackgroundSprite(cocos2d::CCSprite* v) { m_backgroundSprite = v; }
    virtual bool getBackgroundOn() { return m_backgroundOn; }
    virtual bool setBackgroundOn(bool v) { return m_backgroundOn = v; }
    // The gallery world the world on screen came from.
    const GalleryOrigin& galleryOrigin() const { return m_galleryOrigin; }
    void setGalleryOrigin(const GalleryOrigin& origin) { m_galleryOrigin = origin; }
    // Every record of that gallery world: the world on screen's origin and
    // the undo's, each when it came from it. What is learnt of the world
    // (its rating, the player's stars) goes to all of them.
    std::vector<GalleryOrigin*> galleryOriginsOf(int32_t id);
    // That gallery world is forgotten (0: every one) on screen and in the undo.
    void forgetGalleryOrigin(int32_t id);
    // The world on screen is that gallery world, nothing more known of it
    // (0: none).
    void setOnlineWorldId(int32_t v)
    {
        m_galleryOrigin = GalleryOrigin{};
        m_galleryOrigin.id = v;
    }
    int32_t getOnlineWorldId() const { return m_galleryOrigin.id; }
    float getWorldRating() const { return m_galleryOrigin.rating; }
    // How many players rated the gallery world (its rating is their average).
    int32_t getWorldRatingCount() const { return m_galleryOrigin.ratings; }
    // The top bar's Undo (and Redo): the world and the undo snapshot change
    // places, each with its gallery origin.
    void undo();
    virtual CCMutableTexture2D* getWorldTexture() { return m_worldTexture; }
    virtual void setWorldTexture(CCMutableTexture2D* v) { m_worldTexture = v; }
    virtual bool getLevelMusicOn() { return m_levelMusicOn; }
    virtual bool setLevelMusicOn(bool v) { return m_levelMusicOn = v; }
    virtual bool getZoomedOut() { return m_zoomedOut; }
    virtual bool setZoomedOut(bool v) { return m_zoomedOut = v; }
    virtual bool getZoomMode() { return m_zoomMode; }
    virtual bool setZoomMode(bool v) { return m_zoomMode = v; }
    virtual GUI* getGUI() { return m_gui; }
    virtual void setGUI(GUI* v) { m_gui = v; }
    virtual GUIShare* getShareWindow() { return m_shareWindow; }
    virtual void setShareWindow(GUIShare* v) { m_shareWindow = v; }
    virtual GUIBackgrounds* getBackgroundsWindow() { return m_backgroundsWindow; }
    virtual void setBackgroundsWindow(GUIBackgrounds* v) { m_backgroundsWindow = v; }
    virtual GUIAchievement* getAchievementWindow() { return m_achievementWindow; }
    virtual void setAchievementWindow(GUIAchievement* v) { m_achievementWindow = v; }
    virtual cocos2d::CCArray* getPreviousTouches() { return m_previousTouches; }
    virtual void setPreviousTouches(cocos2d::CCArray* v) { m_previousTouches = v; }
    virtual cocos2d::CCArray* getTouches() { return m_touches; }
    virtual void setTouches(cocos2d::CCArray* v) { m_touches = v; }
    virtual bool getTouching() { return m_touching; }
    virtual bool setTouching(bool v) { return m_touching = v; }
    virtual bool getZoomEnabled() { return m_zoomEnabled; }
    virtual bool setZoomEnabled(bool v) { return m_zoomEnabled = v; }
    virtual bool getOverviewUsed() { return m_overviewUsed; }
    virtual bool setOverviewUsed(bool v) { return m_overviewUsed = v; }
    virtual bool getSuppressGoalsWindow() { return m_suppressGoalsWindow; }
    virtual bool setSuppressGoalsWindow(bool v) { return m_suppressGoalsWindow = v; }
    virtual cocos2d::CCString* getBackgroundName() { return m_backgroundName; }
    virtual void setBackgroundName(cocos2d::CCString* v) { m_backgroundName = v; }

    // Backgrounds and windows (GameLayerWindows.cpp).
    // Shows a picture of "backgrounds/Rewards/" (first) or "backgrounds/
    // Missions/" behind the world; a default picture never becomes the
    // chosen name. The on flag is not touched.
    void changeBackground(const char* name, bool isDefault);
    // On: the chosen picture; off: the plain "background.png". Returns the
    // new flag.
    bool toggleBackground();
    // The chosen picture becomes "peaceful.png", switched on.
    void resetBackground();
    void openBackgroundsWindow();
    void openShareWindow(cocos2d::CCObject* first, cocos2d::CCObject* second);
    // Today's goals, or the end of the day when none is left.
    void openGoalsWindow();
    // The goals window's day-cleared board with the unlocked elements,
    // options and backgrounds and the mana list (any may be null).
    void showDayCleared(cocos2d::CCArray* elements, cocos2d::CCArray* options, cocos2d::CCArray* backgrounds,
                        cocos2d::CCArray* mana);
    // The HUD's four menu buttons: open, switch or close their menu.
    void onElementsButton(cocos2d::CCObject* sender);
    void onToolsButton(cocos2d::CCObject* sender);
    void onWorldSettingsButton(cocos2d::CCObject* sender);
    void onWorldButton(cocos2d::CCObject* sender);

    // Universe texts: release the old string, retain the new one (null allowed).
    void setUniverseName(cocos2d::CCString* name);
    void setUniverseDescription(cocos2d::CCString* description);
    void setLoadedWorldName(cocos2d::CCString* name);
    cocos2d::CCString* getUniverseName() const { return m_universeName; }
    cocos2d::CCString* getUniverseDescription() const { return m_universeDescription; }
    cocos2d::CCString* getLoadedWorldName() const { return m_loadedWorldName; }

    // Set by the story's second day; nothing reads it yet.
    bool getStoryLevel2() const { return m_storyLevel2; }
    void setStoryLevel2(bool v) { m_storyLevel2 = v; }
    bool getPaused() const { return m_paused; }
    bool setPaused(bool v) { return m_paused = v; }
    bool getRestoreAfterBackground() const { return m_restoreAfterBackground; }
    void setRestoreAfterBackground(bool v) { m_restoreAfterBackground = v; }
    bool getOpenGalleryOnEnter() const { return m_openGalleryOnEnter; }
    void setOpenGalleryOnEnter(bool v) { m_openGalleryOnEnter = v; }
    // Set while a screen pushed over the game (the online gallery) is shown:
    // coming back, the world is as it was left, with its element, tool and
    // window; nothing is chosen or opened for it. A new scene clears it.
    bool getReturnAsItWas() const { return m_returnAsItWas; }
    void setReturnAsItWas(bool v) { m_returnAsItWas = v; }
    bool getAltDown() const { return m_altDown; }
    bool getStrokeStarted() const { return m_strokeStarted; }
    Particle* getTouchedParticle() const { return m_touchedParticle; }
    cocos2d::CCPoint getTouchBegin() const { return m_touchBegin; }

    World& getWorld() { return m_world; }
    Camera* getCamera() const { return m_camera; }
    ZoomOutView* getZoomOutView() const { return m_zoomOutView; }
    cocos2d::CCSprite* getWorldSprite() const { return m_worldSprite; }
    RandomDealer* getMusicDealer() const { return m_musicDealer; }
    // The track the last playNextLevelMusic started ("" before any).
    const std::string& getLastTrack() const { return m_lastTrack; }

    // Ticks during which the level music starts nothing (instruments set 180).
    int32_t musicHoldTicks = 0;

private:
    GameLayer();
    ~GameLayer() override;

    void buildWorldSprite(int w, int h);
    void stopToolSound();
    void playStrokeSound(const std::string& name);
    void reanchorCamera();
    void emptyTouchArrays();
    bool windowTakesTouches() const;
    // The open vehicle panel the current touch began on, if it is still open.
    GUIWindow* touchedPanel();
    // True when the creature limits refuse painting the element.
    bool creatureLimitRefuses(uint32_t type, const char** warningKey) const;
    // The stroke's start (limits, sound, undo snapshot); false when refused.
    bool startStroke(bool withSound);
    // Runs the current tool over the touch arrays, noting that this stroke
    // has been applied.
    void applyTool();
    void placeOverviewMarker();
    void onMenuButton(cocos2d::CCObject* sender, int32_t kind);
    bool backgroundsWindowShown();

    cocos2d::CCSprite* m_backgroundSprite = nullptr;
    bool m_backgroundOn = false;
    GalleryOrigin m_galleryOrigin;
    GalleryOrigin m_undoGalleryOrigin;  // of the world m_world.undoSnapshot holds
    CCMutableTexture2D* m_worldTexture = nullptr;
    bool m_levelMusicOn = true;
    bool m_zoomedOut = false;
    bool m_zoomMode = false;
    GUI* m_gui = nullptr;  // retained
    GUIShare* m_shareWindow = nullptr;
    GUIBackgrounds* m_backgroundsWindow = nullptr;
    GUIAchievement* m_achievementWindow = nullptr;  // retained
    cocos2d::CCArray* m_previousTouches = nullptr;  // retained
    cocos2d::CCArray* m_touches = nullptr;          // retained
    bool m_touching = false;
    bool m_strokeApplied = false;  // the tool has run over the current stroke's touches
    // The press went to the world: its moves and release may paint. Whatever
    // took the press (a window, the bar, a panel) keeps the touch to its end.
    bool m_pressOnWorld = false;
    bool m_zoomEnabled = false;
    bool m_overviewUsed = false;
    bool m_suppressGoalsWindow = false;
    cocos2d::CCString* m_backgroundName = nullptr;  // retained
    bool m_restoreAfterBackground = false;
    bool m_altDown = false;
    cocos2d::CCString* m_universeName = nullptr;         // retained
    cocos2d::CCString* m_loadedWorldName = nullptr;      // retained
    cocos2d::CCString* m_universeDescription = nullptr;  // retained
    Camera* m_camera = nullptr;                          // retained
    cocos2d::CCSprite* m_worldSprite = nullptr;          // a child of the layer
    RandomDealer* m_musicDealer = nullptr;               // retained
    bool m_strokeStarted = false;
    bool m_paused = false;
    ZoomOutView* m_zoomOutView = nullptr;  // retained
    World m_world;
    cocos2d::CCPoint m_touchBegin;
    Particle* m_touchedParticle = nullptr;
    // The pool id of m_touchedParticle: the long press checks that the
    // particle still lives there before touching it.
    int32_t m_touchedParticleId = -1;
    GUIWindow* m_panelTouched = nullptr;  // a vehicle panel, not retained; checked against the open panels
    bool m_openGalleryOnEnter = false;
    bool m_returnAsItWas = false;
    bool m_freeModeIntroductionDue = false;  // its delayed call is on its way
    bool m_storyLevel2 = false;
    std::string m_lastTrack;
};
