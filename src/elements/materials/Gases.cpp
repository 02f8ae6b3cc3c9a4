#include "elements/materials/Gases.h"

#include "profile/Profile.h"

void Steam::update()
{
    if (condense())
        return;
    slideThenRise();
}

// True when the steam turns into something else this tick.
bool Steam::condense()
{
    if (oneIn(30)) {
        const int cx = x + randomOffset();
        const int cy = y + randomOffset();
        if (holds(cx, cy, TypeId::Water)) {
            replaceBy(TypeId::Water);
            return true;
        }
    }
    const bool weather = world().weather;
    if (weather && findNeighbour(TypeId::Cloud)) {
        replaceBy(TypeId::Cloud);
        return true;
    }
    // Trapped in a pocket: it rains back down, or gathers into cloud.
    if (countEmptyAbove() == 0 && countOccupiedBelow() >= 2 && oneIn(40)) {
        replaceBy(weather ? TypeId::Cloud : TypeId::Water);
        return true;
    }
    return false;
}

void Smoke::update()
{
    slideThenRise();
    if (oneIn(10))
        removeSelf();
}

void Gas::update()
{
    if (temperature() < GasHeat::kGasIgnites && !world().electricityGrid.isPoweredNear(x, y)) {
        const int cx = x + randomOffset();
        const int cy = y + randomOffset();
        if (isEmptyAt(cx, cy))
            moveTo(cx, cy);
        return;
    }
    Profile::getInstance()->countStoryDay20Gas();
    heat(GasHeat::kGasBurst);
    removeSelf();
}

void registerGases()
{
    registerElements<Steam, Smoke, Gas>();
}
