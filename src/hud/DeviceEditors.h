#pragma once
// The editor windows of Power and the instruments, one choice-window shape:
// rows of buttons on a panel, the chosen one shown selected. Each press stores
// the choice on the particle and lets it apply it (`applyEditor`).
#include <cstdint>
#include <vector>

#include "hud/ParticleEditor.h"

class Instrument;
class Power;
struct InstrumentVoice;

class PowerEditor : public ParticleEditor {
public:
    // Off, then pulses every 4, 8, 16 or 32 updates.
    static constexpr int32_t kPeriods[] = {0, 4, 8, 16, 32};

    // Opens the window for the particle; null when it already has one.
    static PowerEditor* open(Power* power);

    void onChoice(cocos2d::CCObject* value);
    int32_t getPeriod() const { return m_period; }
    GUIButton* buttonFor(int32_t period) const;

private:
    bool initFor(Power* power);
    void showSelected();

    int32_t m_period = 0;
    std::vector<GUIButton*> m_buttons;  // children of the panel
};

// The shared window of the five instruments: twelve note (or drum) buttons
// and, unless it has none, a row of octave buttons.
class InstrumentEditor : public ParticleEditor {
public:
    static constexpr int32_t kNotes = 12;

    void onNote(cocos2d::CCObject* value);
    void onOctave(cocos2d::CCObject* value);
    int32_t getNote() const { return m_note; }
    int32_t getOctave() const { return m_octave; }
    int32_t getOctaveCount() const { return m_octaves; }
    GUIButton* noteButton(int32_t note) const;
    GUIButton* octaveButton(int32_t octave) const;

protected:
    // octaves 0 for none (the drums).
    static InstrumentEditor* openWith(InstrumentEditor* editor, Instrument* instrument, int32_t octaves, bool drums);

private:
    bool initFor(Instrument* instrument, int32_t octaves, bool drums);
    void apply();
    void showSelected();

    int32_t m_note = 0;
    int32_t m_octave = 0;
    int32_t m_octaves = 0;
    std::vector<GUIButton*> m_noteButtons;    // children of the panel
    std::vector<GUIButton*> m_octaveButtons;  // children of the panel
};

class BassEditor : public InstrumentEditor {
public:
    static BassEditor* open(Instrument* bass);
};
class DrumsEditor : public InstrumentEditor {
public:
    static DrumsEditor* open(Instrument* drums);
};
class GuitarEditor : public InstrumentEditor {
public:
    static GuitarEditor* open(Instrument* guitar);
};
class TrumpetEditor : public InstrumentEditor {
public:
    static TrumpetEditor* open(Instrument* trumpet);
};
class NoteEditor : public InstrumentEditor {
public:
    static NoteEditor* open(Instrument* note);
};

// A long press's editor by window name ("PowerEditor", "BassEditor", ...);
// false when the name or the particle's kind has no window here.
bool openDeviceEditor(Particle& particle, const char* window);
