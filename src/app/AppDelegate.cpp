#include "app/AppDelegate.h"

#include "SimpleAudioEngine.h"
#include "base/AppVersion.h"
#include "gui/BackButton.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "profile/Profile.h"
#include "base/ScreenMetrics.h"
#include "base/SoundPreload.h"
#include "base/StatsUtils.h"
#include "base/Utils.h"
#include "online/NetworkManager.h"
#include "platform/GameClock.h"
#include "screens/GUIIntro.h"
#include "world/ColorTables.h"
#include "screens/GameWiring.h"
#include "scene/GameLayer.h"
#include "world/ParticleCreator.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

bool pausedByBackground = false;

void NetworkUpdater::update(float)
{
    runPendingActions();
}

void FixedStepClock::update(float elapsed)
{
    m_pending += elapsed;
    while (m_pending >= 1.0f) {
        m_pending -= 1.0f;
        platform::advanceManualGameTime(1);
    }
}

AppDelegate::AppDelegate()
{
    // Every service the world and the profile call is wired before anything
    // reaches them.
    installGameHost();
    NetworkManager::init();
    m_updater = new NetworkUpdater();
}

AppDelegate::~AppDelegate()
{
    if (m_updater) {
        // The scheduler holds the updater while its timer exists: let go first.
        CCDirector::sharedDirector()->getScheduler()->unscheduleAllForTarget(m_updater);
        delete m_updater;
        m_updater = nullptr;
    }
    if (m_clock) {
        CCDirector::sharedDirector()->getScheduler()->unscheduleAllForTarget(m_clock);
        delete m_clock;
        m_clock = nullptr;
        platform::clearManualGameTime();
    }
}

bool AppDelegate::applicationDidFinishLaunching()
{
    resourceRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
    CCDirector* director = CCDirector::sharedDirector();
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    director->setOpenGLView(view);
    view->setIconResource(108);
    view->setCursorResource(109);
    director->getKeypadDispatcher()->addDelegate(BackButtonAdapter::getInstance());
    // Typed keys go where the back key goes: to the box or window in front.
    BackButtonAdapter::getInstance()->attachWithIME();
    CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGBA8888);
    computeScreenMetrics(director->getWinSizeInPixels());
    preloadEffectSounds();
    GUIIntro* intro = new GUIIntro();
    director->runWithScene(intro);
    intro->release();  // the director holds it now
    director->setAnimationInterval(1.0 / 60);
    // The engine here has no view flag to set before full screen.
    view->enterFullscreen(0, 0);
    finishLaunching();
    return true;
}

bool AppDelegate::finishLaunching()
{
    CCDirector::sharedDirector()->getScheduler()->scheduleSelector(schedule_selector(NetworkUpdater::update), m_updater,
                                                                   0.5f, false);
    if (isFixedStep() && !m_clock) {
        platform::setManualGameTime(platform::gameTime());
        m_clock = new FixedStepClock();
        CCDirector::sharedDirector()->getScheduler()->scheduleSelector(schedule_selector(FixedStepClock::update),
                                                                       m_clock, 0, false);
    }
    initDocumentsFolders();
    initSaveFolder();
    gameVersion = kGameVersion;
    ensureUserFolder(CCString::create("User"));

    Logger(378) << "Profile:Load";
    Profile::getInstance()->load(false);

    const char* table = LocalUtils::tableFileForLanguage(getCurrentLanguage());
    CCDictionary* dictionary = CCDictionary::createWithContentsOfFile(table);
    if (dictionary) {
        dictionary->retain();
        if (localizationTable)
            localizationTable->release();  // only when launched again, as tests do
        localizationTable = dictionary;
    }

    Logger(404) << "ParticleCreator::resetElementsCreated";
    ParticleCreator::resetElementsCreated();
    Logger(410) << "getInstance()->initColorsAndShadows";
    initColorsAndShadows();
    Logger(413) << "SinCosTable::generateIfNecessary";
    SinCosTable::generateIfNecessary();
    Logger(418) << "Profile:Load";
    Profile::getInstance()->load(false);
    Logger(447) << "StatsUtils::openedGame";
    StatsUtils::openedGame();
    Logger(451) << "Appdelegate Done!";
    return true;
}

void ensureUserFolder(CCString* name)
{
    // Without a save folder the join would be a relative path in the working folder.
    if (saveFolder.empty() || !name || !makeDirectories(joinPath(saveFolder, toLowerString(name->getString())), true))
        Logger(174).setLevel(2) << Logger::Label("createdSuccessfully") << false;
}

void AppDelegate::applicationDidEnterBackground()
{
    FunctionTrace trace(482);
    Profile::getInstance()->save();
    SimpleAudioEngine::sharedEngine()->pauseAllEffects();
    SimpleAudioEngine::sharedEngine()->pauseBackgroundMusic();
    CCDirector::sharedDirector()->stopAnimation();
    CCDirector::sharedDirector()->pause();
    pausedByBackground = true;
}

void AppDelegate::applicationWillEnterForeground()
{
    FunctionTrace trace(506);
    if (!pausedByBackground)
        return;
    pausedByBackground = false;
    CCDirector* director = CCDirector::sharedDirector();
    director->stopAnimation();
    director->resume();
    director->startAnimation();
    // The game layer's next tick uploads every texture again and counts the launch.
    if (GameLayer* layer = GameLayer::existingInstance())
        layer->setRestoreAfterBackground(true);
    SimpleAudioEngine::sharedEngine()->resumeBackgroundMusic();
    SimpleAudioEngine::sharedEngine()->resumeAllEffects();
}
