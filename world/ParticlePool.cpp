#include "world/ParticlePool.h"

#include <functional>
#include <new>

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

bool ParticlePool::owns(const void* block) const
{
    const auto* p = static_cast<const std::byte*>(block);
    for (const Chunk& chunk : chunks_)
        if (!std::less<const std::byte*>()(p, chunk.begin) && std::less<const std::byte*>()(p, chunk.begin + chunk.bytes))
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

bool particlesArePooled()
{
#ifdef TESMORA_ASAN
    return false;
#else
    return true;
#endif
}
