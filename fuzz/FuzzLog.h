#pragma once
#include <cstdlib>

#include "base/Logger.h"

// The run throws the game's log lines away (-close_fd_mask); formatting them
// was a good part of each input. TESMORA_FUZZ_LOG=1 keeps them, to read what
// the game said about an input being replayed.
inline void muteGameLogForFuzzing()
{
    if (!std::getenv("TESMORA_FUZZ_LOG"))
        Logger::setMuted(true);
}
