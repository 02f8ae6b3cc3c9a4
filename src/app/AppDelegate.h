#pragma once
// The application object the engine drives: start-up in a fixed order, and
// pause and resume when the window goes to the background and comes back.
#include "cocos2d.h"

// Target of the 0.5 s network drain.
class NetworkUpdater : public cocos2d::CCObject {
public:
    void update(float elapsed);
};

// In a fixed-step run (unattended, faster or slower than real time) the
// game's clock follows the frames, so goals' reward delays pass in frames.
class FixedStepClock : public cocos2d::CCObject {
public:
    void update(float elapsed);

private:
    float m_pending = 0;
};

class AppDelegate : public cocos2d::CCApplication {
public:
    AppDelegate();
    ~AppDelegate() override;

    // Always true.
    bool applicationDidFinishLaunching() override;
    bool finishLaunching();
    void applicationDidEnterBackground() override;
    void applicationWillEnterForeground() override;

    NetworkUpdater* getNetworkUpdater() const { return m_updater; }

private:
    NetworkUpdater* m_updater = nullptr;  // owned; deleted directly
    FixedStepClock* m_clock = nullptr;    // owned, made only in a fixed-step run
};

// Set by the background notification, cleared by the foreground one.
extern bool pausedByBackground;

// Makes sure the folder exists inside the save folder. The name is folded to
// lower case, like the cloud names whose thumbnails it keeps.
void ensureUserFolder(cocos2d::CCString* name);
