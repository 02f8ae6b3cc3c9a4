#pragma once
// GUIIngameMessage: the window that lays picture pages over the running game:
// the story and free-mode introductions, the reminders of story days 2 to 4,
// the offer of free mode (two choices) and the closing page. One window for
// the run, never freed. It does not slide: a ScreenUtils wrapper attaches it
// to the game scene and makes it the current window (the world stands
// still), an opener builds the first page, each press of the page's button
// runs the sequence's step, and the last step fades the window out and runs
// one of three finishing operations (back to the game, out of the game
// scene, or on to free mode). Pages only go forwards; once a close has begun
// every press is ignored. The top bar is locked on every page but the
// choice page. Main thread only.
#include <cstdint>

#include "cocos2d.h"
#include "gui/GUIWindow.h"

class GUIButton;

class GUIIngameMessage : public GUIWindow {
public:
    static constexpr int kZOrder = 30;
    static constexpr float kFadeSeconds = 0.3f;
    // The page's panel, inside its border, in the background's units; the
    // picture stands at its left, the text beside it runs to its right edge.
    static constexpr float kPanelLeft = 2, kPanelRight = 253, kPanelTop = 159;
    static constexpr float kPictureX = 4, kPictureY = 16;
    static constexpr float kTextX = 64, kTextWidth = 182.0f;
    // Two font pixels between a line's descenders and the next line's letters.
    static constexpr float kLineSpacing = 2.0f;

    // One standard page of a sequence: picture and highlight are frame names
    // of the intro sheet (null for none); the highlight point is in the top
    // bar's units and placed at ((x + 1) x 1.0625, y + 29.75).
    struct Page {
        const char* picture;
        const char* textKey;
        const char* highlight;
        float highlightX, highlightY;
    };

    static GUIIngameMessage* getInstance();
    // Null until the first getInstance.
    static GUIIngameMessage* existingInstance();
    static void resetInstanceForTests();
    // Where a highlight point lands on the page background.
    static cocos2d::CCPoint highlightPlacement(float x, float y);

    bool initWithSize(cocos2d::CCSize size) override;

    virtual bool isStoryIntroDone() { return m_storyIntroDone; }
    virtual bool& getFreeModeIntroDone() { return m_freeModeIntroDone; }
    virtual void setFreeModeIntroDone(const bool& done) { m_freeModeIntroDone = done; }
    virtual bool isFreeModeMessageDone() { return m_freeModeMessageDone; }

    // --- the sequences (openers and steps) --------------------------------------
    void showStoryIntro();
    void showStoryIntroPage();
    void showFreeModeIntro();
    void showFreeModeIntroPage();
    // Days 2, 3 and 4; any other day closes the window again.
    void showStoryReminder(int day);
    void showReminderDay2Page();
    void showReminderDay3Page();
    void showReminderDay4Page();
    void showFreeModeMessage();
    void showFreeModeMessagePage();
    // The closing page's step; ScreenUtils::showOutro does the opener's part.
    void showOutro();

    // --- pages --------------------------------------------------------------------
    void buildPage(cocos2d::CCString* textKey, cocos2d::SEL_CallFunc callback, cocos2d::CCString* picture,
                   cocos2d::CCString* highlight, bool isLast, const cocos2d::CCPoint& highlightPoint);
    void buildChoicePage(cocos2d::CCString* textKey, cocos2d::CCString* picture);

    // --- ends ---------------------------------------------------------------------
    void closeToGame();
    void closeToPreviousScene();
    void closeToFreeMode();
    void onClosedToGame();
    void onClosedToPreviousScene();
    void onClosedToFreeMode();
    void onChoseFreeMode();
    void onChoseStoryMode();

    // --- state ----------------------------------------------------------------------
    int32_t getPageIndex() const { return m_pageIndex; }
    void setPageIndex(int32_t index) { m_pageIndex = index; }
    // The page background: every page node is its child.
    cocos2d::CCSprite* getBackground() const { return m_background; }
    // The Next or OK button of the page on show; null on the choice page.
    GUIButton* getPageButton() const { return m_pageButton; }
    GUIButton* getFreeModeChoiceButton() const { return m_freeModeButton; }
    GUIButton* getStoryModeChoiceButton() const { return m_storyModeButton; }
    bool isClosing() const { return m_closing; }
    bool isChoicePage() const { return m_choicePage; }
    // Attached to a scene.
    bool isShowing() { return getParent() != nullptr; }
    // Whether the top bar must stay locked now: showing, not on the choice
    // page. Windows that unlock the bar when they close ask this first.
    bool holdsTopBarLocked() { return isShowing() && !m_closing && !m_choicePage; }
    // The opener's common start: bar locked, page index 0, full opacity,
    // presses taken again. The outro's wrapper calls it too.
    void startSequence();

private:
    GUIIngameMessage() = default;

    // One press of a sequence's button: the page step over a table.
    void step(const Page* pages, int count, cocos2d::SEL_CallFunc self, void (GUIIngameMessage::*end)());
    // Removes the page nodes; the index moves on; sound from the second page.
    bool beginStep();
    void addPageText(cocos2d::CCString* textKey, cocos2d::CCString* picture);
    // Fades the page out, then runs the finishing operation.
    void fadeOutTo(cocos2d::SEL_CallFunc finish);
    // Clears the current window and detaches; the openers' "already done".
    void dismiss();
    // Out of the scene, back to the game: the notices held for the page come.
    void detach();
    void endStoryIntro();
    void endFreeModeIntro();
    void endReminder();
    void endOutro();
    void choose(bool freeMode);

    int32_t m_pageIndex = 0;
    bool m_storyIntroDone = false;
    bool m_freeModeIntroDone = false;
    bool m_freeModeMessageDone = false;
    bool m_closing = false;
    bool m_choicePage = false;
    cocos2d::CCSprite* m_background = nullptr;
    cocos2d::CCLayerColor* m_dimming = nullptr;
    GUIButton* m_pageButton = nullptr;
    GUIButton* m_freeModeButton = nullptr;
    GUIButton* m_storyModeButton = nullptr;
};
