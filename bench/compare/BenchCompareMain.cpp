// bench_compare: runs two builds' benchmark programs alternately and prints
// each scene's medians and new/old. scripts/bench --compare builds both sides
// and calls it.
//
//   bench_compare --old DIR --new DIR [--rounds N] [--core C] [--filter REGEX]
//                 [-- benchmark options for every run]
//
// DIR is a build's bin folder; the programs compared are world_bench,
// frame_bench and menu_bench, where present.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "BenchCompare.h"

using namespace benchcompare;

namespace {

std::optional<std::string> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the command with its standard output in `outPath` and its errors in
// `errorPath`; true when it exited with 0.
bool runProcess(const std::vector<std::string>& argv, const std::string& outPath, const std::string& errorPath)
{
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0)
            dup2(out, STDOUT_FILENO);
        if (err >= 0)
            dup2(err, STDERR_FILENO);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int usage()
{
    std::cerr << "usage: bench_compare --old DIR --new DIR [--rounds N] [--core C] [--filter REGEX] "
                 "[-- benchmark options]\n";
    return 2;
}

bool readInt(const char* text, int& out)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < 0 || value > 1000000)
        return false;
    out = static_cast<int>(value);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string oldFolder, newFolder;
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--") {
            options.extraArgs.assign(argv + i + 1, argv + argc);
            break;
        }
        if (arg == "--old" && hasValue)
            oldFolder = argv[++i];
        else if (arg == "--new" && hasValue)
            newFolder = argv[++i];
        else if (arg == "--filter" && hasValue)
            options.filter = argv[++i];
        else if (arg == "--rounds" && hasValue) {
            if (!readInt(argv[++i], options.rounds) || options.rounds == 0) {
                std::cerr << "bench_compare: --rounds wants a whole number above 0\n";
                return 2;
            }
        } else if (arg == "--core" && hasValue) {
            if (!readInt(argv[++i], options.core)) {
                std::cerr << "bench_compare: --core wants a core number\n";
                return 2;
            }
        } else {
            return usage();
        }
    }
    if (oldFolder.empty() || newFolder.empty())
        return usage();

    char pattern[] = "/tmp/tesmora-compare-XXXXXX";
    const char* folder = mkdtemp(pattern);
    if (!folder) {
        std::cerr << "bench_compare: cannot make a folder for the reports\n";
        return 1;
    }
    options.reportFolder = folder;
    const std::string scratchOut = options.reportFolder + "/stdout.txt";
    const std::string scratchErr = options.reportFolder + "/stderr.txt";

    const auto executable = [](const std::string& path) { return access(path.c_str(), X_OK) == 0 ? path : ""; };
    std::vector<ProgramPair> programs;
    for (const char* name : {"world_bench", "frame_bench", "menu_bench"}) {
        ProgramPair pair{name, executable(oldFolder + "/" + name), executable(newFolder + "/" + name)};
        if (!pair.oldPath.empty() || !pair.newPath.empty())
            programs.push_back(pair);
    }

    const Runner runner = [&](const Command& command) -> std::optional<std::string> {
        const bool ok = runProcess(command.argv, scratchOut, scratchErr);
        if (!ok) {
            // The program's own complaint helps more than "failed".
            if (auto errors = readFile(scratchErr); errors && !errors->empty())
                std::cerr << errors->substr(errors->size() > 2000 ? errors->size() - 2000 : 0);
            return std::nullopt;
        }
        return readFile(command.reportPath.empty() ? scratchOut : command.reportPath);
    };
    const Comparison comparison = compare(programs, options, runner, std::cerr);
    std::error_code ignored;
    std::filesystem::remove_all(options.reportFolder, ignored);

    std::cout << "old: " << oldFolder << "\nnew: " << newFolder << "\n"
              << options.rounds << " rounds, each scene alternately, "
              << (options.core >= 0 ? "pinned to core " + std::to_string(options.core) : std::string("not pinned"))
              << "; medians\n\n"
              << formatComparison(comparison);
    return comparison.ok() ? 0 : 1;
}
