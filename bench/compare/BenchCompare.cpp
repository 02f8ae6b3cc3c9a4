#include "BenchCompare.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <regex>
#include <set>
#include <sstream>

#include "base/json/Json.h"

namespace benchcompare {

std::string sceneOf(const std::string& benchmarkName)
{
    return benchmarkName.substr(0, benchmarkName.find('/'));
}

namespace {

bool isBenchmarkName(const std::string& line)
{
    if (line.empty())
        return false;
    for (char c : line)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '/' || c == ':' || c == '.' || c == '-'))
            return false;
    return true;
}

double toMilliseconds(double value, const std::string& unit)
{
    if (unit == "ns")
        return value / 1e6;
    if (unit == "us")
        return value / 1e3;
    if (unit == "s")
        return value * 1e3;
    return value;  // "ms"
}

}  // namespace

std::vector<std::string> parseSceneList(const std::string& text)
{
    std::vector<std::string> scenes;
    std::set<std::string> seen;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!isBenchmarkName(line))
            continue;
        const std::string scene = sceneOf(line);
        if (seen.insert(scene).second)
            scenes.push_back(scene);
    }
    return scenes;
}

Report parseReport(const std::string& text)
{
    Report report;
    const json::Document document = json::Document::parse(text);
    if (!document.isValid()) {
        report.error = "not JSON: " + document.error();
        return report;
    }
    const json::NodePtr benchmarks = document.find("benchmarks");
    if (!benchmarks->isArray()) {
        report.error = "no \"benchmarks\" list";
        return report;
    }
    report.valid = true;
    for (const json::NodePtr& entry : benchmarks->children()) {
        if (entry->get("run_type")->stringValue("iteration") != "iteration")
            continue;
        const std::string scene = sceneOf(entry->get("name")->stringValue());
        if (scene.empty())
            continue;
        if (entry->get("error_occurred")->boolValue(false)) {
            report.failed[scene] = entry->get("error_message")->stringValue("failed");
            continue;
        }
        const json::NodePtr median = entry->get("median_ms");
        const json::NodePtr realTime = entry->get("real_time");
        if (median->isNumber())
            report.ms[scene] = median->doubleValue();
        else if (realTime->isNumber())
            report.ms[scene] = toMilliseconds(realTime->doubleValue(), entry->get("time_unit")->stringValue("ns"));
        else
            report.failed[scene] = "no time in the report";
    }
    return report;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

bool Comparison::ok() const
{
    if (!problems.empty())
        return false;
    return std::all_of(rows.begin(), rows.end(), [](const Row& row) { return row.failures == 0; });
}

Command listCommand(const std::string& program)
{
    return Command{{program, "--benchmark_list_tests=true"}, ""};
}

Command runCommand(const std::string& program, const std::string& scene, const Options& options,
                   const std::string& reportPath)
{
    Command command;
    if (options.core >= 0)
        command.argv = {"taskset", "-c", std::to_string(options.core)};
    command.argv.push_back(program);
    // Scene names are plain words: anchored, so "mixed" does not also run
    // "mixed_10000_steps".
    command.argv.push_back("--benchmark_filter=^" + scene + "(/|$)");
    command.argv.push_back("--benchmark_out=" + reportPath);
    command.argv.push_back("--benchmark_out_format=json");
    command.argv.insert(command.argv.end(), options.extraArgs.begin(), options.extraArgs.end());
    command.reportPath = reportPath;
    return command;
}

namespace {

std::optional<std::vector<std::string>> listScenes(const std::string& program, const Runner& runner)
{
    const std::optional<std::string> listing = runner(listCommand(program));
    if (!listing)
        return std::nullopt;
    return parseSceneList(*listing);
}

// One run's figure for the scene; nothing when it failed (said in the log).
std::optional<double> runOnce(const std::string& program, const std::string& scene, const Options& options,
                              const Runner& runner, const std::string& reportPath, std::ostream& log)
{
    const std::optional<std::string> text = runner(runCommand(program, scene, options, reportPath));
    if (!text) {
        log << "  " << program << " " << scene << ": the run failed\n";
        return std::nullopt;
    }
    const Report report = parseReport(*text);
    if (!report.valid) {
        log << "  " << program << " " << scene << ": unreadable report (" << report.error << ")\n";
        return std::nullopt;
    }
    if (auto failed = report.failed.find(scene); failed != report.failed.end()) {
        log << "  " << program << " " << scene << ": " << failed->second << "\n";
        return std::nullopt;
    }
    const auto figure = report.ms.find(scene);
    if (figure == report.ms.end()) {
        log << "  " << program << " " << scene << ": not in its report\n";
        return std::nullopt;
    }
    return figure->second;
}

}  // namespace

Comparison compare(const std::vector<ProgramPair>& programs, const Options& options, const Runner& runner,
                   std::ostream& log)
{
    Comparison result;
    std::optional<std::regex> filter;
    if (!options.filter.empty()) {
        try {
            filter.emplace(options.filter);
        } catch (const std::regex_error& e) {
            result.problems.push_back("the filter \"" + options.filter + "\" is not a regular expression");
            return result;
        }
    }
    const auto wanted = [&](const std::string& scene) { return !filter || std::regex_search(scene, *filter); };

    for (const ProgramPair& pair : programs) {
        std::vector<std::string> oldScenes, newScenes;
        if (!pair.oldPath.empty()) {
            auto listed = listScenes(pair.oldPath, runner);
            if (!listed)
                result.problems.push_back("cannot list the old " + pair.name + " (" + pair.oldPath + ")");
            else
                oldScenes = *listed;
        }
        if (!pair.newPath.empty()) {
            auto listed = listScenes(pair.newPath, runner);
            if (!listed)
                result.problems.push_back("cannot list the new " + pair.name + " (" + pair.newPath + ")");
            else
                newScenes = *listed;
        }
        const std::set<std::string> oldSet(oldScenes.begin(), oldScenes.end());
        const std::set<std::string> newSet(newScenes.begin(), newScenes.end());
        for (const std::string& scene : newScenes) {
            if (!wanted(scene))
                continue;
            if (oldSet.count(scene))
                result.rows.push_back(Row{pair.name, scene, {}, {}, 0});
            else
                result.onlyNew.push_back(pair.name + ": " + scene);
        }
        for (const std::string& scene : oldScenes)
            if (wanted(scene) && !newSet.count(scene))
                result.onlyOld.push_back(pair.name + ": " + scene);
    }

    const auto pathOf = [&](const Row& row, bool oldSide) -> const std::string& {
        for (const ProgramPair& pair : programs)
            if (pair.name == row.program)
                return oldSide ? pair.oldPath : pair.newPath;
        static const std::string none;
        return none;
    };
    int runNumber = 0;
    for (int round = 0; round < options.rounds; ++round) {
        log << "round " << round + 1 << " of " << options.rounds << "\n";
        for (Row& row : result.rows) {
            // Alternate which side goes first, so neither always runs on a
            // machine the other has just warmed (or heated).
            const bool oldFirst = round % 2 == 0;
            for (int turn = 0; turn < 2; ++turn) {
                const bool oldSide = (turn == 0) == oldFirst;
                const std::string reportPath = options.reportFolder + "/run-" + std::to_string(++runNumber) + ".json";
                const std::optional<double> ms =
                    runOnce(pathOf(row, oldSide), row.scene, options, runner, reportPath, log);
                if (!ms)
                    ++row.failures;
                else
                    (oldSide ? row.oldMs : row.newMs).push_back(*ms);
                std::remove(reportPath.c_str());
            }
        }
    }
    return result;
}

namespace {

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, value >= 100.0 ? "%.1f" : value >= 1.0 ? "%.3f" : "%.4f", value);
    return text;
}

std::string padded(const std::string& text, size_t width, bool right)
{
    if (text.size() >= width)
        return text;
    const std::string fill(width - text.size(), ' ');
    return right ? fill + text : text + fill;
}

}  // namespace

std::string formatComparison(const Comparison& comparison)
{
    std::ostringstream out;
    size_t sceneWidth = 5;
    for (const Row& row : comparison.rows)
        sceneWidth = std::max(sceneWidth, row.scene.size());
    out << padded("scene", sceneWidth, false) << "  " << padded("old ms", 10, true) << "  "
        << padded("new ms", 10, true) << "  " << padded("new/old", 7, true) << "  runs\n";
    for (const Row& row : comparison.rows) {
        const bool bothMeasured = !row.oldMs.empty() && !row.newMs.empty();
        const double oldMedian = median(row.oldMs);
        const double newMedian = median(row.newMs);
        out << padded(row.scene, sceneWidth, false) << "  "
            << padded(row.oldMs.empty() ? "failed" : number(oldMedian), 10, true) << "  "
            << padded(row.newMs.empty() ? "failed" : number(newMedian), 10, true) << "  ";
        char ratio[16] = "-";
        if (bothMeasured && oldMedian > 0.0)
            std::snprintf(ratio, sizeof ratio, "%.2f", newMedian / oldMedian);
        out << padded(ratio, 7, true) << "  " << row.oldMs.size() << "+" << row.newMs.size();
        if (row.failures > 0)
            out << " (" << row.failures << " failed)";
        out << "\n";
    }
    const auto listLine = [&](const char* label, const std::vector<std::string>& scenes) {
        if (scenes.empty())
            return;
        out << label;
        for (size_t i = 0; i < scenes.size(); ++i)
            out << (i ? ", " : " ") << scenes[i];
        out << "\n";
    };
    listLine("not compared, only in the old build:", comparison.onlyOld);
    listLine("not compared, only in the new build:", comparison.onlyNew);
    for (const std::string& problem : comparison.problems)
        out << "problem: " << problem << "\n";
    return out.str();
}

}  // namespace benchcompare
