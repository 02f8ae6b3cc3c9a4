#include "world/ParticlePool.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <new>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <sanitizer/asan_interface.h>

#if defined(__SANITIZE_ADDRESS__)
#define TESMORA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESMORA_ASAN 1
#endif
#endif

ParticlePool::~ParticlePool()
{
    for (const Chunk& chunk : chunks_) {
        ASAN_UNPOISON_MEMORY_REGION(chunk.begin, chunk.bytes);
        ::operator delete(chunk.begin);
    }
}

void* ParticlePool::allocate(std::size_t size)
{
    if (size == 0)
        size = 1;
    if (size > kMaxPooledSize)
        return ::operator new(size);
    const std::size_t sizeClass = classOf(size);
    if (!free_[sizeClass])
        grow(sizeClass);
    FreeBlock* block = free_[sizeClass];
    const std::size_t blockBytes = (sizeClass + 1) * kGranule;
    ASAN_UNPOISON_MEMORY_REGION(block, blockBytes);
    free_[sizeClass] = block->next;
    // The next block of this size is most often one freed steps ago and out
    // of the cache: fetch it while this one is being built.
    __builtin_prefetch(free_[sizeClass], 1);
    ++live_;
    return block;
}

void ParticlePool::release(void* block, std::size_t size) noexcept
{
    if (!block)
        return;
    if (size == 0)
        size = 1;
    if (size > kMaxPooledSize) {
        ::operator delete(block);
        return;
    }
    const std::size_t sizeClass = classOf(size);
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = free_[sizeClass];
    free_[sizeClass] = freed;
    --live_;
    ASAN_POISON_MEMORY_REGION(block, (sizeClass + 1) * kGranule);
}

void ParticlePool::grow(std::size_t sizeClass)
{
    const std::size_t blockBytes = (sizeClass + 1) * kGranule;
    const std::size_t bytes = blockBytes * kBlocksPerChunk;
    // Blocks are carved at multiples of the granule from the chunk's start.
    static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ >= kGranule);
    auto* begin = static_cast<std::byte*>(::operator new(bytes));
    chunks_.push_back({begin, bytes});
    // Threaded back to front, so blocks are handed out in address order.
    FreeBlock* head = free_[sizeClass];
    for (std::size_t i = kBlocksPerChunk; i > 0; --i) {
        auto* block = reinterpret_cast<FreeBlock*>(begin + (i - 1) * blockBytes);
        block->next = head;
        head = block;
    }
    free_[sizeClass] = head;
    ASAN_POISON_MEMORY_REGION(begin, bytes);
}

std::size_t ParticlePool::trim()
{
    if (chunks_.empty())
        return 0;
    const auto byAddress = [](const Chunk& a, const Chunk& b) { return std::less<std::byte*>()(a.begin, b.begin); };
    std::sort(chunks_.begin(), chunks_.end(), byAddress);
    const auto chunkOf = [&](const FreeBlock* block) {
        const Chunk probe{const_cast<std::byte*>(reinterpret_cast<const std::byte*>(block)), 0};
        return static_cast<std::size_t>(std::upper_bound(chunks_.begin(), chunks_.end(), probe, byAddress) -
                                        chunks_.begin()) -
            1;
    };
    // A free block's link is read and written with the block unpoisoned.
    const auto nextOf = [](FreeBlock* block) {
        ASAN_UNPOISON_MEMORY_REGION(block, sizeof(FreeBlock));
        FreeBlock* next = block->next;
        ASAN_POISON_MEMORY_REGION(block, sizeof(FreeBlock));
        return next;
    };
    const auto link = [](FreeBlock* block, FreeBlock* next) {
        ASAN_UNPOISON_MEMORY_REGION(block, sizeof(FreeBlock));
        block->next = next;
        ASAN_POISON_MEMORY_REGION(block, sizeof(FreeBlock));
    };

    std::vector<std::size_t> freeBlocks(chunks_.size(), 0);
    for (FreeBlock* head : free_)
        for (FreeBlock* block = head; block; block = nextOf(block))
            ++freeBlocks[chunkOf(block)];
    std::vector<bool> idle(chunks_.size(), false);
    bool anyIdle = false;
    for (std::size_t i = 0; i < chunks_.size(); ++i) {
        idle[i] = freeBlocks[i] == kBlocksPerChunk;
        anyIdle = anyIdle || idle[i];
    }
    if (!anyIdle)
        return 0;

    // Each list keeps its other blocks in their order.
    for (FreeBlock*& head : free_) {
        FreeBlock* kept = nullptr;
        FreeBlock* last = nullptr;
        for (FreeBlock* block = head; block;) {
            FreeBlock* next = nextOf(block);
            if (!idle[chunkOf(block)]) {
                if (last)
                    link(last, block);
                else
                    kept = block;
                last = block;
            }
            block = next;
        }
        if (last)
            link(last, nullptr);
        head = kept;
    }
    // The chunks kept move up in place: the list keeps its room.
    std::size_t given = 0;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < chunks_.size(); ++i) {
        if (!idle[i]) {
            chunks_[kept++] = chunks_[i];
            continue;
        }
        ASAN_UNPOISON_MEMORY_REGION(chunks_[i].begin, chunks_[i].bytes);
        ::operator delete(chunks_[i].begin);
        given += chunks_[i].bytes;
    }
    chunks_.resize(kept);
#ifdef __GLIBC__
    // The chunks lay among other blocks of the heap: hand their pages back
    // to the system rather than keep them resident until reused.
    malloc_trim(0);
#endif
    return given;
}

bool ParticlePool::owns(const void* block) const
{
    const auto* p = static_cast<const std::byte*>(block);
    for (const Chunk& chunk : chunks_)
        if (!std::less<const std::byte*>()(p, chunk.begin) &&
            std::less<const std::byte*>()(p, chunk.begin + chunk.bytes))
            return true;
    return false;
}

ParticlePool& particleMemory()
{
    // Never destroyed: particles of static lifetime may outlive every other
    // static object.
    static ParticlePool* pool = new ParticlePool();
    return *pool;
}

void* worldBlock(std::size_t size)
{
    if (particlesArePooled())
        return particleMemory().allocate(size);
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void freeWorldBlock(void* block, std::size_t size) noexcept
{
    if (particlesArePooled())
        particleMemory().release(block, size);
    else
        std::free(block);
}

bool particlesArePooled()
{
#ifdef TESMORA_ASAN
    return false;
#else
    return true;
#endif
}
