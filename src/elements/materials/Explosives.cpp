#include "elements/materials/Explosives.h"

#include "elements/creatures/CreatureKinds.h"

void Bomb::update()
{
    dropIfFree();
    if (--fuse <= 0) {
        explode(x, y, Blast::kBombPower);
        removeSelf();
    }
}

template <const ElementInfo& Info, int Power> bool Charge<Info, Power>::countDown()
{
    if (exploded) {
        // Stays one step after going off.
        this->removeSelf();
        return false;
    }
    if (triggered && --delay <= 0)
        detonate();
    return true;
}

template <const ElementInfo& Info, int Power> bool Charge<Info, Power>::poweredOrSparked() const
{
    const int cx = this->x;
    const int cy = this->y;
    return gWorld->electricityGrid.isPowered(cx, cy) ||
        this->firstInBlock(BlockOrder::RowsFirst, Likely::selfLit, IsType::electro) != nullptr;
}

template <const ElementInfo& Info, int Power> void Charge<Info, Power>::detonate()
{
    if (exploded)
        return;
    exploded = true;
    explode(this->x, this->y, Power);
    for (int cx = this->x - 1; cx <= this->x + 1; ++cx)
        for (int cy = this->y - 1; cy <= this->y + 1; ++cy) {
            if (cx == this->x && cy == this->y)
                continue;
            Particle* p = this->cellAt(cx, cy);
            if (!p || p->getType() != Element<Info>::kTypeId)
                continue;
            auto* other = static_cast<Charge*>(p);
            if (!other->exploded)
                other->triggered = true;
        }
}

template class Charge<kC4Info, Blast::kC4Power>;
template class Charge<kTntInfo, Blast::kTntPower>;

void C4::update()
{
    if (!countDown())
        return;
    if (poweredOrSparked())
        detonate();
}

void TNT::update()
{
    if (!countDown())
        return;
    if (poweredOrSparked() || temperature() >= Blast::kTntIgnites) {
        detonate();
        return;
    }
    if (loadSetsOff())
        detonate();
}

// Wet TNT cannot be set off by a load.
bool TNT::loadSetsOff() const
{
    if (firstInBlock(BlockOrder::RowsFirst, Likely::liquid, IsType::water))
        return false;
    Particle* above = cellAt(x, y + 1);
    if (!above)
        return false;
    const uint32_t type = above->getType();
    if (type == kTypeId)
        return false;
    return CreatureKind::isHuman(type) || type == CreatureKind::MPBodyCar || type == CreatureKind::MPLander ||
        above->getDensity() > Blast::kTntHeavyLoad;
}

namespace {

// What a meteor falls through or waits on rather than exploding.
bool meteorPasses(uint32_t type)
{
    return type == TypeId::Meteor || type == TypeId::Fire || type == TypeId::Smoke || type == TypeId::Explosion ||
        type == TypeId::Electro || type == TypeId::Steam || type == TypeId::Gas || type == TypeId::AcidSteam ||
        type == TypeId::Cloud || type == TypeId::AVirus;
}

}  // namespace

void Meteor::update()
{
    dropIfFree();
    for (int dx = -1; dx <= 1; ++dx)
        if (isEmptyAt(x + dx, y + 1))
            world().addParticle(x + dx, y + 1, TypeId::Fire, false);
    Particle* below = cellAt(x, y - 1);
    if (below && !meteorPasses(below->getType())) {
        explode(x, y, Blast::kMeteorPower);
        removeSelf();
    }
}

void registerExplosives()
{
    registerElements<Bomb, C4, TNT, Meteor>();
}
