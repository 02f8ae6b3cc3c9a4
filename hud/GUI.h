#pragma once
// GUI: the in-game HUD window (element palette, tool menu, world menus).
// NOT BUILT YET: only the temperature level that the world's fields read and
// write exists here so far; the window, its menus and its other operations
// come with the HUD's own work, which replaces this stand-in.
#include <cstdint>

#include "cocos2d.h"

class GUILabel;

class GUI : public cocos2d::CCObject {
public:
    GUI() = default;
    ~GUI() override;

    // The keyboard's answer for the world description: stored, and shown on
    // the description label ("No description" when empty).
    void onDescriptionEntered(cocos2d::CCObject* text);
    // Retained; null for none.
    void setDescriptionLabel(GUILabel* label);
    GUILabel* getDescriptionLabel() const { return m_descriptionLabel; }
    // The rate popup's answer (a CCValue<float>, 0..4 or -1). The online
    // gallery that would send it is not built yet: it is logged.
    void rateWorld(cocos2d::CCObject* rating);

    // The HUD's temperature level, 1 (coldest) .. 5 (hottest); 3 is normal.
    int32_t getTemperatureLevel() const { return m_temperatureLevel; }
    // Stores the level. The settings menu's buttons and the top bar's icon it
    // refreshes in the full HUD do not exist yet. Levels outside 1..5 are
    // refused, so the HUD always holds one of the five.
    void refreshTemperature(int32_t level);

    // The element chosen in the palette (null before any choice; "Clear" is
    // the eraser). The palette that sets it is not built yet.
    cocos2d::CCString* getCurrentElement() const { return m_currentElement; }
    // Retains the new name, releases the old one.
    void setCurrentElement(cocos2d::CCString* name)
    {
        if (name)
            name->retain();
        if (m_currentElement)
            m_currentElement->release();
        m_currentElement = name;
    }

private:
    int32_t m_temperatureLevel = 3;
    cocos2d::CCString* m_currentElement = nullptr;
    GUILabel* m_descriptionLabel = nullptr;
};
