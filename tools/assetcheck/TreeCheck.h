#pragma once
// Checks of the assembled resource tree: the tree rules (exact names, no case
// twins, no spaces, nothing unexpected) and the sound rules (every sound
// decodes with the game's own decoder to the rate, channels and length of its
// recipe; loops meet without a click; notes sound at their pitch; one-shots
// start and end at rest; each group plays at one loudness).
#include <map>
#include <string>
#include <vector>

#include "Required.h"
#include "Score.h"
#include "Voices.h"

namespace assetcheck {

struct Report {
    std::vector<std::string> errors;
    std::vector<std::string> notes;
};

// The recipes and scores, read with the generator's own code.
struct SoundTables {
    std::vector<soundgen::EffectRecipe> effects;
    soundgen::Instruments instruments;
    std::map<std::string, soundgen::Score> scores;  // by track name
};
bool loadSoundTables(const std::string& assets, SoundTables& out, std::string& error);

void checkTree(const std::string& root, const std::vector<RequiredName>& required, Report& report);
void checkSounds(const std::string& root, const std::vector<RequiredName>& required, const SoundTables& tables,
                 Report& report);

// The fundamental of a stretch of mono samples, searched from an octave and
// more below to an octave and more above the expected pitch; 0 when none.
double measurePitch(const std::vector<float>& samples, double expected);

}  // namespace assetcheck
