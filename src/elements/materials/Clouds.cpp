#include "elements/materials/Clouds.h"

#include <algorithm>

#include "cocos2d_extensions/CCValue.h"
#include "world/ParticlePool.h"

USING_NS_CC;

namespace {

constexpr int kRainMembers = 150;   // members + rand() % 20 above this arms rain
constexpr int kStormMembers = 250;  // members + rand() % 60 above this arms storm
constexpr int kStormRows = 10;      // a group taller than this arms storm
constexpr float kPeriodStep = 0.05f;
constexpr float kShortestPeriod = 1.05f;

int sign(int v)
{
    return (v > 0) - (v < 0);
}

// The box of a group in the world's cloud list; its group changes when it
// serves another.
class CloudListBox : public cocos2d_extensions::CCValue<CloudBlob*> {
public:
    CloudBlob* getValue() const override { return blob; }
    CloudBlob* blob = nullptr;
};

// What groups gone leave for the next ones: list boxes (each with the one
// reference that keeps it) and emptied member lists with their room.
// (Never destroyed, so what it keeps is still held when the program ends.)
constexpr size_t kMostSpares = 1024;
std::vector<CloudListBox*>& g_spareBoxes = *[] {
    auto* list = new std::vector<CloudListBox*>();
    list->reserve(kMostSpares);
    return list;
}();

// Member lists of groups gone: small ones for the new groups, and the
// roomiest large ones for the merges that need them (a storm's groups merge
// into ever larger ones). Their own room is taken at start-up.
using MemberList = std::vector<Cloud*>;
constexpr size_t kSmallList = 64;
constexpr size_t kMostSmallLists = 1024;
constexpr size_t kMostLargeLists = 64;
std::vector<MemberList> reservedLists(size_t count)
{
    std::vector<MemberList> lists;
    lists.reserve(count);
    return lists;
}
std::vector<MemberList> g_smallLists = reservedLists(kMostSmallLists);
std::vector<MemberList> g_largeLists = reservedLists(kMostLargeLists);

void spareMemberList(MemberList& list)
{
    if (list.capacity() == 0)
        return;
    list.clear();
    if (list.capacity() <= kSmallList) {
        if (g_smallLists.size() < kMostSmallLists)
            g_smallLists.push_back(std::move(list));
        return;
    }
    if (g_largeLists.size() < kMostLargeLists) {
        g_largeLists.push_back(std::move(list));
        return;
    }
    const auto smallest =
        std::min_element(g_largeLists.begin(), g_largeLists.end(),
                         [](const MemberList& a, const MemberList& b) { return a.capacity() < b.capacity(); });
    if (smallest->capacity() < list.capacity())
        smallest->swap(list);
}

// The first storm takes a ladder of large lists, from 128 places to a whole
// world of clouds, so that its largest groups (which keep growing while the
// storm lasts) find one that holds them instead of growing theirs.
void prepareLargeLists()
{
    for (size_t room = 2 * kSmallList; room < World::kMaxParticles; room *= 2) {
        MemberList list;
        list.reserve(room);
        g_largeLists.push_back(std::move(list));
    }
    MemberList whole;
    whole.reserve(World::kMaxParticles);
    g_largeLists.push_back(std::move(whole));
}

// The spare list of the fewest places that holds `count`, taken out of its
// pool; an empty list when none does.
MemberList takeSpareList(size_t count)
{
    for (std::vector<MemberList>* pool : {&g_smallLists, &g_largeLists}) {
        // Any small list will do; among the large ones, the closest fit.
        const bool closest = pool == &g_largeLists;
        size_t best = pool->size();
        for (size_t i = pool->size(); i-- > 0;) {
            const size_t room = (*pool)[i].capacity();
            if (room >= count && (best == pool->size() || room < (*pool)[best].capacity())) {
                best = i;
                if (!closest)
                    break;
            }
        }
        if (best < pool->size()) {
            MemberList list;
            list.swap((*pool)[best]);
            (*pool)[best].swap(pool->back());
            pool->pop_back();
            return list;
        }
    }
    return {};
}

}  // namespace

// --- Cloud -------------------------------------------------------------------

Cloud::Cloud()
{
    // A trial cloud made with no world has no group to join.
    if (gWorld) {
        auto* group = new CloudBlob(gWorld);
        blob = group;
        group->addMember(this);
    }
}

Cloud::~Cloud()
{
    if (blob) {
        CloudBlob* group = blob;
        blob = nullptr;
        group->removeMember(this);
    }
}

uint32_t Cloud::rainKind() const
{
    return temperature() < kSnowBelow ? TypeId::Snow : TypeId::Water;
}

void Cloud::turnInto(uint32_t type)
{
    CloudBlob* group = blob;
    blob = nullptr;
    group->removeMember(this);
    replaceBy(type);
}

void Cloud::update()
{
    if (!blob)
        return;
    World& w = world();
    if (!w.weather) {
        turnInto(TypeId::Water);
        return;
    }
    if (y < w.height / 2) {
        turnInto(rainKind());
        return;
    }
    const CloudBlob& group = *blob;
    if (y < group.centreY) {
        if (x == group.centreX) {
            if (group.rain || group.storm) {
                turnInto(rainKind());
                return;
            }
        } else if (group.storm) {
            if (oneIn(1000)) {
                const bool cold = temperature() < kSnowBelow;
                turnInto(cold ? TypeId::Snow : oneIn(8) ? TypeId::Electro : TypeId::Water);
                return;
            }
        } else if (group.rain && oneIn(2000)) {
            turnInto(rainKind());
            return;
        }
    }
    if (spark) {
        if (isEmptyAt(x, y + 1))
            w.addParticle(x, y + 1, TypeId::Electro, false);
        if (gameRand() % 2 == 0)
            spark = false;
    }
    mergeAround();
}

void Cloud::mergeAround()
{
    const World& w = world();
    const auto meet = [&](int cx, int cy) {
        // A neighbour without a group has nothing to merge.
        CloudBlob* other = static_cast<Cloud*>(w.grid[cx][cy])->blob;
        if (!other || other == blob)
            return;
        // After a merge this cloud's group may be the other one.
        if (!CloudBlob::tryMerge(blob, other) && gameRand() % 10 < 5)
            spark = true;
    };
    if (w.blockInWorld(x, y)) {
        // A storm's clouds look around every step: the nine kinds are read
        // from the world's flat array at once, and only the clouds among
        // them visited, row by row. Its own cell holds its own group.
        const uint32_t* kinds = w.kindsFrom(x - 1, y - 1);
        unsigned clouds = 0;
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                clouds |= static_cast<unsigned>(kinds[row * World::kMaxWidth + column] == kTypeId)
                    << (row * 3 + column);
        clouds &= ~(1u << 4);
        static constexpr int8_t kColumn[9] = {-1, 0, 1, -1, 0, 1, -1, 0, 1};
        static constexpr int8_t kRow[9] = {-1, -1, -1, 0, 0, 0, 1, 1, 1};
        while (clouds) {
            const int i = __builtin_ctz(clouds);
            meet(x + kColumn[i], y + kRow[i]);
            clouds &= clouds - 1;
        }
        return;
    }
    for (int cy = y - 1; cy <= y + 1; ++cy)
        for (int cx = x - 1; cx <= x + 1; ++cx)
            if (w.inWorld(cx, cy) && w.kindAt(cx, cy) == kTypeId)
                meet(cx, cy);
}

// --- CloudBlob ---------------------------------------------------------------

CloudBlob::CloudBlob(World* world) : world_(world)
{
    const int height = world ? world->height : World::kMaxHeight;
    targetY = height - 8 - gameRand() % (height / 4);
    direction = gameRand() % 10 > 5 ? 1 : -1;
    period = static_cast<float>(7 + gameRand() % 3);
    static const bool laddered = (prepareLargeLists(), true);
    (void)laddered;
    // A new group of one takes a small spare list when there is one.
    for (std::vector<Cloud*>* list : {&members, &moveOrder_})
        roomFor(*list, 1);
    if (world && world->clouds) {
        CloudListBox* box;
        if (g_spareBoxes.empty()) {
            box = new CloudListBox();
        } else {
            box = g_spareBoxes.back();
            g_spareBoxes.pop_back();
        }
        box->blob = this;
        listBox_ = box;
        world->clouds->addObject(box);
        box->release();
    }
}

CloudBlob::~CloudBlob()
{
    for (Cloud* member : members)
        if (member->blob == this)
            member->blob = nullptr;
    for (std::vector<Cloud*>* list : {&members, &moveOrder_})
        spareMemberList(*list);
}

void CloudBlob::roomFor(std::vector<Cloud*>& list, size_t count)
{
    if (list.capacity() >= count)
        return;
    MemberList spare = takeSpareList(count);
    if (spare.capacity() < count)
        return;
    spare.assign(list.begin(), list.end());
    list.swap(spare);
    spareMemberList(spare);
}

void* CloudBlob::operator new(std::size_t size)
{
    return worldBlock(size);
}

void CloudBlob::operator delete(void* block, std::size_t size) noexcept
{
    freeWorldBlock(block, size);
}

void CloudBlob::spareListBox(CCObject* object)
{
    auto* box = dynamic_cast<CloudListBox*>(object);
    if (!box || object->retainCount() != 1 || object->pendingReleaseCount() != 0 ||
        g_spareBoxes.size() >= kMostSpares) {
        object->release();
        return;
    }
    box->blob = nullptr;
    g_spareBoxes.push_back(box);
}

bool CloudBlob::holds(const Particle* p) const
{
    return p && p->getType() == Cloud::kTypeId && static_cast<const Cloud*>(p)->blob == this;
}

ccColor4B CloudBlob::shadeColour() const
{
    const int v = std::clamp(shade + gameRand() % 20 - 10, 128, 255);
    const auto c = static_cast<uint8_t>(v);
    return ccColor4B{c, c, c, 255};
}

void CloudBlob::paintMembers(ccColor4B colour)
{
    // The colour only: each member shows it when it next moves.
    for (Cloud* member : members)
        member->color = colour;
}

ccColor4B CloudBlob::join(Cloud* cloud)
{
    --shade;
    const ccColor4B colour = shadeColour();
    period += kPeriodStep;
    members.push_back(cloud);
    return colour;
}

void CloudBlob::addMember(Cloud* cloud)
{
    paintMembers(join(cloud));
    updateBounds();
}

void CloudBlob::removeMember(Cloud* cloud)
{
    ++shade;
    paintMembers(shadeColour());
    if (period > kShortestPeriod)
        period -= kPeriodStep;
    cloud->color = ccColor4B{255, 255, 255, 255};
    auto it = std::find(members.begin(), members.end(), cloud);
    if (it != members.end())
        members.erase(it);
    if (members.empty()) {
        if (world_)
            world_->removeCloud(this);
        else
            delete this;
        return;
    }
    updateBounds();
}

bool CloudBlob::tryMerge(CloudBlob* a, CloudBlob* b)
{
    if (!a || !b || a == b)
        return false;
    if (gameRand() % 1000 > 0) {
        const int t1 = 50 + gameRand() % 200;
        if (a->memberCount() > t1) {
            const int t2 = 50 + gameRand() % 200;
            if (b->memberCount() > t2)
                return false;
        }
        if ((a->rain || a->storm) && b->memberCount() > 100)
            return false;
        if ((b->rain || b->storm) && a->memberCount() > 100)
            return false;
    }
    CloudBlob* keep = a->memberCount() > b->memberCount() ? a : b;
    CloudBlob* gone = keep == a ? b : a;
    // The kept group's list takes the gone group's list's room when that
    // holds them all (the kept group is the larger, so its own list holds
    // the gone group's members), else a spare list's that does.
    const size_t merged = keep->members.size() + gone->members.size();
    if (keep->members.capacity() < merged && gone->members.capacity() >= merged) {
        MemberList kept;
        MemberList goneMembers;
        kept.swap(gone->members);
        goneMembers.swap(keep->members);
        const size_t goneCount = kept.size();
        std::swap_ranges(kept.begin(), kept.end(), goneMembers.begin());
        kept.insert(kept.end(), goneMembers.begin() + static_cast<ptrdiff_t>(goneCount), goneMembers.end());
        goneMembers.resize(goneCount);
        keep->members.swap(kept);
        gone->members.swap(goneMembers);
    }
    roomFor(keep->members, merged);
    // Every join draws a colour for all members; only the last one shows, so
    // it is the only one written.
    ccColor4B colour{};
    for (Cloud* member : gone->members) {
        member->blob = keep;
        colour = keep->join(member);
    }
    gone->members.clear();
    keep->paintMembers(colour);
    if (gone->world_)
        gone->world_->removeCloud(gone);
    else
        delete gone;
    keep->updateBounds();
    return true;
}

void CloudBlob::updateBounds()
{
    if (members.empty())
        return;
    minX = maxX = members.front()->x;
    minY = maxY = members.front()->y;
    for (const Cloud* m : members) {
        minX = std::min(minX, m->x);
        maxX = std::max(maxX, m->x);
        minY = std::min(minY, m->y);
        maxY = std::max(maxY, m->y);
    }
    centreX = minX + (maxX - minX) / 2;
    centreY = minY + (maxY - minY) / 2;
}

void CloudBlob::orderFrontFirst(bool horizontal, int step)
{
    const auto coordinate = [horizontal](const Cloud* m) { return horizontal ? m->x : m->y; };
    const bool inStorage = std::all_of(members.begin(), members.end(), [&](const Cloud* m) {
        return coordinate(m) >= 0 && coordinate(m) < World::kMaxWidth;
    });
    if (!inStorage) {
        moveOrder_.assign(members.begin(), members.end());
        std::stable_sort(moveOrder_.begin(), moveOrder_.end(),
                         [&](const Cloud* a, const Cloud* b) { return coordinate(a) * step > coordinate(b) * step; });
        return;
    }
    // A counting sort on the coordinate, stable as the order needs, in the
    // scratch list: a merge sort would take a buffer from the heap each move.
    const auto rank = [&](const Cloud* m) {
        return step > 0 ? World::kMaxWidth - 1 - coordinate(m) : (step < 0 ? coordinate(m) : 0);
    };
    int starts[World::kMaxWidth + 1] = {};
    for (const Cloud* m : members)
        ++starts[rank(m) + 1];
    for (int r = 0; r < World::kMaxWidth; ++r)
        starts[r + 1] += starts[r];
    roomFor(moveOrder_, members.size());
    moveOrder_.resize(members.size());
    for (Cloud* m : members)
        moveOrder_[static_cast<size_t>(starts[rank(m)]++)] = m;
}

bool CloudBlob::moveBy(bool horizontal, int step)
{
    World& w = *gWorld;
    // Front members first, so each finds the cell of the one ahead already
    // free and none is lost or doubled; members level with each other keep
    // their joining order.
    orderFrontFirst(horizontal, step);
    bool blocked = false;
    for (Cloud* m : moveOrder_) {
        const int tx = m->x + (horizontal ? step : 0);
        const int ty = m->y + (horizontal ? 0 : step);
        Particle* target = w.inWorld(tx, ty) ? w.grid[tx][ty] : w.outsideWall;
        if (!target) {
            w.moveParticle(m, tx, ty);
            continue;
        }
        // A member held up by its own group stays behind the one ahead.
        if (!holds(target))
            blocked = true;
    }
    return blocked;
}

void CloudBlob::contract()
{
    World& w = *gWorld;
    const int cx = centreX;
    const int cy = centreY;
    auto stepInto = [&w](Cloud* m, int dx, int dy) {
        const int tx = m->x + dx;
        const int ty = m->y + dy;
        if ((dx != 0 || dy != 0) && w.inWorld(tx, ty) && !w.grid[tx][ty])
            w.moveParticle(m, tx, ty);
    };
    for (Cloud* m : members) {
        const int sx = sign(cx - m->x);
        const int sy = sign(cy - m->y);
        if (gameRand() % 2 == 0) {
            stepInto(m, sx, 0);
            stepInto(m, 0, sy);
        } else {
            stepInto(m, 0, sy);
            stepInto(m, sx, 0);
        }
    }
}

void CloudBlob::jiggle()
{
    World& w = *gWorld;
    for (Cloud* m : members) {
        const int dx = gameRand() % 3 - 1;
        const int dy = gameRand() % 3 - 1;
        const int tx = m->x + dx;
        const int ty = m->y + dy;
        if (w.inWorld(tx, ty) && !w.grid[tx][ty])
            w.moveParticle(m, tx, ty);
    }
}

void CloudBlob::update()
{
    counter += 1.0f;
    if (counter < period)
        return;
    counter = 0.0f;
    jiggle();
    if (centreY > targetY)
        moveBy(false, -1);
    else if (centreY < targetY)
        moveBy(false, 1);
    if (moveBy(true, direction))
        direction = -direction;
    updateBounds();
    contract();
    const int count = memberCount();
    if (!rain)
        rain = count + gameRand() % 20 > kRainMembers;
    if (!storm)
        storm = count + gameRand() % 60 > kStormMembers;
    if (maxY - minY > kStormRows)
        storm = true;
}

void registerClouds()
{
    registerElements<Cloud>();
}
