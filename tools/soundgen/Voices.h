#pragma once
// Instrument voices: the note files the instrument elements play and the
// voices the music scores are written for. One synthesiser serves both.
#include <map>
#include <string>
#include <vector>

#include "Synth.h"

namespace soundgen {

struct Voice {
    std::string name;
    std::string kind;      // bass pluck brass chime pad
    double seconds = 0.5;  // natural length of one note file
    std::string folder;    // under sounds/; empty for voices only scores use
    std::string prefix;    // file name before "<note><k>.mp3"
    int firstOctave = 1, lastOctave = 1;
    int shift = 0;  // scientific octave = file octave + shift
};

struct Drum {
    EffectRecipe recipe;  // recipe.name is the drum's name, e.g. "bd_c"
};

struct Instruments {
    std::vector<Voice> voices;
    std::vector<Drum> drums;
    std::string drumFolder, drumPrefix;
    const Voice* voice(const std::string& name) const;
    const Drum* drum(const std::string& shortName) const;  // "bd" finds "bd_c"
};

extern const char* const kNoteNames[12];

// instruments.manifest:
//   voice NAME KIND SECONDS [FOLDER PREFIX FIRST..LAST SHIFT]
//   drums FOLDER PREFIX
//   drum NAME SECONDS          followed by its layer lines
//   layer SOURCE key=value...
bool readInstruments(const std::string& path, Instruments& out, std::string& error);

// One note: gate is how long it is held; decaying voices ring no longer than
// their natural length.
Samples renderNote(const Voice& voice, double frequency, double gate, uint32_t seed);

struct NoteFile {
    std::string path;  // relative to the resource root
    const Voice* voice = nullptr;
    const Drum* drum = nullptr;
    double frequency = 0;  // 0 for drums
};
// Every note file the instrument elements can name, in a fixed order.
std::vector<NoteFile> noteFiles(const Instruments& instruments);

}  // namespace soundgen
