#include "hud/GUI.h"

#include <set>

#include "app/Logger.h"
#include "cocos2d_extensions/CCValue.h"
#include "gui/GUILabel.h"
#include "world/GameServices.h"
#include "hud/GUITopBar.h"
#include "world/Tool.h"
#include "world/World.h"

USING_NS_CC;

namespace {

void notBuilt(const char* what)
{
    static std::set<std::string> told;
    if (told.insert(what).second)
        LOG << "HUD not built yet:" << what;
}

} // namespace

GUI::~GUI()
{
    CC_SAFE_RELEASE(m_currentElement);
    m_currentElement = nullptr;
    setDescriptionLabel(nullptr);
}

GUI* GUI::create(CCSize size)
{
    GUI* gui = new GUI();
    gui->initWithSize(size);
    gui->autorelease();
    return gui;
}

void GUI::refreshTemperature(int32_t level)
{
    if (level < 1 || level > 5) {
        LOG << "temperature level out of range:" << level;
        return;
    }
    m_temperatureLevel = level;
    notBuilt("the temperature buttons and the top bar's icon are not refreshed");
}

void GUI::setCurrentElement(CCString* name)
{
    if (name)
        name->retain();
    if (m_currentElement)
        m_currentElement->release();
    m_currentElement = name;
}

bool GUI::isAvailable(const std::string&)
{
    return true;
}

void GUI::selectDefaultElement()
{
    selectElement("Soil");
}

std::string GUI::pickStartElement()
{
    return "Soil";
}

void GUI::selectElement(const std::string& name)
{
    setCurrentElement(CCString::create(name));
}

void GUI::selectDefaultTool()
{
    selectTool("Draw");
}

std::string GUI::pickStartTool()
{
    return "Draw";
}

void GUI::selectTool(const std::string& name)
{
    if (!gWorld)
        return;
    delete gWorld->currentTool;
    gWorld->currentTool = Tool::create(name);
    GUITopBar::getInstance()->setToolIcon(name);
}

void GUI::restoreLastElement()
{
    notBuilt("the palette's last element (the element stays)");
}

void GUI::closeMenu()
{
    notBuilt("the HUD menus (nothing to close)");
}

void GUI::showElementMenu()
{
    m_currentMenu = 1;
    notBuilt("the menu contents (the window opens empty)");
}

void GUI::showToolMenu()
{
    m_currentMenu = 2;
    notBuilt("the menu contents (the window opens empty)");
}

void GUI::showWorldSettingsMenu()
{
    m_currentMenu = 3;
    notBuilt("the menu contents (the window opens empty)");
}

void GUI::showWorldMenu()
{
    m_currentMenu = 4;
    notBuilt("the menu contents (the window opens empty)");
}

void GUI::openGallery()
{
    notBuilt("the online gallery (not opened)");
}

void GUI::setDescriptionLabel(GUILabel* label)
{
    if (label)
        label->retain();
    if (m_descriptionLabel)
        m_descriptionLabel->release();
    m_descriptionLabel = label;
}

void GUI::onDescriptionEntered(CCObject* text)
{
    auto* entered = dynamic_cast<CCString*>(text);
    const std::string description = entered ? entered->getString() : std::string();
    if (gameServices().setUniverseDescription)
        gameServices().setUniverseDescription(description);
    if (m_descriptionLabel) {
        GUILabel::lineSpacing = -2.0f;
        m_descriptionLabel->setMultilineText(
            CCString::create(description.empty() ? "No description" : description), 110, 5);
    }
}

void GUI::rateWorld(CCObject* rating)
{
    auto* value = dynamic_cast<cocos2d_extensions::CCValue<float>*>(rating);
    LOG << "rating of the online world (the gallery that sends it is not built):"
        << (value ? value->getValue() : -1.0f);
}
