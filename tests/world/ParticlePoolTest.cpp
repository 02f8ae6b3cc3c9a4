// The particle pool: blocks per size, reuse without the heap, and freed
// blocks kept visible to AddressSanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include <sanitizer/asan_interface.h>

#include "world/ParticlePool.h"
#include "world/World.h"
#include "WorldFixture.h"

namespace {

using namespace worldtest;

bool underAddressSanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#else
    return false;
#endif
}

TEST(ParticlePoolTest, BlocksAreAlignedDistinctAndHoldTheirBytes)
{
    ParticlePool pool;
    // Sizes across several classes, class edges included.
    const std::size_t sizes[] = {1, 7, 8, 9, 56, 64, 200, 1000, 1024};
    std::vector<std::pair<unsigned char*, std::size_t>> blocks;
    for (int round = 0; round < 300; ++round)
        for (std::size_t size : sizes) {
            auto* p = static_cast<unsigned char*>(pool.allocate(size));
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(p) % ParticlePool::kGranule, 0u) << size;
            std::memset(p, static_cast<int>(blocks.size() & 0xff), size);
            blocks.emplace_back(p, size);
        }
    EXPECT_EQ(pool.liveBlocks(), blocks.size());
    // No block was handed out twice or overlaps another: every pattern holds.
    for (std::size_t i = 0; i < blocks.size(); ++i)
        for (std::size_t b = 0; b < blocks[i].second; ++b)
            ASSERT_EQ(blocks[i].first[b], static_cast<unsigned char>(i & 0xff)) << "block " << i;
    for (const auto& [p, size] : blocks)
        pool.release(p, size);
    EXPECT_EQ(pool.liveBlocks(), 0u);
}

TEST(ParticlePoolTest, ReleasedBlockIsReusedBySizesOfItsClass)
{
    struct Case {
        std::size_t released;
        std::size_t asked;
        bool sameBlock;
    };
    const Case cases[] = {
        {64, 64, true},                    // the same size
        {64, 57, true},                    // a smaller size of the same 8-byte class
        {57, 64, true},  {64, 65, false},  // the next class up
        {72, 64, false},                   // the class below
    };
    for (const Case& c : cases) {
        ParticlePool pool;
        void* first = pool.allocate(c.released);
        pool.release(first, c.released);
        void* second = pool.allocate(c.asked);
        EXPECT_EQ(second == first, c.sameBlock) << c.released << " then " << c.asked;
        pool.release(second, c.asked);
    }
}

TEST(ParticlePoolTest, SteadyChurnTakesNoNewChunks)
{
    ParticlePool pool;
    std::vector<void*> live;
    for (int i = 0; i < 1000; ++i)
        live.push_back(pool.allocate(96));
    const std::size_t chunks = pool.chunkCount();
    // Replace a third of the blocks, many times over: the free list serves it.
    for (int round = 0; round < 50; ++round) {
        for (std::size_t i = round % 3; i < live.size(); i += 3) {
            pool.release(live[i], 96);
            live[i] = pool.allocate(96);
        }
    }
    EXPECT_EQ(pool.chunkCount(), chunks);
    for (void* p : live)
        pool.release(p, 96);
}

// Trimming gives back exactly the chunks with no block in use, of every
// size; the blocks still in use keep their bytes, and the free lists left
// hand out only blocks of the chunks kept, each once.
TEST(ParticlePoolTest, TrimGivesBackTheChunksWithNoBlockInUse)
{
    ParticlePool pool;
    const std::size_t n = 3 * ParticlePool::kBlocksPerChunk;  // three chunks of each size
    std::vector<void*> small, large;
    for (std::size_t i = 0; i < n; ++i) {
        small.push_back(pool.allocate(56));
        large.push_back(pool.allocate(200));
    }
    ASSERT_EQ(pool.chunkCount(), 6u);
    EXPECT_EQ(pool.trim(), 0u) << "every chunk in use";
    // Keep one small block in the middle chunk; free everything else.
    void* kept = small[n / 2];
    std::memset(kept, 0x3c, 56);
    for (std::size_t i = 0; i < n; ++i) {
        if (small[i] != kept)
            pool.release(small[i], 56);
        pool.release(large[i], 200);
    }
    EXPECT_EQ(pool.trim(), 2 * 56 * ParticlePool::kBlocksPerChunk + 3 * 200 * ParticlePool::kBlocksPerChunk);
    EXPECT_EQ(pool.chunkCount(), 1u);
    EXPECT_TRUE(pool.owns(kept));
    EXPECT_EQ(pool.liveBlocks(), 1u);
    const auto* bytes = static_cast<const unsigned char*>(kept);
    EXPECT_TRUE(std::all_of(bytes, bytes + 56, [](unsigned char b) { return b == 0x3c; }));
    // The kept chunk's other blocks come back first, distinct, then a new chunk.
    std::set<void*> handedOut{kept};
    for (std::size_t i = 1; i < ParticlePool::kBlocksPerChunk; ++i) {
        void* p = pool.allocate(56);
        EXPECT_TRUE(handedOut.insert(p).second);
        EXPECT_TRUE(pool.owns(p));
    }
    EXPECT_EQ(pool.chunkCount(), 1u);
    handedOut.insert(pool.allocate(56));
    EXPECT_EQ(pool.chunkCount(), 2u);
    for (void* p : handedOut)
        pool.release(p, 56);
    EXPECT_EQ(pool.trim(), 2 * 56 * ParticlePool::kBlocksPerChunk);
    EXPECT_EQ(pool.chunkCount(), 0u);
}

TEST(ParticlePoolTest, LargeBlocksComeFromTheHeap)
{
    ParticlePool pool;
    void* small = pool.allocate(ParticlePool::kMaxPooledSize);
    void* large = pool.allocate(ParticlePool::kMaxPooledSize + 1);
    EXPECT_TRUE(pool.owns(small));
    EXPECT_FALSE(pool.owns(large));
    std::memset(large, 0x5a, ParticlePool::kMaxPooledSize + 1);
    pool.release(large, ParticlePool::kMaxPooledSize + 1);
    pool.release(small, ParticlePool::kMaxPooledSize);
    pool.release(nullptr, 64);  // harmless
    EXPECT_EQ(pool.liveBlocks(), 0u);
}

TEST(ParticlePoolTest, FreedBlocksArePoisonedForTheSanitizer)
{
    if (!underAddressSanitizer())
        GTEST_SKIP() << "only a sanitizer build poisons";
    ParticlePool pool;
    auto* p = static_cast<char*>(pool.allocate(40));
    EXPECT_FALSE(__asan_region_is_poisoned(p, 40));
    pool.release(p, 40);
    EXPECT_TRUE(__asan_address_is_poisoned(p));
    EXPECT_TRUE(__asan_address_is_poisoned(p + 39));
    // Never-handed-out blocks of a chunk are poisoned too.
    auto* q = static_cast<char*>(pool.allocate(40));
    EXPECT_EQ(q, p);
    EXPECT_FALSE(__asan_region_is_poisoned(q, 40));
    EXPECT_TRUE(__asan_address_is_poisoned(q + 48));
    pool.release(q, 40);
}

class PooledParticlesTest : public WorldTest { };

TEST_F(PooledParticlesTest, ParticlesComeFromThePoolUnlessSanitized)
{
    Particle* p = world->addParticle(10, 10, kSand, false);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(particleMemory().owns(p), particlesArePooled());
    EXPECT_EQ(particlesArePooled(), !underAddressSanitizer());
}

// A world that goes gives its particles' memory back: a world of other kinds
// does not grow beside it.
TEST_F(PooledParticlesTest, AWorldThatGoesGivesItsChunksBack)
{
    if (!particlesArePooled())
        GTEST_SKIP() << "the sanitizer build gives particles to the heap";
    const std::size_t before = particleMemory().chunkCount();
    for (int x = 1; x < 201; ++x)
        for (int y = 1; y < 41; ++y)
            world->addParticle(x, y, kSand, false);
    EXPECT_GT(particleMemory().chunkCount(), before);
    world.reset();
    gWorld = nullptr;
    EXPECT_LE(particleMemory().chunkCount(), before);
}

TEST_F(PooledParticlesTest, ReplacingParticlesInARunningWorldTakesNoNewMemory)
{
    if (!particlesArePooled())
        GTEST_SKIP() << "the sanitizer build gives particles to the heap";
    for (int x = 1; x < 101; ++x)
        for (int y = 1; y < 41; ++y)
            world->addParticle(x, y, (x + y) % 2 ? kSand : kWater, false);
    const std::size_t chunks = particleMemory().chunkCount();
    const std::size_t live = particleMemory().liveBlocks();
    for (int round = 0; round < 20; ++round)
        for (int x = 1; x < 101; ++x)
            for (int y = 1; y < 41; ++y) {
                world->removeParticle(x, y);
                world->addParticle(x, y, (x + y + round) % 2 ? kSand : kSteam, false);
            }
    EXPECT_EQ(particleMemory().chunkCount(), chunks);
    EXPECT_EQ(particleMemory().liveBlocks(), live);
}

}  // namespace
