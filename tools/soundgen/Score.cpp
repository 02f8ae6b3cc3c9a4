#include "Score.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Manifest.h"

namespace soundgen {

namespace {

bool number(const std::string& text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == 0 && std::isfinite(value);
}

std::vector<std::string> splitPlus(const std::string& token)
{
    std::vector<std::string> parts;
    size_t start = 0, at;
    while ((at = token.find('+', start)) != std::string::npos) {
        parts.push_back(token.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(token.substr(start));
    return parts;
}

}  // namespace

bool readScore(const std::string& path, const Instruments& instruments, Score& out, std::string& error)
{
    std::vector<assetgen::ManifestLine> lines;
    if (!assetgen::readManifest(path, lines, error))
        return false;
    for (const auto& line : lines) {
        const auto& w = line.words;
        auto bad = [&](const std::string& why) {
            error = line.where() + ": " + why;
            return false;
        };
        if (w[0] == "tempo" && w.size() == 2) {
            if (!number(w[1], out.tempo) || out.tempo < 30 || out.tempo > 300)
                return bad("a tempo runs from 30 to 300");
        } else if (w[0] == "beats" && w.size() == 2) {
            if (!number(w[1], out.beats) || out.beats <= 0 || out.beats > 1000)
                return bad("beats runs from 1 to 1000");
        } else if (w[0] == "loop" && w.size() == 1) {
            out.loop = true;
        } else if (w[0] == "seq" && w.size() >= 8) {
            double gain, pan, from, to, step;
            if (!number(w[2], gain) || !number(w[3], pan) || !number(w[4], from) || !number(w[5], to) ||
                !number(w[6], step) || step <= 0 || from < 0 || to <= from || pan < -1 || pan > 1)
                return bad("expected seq VOICE GAIN PAN FROM TO STEP TOKEN...");
            const bool drums = w[1] == "drums";
            const Voice* voice = drums ? nullptr : instruments.voice(w[1]);
            if (!drums && !voice)
                return bad("no voice '" + w[1] + "'");
            const size_t tokens = w.size() - 7;
            std::vector<size_t> open;  // events of the last sounding step, for "-"
            size_t k = 0;
            for (double beat = from; beat < to - 1e-9; beat += step, ++k) {
                const std::string& token = w[7 + k % tokens];
                if (token == "-") {
                    for (size_t e : open)
                        out.events[e].gate += step * 60.0 / out.tempo;
                    continue;
                }
                open.clear();
                if (token == ".")
                    continue;
                for (const std::string& part : splitPlus(token)) {
                    ScoreEvent e;
                    e.start = beat * 60.0 / out.tempo;
                    e.gate = step * 60.0 / out.tempo;
                    e.gain = static_cast<float>(gain);
                    e.pan = static_cast<float>(pan);
                    if (drums) {
                        e.drum = instruments.drum(part);
                        if (!e.drum)
                            return bad("no drum '" + part + "'");
                    } else {
                        e.voice = voice;
                        if (!parseNoteName(part, e.frequency))
                            return bad("'" + part + "' is not a note such as c#4");
                    }
                    open.push_back(out.events.size());
                    out.events.push_back(e);
                }
            }
        } else {
            return bad("expected tempo, beats, loop or seq");
        }
    }
    if (out.beats <= 0) {
        error = path + ": a score needs its length in beats";
        return false;
    }
    return true;
}

void renderScore(const Score& score, Samples& left, Samples& right)
{
    const size_t n = static_cast<size_t>(std::lround(score.seconds() * kRate));
    left.assign(n, 0.0f);
    right.assign(n, 0.0f);
    uint32_t seed = 1;
    for (const ScoreEvent& e : score.events) {
        Samples s = e.drum ? renderEffect(e.drum->recipe) : renderNote(*e.voice, e.frequency, e.gate, seed++);
        const double angle = (e.pan + 1) * 0.25 * 3.14159265358979323846;
        const float gl = e.gain * static_cast<float>(std::cos(angle)),
                    gr = e.gain * static_cast<float>(std::sin(angle));
        size_t start = static_cast<size_t>(e.start * kRate);
        for (size_t i = 0; i < s.size(); ++i) {
            size_t at = start + i;
            if (at >= n) {
                if (!score.loop)
                    break;
                at %= n;  // a looped track's tails ring on into its start
            }
            left[at] += s[i] * gl;
            right[at] += s[i] * gr;
        }
    }
    if (!score.loop) {
        fadeEnds(left, 0.005);
        fadeEnds(right, 0.005);
    }
    float peak = std::max(peakOf(left), peakOf(right));
    if (peak > 0) {
        const float gain = 0.7079f / peak;
        scale(left, gain);
        scale(right, gain);
    }
}

}  // namespace soundgen
