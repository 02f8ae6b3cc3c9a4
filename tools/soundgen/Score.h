#pragma once
// Music scores: a tempo, a length in beats, and repeating step sequences for
// the instrument voices. Rendered in stereo with the note files' voices.
//
//   tempo BPM
//   beats N
//   loop                      the tail wraps to the start, for looped tracks
//   seq VOICE GAIN PAN FROM TO STEP TOKEN...
//
// A sequence plays its tokens one per STEP beats, over and over, from beat
// FROM up to beat TO. A token is a note ("c#4"), a chord ("c3+e3+g3"), a
// drum ("bd", "hcc+sn1"), "-" to hold the note before, or "." for a rest.
#include <string>
#include <vector>

#include "Voices.h"

namespace soundgen {

struct ScoreEvent {
    const Voice* voice = nullptr;
    const Drum* drum = nullptr;
    double frequency = 0;
    double start = 0, gate = 0;  // seconds
    float gain = 1, pan = 0;
};

struct Score {
    double tempo = 120, beats = 0;
    bool loop = false;
    std::vector<ScoreEvent> events;
    double seconds() const { return beats * 60.0 / tempo; }
};

bool readScore(const std::string& path, const Instruments& instruments, Score& out, std::string& error);

// Left and right channels, levelled to the -3 dBFS peak.
void renderScore(const Score& score, Samples& left, Samples& right);

}  // namespace soundgen
