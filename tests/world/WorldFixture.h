#pragma once
// A clean world for world-core tests: test elements registered with the
// factory under real type names, the colour table built, a fresh game layer
// (and so a fresh world texture), a seeded random function, a manual clock,
// and a 240 x 160 world reachable through gWorld.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "cocos2d.h"
#include "platform/GameClock.h"
#include "platform/GameRandom.h"
#include "world/CCMutableTexture2D.h"
#include "world/ColorTables.h"
#include "support/CleanGame.h"
#include "scene/GameLayer.h"
#include "world/Particle.h"
#include "world/ParticleCreator.h"
#include "world/World.h"

namespace worldtest {

// What every test element does in its update; tests set it.
inline std::function<void(Particle&)> updateHook;
// Ids of the test elements in the order they were updated.
inline std::vector<int32_t> updateLog;
// Test elements alive right now.
inline int liveElements = 0;

class TestElement : public Particle {
public:
    TestElement(uint32_t type, int32_t density, int32_t absorption) : m_type(type), m_density(density)
    {
        lightAbsorption = absorption;
        ++liveElements;
    }
    ~TestElement() override { --liveElements; }
    uint32_t getType() const override { return m_type; }
    int32_t getDensity() const override { return m_density; }
    float getBlastFactor() const override { return 0.5f; }
    cocos2d::CCArray* getColors() const override
    {
        static cocos2d::CCArray* rows = makeColorRowList({44, 45});
        return rows;
    }
    void update() override
    {
        updateLog.push_back(id);
        if (updateHook)
            updateHook(*this);
    }

private:
    uint32_t m_type;
    int32_t m_density;
};

template <uint32_t Type, int32_t Density, int32_t Absorption> class TestElementOf : public TestElement {
public:
    TestElementOf() : TestElement(Type, Density, Absorption) { }
};

// The kinds the tests paint with, under accepted type names.
constexpr uint32_t kSand = hashString("Sand");    // density 100, absorbs light
constexpr uint32_t kWater = hashString("Water");  // density 2, absorbs light
constexpr uint32_t kSteam = hashString("Steam");  // density -1
constexpr uint32_t kWall = hashString("Wall");    // density 0
constexpr uint32_t kMud = hashString("Mud");
constexpr uint32_t kGlass = hashString("Glass");  // absorbs nothing
constexpr uint32_t kGrass = hashString("Grass");
constexpr uint32_t kAsh = hashString("Ash");

inline void registerTestElements()
{
    ParticleCreator::clearRegistrations();
    ParticleCreator::registerClass<TestElementOf<kSand, 100, 30>>("Sand");
    ParticleCreator::registerClass<TestElementOf<kWater, 2, 20>>("Water");
    ParticleCreator::registerClass<TestElementOf<kSteam, -1, 0>>("Steam");
    ParticleCreator::registerClass<TestElementOf<kWall, 0, 255>>("Wall");
    ParticleCreator::registerClass<TestElementOf<kMud, 100, 255>>("Mud");
    ParticleCreator::registerClass<TestElementOf<kGlass, 0, 0>>("Glass");
    ParticleCreator::registerClass<TestElementOf<kGrass, 0, 0>>("Grass");
    ParticleCreator::registerClass<TestElementOf<kAsh, 1, 0>>("Ash");
}

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registerTestElements();
        initColorsAndShadows();
        testsupport::resetGame();
        platform::seedGameRand(12345);
        platform::setManualGameTime(1000);
        updateHook = nullptr;
        updateLog.clear();
        world = std::make_unique<World>();
        gWorld = world.get();
        world->setBigWorld(true);
    }

    void TearDown() override
    {
        world.reset();
        gWorld = nullptr;
        updateHook = nullptr;
        testsupport::resetGame();
        platform::clearGameRandScript();
        platform::clearManualGameTime();
        cocos2d::CCPoolManager::sharedPoolManager()->drain();
        EXPECT_EQ(liveElements, 0);
    }

    // Puts the border sentinel on the outermost ring, as a world reset does.
    void buildBorder() { world->placeBorderWalls(); }

    Particle* add(int x, int y, uint32_t type) { return world->addParticle(x, y, type, false); }
    CCMutableTexture2D* texture() const { return GameLayer::getInstance()->getWorldTexture(); }

    std::unique_ptr<World> world;
};

}  // namespace worldtest
