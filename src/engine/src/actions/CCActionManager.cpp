#include "cocos2d/CCActionManager.h"

#include <algorithm>

#include "base/EngineLog.h"
#include "cocos2d/CCAction.h"
#include "cocos2d/CCNode.h"

NS_CC_BEGIN

CCActionManager::~CCActionManager()
{
    removeAllActions();
}

CCActionManager::Target* CCActionManager::findTarget(const CCObject* target)
{
    for (Target& t : m_targets) {
        if (t.target == target) {
            return &t;
        }
    }
    return nullptr;
}

const CCActionManager::Target* CCActionManager::findTarget(const CCObject* target) const
{
    return const_cast<CCActionManager*>(this)->findTarget(target);
}

void CCActionManager::addAction(CCAction* action, CCNode* target, bool paused)
{
    if (!action || !target) {
        engineLog("addAction: null action or target ignored");
        return;
    }
    for (const Target& t : m_targets) {
        for (const Running& r : t.actions) {
            if (r.action == action && !r.removed) {
                engineLog("addAction: the action is running already; ignored");
                return;
            }
        }
    }
    Target* entry = findTarget(target);
    if (!entry) {
        target->retain();
        m_targets.push_back(Target{target, paused, {}});
        entry = &m_targets.back();
    }
    action->retain();
    entry->actions.push_back(Running{action, false, m_bUpdating ? m_updateSerial : 0});
    action->startWithTarget(target);
}

void CCActionManager::removeAction(CCAction* action)
{
    if (!action) {
        return;
    }
    for (Target& t : m_targets) {
        for (Running& r : t.actions) {
            if (r.action == action) {
                markRemoved(r);
            }
        }
    }
    if (!m_bUpdating) {
        sweep();
    }
}

void CCActionManager::removeAllActionsFromTarget(CCObject* target)
{
    if (Target* t = findTarget(target)) {
        for (Running& r : t->actions) {
            markRemoved(r);
        }
        if (!m_bUpdating) {
            sweep();
        }
    }
}

void CCActionManager::removeAllActions()
{
    for (Target& t : m_targets) {
        for (Running& r : t.actions) {
            markRemoved(r);
        }
    }
    if (!m_bUpdating) {
        sweep();
    }
}

void CCActionManager::markRemoved(Running& running)
{
    if (!running.removed) {
        running.removed = true;
        // Clears the action's target, so a sequence stopped from inside its
        // own step runs nothing more.
        running.action->stop();
    }
}

unsigned CCActionManager::numberOfRunningActionsInTarget(const CCObject* target) const
{
    unsigned n = 0;
    if (const Target* t = findTarget(target)) {
        for (const Running& r : t->actions) {
            n += r.removed ? 0 : 1;
        }
    }
    return n;
}

void CCActionManager::pauseTarget(CCObject* target)
{
    if (Target* t = findTarget(target)) {
        t->paused = true;
    }
}

void CCActionManager::resumeTarget(CCObject* target)
{
    if (Target* t = findTarget(target)) {
        t->paused = false;
    }
}

bool CCActionManager::isTargetPaused(const CCObject* target) const
{
    const Target* t = findTarget(target);
    return t && t->paused;
}

void CCActionManager::update(float dt)
{
    if (m_bUpdating) {
        engineLog("CCActionManager::update called from inside an update; ignored");
        return;
    }
    m_bUpdating = true;
    const uint64_t serial = ++m_updateSerial;

    // Entries are marked, never erased, during the update; the vectors may
    // grow, so every access after a call out goes through the indices again.
    for (size_t i = 0; i < m_targets.size(); ++i) {
        for (size_t j = 0; j < m_targets[i].actions.size(); ++j) {
            if (m_targets[i].paused) {
                break;
            }
            Running r = m_targets[i].actions[j];
            if (r.removed || r.startUpdate == serial) {
                continue;
            }
            CCNode* target = m_targets[i].target;
            // Both stay alive through the step even if it stops the action or
            // removes the target with cleanup.
            r.action->retain();
            target->retain();
            r.action->step(dt);
            if (!m_targets[i].actions[j].removed && r.action->isDone()) {
                markRemoved(m_targets[i].actions[j]);
            }
            target->release();
            r.action->release();
        }
    }

    m_bUpdating = false;
    sweep();
}

void CCActionManager::sweep()
{
    std::vector<CCObject*> toRelease;
    for (Target& t : m_targets) {
        for (const Running& r : t.actions) {
            if (r.removed) {
                toRelease.push_back(r.action);
            }
        }
        t.actions.erase(std::remove_if(t.actions.begin(), t.actions.end(), [](const Running& r) { return r.removed; }),
                        t.actions.end());
    }
    for (auto it = m_targets.begin(); it != m_targets.end();) {
        if (it->actions.empty()) {
            toRelease.push_back(it->target);
            it = m_targets.erase(it);
        } else {
            ++it;
        }
    }
    // Released last: an action's destructor may release its callback target,
    // and a target deleted here may call back into the manager.
    for (CCObject* o : toRelease) {
        o->release();
    }
}

NS_CC_END
