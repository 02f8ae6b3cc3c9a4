#include "elements/living/BuildingSeeds.h"

void registerBuildingSeeds()
{
    registerElements<SeedChichenItza, SeedEiffel, SeedFireplace, SeedFuturisticBuilding, SeedHouse, SeedKremlin,
                     SeedLiberty, SeedMageTower, SeedNiceHouse, SeedOldMecha, SeedPagoda, SeedPier, SeedPisa,
                     SeedPyramid, SeedRoboBridge, SeedStoneHouse, SeedUFOCrash, SeedWoodHouse>();
}
