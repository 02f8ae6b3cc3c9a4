#pragma once
// Musical elements that sound when current reaches them (one update in four
// while powered) or on a long press, which also opens their editor window.
// Bass, Guitar, Trumpet and Note hold a note (c to b) and an octave, Drums one
// of twelve drum sounds. Plays of Note elements go into a ring of the last 64,
// which the music goals compare with their melodies. Every play holds the
// level music back for a while.
#include <array>
#include <cstdint>

#include "elements/materials/Element.h"

// clang-format off
//                                   type name  dens blast factor colour rows start row        sound                  absorb flags
inline constexpr ElementInfo kBassInfo    {"Bass",    0, 0.7f, 0.1f, {148}, StartRow::First, "sfx_element_bass",    0, kFlat | kEditable};
inline constexpr ElementInfo kDrumsInfo   {"Drums",   0, 0.7f, 0.1f, {150}, StartRow::First, "sfx_element_drums",   0, kFlat | kEditable};
inline constexpr ElementInfo kGuitarInfo  {"Guitar",  0, 0.7f, 0.1f, {147}, StartRow::First, "sfx_element_guitar",  0, kFlat | kEditable};
inline constexpr ElementInfo kTrumpetInfo {"Trumpet", 0, 0.7f, 0.1f, {149}, StartRow::First, "sfx_element_trumpet", 0, kFlat | kEditable};
inline constexpr ElementInfo kNoteInfo    {"Note",    0, 0.7f, 0.8f, {39},  StartRow::First, "sfx_element_note",    0, kFlat | kEditable};
// clang-format on

// One entry of a melody; a melody ends with an entry whose `end` is set.
struct NoteRecord {
    int32_t note;
    int32_t octave;
    bool end;
};

// How one kind of instrument sounds.
struct InstrumentVoice {
    const char* folder;
    const char* format;  // note name then octave number; Drums: drum name only
    int32_t maxOctave;   // the octave is clamped to 0..this, then raised by 1
    const char* editor;  // the editor window's name
    int32_t startOctave;
    bool drums;
};

inline constexpr InstrumentVoice kBassVoice{"sounds/sfx_element_bass", "sfx_bass_%s%d", 2, "BassEditor", 2, false};
inline constexpr InstrumentVoice kGuitarVoice{
    "sounds/sfx_element_guitar", "sfx_guitar_%s%d", 2, "GuitarEditor", 2, false};
inline constexpr InstrumentVoice kTrumpetVoice{
    "sounds/sfx_element_trumpet", "sfx_trumpet_%s%d", 3, "TrumpetEditor", 1, false};
inline constexpr InstrumentVoice kNoteVoice{
    "sounds/sfx_element_note", "sfx_element_note_%s%d", 3, "NoteEditor", 2, false};
inline constexpr InstrumentVoice kDrumsVoice{"sounds/sfx_element_drums", "sfx_drums_%s1", 0, "DrumsEditor", 0, true};

namespace Music {
constexpr int32_t kNames = 12;
constexpr int32_t kHoldTicks = 180;  // ticks the level music waits after a play
constexpr int32_t kCooldown = 3;     // updates a powered play waits
// The note name ("c" .. "b") or drum name of an index 0..11.
const char* noteName(int32_t note);
const char* drumName(int32_t drum);
// The sound file an instrument plays for (note or drum, octave), as handed
// to the audio engine.
std::string soundPath(const InstrumentVoice& voice, int32_t value, int32_t octave);
}  // namespace Music

class Instrument : public MaterialParticle {
public:
    void update() override;
    void onTouch() override;
    void applyEditor() override;
    int32_t getSaveSize() const override;
    void saveExtra(ByteWriter& out) override;
    // A note or drum outside 0..11 (the name tables' range) loads as 0.
    void loadExtra(ByteReader& in) override;

    int32_t note = 0;  // Drums: the drum
    int32_t octave = 0;
    int32_t cooldown = 0;
    // What the open editor window picked; it sets them before applyEditor.
    int32_t chosenNote = 0;
    int32_t chosenOctave = 0;

protected:
    virtual const InstrumentVoice& voice() const = 0;
    // Plays (value, octave): stops the level music, holds it back, records a
    // Note play, then plays the sound once.
    void play(int32_t value, int32_t octaveToPlay) const;
};

template <const ElementInfo& Info, const InstrumentVoice& Voice> class InstrumentOf : public Element<Info, Instrument> {
public:
    InstrumentOf()
    {
        this->octave = Voice.startOctave;
        this->chosenOctave = Voice.startOctave;
    }

protected:
    const InstrumentVoice& voice() const override { return Voice; }
};

using Bass = InstrumentOf<kBassInfo, kBassVoice>;
using Drums = InstrumentOf<kDrumsInfo, kDrumsVoice>;
using Guitar = InstrumentOf<kGuitarInfo, kGuitarVoice>;
using Trumpet = InstrumentOf<kTrumpetInfo, kTrumpetVoice>;

class Note : public InstrumentOf<kNoteInfo, kNoteVoice> {
public:
    static constexpr int kRingSize = 64;
    struct Played {
        int32_t note;
        int32_t octave;
    };
    // The last 64 Note plays, for the whole run (not saved).
    struct Ring {
        std::array<Played, kRingSize> entries;
        int32_t writePos;
    };
    static Ring& lastPlayed();
    // Puts the ring back as it is at start-up (tests).
    static void resetLastPlayed();
    // Records a play as picked (not clamped).
    static void record(int32_t note, int32_t octave);
    // Whether the melody equals the last Note plays, its last entry the most
    // recent play. A melody longer than the ring goes round it again.
    static bool matchesLastPlayed(const NoteRecord* melody);
};

// Registers Bass, Drums, Guitar, Trumpet and Note.
void registerInstruments();
