#include "elements/materials/Cloners.h"

#include "elements/creatures/CreatureKinds.h"
#include "world/ByteStream.h"

bool clonerMayCopy(uint32_t type, bool powered)
{
    switch (type) {
    case TypeId::of("EMulti"):
    case TypeId::of("Multi"):
    case TypeId::of("Wall"):
    case TypeId::of("OutsideWall"):
    case TypeId::of("Void"):
    case TypeId::of("Cloud"):
    case TypeId::of("LaserBeam"):
    case TypeId::of("HumanLeader"):
    case TypeId::of("HumanPart"):
    case TypeId::of("RobotPart"):
    case TypeId::of("RobotLeader"):
    case TypeId::of("LionLeader"):
    case TypeId::of("Flamingo"):
    case TypeId::of("MPLeaderCar"):
    case TypeId::of("MPLeaderTank"):
    case TypeId::of("MPLeaderTruck"):
    case TypeId::of("MPSportCar"):
    case TypeId::of("Explosion"): return false;
    case TypeId::of("Metal"):
    case TypeId::of("Power"): return !powered;
    default: return true;
    }
}

template <const ElementInfo& Info, bool Powered> void Cloner<Info, Powered>::saveExtra(ByteWriter& out)
{
    out.u32(copiedType);
}

template <const ElementInfo& Info, bool Powered> void Cloner<Info, Powered>::loadExtra(ByteReader& in)
{
    uint32_t type = 0;
    if (!in.u32(type))
        return;
    const bool possible = ParticleCreator::isAccepted(type) && clonerMayCopy(type, Powered);
    copiedType = possible ? type : 0;
}

template <const ElementInfo& Info, bool Powered> void Cloner<Info, Powered>::update()
{
    const int x = this->x;
    const int y = this->y;
    World& w = *gWorld;
    if (Powered && !w.electricityGrid.isPowered(x, y))
        return;
    if (copiedType != 0) {
        // One try a step; the own cell is never empty, so 1 draw in 9 is lost.
        const int dx = gameRand() % 3 - 1;
        const int dy = gameRand() % 3 - 1;
        if (this->isEmptyAt(x + dx, y + dy))
            w.addParticle(x + dx, y + dy, copiedType, false);
        return;
    }
    for (int cx = x - 1; cx <= x + 1; ++cx)
        for (int cy = y - 1; cy <= y + 1; ++cy) {
            Particle* p = this->cellAt(cx, cy);
            if (p && clonerMayCopy(p->getType(), Powered)) {
                copiedType = p->getType();
                return;
            }
        }
}

template class Cloner<kMultiInfo, false>;
template class Cloner<kEMultiInfo, true>;

void Electro::update()
{
    Particle* below = cellAt(x, y - 1);
    const uint32_t type = below ? below->getType() : 0;
    if (type == TypeId::Metal) {
        World& w = world();
        w.sparkOnMetal = true;
        w.electricityGrid.setCell(x, y - 1, ElectricityGrid::kHead);
        removeSelf();
        return;
    }
    if (type == TypeId::Cloud) {
        passThroughClouds();
        return;
    }
    if (type != 0 && type != kTypeId) {
        removeSelf();
        return;
    }
    slide();
    dropIfFree();
    followLight();
}

// Straight down through the cloud layer to the first cell below it: on
// through when that cell is free, gone otherwise.
void Electro::passThroughClouds()
{
    int cy = y - 2;
    while (holds(x, cy, TypeId::Cloud))
        --cy;
    if (isEmptyAt(x, cy))
        moveTo(x, cy);
    else
        removeSelf();
}

void registerCloners()
{
    registerElements<Multi, EMulti, Electro>();
}
