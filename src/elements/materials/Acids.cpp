#include "elements/materials/Acids.h"

#include "profile/Profile.h"
#include "elements/creatures/CreatureKinds.h"

namespace {

// One acid particle's attack on its own cell and its four orthogonal
// neighbours. The strong acid acts on 4 cells in 5 and turns Water and Metal
// its own way; the weak ones act on 3 in 5.
class Dissolver {
public:
    Dissolver(int ax, int ay, bool strong) : x_(ax), y_(ay), strong_(strong) { }

    void run()
    {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                if (dx != 0 && dy != 0)
                    continue;
                // A spared creature shields the rest of its column.
                if (!visit(x_ + dx, y_ + dy))
                    break;
            }
    }

private:
    // False when the rest of the column is not visited.
    bool visit(int cx, int cy)
    {
        const bool skip = strong_ ? gameRand() % 5 == 0 : gameRand() % 5 >= 3;
        if (skip)
            return true;
        World& w = *gWorld;
        Particle* p = w.inWorld(cx, cy) ? w.grid[cx][cy] : w.outsideWall;
        if (!p)
            return true;
        const uint32_t type = p->getType();
        if (strong_ && type == TypeId::Water) {
            removeAcid();
            w.removeParticle(cx, cy);
            w.addParticle(cx, cy, TypeId::AcidWater, false);
            return true;
        }
        if (strong_ && type == TypeId::Metal) {
            if (gameRand() % 100 == 0)
                w.removeParticle(cx, cy);
            // A pulse of current, whether or not the metal survived.
            w.electricityGrid.setCell(cx, cy, ElectricityGrid::kHead);
            removeAcid();
            return true;
        }
        if (resistsAcid(type, strong_))
            return true;
        if (CreatureKind::isRobot(type) || isZombieCell(p))
            return false;
        w.removeParticle(cx, cy);
        if (gameRand() % 5 != 0)
            removeAcid();
        return true;
    }
    // Queued, so the scan goes on; several reactions queue it several times.
    void removeAcid() const { gWorld->queueRemove(x_, y_); }

    int x_;
    int y_;
    bool strong_;
};

void dissolveAround(int ax, int ay, bool strong)
{
    Dissolver(ax, ay, strong).run();
}

// AcidWater turning into AcidSteam on the acid-rain day counts for its goal.
void countAcidRain()
{
    Profile* profile = Profile::getInstance();
    if (profile->getDay() == AcidHeat::kAcidRainDay)
        ++profile->acidRainCounter();
}

}  // namespace

bool resistsAcid(uint32_t type, bool strongAcid)
{
    constexpr uint32_t kEMulti = TypeId::EMulti;
    switch (type) {
    case TypeId::of("Wall"):
    case TypeId::of("Acid"):
    case TypeId::of("AcidWater"):
    case TypeId::of("AcidSteam"):
    case TypeId::of("OutsideWall"):
    case TypeId::of("Multi"):
    case TypeId::of("Void"):
    case TypeId::of("Glass"):
    case TypeId::of("Heater"):
    case TypeId::of("Cooler"):
    case TypeId::of("Tnt"):
    case TypeId::of("C4"):
    case TypeId::of("Insulator"):
    case TypeId::of("Power"):
    case TypeId::of("Note"):
    case TypeId::of("Pipe"):
    case TypeId::of("PipeIn"):
    case TypeId::of("PipeOut"): return true;
    case kEMulti: return strongAcid;
    default: return false;
    }
}

void Acid::update()
{
    const int r1 = gameRand();
    shimmer(randomOffset(), -1, r1 % 2 == 0);
    flow();
    dissolveAround(x, y, true);
}

void AcidWater::update()
{
    flow();
    const float t = temperature();
    if (t > AcidHeat::kBoils) {
        countAcidRain();
        replaceBy(TypeId::AcidSteam);
        return;
    }
    if (t < AcidHeat::kFreezes) {
        replaceBy(TypeId::Acid);
        return;
    }
    // Evaporation from an open surface under the sky.
    if (world().weather && countEmptyAbove() == 3 && countOccupiedBelow() >= 2 && oneIn(120)) {
        countAcidRain();
        replaceBy(TypeId::AcidSteam);
    }
    dissolveAround(x, y, false);
}

void AcidSteam::update()
{
    if (oneIn(50)) {
        const int cx = x + randomOffset();
        const int cy = y + randomOffset();
        Particle* p = cellAt(cx, cy);
        if (p && (p->getType() == TypeId::Acid || p->getType() == TypeId::AcidWater)) {
            replaceBy(TypeId::AcidWater);
            return;
        }
    }
    if (countEmptyAbove() == 0 && countOccupiedBelow() >= 2 && oneIn(120)) {
        replaceBy(TypeId::AcidWater);
        return;
    }
    slideThenRise();
    dissolveAround(x, y, false);
}

void registerAcids()
{
    registerElements<Acid, AcidWater, AcidSteam>();
}
