// A world step takes nothing from the heap once its scene has warmed up:
// each of world_bench's scenes is built and run through a first build as a
// warm-up (its first storm, creatures and blasts take the room later ones
// reuse), built again, warmed up as long again (a storm painted in one go
// starts as thousands of one-cloud groups, more than the spare lists keep),
// and then stepped 1,000 times with every `new` of the program counted.
// Particles (and the groups of creatures and clouds) are not `new`s: sanitizer
// builds take them from malloc, the game from its pool. The pool takes a
// chunk with `new` when a population of one size reaches a new high; as in
// world_bench (pool_chunks_per_build), those are counted apart, and bounded.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "profile/Profile.h"
#include "scene/GameLayer.h"
#include "scenes/WorldScenes.h"
#include "support/CleanGame.h"
#include "world/ColorTables.h"
#include "world/ParticleCreator.h"
#include "world/ParticlePool.h"

// Every `new` of the program is counted.
#include "support/CountingAllocator.h"

namespace {

constexpr int kWarmUpSteps = 100;
constexpr int kCountedSteps = 1000;
// The counted steps may take a few chunks as populations peak (three at most
// in today's scenes); a pool that keeps growing is a world that keeps more
// every step: three blocks a step of one size is twelve chunks.
constexpr long kMostPoolChunks = 8;

class StepAllocation : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        testsupport::resetGame();
        // As the game starts: the record of elements made lists every name.
        ParticleCreator::resetElementsCreated();
        initColorsAndShadows();
        GameLayer::getInstance();
        Profile::getInstance();
    }
    void TearDown() override { testsupport::resetGame(); }
};

TEST_P(StepAllocation, AThousandStepsAfterTheWarmUpTakeNothingFromTheHeap)
{
    const scenes::Scene* scene = scenes::findScene(GetParam());
    ASSERT_NE(scene, nullptr);
    {
        scenes::BenchWorld first;
        scene->build(first);
        for (int i = 0; i < std::max(scene->stepsPerBuild, kWarmUpSteps); ++i)
            scene->step(first);
    }
    scenes::BenchWorld b;
    scene->build(b);
    for (int i = 0; i < std::max(scene->stepsPerBuild, kWarmUpSteps); ++i)
        scene->step(b);
    ParticlePool& pool = particleMemory();
    const long before = countingallocator::allocations.load();
    const auto chunksBefore = static_cast<long>(pool.chunkCount());
    const auto chunks = [&] { return static_cast<long>(pool.chunkCount()) - chunksBefore; };
    const auto news = [&] { return countingallocator::allocations.load() - before - chunks(); };
    int firstNew = -1;
    for (int stepped = 0; stepped < kCountedSteps; ++stepped) {
        scene->step(b);
        if (firstNew < 0 && news() != 0)
            firstNew = stepped;
    }
    EXPECT_EQ(news(), 0) << scene->name << ": the first allocation came in counted step " << firstNew;
    EXPECT_LE(chunks(), kMostPoolChunks) << scene->name << ": the pool grew by " << chunks() << " chunks";
}

std::vector<std::string> sceneNames()
{
    std::vector<std::string> names;
    for (const scenes::Scene& scene : scenes::allScenes())
        names.emplace_back(scene.name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Scenes, StepAllocation, ::testing::ValuesIn(sceneNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
