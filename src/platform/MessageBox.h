#pragma once
// A modal message for the player (an error before the game can run).
#include <cstddef>
#include <string>

namespace platform {

class MessageBox {
public:
    // The system's box draws each line as it comes: longer lines are broken
    // between words to this many characters, so the box fits the screen.
    static constexpr size_t kLineLength = 60;

    // Shows an error box with an OK button; does nothing harmful with no display.
    static void showError(const std::string& caption, const std::string& text);

    // Test hook: boxes go to this callback instead of the screen (nullptr: screen).
    using Handler = void (*)(const std::string& caption, const std::string& text);
    static void setHandlerForTests(Handler handler);
};

}  // namespace platform
