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
#include "scene/GameLayer.h"
#include "world/World.h"

USING_NS_CC;

namespace {

GUITopBar* g_topBar = nullptr;

const char* const kSheetTexture = "pvr/guitopbar.png";
const char* const kSheetFrames = "pvr/guitopbar.plist";
const char* const kFont = "guitopbar_ach_fontButtons";
const int kZoomHintPlateTag = 71;

void loadFrames()
{
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kSheetFrames);
}

void playSound(const char* name)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str(), false);
}

GUI* hud()
{
    GameLayer* layer = GameLayer::existingInstance();
    return layer ? layer->getGUI() : nullptr;
}

// Sprites remember the frame the bar gave them, so that tests and the
// picture checks can tell which icon is shown.
CCSprite* frameSprite(const char* frame)
{
    CCSprite* sprite = CCSprite::createWithSpriteFrameName(frame);
    if (sprite)
        sprite->setUserObject(CCString::create(frame));
    return sprite;
}

void setIcon(GUIButton* button, const char* frame)
{
    if (!button || !frame)
        return;
    button->setIcon(frame);
    if (CCSprite* icon = button->getIcon())
        icon->setUserObject(CCString::create(frame));
}

GUILabel* newLabel(CCString* text)
{
    GUILabel* label = GUILabel::create();
    label->setScale(10.0f / GUILabel::fontSize);
    label->setText(text);
    return label;
}

void releaseButton(GUIButton* button)
{
    if (button)
        button->setPressed(false);
}

void removeNode(CCNode* node)
{
    if (node && node->getParent())
        node->removeFromParentAndCleanup(true);
}

}  // namespace

GUITopBar* GUITopBar::getInstance()
{
    if (!g_topBar) {
        g_topBar = new GUITopBar();
        g_topBar->initWithSize(CCSize(screenSize.width, 78.0f * static_cast<float>(screenRatio)));
    }
    return g_topBar;
}

void GUITopBar::resetInstanceForTests()
{
    if (!g_topBar)
        return;
    g_topBar->clearBar();
    g_topBar->removeFromParentAndCleanup(true);
    g_topBar->release();
    g_topBar = nullptr;
}

GUITopBar::~GUITopBar()
{
    CC_SAFE_RELEASE(m_notificationQueue);
    CC_SAFE_RELEASE(m_checkBox);
    CC_SAFE_RELEASE(m_checkTick);
}

bool GUITopBar::initWithSize(CCSize size)
{
    bool done = GUIWindow::initWithSize(size);
    m_state = Open;
    setPosition(CCPointZero);
    setVisible(true);
    setTouchEnabled(true);
    setLocked(false);
    return done;
}

void GUITopBar::onEnter()
{
    GUIWindow::onEnter();
    m_notificationShowing = false;
    m_lastShownMana = -1;
    refreshTemperatureIcon();
    updateBadges();
}

void GUITopBar::visit()
{
    GameLayer* layer = GameLayer::existingInstance();
    if (GUIButton* shown = m_toggle ? m_toggle->currentButton() : nullptr; shown && layer && layer->getZoomedOut()) {
        GUIWindow* window = ScreenUtils::getInstance()->getCurrentWindow();
        shown->setVisible(!window || !window->isVisible());
    }
    GUIWindow::visit();
}

// --- layouts -------------------------------------------------------------------------

void GUITopBar::clearBar()
{
    if (m_notificationPanel)
        m_notificationPanel->stopAllActions();
    for (CCNode* node : {static_cast<CCNode*>(m_checkBox), static_cast<CCNode*>(m_checkTick)})
        removeNode(node);
    CC_SAFE_RELEASE_NULL(m_checkBox);
    CC_SAFE_RELEASE_NULL(m_checkTick);
    removeNode(m_bar);
    removeNode(m_batchNode);
    CC_SAFE_RELEASE_NULL(m_notificationQueue);
    setPressedButton(nullptr);
    m_notificationShowing = false;
    m_elementMenuButton = m_toolButton = m_eraserButton = m_worldSettingsButton = m_worldMenuButton = nullptr;
    m_manaButton = m_zoomButton = m_playPauseButton = m_dayButton = m_undoButton = m_cameraButton = nullptr;
    m_toggle.reset();
    m_zoomPanLabel = m_zoomDrawLabel = m_zoomHintLabel = nullptr;
    m_elementBadge = m_toolBadge = m_worldSettingsBadge = nullptr;
    m_notificationPanel = nullptr;
    m_notificationLabel = nullptr;
    m_notificationIcon = nullptr;
    m_lightPicto = m_cloudsPicto = m_sunPicto = m_temperatureIcon = m_lilGodSprite = m_dayWonPlate = nullptr;
    m_bar = nullptr;
    m_batchNode = nullptr;
    m_buttonContainer = nullptr;
}

bool GUITopBar::beginBuild()
{
    clearBar();
    loadFrames();
    m_batchNode = CCSpriteBatchNode::create(kSheetTexture, 500);
    if (!m_batchNode)
        return false;
    if (m_batchNode->getTexture())
        m_batchNode->getTexture()->setAliasTexParameters();
    addChild(m_batchNode);
    GUILabel::setFontName(kFont);
    m_batchNode->setPosition(ccp((screenSize.width - visibleSize.width) / 2, m_batchNode->getPosition().y));

    m_bar = frameSprite("guitopbar_HUDcoin.png");
    if (!m_bar)
        return false;
    m_bar->setScale(static_cast<float>(4.25 * screenRatio));
    m_bar->setAnchorPoint(ccp(0, 1));
    m_bar->setPosition(ccp(0, visibleSize.height));
    m_batchNode->addChild(m_bar);
    m_buttonContainer = m_bar;
    const CCSize barSize = m_bar->getContentSize();

    m_notificationPanel = frameSprite("guitopbar_HUDRewardBar.png");
    if (m_notificationPanel) {
        const float h = m_notificationPanel->getContentSize().height;
        m_notificationPanel->setAnchorPoint(ccp(0, 1));
        m_notificationPanel->setPosition(ccp(6, h - 6));
        m_notificationLabel = newLabel(CCString::create("You unlocked something!"));
        m_notificationLabel->setAnchorPoint(CCPointZero);
        m_notificationLabel->setPosition(ccp(4, 6));
        m_notificationPanel->addChild(m_notificationLabel);
    }
    if (CCSprite* band = frameSprite("guitopbar_container.png")) {
        band->setAnchorPoint(ccp(0, 1));
        band->setPosition(ccp(-7, barSize.height + 2));
        m_bar->addChild(band);
    }
    if (m_notificationPanel)
        m_bar->addChild(m_notificationPanel, -10);
    return true;
}

void GUITopBar::showAvailableTools()
{
    if (worldHost().isFreePlay())
        return;
    GUI* gui = hud();
    GameLayer* layer = GameLayer::existingInstance();
    const auto show = [](GUIButton* button, bool available, const char* icon) {
        if (!button)
            return;
        if (available && !button->hasIcon()) {
            setIcon(button, icon);
            button->setOffset(ccp(0, 0.5f));
        } else if (!available && button->hasIcon()) {
            button->removeIcon();
        }
        button->setActivateDelayed(available);
    };
    show(m_eraserButton, gui && gui->isAvailable("Clear"), "guitopbar_HUDEraser.png");
    show(m_zoomButton, layer && layer->getZoomEnabled(), "guitopbar_HUDZoom.png");
}

GUIButton* GUITopBar::addRowButton(const char* frame, const char* icon, CCObject* callback, GUIButton* previous)
{
    GUIButton* button = GUIButton::create(callback, frame, nullptr);
    if (!button)
        return nullptr;
    button->setAnchorPoint(ccp(0, 1));
    const CCSize barSize = m_bar->getContentSize();
    if (previous)
        button->setPosition(ccp(previous->getPosition().x + previous->getContentSize().width, barSize.height - 2));
    else
        button->setPosition(ccp(1, barSize.height - 2));
    if (icon) {
        setIcon(button, icon);
        button->setOffset(ccp(0, 0.5f));
    }
    button->setActivateDelayed(true);
    m_bar->addChild(button);
    return button;
}

void GUITopBar::addWorldSettingsPictos()
{
    GUIButton* b = m_worldSettingsButton;
    if (!b)
        return;
    const CCSize size = b->getContentSize();
    if ((m_lightPicto = frameSprite("guitopbar_HUDpictoLight.png"))) {
        m_lightPicto->setAnchorPoint(CCPointZero);
        m_lightPicto->setPosition(ccp(2, 2));
        b->addChild(m_lightPicto);
    }
    if ((m_cloudsPicto = frameSprite("guitopbar_HUDpictoClouds.png"))) {
        m_cloudsPicto->setAnchorPoint(CCPointZero);
        m_cloudsPicto->setPosition(ccp(1, 11));
        b->addChild(m_cloudsPicto);
    }
    if ((m_sunPicto = frameSprite("guitopbar_HUDpictoSun.png"))) {
        m_sunPicto->setAnchorPoint(ccp(1, 1));
        m_sunPicto->setPosition(ccp(size.width - 2, size.height - 1));
        b->addChild(m_sunPicto);
    }
    if ((m_temperatureIcon = frameSprite("guitopbar_tempOff_3.png"))) {
        m_temperatureIcon->setAnchorPoint(CCPointZero);
        m_temperatureIcon->setPosition(ccp(21, 3));
        b->addChild(m_temperatureIcon);
    }
}

void GUITopBar::addDrawPanToggle()
{
    m_toggle.reset(createDrawPanToggle(CCCallFunc::create(this, callfunc_selector(GUITopBar::onDrawPanToggle))));
    for (GUIButton* button : {m_toggle->drawButton, m_toggle->panButton}) {
        button->setAnchorPoint(CCPointZero);
        // In the screen's bottom-left corner (where the game layer hands
        // touches to the bar), 6 pixels up: in the bar's units, from its
        // bottom edge.
        const float scale = m_bar->getScale() > 0 ? m_bar->getScale() : 1.0f;
        const float barBottom = m_bar->getPosition().y - m_bar->getContentSize().height * scale;
        button->setPosition(ccp(2, (6 - barBottom) / scale));
        button->setActivateDelayed(true);
        m_bar->addChild(button);
    }
    auto label = [](GUIButton* on, const char* key) -> GUILabel* {
        GUILabel* l = newLabel(LocalUtils::localize(key));
        l->setAnchorPoint(CCPointZero);
        l->setPosition(ccp(on->getContentSize().width * 1.25f, 0));
        on->addChild(l);
        return l;
    };
    m_zoomPanLabel = label(m_toggle->drawButton, "ZoomPanText");
    m_zoomDrawLabel = label(m_toggle->panButton, "ZoomDrawText");
}

#define TOPBAR_CALL(sel) CCCallFunc::create(this, callfunc_selector(GUITopBar::sel))
#define TOPBAR_CALL_O(sel) CCCallFuncO::create(this, callfuncO_selector(GUITopBar::sel), nullptr)

void GUITopBar::buildFreeModeBar()
{
    if (!beginBuild())
        return;
    GUIButton* b = nullptr;
    b = m_elementMenuButton = addRowButton("guitopbar_HUDbtnMenuElement.png", "guitopbar_HUDelement_Soil.png",
                                           TOPBAR_CALL_O(onElementMenuButton), nullptr);
    b = m_toolButton =
        addRowButton("guitopbar_HUDbtnMenuGeneric.png", "guitopbar_HUDDraw.png", TOPBAR_CALL_O(onToolButton), b);
    b = m_eraserButton =
        addRowButton("guitopbar_HUDbtnMenuGeneric.png", "guitopbar_HUDEraser.png", TOPBAR_CALL(onEraserButton), b);
    b = m_zoomButton =
        addRowButton("guitopbar_HUDbtnMenuGeneric.png", "guitopbar_HUDZoom.png", TOPBAR_CALL(onZoomButton), b);
    b = m_undoButton =
        addRowButton("guitopbar_HUDbtnMenuGeneric.png", "guitopbar_HUDUndoPicto.png", TOPBAR_CALL(onUndoButton), b);
    b = m_playPauseButton = addRowButton("guitopbar_HUDbtnMenuGeneric.png", "guitopbar_HUDPausePicto.png",
                                         TOPBAR_CALL(onPlayPauseButton), b);
    b = m_worldSettingsButton =
        addRowButton("guitopbar_HUDbtnMenuOptions.png", nullptr, TOPBAR_CALL_O(onWorldSettingsButton), b);
    b = m_worldMenuButton =
        addRowButton("guitopbar_HUDbtnMenuPlanet.png", "guitopbar_HUDplanet.png", TOPBAR_CALL_O(onWorldMenuButton), b);
    if (b)
        b->setOffset(ccp(-0.5f, 0.5f));
    b = m_manaButton = addRowButton("guitopbar_HUDbtnMenuMana.png", nullptr, TOPBAR_CALL(onManaButton), b);
    if (m_manaButton) {
        m_manaButton->setEnabled(false);
        addManaCounter(5);
    }
    m_cameraButton =
        addRowButton("guitopbar_HUDbtnMenuCamera.png", "guitopbar_camera.png", TOPBAR_CALL(onCameraButton), b);
    addWorldSettingsPictos();
    showElementSelected();
    addDrawPanToggle();
    m_drawMode = true;
    getInstance()->setLocked(false);
    resetButtons();
}

void GUITopBar::buildCampaignBar()
{
    if (!beginBuild())
        return;
    GUIButton* b = nullptr;
    b = m_elementMenuButton = addRowButton("guitopbar_HUDbtnMenuElement.png", "guitopbar_HUDelement_Soil.png",
                                           TOPBAR_CALL_O(onElementMenuButton), nullptr);
    b = m_toolButton =
        addRowButton("guitopbar_HUDbtnMenuGeneric.png", "guitopbar_HUDDraw.png", TOPBAR_CALL_O(onToolButton), b);
    // Unavailable eraser and zoom stay blank buttons that still call their
    // handlers (which refuse).
    b = m_eraserButton = addRowButton("guitopbar_HUDbtnMenuGeneric.png", nullptr, TOPBAR_CALL(onEraserButton), b);
    b = m_zoomButton = addRowButton("guitopbar_HUDbtnMenuGeneric.png", nullptr, TOPBAR_CALL(onZoomButton), b);
    showAvailableTools();
    b = m_worldSettingsButton =
        addRowButton("guitopbar_HUDbtnMenuOptions.png", nullptr, TOPBAR_CALL_O(onWorldSettingsButton), b);
    b = m_worldMenuButton =
        addRowButton("guitopbar_HUDbtnMenuPlanet.png", "guitopbar_HUDplanet.png", TOPBAR_CALL_O(onWorldMenuButton), b);
    if (b)
        b->setOffset(ccp(-0.5f, 0.5f));
    addDayButton(b);
    if (m_dayButton)
        b = m_dayButton;
    b = m_manaButton = addRowButton("guitopbar_HUDbtnMenuMana.png", nullptr, TOPBAR_CALL(onManaButton), b);
    if (m_manaButton) {
        m_manaButton->setEnabled(true);
        addManaCounter(6);
    }
    m_cameraButton =
        addRowButton("guitopbar_HUDbtnMenuCamera.png", "guitopbar_camera.png", TOPBAR_CALL(onCameraButton), b);
    addWorldSettingsPictos();
    showElementSelected();
    addDrawPanToggle();
}

#undef TOPBAR_CALL
#undef TOPBAR_CALL_O

CCArray* GUITopBar::rowButtons() const
{
    CCArray* row = CCArray::create();
    for (GUIButton* b :
         {m_elementMenuButton, m_toolButton, m_eraserButton, m_zoomButton, m_undoButton, m_playPauseButton,
          m_worldSettingsButton, m_worldMenuButton, m_dayButton, m_manaButton, m_cameraButton})
        if (b)
            row->addObject(b);
    return row;
}

void GUITopBar::resetButtons()
{
    GUITopBar* bar = getInstance();
    for (GUIButton* b : {bar->m_elementMenuButton, bar->m_toolButton, bar->m_worldSettingsButton,
                         bar->m_worldMenuButton, bar->m_dayButton, bar->m_manaButton, bar->m_zoomButton})
        releaseButton(b);
    bar->hideZoomHint();
    if (GameLayer* layer = GameLayer::existingInstance())
        layer->setZoomMode(false);
}

void GUITopBar::refreshTemperatureIcon()
{
    if (!m_worldSettingsButton)
        return;
    loadFrames();
    removeNode(m_temperatureIcon);
    m_temperatureIcon = nullptr;
    GUI* gui = hud();
    const int setting = gui ? gui->getTemperatureSetting() : 3;
    const bool on = gWorld && gWorld->temperatureField.isViewOn();
    const std::string frame =
        std::string(on ? "guitopbar_tempOn_" : "guitopbar_tempOff_") + std::to_string(setting) + ".png";
    if ((m_temperatureIcon = frameSprite(frame.c_str()))) {
        m_temperatureIcon->setAnchorPoint(CCPointZero);
        m_temperatureIcon->setPosition(ccp(21 * static_cast<float>(screenRatio), 3 * static_cast<float>(screenRatio)));
        m_worldSettingsButton->addChild(m_temperatureIcon);
    }
    if (!gWorld)
        return;
    if (m_lightPicto)
        m_lightPicto->setVisible(gWorld->lightMap.isLightOn());
    if (m_cloudsPicto)
        m_cloudsPicto->setVisible(gWorld->weather);
    if (m_sunPicto)
        m_sunPicto->setVisible(gWorld->lightMap.isSunOn());
}

std::string GUITopBar::frameOf(CCNode* node)
{
    auto* name = node ? dynamic_cast<CCString*>(node->getUserObject()) : nullptr;
    return name ? name->getString() : std::string();
}

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
    World& world = GameLayer::getInstance()->getWorld();
    world.undo();
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
