#pragma once
// The game's one source of randomness. Every "rand() % N" of the game goes
// through gameRand(); tests seed it or script the values it returns.
//
// It draws the C library's rand() sequence (same seed, same values), through
// the reentrant form over a state of its own: the world step draws tens of
// thousands of values, and rand()'s global lock is a fifth of the step.
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
    if (__builtin_expect(detail::g_scripted, false))
        return detail::nextScripted();
    int32_t value = 0;
    random_r(&detail::g_randomState, &value);
    return value;
}

// Seeds the generator as srand(seed) seeds rand(); unseeded, it starts as rand() does (seed 1).
void seedGameRand(unsigned seed);

// Test hook: gameRand() returns these values in order (cycling), until cleared.
void scriptGameRand(const std::vector<int>& values);
void clearGameRandScript();

} // namespace platform

using platform::gameRand;
