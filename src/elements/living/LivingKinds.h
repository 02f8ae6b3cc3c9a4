#pragma once
// Type ids of the living and grown kinds, for the neighbour tests of the
// plants, trees and seeds (kinds are known to each other only by id).
#include "elements/materials/Element.h"

namespace LivingId {
inline constexpr uint32_t Algae = TypeId::of("Algae");
inline constexpr uint32_t AlgaeLeaf = TypeId::of("AlgaeLeaf");
inline constexpr uint32_t Grass = TypeId::of("Grass");
inline constexpr uint32_t FlowerCenter = TypeId::of("FlowerCenter");
inline constexpr uint32_t FlowerPetal = TypeId::of("FlowerPetal");
inline constexpr uint32_t Fish = TypeId::of("Fish");
inline constexpr uint32_t Seed = TypeId::of("Seed");
inline constexpr uint32_t TreeRoot = TypeId::of("TreeRoot");
inline constexpr uint32_t TreeCenter = TypeId::of("TreeCenter");
inline constexpr uint32_t TreeLeaf = TypeId::of("TreeLeaf");
inline constexpr uint32_t Wood = TypeId::of("Wood");
}  // namespace LivingId

// Every plant and animal burns at this threshold and chance before it acts.
namespace LivingHeat {
constexpr int kBurns = 393;
constexpr int kBurnChance = 50;
constexpr int kLeafBurns = 343;       // tree leaves
constexpr int kRootBurnChance = 600;  // tree roots
}  // namespace LivingHeat

// Light levels below which the small plants die.
namespace PlantLight {
constexpr int32_t kGrassDiesAtOrBelow = 230;
constexpr int32_t kFlowerDiesBelow = 230;
}  // namespace PlantLight
