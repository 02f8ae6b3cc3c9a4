#include <gtest/gtest.h>

#include "engine/src/sdl/FramePacer.h"

using cocos2d::FramePacer;

namespace {

constexpr double kInterval = 1.0 / 60.0;

// Runs a frame that starts `late` seconds after it was due.
double frame(FramePacer& pacer, double& clock, double late)
{
    double due = pacer.dueTime(clock, kInterval);
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

}  // namespace
