#pragma once
// A world for the field tests: sized by hand, its border holding the sentinel,
// and cells filled with test materials that the test owns (not pooled), so the
// fields can be tested before the real element classes exist.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "world/Particle.h"
#include "world/World.h"

// A material with the lighting properties a test needs.
class TestMaterial : public Particle {
public:
    TestMaterial(uint32_t type, int32_t absorption, cocos2d::ccColor4B colour) : m_type(type)
    {
        lightAbsorption = absorption;
        color = colour;
    }
    uint32_t getType() const override { return m_type; }
    int32_t getDensity() const override { return 0; }
    float getBlastFactor() const override { return 0.0f; }
    cocos2d::CCArray* getColors() const override { return baseColorRows(); }

private:
    uint32_t m_type;
};

// A material the factory can make, for the fields that add particles.
template <uint32_t Type> class TestMaterialOf : public TestMaterial {
public:
    TestMaterialOf() : TestMaterial(Type, 0, cocos2d::ccColor4B{255, 255, 200, 255}) { }
};

inline constexpr uint32_t kTestSand = hashString("Sand");
inline constexpr uint32_t kTestWall = hashString("Wall");
inline constexpr uint32_t kTestWater = hashString("Water");
inline constexpr cocos2d::ccColor4B kSandColour{200, 180, 100, 255};
inline constexpr cocos2d::ccColor4B kWallColour{90, 90, 90, 255};

struct FieldWorld : ::testing::Test {
    std::unique_ptr<World> world;
    std::vector<std::unique_ptr<Particle>> owned;

    void SetUp() override
    {
        world = std::make_unique<World>();
        gWorld = world.get();
        resize(World::kMaxWidth, World::kMaxHeight);
    }

    void TearDown() override
    {
        clearCells();
        world.reset();
        owned.clear();
    }

    // The cells in use, with the sentinel along their border.
    void resize(int width, int height)
    {
        clearCells();
        world->width = width;
        world->height = height;
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y)
                if (x == 0 || y == 0 || x == width - 1 || y == height - 1)
                    world->setCell(x, y, world->outsideWall);
        world->electricityGrid.reset();
    }

    Particle* put(int x, int y, uint32_t type, int32_t absorption, cocos2d::ccColor4B colour)
    {
        owned.push_back(std::make_unique<TestMaterial>(type, absorption, colour));
        Particle* p = owned.back().get();
        p->x = x;
        p->y = y;
        world->setCell(x, y, p);
        return p;
    }
    Particle* putSand(int x, int y) { return put(x, y, kTestSand, 30, kSandColour); }
    Particle* putWall(int x, int y) { return put(x, y, kTestWall, 255, kWallColour); }

    void clearCells()
    {
        if (!world)
            return;
        for (int x = 0; x < World::kMaxWidth; ++x)
            for (int y = 0; y < World::kMaxHeight; ++y)
                world->setCell(x, y, nullptr);
    }
};
