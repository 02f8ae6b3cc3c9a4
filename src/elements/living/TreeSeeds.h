#pragma once
// The eleven tree seeds: each settles only on Mud (sinking into it), stamps a
// pictured tree from its folder under "trees/" where there is room, and
// leaves Mud behind; on any other ground it vanishes.
#include "elements/living/StructureSeed.h"

// clang-format off
inline constexpr ElementInfo kSeedBaobabInfo = seedInfo("SeedBaobab");
inline constexpr ElementInfo kSeedBonsaiInfo = seedInfo("SeedBonsai");
inline constexpr ElementInfo kSeedCedarInfo = seedInfo("SeedCedar");
inline constexpr ElementInfo kSeedDracaenaInfo = seedInfo("SeedDracaena");
inline constexpr ElementInfo kSeedOakInfo = seedInfo("SeedOak");
inline constexpr ElementInfo kSeedPalmInfo = seedInfo("SeedPalm");
inline constexpr ElementInfo kSeedPineInfo = seedInfo("SeedPine");
inline constexpr ElementInfo kSeedRedMapleInfo = seedInfo("SeedRedMaple");
inline constexpr ElementInfo kSeedSakuraInfo = seedInfo("SeedSakura");
inline constexpr ElementInfo kSeedTenereInfo = seedInfo("SeedTenere");
inline constexpr ElementInfo kSeedWillowInfo = seedInfo("SeedWillow");

inline constexpr SeedParams kSeedBaobabParams{"trees/baobab", SeedGround::Tree, nullptr, nullptr, true};
inline constexpr SeedParams kSeedBonsaiParams{"trees/bonsai", SeedGround::Tree, nullptr, nullptr, true};
inline constexpr SeedParams kSeedCedarParams{"trees/cedar", SeedGround::Tree, nullptr, nullptr, true};
inline constexpr SeedParams kSeedDracaenaParams{"trees/dracaena", SeedGround::Tree, nullptr, nullptr, true};
inline constexpr SeedParams kSeedOakParams{"trees/oak", SeedGround::Tree, nullptr, nullptr, true};
inline constexpr SeedParams kSeedPalmParams{"trees/palm", SeedGround::Tree, nullptr, nullptr, true};
inline constexpr SeedParams kSeedPineParams{"trees/pine", SeedGround::Tree, nullptr, nullptr, true};
inline constexpr SeedParams kSeedRedMapleParams{"trees/redMaple", SeedGround::Tree, nullptr, nullptr, true};
inline constexpr SeedParams kSeedSakuraParams{"trees/sakura", SeedGround::Tree, nullptr, nullptr, true};
inline constexpr SeedParams kSeedTenereParams{"trees/tenere", SeedGround::Tree, nullptr, nullptr, true};
inline constexpr SeedParams kSeedWillowParams{"trees/willow", SeedGround::Tree, nullptr, nullptr, true};
// clang-format on

class SeedBaobab : public StructureSeed<kSeedBaobabInfo, kSeedBaobabParams> { };
class SeedBonsai : public StructureSeed<kSeedBonsaiInfo, kSeedBonsaiParams> { };
class SeedCedar : public StructureSeed<kSeedCedarInfo, kSeedCedarParams> { };
class SeedDracaena : public StructureSeed<kSeedDracaenaInfo, kSeedDracaenaParams> { };
class SeedOak : public StructureSeed<kSeedOakInfo, kSeedOakParams> { };
class SeedPalm : public StructureSeed<kSeedPalmInfo, kSeedPalmParams> { };
class SeedPine : public StructureSeed<kSeedPineInfo, kSeedPineParams> { };
class SeedRedMaple : public StructureSeed<kSeedRedMapleInfo, kSeedRedMapleParams> { };
class SeedSakura : public StructureSeed<kSeedSakuraInfo, kSeedSakuraParams> { };
class SeedTenere : public StructureSeed<kSeedTenereInfo, kSeedTenereParams> { };
class SeedWillow : public StructureSeed<kSeedWillowInfo, kSeedWillowParams> { };

// Registers the tree seeds with the element factory.
void registerTreeSeeds();
