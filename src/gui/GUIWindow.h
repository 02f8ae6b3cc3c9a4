#pragma once
// The base of every window that slides up from the bottom edge over a scene.
// It owns the 0.2 s open/close slide and its four states, lets only one window
// be open at a time (through ScreenUtils), takes the back key first while open,
// and turns the touches its owner scene forwards into button presses, scroll
// drags, slider steps and holds. Main thread only.
#include <cstdint>

#include "gui/BackButton.h"
#include "cocos2d.h"

class GUIButton;
class GUIScroll;
class SlidingLayer;

class GUIWindow : public cocos2d::CCLayer, public BackButtonListener {
public:
    enum State { Closed = 0, Opening = 1, Open = 2, Closing = 3 };
    static constexpr float kSlideSeconds = 0.2f;
    static constexpr float kPressSeconds = 0.2f;
    static constexpr float kMoveCancel = 10.0f;

    GUIWindow() = default;
    ~GUIWindow() override;

    virtual bool initWithSize(cocos2d::CCSize size);
    virtual int getState() { return m_state; }
    virtual bool getRemoveOnClose() { return m_removeOnClose; }
    virtual void setRemoveOnClose(bool remove) { m_removeOnClose = remove; }

    void toggle();
    void open();
    void close();
    void handleTouchBegan(cocos2d::CCTouch* touch);
    void handleTouchMoved(cocos2d::CCTouch* touch);
    void handleTouchEnded(cocos2d::CCTouch* touch);
    void firePressedButton();
    void keyArrowPressed(int code) override;
    void onExit() override;
    // A touch that began outside the touch area (see setTouchArea); the
    // base does nothing with it.
    virtual void onTouchOutside() { }
    // What ScreenUtils asks of the window in front; GUIBox answers for the
    // boxes. A window that has had its answer and is on its way out: a
    // window opening meanwhile gives back the one this gives back, never
    // this (ScreenUtils::windowToGiveBack).
    virtual bool isLeaving() const { return false; }
    virtual GUIWindow* windowAfterLeaving() const { return nullptr; }
    // A box that is up and not yet answered: it keeps the touches and the
    // keys, and a window that opens meanwhile opens beneath it
    // (ScreenUtils::setCurrentWindow).
    virtual bool awaitsAnswer() const { return false; }
    bool keepsFront() const override { return awaitsAnswer(); }
    // The window a box makes current again when it goes.
    virtual void giveBackOnLeaving(GUIWindow*) { }
    // A window takes presses at once. One that waits for the player's answer
    // (a box, the keyboard, the day-cleared board) takes them only once it
    // has been on screen this long: never the press that opened it, nor the
    // second one of a double click or a bouncing key. A touch that goes down
    // while it takes none is ignored through its release; its keys check
    // takesPresses themselves.
    bool takesPresses() const { return m_fullyShown; }
    static constexpr float kOpeningSeconds = 0.35f;
    // Ends the opening at once (a scripted player that has read the window).
    void finishOpening(float = 0);

    const cocos2d::CCSize& getSize() const { return m_size; }
    GUIButton* getPressedButton() const { return m_pressedButton; }
    cocos2d::CCNode* getButtonContainer() const { return m_buttonContainer; }
    GUIScroll* getScroll() const { return m_scroll; }
    bool isTouching() const { return m_touching; }

protected:
    // A window opens over no other open or opening window, and not while it
    // is opening itself.
    bool mayOpenAsCurrent() const;
    // Opens, shows and becomes the current window.
    void openAsCurrent();
    // The end of a slide (the target of the slide's call-back).
    void slideFinished();
    // Holds the button while it is pressed; null forgets it.
    void setPressedButton(GUIButton* button);
    // The pressed button if it is still in a tree; else forgets it.
    GUIButton* livePressedButton();
    // Where a closed window with removeOnClose goes.
    virtual void handOverClosedWindow();
    // A box ScreenUtils sets over the running scene (a popup, the keyboard,
    // a progress or rate popup): when that scene is left under it, it goes
    // with the scene unanswered, and holds neither the touches nor the keys
    // of the next one. leftWithScene forgets what its answer would have done.
    virtual bool goesWithItsScene() const { return false; }
    virtual void leftWithScene() { }
    // No presses until startOpening has run its course (a box whose answer
    // shows later).
    void holdPresses();
    // Presses count kOpeningSeconds from now.
    void startOpening();
    // The node (a panel) whose box takes the window's touches: one that
    // begins outside it goes to onTouchOutside. Null: the whole window.
    void setTouchArea(cocos2d::CCNode* area);

    cocos2d::CCSize m_size;
    cocos2d::CCSpriteBatchNode* m_batchNode = nullptr;
    cocos2d::CCNode* m_buttonContainer = nullptr;
    cocos2d::CCPoint m_lastTouchPoint;
    GUIButton* m_pressedButton = nullptr;  // retained while pressed
    GUIScroll* m_scroll = nullptr;
    SlidingLayer* m_slidingLayer = nullptr;
    cocos2d::CCNode* m_touchArea = nullptr;  // retained
    int32_t m_scrollMin = 0;
    int32_t m_scrollMax = 0;
    bool m_touching = false;
    bool m_pressIgnored = false;  // the touch now down went down while no presses were taken
    bool m_fullyShown = true;     // presses count (see takesPresses)
    int32_t m_state = Closed;
    bool m_removeOnClose = false;
};
