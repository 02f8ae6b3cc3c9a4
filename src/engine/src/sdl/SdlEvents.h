#pragma once
// Internal: turns one SDL event into the view's input entry points (mouse as
// touches, keys, wheel, text, focus, quit). The window backend's pump calls
// it for every event; tests call it with events they build.
#include <SDL.h>

namespace cocos2d {

class CCEGLView;

// Which mouse buttons are down, so moves and releases pair with presses.
struct MouseState {
    bool left = false;
    bool right = false;
};

void dispatchSdlEvent(const SDL_Event& event, CCEGLView* view, MouseState& mouse);
// The key-state number of an SDL key (isKeyDown numbering), or 0.
int keyCodeForScancode(SDL_Scancode scancode);

}  // namespace cocos2d
