#pragma once
// DistanceField: one grid of step counts over the world, from every cell to
// the nearest cell of a target kind, flowing through empty cells and cells of
// the passable kinds. Computed a few sweeps per update into a back buffer;
// once it settles it is published (the buffers swap) and the next
// computation starts from scratch. Hunters read only the published buffer.
//
// The grid is fixed at the largest world; a smaller world uses its lower-left
// part. The two kind lists are installed once by the hunter that uses it.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class DistanceField {
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 160;
    static constexpr int32_t kFar = 999999;  // unreached or blocked
    static constexpr int kSweepsPerUpdate = 8;

    static DistanceField& instance();

    void setKinds(const std::vector<uint32_t>& passable, const std::vector<uint32_t>& targets);
    bool hasKinds() const { return initialised_; }
    // Advances the computation: resets and seeds when a cycle has ended, then
    // sweeps (at most 8 times, or to the end while the field has never
    // settled); a sweep that changes nothing publishes the result.
    void update();
    // The cell of the 3 x 3 block around (x, y), clamped to the world, whose
    // published value is strictly the lowest below the value at (x, y):
    // rows upward, columns left to right, the first wins ties. (-1, -1) when
    // none is lower.
    std::pair<int, int> findLowestNeighbour(int x, int y) const;
    int32_t publishedAt(int x, int y) const { return cells_[index(x, y) + front_]; }
    int32_t sweepsRun() const { return sweepsRun_; }

    // Back to the state at start-up (for tests: the field lives for a run).
    void reset();

private:
    DistanceField();
    static size_t index(int x, int y) { return (static_cast<size_t>(x) * kHeight + static_cast<size_t>(y)) * 2; }
    void restart();
    void classifyCells();
    bool sweep();

    // Kind tests without a list search per cell: a small open-addressed table
    // of the passable and target type ids.
    enum KindClass : uint8_t { kOther = 0, kPassable = 1, kTarget = 2 };
    static constexpr size_t kTableSize = 256;
    uint8_t classOf(uint32_t type) const;
    void addToTable(uint32_t type, KindClass cls);

    std::vector<int32_t> cells_;    // interleaved: (x * 160 + y) * 2 + buffer
    std::vector<uint8_t> blocked_;  // per cell this update: occupied by a non-passable kind
    int front_ = 1;
    int back_ = 0;
    int width_ = kWidth;
    int height_ = kHeight;
    bool dirty_ = false;
    bool keepGoing_ = true;
    bool initialised_ = false;
    int32_t sweepsRun_ = 0;
    uint32_t tableKeys_[kTableSize] = {};
    uint8_t tableClasses_[kTableSize] = {};
    bool tableUsed_[kTableSize] = {};
};
