#include "world/World.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cmath>
#include <cstring>
#include <utility>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "SimpleAudioEngine.h"
#include "base/Logger.h"
#include "base/Utils.h"
#include "cocos2d_extensions/CCValue.h"
#include "elements/creatures/MPObject.h"
#include "elements/materials/Clouds.h"
#include "platform/GameClock.h"
#include "world/CCMutableTexture2D.h"
#include "world/OverLayer.h"
#include "world/ParticleCreator.h"
#include "world/ParticlePool.h"
#include "world/Tool.h"
#include "world/WorldHost.h"

USING_NS_CC;

World* gWorld = nullptr;

namespace {

constexpr uint32_t kMudId = hashString("Mud");
constexpr ccColor4B kEmptyCell = {0, 0, 0, 0};

CCMutableTexture2D* worldTexture()
{
    return worldHost().worldTexture();
}

}  // namespace

inline void World::drawTexel(int cx, int cy, ccColor4B colour) const
{
    if (stepTexels_ && static_cast<uint32_t>(cx) < stepTexelsWide_ && static_cast<uint32_t>(cy) < stepTexelsHigh_) {
        uint32_t texel;
        std::memcpy(&texel, &colour, sizeof texel);
        stepTexels_[static_cast<size_t>(stepTexelsWide_) * static_cast<uint32_t>(cy) + static_cast<uint32_t>(cx)] =
            texel;
        stepTexelsDrawn_ = true;
        return;
    }
    if (CCMutableTexture2D* texture = stepTexture_ ? stepTexture_ : worldTexture())
        texture->setPixel(cx, cy, colour);
}

void World::beginStepDrawing(CCMutableTexture2D* texture)
{
    stepTexture_ = texture;
    stepTexels_ = texture ? texture->rgbaTexels() : nullptr;
    stepTexelsWide_ = stepTexels_ ? texture->getPixelsWide() : 0;
    stepTexelsHigh_ = stepTexels_ ? texture->getPixelsHigh() : 0;
    stepTexelsDrawn_ = false;
}

void World::endStepDrawing()
{
    if (stepTexelsDrawn_ && stepTexture_)
        stepTexture_->markDirty();
    stepTexture_ = nullptr;
    stepTexels_ = nullptr;
    stepTexelsDrawn_ = false;
}

// --- construction ------------------------------------------------------------

World::World() : lightMap(*this), electricityGrid(*this)
{
    flagGrid.assign(static_cast<size_t>(kMaxWidth) * kMaxHeight, true);
    temperatureField.watchLowerings(&spentCells);
    clouds = CCArray::create();
    clouds->retain();
    objects = CCArray::create();
    objects->retain();
    clearCells();
    std::memset(pool_, 0, sizeof pool_);
    std::memset(dirtyX_, 0, sizeof dirtyX_);
    std::memset(dirtyY_, 0, sizeof dirtyY_);
    std::memset(columnFlags_, 0, sizeof columnFlags_);
    std::memset(rowFlags_, 0, sizeof rowFlags_);
    std::memset(pendingCells_, 0, sizeof pendingCells_);
    std::fill(std::begin(lastReplacement_), std::end(lastReplacement_), -1);
    outsideWall = ParticleCreator::createOutsideWall();
    prepareBlasts();
    // Room for a busy step's worth of queued changes up front, so queuing
    // does not allocate while the world runs.
    pendingReplacements.reserve(kQueueRoom);
    pendingRemovals.reserve(kQueueRoom);
    brokenObjects_.reserve(64);
    // No tool until the HUD selects one.
    currentTool = nullptr;
    for (int i = 0; i < kMaxParticles; ++i)
        freeIds_[i] = i;
    freeTop_ = kMaxParticles;
    lastClock_ = platform::gameTime();
}

World::~World()
{
    destroyParticles();
    particleCount_ = 0;
    CC_SAFE_RELEASE(undoSnapshot);
    undoSnapshot = nullptr;
    clearPendingChanges();
    delete outsideWall;
    outsideWall = nullptr;
    delete currentTool;
    currentTool = nullptr;
    clearObjects();
    objects->release();
    objects = nullptr;
    clearClouds();
    clouds->release();
    clouds = nullptr;
    // Once the objects are gone too: they take their memory from the pool.
    giveBackMemory();
    if (gWorld == this)
        gWorld = nullptr;
}

void World::init(CCNode* layer)
{
    owner = layer;
    drawBorder();
    if (owner) {
        const std::pair<CCSprite*, int> overlays[] = {
            {lightMap.getSprite(), 1}, {temperatureField.getSprite(), 2}, {electricityGrid.getSprite(), 3}};
        for (const auto& [sprite, z] : overlays) {
            if (!sprite)
                continue;
            owner->addChild(sprite, z);
        }
        OverLayer* layer = new OverLayer();
        layer->init();
        layer->autorelease();
        owner->addChild(layer, 1000);
        overLayer = layer;
    }
    if (CCMutableTexture2D* texture = worldTexture())
        texture->apply();
}

void World::destroyParticles()
{
    // Each particle leaves its slot and the grid before it is destroyed, so
    // a destructor that looks at its neighbours never meets a freed one. Only
    // the slots in use are visited: a reset of a near-empty world is quick.
    liveSlots_.forEachUsed(0, [this](int id) {
        Particle* p = pool_[id];
        if (!p)
            return;
        setSlot(id, nullptr);
        if (inStorage(p->x, p->y) && grid[p->x][p->y] == p)
            setCell(p->x, p->y, nullptr);
        delete p;
    });
}

void World::clearCells()
{
    // Every cell of the storage empty, as setCell(x, y, nullptr) leaves one.
    std::memset(grid.cells_, 0, sizeof grid.cells_);
    std::memset(occupied_, 0, sizeof occupied_);
    std::memset(kinds_, 0, sizeof kinds_);
    std::memset(densities_, 0, sizeof densities_);
    spentCells.forgetAll();
    forgetResting();
}

void World::setBigWorld(bool big)
{
    const int oldWidth = width;
    bigWorld = big;
    width = big ? kMaxWidth : kSmallWidth;
    height = big ? kMaxHeight : kSmallHeight;
    sizeChanged = width != oldWidth;
    spentCells.forgetAll();
    if (sizeChanged) {
        // The view gets a new picture: a step under way must not draw on the old one.
        endStepDrawing();
        worldHost().resizeWorldView(big);
    }
}

// --- the pool --------------------------------------------------------------------

int32_t World::allocParticleId()
{
    if (freeTop_ <= 0) {
        static RepeatedLine full;
        if (full.due())
            LOG_ERROR << "Too many particles :S!" << full;
        return -1;
    }
    return freeIds_[--freeTop_];
}

void World::releaseParticleId(int32_t id)
{
    if (id == -1)
        return;
    if (id < 0 || id >= kMaxParticles) {
        static RepeatedLine outside;
        if (outside.due())
            LOG_ERROR << "Released a particle id outside the pool:" << id << outside;
        return;
    }
    if (freeTop_ >= kMaxParticles) {
        static RepeatedLine overfull;
        if (overfull.due())
            LOG_ERROR << "Too many free particle IDs :S!" << overfull;
        return;
    }
    freeIds_[freeTop_++] = id;
}

void World::markDirty(int x, int y)
{
    if (!inStorage(x, y))
        return;
    if (dirtyCount_ >= kDirtyCapacity) {
        // The lists are full: the next light step relights everything instead.
        dirtyOverflow_ = true;
        return;
    }
    dirtyX_[dirtyCount_] = x;
    dirtyY_[dirtyCount_] = y;
    ++dirtyCount_;
    columnFlags_[x] = 1;
    rowFlags_[y] = 1;
}

void World::drawCell(int cx, int cy, ccColor4B colour) const
{
    drawTexel(cx, cy, colour);
}

int16_t World::densityOf(const Particle* p)
{
    const int32_t density = p->getDensity();
    // A density beyond 16 bits would settle wrongly: none is near it.
    assert(density >= INT16_MIN && density <= INT16_MAX);
    return static_cast<int16_t>(density);
}

// --- grid operations ---------------------------------------------------------------

Particle* World::addParticle(int x, int y, uint32_t typeId, bool force)
{
    if (!inWorld(x, y))
        return nullptr;
    if (!force && occupiedAt(x, y))
        return nullptr;
    if (particleCount_ >= kMaxParticles)
        return nullptr;
    // A forced add over a pooled particle replaces it, so no pooled particle
    // is ever left without its cell.
    if (force && grid[x][y] && grid[x][y]->id != -1)
        removeParticle(x, y);
    Particle* p = ParticleCreator::createAt(typeId, x, y);
    if (!p)
        return nullptr;
    const int32_t id = allocParticleId();
    if (id < 0) {
        delete p;
        return nullptr;
    }
    p->id = id;
    setSlot(id, p);
    setCell(x, y, p);
    drawTexel(x, y, p->color);
    ++particleCount_;
    if (p->lightAbsorption > 0)
        markDirty(x, y);
    return p;
}

void World::removeParticle(int x, int y)
{
    if (x >= width || x < 0 || y >= height || y < 0) {
        // An element that reaches out of the world does so every step.
        static RepeatedLine outside;
        if (outside.due())
            LOG_ERROR << "incorrect coords" << outside;
        return;
    }
    Particle* p = grid[x][y];
    if (!p || p->id == -1)
        return;
    const int32_t id = p->id;
    const int32_t absorption = p->lightAbsorption;
    if (kindAt(x, y) == kMudId)
        eventFlags[kEventMudRemoved] = 1;
    drawTexel(x, y, kEmptyCell);
    setCell(x, y, nullptr);
    // Only the pool's own particle gives its id back: an occupant that claims
    // an id it does not hold would otherwise have that id handed out twice.
    // The slot is cleared before the destructor runs, so a destructor that
    // adds a particle (and gets this id back) is not undone afterwards.
    if (id >= 0 && id < kMaxParticles && pool_[id] == p) {
        releaseParticleId(id);
        setSlot(id, nullptr);
        --particleCount_;
        delete p;
    }
    if (absorption > 0)
        markDirty(x, y);
}

void World::moveParticle(Particle* p, int x, int y)
{
    if (!p || !inWorld(x, y))
        return;
    const int oldX = p->x;
    const int oldY = p->y;
    if (oldX == x && oldY == y) {
        drawTexel(x, y, p->color);
        return;
    }
    const int to = cellIndex(x, y);
    // Moving over another particle would leave it pooled but in no cell.
    if (occupied_[to])
        return;
    if (inStorage(oldX, oldY) && grid.cells_[cellIndex(oldX, oldY)] == p) {
        // The cell's entries go along; the particle need not be asked again.
        // (The cell left wakes its resters in setCell below.)
        wakeAround(x, y);
        const int from = cellIndex(oldX, oldY);
        grid.cells_[to] = p;
        spentCells.forgetCell(x, y);
        occupied_[to] = 1;
        kinds_[to] = kinds_[from];
        densities_[to] = densities_[from];
        setCell(oldX, oldY, nullptr);
    } else {
        setCell(x, y, p);
    }
    drawTexel(oldX, oldY, kEmptyCell);
    drawTexel(x, y, p->color);
    if (p->lightAbsorption > 0) {
        markDirty(oldX, oldY);
        markDirty(x, y);
    }
    // Last (the cells above ask nothing of it): what a class keeps tied to
    // its cell (a light, a conductor) follows it.
    p->setPosition(x, y);
}

void World::passThrough(const Particle* p, int x, int y)
{
    drawTexel(x, y, kEmptyCell);
    if (p->lightAbsorption > 0) {
        markDirty(x, y);
        markDirty(x, y);
    }
}

void World::swapParticles(Particle* a, Particle* b)
{
    if (!a || !b || a == b)
        return;
    const int ax = a->x, ay = a->y;
    const int bx = b->x, by = b->y;
    if (a->lightAbsorption > 0)
        markDirty(ax, ay);
    if (b->lightAbsorption > 0)
        markDirty(bx, by);
    a->setPosition(bx, by);
    b->setPosition(ax, ay);
    const int ia = cellIndex(ax, ay);
    const int ib = cellIndex(bx, by);
    if (grid.cells_[ia] == a && grid.cells_[ib] == b) {
        // Each particle takes its cell's entries along.
        wakeAround(ax, ay);
        wakeAround(bx, by);
        std::swap(grid.cells_[ia], grid.cells_[ib]);
        spentCells.forgetCell(ax, ay);
        spentCells.forgetCell(bx, by);
        std::swap(kinds_[ia], kinds_[ib]);
        std::swap(densities_[ia], densities_[ib]);
    } else {
        setCell(bx, by, a);
        setCell(ax, ay, b);
    }
    drawTexel(bx, by, a->color);
    drawTexel(ax, ay, b->color);
}

// --- resting ----------------------------------------------------------------------

void World::rest(Particle* p, float upTo, bool byNeighbours, bool noCurrent)
{
    const int px = p->x;
    const int py = p->y;
    if (!inStorage(px, py) || grid.cells_[cellIndex(px, py)] != p || p->id < 0 || p->id >= kMaxParticles ||
        pool_[p->id] != p)
        return;
    const int word = (px + 1) / 64;
    const uint64_t bit = uint64_t{1} << ((px + 1) % 64);
    // (Only an awake particle's update puts it to rest.)
    if (restCells_[py][word] & bit)
        return;
    restCells_[py][word] |= bit;
    if (restingCount_++ == 0) {
        restLowestUpTo_ = upTo;
        restNoCurrentAny_ = false;
    }
    watchRest(px, py, byNeighbours, 1);
    uint64_t& neighbours = restNeighbours_[py + 1][word];
    neighbours = byNeighbours ? neighbours | bit : neighbours & ~bit;
    restNoCurrent_[py][word] = noCurrent ? restNoCurrent_[py][word] | bit : restNoCurrent_[py][word] & ~bit;
    restNoCurrentAny_ |= noCurrent;
    restUpTo_[cellIndex(px, py)] = upTo;
    restLowestUpTo_ = std::min(restLowestUpTo_, upTo);
    restSlots_.set(p->id, true);
}

void World::wakeCell(int cx, int cy)
{
    const int word = (cx + 1) / 64;
    const uint64_t bit = uint64_t{1} << ((cx + 1) % 64);
    if (!(restCells_[cy][word] & bit))
        return;
    restCells_[cy][word] &= ~bit;
    watchRest(cx, cy, (restNeighbours_[cy + 1][word] & bit) != 0, -1);
    restNeighbours_[cy + 1][word] &= ~bit;
    restNoCurrent_[cy][word] &= ~bit;
    --restingCount_;
    // The occupant is the particle that rests there: any change of the cell
    // wakes it first.
    const Particle* p = grid.cells_[cellIndex(cx, cy)];
    if (p && p->id >= 0 && p->id < kMaxParticles)
        restSlots_.set(p->id, false);
}

void World::watchRest(int cx, int cy, bool byNeighbours, int by)
{
    if (!byNeighbours) {
        restWatch_[cellIndex(cx, cy)] = static_cast<uint8_t>(restWatch_[cellIndex(cx, cy)] + by);
        return;
    }
    for (int y = cy - 1; y <= cy + 1; ++y)
        for (int x = cx - 1; x <= cx + 1; ++x)
            restWatch_[cellIndex(x, y)] = static_cast<uint8_t>(restWatch_[cellIndex(x, y)] + by);
}

void World::wakeBlock(int cx, int cy)
{
    wakeCell(cx, cy);
    for (int y = cy - 1; y <= cy + 1; ++y)
        for (uint64_t near = restBlockBits(restNeighbours_[y + 1], cx); near; near &= near - 1)
            wakeCell(cx - 1 + __builtin_ctzll(near), y);
}

void World::wakeDisturbed()
{
    if (restingCount_ == 0)
        return;
    const bool current = restNoCurrentAny_ && electricityGrid.liveCellCount() != 0;
    for (int y = 0; y < kMaxHeight && restingCount_ != 0; ++y) {
        const bool warm = temperatureField.rowMaxAt(y) > restLowestUpTo_;
        if (!warm && !current)
            continue;
        for (int word = 0; word < kRestWords; ++word) {
            for (uint64_t resting = restCells_[y][word]; resting; resting &= resting - 1) {
                const int bit = __builtin_ctzll(resting);
                const int x = word * 64 + bit - 1;
                const bool noCurrent = (restNoCurrent_[y][word] >> bit) & 1;
                if ((current && noCurrent) || (warm && temperatureField.getInside(x, y) > restUpTo_[cellIndex(x, y)]))
                    wakeCell(x, y);
            }
        }
    }
    if (current)
        restNoCurrentAny_ = false;
}

void World::forgetResting()
{
    std::memset(restCells_, 0, sizeof restCells_);
    std::memset(restNeighbours_, 0, sizeof restNeighbours_);
    std::memset(restNoCurrent_, 0, sizeof restNoCurrent_);
    std::memset(restWatch_, 0, sizeof restWatch_);
    restSlots_.clear();
    restingCount_ = 0;
    restNoCurrentAny_ = false;
}

// --- deferred changes ---------------------------------------------------------------

void World::queueReplace(int x, int y, const std::string& typeName)
{
    queueReplaceById(x, y, hashString(typeName));
}

void World::queueReplaceById(int x, int y, uint32_t typeId)
{
    queueReplacement({x, y, typeId, false, kEmptyCell});
}

void World::queueReplaceWithColor(int x, int y, uint32_t typeId, ccColor4B colour)
{
    queueReplacement({x, y, typeId, true, colour});
}

int32_t World::lastReplacementAt(int x, int y) const
{
    if (!inStorage(x, y))
        return -1;
    const int32_t last = lastReplacement_[cellIndex(x, y)];
    if (last < 0 || static_cast<size_t>(last) >= pendingReplacements.size())
        return -1;
    const Replacement& q = pendingReplacements[static_cast<size_t>(last)];
    return q.x == x && q.y == y ? last : -1;
}

bool World::queuedToBecome(int x, int y, uint32_t typeId) const
{
    if (!inStorage(x, y) || applyingChanges_)
        return false;
    const int32_t last = lastReplacementAt(x, y);
    if (last < 0)
        return false;
    const Replacement& q = pendingReplacements[static_cast<size_t>(last)];
    return q.typeId == typeId && !q.coloured;
}

void World::queueReplacement(const Replacement& r)
{
    if (inStorage(r.x, r.y)) {
        const int i = cellIndex(r.x, r.y);
        markPending(r.x, r.y);
        const int32_t last = applyingChanges_ ? -1 : lastReplacementAt(r.x, r.y);
        if (last >= 0) {
            const Replacement& q = pendingReplacements[static_cast<size_t>(last)];
            // The cell already becomes this: applying it again would only
            // make the same kind anew in the same place.
            if (q.typeId == r.typeId && q.coloured == r.coloured &&
                (!r.coloured ||
                 (q.colour.r == r.colour.r && q.colour.g == r.colour.g && q.colour.b == r.colour.b &&
                  q.colour.a == r.colour.a)))
                return;
        }
        lastReplacement_[i] = static_cast<int32_t>(pendingReplacements.size());
        spentCells.forgetCell(r.x, r.y);
    }
    pendingReplacements.push_back(r);
}

void World::queueRemove(int x, int y)
{
    pendingRemovals.push_back({x, y});
    markPending(x, y);
}

void World::applyPendingChanges()
{
    // Indexed walks: a destructor or constructor run by these changes may
    // queue more, which are applied in this same pass.
    applyingChanges_ = true;
    for (size_t i = 0; i < pendingReplacements.size(); ++i) {
        const Replacement r = pendingReplacements[i];
        if (r.coloured) {
            // The cell may have emptied since the change was queued.
            // A member's replacement takes its place in the object: the old
            // cell leaves quietly, the new one becomes a member.
            Particle* occupant = at(r.x, r.y);
            MPObject* group = occupant ? occupant->getGroup() : nullptr;
            if (group)
                group->removeMember(occupant);
            removeParticle(r.x, r.y);
            Particle* p = addParticle(r.x, r.y, r.typeId, false);
            if (p)
                p->setColor(r.colour);
            if (group && p)
                group->adopt(p);
            else if (group)
                group->broken = true;
        } else {
            removeParticle(r.x, r.y);
            addParticle(r.x, r.y, r.typeId, false);
        }
    }
    pendingReplacements.clear();
    for (size_t i = 0; i < pendingRemovals.size(); ++i) {
        // Most particles queued their own removal a whole step ago (a flame
        // dying, smoke fading) and have left the cache since: fetch the
        // occupants a few removals ahead.
        constexpr size_t kPrefetchAhead = 8;
        if (i + kPrefetchAhead < pendingRemovals.size()) {
            const Removal& ahead = pendingRemovals[i + kPrefetchAhead];
            if (inWorld(ahead.x, ahead.y))
                if (const Particle* p = grid.cells_[cellIndex(ahead.x, ahead.y)])
                    __builtin_prefetch(p);
        }
        const Removal r = pendingRemovals[i];
        removeParticle(r.x, r.y);
    }
    pendingRemovals.clear();
    std::memset(pendingCells_, 0, sizeof pendingCells_);
    applyingChanges_ = false;
    spentCells.forgetAll();
}

void World::clearPendingChanges()
{
    pendingReplacements.clear();
    pendingRemovals.clear();
    std::memset(pendingCells_, 0, sizeof pendingCells_);
    spentCells.forgetAll();
}

void World::shrinkQueues()
{
    if (pendingReplacements.capacity() > kQueueRoom) {
        std::vector<Replacement> room;
        room.reserve(kQueueRoom);
        pendingReplacements.swap(room);
    }
    if (pendingRemovals.capacity() > kQueueRoom) {
        std::vector<Removal> room;
        room.reserve(kQueueRoom);
        pendingRemovals.swap(room);
    }
}

void World::giveBackMemory()
{
    // The pool's trim ends with the heap's.
    if (particlesArePooled())
        particleMemory().trim();
#ifdef __GLIBC__
    else
        malloc_trim(0);
#endif
}

void World::movePendingChanges(int x1, int y1, int x2, int y2)
{
    // An unmarked cell of the storage holds no change to move.
    if (inStorage(x1, y1) && !hasPending(x1, y1))
        return;
    // The moved changes come after any already at (x2, y2) when they were
    // queued later.
    int32_t last = lastReplacementAt(x2, y2);
    forEachPendingCell([&](int32_t& x, int32_t& y, int32_t index) {
        if (x == x1 && y == y1) {
            carryPending(x, y, x2, y2);
            last = std::max(last, index);
        }
    });
    setLastReplacement(x1, y1, -1);
    setLastReplacement(x2, y2, last);
}

void World::swapPendingChanges(Particle* a, Particle* b)
{
    if (!a || !b)
        return;
    const int ax = a->x, ay = a->y;
    const int bx = b->x, by = b->y;
    if (!hasPending(ax, ay) && !hasPending(bx, by))
        return;
    // One walk: changes at a's cell go to b's and those at b's to a's.
    int32_t lastToA = -1;
    int32_t lastToB = -1;
    forEachPendingCell([&](int32_t& x, int32_t& y, int32_t index) {
        if (x == ax && y == ay) {
            carryPending(x, y, bx, by);
            lastToB = std::max(lastToB, index);
        } else if (x == bx && y == by) {
            carryPending(x, y, ax, ay);
            lastToA = std::max(lastToA, index);
        }
    });
    setLastReplacement(ax, ay, lastToA);
    setLastReplacement(bx, by, lastToB);
}

// --- drawing and settings --------------------------------------------------------------

void World::placeBorderWalls()
{
    for (int x = 0; x < width; ++x) {
        setCell(x, 0, outsideWall);
        setCell(x, height - 1, outsideWall);
    }
    for (int y = 0; y < height; ++y) {
        setCell(0, y, outsideWall);
        setCell(width - 1, y, outsideWall);
    }
}

void World::drawBorder()
{
    const ccColor4B border = outsideWall ? outsideWall->color : ccc4(0, 0, 0, 255);
    const float right = static_cast<float>(width - 1);
    const float top = static_cast<float>(height - 1);
    drawLine(border, ccp(0, 0), ccp(right, 0));
    drawLine(border, ccp(0, 0), ccp(0, top));
    drawLine(border, ccp(0, top), ccp(right, top));
    drawLine(border, ccp(right, 0), ccp(right, top));
}

void World::drawLine(ccColor4B colour, CCPoint from, CCPoint to)
{
    int x = static_cast<int>(from.x);
    int y = static_cast<int>(from.y);
    const int toX = static_cast<int>(to.x);
    const int toY = static_cast<int>(to.y);
    const int dx = std::abs(toX - x);
    const int dy = std::abs(toY - y);
    const int sx = from.x < to.x ? 1 : -1;
    const int sy = from.y < to.y ? 1 : -1;
    int err = 2 * (dx - dy);
    CCMutableTexture2D* texture = worldTexture();
    for (;;) {
        if (texture)
            texture->setPixelAt(static_cast<float>(x), static_cast<float>(y), colour);
        if (x == toX && y == toY)
            break;
        const int e = err;
        if (e > -dy) {
            err -= 2 * dy;
            x += sx;
        }
        if (e < dx) {
            err += 2 * dx;
            y += sy;
        }
    }
}

void World::toggleWeather()
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", "sfx_gui_weather").c_str(),
                                                                 false);
    weather = !weather;
}

ccColor4B goldenRatioColor(float hue, float saturation, float value)
{
    const float h = std::fmod(hue + 0.618034f, 1.0f);
    const int i = static_cast<int>(h * 6.0f);
    const float f = h * 6.0f - static_cast<float>(i);
    const float p = value * (1.0f - saturation);
    const float q = value * (1.0f - f * saturation);
    const float t = value * (1.0f - (1.0f - f) * saturation);
    float r = 0.0f, g = 0.0f, b = 0.0f;
    switch (i) {
    case 0:
        r = value;
        g = t;
        b = p;
        break;
    case 1:
        r = q;
        g = value;
        b = p;
        break;
    case 2:
        r = p;
        g = value;
        b = t;
        break;
    case 3:
        r = p;
        g = q;
        b = value;
        break;
    case 4:
        r = t;
        g = p;
        b = value;
        break;
    case 5:
        r = value;
        g = p;
        b = q;
        break;
    default: break;
    }
    auto channel = [](float c) {
        const float scaled = c * 255.0f;
        return static_cast<uint8_t>(scaled <= 0.0f ? 0.0f : (scaled >= 255.0f ? 255.0f : scaled));
    };
    return ccc4(channel(r), channel(g), channel(b), 255);
}
