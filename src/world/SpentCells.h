#pragma once
// SpentCells: the cells of the world that a blast ray can no longer change.
// A ray crossing such a cell leaves everything as it was: the cell's heat is
// at the top of the scale, and it holds a kind that rays pass through or one
// already queued to become an Explosion. Once every cell left on a ray's path
// is spent the ray need not walk on, which is what keeps a field of charges
// going off together from costing charges x rays x cells.
//
// The blast marks the cells it finds spent; any change to a cell (its
// occupant, a queued change) makes it live again, and a bulk change of the
// world (queued changes applied, a new or loaded world, the heat map stepped)
// forgets them all, and heat lowered at a cell makes its cells live. Cells are counted live per tile of
// 8 x 8, so a ray tells the spent tiles on its path without visiting their
// cells. Fixed size, no heap: 4,800 bytes of marks and 600 counts.
#include <cstdint>

class SpentCells {
public:
    static constexpr int kTile = 8;
    static constexpr int kMaxWidth = 240;
    static constexpr int kMaxHeight = 160;
    static constexpr int kTilesAcross = kMaxWidth / kTile;
    static constexpr int kTilesDown = kMaxHeight / kTile;

    // Nothing is known spent any more.
    void forgetAll() { tracking_ = false; }
    // Starts over (every cell live) unless the marks are kept for a world of
    // this size whose heat map has had no bulk change since (heatStamp).
    void begin(int width, int height, uint32_t heatStamp);
    // The cell changed: live again. Cells outside the storage are ignored.
    void forgetCell(int cx, int cy)
    {
        if (tracking_ && inStorage(cx, cy))
            forget(cx, cy);
    }
    // The 2 x 2 block from (cx, cy): one cell of the heat map.
    void forgetBlock(int cx, int cy)
    {
        if (tracking_)
            for (int dx = 0; dx < 2; ++dx)
                for (int dy = 0; dy < 2; ++dy)
                    if (inStorage(cx + dx, cy + dy))
                        forget(cx + dx, cy + dy);
    }
    void markSpent(int cx, int cy);
    bool isSpent(int cx, int cy) const
    {
        return tracking_ && inStorage(cx, cy) && ((bits_[index(cx, cy) / 64] >> (index(cx, cy) % 64)) & 1) != 0;
    }
    // Tiles with a live cell.
    int liveTiles() const { return liveTiles_; }
    // Writes the tiles with a live cell (x, y pairs, at most `room`) and
    // returns how many there are.
    int listLiveTiles(int16_t* across, int16_t* down, int room) const;
    // Live cells of the world in a tile; 0 for a tile outside the storage.
    int liveInTile(int tx, int ty) const
    {
        if (tx < 0 || ty < 0 || tx >= kTilesAcross || ty >= kTilesDown)
            return 0;
        return live_[ty * kTilesAcross + tx];
    }

private:
    static bool inStorage(int cx, int cy) { return cx >= 0 && cy >= 0 && cx < kMaxWidth && cy < kMaxHeight; }
    static int index(int cx, int cy) { return cy * kMaxWidth + cx; }
    void forget(int cx, int cy);

    bool tracking_ = false;
    int width_ = 0;
    int height_ = 0;
    uint32_t heatStamp_ = 0;
    uint64_t bits_[kMaxWidth * kMaxHeight / 64] = {};
    uint8_t live_[kTilesAcross * kTilesDown] = {};
    int liveTiles_ = 0;
};
