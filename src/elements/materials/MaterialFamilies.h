#pragma once
// One registration call per family of material classes; the factory's
// registerAllElements calls each once.
void registerPowders();
void registerLiquids();
void registerGases();
void registerFire();
void registerAcids();
void registerVirus();
void registerExplosives();
void registerFireworks();
void registerClouds();
void registerCloners();
void registerGems();
// The devices.
void registerWiring();
void registerLeds();
void registerSensors();
void registerConveyorBelts();
void registerLasers();
void registerInstruments();
void registerPipes();
