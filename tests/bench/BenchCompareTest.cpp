#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "BenchCompare.h"

using namespace benchcompare;

namespace {

// A Google Benchmark JSON report with the given entries.
std::string report(const std::string& entries)
{
    return R"({"context": {"date": "today"}, "benchmarks": [)" + entries + "]}";
}

std::string entry(const std::string& name, double realTime, const std::string& unit, const std::string& more = "")
{
    return R"({"name": ")" + name + R"(", "run_type": "iteration", "iterations": 10, "real_time": )" +
        std::to_string(realTime) + R"(, "cpu_time": 1.0, "time_unit": ")" + unit + "\"" + more + "}";
}

TEST(BenchCompare, ReportsGiveMillisecondsPerScene)
{
    struct Case {
        const char* what;
        std::string json;
        const char* scene;
        double ms;
    } cases[] = {
        {"nanoseconds", report(entry("mixed", 650000, "ns")), "mixed", 0.65},
        {"microseconds", report(entry("wrapped_text_1000_bytes", 250, "us")), "wrapped_text_1000_bytes", 0.25},
        {"milliseconds", report(entry("burning", 1.25, "ms")), "burning", 1.25},
        {"seconds", report(entry("mixed_10000_steps", 6.5, "s")), "mixed_10000_steps", 6500},
        {"the name's suffixes are not the scene", report(entry("frame/iterations:600", 5, "ms")), "frame", 5},
        {"a median counter wins over the mean",
         report(entry("startup/iterations:15/manual_time", 55.3, "ms", R"(, "median_ms": 51.9)")), "startup", 51.9},
        {"aggregates are skipped",
         report(
             entry("lights", 2, "ms") + "," +
             R"({"name": "lights_mean", "run_name": "lights", "run_type": "aggregate", "real_time": 9, "time_unit": "ms"})"),
         "lights", 2},
    };
    for (const Case& c : cases) {
        const Report r = parseReport(c.json);
        ASSERT_TRUE(r.valid) << c.what << ": " << r.error;
        ASSERT_EQ(r.ms.count(c.scene), 1u) << c.what;
        EXPECT_NEAR(r.ms.at(c.scene), c.ms, 1e-9) << c.what;
        EXPECT_EQ(r.ms.size(), 1u) << c.what;
    }
}

TEST(BenchCompare, BrokenReportsAndFailedRunsAreNotFigures)
{
    struct Case {
        const char* what;
        std::string json;
        bool valid;
        const char* failedScene;
    } cases[] = {
        {"not JSON", "Failed to match any benchmarks", false, nullptr},
        {"no list", R"({"context": {}})", false, nullptr},
        {"an error in the run",
         report(R"({"name": "startup/iterations:15", "run_type": "iteration", "error_occurred": true,)"
                R"( "error_message": "no game binary at /x/tesmora"})"),
         true, "startup"},
        {"no time at all", report(R"({"name": "frame", "run_type": "iteration"})"), true, "frame"},
    };
    for (const Case& c : cases) {
        const Report r = parseReport(c.json);
        EXPECT_EQ(r.valid, c.valid) << c.what;
        EXPECT_TRUE(r.ms.empty()) << c.what;
        if (c.failedScene) {
            EXPECT_EQ(r.failed.count(c.failedScene), 1u) << c.what;
        }
        if (!c.valid) {
            EXPECT_FALSE(r.error.empty()) << c.what;
        }
    }
    EXPECT_NE(parseReport(report(R"({"name": "startup", "run_type": "iteration", "error_occurred": true,)"
                                 R"( "error_message": "the game exited with code 1"})"))
                  .failed.at("startup")
                  .find("code 1"),
              std::string::npos);
}

TEST(BenchCompare, ListingsNameEachSceneOnceAndSkipTheLog)
{
    const std::string listing = "(...) (136): initColorsAndShadows4 \n"
                                "mixed\nmixed_10000_steps\nframe/iterations:600\n"
                                "startup/iterations:15/manual_time\n"
                                "Appdelegate Done!\n\nmixed\r\n";
    EXPECT_EQ(parseSceneList(listing), (std::vector<std::string>{"mixed", "mixed_10000_steps", "frame", "startup"}));
}

TEST(BenchCompare, Medians)
{
    struct Case {
        std::vector<double> values;
        double median;
    } cases[] = {{{}, 0.0}, {{3}, 3}, {{5, 1, 3}, 3}, {{4, 1, 3, 2}, 2.5}, {{1, 100, 2}, 2}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(median(c.values), c.median);
}

// A stand-in for the processes: each program lists its scenes and reports
// a figure per side; every command is recorded.
struct FakePrograms {
    std::map<std::string, std::vector<std::string>> scenes;  // program path -> scenes
    std::map<std::string, double> ms;                        // program path -> figure
    std::set<std::string> failing;                           // "path scene" that fail
    std::vector<Command> commands;

    Runner runner()
    {
        return [this](const Command& command) -> std::optional<std::string> {
            commands.push_back(command);
            std::string program;
            for (const std::string& arg : command.argv)
                if (scenes.count(arg))
                    program = arg;
            if (program.empty())
                return std::nullopt;
            if (command.reportPath.empty()) {
                std::string listing;
                for (const std::string& s : scenes[program])
                    listing += s + "\n";
                return listing;
            }
            const std::string filter = command.argv[command.argv.size() - 3];
            const std::string scene = filter.substr(std::string("--benchmark_filter=^").size(),
                                                    filter.size() - std::string("--benchmark_filter=^(/|$)").size());
            if (failing.count(program + " " + scene))
                return std::nullopt;
            return report(entry(scene, ms[program], "ms"));
        };
    }
};

TEST(BenchCompare, SharedScenesRunAlternatelyPinnedAndOnlyThose)
{
    FakePrograms fake;
    fake.scenes = {{"/old/world_bench", {"mixed", "burning"}},
                   {"/new/world_bench", {"mixed", "burning", "critters"}},
                   {"/new/frame_bench", {"frame/iterations:600", "startup/iterations:15/manual_time"}}};
    fake.ms = {{"/old/world_bench", 2.0}, {"/new/world_bench", 1.0}, {"/new/frame_bench", 3.0}};
    Options options;
    options.rounds = 3;
    options.core = 7;
    std::ostringstream log;
    const Comparison result =
        compare({{"world_bench", "/old/world_bench", "/new/world_bench"}, {"frame_bench", "", "/new/frame_bench"}},
                options, fake.runner(), log);
    ASSERT_EQ(result.rows.size(), 2u);
    EXPECT_EQ(result.rows[0].scene, "mixed");
    EXPECT_EQ(result.rows[1].scene, "burning");
    EXPECT_EQ(result.onlyNew,
              (std::vector<std::string>{"world_bench: critters", "frame_bench: frame", "frame_bench: startup"}));
    EXPECT_TRUE(result.onlyOld.empty());
    EXPECT_TRUE(result.ok());
    for (const Row& row : result.rows) {
        EXPECT_EQ(row.oldMs, (std::vector<double>{2.0, 2.0, 2.0}));
        EXPECT_EQ(row.newMs, (std::vector<double>{1.0, 1.0, 1.0}));
    }

    // The runs after the three listings: old first in even rounds, new first
    // in odd ones, every run pinned and filtered to its one scene.
    std::vector<std::string> order;
    for (size_t i = 3; i < fake.commands.size(); ++i) {
        const Command& c = fake.commands[i];
        ASSERT_GE(c.argv.size(), 4u);
        EXPECT_EQ(std::vector<std::string>(c.argv.begin(), c.argv.begin() + 3),
                  (std::vector<std::string>{"taskset", "-c", "7"}));
        order.push_back(c.argv[3].substr(1, 3) + " " + c.argv[4]);
    }
    EXPECT_EQ(
        order,
        (std::vector<std::string>{"old --benchmark_filter=^mixed(/|$)", "new --benchmark_filter=^mixed(/|$)",
                                  "old --benchmark_filter=^burning(/|$)", "new --benchmark_filter=^burning(/|$)",
                                  "new --benchmark_filter=^mixed(/|$)", "old --benchmark_filter=^mixed(/|$)",
                                  "new --benchmark_filter=^burning(/|$)", "old --benchmark_filter=^burning(/|$)",
                                  "old --benchmark_filter=^mixed(/|$)", "new --benchmark_filter=^mixed(/|$)",
                                  "old --benchmark_filter=^burning(/|$)", "new --benchmark_filter=^burning(/|$)"}));

    const std::string table = formatComparison(result);
    EXPECT_NE(table.find("mixed         2.000       1.000     0.50  3+3"), std::string::npos) << table;
    EXPECT_NE(table.find("only in the new build: world_bench: critters, frame_bench: frame"), std::string::npos)
        << table;
}

TEST(BenchCompare, FailuresShowAndMakeTheComparisonFail)
{
    FakePrograms fake;
    fake.scenes = {{"/old/world_bench", {"mixed", "lights"}}, {"/new/world_bench", {"mixed", "lights"}}};
    fake.ms = {{"/old/world_bench", 2.0}, {"/new/world_bench", 1.0}};
    fake.failing = {"/new/world_bench lights"};
    Options options;
    options.rounds = 2;
    options.filter = "i";  // both scenes
    std::ostringstream log;
    const Comparison result =
        compare({{"world_bench", "/old/world_bench", "/new/world_bench"}}, options, fake.runner(), log);
    EXPECT_FALSE(result.ok());
    ASSERT_EQ(result.rows.size(), 2u);
    EXPECT_EQ(result.rows[1].failures, 2);
    EXPECT_TRUE(result.rows[1].newMs.empty());
    const std::string table = formatComparison(result);
    EXPECT_NE(table.find("lights       2.000      failed        -  2+0 (2 failed)"), std::string::npos) << table;
    EXPECT_NE(log.str().find("lights: the run failed"), std::string::npos);
    // Unpinned runs start with the program itself.
    EXPECT_EQ(fake.commands.back().argv.front().substr(0, 1), "/");
}

TEST(BenchCompare, FilterAndUnlistableProgramsAreProblems)
{
    struct Case {
        const char* what;
        std::string filter;
        std::string oldPath;
        size_t rows;
        bool ok;
    } cases[] = {
        {"filter keeps one scene", "^lights$", "/old/world_bench", 1, true},
        {"filter that is no regex", "(", "/old/world_bench", 0, false},
        {"old program that does not run", "", "/gone/world_bench", 0, false},
    };
    for (const Case& c : cases) {
        FakePrograms fake;
        fake.scenes = {{"/old/world_bench", {"mixed", "lights"}}, {"/new/world_bench", {"mixed", "lights"}}};
        Options options;
        options.rounds = 1;
        options.filter = c.filter;
        std::ostringstream log;
        const Comparison result =
            compare({{"world_bench", c.oldPath, "/new/world_bench"}}, options, fake.runner(), log);
        EXPECT_EQ(result.rows.size(), c.rows) << c.what;
        EXPECT_EQ(result.ok(), c.ok) << c.what;
        EXPECT_EQ(formatComparison(result).find("problem:") != std::string::npos, !c.ok) << c.what;
    }
}

}  // namespace
