#include "elements/creatures/CreatureKinds.h"

namespace {
HumanJobHook gHumanJobHook = nullptr;
}  // namespace

void setHumanJobHook(HumanJobHook hook)
{
    gHumanJobHook = hook;
}

std::string humanJobOf(const Particle* cell)
{
    if (!cell || !gHumanJobHook || !CreatureKind::isHuman(cell->getType()))
        return {};
    return gHumanJobHook(cell);
}

bool isZombieCell(const Particle* cell)
{
    return humanJobOf(cell) == "zombie";
}
