#include "hud/GUI.h"

#include "app/Logger.h"
#include "cocos2d_extensions/CCValue.h"
#include "gui/GUILabel.h"
#include "world/GameServices.h"

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

GUI::~GUI()
{
    setCurrentElement(nullptr);
    setDescriptionLabel(nullptr);
}

void GUI::setDescriptionLabel(GUILabel* label)
{
    if (label)
        label->retain();
    if (m_descriptionLabel)
        m_descriptionLabel->release();
    m_descriptionLabel = label;
}

void GUI::onDescriptionEntered(cocos2d::CCObject* text)
{
    auto* entered = dynamic_cast<cocos2d::CCString*>(text);
    const std::string description = entered ? entered->getString() : std::string();
    if (gameServices().setUniverseDescription)
        gameServices().setUniverseDescription(description);
    if (m_descriptionLabel) {
        GUILabel::lineSpacing = -2.0f;
        m_descriptionLabel->setMultilineText(
            cocos2d::CCString::create(description.empty() ? "No description" : description), 110, 5);
    }
}

void GUI::rateWorld(cocos2d::CCObject* rating)
{
    auto* value = dynamic_cast<cocos2d_extensions::CCValue<float>*>(rating);
    LOG << "rating of the online world (the gallery that sends it is not built):"
        << (value ? value->getValue() : -1.0f);
}
