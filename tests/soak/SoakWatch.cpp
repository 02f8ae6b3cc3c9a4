#include "SoakWatch.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace soak {

namespace {

bool parseNumber(const std::string& text, double& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value))
        return false;
    out = value;
    return true;
}

bool parseSeed(const std::string& text, unsigned& out)
{
    if (text.empty() || text[0] == '-' || text[0] == '+')
        return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size() || value > 0xffffffffUL)
        return false;
    out = static_cast<unsigned>(value);
    return true;
}

}  // namespace

bool parseOptions(const std::vector<std::string>& args, Options& out, std::string& error)
{
    Options options;
    bool minutesGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--seed") {
            if (i + 1 >= args.size() || !parseSeed(args[i + 1], options.seed)) {
                error = "--seed needs a whole number from 0 to 4294967295";
                return false;
            }
            options.seedGiven = true;
            ++i;
        } else if (arg == "--wall-limit") {
            if (i + 1 >= args.size() || !parseNumber(args[i + 1], options.wallLimitSeconds) ||
                options.wallLimitSeconds <= 0) {
                error = "--wall-limit needs a number of seconds above 0";
                return false;
            }
            ++i;
        } else if (arg == "--steps") {
            double steps = 0;
            if (i + 1 >= args.size() || !parseNumber(args[i + 1], steps) || steps < 1 || steps != std::floor(steps) ||
                steps > 7 * 24 * 3600 * kStepsPerPlaySecond) {
                error = "--steps needs a whole number of world steps above 0 (at most a week of play)";
                return false;
            }
            options.steps = static_cast<int64_t>(steps);
            ++i;
        } else if (!minutesGiven && parseNumber(arg, options.minutes)) {
            if (options.minutes <= 0 || options.minutes > 7 * 24 * 60) {
                error = "minutes must be more than 0 and at most a week: " + arg;
                return false;
            }
            minutesGiven = true;
        } else {
            error = "unknown argument: " + arg;
            return false;
        }
    }
    if (minutesGiven && options.steps > 0) {
        error = "give minutes of play or --steps, not both";
        return false;
    }
    out = options;
    return true;
}

double wallLimitFor(double playSeconds)
{
    return 10 * playSeconds + 300;
}

long residentKiB()
{
    FILE* file = std::fopen("/proc/self/statm", "r");
    if (!file)
        return 0;
    long size = 0;
    long resident = 0;
    const int read = std::fscanf(file, "%ld %ld", &size, &resident);
    std::fclose(file);
    if (read != 2)
        return 0;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double MemoryWatch::warmupFor(double runSeconds)
{
    return runSeconds >= 180 ? 60 : runSeconds / 3;
}

double MemoryWatch::settleEvery(double runSeconds)
{
    return runSeconds >= 360 ? 60 : std::max(10.0, runSeconds / 6);
}

double MemoryWatch::warmupForSteps(double runSteps)
{
    return runSteps >= 30000 ? 10000 : runSteps / 3;
}

double MemoryWatch::settleEverySteps(double runSteps)
{
    return runSteps >= 12000 ? 2000 : std::max(100.0, runSteps / 6);
}

void MemoryWatch::sample(long kib)
{
    if (kib <= 0)
        return;
    m_last = kib;
    if (kib > m_peak)
        m_peak = kib;
}

void MemoryWatch::settledSample(double elapsedSeconds, long kib)
{
    sample(kib);
    if (kib <= 0 || elapsedSeconds < m_warmup)
        return;
    ++m_settledCount;
    m_settled.emplace_back(elapsedSeconds, kib);
    if (m_baseline == 0) {
        m_baseline = kib;
        return;
    }
    if (kib > m_highestSettled)
        m_highestSettled = kib;
}

long MemoryWatch::allowedGrowth(long reference) const
{
    return static_cast<long>(static_cast<double>(reference > 0 ? reference : m_baseline) * kAllowance);
}

bool MemoryWatch::grewTooMuch(long reference) const
{
    if (m_baseline <= 0)
        return false;
    const double base = static_cast<double>(reference > 0 ? reference : m_baseline);
    return static_cast<double>(m_highestSettled - m_baseline) > base * kAllowance;
}

bool ErrorWatch::observe(const std::string& line)
{
    for (Expected& expected : m_expected) {
        if (expected.timesLeft != 0 && line.find(expected.text) != std::string::npos) {
            if (expected.timesLeft > 0)
                --expected.timesLeft;
            ++m_expectedCount;
            return false;
        }
    }
    m_unexpected.push_back(line);
    return true;
}

}  // namespace soak
