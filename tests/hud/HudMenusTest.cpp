// The HUD's menus beyond the palette: the new-item sets each menu empties,
// the background and gallery buttons, and the bar's camera.
#include <gtest/gtest.h>

#include <string>

#include "support/GameSceneFixture.h"
#include "SimpleAudioEngine.h"
#include "hud/GUIBackgrounds.h"
#include "hud/GUIShare.h"
#include "hud/GUITopBar.h"
#include "gui/BackButton.h"
#include "gui/GUILabel.h"
#include "support/Readability.h"

USING_NS_CC;

namespace {

class HudMenus : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene();
        gui = layer->getGUI();
        bar = GUITopBar::getInstance();
        testsupport::testHost().freePlay = false;
        bar->buildCampaignBar();
    }
    void TearDown() override
    {
        gui->clearNewItems();
        GameScene::TearDown();
    }
    GUI* gui = nullptr;
    GUITopBar* bar = nullptr;
};

TEST_F(HudMenus, EachMenuEmptiesItsOwnNewItemsAndItsBadge)
{
    struct Case {
        int menu;
        int elements;
        int tools;
        int options;
    };
    const Case cases[] = {
        {GUI::kElementMenu, 0, 2, 3},
        {GUI::kToolMenu, 1, 0, 3},
        {GUI::kWorldSettingsMenu, 1, 2, 0},
        {GUI::kWorldMenu, 1, 2, 3},
    };
    for (const Case& c : cases) {
        gui->closeMenu();
        gui->clearNewItems();
        gui->addNewElement("Sand");
        gui->addNewTool("Line");
        gui->addNewTool("Fill");
        for (const char* option : {"Light", "Sun", "Weather"})
            gui->addNewOption(option);
        gui->addNewOption("Sun");  // a set: once
        bar->updateBadges();
        ASSERT_NE(bar->getElementBadge(), nullptr);

        gui->onMenuButton(c.menu, nullptr);
        EXPECT_EQ(gui->newElementCount(), c.elements) << c.menu;
        EXPECT_EQ(gui->newToolCount(), c.tools) << c.menu;
        EXPECT_EQ(gui->newOptionCount(), c.options) << c.menu;
        EXPECT_EQ(bar->getElementBadge() != nullptr, c.elements > 0) << c.menu;
        EXPECT_EQ(bar->getToolBadge() != nullptr, c.tools > 0) << c.menu;
        EXPECT_EQ(bar->getWorldSettingsBadge() != nullptr, c.options > 0) << c.menu;
    }
}

TEST_F(HudMenus, TheBackKeyClosesAnOpenMenu)
{
    gui->onMenuButton(GUI::kToolMenu, nullptr);
    stepSeconds(1.0f);
    ASSERT_EQ(gui->getState(), GUIWindow::Open);
    BackButtonAdapter::getInstance()->onBackPressed();
    stepSeconds(1.0f);
    EXPECT_EQ(gui->getState(), GUIWindow::Closed);
    EXPECT_EQ(gui->getOpenMenu(), GUI::kNoMenu);
}

TEST_F(HudMenus, TheBackgroundsAndGalleryButtonsCloseTheHud)
{
    gui->onMenuButton(GUI::kWorldSettingsMenu, nullptr);
    stepSeconds(1.0f);
    ASSERT_EQ(gui->getState(), GUIWindow::Open);
    gui->onBackgroundsButton(nullptr);
    EXPECT_EQ(gui->getOpenMenu(), GUI::kNoMenu);
    EXPECT_NE(layer->getBackgroundsWindow(), nullptr);
    stepSeconds(1.0f);

    gui->onMenuButton(GUI::kWorldSettingsMenu, nullptr);
    stepSeconds(1.0f);
    gui->onGalleryButton(nullptr);
    EXPECT_EQ(gui->getOpenMenu(), GUI::kNoMenu);
    EXPECT_NE(gui->getState(), GUIWindow::Open);
}

TEST_F(HudMenus, TheCameraHandsTheShareWindowItsPicturesUnlessTheHudIsOpen)
{
    gui->onMenuButton(GUI::kWorldMenu, nullptr);
    stepSeconds(1.0f);
    ASSERT_EQ(gui->getState(), GUIWindow::Open);
    bar->onCameraButton();
    EXPECT_EQ(layer->getShareWindow(), nullptr) << "the HUD is open: no picture";

    gui->closeMenu();
    stepSeconds(1.0f);
    bar->onCameraButton();
    EXPECT_NE(layer->getShareWindow(), nullptr);
    stepSeconds(1.0f);
}

TEST_F(HudMenus, TheToolMenuMarksTheActiveToolAndTheEraserNamesTheToolItErasesWith)
{
    testsupport::LanguageTable english("en");
    auto buttonFor = [&](const std::string& value) -> GUIButton* {
        for (CCObject* o : *gui->getMenuContent()->getChildren())
            if (auto* b = dynamic_cast<GUIButton*>(o))
                if (auto* call = dynamic_cast<CCCallFuncO*>(b->getCallback()))
                    if (auto* name = dynamic_cast<CCString*>(call->getObject()); name && name->getString() == value)
                        return b;
        return nullptr;
    };
    auto openTools = [&] {
        gui->closeMenu();
        stepSeconds(0.5f);
        gui->onMenuButton(GUI::kToolMenu, nullptr);
        stepSeconds(0.5f);
    };
    gui->selectElement("Sand");
    gui->selectTool("Fill");
    openTools();
    for (const char* tool : {"Draw", "Line", "Fill", "Replace", "Miner"}) {
        ASSERT_NE(buttonFor(tool), nullptr) << tool;
        EXPECT_EQ(buttonFor(tool)->isSelected(), std::string(tool) == "Fill") << tool;
    }
    GUIButton* eraser = buttonFor("Clear");
    ASSERT_NE(eraser, nullptr);
    EXPECT_FALSE(eraser->isSelected()) << "painting sand: the eraser is off";
    EXPECT_EQ(GUITopBar::frameOf(eraser->getChildByTag(GUI::kEraserToolTag)), "guitopbar_HUDFill.png");
    auto* words = dynamic_cast<GUILabel*>(gui->getMenuContent()->getChildByTag(GUI::kEraserToolTag));
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(words->getText()->getString(), "The eraser erases with Fill");

    // The eraser on, with the line tool.
    gui->selectTool("Line");
    bar->onEraserButton();
    openTools();
    EXPECT_TRUE(buttonFor("Clear")->isSelected()) << "the eraser shows it is on";
    EXPECT_TRUE(buttonFor("Line")->isSelected());
    EXPECT_FALSE(buttonFor("Fill")->isSelected());
    EXPECT_EQ(GUITopBar::frameOf(buttonFor("Clear")->getChildByTag(GUI::kEraserToolTag)), "guitopbar_HUDLine.png");
    words = dynamic_cast<GUILabel*>(gui->getMenuContent()->getChildByTag(GUI::kEraserToolTag));
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(words->getText()->getString(), "The eraser erases with Line");
}

}  // namespace
