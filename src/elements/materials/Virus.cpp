#include "elements/materials/Virus.h"

#include "base/Logger.h"
#include "elements/creatures/CreatureKinds.h"

namespace {

bool sparedByVirus(uint32_t type)
{
    return type == TypeId::Wall || type == TypeId::OutsideWall || type == TypeId::AVirus || type == TypeId::Void ||
        type == TypeId::Multi;
}

// A whole block of Virus converts hundreds of cells a step; the line is
// written once a step at most.
void logConversion()
{
    static int64_t loggedStep = -1;
    static const World* loggedWorld = nullptr;
    const World* w = gWorld;
    if (loggedWorld == w && loggedStep == w->stepsBegun)
        return;
    loggedWorld = w;
    loggedStep = w->stepsBegun;
    LOG << "Prepare to clear";
}

}  // namespace

void Virus::update()
{
    World& w = world();
    if (w.electricityGrid.isPoweredNear(x, y))
        removeSelf();
    int count = 0;
    if (gameRand() % 5 != 0) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int cx = x + dx;
            for (int dy = -1; dy <= 1; ++dy) {
                const int cy = y + dy;
                Particle* p = cellAt(cx, cy);
                if (!p) {
                    if (oneIn(20))
                        w.addParticle(cx, cy, kTypeId, false);
                    continue;
                }
                const uint32_t type = p->getType();
                if (type == kTypeId) {
                    ++count;
                    continue;
                }
                if (sparedByVirus(type) || !oneIn(10))
                    continue;
                // A zombie shields the rest of its column.
                if (isZombieCell(p))
                    break;
                logConversion();
                w.removeParticle(cx, cy);
                w.addParticle(cx, cy, kTypeId, false);
            }
        }
    }
    if (gameRand() % 5 < 2 && (count > kMost || count < kFewest))
        removeSelf();
}

void registerVirus()
{
    registerElements<Virus>();
}
