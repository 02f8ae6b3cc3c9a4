#pragma once
// One registration call per family of creature classes; the factory's
// registerAllElements calls each once.
void registerSmallCreatures();  // rabbits, falling blocks, invaders (and MPBodyBase)
void registerLions();
void registerVehicles();  // cars, sports cars, the lander, the tank and its shell, the truck
