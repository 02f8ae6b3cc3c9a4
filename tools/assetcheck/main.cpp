// assetcheck: checks the assembled resource tree against
// assets/required.manifest, scans the sources for asset names the manifest
// does not know, and runs generators twice to compare their bytes.
//
//   assetcheck --manifest FILE [--tree DIR --assets DIR]
//              [--sources DIR]... [--generator EXE --assets DIR --work DIR]...
//
// Prints every fault and exits 1 when there is one.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Required.h"
#include "ShopCheck.h"
#include "SourceScan.h"
#include "TreeCheck.h"

using namespace assetcheck;
namespace fs = std::filesystem;

namespace {

std::vector<char> readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

bool run(const std::vector<std::string>& args)
{
    pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Two runs of a generator (with different thread counts where it takes them)
// must give the same files with the same bytes, and the same as the tree.
void checkDeterminism(const std::string& generator, const std::string& assets, const std::string& work,
                      const std::string& tree, std::vector<std::string>& errors)
{
    const std::string name = fs::path(generator).filename().string();
    const fs::path a = fs::path(work) / (name + "-a"), b = fs::path(work) / (name + "-b");
    std::error_code ec;
    fs::remove_all(a, ec);
    fs::remove_all(b, ec);
    std::vector<std::string> first{generator, "--assets", assets, "--out", a.string()};
    std::vector<std::string> second{generator, "--assets", assets, "--out", b.string()};
    // One thread against every core: the bytes must not depend on how the
    // work is shared out.
    const std::string cores = std::to_string(std::max(2u, std::thread::hardware_concurrency()));
    if (name == "soundgen") {
        first.insert(first.end(), {"--jobs", "1"});
        second.insert(second.end(), {"--jobs", cores});
    }
    // The worlds are built on the tree's backgrounds.
    if (name == "levelgen") {
        first.insert(first.end(), {"--backgrounds", tree});
        second.insert(second.end(), {"--backgrounds", tree});
    }
    if (!run(first) || !run(second)) {
        errors.push_back(name + " failed to run");
        return;
    }
    size_t compared = 0;
    auto compare = [&](const fs::path& one, const fs::path& two, const std::string& against) {
        if (!fs::exists(one))
            return;
        for (auto it = fs::recursive_directory_iterator(one); it != fs::recursive_directory_iterator(); ++it) {
            if (!it->is_regular_file())
                continue;
            const fs::path rel = fs::relative(it->path(), one);
            const std::vector<char> bytes = readAll(it->path());
            if (!fs::exists(two / rel) || readAll(two / rel) != bytes)
                errors.push_back(name + ": two runs give different bytes for " + rel.generic_string() +
                                 (name == "soundgen" ? " (1 and " + cores + " threads)" : ""));
            else if (!against.empty() && readAll(fs::path(against) / rel) != bytes)
                errors.push_back(name + ": " + rel.generic_string() + " in the tree differs from a fresh run");
            ++compared;
        }
    };
    compare(a, b, tree);
    std::printf("assetcheck: %s wrote %zu files, identical on two runs%s\n", name.c_str(), compared,
                name == "soundgen" ? (" (1 and " + cores + " threads)").c_str() : "");
    fs::remove_all(a, ec);
    fs::remove_all(b, ec);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string manifest, tree, assets, work;
    std::vector<std::string> sources, generators;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string option = argv[i], value = argv[i + 1];
        if (option == "--manifest")
            manifest = value;
        else if (option == "--tree")
            tree = value;
        else if (option == "--assets")
            assets = value;
        else if (option == "--work")
            work = value;
        else if (option == "--sources")
            sources.push_back(value);
        else if (option == "--generator")
            generators.push_back(value);
        else {
            std::fprintf(stderr, "assetcheck: unknown option %s\n", option.c_str());
            return 2;
        }
    }
    if (manifest.empty() || (!tree.empty() && assets.empty()) ||
        (!generators.empty() && (assets.empty() || work.empty()))) {
        std::fprintf(stderr,
                     "usage: assetcheck --manifest FILE [--tree DIR --assets DIR] [--sources DIR]... "
                     "[--generator EXE --assets DIR --work DIR]...\n");
        return 2;
    }
    std::vector<RequiredName> required;
    std::string error;
    if (!readRequired(manifest, required, error)) {
        std::fprintf(stderr, "assetcheck: %s\n", error.c_str());
        return 1;
    }
    Report report;
    if (!tree.empty()) {
        SoundTables tables;
        if (!loadSoundTables(assets, tables, error)) {
            std::fprintf(stderr, "assetcheck: %s\n", error.c_str());
            return 1;
        }
        checkTree(tree, required, report);
        checkSounds(tree, required, tables, report);
        checkShop(tree, required, report);
    }
    if (!sources.empty()) {
        std::vector<std::string> sheets;
        for (const RequiredName& r : required)
            if (r.path.rfind("pvr/", 0) == 0 && r.path.size() > 10 &&
                r.path.compare(r.path.size() - 6, 6, ".plist") == 0)
                sheets.push_back(r.path.substr(4, r.path.size() - 10));
        scanSources(sources, required, sheets, report.errors);
    }
    for (const std::string& generator : generators)
        checkDeterminism(generator, assets, work, tree, report.errors);
    for (const std::string& note : report.notes)
        std::printf("assetcheck: note: %s\n", note.c_str());
    for (const std::string& e : report.errors)
        std::fprintf(stderr, "assetcheck: %s\n", e.c_str());
    if (!report.errors.empty()) {
        std::fprintf(stderr, "assetcheck: %zu faults\n", report.errors.size());
        return 1;
    }
    std::printf("assetcheck: %zu names checked, no fault\n", required.size());
    return 0;
}
