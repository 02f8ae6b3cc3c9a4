// The one place where every element family registers its classes with the
// factory. A family adds its registration call here when it is built.
#include "elements/creatures/CreatureFamilies.h"
#include "elements/living/LivingFamilies.h"
#include "elements/materials/MaterialFamilies.h"
#include "world/ParticleCreator.h"

void registerAllElements()
{
    // OutsideWall, the border sentinel, is built into the factory.
    registerPowders();
    registerLiquids();
    registerGases();
    registerFire();
    registerAcids();
    registerVirus();
    registerExplosives();
    registerFireworks();
    registerClouds();
    registerCloners();
    registerGems();
    registerPlants();
    registerTrees();
    registerBuildingSeeds();
    registerTreeSeeds();
    registerDinosaurSeeds();

    // The living world.
    registerBees();
    registerFish();
    registerFlocks();
    registerAlien();
    registerStinger();
    registerAVirus();

    // The devices.
    registerWiring();
    registerLeds();
    registerSensors();
    registerConveyorBelts();
    registerLasers();
    registerInstruments();
    registerPipes();

    // Creatures.
    registerSmallCreatures();
    registerLions();

    // Vehicles.
    registerVehicles();

    // Humans and robots, and their dusts.
    registerDusts();
    registerHumans();
    registerRobots();
}
