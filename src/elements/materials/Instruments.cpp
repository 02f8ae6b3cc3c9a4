#include "elements/materials/Instruments.h"

#include <algorithm>
#include <cstdio>

#include "SimpleAudioEngine.h"
#include "base/Utils.h"
#include "elements/materials/Wiring.h"
#include "world/ByteStream.h"
#include "world/WorldHost.h"

namespace {
constexpr const char* kNoteNames[Music::kNames] = {"c", "c#", "d", "d#", "e", "f", "f#", "g", "g#", "a", "a#", "b"};
constexpr const char* kDrumNames[Music::kNames] = {"bd_c",  "rs_c#", "sn1_d", "sn2_d#", "hcc_e", "hc_f",
                                                   "ho_f#", "t1_g",  "t2_g#", "cr1_a",  "t3_a#", "ri_b"};

int32_t validIndex(int32_t i)
{
    return i >= 0 && i < Music::kNames ? i : 0;
}
}  // namespace

const char* Music::noteName(int32_t note)
{
    return kNoteNames[validIndex(note)];
}
const char* Music::drumName(int32_t drum)
{
    return kDrumNames[validIndex(drum)];
}

std::string Music::soundPath(const InstrumentVoice& voice, int32_t value, int32_t octave)
{
    char name[64];
    if (voice.drums) {
        std::snprintf(name, sizeof name, voice.format, drumName(value));
    } else {
        const float clamped = std::clamp(static_cast<float>(octave), 0.0f, static_cast<float>(voice.maxOctave));
        std::snprintf(name, sizeof name, voice.format, noteName(value), static_cast<int>(clamped) + 1);
    }
    return soundFilePath(voice.folder, name);
}

// --- Instrument ---------------------------------------------------------------

namespace {
// Every path a voice can play, built once, so a play allocates nothing.
const std::string& cachedSoundPath(const InstrumentVoice& voice, int32_t value, int32_t octave)
{
    static constexpr int kOctaves = 4;
    struct Table {
        const InstrumentVoice* voice;
        std::array<std::string, Music::kNames * kOctaves> paths;
    };
    static std::array<Table, 5> tables = [] {
        // Every entry is set below; "t{}" here crashes clang 14 (the fuzz build).
        std::array<Table, 5> t;
        const InstrumentVoice* voices[] = {&kBassVoice, &kGuitarVoice, &kTrumpetVoice, &kNoteVoice, &kDrumsVoice};
        for (size_t i = 0; i < t.size(); ++i) {
            t[i].voice = voices[i];
            for (int32_t n = 0; n < Music::kNames; ++n)
                for (int32_t o = 0; o < kOctaves; ++o)
                    t[i].paths[static_cast<size_t>(n * kOctaves + o)] = Music::soundPath(*voices[i], n, o);
        }
        return t;
    }();
    const int32_t clamped = voice.drums
        ? 0
        : static_cast<int32_t>(std::clamp(static_cast<float>(octave), 0.0f, static_cast<float>(voice.maxOctave)));
    for (const Table& t : tables)
        if (t.voice == &voice)
            return t.paths[static_cast<size_t>(validIndex(value) * kOctaves + clamped)];
    static const std::string none;
    return none;
}
}  // namespace

void Instrument::play(int32_t value, int32_t octaveToPlay) const
{
    auto* audio = CocosDenshion::SimpleAudioEngine::sharedEngine();
    if (audio->isBackgroundMusicPlaying() || audio->willPlayBackgroundMusic())
        audio->stopBackgroundMusic();
    worldHost().holdMusic(Music::kHoldTicks);
    const InstrumentVoice& v = voice();
    if (&v == &kNoteVoice)
        Note::record(value, octaveToPlay);
    audio->playEffect(cachedSoundPath(v, value, octaveToPlay).c_str(), false);
}

void Instrument::update()
{
    if (cooldown > 0) {
        --cooldown;
        return;
    }
    if (!world().electricityGrid.isPowered(x, y))
        return;
    play(note, octave);
    cooldown = Music::kCooldown;
}

void Instrument::onTouch()
{
    play(note, octave);
    if (!editor)
        openElementEditor(*this, voice().editor);
}

void Instrument::applyEditor()
{
    note = validIndex(chosenNote);
    if (!voice().drums)
        octave = chosenOctave;
    play(note, octave);
}

int32_t Instrument::getSaveSize() const
{
    return voice().drums ? 4 : 8;
}

void Instrument::saveExtra(ByteWriter& out)
{
    out.i32(note);
    if (!voice().drums)
        out.i32(octave);
}

void Instrument::loadExtra(ByteReader& in)
{
    int32_t loaded = 0;
    if (in.i32(loaded))
        note = validIndex(loaded);
    if (!voice().drums && in.i32(loaded))
        octave = loaded;
}

// --- Note's ring --------------------------------------------------------------

Note::Ring& Note::lastPlayed()
{
    static Ring ring = [] {
        Ring r{};
        r.entries.fill({0, 0});
        r.entries[0] = {-1, -1};
        r.writePos = 0;
        return r;
    }();
    return ring;
}

void Note::resetLastPlayed()
{
    Ring& r = lastPlayed();
    r.entries.fill({0, 0});
    r.entries[0] = {-1, -1};
    r.writePos = 0;
}

void Note::record(int32_t note, int32_t octave)
{
    Ring& r = lastPlayed();
    r.entries[static_cast<size_t>(r.writePos)] = {note, octave};
    r.writePos = (r.writePos + 1) % kRingSize;
}

bool Note::matchesLastPlayed(const NoteRecord* melody)
{
    if (!melody)
        return false;
    int length = 1;
    while (!melody[length].end)
        ++length;
    const Ring& ring = lastPlayed();
    int r = (ring.writePos - 1 + kRingSize) % kRingSize;
    for (int k = length - 1; k >= 0; --k) {
        const Played& p = ring.entries[static_cast<size_t>(r)];
        if (melody[k].note != p.note || melody[k].octave != p.octave)
            return false;
        r = (r - 1 + kRingSize) % kRingSize;
    }
    return true;
}

template class InstrumentOf<kBassInfo, kBassVoice>;
template class InstrumentOf<kDrumsInfo, kDrumsVoice>;
template class InstrumentOf<kGuitarInfo, kGuitarVoice>;
template class InstrumentOf<kTrumpetInfo, kTrumpetVoice>;
template class InstrumentOf<kNoteInfo, kNoteVoice>;

void registerInstruments()
{
    registerElements<Bass, Drums, Guitar, Trumpet, Note>();
}
