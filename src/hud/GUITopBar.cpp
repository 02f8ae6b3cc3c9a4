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

namespace {

GUITopBar* g_topBar = nullptr;

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
