#pragma once
// The base of the boxes (a popup, the progress bar, the rate popup): a window
// set over the running scene that waits for the player's answer. While it
// waits it takes the keys before any window, as it takes the touches, and a
// window that opens meanwhile opens beneath it. It answers only presses that
// go down once its opening has run (GUIWindow::takesPresses), and one. Once
// answered it gives the keys back at once and, when it has gone, the window
// it came from. A scene that is left takes it unanswered. Each box says what
// its keys answer and what its answer does. Main thread only.
#include "gui/GUIWindow.h"

class GUIBox : public GUIWindow {
public:
    // Answered: it is on its way out.
    bool isAnswered() const { return m_answered; }
    // The window made current again when it goes.
    GUIWindow* getPreviousWindow() const { return m_previousWindow; }

    bool awaitsAnswer() const final { return getParent() && !m_answered; }
    bool isLeaving() const final { return getParent() && m_answered; }
    GUIWindow* windowAfterLeaving() const final { return m_previousWindow; }
    void giveBackOnLeaving(GUIWindow* window) final { setPreviousWindow(window); }
    // The back key and Return, once fully shown; other typed keys stop here.
    void onBackPressed() final;
    void onTextTyped(const char* text, int len) final;
    void onExit() override;

protected:
    GUIBox() { m_fullyShown = false; }
    ~GUIBox() override;

    // Built to show anew: unanswered, taking no presses yet, and giving back
    // the window in front now (or the one a leaving window gives back).
    // Built again while it is in front, it keeps the one it came from.
    void prepare();
    // Up: the keys come here first. Its opening (GUIWindow::startOpening)
    // starts now, or, for a box whose answer shows later (a progress bar's
    // OK), when it calls startOpening.
    void waitForAnswer(bool openNow = true);
    // The answer, once: false when it has one already or is not up. The keys
    // go at once to what is beneath.
    bool takeAnswer();
    // Its fade is over: the window it came from is current again, unless
    // another took the front meanwhile, and it leaves the scene.
    void leave();
    virtual void answerBackKey() = 0;
    virtual void answerReturn() = 0;
    // Its scene went with it unanswered: what the answer would do is dropped.
    virtual void forgetAnswer() { }
    void setPreviousWindow(GUIWindow* window);

private:
    bool goesWithItsScene() const final { return true; }
    void leftWithScene() final;

    GUIWindow* m_previousWindow = nullptr;  // retained
    bool m_answered = false;
};
