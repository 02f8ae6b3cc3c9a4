#pragma once
// The game's one source of randomness. Every "rand() % N" of the game goes
// through gameRand(); tests seed it or script the values it returns.
//
// It draws the C library's rand() sequence (same seed, same values) from a
// state of its own: the world step draws tens of thousands of values, and
// rand()'s global lock was a fifth of the step. The C library seeds that
// state (srandom_r); the draw itself is inline: rand()'s generator for its
// default 128-byte state (31 words, the second pointer three behind) adds the
// word three back to the current one and returns the sum without its lowest
// bit, as the library's own random_r does.
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace platform {

namespace detail {
extern bool g_scripted;
extern random_data g_randomState;
int nextScripted();
void ensureSeeded();
} // namespace detail

// Next value in [0, RAND_MAX]: rand()'s sequence unless scripted.
inline int gameRand()
{
    random_data& s = detail::g_randomState;
    // Scripted, or drawn during static initialisation before the seeding.
    if (__builtin_expect(detail::g_scripted || s.fptr == nullptr, false)) {
        if (detail::g_scripted)
            return detail::nextScripted();
        detail::ensureSeeded();
    }
    int32_t* front = s.fptr;
    int32_t* rear = s.rptr;
    const uint32_t value = static_cast<uint32_t>(*front) + static_cast<uint32_t>(*rear);
    *front = static_cast<int32_t>(value);
    ++front;
    ++rear;
    if (front >= s.end_ptr)
        front = s.state;
    else if (rear >= s.end_ptr)
        rear = s.state;
    s.fptr = front;
    s.rptr = rear;
    return static_cast<int>(value >> 1);
}

// Seeds the generator as srand(seed) seeds rand(); unseeded, it starts as rand() does (seed 1).
void seedGameRand(unsigned seed);

// Test hook: gameRand() returns these values in order (cycling), until cleared.
void scriptGameRand(const std::vector<int>& values);
void clearGameRandScript();

} // namespace platform

using platform::gameRand;
