#include "elements/creatures/PathSearch.h"

#include <algorithm>

#include "elements/creatures/CreatureKinds.h"
#include "elements/creatures/MPObject.h"
#include "world/World.h"

namespace {

enum CellClass : uint8_t { kFreeCell = 1, kLedgeCell = 2, kWantedCell = 4 };

void addOnce(std::vector<uint32_t>& list, uint32_t value)
{
    if (std::find(list.begin(), list.end(), value) == list.end())
        list.push_back(value);
}

void removeAll(std::vector<uint32_t>& list, uint32_t value)
{
    list.erase(std::remove(list.begin(), list.end(), value), list.end());
}

size_t nodeHash(int x, int y, int kind, int amount, bool right)
{
    uint64_t h = static_cast<uint32_t>(x) * 0x9E3779B1u;
    h ^= (static_cast<uint64_t>(static_cast<uint32_t>(y)) << 16) * 0x85EBCA77u;
    h ^= static_cast<uint64_t>(static_cast<uint32_t>(kind * 64 + amount + 32) * 2u + (right ? 1u : 0u)) * 0xC2B2AE3Du;
    h ^= h >> 29;
    return static_cast<size_t>(h);
}

// Node chunks of searches gone, for the next search that needs one more:
// creatures come and go, and a search that reaches further than the ones
// before takes a chunk mid-step.
constexpr size_t kMostSpareChunks = 32;
std::vector<std::unique_ptr<PathNode[]>>& spareChunks()
{
    static std::vector<std::unique_ptr<PathNode[]>> chunks = [] {
        std::vector<std::unique_ptr<PathNode[]>> list;
        list.reserve(kMostSpareChunks);
        return list;
    }();
    return chunks;
}
// Walkers of a wave most searches stay within.
constexpr size_t kWalkerRoom = 256;

}  // namespace

PathSearch::PathSearch(int bodyHeight, int bodyWidth) : height(bodyHeight), width(bodyWidth)
{
    cellStamp.assign(static_cast<size_t>(World::kMaxWidth) * World::kMaxHeight, 0);
    cellClass.assign(cellStamp.size(), 0);
    table.assign(4096, nullptr);
    tableMask = table.size() - 1;
    current.reserve(kWalkerRoom);
    next.reserve(kWalkerRoom);
    path.reserve(kWalkerRoom);
    chunks.reserve(kMostSpareChunks);
}

PathSearch::~PathSearch()
{
    std::vector<std::unique_ptr<PathNode[]>>& spares = spareChunks();
    for (std::unique_ptr<PathNode[]>& chunk : chunks)
        if (spares.size() < kMostSpareChunks)
            spares.push_back(std::move(chunk));
}

void PathSearch::addGoalKind(uint32_t type)
{
    addOnce(goalKinds, type);
}
void PathSearch::addPassableKind(uint32_t type)
{
    addOnce(passableKinds, type);
}
void PathSearch::addNoLedgeKind(uint32_t type)
{
    addOnce(noLedgeKinds, type);
}
void PathSearch::removeGoalKind(uint32_t type)
{
    removeAll(goalKinds, type);
}
void PathSearch::removePassableKind(uint32_t type)
{
    removeAll(passableKinds, type);
}
void PathSearch::addGoalJob(const std::string& job)
{
    addOnce(goalJobs, hashString(job));
}
void PathSearch::removeGoalJob(const std::string& job)
{
    removeAll(goalJobs, hashString(job));
}

void PathSearch::buildFlagTable()
{
    std::fill(std::begin(typeUsed), std::end(typeUsed), false);
    std::fill(std::begin(typeFlags), std::end(typeFlags), uint8_t{0});
    // The lists creatures fill hold a dozen or two kinds; the table has room
    // for several times that.
    auto mark = [this](uint32_t type, uint8_t flag) {
        size_t i = (type * 2654435761u) & (kTypeSlots - 1);
        while (typeUsed[i] && typeKeys[i] != type)
            i = (i + 1) & (kTypeSlots - 1);
        typeUsed[i] = true;
        typeKeys[i] = type;
        typeFlags[i] = static_cast<uint8_t>(typeFlags[i] | flag);
    };
    for (uint32_t t : passableKinds)
        mark(t, kPassable);
    for (uint32_t t : noLedgeKinds)
        mark(t, kNoLedge);
    for (uint32_t t : goalKinds)
        mark(t, kGoal);
}

uint8_t PathSearch::flagsOf(uint32_t type) const
{
    size_t i = (type * 2654435761u) & (kTypeSlots - 1);
    while (typeUsed[i]) {
        if (typeKeys[i] == type)
            return typeFlags[i];
        i = (i + 1) & (kTypeSlots - 1);
    }
    return 0;
}

uint8_t PathSearch::classify(int c, int r)
{
    const size_t index = static_cast<size_t>(c) * World::kMaxHeight + static_cast<size_t>(r);
    if (cellStamp[index] == searchStamp)
        return cellClass[index];
    const World& w = *gWorld;
    const Particle* p = w.grid[c][r];
    uint8_t result = 0;
    if (!p) {
        result = kFreeCell;
    } else {
        // The world keeps each cell's kind beside it: no call into the particle.
        const uint32_t type = w.kindAt(c, r);
        const uint8_t flags = flagsOf(type);
        if (flags & kPassable)
            result |= kFreeCell;
        if (!(flags & kNoLedge) && c > 0 && c < worldW - 1 && r > 0 && r < worldH - 1)
            result |= kLedgeCell;
        // Wanted cells lie inside the border ring of the world in use.
        if ((flags & kGoal) && c > 0 && c < worldW - 1 && r > 0 && r < worldH - 1) {
            bool wanted = true;
            if (type == CreatureKind::HumanLeader || type == CreatureKind::HumanPart) {
                if (type == CreatureKind::HumanPart) {
                    const MPObject* group = p->getGroup();
                    wanted = group && group->leader;
                }
                if (wanted && !goalJobs.empty())
                    wanted = std::find(goalJobs.begin(), goalJobs.end(), hashString(humanJobOf(p))) != goalJobs.end();
            }
            if (wanted)
                result |= kWantedCell;
        }
    }
    cellStamp[index] = searchStamp;
    cellClass[index] = result;
    return result;
}

bool PathSearch::isFree(int c, int r)
{
    if (c < 0 || r < 0 || c >= worldW || r >= worldH)
        return false;
    return classify(c, r) & kFreeCell;
}

bool PathSearch::isLedge(int c, int r)
{
    if (c < 0 || r < 0 || c >= worldW || r >= worldH)
        return false;
    return classify(c, r) & kLedgeCell;
}

bool PathSearch::isWanted(int c, int r)
{
    if (c < 0 || r < 0 || c >= worldW || r >= worldH)
        return false;
    return classify(c, r) & kWantedCell;
}

bool PathSearch::solidBelow(const PathWalker& w)
{
    const int r = w.y - 1;
    for (int c = w.x; c < w.x + width; ++c) {
        if (c < 0 || r < 0 || c >= worldW || r >= worldH)
            return true;
        if (gWorld->occupiedAt(c, r) && !(classify(c, r) & kFreeCell))
            return true;
    }
    return false;
}

void PathSearch::reset()
{
    used = 0;
    std::fill(table.begin(), table.end(), nullptr);
    path.clear();
    pathLength = 0;
    current.clear();
    next.clear();
    root = nullptr;
    if (++searchStamp == 0) {
        std::fill(cellStamp.begin(), cellStamp.end(), uint16_t{0});
        searchStamp = 1;
    }
}

PathNode* PathSearch::addNode(PathNode* parent, int x, int y, int kind, int amount, bool right)
{
    size_t i = nodeHash(x, y, kind, amount, right) & tableMask;
    while (PathNode* n = table[i]) {
        if (n->x == x && n->y == y && n->kind == kind && n->amount == amount && n->right == right)
            return nullptr;
        i = (i + 1) & tableMask;
    }
    if (used == chunks.size() * kChunk) {
        std::vector<std::unique_ptr<PathNode[]>>& spares = spareChunks();
        if (spares.empty()) {
            chunks.push_back(std::make_unique<PathNode[]>(kChunk));
        } else {
            chunks.push_back(std::move(spares.back()));
            spares.pop_back();
        }
    }
    PathNode* node = &chunks[used / kChunk][used % kChunk];
    ++used;
    *node = PathNode{x, y, kind, amount, right, parent};
    table[i] = node;
    ++nodesMade;
    if (used * 2 > table.size()) {
        // Grow the set; kept for the next searches.
        std::vector<PathNode*> old;
        old.swap(table);
        table.assign(old.size() * 2, nullptr);
        tableMask = table.size() - 1;
        for (PathNode* n : old) {
            if (!n)
                continue;
            size_t k = nodeHash(n->x, n->y, n->kind, n->amount, n->right) & tableMask;
            while (table[k])
                k = (k + 1) & tableMask;
            table[k] = n;
        }
    }
    if (kind == PathNode::kGoal) {
        path.clear();
        for (PathNode* n = node; n; n = n->parent)
            path.push_back(n);
        std::reverse(path.begin(), path.end());
        pathLength = static_cast<int32_t>(path.size());
    }
    return node;
}

void PathSearch::findPath(int x, int y)
{
    reset();
    nodesMade = 0;
    walkersExpanded = 0;
    if (!gWorld)
        return;
    worldW = gWorld->width;
    worldH = gWorld->height;
    buildFlagTable();
    wavesLeft = waveBudget;
    root = addNode(nullptr, x, y, PathNode::kStart, 0, true);
    next.push_back({root, true, x, y});
    if (solidBelow(next.back()))
        next.push_back({root, false, x, y});
    while (path.empty() && wavesLeft > 0 && !next.empty()) {
        current.swap(next);
        --wavesLeft;
        for (size_t i = 0; i < current.size(); ++i)
            expand(current[i]);
        walkersExpanded += static_cast<int64_t>(current.size());
        current.clear();
    }
}

void PathSearch::expand(const PathWalker& w)
{
    const int L = w.x - 1;
    const int R = w.x + width;
    const int B = w.y - 1;
    const int T = w.y + height;
    for (int r = B; r <= T; ++r) {
        if (isWanted(L, r)) {
            addNode(w.node, L, r, PathNode::kGoal, 0, false);
            return;
        }
        if (isWanted(R, r)) {
            addNode(w.node, R, r, PathNode::kGoal, 0, true);
            return;
        }
    }
    for (int c = L; c <= R; ++c) {
        if (isWanted(c, T)) {
            addNode(w.node, c, T, PathNode::kGoal, 0, true);
            return;
        }
        if (isWanted(c, B)) {
            addNode(w.node, c, B, PathNode::kGoal, 0, true);
            return;
        }
    }
    if (!solidBelow(w)) {
        fall(w);
        return;
    }
    const PathNode* n = w.node;
    if (n->kind == PathNode::kDrop) {
        climb(w, n->right);
        walk(w, !w.right);
    } else {
        climb(w, true);
        climb(w, false);
    }
    if (n->kind != PathNode::kClimb)
        sideStep(w, !w.right);
    if (sideStep(w, w.right) == 1)
        walk(w, w.right);
}

void PathSearch::walk(const PathWalker& w, bool right)
{
    if (!solidBelow(w))
        return;
    const int c = right ? w.x + width : w.x - 1;
    for (int r = w.y; r < w.y + height; ++r)
        if (!isFree(c, r))
            return;
    if (PathNode* node = addNode(w.node, w.x, w.y, PathNode::kWalk, right ? 1 : -1, right))
        next.push_back({node, right, right ? w.x + 1 : w.x - 1, w.y});
}

void PathSearch::climb(const PathWalker& w, bool right)
{
    int ceiling = w.y + climbLimit + 1;
    for (int r = w.y + climbLimit + 1; r >= w.y; --r)
        for (int c = w.x; c < w.x + width; ++c)
            if (!isFree(c, r)) {
                ceiling = r - 2;
                break;
            }
    const int c = right ? w.x + width : w.x - 1;
    for (int r = w.y; r <= ceiling; ++r) {
        if (!isLedge(c, r) || r + height > ceiling + 1)
            continue;
        bool room = true;
        for (int k = r + 1; k <= r + height && room; ++k)
            room = isFree(c, k);
        if (!room)
            continue;
        if (PathNode* node = addNode(w.node, w.x, w.y, PathNode::kClimb, r - w.y + 1, right))
            next.push_back({node, right, right ? w.x + 1 : w.x + 1 - width, r + 1});
    }
}

int PathSearch::sideStep(const PathWalker& w, bool right)
{
    const int c0 = right ? w.x + 1 : w.x - width;
    const int c1 = right ? w.x + width : w.x - 1;
    for (int r = w.y + height - 1; r > w.y - dropLimit; --r) {
        bool rowFree = true;
        for (int c = c0; c <= c1 && rowFree; ++c)
            rowFree = isFree(c, r);
        if (rowFree)
            continue;
        if (r < w.y - 1) {
            const int amount = (w.y - 1) - r;
            if (PathNode* node = addNode(w.node, w.x, w.y, PathNode::kDrop, amount, right))
                next.push_back({node, right, right ? w.x + 1 : w.x - width, w.y - amount});
            return 0;
        }
        return 1;
    }
    return 2;
}

void PathSearch::fall(const PathWalker& w)
{
    for (int r = w.y + height - 1; r > w.y - dropLimit; --r)
        for (int c = w.x; c < w.x + width; ++c) {
            if (isFree(c, r))
                continue;
            const int a = (w.y - 1) - r;
            if (PathNode* node = addNode(w.node, w.x, w.y, PathNode::kFall, a, true))
                next.push_back({node, w.right, w.x, w.y - a});
            if (PathNode* node = addNode(w.node, w.x, w.y, PathNode::kFall, a, false))
                next.push_back({node, !w.right, w.x, w.y - a});
            return;
        }
}
