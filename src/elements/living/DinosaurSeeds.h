#pragma once
// The eleven dinosaur seeds: ten settle like the ordinary building seeds and
// stamp a dinosaur from their folder under "dinosaurs/", roaring when done;
// Plesiosaurus floats, dives eight rows into water and leaves water behind.
#include "elements/living/StructureSeed.h"

// clang-format off
inline constexpr ElementInfo kAnkylosaurInfo = seedInfo("Ankylosaur");
inline constexpr ElementInfo kBrontosaurInfo = seedInfo("Brontosaurus");
inline constexpr ElementInfo kCompsognathusInfo = seedInfo("Compsognathus");
inline constexpr ElementInfo kDeinonychusInfo = seedInfo("Deinonychus");
inline constexpr ElementInfo kPachyInfo = seedInfo("Pachy");
inline constexpr ElementInfo kParasaurolophusInfo = seedInfo("Parasaurolophus");
inline constexpr ElementInfo kPlesiosaurusInfo = seedInfo("Plesiosaurus", 0);
inline constexpr ElementInfo kStegosaurusInfo = seedInfo("Stegosaurus");
inline constexpr ElementInfo kTriceratopsInfo = seedInfo("Triceratops");
inline constexpr ElementInfo kTyrannosaurusInfo = seedInfo("Tyrannosaurus");
inline constexpr ElementInfo kVelociraptorInfo = seedInfo("Velociraptor");

inline constexpr SeedParams kAnkylosaurParams{"dinosaurs/ankylosaur", SeedGround::Building, nullptr, "sfx_element_dino_1"};
inline constexpr SeedParams kBrontosaurParams{"dinosaurs/brontosaurus", SeedGround::Building, nullptr, "sfx_element_dino_2"};
inline constexpr SeedParams kCompsognathusParams{"dinosaurs/compsognathus", SeedGround::Building, nullptr, "sfx_element_dino_1"};
inline constexpr SeedParams kDeinonychusParams{"dinosaurs/deinonychus", SeedGround::Building, nullptr, "sfx_element_dino_2"};
inline constexpr SeedParams kPachyParams{"dinosaurs/pachycephalosaurus", SeedGround::Building, nullptr, "sfx_element_dino_1"};
inline constexpr SeedParams kParasaurolophusParams{"dinosaurs/parasaurolophus", SeedGround::Building, nullptr, "sfx_element_dino_2"};
inline constexpr SeedParams kPlesiosaurusParams{"dinosaurs/plesiosaurus", SeedGround::Sea, nullptr, "sfx_element_dino_1"};
inline constexpr SeedParams kStegosaurusParams{"dinosaurs/stegosaurus", SeedGround::Building, nullptr, "sfx_element_dino_2"};
inline constexpr SeedParams kTriceratopsParams{"dinosaurs/triceratops", SeedGround::Building, nullptr, "sfx_element_dino_1"};
inline constexpr SeedParams kTyrannosaurusParams{"dinosaurs/tyrannosaurus", SeedGround::Building, nullptr, "sfx_element_dino_2"};
inline constexpr SeedParams kVelociraptorParams{"dinosaurs/velociraptor", SeedGround::Building, nullptr, "sfx_element_dino_1"};
// clang-format on

class Ankylosaur : public StructureSeed<kAnkylosaurInfo, kAnkylosaurParams> { };
class Brontosaur : public StructureSeed<kBrontosaurInfo, kBrontosaurParams> { };
class Compsognathus : public StructureSeed<kCompsognathusInfo, kCompsognathusParams> { };
class Deinonychus : public StructureSeed<kDeinonychusInfo, kDeinonychusParams> { };
class Pachy : public StructureSeed<kPachyInfo, kPachyParams> { };
class Parasaurolophus : public StructureSeed<kParasaurolophusInfo, kParasaurolophusParams> { };
class Plesiosaurus : public StructureSeed<kPlesiosaurusInfo, kPlesiosaurusParams> { };
class Stegosaurus : public StructureSeed<kStegosaurusInfo, kStegosaurusParams> { };
class Triceratops : public StructureSeed<kTriceratopsInfo, kTriceratopsParams> { };
class Tyrannosaurus : public StructureSeed<kTyrannosaurusInfo, kTyrannosaurusParams> { };
class Velociraptor : public StructureSeed<kVelociraptorInfo, kVelociraptorParams> { };

// Registers the dinosaur seeds with the element factory ("Pachycephalosaurus"
// makes a Pachy too).
void registerDinosaurSeeds();
