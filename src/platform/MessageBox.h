#pragma once
// A modal message for the player (an error before the game can run).
#include <string>

namespace platform {

class MessageBox {
public:
    // Shows an error box with an OK button; does nothing harmful with no display.
    static void showError(const std::string& caption, const std::string& text);

    // Test hook: boxes go to this callback instead of the screen (nullptr: screen).
    using Handler = void (*)(const std::string& caption, const std::string& text);
    static void setHandlerForTests(Handler handler);
};

}  // namespace platform
