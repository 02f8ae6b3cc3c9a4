#pragma once
// GUI: the in-game HUD window (element palette, tool menu, world menus).
// NOT BUILT YET: only the temperature level that the world's fields read and
// write exists here so far; the window, its menus and its other operations
// come with the HUD's own work, which replaces this stand-in.
#include <cstdint>

class GUI {
public:
    GUI() = default;

    // The HUD's temperature level, 1 (coldest) .. 5 (hottest); 3 is normal.
    int32_t getTemperatureLevel() const { return m_temperatureLevel; }
    // Stores the level. The settings menu's buttons and the top bar's icon it
    // refreshes in the full HUD do not exist yet. Levels outside 1..5 are
    // refused, so the HUD always holds one of the five.
    void refreshTemperature(int32_t level);

private:
    int32_t m_temperatureLevel = 3;
};
