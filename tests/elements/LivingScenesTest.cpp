// Whole scenes stepped as the game steps them: bees painted by a tree found a
// hive that grows honey cells when flowers are near; fish swim in a lake;
// flamingos walk over it and dive for them.
#include "MaterialWorld.h"
#include "elements/living/Bees.h"
#include "elements/living/Fish.h"
#include "elements/living/Flocks.h"
#include "elements/living/Plants.h"
#include "elements/living/Trees.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"

using LivingScenes = MaterialWorld;

TEST_F(LivingScenes, BeesByATreeFoundAHiveThatGrowsHoneyByFlowers)
{
    fill(1, 1, world->width - 2, 3, TypeId::Stone);
    fill(20, 4, 80, 5, Mud::kTypeId);
    // A crown of leaves on a trunk, flowering grass beside it.
    fill(30, 6, 31, 20, LivingId::Wood);
    fill(24, 21, 37, 26, TreeLeaf::kTypeId);
    for (int x = 40; x <= 60; x += 4)
        dynamic_cast<Grass*>(put(x, 6, Grass::kTypeId))->seedGrowth(2, true);
    world->lightMap.setSunOn(true);
    for (int i = 0; i < 6; ++i)
        put(26 + 2 * i, 40, Bee::kTypeId);
    int hives = 0, honey = 0;
    for (int s = 0; s < 4000 && honey == 0; s += 50) {
        step(50);
        hives = std::max(hives, count(BeeHive::kTypeId));
        honey = count(BeeHiveCell::kTypeId);
    }
    EXPECT_GE(hives, 1);
    EXPECT_GE(honey, 1);
}

TEST_F(LivingScenes, FishSwimInALakeAndFlamingosDiveForThem)
{
    fill(1, 1, world->width - 2, 3, TypeId::Stone);
    fill(59, 4, 59, 30, TypeId::Wall);
    fill(141, 4, 141, 30, TypeId::Wall);
    fill(60, 4, 140, 25, Water::kTypeId);
    std::vector<Fish*> fish;
    for (int i = 0; i < 20; ++i) {
        const int x = 62 + 4 * i;
        const int y = 6 + (i * 7) % 18;
        world->removeParticle(x, y);
        fish.push_back(dynamic_cast<Fish*>(put(x, y, Fish::kTypeId)));
    }
    for (int i = 0; i < 4; ++i)
        put(80 + 10 * i, 45, Flamingo::kTypeId);
    step(1);
    // Fish move through the water (cells swap): their ids wander about.
    int moved = 0;
    std::vector<std::pair<int, int>> start;
    for (Fish* f : fish)
        start.emplace_back(f->x, f->y);
    step(100);
    for (size_t i = 0; i < fish.size(); ++i)
        if (world->at(start[i].first, start[i].second) != fish[i])
            ++moved;
    EXPECT_GT(moved, 10);
    // Flamingos reach the water surface and catch fish.
    int lowest = world->height;
    for (int s = 0; s < 1500; ++s) {
        step(1);
        for (Particle* p : world->pool())
            if (p && p->getType() == Flamingo::kTypeId)
                lowest = std::min(lowest, p->y);
    }
    EXPECT_LE(lowest, 27) << "down to the water";
    EXPECT_LT(count(Fish::kTypeId), 20) << "some fish were eaten";
}
