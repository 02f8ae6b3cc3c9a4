#pragma once
#include "cocos2d/ccMacros.h"

NS_CC_BEGIN

enum ccLanguageType {
    kLanguageEnglish = 0,
    kLanguageFrench = 2,
    kLanguageSpanish = 5,
};

enum TargetPlatform {
    kTargetLinux = 1,
};

// The application: its constructor makes it the shared application. The
// game's delegate derives from it.
class CCApplication {
public:
    CCApplication();
    virtual ~CCApplication();
    static CCApplication* sharedApplication();

    // false ends run() at once.
    virtual bool applicationDidFinishLaunching() = 0;
    virtual void applicationDidEnterBackground() = 0;
    virtual void applicationWillEnterForeground() = 0;

    virtual void setAnimationInterval(double interval);
    // 2 for French, 5 for Spanish, 0 for English and every other language.
    // ENGINE_LANGUAGE=fr|es|en overrides the system's choice.
    virtual ccLanguageType getCurrentLanguage();
    virtual TargetPlatform getTargetPlatform() { return kTargetLinux; }

    // Opens the view, sets the resource root (also the working directory),
    // launches, then runs the loop until the director ends it. Returns 0
    // after a normal end, 1 when the window or renderer cannot be made.
    // ENGINE_EXIT_AFTER_FRAMES=N ends the loop after N frames.
    virtual int run();
    // (ext) What run() does before its loop, without changing the working
    // directory; returns what applicationDidFinishLaunching returned.
    bool launchForTests();
    // (ext) One frame of run()'s loop, after a launchForTests: waits until
    // the frame is due (not with ENGINE_FIXED_STEP), dispatches the events
    // that came meanwhile and steps the director. Benchmarks of the real
    // loop drive it.
    void runFrame();
    // (ext) Whether every frame is a fixed 1/60 s (ENGINE_FIXED_STEP=1, for
    // unattended runs).
    static bool isFixedStep();
    // (ext) What getCurrentLanguage answers, before any application exists.
    static ccLanguageType languageOfThisRun();
    // (ext) Overrides the language until reset; a negative value clears it.
    static void setLanguageForTests(int language);

private:
    bool prepareLaunch(bool changeDirectory);
};

NS_CC_END
