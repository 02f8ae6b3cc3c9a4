#include "world/LightMap.h"

#include <algorithm>
#include <cstring>

#include "world/ColorTables.h"
#include "world/FieldOverlay.h"
#include "world/Particle.h"
#include "world/World.h"

USING_NS_CC;

namespace {

constexpr uint32_t kOutsideWallType = hashString("OutsideWall");
constexpr int kMaxRadius = 240;
constexpr uint32_t kPreparedRadii = 64;

int32_t clampLevel(int32_t level)
{
    return std::clamp(level, 100, 255);
}

ccColor4B darkness(int32_t level)
{
    return ccColor4B{0, 0, 0, static_cast<uint8_t>(255 - clampLevel(level))};
}

// Recent kinds seen going down one column, for the depth shading of runs.
struct RecentKind {
    uint32_t type = 0;
    int32_t depth = 0;
    int32_t age = 0;
};

}  // namespace

// ---- Light -----------------------------------------------------------------

Light::~Light()
{
    if (hasGrid_ && map_)
        remove();
}

void Light::init(int32_t idx, int cx, int cy, int r, float strength)
{
    index = idx;
    x = cx;
    y = cy;
    intensity = std::clamp(strength, -1.0f, 1.0f);
    r = std::clamp(r, 0, kMaxRadius);
    // A record is normally taken out of the grid before it is handed out
    // again; make sure, so that zeroing the grid below cannot strand values.
    if (hasGrid_)
        remove();
    // A radius-1 light (every flame and spark) lights only its centre and
    // needs no grid at all; a wider one takes a grid of its size that the
    // map keeps between lights, so lights come and go without the heap.
    if (map_ && gridHeld_)
        map_->spareGrid(index, radius);
    gridHeld_ = false;
    radius = r;
    size = r == 1 ? 1 : 2 * r;
    radiusSquared = static_cast<float>(r) * static_cast<float>(r);
    on = true;
    inUse = true;
    changed = true;
    if (map_ && r > 1) {
        map_->takeGrid(index, r, static_cast<size_t>(size) * static_cast<size_t>(size));
        gridHeld_ = true;
    }
    hasGrid_ = true;
}

std::vector<int32_t>& Light::contribution()
{
    // Only a map's records are ever cast; any other record has no grid.
    static std::vector<int32_t> none;
    if (!map_ || index < 0)
        return none;
    return map_->grids_[static_cast<size_t>(index)];
}

void Light::takeOutGrid()
{
    if (!map_)
        return;
    std::vector<int32_t>& grid = contribution();
    for (int i = 0; i < size; ++i) {
        for (int j = 0; j < size; ++j) {
            int32_t& v = grid[static_cast<size_t>(i) * size + j];
            if (v)
                map_->addLevel(appliedX_ - radius + i, appliedY_ - radius + j, -v);
            v = 0;
        }
    }
}

void Light::apply()
{
    if (radius > 1 && map_) {
        const std::vector<int32_t>& grid = contribution();
        for (int i = 0; i < size; ++i) {
            for (int j = 0; j < size; ++j) {
                const int32_t v = grid[static_cast<size_t>(i) * size + j];
                if (v)
                    map_->addLevel(x - radius + i, y - radius + j, v);
            }
        }
    }
    applyCentre();
}

void Light::updateWide(const int32_t* xs, const int32_t* ys, int32_t count)
{
    // A light that is off and out of the grid has nothing to take out or put in.
    if (!changed && !on && removed)
        return;
    auto dirtyNear = [&] { return map_ && map_->dirtyNear(x, y, radius, xs, ys, count); };
    bool recompute;
    if (changed) {
        // Glowing elements mark their lights changed every update. When the
        // light has not moved or changed and nothing around it has, the cast
        // would give exactly what is applied: keep it.
        const bool asApplied = on && !removed && x == appliedX_ && y == appliedY_ && intensity == appliedIntensity_;
        recompute = !asApplied || dirtyNear();
    } else {
        recompute = dirtyNear();
    }
    if (!recompute) {
        changed = false;
        return;
    }

    remove();
    if (on) {
        FovSource src;
        src.settings = &LightMap::fovSettings();
        src.map = map_;
        src.source = this;
        src.x = x;
        src.y = y;
        src.radius = static_cast<uint32_t>(radius);
        FieldOfView::compute(src);
        apply();
    }
    changed = false;
}

// ---- LightMap --------------------------------------------------------------

LightMap::LightMap(World& world)
    : world_(world), overlay_(std::make_unique<FieldOverlay>(kWidth, kHeight, 1.0f, ccColor4B{0, 0, 0, 100})),
      records_(kRecords), grids_(kRecords), freeRecords_(kRecords),
      levels_(static_cast<size_t>(kWidth) * kHeight, kBaseLevel), cellColours_(static_cast<size_t>(kWidth) * kHeight),
      sunLayer_(static_cast<size_t>(kWidth) * kHeight, 0),
      dirtyBlocks_(static_cast<size_t>(kBlocksWide) * kBlocksHigh, 0),
      shownTexels_(static_cast<size_t>(kWidth) * kHeight, CellColour{0, 0, 0, 100}), darkenedColours_(kDarkenedSlots),
      freshColumns_(kWidth, 0), particleAlphas_(static_cast<size_t>(kWidth) * kHeight, 0),
      spareGrids_(static_cast<size_t>(kMaxRadius) + 1)
{
    for (int32_t i = 0; i < kRecords; ++i) {
        freeRecords_[i] = i;
        records_[i].map_ = this;
    }
    reserveSpareGrids();
    // The field of view's tables for every radius an element's light uses,
    // made now rather than by the first such light mid-step.
    for (uint32_t radius = 1; radius <= kPreparedRadii; ++radius)
        FieldOfView::heightFor(fovSettings(), radius, 0);
}

void LightMap::reserveSpareGrids()
{
    // Room up front for a storm's sparks (radius 2) and a swarm of fireflies
    // or deep-sea fish (radius 4): their lights come and go by the hundred,
    // and a new peak would otherwise take grids from the heap mid-step.
    constexpr std::pair<int, size_t> kReserved[] = {{2, 1024}, {4, 64}};
    for (const auto& [radius, count] : kReserved) {
        std::vector<std::vector<int32_t>>& spares = spareGrids_[static_cast<size_t>(radius)];
        spares.reserve(count * 2);
        while (spares.size() < count)
            spares.emplace_back(static_cast<size_t>(4 * radius * radius), 0);
    }
}

LightMap::~LightMap()
{
    // Destroying the map never writes into the light grid.
    for (Light& l : records_)
        l.map_ = nullptr;
}

FovSettings& LightMap::fovSettings()
{
    static FovSettings settings = [] {
        FovSettings s;
        s.opacityTest = &LightMap::isOpaque;
        s.apply = &LightMap::applyFalloff;
        s.shape = FovSettings::kPrecalculatedCircle;
        s.applyToBlockingCells = true;
        return s;
    }();
    return settings;
}

int LightMap::isOpaque(void* map, int x, int y)
{
    if (!map)
        return 1;
    World& world = static_cast<LightMap*>(map)->world_;
    // Cells beyond the world block, so no light reads or leaks past it.
    if (!world.inWorld(x, y))
        return 1;
    const Particle* p = world.at(x, y);
    if (!p)
        return 0;
    return p->lightAbsorption == 255 || p->id == -1 || p->getType() == kOutsideWallType;
}

void LightMap::applyFalloff(void* map, int x, int y, int dx, int dy, void* source)
{
    Light* light = static_cast<Light*>(source);
    const int r = light->radius;
    // Nothing beyond the world is lit (a small world leaves most of the grid unused).
    if (r < 2 || !map || !static_cast<LightMap*>(map)->world_.inWorld(x, y))
        return;
    const int i = r + dx;
    const int j = r + dy;
    if (i < 0 || j < 0 || i >= light->size || j >= light->size)
        return;
    const float f = 1.0f - static_cast<float>(dx * dx + dy * dy) / light->radiusSquared;
    light->contribution()[static_cast<size_t>(i) * light->size + j] =
        static_cast<int32_t>(f * (light->intensity * 255.0f));
}

Light* LightMap::addLight(int x, int y, int radius, float intensity)
{
    if (!inMap(x, y) || freeTop_ <= 0)
        return nullptr;
    const int32_t idx = freeRecords_[--freeTop_];
    // The next record handed out is one given back a while ago: fetch it now.
    if (freeTop_ > 0)
        __builtin_prefetch(&records_[freeRecords_[freeTop_ - 1]], 1);
    lowWater_ = std::min(lowWater_, idx);
    Light* light = &records_[idx];
    light->init(idx, x, y, radius, intensity);
    inUse_.set(idx, true);
    return light;
}

void LightMap::removeLight(Light* light)
{
    // A light already given back (a reset frees every record before its
    // owner goes) must not be pushed twice.
    if (!light || light < records_.data() || light >= records_.data() + kRecords || !light->inUse)
        return;
    if (freeTop_ < kRecords)
        freeRecords_[freeTop_++] = static_cast<int32_t>(light - records_.data());
    light->inUse = false;
    inUse_.set(static_cast<int>(light - records_.data()), false);
    light->remove();
    // Taken out of the light grid: its grid waits for the next light this wide.
    if (light->gridHeld_) {
        spareGrid(light->index, light->radius);
        light->gridHeld_ = false;
    }
}

void LightMap::takeGrid(int32_t record, int radius, size_t cells)
{
    std::vector<int32_t>& grid = grids_[static_cast<size_t>(record)];
    std::vector<std::vector<int32_t>>& spares = spareGrids_[static_cast<size_t>(radius)];
    if (grid.capacity() < cells && !spares.empty()) {
        grid.swap(spares.back());
        spares.pop_back();
    }
    grid.assign(cells, 0);
}

void LightMap::spareGrid(int32_t record, int radius)
{
    std::vector<int32_t>& grid = grids_[static_cast<size_t>(record)];
    if (grid.capacity() == 0 || radius < 0 || radius > kMaxRadius)
        return;
    spareGrids_[static_cast<size_t>(radius)].push_back(std::move(grid));
    grid = std::vector<int32_t>();
}

int32_t LightMap::getLevelAt(int x, int y) const
{
    return inMap(x, y) ? levels_[index(x, y)] : 255;
}

int32_t LightMap::sunLayerAt(int x, int y) const
{
    return inMap(x, y) ? sunLayer_[index(x, y)] : 0;
}

void LightMap::setCellColor(int x, int y, CellColour colour)
{
    if (inMap(x, y)) {
        cellColours_[index(x, y)] = colour;
        noSunFilled_ = {0, 0};
    }
}

CellColour LightMap::getCellColor(int x, int y) const
{
    return inMap(x, y) ? cellColours_[index(x, y)] : CellColour{};
}

void LightMap::setLightOn(bool on)
{
    lightOn_ = on;
    overlay_->setVisible(on);
}

void LightMap::setSunOn(bool on)
{
    if (sunOn_ && !on)
        subtractLayer();
    if (!sunOn_ && on)
        sunAllColumns_ = true;
    sunOn_ = on;
}

cocos2d::CCSprite* LightMap::getSprite() const
{
    return overlay_->sprite();
}

void LightMap::flushOverlay()
{
    overlay_->flush();
}

void LightMap::subtractColumn(int x)
{
    for (int y = 0; y < kHeight; ++y) {
        int32_t& layer = sunLayer_[index(x, y)];
        levels_[index(x, y)] -= layer;
        layer = 0;
    }
}

void LightMap::addColumn(int x)
{
    for (int y = 0; y < kHeight; ++y)
        levels_[index(x, y)] += sunLayer_[index(x, y)];
}

void LightMap::subtractLayer()
{
    // Every column, not only those in use: a world that shrank may have left
    // sunlight in the others.
    for (int x = 0; x < kWidth; ++x)
        subtractColumn(x);
}

void LightMap::computeColumn(int x, int w, int h)
{
    int32_t light = 255;
    int32_t absorbers = 0;
    CellColour shade{0, 0, 0, 0};
    uint32_t lastType = 0;
    RecentKind recent[3];
    int recentCount = 0;

    // Inner cells only look at cells inside the world, so the columns are
    // read straight from the grid.
    const World::Cells::Column column = world_.grid[x];
    const World::Cells::Column leftColumn = world_.grid[x > 0 ? x - 1 : x];
    const World::Cells::Column rightColumn = world_.grid[x + 1 < World::kMaxWidth ? x + 1 : x];
    auto own = [](const Particle* p) { return CellColour{p->color.r, p->color.g, p->color.b, kKindParticle}; };
    auto shaded = [&](const Particle* p, uint16_t steps) {
        const ccColor4B c = darkened(p->color, steps);
        shade = CellColour{c.r, c.g, c.b, 0};
        return CellColour{c.r, c.g, c.b, kKindParticle};
    };

    for (int y = h - 1; y >= 0; --y) {
        int32_t& layer = sunLayer_[index(x, y)];
        if (x == 0 || x == w - 1 || y == 0 || y == h - 1) {
            layer = 255;
            continue;
        }
        light = std::max(light, 110);
        layer = light;
        const Particle* p = column[y];
        if (!p) {
            // Border cells do not count: only neighbours inside the ring.
            const bool left = x >= 2, right = x < w - 2, below = y >= 2, above = y < h - 2;
            const bool near = (below && column[y - 1]) || (above && column[y + 1]) ||
                (left && (leftColumn[y] || (below && leftColumn[y - 1]) || (above && leftColumn[y + 1]))) ||
                (right && (rightColumn[y] || (below && rightColumn[y - 1]) || (above && rightColumn[y + 1])));
            setCellColor(x, y, CellColour{shade.r, shade.g, shade.b, near ? kKindEmptyNearParticle : kKindEmpty});
            continue;
        }
        particleAlphas_[index(x, y)] = p->color.a;
        if (p->lightSource) {
            setCellColor(x, y, own(p));
            continue;
        }
        light -= p->lightAbsorption;
        ++absorbers;
        if (p->liquid) {
            setCellColor(x, y, absorbers < 6 ? own(p) : shaded(p, static_cast<uint16_t>(absorbers / 6)));
            continue;
        }
        const uint32_t type = p->getType();
        if (type == lastType && recentCount > 0) {
            for (int k = 1; k < recentCount; ++k)
                ++recent[k].age;
            const int32_t depth = ++recent[0].depth;
            setCellColor(x, y, depth < 4 ? own(p) : shaded(p, static_cast<uint16_t>(depth / 4)));
            continue;
        }
        if (!p->depthShaded) {
            setCellColor(x, y, own(p));
            layer = 255;
            continue;
        }
        int found = -1;
        for (int k = 0; k < recentCount; ++k) {
            if (recent[k].type == type) {
                found = k;
                break;
            }
        }
        if (found >= 0) {
            const RecentKind kind = recent[found];
            for (int k = found; k > 0; --k)
                recent[k] = recent[k - 1];
            recent[0] = kind;
            if (recent[0].age >= 2) {
                recent[0].depth = 0;
                recent[0].age = 0;
            }
        } else {
            if (recentCount < 3)
                ++recentCount;
            for (int k = recentCount - 1; k > 0; --k)
                recent[k] = recent[k - 1];
            recent[0] = RecentKind{type, 0, 0};
        }
        lastType = type;
        setCellColor(x, y, own(p));
    }
}

ccColor4B LightMap::darkened(ccColor4B colour, uint16_t steps)
{
    // From 8 steps on the factor is its floor of 0.4: one entry serves them all.
    const uint16_t s = std::min<uint16_t>(steps, 8);
    const uint32_t rgba = static_cast<uint32_t>(colour.r) | static_cast<uint32_t>(colour.g) << 8 |
        static_cast<uint32_t>(colour.b) << 16 | static_cast<uint32_t>(colour.a) << 24;
    constexpr uint64_t kInUse = 1ull << 63;
    const uint64_t key = kInUse | static_cast<uint64_t>(rgba) << 8 | s;
    const uint32_t slot = ((rgba ^ s * 0x85ebca77u) * 0x9e3779b1u) >> 23;  // 9 bits: 512 slots
    static_assert(kDarkenedSlots == 512);
    DarkenedColour& entry = darkenedColours_[slot];
    if (entry.key != key) {
        entry.key = key;
        entry.colour = darkenColor(colour, s);
    }
    return entry.colour;
}

void LightMap::sunPass(const int32_t* columnFlags)
{
    const int w = std::min<int>(world_.width, kWidth);
    const int h = std::min<int>(world_.height, kHeight);
    for (int x = 0; x < w; ++x) {
        if (!sunAllColumns_ && !(columnFlags && columnFlags[x]))
            continue;
        subtractColumn(x);
        computeColumn(x, w, h);
        addColumn(x);
        freshColumns_[x] = 1;
    }
    sunAllColumns_ = false;
}

void LightMap::step(const int32_t* dirtyXs, const int32_t* dirtyYs, int32_t dirtyCount, const int32_t* columnFlags)
{
    const int w = std::min<int>(world_.width, kWidth);
    const int h = std::min<int>(world_.height, kHeight);
    std::fill(freshColumns_.begin(), freshColumns_.end(), 0);
    if (sunOn_) {
        sunPass(columnFlags);
    } else if (noSunFilled_ != std::pair{w, h}) {
        // Without the sun every cell reads "no sun": written once, not every
        // step (the writes pushed the particles out of the cache).
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < h; ++y)
                cellColours_[index(x, y)] = CellColour{0, 0, 0, kKindNoSun};
        noSunFilled_ = {w, h};
    }

    // The changed cells are sorted into blocks when the first light of
    // radius 2 or more asks (a scene of flames has none).
    stepDirty_ = {dirtyXs, dirtyYs, dirtyCount};
    blocksPending_ = true;
    // Records are handed out from the top down, so the ones ever used sit
    // above the low-water mark.
    inUse_.forEachUsed(lowWater_, [&](int i) { records_[i].update(dirtyXs, dirtyYs, dirtyCount); });
    blocksPending_ = false;
    blocksReady_ = false;

    if (!lightOn_)
        return;
    paintOverlay(w, h);
    overlay_->flush();
}

void LightMap::paintOverlay(int w, int h)
{
    // The border is drawn in the colour of the world's own sentinel.
    const ccColor4B border = world_.outsideWall ? world_.outsideWall->color : ccColor4B{0, 0, 0, 255};
    // Column by column, as the maps are stored; each texel stands alone.
    for (int x = 0; x < w; ++x) {
        const bool borderColumn = x == 0 || x == w - 1;
        const bool fresh = freshColumns_[x] != 0;
        const size_t column = index(x, 0);
        for (int y = 0; y < h; ++y) {
            const size_t i = column + static_cast<size_t>(y);
            ccColor4B texel;
            const CellColour cell = cellColours_[i];
            if (borderColumn || y == 0 || y == h - 1) {
                texel = border;
            } else if (cell.a == kKindParticle && fresh) {
                texel = ccColor4B{cell.r, cell.g, cell.b, particleAlphas_[i]};
            } else if (cell.a == kKindParticle) {
                // The particle may have left without its column being
                // recomputed; an emptied cell is painted as empty.
                const Particle* p = world_.at(x, y);
                texel = p ? ccColor4B{cell.r, cell.g, cell.b, p->color.a} : darkness(levels_[i]);
            } else if (cell.a == kKindEmpty) {
                texel = darkness(levels_[i]);
            } else {
                texel = ccColor4B{0, 0, 0, static_cast<uint8_t>(std::max(18, 255 - clampLevel(levels_[i])))};
            }
            // Four bytes each, compared at once.
            static_assert(sizeof(CellColour) == 4 && sizeof(ccColor4B) == 4);
            uint32_t now = 0, before = 0;
            std::memcpy(&now, &texel, 4);
            std::memcpy(&before, &shownTexels_[i], 4);
            if (now != before) {
                shownTexels_[i] = CellColour{texel.r, texel.g, texel.b, texel.a};
                overlay_->setPixel(x, y, texel);
            }
        }
    }
}

void LightMap::markDirtyBlocks(const int32_t* xs, const int32_t* ys, int32_t count)
{
    std::fill(dirtyBlocks_.begin(), dirtyBlocks_.end(), 0);
    if (xs && ys) {
        for (int32_t k = 0; k < count; ++k)
            if (inMap(xs[k], ys[k]))
                dirtyBlocks_[static_cast<size_t>(xs[k] / kBlock) * kBlocksHigh + ys[k] / kBlock] = 1;
    }
    blocksReady_ = true;
}

bool LightMap::dirtyNear(int x, int y, int r, const int32_t* xs, const int32_t* ys, int32_t count)
{
    if (blocksPending_) {
        markDirtyBlocks(stepDirty_.xs, stepDirty_.ys, stepDirty_.count);
        blocksPending_ = false;
    }
    if (blocksReady_) {
        // Blocks touching the light's square: a superset of the cells within
        // its Manhattan reach, so a light is never left stale (a needless
        // recast gives the same light).
        const int bx0 = std::max(x - r, 0) / kBlock, bx1 = std::min(x + r, kWidth - 1) / kBlock;
        const int by0 = std::max(y - r, 0) / kBlock, by1 = std::min(y + r, kHeight - 1) / kBlock;
        for (int bx = bx0; bx <= bx1; ++bx)
            for (int by = by0; by <= by1; ++by)
                if (dirtyBlocks_[static_cast<size_t>(bx) * kBlocksHigh + by])
                    return true;
        return false;
    }
    if (!xs || !ys)
        return false;
    for (int32_t k = 0; k < count; ++k)
        if (std::abs(xs[k] - x) + std::abs(ys[k] - y) <= r)
            return true;
    return false;
}

void LightMap::markAllLightsChanged()
{
    for (int32_t i = lowWater_; i < kRecords; ++i)
        if (records_[i].inUse)
            records_[i].changed = true;
}

size_t LightMap::gridBytes() const
{
    size_t bytes = 0;
    for (int32_t i = lowWater_; i < kRecords; ++i)
        bytes += grids_[static_cast<size_t>(i)].capacity() * sizeof(int32_t);
    for (const std::vector<std::vector<int32_t>>& spares : spareGrids_)
        for (const std::vector<int32_t>& grid : spares)
            bytes += grid.capacity() * sizeof(int32_t);
    return bytes;
}

void LightMap::reset()
{
    for (int32_t i = lowWater_; i < kRecords; ++i) {
        Light& light = records_[i];
        if (light.inUse) {
            if (freeTop_ < kRecords)
                freeRecords_[freeTop_++] = light.index;
            light.inUse = false;
            inUse_.set(i, false);
            light.remove();
        }
        // Taken out of the grid above (or when the light was removed): the
        // next world starts without the last one's grids.
        std::vector<int32_t>().swap(grids_[static_cast<size_t>(i)]);
        light.hasGrid_ = false;
        light.gridHeld_ = false;
    }
    for (std::vector<std::vector<int32_t>>& spares : spareGrids_)
        std::vector<std::vector<int32_t>>().swap(spares);
    reserveSpareGrids();
    // Every record is free and bare again: the next reset need only walk the
    // ones handed out after this one.
    lowWater_ = kRecords;
    if (sunOn_)
        sunAllColumns_ = true;
    if (lightOn_) {
        constexpr ccColor4B kDark{0, 0, 0, 155};
        overlay_->fill(kDark);
        // The fill already shows the darkest level: only lighter cells are
        // painted again.
        for (int x = 0; x < kWidth; ++x) {
            for (int y = 0; y < kHeight; ++y) {
                const ccColor4B texel = darkness(levels_[index(x, y)]);
                shownTexels_[index(x, y)] = CellColour{texel.r, texel.g, texel.b, texel.a};
                if (texel.a != kDark.a)
                    overlay_->setPixel(x, y, texel);
            }
        }
        overlay_->flush();
    }
}
