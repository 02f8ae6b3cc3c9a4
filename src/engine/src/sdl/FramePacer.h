#pragma once
// Internal: the loop's pacing, apart from any clock so it can be tested.
// A frame that starts less than one interval after its due time gets exactly
// one interval, so a 1/30 s timer fires on every second 1/60 s frame. A later
// frame gets the time since the previous frame was due, capped at 0.25 s, and
// the schedule starts again from it: timed from its own start instead, a
// steady overload (frames of 17.5 ms) lost the lateness that had built up, and
// game time fell behind. So game time never drifts from real time by more
// than a frame, unless a frame takes longer than the cap (a debugger stop).
// The wait for a frame is all sleep: spinning through the last 2 ms of every
// frame kept an eighth of a core busy while the game only waited.

namespace cocos2d {

class FramePacer {
public:
    static constexpr double kMaxStep = 0.25;

    // Forgets the schedule: the next frame starts a new one (after a pause).
    void restart() { m_started = false; }

    // When the next frame is due, given the time now; the loop waits for it.
    double dueTime(double now)
    {
        if (!m_started) {
            m_started = true;
            m_fresh = true;
            m_due = now;
        }
        return m_due;
    }

    // Sleeps until the next frame is due, starts it and returns its dt.
    // now() reads the clock in seconds; sleep(seconds) sleeps at least that
    // long, and may oversleep: a frame a millisecond late still gets exactly
    // one interval.
    template <typename Now, typename Sleep> double waitForFrame(double interval, Now&& now, Sleep&& sleep)
    {
        const double due = dueTime(now());
        double t = now();
        while (t < due) {
            sleep(due - t);
            t = now();
        }
        return frameStarted(t, interval);
    }

    // The frame starts at now (at or after its due time); returns its dt.
    double frameStarted(double now, double interval)
    {
        double dt;
        if (m_fresh) {
            dt = interval;
            m_due = now + interval;
            m_fresh = false;
        } else if (now - m_due < interval) {
            dt = interval;
            m_due += interval;
        } else {
            const double sinceDue = now - m_due + interval;
            dt = sinceDue < kMaxStep ? sinceDue : kMaxStep;
            m_due = now + interval;
        }
        return dt;
    }

private:
    bool m_started = false;
    bool m_fresh = false;
    double m_due = 0;
};

}  // namespace cocos2d
