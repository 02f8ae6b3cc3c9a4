#pragma once
// ParticlePool: the memory particles live in. Blocks are grouped by size in
// 8-byte steps (a particle needs no more alignment than that); each size
// keeps a free list of blocks carved from chunks taken from the heap, so once
// a world has run for a while creating and destroying particles touches the
// heap no more. Chunks stay until trim() gives back those with no block in
// use (the world does when its particles are all gone, at every reset), so
// what the pool keeps across worlds is the chunks of particles still alive.
// Larger requests go straight to the heap.
//
// Not locked: particles are made and destroyed only on the world's thread.
//
// Freed blocks are poisoned for AddressSanitizer, so a read of a destroyed
// particle is still reported. Particle's own allocation bypasses the pool in
// sanitizer builds (see particleMemory()), so that the heap's quarantine keeps
// catching a particle used after its block was handed out again.
#include <array>
#include <cstddef>
#include <vector>

class ParticlePool {
public:
    static constexpr std::size_t kGranule = 8;
    static constexpr std::size_t kMaxPooledSize = 1024;
    static constexpr std::size_t kBlocksPerChunk = 256;

    // Room in the chunk list for a full world of particles of a few sizes,
    // so that taking a chunk is the only allocation growing the pool makes.
    ParticlePool() { chunks_.reserve(1024); }
    ~ParticlePool();
    ParticlePool(const ParticlePool&) = delete;
    ParticlePool& operator=(const ParticlePool&) = delete;

    // A block of at least `size` bytes, aligned to kGranule.
    void* allocate(std::size_t size);
    // `size` must be the size the block was allocated with.
    void release(void* block, std::size_t size) noexcept;

    // Blocks handed out and not yet released.
    std::size_t liveBlocks() const { return live_; }
    // Chunks taken from the heap so far.
    std::size_t chunkCount() const { return chunks_.size(); }
    // Whether the block lies in a chunk of this pool.
    bool owns(const void* block) const;
    // Gives every chunk whose blocks are all free back to the heap, so that
    // a world of other kinds can use the memory; returns the bytes given
    // back. Run when a world's particles are all gone.
    std::size_t trim();

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    static constexpr std::size_t kClasses = kMaxPooledSize / kGranule;

    static std::size_t classOf(std::size_t size) { return (size + kGranule - 1) / kGranule - 1; }
    void grow(std::size_t sizeClass);

    std::array<FreeBlock*, kClasses> free_{};
    struct Chunk {
        std::byte* begin;
        std::size_t bytes;
    };
    std::vector<Chunk> chunks_;
    std::size_t live_ = 0;
};

// The pool every particle is allocated from.
ParticlePool& particleMemory();
// Whether Particle's allocation goes through the pool in this build.
bool particlesArePooled();
// A block for a particle or another object the world makes and drops while
// it runs (the groups of creatures and clouds): from the pool, or in
// sanitizer builds straight from malloc, whose quarantine watches it (and
// which a count of the program's `new` leaves out, as it leaves the pool out).
void* worldBlock(std::size_t size);
void freeWorldBlock(void* block, std::size_t size) noexcept;
