#pragma once
// One registration call per family of living and grown classes; the factory's
// registerAllElements calls each once.
void registerPlants();
void registerTrees();
void registerBuildingSeeds();
void registerTreeSeeds();
void registerDinosaurSeeds();
// The living world: animals, the alien biome and the anti-virus.
void registerBees();
void registerFish();
void registerFlocks();
void registerAlien();
void registerStinger();
void registerAVirus();
// Back to the start of a run for the living world's run-long state: the
// flocks, the flamingo count, the Stinger's field driver, kind lists and
// distance field, and the ore's light flag. For tests.
void resetLivingRunStateForTests();
