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
    "Sand", "SandWet", "Soil", "Mud", "Stone", "Ash", "Snow", "Ice", "Wax", "Glass", "Metal",
    "Insulator", "Wood", "Wall", "Void", "Water", "Oil", "OilBurning", "Lava", "WaxMelt",
    "Steam", "Smoke", "Gas", "Fire", "Explosion", "Bright",
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
