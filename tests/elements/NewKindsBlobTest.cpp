// A world holding every kind of the acids, virus, explosives, fireworks,
// clouds, cloners and gems saves and loads back whole: kinds, cells and the
// cloners' kinds; no gem colour is saved.
#include <map>

#include "MaterialWorld.h"
#include "base/NSData.h"
#include "elements/materials/Cloners.h"
#include "elements/materials/Clouds.h"
#include "elements/materials/Powders.h"

using NewKindsBlob = MaterialWorld;

TEST_F(NewKindsBlob, EveryNewKindComesBackFromASavedWorld)
{
    const char* kinds[] = {"Acid",     "AcidWater", "AcidSteam", "Virus",   "Bomb",    "C4",
                           "Tnt",      "Meteor",    "Fireworks", "Cloud",   "Multi",   "EMulti",
                           "Electro",  "Amatist",   "Citrine",   "Diamond", "Emerald", "Lapislazuli",
                           "Obsidian", "Ruby",      "Sapphire",  "Zircon"};
    std::map<std::pair<int, int>, uint32_t> placed;
    int x = 10;
    for (const char* name : kinds) {
        const uint32_t type = hashString(name);
        ASSERT_TRUE(ParticleCreator::isBuilt(type)) << name;
        put(x, 130, Wall::kTypeId);
        put(x, 131, type);
        placed[{x, 131}] = type;
        x += 10;
    }
    static_cast<Multi*>(world->at(110, 131))->copiedType = Sand::kTypeId;
    static_cast<EMulti*>(world->at(120, 131))->copiedType = TypeId::Water;
    world->weather = true;

    NSData* blob = world->save();
    ASSERT_NE(blob, nullptr);
    const std::vector<uint8_t> bytes(blob->bytes, blob->bytes + blob->length);

    world = std::make_unique<World>();
    gWorld = world.get();
    world->setBigWorld(true);
    world->placeBorderWalls();
    ASSERT_TRUE(world->loadBytes(bytes.data(), bytes.size()));
    for (const auto& [cell, type] : placed)
        EXPECT_EQ(typeAt(cell.first, cell.second), type) << ParticleCreator::getName(type);
    EXPECT_EQ(static_cast<Multi*>(world->at(110, 131))->copiedType, Sand::kTypeId);
    EXPECT_EQ(static_cast<EMulti*>(world->at(120, 131))->copiedType, TypeId::Water);
    const auto* cloud = static_cast<Cloud*>(world->at(100, 131));
    ASSERT_NE(cloud->blob, nullptr) << "a loaded cloud is a group of one";
    EXPECT_EQ(cloud->blob->memberCount(), 1);
    for (Particle* p : world->pool()) {
        if (p && p->getType() == hashString("Ruby")) {
            EXPECT_FALSE(p->colorChanged);
        }
    }
}
