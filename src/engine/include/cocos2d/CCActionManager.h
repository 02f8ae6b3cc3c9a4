#pragma once
#include <cstdint>
#include <vector>

#include "cocos2d/CCObject.h"

NS_CC_BEGIN

class CCAction;
class CCNode;

// Runs actions on their targets. It retains a running action and its target
// until the action finishes or is stopped. Actions added during an update are
// first stepped in the next one; an action removed during an update is not
// stepped again.
class CCActionManager : public CCObject {
public:
    CCActionManager() = default;
    ~CCActionManager() override;

    // Starts the action on the target at once. A paused target keeps the
    // paused state it has; a new target takes `paused`. An action already
    // running is refused with a log line.
    void addAction(CCAction* action, CCNode* target, bool paused);
    void removeAction(CCAction* action);
    void removeAllActionsFromTarget(CCObject* target);
    void removeAllActions();
    unsigned numberOfRunningActionsInTarget(const CCObject* target) const;

    void pauseTarget(CCObject* target);
    void resumeTarget(CCObject* target);
    bool isTargetPaused(const CCObject* target) const;

    void update(float dt);

private:
    struct Running {
        CCAction* action;
        bool removed;
        uint64_t startUpdate;
    };
    struct Target {
        CCNode* target;
        bool paused;
        std::vector<Running> actions;
    };
    Target* findTarget(const CCObject* target);
    const Target* findTarget(const CCObject* target) const;
    void markRemoved(Running& running);
    void sweep();

    std::vector<Target> m_targets;
    uint64_t m_updateSerial = 0;
    bool m_bUpdating = false;
};

NS_CC_END
