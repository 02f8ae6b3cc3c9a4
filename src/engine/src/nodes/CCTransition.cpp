#include "cocos2d/CCTransition.h"

#include "base/EngineLog.h"
#include "cocos2d/CCDirector.h"
#include "cocos2d/CCLayer.h"

NS_CC_BEGIN

namespace {
constexpr double kTimeTolerance = 1e-6;
}

CCTransitionScene::~CCTransitionScene()
{
    CC_SAFE_RELEASE(m_pInScene);
    CC_SAFE_RELEASE(m_pOutScene);
}

CCTransitionScene* CCTransitionScene::create(float duration, CCScene* scene)
{
    CCTransitionScene* t = new CCTransitionScene();
    if (!t->initWithDuration(duration, scene)) {
        delete t;
        return nullptr;
    }
    t->autorelease();
    return t;
}

bool CCTransitionScene::initWithDuration(float duration, CCScene* scene)
{
    if (!scene) {
        engineLog("transition: null incoming scene");
        return false;
    }
    if (!CCScene::init()) {
        return false;
    }
    m_fDuration = duration > 0.0f ? duration : 0.0f;
    scene->retain();
    CC_SAFE_RELEASE(m_pInScene);
    m_pInScene = scene;
    return true;
}

void CCTransitionScene::setOutScene(CCScene* scene)
{
    CC_SAFE_RETAIN(scene);
    CC_SAFE_RELEASE(m_pOutScene);
    m_pOutScene = scene;
}

float CCTransitionScene::getProgress() const
{
    if (m_fDuration <= 0.0f) {
        return m_bFinished ? 1.0f : 0.0f;
    }
    double p = m_dElapsed / m_fDuration;
    return static_cast<float>(p > 1.0 ? 1.0 : p);
}

void CCTransitionScene::onEnter()
{
    CCScene::onEnter();
    m_dElapsed = 0.0;
    m_bFinished = false;
    progressChanged(0.0f);
    m_pInScene->onEnter();
    scheduleUpdate();
}

void CCTransitionScene::update(float dt)
{
    if (m_bFinished) {
        return;
    }
    m_dElapsed += dt;
    bool done = m_dElapsed >= m_fDuration - kTimeTolerance;
    if (done) {
        m_bFinished = true;
        m_dElapsed = m_fDuration;
    }
    progressChanged(getProgress());
    if (done) {
        unscheduleUpdate();
        CCDirector::sharedDirector()->transitionDidFinish(this);
    }
}

void CCTransitionScene::onExit()
{
    // The two scenes are not children: the director gives them their own
    // onExit calls.
    CCScene::onExit();
}

void CCTransitionScene::cleanup()
{
    CCScene::cleanup();
}

void CCTransitionScene::visit()
{
    if (m_pOutScene && getProgress() < 0.5f) {
        m_pOutScene->visit();
    } else {
        m_pInScene->visit();
    }
}

// --- fade ------------------------------------------------------------------------

CCTransitionFade::CCTransitionFade() = default;

CCTransitionFade::~CCTransitionFade()
{
    CC_SAFE_RELEASE(m_pFadeLayer);
}

CCTransitionFade* CCTransitionFade::create(float duration, CCScene* scene)
{
    return create(duration, scene, ccBLACK);
}

CCTransitionFade* CCTransitionFade::create(float duration, CCScene* scene, const ccColor3B& color)
{
    CCTransitionFade* t = new CCTransitionFade();
    if (!t->initWithDuration(duration, scene, color)) {
        delete t;
        return nullptr;
    }
    t->autorelease();
    return t;
}

bool CCTransitionFade::initWithDuration(float duration, CCScene* scene)
{
    return initWithDuration(duration, scene, ccBLACK);
}

bool CCTransitionFade::initWithDuration(float duration, CCScene* scene, const ccColor3B& color)
{
    if (!CCTransitionScene::initWithDuration(duration, scene)) {
        return false;
    }
    CC_SAFE_RELEASE(m_pFadeLayer);
    m_pFadeLayer = new CCLayerColor();
    m_pFadeLayer->initWithColor(ccc4(color.r, color.g, color.b, 0));
    return true;
}

void CCTransitionFade::progressChanged(float progress)
{
    // Up to full colour over the first half, back down over the second.
    float level = progress < 0.5f ? progress * 2.0f : (1.0f - progress) * 2.0f;
    level = level < 0.0f ? 0.0f : (level > 1.0f ? 1.0f : level);
    m_pFadeLayer->setOpacity(static_cast<uint8_t>(level * 255.0f + 0.5f));
}

uint8_t CCTransitionFade::getFadeOpacity() const
{
    return m_pFadeLayer->getOpacity();
}

void CCTransitionFade::visit()
{
    CCTransitionScene::visit();
    m_pFadeLayer->visit();
}

NS_CC_END
