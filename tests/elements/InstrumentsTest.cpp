// Instruments play the generated note files (octaves clamped), every fourth
// update while powered and on every long press; Note plays fill the ring
// that melodies are matched against.
#include <filesystem>

#include "DeviceTesting.h"
#include "MaterialWorld.h"
#include "SimpleAudioEngine.h"
#include "elements/materials/Instruments.h"
#include "elements/materials/Powders.h"
#include "scene/GameLayer.h"

namespace {

class Instruments : public MaterialWorld {
protected:
    void SetUp() override
    {
        MaterialWorld::SetUp();
        audio().setBackendForTests(true);
        audio().clearRecordedCalls();
        Note::resetLastPlayed();
    }
    void TearDown() override
    {
        Note::resetLastPlayed();
        MaterialWorld::TearDown();
    }
    static CocosDenshion::SimpleAudioEngine& audio() { return *CocosDenshion::SimpleAudioEngine::sharedEngine(); }
    // The effect paths played since the last call.
    static std::vector<std::string> played()
    {
        std::vector<std::string> paths;
        for (const auto& call : audio().recordedCalls())
            if (call.operation == "playEffect")
                paths.push_back(call.path);
        audio().clearRecordedCalls();
        return paths;
    }
};

std::vector<NoteRecord> melody(std::initializer_list<std::pair<int, int>> notes)
{
    std::vector<NoteRecord> m;
    for (auto [note, octave] : notes)
        m.push_back({note, octave, false});
    m.push_back({0, 0, true});
    return m;
}

}  // namespace

TEST_F(Instruments, FileNamesClampTheOctaveAndExistAmongTheSounds)
{
    struct Case {
        const InstrumentVoice& voice;
        int32_t value, octave;
        const char* path;
    };
    const Case cases[] = {
        {kBassVoice, 1, 0, "sounds/sfx_element_bass/sfx_bass_c#1.mp3"},
        {kBassVoice, 0, 5, "sounds/sfx_element_bass/sfx_bass_c3.mp3"},
        {kGuitarVoice, 11, -1, "sounds/sfx_element_guitar/sfx_guitar_b1.mp3"},
        {kTrumpetVoice, 9, 3, "sounds/sfx_element_trumpet/sfx_trumpet_a4.mp3"},
        {kTrumpetVoice, 9, 7, "sounds/sfx_element_trumpet/sfx_trumpet_a4.mp3"},
        {kNoteVoice, 6, 2, "sounds/sfx_element_note/sfx_element_note_f#3.mp3"},
        {kDrumsVoice, 0, 2, "sounds/sfx_element_drums/sfx_drums_bd_c1.mp3"},
        {kDrumsVoice, 11, 0, "sounds/sfx_element_drums/sfx_drums_ri_b1.mp3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Music::soundPath(c.voice, c.value, c.octave), c.path);
    // Every file any instrument can ask for is among the generated sounds.
    const std::string root = cocos2d::CCFileUtils::sharedFileUtils()->getResourceRoot();
    for (const InstrumentVoice* v : {&kBassVoice, &kGuitarVoice, &kTrumpetVoice, &kNoteVoice, &kDrumsVoice})
        for (int32_t value = 0; value < Music::kNames; ++value)
            for (int32_t octave = 0; octave <= v->maxOctave; ++octave) {
                const std::string path = root + "/" + Music::soundPath(*v, value, octave);
                EXPECT_TRUE(std::filesystem::exists(path)) << path;
            }
}

TEST_F(Instruments, APoweredInstrumentPlaysEveryFourthUpdate)
{
    auto* bass = as<Instrument>(put(20, 100, Bass::kTypeId));
    put(19, 100, Metal::kTypeId);
    world->electricityGrid.setCell(19, 100, ElectricityGrid::kTail);
    std::vector<int> plays;
    for (int update = 1; update <= 12; ++update) {
        bass->update();
        if (!played().empty())
            plays.push_back(update);
    }
    EXPECT_EQ(plays, (std::vector<int>{1, 5, 9}));
    EXPECT_EQ(GameLayer::getInstance()->musicHoldTicks, Music::kHoldTicks);
}

TEST_F(Instruments, EveryLongPressPlaysAndNoSecondEditorOpens)
{
    auto* drums = as<Instrument>(put(30, 100, Drums::kTypeId));
    drums->note = 3;
    drums->onTouch();
    ParticleEditor* first = drums->editor;
    ASSERT_NE(first, nullptr) << "the game opens the drums' editor";
    drums->onTouch();
    EXPECT_EQ(drums->editor, first) << "no second editor";
    EXPECT_EQ(played(), (std::vector<std::string>(2, "sounds/sfx_element_drums/sfx_drums_sn2_d#1.mp3")));
    // An editor pick takes the values and plays them.
    drums->chosenNote = 7;
    drums->applyEditor();
    EXPECT_EQ(drums->note, 7);
    EXPECT_EQ(played(), (std::vector<std::string>{"sounds/sfx_element_drums/sfx_drums_t1_g1.mp3"}));
    EXPECT_EQ(drums->cooldown, 0) << "only a powered play waits";
}

TEST_F(Instruments, LoadedNotesOutsideTheTablesBecomeC)
{
    struct Case {
        uint32_t kind;
        std::initializer_list<int32_t> saved;
        int32_t note, octave;
    };
    const Case cases[] = {{Bass::kTypeId, {11, 1}, 11, 1},
                          {Bass::kTypeId, {12, 1}, 0, 1},
                          {Note::kTypeId, {-1, 9}, 0, 9},
                          {Drums::kTypeId, {40}, 0, 0},
                          {Drums::kTypeId, {5}, 5, 0}};
    for (const Case& c : cases) {
        auto* inst = as<Instrument>(put(40, 100, c.kind));
        loadWords(inst, c.saved);
        EXPECT_EQ(inst->note, c.note);
        EXPECT_EQ(inst->octave, c.octave);
        EXPECT_EQ(inst->getSaveSize(), c.kind == Drums::kTypeId ? 4 : 8);
        world->removeParticle(40, 100);
    }
}

TEST_F(Instruments, MelodiesMatchTheLastNotePlays)
{
    // At start-up the most recent entry is (0, 0).
    EXPECT_TRUE(Note::matchesLastPlayed(melody({{0, 0}}).data()));
    EXPECT_FALSE(Note::matchesLastPlayed(melody({{-1, -1}}).data()));

    auto* note = as<Instrument>(put(50, 100, Note::kTypeId));
    const auto tune = melody({{0, 1}, {4, 1}, {7, 1}, {0, 2}});
    for (const NoteRecord& r : tune)
        if (!r.end) {
            note->chosenNote = r.note;
            note->chosenOctave = r.octave;
            note->applyEditor();
        }
    EXPECT_TRUE(Note::matchesLastPlayed(tune.data()));
    // Other instruments keep no history.
    as<Instrument>(put(51, 100, Bass::kTypeId))->onTouch();
    EXPECT_TRUE(Note::matchesLastPlayed(tune.data()));
    // One wrong note after it breaks the match.
    note->onTouch();
    EXPECT_FALSE(Note::matchesLastPlayed(tune.data()));
    // The octave is compared as picked, not clamped.
    note->chosenNote = 2;
    note->chosenOctave = 9;
    note->applyEditor();
    EXPECT_TRUE(Note::matchesLastPlayed(melody({{2, 9}}).data()));
    EXPECT_FALSE(Note::matchesLastPlayed(melody({{2, 3}}).data()));
}

TEST_F(Instruments, TheRingWrapsAndLongMelodiesGoRoundItAgain)
{
    // 70 plays of 0..11 repeating: the ring holds the last 64.
    for (int i = 0; i < 70; ++i)
        Note::record(i % 12, 1);
    std::vector<std::pair<int, int>> last16;
    for (int i = 54; i < 70; ++i)
        last16.push_back({i % 12, 1});
    std::vector<NoteRecord> m;
    for (auto [n, o] : last16)
        m.push_back({n, o, false});
    m.push_back({0, 0, true});
    EXPECT_TRUE(Note::matchesLastPlayed(m.data()));
    // 80 notes compare the ring more than once: only a repeating ring
    // (period dividing 64) can match.
    std::vector<NoteRecord> long80;
    for (int i = 0; i < 80; ++i)
        long80.push_back({i % 4, 0, false});
    long80.push_back({0, 0, true});
    EXPECT_FALSE(Note::matchesLastPlayed(long80.data()));
    for (int i = 0; i < 64; ++i)
        Note::record(i % 4, 0);
    EXPECT_TRUE(Note::matchesLastPlayed(long80.data()));
}

TEST_F(Instruments, NotesOnAWirePlayInTheWorld)
{
    put(20, 20, TypeId::of("Power"));
    fill(21, 20, 30, 20, Metal::kTypeId);
    put(25, 21, Note::kTypeId);
    step(40);
    int notes = 0;
    for (const std::string& path : played())
        notes += path.find("sfx_element_note_c3") != std::string::npos;
    EXPECT_GT(notes, 0);
}
