#include "elements/living/DinosaurSeeds.h"

void registerDinosaurSeeds()
{
    registerElements<Ankylosaur, Brontosaur, Compsognathus, Deinonychus, Pachy, Parasaurolophus, Plesiosaurus,
                     Stegosaurus, Triceratops, Tyrannosaurus, Velociraptor>();
    ParticleCreator::registerClass<Pachy>("Pachycephalosaurus");
}
