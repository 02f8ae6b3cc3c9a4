#include "world/ParticleCreator.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/Logger.h"
#include "world/OutsideWall.h"

USING_NS_CC;

namespace {

// The accepted type names, in the factory's order.
// clang-format off
constexpr std::array<const char*, ParticleCreator::kAcceptedNames> kTypeNames = {
    "Wall", "OutsideWall", "Bright", "Soil", "Mud", "Sand", "SandWet", "Glass", "Stone", "Bulb", "Metal",
    "Electro", "Water", "Steam", "Ice", "Fire", "Lava", "Multi", "Heater", "Cooler", "Virus", "AVirus",
    "Acid", "AcidWater", "AcidSteam", "Oil", "OilBurning", "Gas", "Snow", "Wax", "WaxMelt", "Note", "Power",
    "Cloud", "Grass", "Void", "FlowerCenter", "FlowerPetal", "Ash", "Seed", "TreeRoot", "TreeCenter",
    "TreeLeaf", "Wood", "Smoke", "SafariDust", "SpacemanDust", "LionLeader", "LionPart", "Flamingo", "Fish",
    "Algae", "AlgaeLeaf", "Bee", "BeeHive", "BeeHiveCell", "SeedBaobab", "SeedBonsai", "SeedCedar",
    "SeedDracaena", "SeedOak", "SeedPalm", "SeedPine", "SeedRedMaple", "SeedSakura", "SeedTenere",
    "SeedWillow", "SeedHouse", "Amatist", "Citrine", "Diamond", "Emerald", "Lapislazuli", "Obsidian", "Ruby",
    "Sapphire", "Zircon", "Firefly", "Tnt", "LightSensor", "LiquidSensor", "VeryColdSensor", "ColdSensor",
    "NormalSensor", "HotSensor", "VeryHotSensor", "DeepSeaFish", "C4", "Explosion", "LedRed", "LedOrange",
    "LedYellow", "LedBlue", "LedPurple", "LedGreen", "CrossWire", "Ankylosaur", "Brontosaurus",
    "Compsognathus", "Deinonychus", "Pachy", "Pachycephalosaurus", "Parasaurolophus", "Plesiosaurus",
    "Stegosaurus", "Triceratops", "Tyrannosaurus", "Velociraptor", "SeedLiberty", "SeedChichenItza",
    "SeedPisa", "SeedEiffel", "SeedPyramid", "SeedPagoda", "SeedMageTower", "SeedFutureBuild", "SeedUFOCrash",
    "SeedKremlin", "SeedRoboBridge", "ConveyorBeltL", "ConveyorBeltR", "EMulti", "SeedOldMecha",
    "HumanLeader", "HumanPart", "RobotLeader", "RobotPart", "MinerDust", "HunterDust", "BuilderDust",
    "WoodcutterDust", "ZombieDust", "RGuardianDust", "RHunterDust", "MPLeaderRabbit", "MPRabbitBody",
    "SeedFireplace", "SeedWoodHouse", "SeedStoneHouse", "SeedNiceHouse", "HumanSensor", "SeedPier", "Laser",
    "LaserBeam", "LaserTrans", "LaserTransmitter", "GasSensor", "Insulator", "PipeIn", "Pipe", "PipeOut",
    "Guitar", "Bass", "Trumpet", "Drums", "Tetro", "MPBodyBase", "Bomb", "Meteor", "MPLeaderCar", "MPBodyCar",
    "MPLeaderTank", "TankBullet", "MPLeaderTruck", "MPSportCar", "MPLander", "MPInvader", "Fireworks",
    "Xenovine", "Mushboom", "Pirantha", "PiranthaTunnel", "Stinger", "LedSensor", "Aluminite",
};
// clang-format on

static_assert(kTypeNames[ParticleCreator::kAcceptedNames - 1] != nullptr, "every accepted name is listed");

constexpr bool idsAreDistinct()
{
    for (size_t i = 0; i < kTypeNames.size(); ++i) {
        if (hashString(kTypeNames[i]) == ParticleCreator::kParticleTypeId)
            return false;
        for (size_t j = i + 1; j < kTypeNames.size(); ++j)
            if (hashString(kTypeNames[i]) == hashString(kTypeNames[j]))
                return false;
    }
    return true;
}
static_assert(idsAreDistinct(), "saved worlds tell elements apart by these ids");

// Accepted names whose name-table entry differs from the name itself.
struct NameException {
    const char* accepted;
    const char* shown;
};
constexpr NameException kNameExceptions[] = {
    {"Tnt", "TNT"},
    {"Pachycephalosaurus", "Pachy"},
    {"LaserTrans", "LaserTransmitter"},
    {"RobotLeader", "HumanLeader"},
    {"RobotPart", "HumanPart"},
    {"LaserTransmitter", "N/A"},
    {"LionPart", "N/A"},
    {"SeedHouse", "N/A"},
    {"SeedChichenItza", "N/A"},
    {"SeedPisa", "N/A"},
    {"SeedEiffel", "N/A"},
    {"SeedPyramid", "N/A"},
    {"SeedPagoda", "N/A"},
    {"SeedPier", "N/A"},
};

// Accepted names left out of the reset list ("TNT" takes the place of "Tnt").
constexpr const char* kNotReset[] = {
    "LionLeader",     "LionPart",           "SeedHouse",       "Tnt",
    "CrossWire",      "Pachycephalosaurus", "SeedChichenItza", "SeedPisa",
    "SeedEiffel",     "SeedPyramid",        "SeedPagoda",      "HumanLeader",
    "HumanPart",      "RobotPart",          "MinerDust",       "HunterDust",
    "BuilderDust",    "WoodcutterDust",     "MPLeaderRabbit",  "MPRabbitBody",
    "SeedFireplace",  "SeedWoodHouse",      "SeedStoneHouse",  "SeedNiceHouse",
    "HumanSensor",    "SeedPier",           "LaserBeam",       "LaserTransmitter",
    "PiranthaTunnel",
};

constexpr const char* kNotAccepted = "N/A";

// Open addressing over the accepted ids: the step makes particles of
// alternating kinds, and a lookup there is a probe or two.
constexpr int kSlotBits = 9;
constexpr uint32_t kSlots = 1u << kSlotBits;
static_assert(kSlots >= 2 * ParticleCreator::kAcceptedNames);

uint32_t slotOf(uint32_t typeId)
{
    return (typeId * 2654435761u) >> (32 - kSlotBits);
}

struct Table {
    // Accepted id and its index (index -1: a free slot).
    std::array<std::pair<uint32_t, int>, kSlots> byId{};
    // The name table's entry of every accepted name, kept as strings so that
    // marking a creation needs no allocation.
    std::array<std::string, ParticleCreator::kAcceptedNames> shownNames;
    std::array<ParticleCreator::Maker, ParticleCreator::kAcceptedNames> makers{};
    std::string notAccepted = kNotAccepted;
};

Particle* makeOutsideWall()
{
    return new OutsideWall();
}

Table& table()
{
    static Table* t = [] {
        Table* made = new Table();
        for (auto& slot : made->byId)
            slot = {0, -1};
        for (int i = 0; i < ParticleCreator::kAcceptedNames; ++i) {
            const uint32_t id = hashString(kTypeNames[i]);
            uint32_t slot = slotOf(id);
            while (made->byId[slot].second >= 0)
                slot = (slot + 1) & (kSlots - 1);
            made->byId[slot] = {id, i};
            made->shownNames[i] = kTypeNames[i];
            for (const NameException& e : kNameExceptions)
                if (std::strcmp(e.accepted, kTypeNames[i]) == 0)
                    made->shownNames[i] = e.shown;
        }
        return made;
    }();
    // Every family built so far registers on the factory's first use, so the
    // factory works whichever start-up path reaches it first.
    static bool familiesRegistered = false;
    if (!familiesRegistered) {
        familiesRegistered = true;
        ParticleCreator::registerMaker("OutsideWall", makeOutsideWall);
        registerAllElements();
    }
    return *t;
}

// Index of an accepted id in the name list, or -1.
// Runs of one element (a fill, a brush stroke) ask for the same id again and
// again: the last answer is kept (main thread only, like the factory).
int indexOf(uint32_t typeId)
{
    static uint32_t lastId = 0;
    static int lastIndex = -2;  // nothing looked up yet
    if (lastIndex != -2 && typeId == lastId)
        return lastIndex;
    const Table& t = table();
    uint32_t slot = slotOf(typeId);
    while (t.byId[slot].second >= 0 && t.byId[slot].first != typeId)
        slot = (slot + 1) & (kSlots - 1);
    const int index = t.byId[slot].second;
    lastId = typeId;
    lastIndex = index;
    return index;
}

CCDictionary* s_elementsCreated = nullptr;
// Per accepted name (and one for "N/A"): the record's stamp when its value was
// last seen to be 1. While the record keeps that stamp, the 1 stands.
std::array<uint64_t, ParticleCreator::kAcceptedNames + 1> s_seenOne{};

void markCreated(int index, const std::string& name)
{
    if (!s_elementsCreated) {
        s_elementsCreated = new CCDictionary();
    }
    uint64_t& seen = s_seenOne[index >= 0 ? index : ParticleCreator::kAcceptedNames];
    if (seen == s_elementsCreated->stamp())
        return;
    // Storing 1 over a 1 changes nothing: skip it so that the world step does
    // not make a boxed value per particle created.
    CCInteger* current = dynamic_cast<CCInteger*>(s_elementsCreated->objectForKey(name));
    if (!current || current->getValue() != 1) {
        // One 1 serves every name (nothing changes a value in place), so a
        // name the last reset listed is marked without the heap.
        static CCInteger* const one = new CCInteger(1);
        s_elementsCreated->setObject(one, name);
    }
    seen = s_elementsCreated->stamp();
}

}  // namespace

Particle* ParticleCreator::createById(uint32_t typeId)
{
    Table& t = table();
    const int index = indexOf(typeId);
    markCreated(index, index >= 0 ? t.shownNames[index] : t.notAccepted);
    if (index >= 0 && t.makers[index])
        return t.makers[index]();
    // An element that makes a kind the game lacks does so every step.
    static RepeatedLine notRegistered;
    static RepeatedLine baseClass;
    static RepeatedLine unknown;
    if (index >= 0) {
        if (notRegistered.due())
            LOG << "Element class not registered:" << kTypeNames[index] << notRegistered;
    } else if (typeId == kParticleTypeId) {
        if (baseClass.due())
            LOG << "Tried to load a particle of type Particle! Like OMG, right!?!?!" << baseClass;
    } else if (unknown.due()) {
        LOG << "Tried to load an unexisting type of particle " << static_cast<int32_t>(typeId) << unknown;
    }
    return nullptr;
}

Particle* ParticleCreator::createUnrecorded(uint32_t typeId)
{
    const int index = indexOf(typeId);
    if (index < 0 || !table().makers[index])
        return nullptr;
    const CapsLifted caps;
    return table().makers[index]();
}

Particle* ParticleCreator::createAt(uint32_t typeId, int x, int y)
{
    Particle* p = createById(typeId);
    if (p) {
        p->setPosition(x, y);
        return p;
    }
    static RepeatedLine failed;
    if (failed.due())
        LOG_ERROR << "Tried to load " << typeId << " " << getName(typeId) << " particle" << failed;
    return nullptr;
}

Particle* ParticleCreator::createByName(const char* name)
{
    const char* safeName = name ? name : "";
    Particle* p = createById(hashString(safeName));
    if (!p)
        LOG << "Tried to load " << safeName << " particle";
    return p;
}

Particle* ParticleCreator::createOutsideWall()
{
    Particle* p = createAt(hashString("OutsideWall"), 0, 0);
    if (!p)
        LOG << "Tried to load "
            << "OutsideWall"
            << " particle";
    return p;
}

std::string ParticleCreator::getName(uint32_t typeId)
{
    const int index = indexOf(typeId);
    return index >= 0 ? table().shownNames[index] : std::string(kNotAccepted);
}

std::vector<std::string> ParticleCreator::acceptedNames()
{
    return {std::begin(kTypeNames), std::end(kTypeNames)};
}

void ParticleCreator::resetElementsCreated()
{
    if (s_elementsCreated) {
        s_elementsCreated->release();
        s_elementsCreated = nullptr;
    }
    s_elementsCreated = new CCDictionary();
    for (const char* name : kTypeNames) {
        const bool skipped = std::any_of(std::begin(kNotReset), std::end(kNotReset),
                                         [name](const char* n) { return std::strcmp(n, name) == 0; });
        if (std::strcmp(name, "Tnt") == 0) {
            s_elementsCreated->setObject(CCInteger::create(0), "TNT");
            continue;
        }
        if (!skipped)
            s_elementsCreated->setObject(CCInteger::create(0), name);
    }
}

CCDictionary* ParticleCreator::getElementsCreated()
{
    return s_elementsCreated;
}

bool ParticleCreator::isAccepted(uint32_t typeId)
{
    return indexOf(typeId) >= 0;
}

bool ParticleCreator::isBuilt(uint32_t typeId)
{
    const int index = indexOf(typeId);
    return index >= 0 && table().makers[index] != nullptr;
}

bool ParticleCreator::registerMaker(const char* typeName, Maker maker)
{
    const int index = indexOf(hashString(typeName ? typeName : ""));
    if (index < 0 || std::strcmp(kTypeNames[index], typeName) != 0) {
        LOG_ERROR << "Refused to register an unknown element type " << (typeName ? typeName : "");
        return false;
    }
    table().makers[index] = maker;
    return true;
}

void ParticleCreator::clearRegistrations()
{
    Table& t = table();
    t.makers.fill(nullptr);
    registerMaker("OutsideWall", makeOutsideWall);
}
