#include "TreeCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>

#include "Recipes.h"
#include "audio/Mp3Decoder.h"

namespace assetcheck {

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;
constexpr double kLengthTolerance = 0.002;  // seconds
constexpr float kPeakLimit = 0.7943f;       // -2 dBFS: the -3 dBFS level plus the encoder's overshoot
constexpr float kRestLevel = 0.1f;          // where a one-shot starts and ends; the codec smears a sharp onset a little
constexpr double kLoudnessTolerance = 1.5;  // dB around the group's median
constexpr double kPitchTolerance = 0.01;

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::vector<std::string> listTree(const std::string& root)
{
    std::vector<std::string> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->is_regular_file())
            files.push_back(fs::relative(it->path(), root).generic_string());
    std::sort(files.begin(), files.end());
    return files;
}

double decibels(double ratio)
{
    return 20 * std::log10(std::max(ratio, 1e-9));
}

}  // namespace

bool loadSoundTables(const std::string& assets, SoundTables& out, std::string& error)
{
    if (!soundgen::readEffects(assets + "/sounds/effects.manifest", out.effects, error) ||
        !soundgen::readInstruments(assets + "/sounds/instruments.manifest", out.instruments, error))
        return false;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(assets + "/music", ec)) {
        if (entry.path().extension() != ".score")
            continue;
        soundgen::Score score;
        if (!soundgen::readScore(entry.path().string(), out.instruments, score, error))
            return false;
        out.scores[entry.path().stem().string()] = score;
    }
    return true;
}

void checkTree(const std::string& root, const std::vector<RequiredName>& required, Report& report)
{
    const std::vector<std::string> files = listTree(root);
    std::set<std::string> present(files.begin(), files.end());
    std::map<std::string, std::string> byLower;
    for (const std::string& f : files) {
        if (f.find(' ') != std::string::npos)
            report.errors.push_back("space in the name " + f);
        auto [it, fresh] = byLower.emplace(lower(f), f);
        if (!fresh)
            report.errors.push_back(f + " and " + it->second + " differ only in case");
    }
    std::set<std::string> known;
    size_t later = 0;
    for (const RequiredName& r : required) {
        if (r.kind == "frame" || r.kind == "shop")
            continue;
        known.insert(r.path);
        if (present.count(r.path))
            continue;
        if (r.later) {
            ++later;
            continue;
        }
        std::string message = "missing " + r.path + " (" + r.where + ")";
        auto twin = byLower.find(lower(r.path));
        if (twin != byLower.end())
            message += "; the tree has " + twin->second + ", which differs in case";
        report.errors.push_back(message);
    }
    if (later)
        report.notes.push_back(std::to_string(later) + " names the code reads are marked 'later' and not made yet");
    for (const std::string& f : files)
        if (!known.count(f))
            report.errors.push_back("unexpected file " + f + " (not in the required manifest)");
}

double measurePitch(const std::vector<float>& x, double expected)
{
    if (expected <= 0)
        return 0;
    const size_t minLag = std::max<size_t>(2, static_cast<size_t>(kRate / (expected * 2.5)));
    const size_t maxLag = static_cast<size_t>(kRate * 2.5 / expected) + 2;
    const size_t window = std::max<size_t>(1024, maxLag);
    if (x.size() < window + maxLag + 2)
        return 0;
    // Difference function normalised by its running mean; the first clear dip
    // is the period, which keeps a strong upper partial from passing as the root.
    std::vector<double> d(maxLag + 2, 0.0);
    for (size_t tau = 1; tau <= maxLag + 1; ++tau) {
        double sum = 0;
        for (size_t j = 0; j < window; ++j) {
            double diff = x[j] - x[j + tau];
            sum += diff * diff;
        }
        d[tau] = sum;
    }
    std::vector<double> cmnd(maxLag + 2, 1.0);
    double running = 0;
    for (size_t tau = 1; tau <= maxLag + 1; ++tau) {
        running += d[tau];
        cmnd[tau] = running > 0 ? d[tau] * static_cast<double>(tau) / running : 1.0;
    }
    size_t best = 0;
    for (size_t tau = minLag; tau <= maxLag; ++tau)
        if (cmnd[tau] < 0.2) {
            while (tau + 1 <= maxLag && cmnd[tau + 1] < cmnd[tau])
                ++tau;
            best = tau;
            break;
        }
    if (!best) {
        best = minLag;
        for (size_t tau = minLag; tau <= maxLag; ++tau)
            if (cmnd[tau] < cmnd[best])
                best = tau;
    }
    const double coarse = kRate / static_cast<double>(best);
    // The period finds the root; its spectral peak places it exactly, where an
    // inharmonic partial cannot bias the answer as it biases the period.
    const size_t length = std::min<size_t>(x.size(), 16384);
    auto magnitude = [&](double f) {
        double re = 0, im = 0;
        const double step = 2 * 3.14159265358979323846 * f / kRate;
        for (size_t i = 0; i < length; ++i) {
            double w = 0.5 - 0.5 * std::cos(2 * 3.14159265358979323846 * static_cast<double>(i) / (length - 1));
            re += x[i] * w * std::cos(step * static_cast<double>(i));
            im -= x[i] * w * std::sin(step * static_cast<double>(i));
        }
        return std::sqrt(re * re + im * im);
    };
    constexpr int kSteps = 60;
    constexpr double kStep = 0.0005;  // 0.05 % a step, 3 % either side
    std::vector<double> mags(2 * kSteps + 1);
    int peak = 0;
    for (int k = -kSteps; k <= kSteps; ++k) {
        mags[static_cast<size_t>(k + kSteps)] = magnitude(coarse * (1 + k * kStep));
        if (mags[static_cast<size_t>(k + kSteps)] > mags[static_cast<size_t>(peak + kSteps)])
            peak = k;
    }
    double shift = 0;
    if (peak > -kSteps && peak < kSteps) {
        double a = mags[static_cast<size_t>(peak + kSteps - 1)], b = mags[static_cast<size_t>(peak + kSteps)],
               c = mags[static_cast<size_t>(peak + kSteps + 1)];
        if (a - 2 * b + c != 0)
            shift = std::clamp(0.5 * (a - c) / (a - 2 * b + c), -1.0, 1.0);
    }
    return coarse * (1 + (peak + shift) * kStep);
}

void checkSounds(const std::string& root, const std::vector<RequiredName>& required, const SoundTables& tables,
                 Report& report)
{
    const std::vector<soundgen::NoteFile> notes = soundgen::noteFiles(tables.instruments);
    std::map<std::string, std::vector<std::pair<std::string, double>>> groups;  // group -> (path, loudness)
    for (const RequiredName& r : required) {
        if (r.kind != "sound" && r.kind != "music")
            continue;
        const std::string full = root + "/" + r.path;
        if (!fs::exists(full))
            continue;  // the tree check reports it
        const bool music = r.kind == "music";
        double seconds = 0, pitch = 0;
        bool loop = false;
        std::string group;
        const std::string stem = fs::path(r.path).stem().string();
        if (music) {
            auto it = tables.scores.find(stem);
            if (it == tables.scores.end() || r.path != "music/" + stem + ".mp3") {
                report.errors.push_back(r.path + ": no score makes this track");
                continue;
            }
            seconds = it->second.seconds();
        } else {
            auto effect =
                std::find_if(tables.effects.begin(), tables.effects.end(),
                             [&](const soundgen::EffectRecipe& e) { return "sounds/" + e.name + ".mp3" == r.path; });
            auto note =
                std::find_if(notes.begin(), notes.end(), [&](const soundgen::NoteFile& n) { return n.path == r.path; });
            if (effect != tables.effects.end()) {
                seconds = effect->seconds;
                loop = effect->loop;
                group = effect->group;
            } else if (note != notes.end()) {
                seconds = note->drum ? note->drum->recipe.seconds : note->voice->seconds;
                pitch = note->frequency;
            } else {
                report.errors.push_back(r.path + ": no recipe makes this sound");
                continue;
            }
        }
        CocosDenshion::DecodedSound sound;
        std::string error;
        if (!CocosDenshion::decodeMp3File(full, sound, error)) {
            report.errors.push_back(r.path + ": does not decode: " + error);
            continue;
        }
        if (sound.rate != kRate)
            report.errors.push_back(r.path + ": " + std::to_string(sound.rate) + " Hz, expected 44100 Hz");
        if (sound.channels != (music ? 2 : 1))
            report.errors.push_back(r.path + ": " + std::to_string(sound.channels) + " channels, expected " +
                                    (music ? "2" : "1"));
        const double length = static_cast<double>(sound.frames()) / kRate;
        if (std::fabs(length - seconds) > kLengthTolerance) {
            char text[160];
            std::snprintf(text, sizeof text, ": %.4f s long, its recipe says %.4f s", length, seconds);
            report.errors.push_back(r.path + text);
        }
        // The first channel is enough for every rule below.
        std::vector<float> x(sound.frames());
        for (size_t i = 0; i < x.size(); ++i)
            x[i] = sound.samples[i * static_cast<size_t>(sound.channels)] / 32768.0f;
        if (x.size() < 2)
            continue;
        float peak = 0;
        for (size_t i = 0; i < sound.samples.size(); ++i)
            peak = std::max(peak, std::fabs(sound.samples[i] / 32768.0f));
        if (peak > kPeakLimit) {
            char text[120];
            std::snprintf(text, sizeof text, ": peaks at %.1f dBFS, above -3 dBFS", decibels(peak));
            report.errors.push_back(r.path + text);
        }
        if (loop) {
            float inside = 0;
            for (size_t i = 1; i < x.size(); ++i)
                inside = std::max(inside, std::fabs(x[i] - x[i - 1]));
            const float seam = std::fabs(x.front() - x.back());
            if (seam > inside) {
                char text[160];
                std::snprintf(text, sizeof text,
                              ": the loop's ends do not meet (a step of %.3f where the sound "
                              "never steps more than %.3f)",
                              seam, inside);
                report.errors.push_back(r.path + text);
            }
        } else if (!music && (std::fabs(x.front()) > kRestLevel || std::fabs(x.back()) > kRestLevel)) {
            report.errors.push_back(r.path + ": a one-shot that does not start and end at rest (a click)");
        }
        if (pitch > 0) {
            // Past the attack, where a chime's inharmonic partial has died
            // down and cannot pull the measured period.
            const size_t from = std::min(x.size(), static_cast<size_t>(0.25 * kRate));
            double measured =
                measurePitch(std::vector<float>(x.begin() + static_cast<std::ptrdiff_t>(from), x.end()), pitch);
            if (std::fabs(measured / pitch - 1) > kPitchTolerance) {
                char text[160];
                std::snprintf(text, sizeof text, ": sounds at %.2f Hz, its note is %.2f Hz", measured, pitch);
                report.errors.push_back(r.path + text);
            }
        }
        if (!group.empty())
            groups[group].emplace_back(r.path, decibels(soundgen::loudnessOf(x)));
    }
    for (auto& [group, members] : groups) {
        std::vector<double> levels;
        for (auto& m : members)
            levels.push_back(m.second);
        std::nth_element(levels.begin(), levels.begin() + static_cast<std::ptrdiff_t>(levels.size() / 2), levels.end());
        const double median = levels[levels.size() / 2];
        for (auto& [path, level] : members)
            if (std::fabs(level - median) > kLoudnessTolerance) {
                char text[160];
                std::snprintf(text, sizeof text, ": %.1f dB from the %s group's loudness", level - median,
                              group.c_str());
                report.errors.push_back(path + text);
            }
    }
}

}  // namespace assetcheck
