#include "platform/MessageBox.h"

#include <SDL.h>

namespace platform {

namespace {

MessageBox::Handler g_handler = nullptr;

// Lines of at most `length` bytes, broken at spaces (a word longer than a
// line alone is cut); a UTF-8 character is never split.
std::string wrapped(const std::string& text, size_t length)
{
    std::string out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        const bool last = end == std::string::npos;
        if (last)
            end = text.size();
        std::string line = text.substr(start, end - start);
        while (line.size() > length) {
            size_t cut = line.rfind(' ', length);
            size_t next = cut + 1;
            if (cut == std::string::npos || cut == 0) {
                cut = length;
                while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
                    --cut;
                next = cut;
            }
            out.append(line, 0, cut).append(1, '\n');
            line.erase(0, next);
        }
        out += line;
        if (last)
            break;
        out += '\n';
        start = end + 1;
    }
    return out;
}

}  // namespace

void MessageBox::showError(const std::string& caption, const std::string& text)
{
    const std::string lines = wrapped(text, kLineLength);
    if (g_handler) {
        g_handler(caption, lines);
        return;
    }
    // Fails quietly (returns -1) when there is no display.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), lines.c_str(), nullptr);
}

void MessageBox::setHandlerForTests(Handler handler)
{
    g_handler = handler;
}

}  // namespace platform
