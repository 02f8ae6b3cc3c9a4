#include "Voices.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Manifest.h"
#include "Recipes.h"

namespace soundgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

bool parseSeconds(const std::string& text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end && *end == 0 && value >= 0.05 && value <= 10;
}

// "1..3"
bool parseRange(const std::string& text, int& first, int& last)
{
    size_t dots = text.find("..");
    if (dots == std::string::npos)
        return false;
    return assetgen::parseInt(text.substr(0, dots), first) && assetgen::parseInt(text.substr(dots + 2), last) &&
        first >= 0 && first <= last && last <= 8;
}

double harmonicSum(double phase, double frequency, int maxHarmonics)
{
    int harmonics = std::min(maxHarmonics, std::max(1, static_cast<int>(15000.0 / frequency)));
    double sum = 0;
    for (int h = 1; h <= harmonics; ++h)
        sum += std::sin(2 * kPi * phase * h) / h;
    return sum * 2 / kPi;
}

}  // namespace

const char* const kNoteNames[12] = {"c", "c#", "d", "d#", "e", "f", "f#", "g", "g#", "a", "a#", "b"};

const Voice* Instruments::voice(const std::string& name) const
{
    for (const Voice& v : voices)
        if (v.name == name)
            return &v;
    return nullptr;
}

const Drum* Instruments::drum(const std::string& shortName) const
{
    for (const Drum& d : drums)
        if (d.recipe.name == shortName || d.recipe.name.rfind(shortName + "_", 0) == 0)
            return &d;
    return nullptr;
}

bool readInstruments(const std::string& path, Instruments& out, std::string& error)
{
    std::vector<assetgen::ManifestLine> lines;
    if (!assetgen::readManifest(path, lines, error))
        return false;
    static const char* kinds[] = {"bass", "pluck", "brass", "chime", "pad"};
    for (const auto& line : lines) {
        const auto& w = line.words;
        if (w[0] == "voice" && (w.size() == 4 || w.size() == 8)) {
            Voice v;
            v.name = w[1];
            v.kind = w[2];
            if (std::find(std::begin(kinds), std::end(kinds), v.kind) == std::end(kinds) ||
                !parseSeconds(w[3], v.seconds)) {
                error = line.where() + ": a voice is one of bass, pluck, brass, chime, pad with a length in seconds";
                return false;
            }
            if (w.size() == 8) {
                v.folder = w[4];
                v.prefix = w[5];
                if (!safeName(v.folder) || !safeName(v.prefix)) {
                    error = line.where() + ": folder and prefix are lower-case letters, digits and _";
                    return false;
                }
                if (!parseRange(w[6], v.firstOctave, v.lastOctave) || !assetgen::parseInt(w[7], v.shift) ||
                    v.lastOctave + v.shift > 7) {
                    error = line.where() + ": expected octaves FIRST..LAST and a shift";
                    return false;
                }
            }
            out.voices.push_back(v);
        } else if (w[0] == "drums" && w.size() == 3) {
            out.drumFolder = w[1];
            out.drumPrefix = w[2];
            if (!safeName(out.drumFolder) || !safeName(out.drumPrefix)) {
                error = line.where() + ": folder and prefix are lower-case letters, digits and _";
                return false;
            }
        } else if (w[0] == "drum" && w.size() == 3) {
            Drum d;
            d.recipe.name = w[1];
            if (!safeName(d.recipe.name)) {
                error = line.where() + ": a drum name is lower-case letters, digits, _ and #";
                return false;
            }
            if (!parseSeconds(w[2], d.recipe.seconds)) {
                error = line.where() + ": a drum has a length in seconds";
                return false;
            }
            out.drums.push_back(d);
        } else if (w[0] == "layer") {
            if (!addLayerLine(line, out.drums.empty() ? nullptr : &out.drums.back().recipe, error))
                return false;
        } else {
            error = line.where() + ": expected voice, drums, drum or layer";
            return false;
        }
    }
    for (const Drum& d : out.drums)
        if (d.recipe.layers.empty()) {
            error = path + ": the drum " + d.recipe.name + " has no layer";
            return false;
        }
    if (!out.drums.empty() && out.drumFolder.empty()) {
        error = path + ": drums need a 'drums FOLDER PREFIX' line";
        return false;
    }
    return true;
}

Samples renderNote(const Voice& voice, double f, double gate, uint32_t seed)
{
    const bool sustained = voice.kind == "brass" || voice.kind == "pad";
    const double release = voice.kind == "pad" ? 0.4 : sustained ? 0.08 : 0.03;
    const double seconds = sustained ? gate + release : std::min(voice.seconds, gate + release);
    const size_t n = static_cast<size_t>(seconds * kRate);
    Samples out(n, 0.0f);
    if (voice.kind == "pluck") {
        Samples s = pluck(f, seconds, 0.6, seed);
        std::copy(s.begin(), s.end(), out.begin());
    }
    Noise noise(seed);
    OnePole tone;
    tone.setLowpass(voice.kind == "pad" ? 1800 : voice.kind == "brass" ? std::min(9000.0, f * 6) : 0);
    double phase = 0, phase2 = 0, phase3 = 0;
    for (size_t i = 0; i < n; ++i) {
        double t = static_cast<double>(i) / kRate;
        double s = 0;
        if (voice.kind == "bass") {
            s = (std::sin(2 * kPi * phase) + 0.5 * std::sin(4 * kPi * phase)) / 1.3;
            s *= std::min(1.0, t / 0.004) * std::exp(-t / (voice.seconds * 0.35));
        } else if (voice.kind == "chime") {
            s = std::sin(2 * kPi * phase) * std::exp(-t / (voice.seconds * 0.4)) +
                0.35 * std::sin(2 * kPi * phase2) * std::exp(-t / (voice.seconds * 0.12));
            s *= std::min(1.0, t / 0.002) / 1.2;
        } else if (voice.kind == "brass") {
            // Vibrato comes in late and stays light, so the pitch reads true.
            double vib = t > 0.15 ? 0.002 * std::sin(2 * kPi * 5.5 * (t - 0.15)) : 0;
            phase += f * vib / kRate;
            s = harmonicSum(phase, f, 24) * 0.7 * std::min(1.0, t / 0.04);
        } else if (voice.kind == "pad") {
            s = (harmonicSum(phase, f, 12) + harmonicSum(phase2, f * 1.004, 12) + harmonicSum(phase3, f * 0.996, 12)) /
                3 * std::min(1.0, t / 0.35);
        } else if (voice.kind == "pluck") {
            s = out[i];
        }
        double left = seconds - t;
        if (left < release)
            s *= std::max(0.0, left / release);
        out[i] = tone.process(static_cast<float>(s));
        phase += f / kRate;
        phase -= std::floor(phase);
        phase2 += (voice.kind == "chime" ? f * 2.76 : f * 1.004) / kRate;
        phase2 -= std::floor(phase2);
        phase3 += f * 0.996 / kRate;
        phase3 -= std::floor(phase3);
    }
    fadeEnds(out, 0.002);
    return out;
}

std::vector<NoteFile> noteFiles(const Instruments& instruments)
{
    std::vector<NoteFile> files;
    for (const Voice& v : instruments.voices) {
        if (v.folder.empty())
            continue;
        for (int k = v.firstOctave; k <= v.lastOctave; ++k)
            for (int n = 0; n < 12; ++n) {
                NoteFile f;
                f.path = "sounds/" + v.folder + "/" + v.prefix + kNoteNames[n] + std::to_string(k) + ".mp3";
                f.voice = &v;
                f.frequency = noteFrequency(k + v.shift, n);
                files.push_back(f);
            }
    }
    for (const Drum& d : instruments.drums) {
        NoteFile f;
        f.path = "sounds/" + instruments.drumFolder + "/" + instruments.drumPrefix + d.recipe.name + "1.mp3";
        f.drum = &d;
        files.push_back(f);
    }
    return files;
}

}  // namespace soundgen
