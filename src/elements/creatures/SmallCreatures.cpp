#include "elements/creatures/SmallCreatures.h"

#include <cstdio>
#include <cstdlib>

#include "base/Logger.h"
#include "elements/creatures/CreaturePictures.h"
#include "elements/creatures/LaserBeams.h"
#include "world/ByteStream.h"

USING_NS_CC;

namespace {

World& world()
{
    return *gWorld;
}
bool occupied(int cx, int cy)
{
    return gWorld->at(cx, cy) != nullptr;
}

}  // namespace

// --- Rabbit -------------------------------------------------------------------

MPLeaderRabbit::MPLeaderRabbit()
{
    jumpCountdown = gameRand() % 64;
    littersLeft = gameRand() % 2 + 1;
    breedCooldown = gameRand() % 128 + 256;
}

void MPLeaderRabbit::buildBody()
{
    group->createPartColoured(1, 1, MPRabbitBody::kTypeId, color);
    group->createPartColoured(1, 0, MPRabbitBody::kTypeId, color);
}

bool MPLeaderRabbit::turn(bool right)
{
    if (!group)
        return false;
    facingRight = right;
    const sBodyPart parts[3] = {
        {0, 0, kTypeId, color}, {1, 0, MPRabbitBody::kTypeId, color}, {right ? 1 : 0, 1, MPRabbitBody::kTypeId, color}};
    if (group->rebuild(parts, 3))
        return true;
    facingRight = !right;
    return false;
}

bool MPLeaderRabbit::seekFood()
{
    Particle* left = findGrassAlong(-1, false);
    Particle* right = findGrassAlong(2, true);
    if (!left && !right)
        return false;
    bool toRight;
    if (left && right)
        toRight = std::abs(left->x - x) >= std::abs(right->x - x);
    else
        toRight = right != nullptr;
    return turn(toRight);
}

void MPLeaderRabbit::breed(MPLeaderRabbit* other)
{
    if (!other || breedCooldown > 0 || littersLeft <= 0 || other->littersLeft <= 0 || gameRand() % 30 == 0)
        return;
    if (!world().addParticle(x, y + 5, kTypeId, false))
        return;
    --littersLeft;
    --other->littersLeft;
    breedCooldown = gameRand() % 128 + 256;
}

bool MPLeaderRabbit::isPlant(uint32_t type)
{
    return type == TypeId::Grass || type == hashString("FlowerCenter") || type == hashString("FlowerPetal");
}

void MPLeaderRabbit::startJump(int steps)
{
    jumping = true;
    jumpCountdown = gameRand() % 64;
    riseSteps = descentSteps = steps;
}

void MPLeaderRabbit::lookAround()
{
    Particle* p = getRandomNeighbourAt(facingRight ? 1 : 0, 0);
    if (!p) {
        if (gameRand() % 50 == 0) {
            seekFood();
            return;
        }
        if (gameRand() % 10 == 0 && !group->moveBy(facingRight ? 1 : -1, 0, true))
            turn(!facingRight);
        return;
    }
    const uint32_t type = p->getType();
    if (isPlant(type)) {
        if (gameRand() % 4 == 0)
            world().queueRemove(p->x, p->y);
        return;
    }
    if (type == kTypeId && p != this) {
        breed(static_cast<MPLeaderRabbit*>(p));
        return;
    }
    if (type == MPRabbitBody::kTypeId) {
        auto* body = static_cast<MPRabbitBody*>(p);
        MPObject* other = body->group;
        if (!body->detached && other && other != group && other->leader && other->leader->getType() == kTypeId)
            breed(static_cast<MPLeaderRabbit*>(other->leader));
    }
}

void MPLeaderRabbit::jumpStep()
{
    const int forward = facingRight ? 1 : -1;
    if (riseSteps >= 0) {
        --riseSteps;
        if (!group->moveBy(forward, 1, true))
            jumpBlocked = true;
        return;
    }
    if (descentSteps >= 0) {
        --descentSteps;
        group->moveBy(forward, -1, true);
        return;
    }
    jumping = false;
    Particle* p = getRandomNeighbourAt(facingRight ? 1 : 0, 0);
    if (p && isPlant(p->getType())) {
        if (gameRand() % 4 == 0)
            world().queueRemove(p->x, p->y);
        return;
    }
    if (jumpBlocked) {
        jumpBlocked = false;
        if (gameRand() % 4 == 0)
            turn(!facingRight);
    }
}

void MPLeaderRabbit::update()
{
    MPLeaderBase::update();
    if (burnIfHot(393, 50))
        return;
    if (!group || group->broken)
        return;
    if (breedCooldown > 0)
        --breedCooldown;
    if (!jumping) {
        if (!occupied(x, y - 1) && !occupied(x + 1, y - 1)) {
            group->moveBy(0, -1, true);
            return;
        }
        const int topX = facingRight ? x : x + 1;
        Particle* cover[3] = {world().at(x, y + 2), world().at(x + 1, y + 2), world().at(topX, y + 1)};
        if (cover[0] && cover[1] && cover[2] && cover[0]->getType() != kTypeId && cover[1]->getType() != kTypeId &&
            cover[2]->getType() != kTypeId) {
            world().queueRemove(x, y);
            return;
        }
        if (jumpCountdown >= 0) {
            --jumpCountdown;
            if (jumpCountdown == 0) {
                jumping = true;
                jumpCountdown = gameRand() % 64;
                riseSteps = descentSteps = gameRand() % 4 + 1;
            }
        }
        if (!jumping) {
            const int ax = facingRight ? x + 2 : x - 1;
            if (y < world().height - 4 && occupied(ax, y) && !occupied(ax, y + 2) &&
                (!occupied(ax, y + 1) || !occupied(ax, y + 3)))
                startJump(3);
        }
        if (!jumping) {
            lookAround();
            return;
        }
    }
    jumpStep();
}

// --- Falling block -------------------------------------------------------------

const int MPLeaderTetris::kShapeCells[kShapes][3][2] = {
    {{1, 0}, {1, 1}, {0, 1}},    {{0, 1}, {1, 1}, {1, 2}},    {{0, 1}, {-1, 1}, {-1, 2}},   {{1, 0}, {1, 1}, {2, 1}},
    {{-1, 0}, {-1, 1}, {-2, 1}}, {{0, 1}, {0, 2}, {1, 2}},    {{0, 1}, {0, 2}, {-1, 2}},    {{1, 0}, {2, 0}, {2, 1}},
    {{-1, 0}, {-2, 0}, {-2, 1}}, {{1, 0}, {2, 0}, {2, -1}},   {{-1, 0}, {-2, 0}, {-2, -1}}, {{0, 1}, {0, 2}, {0, 3}},
    {{1, 0}, {2, 0}, {3, 0}},    {{-1, 0}, {-2, 0}, {-3, 0}},
};

void MPLeaderTetris::buildBody()
{
    const auto b = static_cast<uint8_t>(128 + gameRand() % 128);
    const auto g = static_cast<uint8_t>(128 + gameRand() % 128);
    const auto r = static_cast<uint8_t>(128 + gameRand() % 128);
    const ccColor4B colour{r, g, b, 255};
    setColor(colour);
    const int shape = gameRand() % kShapes;
    for (const auto& cell : kShapeCells[shape])
        group->createPartColoured(cell[0], cell[1], MPBodyBase::kTypeId, colour);
}

void MPLeaderTetris::update()
{
    MPLeaderBase::update();
    if (group && !group->broken)
        group->moveBy(gameRand() % 3 - 1, -1, true);
}

// --- Invader --------------------------------------------------------------------

MPInvader::MPInvader()
{
    stepPeriodX = gameRand() % 5 + 5;
    stepPeriodY = gameRand() % 50 + 50;
    if (gameRand() % 2 == 0)
        stepPeriodX = -stepPeriodX;
    if (gameRand() % 2 == 0)
        stepPeriodY = -stepPeriodY;
}

void MPInvader::saveExtra(ByteWriter& out)
{
    out.i32(stepPeriodX);
    out.i32(stepPeriodY);
    out.i32(stepCountX);
    out.i32(stepCountY);
    out.i32(imageIndex);
}

void MPInvader::loadExtra(ByteReader& in)
{
    in.i32(stepPeriodX);
    in.i32(stepPeriodY);
    in.i32(stepCountX);
    in.i32(stepCountY);
    in.i32(imageIndex);
    buildState = 2;
    // The guns come back from the saved picture number.
    const CreaturePicture* picture = nullptr;
    int markerCol = 0;
    if (imageIndex >= 0 && imageIndex < kPictures)
        readGuns(imageIndex, picture, markerCol);
}

void MPInvader::removeSelfOnce(const char* why)
{
    static bool told[kPictures + 1] = {};
    const int slot = imageIndex >= 0 && imageIndex < kPictures ? imageIndex : kPictures;
    if (!told[slot]) {
        told[slot] = true;
        LOG_ERROR << "Invader picture " << imageIndex << ": " << why << "; the invader leaves";
    }
    if (!toldBroken && gWorld) {
        toldBroken = true;
        gWorld->queueRemove(x, y);
    }
}

bool MPInvader::readGuns(int n, const CreaturePicture*& picture, int& markerCol)
{
    char path[32];
    std::snprintf(path, sizeof path, "invaders/%d.png", n);
    picture = creaturePicture(path);
    if (!picture)
        return false;
    bool marker = false;
    for (int r = 0; r < picture->height && !marker; ++r)
        for (int c = 0; c < picture->width && !marker; ++c) {
            const ccColor4B p = picture->at(c, r);
            if (p.r == 255 && p.g == 0 && p.b == 0 && p.a == 255) {
                marker = true;
                markerCol = c;
                markerRow = r;
            }
        }
    if (!marker)
        return false;
    gunCount = 0;
    for (int c = 0; c < picture->width; ++c)
        gunCount += picture->at(c, 0).a != 0;
    gunOffsets = std::make_unique<int32_t[]>(static_cast<size_t>(gunCount > 0 ? gunCount : 1));
    int k = 0;
    for (int c = 0; c < picture->width; ++c)
        if (picture->at(c, 0).a != 0)
            gunOffsets[static_cast<size_t>(k++)] = c - markerCol;
    return true;
}

bool MPInvader::buildFromImage(int n)
{
    imageIndex = n;
    const CreaturePicture* picture = nullptr;
    int markerCol = 0;
    if (!readGuns(n, picture, markerCol)) {
        gunOffsets.reset();
        gunCount = 0;
        removeSelfOnce(picture ? "no marker pixel" : "cannot be read");
        return false;
    }
    const ccColor4B red{255, 0, 0, 255};
    const ccColor4B green{0, 255, 0, 255};
    setColor(green);
    for (int r = 0; r < picture->height; ++r)
        for (int c = 0; c < picture->width; ++c) {
            if (picture->at(c, r).a == 0 || (c == markerCol && r == markerRow))
                continue;
            group->createPartColoured(c - markerCol, r - markerRow, MPBodyBase::kTypeId, r == 0 ? red : green);
        }
    return true;
}

void MPInvader::buildBody()
{
    buildFromImage(gameRand() % kPictures);
}

void MPInvader::update()
{
    MPLeaderBase::update();
    if (!group || group->broken)
        return;
    if (stepPeriodX != 0 && ++stepCountX >= std::abs(stepPeriodX)) {
        stepCountX = 0;
        if (!group->moveBy(stepPeriodX > 0 ? 1 : -1, 0, true))
            stepPeriodX = -stepPeriodX;
    }
    if (stepPeriodY != 0 && ++stepCountY >= std::abs(stepPeriodY)) {
        stepCountY = 0;
        if (!group->moveBy(0, stepPeriodY > 0 ? 1 : -1, true))
            stepPeriodY = -stepPeriodY;
    }
    if (gunOffsets && --fireCountdown <= 0) {
        fireCountdown = kFirePeriod;
        for (int i = 0; i < gunCount; ++i)
            traceLaserBeam(x + gunOffsets[static_cast<size_t>(i)], y - markerRow - 1, 0, -1, kBeamColourRow);
    }
}

void registerSmallCreatures()
{
    registerBodyBase();
    registerElements<MPLeaderRabbit, MPRabbitBody, MPLeaderTetris, MPInvader>();
}
