#include "cocos2d/CCApplication.h"

#include <SDL.h>
#include <cxxabi.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <typeinfo>

#include "base/EngineLog.h"
#include "base/EngineSwitches.h"
#include "cocos2d/CCDirector.h"
#include "cocos2d/CCEGLView.h"
#include "cocos2d/CCFileUtils.h"
#include "cocos2d/CCScene.h"
#include "cocos2d/CCTransition.h"
#include "sdl/InputScript.h"
#include "view/ViewBackend.h"

NS_CC_BEGIN

namespace {

CCApplication*& sharedInstance()
{
    static CCApplication* instance = nullptr;
    return instance;
}

int& languageOverride()
{
    static int language = -1;
    return language;
}

// "fr", "fr_FR.UTF-8", "FR-ca" -> French; "es..." -> Spanish; else English.
int languageFromTag(const char* tag, bool* known)
{
    *known = false;
    if (!tag || !*tag) {
        return kLanguageEnglish;
    }
    *known = true;
    if (strncasecmp(tag, "fr", 2) == 0) {
        return kLanguageFrench;
    }
    if (strncasecmp(tag, "es", 2) == 0) {
        return kLanguageSpanish;
    }
    return kLanguageEnglish;
}

int systemLanguage()
{
    bool known = false;
    if (SDL_Locale* locales = SDL_GetPreferredLocales()) {
        int language = languageFromTag(locales[0].language, &known);
        SDL_free(locales);
        if (known) {
            return language;
        }
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        int language = languageFromTag(std::getenv(name), &known);
        if (known) {
            return language;
        }
    }
    return kLanguageEnglish;
}

int exitAfterFrames()
{
    const char* text = std::getenv("ENGINE_EXIT_AFTER_FRAMES");
    if (!text || !*text) {
        return 0;
    }
    char* end = nullptr;
    long n = std::strtol(text, &end, 10);
    if (*end != '\0' || n <= 0 || n > 100000000L) {
        engineLog("ENGINE_EXIT_AFTER_FRAMES=%s ignored", text);
        return 0;
    }
    return static_cast<int>(n);
}

constexpr double kFixedStep = 1.0 / 60.0;

// The coming frame's dt: fixed, or paced by the backend, which waits until
// the frame is due.
double waitForFrame(ViewBackend* backend, CCDirector* director, bool fixed)
{
    if (fixed) {
        return kFixedStep;
    }
    const bool idle = director->isPaused() || !director->isAnimating();
    return backend->waitForNextFrame(director->getAnimationInterval(), idle);
}

// Input that arrived while waiting goes out right before the frame that
// answers it.
void stepWithEvents(ViewBackend* backend, CCDirector* director, double dt, bool fixed)
{
    backend->pumpEvents();
    if (director->takeClockRestart()) {
        dt = fixed ? kFixedStep : director->getAnimationInterval();
    }
    director->stepFrame(static_cast<float>(dt));
}

std::string className(const CCObject* object)
{
    const char* mangled = typeid(*object).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && plain ? plain : mangled;
    std::free(plain);
    return name;
}

// The class a person would call the scene: its own, or its first layer's
// when it is a plain scene holding layers.
std::string sceneName(CCScene* scene)
{
    if (typeid(*scene) == typeid(CCScene) && scene->getChildrenCount() > 0) {
        return className(scene->getChildren()->objectAtIndex(0));
    }
    return className(scene);
}

// A scripted run says which scene it is on, so a script can be written and
// checked against the log. Transitions in between are not named. The last
// scene is remembered by address and name, never touched: it may be gone.
struct SceneWatch {
    const CCScene* scene = nullptr;
    std::string name;

    void check(int frame)
    {
        CCScene* running = CCDirector::sharedDirector()->getRunningScene();
        if (!running || dynamic_cast<CCTransitionScene*>(running)) {
            return;
        }
        std::string now = sceneName(running);
        if (running == scene && now == name) {
            return;
        }
        scene = running;
        name = now;
        engineLog("input script: frame %d: scene %s", frame, name.c_str());
    }
};

}  // namespace

CCApplication::CCApplication()
{
    sharedInstance() = this;
}

CCApplication::~CCApplication()
{
    if (sharedInstance() == this) {
        sharedInstance() = nullptr;
    }
}

CCApplication* CCApplication::sharedApplication()
{
    return sharedInstance();
}

void CCApplication::setAnimationInterval(double interval)
{
    CCDirector::sharedDirector()->setAnimationInterval(interval);
}

void CCApplication::setLanguageForTests(int language)
{
    languageOverride() = language;
}

ccLanguageType CCApplication::getCurrentLanguage()
{
    return languageOfThisRun();
}

ccLanguageType CCApplication::languageOfThisRun()
{
    if (languageOverride() >= 0) {
        int language = languageOverride();
        return language == kLanguageFrench || language == kLanguageSpanish ? static_cast<ccLanguageType>(language)
                                                                           : kLanguageEnglish;
    }
    bool known = false;
    int language = languageFromTag(std::getenv("ENGINE_LANGUAGE"), &known);
    if (!known) {
        language = systemLanguage();
    }
    return static_cast<ccLanguageType>(language);
}

bool CCApplication::prepareLaunch(bool changeDirectory)
{
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    const std::string& root = files->getResourceRoot();
    if (changeDirectory && !root.empty() && chdir(root.c_str()) != 0) {
        engineLog("cannot make %s the working directory", root.c_str());
    }
    return applicationDidFinishLaunching();
}

bool CCApplication::isFixedStep()
{
    return fixedStepWanted();
}

bool CCApplication::launchForTests()
{
    return prepareLaunch(false);
}

int CCApplication::run()
{
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    ViewBackend* backend = view->getBackend();
    // A script is read whole before anything starts: a bad line stops the run
    // instead of leaving it to wait for input that never comes.
    inputscript::Player script;
    const char* scriptPath = std::getenv("ENGINE_INPUT_SCRIPT");
    const bool scripted = scriptPath && *scriptPath;
    if (scripted) {
        std::string error;
        if (!script.load(scriptPath, error)) {
            engineLog("%s", error.c_str());
            return 2;
        }
        if (CCEGLView::getRunMode() == kCCRunModeHeadless) {
            engineLog("ENGINE_INPUT_SCRIPT needs the window or the software renderer, not headless");
            return 2;
        }
    }
    if (!backend->open()) {
        engineLog("the window or its renderer cannot be made");
        return 1;
    }
    if (!prepareLaunch(true)) {
        return 0;
    }
    backend->show();

    CCDirector* director = CCDirector::sharedDirector();
    const int exitAfter = exitAfterFrames();
    const bool fixed = fixedStepWanted();
    bool scriptOk = true;
    SceneWatch sceneWatch;
    int frame = 0;
    while (!director->hasEnded()) {
        const double dt = waitForFrame(backend, director, fixed);
        if (scripted) {
            script.beforeFrame(frame);
        }
        if (exitAfter > 0 && frame + 1 >= exitAfter) {
            director->end();
        }
        stepWithEvents(backend, director, dt, fixed);
        if (scripted) {
            sceneWatch.check(frame);
            if (!script.afterFrame(frame, view)) {
                scriptOk = false;
            }
            // Offscreen, nothing but the script can ever give input: a script
            // without quit would leave the run spinning forever.
            if (script.finished() && !director->hasEnded() && CCEGLView::getRunMode() == kCCRunModeSoftware) {
                engineLog("input script: it ended at frame %d without quit; stopping the offscreen run", frame);
                director->end();
                scriptOk = false;
            }
        }
        ++frame;
    }
    return scriptOk ? 0 : 1;
}

void CCApplication::runFrame()
{
    ViewBackend* backend = CCEGLView::sharedOpenGLView()->getBackend();
    CCDirector* director = CCDirector::sharedDirector();
    const bool fixed = fixedStepWanted();
    stepWithEvents(backend, director, waitForFrame(backend, director, fixed), fixed);
}

NS_CC_END
