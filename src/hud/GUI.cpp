#include "hud/GUI.h"

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "world/GameServices.h"
#include "hud/GUITopBar.h"
#include "world/Tool.h"
#include "world/World.h"
#include "world/WorldHost.h"

USING_NS_CC;

GUI::~GUI()
{
    m_life.reset();
    CC_SAFE_RELEASE(m_currentElement);
    m_currentElement = nullptr;
    setDescriptionLabel(nullptr);
    setNameLabel(nullptr);
    CC_SAFE_RELEASE(m_menuButton);
    releaseBrushSlider();
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
    GUITopBar::getInstance()->refreshTemperatureIcon();
}

void GUI::setCurrentElement(CCString* name)
{
    if (name)
        name->retain();
    if (m_currentElement)
        m_currentElement->release();
    m_currentElement = name;
    if (name && name->getString() != "Clear")
        m_lastElement = name->getString();
}

bool GUI::isAvailable(const std::string& name)
{
    if (m_everythingAvailable || m_allItems.count(name) > 0 || worldHost().isFreePlay())
        return true;
    return m_denyMode && m_deniedItems.count(name) == 0;
}

void GUI::selectDefaultElement()
{
    selectElement("Soil");
}

void GUI::selectElement(const std::string& name)
{
    setCurrentElement(CCString::create(name));
    GUITopBar* bar = GUITopBar::getInstance();
    if (name == "Clear") {
        bar->showEraserSelected();
        return;
    }
    bar->setElementIcon(name);
    bar->showElementSelected();
}

void GUI::selectEraser()
{
    setCurrentElement(CCString::create("Clear"));
}

void GUI::releaseMenuButton()
{
    if (!m_menuButton)
        return;
    m_menuButton->setPressed(false);
    m_menuButton->release();
    m_menuButton = nullptr;
}

void GUI::onMenuButton(int menu, GUIButton* sender)
{
    if (menu < kElementMenu || menu > kWorldMenu)
        return;
    if (m_openMenu == menu && getState() != Closed && getState() != Closing) {
        m_openMenu = kNoMenu;
        releaseMenuButton();
        close();
        return;
    }
    releaseMenuButton();
    if (sender) {
        sender->retain();
        sender->setPressed(true);
    }
    m_menuButton = sender;
    m_openMenu = menu;
    switch (menu) {
    case kElementMenu: showElementMenu(); break;
    case kToolMenu: showToolMenu(); break;
    case kWorldSettingsMenu: showWorldSettingsMenu(); break;
    default: showWorldMenu(); break;
    }
    if (getState() == Closed)
        toggle();
}

void GUI::selectDefaultTool()
{
    selectTool("Draw");
}

void GUI::selectStartElementAndTool()
{
    if (isAvailable("Soil"))
        selectDefaultElement();
    else
        selectElement(pickStartElement());
    if (isAvailable("Draw"))
        selectDefaultTool();
    else
        selectTool(pickStartTool());
}

void GUI::selectTool(const std::string& name)
{
    if (!gWorld)
        return;
    // A name that is no tool keeps the tool the player has.
    Tool* tool = Tool::create(name);
    if (!tool) {
        LOG << "not a tool, the current one stays:" << name;
        return;
    }
    delete gWorld->currentTool;
    gWorld->currentTool = tool;
    GUITopBar::getInstance()->setToolIcon(name);
}

void GUI::restoreLastElement()
{
    // The element chosen before the eraser, or the first the day offers when
    // it is gone or none was chosen, so the palette can be opened again.
    selectElement(!m_lastElement.empty() && isAvailable(m_lastElement) ? m_lastElement : pickStartElement());
}

void GUI::closeMenu()
{
    m_openMenu = kNoMenu;
    releaseMenuButton();
    if (getState() == Open)
        close();
}

void GUI::onBackPressed()
{
    if (getState() != Open)
        return;
    closeMenu();
    GUITopBar::getInstance()->resetButtons();
}

void GUI::setDescriptionLabel(GUILabel* label)
{
    if (label)
        label->retain();
    if (m_descriptionLabel)
        m_descriptionLabel->release();
    m_descriptionLabel = label;
}

void GUI::setNameLabel(GUILabel* label)
{
    if (label)
        label->retain();
    if (m_nameLabel)
        m_nameLabel->release();
    m_nameLabel = label;
}

CCString* GUI::shownDescription(const std::string& description)
{
    return description.empty() ? LocalUtils::localize("WorldNoDescription") : CCString::create(description);
}

void GUI::onDescriptionEntered(CCObject* text)
{
    auto* entered = dynamic_cast<CCString*>(text);
    const std::string description = entered ? entered->getString() : std::string();
    if (gameServices().setUniverseDescription)
        gameServices().setUniverseDescription(description);
    markWorldChanged();
    if (m_descriptionLabel) {
        GUILabel::lineSpacing = -2.0f;
        m_descriptionLabel->setMultilineText(shownDescription(description), kDescriptionWidth, kDescriptionLines);
    }
}
