#include "world/Tools.h"

#include <cmath>
#include <vector>
#include <memory>

#include "world/GameServices.h"
#include "world/OutsideWall.h"
#include "world/ParticleCreator.h"
#include "world/World.h"

USING_NS_CC;

namespace {

constexpr int kFillFlag = World::kEventFillUsed;
constexpr int kReplaceFlag = World::kEventReplaceUsed;

int32_t trunc32(float v)
{
    return static_cast<int32_t>(v);
}

bool loadedWorldIs(const char* name)
{
    return gameServices().loadedWorldName && gameServices().loadedWorldName() == name;
}

// The shared start of Fill and Replace: false when the stroke must change
// nothing. An element the factory cannot make (other than the eraser) would
// otherwise erase the region, so it changes nothing too.
bool oneShotMayAct(Tool& tool, const std::string& element, const char* world, int flag)
{
    tool.countdown = 0;
    tool.livingStroke = false;
    if (element.empty())
        return false;
    if (element != "Clear") {
        std::unique_ptr<Particle> probe(ParticleCreator::createByName(element.c_str()));
        if (!probe || probe->isLiving())
            return false;
    }
    if (gWorld && loadedWorldIs(world))
        gWorld->eventFlags[flag] = 1;
    return true;
}

uint32_t typeAt(World& w, int32_t x, int32_t y)
{
    Particle* p = w.at(x, y);
    return p ? p->getType() : 0;
}

// The four neighbours a flood looks at, in order, under its bounds: column 0
// and row 0 are never queued.
template <typename F> void forNeighbours(const World& w, int32_t c, int32_t r, F&& visit)
{
    if (c > 1)
        visit(c - 1, r);
    if (c < w.width - 1)
        visit(c + 1, r);
    if (r > 1)
        visit(c, r - 1);
    if (r < w.height - 1)
        visit(c, r + 1);
}

// The first-in first-out queue of a flood. A cell is queued at most once:
// once taken it never matches again (it was converted, or stays as it is), so
// a second entry would only be dropped when taken. The cells therefore change
// in the same order as with repeated entries, at a quarter of the queue work.
class FloodQueue {
public:
    explicit FloodQueue(const World& w) : m_height(w.height), m_queued(static_cast<size_t>(w.width * w.height), 0)
    {
        m_cells.reserve(m_queued.size());
    }
    void push(int32_t c, int32_t r)
    {
        const size_t index = static_cast<size_t>(c * m_height + r);
        if (m_queued[index])
            return;
        m_queued[index] = 1;
        m_cells.push_back(index);
    }
    bool empty() const { return m_head == m_cells.size(); }
    std::pair<int32_t, int32_t> pop()
    {
        const size_t index = m_cells[m_head++];
        return {static_cast<int32_t>(index / static_cast<size_t>(m_height)),
                static_cast<int32_t>(index % static_cast<size_t>(m_height))};
    }

private:
    int32_t m_height;
    std::vector<uint8_t> m_queued;
    std::vector<size_t> m_cells;
    size_t m_head = 0;
};

}  // namespace

// --- Draw ----------------------------------------------------------------------

void Draw::apply(CCArray* previous, CCArray* touches)
{
    if (!touches)
        return;
    const std::string element = currentElementName();
    const bool single = magnified();
    if (element == "Clear") {
        for (unsigned i = 0; i < touches->count(); ++i) {
            CCObject* entry = touches->objectAtIndex(i);
            const CCPoint t = touchPoint(entry);
            if (CCObject* prev = previousOf(previous, entry)) {
                const CCPoint p = touchPoint(prev);
                eraseLineWithBrush(this, trunc32(p.x), trunc32(p.y), trunc32(t.x), trunc32(t.y));
            } else if (!single) {
                eraseDisc(this, brushSize(), t);
            } else {
                eraseCell(this, trunc32(t.x), trunc32(t.y));
            }
        }
        return;
    }
    if (!single && applyLivingRule(element, touches))
        return;
    for (unsigned i = 0; i < touches->count(); ++i) {
        CCObject* entry = touches->objectAtIndex(i);
        CCObject* prev = previousOf(previous, entry);
        if (!prev)
            continue;
        const CCPoint p = touchPoint(prev);
        const CCPoint t = touchPoint(entry);
        drawLine(trunc32(p.x), trunc32(p.y), trunc32(t.x), trunc32(t.y));
    }
}

// --- Line ----------------------------------------------------------------------

void Line::lockAxis(CCPoint& p, CCPoint& t)
{
    if (!axisLocked) {
        const float adx = std::fabs(p.x - t.x);
        const float ady = std::fabs(p.y - t.y);
        if (adx + ady > 0.5f) {
            // A tie keeps the stroke on the row it started on.
            horizontal = adx >= ady;
            lockedCoord = horizontal ? trunc32(p.y) : trunc32(p.x);
            axisLocked = true;
        } else {
            return;
        }
    }
    if (horizontal) {
        p.y = static_cast<float>(lockedCoord);
        t.y = static_cast<float>(lockedCoord);
    } else {
        p.x = static_cast<float>(lockedCoord);
        t.x = static_cast<float>(lockedCoord);
    }
}

void Line::apply(CCArray* previous, CCArray* touches)
{
    const std::string element = currentElementName();
    if (!touches || touches->count() == 0 || !touches->objectAtIndex(0))
        return;
    CCObject* first = touches->objectAtIndex(0);
    if (element != "Clear" && !magnified() && applyLivingRule(element, touches))
        return;
    CCObject* prev = previousOf(previous, first);
    if (!prev)
        return;
    CCPoint p = touchPoint(prev);
    CCPoint t = touchPoint(first);
    lockAxis(p, t);
    if (element == "Clear")
        eraseLineWithBrush(this, trunc32(p.x), trunc32(p.y), trunc32(t.x), trunc32(t.y));
    else
        drawLine(trunc32(p.x), trunc32(p.y), trunc32(t.x), trunc32(t.y));
}

void Line::finish(int32_t x, int32_t y)
{
    Tool::finish(x, y);
    axisLocked = false;
    horizontal = false;
    lockedCoord = 0;
}

// --- Miner ---------------------------------------------------------------------

void Miner::apply(CCArray* previous, CCArray* touches)
{
    if (!touches)
        return;
    const int32_t size = brushSize();
    const int32_t inner = size <= 1 ? 1 : size - 1;
    const int32_t rim = inner + 1;
    for (unsigned i = 0; i < touches->count(); ++i) {
        CCObject* entry = touches->objectAtIndex(i);
        const CCPoint t = touchPoint(entry);
        if (CCObject* prev = previousOf(previous, entry)) {
            const CCPoint p = touchPoint(prev);
            eraseLine(this, trunc32(p.x), trunc32(p.y), trunc32(t.x), trunc32(t.y), inner);
            coatLine(this, trunc32(p.x), trunc32(p.y), trunc32(t.x), trunc32(t.y), "Wall", rim);
        } else {
            eraseDisc(this, inner, t);
            coatDisc(this, rim, t, "Wall");
        }
    }
}

// --- Fill ----------------------------------------------------------------------

void Fill::finish(int32_t x, int32_t y)
{
    const std::string element = currentElementName();
    if (!oneShotMayAct(*this, element, "Day15", kFillFlag))
        return;
    if (!gWorld || !gWorld->inWorld(x, y))
        return;
    if (element == "Clear")
        floodClear(x, y);
    else
        floodReplace(x, y);
}

void Fill::floodReplace(int32_t x, int32_t y)
{
    World* w = gWorld;
    if (!w || !w->inWorld(x, y))
        return;
    if (!w->at(x, y)) {
        floodEmpty(x, y);
        return;
    }
    const uint32_t target = typeAt(*w, x, y);
    const uint32_t made = hashString(currentElementName());
    if (target == made || target == OutsideWall::kTypeId)
        return;
    FloodQueue queue(*w);
    queue.push(x, y);
    while (!queue.empty()) {
        const auto [c, r] = queue.pop();
        if (typeAt(*w, c, r) != target)
            continue;
        w->removeParticle(c, r);
        // A cell the pool cannot fill any more ends the spread there, so a
        // full pool cannot keep the queue alive.
        if (!w->addParticle(c, r, made, false))
            continue;
        forNeighbours(*w, c, r, [&](int32_t nc, int32_t nr) {
            if (typeAt(*w, nc, nr) == target)
                queue.push(nc, nr);
        });
    }
}

void Fill::floodEmpty(int32_t x, int32_t y)
{
    World* w = gWorld;
    if (!w || !w->inWorld(x, y))
        return;
    const uint32_t made = hashString(currentElementName());
    FloodQueue queue(*w);
    queue.push(x, y);
    while (!queue.empty()) {
        const auto [c, r] = queue.pop();
        if (w->at(c, r))
            continue;
        // Neighbours only after a successful add: a refused add (full pool)
        // would leave the cell empty and re-queue around it forever.
        if (!w->addParticle(c, r, made, false))
            continue;
        forNeighbours(*w, c, r, [&](int32_t nc, int32_t nr) {
            if (!w->at(nc, nr))
                queue.push(nc, nr);
        });
    }
}

void Fill::floodClear(int32_t x, int32_t y)
{
    World* w = gWorld;
    if (!w || !w->at(x, y))
        return;
    const uint32_t target = typeAt(*w, x, y);
    if (target == OutsideWall::kTypeId)
        return;
    FloodQueue queue(*w);
    queue.push(x, y);
    while (!queue.empty()) {
        const auto [c, r] = queue.pop();
        if (typeAt(*w, c, r) != target)
            continue;
        w->removeParticle(c, r);
        forNeighbours(*w, c, r, [&](int32_t nc, int32_t nr) {
            if (typeAt(*w, nc, nr) == target)
                queue.push(nc, nr);
        });
    }
}

// --- Replace -------------------------------------------------------------------

void Replace::finish(int32_t x, int32_t y)
{
    const std::string element = currentElementName();
    if (!oneShotMayAct(*this, element, "Day21", kReplaceFlag))
        return;
    World* w = gWorld;
    if (!w || !w->inWorld(x, y))
        return;
    Particle* touched = w->at(x, y);
    if (element == "Clear") {
        if (touched)
            removeAll(touched->getType());
    } else if (!touched) {
        fillAllEmpty(hashString(element));
    } else {
        replaceAll(touched->getType(), hashString(element));
    }
}

void Replace::replaceAll(uint32_t from, uint32_t to)
{
    World* w = gWorld;
    if (!w || from == to || from == OutsideWall::kTypeId)
        return;
    for (int32_t y = 1; y <= w->height - 2; ++y)
        for (int32_t x = 1; x <= w->width - 2; ++x)
            if (typeAt(*w, x, y) == from) {
                w->removeParticle(x, y);
                w->addParticle(x, y, to, false);
            }
}

void Replace::fillAllEmpty(uint32_t type)
{
    World* w = gWorld;
    if (!w)
        return;
    for (int32_t y = 1; y <= w->height - 2; ++y)
        for (int32_t x = 1; x <= w->width - 2; ++x)
            if (!w->at(x, y))
                w->addParticle(x, y, type, false);
}

void Replace::removeAll(uint32_t type)
{
    World* w = gWorld;
    if (!w || type == OutsideWall::kTypeId)
        return;
    for (int32_t y = 1; y <= w->height - 2; ++y)
        for (int32_t x = 1; x <= w->width - 2; ++x)
            if (typeAt(*w, x, y) == type)
                w->removeParticle(x, y);
}
