#pragma once
// The game's one wall clock: seconds since the epoch. Tests set it by hand.
#include <cstdint>

namespace platform {

// Wall-clock seconds since 1970, or the manual time while one is set.
int64_t gameTime();

// Freeze the clock at a value, move it, or go back to the real clock: tests,
// and fixed-step runs, whose clock follows the frames.
void setManualGameTime(int64_t seconds);
void advanceManualGameTime(int64_t seconds);
void clearManualGameTime();

}  // namespace platform
