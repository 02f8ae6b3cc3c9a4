#pragma once
// PathSearch: a breadth-first search over whole-body positions of a creature
// (width x height cells, position = its bottom-left cell). Each wave expands
// every walker of the previous one by the moves the body could make (walk,
// climb onto a ledge, step off and drop, fall) and the first wave in which a
// body touches a wanted cell gives the result: the moves from the start node
// to a goal node. The world is seen through kind lists (passable, no-ledge,
// goal) and an optional list of human jobs.
//
// Nodes come from an arena kept across searches; a node's key (position,
// kind, amount, direction) is hashed so each move is expanded once. The kinds
// are folded into one flags table per search.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct PathNode {
    enum Kind : int32_t { kStart = 0, kWalk = 1, kClimb = 2, kDrop = 3, kFall = 4, kGoal = 5 };
    int32_t x = 0;
    int32_t y = 0;
    int32_t kind = kStart;
    int32_t amount = 0;
    bool right = true;
    PathNode* parent = nullptr;
};

struct PathWalker {
    PathNode* node = nullptr;
    bool right = true;
    int32_t x = 0;
    int32_t y = 0;
};

class PathSearch {
public:
    static constexpr int kWaveBudget = 180;

    PathSearch(int bodyHeight, int bodyWidth);
    ~PathSearch();
    PathSearch(const PathSearch&) = delete;
    PathSearch& operator=(const PathSearch&) = delete;

    // A kind or job already listed is kept once.
    void addGoalKind(uint32_t type);
    void addPassableKind(uint32_t type);
    void addNoLedgeKind(uint32_t type);
    void removeGoalKind(uint32_t type);
    void removePassableKind(uint32_t type);
    void addGoalJob(const std::string& job);
    void removeGoalJob(const std::string& job);

    // Searches from the body position (x, y); read path and pathLength.
    void findPath(int x, int y);

    std::vector<uint32_t> passableKinds;
    std::vector<uint32_t> noLedgeKinds;
    std::vector<uint32_t> goalKinds;
    std::vector<uint32_t> goalJobs;
    // Start node first, goal node last; empty when nothing was found.
    std::vector<PathNode*> path;
    int32_t pathLength = 0;
    int32_t wavesLeft = 0;
    PathNode* root = nullptr;
    int32_t waveBudget = kWaveBudget;
    int32_t climbLimit = 10;
    int32_t dropLimit = 10;
    int32_t height;
    int32_t width;

    // What the last search did (for measurements).
    int64_t nodesMade = 0;
    int64_t walkersExpanded = 0;

private:
    enum Flag : uint8_t { kPassable = 1, kNoLedge = 2, kGoal = 4, kKnown = 8 };

    void reset();
    void buildFlagTable();
    uint8_t flagsOf(uint32_t type) const;
    // Cell classes, memoised for the current search.
    bool isFree(int c, int r);
    bool isLedge(int c, int r);
    bool isWanted(int c, int r);
    bool solidBelow(const PathWalker& w);

    PathNode* addNode(PathNode* parent, int x, int y, int kind, int amount, bool right);
    void expand(const PathWalker& w);
    void walk(const PathWalker& w, bool right);
    void climb(const PathWalker& w, bool right);
    // 0 handled (a drop), 1 level, 2 too deep.
    int sideStep(const PathWalker& w, bool right);
    void fall(const PathWalker& w);

    std::vector<PathWalker> current;
    std::vector<PathWalker> next;

    // Node arena: fixed-size chunks, reused from search to search.
    static constexpr size_t kChunk = 1024;
    std::vector<std::unique_ptr<PathNode[]>> chunks;
    size_t used = 0;
    // Open-addressed set of node pointers keyed by the node's fields.
    std::vector<PathNode*> table;
    size_t tableMask = 0;

    // Type id -> flags, open addressed, rebuilt at each search.
    static constexpr size_t kTypeSlots = 64;
    uint32_t typeKeys[kTypeSlots] = {};
    uint8_t typeFlags[kTypeSlots] = {};
    bool typeUsed[kTypeSlots] = {};

    // Per-cell memo of the current search: stamp == searchStamp means valid.
    std::vector<uint16_t> cellStamp;
    std::vector<uint8_t> cellClass;
    uint16_t searchStamp = 0;
    uint8_t classify(int c, int r);
    int worldW = 0;
    int worldH = 0;
};
