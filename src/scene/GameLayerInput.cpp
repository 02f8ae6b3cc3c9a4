// The game layer's input: touches and mouse buttons become tool strokes, a
// long press on an editable particle, zoom taps and pans of the magnified view.
#include <cmath>
#include <cstdlib>

#include "SimpleAudioEngine.h"
#include "base/NSData.h"
#include "base/Logger.h"
#include "profile/Profile.h"
#include "base/ScreenMetrics.h"
#include "gui/ScreenUtils.h"
#include "base/Utils.h"
#include "cocos2d_extensions/CCValue.h"
#include "elements/creatures/CreatureCounts.h"
#include "gui/GUIKeyboard.h"
#include "gui/GUIWindow.h"
#include "platform/GameRandom.h"
#include "scene/Camera.h"
#include "scene/GameLayer.h"
#include "scene/SceneHud.h"
#include "world/ParticleCreator.h"
#include "world/Tool.h"
#include "scene/ZoomOutView.h"

USING_NS_CC;
using cocos2d_extensions::CCValue;
using CocosDenshion::SimpleAudioEngine;

namespace {

unsigned g_toolSound = 0;  // effect id of the stroke's looping sound

CCTouch* anyTouch(CCSet* touches)
{
    return touches ? dynamic_cast<CCTouch*>(touches->anyObject()) : nullptr;
}

// A box is up: the window in front waits for its answer, or has had it and
// is still fading.
bool boxShown()
{
    GUIWindow* window = ScreenUtils::shownWindow();
    return window && (window->awaitsAnswer() || window->isLeaving());
}

// The on-screen keyboard takes touches first while it is in the running
// scene, even on the top bar's strip, unless a box shows over it (an
// answer to the text it took). One left in a scene that was replaced is not
// on screen.
GUIWindow* keyboardWindowOnScreen()
{
    GUIKeyboard* keyboard = GUIKeyboard::existingInstance();
    if (!keyboard || !keyboard->getParent() || boxShown())
        return nullptr;
    CCNode* root = keyboard;
    while (root->getParent())
        root = root->getParent();
    return root == CCDirector::sharedDirector()->getRunningScene() ? keyboard : nullptr;
}

float topBarHeight()
{
    return 80.0f * static_cast<float>(screenRatio);
}

}  // namespace

bool GameLayer::insideWorldView(CCPoint p)
{
    const float margin = screenSize.width - visibleSize.width;
    return p.x > margin / 2 && p.x < screenSize.width - margin / 2;
}

CCPoint GameLayer::worldCellAt(CCPoint glPoint) const
{
    const CCPoint local = convertToNodeSpace(glPoint);
    const float p2 = static_cast<float>(pixelSize * pixelSize);
    if (p2 <= 0)
        return CCPointZero;
    // The layer's transform leaves float error (89.99996 for 90): snap to a
    // 1/1024 of a cell so a press on a cell edge lands in the cell it shows.
    auto snap = [](float v) { return std::round(v * 1024.0f) / 1024.0f; };
    return ccp(snap(local.x / p2), snap(local.y / p2));
}

void GameLayer::stopToolSound()
{
    SimpleAudioEngine::sharedEngine()->stopEffect(g_toolSound);
}

void GameLayer::playStrokeSound(const std::string& name)
{
    g_toolSound = SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name.c_str()).c_str(), true);
    m_strokeStarted = true;
}

void GameLayer::reanchorCamera()
{
    if (m_camera && m_camera->isPanning())
        m_camera->anchorHere();
}

void GameLayer::emptyTouchArrays()
{
    if (m_previousTouches)
        m_previousTouches->removeAllObjects();
    if (m_touches)
        m_touches->removeAllObjects();
}

GUIWindow* GameLayer::touchedPanel()
{
    // The panel may have closed since the touch began.
    if (m_panelTouched && sceneHud().vehiclePanelOpen(m_panelTouched))
        return m_panelTouched;
    m_panelTouched = nullptr;
    return nullptr;
}

bool GameLayer::windowTakesTouches() const
{
    return ScreenUtils::shownWindow() != nullptr;
}

void GameLayer::ccTouchesBegan(CCSet* touches, CCEvent*)
{
    CCTouch* touch = anyTouch(touches);
    if (!touch)
        return;
    const CCPoint p = touch->getLocation();
    SceneHud& hud = sceneHud();
    // A box is modal: the bar under its shade takes no touches either.
    const bool barLocked = hud.topBarLocked() || boxShown();
    GUIWindow* keyboard = keyboardWindowOnScreen();
    m_pressOnWorld = false;
    // A vehicle panel is no current window: a touch on it goes to it alone.
    if (!keyboard && !ScreenUtils::shownWindow()) {
        if (GUIWindow* panel = hud.vehiclePanelAt(p)) {
            m_panelTouched = panel;
            panel->handleTouchBegan(touch);
            return;
        }
    }
    m_panelTouched = nullptr;
    if (keyboard) {
        keyboard->handleTouchBegan(touch);
    } else if (!barLocked && p.y > screenSize.height - topBarHeight()) {
        hud.topBarTouchBegan(touch);
    } else if (GUIWindow* window = ScreenUtils::shownWindow()) {
        window->handleTouchBegan(touch);
    } else if (!barLocked && m_zoomedOut && p.x < 90 && p.y < 90) {
        hud.topBarTouchBegan(touch);
    } else {
        if (m_zoomMode) {
            if (touches->count() == 1) {
                SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", "sfx_gui_zoom_in").c_str(),
                                                              false);
                zoomToPoint(p);
                hud.setZoomButtonIcon("guitopbar_HUDZoomOut.png");
            }
            m_zoomMode = false;
            hud.unpressZoomButton();
            hud.hideZoomHint();
            return;
        }
        m_touchedParticle = nullptr;
        m_touchedParticleId = -1;
        m_strokeApplied = false;
        m_pressOnWorld = true;
        if (m_camera && getScale() == m_camera->getZoomMin() && touches->count() == 1) {
            m_touchBegin = worldCellAt(p);
            const int cx = static_cast<int>(m_touchBegin.x);
            const int cy = static_cast<int>(m_touchBegin.y);
            if (insideWorldView(p) && m_touchBegin.x >= 0 && m_touchBegin.y >= 0) {
                Particle* particle = m_world.at(cx, cy);
                if (particle && particle->editable) {
                    m_touchedParticle = particle;
                    m_touchedParticleId = particle->id;
                    scheduleOnce(schedule_selector(GameLayer::onLongPress), 0.8f);
                }
            }
        }
        if (!m_touchedParticle) {
            scheduleOnce(schedule_selector(GameLayer::beginStroke), 0.02f);
            collectTouches(touches);
        }
        return;
    }
    resetStroke();
}

void GameLayer::collectTouches(CCSet* set)
{
    if (windowTakesTouches() || !set)
        return;
    if (m_camera && getScale() == m_camera->getZoomMin() && sceneHud().panning()) {
        stopToolSound();
        const CCPoint c = panCentroid(set);
        if (!m_camera->isPanning())
            m_camera->beginPan(c);
        else
            m_camera->panTo(c);
        m_touching = false;
    } else {
        reanchorCamera();
    }
    if (m_camera && m_camera->isPanning())
        return;
    CC_SAFE_RELEASE(m_previousTouches);
    m_previousTouches = m_touches ? m_touches : new CCArray();
    m_touches = new CCArray();
    for (CCObject* object : *set) {
        auto* touch = dynamic_cast<CCTouch*>(object);
        if (!touch || !insideWorldView(touch->getLocation()))
            continue;
        CCArray* entry = CCArray::create();
        entry->addObject(CCInteger::create(touch->getID()));
        entry->addObject(CCValue<CCPoint>::create(worldCellAt(touch->getLocation())));
        m_touches->addObject(entry);
    }
    if (m_previousTouches->count() == 0)
        m_previousTouches->addObjectsFromArray(m_touches);
    applyTool();
}

void GameLayer::applyTool()
{
    if (m_touching)
        m_strokeApplied = true;
    m_world.applyCurrentTool();
}

CCPoint GameLayer::panCentroid(CCSet* set)
{
    CCPoint sum = CCPointZero;
    unsigned count = 0;
    CCNode* parent = getParent();
    for (CCObject* object : *set) {
        auto* touch = dynamic_cast<CCTouch*>(object);
        if (!touch)
            continue;
        const CCPoint p = parent ? parent->convertTouchToNodeSpace(touch) : touch->getLocation();
        sum = ccpSub(sum, p);
        ++count;
    }
    if (count >= 2)
        sum = ccpMult(sum, 1.0f / static_cast<float>(count));
    return sum;
}

bool GameLayer::creatureLimitRefuses(uint32_t h, const char** key) const
{
    using C = CreatureCounts;
    struct Limit {
        uint32_t type;
        bool refused;
        const char* key;
    };
    const Limit limits[] = {
        {hashString("RobotLeader"), C::robots >= 5, "RobotLimitWarning"},
        {hashString("MPLeaderTruck"), C::trucks >= 3, "VehicleLimitWarning"},
        {hashString("MPLeaderCar"), C::cars - C::sportCars - C::tanks - C::trucks >= 3, "VehicleLimitWarning"},
        {hashString("MPLeaderTank"), C::tanks >= 1, "VehicleLimitWarning"},
        {hashString("MPSportCar"), C::sportCars >= 3, "VehicleLimitWarning"},
        {hashString("Flamingo"), C::flamingos >= 20, "FlamingoLimitWarning"},
        {hashString("LionLeader"), C::lions >= 4, "LionLimitWarning"},
        {hashString("MPLander"), C::landers >= 1, "VehicleLimitWarning"},
    };
    for (const Limit& limit : limits) {
        if (limit.type != h)
            continue;
        *key = limit.key;
        return limit.refused;
    }
    return false;
}

void GameLayer::beginStroke(float)
{
    unschedule(schedule_selector(GameLayer::beginStroke));
    startStroke(true);
}

bool GameLayer::startStroke(bool withSound)
{
    Tool* tool = m_world.currentTool;
    // No tool chosen (or a name that is not a tool): nothing to start.
    if (!tool)
        return false;
    CCString* element = sceneHud().currentElement(*this);
    const std::string name = element ? element->getString() : std::string();
    const int kind = tool->kind;
    const bool drawOrLine = kind == Tool::kDraw || kind == Tool::kLine;
    const bool sound = withSound && !m_strokeStarted;
    if (name == "Clear") {
        if (drawOrLine && sound)
            playStrokeSound("sfx_tool_eraser");
    } else if (kind == Tool::kMiner) {
        if (sound)
            playStrokeSound("sfx_element_metal");
    } else if (!(m_camera && m_camera->isPanning()) && drawOrLine && element) {
        const uint32_t h = hashString(name);
        const char* key = nullptr;
        if (creatureLimitRefuses(h, &key)) {
            sceneHud().showLimitWarning(key);
            return false;
        }
        // Built by append: GCC 12 warns wrongly on "_" + std::to_string(...).
        std::string suffix;
        if (h == hashString("HumanLeader"))
            suffix = std::string(1, '_').append(std::to_string(gameRand() % 5 + 1));
        if (Particle* probe = ParticleCreator::createById(h)) {
            if (sound)
                playStrokeSound(probe->getSoundName() + suffix);
            delete probe;
        }
    }
    CC_SAFE_RELEASE(m_world.undoSnapshot);
    m_world.undoSnapshot = m_world.save();
    CC_SAFE_RETAIN(m_world.undoSnapshot);
    m_undoGalleryOrigin = m_galleryOrigin;
    m_world.unsavedChanges = true;
    if (m_world.undoToggle) {
        sceneHud().setUndoButtonIcon("guitopbar_HUDUndoPicto.png");
        m_world.undoToggle = false;
    }
    m_touching = true;
    return true;
}

void GameLayer::onLongPress(float)
{
    unschedule(schedule_selector(GameLayer::onLongPress));
    Particle* particle = m_touchedParticle;
    m_touchedParticle = nullptr;
    // The world kept stepping for 0.8 s: touch the particle only if it still
    // lives under its id.
    if (!particle || m_touchedParticleId < 0 || m_touchedParticleId >= World::kMaxParticles ||
        m_world.pool()[m_touchedParticleId] != particle)
        return;
    particle->onTouch();
}

void GameLayer::ccTouchesMoved(CCSet* touches, CCEvent*)
{
    if (GUIWindow* panel = touchedPanel()) {
        if (CCTouch* touch = anyTouch(touches))
            panel->handleTouchMoved(touch);
        return;
    }
    if (GUIWindow* window = ScreenUtils::shownWindow()) {
        // A window that came up over a stroke ends it; it never got the press.
        if (m_pressOnWorld)
            resetStroke();
        else if (CCTouch* touch = anyTouch(touches))
            window->handleTouchMoved(touch);
        return;
    }
    if (!m_pressOnWorld)
        return;
    if (!m_touchedParticle) {
        collectTouches(touches);
        return;
    }
    bool startStroke = touches->count() > 1;
    if (!startStroke) {
        CCTouch* touch = anyTouch(touches);
        const CCPoint cell = touch ? worldCellAt(touch->getLocation()) : m_touchBegin;
        const float dx = cell.x - m_touchBegin.x;
        const float dy = cell.y - m_touchBegin.y;
        startStroke = dx * dx + dy * dy > 60.0f;
    }
    if (startStroke) {
        unschedule(schedule_selector(GameLayer::onLongPress));
        m_touchedParticle = nullptr;
        m_touching = true;
    }
}

void GameLayer::ccTouchesEnded(CCSet* touches, CCEvent*)
{
    stopToolSound();
    m_strokeStarted = false;
    if (GUIWindow* panel = touchedPanel()) {
        m_panelTouched = nullptr;
        if (CCTouch* touch = anyTouch(touches))
            panel->handleTouchEnded(touch);
        return;
    }
    if (GUIWindow* window = ScreenUtils::shownWindow()) {
        if (m_pressOnWorld)
            resetStroke();
        else if (CCTouch* touch = anyTouch(touches))
            window->handleTouchEnded(touch);
        return;
    }
    // A press something else took (it may have gone meanwhile, as a popup's
    // OK takes its popup away) ends there, whichever frame it ends in.
    if (!m_pressOnWorld || m_zoomMode) {
        resetStroke();
        return;
    }
    m_pressOnWorld = false;
    if (m_touchedParticle) {
        unschedule(schedule_selector(GameLayer::onLongPress));
        m_touchedParticle = nullptr;
        return;
    }
    Tool* tool = m_world.currentTool;
    const bool panning = m_zoomedOut && sceneHud().panning();
    // A click shorter than the stroke's start or than a tick (a touchpad tap
    // is one frame): start it now, without its looping sound, and apply the
    // tool once from where it began to where it ends.
    if (tool && !panning && !m_strokeApplied) {
        if (CCDirector::sharedDirector()->getScheduler()->isScheduled(schedule_selector(GameLayer::beginStroke),
                                                                      this)) {
            unschedule(schedule_selector(GameLayer::beginStroke));
            startStroke(false);
        }
        if (m_touching)
            collectTouches(touches);
    }
    if (m_touching && tool && !panning) {
        for (CCObject* object : *touches) {
            auto* touch = dynamic_cast<CCTouch*>(object);
            if (!touch || !insideWorldView(touch->getLocation()))
                continue;
            const CCPoint cell = worldCellAt(touch->getLocation());
            // The world's own size: a small world ends at 120 x 80.
            if (cell.x >= 0 && cell.y >= 0 && cell.x < m_world.width && cell.y < m_world.height)
                tool->finish(static_cast<int32_t>(cell.x), static_cast<int32_t>(cell.y));
        }
    }
    m_touching = false;
    unschedule(schedule_selector(GameLayer::beginStroke));
    collectTouches(touches);
    emptyTouchArrays();
    reanchorCamera();
}

void GameLayer::ccTouchesCancelled(CCSet* touches, CCEvent*)
{
    m_pressOnWorld = false;
    m_touching = false;
    unschedule(schedule_selector(GameLayer::beginStroke));
    stopToolSound();
    m_strokeStarted = false;
    collectTouches(touches);
    emptyTouchArrays();
    reanchorCamera();
}

void GameLayer::resetStroke()
{
    m_pressOnWorld = false;
    m_touching = false;
    unschedule(schedule_selector(GameLayer::beginStroke));
    stopToolSound();
    m_strokeStarted = false;
    emptyTouchArrays();
    reanchorCamera();
}

void GameLayer::ccRightTouchesBegan(CCSet* touches, CCEvent*)
{
    if (!m_zoomedOut || !m_camera)
        return;
    if (!m_camera->isPanning())
        m_camera->beginPan(panCentroid(touches));
}

void GameLayer::ccRightTouchesMoved(CCSet* touches, CCEvent*)
{
    if (!m_zoomedOut || !m_camera)
        return;
    m_camera->panTo(panCentroid(touches));
    m_touching = false;
}

void GameLayer::ccRightTouchesEnded(CCSet*, CCEvent*)
{
    if (!m_zoomedOut)
        return;
    reanchorCamera();
}

void GameLayer::zoomToPoint(CCPoint point)
{
    if (!m_camera)
        return;
    SceneHud& bar = sceneHud();
    if (m_zoomedOut) {
        m_camera->zoomTo(0.001f);
        if (m_zoomOutView) {
            m_zoomOutView->removeFromParentAndCleanup(false);
            m_zoomOutView->setVisible(false);
        }
        m_zoomedOut = false;
        Profile* profile = Profile::getInstance();
        if (profile->getGameMode() == 0 && profile->getDay() == 2)
            m_overviewUsed = true;
        bar.showZoomToggle(false);
    } else {
        LOG << "touchx: " << point.x << " touchy: " << point.y;
        const float s = m_camera->getZoomMin();
        const CCPoint a = getAnchorPointInPoints();
        const float m = screenSize.width - visibleSize.width;
        const float p2 = static_cast<float>(pixelSize * pixelSize);
        const float x =
            static_cast<float>(static_cast<int>((point.x - m / 2) / visibleSize.width * m_world.width * p2 * s));
        const float y = static_cast<float>(static_cast<int>(point.y / visibleSize.height * m_world.height * p2 * s));
        setPosition(ccp(-a.x * (1 - s) - x, -a.y * (1 - s) - y));
        m_camera->anchorHere();
        m_camera->zoomTo(64.0f);
        if (m_zoomOutView) {
            if (!m_zoomOutView->getParent() && getParent())
                getParent()->addChild(m_zoomOutView);
            m_zoomOutView->redrawFrame();
            m_zoomOutView->setVisible(true);
        }
        m_zoomedOut = true;
        m_altDown = false;
        bar.hideZoomHint();
        bar.showZoomToggle(true);
        bar.setPanning(true);
        bar.switchDrawPanToggle();
    }
    m_camera->anchorHere();
}
