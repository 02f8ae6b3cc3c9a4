#pragma once
// GUI: the in-game HUD window (element palette, tool menu, world menus).
// NOT BUILT YET: a stand-in window that answers neutrally until the HUD is
// built: it never opens, every element and tool is available, the current
// element starts as "Soil", the brush size is 1, and selecting a tool puts
// it in the world. What it cannot do it logs once.
#include <cstdint>
#include <string>

#include "cocos2d.h"
#include "gui/GUIWindow.h"

class GUILabel;

class GUI : public GUIWindow {
public:
    GUI() = default;
    ~GUI() override;
    static GUI* create(cocos2d::CCSize size);

    // The HUD's temperature level, 1 (coldest) .. 5 (hottest); 3 is normal.
    int32_t getTemperatureLevel() const { return m_temperatureLevel; }
    // Stores the level; levels outside 1..5 are refused.
    void refreshTemperature(int32_t level);

    // The element chosen in the palette (null before any choice; "Clear" is
    // the eraser).
    cocos2d::CCString* getCurrentElement() const { return m_currentElement; }
    // Retains the new name, releases the old one.
    void setCurrentElement(cocos2d::CCString* name);

    bool isAvailable(const std::string& name);
    void selectDefaultElement();
    std::string pickStartElement();
    void selectElement(const std::string& name);
    void selectDefaultTool();
    std::string pickStartTool();
    // Replaces the world's tool by Tool::create(name) (none for a name that
    // is not a tool).
    void selectTool(const std::string& name);
    // The brush-size slider's value.
    int32_t getBrushSize() const { return m_brushSize; }
    void setBrushSize(int32_t size) { m_brushSize = size; }
    void restoreLastElement();
    void closeMenu();

    // The menu shown in the window: 0 none, 1 element palette, 2 tools,
    // 3 world settings, 4 world menu. The builders only record it for now.
    int32_t getCurrentMenu() const { return m_currentMenu; }
    void showElementMenu();
    void showToolMenu();
    void showWorldSettingsMenu();
    void showWorldMenu();
    void openGallery();

    // The keyboard's answer for the world description: stored, and shown on
    // the description label ("No description" when empty).
    void onDescriptionEntered(cocos2d::CCObject* text);
    // Retained; null for none.
    void setDescriptionLabel(GUILabel* label);
    GUILabel* getDescriptionLabel() const { return m_descriptionLabel; }
    // The rate popup's answer (a CCValue<float>, 0..4 or -1). The online
    // gallery that would send it is not built yet: it is logged.
    void rateWorld(cocos2d::CCObject* rating);

private:
    int32_t m_temperatureLevel = 3;
    int32_t m_brushSize = 1;
    int32_t m_currentMenu = 0;
    cocos2d::CCString* m_currentElement = nullptr;  // retained
    GUILabel* m_descriptionLabel = nullptr;         // retained
};
