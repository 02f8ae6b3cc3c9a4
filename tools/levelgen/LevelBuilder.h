#pragma once
// Builds a level script's world with the game's own World: a small world,
// the script's seed in the game's random function, a game clock that starts
// at a fixed moment and moves a second every 30 steps, and a world host of
// its own that answers the header the script asks for. The world is written
// with World::save, so it always matches the running code's blob format.
//
// One builder at a time: it installs itself as the world's host and fills
// the game services the blob reads; the destructor puts the plain ones back.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "LevelScript.h"
#include "goals/MissionPattern.h"

class World;

namespace levelgen {

struct Cell {
    int32_t x = 0;
    int32_t y = 0;
    bool operator<(const Cell& o) const { return x != o.x ? x < o.x : y < o.y; }
    bool operator==(const Cell&) const = default;
};

// A cell of a guide picture: its element's colour, faintly, or (type 0) the
// mark of a cell to leave empty.
struct GuideCell {
    Cell cell;
    uint32_t type = 0;
};

struct BuiltLevel {
    std::vector<uint8_t> prepared;
    std::vector<Cell> marks;        // sorted, each once
    std::vector<GuideCell> guides;  // in command order
    std::string backgroundFile;     // the picture the header names ("peaceful.png", "day7.png", "pix01.png")
};

// The cells beside both ends of each row of a table's cells, each once:
// what marks a row (or a cell) that is full when the level opens.
std::vector<Cell> rowEnds(MissionPattern table);

// How many creatures of a family a world may hold: loading keeps no more
// than a player may place.
struct CreatureLimit {
    const char* what;
    std::vector<uint32_t> leaders;
    size_t limit;
};
const std::vector<CreatureLimit>& creatureLimits();

// The header a world blob carries, as the builder's host saw it at load.
struct LoadedHeader {
    std::string name;
    std::string description;
    std::string background;
    bool backgroundShown = false;
    int32_t ambient = 3;
    std::map<std::string, int32_t> resources;
};

class LevelBuilder {
public:
    LevelBuilder();
    ~LevelBuilder();
    LevelBuilder(const LevelBuilder&) = delete;
    LevelBuilder& operator=(const LevelBuilder&) = delete;

    // Whether the factory makes an element of this name.
    static bool knownElement(std::string_view name);

    // False with a message naming the script's line on a fault.
    bool build(const levelscript::Level& level, BuiltLevel& out, std::string& error);

    // Loads a blob into a fresh small world (false when the world refuses
    // it); the world stays for the checks until the next call.
    bool load(const std::vector<uint8_t>& blob);
    World& world();
    const LoadedHeader& loadedHeader() const;
    // The loaded world saved again.
    std::vector<uint8_t> saveAgain();

    struct Host;

private:
    void freshWorld();
    bool apply(const levelscript::Command& c, const levelscript::Level& level, std::vector<Cell>& marks,
               std::vector<GuideCell>& guides, std::string& error);
    bool applyAll(const std::vector<levelscript::Command>& commands, const levelscript::Level& level,
                  std::vector<Cell>& marks, std::vector<GuideCell>& guides, std::string& error);
    void stepWorld();
    void put(int x, int y, uint32_t type);
    bool placeCreature(const levelscript::Command& c, const std::string& where, std::string& error);
    // The first creature whose body is not whole, described; empty when all are.
    std::string unbuiltCreature() const;
    // The first family over its limit, described; empty when none is.
    std::string overLimit() const;
    void clear(int x, int y);
    std::vector<uint8_t> save();

    std::unique_ptr<Host> host_;
    int64_t stepsRun_ = 0;
    std::unique_ptr<World> world_;
};

}  // namespace levelgen
