#include "cocos2d/CCEGLView.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/EngineLog.h"
#include "cocos2d/CCApplication.h"
#include "cocos2d/CCDirector.h"
#include "cocos2d/CCFileUtils.h"
#include "cocos2d/CCIMEDispatcher.h"
#include "cocos2d/CCKeypadDispatcher.h"
#include "cocos2d/CCSet.h"
#include "cocos2d/CCTouch.h"
#include "cocos2d/CCTouchDispatcher.h"
#include "view/ViewBackend.h"

NS_CC_BEGIN

namespace {

// ENGINE_RENDERER=software draws the real game offscreen, with no display
// (unattended runs); unset or "window" is the window.
CCRunMode defaultRunMode()
{
    const char* renderer = std::getenv("ENGINE_RENDERER");
    if (!renderer || !*renderer || std::strcmp(renderer, "window") == 0) {
        return kCCRunModeWindow;
    }
    if (std::strcmp(renderer, "software") == 0) {
        return kCCRunModeSoftware;
    }
    engineLog("ENGINE_RENDERER=%s ignored: software or window", renderer);
    return kCCRunModeWindow;
}

struct ViewState {
    CCRunMode mode = defaultRunMode();
    CCEGLView* view = nullptr;
};

ViewState& viewState()
{
    static ViewState* state = new ViewState();
    return *state;
}

CCEvent* sharedEvent()
{
    static CCEvent* event = new CCEvent();
    return event;
}

// Arrow codes of the keypad delegates.
int arrowCodeFor(int key)
{
    switch (key) {
    case kCCKeyUp: return 1;
    case kCCKeyDown: return 2;
    case kCCKeyLeft: return 3;
    case kCCKeyRight: return 4;
    case kCCKeyPageUp: return 8;
    case kCCKeyPageDown: return 9;
    default: return 0;
    }
}

bool isStateKey(int key)
{
    return key == kCCKeyAlt || key == kCCKeySpace || key == kCCKeyLeft || key == kCCKeyUp || key == kCCKeyRight ||
        key == kCCKeyDown;
}

// Decodes one UTF-8 sequence at text[i]; malformed bytes come out as U+FFFD
// one byte at a time.
int decodeUtf8(const unsigned char* text, size_t len, size_t& i)
{
    unsigned char c = text[i];
    if (c < 0x80) {
        ++i;
        return c;
    }
    int extra = (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + extra >= len) {
        ++i;
        return 0xFFFD;
    }
    int cp = c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        unsigned char cc = text[i + k];
        if ((cc & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    i += extra + 1;
    return cp;
}

}  // namespace

void CCEGLView::setRunMode(CCRunMode mode)
{
    ViewState& state = viewState();
    if (state.view) {
        if (mode != state.mode) {
            engineLog("setRunMode: the view exists already; the run mode stays as it is");
        }
        return;
    }
    state.mode = mode;
}

CCRunMode CCEGLView::getRunMode()
{
    return viewState().mode;
}

CCEGLView* CCEGLView::sharedOpenGLView()
{
    ViewState& state = viewState();
    if (!state.view) {
        state.view = new CCEGLView();
    }
    return state.view;
}

CCEGLView::CCEGLView()
{
    CCRunMode mode = viewState().mode;
    if (mode != kCCRunModeHeadless) {
        m_pBackend = createPlatformBackend(mode);
        if (!m_pBackend) {
            engineLog("the window and software modes are not available in this build; running headless");
        }
    }
    if (!m_pBackend) {
        m_pBackend = createHeadlessBackend();
    }
    CCDirector* director = CCDirector::sharedDirector();
    if (!director->getOpenGLView()) {
        director->setOpenGLView(this);
    }
}

void CCEGLView::setViewName(const char* name)
{
    m_viewName = name ? name : "";
    m_pBackend->setTitle(m_viewName);
}

void CCEGLView::setFrameSize(float width, float height)
{
    if (!(width > 0.0f) || !(height > 0.0f)) {
        engineLog("setFrameSize: %.0f x %.0f refused", width, height);
        return;
    }
    m_frameSize = CCSize(width, height);
    m_windowSize = m_frameSize;
    m_pBackend->setFrameSize(static_cast<int>(width), static_cast<int>(height));
}

void CCEGLView::setResource(int id, bool icon)
{
    const char* name = id == 108 ? "images/app_icon.png" : id == 109 ? "images/app_cursor.png" : nullptr;
    if (!name) {
        engineLog("%s resource %d is unknown; the default stays", icon ? "icon" : "cursor", id);
        return;
    }
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    std::string path = files->fullPathForFilename(name);
    if (!files->isFileExist(path)) {
        engineLog("%s %s is missing; the default stays", icon ? "icon" : "cursor", path.c_str());
        return;
    }
    bool ok = icon ? m_pBackend->setIcon(path) : m_pBackend->setCursor(path);
    if (!ok) {
        engineLog("%s %s cannot be used; the default stays", icon ? "icon" : "cursor", path.c_str());
    }
}

void CCEGLView::setIconResource(int id)
{
    setResource(id, true);
}

void CCEGLView::setCursorResource(int id)
{
    setResource(id, false);
}

void CCEGLView::enterFullscreen(int width, int height)
{
    (void)width;
    (void)height;
    m_bFullscreen = m_pBackend->setFullscreen(true, 0, 0);
}

void CCEGLView::exitFullscreen(int x, int y, int width, int height, int a, int b)
{
    (void)x;
    (void)y;
    (void)a;
    (void)b;
    if (width > 0 && height > 0)
        m_windowSize = CCSize(static_cast<float>(width), static_cast<float>(height));
    m_bFullscreen = m_pBackend->setFullscreen(false, width, height);
}

void CCEGLView::enableScissor(int x, int y, int width, int height)
{
    m_bScissor = true;
    m_scissorRect =
        CCRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width), static_cast<float>(height));
    m_pBackend->setScissor(true, x, y, width, height);
}

void CCEGLView::disableScissor()
{
    m_bScissor = false;
    m_scissorRect = CCRectZero;
    m_pBackend->setScissor(false, 0, 0, 0, 0);
}

bool CCEGLView::isKeyDown(int key) const
{
    if (std::find(m_keysDown.begin(), m_keysDown.end(), key) != m_keysDown.end()) {
        return true;
    }
    return m_pBackend->isKeyDown(key);
}

void CCEGLView::setKeyDown(int key, bool down)
{
    auto it = std::find(m_keysDown.begin(), m_keysDown.end(), key);
    if (down && it == m_keysDown.end()) {
        m_keysDown.push_back(key);
    } else if (!down && it != m_keysDown.end()) {
        m_keysDown.erase(it);
    }
}

// --- touches ---------------------------------------------------------------------

CCEGLView::ActiveTouch* CCEGLView::findTouch(int id)
{
    for (ActiveTouch& t : m_touches) {
        if (t.id == id) {
            return &t;
        }
    }
    return nullptr;
}

void CCEGLView::dispatchTouch(ActiveTouch& active, int phase)
{
    CCTouchDispatcher* dispatcher = CCDirector::sharedDirector()->getTouchDispatcher();
    CCSet* set = new CCSet();
    set->addObject(active.touch);
    bool right = active.right;
    CCEvent* event = sharedEvent();
    switch (phase) {
    case kCCTouchBegan: right ? dispatcher->rightTouchesBegan(set, event) : dispatcher->touchesBegan(set, event); break;
    case kCCTouchMoved: right ? dispatcher->rightTouchesMoved(set, event) : dispatcher->touchesMoved(set, event); break;
    case kCCTouchEnded: right ? dispatcher->rightTouchesEnded(set, event) : dispatcher->touchesEnded(set, event); break;
    default: right ? dispatcher->rightTouchesCancelled(set, event) : dispatcher->touchesCancelled(set, event); break;
    }
    set->release();
}

void CCEGLView::simulateTouchBegan(int id, const CCPoint& glPoint, bool right)
{
    if (findTouch(id)) {
        finishTouch(id, nullptr, kCCTouchCancelled);
    }
    CCTouch* touch = new CCTouch();
    touch->setTouchInfo(id, glPoint.x, m_frameSize.height - glPoint.y);
    m_touches.push_back(ActiveTouch{id, touch, right});
    ActiveTouch copy = m_touches.back();
    touch->retain();  // the handlers may end the touch while it is dispatched
    dispatchTouch(copy, kCCTouchBegan);
    touch->release();
}

void CCEGLView::simulateTouchMoved(int id, const CCPoint& glPoint, bool right)
{
    (void)right;
    ActiveTouch* active = findTouch(id);
    if (!active) {
        return;
    }
    active->touch->setTouchInfo(id, glPoint.x, m_frameSize.height - glPoint.y);
    ActiveTouch copy = *active;
    copy.touch->retain();
    dispatchTouch(copy, kCCTouchMoved);
    copy.touch->release();
}

void CCEGLView::simulateTouchEnded(int id, const CCPoint& glPoint, bool right)
{
    (void)right;
    finishTouch(id, &glPoint, kCCTouchEnded);
}

void CCEGLView::simulateTouchCancelled(int id, const CCPoint& glPoint, bool right)
{
    (void)right;
    finishTouch(id, &glPoint, kCCTouchCancelled);
}

void CCEGLView::finishTouch(int id, const CCPoint* glPoint, int phase)
{
    ActiveTouch* active = findTouch(id);
    if (!active) {
        return;
    }
    if (glPoint) {
        active->touch->setTouchInfo(id, glPoint->x, m_frameSize.height - glPoint->y);
    }
    // The touch leaves the table before the handlers run, so a handler that
    // starts a new touch on the same id gets a fresh object.
    ActiveTouch copy = *active;
    m_touches.erase(m_touches.begin() + (active - m_touches.data()));
    dispatchTouch(copy, phase);
    copy.touch->release();
}

void CCEGLView::cancelAllTouches()
{
    while (!m_touches.empty()) {
        finishTouch(m_touches.front().id, nullptr, kCCTouchCancelled);
    }
}

// --- keys, text, focus -----------------------------------------------------------

void CCEGLView::simulateKey(int code, bool pressed, bool repeat)
{
    if (isStateKey(code)) {
        setKeyDown(code, pressed);
    }
    CCKeypadDispatcher* keypad = CCDirector::sharedDirector()->getKeypadDispatcher();
    switch (code) {
    case kCCKeyBack:
        if (pressed && !repeat) {
            keypad->dispatchKeypadMSG(kTypeBackClicked);
        }
        return;
    case kCCKeyMenu:
        if (pressed && !repeat) {
            keypad->dispatchKeypadMSG(kTypeMenuClicked);
        }
        return;
    case kCCKeyEnter:
        // One line break per press: Enter submits the keyboard's text.
        if (pressed && !repeat) {
            CCIMEDispatcher::sharedDispatcher()->dispatchInsertText("\n", 1);
        }
        return;
    case kCCKeyBackspace:
        if (pressed) {
            CCIMEDispatcher::sharedDispatcher()->dispatchDeleteBackward();
        }
        return;
    default: break;
    }
    int arrow = arrowCodeFor(code);
    if (arrow == 0) {
        return;
    }
    if (pressed) {
        keypad->dispatchArrowPressed(arrow);
    } else {
        keypad->dispatchArrowReleased(arrow);
    }
}

void CCEGLView::simulateWheel(int notches)
{
    CCKeypadDispatcher* keypad = CCDirector::sharedDirector()->getKeypadDispatcher();
    int code = notches > 0 ? 8 : 9;
    int count = notches > 0 ? notches : -notches;
    for (int i = 0; i < count; ++i) {
        keypad->dispatchArrowPressed(code);
    }
}

void CCEGLView::simulateText(const char* utf8)
{
    if (!utf8 || !*utf8) {
        return;
    }
    size_t len = std::strlen(utf8);
    CCIMEDispatcher::sharedDispatcher()->dispatchInsertText(utf8, static_cast<int>(len));
    CCKeypadDispatcher* keypad = CCDirector::sharedDirector()->getKeypadDispatcher();
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8);
    for (size_t i = 0; i < len;) {
        keypad->dispatchKeyboardChar(decodeUtf8(bytes, len, i));
    }
}

void CCEGLView::simulateFocus(bool focused)
{
    CCApplication* app = CCApplication::sharedApplication();
    if (!focused && !m_bInBackground) {
        m_bInBackground = true;
        cancelAllTouches();
        if (app) {
            app->applicationDidEnterBackground();
        }
    } else if (focused && m_bInBackground) {
        m_bInBackground = false;
        if (app) {
            app->applicationWillEnterForeground();
        }
    }
}

void CCEGLView::resetForTests()
{
    std::vector<ActiveTouch> touches;
    touches.swap(m_touches);
    for (ActiveTouch& t : touches) {
        t.touch->release();
    }
    m_keysDown.clear();
    m_bInBackground = false;
    if (m_bScissor) {
        disableScissor();
    }
    if (m_bFullscreen) {
        exitFullscreen(0, 0, 800, 600, 0, 0);
    }
    setFrameSize(800, 600);
}

NS_CC_END
