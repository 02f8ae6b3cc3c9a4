#pragma once
// A/B comparison of two builds' benchmarks: the scenes both builds have are
// run alternately (old, new; then new, old; ...), each run one scene in its
// own process pinned to one core, and each side's median per scene is
// compared. The process running and the reading of Google Benchmark's JSON
// reports are kept apart, so the comparison runs with a stand-in launcher too.
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace benchcompare {

// A benchmark's scene: its name up to the first '/' (Google Benchmark adds
// "/iterations:600", "/manual_time" and the like).
std::string sceneOf(const std::string& benchmarkName);

// The scenes a --benchmark_list_tests output names, in order, once each.
// Lines that are not benchmark names (the game's log) are skipped.
std::vector<std::string> parseSceneList(const std::string& text);

// One run's JSON report: milliseconds per scene. A scene that reports a
// "median_ms" counter gives that; others their real time per iteration.
// Aggregate rows are skipped; a scene whose run reported an error is listed
// in `failed` with its message.
struct Report {
    bool valid = false;
    std::string error;  // why the report could not be read
    std::map<std::string, double> ms;
    std::map<std::string, std::string> failed;
};
Report parseReport(const std::string& json);

// The middle value (the mean of the two middle ones for an even count); 0 for none.
double median(std::vector<double> values);

// A command to run: its arguments, and where it writes its JSON report
// (empty for a listing, whose standard output is the answer).
struct Command {
    std::vector<std::string> argv;
    std::string reportPath;
};
// Runs a command; the report's text (or the listing), or nothing when the
// command could not run or exited with an error.
using Runner = std::function<std::optional<std::string>(const Command&)>;

// One benchmark program on each side; a path is empty where that build has
// no such program.
struct ProgramPair {
    std::string name;
    std::string oldPath;
    std::string newPath;
};

struct Options {
    int rounds = 5;
    int core = -1;                       // pinned with taskset when >= 0
    std::string filter;                  // ECMAScript regex searched in scene names; empty: all
    std::vector<std::string> extraArgs;  // passed to every run
    std::string reportFolder = "/tmp";   // where the runs write their reports
};

struct Row {
    std::string program;
    std::string scene;
    std::vector<double> oldMs;
    std::vector<double> newMs;
    int failures = 0;  // runs of either side that gave no figure
};

struct Comparison {
    std::vector<Row> rows;
    std::vector<std::string> onlyOld;  // "program: scene"
    std::vector<std::string> onlyNew;
    std::vector<std::string> problems;  // programs that could not be listed, bad filters
    bool ok() const;                    // every run gave its figure
};

// The command lines: a listing, and one pinned run of one scene.
Command listCommand(const std::string& program);
Command runCommand(const std::string& program, const std::string& scene, const Options& options,
                   const std::string& reportPath);

// Lists both sides' scenes, then runs every shared scene `rounds` times on
// each side, alternating which side goes first. Progress lines go to `log`.
Comparison compare(const std::vector<ProgramPair>& programs, const Options& options, const Runner& runner,
                   std::ostream& log);

// The table: per scene each side's median in ms and new/old; then the
// scenes only one side has.
std::string formatComparison(const Comparison& comparison);

}  // namespace benchcompare
