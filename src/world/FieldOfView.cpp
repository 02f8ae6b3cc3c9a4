#include "world/FieldOfView.h"

#include <cfloat>
#include <cmath>

namespace {

struct Cell {
    int x;
    int y;
};

Cell octantCell(const FovSource& src, int octant, int i, int j)
{
    const int x = src.x;
    const int y = src.y;
    switch (octant) {
    case 1: return {x + i, y + j};
    case 2: return {x + j, y + i};
    case 3: return {x + i, y - j};
    case 4: return {x - j, y + i};
    case 5: return {x - i, y + j};
    case 6: return {x + j, y - i};
    case 7: return {x - i, y - j};
    default: return {x - j, y - i};
    }
}

// Scans 3, 4, 7 and 8 share their axis cells with 1, 2, 5 and 6: they test
// them for blocking but leave applying them to the other scan.
bool appliesAxis(int octant)
{
    return octant == 1 || octant == 2 || octant == 5 || octant == 6;
}

float slope(float num, float den)
{
    if (den > -FLT_EPSILON && den < FLT_EPSILON)
        return 0.0f;
    return num / den;
}

int shapeHeight(const FovSource& src, uint32_t i)
{
    FovSettings& s = *src.settings;
    const uint32_t r = src.radius;
    switch (s.shape) {
    case FovSettings::kSquare: return static_cast<int>(r);
    case FovSettings::kCircle: return static_cast<int>(std::sqrt(static_cast<float>(r * r - i * i)));
    case FovSettings::kOctagon: return 2 * (static_cast<int>(r) - static_cast<int>(i));
    default: return FieldOfView::heightFor(s, r, static_cast<int>(i));
    }
}

}  // namespace

void FieldOfView::compute(const FovSource& src)
{
    if (!src.settings || !src.settings->opacityTest || !src.settings->apply)
        return;
    for (int octant = 1; octant <= 8; ++octant)
        scanOctant(src, octant, 1, 0.0f, 1.0f);
}

void FieldOfView::scanOctant(const FovSource& src, int octant, uint32_t i, float startSlope, float endSlope)
{
    const FovSettings& s = *src.settings;
    enum class Prev { Undecided, Blocked, Open };
    if (i == 0)
        i = 1;
    for (;; ++i) {
        if (i > src.radius)
            return;
        const float fi = static_cast<float>(i);
        const int j0 = static_cast<int>(fi * startSlope + 0.5f);
        int j1 = static_cast<int>(fi * endSlope + 0.5f);
        const int h = shapeHeight(src, i);
        if (j1 > h) {
            if (h == 0)
                return;
            j1 = h;
        }
        if (j0 > j1)
            return;

        Prev prev = Prev::Undecided;
        for (int j = j0; j <= j1; ++j) {
            const Cell c = octantCell(src, octant, static_cast<int>(i), j);
            const bool applies = j > 0 || appliesAxis(octant);
            const int dx = c.x - src.x;
            const int dy = c.y - src.y;
            if (s.opacityTest(src.map, c.x, c.y)) {
                if (s.applyToBlockingCells && applies)
                    s.apply(src.map, c.x, c.y, dx, dy, src.source);
                if (prev == Prev::Open)
                    scanOctant(src, octant, i + 1, startSlope, slope(static_cast<float>(j) - 0.5f, fi + 0.5f));
                prev = Prev::Blocked;
            } else {
                if (applies)
                    s.apply(src.map, c.x, c.y, dx, dy, src.source);
                if (prev == Prev::Blocked)
                    startSlope = slope(static_cast<float>(j) - 0.5f, fi - 0.5f);
                prev = Prev::Open;
            }
        }
        if (prev == Prev::Blocked)
            return;
    }
}

int FieldOfView::heightFor(FovSettings& settings, uint32_t radius, int i)
{
    if (radius == 0)
        return 0;
    if (radius > settings.heightTables.size())
        settings.heightTables.resize(radius);
    std::vector<int32_t>& table = settings.heightTables[radius - 1];
    if (table.empty())
        table = makeHeightTable(radius);
    const size_t k = static_cast<size_t>(i < 0 ? -i : i);
    return k < table.size() ? table[k] : 0;
}

std::vector<int32_t> FieldOfView::makeHeightTable(uint32_t radius)
{
    std::vector<int32_t> table(radius + 2, 0);
    const float r2 = static_cast<float>(radius) * static_cast<float>(radius);
    for (uint32_t k = 0; k <= radius; ++k) {
        const float fk = static_cast<float>(k);
        table[k] = static_cast<int32_t>(std::sqrt(r2 - fk * fk));
    }
    return table;
}
