#include "elements/living/Flocks.h"

#include <algorithm>
#include <cstdlib>

#include "elements/creatures/CreatureCounts.h"
#include "world/ByteStream.h"

namespace {

int clampX(int x)
{
    return std::clamp(x, 0, gWorld->width - 1);
}

int clampY(int y)
{
    return std::clamp(y, 0, gWorld->height - 1);
}

bool emptyCell(int cx, int cy)
{
    return gWorld->inWorld(cx, cy) && !gWorld->grid[cx][cy];
}

}  // namespace

FlockRegistry& FlockRegistry::getInstance()
{
    static FlockRegistry registry = [] {
        FlockRegistry r;
        r.flocks_.reserve(16);
        return r;
    }();
    return registry;
}

FlockRegistry::Flock& FlockRegistry::flockOf(uint32_t type)
{
    for (auto& [t, flock] : flocks_)
        if (t == type)
            return flock;
    flocks_.emplace_back(type, Flock{});
    return flocks_.back().second;
}

const FlockRegistry::Flock* FlockRegistry::findFlock(uint32_t type) const
{
    for (const auto& [t, flock] : flocks_)
        if (t == type)
            return &flock;
    return nullptr;
}

bool FlockRegistry::has(uint32_t type, const Flocking* member)
{
    flockOf(type);
    return member->m_inFlock && member->m_flockType == type;
}

Flocking* FlockRegistry::getLeader(uint32_t type)
{
    return flockOf(type).leader;
}

void FlockRegistry::join(uint32_t type, Flocking* member, bool isLeader)
{
    // One entry per member: a second join moves it to the end of its new list.
    leave(member);
    Flock& flock = flockOf(type);
    member->m_previous = flock.last;
    member->m_next = nullptr;
    (flock.last ? flock.last->m_next : flock.first) = member;
    flock.last = member;
    ++flock.count;
    member->m_inFlock = true;
    member->m_flockType = type;
    const FlockSettings& s = FlockSettings::shared();
    member->spread = s.spread;
    member->dirX = s.dirX;
    member->dirY = s.dirY;
    member->isLeader = isLeader;
    if (isLeader && !flock.leader)
        flock.leader = member;
}

void FlockRegistry::leave(const Flocking* member)
{
    if (!member->m_inFlock)
        return;
    Flocking* leaving = const_cast<Flocking*>(member);
    Flock& flock = flockOf(leaving->m_flockType);
    Flocking* next = leaving->m_next;
    (leaving->m_previous ? leaving->m_previous->m_next : flock.first) = next;
    (next ? next->m_previous : flock.last) = leaving->m_previous;
    leaving->m_previous = nullptr;
    leaving->m_next = nullptr;
    --flock.count;
    leaving->m_inFlock = false;
    if (flock.leader != leaving)
        return;
    // No member before the old leader led: the next leader comes after it.
    flock.leader = nullptr;
    for (; next; next = next->m_next)
        if (next->isLeader) {
            flock.leader = next;
            break;
        }
}

size_t FlockRegistry::memberCount(uint32_t type) const
{
    const Flock* flock = findFlock(type);
    return flock ? flock->count : 0;
}

void FlockRegistry::resetForTests()
{
    for (auto& [type, flock] : flocks_)
        for (Flocking* member = flock.first; member;) {
            Flocking* next = member->m_next;
            member->m_inFlock = false;
            member->m_previous = nullptr;
            member->m_next = nullptr;
            member = next;
        }
    flocks_.clear();
}

template <const ElementInfo& Info> void FlockMemberOf<Info>::saveExtra(ByteWriter& out)
{
    out.u32(flockId);
}

template <const ElementInfo& Info> void FlockMemberOf<Info>::loadExtra(ByteReader& in)
{
    uint32_t word = 0;
    if (in.u32(word))
        flockId = word;
}

template <const ElementInfo& Info> void FlockMemberOf<Info>::flutter()
{
    const int dx = gameRand() % 2 != 0 ? -1 : 1;
    const int dy = gameRand() % 2 != 0 ? -1 : 1;
    if (emptyCell(this->x + dx, this->y + dy))
        this->moveTo(this->x + dx, this->y + dy);
}

template <const ElementInfo& Info> void FlockMemberOf<Info>::flockStep()
{
    if (!started) {
        started = true;
        return;
    }
    FlockRegistry& flocks = FlockRegistry::getInstance();
    const uint32_t type = this->getType();
    if (!flocks.has(type, this))
        flocks.join(type, this, flocks.getLeader(type) == nullptr);
    const int x = this->x;
    const int y = this->y;
    if (isLeader) {
        const int nx = clampX(x + dirX);
        // Any occupant turns the leader, a wall or a flock mate.
        if (emptyCell(nx, y))
            this->moveTo(nx, y);
        else
            dirX = -dirX;
        return;
    }
    Flocking* leader = flocks.getLeader(type);
    if (!leader)
        return;
    const Particle& l = leader->cell();
    if ((leader->dirX > 0 && x >= l.x) || (leader->dirX < 0 && x <= l.x)) {
        flutter();
        return;
    }
    int nx = clampX(x + dirX);
    if (dirX + std::abs(x - l.x) > std::abs(spread * dirX) && emptyCell(nx, y)) {
        dirX = leader->dirX;
        nx = clampX(x + leader->dirX);
    }
    const int d = dirY;
    const int dy = std::abs(y - l.y);
    int ny;
    if (dy + d <= std::abs(spread * d)) {
        dirY = -d;
        ny = y - d;
    } else if (!emptyCell(x, clampY(y - d))) {
        ny = y - d;
    } else {
        dirY = -d;
        ny = y + d;
    }
    ny = clampY(ny);
    if (emptyCell(nx, ny))
        this->moveTo(nx, ny);
}

template class FlockMemberOf<kFlockMemberInfo>;
template class FlockMemberOf<kFlamingoInfo>;

Flamingo::~Flamingo()
{
    if (started && counted)
        --CreatureCounts::flamingos;
}

void Flamingo::saveExtra(ByteWriter& out)
{
    out.u32(saveWord);
}

void Flamingo::loadExtra(ByteReader& in)
{
    uint32_t word = 0;
    if (in.u32(word))
        saveWord = word;
}

Particle* Flamingo::findWaterBelow()
{
    fishing = false;
    const World& w = world();
    const int cx = clampX(x);
    for (int cy = clampY(y); cy >= 0; --cy) {
        Particle* p = w.grid[cx][cy];
        if (p && p->getType() == TypeId::Water) {
            fishing = true;
            return p;
        }
    }
    return nullptr;
}

void Flamingo::diveToward()
{
    if (!emptyCell(waterX, clampY(waterY + 1)))
        return;
    const int below = clampY(y - 1);
    if (emptyCell(x, below)) {
        moveTo(x, below);
    } else {
        fishing = false;
        flutter();
    }
}

void Flamingo::eatFishBelow()
{
    for (int k = 0; k >= -2; --k) {
        if (countNeighboursOfTypeAt(LivingId::Fish, 0, k) == 0)
            continue;
        if (Particle* fish = randomNeighbourOfTypeAt(LivingId::Fish, 0, k)) {
            fed = true;
            world().queueRemove(fish->x, fish->y);
        }
    }
}

void Flamingo::update()
{
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance))
        return;
    if (started && !counted) {
        ++CreatureCounts::flamingos;
        counted = true;
    }
    if (!fishing) {
        flockStep();
        eatFishBelow();
    }
    int32_t& count = CreatureCounts::flamingos;
    if (cycle + count + gameRand() % 30 >= 200) {
        fishing = false;
        ++cycle;
    }
    if (cycle + count + gameRand() % 30 >= 300) {
        cycle = 0;
        return;
    }
    Particle* water = nullptr;
    if (cycle + count < 200)
        water = findWaterBelow();
    if (fishing && !fed && water) {
        waterX = water->x;
        waterY = water->y;
        diveToward();
        eatFishBelow();
        ++cycle;
    } else {
        flutter();
    }
    if (!water)
        flutter();
    if (fed && ++fedTicks >= kFedSteps) {
        fed = false;
        fedTicks = 0;
    }
}

void registerFlocks()
{
    registerElements<Flamingo>();
}
