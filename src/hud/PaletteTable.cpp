#include "hud/PaletteTable.h"

#include <algorithm>

// Every name the element factory accepts, in the factory's order, with the
// palette family it shows in; the names players never paint are in
// kInternalNames instead. A family's page lists its names in this order.
const std::vector<PaletteEntry>& paletteTable()
{
    static const std::vector<PaletteEntry> table = {
        {"Wall", PaletteFamily::Powders},
        {"Bright", PaletteFamily::Fire},
        {"Soil", PaletteFamily::Powders},
        {"Mud", PaletteFamily::Powders},
        {"Sand", PaletteFamily::Powders},
        {"SandWet", PaletteFamily::Powders},
        {"Glass", PaletteFamily::Powders},
        {"Stone", PaletteFamily::Powders},
        {"Bulb", PaletteFamily::Devices},
        {"Metal", PaletteFamily::Powders},
        {"Electro", PaletteFamily::Devices},
        {"Water", PaletteFamily::Liquids},
        {"Steam", PaletteFamily::Gases},
        {"Ice", PaletteFamily::Powders},
        {"Fire", PaletteFamily::Fire},
        {"Lava", PaletteFamily::Liquids},
        {"Multi", PaletteFamily::Special},
        {"Heater", PaletteFamily::Devices},
        {"Cooler", PaletteFamily::Devices},
        {"Virus", PaletteFamily::Special},
        {"AVirus", PaletteFamily::Special},
        {"Acid", PaletteFamily::Liquids},
        {"AcidWater", PaletteFamily::Liquids},
        {"AcidSteam", PaletteFamily::Gases},
        {"Oil", PaletteFamily::Liquids},
        {"OilBurning", PaletteFamily::Fire},
        {"Gas", PaletteFamily::Gases},
        {"Snow", PaletteFamily::Powders},
        {"Wax", PaletteFamily::Powders},
        {"WaxMelt", PaletteFamily::Liquids},
        {"Note", PaletteFamily::Devices},
        {"Power", PaletteFamily::Devices},
        {"Cloud", PaletteFamily::Gases},
        {"Grass", PaletteFamily::Life},
        {"Void", PaletteFamily::Special},
        {"FlowerCenter", PaletteFamily::Life},
        {"FlowerPetal", PaletteFamily::Life},
        {"Ash", PaletteFamily::Powders},
        {"Seed", PaletteFamily::Life},
        {"TreeRoot", PaletteFamily::Life},
        {"TreeCenter", PaletteFamily::Life},
        {"TreeLeaf", PaletteFamily::Life},
        {"Wood", PaletteFamily::Powders},
        {"Smoke", PaletteFamily::Gases},
        {"SafariDust", PaletteFamily::Creatures},
        {"SpacemanDust", PaletteFamily::Creatures},
        {"LionLeader", PaletteFamily::Creatures},
        {"Flamingo", PaletteFamily::Creatures},
        {"Fish", PaletteFamily::Creatures},
        {"Algae", PaletteFamily::Life},
        {"AlgaeLeaf", PaletteFamily::Life},
        {"Bee", PaletteFamily::Creatures},
        {"BeeHive", PaletteFamily::Creatures},
        {"BeeHiveCell", PaletteFamily::Creatures},
        {"SeedBaobab", PaletteFamily::Life},
        {"SeedBonsai", PaletteFamily::Life},
        {"SeedCedar", PaletteFamily::Life},
        {"SeedDracaena", PaletteFamily::Life},
        {"SeedOak", PaletteFamily::Life},
        {"SeedPalm", PaletteFamily::Life},
        {"SeedPine", PaletteFamily::Life},
        {"SeedRedMaple", PaletteFamily::Life},
        {"SeedSakura", PaletteFamily::Life},
        {"SeedTenere", PaletteFamily::Life},
        {"SeedWillow", PaletteFamily::Life},
        {"SeedHouse", PaletteFamily::Special},
        {"Amatist", PaletteFamily::Powders},
        {"Citrine", PaletteFamily::Powders},
        {"Diamond", PaletteFamily::Powders},
        {"Emerald", PaletteFamily::Powders},
        {"Lapislazuli", PaletteFamily::Powders},
        {"Obsidian", PaletteFamily::Powders},
        {"Ruby", PaletteFamily::Powders},
        {"Sapphire", PaletteFamily::Powders},
        {"Zircon", PaletteFamily::Powders},
        {"Firefly", PaletteFamily::Creatures},
        {"Tnt", PaletteFamily::Fire},
        {"LightSensor", PaletteFamily::Devices},
        {"LiquidSensor", PaletteFamily::Devices},
        {"VeryColdSensor", PaletteFamily::Devices},
        {"ColdSensor", PaletteFamily::Devices},
        {"NormalSensor", PaletteFamily::Devices},
        {"HotSensor", PaletteFamily::Devices},
        {"VeryHotSensor", PaletteFamily::Devices},
        {"DeepSeaFish", PaletteFamily::Creatures},
        {"C4", PaletteFamily::Fire},
        {"LedRed", PaletteFamily::Devices},
        {"LedOrange", PaletteFamily::Devices},
        {"LedYellow", PaletteFamily::Devices},
        {"LedBlue", PaletteFamily::Devices},
        {"LedPurple", PaletteFamily::Devices},
        {"LedGreen", PaletteFamily::Devices},
        {"CrossWire", PaletteFamily::Devices},
        {"Ankylosaur", PaletteFamily::Creatures},
        {"Brontosaurus", PaletteFamily::Creatures},
        {"Compsognathus", PaletteFamily::Creatures},
        {"Deinonychus", PaletteFamily::Creatures},
        {"Pachy", PaletteFamily::Creatures},
        {"Parasaurolophus", PaletteFamily::Creatures},
        {"Plesiosaurus", PaletteFamily::Creatures},
        {"Stegosaurus", PaletteFamily::Creatures},
        {"Triceratops", PaletteFamily::Creatures},
        {"Tyrannosaurus", PaletteFamily::Creatures},
        {"Velociraptor", PaletteFamily::Creatures},
        {"SeedLiberty", PaletteFamily::Special},
        {"SeedChichenItza", PaletteFamily::Special},
        {"SeedPisa", PaletteFamily::Special},
        {"SeedEiffel", PaletteFamily::Special},
        {"SeedPyramid", PaletteFamily::Special},
        {"SeedPagoda", PaletteFamily::Special},
        {"SeedMageTower", PaletteFamily::Special},
        {"SeedFutureBuild", PaletteFamily::Special},
        {"SeedUFOCrash", PaletteFamily::Special},
        {"SeedKremlin", PaletteFamily::Special},
        {"SeedRoboBridge", PaletteFamily::Special},
        {"ConveyorBeltL", PaletteFamily::Devices},
        {"ConveyorBeltR", PaletteFamily::Devices},
        {"EMulti", PaletteFamily::Special},
        {"SeedOldMecha", PaletteFamily::Special},
        {"HumanLeader", PaletteFamily::Creatures},
        {"RobotLeader", PaletteFamily::Creatures},
        {"MinerDust", PaletteFamily::Creatures},
        {"HunterDust", PaletteFamily::Creatures},
        {"BuilderDust", PaletteFamily::Creatures},
        {"WoodcutterDust", PaletteFamily::Creatures},
        {"ZombieDust", PaletteFamily::Creatures},
        {"RGuardianDust", PaletteFamily::Creatures},
        {"RHunterDust", PaletteFamily::Creatures},
        {"MPLeaderRabbit", PaletteFamily::Creatures},
        {"SeedFireplace", PaletteFamily::Special},
        {"SeedWoodHouse", PaletteFamily::Special},
        {"SeedStoneHouse", PaletteFamily::Special},
        {"SeedNiceHouse", PaletteFamily::Special},
        {"HumanSensor", PaletteFamily::Devices},
        {"SeedPier", PaletteFamily::Special},
        {"Laser", PaletteFamily::Devices},
        {"LaserTrans", PaletteFamily::Devices},
        {"GasSensor", PaletteFamily::Devices},
        {"Insulator", PaletteFamily::Powders},
        {"PipeIn", PaletteFamily::Devices},
        {"Pipe", PaletteFamily::Devices},
        {"PipeOut", PaletteFamily::Devices},
        {"Guitar", PaletteFamily::Devices},
        {"Bass", PaletteFamily::Devices},
        {"Trumpet", PaletteFamily::Devices},
        {"Drums", PaletteFamily::Devices},
        {"Tetro", PaletteFamily::Creatures},
        {"Bomb", PaletteFamily::Fire},
        {"Meteor", PaletteFamily::Fire},
        {"MPLeaderCar", PaletteFamily::Vehicles},
        {"MPLeaderTank", PaletteFamily::Vehicles},
        {"MPLeaderTruck", PaletteFamily::Vehicles},
        {"MPSportCar", PaletteFamily::Vehicles},
        {"MPLander", PaletteFamily::Vehicles},
        {"MPInvader", PaletteFamily::Creatures},
        {"Fireworks", PaletteFamily::Fire},
        {"Xenovine", PaletteFamily::Life},
        {"Mushboom", PaletteFamily::Life},
        {"Pirantha", PaletteFamily::Life},
        {"PiranthaTunnel", PaletteFamily::Life},
        {"Stinger", PaletteFamily::Creatures},
        {"LedSensor", PaletteFamily::Devices},
        {"Aluminite", PaletteFamily::Powders},
    };
    return table;
}

namespace {
// The border, part cells of bodies, beams, bullets, the blast and the second
// names of two classes.
const char* const kInternalNames[] = {"OutsideWall",  "LionPart",   "HumanPart",          "RobotPart",
                                      "MPRabbitBody", "MPBodyBase", "MPBodyCar",          "LaserBeam",
                                      "TankBullet",   "Explosion",  "Pachycephalosaurus", "LaserTransmitter"};
}  // namespace

bool isInternalElement(const std::string& name)
{
    return std::any_of(std::begin(kInternalNames), std::end(kInternalNames), [&](const char* n) { return name == n; });
}

PaletteFamily paletteFamilyOf(const std::string& name)
{
    if (name == "Clear")
        return PaletteFamily::Special;
    for (const PaletteEntry& e : paletteTable())
        if (name == e.name)
            return e.family;
    return PaletteFamily::Powders;
}

const char* paletteFamilyKey(PaletteFamily family)
{
    static const char* const keys[kPaletteFamilies] = {
        "PaletteFamilyPowders",   "PaletteFamilyLiquids",  "PaletteFamilyGases",
        "PaletteFamilyFire",      "PaletteFamilyDevices",  "PaletteFamilyLife",
        "PaletteFamilyCreatures", "PaletteFamilyVehicles", "PaletteFamilySpecial",
    };
    const int i = static_cast<int>(family);
    return i >= 0 && i < kPaletteFamilies ? keys[i] : keys[0];
}
