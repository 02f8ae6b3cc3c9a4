#include "scene/GameLayer.h"

#include <utility>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "profile/Profile.h"
#include "scene/SaveLoadUtils.h"
#include "base/ScreenMetrics.h"
#include "gui/ScreenUtils.h"
#include "base/Utils.h"
#include "goals/AchievementManager.h"
#include "goals/RandomDealer.h"
#include "gui/GUIBatchNodeMenu.h"
#include "gui/GUILabel.h"
#include "gui/GUIWindow.h"
#include "world/CCMutableTexture2D.h"
#include "scene/Camera.h"
#include "scene/SceneHud.h"
#include "scene/ZoomOutView.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {

GameLayer* s_instance = nullptr;

constexpr float kTickInterval = 1.0f / 30.0f;
constexpr int kFreePlayMode = -99;

// The cell side in screen pixels; 1 before the screen metrics are known, so
// a layer made that early still has a size.
float cellPixels()
{
    return static_cast<float>(pixelSize > 0 ? pixelSize : 1);
}

void replaceString(CCString*& slot, CCString* value)
{
    if (value == slot)
        return;
    CC_SAFE_RETAIN(value);
    CC_SAFE_RELEASE(slot);
    slot = value;
}

}  // namespace

GameLayer* GameLayer::getInstance()
{
    if (!s_instance) {
        s_instance = new GameLayer();
        s_instance->init();
    }
    return s_instance;
}

GameLayer* GameLayer::existingInstance()
{
    return s_instance;
}

void GameLayer::resetInstanceForTests()
{
    if (s_instance) {
        GameLayer* layer = s_instance;
        layer->unscheduleAllSelectors();
        layer->stopAllActions();
        layer->removeFromParentAndCleanup(true);
        layer->removeAllChildrenWithCleanup(true);
        s_instance = nullptr;
        layer->release();
    }
    sceneHud().resetForTests();
    Camera::resetForTests();
}

GameLayer::GameLayer() = default;

GameLayer::~GameLayer()
{
    CC_SAFE_RELEASE(m_musicDealer);
    m_musicDealer = nullptr;
    CC_SAFE_RELEASE(m_backgroundName);
    m_backgroundName = nullptr;
    sceneHud().layerGoes(*this);
    CC_SAFE_RELEASE(m_zoomOutView);
    m_zoomOutView = nullptr;
    CC_SAFE_RELEASE(m_camera);
    m_camera = nullptr;
    CC_SAFE_RELEASE(m_universeName);
    CC_SAFE_RELEASE(m_universeDescription);
    CC_SAFE_RELEASE(m_loadedWorldName);
    if (gWorld == &m_world)
        gWorld = nullptr;
    CC_SAFE_RELEASE(m_previousTouches);
    CC_SAFE_RELEASE(m_touches);
    m_previousTouches = m_touches = nullptr;
}

bool GameLayer::init()
{
    gWorld = &m_world;
    LOG << "PIXELSIZE: " << pixelSize;
    const float p = cellPixels();
    initWithColor(ccc4(0, 0, 0, 0), p * visibleSize.width, p * visibleSize.height);

    setUniverseName(LocalUtils::localize("UniverseNameEmpty"));
    setUniverseDescription(LocalUtils::localize("UniverseDescriptionInitial"));
    m_paused = false;

    CCArray* tracks = CCArray::create();
    for (const char* track : {"music_level_2", "music_level_3", "music_level_4"})
        tracks->addObject(CCString::create(track));
    m_musicDealer = RandomDealer::create(tracks);
    m_musicDealer->retain();
    musicHoldTicks = 0;
    m_levelMusicOn = true;

    m_camera = new Camera();
    m_camera->setup(this, getContentSize());
    m_camera->zoomTo(m_camera->getZoomMax() * visibleSize.width / (World::kSmallWidth * p));

    buildWorldSprite(World::kSmallWidth, World::kSmallHeight);

    m_zoomedOut = false;
    m_zoomEnabled = false;
    m_overviewUsed = false;

    m_zoomOutView = new ZoomOutView();
    m_zoomOutView->setup(m_worldTexture);
    m_zoomOutView->setVisible(false);

    addChild(m_worldSprite);
    m_world.init(this);
    AchievementManager::getInstance();
    CCTexture2D::PVRImagesHavePremultipliedAlpha(true);

    sceneHud().layerMade(*this);
    GUILabel::setFontName("achgui_ach_colorFont");

    setTouchEnabled(true);
    setKeypadEnabled(true);
    m_previousTouches = new CCArray();
    m_touches = new CCArray();
    m_touching = false;
    m_restoreAfterBackground = false;
    return true;
}

void GameLayer::buildWorldSprite(int w, int h)
{
    const float p = cellPixels();
    m_worldTexture = CCMutableTexture2D::createWithSize(CCSize(w, h));
    m_worldTexture->fill(ccc4(0, 0, 0, 0));
    m_worldTexture->apply();
    m_worldSprite = CCSprite::createWithTexture(m_worldTexture, CCRect(0, 0, w, h));
    m_worldSprite->setAnchorPoint(CCPointZero);
    m_worldSprite->setScale(p * p);
    m_worldSprite->setFlipY(true);
    m_worldTexture->setAliasTexParameters();
}

CCScene* GameLayer::scene()
{
    CCScene* scene = CCScene::create();
    GameLayer* layer = getInstance();
    layer->removeFromParentAndCleanup(false);
    layer->m_returnAsItWas = false;
    scene->addChild(layer, -200);
    auto* borders = new GUIBorderLayer();
    scene->addChild(borders);
    borders->release();
    // The HUD windows sit in the scene above the layer.
    sceneHud().addWindows(scene, *layer);
    return scene;
}

void GameLayer::resizeWorldView(bool big)
{
    const int w = big ? World::kMaxWidth : World::kSmallWidth;
    const int h = big ? World::kMaxHeight : World::kSmallHeight;
    const float p = cellPixels();
    if (m_camera)
        m_camera->zoomTo(m_camera->getZoomMax() * visibleSize.width / (p * w));
    if (m_worldSprite)
        m_worldSprite->removeFromParentAndCleanup(true);
    buildWorldSprite(w, h);
    addChild(m_worldSprite);
    CCNode* overviewParent = m_zoomOutView ? m_zoomOutView->getParent() : nullptr;
    const bool overviewShown = m_zoomOutView && m_zoomOutView->isVisible();
    if (m_zoomOutView) {
        m_zoomOutView->removeFromParentAndCleanup(true);
        m_zoomOutView->release();
    }
    m_zoomOutView = new ZoomOutView();
    m_zoomOutView->setup(m_worldTexture);
    m_zoomOutView->setVisible(overviewShown);
    if (overviewParent)
        overviewParent->addChild(m_zoomOutView);
}

void GameLayer::closeWindow(GUIWindow* window)
{
    if (!window)
        return;
    ScreenUtils* screens = ScreenUtils::getInstance();
    if (screens->getCurrentWindow() == window)
        screens->setCurrentWindow(nullptr);
    // The share and backgrounds windows are the layer's own (retained); any
    // other window belongs to whoever put it in the scene.
    if (!sceneHud().letGoOwnWindow(*this, window))
        window->removeFromParentAndCleanup(true);
}

void GameLayer::placeOverviewMarker()
{
    if (!m_camera || !m_zoomOutView || !m_zoomOutView->getFrameSprite())
        return;
    const float rangeX = m_camera->getMaxX() - m_camera->getMinX();
    const float rangeY = m_camera->getMaxY() - m_camera->getMinY();
    // Not magnified: the view cannot move, and there is no range to place
    // the marker in.
    if (rangeX == 0 || rangeY == 0)
        return;
    const CCPoint pos = getPosition();
    const float m = screenSize.width - visibleSize.width;
    const float ax = pos.x - m_camera->getMaxX() - m / 2;
    const float ay = pos.y - m_camera->getMaxY();
    const CCSize frame = m_zoomOutView->getFrameSize();
    m_zoomOutView->getFrameSprite()->setPosition(
        ccp(-ax * (m_world.width - frame.width) / rangeX, -ay * (m_world.height - frame.height) / rangeY));
}

void GameLayer::tick(float)
{
    --musicHoldTicks;
    if (m_worldSprite) {
        const bool dark = m_world.lightMap.isLightOn() && m_world.lightMap.isSunOn();
        if (m_worldSprite->isVisible() && dark)
            m_worldSprite->setVisible(false);
        else if (!m_worldSprite->isVisible() && !dark)
            m_worldSprite->setVisible(true);
    }
    pollAltKey();
    if (m_zoomOutView)
        m_zoomOutView->setVisible(sceneHud().hudClosed(*this));
    placeOverviewMarker();
    m_world.step();
    // A window that came up over a held stroke takes the touch: the stroke
    // ends, or it would paint under the window and on after it closed.
    if (m_touching && windowTakesTouches())
        resetStroke();
    if (m_touching)
        applyTool();
    if (m_restoreAfterBackground) {
        CCMutableTexture2D::invalidateAll();
        Profile* profile = Profile::getInstance();
        const int32_t n = profile->getLaunchCount();
        LOG << "launchCount == " << n;
        if (n < 3) {
            profile->setLaunchCount(n + 1);
            profile->save();
            LOG << "Updated launchCount == " << n + 1;
        }
        m_restoreAfterBackground = false;
    }
}

void GameLayer::pollAltKey()
{
    const bool down = CCEGLView::sharedOpenGLView()->isKeyDown(kCCKeyAlt);
    if (down == m_altDown)
        return;
    m_altDown = down;
    if (!m_zoomedOut)
        return;
    SceneHud& hud = sceneHud();
    if (down) {
        LOG << "Alt key down";
        if (!hud.panning())
            hud.switchDrawPanToggle();
    } else {
        LOG << "Alt key up";
        if (hud.panning())
            hud.switchDrawPanToggle();
    }
}

void GameLayer::playNextLevelMusic()
{
    m_musicDealer->dump();
    auto* track = dynamic_cast<CCString*>(m_musicDealer->deal());
    m_lastTrack = track ? track->getString() : std::string();
    if (track)
        SimpleAudioEngine::sharedEngine()->playBackgroundMusic(soundFilePath("music", m_lastTrack.c_str()).c_str(),
                                                               false);
    if (CCScene* running = CCDirector::sharedDirector()->getRunningScene())
        running->runAction(CCSequence::create(
            CCDelayTime::create(3.0f), CCCallFunc::create(this, callfunc_selector(GameLayer::musicWatcher)), NULL));
}

void GameLayer::musicWatcher()
{
    CCScene* running = CCDirector::sharedDirector()->getRunningScene();
    if (!running)
        return;
    if (m_levelMusicOn && musicHoldTicks <= 0 && !SimpleAudioEngine::sharedEngine()->isBackgroundMusicPlaying())
        running->runAction(
            CCSequence::create(CCDelayTime::create(1.0f),
                               CCCallFunc::create(this, callfunc_selector(GameLayer::playNextLevelMusic)), NULL));
    else
        running->runAction(CCSequence::create(
            CCDelayTime::create(3.0f), CCCallFunc::create(this, callfunc_selector(GameLayer::musicWatcher)), NULL));
}

void GameLayer::onEnter()
{
    BackButtonAdapter::getInstance()->addListener(this);
    playNextLevelMusic();
    CCLayerColor::onEnter();
}

void GameLayer::onExit()
{
    BackButtonAdapter::getInstance()->removeListener(this);
    CCLayerColor::onExit();
}

void GameLayer::cleanup()
{
    // The delayed introduction stops with the layer's actions.
    m_freeModeIntroductionDue = false;
    CCLayerColor::cleanup();
}

void GameLayer::onEnterTransitionDidFinish()
{
    if (m_returnAsItWas) {
        m_returnAsItWas = false;
        ScreenUtils::getInstance()->setCurrentWindow(ScreenUtils::getInstance()->savedWindow);
        CCLayerColor::onEnterTransitionDidFinish();
        schedule(schedule_selector(GameLayer::tick), kTickInterval);
        return;
    }
    m_zoomMode = false;
    SceneHud& hud = sceneHud();
    hud.updateMana();
    const bool freePlay = SaveLoadUtils::isFreePlay();
    Profile* profile = Profile::getInstance();
    if (m_zoomOutView)
        m_zoomOutView->setColor(!freePlay && profile->getGameMode() == 4 ? ccc3(224, 222, 198) : ccc3(32, 32, 32));
    hud.selectStartChoices(*this);
    ScreenUtils::getInstance()->setCurrentWindow(ScreenUtils::getInstance()->savedWindow);
    GUIWindow* message = hud.messageWindow();
    if (!freePlay) {
        if (profile->getGameMode() == 0 && profile->getDay() == 1)
            runAction(CCSequence::create(CCDelayTime::create(0.4f),
                                         CCCallFunc::create(this, callfunc_selector(GameLayer::showStoryIntroduction)),
                                         NULL));
        else if (message && message->getParent())
            ScreenUtils::getInstance()->setCurrentWindow(message);
        // A page the last day's end owes comes first; today's goals follow
        // it as they follow it in play.
        else if (!AchievementManager::getInstance()->showOwedPage(profile->getGameMode()))
            hud.onDayButton();
    } else if (!hud.freeModeIntroDone() && !m_openGalleryOnEnter && m_galleryOrigin.id == 0) {
        // Not over a world the player just opened from the gallery.
        m_freeModeIntroductionDue = true;
        runAction(CCSequence::create(CCDelayTime::create(1.0f),
                                     CCCallFunc::create(this, callfunc_selector(GameLayer::showFreeModeIntroduction)),
                                     NULL));
    }
    if (m_openGalleryOnEnter) {
        m_openGalleryOnEnter = false;
        hud.openGalleryFromMainMenuLater(*this, 1.0f);
    }
    CCLayerColor::onEnterTransitionDidFinish();
    schedule(schedule_selector(GameLayer::tick), kTickInterval);
}

bool GameLayer::freeModeIntroductionPending()
{
    if (m_freeModeIntroductionDue)
        return true;
    GUIWindow* message = sceneHud().messageWindow();
    return !sceneHud().freeModeIntroDone() && message && message->getParent() &&
        Profile::getInstance()->getGameMode() == kFreePlayMode;
}

void GameLayer::onBackPressed()
{
    // A new player's free mode waits for its introduction while it is on its
    // way or being read. Only then: a world that came without one (from the
    // gallery, then emptied or replaced) would otherwise never answer.
    if (freeModeIntroductionPending())
        return;
    // Leaving drops what was not saved: Return keeps the player here.
    ScreenUtils::showLosingQuestion(LocalUtils::localize("ConfirmationGameplayMainMenu"), this,
                                    callfunc_selector(GameLayer::leaveToMenu));
}

void GameLayer::showStoryIntroduction()
{
    ScreenUtils::showStoryIntroduction();
}

void GameLayer::showFreeModeIntroduction()
{
    m_freeModeIntroductionDue = false;
    // A gallery world opened meanwhile has no introduction.
    if (m_galleryOrigin.id == 0)
        ScreenUtils::showFreeModeIntroduction();
}

std::vector<GalleryOrigin*> GameLayer::galleryOriginsOf(int32_t id)
{
    std::vector<GalleryOrigin*> origins;
    for (GalleryOrigin* origin : {&m_galleryOrigin, &m_undoGalleryOrigin})
        if (id != 0 && origin->id == id)
            origins.push_back(origin);
    return origins;
}

void GameLayer::forgetGalleryOrigin(int32_t id)
{
    for (GalleryOrigin* origin : {&m_galleryOrigin, &m_undoGalleryOrigin})
        if (origin->id != 0 && (id == 0 || origin->id == id))
            *origin = GalleryOrigin{};
}

void GameLayer::undo()
{
    const bool toggle = m_world.undoToggle;
    m_world.undo();
    // A snapshot that could not be loaded changed nothing.
    if (m_world.undoToggle != toggle)
        std::swap(m_galleryOrigin, m_undoGalleryOrigin);
}

void GameLayer::leaveToMenu()
{
    // A level won but not closed on its board is kept: the menu then offers
    // the next one.
    AchievementManager::getInstance()->keepWonDay(Profile::getInstance()->getGameMode());
    popSceneAfterDelay(0.25f);
}

void GameLayer::registerWithTouchDispatcher()
{
    CCDirector::sharedDirector()->getTouchDispatcher()->addStandardDelegate(this, 0);
}

void GameLayer::keyArrowPressed(int code)
{
    if (!m_zoomedOut || !m_camera || BackButtonAdapter::getInstance()->boxInFront())
        return;
    CCPoint step;
    switch (code) {
    case 1: step = ccp(0, 64); break;
    case 2: step = ccp(0, -64); break;
    case 3: step = ccp(-64, 0); break;
    case 4: step = ccp(64, 0); break;
    default: return;
    }
    if (m_camera->isPanning())
        return;
    // A pan from (0, 0) to the step moves the layer against the step, as a
    // drag would; beginPan shifts its start by half the margin.
    m_camera->beginPan(CCPointZero);
    m_camera->panTo(ccpSub(ccp(-visibleMargin().width / 2, 0), step));
    m_camera->anchorHere();
}

void GameLayer::setUniverseName(CCString* name)
{
    replaceString(m_universeName, name);
}

void GameLayer::setUniverseDescription(CCString* description)
{
    replaceString(m_universeDescription, description);
}

void GameLayer::setLoadedWorldName(CCString* name)
{
    replaceString(m_loadedWorldName, name);
}
