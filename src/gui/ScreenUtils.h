#pragma once
// ScreenUtils: the one place through which the game opens its modal windows
// (the shared popup, the progress bar, the text keyboard, the rate popup and
// the message pages), the window open over the scene (current) or kept aside
// while the encyclopedia is shown (saved), and the busy flag that holds GUI
// buttons back while a delayed press or a blocking request is pending.
// Every opener does nothing while its window is in the scene (the keyboard
// and rate openers rebind and reshow instead). Current and saved windows are
// not retained: a window clears itself from both when it is destroyed. The
// message pages and the world's pictures are the game's own: they go to the
// game through the toolkit's host (gui/GuiHost.h). Main thread only.
#include "cocos2d.h"

class GUIWindow;
class GUILabel;

// What the description keyboard tells the one that opened it: the text typed.
class DescriptionTarget {
public:
    virtual ~DescriptionTarget() = default;
    virtual void onDescriptionEntered(cocos2d::CCObject* text) = 0;
};

// What a started progress bar tells the screen that waits on it: it ran out.
class LoginTimeoutTarget {
public:
    virtual ~LoginTimeoutTarget() = default;
    virtual void onLoginTimeout() = 0;
};

class ScreenUtils : public cocos2d::CCObject {
public:
    static ScreenUtils* getInstance();

    virtual bool isBusy();
    virtual void setBusy(bool busy);
    virtual GUIWindow* getCurrentWindow();
    // While the current window is a box waiting for its answer, another
    // window (or none) does not replace it: the box gives that one back.
    virtual void setCurrentWindow(GUIWindow* window);
    // The current window while it is on screen (it takes the touches), or null.
    static GUIWindow* shownWindow();

    // Called by a window's destructor, and by a box that leaves with its
    // scene: forgets it wherever it is kept.
    void forgetWindow(GUIWindow* window);
    // What a window that opens now gives back when it goes: the current
    // window, or, while that one is leaving (GUIWindow::isLeaving), the
    // window it gives back.
    static GUIWindow* windowToGiveBack();

    // --- message pages -----------------------------------------------------------
    // Each attaches the message window to the game scene (z-order 30; the
    // free-mode message without one), makes it current and runs its opener;
    // nothing while the window shows, nor without a game scene (logged).
    static void showStoryIntroduction();
    static void showFreeModeIntroduction();
    static void showStoryReminder(int number);
    static void showFreeModeMessage();
    static void showOutro();

    // --- the shared popup --------------------------------------------------------
    // Kinds 0 confirm, 1 purchase, 2 message, 3 share disclaimer, 4 level
    // hints, 5 static confirm. The argument is shown when it is a text.
    static void showPopup(cocos2d::CCObject* argument, cocos2d::CCObject* confirmTarget,
                          cocos2d::SEL_CallFunc confirmSelector, cocos2d::CCObject* cancelTarget,
                          cocos2d::SEL_CallFunc cancelSelector, int kind);
    // A question (kind 0) whose OK throws away what the player keeps (a
    // saved or shared world, unsaved changes): Return answers it as Cancel,
    // only a touch on OK confirms.
    static void showLosingQuestion(cocos2d::CCString* text, cocos2d::CCObject* target, cocos2d::SEL_CallFunc selector);
    // Kind 5 with a confirming action that does nothing, or kind 2 when the
    // identifier is missing or "/". The identifier is kept.
    static void showPopupWithStaticCallback(cocos2d::CCString* identifier, cocos2d::CCString* text);
    static void showOfflinePopup();
    // A message the player must see, as a message popup: at once when the
    // popup is free, else as soon as it is and no scene is coming in. It
    // counts as seen once answered; one lost with its scene is shown again
    // over the next. A newer notice replaces one still waiting.
    static void showNotice(cocos2d::CCString* text);
    // The notice waiting or on screen (null when none): tests.
    static cocos2d::CCString* pendingNotice();
    static void dropNoticeForTests();
    static void showMainMenuPopup() { }
    static cocos2d::CCString* getStaticCallbackIdentifier();

    // --- the progress bar ----------------------------------------------------------
    static void showUploadProgress();
    // The bar calls onLoginTimeout on the target (a LoginTimeoutTarget, the
    // name screen) at 100.
    static void showProgress(cocos2d::CCObject* target);
    static void completeProgress();
    // The bar's failure (red, then its result and OK).
    static void showProgressFailure();
    // Runs done on the target once the player has an account on the server:
    // at once when there is one. Else the profile's own registration runs
    // (the nickname keyboard first when the player has none) and done
    // follows its success. A request it sends shows on the progress bar (a
    // new bar takes the caption and closes by itself on success; one that
    // shows already keeps its own), and its failure there runs failed.
    static void whenRegistered(cocos2d::CCObject* target, cocos2d::SEL_CallFunc done, cocos2d::SEL_CallFunc failed,
                               cocos2d::CCString* caption);

    // --- the keyboard ------------------------------------------------------------
    // The binding lives from an opening to the next one; label and target are
    // retained meanwhile. The keyboard opens on the label's text; with a hint
    // it opens empty instead, the hint shown until the first key. With a
    // label and a width the text is a description, told to the target when
    // it is a DescriptionTarget.
    static void showKeyboardWithLabel(GUILabel* label, float width, cocos2d::CCObject* target,
                                      cocos2d::CCString* hint = nullptr);
    // With dismissed, the back key leaves without a text and tells the target.
    static void showKeyboard(GUILabel* label, cocos2d::CCObject* target, cocos2d::SEL_CallFuncO selector,
                             cocos2d::CCString* hint = nullptr, cocos2d::SEL_CallFunc dismissed = nullptr);
    // The player's name for the profile target; a hint opens it empty. Its
    // back key leaves it without a name.
    static void showNicknameKeyboard(cocos2d::CCString* text, cocos2d::CCObject* target,
                                     cocos2d::CCString* hint = nullptr);
    static void setKeyboardText();
    // The back key leaves this opening's keyboard without a text (the
    // nickname); dismissKeyboard tells its target so.
    static bool keyboardBackDismisses();
    static void dismissKeyboard();
    // The window to give back when the keyboard closes (retained; null once given).
    static GUIWindow* keyboardPreviousWindow();
    static void takeKeyboardPreviousWindow();
    static GUILabel* keyboardTargetLabel();
    static cocos2d::CCObject* keyboardCallbackTarget();
    // Tests: drop the binding.
    static void clearKeyboardBindingForTests();

    // --- pictures (ScreenUtilsPictures.cpp) ----------------------------------------
    // The world one pixel per cell (texture row 0 at the bottom): a cell's
    // own colour, else the background picture's when it is switched on, else
    // dark grey-blue. Autoreleased.
    static cocos2d::CCSprite* createWorldSnapshot();
    // The visible 4:3 area of the running scene; the caller releases it.
    static cocos2d::CCImage* renderScreenToImage();
    // The node at its content size, rows top first; the caller releases it.
    static cocos2d::CCImage* renderNodeToImage(cocos2d::CCNode* node);
    // A saved world's thumbnail (".sav" -> ".png"), from the save folder's
    // copy or fetched from the cloud store into it; null when there is none.
    static cocos2d::CCSprite* loadThumbnailSprite(cocos2d::CCString* worldName);

    // --- the rate popup ------------------------------------------------------------
    static void showRatePopup(float rating, cocos2d::CCObject* target);

    // --- hooks after analytics events -----------------------------------------------
    static void trackButton();
    static void trackScreen();
    // trackButton as an action.
    void trackButtonPressed() { trackButton(); }
    // The static confirm's action: nothing.
    void staticCallback() { }
    // Every frame while a notice waits or shows.
    void watchNotice(float);

    // Read and written directly by the screens that leave the game and come back.
    GUIWindow* savedWindow = nullptr;

private:
    ScreenUtils() = default;

    bool m_busy = false;
    GUIWindow* m_currentWindow = nullptr;
};
