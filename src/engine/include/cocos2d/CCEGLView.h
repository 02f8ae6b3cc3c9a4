#pragma once
#include <string>
#include <vector>

#include "cocos2d/CCGeometry.h"
#include "cocos2d/ccMacros.h"

NS_CC_BEGIN

class CCImage;
class CCTouch;
class ViewBackend;

enum CCRunMode {
    kCCRunModeWindow = 0,
    kCCRunModeSoftware,
    kCCRunModeHeadless,
};

// Key-state numbers for isKeyDown, and the key codes simulateKey takes.
enum {
    kCCKeyBackspace = 8,
    kCCKeyEnter = 13,
    kCCKeyAlt = 18,
    kCCKeyBack = 27,
    kCCKeySpace = 32,
    kCCKeyPageUp = 33,
    kCCKeyPageDown = 34,
    kCCKeyLeft = 37,
    kCCKeyUp = 38,
    kCCKeyRight = 39,
    kCCKeyDown = 40,
    kCCKeyMenu = 93,
};

// The view: the 800 x 600 frame, the window around it and the input that
// arrives through it. The platform part (window, renderer, events) sits
// behind a backend chosen by the run mode; headless has none of it.
class CCEGLView {
public:
    // Must be called before the first sharedOpenGLView(); later calls are
    // refused with a log line.
    static void setRunMode(CCRunMode mode);
    static CCRunMode getRunMode();
    static CCEGLView* sharedOpenGLView();

    void setViewName(const char* name);
    const std::string& getViewName() const { return m_viewName; }
    // The frame and logical size; unchanged by full screen.
    void setFrameSize(float width, float height);
    CCSize getFrameSize() const { return m_frameSize; }

    // 108: "images/app_icon.png", 109: "images/app_cursor.png". A missing
    // file keeps the default and logs a line.
    void setIconResource(int id);
    void setCursorResource(int id);

    // Desktop full screen, letterboxed; the arguments are ignored. A window
    // kept for development (ENGINE_WINDOWED) stays one: isFullscreen() says
    // what the view is, not what was asked.
    void enterFullscreen(int width, int height);
    // Back to a width x height window where the window was before full
    // screen; the other arguments are ignored.
    void exitFullscreen(int x, int y, int width, int height, int a, int b);
    bool isFullscreen() const { return m_bFullscreen; }
    // (ext) The window's size outside full screen: the frame size, until
    // exitFullscreen gives another.
    CCSize getWindowSize() const { return m_windowSize; }

    // Frame pixels, origin at the bottom left. Not nested: a new rectangle
    // replaces the previous one.
    void enableScissor(int x, int y, int width, int height);
    void disableScissor();
    bool isScissorEnabled() const { return m_bScissor; }
    // (ext) The current clip rectangle.
    CCRect getScissorRect() const { return m_scissorRect; }

    // Whether the key is held now (kCCKeyAlt means either Alt key).
    bool isKeyDown(int key) const;
    // (ext) Sets the held state seen by isKeyDown.
    void setKeyDown(int key, bool down);

    // (ext) Input entry points; they dispatch at once. GL points are
    // converted to view points with (x, frameHeight - y). One id keeps one
    // CCTouch object from began to ended; a began on an id already held
    // cancels the old touch first.
    void simulateTouchBegan(int id, const CCPoint& glPoint, bool right = false);
    void simulateTouchMoved(int id, const CCPoint& glPoint, bool right = false);
    void simulateTouchEnded(int id, const CCPoint& glPoint, bool right = false);
    void simulateTouchCancelled(int id, const CCPoint& glPoint, bool right = false);
    // Cancels every held touch.
    void cancelAllTouches();
    // Back, menu and Enter ignore repeats; arrows and pages send a press on
    // every repeat and a release; Enter types "\n"; Backspace deletes
    // backward on every repeat.
    // Alt, Space and the arrows also update the key state.
    void simulateKey(int code, bool pressed, bool repeat = false);
    // Wheel notches: positive is up (arrow code 8), negative down (9); no
    // release is sent.
    void simulateWheel(int notches);
    // To the attached input-method delegate in one call, and one
    // keyBoardChar per character to the keypad delegates.
    void simulateText(const char* utf8);
    // Focus loss cancels held touches and calls the application's
    // applicationDidEnterBackground once; regaining it calls
    // applicationWillEnterForeground once. The calls always pair.
    void simulateFocus(bool focused);
    bool isInBackground() const { return m_bInBackground; }
    // (ext) Touches currently held.
    unsigned activeTouchCount() const { return (unsigned)m_touches.size(); }
    // (ext) Software mode: the last drawn frame as an upright picture (count
    // 1; the caller releases it); null in the other modes.
    CCImage* captureFrame() const;

    // (ext) Drops held touches (without dispatching), key state, scissor and
    // full screen, and restores the 800 x 600 frame.
    void resetForTests();

    // The platform backend (internal to the layer).
    ViewBackend* getBackend() const { return m_pBackend; }

private:
    CCEGLView();
    struct ActiveTouch {
        int id;
        CCTouch* touch;  // retained
        bool right;
    };
    ActiveTouch* findTouch(int id);
    void dispatchTouch(ActiveTouch& active, int phase);
    void finishTouch(int id, const CCPoint* glPoint, int phase);
    void setResource(int id, bool icon);

    ViewBackend* m_pBackend = nullptr;
    std::string m_viewName;
    CCSize m_frameSize{800, 600};
    CCSize m_windowSize{800, 600};
    bool m_bFullscreen = false;
    bool m_bScissor = false;
    CCRect m_scissorRect;
    std::vector<int> m_keysDown;
    std::vector<ActiveTouch> m_touches;
    bool m_bInBackground = false;
};

NS_CC_END
