#pragma once
// GUITopBar: the strip of buttons along the top of the game screen.
// NOT BUILT YET: a stand-in window that is never blocked, never in its pan
// state and shows no notification; a notification it is asked for (a
// creature limit warning) is logged instead, and icon changes are logged
// once.
#include <string>

#include "cocos2d.h"
#include "gui/GUIWindow.h"

class GUITopBar : public GUIWindow {
public:
    static GUITopBar* getInstance();
    // Tests: drop the singleton.
    static void resetInstanceForTests();

    bool isBlocked() const { return m_blocked; }
    void setBlocked(bool v) { m_blocked = v; }
    // Touches pan the magnified view while set.
    bool isPanning() const { return m_panning; }
    void setPanning(bool v) { m_panning = v; }
    // Inverts the pan flag and swaps the draw/pan toggle's buttons.
    void switchDrawPanToggle();
    bool hasNotification() const { return false; }
    void showNotification(cocos2d::CCString* text);
    void setZoomButtonIcon(const char* frame);
    void unpressZoomButton();
    void showZoomToggle(bool shown);
    void setUndoButtonIcon(const char* frame);
    void setToolIcon(const std::string& tool);
    void updateMana();
    void buildFreeModeBar();

private:
    GUITopBar() = default;
    bool m_blocked = false;
    bool m_panning = false;
};
