#include "hud/DeviceEditors.h"

#include <string>
#include <string_view>
#include <vector>

#include "base/LocalUtils.h"
#include "base/Utils.h"
#include "elements/materials/Instruments.h"
#include "elements/materials/Wiring.h"
#include "gui/GUIButton.h"
#include "world/World.h"

USING_NS_CC;

namespace {

const char* const kPowerPanel = "gamemenus_editorPower.png";
const char* const kInstrumentPanel = "gamemenus_editorInstrument.png";
const char* const kChoiceButton = "gamemenus_editorButton.png";
const char* const kWideButton = "gamemenus_editorWideButton.png";

CCString* numberText(int value)
{
    return CCString::createWithFormat("%d", value);
}

// The twelve note names as the language's texts name them ("C" ... "B",
// "do" ... "si"); the sound files keep their own names.
std::vector<std::string> noteNames()
{
    std::vector<std::string> names;
    std::string name;
    for (const char c : LocalUtils::localize("NoteNames")->getString() + " ") {
        if (c != ' ') {
            name += c;
        } else if (!name.empty()) {
            names.push_back(name);
            name.clear();
        }
    }
    if (names.size() != static_cast<size_t>(Music::kNames)) {
        names.clear();
        for (int32_t n = 0; n < Music::kNames; ++n)
            names.push_back(toUpperCCString(Music::noteName(n))->getString());
    }
    return names;
}

template <typename Editor> Editor* fresh()
{
    auto* editor = new Editor();
    editor->autorelease();
    return editor;
}

}  // namespace

// --- Power ---------------------------------------------------------------------

PowerEditor* PowerEditor::open(Power* power)
{
    if (!power || power->editor)
        return nullptr;
    PowerEditor* editor = fresh<PowerEditor>();
    if (!editor->initFor(power) || !present(editor, power))
        return nullptr;
    return editor;
}

bool PowerEditor::initFor(Power* power)
{
    if (!initEditor(kPowerPanel))
        return false;
    m_period = power->period;
    const CCSize size = m_panel->getContentSize();
    addLabel(LocalUtils::localize("EditorPowerTitle"), ccp(size.width / 2, size.height - 8), 8);
    const float step = size.width / static_cast<float>(std::size(kPeriods));
    for (size_t i = 0; i < std::size(kPeriods); ++i) {
        const int32_t period = kPeriods[i];
        CCString* caption = period == 0 ? LocalUtils::localize("EditorPowerOff") : numberText(period);
        m_buttons.push_back(addChoiceButton(kWideButton, caption,
                                            ccp(step * (static_cast<float>(i) + 0.5f), size.height / 2 - 4),
                                            callfuncO_selector(PowerEditor::onChoice), period));
    }
    showSelected();
    return true;
}

GUIButton* PowerEditor::buttonFor(int32_t period) const
{
    for (size_t i = 0; i < std::size(kPeriods); ++i)
        if (kPeriods[i] == period && i < m_buttons.size())
            return m_buttons[i];
    return nullptr;
}

void PowerEditor::showSelected()
{
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i])
            m_buttons[i]->setSelected(kPeriods[i] == m_period);
}

void PowerEditor::onChoice(CCObject* value)
{
    const int32_t period = valueOf(value);
    bool offered = false;
    for (int32_t p : kPeriods)
        offered = offered || p == period;
    if (!offered)
        return;
    m_period = period;
    showSelected();
    // The particle may have gone while the press was pending.
    if (auto* power = dynamic_cast<Power*>(particle)) {
        power->chosenPeriod = period;
        power->applyEditor();
        markWorldChanged();
    }
}

// --- instruments -------------------------------------------------------------------

InstrumentEditor* InstrumentEditor::openWith(InstrumentEditor* editor, Instrument* instrument, int32_t octaves,
                                             bool drums)
{
    if (!instrument || instrument->editor)
        return nullptr;
    if (!editor->initFor(instrument, octaves, drums) || !present(editor, instrument))
        return nullptr;
    return editor;
}

bool InstrumentEditor::initFor(Instrument* instrument, int32_t octaves, bool drums)
{
    if (!initEditor(kInstrumentPanel))
        return false;
    m_octaves = octaves;
    m_note = instrument->note;
    m_octave = octaves > 0 ? std::clamp(instrument->octave, 0, octaves - 1) : 0;
    const CCSize size = m_panel->getContentSize();
    const float step = size.width / static_cast<float>(kNotes);
    // The rows below the close button's corner.
    const float noteRow = octaves > 0 ? size.height - 24 : (size.height - 14) / 2;
    const std::vector<std::string> names = noteNames();
    for (int32_t n = 0; n < kNotes; ++n) {
        CCString* caption = drums ? numberText(n + 1) : CCString::create(names[static_cast<size_t>(n)]);
        m_noteButtons.push_back(addChoiceButton(kChoiceButton, caption,
                                                ccp(step * (static_cast<float>(n) + 0.5f), noteRow),
                                                callfuncO_selector(InstrumentEditor::onNote), n));
    }
    const float octaveStep = 22;
    const float left = size.width / 2 - octaveStep * static_cast<float>(octaves - 1) / 2;
    for (int32_t o = 0; o < octaves; ++o) {
        // The octave's sound files count from 1.
        m_octaveButtons.push_back(addChoiceButton(kWideButton, numberText(o + 1),
                                                  ccp(left + octaveStep * static_cast<float>(o), 12),
                                                  callfuncO_selector(InstrumentEditor::onOctave), o));
    }
    showSelected();
    return true;
}

GUIButton* InstrumentEditor::noteButton(int32_t note) const
{
    return note >= 0 && note < static_cast<int32_t>(m_noteButtons.size()) ? m_noteButtons[note] : nullptr;
}

GUIButton* InstrumentEditor::octaveButton(int32_t octave) const
{
    return octave >= 0 && octave < static_cast<int32_t>(m_octaveButtons.size()) ? m_octaveButtons[octave] : nullptr;
}

void InstrumentEditor::showSelected()
{
    for (int32_t n = 0; n < static_cast<int32_t>(m_noteButtons.size()); ++n)
        if (m_noteButtons[n])
            m_noteButtons[n]->setSelected(n == m_note);
    for (int32_t o = 0; o < static_cast<int32_t>(m_octaveButtons.size()); ++o)
        if (m_octaveButtons[o])
            m_octaveButtons[o]->setSelected(o == m_octave);
}

void InstrumentEditor::onNote(CCObject* value)
{
    const int32_t note = valueOf(value);
    if (note < 0 || note >= kNotes)
        return;
    m_note = note;
    apply();
}

void InstrumentEditor::onOctave(CCObject* value)
{
    const int32_t octave = valueOf(value);
    if (octave < 0 || octave >= m_octaves)
        return;
    m_octave = octave;
    apply();
}

void InstrumentEditor::apply()
{
    showSelected();
    if (auto* instrument = dynamic_cast<Instrument*>(particle)) {
        instrument->chosenNote = m_note;
        instrument->chosenOctave = m_octave;
        instrument->applyEditor();
        markWorldChanged();
    }
}

BassEditor* BassEditor::open(Instrument* bass)
{
    return static_cast<BassEditor*>(openWith(fresh<BassEditor>(), bass, 3, false));
}
DrumsEditor* DrumsEditor::open(Instrument* drums)
{
    return static_cast<DrumsEditor*>(openWith(fresh<DrumsEditor>(), drums, 0, true));
}
GuitarEditor* GuitarEditor::open(Instrument* guitar)
{
    return static_cast<GuitarEditor*>(openWith(fresh<GuitarEditor>(), guitar, 3, false));
}
TrumpetEditor* TrumpetEditor::open(Instrument* trumpet)
{
    return static_cast<TrumpetEditor*>(openWith(fresh<TrumpetEditor>(), trumpet, 2, false));
}
NoteEditor* NoteEditor::open(Instrument* note)
{
    return static_cast<NoteEditor*>(openWith(fresh<NoteEditor>(), note, 4, false));
}

// --- by name -------------------------------------------------------------------------

bool openDeviceEditor(Particle& particle, const char* window)
{
    const std::string_view name = window ? window : "";
    if (name == "PowerEditor")
        return PowerEditor::open(dynamic_cast<Power*>(&particle)) != nullptr;
    auto* instrument = dynamic_cast<Instrument*>(&particle);
    if (!instrument)
        return false;
    if (name == "BassEditor")
        return BassEditor::open(instrument) != nullptr;
    if (name == "DrumsEditor")
        return DrumsEditor::open(instrument) != nullptr;
    if (name == "GuitarEditor")
        return GuitarEditor::open(instrument) != nullptr;
    if (name == "TrumpetEditor")
        return TrumpetEditor::open(instrument) != nullptr;
    if (name == "NoteEditor")
        return NoteEditor::open(instrument) != nullptr;
    return false;
}
