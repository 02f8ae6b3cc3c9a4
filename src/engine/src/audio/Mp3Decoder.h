#pragma once
// Decodes a whole MP3 file to 16-bit PCM through mpg123 with gapless decoding,
// so a file made with the encoder's info tag gives back exactly the samples
// that were encoded. Damaged and truncated files are refused, never half-played.
#include <cstdint>
#include <string>
#include <vector>

namespace CocosDenshion {

struct DecodedSound {
    int rate = 0;
    int channels = 0;
    std::vector<int16_t> samples;  // interleaved
    size_t frames() const { return channels ? samples.size() / static_cast<size_t>(channels) : 0; }
};

// False (with the reason) when the file is missing, not MPEG audio, damaged,
// or shorter than its header says.
bool decodeMp3File(const std::string& path, DecodedSound& out, std::string& error);

// A quick look over a file that is streamed rather than decoded (music): it
// opens as MPEG audio and holds every frame its info tag announces. Reads the
// frame headers only.
bool probeMp3File(const std::string& path, std::string& error);

}  // namespace CocosDenshion
