#pragma once
// World: the simulation's grid of cells, the pool that owns every live
// particle (numbered by particle id), the queues of changes deferred to the
// next step, the cells to relight, the fields (temperature, light,
// electricity), and the step that advances all of it once per tick.
//
// Invariants:
// - particleCount + freeTop == kMaxParticles at every moment;
// - pool[i] == p exactly when p->id == i; a pooled particle's (x, y) is the
//   cell that holds it; the border sentinel (id -1) is never pooled;
// - the grid storage is always 240 x 160; width and height say how much of it
//   is in use;
// - free ids are handed out last-in first-out, 38,399 first after construction.
// Element code reads grid, width, height and weather directly, raises event
// flags, and changes cells only through the operations below.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "world/ElectricityGrid.h"
#include "world/LightMap.h"
#include "world/Particle.h"
#include "world/SlotBits.h"
#include "world/SpentCells.h"
#include "world/TemperatureField.h"

class CCMutableTexture2D;
class CloudBlob;
class NSData;
class MPObject;
class OverLayer;
class Tool;
namespace worldblob {
struct LoadPlan;
}

class World {
public:
    static constexpr int kMaxWidth = 240;
    static constexpr int kMaxHeight = 160;
    static constexpr int kSmallWidth = 120;
    static constexpr int kSmallHeight = 80;
    static constexpr int kMaxParticles = 38400;
    static constexpr int kDirtyCapacity = 76800;
    static constexpr int kEventFlags = 11;

    // Event flags: raised by world and player events, read and cleared by goals.
    static constexpr int kEventMudRemoved = 0;
    static constexpr int kEventWorldSaved = 1;
    static constexpr int kEventWorldReset = 2;  // the HUD's new-world action
    static constexpr int kEventWorldLoaded = 3;
    static constexpr int kEventStoneMined = 4;  // the Miner in Day6
    static constexpr int kEventSparkMade = ElectricityGrid::kSparkMadeEventFlag;
    static constexpr int kEventFillUsed = 7;     // in Day15
    static constexpr int kEventReplaceUsed = 9;  // in Day21

    World();
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Attaches the world to its layer: border lines, field overlays, overlay
    // layer, first upload.
    void init(cocos2d::CCNode* owner);
    void setBigWorld(bool big);

    // Grid operations.
    Particle* addParticle(int x, int y, uint32_t typeId, bool force);
    void removeParticle(int x, int y);
    // The caller makes sure (x, y) lies in the world and is empty; a move
    // outside the world or onto another particle is refused.
    void moveParticle(Particle* p, int x, int y);
    // What moving p into the free cell (x, y) and on out of it leaves: the
    // cell drawn empty and, for a particle that absorbs light, marked once
    // for each of the two moves. The caller then moves p past it.
    void passThrough(const Particle* p, int x, int y);
    void swapParticles(Particle* a, Particle* b);
    int32_t allocParticleId();
    void releaseParticleId(int32_t id);
    void markDirty(int x, int y);

    // Deferred changes, applied at the start of the next step, replacements
    // first, each queue in order. A replacement the same as the last one
    // queued for its cell is already there: it is not queued again (many
    // blasts crossing a cell would otherwise queue it once a ray). So the
    // replacement queue holds at most one record per cell and kind of change
    // in a row, and the world, not the number of rays, bounds it.
    void queueReplace(int x, int y, const std::string& typeName);
    void queueReplaceById(int x, int y, uint32_t typeId);
    void queueReplaceWithColor(int x, int y, uint32_t typeId, cocos2d::ccColor4B colour);
    void queueRemove(int x, int y);
    // Whether queuing a plain replacement of the cell by typeId now would be
    // dropped as the same as the last one queued there.
    bool queuedToBecome(int x, int y, uint32_t typeId) const;
    void applyPendingChanges();
    void movePendingChanges(int x1, int y1, int x2, int y2);
    void swapPendingChanges(Particle* a, Particle* b);
    size_t pendingReplacementCount() const { return pendingReplacements.size(); }
    size_t pendingRemovalCount() const { return pendingRemovals.size(); }
    // Records the replacement queue holds room for: kQueueRoom, more after a
    // step that queued more, and kQueueRoom again after a reset.
    size_t pendingReplacementCapacity() const { return pendingReplacements.capacity(); }
    static constexpr size_t kQueueRoom = 16384;
    void clearPendingChanges();

    // Texels only, endpoints included; no particle is touched.
    void drawLine(cocos2d::ccColor4B colour, cocos2d::CCPoint from, cocos2d::CCPoint to);
    // The border sentinel on the outermost ring of cells, and its texels.
    void placeBorderWalls();
    void drawBorder();
    void toggleWeather();

    // World blob (world/WorldBlob.cpp). save returns a new autoreleased
    // version-11 blob. load checks the whole blob first: one that does not
    // hold up is refused (false, logged) and the world stays as it was.
    // reset starts a new empty universe. undo exchanges the world with the
    // undo snapshot, so a second undo is the redo.
    NSData* save();
    bool load(NSData* data);
    // A loaded world is drawn at once (lit, and handed to the screen), so a
    // window over a world that stands still shows it as it is.
    bool loadBytes(const uint8_t* data, size_t size);
    void reset();
    void undo();

    // The step.
    void step();
    // One update of every pooled particle, in increasing particle id (part
    // of the step).
    void updateParticles();
    void applyCurrentTool();
    void settleByDensity();
    void collectBrokenObjects();
    void clearObjects();
    void stepClouds();
    void removeCloud(CloudBlob* blob);
    void clearClouds();

    // Resting. A particle whose update changed nothing and will change
    // nothing until a cell of its 3 x 3 block changes may rest: the step
    // skips it until then, or until its cell warms above `upTo`, or (with
    // noCurrent) until current flows anywhere in the world. A buried grain
    // then costs nothing a step, and draws nothing from the random sequence.
    // restIfBuried rests p only when all eight neighbours are occupied and
    // its cell is at most upTo (and no current flows, with noCurrent).
    void restIfBuried(Particle* p, float upTo, bool noCurrent = false)
    {
        const int px = p->x;
        const int py = p->y;
        if (!blockInWorld(px, py))
            return;
        const uint8_t* o = occupancyAt(px, py);
        constexpr int w = kMaxWidth;
        if (!(o[-w - 1] & o[-w] & o[-w + 1] & o[-1] & o[1] & o[w - 1] & o[w] & o[w + 1]))
            return;
        if (noCurrent && electricityGrid.liveCellCount() != 0)
            return;
        if (temperatureField.getInside(px, py) > upTo)
            return;
        rest(p, upTo, true, noCurrent);
    }
    bool isResting(const Particle* p) const
    {
        return p && p->id >= 0 && p->id < kMaxParticles && pool_[p->id] == p && restSlots_.test(p->id);
    }
    int32_t restingCount() const { return restingCount_; }

    // The pool, read-only: pool()[id] is the particle with that id, or null.
    Particle* const (&pool() const)[kMaxParticles] { return pool_; }
    int32_t particleCount() const { return particleCount_; }
    // Ids still free; particleCount() + freeTop() == kMaxParticles.
    int32_t freeTop() const { return freeTop_; }

    // The cells to relight, read-only: markDirty adds, the step clears.
    // dirtyCount() <= kDirtyCapacity; dirtyOverflow() says more were marked
    // than the lists hold, so every light is recomputed at the next step.
    const int32_t (&dirtyX() const)[kDirtyCapacity] { return dirtyX_; }
    const int32_t (&dirtyY() const)[kDirtyCapacity] { return dirtyY_; }
    int32_t dirtyCount() const { return dirtyCount_; }
    bool dirtyOverflow() const { return dirtyOverflow_; }
    const int32_t (&columnFlags() const)[kMaxWidth] { return columnFlags_; }
    const int32_t (&rowFlags() const)[kMaxHeight] { return rowFlags_; }

    // Game time: when the last step ran, the time played while running (reset
    // starts it again) and what the last step added to it.
    int64_t lastClock() const { return lastClock_; }
    int64_t playedSeconds() const { return playedSeconds_; }
    int64_t lastElapsed() const { return lastElapsed_; }

    // Cell helpers for element code and tools.
    bool inWorld(int cx, int cy) const { return cx >= 0 && cy >= 0 && cx < width && cy < height; }
    // The particle at a cell in use; null for an empty cell or outside the world.
    Particle* at(int cx, int cy) const { return inWorld(cx, cy) ? grid[cx][cy] : nullptr; }
    // Draws one texel of the world texture; (0, 0, 0, 0) is an empty cell.
    void drawCell(int cx, int cy, cocos2d::ccColor4B colour) const;

    // Fields, in this order.
    bool settleParity = false;
    TemperatureField temperatureField;
    LightMap lightMap;
    ElectricityGrid electricityGrid;
    // The cells blasts can no longer change (explode); every cell change
    // below tells it.
    SpentCells spentCells;
    // 240 x 160 flags, all set at construction; nothing in the world reads them.
    std::vector<bool> flagGrid;
    // CCValue<CloudBlob*> boxes; a new cloud group appends itself.
    cocos2d::CCArray* clouds = nullptr;
    // CCValue<MPObject*> boxes; the boxes own nothing, the world frees objects.
    cocos2d::CCArray* objects = nullptr;
    OverLayer* overLayer = nullptr;
    cocos2d::CCNode* owner = nullptr;
    // The cells, stored row by row (the passes run along rows), with each
    // occupant's kind and density beside it so that scans need not visit
    // the particles. grid[x][y] reads a cell (null = empty); cells change
    // only through setCell and the grid operations above.
    class Cells {
    public:
        class Column {
        public:
            explicit Column(Particle* const* first) : first_(first) { }
            Particle* operator[](int cy) const { return first_[static_cast<ptrdiff_t>(cy) * kMaxWidth]; }

        private:
            Particle* const* first_;
        };
        Column operator[](int cx) const { return Column(cells_ + cx); }

    private:
        friend class World;
        Particle* cells_[kMaxWidth * kMaxHeight];
    };
    Cells grid;
    static int cellIndex(int cx, int cy) { return cy * kMaxWidth + cx; }
    // Whether a cell lies in the storage (kMaxWidth x kMaxHeight), in use or not.
    static bool inStorage(int cx, int cy) { return cx >= 0 && cy >= 0 && cx < kMaxWidth && cy < kMaxHeight; }
    // Puts p (or null) in a cell of the 240 x 160 storage as it is: no pool,
    // no texel, no relighting. The grid operations build on it; tests use it
    // to stage a cell.
    void setCell(int cx, int cy, Particle* p)
    {
        wakeAround(cx, cy);
        const int i = cellIndex(cx, cy);
        grid.cells_[i] = p;
        spentCells.forgetCell(cx, cy);
        occupied_[i] = p != nullptr;
        kinds_[i] = p ? p->getType() : 0;
        densities_[i] = p ? densityOf(p) : 0;
    }
    // Kind and density of the occupant of a cell of the storage (0 when
    // empty); no bounds check.
    uint32_t kindAt(int cx, int cy) const { return kinds_[cellIndex(cx, cy)]; }
    // The kinds from a cell on, row by row (kMaxWidth apart), for the block scans.
    const uint32_t* kindsFrom(int cx, int cy) const { return kinds_ + cellIndex(cx, cy); }
    // Whether a cell of the storage holds a particle; no bounds check. The
    // moves ask this of every neighbour: a byte a cell stays in cache.
    bool occupiedAt(int cx, int cy) const { return occupied_[cellIndex(cx, cy)] != 0; }
    // A cell in use that holds nothing.
    bool isFree(int cx, int cy) const { return inWorld(cx, cy) && !occupiedAt(cx, cy); }
    // Whether the whole 3 x 3 block around a cell lies in the cells in use.
    bool blockInWorld(int cx, int cy) const
    {
        return static_cast<unsigned>(cx - 1) < static_cast<unsigned>(width - 2) &&
            static_cast<unsigned>(cy - 1) < static_cast<unsigned>(height - 2);
    }
    // The occupancy byte of a cell of the storage, for reading its block's
    // bytes around it (kMaxWidth apart a row); no bounds check.
    const uint8_t* occupancyAt(int cx, int cy) const { return occupied_ + cellIndex(cx, cy); }
    int32_t densityAt(int cx, int cy) const { return densities_[cellIndex(cx, cy)]; }
    uint8_t eventFlags[kEventFlags] = {};
    cocos2d::CCObject* undoSnapshot = nullptr;  // retained world blob, or null
    bool undoInProgress = false;
    Tool* currentTool = nullptr;  // owned
    bool undoToggle = false;
    // The player changed the world (painted, undid, switched a setting,
    // renamed it) since it was made, loaded or saved: a new world asks first.
    bool unsavedChanges = false;
    bool weather = false;
    bool bigWorld = false;
    bool sizeChanged = false;
    int32_t width = 4;
    int32_t height = 4;
    Particle* outsideWall = nullptr;  // owned border sentinel, never pooled
    int32_t levelRestarts = 0;        // kept by the HUD
    // Raised by a spark that powers Metal; read and cleared by goals.
    bool sparkOnMetal = false;
    // Steps begun since the world was made, and those of them that moved
    // it (no window shown, neither paused nor zoomed out).
    int64_t stepsBegun = 0;
    int64_t stepsRun = 0;

private:
    // The pool and its free ids (see the invariants above); changed only by
    // addParticle, removeParticle, the id calls, reset and the destructor.
    Particle* pool_[kMaxParticles];
    // The slots holding a particle: the step goes from one particle to the
    // next without visiting the empty slots between.
    SlotBits<kMaxParticles> liveSlots_;
    // The slots holding a particle that may idle (Particle::idleUpTo): the
    // step tests for idling only within 64 slots that hold one.
    SlotBits<kMaxParticles> idleSlots_;
    void setSlot(int32_t id, Particle* p)
    {
        pool_[id] = p;
        restSlots_.set(id, false);
        liveSlots_.set(id, p != nullptr);
        idleSlots_.set(id, p != nullptr && p->mayIdle());
    }
    // The resting particles (see restIfBuried): a bit for each one's slot,
    // which the step skips, and bits for its cell, 256 a row with x at bit
    // x + 1 (so that a block's three columns are one shift away): resting;
    // woken by a change beside it too (an idle particle is woken only by
    // heat or a change of its own cell); resting only while no current
    // flows. With the temperature each may stand.
    SlotBits<kMaxParticles> restSlots_;
    static constexpr int kRestWords = 4;
    using RestRow = uint64_t[kRestWords];
    RestRow restCells_[kMaxHeight] = {};
    // (With an empty row below and above the storage's.)
    RestRow restNeighbours_[kMaxHeight + 2] = {};
    RestRow restNoCurrent_[kMaxHeight] = {};
    float restUpTo_[kMaxWidth * kMaxHeight];
    int32_t restingCount_ = 0;
    // The lowest upTo of any particle put to rest since none rested, and
    // whether any rests only while no current flows.
    float restLowestUpTo_ = 0.0f;
    bool restNoCurrentAny_ = false;
    void rest(Particle* p, float upTo, bool byNeighbours, bool noCurrent);
    // Wakes the particles resting in the 3 x 3 block around a cell of the
    // storage (or only its own, for an idle one), before the cell changes.
    void wakeAround(int cx, int cy)
    {
        if (restWatch_[cellIndex(cx, cy)] != 0)
            wakeBlock(cx, cy);
    }
    // The bits of a rest row for columns x - 1, x and x + 1, as bits 0..2.
    static uint64_t restBlockBits(const RestRow& row, int x)
    {
        const int word = x / 64;
        const int shift = x % 64;
        uint64_t bits = row[word] >> shift;
        if (shift > 61 && word + 1 < kRestWords)
            bits |= row[word + 1] << (64 - shift);
        return bits & 7u;
    }
    // For each cell, how many resting particles a change of it wakes: a
    // move asks one byte before it makes a change.
    uint8_t restWatch_[kMaxWidth * kMaxHeight] = {};
    // Adds `by` to the watch of the cell and, for a particle woken by its
    // neighbours, of the eight around it (which all lie in the storage).
    void watchRest(int cx, int cy, bool byNeighbours, int by);
    void wakeBlock(int cx, int cy);
    void wakeCell(int cx, int cy);
    // At the start of a step's updates: wakes the particles whose cell grew
    // too warm, and those that rest only without current when it flows.
    void wakeDisturbed();
    void forgetResting();

    // The world's picture while a step runs (looked up once a step, not for
    // every cell drawn); null outside a step.
    CCMutableTexture2D* stepTexture_ = nullptr;
    // Its pixels as 32-bit texels when it has them (RGBA8888), written
    // straight by the moves; the picture is marked changed once, when the
    // step ends, if any was written.
    uint32_t* stepTexels_ = nullptr;
    uint32_t stepTexelsWide_ = 0;
    uint32_t stepTexelsHigh_ = 0;
    mutable bool stepTexelsDrawn_ = false;
    void beginStepDrawing(CCMutableTexture2D* texture);
    void endStepDrawing();
    // The light over the cells changed since the last picture; then the
    // lists of changed cells emptied.
    void lightChangedCells();
    void forgetChangedCells();
    // The cells as they are, lit and handed to the screen, without a step.
    void showCells();
    // drawCell, in line for the world's own moves (defined in World.cpp).
    inline void drawTexel(int cx, int cy, cocos2d::ccColor4B colour) const;
    int32_t freeIds_[kMaxParticles];
    int32_t freeTop_ = 0;
    int32_t particleCount_ = 0;

    int32_t dirtyX_[kDirtyCapacity];
    int32_t dirtyY_[kDirtyCapacity];
    int32_t dirtyCount_ = 0;
    int32_t columnFlags_[kMaxWidth];
    int32_t rowFlags_[kMaxHeight];
    bool dirtyOverflow_ = false;
    int64_t lastClock_ = 0;
    int64_t playedSeconds_ = 0;
    int64_t lastElapsed_ = 0;

    // Marks a cell in pendingCells_ (cells outside the storage hold nothing
    // a swap could carry).
    void markPending(int x, int y)
    {
        if (inStorage(x, y)) {
            const int i = cellIndex(x, y);
            pendingCells_[i / 64] |= uint64_t{1} << (i % 64);
        }
    }
    // Calls visit(x, y, index) with the cell of every queued change, as
    // references, and the replacement's index (-1 for a removal).
    template <class Visit> void forEachPendingCell(Visit visit)
    {
        for (size_t k = 0; k < pendingReplacements.size(); ++k)
            visit(pendingReplacements[k].x, pendingReplacements[k].y, static_cast<int32_t>(k));
        for (Removal& r : pendingRemovals)
            visit(r.x, r.y, -1);
    }
    // Moves a queued change's cell (x, y) to (toX, toY) and marks it there.
    void carryPending(int32_t& x, int32_t& y, int toX, int toY)
    {
        spentCells.forgetCell(x, y);
        spentCells.forgetCell(toX, toY);
        markPending(toX, toY);
        x = toX;
        y = toY;
    }
    bool hasPending(int x, int y) const
    {
        if (!inStorage(x, y))
            return false;
        const int i = cellIndex(x, y);
        return (pendingCells_[i / 64] >> (i % 64)) & 1;
    }
    // Says which replacement was queued or carried last to a cell of the
    // storage (-1: none).
    void setLastReplacement(int x, int y, int32_t index)
    {
        spentCells.forgetCell(x, y);
        if (inStorage(x, y))
            lastReplacement_[cellIndex(x, y)] = index;
    }
    // The last replacement at a cell of the storage, or -1 when it holds none.
    int32_t lastReplacementAt(int x, int y) const;
    // Back to kQueueRoom when a step grew the queues beyond it.
    void shrinkQueues();
    // Gives the heap's free pages back to the system, and the particle
    // pool's unused chunks first.
    static void giveBackMemory();

    // The boxes of the objects a step collects (kept with their room).
    std::vector<cocos2d::CCObject*> brokenObjects_;

    // Deletes every pooled particle, each out of its slot and cell first.
    void destroyParticles();
    // Empties every cell of the storage (the four cell arrays).
    void clearCells();
    void applyBlob(const uint8_t* data, const worldblob::LoadPlan& plan);
    void readParticles(const uint8_t* data, const worldblob::LoadPlan& plan);

    // Deferred-change records. Kept as plain records in vectors that keep
    // their capacity, so queuing allocates nothing in steady state.
    struct Replacement {
        int32_t x;
        int32_t y;
        uint32_t typeId;
        bool coloured;
        cocos2d::ccColor4B colour;
    };
    struct Removal {
        int32_t x;
        int32_t y;
    };
    std::vector<Replacement> pendingReplacements;
    std::vector<Removal> pendingRemovals;
    void queueReplacement(const Replacement& r);
    // Set while the queues are applied: a change queued then goes after the
    // ones applied already and never merges with one of them.
    bool applyingChanges_ = false;
    // Beside grid's cells, same order: whether a cell is occupied, and
    // getType() and getDensity() of each occupant, which never change for a
    // particle.
    uint8_t occupied_[kMaxWidth * kMaxHeight];
    // Four past the last cell, always 0: the block scans read four kinds a row.
    uint32_t kinds_[kMaxWidth * kMaxHeight + 4];
    // (16 bits a cell: every kind's density lies far inside them.)
    int16_t densities_[kMaxWidth * kMaxHeight];
    static int16_t densityOf(const Particle* p);

    // A bit for every cell that may hold a queued change (set when one is
    // queued or carried there, cleared when the queues are emptied): a swap
    // or a settle carries changes only between marked cells, instead of
    // walking both queues for every swap.
    uint64_t pendingCells_[kMaxWidth * kMaxHeight / 64];
    static_assert(kMaxWidth * kMaxHeight % 64 == 0);
    // For each cell, the index of the last replacement queued or carried
    // there. Changes leave a cell only all together, and each arrival sets
    // its entry, so an entry that names a record standing at its cell names
    // the cell's last one, and any other entry (-1, or left from an earlier
    // step, or from changes that went on) means the cell holds none.
    int32_t lastReplacement_[kMaxWidth * kMaxHeight];
};

// The process-wide world every element reaches; set by the game layer (and by
// tests) to the world in use.
extern World* gWorld;
// The world in use, if any, now differs from what was saved: a new world
// asks before it goes.
inline void markWorldChanged()
{
    if (gWorld)
        gWorld->unsavedChanges = true;
}

// The shared moves read the cells around a particle. When its whole 3 x 3
// block lies in the world (nearly always), they read the occupancy bytes
// around its own unchecked; at the edge, cell by cell.

// Four times in five the remembered direction holds; else a second draw
// picks one and remembers it (taken without a branch: whether it is taken
// cannot be foreseen). True for the right.
inline bool Particle::slideDirection() const
{
    const auto [redraw, drawn] =
        platform::gameRandThenIf([](int first) { return static_cast<uint32_t>(first) % 5u == 0; });
    const bool drawnRight = (static_cast<unsigned>(drawn) & 1u) != 0;
    return (redraw & drawnRight) | (!redraw & slideRight);
}

inline void Particle::fall()
{
    World* w = gWorld;
    const int px = x;
    const int py = y;
    if (w->blockInWorld(px, py)) {
        const uint8_t* occupied = w->occupancyAt(px, py);
        if (!occupied[-World::kMaxWidth])
            w->moveParticle(this, px, py - 1);
        else if (occupied[World::kMaxWidth])
            slideFrom(occupied);
        return;
    }
    if (w->isFree(px, py - 1)) {
        w->moveParticle(this, px, py - 1);
        return;
    }
    if (w->inWorld(px, py + 1) && w->occupiedAt(px, py + 1))
        slide();
}

inline void Particle::slideFrom(const uint8_t* occupied)
{
    const bool right = slideDirection();
    // The side as a number, not a branch: a buried grain turns every step.
    const int side = 2 * static_cast<int>(right) - 1;
    const bool blocked = occupied[side] != 0;
    slideRight = right != blocked;
    if (!blocked)
        gWorld->moveParticle(this, x + side, y);
}

inline void Particle::slide()
{
    World* w = gWorld;
    if (w->blockInWorld(x, y)) {
        slideFrom(w->occupancyAt(x, y));
        return;
    }
    const bool right = slideDirection();
    slideRight = right;
    const int tx = right ? x + 1 : x - 1;
    if (w->isFree(tx, y))
        w->moveParticle(this, tx, y);
    else
        slideRight = !slideRight;
}

inline void Particle::slideThenRise()
{
    World* w = gWorld;
    const int px = x;
    const int py = y;
    // The draws and the remembered direction exactly as slide() makes them.
    const bool right = slideDirection();
    const int side = 2 * static_cast<int>(right) - 1;
    const int tx = px + side;
    bool slid;
    bool rises;
    if (w->blockInWorld(px, py)) {
        const uint8_t* occupied = w->occupancyAt(px, py);
        slid = !occupied[side];
        // After the slide only this cell and the one beside it changed: the
        // cell above the new one is read as it stands.
        rises = !occupied[World::kMaxWidth + static_cast<int>(slid) * side];
    } else {
        slid = w->isFree(tx, py);
        rises = w->isFree(slid ? tx : px, py + 1);
    }
    slideRight = right == slid;
    const int sx = slid ? tx : px;
    if (slid && rises)
        w->passThrough(this, sx, py);
    if (slid || rises)
        w->moveParticle(this, sx, rises ? py + 1 : py);
}

inline void Particle::flow()
{
    World* w = gWorld;
    bool belowFree, leftFree, rightFree;
    if (x >= 1 && y >= 1 && x < w->width - 1 && y < w->height) {
        // All three cells lie in the world: read them unchecked.
        const uint8_t* occupied = w->occupancyAt(x, y);
        belowFree = !occupied[-World::kMaxWidth];
        leftFree = !occupied[-1];
        rightFree = !occupied[1];
    } else {
        belowFree = w->isFree(x, y - 1);
        leftFree = w->isFree(x - 1, y);
        rightFree = w->isFree(x + 1, y);
    }
    if (belowFree) {
        w->moveParticle(this, x, y - 1);
        return;
    }
    // Both sides are read before the draw picks the first: in a settled
    // liquid both are occupied and both are read anyway, and the draw then
    // decides nothing but which free side to take, without a branch.
    const bool rightFirst = gameRand() % 2 == 0;
    if (!(leftFree | rightFree))
        return;
    const bool right = (rightFirst & rightFree) | (!rightFirst & !leftFree);
    w->moveParticle(this, x + 2 * static_cast<int>(right) - 1, y);
}

inline bool Particle::burnIfHot(int threshold, int chance)
{
    // (A particle's own cell always lies in the storage.)
    const float t = gWorld->temperatureField.getInside(x, y);
    if (!(t > static_cast<float>(threshold)))
        return false;
    return burn(t, threshold, chance);
}

// Golden-ratio hue step, then HSV to RGB; alpha 255.
cocos2d::ccColor4B goldenRatioColor(float hue, float saturation, float value);
