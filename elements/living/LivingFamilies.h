#pragma once
// One registration call per family of living and grown classes; the factory's
// registerAllElements calls each once.
void registerPlants();
void registerTrees();
void registerBuildingSeeds();
void registerTreeSeeds();
void registerDinosaurSeeds();
