#include "sdl/SdlEvents.h"

#include "cocos2d/CCDirector.h"
#include "cocos2d/CCEGLView.h"

namespace cocos2d {

namespace {

CCPoint toGL(CCEGLView* view, int x, int y)
{
    // SDL already gives logical-frame coordinates (the renderer maps the
    // letterbox); points in the bars fall outside the frame and stay there.
    return CCPoint(static_cast<float>(x), view->getFrameSize().height - static_cast<float>(y));
}

}  // namespace

int keyCodeForScancode(SDL_Scancode scancode)
{
    switch (scancode) {
    case SDL_SCANCODE_ESCAPE:
    case SDL_SCANCODE_AC_BACK: return kCCKeyBack;
    case SDL_SCANCODE_UP: return kCCKeyUp;
    case SDL_SCANCODE_DOWN: return kCCKeyDown;
    case SDL_SCANCODE_LEFT: return kCCKeyLeft;
    case SDL_SCANCODE_RIGHT: return kCCKeyRight;
    case SDL_SCANCODE_PAGEUP: return kCCKeyPageUp;
    case SDL_SCANCODE_PAGEDOWN: return kCCKeyPageDown;
    case SDL_SCANCODE_MENU:
    case SDL_SCANCODE_APPLICATION: return kCCKeyMenu;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER: return kCCKeyEnter;
    case SDL_SCANCODE_BACKSPACE: return kCCKeyBackspace;
    case SDL_SCANCODE_SPACE: return kCCKeySpace;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT: return kCCKeyAlt;
    default: return 0;
    }
}

void dispatchSdlEvent(const SDL_Event& e, CCEGLView* view, MouseState& mouse)
{
    if (!view)
        return;
    switch (e.type) {
    case SDL_QUIT: CCDirector::sharedDirector()->end(); break;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
            // The view cancels held touches first; our pairing must follow.
            mouse = MouseState();
            view->simulateFocus(false);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_RESTORED: view->simulateFocus(true); break;
        default: break;
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT) {
            mouse.left = true;
            view->simulateTouchBegan(0, toGL(view, e.button.x, e.button.y));
        } else if (e.button.button == SDL_BUTTON_RIGHT) {
            mouse.right = true;
            view->simulateTouchBegan(1, toGL(view, e.button.x, e.button.y), true);
        }
        break;
    case SDL_MOUSEMOTION:
        if (mouse.left)
            view->simulateTouchMoved(0, toGL(view, e.motion.x, e.motion.y));
        if (mouse.right)
            view->simulateTouchMoved(1, toGL(view, e.motion.x, e.motion.y), true);
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT && mouse.left) {
            mouse.left = false;
            view->simulateTouchEnded(0, toGL(view, e.button.x, e.button.y));
        } else if (e.button.button == SDL_BUTTON_RIGHT && mouse.right) {
            mouse.right = false;
            view->simulateTouchEnded(1, toGL(view, e.button.x, e.button.y), true);
        }
        break;
    case SDL_MOUSEWHEEL: {
        int notches = e.wheel.y;
        if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        if (notches != 0)
            view->simulateWheel(notches);
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        int code = keyCodeForScancode(e.key.keysym.scancode);
        if (code != 0)
            view->simulateKey(code, e.type == SDL_KEYDOWN, e.key.repeat != 0);
        break;
    }
    case SDL_TEXTINPUT:
        if (e.text.text[0] != '\0')
            view->simulateText(e.text.text);
        break;
    default: break;
    }
}

}  // namespace cocos2d
