#include <gtest/gtest.h>

#include "SoakWatch.h"

namespace {

TEST(SoakOptions, MinutesAndSeedAreReadAndNonsenseIsRefused)
{
    struct Case {
        std::vector<std::string> args;
        bool ok;
        double minutes;
        bool seedGiven;
        unsigned seed;
        double wallLimit = 0;
        int64_t steps = 0;
    };
    const Case cases[] = {
        {{}, true, 60, false, 0},
        {{"1"}, true, 1, false, 0},
        {{"0.5", "--seed", "42"}, true, 0.5, true, 42},
        {{"--seed", "4294967295", "20"}, true, 20, true, 4294967295u},
        {{"--seed", "0"}, true, 60, true, 0},
        {{"0"}, false, 0, false, 0},
        {{"-3"}, false, 0, false, 0},
        {{"nan"}, false, 0, false, 0},
        {{"inf"}, false, 0, false, 0},
        {{"1e9"}, false, 0, false, 0},
        {{"5min"}, false, 0, false, 0},
        {{"5", "6"}, false, 0, false, 0},
        {{"--seed"}, false, 0, false, 0},
        {{"--seed", "-1"}, false, 0, false, 0},
        {{"--seed", "4294967296"}, false, 0, false, 0},
        {{"--seed", "12x"}, false, 0, false, 0},
        {{"--speed", "1"}, false, 0, false, 0},
        {{"2", "--wall-limit", "900"}, true, 2, false, 0, 900},
        {{"--wall-limit", "0.5", "--seed", "7"}, true, 60, true, 7, 0.5},
        {{"--wall-limit"}, false, 0, false, 0},
        {{"--wall-limit", "0"}, false, 0, false, 0},
        {{"--wall-limit", "-5"}, false, 0, false, 0},
        {{"--wall-limit", "soon"}, false, 0, false, 0},
        {{"--steps", "100000", "--seed", "3"}, true, 60, true, 3, 0, 100000},
        {{"--steps", "1"}, true, 60, false, 0, 0, 1},
        {{"--steps"}, false, 0, false, 0},
        {{"--steps", "0"}, false, 0, false, 0},
        {{"--steps", "2.5"}, false, 0, false, 0},
        {{"--steps", "many"}, false, 0, false, 0},
        {{"10", "--steps", "500"}, false, 0, false, 0},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const std::string& a : c.args)
            joined += a + " ";
        soak::Options options;
        options.minutes = -1;
        std::string error;
        ASSERT_EQ(soak::parseOptions(c.args, options, error), c.ok) << joined;
        if (!c.ok) {
            EXPECT_FALSE(error.empty()) << joined;
            EXPECT_EQ(options.minutes, -1) << "a refused line leaves the options: " << joined;
            continue;
        }
        EXPECT_DOUBLE_EQ(options.minutes, c.minutes) << joined;
        EXPECT_EQ(options.seedGiven, c.seedGiven) << joined;
        EXPECT_EQ(options.seed, c.seed) << joined;
        EXPECT_DOUBLE_EQ(options.wallLimitSeconds, c.wallLimit) << joined;
        EXPECT_EQ(options.steps, c.steps) << joined;
    }
}

TEST(SoakMemory, SettledSamplesAfterTheWarmupAreHeldToTheFirstOfThem)
{
    struct Case {
        const char* what;
        std::vector<std::pair<double, long>> settled;
        bool tooMuch;
        long baseline;
    };
    const Case cases[] = {
        {"flat", {{30, 1000}, {61, 1000}, {120, 1000}, {3000, 1000}}, false, 1000},
        {"growth inside the warm-up is free", {{10, 500}, {59, 900}, {61, 1000}, {90, 1050}}, false, 1000},
        {"just over five per cent", {{61, 1000}, {120, 1030}, {180, 1051}}, true, 1000},
        {"growth that comes back still counts", {{61, 1000}, {120, 1200}, {180, 1000}}, true, 1000},
        {"shrinking is fine", {{61, 1000}, {120, 800}, {180, 840}}, false, 1000},
        {"unreadable samples are skipped", {{61, 0}, {62, -5}, {90, 1000}, {120, 1010}}, false, 1000},
        {"no settled sample after the warm-up", {{10, 1000}, {59, 5000}}, false, 0},
    };
    for (const Case& c : cases) {
        soak::MemoryWatch watch(60);
        for (const auto& [at, kib] : c.settled)
            watch.settledSample(at, kib);
        EXPECT_EQ(watch.grewTooMuch(), c.tooMuch) << c.what;
        EXPECT_EQ(watch.baseline(), c.baseline) << c.what;
    }
}

TEST(SoakMemory, PeaksBetweenSettledSamplesAreReportedNotHeldAgainstTheRun)
{
    soak::MemoryWatch watch(60);
    watch.settledSample(61, 1000);
    watch.sample(1900);  // a world full of particles
    watch.sample(0);     // unreadable: ignored
    watch.settledSample(120, 1020);
    EXPECT_FALSE(watch.grewTooMuch());
    EXPECT_EQ(watch.peak(), 1900);
    EXPECT_EQ(watch.last(), 1020);
    EXPECT_EQ(watch.highestSettled(), 1020);
    EXPECT_EQ(watch.settledCount(), 2);

    // Measured against a larger whole (the heap's growth against resident
    // memory), the same growth may be within the allowance or not.
    watch.settledSample(180, 1200);
    EXPECT_TRUE(watch.grewTooMuch());
    EXPECT_FALSE(watch.grewTooMuch(4000));
    EXPECT_TRUE(watch.grewTooMuch(3999));
    // What a failure reports as allowed.
    EXPECT_EQ(watch.allowedGrowth(), 50);
    EXPECT_EQ(watch.allowedGrowth(4000), 200);
}

TEST(SoakMemory, ShortRunsWarmUpAndSettleInProportion)
{
    struct Case {
        double run;
        double warmup;
        double every;
    };
    const Case cases[] = {{60, 20, 10},  {30, 10, 10},  {179, 179.0 / 3, 179.0 / 6},
                          {180, 60, 30}, {360, 60, 60}, {3600, 60, 60}};
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(soak::MemoryWatch::warmupFor(c.run), c.warmup) << c.run;
        EXPECT_DOUBLE_EQ(soak::MemoryWatch::settleEvery(c.run), c.every) << c.run;
    }
    EXPECT_GT(soak::residentKiB(), 0) << "this process has resident pages";
    EXPECT_DOUBLE_EQ(soak::wallLimitFor(60), 900);
}

TEST(SoakErrors, ExpectedLinesAreCountedAndOthersKept)
{
    soak::ErrorWatch watch;
    watch.expect("(174): createdSuccessfully");
    watch.expect("no such sound", 1);
    EXPECT_FALSE(watch.observe("(...) (174): createdSuccessfully: false \n"));
    EXPECT_TRUE(watch.observe("(...) (175): createdSuccessfully: false \n")) << "another line is not the same line";
    EXPECT_FALSE(watch.observe("engine: no such sound x.ogg\n"));
    EXPECT_TRUE(watch.observe("engine: no such sound y.ogg\n")) << "expected once only";
    EXPECT_TRUE(watch.observe("(...) (12): the blob is broken \n"));
    EXPECT_FALSE(watch.observe("(...) (174): createdSuccessfully: false \n")) << "no limit";
    EXPECT_EQ(watch.expectedCount(), 3);
    ASSERT_EQ(watch.unexpected().size(), 3u);
    EXPECT_EQ(watch.unexpected()[2], "(...) (12): the blob is broken \n");
}

}  // namespace
