#include "elements/creatures/MPObject.h"

#include "base/Logger.h"
#include "cocos2d_extensions/CCValue.h"
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "elements/creatures/MPBase.h"
#include "world/ParticlePool.h"
#include "world/World.h"

USING_NS_CC;

namespace {

using ObjectBox = cocos2d_extensions::CCValue<MPObject*>;

SkinSchemeHooks gSkinSchemes;

// A member's box whose cell can change, so that it serves one cell after
// another; read like any box of the lists.
class MemberBox : public MPObject::Box {
public:
    Particle* getValue() const override { return cell; }
    Particle* cell = nullptr;
};

// A list with its room taken at start-up, so keeping things never grows it;
// never destroyed, so what it keeps is still held when the program ends.
template <class T> std::vector<T>& roomFor(size_t count)
{
    auto* list = new std::vector<T>();
    list->reserve(count);
    return *list;
}

// Boxes out of every list, each with the one reference that keeps it.
constexpr size_t kMostSpareBoxes = 4096;
std::vector<MemberBox*>& gSpareBoxes = roomFor<MemberBox*>(kMostSpareBoxes);

// The box of an object in the world's object list, likewise.
class ObjectListBox : public ObjectBox {
public:
    MPObject* getValue() const override { return object; }
    MPObject* object = nullptr;
};
constexpr size_t kMostSpareObjects = 256;
std::vector<ObjectListBox*>& gSpareObjectBoxes = roomFor<ObjectListBox*>(kMostSpareObjects);
// Empty member lists of objects gone, each with the one reference that keeps it.
std::vector<CCArray*>& gSpareLists = roomFor<CCArray*>(kMostSpareObjects * MPObject::kMemberLists);
constexpr unsigned kListRoom = 64;

// True (and the reference kept) when nothing else holds the object.
bool onlyReference(CCObject* object)
{
    return object->retainCount() == 1 && object->pendingReleaseCount() == 0;
}

Particle* valueOf(CCObject* o)
{
    return o ? static_cast<MPObject::Box*>(o)->getValue() : nullptr;
}

MPBase* cellOf(Particle* p)
{
    return dynamic_cast<MPBase*>(p);
}

}  // namespace

void setSkinSchemeHooks(SkinSchemeHooks hooks)
{
    gSkinSchemes = hooks;
}

MPObject::MPObject()
{
    for (CCArray*& list : memberLists) {
        if (gSpareLists.empty()) {
            // Room for a creature's cells, so that its building does not grow it.
            list = new CCArray();
            list->initWithCapacity(kListRoom);
        } else {
            list = gSpareLists.back();
            gSpareLists.pop_back();
        }
    }
    if (gWorld && gWorld->objects) {
        ObjectListBox* box;
        if (gSpareObjectBoxes.empty()) {
            box = new ObjectListBox();
        } else {
            box = gSpareObjectBoxes.back();
            gSpareObjectBoxes.pop_back();
        }
        box->object = this;
        gWorld->objects->addObject(box);
        box->release();
    }
}

void* MPObject::operator new(std::size_t size)
{
    return worldBlock(size);
}

void MPObject::operator delete(void* block, std::size_t size) noexcept
{
    freeWorldBlock(block, size);
}

void MPObject::spareObjectBox(CCObject* object)
{
    auto* box = dynamic_cast<ObjectListBox*>(object);
    if (!box || !onlyReference(box) || gSpareObjectBoxes.size() >= kMostSpareObjects) {
        object->release();
        return;
    }
    box->object = nullptr;
    gSpareObjectBoxes.push_back(box);
}

MPObject::~MPObject()
{
    releaseMemberLists();
}

void MPObject::insertSortedByX(CCArray* list, Box* box, int x)
{
    const unsigned n = list->count();
    for (unsigned i = 0; i < n; ++i)
        if (valueOf(list->objectAtIndex(i))->x >= x) {
            list->insertObject(box, i);
            return;
        }
    list->addObject(box);
}

void MPObject::insertSortedByY(CCArray* list, Box* box, int y)
{
    const unsigned n = list->count();
    for (unsigned i = 0; i < n; ++i)
        if (valueOf(list->objectAtIndex(i))->y >= y) {
            list->insertObject(box, i);
            return;
        }
    list->addObject(box);
}

bool MPObject::contains(const Particle* p) const
{
    if (!p)
        return false;
    if (p->getGroup() == this)
        return true;
    return std::find(carriedCells.begin(), carriedCells.end(), p) != carriedCells.end();
}

MPObject::Box* MPObject::boxFor(Particle* p)
{
    MemberBox* box;
    if (gSpareBoxes.empty()) {
        box = new MemberBox();
    } else {
        box = gSpareBoxes.back();
        gSpareBoxes.pop_back();
    }
    box->cell = p;
    return box;
}

void MPObject::spare(CCObject* object)
{
    auto* box = dynamic_cast<MemberBox*>(object);
    if (!box)
        return;
    // Still in a list somewhere: it is not free.
    if (!onlyReference(box) || gSpareBoxes.size() >= kMostSpareBoxes) {
        box->release();
        return;
    }
    box->cell = nullptr;
    gSpareBoxes.push_back(box);
}

void MPObject::join(Particle* cell)
{
    cell->setGroup(this);
    if (MPBase* base = cellOf(cell))
        base->detached = false;
    Box* box = boxFor(cell);
    members->addObject(box);
    insertSortedByX(membersByX, box, cell->x);
    insertSortedByY(membersByY, box, cell->y);
    box->release();
}

void MPObject::addLeader(Particle* cell)
{
    if (!cell)
        return;
    leader = cell;
    join(cell);
}

void MPObject::addParts(CCArray* parts)
{
    if (!leader) {
        broken = true;
        return;
    }
    if (!parts)
        return;
    for (unsigned i = 0; i < parts->count(); ++i)
        if (Particle* cell = valueOf(parts->objectAtIndex(i)))
            join(cell);
}

Particle* MPObject::placePart(int dx, int dy, uint32_t type)
{
    if (!leader || !gWorld) {
        broken = true;
        return nullptr;
    }
    const int tx = leader->x + dx;
    const int ty = leader->y + dy;
    if (!gWorld->inWorld(tx, ty) || gWorld->grid[tx][ty]) {
        broken = true;
        return nullptr;
    }
    Particle* cell = gWorld->addParticle(tx, ty, type, false);
    if (!cell)
        broken = true;
    return cell;
}

Particle* MPObject::createPart(int dx, int dy, uint32_t type)
{
    Particle* cell = placePart(dx, dy, type);
    if (cell)
        join(cell);
    return cell;
}

Particle* MPObject::createPartColoured(int dx, int dy, uint32_t type, ccColor4B colour)
{
    Particle* cell = placePart(dx, dy, type);
    if (cell) {
        cell->setColor(colour);
        join(cell);
    }
    return cell;
}

void MPObject::adopt(Particle* cell)
{
    if (!cell || !cellOf(cell)) {
        // Only multi-pixel cells can belong to an object.
        broken = true;
        return;
    }
    if (!leader) {
        if (dynamic_cast<MPLeaderBase*>(cell))
            leader = cell;
        else
            broken = true;
    }
    join(cell);
}

void MPObject::carryParticleAt(int x, int y)
{
    Particle* p = gWorld ? gWorld->at(x, y) : nullptr;
    if (!p || cellOf(p) || std::find(carriedCells.begin(), carriedCells.end(), p) != carriedCells.end())
        return;
    Box* box = boxFor(p);
    carried->addObject(box);
    carriedCells.push_back(p);
    insertSortedByY(membersByY, box, p->y);
    insertSortedByX(membersByX, box, p->x);
    box->release();
}

void MPObject::carryParticles(CCArray* points, int originX, int originY)
{
    if (!points)
        return;
    for (unsigned i = 0; i < points->count(); ++i) {
        const CCPoint p = static_cast<PointBox*>(points->objectAtIndex(i))->getValue();
        carryParticleAt(static_cast<int>(std::trunc(originX + p.x)), static_cast<int>(std::trunc(originY + p.y)));
    }
}

void MPObject::dropCarried()
{
    for (unsigned i = 0; i < carried->count(); ++i) {
        CCObject* box = carried->objectAtIndex(i);
        membersByY->removeObject(box);
        membersByX->removeObject(box);
    }
    spareAll(carried);
    carriedCells.clear();
}

void MPObject::spareAll(CCArray* list)
{
    // Last first: each box leaves its list before it goes back.
    while (list->count() > 0) {
        CCObject* box = list->lastObject();
        box->retain();
        list->removeLastObject();
        spare(box);
    }
}

MPObject::Box* MPObject::boxOf(const Particle* p, CCArray* list) const
{
    for (unsigned i = 0; i < list->count(); ++i) {
        CCObject* o = list->objectAtIndex(i);
        if (valueOf(o) == p)
            return static_cast<Box*>(o);
    }
    return nullptr;
}

void MPObject::updateSortedPosition(Particle* p, int x, int y)
{
    Box* box = boxOf(p, members);
    if (!box)
        box = boxOf(p, carried);
    if (!box)
        return;
    box->retain();
    membersByY->removeObject(box);
    membersByX->removeObject(box);
    insertSortedByX(membersByX, box, x);
    insertSortedByY(membersByY, box, y);
    box->release();
}

void MPObject::updateSortedSwap(Particle* a, Particle* b)
{
    if (!a || !b)
        return;
    Box* boxA = boxOf(a, members);
    if (!boxA)
        boxA = boxOf(a, carried);
    Box* boxB = boxOf(b, members);
    if (!boxB)
        boxB = boxOf(b, carried);
    if (boxA) {
        boxA->retain();
        membersByY->removeObject(boxA);
        membersByX->removeObject(boxA);
    }
    if (boxB) {
        boxB->retain();
        membersByY->removeObject(boxB);
        membersByX->removeObject(boxB);
    }
    // The exchange has not happened yet: trade the coordinates for the
    // insertions, so that a and b are also compared with each other at the
    // cells they are about to take, then give them back.
    std::swap(a->x, b->x);
    std::swap(a->y, b->y);
    if (boxA) {
        insertSortedByX(membersByX, boxA, a->x);
        insertSortedByY(membersByY, boxA, a->y);
    }
    if (boxB) {
        insertSortedByX(membersByX, boxB, b->x);
        insertSortedByY(membersByY, boxB, b->y);
    }
    std::swap(a->x, b->x);
    std::swap(a->y, b->y);
    if (boxA)
        boxA->release();
    if (boxB)
        boxB->release();
}

bool MPObject::removeMember(Particle* cell)
{
    if (!cell || cell->getGroup() != this)
        return false;
    Box* box = boxOf(cell, members);
    if (!box)
        return false;
    box->retain();
    membersByY->removeObject(box);
    membersByX->removeObject(box);
    members->removeObject(box);
    spare(box);
    cell->setGroup(nullptr);
    if (MPBase* base = cellOf(cell))
        base->detached = true;
    // Nothing may reach a leader that left through the object.
    if (cell == leader)
        leader = nullptr;
    return true;
}

bool MPObject::removeAt(int x, int y, bool queueRemoval)
{
    Particle* found = nullptr;
    for (unsigned i = 0; i < members->count() && !found; ++i) {
        Particle* p = valueOf(members->objectAtIndex(i));
        if (p && p->x == x && p->y == y)
            found = p;
    }
    if (!found || !removeMember(found))
        return false;
    if (queueRemoval && gWorld)
        gWorld->queueRemove(x, y);
    return true;
}

void MPObject::dissolve()
{
    for (unsigned i = 0; i < members->count(); ++i) {
        Particle* cell = valueOf(members->objectAtIndex(i));
        if (!cell)
            continue;
        cell->setGroup(nullptr);
        if (MPBase* base = cellOf(cell))
            base->detached = true;
        if (gWorld)
            gWorld->queueRemove(cell->x, cell->y);
    }
    // Last first, so that the lists keep their room.
    for (CCArray* list : {membersByY, membersByX})
        while (list->count() > 0)
            list->removeLastObject();
    spareAll(members);
    // Carried particles stay in the world and out of the sorted lists.
    spareAll(carried);
    carriedCells.clear();
    leader = nullptr;
}

void MPObject::releaseMemberLists()
{
    for (CCArray*& list : memberLists) {
        if (!list)
            continue;
        // An emptied list keeps its room for the next object's cells.
        if (list->count() == 0 && onlyReference(list) && gSpareLists.size() < kMostSpareObjects * kMemberLists)
            gSpareLists.push_back(list);
        else
            list->release();
        list = nullptr;
    }
    carriedCells.clear();
}

bool MPObject::rebuild(CCArray* descriptions)
{
    if (!descriptions)
        return false;
    const unsigned n = descriptions->count();
    std::vector<sBodyPart> parts(n);
    for (unsigned i = 0; i < n; ++i)
        parts[i] = static_cast<PartBox*>(descriptions->objectAtIndex(i))->getValue();
    if (!rebuild(parts.data(), parts.size()))
        return false;
    descriptions->removeAllObjects();
    return true;
}

bool MPObject::rebuild(const sBodyPart* parts, size_t n)
{
    if (!leader || !gWorld)
        return false;
    World& w = *gWorld;
    const int lx = leader->x;
    const int ly = leader->y;
    for (size_t i = 0; i < n; ++i) {
        const int tx = lx + parts[i].dx;
        const int ty = ly + parts[i].dy;
        if (!w.inWorld(tx, ty))
            return false;
        Particle* occupant = w.grid[tx][ty];
        if (occupant && !contains(occupant))
            return false;
    }
    // Members no description wants leave.
    unsigned i = 0;
    while (i < members->count()) {
        Particle* cell = valueOf(members->objectAtIndex(i));
        bool wanted = false;
        for (size_t k = 0; k < n && !wanted; ++k)
            wanted = cell->x == lx + parts[k].dx && cell->y == ly + parts[k].dy;
        if (wanted || !removeAt(cell->x, cell->y, true))
            ++i;
    }
    // Occupied targets are recoloured or replaced; the empty ones are made
    // afterwards, in order.
    for (size_t k = 0; k < n; ++k) {
        const sBodyPart& d = parts[k];
        Particle* occupant = w.grid[lx + d.dx][ly + d.dy];
        if (!occupant)
            continue;
        if (occupant->getType() == d.type)
            occupant->setColor(d.colour);
        else
            w.queueReplaceWithColor(lx + d.dx, ly + d.dy, d.type, d.colour);
    }
    for (size_t k = 0; k < n; ++k) {
        const sBodyPart& d = parts[k];
        if (!w.grid[lx + d.dx][ly + d.dy])
            createPartColoured(d.dx, d.dy, d.type, d.colour);
    }
    return true;
}

void MPObject::paintScheme(CCString* name, int facing)
{
    if (name)
        paintScheme(hashString(name->getCString()), facing);
}

void MPObject::paintScheme(uint32_t key, int facing)
{
    if (!leader || !gSkinSchemes.known)
        return;
    if (!gSkinSchemes.known(key))
        return;
    for (unsigned i = 0; i < members->count(); ++i) {
        Particle* cell = valueOf(members->objectAtIndex(i));
        const ccColor4B colour = gSkinSchemes.colourAt
            ? gSkinSchemes.colourAt(key, cell->x - leader->x, cell->y - leader->y, facing)
            : ccColor4B{255, 0, 255, 255};
        cell->setColor(colour);
    }
}

bool MPObject::acceptable(int x, int y) const
{
    const World& w = *gWorld;
    if (x < 1 || y < 1 || x > w.width - 2 || y > w.height - 2)
        return false;
    const Particle* p = w.grid[x][y];
    return !p || contains(p);
}

// Tests the cell every member and carried particle would take after
// (dx, dy). Carried particles are tested too: no move may land on a foreign
// particle.
bool MPObject::targetsAcceptable(int dx, int dy) const
{
    for (unsigned i = 0; i < membersByX->count(); ++i) {
        const Particle* p = valueOf(membersByX->objectAtIndex(i));
        if (!acceptable(p->x + dx, p->y + dy))
            return false;
    }
    return true;
}

void MPObject::moveCell(Particle* p, int x, int y)
{
    World& w = *gWorld;
    w.movePendingChanges(p->x, p->y, x, y);
    w.electricityGrid.moveCell(p->x, p->y, x, y);
    w.moveParticle(p, x, y);
}

bool MPObject::moveBy(int dx, int dy, bool separateSteps)
{
    if (dx == 0 && dy == 0)
        return true;
    if (!gWorld)
        return false;
    auto verticalPass = [&] {
        const int n = static_cast<int>(membersByY->count());
        for (int k = 0; k < n; ++k) {
            Particle* p = valueOf(membersByY->objectAtIndex(static_cast<unsigned>(dy < 0 ? k : n - 1 - k)));
            moveCell(p, p->x, p->y + dy);
        }
    };
    auto horizontalPass = [&] {
        const int n = static_cast<int>(membersByX->count());
        for (int k = 0; k < n; ++k) {
            Particle* p = valueOf(membersByX->objectAtIndex(static_cast<unsigned>(dx < 0 ? k : n - 1 - k)));
            moveCell(p, p->x + dx, p->y);
        }
    };
    if (!separateSteps) {
        // The move is made as a vertical pass, then a horizontal one: the
        // intermediate cells must be acceptable as well as the final ones.
        if ((dy != 0 && !targetsAcceptable(0, dy)) || !targetsAcceptable(dx, dy))
            return false;
        if (dy != 0)
            verticalPass();
        if (dx != 0)
            horizontalPass();
        return true;
    }
    if (dy != 0) {
        if (!targetsAcceptable(0, dy))
            return false;
        verticalPass();
    }
    if (dx != 0) {
        if (!targetsAcceptable(dx, 0))
            return false;
        horizontalPass();
    }
    return true;
}

bool MPObject::mirrorFits(int left, int right, std::vector<Particle*>& work) const
{
    World& w = *gWorld;
    work.clear();
    for (CCArray* list : {members, carried})
        for (unsigned i = 0; i < list->count(); ++i)
            work.push_back(static_cast<Box*>(list->objectAtIndex(i))->getValue());
    for (Particle* p : work) {
        const int mx = right - (p->x - left);
        // The border ring is never entered (a loaded origin may put the box
        // anywhere).
        if (mx < 1 || mx > w.width - 2 || p->y < 1 || p->y > w.height - 2)
            return false;
        Particle* q = w.grid[mx][p->y];
        if (q && q != p && !contains(q))
            return false;
    }
    return true;
}
