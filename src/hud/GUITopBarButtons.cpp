// The top bar's buttons: touches, the selections and icons they show, and
// what each button does.
#include "hud/GUITopBar.h"

#include "SimpleAudioEngine.h"
#include "base/StatsUtils.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "world/WorldHost.h"
#include "base/ScreenMetrics.h"
#include "gui/ScreenUtils.h"
#include "base/Utils.h"
#include "goals/AchievementManager.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "hud/GUI.h"
#include "hud/GUIAchievement.h"
#include "hud/GUIBackgrounds.h"
#include "hud/GUIShare.h"
#include "hud/GUITopBarParts.h"
#include "scene/GameLayer.h"
#include "world/World.h"

USING_NS_CC;
using namespace topbar;

// --- touches ---------------------------------------------------------------------------

void GUITopBar::handleTouchBegan(CCTouch* touch)
{
    if (!m_locked)
        GUIWindow::handleTouchBegan(touch);
}

void GUITopBar::handleTouchMoved(CCTouch* touch)
{
    if (!m_locked)
        GUIWindow::handleTouchMoved(touch);
}

void GUITopBar::handleTouchEnded(CCTouch* touch)
{
    if (!m_locked)
        GUIWindow::handleTouchEnded(touch);
}

// --- selections and icons ------------------------------------------------------------------

void GUITopBar::showElementSelected()
{
    if (m_elementMenuButton)
        m_elementMenuButton->setSelected(true);
    if (m_toolButton)
        m_toolButton->setSelected(true);
    if (m_eraserButton)
        m_eraserButton->setSelected(false);
}

void GUITopBar::showEraserSelected()
{
    if (m_toolButton)
        m_toolButton->setSelected(true);
    if (m_elementMenuButton)
        m_elementMenuButton->setSelected(false);
    if (m_eraserButton)
        m_eraserButton->setSelected(true);
}

void GUITopBar::setElementIcon(const std::string& element)
{
    loadFrames();
    setIcon(m_elementMenuButton, ("guitopbar_HUDelement_" + element + ".png").c_str());
}

void GUITopBar::setToolIcon(const std::string& tool)
{
    loadFrames();
    setIcon(m_toolButton, ("guitopbar_HUD" + tool + ".png").c_str());
}

void GUITopBar::setZoomButtonIcon(const char* frame)
{
    setIcon(m_zoomButton, frame);
}

void GUITopBar::unpressZoomButton()
{
    releaseButton(m_zoomButton);
}

void GUITopBar::hideZoomHint()
{
    removeNode(m_zoomHintLabel);
    m_zoomHintLabel = nullptr;
    if (m_bar)
        removeNode(m_bar->getChildByTag(kZoomHintPlateTag));
}

void GUITopBar::setUndoButtonIcon(const char* frame)
{
    setIcon(m_undoButton, frame);
}

void GUITopBar::setPlayPauseIcon(const char* frame)
{
    setIcon(m_playPauseButton, frame);
}

void GUITopBar::showZoomToggle(bool shown)
{
    resetDrawPanToggle(shown);
}

void GUITopBar::resetDrawPanToggle(bool drawShown)
{
    if (!m_toggle)
        return;
    m_toggle->mode = 0;
    m_toggle->drawButton->setVisible(drawShown);
    m_toggle->panButton->setVisible(false);
}

void GUITopBar::switchDrawPanToggle()
{
    m_drawMode = !m_drawMode;
    ::switchDrawPanToggle(m_toggle.get());
}

// --- handlers ---------------------------------------------------------------------------------

void GUITopBar::closeHud()
{
    GUI* gui = hud();
    if (!gui || gui->getState() == Closed)
        return;
    gui->setOpenMenu(0);
    gui->releaseMenuButton();
    gui->close();
}

void GUITopBar::onElementMenuButton(CCObject*)
{
    resetButtons();
    loadFrames();
    GameLayer::getInstance()->onElementsButton(m_elementMenuButton);
}

void GUITopBar::onToolButton(CCObject*)
{
    resetButtons();
    GameLayer::getInstance()->onToolsButton(m_toolButton);
}

void GUITopBar::onWorldSettingsButton(CCObject*)
{
    resetButtons();
    updateBadges();
    GameLayer::getInstance()->onWorldSettingsButton(m_worldSettingsButton);
}

void GUITopBar::onWorldMenuButton(CCObject*)
{
    resetButtons();
    updateBadges();
    GameLayer::getInstance()->onWorldButton(m_worldMenuButton);
}

void GUITopBar::onDayButton()
{
    resetButtons();
    updateBadges();
    if (GameLayer* layer = GameLayer::existingInstance())
        layer->openGoalsWindow();
}

void GUITopBar::onLevelButton()
{
    // The sound of a day that ends now (a day without goals has no end).
    AchievementManager* goals = AchievementManager::getInstance();
    if (!goals->hasActiveGoals() && goals->hasCurrentStep())
        playSound("sfx_game_day_cleared");
    onDayButton();
}

void GUITopBar::onEraserButton()
{
    GUI* gui = hud();
    if (!worldHost().isFreePlay() && !(gui && gui->isAvailable("Clear")))
        return;
    resetButtons();
    showEraserSelected();
    if (gui)
        gui->selectEraser();
    closeHud();
}

void GUITopBar::onZoomButton()
{
    GUI* gui = hud();
    if (!worldHost().isFreePlay() && !(gui && gui->isAvailable("Zoom")))
        return;
    resetDrawPanToggle(false);
    resetButtons();
    closeHud();
    GameLayer* layer = GameLayer::getInstance();
    if (layer->getZoomedOut()) {
        setZoomButtonIcon("guitopbar_HUDZoom.png");
        playSound("sfx_gui_zoom_out");
        layer->zoomToPoint(CCPointZero);
        return;
    }
    if (!m_zoomHintLabel && m_zoomButton && m_bar) {
        loadFrames();
        GUILabel::setFontName(kFont);
        m_zoomHintLabel = newLabel(LocalUtils::localize("ZoomInText"));
        m_zoomHintLabel->setAnchorPoint(ccp(0.5f, 1));
        const CCSize size = m_zoomButton->getContentSize();
        const CCPoint at =
            ccp(m_zoomButton->getPosition().x + size.width * 0.5f, m_zoomButton->getPosition().y - size.height - 5);
        m_zoomHintLabel->setPosition(at);
        m_bar->addChild(m_zoomHintLabel, -100);
        // On a dark plate: the hint lies over the world, which may be as
        // light as the sky.
        if (CCSprite* plate = frameSprite("guitopbar_hintPlate.png")) {
            const float scale = m_zoomHintLabel->getScale();
            const CCSize plateSize = plate->getContentSize();
            plate->setAnchorPoint(ccp(0.5f, 1));
            plate->setPosition(ccp(at.x, at.y + 1));
            plate->setScaleX((m_zoomHintLabel->getWidth() * scale + 4) / plateSize.width);
            plate->setScaleY((m_zoomHintLabel->getHeight() * scale + 2) / plateSize.height);
            m_bar->addChild(plate, -101, kZoomHintPlateTag);
        }
    }
    playSound("sfx_gui_select");
    layer->setZoomMode(true);
    if (m_zoomButton)
        m_zoomButton->setPressed(true);
}

void GUITopBar::onUndoButton()
{
    GameLayer* layer = GameLayer::getInstance();
    World& world = layer->getWorld();
    layer->undo();
    setUndoButtonIcon(world.undoToggle ? "guitopbar_HUDRedoPicto.png" : "guitopbar_HUDUndoPicto.png");
}

void GUITopBar::onPlayPauseButton()
{
    GameLayer* layer = GameLayer::getInstance();
    layer->setPaused(!layer->getPaused());
    setIcon(m_playPauseButton, layer->getPaused() ? "guitopbar_HUDPlayPicto.png" : "guitopbar_HUDPausePicto.png");
}

void GUITopBar::onManaButton()
{
    GameLayer* layer = GameLayer::existingInstance();
    if (GUI* gui = hud(); gui && gui->isVisible())
        gui->toggle();
    if (GUIAchievement* goals = layer ? layer->getAchievementWindow() : nullptr; goals && goals->isVisible())
        goals->hide();
    if (GUIBackgrounds* gallery = layer ? layer->getBackgroundsWindow() : nullptr; gallery && gallery->isVisible())
        gallery->toggle();
    if (GUIShare* share = layer ? layer->getShareWindow() : nullptr; share && share->isVisible())
        share->toggle();
    StatsUtils::openedShop(CCString::create("Mana Button"));
    ScreenUtils::trackButton();
}

void GUITopBar::onCameraButton()
{
    playSound("sfx_gui_photo");
    LOG << "SCREENSHOT";
    GUI* gui = hud();
    if (gui && gui->getState() == Open)
        return;
    resetButtons();
    GameLayer* layer = GameLayer::existingInstance();
    if (!layer)
        return;
    // The world first, then the whole screen.
    CCImage* worldImage = nullptr;
    if (CCSprite* snapshot = ScreenUtils::createWorldSnapshot())
        worldImage = ScreenUtils::renderNodeToImage(snapshot);
    CCImage* screenImage = ScreenUtils::renderScreenToImage();
    layer->openShareWindow(worldImage, screenImage);
    // Both come owned; the share window retains what it keeps.
    CC_SAFE_RELEASE(worldImage);
    CC_SAFE_RELEASE(screenImage);
}

void GUITopBar::onDrawPanToggle()
{
    switchDrawPanToggle();
}
