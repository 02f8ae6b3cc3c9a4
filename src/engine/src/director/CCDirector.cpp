#include "cocos2d/CCDirector.h"

#include <algorithm>

#include "base/EngineLog.h"
#include "cocos2d/CCActionManager.h"
#include "cocos2d/CCApplication.h"
#include "cocos2d/CCAutoreleasePool.h"
#include "cocos2d/CCEGLView.h"
#include "cocos2d/CCIMEDispatcher.h"
#include "cocos2d/CCKeypadDispatcher.h"
#include "cocos2d/CCScene.h"
#include "cocos2d/CCScheduler.h"
#include "cocos2d/CCSpriteFrameCache.h"
#include "cocos2d/CCTextureCache.h"
#include "cocos2d/CCTouchDispatcher.h"
#include "cocos2d/CCTransition.h"
#include "view/ViewBackend.h"
#include "SimpleAudioEngine.h"

NS_CC_BEGIN

CCDirector* CCDirector::sharedDirector()
{
    static CCDirector* instance = new CCDirector();
    return instance;
}

CCDirector::CCDirector()
    : m_pScheduler(new CCScheduler()), m_pActionManager(new CCActionManager()),
      m_pTouchDispatcher(new CCTouchDispatcher()), m_pKeypadDispatcher(new CCKeypadDispatcher())
{
}

void CCDirector::setOpenGLView(CCEGLView* view)
{
    m_pView = view;
}

CCSize CCDirector::getWinSize() const
{
    // The shared view sets itself here when it is made; asking never makes it
    // (that could open a window before the game chose its run mode).
    if (m_pView) {
        return m_pView->getFrameSize();
    }
    return CCSize(800, 600);
}

CCPoint CCDirector::convertToGL(const CCPoint& viewPoint) const
{
    return CCPoint(viewPoint.x, getWinSize().height - viewPoint.y);
}

CCPoint CCDirector::convertToUI(const CCPoint& glPoint) const
{
    return CCPoint(glPoint.x, getWinSize().height - glPoint.y);
}

void CCDirector::setAnimationInterval(double interval)
{
    if (!(interval > 0.0)) {
        engineLog("setAnimationInterval: %f refused", interval);
        return;
    }
    m_dAnimationInterval = interval;
}

void CCDirector::startAnimation()
{
    if (!m_bAnimating) {
        m_bAnimating = true;
        m_bClockRestart = true;
    }
}

void CCDirector::stopAnimation()
{
    m_bAnimating = false;
}

void CCDirector::pause()
{
    m_bPaused = true;
}

void CCDirector::resume()
{
    if (m_bPaused) {
        m_bPaused = false;
        m_bClockRestart = true;
    }
}

bool CCDirector::takeClockRestart()
{
    bool restart = m_bClockRestart;
    m_bClockRestart = false;
    return restart;
}

// --- scenes ----------------------------------------------------------------------

void CCDirector::runWithScene(CCScene* scene)
{
    if (!scene) {
        engineLog("runWithScene: null scene ignored");
        return;
    }
    if (!m_stack.empty() || !m_requests.empty()) {
        engineLog("runWithScene: a scene runs already; use replaceScene. Ignored");
        return;
    }
    pushScene(scene);
}

void CCDirector::pushScene(CCScene* scene)
{
    if (!scene) {
        engineLog("pushScene: null scene ignored");
        return;
    }
    scene->retain();
    m_requests.push_back(Request{SceneOp::Push, scene});
    m_bEnded = false;
}

void CCDirector::popScene()
{
    m_requests.push_back(Request{SceneOp::Pop, nullptr});
}

void CCDirector::replaceScene(CCScene* scene)
{
    if (!scene) {
        engineLog("replaceScene: null scene ignored");
        return;
    }
    scene->retain();
    m_requests.push_back(Request{SceneOp::Replace, scene});
    m_bEnded = false;
}

CCScene* CCDirector::getRunningScene() const
{
    if (auto* transition = dynamic_cast<CCTransitionScene*>(m_pRunningScene)) {
        return transition->getInScene();
    }
    return m_pRunningScene;
}

bool CCDirector::isInTransition() const
{
    return dynamic_cast<CCTransitionScene*>(m_pRunningScene) != nullptr;
}

void CCDirector::end()
{
    m_bEndRequested = true;
}

void CCDirector::transitionDidFinish(CCTransitionScene* transition)
{
    if (transition && transition == m_pRunningScene) {
        m_bTransitionDone = true;
    }
}

void CCDirector::finishTransition()
{
    auto* transition = dynamic_cast<CCTransitionScene*>(m_pRunningScene);
    m_bTransitionDone = false;
    if (!transition) {
        return;
    }
    CCScene* incoming = transition->getInScene();
    CCScene* outgoing = m_pOutgoingScene;
    m_pOutgoingScene = nullptr;

    // The incoming scene takes the transition's place on the stack.
    incoming->retain();
    auto it = std::find(m_stack.begin(), m_stack.end(), static_cast<CCScene*>(transition));
    if (it != m_stack.end()) {
        *it = incoming;
    } else {
        m_stack.push_back(incoming);
    }
    m_pRunningScene = incoming;

    if (outgoing) {
        if (outgoing->isRunning()) {
            outgoing->onExit();
        }
        if (m_bCleanupOutgoing) {
            outgoing->cleanup();
        }
    }
    transition->setOutScene(nullptr);
    if (transition->isRunning()) {
        transition->onExit();
    }
    transition->cleanup();
    incoming->onEnterTransitionDidFinish();
    CC_SAFE_RELEASE(outgoing);
    transition->release();  // the stack's reference
}

void CCDirector::applySceneRequests()
{
    if (m_requests.empty()) {
        return;
    }
    // A new request cuts a running transition short.
    finishTransition();

    std::vector<Request> requests;
    requests.swap(m_requests);
    CCScene* previousTop = m_pRunningScene;
    std::vector<CCScene*> removed;  // references taken off the stack

    for (const Request& r : requests) {
        switch (r.op) {
        case SceneOp::Push:
            m_stack.push_back(r.scene);  // the request's reference moves in
            break;
        case SceneOp::Replace:
            if (!m_stack.empty()) {
                removed.push_back(m_stack.back());
                m_stack.back() = r.scene;
            } else {
                m_stack.push_back(r.scene);
            }
            break;
        case SceneOp::Pop:
            if (!m_stack.empty()) {
                removed.push_back(m_stack.back());
                m_stack.pop_back();
            } else {
                engineLog("popScene: no scene to pop");
            }
            break;
        }
    }

    CCScene* newTop = m_stack.empty() ? nullptr : m_stack.back();
    bool previousRemoved = std::find(m_stack.begin(), m_stack.end(), previousTop) == m_stack.end();

    if (newTop != previousTop) {
        auto* transition = dynamic_cast<CCTransitionScene*>(newTop);
        if (transition && previousTop) {
            // The scene being left keeps running until the transition ends.
            previousTop->retain();
            m_pOutgoingScene = previousTop;
            m_bCleanupOutgoing = previousRemoved;
            transition->setOutScene(previousTop);
        } else if (previousTop) {
            previousTop->onExit();
            if (previousRemoved) {
                previousTop->cleanup();
            }
        }
        m_pRunningScene = newTop;
        if (newTop) {
            newTop->onEnter();
            if (!transition) {
                newTop->onEnterTransitionDidFinish();
            }
        }
    }

    // Scenes taken off the stack that were never entered, or were covered,
    // still get their cleanup; the previous top got it above.
    for (CCScene* scene : removed) {
        bool stillOnStack = std::find(m_stack.begin(), m_stack.end(), scene) != m_stack.end();
        if (!stillOnStack && scene != previousTop && scene != m_pOutgoingScene) {
            scene->cleanup();
        }
    }
    for (CCScene* scene : removed) {
        scene->release();
    }

    if (m_stack.empty()) {
        m_pRunningScene = nullptr;
        m_bEndRequested = true;
    }
}

void CCDirector::purgeScenes()
{
    finishTransition();
    for (const Request& r : m_requests) {
        CC_SAFE_RELEASE(r.scene);
    }
    m_requests.clear();
    std::vector<CCScene*> stack;
    stack.swap(m_stack);
    CCScene* running = m_pRunningScene;
    m_pRunningScene = nullptr;
    if (running && running->isRunning()) {
        running->onExit();
    }
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        (*it)->cleanup();
    }
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        (*it)->release();
    }
}

// --- frame -----------------------------------------------------------------------

void CCDirector::drawFrame()
{
    if (!m_bAnimating || !m_pView) {
        return;
    }
    ViewBackend* backend = m_pView->getBackend();
    if (!backend || !backend->drawsFrames()) {
        return;
    }
    backend->beginFrame();
    if (m_pRunningScene) {
        m_pRunningScene->visit();
    }
    backend->endFrame();
}

void CCDirector::stepFrame(float dt)
{
    if (m_bEnded) {
        CCPoolManager::sharedPoolManager()->drain();
        return;
    }
    retain();
    if (!m_bPaused && m_bAnimating) {
        float step = dt > 0.0f ? dt : 0.0f;
        m_pActionManager->update(step);
        m_pScheduler->update(step);
        // The silent sound backend plays tracks against this clock.
        CocosDenshion::SimpleAudioEngine::advanceClock(step);
    }
    if (m_bTransitionDone) {
        finishTransition();
    }
    applySceneRequests();
    drawFrame();
    if (m_bEndRequested) {
        m_bEndRequested = false;
        purgeScenes();
        m_bEnded = true;
    }
    ++m_uTotalFrames;
    release();
    CCPoolManager::sharedPoolManager()->drain();
}

void CCDirector::stepFrames(int count, float dt)
{
    for (int i = 0; i < count; ++i) {
        stepFrame(dt);
    }
}

void CCDirector::resetForTests()
{
    m_bEndRequested = false;
    purgeScenes();
    m_pScheduler->unscheduleAll();
    m_pActionManager->removeAllActions();
    m_pTouchDispatcher->removeAllDelegates();
    m_pTouchDispatcher->forgetHeldTouches();
    m_pTouchDispatcher->setDispatchEvents(true);
    m_pKeypadDispatcher->removeAllDelegates();
    CCIMEDispatcher::sharedDispatcher()->reset();
    CCEGLView::sharedOpenGLView()->resetForTests();
    CCApplication::setLanguageForTests(-1);
    CCTextureCache::sharedTextureCache()->removeAllTextures();
    CCSpriteFrameCache::sharedSpriteFrameCache()->removeSpriteFrames();
    CocosDenshion::SimpleAudioEngine::sharedEngine()->resetForTests();
    m_eProjection = kCCDirectorProjection2D;
    m_dAnimationInterval = 1.0 / 60.0;
    m_bAnimating = true;
    m_bPaused = false;
    m_bClockRestart = false;
    m_bTransitionDone = false;
    m_bEnded = false;
    m_uTotalFrames = 0;
    CCPoolManager::sharedPoolManager()->drain();
}

NS_CC_END
