#include "world/Particle.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <typeinfo>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/GameRandom.h"
#include "world/ByteStream.h"
#include "world/ColorTables.h"
#include "world/ParticlePool.h"
#include "world/World.h"
#include "world/WorldHost.h"

USING_NS_CC;

namespace {

constexpr uint32_t kFireId = hashString("Fire");
constexpr uint32_t kSmokeId = hashString("Smoke");
constexpr uint32_t kAshId = hashString("Ash");
constexpr uint32_t kExplosionId = hashString("Explosion");
constexpr uint32_t kFireworksId = hashString("Fireworks");
constexpr uint32_t kHumanLeaderId = hashString("HumanLeader");
constexpr uint32_t kGrassId = hashString("Grass");
constexpr uint32_t kWoodId = hashString("Wood");

// Upper bound on the draws of the random neighbour searches. A match that can
// be drawn is found long before this (each draw hits it with chance >= 1/9).
constexpr int kMaxRandomDraws = 4096;

constexpr int kMaxBurstColours = 8;

bool isType(const Particle* p, uint32_t type)
{
    return p && p->getType() == type;
}

}  // namespace

ccColor4B colorForIndex(CCInteger* row)
{
    return colorOfRow(row ? row->getValue() : -1);
}

CCArray* makeColorRowList(const ColorRows& rows)
{
    CCArray* list = CCArray::createWithCapacity(static_cast<unsigned>(rows.count));
    for (int i = 0; i < rows.count; ++i)
        list->addObject(CCInteger::create(rows.rows[static_cast<size_t>(i)]));
    // Class-wide and never freed: it outlives every particle of the class.
    list->retain();
    return list;
}

namespace {
// The base class's one colour row.
constexpr int kBaseColourRow = 24;
}

CCArray* Particle::baseColorRows()
{
    static CCArray* rows = makeColorRowList({kBaseColourRow});
    return rows;
}

static_assert(alignof(Particle) <= ParticlePool::kGranule, "the pool's blocks must suit a particle");

void* Particle::operator new(std::size_t size)
{
    return worldBlock(size);
}

void Particle::operator delete(void* block, std::size_t size) noexcept
{
    freeWorldBlock(block, size);
}

Particle::Particle()
    : color(colorOfRow(kBaseColourRow)),  // entry 0 of baseColorRows(), read without the list
      shimmerPeriod(10 + gameRand() % 5)
{
}

Particle::~Particle()
{
    if (editor) {
        ParticleEditor* open = editor;
        editor = nullptr;
        worldHost().particleDestroyed(open);
    }
}

int32_t Particle::getSaveSize() const
{
    return 0;
}
bool Particle::isLiving() const
{
    return false;
}
std::string Particle::getSoundName() const
{
    return kBaseSoundName;
}
float Particle::getFactor() const
{
    return 0.8f;
}

void Particle::setPosition(int newX, int newY)
{
    x = newX;
    y = newY;
}

void Particle::saveExtra(ByteWriter&) { }
void Particle::loadExtra(ByteReader&) { }
void Particle::update() { }
void Particle::onTouch() { }
void Particle::applyEditor() { }

// --- movement -------------------------------------------------------------

// fall, slide and flow are defined in line with the world (World.h).

// --- colour ---------------------------------------------------------------

void Particle::redraw() const
{
    gWorld->drawCell(x, y, color);
}

void Particle::setColor(ccColor4B colour)
{
    color = colour;
    redraw();
    colorChanged = true;
}

void Particle::shimmerNow(int dx, int dy, bool exchange)
{
    shimmerCounter = 0;
    Particle* n = gWorld->at(x + dx, y + dy);
    if (n && n->getType() == getType()) {
        const ccColor4B ownColour = color;
        const int32_t ownTag = tag;
        color = n->color;
        tag = n->tag;
        if (exchange) {
            n->color = ownColour;
            n->tag = ownTag;
        }
        n->shimmerPeriod += 1;
        shimmerPeriod = n->shimmerPeriod;
        shimmerCounter = n->shimmerCounter;
    } else {
        CCArray* rows = getColors();
        const unsigned count = rows ? rows->count() : 0;
        if (count > 0)
            color = colorForIndex(static_cast<CCInteger*>(rows->objectAtIndex(gameRand() % count)));
    }
    redraw();
}

// --- burning and explosions ------------------------------------------------

bool Particle::burn(float t, int threshold, int chance)
{
    World* w = gWorld;
    if (y + 2 < w->height && w->isFree(x, y + 2)) {
        w->addParticle(x, y + 2, kFireId, false);
        if (!w->occupiedAt(x, y + 1))
            w->addParticle(x, y + 1, kSmokeId, false);
    }
    // A chance that truncates to 0 or less (hotter than chance x threshold, or
    // a threshold below zero) means the particle burns away for sure: never a
    // division by zero, nor an infinite chance cast to an int.
    const float odds = static_cast<float>(chance) * static_cast<float>(threshold) / t;
    const int n = odds >= 1.0f ? static_cast<int>(std::min(odds, 2147483520.0f)) : 1;
    if (gameRand() % n != 0)
        return false;
    if (gameRand() % 10 == 0)
        w->queueReplaceById(x, y, kAshId);
    else
        w->queueRemove(x, y);
    return true;
}

namespace {

// The ray walk of every blast: for each direction of the sine table a ray
// whose energy is drawn around `energy` walks out from (x, y) in steps of 0.9
// until its energy is spent or it leaves the world (the border stops every
// ray; a world without one stops them at its edge). cell(cx, cy, p, e, d)
// handles one cell, may change the energy e, and returns whether the cell is
// heated by |e - d| * heat.
template <typename Cell> void walkBlastRays(int x, int y, int energy, float heat, Cell cell)
{
    World* w = gWorld;
    SinCosTable::generateIfNecessary();
    const float E = static_cast<float>(energy);
    for (int i = 0; i < SinCosTable::kDirections; ++i) {
        // A second draw only when the first leaves energy.
        float e = static_cast<float>(gameRand() % 5) + E - 2.0f;
        if (e > 0.0f)
            e = static_cast<float>(gameRand() % 5) + E - 2.0f;
        const float c = SinCosTable::cosine(i);
        const float s = SinCosTable::sine(i);
        float d = 0.0f;
        while (e > d) {
            const int cx = x + static_cast<int>(d * c);
            const int cy = y + static_cast<int>(d * s);
            if (!w->inWorld(cx, cy))
                break;
            if (cell(cx, cy, w->grid[cx][cy], e, d))
                w->temperatureField.addAt(cx, cy, std::fabs(e - d) * heat);
            d += 0.9f;
        }
    }
}

}  // namespace

namespace {

// The cells of a ray of each direction as offsets from its start, with the
// distance walked at each, exactly as the walk above reaches them; the path
// ends where no world can hold the next cell. reachX[v] is the first step
// whose offset across is at least v in size (the path's length when none),
// reachY the same down: with them a ray finds the tiles it crosses. Built
// once for the run and never grown: under 250 KB for the 72 directions.
struct RayStep {
    int16_t dx;
    int16_t dy;
    float d;
};
struct RayPath {
    std::vector<RayStep> steps;
    std::vector<uint16_t> reachX;
    std::vector<uint16_t> reachY;
    int signX = 0;
    int signY = 0;
};

const std::vector<RayPath>& rayPaths()
{
    static const std::vector<RayPath> paths = [] {
        SinCosTable::generateIfNecessary();
        std::vector<RayPath> all(SinCosTable::kDirections);
        for (int i = 0; i < SinCosTable::kDirections; ++i) {
            RayPath& path = all[static_cast<size_t>(i)];
            const float c = SinCosTable::cosine(i);
            const float s = SinCosTable::sine(i);
            for (float d = 0.0f;; d += 0.9f) {
                const int dx = static_cast<int>(d * c);
                const int dy = static_cast<int>(d * s);
                if (std::abs(dx) >= World::kMaxWidth || std::abs(dy) >= World::kMaxHeight)
                    break;
                path.steps.push_back({static_cast<int16_t>(dx), static_cast<int16_t>(dy), d});
                path.signX = dx > 0 ? 1 : (dx < 0 ? -1 : path.signX);
                path.signY = dy > 0 ? 1 : (dy < 0 ? -1 : path.signY);
            }
            const auto length = static_cast<uint16_t>(path.steps.size());
            path.reachX.assign(World::kMaxWidth + SpentCells::kTile + 1, length);
            path.reachY.assign(World::kMaxHeight + SpentCells::kTile + 1, length);
            for (size_t k = path.steps.size(); k-- > 0;) {
                for (int v = 0; v <= std::abs(path.steps[k].dx); ++v)
                    path.reachX[static_cast<size_t>(v)] = static_cast<uint16_t>(k);
                for (int v = 0; v <= std::abs(path.steps[k].dy); ++v)
                    path.reachY[static_cast<size_t>(v)] = static_cast<uint16_t>(k);
            }
        }
        return all;
    }();
    return paths;
}

// The last step of a ray from (x, y) that lands in a tile with a live cell,
// or -1: past it every cell is spent and the ray changes nothing more. Walks
// the tiles the path crosses, not its cells.
int lastLiveStep(const SpentCells& spent, const RayPath& path, int x, int y)
{
    constexpr int T = SpentCells::kTile;
    const int length = static_cast<int>(path.steps.size());
    const auto reach = [](const std::vector<uint16_t>& table, int v) {
        return v < static_cast<int>(table.size()) ? static_cast<int>(table[static_cast<size_t>(v)])
                                                  : static_cast<int>(table.back());
    };
    int tx = x / T;
    int ty = y / T;
    // The size of offset at which the path enters the next column or row of tiles.
    int vx = path.signX > 0 ? T - x % T : x % T + 1;
    int vy = path.signY > 0 ? T - y % T : y % T + 1;
    int last = -1;
    int k = 0;
    while (k < length) {
        const int kx = path.signX != 0 ? reach(path.reachX, vx) : length;
        const int ky = path.signY != 0 ? reach(path.reachY, vy) : length;
        const int next = std::min({kx, ky, length});
        if (next > k && spent.liveInTile(tx, ty) > 0)
            last = next - 1;
        if (kx == next) {
            tx += path.signX;
            vx += T;
        }
        if (ky == next) {
            ty += path.signY;
            vy += T;
        }
        k = next;
        if (tx < 0 || ty < 0 || tx >= SpentCells::kTilesAcross || ty >= SpentCells::kTilesDown)
            break;
    }
    return last;
}

// The steps of a path whose offset across (or down) lies in [lo, hi], as a
// range [first, last] (empty when first > last).
void stepsWithin(const std::vector<uint16_t>& reach, int sign, int length, int lo, int hi, int& first, int& last)
{
    const auto at = [&](int v) {
        return v < static_cast<int>(reach.size()) ? static_cast<int>(reach[static_cast<size_t>(v)]) : length;
    };
    if (sign < 0) {
        const int flipped = -lo;
        lo = -hi;
        hi = flipped;
    }
    if (hi < 0 || (sign == 0 && lo > 0)) {
        first = 1;
        last = 0;
        return;
    }
    if (sign == 0) {
        first = 0;
        last = length - 1;
        return;
    }
    first = lo <= 0 ? 0 : at(lo);
    last = at(hi + 1) - 1;
}

// As lastLiveStep, from the few live tiles left: each tells the steps of
// the path that fall in it.
int lastLiveStepAmong(const int16_t* across, const int16_t* down, int tiles, const RayPath& path, int x, int y)
{
    constexpr int T = SpentCells::kTile;
    const int length = static_cast<int>(path.steps.size());
    int last = -1;
    for (int t = 0; t < tiles; ++t) {
        int firstX, lastX, firstY, lastY;
        stepsWithin(path.reachX, path.signX, length, across[t] * T - x, across[t] * T + T - 1 - x, firstX, lastX);
        if (firstX > lastX)
            continue;
        stepsWithin(path.reachY, path.signY, length, down[t] * T - y, down[t] * T + T - 1 - y, firstY, lastY);
        const int end = std::min({lastX, lastY, length - 1});
        if (std::max(firstX, firstY) <= end)
            last = std::max(last, end);
    }
    return last;
}

// Blast factors by class: every class gives one value for all its particles,
// so the walk asks each class once (a few hundred classes at most, fixed
// room) instead of making a call for every cell a ray crosses.
float blastFactorOf(const Particle* p)
{
    struct Entry {
        const std::type_info* kind;
        float factor;
    };
    static Entry table[1024] = {};
    static Entry lastAsked = {};
    const std::type_info* kind = &typeid(*p);
    if (lastAsked.kind == kind)
        return lastAsked.factor;
    auto slot = static_cast<uint32_t>((reinterpret_cast<uintptr_t>(kind) >> 4) * 2654435761u) >> 22;
    for (int probe = 0; probe < 1024; ++probe, slot = (slot + 1) & 1023u) {
        Entry& entry = table[slot];
        if (!entry.kind)
            entry = {kind, p->getBlastFactor()};
        if (entry.kind == kind) {
            lastAsked = entry;
            return entry.factor;
        }
    }
    return p->getBlastFactor();
}

// Whether no ray can change the cell any more: its heat is at the top of the
// scale (a ray only adds), and its occupant passes rays, stops them, or is
// already queued to become an Explosion.
bool blastSpent(const World* w, int cx, int cy)
{
    if (!(w->temperatureField.getAt(cx, cy) >= TemperatureField::kMax))
        return false;
    const Particle* p = w->grid[cx][cy];
    if (!p)
        return false;
    const uint32_t kind = w->kindAt(cx, cy);
    const float f = blastFactorOf(p);
    if (f > 1.0f || f <= 0.0f)
        return true;
    return kind != kExplosionId && kind != kFireworksId && w->queuedToBecome(cx, cy, kExplosionId);
}

}  // namespace

// Each ray walks its cells as walkBlastRays would; the cells it finds spent
// are marked, and a long ray first looks for the last tile on its way that
// still holds a live cell and stops there. So a field of charges going off
// in one step costs about the cells the blasts reach.
void prepareBlasts()
{
    rayPaths();
}

void explode(int x, int y, int energy)
{
    World* w = gWorld;
    const std::vector<RayPath>& paths = rayPaths();
    SpentCells& spent = w->spentCells;
    spent.begin(w->width, w->height, w->temperatureField.bulkChanges());
    // A ray looks ahead at once when the blast starts among spent cells (a
    // charge in a field going off), else only once it has walked this far:
    // most blasts' rays end sooner.
    constexpr int kLongRay = 12;
    // When few tiles hold live cells, a ray asks them rather than walking
    // the tiles on its way.
    constexpr int kFewTiles = 24;
    int16_t liveAcross[kFewTiles];
    int16_t liveDown[kFewTiles];
    const int liveTiles =
        spent.liveTiles() <= kFewTiles ? spent.listLiveTiles(liveAcross, liveDown, kFewTiles) : kFewTiles + 1;
    const int lookAhead = !w->inWorld(x, y)                                   ? -1
        : spent.liveInTile(x / SpentCells::kTile, y / SpentCells::kTile) == 0 ? 0
                                                                              : kLongRay;
    const float E = static_cast<float>(energy);
    for (int i = 0; i < SinCosTable::kDirections; ++i) {
        float e = static_cast<float>(gameRand() % 5) + E - 2.0f;
        if (e > 0.0f)
            e = static_cast<float>(gameRand() % 5) + E - 2.0f;
        const RayPath& path = paths[static_cast<size_t>(i)];
        int end = static_cast<int>(path.steps.size());
        for (int k = 0; k < end; ++k) {
            const RayStep& step = path.steps[static_cast<size_t>(k)];
            const float d = step.d;
            if (!(e > d))
                break;
            if (k == lookAhead) {
                end = (liveTiles <= kFewTiles ? lastLiveStepAmong(liveAcross, liveDown, liveTiles, path, x, y)
                                              : lastLiveStep(spent, path, x, y)) +
                    1;
                if (k >= end)
                    break;
            }
            const int cx = x + step.dx;
            const int cy = y + step.dy;
            if (!w->inWorld(cx, cy))
                break;
            Particle* p = w->grid[cx][cy];
            if (p && spent.isSpent(cx, cy)) {
                // Only the ray changes here: its heat and its replacement
                // would change nothing.
                const float f = blastFactorOf(p);
                if (f >= 0.0f)
                    e *= f;
                continue;
            }
            if (!p) {
                w->addParticle(cx, cy, kExplosionId, false);
                e *= 0.95f;
            } else {
                const float f = blastFactorOf(p);
                if (f >= 0.0f) {
                    e *= f;
                    if (f <= 1.0f && e - d > 1.0f) {
                        const uint32_t type = w->kindAt(cx, cy);
                        if (type == kExplosionId)
                            p->setLife(gameRand() % 20);
                        else if (type == kFireworksId)
                            p->burst();
                        else
                            w->queueReplaceById(cx, cy, kExplosionId);
                    }
                }
            }
            w->temperatureField.addAt(cx, cy, std::fabs(e - d) * 100.0f);
            if (blastSpent(w, cx, cy))
                spent.markSpent(cx, cy);
        }
    }
}

void explodeColored(int x, int y, int energy, float hue, int colours)
{
    World* w = gWorld;
    SinCosTable::generateIfNecessary();
    // A burst has two or three tints; past four the saturation is spent, so
    // a small fixed palette serves and a burst allocates nothing.
    colours = std::clamp(colours, 1, kMaxBurstColours);
    ccColor4B palette[kMaxBurstColours];
    for (int k = 0; k < colours; ++k)
        palette[k] = goldenRatioColor(hue, 1.0f - 0.25f * static_cast<float>(k), 1.0f);

    walkBlastRays(x, y, energy, 25.0f, [&](int cx, int cy, Particle* p, float& e, float) {
        // The firework's own cell only weakens the ray.
        if (p && cx == x && cy == y) {
            e *= p->getBlastFactor();
            return false;
        }
        if (p && p->getType() == kExplosionId) {
            p->setColor(palette[gameRand() % colours]);
            p->setTinted(true);
            p->setLife(gameRand() % 20);
        } else if (p) {
            e = 0.0f;
        } else {
            Particle* spark = w->addParticle(cx, cy, kExplosionId, false);
            e *= 0.95f;
            if (spark) {
                spark->setColor(palette[gameRand() % colours]);
                spark->setTinted(true);
            }
        }
        return true;
    });
}

// --- neighbour queries -------------------------------------------------------

Particle* Particle::getRandomNeighbourAt(int dx, int dy) const
{
    const int rx = randomOffset();
    const int ry = randomOffset();
    return gWorld->at(x + dx + rx, y + dy + ry);
}

Particle* Particle::findNeighbour(uint32_t type) const
{
    const World* w = gWorld;
    for (int cy = y - 1; cy <= y + 1; ++cy)
        for (int cx = x - 1; cx <= x + 1; ++cx) {
            Particle* p = w->at(cx, cy);
            if (isType(p, type))
                return p;
        }
    return nullptr;
}

Particle* Particle::findHumanNear(int dx, int dy) const
{
    const World* w = gWorld;
    for (int cy = y + dy - 1; cy <= y + dy + 1; ++cy)
        for (int cx = x + dx - 1; cx <= x + dx + 1; ++cx) {
            Particle* p = w->at(cx, cy);
            if (isType(p, kHumanLeaderId))
                return p;
        }
    return nullptr;
}

Particle* Particle::randomNeighbourOfType(uint32_t type) const
{
    if (countNeighboursOfType(type) == 0)
        return nullptr;
    const World* w = gWorld;
    for (int draw = 0; draw < kMaxRandomDraws; ++draw) {
        const int rx = randomOffset();
        const int ry = randomOffset();
        Particle* p = w->at(x + rx, y + ry);
        if (isType(p, type))
            return p;
    }
    return nullptr;
}

Particle* Particle::randomNeighbourOfTypeAt(uint32_t type, int dx, int dy) const
{
    // The counted block is the drawn one clamped, so a counted match can
    // always be drawn; the bound only guards against a scripted generator.
    if (countNeighboursOfTypeAt(type, dx, dy) == 0)
        return nullptr;
    for (int draw = 0; draw < kMaxRandomDraws; ++draw) {
        Particle* p = getRandomNeighbourAt(dx, dy);
        if (isType(p, type))
            return p;
    }
    return nullptr;
}

CCPoint Particle::randomEmptyNeighbour() const
{
    if (countEmptyNeighbours() >= 1) {
        const int cx = x + randomOffset();
        const int cy = y + randomOffset();
        // A cell outside the world counts as empty for the count but is never
        // handed out: nothing may be placed there.
        if (gWorld->inWorld(cx, cy) && !gWorld->grid[cx][cy])
            return ccp(static_cast<float>(cx), static_cast<float>(cy));
    }
    return ccp(-1.0f, -1.0f);
}

Particle* Particle::findNearest(uint32_t type, int radius) const
{
    const World* w = gWorld;
    const int x0 = std::max(x - radius, 0);
    const int x1 = std::min(x + radius, w->width - 1);
    const int y0 = std::max(y - radius, 0);
    const int y1 = std::min(y + radius, w->height - 1);
    Particle* nearest = nullptr;
    int best = 9999999;
    // The kinds are read from the world's flat array four at a time: a
    // search covers hundreds of cells and few hold the kind. (A row's last
    // four may reach past the cells in use; the array has room for them.)
    using Lanes = uint32_t __attribute__((vector_size(16)));
    const Lanes wanted = {type, type, type, type};
    for (int cy = y0; cy <= y1; ++cy)
        for (int cx0 = x0; cx0 <= x1; cx0 += 4) {
            Lanes kinds;
            std::memcpy(&kinds, w->kindsFrom(cx0, cy), sizeof kinds);
            const Lanes hits = kinds == wanted;
#if defined(__SSE2__)
            auto lanes = static_cast<unsigned>(_mm_movemask_ps(reinterpret_cast<__m128>(hits)));
#else
            unsigned lanes = 0;
            for (int i = 0; i < 4; ++i)
                lanes |= (hits[i] & 1u) << i;
#endif
            // Lanes past the row's end are not searched.
            if (x1 - cx0 < 3)
                lanes &= (1u << (x1 - cx0 + 1)) - 1;
            for (; lanes; lanes &= lanes - 1) {
                const int cx = cx0 + __builtin_ctz(lanes);
                Particle* p = w->grid[cx][cy];
                if (!p || p == this)
                    continue;
                const int distance = (cx - x) * (cx - x) + (cy - y) * (cy - y);
                if (distance < best) {
                    best = distance;
                    nearest = p;
                }
            }
        }
    return nearest;
}

bool Particle::isAreaEmpty(int dx1, int dx2, int dy) const
{
    const World* w = gWorld;
    const int x0 = std::max(x + dx1, 0);
    const int x1 = std::min(x + dx2, w->width - 1);
    const int y0 = std::max(y + dy, 0);
    const int y1 = std::min(y - 1, w->height - 1);
    for (int cx = x0; cx <= x1; ++cx)
        for (int cy = y0; cy <= y1; ++cy)
            if (w->grid[cx][cy])
                return false;
    return true;
}

void Particle::removeNeighboursOfType(uint32_t type) const
{
    World* w = gWorld;
    for (int cy = y - 1; cy <= y + 1; ++cy)
        for (int cx = x - 1; cx <= x + 1; ++cx) {
            Particle* p = w->at(cx, cy);
            if (p != this && isType(p, type))
                w->queueRemove(cx, cy);
        }
}

Particle* Particle::findGrassAlong(int dx, bool right) const
{
    const World* w = gWorld;
    const int stepX = right ? 1 : -1;
    int px = x + dx;
    int py = y - 1;
    for (int step = 0; step < 20; ++step) {
        if (!w->inWorld(px, py))
            return nullptr;
        if (w->grid[px][py]) {
            // Ground: climb to the first empty cell above, at most a few rows.
            const int limit = std::min(py + 5, w->height - 1);
            bool climbed = false;
            for (int cy = py + 1; cy < limit; ++cy) {
                Particle* p = w->grid[px][cy];
                if (!p) {
                    px += stepX;
                    py = cy - 1;
                    climbed = true;
                    break;
                }
                if (p->getType() == kGrassId)
                    return p;
            }
            if (!climbed)
                return nullptr;
        } else {
            // No ground: look for something to stand on not too far down.
            const int from = std::max(py - 10, 0);
            const int to = std::min(py - 1, w->height - 1);
            bool landed = false;
            for (int cy = from; cy < to; ++cy) {
                Particle* p = w->grid[px][cy];
                if (!p)
                    continue;
                if (p->getType() == kGrassId)
                    return p;
                px += stepX;
                py = cy;
                landed = true;
                break;
            }
            if (!landed)
                return nullptr;
        }
        Particle* here = w->at(px, py);
        if (isType(here, kGrassId))
            return here;
    }
    return nullptr;
}

int Particle::countWoodAbove(int dx, int dy) const
{
    const World* w = gWorld;
    int count = 0;
    for (int cy = y + dy + 1; isType(w->at(x + dx, cy), kWoodId); ++cy)
        ++count;
    return count;
}

int Particle::countEmptyNeighbours() const
{
    const World* w = gWorld;
    int count = 0;
    for (int cy = y - 1; cy <= y + 1; ++cy)
        for (int cx = x - 1; cx <= x + 1; ++cx)
            if (!w->at(cx, cy))
                ++count;
    return count;
}

int Particle::countOccupiedNeighbours() const
{
    return 9 - countEmptyNeighbours();
}

int Particle::countNeighboursOfType(uint32_t type) const
{
    const World* w = gWorld;
    int count = 0;
    for (int cy = y - 1; cy <= y + 1; ++cy)
        for (int cx = x - 1; cx <= x + 1; ++cx) {
            const Particle* p = w->at(cx, cy);
            if (p != this && isType(p, type))
                ++count;
        }
    return count;
}

int Particle::countNeighboursOfTypeAt(uint32_t type, int dx, int dy) const
{
    const World* w = gWorld;
    const int x0 = std::max(x + dx - 1, 1);
    const int x1 = std::min(x + dx + 1, w->width - 2);
    const int y0 = std::max(y + dy - 1, 1);
    const int y1 = std::min(y + dy + 1, w->height - 2);
    int count = 0;
    for (int cy = y0; cy <= y1; ++cy)
        for (int cx = x0; cx <= x1; ++cx) {
            const Particle* p = w->grid[cx][cy];
            if (p != this && isType(p, type))
                ++count;
        }
    return count;
}

int Particle::countEmptyAbove() const
{
    const World* w = gWorld;
    int count = 0;
    for (int cx = x - 1; cx <= x + 1; ++cx)
        if (!w->at(cx, y + 1))
            ++count;
    return count;
}

int Particle::countOccupiedBelow() const
{
    const World* w = gWorld;
    int count = 0;
    // The occupancy bytes say what at() would: every cell in the world that
    // holds a particle (the border wall included) is marked.
    for (int cx = x - 1; cx <= x + 1; ++cx)
        count += w->inWorld(cx, y - 1) && w->occupiedAt(cx, y - 1);
    return count;
}
