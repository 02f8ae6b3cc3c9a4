// The synthesiser's promises that the checker cannot see from outside:
// recipe parsing, exact lengths, fades, loop seams, seeded noise and note pitch.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "Recipes.h"
#include "Score.h"
#include "Synth.h"
#include "Voices.h"

using namespace soundgen;

namespace {

std::string writeTemp(const std::string& name, const std::string& text)
{
    std::string path = "/tmp/soundgen-test-" + std::to_string(getpid()) + "-" + name;
    std::ofstream(path) << text;
    return path;
}

TEST(Recipes, BadLinesAreRefusedWithTheirPlace)
{
    struct Case {
        const char* text;
        const char* expected;  // part of the error
    } cases[] = {
        {"effect a 1.0 once gui\nlayer sine f=440\n", ""},
        {"effect a 1.0 sometimes gui\nlayer sine\n", ":1: expected 'effect"},
        {"effect a 99 once gui\nlayer sine\n", "a length runs from"},
        {"effect ../escape 1.0 once gui\nlayer sine\n", "lower-case letters"},
        {"effect Loud 1.0 once gui\nlayer sine\n", "lower-case letters"},
        {"effect a 1.0 once gui\nlayer buzz\n", ":2: a layer starts with its source"},
        {"effect a 1.0 once gui\nlayer sine f=h9\n", "bad value in 'f=h9'"},
        {"effect a 1.0 once gui\nlayer sine lp=-3\n", "bad value in 'lp=-3'"},
        {"effect a 1.0 once gui\nlayer sine volume=3\n", "unknown layer key 'volume'"},
        {"layer sine\n", "a layer needs a sound above it"},
        {"effect a 1.0 once gui\neffect b 1.0 once gui\nlayer sine\n", "a has no layer"},
        {"effect a 1.0 once gui\nlayer sine\neffect a 1.0 once gui\nlayer sine\n", "listed twice"},
    };
    for (const Case& c : cases) {
        std::vector<EffectRecipe> recipes;
        std::string error;
        bool ok = readEffects(writeTemp("effects", c.text), recipes, error);
        if (!*c.expected) {
            EXPECT_TRUE(ok) << error;
        } else {
            EXPECT_FALSE(ok) << c.text;
            EXPECT_NE(error.find(c.expected), std::string::npos) << c.text << " gave: " << error;
        }
    }
}

TEST(Synth, OneShotsHaveTheirLengthAndStartAndEndAtRest)
{
    EffectRecipe r;
    r.name = "t";
    r.seconds = 0.25;
    Layer l;
    l.source = "square";
    l.freqs = {300};
    l.release = 0;  // the fades alone must bring it to rest
    r.layers.push_back(l);
    Samples s = renderEffect(r);
    ASSERT_EQ(s.size(), 11025u);
    EXPECT_EQ(s.front(), 0.0f);
    EXPECT_EQ(s.back(), 0.0f);
    EXPECT_GT(peakOf(s), 0.5f);
}

TEST(Synth, LoopSeamsAreAsSmoothAsTheSoundItself)
{
    for (const char* source : {"sine", "saw", "noise"}) {
        EffectRecipe r;
        r.name = source;
        r.seconds = 1.0;
        r.loop = true;
        Layer l;
        l.source = source;
        l.freqs = {233.3};  // not a whole number of periods in the loop
        l.amDepth = 0.5;
        l.amRate = 3.3;
        r.layers.push_back(l);
        Samples s = renderEffect(r);
        ASSERT_EQ(s.size(), 44100u);
        float inside = 0;
        for (size_t i = 1; i < s.size(); ++i)
            inside = std::max(inside, std::fabs(s[i] - s[i - 1]));
        EXPECT_LE(std::fabs(s.front() - s.back()), inside) << source;
        // Without the crossfade the same sine would jump at the seam.
        if (std::string(source) == "sine") {
            EXPECT_LT(std::fabs(s.front() - s.back()), 0.05f);
        }
    }
}

TEST(Synth, NoiseIsSeededAndDifferentSeedsDiffer)
{
    Noise a(7), b(7), c(8);
    int same = 0, differ = 0;
    for (int i = 0; i < 1000; ++i) {
        float x = a.next(), y = b.next(), z = c.next();
        same += x == y;
        differ += x != z;
        ASSERT_GE(x, -1.0f);
        ASSERT_LT(x, 1.0f);
    }
    EXPECT_EQ(same, 1000);
    EXPECT_GT(differ, 990);
}

TEST(Voices, NoteFilesFollowTheOctaveRule)
{
    std::string error;
    Instruments instruments;
    ASSERT_TRUE(readInstruments(std::string(TESMORA_ASSETS_DIR) + "/sounds/instruments.manifest", instruments, error))
        << error;
    std::vector<NoteFile> files = noteFiles(instruments);
    ASSERT_EQ(files.size(), 180u);
    struct Case {
        const char* path;
        double frequency;
    } cases[] = {
        {"sounds/sfx_element_bass/sfx_bass_c1.mp3", 65.406},          // C2
        {"sounds/sfx_element_bass/sfx_bass_b3.mp3", 493.883},         // B4
        {"sounds/sfx_element_guitar/sfx_guitar_c#1.mp3", 138.591},    // C#3
        {"sounds/sfx_element_trumpet/sfx_trumpet_b4.mp3", 1975.533},  // B6
        {"sounds/sfx_element_note/sfx_element_note_a2.mp3", 440.0},   // A4
        {"sounds/sfx_element_drums/sfx_drums_rs_c#1.mp3", 0},
    };
    for (const Case& c : cases) {
        auto it = std::find_if(files.begin(), files.end(), [&](const NoteFile& f) { return f.path == c.path; });
        ASSERT_NE(it, files.end()) << c.path;
        EXPECT_NEAR(it->frequency, c.frequency, 0.01) << c.path;
    }
}

TEST(Voices, PluckedNotesHoldTheirPitchEvenHighUp)
{
    // Upward zero crossings of the fundamental (the overtones filtered off)
    // over half a second give the period. The guitar's range: C3 to B5.
    for (double f : {130.81, 523.25, 987.77}) {
        Samples s = pluck(f, 0.6, 0.6, 3);
        for (int pass = 0; pass < 4; ++pass) {
            OnePole low;
            low.setLowpass(f * 1.2);
            for (float& v : s)
                v = low.process(v);
        }
        std::vector<double> ups;
        for (size_t i = 4410; i + 1 < 26460; ++i)
            if (s[i] <= 0 && s[i + 1] > 0)
                ups.push_back(static_cast<double>(i) + s[i] / (s[i] - s[i + 1]));
        ASSERT_GT(ups.size(), 10u) << f;
        double measured = (ups.size() - 1) * 44100.0 / (ups.back() - ups.front());
        EXPECT_NEAR(measured / f, 1.0, 0.005) << f;
    }
}

TEST(Scores, StepsHoldsRestsAndChordsBecomeTimedNotes)
{
    std::string error;
    Instruments instruments;
    ASSERT_TRUE(readInstruments(std::string(TESMORA_ASSETS_DIR) + "/sounds/instruments.manifest", instruments, error))
        << error;
    Score score;
    ASSERT_TRUE(readScore(writeTemp("score", "tempo 120\nbeats 4\nseq bass 0.5 0 0 4 1 c2 - . e2+g2\n"), instruments,
                          score, error))
        << error;
    ASSERT_EQ(score.events.size(), 3u);
    EXPECT_DOUBLE_EQ(score.seconds(), 2.0);
    EXPECT_DOUBLE_EQ(score.events[0].start, 0.0);
    EXPECT_DOUBLE_EQ(score.events[0].gate, 1.0);  // held for a second step
    EXPECT_DOUBLE_EQ(score.events[1].start, 1.5);
    EXPECT_DOUBLE_EQ(score.events[2].start, 1.5);
    for (const char* bad :
         {"tempo 120\nbeats 4\nseq kazoo 1 0 0 4 1 c2\n", "tempo 120\nbeats 4\nseq bass 1 0 0 4 1 h2\n",
          "tempo 120\nbeats 4\nseq drums 1 0 0 4 1 gong\n", "tempo 120\n"}) {
        Score s;
        EXPECT_FALSE(readScore(writeTemp("bad", bad), instruments, s, error)) << bad;
    }
}

}  // namespace
