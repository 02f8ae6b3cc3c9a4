// The element frame: every material is made by the factory under its type
// name, starts with the colour its rows say, and glowing ones own exactly one
// light for their whole life.
#include <set>
#include <string>

#include "MaterialWorld.h"
#include "elements/materials/Fire.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"
#include "world/ColorTables.h"
#include "world/ParticleCreator.h"

namespace {

const char* const kMaterialNames[] = {
    "Sand",  "SandWet", "Soil",      "Mud",   "Stone", "Ash",  "Snow",      "Ice",    "Wax",
    "Glass", "Metal",   "Insulator", "Wood",  "Wall",  "Void", "Water",     "Oil",    "OilBurning",
    "Lava",  "WaxMelt", "Steam",     "Smoke", "Gas",   "Fire", "Explosion", "Bright",
};

bool sameColour(cocos2d::ccColor4B a, cocos2d::ccColor4B b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

}  // namespace

using ElementFrame = MaterialWorld;

TEST_F(ElementFrame, EveryMaterialIsMadeUnderItsTypeNameWithDistinctIds)
{
    std::set<uint32_t> ids;
    for (const char* name : kMaterialNames) {
        Particle* p = ParticleCreator::createByName(name);
        ASSERT_NE(p, nullptr) << name;
        EXPECT_EQ(p->getType(), hashString(name)) << name;
        EXPECT_EQ(p->getSoundName().rfind("sfx_element_", 0), 0u) << name;
        EXPECT_FALSE(p->isLiving()) << name;
        EXPECT_EQ(p->getSaveSize(), 0) << name;
        ASSERT_NE(p->getColors(), nullptr) << name;
        ids.insert(p->getType());
        delete p;
    }
    EXPECT_EQ(ids.size(), std::size(kMaterialNames));
}

TEST_F(ElementFrame, ColourRowsKeepTheirOrderAndExplosionHasNone)
{
    cocos2d::CCArray* rows = Water::colorRowList();
    ASSERT_EQ(rows->count(), 3u);
    EXPECT_EQ(static_cast<cocos2d::CCInteger*>(rows->objectAtIndex(0))->getValue(), 72);
    EXPECT_EQ(static_cast<cocos2d::CCInteger*>(rows->objectAtIndex(2))->getValue(), 74);
    EXPECT_EQ(Water::colorRowList(), Water::colorRowList()) << "built once";
    EXPECT_EQ(Explosion::colorRowList()->count(), 0u);
}

TEST_F(ElementFrame, StartRowsFollowTheTable)
{
    const auto sandFirst = colorOfRow(44);
    const auto sandSecond = colorOfRow(45);
    ASSERT_FALSE(sameColour(sandFirst, sandSecond));
    const auto wallSecond = colorOfRow(71);
    int sandSeconds = 0;
    int wallSeconds = 0;
    int snowOther = 0;
    const int n = 3000;
    for (int i = 0; i < n; ++i) {
        Particle* sand = ParticleCreator::createByName("Sand");
        Particle* wall = ParticleCreator::createByName("Wall");
        Particle* snow = ParticleCreator::createByName("Snow");
        sandSeconds += sameColour(sand->color, sandSecond);
        wallSeconds += sameColour(wall->color, wallSecond);
        snowOther += !sameColour(snow->color, colorOfRow(51));
        EXPECT_FALSE(sand->colorChanged);
        delete sand;
        delete wall;
        delete snow;
    }
    expectRate(static_cast<double>(sandSeconds) / n, 0.5, n);
    expectRate(static_cast<double>(wallSeconds) / n, 1.0 / 3.0, n);
    EXPECT_EQ(snowOther, 0);
}

TEST_F(ElementFrame, FlagsOfTheTableReachTheParticle)
{
    Particle* water = ParticleCreator::createByName("Water");
    EXPECT_TRUE(water->liquid);
    EXPECT_FALSE(water->depthShaded);
    EXPECT_EQ(water->lightAbsorption, 10);
    Particle* lava = ParticleCreator::createByName("Lava");
    EXPECT_TRUE(lava->lightSource);
    EXPECT_GE(lava->shimmerPeriod, 20);
    EXPECT_LE(lava->shimmerPeriod, 24);
    auto* stone = static_cast<Stone*>(ParticleCreator::createByName("Stone"));
    EXPECT_GE(stone->erosion, 60);
    EXPECT_LE(stone->erosion, 119);
    delete water;
    delete lava;
    delete stone;
}

TEST_F(ElementFrame, GlowingElementsMadeOutsideAnyWorldHaveNoLight)
{
    gWorld = nullptr;
    for (const char* name : {"Fire", "Explosion", "Bright", "Lava", "Metal"}) {
        Particle* p = ParticleCreator::createByName(name);
        ASSERT_NE(p, nullptr) << name;
        p->setPosition(3, 4);
        delete p;
    }
    gWorld = world.get();
}

TEST_F(ElementFrame, ALightFollowsItsParticleAndIsGivenBack)
{
    const int before = world->lightMap.lightsInUse();
    // A trial particle the tools make and destroy without placing it.
    delete ParticleCreator::createByName("Bright");
    EXPECT_EQ(world->lightMap.lightsInUse(), before);

    auto* bright = static_cast<Bright*>(put(50, 60, Bright::kTypeId));
    ASSERT_NE(bright->getLight(), nullptr);
    EXPECT_EQ(world->lightMap.lightsInUse(), before + 1);
    EXPECT_EQ(bright->getLight()->x, 50);
    EXPECT_EQ(bright->getLight()->y, 60);
    EXPECT_EQ(bright->getLight()->radius, 10);
    world->moveParticle(bright, 52, 61);
    EXPECT_EQ(bright->getLight()->x, 52);
    EXPECT_EQ(bright->getLight()->y, 61);
    EXPECT_TRUE(bright->getLight()->changed);
    world->removeParticle(52, 61);
    EXPECT_EQ(world->lightMap.lightsInUse(), before);
}

TEST_F(ElementFrame, LavaCarriesItsLightWhenSwapped)
{
    auto* lava = static_cast<Lava*>(put(40, 30, Lava::kTypeId));
    Particle* sand = put(40, 29, Sand::kTypeId);
    world->swapParticles(lava, sand);
    ASSERT_NE(lava->getLight(), nullptr);
    EXPECT_EQ(lava->getLight()->x, 40);
    EXPECT_EQ(lava->getLight()->y, 29);
    EXPECT_EQ(lava->getLight()->radius, 1);
}

TEST_F(ElementFrame, TheSecondFamiliesFollowTheirConstantsTables)
{
    struct Row {
        const char* name;
        int32_t density;
        float blast;
        float factor;
        const char* sound;
        int32_t saveBytes;
        bool living;
        int startRow;  // colour-table row of the start colour
        int32_t absorb;
        bool liquid;
        bool flat;
        bool lit;
    };
    // clang-format off
    const Row rows[] = {
        {"Acid",        3,   0.7f,  0.8f, "sfx_element_acid",      0, false, 0,   20,  true,  false, false},
        {"AcidWater",   1,   0.7f,  0.8f, "sfx_element_acid",      0, false, 3,   15,  true,  false, false},
        {"AcidSteam",   0,   0.95f, 0.8f, "sfx_element_steam",     0, false, 2,   0,   false, false, false},
        {"Virus",       0,   0.9f,  0.2f, "sfx_element_virus",     0, false, 68,  0,   false, true,  false},
        {"Bomb",        90,  1.5f,  0.8f, "sfx_element_tnt",       0, false, 107, 0,   false, true,  false},
        {"C4",          0,   1.5f,  0.8f, "sfx_element_c4",        0, false, 116, 0,   false, true,  false},
        {"Tnt",         0,   1.5f,  0.8f, "sfx_element_tnt",       0, false, 117, 255, false, true,  false},
        {"Meteor",      90,  2.0f,  0.8f, "sfx_element_tnt",       0, true,  113, 0,   false, true,  false},
        {"Fireworks",   0,   1.5f,  0.8f, "sfx_element_fireworks", 0, false, 108, 0,   false, true,  false},
        {"Multi",       0,   -1.0f, 0.2f, "sfx_element_multi",     4, false, 38,  0,   false, true,  false},
        {"EMulti",      0,   -1.0f, 0.2f, "sfx_element_multi",     4, false, 153, 0,   false, true,  false},
        {"Electro",     0,   0.95f, 0.8f, "sfx_element_electro",   0, false, 11,  0,   false, true,  true},
        {"Amatist",     100, 0.5f,  0.6f, "sfx_element_gem",       0, false, 90,  20,  false, false, false},
        {"Citrine",     100, 0.5f,  0.6f, "sfx_element_gem",       0, false, 93,  20,  false, false, false},
        {"Diamond",     100, 0.5f,  0.6f, "sfx_element_gem",       0, false, 96,  20,  false, false, false},
        {"Emerald",     100, 0.5f,  0.6f, "sfx_element_gem",       0, false, 99,  20,  false, false, false},
        {"Lapislazuli", 100, 0.5f,  0.6f, "sfx_element_gem",       0, false, 102, 20,  false, false, false},
        {"Obsidian",    100, 0.5f,  0.6f, "sfx_element_gem",       0, false, 105, 20,  false, false, false},
        {"Ruby",        100, 0.5f,  0.6f, "sfx_element_gem",       0, false, 108, 20,  false, false, false},
        {"Sapphire",    100, 0.5f,  0.6f, "sfx_element_gem",       0, false, 111, 20,  false, false, false},
        {"Zircon",      100, 0.5f,  0.6f, "sfx_element_gem",       0, false, 114, 20,  false, false, false},
    };
    // clang-format on
    std::set<uint32_t> ids;
    for (const Row& r : rows) {
        Particle* p = ParticleCreator::createByName(r.name);
        ASSERT_NE(p, nullptr) << r.name;
        EXPECT_EQ(p->getType(), hashString(r.name)) << r.name;
        EXPECT_EQ(p->getDensity(), r.density) << r.name;
        EXPECT_FLOAT_EQ(p->getBlastFactor(), r.blast) << r.name;
        EXPECT_FLOAT_EQ(p->getFactor(), r.factor) << r.name;
        EXPECT_EQ(p->getSoundName(), r.sound) << r.name;
        EXPECT_EQ(p->getSaveSize(), r.saveBytes) << r.name;
        EXPECT_EQ(p->isLiving(), r.living) << r.name;
        EXPECT_TRUE(sameColour(p->color, colorOfRow(r.startRow))) << r.name;
        EXPECT_EQ(p->lightAbsorption, r.absorb) << r.name;
        EXPECT_EQ(p->liquid, r.liquid) << r.name;
        EXPECT_EQ(p->depthShaded, !r.flat) << r.name;
        EXPECT_EQ(p->lightSource, r.lit) << r.name;
        EXPECT_FALSE(p->colorChanged) << r.name;
        ids.insert(p->getType());
        delete p;
    }
    // The cloud's colour is its group's shade, so it is checked with clouds.
    Particle* cloud = ParticleCreator::createByName("Cloud");
    ASSERT_NE(cloud, nullptr);
    EXPECT_EQ(cloud->getDensity(), -2);
    EXPECT_EQ(cloud->lightAbsorption, 1);
    EXPECT_FALSE(cloud->depthShaded);
    delete cloud;
    EXPECT_EQ(ids.size() + 1, 22u);
}
