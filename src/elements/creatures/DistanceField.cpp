#include "elements/creatures/DistanceField.h"

#include <algorithm>

#include "world/Particle.h"
#include "world/World.h"

DistanceField& DistanceField::instance()
{
    static DistanceField field;
    return field;
}

DistanceField::DistanceField()
    : cells_(static_cast<size_t>(kWidth) * kHeight * 2, 0), blocked_(static_cast<size_t>(kWidth) * kHeight, 0)
{
}

void DistanceField::reset()
{
    std::fill(cells_.begin(), cells_.end(), 0);
    front_ = 1;
    back_ = 0;
    width_ = kWidth;
    height_ = kHeight;
    dirty_ = false;
    keepGoing_ = true;
    initialised_ = false;
    sweepsRun_ = 0;
    std::fill(std::begin(tableUsed_), std::end(tableUsed_), false);
}

void DistanceField::addToTable(uint32_t type, KindClass cls)
{
    size_t i = (type * 2654435761u) >> 24;
    while (tableUsed_[i] && tableKeys_[i] != type)
        i = (i + 1) % kTableSize;
    tableUsed_[i] = true;
    tableKeys_[i] = type;
    tableClasses_[i] = static_cast<uint8_t>(tableClasses_[i] | cls);
}

uint8_t DistanceField::classOf(uint32_t type) const
{
    size_t i = (type * 2654435761u) >> 24;
    while (tableUsed_[i]) {
        if (tableKeys_[i] == type)
            return tableClasses_[i];
        i = (i + 1) % kTableSize;
    }
    return kOther;
}

void DistanceField::setKinds(const std::vector<uint32_t>& passable, const std::vector<uint32_t>& targets)
{
    std::fill(std::begin(tableUsed_), std::end(tableUsed_), false);
    std::fill(std::begin(tableClasses_), std::end(tableClasses_), uint8_t{0});
    // The lists are a few dozen kinds; the table stays well under half full.
    for (uint32_t t : passable)
        addToTable(t, kPassable);
    for (uint32_t t : targets)
        addToTable(t, kTarget);
    initialised_ = true;
}

void DistanceField::classifyCells()
{
    const World& w = *gWorld;
    for (int x = 0; x < width_; ++x)
        for (int y = 0; y < height_; ++y) {
            const Particle* p = w.grid[x][y];
            blocked_[static_cast<size_t>(x) * kHeight + y] = p && !(classOf(p->getType()) & kPassable);
        }
}

void DistanceField::restart()
{
    for (size_t i = static_cast<size_t>(back_); i < cells_.size(); i += 2)
        cells_[i] = kFar;
    const World& w = *gWorld;
    for (int x = 0; x < width_; ++x)
        for (int y = 0; y < height_; ++y) {
            const Particle* p = w.grid[x][y];
            if (p && (classOf(p->getType()) & kTarget))
                cells_[index(x, y) + back_] = 0;
        }
    dirty_ = false;
}

bool DistanceField::sweep()
{
    bool changed = false;
    const size_t b = static_cast<size_t>(back_);
    const size_t rowStep = kHeight * 2;  // one column to the side
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const size_t cell = static_cast<size_t>(x) * kHeight + y;
            if (blocked_[cell])
                continue;
            const size_t i = cell * 2 + b;
            int32_t m = kFar;
            if (x > 0)
                m = std::min(m, cells_[i - rowStep]);
            if (x < width_ - 1)
                m = std::min(m, cells_[i + rowStep]);
            if (y > 0)
                m = std::min(m, cells_[i - 2]);
            if (y < height_ - 1)
                m = std::min(m, cells_[i + 2]);
            if (cells_[i] - 2 >= m) {
                cells_[i] = m + 1;
                changed = true;
            }
        }
    ++sweepsRun_;
    return changed;
}

void DistanceField::update()
{
    const World& w = *gWorld;
    width_ = std::min(w.width, kWidth);
    height_ = std::min(w.height, kHeight);
    if (dirty_ || keepGoing_)
        restart();
    // Nothing moves during an update, so which cells block is read once.
    classifyCells();
    for (int sweeps = 0; keepGoing_ || sweeps < kSweepsPerUpdate; ++sweeps) {
        if (!sweep()) {
            dirty_ = true;
            keepGoing_ = false;
            std::swap(front_, back_);
            return;
        }
    }
}

std::pair<int, int> DistanceField::findLowestNeighbour(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return {-1, -1};
    int32_t best = publishedAt(x, y);
    std::pair<int, int> result{-1, -1};
    for (int yy = std::max(y - 1, 0); yy <= std::min(y + 1, height_ - 1); ++yy)
        for (int xx = std::max(x - 1, 0); xx <= std::min(x + 1, width_ - 1); ++xx) {
            const int32_t v = publishedAt(xx, yy);
            if (v < best) {
                best = v;
                result = {xx, yy};
            }
        }
    return result;
}
