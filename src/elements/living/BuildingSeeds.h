#pragma once
// The eighteen building seeds: each settles on what it lands on and grows a
// building from its folder under "buildings/". Five are resource seeds: they
// wait before settling, build only where there is room, put back the ground
// they took and then use up the colony's Wood and Stone.
#include "elements/living/StructureSeed.h"

// clang-format off
inline constexpr ElementInfo kSeedChichenItzaInfo = seedInfo("SeedChichenItza");
inline constexpr ElementInfo kSeedEiffelInfo = seedInfo("SeedEiffel");
inline constexpr ElementInfo kSeedFireplaceInfo = seedInfo("SeedFireplace");
inline constexpr ElementInfo kSeedFuturisticBuildingInfo = seedInfo("SeedFutureBuild");
inline constexpr ElementInfo kSeedHouseInfo = seedInfo("SeedHouse");
inline constexpr ElementInfo kSeedKremlinInfo = seedInfo("SeedKremlin");
inline constexpr ElementInfo kSeedLibertyInfo = seedInfo("SeedLiberty");
inline constexpr ElementInfo kSeedMageTowerInfo = seedInfo("SeedMageTower");
inline constexpr ElementInfo kSeedNiceHouseInfo = seedInfo("SeedNiceHouse");
inline constexpr ElementInfo kSeedOldMechaInfo = seedInfo("SeedOldMecha");
inline constexpr ElementInfo kSeedPagodaInfo = seedInfo("SeedPagoda");
inline constexpr ElementInfo kSeedPierInfo = seedInfo("SeedPier");
inline constexpr ElementInfo kSeedPisaInfo = seedInfo("SeedPisa");
inline constexpr ElementInfo kSeedPyramidInfo = seedInfo("SeedPyramid");
inline constexpr ElementInfo kSeedRoboBridgeInfo = seedInfo("SeedRoboBridge");
inline constexpr ElementInfo kSeedStoneHouseInfo = seedInfo("SeedStoneHouse");
inline constexpr ElementInfo kSeedUFOCrashInfo = seedInfo("SeedUFOCrash");
inline constexpr ElementInfo kSeedWoodHouseInfo = seedInfo("SeedWoodHouse");

inline constexpr SeedParams kSeedChichenItzaParams{"buildings/chichenitza", SeedGround::Building, "sfx_construction"};
inline constexpr SeedParams kSeedEiffelParams{"buildings/eiffel", SeedGround::Building, "sfx_construction"};
inline constexpr SeedParams kSeedFireplaceParams{"buildings/fireplace", SeedGround::Resource, "sfx_construction", nullptr, true, 200, {"Wood"}, true};
inline constexpr SeedParams kSeedFuturisticBuildingParams{"buildings/futuristicbuilding", SeedGround::Building, "sfx_construction"};
inline constexpr SeedParams kSeedHouseParams{"buildings/house", SeedGround::Building, "sfx_construction"};
inline constexpr SeedParams kSeedKremlinParams{"buildings/kremlin", SeedGround::Building, "sfx_construction"};
inline constexpr SeedParams kSeedLibertyParams{"buildings/liberty", SeedGround::Building, "sfx_construction"};
inline constexpr SeedParams kSeedMageTowerParams{"buildings/magetower", SeedGround::Building, "sfx_construction"};
inline constexpr SeedParams kSeedNiceHouseParams{"buildings/niceHouse", SeedGround::Resource, "sfx_construction", nullptr, true, 200, {"Stone", "Stone", "Stone", "Wood", "Wood"}};
inline constexpr SeedParams kSeedOldMechaParams{"buildings/oldmecha", SeedGround::Building, "sfx_construction"};
inline constexpr SeedParams kSeedPagodaParams{"buildings/pagoda", SeedGround::Building, "sfx_construction"};
inline constexpr SeedParams kSeedPierParams{"buildings/pier", SeedGround::Resource, "sfx_construction", nullptr, true, 20, {}};
inline constexpr SeedParams kSeedPisaParams{"buildings/pisa", SeedGround::Building, "sfx_construction"};
inline constexpr SeedParams kSeedPyramidParams{"buildings/pyramid", SeedGround::Building, "sfx_construction"};
inline constexpr SeedParams kSeedRoboBridgeParams{"buildings/robobridge", SeedGround::Building, "sfx_construction"};
inline constexpr SeedParams kSeedStoneHouseParams{"buildings/stoneHouse", SeedGround::Resource, "sfx_construction", nullptr, true, 200, {"Stone", "Stone", "Stone", "Wood"}};
inline constexpr SeedParams kSeedUFOCrashParams{"buildings/ufocrash", SeedGround::Building, "sfx_construction"};
inline constexpr SeedParams kSeedWoodHouseParams{"buildings/woodenHouse", SeedGround::Resource, "sfx_construction", nullptr, true, 200, {"Wood", "Wood", "Wood"}};
// clang-format on

class SeedChichenItza : public StructureSeed<kSeedChichenItzaInfo, kSeedChichenItzaParams> { };
class SeedEiffel : public StructureSeed<kSeedEiffelInfo, kSeedEiffelParams> { };
class SeedFireplace : public StructureSeed<kSeedFireplaceInfo, kSeedFireplaceParams> { };
class SeedFuturisticBuilding : public StructureSeed<kSeedFuturisticBuildingInfo, kSeedFuturisticBuildingParams> { };
class SeedHouse : public StructureSeed<kSeedHouseInfo, kSeedHouseParams> { };
class SeedKremlin : public StructureSeed<kSeedKremlinInfo, kSeedKremlinParams> { };
class SeedLiberty : public StructureSeed<kSeedLibertyInfo, kSeedLibertyParams> { };
class SeedMageTower : public StructureSeed<kSeedMageTowerInfo, kSeedMageTowerParams> { };
class SeedNiceHouse : public StructureSeed<kSeedNiceHouseInfo, kSeedNiceHouseParams> { };
class SeedOldMecha : public StructureSeed<kSeedOldMechaInfo, kSeedOldMechaParams> { };
class SeedPagoda : public StructureSeed<kSeedPagodaInfo, kSeedPagodaParams> { };
class SeedPier : public StructureSeed<kSeedPierInfo, kSeedPierParams> { };
class SeedPisa : public StructureSeed<kSeedPisaInfo, kSeedPisaParams> { };
class SeedPyramid : public StructureSeed<kSeedPyramidInfo, kSeedPyramidParams> { };
class SeedRoboBridge : public StructureSeed<kSeedRoboBridgeInfo, kSeedRoboBridgeParams> { };
class SeedStoneHouse : public StructureSeed<kSeedStoneHouseInfo, kSeedStoneHouseParams> { };
class SeedUFOCrash : public StructureSeed<kSeedUFOCrashInfo, kSeedUFOCrashParams> { };
class SeedWoodHouse : public StructureSeed<kSeedWoodHouseInfo, kSeedWoodHouseParams> { };

// Registers the building seeds with the element factory.
void registerBuildingSeeds();
