#include "elements/creatures/Tank.h"

#include "elements/creatures/CreatureCounts.h"
#include "platform/GameRandom.h"

MPLeaderTank::MPLeaderTank()
{
    shotTimer = 100 + gameRand() % 50;
    ++CreatureCounts::tanks;
}

MPLeaderTank::~MPLeaderTank()
{
    --CreatureCounts::tanks;
}

void MPLeaderTank::loadBodyImage()
{
    if (CreatureCounts::tanks > kLimit) {
        refuse();
        return;
    }
    loadPicture("cars/tank.png");
}

void MPLeaderTank::update()
{
    if (!hasBody()) {
        carUpdate();
        return;
    }
    if (--driveTimer <= 0) {
        carUpdate();
        driveTimer = kDrivePeriod;
    } else {
        group->moveBy(0, -1, true);
    }
    if (--shotTimer <= 0 && autoDrive)
        fire();
}

void MPLeaderTank::fire()
{
    if (!hasBody() || !bodyImage || !gWorld)
        return;
    World& w = *gWorld;
    driveTimer = 50 + gameRand() % 50;
    shotTimer = driveTimer + 100 + gameRand() % 50;
    const int y0 = boxBottom();
    const int d = facingRight ? 1 : -1;
    const int muzzle = facingRight ? boxRight() + 1 : boxLeft() - 1;
    group->moveBy(-d, 0, true);
    if (auto* shell = dynamic_cast<TankBullet*>(w.addParticle(muzzle, y0 + kMuzzleRow, TankBullet::kTypeId, false)))
        shell->direction = d;
    const int flash[4][2] = {{muzzle, y0 + 6}, {muzzle, y0 + 4}, {muzzle + d, y0 + 7}, {muzzle + d, y0 + 3}};
    for (const auto& cell : flash)
        w.addParticle(cell[0], cell[1], TypeId::Explosion, false);
}

void TankBullet::update()
{
    World& w = world();
    const int ax = x + direction;
    // Outside the grid counts as a wall: the shell explodes there.
    Particle* ahead = cellAt(ax, y);
    if (!ahead) {
        moveTo(ax, y);
        return;
    }
    const uint32_t type = ahead->getType();
    if (type == TypeId::Fire || type == TypeId::Smoke || type == TypeId::Explosion)
        return;
    if (type == kTypeId) {
        // Two shells flying at each other meet and explode; a shell ahead
        // flying the same way is waited for.
        if (static_cast<TankBullet*>(ahead)->direction == direction)
            return;
    }
    explode(x, y, 2);
    w.queueRemove(x, y);
}
