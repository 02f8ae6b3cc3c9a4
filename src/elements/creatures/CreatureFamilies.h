#pragma once
// One registration call per family of creature classes; the factory's
// registerAllElements calls each once.
void registerSmallCreatures();  // rabbits, falling blocks, invaders (and MPBodyBase)
void registerLions();
void registerVehicles();  // cars, sports cars, the lander, the tank and its shell, the truck
void registerDusts();     // the nine job and role dusts
void registerHumans();    // HumanLeader, HumanPart; installs the human-job hook
void registerRobots();
