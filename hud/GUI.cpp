#include "hud/GUI.h"

#include "app/Logger.h"

void GUI::refreshTemperature(int32_t level)
{
    if (level < 1 || level > 5) {
        LOG << "temperature level out of range:" << level;
        return;
    }
    m_temperatureLevel = level;
    static bool logged = false;
    if (!logged) {
        logged = true;
        LOG << "HUD not built yet: the temperature buttons and the top bar's icon are not refreshed";
    }
}
