#pragma once
// What every benchmark program shares: a quiet game log, the machine's
// description on standard output with the results, and a loud failure.
//
// The game writes a log line for many ordinary things (a world made, a
// camera laid out). While a benchmark runs those lines go to a log file
// beside the program instead of the terminal; error lines still reach the
// terminal (each different line once), and the program says at the end how
// many lines the file got.
#include <string>

#include <benchmark/benchmark.h>

namespace benchsupport {

// Sends the game's log to `<folder of the program>/<name>.log` (emptied
// first) and keeps error lines on the terminal. Also keeps the game's sound
// silent without asking the sound card, as every benchmark wants.
void quietGameLog(const char* name);
// The folder that holds the running program ("." when unknown).
std::string programFolder();
// The log's summary on standard output (runBenchmarks gives it too).
void reportGameLog();

// Marks the run as failed: the benchmark shows the message as its error,
// and the program's exit code is 1 (see runBenchmarks).
void fail(benchmark::State& state, const std::string& message);

// Google Benchmark's main, with the machine's description on standard
// output beside the results. Returns the program's exit code: 1 when a
// benchmark failed or an argument was not understood.
int runBenchmarks(int argc, char** argv);

}  // namespace benchsupport
