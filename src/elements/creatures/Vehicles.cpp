#include "elements/creatures/Vehicles.h"

#include <algorithm>
#include <vector>

#include "base/Logger.h"
#include "elements/creatures/CreatureCounts.h"
#include "elements/creatures/CreaturePictures.h"
#include "elements/creatures/Lander.h"
#include "elements/creatures/Tank.h"
#include "elements/creatures/Truck.h"
#include "world/ByteStream.h"
#include "world/WorldHost.h"

USING_NS_CC;

void MPBodyCar::onTouch()
{
    if (group && group->leader)
        group->leader->onTouch();
}

VehicleLeader::VehicleLeader()
{
    ++CreatureCounts::cars;
}

VehicleLeader::~VehicleLeader()
{
    --CreatureCounts::cars;
}

int VehicleLeader::boxRight() const
{
    return boxLeft() + (bodyImage ? bodyImage->width : 1) - 1;
}

void VehicleLeader::refuse()
{
    refused = true;
    bodyImage = nullptr;
}

void VehicleLeader::loadPicture(const char* path)
{
    bodyImage = creaturePicture(path);
    if (!bodyImage)
        refuse();  // creaturePicture logged it once
}

void VehicleLeader::saveExtra(ByteWriter& out)
{
    out.i32(facingRight ? 1 : 0);
    out.i32(autoDrive ? 1 : 0);
    out.i32(originX);
    out.i32(originY);
}

void VehicleLeader::loadExtra(ByteReader& in)
{
    int32_t right = 0;
    int32_t drive = 0;
    in.i32(right);
    in.i32(drive);
    in.i32(originX);
    in.i32(originY);
    facingRight = right == 1;
    autoDrive = drive == 1;
    MPLeaderBase::loadExtra(in);
    loadBodyImage();
    // Loaded origins are untrusted: keep them inside the picture.
    if (bodyImage && (originX < 0 || originX >= bodyImage->width || originY < 0 || originY >= bodyImage->height)) {
        LOG_ERROR << "Vehicle loaded with its origin outside its picture; the vehicle leaves";
        refuse();
    }
}

void VehicleLeader::buildBody()
{
    loadBodyImage();
    facingRight = true;
    if (!bodyImage)
        return;
    buildFromPicture(*bodyImage, MPBodyCar::kTypeId, originX, originY);
}

bool VehicleLeader::leaveIfRefused()
{
    if (!refused)
        return false;
    if (!removalQueued && gWorld) {
        removalQueued = true;
        gWorld->queueRemove(x, y);
    }
    return true;
}

void VehicleLeader::update()
{
    carUpdate();
}

void VehicleLeader::carUpdate()
{
    if (leaveIfRefused())
        return;
    MPLeaderBase::update();
    if (leaveIfRefused() || !hasBody())
        return;
    group->moveBy(0, -1, true);
    if (autoDrive && !group->moveBy(facingRight ? 1 : -1, 0, true))
        turnAround();
}

void VehicleLeader::onTouch()
{
    if (!editor && hasBody())
        worldHost().openVehiclePanel(this, static_cast<int>(panelKind()));
}

namespace {

struct ResortEntry {
    int place;
    unsigned order;  // later boxes first among equal places
    MPObject::Box* box;
};

// Kept between calls, with room for the largest vehicle and its load taken
// at start-up (and never destroyed): a turn takes nothing from the heap.
std::vector<ResortEntry>& g_resortEntries = *[] {
    auto* list = new std::vector<ResortEntry>();
    list->reserve(1024);
    return list;
}();

}  // namespace

void resortGroup(MPObject& group)
{
    // Cells moved and swapped among themselves: the sorted lists are put in
    // order again from the cells' present places, as inserting each box
    // anew would: a box goes before the boxes of its own place, so among
    // equal places the later box comes first.
    using Entry = ResortEntry;
    std::vector<Entry>& entries = g_resortEntries;
    for (CCArray* list : {group.membersByX, group.membersByY}) {
        const bool byX = list == group.membersByX;
        const unsigned n = list->count();
        entries.clear();
        for (unsigned i = 0; i < n; ++i) {
            auto* box = static_cast<MPObject::Box*>(list->objectAtIndex(i));
            box->retain();
            const Particle* cell = box->getValue();
            entries.push_back({byX ? cell->x : cell->y, n - 1 - i, box});
        }
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
            return a.place != b.place ? a.place < b.place : a.order < b.order;
        });
        for (unsigned i = 0; i < n; ++i)
            list->replaceObjectAtIndex(i, entries[i].box);
        for (const Entry& e : entries)
            e.box->release();
    }
}

bool VehicleLeader::turnAround()
{
    if (!hasBody() || !bodyImage || !gWorld)
        return false;
    World& w = *gWorld;
    const int x0 = boxLeft();
    const int x1 = boxRight();
    // Members and carried particles, in one work list (kept between calls:
    // a turn allocates nothing once warmed up).
    static std::vector<Particle*> work;
    if (!group->mirrorFits(x0, x1, work))
        return false;
    size_t next = 0;
    while (next < work.size()) {
        Particle* p = work[next++];
        if (!p)
            continue;
        const int tx = x1 - (p->x - x0);
        const int ty = p->y;
        Particle* q = w.grid[tx][ty];
        if (!q) {
            w.movePendingChanges(p->x, p->y, tx, ty);
            w.electricityGrid.moveCell(p->x, p->y, tx, ty);
            w.moveParticle(p, tx, ty);
            continue;
        }
        for (size_t k = next; k < work.size(); ++k)
            if (work[k] == q) {
                work[k] = nullptr;
                break;
            }
        if (q != p) {
            w.swapPendingChanges(p, q);
            w.electricityGrid.swapCells(p->x, p->y, q->x, q->y);
            w.swapParticles(p, q);
        }
    }
    resortGroup(*group);
    originX = bodyImage->width - originX - 1;
    facingRight = !facingRight;
    return true;
}

void VehicleLeader::moveRight()
{
    if (autoDrive || !hasBody())
        return;
    if (!facingRight)
        turnAround();
    else
        group->moveBy(1, 0, true);
}

void VehicleLeader::moveLeft()
{
    if (autoDrive || !hasBody())
        return;
    if (facingRight)
        turnAround();
    else
        group->moveBy(-1, 0, true);
}

void MPLeaderCar::loadBodyImage()
{
    // The car's one picture; the draw keeps the random sequence of a list.
    static const char* const kPictures[] = {"cars/beetle.png"};
    if (CreatureCounts::cars > kLimit) {
        refuse();
        return;
    }
    loadPicture(kPictures[gameRand() % 1]);
}

MPSportCar::MPSportCar()
{
    ++CreatureCounts::sportCars;
}

MPSportCar::~MPSportCar()
{
    --CreatureCounts::sportCars;
}

void MPSportCar::loadBodyImage()
{
    if (CreatureCounts::sportCars > kLimit) {
        refuse();
        return;
    }
    loadPicture("cars/sportCar.png");
}

bool colorsEqual(ccColor4B a, ccColor4B b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

void registerVehicles()
{
    registerElements<MPLeaderCar, MPBodyCar, MPSportCar, MPLander, MPLeaderTank, TankBullet, MPLeaderTruck>();
}
