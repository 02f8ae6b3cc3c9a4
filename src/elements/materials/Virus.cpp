#include "elements/materials/Virus.h"

#include "base/Logger.h"
#include "elements/creatures/CreatureKinds.h"

namespace {

bool sparedByVirus(uint32_t type)
{
    return type == TypeId::Wall || type == TypeId::OutsideWall || type == TypeId::AVirus || type == TypeId::Void ||
        type == TypeId::Multi;
}

// A whole block of Virus converts hundreds of cells a step: one line a
// second at most, with the count.
void logConversion()
{
    static RepeatedLine conversions;
    if (conversions.due())
        LOG << "Prepare to clear" << conversions;
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
