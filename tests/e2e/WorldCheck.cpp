// Reads the world a scripted run saved at its exit, with the game's own
// loader (headless, into the game layer's world as the saved-worlds window does), and checks that the Sand painted high
// up fell: some Sand, none at or above the painted rows, and most of it resting (nothing but filled cells below it down
// to the floor).
//   e2e_world_check <world.sav> <lowest painted row>
// Or checks the name and description the loaded world carries:
//   e2e_world_check --texts <world.sav> <name> <description>
// Or checks that each given cell holds the given element:
//   e2e_world_check --cells <world.sav> <x> <y> <element> [<x> <y> <element>...]
// Prints what it found; exits 0 when the world passes, 1 when not, 2 on bad use.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/NSData.h"
#include "base/ScreenMetrics.h"
#include "cocos2d.h"
#include "world/ColorTables.h"
#include "screens/GameWiring.h"
#include "scene/GameLayer.h"
#include "world/Particle.h"
#include "world/ParticleCreator.h"
#include "world/World.h"

USING_NS_CC;

namespace {

struct SandCount {
    int total = 0;
    int resting = 0;
    int highest = -1;
};

SandCount countSand(const World& world)
{
    constexpr uint32_t kSand = hashString("Sand");
    SandCount count;
    for (int x = 0; x < world.width; ++x) {
        // Walking up the column: a cell rests when every cell below it is filled.
        bool filledBelow = true;
        for (int y = 0; y < world.height; ++y) {
            const Particle* p = world.grid[x][y];
            if (p && p != world.outsideWall && p->getType() == kSand) {
                ++count.total;
                count.resting += filledBelow ? 1 : 0;
                count.highest = y > count.highest ? y : count.highest;
            }
            filledBelow = filledBelow && p != nullptr;
        }
    }
    return count;
}

struct CellWanted {
    long x = -1;
    long y = -1;
    std::string element;
};

// The triples after --cells; empty when one is malformed.
std::vector<CellWanted> cellsWanted(int count, char** args)
{
    std::vector<CellWanted> cells;
    for (int i = 0; count > 0 && count % 3 == 0 && i < count; i += 3) {
        char* endX = nullptr;
        char* endY = nullptr;
        CellWanted cell{std::strtol(args[i], &endX, 10), std::strtol(args[i + 1], &endY, 10), args[i + 2]};
        if (*endX != '\0' || *endY != '\0' || cell.x < 0 || cell.y < 0 || cell.element.empty())
            return {};
        cells.push_back(cell);
    }
    return cells;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: e2e_world_check <world.sav> <lowest painted row>\n"
                 "       e2e_world_check --texts <world.sav> <name> <description>\n"
                 "       e2e_world_check --cells <world.sav> <x> <y> <element> [<x> <y> <element>...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool cellMode = argc >= 3 && std::string(argv[1]) == "--cells";
    const std::vector<CellWanted> cells = cellMode ? cellsWanted(argc - 3, argv + 3) : std::vector<CellWanted>{};
    if (cellMode && cells.empty())
        return usage();
    if (cellMode) {
        ++argv;
        argc = 3;
    }
    const bool texts = argc == 5 && std::string(argv[1]) == "--texts";
    if (texts) {
        ++argv;
        argc = 3;
    }
    char* end = nullptr;
    const long paintedRow = texts || cellMode ? 1 : argc == 3 ? std::strtol(argv[2], &end, 10) : 0;
    if (argc != 3 || (!texts && !cellMode && *end != '\0') || paintedRow <= 0)
        return usage();
    CCEGLView::setRunMode(kCCRunModeHeadless);
    CCEGLView::sharedOpenGLView()->setFrameSize(800, 600);
    computeScreenMetrics(CCDirector::sharedDirector()->getWinSizeInPixels());
    registerAllElements();
    initColorsAndShadows();
    // Loading resets the universe's texts, background and stores through the
    // game's services, so the world is loaded where the game loads it.
    installGameHost();

    NSData* data = NSData::dataWithContentsOfFile(argv[1]);
    if (!data || data->length == 0) {
        std::fprintf(stderr, "world check: %s is missing or empty\n", argv[1]);
        return 1;
    }
    World* world = &GameLayer::getInstance()->getWorld();
    if (!world->load(data)) {
        std::fprintf(stderr, "world check: the game's loader refused %s\n", argv[1]);
        return 1;
    }
    if (texts) {
        auto text = [](CCString* s) { return s ? s->getString() : std::string("<none>"); };
        const std::string name = text(GameLayer::getInstance()->getUniverseName());
        const std::string description = text(GameLayer::getInstance()->getUniverseDescription());
        std::printf("world check: named \"%s\", described \"%s\"\n", name.c_str(), description.c_str());
        return name == argv[2] && description == argv[3] ? 0 : 1;
    }
    if (cellMode) {
        bool ok = true;
        for (const CellWanted& cell : cells) {
            const Particle* p = cell.x < world->width && cell.y < world->height ? world->grid[cell.x][cell.y] : nullptr;
            const std::string held = !p   ? "nothing"
                : p == world->outsideWall ? "the border"
                                          : ParticleCreator::getName(p->getType());
            std::printf("world check: cell (%ld, %ld) holds %s\n", cell.x, cell.y, held.c_str());
            if (held != cell.element) {
                std::fprintf(stderr, "world check: cell (%ld, %ld) holds %s, not %s\n", cell.x, cell.y, held.c_str(),
                             cell.element.c_str());
                ok = false;
            }
        }
        return ok ? 0 : 1;
    }
    const SandCount sand = countSand(*world);
    std::printf("world check: %d x %d world, %d Sand cells, %d resting, highest row %d (painted from row %ld)\n",
                world->width, world->height, sand.total, sand.resting, sand.highest, paintedRow);
    bool ok = true;
    if (sand.total == 0) {
        std::fprintf(stderr, "world check: no Sand in the world\n");
        ok = false;
    }
    if (sand.highest >= paintedRow) {
        std::fprintf(stderr, "world check: Sand at row %d did not fall below the painted rows\n", sand.highest);
        ok = false;
    }
    if (sand.resting * 4 < sand.total * 3) {
        std::fprintf(stderr, "world check: only %d of %d Sand cells rest on the floor\n", sand.resting, sand.total);
        ok = false;
    }
    return ok ? 0 : 1;
}
