#pragma once
// The world's heat map: one temperature per 2 x 2 block of world cells,
// diffused once per world step and pulled toward the ambient temperature of
// the HUD's temperature level. Draws itself as a red/blue overlay while the
// temperature view is on.
//
// Invariants: every stored value lies in [kMin, kMax]; only field cells
// 0..119 x 0..79 are used, whatever the world size.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "world/SpentCells.h"

namespace cocos2d {
class CCSprite;
}
class FieldOverlay;

class TemperatureField {
public:
    static constexpr int kWidth = 120;
    static constexpr int kHeight = 80;
    static constexpr float kMin = -2550.0f;
    static constexpr float kMax = 2550.0f;
    static constexpr int kRoomTemperature = 293;
    // Values written to the saved section: 4 per field cell, as stored.
    static constexpr int32_t kSavedCount = 4 * kWidth * kHeight;
    static constexpr int32_t kSectionLength = 4 + 4 * kSavedCount;

    TemperatureField();
    ~TemperatureField();
    TemperatureField(const TemperatureField&) = delete;
    TemperatureField& operator=(const TemperatureField&) = delete;

    // World-cell accessors; (x, y) maps to field cell (x / 2, y / 2).
    // Outside 0..239 x 0..159 getAt gives the ambient of the current level
    // and the writers do nothing. Inline: elements ask for every update.
    float getAt(int x, int y) const { return inWorldCells(x, y) ? current_[cellOf(x, y)] : ambientOutside(); }
    // getAt for a cell known to lie in 0..239 x 0..159 (a pooled particle's).
    float getInside(int x, int y) const { return current_[cellOf(x, y)]; }
    void addAt(int x, int y, float amount)
    {
        if (!inWorldCells(x, y) || std::isnan(amount))
            return;
        if (amount < 0.0f)
            lowered(x, y);
        float& cell = current_[cellOf(x, y)];
        cell = clamp(cell + amount);
        raiseRowMax(y, cell);
    }
    void setAt(int x, int y, float value)
    {
        if (!inWorldCells(x, y) || std::isnan(value))
            return;
        lowered(x, y);
        float& cell = current_[cellOf(x, y)];
        cell = clamp(value);
        raiseRowMax(y, cell);
    }
    // At least the highest value of the field row holding world row y (it
    // may be higher): the world wakes resting particles only in rows
    // warmer than they can stand.
    float rowMaxAt(int y) const { return rowMax_[y >> 1]; }

    // Changes with every write that may lower values anywhere (a step, a
    // reset, a load); a set or a negative add tells the spent cells given
    // here about its own cells instead.
    uint32_t bulkChanges() const { return bulkChanges_; }
    void watchLowerings(SpentCells* cells) { spentCells_ = cells; }

    // Back to 293 everywhere, HUD level 3, overlay cleared.
    void reset();
    // One diffusion and relaxation step (called by the world step).
    void step();

    // Appends the saved section to an empty `out` and returns its length;
    // returns 0 and leaves `out` alone when it already holds bytes.
    int32_t save(std::vector<uint8_t>& out) const;
    // Resets, then reads a section from `data` (at most `available` bytes).
    // Returns the section's length so the caller can skip it, or 0 when
    // data is null or the section does not fit (the field stays reset).
    int32_t load(const uint8_t* data, size_t available);

    // Ambient temperature of a HUD temperature level (1..5).
    static int ambientForLevel(int level);
    // The ambient set by the last step (293 until the first one).
    int getAmbient() const { return ambient_; }

    bool isViewOn() const { return viewOn_; }
    // Switches the temperature view and shows or hides the overlay with it.
    void setViewOn(bool on);
    cocos2d::CCSprite* getSprite() const;
    FieldOverlay& overlay() { return *overlay_; }
    // Uploads the overlay when something was painted since the last upload.
    void flushOverlay();

private:
    // Row by row: the world step reads the field along rows of cells.
    using Buffer = std::vector<float>;
    static size_t index(int fx, int fy) { return static_cast<size_t>(fy) * kWidth + fx; }
    static bool inWorldCells(int x, int y)
    {
        return static_cast<unsigned>(x) < 2u * kWidth && static_cast<unsigned>(y) < 2u * kHeight;
    }
    // Field cell of a world cell in 0..239 x 0..159.
    static size_t cellOf(int x, int y) { return index(x >> 1, y >> 1); }
    Buffer& current() { return aIsCurrent_ ? a_ : b_; }
    const Buffer& current() const { return aIsCurrent_ ? a_ : b_; }
    Buffer& next() { return aIsCurrent_ ? b_ : a_; }
    static float clamp(float v) { return v < kMin ? kMin : (v > kMax ? kMax : v); }
    float ambientOutside() const;
    void repaint();

    bool viewOn_ = false;
    std::unique_ptr<FieldOverlay> overlay_;
    int ambient_ = kRoomTemperature;
    Buffer a_;
    Buffer b_;
    bool aIsCurrent_ = true;
    float* current_ = nullptr;  // data of the current buffer
    uint32_t bulkChanges_ = 0;
    // Per field row, an upper bound of its values: exact after a step,
    // raised by every write since, kMax after a reset or a load.
    float rowMax_[kHeight];
    void raiseRowMax(int y, float value)
    {
        float& m = rowMax_[y >> 1];
        m = value > m ? value : m;
    }
    SpentCells* spentCells_ = nullptr;
    // The four world cells of (x, y)'s field cell are no longer known hot.
    void lowered(int x, int y)
    {
        if (spentCells_)
            spentCells_->forgetBlock(x & ~1, y & ~1);
    }
};
