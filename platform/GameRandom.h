#pragma once
// The game's one source of randomness. Every "rand() % N" of the game goes
// through gameRand(); tests seed it or script the values it returns.
#include <vector>

namespace platform {

// Next value in [0, RAND_MAX], from the C library's rand() unless scripted.
int gameRand();

// Seeds the C library's generator.
void seedGameRand(unsigned seed);

// Test hook: gameRand() returns these values in order (cycling), until cleared.
void scriptGameRand(const std::vector<int>& values);
void clearGameRandScript();

} // namespace platform

using platform::gameRand;
