#pragma once
// Three variations on the button: a slider that turns a touch position into an
// integer value, a hold button that acts while a touch rests on it, and the
// top bar's draw/pan toggle. Windows and menus route touches to the first two,
// which have no activation of their own. Main thread only.
#include "gui/GUIButton.h"

class GUISlider : public GUIButton {
public:
    enum Kind { Knob = 1, Stepped = 2 };
    enum Orientation { Horizontal = 1, Vertical = 2 };

    ~GUISlider() override;

    // The button's own set-up stays callable beside the slider's.
    using GUIButton::initWithFrameName;

    // valueRange (min, max), positionRange (from, to). Null and a log line
    // when the frame is missing. Makes no caption and does not enable.
    GUISlider* initWithFrameName(cocos2d::CCString* frameName, const cocos2d::CCPoint& valueRange,
                                 const cocos2d::CCPoint& positionRange);

    virtual int getValue() { return m_value; }
    virtual void setValue(int value) { m_value = value; }
    void activate() override { }

    void setSteps(cocos2d::CCArray* steps);
    void refreshSteps();
    void positionKnob();
    void handleTouch(cocos2d::CCTouch* touch);

    // The value before truncation, from the last touch.
    float getSliderPosition() const { return m_position; }
    int getKind() const { return m_kind; }
    void setKind(int kind) { m_kind = kind; }
    int getOrientation() const { return m_orientation; }
    void setOrientation(int orientation) { m_orientation = orientation; }
    cocos2d::CCSprite* getKnob() const { return m_knob; }
    void setKnob(cocos2d::CCSprite* knob) { m_knob = knob; }
    cocos2d::CCArray* getSteps() const { return m_steps; }
    void setPositionRange(const cocos2d::CCPoint& range) { m_positionRange = range; }
    void setValueRange(const cocos2d::CCPoint& range) { m_valueRange = range; }

private:
    int m_value = 0;
    float m_position = 0.0f;
    int m_kind = 0;
    int m_orientation = 0;
    cocos2d::CCSprite* m_knob = nullptr;
    cocos2d::CCArray* m_steps = nullptr;  // retained
    cocos2d::CCPoint m_positionRange;
    cocos2d::CCPoint m_valueRange;
};

class GUIDynamicButton : public GUIButton {
public:
    static GUIDynamicButton* create(cocos2d::CCObject* pressAction, cocos2d::CCObject* releaseAction,
                                    const char* frameName);
    ~GUIDynamicButton() override;

    void activate() override { }
    // A free button pressed by a touch inside it; the holding touch leaving it
    // releases it.
    void updateHold(cocos2d::CCTouch* touch);
    // The holding touch ended: release wherever it is.
    void endHold(cocos2d::CCTouch* touch);
    bool isTouchInside(cocos2d::CCTouch* touch);
    cocos2d::CCTouch* getHoldingTouch() const { return m_holdingTouch; }
    bool isHeldBy(cocos2d::CCTouch* touch) const { return touch && m_holdingTouch == touch; }

private:
    void hold(cocos2d::CCTouch* touch);
    void letGo();

    cocos2d::CCTouch* m_holdingTouch = nullptr;    // retained while held, so it is never a stale pointer
    cocos2d::CCObject* m_pressAction = nullptr;    // retained
    cocos2d::CCObject* m_releaseAction = nullptr;  // retained
};

// The pair of top-bar buttons of which one shows at a time (the draw/pan
// toggle of the magnified view). The record keeps both buttons alive; the
// owner adds them where they show and deletes the record.
struct DrawPanToggle {
    DrawPanToggle() = default;
    DrawPanToggle(const DrawPanToggle&) = delete;
    DrawPanToggle& operator=(const DrawPanToggle&) = delete;
    ~DrawPanToggle();
    GUIButton* drawButton = nullptr;  // retained
    GUIButton* panButton = nullptr;   // retained
    int mode = 0;                     // 0 draw, 1 pan
    GUIButton* currentButton() const { return mode == 0 ? drawButton : panButton; }
};

// Both buttons hidden, sharing the callback.
DrawPanToggle* createDrawPanToggle(cocos2d::CCObject* callback);
// Swaps the two buttons and the mode, only while one of them shows.
void switchDrawPanToggle(DrawPanToggle* toggle);
