#include "elements/living/Bees.h"

#include <cstdlib>

namespace {

constexpr float kColdDeath = 260.0f;   // below: dies at once, sometimes as ash
constexpr float kChillDeath = 269.0f;  // below: removed

int sign(int v)
{
    return (v > 0) - (v < 0);
}

BeeHive* hiveAt(int cx, int cy)
{
    Particle* p = gWorld->at(cx, cy);
    return p && p->getType() == BeeHive::kTypeId ? static_cast<BeeHive*>(p) : nullptr;
}

}  // namespace

void Bee::dieOutright()
{
    if (oneIn(4))
        replaceBy(TypeId::Ash);
    else
        removeSelf();
}

void Bee::update()
{
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance))
        return;
    const float t = temperature();
    if (t < kColdDeath || findNeighbour(TypeId::Gas)) {
        dieOutright();
        return;
    }
    if (const int wet = countNeighboursOfType(TypeId::Water); wet > 0) {
        wetness += wet;
        if (wetness > kDrowns)
            dieOutright();
        else if (gameRand() % 2 == 0)
            dropIfFree();
        return;
    }
    wetness = 0;
    life -= wild ? 2 : 1;
    if (life < 1) {
        if (BeeHive* home = hiveAt(homeX, homeY))
            ++home->beeBudget;
        removeSelf();
        return;
    }
    bool decision = false;
    if (--wanderTicks < 1) {
        wanderTicks = gameRand() % 50;
        decision = true;
    }
    if (state == kFeeding && --waitTicks <= 0) {
        state = kFed;
    } else if (state == kResting && --waitTicks <= 0) {
        if (Particle* hive = findNeighbour(BeeHive::kTypeId))
            static_cast<BeeHive*>(hive)->receiveBee();
        state = kForaging;
    }
    if (t < kChillDeath) {
        removeSelf();
        return;
    }
    if (!hasTarget || gameRand() % 3 != 0) {
        if (state != kFeeding && state != kResting)
            wander(decision);
        return;
    }
    seekTarget();
}

void Bee::setTarget(int tx, int ty, int32_t next)
{
    targetX = tx;
    targetY = ty;
    hasTarget = true;
    state = next;
}

void Bee::wander(bool decision)
{
    const int dx = gameRand() % 3 - 1;
    const int dy = gameRand() % 3 - 1;
    if (isEmptyAt(x + dx, y + dy))
        moveTo(x + dx, y + dy);
    if (!decision)
        return;
    if (wild && state == kSearching) {
        if (Particle* leaf = findNearest(LivingId::TreeLeaf, kLeafRadius))
            setTarget(leaf->x, leaf->y, kToLeaf);
    } else if (state == kFed) {
        setTarget(homeX, homeY, kToHive);
    } else if (state == kForaging) {
        if (Particle* petal = findNearest(LivingId::FlowerPetal, kFlowerRadius))
            setTarget(petal->x, petal->y, kToFlower);
    }
}

void Bee::seekTarget()
{
    if (!wild && state == kToFlower && findNeighbour(LivingId::FlowerPetal)) {
        waitTicks = (gameRand() % 4 + 5) * 60;
        state = kFeeding;
    } else if (!wild && state == kToHive) {
        if (findNeighbour(BeeHive::kTypeId)) {
            waitTicks = (gameRand() % 2 + 3) * 60;
            state = kResting;
        } else if (std::abs(homeX - x) + std::abs(homeY - y) < 2) {
            // Its hive is gone.
            wild = true;
            state = kSearching;
            return;
        }
    } else if (wild && state == kToLeaf) {
        if (Particle* leaf = findNeighbour(LivingId::TreeLeaf)) {
            if (Particle* hive = findNearest(BeeHive::kTypeId, kHiveSpacing)) {
                homeX = hive->x;
                homeY = hive->y;
                wild = false;
            } else {
                world().queueReplaceById(leaf->x, leaf->y, BeeHive::kTypeId);
                removeSelf();
                return;
            }
        }
    }
    if (state == kFeeding || state == kResting)
        return;
    const int dx = sign(targetX - x);
    const int dy = sign(targetY - y);
    if (isEmptyAt(x + dx, y + dy))
        moveTo(x + dx, y + dy);
}

void BeeHive::receiveBee()
{
    ++beeBudget;
    if (Particle* leaf = randomNeighbourOfType(LivingId::TreeLeaf)) {
        world().queueReplaceById(leaf->x, leaf->y, BeeHiveCell::kTypeId);
        return;
    }
    const cocos2d::CCPoint cell = randomEmptyNeighbour();
    if (cell.x >= 0)
        world().addParticle(static_cast<int>(cell.x), static_cast<int>(cell.y), BeeHiveCell::kTypeId, false);
}

void BeeHive::update()
{
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance))
        return;
    if (--spawnTicks >= 1)
        return;
    spawnTicks = drawSpawnTicks();
    if (beeBudget <= 0)
        return;
    const cocos2d::CCPoint cell = randomEmptyNeighbour();
    if (cell.x < 0)
        return;
    Particle* made = world().addParticle(static_cast<int>(cell.x), static_cast<int>(cell.y), Bee::kTypeId, false);
    // A full pool makes no bee, and the budget waits for the next try.
    if (!made || made->getType() != Bee::kTypeId)
        return;
    auto* bee = static_cast<Bee*>(made);
    bee->wild = false;
    bee->homeX = x;
    bee->homeY = y;
    bee->state = Bee::kForaging;
    --beeBudget;
}

void registerBees()
{
    registerElements<Bee, BeeHive, BeeHiveCell>();
}
