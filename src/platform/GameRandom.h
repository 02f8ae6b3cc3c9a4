#pragma once
// The game's one source of randomness. Every "rand() % N" of the game goes
// through gameRand(); tests seed it or script the values it returns.
//
// It draws the C library's rand() sequence (same seed, same values) from a
// state of its own: the world step draws tens of thousands of values, and
// rand()'s global lock was a fifth of the step. The C library seeds the
// state; after that the generator is rand()'s default one (x[n] = x[n-31] +
// x[n-3] over 32-bit words, each value the word without its lowest bit),
// computed a batch at a time so that a draw is one read from a buffer.
#include <cstdint>
#include <utility>
#include <vector>

namespace platform {

namespace detail {
constexpr int kLag = 31;     // the oldest word a new one is made from
constexpr int kBatch = 258;  // words made at a time (a multiple of 3)
constexpr int kEnd = kLag + kBatch;
// The kLag words before the batch, then the batch.
extern uint32_t g_words[kEnd];
// Index of the next word to hand out; at kEnd every draw takes the slow path
// (a new batch, a script, or the first draw of all).
extern int g_next;
int slowDraw(bool consume);
}  // namespace detail

// Next value in [0, RAND_MAX]: rand()'s sequence unless scripted.
inline int gameRand()
{
    const int i = detail::g_next;
    if (__builtin_expect(i >= detail::kEnd, false))
        return detail::slowDraw(true);
    detail::g_next = i + 1;
    return static_cast<int>(detail::g_words[i] >> 1);
}

// gameRand() when `draw` is true; when false nothing is drawn and the value
// is meaningless. Without a branch on `draw`, for the draws that depend on
// an earlier one.
inline int gameRandIf(bool draw)
{
    const int i = detail::g_next;
    if (__builtin_expect(i >= detail::kEnd, false))
        return detail::slowDraw(draw);
    detail::g_next = i + static_cast<int>(draw);
    return static_cast<int>(detail::g_words[i] >> 1);
}

// gameRand(), then, when second(first) is true, one more gameRand() (else
// nothing more is drawn): the pair as two calls give it, with one look for a
// new batch. Returns second's answer and the second value (meaningless when
// it was not drawn).
template <class Second> inline std::pair<bool, int> gameRandThenIf(Second second)
{
    const int i = detail::g_next;
    if (__builtin_expect(i + 1 < detail::kEnd, true)) {
        const int first = static_cast<int>(detail::g_words[i] >> 1);
        const bool more = second(first);
        detail::g_next = i + 1 + static_cast<int>(more);
        return {more, static_cast<int>(detail::g_words[i + 1] >> 1)};
    }
    const bool more = second(gameRand());
    return {more, gameRandIf(more)};
}

// Seeds the generator as srand(seed) seeds rand(); unseeded, it starts as rand() does (seed 1).
void seedGameRand(unsigned seed);

// Test hook: gameRand() returns these values in order (cycling), until cleared.
void scriptGameRand(const std::vector<int>& values);
void clearGameRandScript();

}  // namespace platform

using platform::gameRand;
using platform::gameRandIf;
