#pragma once
// The program's global new and delete, replaced by ones that count every
// allocation and every free, so that a benchmark or a test can tell whether
// some code took from the heap. The replacements are definitions: include
// this in exactly one file of a program.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

namespace countingallocator {

inline std::atomic<long> allocations{0};
inline std::atomic<long> frees{0};

inline void* allocate(std::size_t size, std::size_t align)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    void* p = nullptr;
    if (align <= alignof(std::max_align_t))
        p = std::malloc(size ? size : 1);
    else if (posix_memalign(&p, std::max(align, sizeof(void*)), size ? size : 1) != 0)
        p = nullptr;
    if (!p)
        throw std::bad_alloc();
    return p;
}

inline void release(void* p) noexcept
{
    frees.fetch_add(p != nullptr, std::memory_order_relaxed);
    std::free(p);
}

}  // namespace countingallocator

// (GCC cannot tell that these replace the global pair; the warning is moot.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size)
{
    return countingallocator::allocate(size, alignof(std::max_align_t));
}
void* operator new(std::size_t size, std::align_val_t align)
{
    return countingallocator::allocate(size, static_cast<std::size_t>(align));
}
void operator delete(void* p) noexcept
{
    countingallocator::release(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    countingallocator::release(p);
}
void operator delete(void* p, std::align_val_t) noexcept
{
    countingallocator::release(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
    countingallocator::release(p);
}
#pragma GCC diagnostic pop
