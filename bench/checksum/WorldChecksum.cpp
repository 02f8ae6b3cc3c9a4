// world_checksum: builds each of world_bench's scenes once, steps it, and
// prints a fingerprint of the world it leaves (every cell's particle and
// what it saves, temperature and light, where the random sequence stands).
// Two builds that print the same lines made the same worlds.
//
//   world_checksum [--steps N] [scene ...]
//
// N is 2000 by default; with no scene named, every scene in world_bench's
// order, each in a world of its own.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "profile/Profile.h"
#include "screens/GameWiring.h"
#include "scene/GameLayer.h"
#include "scenes/WorldScenes.h"
#include "support/BenchSupport.h"
#include "world/ColorTables.h"
#include "world/ParticleCreator.h"

namespace {

int usage()
{
    std::fprintf(stderr, "usage: world_checksum [--steps N] [scene ...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    int steps = 2000;
    std::vector<const scenes::Scene*> chosen;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--steps") == 0 && i + 1 < argc) {
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*end || value < 0 || value > 10'000'000)
                return usage();
            steps = static_cast<int>(value);
        } else if (const scenes::Scene* scene = scenes::findScene(argv[i])) {
            chosen.push_back(scene);
        } else {
            std::fprintf(stderr, "world_checksum: no scene named %s\n", argv[i]);
            return usage();
        }
    }
    if (chosen.empty())
        for (const scenes::Scene& scene : scenes::allScenes())
            chosen.push_back(&scene);

    benchsupport::quietGameLog("world_checksum");
    char pattern[] = "/tmp/tesmora-checksum-XXXXXX";
    const char* home = mkdtemp(pattern);
    if (home) {
        setenv("HOME", home, 1);
        setenv("XDG_DATA_HOME", (std::string(home) + "/data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (std::string(home) + "/config").c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", (std::string(home) + "/docs").c_str(), 1);
    }
    ParticleCreator::resetElementsCreated();
    initColorsAndShadows();
    installGameHost();
    GameLayer::getInstance();
    Profile::getInstance();

    for (const scenes::Scene* scene : chosen) {
        scenes::BenchWorld b;
        scene->build(b);
        for (int i = 0; i < steps; ++i)
            scene->step(b);
        std::printf("%-12s %08x  particles %d after %d steps\n", scene->name, scenes::worldChecksum(*b.world),
                    b.world->particleCount(), steps);
        std::fflush(stdout);
    }
    benchsupport::reportGameLog();
    if (home) {
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
    }
    return 0;
}
