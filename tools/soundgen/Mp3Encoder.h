#pragma once
// MPEG-1 Layer III through LAME, with fixed settings: constant bit rate,
// no ID3 tag, and the encoder's info tag (delay and padding) in the first
// frame so a gapless decoder returns exactly the samples given.
#include <cstdint>
#include <string>
#include <vector>

#include "Synth.h"

namespace soundgen {

// right is null for mono. Samples run from -1 to 1.
bool encodeMp3(const Samples& left, const Samples* right, int kbps, std::vector<uint8_t>& out, std::string& error);

}  // namespace soundgen
