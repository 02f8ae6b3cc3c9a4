#pragma once
// Recursive shadowcasting over eight octants: which cells around a source are
// visible within a radius. Knows nothing of the world; the caller supplies the
// opacity test and what to do with each visible cell through FovSettings.
#include <cstdint>
#include <vector>

struct FovSettings {
    enum Shape { kPrecalculatedCircle = 0, kSquare = 1, kCircle = 2, kOctagon = 3 };
    using OpacityTest = int (*)(void* map, int x, int y);
    using ApplyCell = void (*)(void* map, int x, int y, int dx, int dy, void* source);

    OpacityTest opacityTest = nullptr;
    ApplyCell apply = nullptr;
    int shape = kPrecalculatedCircle;
    bool applyToBlockingCells = false;
    // Precalculated-circle heights, slot r - 1 for radius r, made on demand
    // and kept for the life of the settings, across worlds: r + 2 values for
    // each radius up to the largest asked for (the lights' radii, 10 at most).
    std::vector<std::vector<int32_t>> heightTables;
};

struct FovSource {
    FovSettings* settings = nullptr;
    void* map = nullptr;
    void* source = nullptr;
    int32_t x = 0;
    int32_t y = 0;
    uint32_t radius = 0;
};

class FieldOfView {
public:
    // The eight octant scans, each from distance 1 with slopes 0 to 1.
    static void compute(const FovSource& src);
    // One octant (1..8) from distance i between the two slopes.
    static void scanOctant(const FovSource& src, int octant, uint32_t i, float startSlope, float endSlope);
    // Height of the precalculated circle of radius r at distance i.
    static int heightFor(FovSettings& settings, uint32_t radius, int i);
    // r + 2 entries: trunc(sqrtf(r^2 - k^2)) for k = 0..r, then 0.
    static std::vector<int32_t> makeHeightTable(uint32_t radius);
};
