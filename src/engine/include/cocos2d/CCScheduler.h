#pragma once
#include <climits>
#include <cstdint>
#include <vector>

#include "cocos2d/CCObject.h"

NS_CC_BEGIN

class CCNode;

#define kCCRepeatForever (UINT_MAX - 1)

enum {
    kCCPrioritySystem = INT_MIN,
    kCCPriorityNonSystemMin = kCCPrioritySystem + 1,
};

// Timers and per-frame updates, driven by the director's clock.
// Invariants: at most one timer per (target, selector); a timer fires at most
// once per update, with the time accumulated since its last fire, and then
// counts again from 0 (no catch-up); timers and updates added during an
// update take part from the next one; unscheduling takes effect at once; the
// scheduler retains a target while it has a timer or an update.
class CCScheduler : public CCObject {
public:
    CCScheduler() = default;
    ~CCScheduler() override;

    // Updates first (lower priority first, then scheduling order), then timers
    // (targets in the order they first scheduled one, each target's timers in
    // scheduling order).
    void update(float dt);

    // Repeats forever with no delay. Scheduling an existing pair updates its
    // interval, repeat and delay and keeps its elapsed time and paused state.
    void scheduleSelector(SEL_SCHEDULE selector, CCObject* target, float interval, bool paused);
    // Fires repeat + 1 times, the first once delay has passed.
    void scheduleSelector(SEL_SCHEDULE selector, CCObject* target, float interval, unsigned repeat, float delay,
                          bool paused);
    void unscheduleSelector(SEL_SCHEDULE selector, CCObject* target);
    // Calls target->update(dt) every update.
    void scheduleUpdateForTarget(CCNode* target, int priority, bool paused);
    void unscheduleUpdateForTarget(const CCObject* target);
    // Timers and update.
    void unscheduleAllForTarget(CCObject* target);
    void unscheduleAll();

    // A paused target keeps its timers' elapsed times. The paused state
    // belongs to the target: a new timer of a target that has others takes
    // theirs.
    void pauseTarget(CCObject* target);
    void resumeTarget(CCObject* target);
    bool isTargetPaused(CCObject* target) const;

    // (ext)
    bool isScheduled(SEL_SCHEDULE selector, const CCObject* target) const;
    bool isUpdateScheduled(const CCObject* target) const;

private:
    struct Timer {
        SEL_SCHEDULE selector;
        double interval;
        double delay;
        double elapsed;
        unsigned repeat;
        unsigned fired;
        bool useDelay;
        bool removed;
        uint64_t startUpdate;  // the update it was created during
    };
    struct TimerTarget {
        CCObject* target;
        bool paused;
        bool removed;
        std::vector<Timer> timers;
    };
    struct UpdateEntry {
        CCNode* node;
        CCObject* target;
        int priority;
        bool paused;
        bool removed;
        uint64_t startUpdate;
    };

    TimerTarget* findTimerTarget(const CCObject* target);
    const TimerTarget* findTimerTarget(const CCObject* target) const;
    UpdateEntry* findUpdate(const CCObject* target);
    const UpdateEntry* findUpdate(const CCObject* target) const;
    bool pausedStateOf(const CCObject* target, bool fallback) const;
    void insertUpdate(const UpdateEntry& entry);
    void runTimers(float dt);
    // Drops removed entries, then releases their targets.
    void sweep();

    std::vector<TimerTarget> m_timerTargets;
    std::vector<UpdateEntry> m_updates;
    std::vector<UpdateEntry> m_addedUpdates;  // scheduled during an update
    uint64_t m_updateSerial = 0;
    bool m_bUpdating = false;
};

NS_CC_END
