#pragma once
// Ids that must differ between every player's game and that nobody can
// guess (a request's id, which may stand in for the player's key). The
// game's random sequence cannot give them: every start begins it at the
// same seed.
#include <string>

namespace platform {

// 16 bytes of the system's random source as 32 hex digits; empty when the
// source fails.
std::string uniqueId();

}  // namespace platform
