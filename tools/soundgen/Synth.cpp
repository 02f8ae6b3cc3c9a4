#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace soundgen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLoopCrossfade = 0.15;  // seconds blended across a loop seam

bool parseNumber(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end && *end == 0 && std::isfinite(value);
}

// "440", "a4" or "1200"; a note name when it starts with a letter.
bool parseFrequency(const std::string& text, double& value)
{
    if (!text.empty() && std::isalpha(static_cast<unsigned char>(text[0])))
        return parseNoteName(text, value);
    return parseNumber(text, value) && value > 0;
}

std::vector<std::string> splitOn(const std::string& text, char sep)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        size_t at = text.find(sep, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

// A band-limited-enough sawtooth and square by summing harmonics below 16 kHz.
float additive(double phase, double frequency, bool oddOnly)
{
    int harmonics = std::max(1, static_cast<int>(16000.0 / std::max(frequency, 1.0)));
    harmonics = std::min(harmonics, 40);
    double sum = 0;
    for (int h = 1; h <= harmonics; ++h) {
        if (oddOnly && h % 2 == 0)
            continue;
        sum += std::sin(2 * kPi * phase * h) / h;
    }
    return static_cast<float>(sum * (oddOnly ? 4 / kPi : 2 / kPi) * 0.8);
}

// Inharmonic partials of a small struck metal bar.
float metal(double phase)
{
    static const double ratios[] = {1.0, 2.76, 5.40, 8.93};
    static const double gains[] = {1.0, 0.55, 0.3, 0.15};
    double sum = 0;
    for (int i = 0; i < 4; ++i)
        sum += gains[i] * std::sin(2 * kPi * phase * ratios[i]);
    return static_cast<float>(sum * 0.5);
}

// One grain of a layer at a given start, pitch and gain.
void renderGrain(const Layer& l, size_t start, size_t length, double frequency, float gain, Noise& noise, Samples& out)
{
    if (start >= out.size())
        return;
    length = std::min(length, out.size() - start);
    OnePole low, high;
    low.setLowpass(l.lowpass);
    high.setHighpass(l.highpass);
    Samples plucked;
    if (l.source == "pluck")
        plucked = pluck(frequency, static_cast<double>(length) / kRate, 0.5, noise.next() > 0 ? 7 : 11);
    double phase = 0;
    const double seconds = static_cast<double>(length) / kRate;
    for (size_t i = 0; i < length; ++i) {
        double t = static_cast<double>(i) / kRate;
        double f = frequency;
        if (l.to > 0 && seconds > 0)
            f = frequency * std::pow(l.to / frequency, t / seconds);
        if (l.vibDepth > 0)
            f *= std::pow(2.0, l.vibDepth / 12.0 * std::sin(2 * kPi * l.vibRate * t));
        float s = 0;
        if (l.source == "sine")
            s = static_cast<float>(std::sin(2 * kPi * phase));
        else if (l.source == "square")
            s = additive(phase, f, true);
        else if (l.source == "saw")
            s = additive(phase, f, false);
        else if (l.source == "tri")
            s = static_cast<float>(2 * std::fabs(2 * (phase - std::floor(phase + 0.5))) - 1);
        else if (l.source == "noise")
            s = noise.next();
        else if (l.source == "pluck")
            s = plucked[i];
        else if (l.source == "metal")
            s = metal(phase);
        phase += f / kRate;
        phase -= std::floor(phase);
        double env = 1;
        if (l.attack > 0 && t < l.attack)
            env *= t / l.attack;
        if (l.decay > 0)
            env *= std::exp(-t / l.decay);
        double left = seconds - t;
        if (l.release > 0 && left < l.release)
            env *= std::max(0.0, left / l.release);
        if (l.amDepth > 0)
            env *= 1 - l.amDepth * 0.5 * (1 + std::sin(2 * kPi * l.amRate * t));
        s = high.process(low.process(s));
        out[start + i] += static_cast<float>(s * env * gain);
    }
}

}  // namespace

float Noise::next()
{
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return static_cast<float>(m_state >> 8) / 8388608.0f - 1.0f;
}

void OnePole::setLowpass(double cutoff)
{
    m_mode = cutoff > 0 ? Mode::Low : Mode::Off;
    m_a = static_cast<float>(1 - std::exp(-2 * kPi * cutoff / kRate));
}

void OnePole::setHighpass(double cutoff)
{
    m_mode = cutoff > 0 ? Mode::High : Mode::Off;
    m_a = static_cast<float>(1 - std::exp(-2 * kPi * cutoff / kRate));
}

float OnePole::process(float x)
{
    if (m_mode == Mode::Off)
        return x;
    m_low += m_a * (x - m_low);
    return m_mode == Mode::Low ? m_low : x - m_low;
}

bool parseNoteName(const std::string& name, double& frequency)
{
    static const char* names[] = {"c", "c#", "d", "d#", "e", "f", "f#", "g", "g#", "a", "a#", "b"};
    for (int n = 11; n >= 0; --n) {  // sharps first, so "c#" is not read as "c"
        size_t len = std::char_traits<char>::length(names[n]);
        if (name.size() <= len || name.compare(0, len, names[n]) != 0)
            continue;
        std::string rest = name.substr(len);
        if (rest.size() != 1 || rest[0] < '0' || rest[0] > '8')
            return false;
        frequency = noteFrequency(rest[0] - '0', n);
        return true;
    }
    return false;
}

double noteFrequency(int octave, int n)
{
    int midi = 12 * (octave + 1) + n;
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

bool parseLayer(const std::vector<std::string>& words, size_t at, Layer& layer, std::string& error)
{
    static const char* sources[] = {"sine", "square", "saw", "tri", "noise", "pluck", "metal"};
    if (words.size() <= at || std::find(std::begin(sources), std::end(sources), words[at]) == std::end(sources)) {
        error = "a layer starts with its source: sine, square, saw, tri, noise, pluck or metal";
        return false;
    }
    layer.source = words[at];
    for (size_t i = at + 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        size_t eq = w.find('=');
        if (eq == std::string::npos) {
            error = "'" + w + "' is not key=value";
            return false;
        }
        std::string key = w.substr(0, eq), value = w.substr(eq + 1);
        double number = 0;
        bool ok = true;
        if (key == "f") {
            layer.freqs.clear();
            for (const std::string& part : splitOn(value, ',')) {
                ok = ok && parseFrequency(part, number);
                layer.freqs.push_back(number);
            }
        } else if (key == "to") {
            ok = parseFrequency(value, layer.to);
        } else if (key == "am" || key == "vib") {
            auto parts = splitOn(value, ':');
            double rate = 0, depth = 0;
            ok = parts.size() == 2 && parseNumber(parts[0], rate) && parseNumber(parts[1], depth) && rate >= 0 &&
                depth >= 0;
            (key == "am" ? layer.amRate : layer.vibRate) = rate;
            (key == "am" ? layer.amDepth : layer.vibDepth) = depth;
        } else if (key == "seed") {
            ok = parseNumber(value, number) && number >= 0 && number < 4294967296.0;
            layer.seed = static_cast<uint32_t>(number);
        } else if (key == "count") {
            ok = parseNumber(value, number) && number >= 0 && number < 10000;
            layer.count = static_cast<int>(number);
        } else {
            double* target = key == "at" ? &layer.at
                : key == "len"           ? &layer.len
                : key == "atk"           ? &layer.attack
                : key == "dec"           ? &layer.decay
                : key == "rel"           ? &layer.release
                : key == "every"         ? &layer.every
                : key == "jit"           ? &layer.jitter
                : key == "spread"        ? &layer.spread
                : key == "vary"          ? &layer.vary
                : key == "lp"            ? &layer.lowpass
                : key == "hp"            ? &layer.highpass
                : key == "amp"           ? &layer.amp
                                         : nullptr;
            if (!target) {
                error = "unknown layer key '" + key + "'";
                return false;
            }
            ok = parseNumber(value, *target) && *target >= 0;
        }
        if (!ok) {
            error = "bad value in '" + w + "'";
            return false;
        }
    }
    return true;
}

void renderLayer(const Layer& l, Samples& out)
{
    Noise noise(l.seed);
    const double total = static_cast<double>(out.size()) / kRate;
    const double length = l.len > 0 ? l.len : std::max(0.0, total - l.at);
    for (int k = 0;; ++k) {
        if (l.count > 0 && k >= l.count)
            break;
        double start = l.at + k * l.every;
        if (l.jitter > 0 && l.every > 0)
            start += noise.unit() * l.jitter * l.every;
        if (start >= total)
            break;
        double f = l.freqs[static_cast<size_t>(k) % l.freqs.size()];
        if (l.spread > 0)
            f *= std::pow(2.0, noise.next() * l.spread / 12.0);
        float gain = static_cast<float>(l.amp * (1 - l.vary * noise.unit()));
        renderGrain(l, static_cast<size_t>(start * kRate), static_cast<size_t>(length * kRate), f, gain, noise, out);
        if (l.every <= 0)
            break;
    }
}

Samples renderEffect(const EffectRecipe& recipe)
{
    const size_t n = static_cast<size_t>(std::lround(recipe.seconds * kRate));
    const size_t fade = recipe.loop ? std::min(static_cast<size_t>(kLoopCrossfade * kRate), n / 4) : 0;
    Samples raw(n + fade, 0.0f);
    for (const Layer& layer : recipe.layers)
        renderLayer(layer, raw);
    if (!recipe.loop) {
        raw.resize(n);
        fadeEnds(raw, 0.005);
        return raw;
    }
    // The seam: the start blends from the rendered tail into itself, so the
    // last sample of the loop runs on into its first without a step.
    Samples loop(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(n));
    for (size_t i = 0; i < fade; ++i) {
        double w = (static_cast<double>(i) + 0.5) / static_cast<double>(fade);
        double in = std::sin(0.5 * kPi * w), out = std::cos(0.5 * kPi * w);
        loop[i] = static_cast<float>(raw[i] * in + raw[n + i] * out);
    }
    return loop;
}

void fadeEnds(Samples& s, double seconds)
{
    size_t n = std::min(s.size() / 2, static_cast<size_t>(seconds * kRate));
    for (size_t i = 0; i < n; ++i) {
        float g = static_cast<float>(i) / static_cast<float>(n);
        s[i] *= g;
        s[s.size() - 1 - i] *= g;
    }
}

Samples pluck(double frequency, double seconds, double brightness, uint32_t seed)
{
    Samples out(static_cast<size_t>(seconds * kRate), 0.0f);
    // The two-point average delays by half a sample; the rest is a fractional
    // read, so even high notes land on their pitch.
    const double delay = kRate / frequency - 0.5;
    const size_t size = static_cast<size_t>(delay) + 4;
    std::vector<float> line(size, 0.0f);
    Noise noise(seed);
    OnePole soften;
    soften.setLowpass(2000 + 8000 * brightness);
    // Noise for the pluck's grain plus one period of a plucked-string shape,
    // so every seed leaves a strong fundamental rather than, by chance, an octave.
    for (size_t i = 0; i < size; ++i) {
        double at = static_cast<double>(i) / delay;
        at -= std::floor(at);
        float shape = static_cast<float>(at < 0.5 ? 4 * at - 1 : 3 - 4 * at);
        line[i] = 0.4f * soften.process(noise.next()) + 0.6f * shape;
    }
    size_t write = 0;
    float previous = 0;
    const float damping = 0.996f;
    for (size_t i = 0; i < out.size(); ++i) {
        double readPos = static_cast<double>(write) - delay;
        while (readPos < 0)
            readPos += static_cast<double>(size);
        size_t a = static_cast<size_t>(readPos) % size, b = (a + 1) % size;
        float frac = static_cast<float>(readPos - std::floor(readPos));
        float delayed = line[a] * (1 - frac) + line[b] * frac;
        float next = damping * 0.5f * (delayed + previous);
        previous = delayed;
        line[write] = next;
        write = (write + 1) % size;
        out[i] = next;
    }
    return out;
}

float peakOf(const Samples& s)
{
    float peak = 0;
    for (float v : s)
        peak = std::max(peak, std::fabs(v));
    return peak;
}

float loudnessOf(const Samples& s)
{
    const size_t window = kRate / 20;
    double best = 0, sum = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        sum += static_cast<double>(s[i]) * s[i];
        if (i >= window)
            sum -= static_cast<double>(s[i - window]) * s[i - window];
        if (i + 1 >= std::min(window, s.size()))
            best = std::max(best, sum);
    }
    return static_cast<float>(std::sqrt(std::max(0.0, best) / static_cast<double>(std::min(window, s.size()))));
}

void scale(Samples& s, float gain)
{
    for (float& v : s)
        v *= gain;
}

uint32_t hashName(const std::string& text)
{
    uint32_t h = 2166136261u;
    for (unsigned char c : text) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

}  // namespace soundgen
