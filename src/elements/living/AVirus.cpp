#include "elements/living/AVirus.h"

#include <algorithm>

#include "elements/creatures/CreatureKinds.h"

namespace {

int sign(int v)
{
    return (v > 0) - (v < 0);
}

}  // namespace

AVirus::AVirus() : period(gameRand() % 10 + 10)
{
    // Made outside any world (a particle made for a list or an editor) there
    // is nothing to search.
    if (gWorld)
        pickTarget(TypeId::Virus);
}

void AVirus::pickTarget(uint32_t kind)
{
    if (Particle* p = findNearest(kind, kSearchRadius)) {
        targetX = p->x;
        targetY = p->y;
        return;
    }
    const World& w = *gWorld;
    targetX = std::clamp(x + gameRand() % 60 - 30, 0, w.width - 1);
    targetY = std::clamp(y + gameRand() % 60 - 30, 0, w.height - 1);
}

bool AVirus::tryMeal()
{
    counter = 0;
    World& w = world();
    if (w.electricityGrid.isPoweredNear(x, y)) {
        removeSelf();
        return true;
    }
    if (Particle* virus = findNeighbour(TypeId::Virus)) {
        w.removeParticle(virus->x, virus->y);
        life = std::min(life + kMeal, kLongestLife);
        pickTarget(TypeId::Virus);
        return true;
    }
    if (Particle* human = findNeighbour(CreatureKind::HumanLeader); human && isZombieCell(human)) {
        w.removeParticle(human->x, human->y);
        life = std::min(life + kMeal, kLongestLife);
        pickTarget(CreatureKind::HumanLeader);
        return true;
    }
    Particle* there = w.at(targetX, targetY);
    if (!there || there->getType() != TypeId::Virus || gameRand() % 150 == 0)
        pickTarget(TypeId::Virus);
    return false;
}

bool AVirus::tryStep(int dx, int dy)
{
    if (!isEmptyAt(x + dx, y + dy))
        return false;
    moveTo(x + dx, y + dy);
    return true;
}

void AVirus::update()
{
    if (--life < 1) {
        removeSelf();
        return;
    }
    if (++counter >= period && tryMeal())
        return;
    const int dx = sign(targetX - x);
    const int dy = sign(targetY - y);
    // Standing on its target it stays: its own cell is not empty.
    if ((dx != 0 || dy != 0) && tryStep(dx, dy))
        return;
    if (gameRand() % 2 == 0) {
        if (!(dy != 0 && tryStep(0, dy)) && dx != 0)
            tryStep(dx, 0);
    } else {
        if (!(dx != 0 && tryStep(dx, 0)) && dy != 0)
            tryStep(0, dy);
    }
}

void registerAVirus()
{
    registerElements<AVirus>();
}
