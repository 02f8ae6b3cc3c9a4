#pragma once
// GameLayer: the game scene's layer and singleton, owner of the running
// simulation. Part of the game layer above the world: the world reaches it
// only through the game's WorldHost (world/GameHost.h). Only the part the
// world core needs exists so far: a colour layer that the world's overlays
// are added to, the world texture, the state the host answers from (paused,
// zoomed out, touches) and musicHoldTicks. The scene, input, tick, world sprite, camera, backgrounds
// and windows come with the game layer's own work.
#include <cstdint>

#include "cocos2d.h"

class CCMutableTexture2D;
class GUI;

class GameLayer : public cocos2d::CCLayerColor {
public:
    static GameLayer* getInstance();
    // Tests: drop the singleton so the next getInstance starts clean.
    static void resetInstanceForTests();

    CCMutableTexture2D* getWorldTexture() const { return m_worldTexture; }
    // Retains the new texture, releases the old one.
    void setWorldTexture(CCMutableTexture2D* texture);

    bool getZoomedOut() const { return m_zoomedOut; }
    bool setZoomedOut(bool v) { return m_zoomedOut = v; }
    bool getPaused() const { return m_paused; }
    bool setPaused(bool v) { return m_paused = v; }
    bool getTouching() const { return m_touching; }
    bool setTouching(bool v) { return m_touching = v; }
    cocos2d::CCArray* getTouches() const { return m_touches; }
    void setTouches(cocos2d::CCArray* touches) { m_touches = touches; }
    cocos2d::CCArray* getPreviousTouches() const { return m_previousTouches; }
    void setPreviousTouches(cocos2d::CCArray* touches) { m_previousTouches = touches; }
    GUI* getGUI() const { return m_gui; }
    void setGUI(GUI* gui) { m_gui = gui; }

    // Rebuilds the world texture at 240 x 160 (big) or 120 x 80.
    void resizeWorldView(bool big);

    // Ticks during which the level music starts nothing (instruments set 180).
    int32_t musicHoldTicks = 0;

private:
    GameLayer();
    ~GameLayer() override;

    CCMutableTexture2D* m_worldTexture = nullptr;  // retained
    bool m_zoomedOut = false;
    bool m_paused = false;
    bool m_touching = false;
    cocos2d::CCArray* m_touches = nullptr;
    cocos2d::CCArray* m_previousTouches = nullptr;
    GUI* m_gui = nullptr;
};
