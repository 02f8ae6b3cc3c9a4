#include "elements/living/TreeSeeds.h"

void registerTreeSeeds()
{
    registerElements<SeedBaobab, SeedBonsai, SeedCedar, SeedDracaena, SeedOak, SeedPalm, SeedPine, SeedRedMaple,
                     SeedSakura, SeedTenere, SeedWillow>();
}
