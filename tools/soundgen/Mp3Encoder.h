#pragma once
// MPEG-1 Layer III through LAME, with fixed settings: constant bit rate,
// no ID3 tag, and the encoder's info tag (delay and padding) in the first
// frame so a gapless decoder returns exactly the samples given.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Synth.h"

struct lame_global_struct;

namespace soundgen {

// LAME rewrites process-wide tables whenever an encoder is set up, and a
// running encoder reads them: set every encoder up first, on one thread,
// then run them on as many threads as wanted.
class Mp3Encoder {
public:
    // The set-up; false with the reason when LAME refuses.
    bool open(bool stereo, int kbps, std::string& error);
    // The whole sound; right is null for mono. Samples run from -1 to 1.
    // Once only: the encoder is spent afterwards.
    bool encode(const Samples& left, const Samples* right, std::vector<uint8_t>& out, std::string& error);

private:
    struct Close {
        void operator()(lame_global_struct* flags) const;
    };
    std::unique_ptr<lame_global_struct, Close> m_flags;
    bool m_stereo = false;
};

// Both steps at once, for a caller that encodes on one thread only.
bool encodeMp3(const Samples& left, const Samples* right, int kbps, std::vector<uint8_t>& out, std::string& error);

}  // namespace soundgen
