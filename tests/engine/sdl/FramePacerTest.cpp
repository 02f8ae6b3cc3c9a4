#include <gtest/gtest.h>

#include <cmath>

#include "engine/src/sdl/FramePacer.h"

using cocos2d::FramePacer;

namespace {

constexpr double kInterval = 1.0 / 60.0;

// Runs a frame that starts `late` seconds after it was due.
double frame(FramePacer& pacer, double& clock, double late)
{
    double due = pacer.dueTime(clock);
    clock = (due > clock ? due : clock) + late;
    return pacer.frameStarted(clock, kInterval);
}

TEST(FramePacer, OnTimeFramesGetExactlyOneIntervalDespiteJitter)
{
    FramePacer pacer;
    double clock = 100.0;
    double total = 0;
    const double jitter[] = {0.0, 0.004, 0.0001, 0.009, 0.002, 0.016, 0.0, 0.003};
    for (int i = 0; i < 600; ++i) {
        double dt = frame(pacer, clock, jitter[i % 8]);
        EXPECT_DOUBLE_EQ(dt, kInterval) << "frame " << i;
        total += dt;
    }
    // Game time keeps up with the clock to within a frame.
    EXPECT_NEAR(total, clock - 100.0, 2 * kInterval);
}

TEST(FramePacer, ALateFrameGetsTheMeasuredTimeCappedAndTheScheduleRestarts)
{
    FramePacer pacer;
    double clock = 5.0;
    frame(pacer, clock, 0);
    frame(pacer, clock, 0);
    double dt = frame(pacer, clock, 0.1);  // a slow frame
    EXPECT_NEAR(dt, kInterval + 0.1, 1e-9);
    EXPECT_DOUBLE_EQ(frame(pacer, clock, 0), kInterval) << "back on schedule, no catch-up burst";
    EXPECT_DOUBLE_EQ(frame(pacer, clock, 3.0), FramePacer::kMaxStep);  // a debugger stop
    EXPECT_DOUBLE_EQ(frame(pacer, clock, 0), kInterval);
}

TEST(FramePacer, ARestartCountsNoTimeForThePause)
{
    FramePacer pacer;
    double clock = 0;
    frame(pacer, clock, 0);
    pacer.restart();
    clock += 30;  // paused for half a minute
    EXPECT_DOUBLE_EQ(frame(pacer, clock, 0), kInterval);
    EXPECT_DOUBLE_EQ(frame(pacer, clock, 0.001), kInterval);
}

// A clock that moves only when slept on, and a microsecond per reading.
struct SleepyClock {
    double time = 50.0;
    long readings = 0;
    double slept = 0;
    // How the sleep rounds what it is asked: whole milliseconds up, as
    // SDL_Delay is used, and a scheduler's oversleep on top.
    bool wholeMilliseconds = true;
    double oversleep = 0;

    double now()
    {
        ++readings;
        time += 1e-6;
        return time;
    }
    void sleep(double seconds)
    {
        const double asked = wholeMilliseconds ? std::ceil(seconds * 1000.0) / 1000.0 : seconds;
        slept += asked + oversleep;
        time += asked + oversleep;
    }
};

TEST(FramePacer, TheWaitForAFrameIsSleptNotSpunAndTheFrameKeepsItsInterval)
{
    const struct {
        bool wholeMilliseconds;
        double oversleep;
    } sleeps[] = {{false, 0.0}, {true, 0.0}, {true, 0.0003}};
    for (const auto& kind : sleeps) {
        SCOPED_TRACE(testing::Message() << "whole ms " << kind.wholeMilliseconds << ", oversleep " << kind.oversleep);
        FramePacer pacer;
        SleepyClock clock;
        clock.wholeMilliseconds = kind.wholeMilliseconds;
        clock.oversleep = kind.oversleep;
        auto now = [&] { return clock.now(); };
        auto sleep = [&](double seconds) { clock.sleep(seconds); };
        const double start = clock.time;
        double gameTime = 0;
        for (int i = 0; i < 600; ++i) {
            clock.time += 0.001 + 0.004 * (i % 3);  // the frame's own work
            const double due = pacer.dueTime(clock.time);
            const long readings = clock.readings;
            const double dt = pacer.waitForFrame(kInterval, now, sleep);
            EXPECT_LE(clock.readings - readings, 3) << "frame " << i << ": the clock is not polled while waiting";
            EXPECT_GE(clock.time, due) << "frame " << i;
            EXPECT_LE(clock.time - due, 0.001 + kind.oversleep + 1e-5)
                << "frame " << i << " at most a millisecond late";
            EXPECT_DOUBLE_EQ(dt, kInterval) << "frame " << i;
            gameTime += dt;
        }
        EXPECT_NEAR(gameTime, clock.time - start, 2 * kInterval);
    }
}

// Frames that steadily take longer than the interval: game time keeps to
// real time within a frame, however long the run.
TEST(FramePacer, UnderSteadySlowFramesGameTimeKeepsToRealTime)
{
    for (const double work : {0.0175, 0.020, 0.025, 0.030, 0.034}) {
        SCOPED_TRACE(testing::Message() << "frames of " << work * 1000 << " ms");
        FramePacer pacer;
        SleepyClock clock;
        auto now = [&] { return clock.now(); };
        auto sleep = [&](double seconds) { clock.sleep(seconds); };
        const double start = clock.time;
        double gameTime = 0;
        for (int i = 0; i < 1800; ++i) {
            if (i > 0)
                clock.time += work;
            gameTime += pacer.waitForFrame(kInterval, now, sleep);
        }
        EXPECT_NEAR(gameTime, clock.time - start, kInterval + 1e-3)
            << (100 * gameTime / (clock.time - start)) << " % of real time";
    }
}

TEST(FramePacer, AFrameAlreadyDueStartsWithoutSleeping)
{
    FramePacer pacer;
    SleepyClock clock;
    auto now = [&] { return clock.now(); };
    auto sleep = [&](double seconds) { clock.sleep(seconds); };
    EXPECT_DOUBLE_EQ(pacer.waitForFrame(kInterval, now, sleep), kInterval);
    clock.time += 0.1;  // a slow frame
    EXPECT_NEAR(pacer.waitForFrame(kInterval, now, sleep), 0.1, 1e-4);
    EXPECT_EQ(clock.slept, 0.0);
}

}  // namespace
