#include "cocos2d/CCApplication.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/EngineLog.h"
#include "cocos2d/CCDirector.h"
#include "cocos2d/CCEGLView.h"
#include "cocos2d/CCFileUtils.h"
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

}  // namespace

CCApplication::CCApplication() { sharedInstance() = this; }

CCApplication::~CCApplication()
{
    if (sharedInstance() == this) {
        sharedInstance() = nullptr;
    }
}

CCApplication* CCApplication::sharedApplication() { return sharedInstance(); }

void CCApplication::setAnimationInterval(double interval)
{
    CCDirector::sharedDirector()->setAnimationInterval(interval);
}

void CCApplication::setLanguageForTests(int language) { languageOverride() = language; }

ccLanguageType CCApplication::getCurrentLanguage()
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

bool CCApplication::launchForTests() { return prepareLaunch(false); }

int CCApplication::run()
{
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    ViewBackend* backend = view->getBackend();
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
    int frames = 0;
    while (!director->hasEnded()) {
        bool idle = director->isPaused() || !director->isAnimating();
        double dt = backend->waitForNextFrame(director->getAnimationInterval(), idle);
        // Input that arrived while waiting goes out right before the frame
        // that answers it.
        backend->pumpEvents();
        if (director->takeClockRestart()) {
            dt = director->getAnimationInterval();
        }
        if (exitAfter > 0 && ++frames >= exitAfter) {
            director->end();
        }
        director->stepFrame(static_cast<float>(dt));
    }
    return 0;
}

NS_CC_END
