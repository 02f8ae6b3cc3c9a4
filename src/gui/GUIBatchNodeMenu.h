#pragma once
// GUIBatchNodeMenu: a sprite batch node whose GUIButton children act as a touch
// menu; its screen forwards touch began and ended to it. GUIBorderLayer covers
// the screen outside the centred 4:3 design area with two border images.
// Main thread only.
#include "cocos2d.h"

class GUIButton;

class GUIBatchNodeMenu : public cocos2d::CCSpriteBatchNode {
public:
    static GUIBatchNodeMenu* create(const char* file, unsigned int capacity);
    GUIBatchNodeMenu() = default;
    ~GUIBatchNodeMenu() override;

    // Null when the pressed button has left the menu.
    virtual GUIButton* getPressedButton();
    virtual bool getFireOnPress() { return m_fireOnPress; }
    virtual void setFireOnPress(bool fire) { m_fireOnPress = fire; }
    virtual bool hasFiredOnPress() { return m_firedOnPress; }

    void handleTouchBegan(cocos2d::CCTouch* touch);
    void handleTouchEnded(cocos2d::CCTouch* touch);

private:
    void setPressedButton(GUIButton* button);

    GUIButton* m_pressedButton = nullptr;  // retained while pressed
    cocos2d::CCPoint m_touchPoint;
    bool m_fireOnPress = false;
    bool m_firedOnPress = false;
};

class GUIBorderLayer : public cocos2d::CCLayerColor {
public:
    // Builds the whole layer (z-order 100); the caller adds and releases it.
    GUIBorderLayer();
    cocos2d::CCSprite* getLeftBorder() const { return m_left; }
    cocos2d::CCSprite* getRightBorder() const { return m_right; }

private:
    cocos2d::CCSprite* m_left = nullptr;
    cocos2d::CCSprite* m_right = nullptr;
};
