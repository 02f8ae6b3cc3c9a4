#include "platform/MessageBox.h"

#include <SDL.h>

namespace platform {

namespace {
MessageBox::Handler g_handler = nullptr;
}

void MessageBox::showError(const std::string& caption, const std::string& text)
{
    if (g_handler) {
        g_handler(caption, text);
        return;
    }
    // Fails quietly (returns -1) when there is no display.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
}

void MessageBox::setHandlerForTests(Handler handler)
{
    g_handler = handler;
}

}  // namespace platform
