#pragma once
// GUIIngameMessage: the in-game message window (introductions, reminders).
// NOT BUILT YET: a stand-in window that is never attached to a scene; it
// keeps the free-mode introduction flag byte for the profile file.
#include <cstdint>

#include "cocos2d.h"
#include "gui/GUIWindow.h"

class GUIIngameMessage : public GUIWindow {
public:
    static GUIIngameMessage* getInstance();
    // Null until the first getInstance.
    static GUIIngameMessage* existingInstance();
    static void resetInstanceForTests();

    uint8_t& getFreeModeIntroShown() { return m_freeModeIntroShown; }
    void setFreeModeIntroShown(const bool& shown) { m_freeModeIntroShown = shown ? 1 : 0; }

private:
    GUIIngameMessage() = default;
    uint8_t m_freeModeIntroShown = 0;
};
