#include "elements/creatures/CreatureCounts.h"
#include "elements/living/Alien.h"
#include "elements/living/Flocks.h"
#include "elements/living/LivingFamilies.h"
#include "elements/living/Stinger.h"

void resetLivingRunStateForTests()
{
    FlockRegistry::getInstance().resetForTests();
    CreatureCounts::flamingos = 0;
    Stinger::resetForTests();
    Aluminite::resetForTests();
}
