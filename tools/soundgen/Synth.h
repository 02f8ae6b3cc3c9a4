#pragma once
// The project's own small synthesiser: seeded noise, oscillators, one-pole
// filters, envelopes and plucked strings, and the layered recipes the effect
// manifest describes. Everything is deterministic: same recipe, same samples.
#include <cstdint>
#include <string>
#include <vector>

namespace soundgen {

constexpr int kRate = 44100;
using Samples = std::vector<float>;

// xorshift32: the only noise source; every user passes a fixed seed.
class Noise {
public:
    explicit Noise(uint32_t seed) : m_state(seed ? seed : 0x9e3779b9u) { }
    float next();                                    // uniform in [-1, 1)
    float unit() { return (next() + 1.0f) * 0.5f; }  // [0, 1)

private:
    uint32_t m_state;
};

class OnePole {
public:
    // cutoff <= 0 passes everything through.
    void setLowpass(double cutoff);
    void setHighpass(double cutoff);
    float process(float x);

private:
    enum class Mode { Off, Low, High } m_mode = Mode::Off;
    float m_a = 0, m_low = 0;
};

// Scientific pitch names such as "a4" or "c#3"; false on anything else.
bool parseNoteName(const std::string& name, double& frequency);
// The equal-tempered pitch of note n (0 = C) in a scientific octave.
double noteFrequency(int octave, int n);

// One grain source with its envelope, repeated as the recipe says.
struct Layer {
    std::string source = "sine";       // sine square saw tri noise pluck metal
    std::vector<double> freqs{440.0};  // cycled through by repeats
    double to = 0;                     // end frequency of a sweep (0: none)
    double at = 0, len = 0;            // start and length in seconds (len 0: to the end)
    double attack = 0.002, decay = 0, release = 0.005;
    double every = 0, jitter = 0, spread = 0, vary = 0;
    int count = 0;  // repeats (0: as many as fit)
    double lowpass = 0, highpass = 0;
    double amRate = 0, amDepth = 0, vibRate = 0, vibDepth = 0;
    double amp = 1;
    uint32_t seed = 1;
};

struct EffectRecipe {
    std::string name;
    double seconds = 0;
    bool loop = false;
    std::string group;  // loudness is matched within a group
    std::vector<Layer> layers;
};

// Parses "key=value" words of a layer line after its source word.
bool parseLayer(const std::vector<std::string>& words, size_t at, Layer& layer, std::string& error);

// Adds the layer's grains into out (which sets the sound's length).
void renderLayer(const Layer& layer, Samples& out);
// A recipe rendered, with its fades or its crossfaded loop seam; not yet levelled.
Samples renderEffect(const EffectRecipe& recipe);

// Short linear fades at both ends, so one-shots start and end at zero.
void fadeEnds(Samples& s, double seconds);
// Karplus-Strong with a fractional delay, so the pitch holds to the cent.
Samples pluck(double frequency, double seconds, double brightness, uint32_t seed);

// Level helpers for matching loudness.
float peakOf(const Samples& s);
// The loudest 50 ms window's RMS: a short-term loudness that ignores silence.
float loudnessOf(const Samples& s);
void scale(Samples& s, float gain);

// FNV-1a, for seeds derived from names.
uint32_t hashName(const std::string& text);

}  // namespace soundgen
