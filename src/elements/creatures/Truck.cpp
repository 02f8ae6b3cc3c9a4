#include "elements/creatures/Truck.h"

#include "base/Logger.h"
#include "elements/creatures/CreatureCounts.h"
#include "elements/creatures/CreaturePictures.h"
#include "world/ByteStream.h"

USING_NS_CC;

MPLeaderTruck::MPLeaderTruck()
{
    ++CreatureCounts::trucks;
}

MPLeaderTruck::~MPLeaderTruck()
{
    --CreatureCounts::trucks;
}

void MPLeaderTruck::saveExtra(ByteWriter& out)
{
    VehicleLeader::saveExtra(out);
    out.i32(bedTipped ? 1 : 0);
}

void MPLeaderTruck::loadExtra(ByteReader& in)
{
    VehicleLeader::loadExtra(in);
    int32_t tipped = 0;
    in.i32(tipped);
    retipOnLoad = tipped == 1;
}

void MPLeaderTruck::loadBodyImage()
{
    if (CreatureCounts::trucks > kLimit) {
        refuse();
        return;
    }
    loadPicture("cars/truck.png");
    const CreaturePicture* key = creaturePicture("cars/cargo_truck.png");
    if (!bodyImage || !key) {
        refuse();
        return;
    }
    bedPoints.clear();
    tipPoints.clear();
    for (int row = 0; row < key->height; ++row)
        for (int col = 0; col < key->width; ++col) {
            const ccColor4B p = key->pixels[static_cast<size_t>(row * key->width + col)];
            if (p.a != 255)
                continue;
            const Point point{col, key->height - 1 - row};
            if (p.r == 255 && p.g == 0 && p.b == 255)
                bedPoints.push_back(point);
            else if (p.r == 0 && p.g == 255 && p.b == 0)
                tipPoints.push_back(point);
        }
    if (!facingRight)
        mirrorPoints();
}

void MPLeaderTruck::mirrorPoints()
{
    const int w = bodyImage ? bodyImage->width : 0;
    for (auto* list : {&bedPoints, &tipPoints})
        for (Point& p : *list)
            p.x = w - 1 - p.x;
}

bool MPLeaderTruck::turnAround()
{
    if (!VehicleLeader::turnAround())
        return false;
    mirrorPoints();
    return true;
}

void MPLeaderTruck::grabCargo()
{
    if (!hasBody())
        return;
    World& w = *gWorld;
    for (const Point& b : bedPoints) {
        Particle* p = w.at(boxLeft() + b.x, boxBottom() + b.y);
        if (p && !p->isMultiPixel())
            group->carryParticleAt(p->x, p->y);
    }
}

void MPLeaderTruck::releaseCargo()
{
    if (group)
        group->dropCarried();
}

void MPLeaderTruck::moveRight()
{
    if (autoDrive)
        return;
    grabCargo();
    VehicleLeader::moveRight();
    releaseCargo();
}

void MPLeaderTruck::moveLeft()
{
    if (autoDrive)
        return;
    grabCargo();
    VehicleLeader::moveLeft();
    releaseCargo();
}

void MPLeaderTruck::update()
{
    if (leaveIfRefused())
        return;
    MPLeaderBase::update();
    if (leaveIfRefused())
        return;
    if (!hasBody()) {
        carUpdate();
        return;
    }
    if (retipOnLoad) {
        tipBed();
        retipOnLoad = false;
        return;
    }
    if (bedTimer >= 0) {
        if (--bedTimer < 0 && !lowerBed())
            bedTimer = 1;
        return;
    }
    if (--driveTimer > 0)
        return;
    grabCargo();
    carUpdate();
    lastCarried = group && group->carried ? static_cast<int32_t>(group->carried->count()) : 0;
    releaseCargo();
    driveTimer = 2;
    if (autoDrive && lastCarried > kFullLoad && tipBed())
        bedTimer = kBedUpSteps;
}

bool MPLeaderTruck::inside(int cx, int cy) const
{
    // Every bound: a cell left of column 0 or below row 0 is as much outside
    // as one past the far edges.
    return gWorld->inWorld(cx, cy);
}

bool MPLeaderTruck::turned(int cx, int cy, int& tx, int& ty) const
{
    const int dx = cx - pivotX;
    const int dy = cy - pivotY;
    if (facingRight) {
        tx = pivotX - dy;
        ty = pivotY + dx;
    } else {
        tx = pivotX + dy;
        ty = pivotY - dx;
    }
    return inside(tx, ty);
}

bool MPLeaderTruck::foreign(int cx, int cy) const
{
    Particle* p = gWorld->grid[cx][cy];
    return p && !group->contains(p);
}

void MPLeaderTruck::moveOrSwap(int fx, int fy, int tx, int ty)
{
    World& w = *gWorld;
    Particle* p = w.grid[fx][fy];
    Particle* q = w.grid[tx][ty];
    if (!p || p == q)
        return;
    if (!q) {
        w.movePendingChanges(fx, fy, tx, ty);
        w.electricityGrid.moveCell(fx, fy, tx, ty);
        w.moveParticle(p, tx, ty);
    } else {
        w.swapPendingChanges(p, q);
        w.electricityGrid.swapCells(fx, fy, tx, ty);
        w.swapParticles(p, q);
    }
}

bool MPLeaderTruck::tipBed()
{
    if (bedTipped || !hasBody())
        return false;
    World& w = *gWorld;
    pivotX = facingRight ? x - 3 : x + 3;
    pivotY = y + 3;
    LOG << "pivotX == " << pivotX << " pivotY == " << pivotY;
    const int x0 = boxLeft();
    const int y0 = boxBottom();
    int tx = 0;
    int ty = 0;
    for (const Point& t : tipPoints) {
        const int cx = x0 + t.x;
        const int cy = y0 + t.y;
        if (!inside(cx, cy)) {
            LOG << "realX == " << cx << " realY == " << cy << " is outside; skipped";
            continue;
        }
        if (!turned(cx, cy, tx, ty)) {
            LOG << "dumpX == " << tx << " dumpY == " << ty << " is outside; skipped";
            continue;
        }
        if (foreign(tx, ty))
            return false;
    }
    for (const Point& b : bedPoints) {
        const int cx = x0 + b.x;
        const int cy = y0 + b.y;
        if (!inside(cx, cy))
            continue;
        Particle* p = w.grid[cx][cy];
        if (!p || p->isMultiPixel())
            continue;
        if (!turned(cx, cy, tx, ty))
            continue;
        if (foreign(tx, ty) && w.grid[tx][ty] != p)
            return false;
    }
    for (const Point& t : tipPoints) {
        const int cx = x0 + t.x;
        const int cy = y0 + t.y;
        if (inside(cx, cy) && turned(cx, cy, tx, ty))
            moveOrSwap(cx, cy, tx, ty);
    }
    for (const Point& b : bedPoints) {
        const int cx = x0 + b.x;
        const int cy = y0 + b.y;
        if (!inside(cx, cy) || !turned(cx, cy, tx, ty))
            continue;
        Particle* p = w.grid[cx][cy];
        if (p && !p->isMultiPixel() && !w.grid[tx][ty])
            w.moveParticle(p, tx, ty);
    }
    resortGroup(*group);
    bedTipped = true;
    return true;
}

bool MPLeaderTruck::lowerBed()
{
    if (!bedTipped || !hasBody())
        return false;
    pivotX = facingRight ? x - 3 : x + 3;
    pivotY = y + 3;
    const int x0 = boxLeft();
    const int y0 = boxBottom();
    int tx = 0;
    int ty = 0;
    for (auto it = tipPoints.rbegin(); it != tipPoints.rend(); ++it) {
        const int cx = x0 + it->x;
        const int cy = y0 + it->y;
        if (!inside(cx, cy) || !turned(cx, cy, tx, ty)) {
            LOG << "realX == " << cx << " realY == " << cy << " dumpX == " << tx << " dumpY == " << ty
                << " is outside; skipped";
            continue;
        }
        if (foreign(cx, cy))
            return false;
    }
    for (auto it = tipPoints.rbegin(); it != tipPoints.rend(); ++it) {
        const int cx = x0 + it->x;
        const int cy = y0 + it->y;
        if (inside(cx, cy) && turned(cx, cy, tx, ty))
            moveOrSwap(tx, ty, cx, cy);
    }
    resortGroup(*group);
    bedTipped = false;
    return true;
}
