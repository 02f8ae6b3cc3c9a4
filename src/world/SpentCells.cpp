#include "world/SpentCells.h"

#include <algorithm>
#include <cstring>

void SpentCells::begin(int width, int height, uint32_t heatStamp)
{
    if (tracking_ && width == width_ && height == height_ && heatStamp == heatStamp_)
        return;
    tracking_ = true;
    width_ = std::clamp(width, 0, kMaxWidth);
    height_ = std::clamp(height, 0, kMaxHeight);
    heatStamp_ = heatStamp;
    std::memset(bits_, 0, sizeof bits_);
    // Cells beyond the world's edge are never walked: they count as spent.
    for (int ty = 0; ty < kTilesDown; ++ty)
        for (int tx = 0; tx < kTilesAcross; ++tx) {
            const int across = std::clamp(width_ - tx * kTile, 0, kTile);
            const int down = std::clamp(height_ - ty * kTile, 0, kTile);
            live_[ty * kTilesAcross + tx] = static_cast<uint8_t>(across * down);
        }
    liveTiles_ = 0;
    for (uint8_t live : live_)
        liveTiles_ += live > 0 ? 1 : 0;
}

void SpentCells::markSpent(int cx, int cy)
{
    if (!tracking_ || cx < 0 || cy < 0 || cx >= width_ || cy >= height_)
        return;
    const int i = index(cx, cy);
    const uint64_t bit = uint64_t{1} << (i % 64);
    if (bits_[i / 64] & bit)
        return;
    bits_[i / 64] |= bit;
    if (--live_[(cy / kTile) * kTilesAcross + cx / kTile] == 0)
        --liveTiles_;
}

void SpentCells::forget(int cx, int cy)
{
    const int i = index(cx, cy);
    const uint64_t bit = uint64_t{1} << (i % 64);
    if (!(bits_[i / 64] & bit))
        return;
    bits_[i / 64] &= ~bit;
    if (live_[(cy / kTile) * kTilesAcross + cx / kTile]++ == 0)
        ++liveTiles_;
}

int SpentCells::listLiveTiles(int16_t* across, int16_t* down, int room) const
{
    int found = 0;
    for (int t = 0; t < kTilesAcross * kTilesDown; ++t)
        if (live_[t] > 0) {
            if (found < room) {
                across[found] = static_cast<int16_t>(t % kTilesAcross);
                down[found] = static_cast<int16_t>(t / kTilesAcross);
            }
            ++found;
        }
    return found;
}
