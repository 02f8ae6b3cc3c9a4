#include "cocos2d/CCScheduler.h"

#include <algorithm>

#include "base/EngineLog.h"
#include "cocos2d/CCNode.h"

NS_CC_BEGIN

namespace {
// Float intervals and summed float dts never meet exactly: 2 x (1/60.f) must
// count as reaching 1/30.f.
constexpr double kTimeTolerance = 1e-6;
}  // namespace

CCScheduler::~CCScheduler()
{
    unscheduleAll();
}

CCScheduler::TimerTarget* CCScheduler::findTimerTarget(const CCObject* target)
{
    for (TimerTarget& t : m_timerTargets) {
        if (t.target == target && !t.removed) {
            return &t;
        }
    }
    return nullptr;
}

const CCScheduler::TimerTarget* CCScheduler::findTimerTarget(const CCObject* target) const
{
    return const_cast<CCScheduler*>(this)->findTimerTarget(target);
}

CCScheduler::UpdateEntry* CCScheduler::findUpdate(const CCObject* target)
{
    for (UpdateEntry& u : m_updates) {
        if (u.target == target && !u.removed) {
            return &u;
        }
    }
    for (UpdateEntry& u : m_addedUpdates) {
        if (u.target == target && !u.removed) {
            return &u;
        }
    }
    return nullptr;
}

const CCScheduler::UpdateEntry* CCScheduler::findUpdate(const CCObject* target) const
{
    return const_cast<CCScheduler*>(this)->findUpdate(target);
}

bool CCScheduler::pausedStateOf(const CCObject* target, bool fallback) const
{
    if (const TimerTarget* t = findTimerTarget(target)) {
        return t->paused;
    }
    if (const UpdateEntry* u = findUpdate(target)) {
        return u->paused;
    }
    return fallback;
}

void CCScheduler::scheduleSelector(SEL_SCHEDULE selector, CCObject* target, float interval, bool paused)
{
    scheduleSelector(selector, target, interval, kCCRepeatForever, 0.0f, paused);
}

void CCScheduler::scheduleSelector(SEL_SCHEDULE selector, CCObject* target, float interval, unsigned repeat,
                                   float delay, bool paused)
{
    if (!selector || !target) {
        engineLog("scheduleSelector: null selector or target ignored");
        return;
    }
    double safeInterval = interval > 0.0f ? interval : 0.0;
    double safeDelay = delay > 0.0f ? delay : 0.0;
    // Timers (re)scheduled during an update wait for the next one.
    uint64_t start = m_bUpdating ? m_updateSerial : 0;

    TimerTarget* entry = findTimerTarget(target);
    if (!entry) {
        bool pausedState = pausedStateOf(target, paused);
        target->retain();
        m_timerTargets.push_back(TimerTarget{target, pausedState, false, {}});
        entry = &m_timerTargets.back();
    }
    for (Timer& t : entry->timers) {
        if (t.selector == selector && !t.removed) {
            t.interval = safeInterval;
            t.repeat = repeat;
            t.delay = safeDelay;
            t.useDelay = safeDelay > 0.0;
            t.fired = 0;
            // An existing timer keeps its turn: one re-scheduled on every
            // update must not be starved.
            return;
        }
    }
    entry->timers.push_back(Timer{selector, safeInterval, safeDelay, 0.0, repeat, 0, safeDelay > 0.0, false, start});
}

void CCScheduler::unscheduleSelector(SEL_SCHEDULE selector, CCObject* target)
{
    TimerTarget* entry = findTimerTarget(target);
    if (!entry) {
        return;
    }
    bool any = false;
    for (Timer& t : entry->timers) {
        if (t.selector == selector) {
            t.removed = true;
        }
        any = any || !t.removed;
    }
    if (!any) {
        entry->removed = true;
    }
    if (!m_bUpdating) {
        sweep();
    }
}

void CCScheduler::scheduleUpdateForTarget(CCNode* target, int priority, bool paused)
{
    if (!target) {
        engineLog("scheduleUpdateForTarget: null target ignored");
        return;
    }
    uint64_t start = m_bUpdating ? m_updateSerial : 0;
    // The new entry's hold comes first: sweeping the old entry below must not
    // let go of the last reference to the target.
    target->retain();
    if (UpdateEntry* existing = findUpdate(target)) {
        if (existing->priority == priority) {
            target->release();
            return;
        }
        // A new priority moves the entry: remove it and add it again.
        bool pausedState = existing->paused;
        existing->removed = true;
        paused = pausedState;
        if (!m_bUpdating) {
            sweep();
        }
    } else {
        paused = pausedStateOf(target, paused);
    }
    UpdateEntry entry{target, target, priority, paused, false, start};
    if (m_bUpdating) {
        // Inserting now would shift the entries being walked.
        m_addedUpdates.push_back(entry);
    } else {
        insertUpdate(entry);
    }
}

void CCScheduler::insertUpdate(const UpdateEntry& entry)
{
    // Lower priority first; equal priorities keep scheduling order.
    auto pos = std::upper_bound(m_updates.begin(), m_updates.end(), entry.priority,
                                [](int p, const UpdateEntry& u) { return p < u.priority; });
    m_updates.insert(pos, entry);
}

void CCScheduler::unscheduleUpdateForTarget(const CCObject* target)
{
    if (UpdateEntry* u = findUpdate(target)) {
        u->removed = true;
        if (!m_bUpdating) {
            sweep();
        }
    }
}

void CCScheduler::unscheduleAllForTarget(CCObject* target)
{
    if (TimerTarget* entry = findTimerTarget(target)) {
        for (Timer& t : entry->timers) {
            t.removed = true;
        }
        entry->removed = true;
    }
    if (UpdateEntry* u = findUpdate(target)) {
        u->removed = true;
    }
    if (!m_bUpdating) {
        sweep();
    }
}

void CCScheduler::unscheduleAll()
{
    for (TimerTarget& entry : m_timerTargets) {
        for (Timer& t : entry.timers) {
            t.removed = true;
        }
        entry.removed = true;
    }
    for (UpdateEntry& u : m_updates) {
        u.removed = true;
    }
    for (UpdateEntry& u : m_addedUpdates) {
        u.removed = true;
    }
    if (!m_bUpdating) {
        sweep();
    }
}

void CCScheduler::pauseTarget(CCObject* target)
{
    if (TimerTarget* t = findTimerTarget(target)) {
        t->paused = true;
    }
    if (UpdateEntry* u = findUpdate(target)) {
        u->paused = true;
    }
}

void CCScheduler::resumeTarget(CCObject* target)
{
    if (TimerTarget* t = findTimerTarget(target)) {
        t->paused = false;
    }
    if (UpdateEntry* u = findUpdate(target)) {
        u->paused = false;
    }
}

bool CCScheduler::isTargetPaused(CCObject* target) const
{
    return pausedStateOf(target, false);
}

bool CCScheduler::isScheduled(SEL_SCHEDULE selector, const CCObject* target) const
{
    if (const TimerTarget* entry = findTimerTarget(target)) {
        for (const Timer& t : entry->timers) {
            if (t.selector == selector && !t.removed) {
                return true;
            }
        }
    }
    return false;
}

bool CCScheduler::isUpdateScheduled(const CCObject* target) const
{
    return findUpdate(target) != nullptr;
}

void CCScheduler::update(float dt)
{
    if (m_bUpdating) {
        engineLog("CCScheduler::update called from inside an update; ignored");
        return;
    }
    m_bUpdating = true;
    ++m_updateSerial;
    const uint64_t serial = m_updateSerial;

    // Entries are only marked during the update, never erased, so indices
    // stay valid; the vectors may still grow (and move), so every access goes
    // through the index again after a call out.
    for (size_t i = 0; i < m_updates.size(); ++i) {
        UpdateEntry u = m_updates[i];
        if (u.removed || u.paused || u.startUpdate == serial) {
            continue;
        }
        u.target->retain();
        u.node->update(dt);
        u.target->release();
    }

    runTimers(dt);

    m_bUpdating = false;
    sweep();
}

void CCScheduler::runTimers(float dt)
{
    const uint64_t serial = m_updateSerial;
    for (size_t i = 0; i < m_timerTargets.size(); ++i) {
        for (size_t j = 0; j < m_timerTargets[i].timers.size(); ++j) {
            TimerTarget& entry = m_timerTargets[i];
            if (entry.removed || entry.paused) {
                break;
            }
            Timer& t = entry.timers[j];
            if (t.removed || t.startUpdate == serial) {
                continue;
            }
            t.elapsed += dt;
            double due = t.useDelay ? t.delay : t.interval;
            if (t.elapsed < due - kTimeTolerance) {
                continue;
            }
            double elapsed = t.elapsed;
            t.elapsed = 0.0;
            t.useDelay = false;
            ++t.fired;
            if (t.repeat != kCCRepeatForever && t.fired > t.repeat) {
                // Removed before the call, so the callback may schedule the
                // same selector again as a new timer.
                t.removed = true;
            }
            CCObject* target = entry.target;
            SEL_SCHEDULE selector = t.selector;
            target->retain();
            (target->*selector)(static_cast<float>(elapsed));
            target->release();
        }
    }
}

void CCScheduler::sweep()
{
    std::vector<CCObject*> toRelease;
    for (TimerTarget& entry : m_timerTargets) {
        entry.timers.erase(
            std::remove_if(entry.timers.begin(), entry.timers.end(), [](const Timer& t) { return t.removed; }),
            entry.timers.end());
        if (entry.timers.empty()) {
            entry.removed = true;
        }
    }
    for (auto it = m_timerTargets.begin(); it != m_timerTargets.end();) {
        if (it->removed) {
            toRelease.push_back(it->target);
            it = m_timerTargets.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = m_updates.begin(); it != m_updates.end();) {
        if (it->removed) {
            toRelease.push_back(it->target);
            it = m_updates.erase(it);
        } else {
            ++it;
        }
    }
    std::vector<UpdateEntry> added;
    added.swap(m_addedUpdates);
    for (const UpdateEntry& u : added) {
        if (u.removed) {
            toRelease.push_back(u.target);
        } else {
            insertUpdate(u);
        }
    }
    // Released last: a target deleted here may call back into the scheduler.
    for (CCObject* target : toRelease) {
        target->release();
    }
}

NS_CC_END
