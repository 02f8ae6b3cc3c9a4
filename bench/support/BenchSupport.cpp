#include "support/BenchSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <string>

#include "base/Logger.h"

namespace benchsupport {

namespace {

std::atomic<bool> g_failed{false};
// The terminal's standard error, kept aside while fd 2 writes the log file.
int g_terminal = -1;
std::string g_logPath;
std::atomic<long> g_errorLines{0};

void writeToTerminal(const std::string& text)
{
    const int fd = g_terminal >= 0 ? g_terminal : STDERR_FILENO;
    if (::write(fd, text.data(), text.size()) < 0)
        return;
}

// Error lines, each shown once: a world made writes its overview's frame
// size at error level every time.
std::mutex g_errorsMutex;
std::set<std::string> g_errorsShown;

void showError(const std::string& line, void*)
{
    ++g_errorLines;
    std::lock_guard<std::mutex> lock(g_errorsMutex);
    if (g_errorsShown.insert(line).second)
        writeToTerminal(line);
}

long linesIn(const std::string& path)
{
    long lines = 0;
    if (FILE* f = std::fopen(path.c_str(), "r")) {
        for (int c = std::fgetc(f); c != EOF; c = std::fgetc(f))
            lines += c == '\n';
        std::fclose(f);
    }
    return lines;
}

// The console table, with the machine's description (which the library
// writes to standard error) on standard output before it.
class ResultsReporter : public benchmark::ConsoleReporter {
public:
    explicit ResultsReporter(OutputOptions options) : ConsoleReporter(options) { }
    bool ReportContext(const Context& context) override
    {
        std::ostream& errors = GetErrorStream();
        SetErrorStream(&GetOutputStream());
        const bool ok = ConsoleReporter::ReportContext(context);
        SetErrorStream(&errors);
        return ok;
    }
};

}  // namespace

std::string programFolder()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    const std::string exe(path, static_cast<size_t>(n));
    return exe.substr(0, exe.rfind('/'));
}

void quietGameLog(const char* name)
{
    // Without a device the game's sound is silent anyway; asking the sound
    // card first only fills the terminal with the audio library's complaints.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    g_logPath = programFolder() + "/" + name + ".log";
    const int log = ::open(g_logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (log < 0)
        return;
    std::fflush(stderr);
    g_terminal = ::dup(STDERR_FILENO);
    ::dup2(log, STDERR_FILENO);
    ::close(log);
    Logger::setErrorObserver(&showError, nullptr);
}

void reportGameLog()
{
    if (g_logPath.empty())
        return;
    std::fflush(stderr);
    std::printf("game log: %ld lines in %s, %ld of them errors (each shown once on standard error)\n",
                linesIn(g_logPath), g_logPath.c_str(), g_errorLines.load());
}

void fail(benchmark::State& state, const std::string& message)
{
    g_failed = true;
    writeToTerminal("benchmark failed: " + message + "\n");
    state.SkipWithError(message.c_str());
}

int runBenchmarks(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ResultsReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Color
                                                   : benchmark::ConsoleReporter::OO_None);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reportGameLog();
    return g_failed ? 1 : 0;
}

}  // namespace benchsupport
