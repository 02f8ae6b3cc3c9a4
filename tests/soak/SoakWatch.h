#pragma once
// What the soak checks while it plays: its options, resident memory after
// the warm-up, and error-level log lines it did not expect.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace soak {

struct Options {
    double minutes = 60;  // of play, on the game's clock
    int64_t steps = 0;    // world steps to play instead, when above 0
    unsigned seed = 0;
    bool seedGiven = false;
    double wallLimitSeconds = 0;  // 0: wallLimitFor(the play it asks for)
};

// "[minutes] [--steps N] [--seed N] [--wall-limit SECONDS]" (minutes may be
// a fraction; minutes and steps exclude each other). False with a message
// for anything else.
bool parseOptions(const std::vector<std::string>& args, Options& out, std::string& error);

// World steps a second of play makes at most (the world steps 30 times a
// second): the play a run of so many steps needs at least.
constexpr double kStepsPerPlaySecond = 30.0;

// How long a run of that much play may take on the wall clock before the
// soak gives up: ten times its play and five minutes more, far above what
// even a sanitizer build on a busy machine needs.
double wallLimitFor(double playSeconds);

// Resident memory of this process in KiB (from /proc/self/statm), 0 when unreadable.
long residentKiB();

// Resident memory. A world's particles come and go by the tens of thousands,
// so memory is compared in one state only: just after a new, empty world
// (a settled sample). The first settled sample after the warm-up is the
// baseline; a later one more than the allowance above it is growth.
class MemoryWatch {
public:
    static constexpr double kAllowance = 0.05;

    explicit MemoryWatch(double warmupSeconds) : m_warmup(warmupSeconds) { }
    // The warm-up for a run: the first minute, or the first third of a run
    // shorter than three minutes.
    static double warmupFor(double runSeconds);
    // How often a run takes a settled sample: every minute, or six times in
    // a run shorter than six minutes (at least every 10 s).
    static double settleEvery(double runSeconds);
    // The same for a run counted in world steps: the first 10,000 steps, or
    // the first third of a shorter run; a sample every 2,000 steps, or six in
    // a run of fewer than 12,000.
    static double warmupForSteps(double runSteps);
    static double settleEverySteps(double runSteps);

    // Any moment: for the peak and the final figure.
    void sample(long kib);
    void settledSample(double elapsedSeconds, long kib);
    bool hasBaseline() const { return m_baseline > 0; }
    long baseline() const { return m_baseline; }
    long peak() const { return m_peak; }
    long last() const { return m_last; }
    // The highest settled sample after the baseline (0 before any), and the
    // last one.
    long highestSettled() const { return m_highestSettled; }
    long lastSettled() const { return m_settled.empty() ? 0 : m_settled.back().second; }
    int settledCount() const { return m_settledCount; }
    // Every settled sample after the warm-up: (seconds, KiB).
    const std::vector<std::pair<double, long>>& settled() const { return m_settled; }
    // Growth beyond the allowance of the baseline, or of `reference` when one
    // is given (the heap's growth measured against the resident size).
    bool grewTooMuch(long reference = 0) const;
    // The growth the rule allows: kAllowance of `reference`, or of the baseline.
    long allowedGrowth(long reference = 0) const;

private:
    double m_warmup;
    long m_baseline = 0;
    long m_peak = 0;
    long m_last = 0;
    long m_highestSettled = 0;
    int m_settledCount = 0;
    std::vector<std::pair<double, long>> m_settled;
};

// Error lines: each one either matches an expected text or is kept as a fault.
class ErrorWatch {
public:
    // A text that, found in a line, marks the line as expected, at most
    // `times` times (a negative number: any number of times).
    void expect(std::string text, int times = -1) { m_expected.push_back({std::move(text), times}); }
    // Returns true when the line was not expected.
    bool observe(const std::string& line);
    const std::vector<std::string>& unexpected() const { return m_unexpected; }
    int64_t expectedCount() const { return m_expectedCount; }

private:
    struct Expected {
        std::string text;
        int timesLeft;
    };
    std::vector<Expected> m_expected;
    std::vector<std::string> m_unexpected;
    int64_t m_expectedCount = 0;
};

}  // namespace soak
