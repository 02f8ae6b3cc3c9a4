// A world step takes nothing from the heap once its scene has warmed up:
// each of world_bench's scenes is built and run through a first build as a
// warm-up (its first storm, creatures and blasts take the room later ones
// reuse), built again, warmed up for 100 steps, and then stepped 1,000 times
// with every `new` of the program counted. Particles (and the groups of
// creatures and clouds), which sanitizer builds take from malloc and the
// game from its pool, are not `new`s.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "profile/Profile.h"
#include "scene/GameLayer.h"
#include "scenes/WorldScenes.h"
#include "support/CleanGame.h"
#include "world/ColorTables.h"
#include "world/ParticleCreator.h"

namespace {

std::atomic<bool> g_counting{false};
std::atomic<long> g_news{0};

}  // namespace

// (GCC cannot tell that these replace the global pair; the warning is moot.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size)
{
    if (g_counting.load(std::memory_order_relaxed))
        g_news.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void* operator new(std::size_t size, std::align_val_t align)
{
    if (g_counting.load(std::memory_order_relaxed))
        g_news.fetch_add(1, std::memory_order_relaxed);
    void* p = nullptr;
    if (posix_memalign(&p, std::max(static_cast<std::size_t>(align), sizeof(void*)), size ? size : 1) == 0)
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p, std::align_val_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}
#pragma GCC diagnostic pop

namespace {

constexpr int kWarmUpSteps = 100;
constexpr int kCountedSteps = 1000;

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
        for (int i = 0; i < (scene->stepsPerBuild > 0 ? scene->stepsPerBuild : kWarmUpSteps); ++i)
            scene->step(first);
    }
    scenes::BenchWorld b;
    scene->build(b);
    for (int i = 0; i < kWarmUpSteps; ++i)
        scene->step(b);
    g_news = 0;
    g_counting = true;
    int stepped = 0;
    for (; stepped < kCountedSteps && g_news == 0; ++stepped)
        scene->step(b);
    g_counting = false;
    EXPECT_EQ(g_news.load(), 0) << scene->name << ": the first allocation came in counted step " << stepped;
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
