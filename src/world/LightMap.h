#pragma once
// The world's lighting: one integer level per cell, the sum of a base of 100,
// the sun's layer (computed column by column from the top through the
// materials) and the point lights of light-giving elements (shaped by the
// field of view). Paints a darkness overlay once per step while light is on.
//
// Invariants: the light grid always equals 100 + the sun layer (while
// applied) + every applied light contribution; each addition is matched by the
// same subtraction, so taking a source out restores the rest exactly.
// Records are taken from and returned to a preallocated pool (LIFO).
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "cocos2d.h"
#include "world/FieldOfView.h"
#include "world/SlotBits.h"

namespace cocos2d {
class CCSprite;
}
class FieldOverlay;
class LightMap;
class World;

// One point light. Owners move it by remove(), new x/y, changed = true, and
// switch it with `on` (setting `changed` when they do).
//
// A record is one cache line: flames take, move and give back thousands a
// step, each from a record last touched long before. Its contribution grid
// is kept by the map, beside the record.
class alignas(64) Light {
public:
    Light() = default;
    ~Light();
    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;

    void init(int32_t index, int x, int y, int radius, float intensity);
    // Takes the applied contribution out of the light grid (once).
    inline void remove();
    // Adds the contribution grid and the centre value to the light grid.
    void apply();
    // Recomputes when changed or, for radius >= 2, when a dirty cell lies
    // within Manhattan distance `radius` of the centre. A point light
    // (radius 1 or less: every flame) is handled in line.
    inline void update(const int32_t* xs, const int32_t* ys, int32_t count);

    // Contribution grid, `size` columns of `size` rows: [i * size + j] is
    // the cell (x - radius + i, y - radius + j). Empty for radius 1 and
    // for a record outside a map.
    std::vector<int32_t>& contribution();

    bool removed = true;
    bool on = false;
    bool inUse = false;
    bool changed = false;
    int32_t index = -1;
    int32_t x = 0;
    int32_t y = 0;
    int32_t radius = 0;
    float intensity = 0.0f;
    float radiusSquared = 0.0f;
    int32_t size = 0;

private:
    friend class LightMap;
    // update() of a light of radius 2 or more: recast over its grid.
    void updateWide(const int32_t* xs, const int32_t* ys, int32_t count);
    int32_t centreValue() const { return static_cast<int32_t>(255.0f * intensity); }
    inline void addCentre(int32_t amount);
    // The centre's part of apply(): records where and how much, and adds it.
    inline void applyCentre();
    // The grid's part of remove(), for radius 2 and more.
    void takeOutGrid();
    // Where and how much the applied contribution went, so that taking it
    // out is exact even if an owner moved the centre first.
    int32_t appliedX_ = 0;
    int32_t appliedY_ = 0;
    int32_t appliedCentre_ = 0;
    float appliedIntensity_ = 0.0f;
    bool hasGrid_ = false;
    // The map's grid for this record may hold cells (a wide light used it):
    // a flame's record need not look at it.
    bool gridHeld_ = false;
    LightMap* map_ = nullptr;
};
static_assert(sizeof(Light) == 64, "a light record is one cache line");

// Colour and kind of one cell as the overlay paints it; `a` holds the kind.
struct CellColour {
    uint8_t r = 0, g = 0, b = 0, a = 255;
};

class LightMap {
    friend class Light;

public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 160;
    static constexpr int kRecords = 38400;
    static constexpr int32_t kBaseLevel = 100;
    // Cell kinds kept in CellColour::a.
    static constexpr uint8_t kKindEmpty = 0;
    static constexpr uint8_t kKindParticle = 1;
    static constexpr uint8_t kKindEmptyNearParticle = 2;
    static constexpr uint8_t kKindNoSun = 255;

    explicit LightMap(World& world);
    ~LightMap();
    LightMap(const LightMap&) = delete;
    LightMap& operator=(const LightMap&) = delete;

    // Null outside 240 x 160 or when every record is in use.
    Light* addLight(int x, int y, int radius, float intensity);
    void removeLight(Light* light);

    // The light step: sun pass, lights, then the overlay (while light is on).
    void step(const int32_t* dirtyXs, const int32_t* dirtyYs, int32_t dirtyCount, const int32_t* columnFlags);
    // Frees every light and the memory of their grids (a full world of
    // lights holds tens of megabytes); relights everything at the next sun pass.
    void reset();
    // Every light is recomputed at the next step (when more cells changed
    // than the world could list).
    void markAllLightsChanged();
    // Takes the whole sun layer out of the light grid.
    void subtractLayer();
    void setCellColor(int x, int y, CellColour colour);
    CellColour getCellColor(int x, int y) const;

    // Light level of a cell; 255 outside 240 x 160, as elements expect.
    int32_t getLevelAt(int x, int y) const;
    // Raw write access for the lights; skips cells outside 240 x 160.
    void addLevel(int x, int y, int32_t amount)
    {
        if (inMap(x, y))
            levels_[index(x, y)] += amount;
    }
    int32_t sunLayerAt(int x, int y) const;

    bool isLightOn() const { return lightOn_; }
    bool isSunOn() const { return sunOn_; }
    // Switches the overlay (and its sprite's visibility).
    void setLightOn(bool on);
    // Switching the sun off takes its layer out at once; switching it on
    // brings it back at the next step.
    void setSunOn(bool on);
    cocos2d::CCSprite* getSprite() const;
    FieldOverlay& overlay() { return *overlay_; }
    void flushOverlay();

    // Lights of radius 2 and more use these settings and this test.
    static FovSettings& fovSettings();
    static int isOpaque(void* map, int x, int y);
    static void applyFalloff(void* map, int x, int y, int dx, int dy, void* source);

    World& world() { return world_; }
    // Whether a changed cell lies near enough to (x, y) to alter a light of
    // radius r (the listed cells, or their blocks during a step).
    bool dirtyNear(int x, int y, int r, const int32_t* xs, const int32_t* ys, int32_t count);
    int32_t lightsInUse() const { return kRecords - freeTop_; }
    // Bytes the lights' contribution grids hold (a light's grid waits for
    // the next light of its radius until a reset).
    size_t gridBytes() const;

private:
    static size_t index(int x, int y) { return static_cast<size_t>(x) * kHeight + y; }
    static bool inMap(int x, int y) { return x >= 0 && y >= 0 && x < kWidth && y < kHeight; }
    void sunPass(const int32_t* columnFlags);
    void subtractColumn(int x);
    void addColumn(int x);
    void computeColumn(int x, int w, int h);
    void paintOverlay(int w, int h);
    // darkenColor, remembered: the sun pass shades most deep cells of every
    // column at every step, from a handful of colours.
    cocos2d::ccColor4B darkened(cocos2d::ccColor4B colour, uint16_t steps);
    void markDirtyBlocks(const int32_t* xs, const int32_t* ys, int32_t count);
    static constexpr int kBlock = 8;
    static constexpr int kBlocksWide = kWidth / kBlock;
    static constexpr int kBlocksHigh = kHeight / kBlock;

    World& world_;
    bool lightOn_ = false;
    bool sunOn_ = false;
    std::unique_ptr<FieldOverlay> overlay_;
    std::vector<Light> records_;
    // records_[i]'s contribution grid.
    std::vector<std::vector<int32_t>> grids_;
    // Gives record its zeroed grid of `cells` cells, a spare one when there is.
    void takeGrid(int32_t record, int radius, size_t cells);
    // The record's grid (its light, of that radius, is out of the light grid)
    // joins the spares.
    void spareGrid(int32_t record, int radius);
    // The spares every map starts with.
    void reserveSpareGrids();
    std::vector<int32_t> freeRecords_;
    int32_t freeTop_ = kRecords;
    int32_t lowWater_ = kRecords;  // lowest record index handed out since the last reset
    // The records in use: the step updates the lights without reading every
    // record above the low-water mark.
    SlotBits<kRecords> inUse_;
    std::vector<int32_t> levels_;
    std::vector<CellColour> cellColours_;
    // The world size the colours were last all set to "no sun" for; {0, 0}
    // once any cell's colour has been set since.
    std::pair<int, int> noSunFilled_{0, 0};
    std::vector<int32_t> sunLayer_;
    bool sunAllColumns_ = true;
    // Changed cells of the current step by 8 x 8 block, for the lights' test.
    std::vector<uint8_t> dirtyBlocks_;
    bool blocksReady_ = false;
    // During a step, before the first light asked: the step's changed cells,
    // not yet sorted into dirtyBlocks_.
    bool blocksPending_ = false;
    struct DirtyCells {
        const int32_t* xs = nullptr;
        const int32_t* ys = nullptr;
        int32_t count = 0;
    } stepDirty_;
    // What the overlay texture holds, so a step writes only the texels that change.
    std::vector<CellColour> shownTexels_;
    struct DarkenedColour {
        uint64_t key = 0;  // kDarkenedInUse | colour << 8 | steps
        cocos2d::ccColor4B colour{};
    };
    static constexpr int kDarkenedSlots = 512;
    std::vector<DarkenedColour> darkenedColours_;
    // Columns the sun pass of this step recomputed, and the alpha of the
    // particle each of their cells held then: nothing moves between the sun
    // pass and the overlay, so the overlay need not visit those particles.
    std::vector<uint8_t> freshColumns_;
    std::vector<uint8_t> particleAlphas_;
    // Grids of lights gone, by radius, for the next light of that radius.
    std::vector<std::vector<std::vector<int32_t>>> spareGrids_;
};

inline void Light::addCentre(int32_t amount)
{
    if (map_)
        map_->addLevel(appliedX_, appliedY_, amount);
}

inline void Light::remove()
{
    if (removed)
        return;
    removed = true;
    addCentre(-appliedCentre_);
    if (radius > 1)
        takeOutGrid();
}

inline void Light::applyCentre()
{
    appliedX_ = x;
    appliedY_ = y;
    appliedCentre_ = centreValue();
    appliedIntensity_ = intensity;
    addCentre(appliedCentre_);
    removed = false;
}

inline void Light::update(const int32_t* xs, const int32_t* ys, int32_t count)
{
    if (radius > 1) {
        updateWide(xs, ys, count);
        return;
    }
    // Nothing around a point light changes what it casts: only a change of
    // its own counts, and one that leaves it as applied changes nothing.
    if (!changed)
        return;
    changed = false;
    if (on && !removed && x == appliedX_ && y == appliedY_ && intensity == appliedIntensity_)
        return;
    remove();
    if (on)
        applyCentre();
}
