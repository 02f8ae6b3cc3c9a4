#pragma once
// The application object the engine drives: start-up in a fixed order, and
// pause and resume when the window goes to the background and comes back.
#include "cocos2d.h"

// Target of the 0.5 s network drain.
class NetworkUpdater : public cocos2d::CCObject {
public:
    void update(float elapsed);
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
};

// Set by the background notification, cleared by the foreground one.
extern bool pausedByBackground;

// Makes sure the folder exists inside the save folder. The name is folded to
// lower case, like the cloud names whose thumbnails it keeps.
void ensureUserFolder(cocos2d::CCString* name);
