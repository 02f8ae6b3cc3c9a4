// What the HUD shows a player: every label readable (WCAG 4.5:1) in every
// menu, every caption inside its button in the three languages, the top
// bar's pictograms, switches that show their state, the brush slider's knob
// and size (BrushSliderTest), the zoom hint, and the world menu's buttons beside the world's
// picture. With TESMORA_TEST_FRAMES set, the top bar and each menu are
// saved there.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/Utils.h"
#include "support/GameSceneFixture.h"
#include "support/Readability.h"
#include "gui/GUIButton.h"
#include "gui/GUIKeyboard.h"
#include "gui/GUILabel.h"
#include "hud/GUITopBar.h"
#include "hud/PaletteTable.h"

USING_NS_CC;

namespace {

const struct {
    int menu;
    const char* name;
} kMenus[] = {
    {GUI::kElementMenu, "palette"},
    {GUI::kToolMenu, "tool_menu"},
    {GUI::kWorldSettingsMenu, "world_settings"},
    {GUI::kWorldMenu, "world_menu"},
};

class HudSheets : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene();
        gui = layer->getGUI();
        bar = GUITopBar::getInstance();
        for (int x = 0; x < world->width; ++x)
            for (int y = 0; y < 30; ++y)
                world->addParticle(x, y, hashString(x % 7 == 0 ? "Water" : "Sand"), true);
        stepFrames(2);
    }
    void open(int menu)
    {
        if (gui->getOpenMenu() != menu)
            gui->onMenuButton(menu, nullptr);
        stepSeconds(1.0f);
        ASSERT_EQ(gui->getState(), GUIWindow::Open);
    }
    static CCRect onScreen(CCNode* node)
    {
        const CCSize size = node->getContentSize();
        return CCRectApplyAffineTransform(CCRect(0, 0, size.width, size.height), node->nodeToWorldTransform());
    }
    GUIButton* switchTile(int which) const
    {
        return dynamic_cast<GUIButton*>(gui->getMenuContent()->getChildByTag(GUI::kSwitchTag + which));
    }

    GUI* gui = nullptr;
    GUITopBar* bar = nullptr;
};

TEST_F(HudSheets, EveryLabelOfTheBarAndTheMenusIsReadable)
{
    testsupport::LanguageTable english("en");
    bar->buildFreeModeBar();
    bar->updateMana();
    stepFrames(2);
    testsupport::saveTestFrame("top_bar");
    testsupport::expectReadable(bar, "top bar");
    for (const auto& m : kMenus) {
        open(m.menu);
        testsupport::saveTestFrame(m.name);
        testsupport::expectReadable(gui, m.name);
    }
}

TEST_F(HudSheets, EveryCaptionFitsItsButtonInEveryLanguage)
{
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        for (const auto& m : kMenus) {
            gui->closeMenu();
            stepSeconds(0.5f);
            open(m.menu);
            const std::string where = std::string(language) + " " + m.name;
            const int captions = testsupport::expectCaptionsFit(gui->getMenuContent(), where);
            // Fitted, not crushed: capitals (7 font pixels) at least 9 screen
            // pixels high.
            for (const testsupport::CaptionFit& fit : testsupport::captionFits(gui->getMenuContent()))
                EXPECT_GE(fit.caption_.size.height, 9) << where << ": \"" << fit.caption << "\"";
            EXPECT_GT(captions, m.menu == GUI::kElementMenu ? 0 : 3) << language << " " << m.name;
        }
    }
}

TEST_F(HudSheets, TheTopBarShowsAPictogramOnEveryButton)
{
    bar->buildFreeModeBar();
    const struct {
        GUIButton* button;
        const char* frame;
    } expected[] = {
        {bar->getToolButton(), "guitopbar_HUDDraw.png"},
        {bar->getEraserButton(), "guitopbar_HUDEraser.png"},
        {bar->getZoomButton(), "guitopbar_HUDZoom.png"},
        {bar->getUndoButton(), "guitopbar_HUDUndoPicto.png"},
        {bar->getPlayPauseButton(), "guitopbar_HUDPausePicto.png"},
        {bar->getWorldMenuButton(), "guitopbar_HUDplanet.png"},
        {bar->getCameraButton(), "guitopbar_camera.png"},
    };
    for (const auto& e : expected) {
        ASSERT_NE(e.button, nullptr) << e.frame;
        EXPECT_EQ(GUITopBar::frameOf(e.button->getIcon()), e.frame);
    }
    // Pictograms, not flat blocks: each has an outline and at least three colours.
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/popups.plist");
    for (const char* frame : {"guitopbar_HUDDraw.png", "guitopbar_HUDEraser.png", "guitopbar_HUDZoom.png",
                              "guitopbar_HUDUndoPicto.png", "guitopbar_HUDPausePicto.png", "guitopbar_HUDplanet.png",
                              "guitopbar_camera.png", "guitopbar_HUDMana.png", "popups_godA.png"}) {
        CCSprite* sprite = CCSprite::createWithSpriteFrameName(frame);
        ASSERT_NE(sprite, nullptr) << frame;
        CCNode* holder = CCNode::create();
        holder->addChild(sprite);
        sprite->setScale(8);
        sprite->setAnchorPoint(CCPointZero);
        CCScene* running = CCDirector::sharedDirector()->getRunningScene();
        CCLayerColor* back = CCLayerColor::create(ccc4(74, 110, 140, 255), 800, 600);
        running->addChild(back, 1000);
        running->addChild(holder, 1001);
        CCDirector::sharedDirector()->stepFrames(1, 0.0f);
        CCImage* image = CCEGLView::sharedOpenGLView()->captureFrame();
        ASSERT_NE(image, nullptr);
        std::set<uint32_t> colours;
        for (int y = 0; y < 8 * 24; y += 4)
            for (int x = 0; x < 8 * 24; x += 4) {
                const unsigned char* p = image->getData() + ((599 - y) * 800 + x) * 4;
                colours.insert(static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2]);
            }
        image->release();
        back->removeFromParentAndCleanup(true);
        holder->removeFromParentAndCleanup(true);
        EXPECT_GE(colours.size(), 3u) << frame;
    }
}

TEST_F(HudSheets, SwitchesShowTheirStateAndFlipInPlace)
{
    testsupport::LanguageTable english("en");
    world->lightMap.setLightOn(true);
    open(GUI::kWorldSettingsMenu);
    GUIButton* light = switchTile(1);
    ASSERT_NE(light, nullptr);
    auto state = [&] {
        auto* label = dynamic_cast<GUILabel*>(light->getChildByTag(GUI::kSwitchStateTag));
        auto* toggle = light->getChildByTag(GUI::kSwitchToggleTag);
        return (label ? label->getText()->getString() : std::string("?")) + " " + GUITopBar::frameOf(toggle);
    };
    EXPECT_EQ(state(), "On gamemenus_switchOn.png");

    gui->onSwitchPicked(CCInteger::create(1));
    EXPECT_FALSE(world->lightMap.isLightOn());
    EXPECT_EQ(gui->getOpenMenu(), GUI::kWorldSettingsMenu) << "the menu stays to show the switch";
    ASSERT_EQ(switchTile(1), light);
    EXPECT_EQ(state(), "Off gamemenus_switchOff.png");
    stepFrames(1);
    testsupport::saveTestFrame("world_settings_light_off");
    testsupport::expectReadable(gui, "world settings, light off");

    // Every switch says what the world's flag is, whoever flipped it.
    world->lightMap.setSunOn(false);
    world->temperatureField.setViewOn(true);
    gui->refreshSwitches();
    for (int which = 0; which < 4; ++which) {
        ASSERT_NE(switchTile(which), nullptr) << which;
        auto* toggle = switchTile(which)->getChildByTag(GUI::kSwitchToggleTag);
        EXPECT_EQ(GUITopBar::frameOf(toggle),
                  GUI::isSwitchOn(which) ? "gamemenus_switchOn.png" : "gamemenus_switchOff.png")
            << which;
    }
}

TEST_F(HudSheets, TheZoomHintGoesOnceMagnifiedAndTheToggleShows)
{
    testsupport::LanguageTable english("en");
    bar->buildFreeModeBar();
    bar->onZoomButton();
    ASSERT_NE(bar->getZoomHintLabel(), nullptr);
    ASSERT_TRUE(layer->getZoomMode());
    stepFrames(1);
    testsupport::saveTestFrame("zoom_hint");
    testsupport::expectReadable(bar->getZoomHintLabel(), "zoom hint over the sky");
    press(400, 300);
    release(400, 300);
    stepFrames(2);
    EXPECT_TRUE(layer->getZoomedOut()) << "magnified";
    EXPECT_EQ(bar->getZoomHintLabel(), nullptr);
    // The draw/pan toggle shows whole in the bottom-left corner.
    const DrawPanToggle* drawPan = bar->getDrawPanToggle();
    ASSERT_NE(drawPan, nullptr);
    GUIButton* toggle = drawPan->currentButton();
    ASSERT_NE(toggle, nullptr);
    ASSERT_TRUE(toggle->isVisible());
    const CCRect shown = onScreen(toggle);
    EXPECT_GE(shown.getMinY(), 0);
    EXPECT_LE(shown.getMaxX(), 90);
    EXPECT_LE(shown.getMaxY(), 90);
}

TEST_F(HudSheets, TheWorldMenusButtonsStandBesideTheWorldsPicture)
{
    testsupport::LanguageTable english("en");
    // Its longest column: a gallery world in free play, rated and uploaded.
    layer->setOnlineWorldId(7);
    testsupport::testHost().freePlay = true;
    open(GUI::kWorldMenu);
    CCNode* picture = gui->getMenuContent()->getChildByTag(GUI::kSnapshotTag);
    ASSERT_NE(picture, nullptr);
    const CCRect shown = onScreen(picture);
    int buttons = 0;
    for (CCObject* child : *gui->getMenuContent()->getChildren())
        if (auto* button = dynamic_cast<GUIButton*>(child)) {
            ++buttons;
            EXPECT_FALSE(onScreen(button).intersectsRect(shown)) << button->getText()->getString();
            EXPECT_LE(onScreen(button).getMaxX(), 800);
            EXPECT_GE(onScreen(button).getMinY(), 0);
        }
    EXPECT_EQ(buttons, 7);
}

TEST_F(HudSheets, ThePalettesFullestPageIsReadableInEveryLanguage)
{
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        open(GUI::kElementMenu);
        gui->showPaletteFamily(static_cast<int>(PaletteFamily::Creatures));
        stepFrames(1);
        const std::string where = std::string(language) + " palette";
        testsupport::saveTestFrame(std::string("palette_") + language);
        testsupport::expectReadable(gui, where);
        EXPECT_GT(testsupport::expectCaptionsFit(gui->getMenuContent(), where), 30);
        gui->closeMenu();
        stepSeconds(0.5f);
    }
}

TEST_F(HudSheets, TheNameKeyboardOpensOnItsHintReadablyInEveryLanguage)
{
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        world->reset();
        open(GUI::kWorldMenu);
        gui->onNameButton(nullptr);
        stepSeconds(0.5f);
        GUIKeyboard* keyboard = GUIKeyboard::getInstance();
        ASSERT_TRUE(keyboard->isShowingHint()) << language;
        if (std::string(language) == "en")
            testsupport::saveTestFrame("readable_name_keyboard");
        testsupport::expectReadable(keyboard, std::string(language) + " name keyboard");
        keyboard->onBackPressed();
        stepSeconds(0.5f);
    }
}

}  // namespace
