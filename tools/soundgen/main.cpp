// soundgen: synthesises the game's sound effects, instrument notes and music
// from the recipes under assets/sounds/ and the scores under assets/music/,
// and writes them as MP3 files into the resource tree.
//
//   soundgen --assets <assets folder> --out <resource tree> [--stamp <file>] [--jobs N]
//
// Every run writes the same bytes; nothing is written outside --out.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "Manifest.h"
#include "Mp3Encoder.h"
#include "Recipes.h"
#include "Score.h"
#include "Voices.h"

using namespace soundgen;
namespace fs = std::filesystem;

namespace {

constexpr float kPeak = 0.7079f;  // -3 dBFS
// Effects are levelled a decibel lower: noisy transients come back from the
// encoder a little above the level they went in at.
constexpr float kEffectPeak = 0.631f;
constexpr int kMonoKbps = 64, kStereoKbps = 128;

int fail(const std::string& message)
{
    std::fprintf(stderr, "soundgen: %s\n", message.c_str());
    return 1;
}

bool writeFile(const fs::path& path, const std::vector<uint8_t>& bytes, std::string& error)
{
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    // A full disk may show only when the last bytes go out at the close.
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

// Runs every job on all cores; the first error wins.
bool runAll(std::vector<std::function<bool(std::string&)>>& jobs, unsigned threads, std::string& error)
{
    std::atomic<size_t> next{0};
    std::mutex lock;
    bool ok = true;
    auto worker = [&] {
        std::string why;
        for (size_t i; (i = next++) < jobs.size();) {
            if (!jobs[i](why)) {
                std::lock_guard<std::mutex> guard(lock);
                if (ok)
                    error = why;
                ok = false;
            }
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(worker);
    worker();
    for (auto& t : pool)
        t.join();
    return ok;
}

// One gain per sound of a group, so a group plays at one loudness: the level
// that three in four of its sounds reach without passing the peak. The few
// spikier ones (crackles, clicks) have their spikes rounded off below it.
void levelGroups(const std::vector<EffectRecipe>& recipes, std::vector<Samples>& sounds)
{
    std::map<std::string, std::vector<float>> reachable;
    std::vector<float> loudness(sounds.size());
    for (size_t i = 0; i < sounds.size(); ++i) {
        loudness[i] = loudnessOf(sounds[i]);
        float peak = peakOf(sounds[i]);
        if (peak > 0 && loudness[i] > 0)
            reachable[recipes[i].group].push_back(loudness[i] * kEffectPeak / peak);
    }
    std::map<std::string, float> target;
    for (auto& [group, levels] : reachable) {
        std::sort(levels.begin(), levels.end());
        target[group] = levels[levels.size() / 4];
    }
    for (size_t i = 0; i < sounds.size(); ++i) {
        if (loudness[i] <= 0)
            continue;
        scale(sounds[i], target[recipes[i].group] / loudness[i]);
        if (peakOf(sounds[i]) > kEffectPeak)
            for (float& v : sounds[i])
                v = kEffectPeak * std::tanh(v / kEffectPeak);
    }
}

void levelToPeak(Samples& s)
{
    float peak = peakOf(s);
    if (peak > 0)
        scale(s, kPeak / peak);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string assets, out, stamp;
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--assets")
            assets = argv[i + 1];
        else if (option == "--out")
            out = argv[i + 1];
        else if (option == "--stamp")
            stamp = argv[i + 1];
        else if (option == "--jobs")
            threads = static_cast<unsigned>(std::max(1, std::atoi(argv[i + 1])));
        else
            return fail("unknown option " + option), 2;
    }
    if (assets.empty() || out.empty()) {
        std::fprintf(stderr, "usage: soundgen --assets DIR --out DIR [--stamp FILE] [--jobs N]\n");
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    std::string error;
    std::vector<EffectRecipe> effects;
    Instruments instruments;
    if (!readEffects(assets + "/sounds/effects.manifest", effects, error) ||
        !readInstruments(assets + "/sounds/instruments.manifest", instruments, error))
        return fail(error);
    std::vector<std::pair<std::string, Score>> scores;
    std::error_code ec;
    std::vector<std::string> scoreFiles;
    for (const auto& entry : fs::directory_iterator(assets + "/music", ec))
        if (entry.path().extension() == ".score")
            scoreFiles.push_back(entry.path().filename().string());
    std::sort(scoreFiles.begin(), scoreFiles.end());
    for (const std::string& file : scoreFiles) {
        Score score;
        std::string name = file.substr(0, file.size() - 6);
        if (!safeName(name))
            return fail("score name '" + name + "' is not lower-case letters, digits and _");
        if (!readScore(assets + "/music/" + file, instruments, score, error))
            return fail(error);
        scores.emplace_back(name, std::move(score));
    }

    // Every sound is rendered first, on all threads; effects are then
    // levelled, since their levels depend on their whole group.
    struct Output {
        fs::path path;
        Samples left, right;
        bool stereo = false;
        Mp3Encoder encoder;
    };
    const std::vector<NoteFile> notes = noteFiles(instruments);
    std::vector<Output> outputs(scores.size() + effects.size() + notes.size());
    std::vector<std::function<bool(std::string&)>> jobs;
    size_t at = 0;
    // The longest jobs go first so the cores finish together.
    for (const auto& [name, score] : scores) {
        Output& o = outputs[at++];
        o.path = fs::path("music") / (name + ".mp3");
        o.stereo = true;
        jobs.push_back([&o, s = &score](std::string&) {
            renderScore(*s, o.left, o.right);
            return true;
        });
    }
    const size_t firstEffect = at;
    for (const EffectRecipe& effect : effects) {
        Output& o = outputs[at++];
        o.path = fs::path("sounds") / (effect.name + ".mp3");
        jobs.push_back([&o, &effect](std::string&) {
            o.left = renderEffect(effect);
            return true;
        });
    }
    for (const NoteFile& note : notes) {
        Output& o = outputs[at++];
        o.path = note.path;
        jobs.push_back([&o, &note](std::string&) {
            Samples& s = o.left;
            if (note.drum) {
                s = renderEffect(note.drum->recipe);
            } else {
                const bool sustained = note.voice->kind == "brass" || note.voice->kind == "pad";
                double gate = note.voice->seconds - (sustained ? 0.08 : 0.0);
                s = renderNote(*note.voice, note.frequency, gate, hashName(note.path));
                s.resize(static_cast<size_t>(std::lround(note.voice->seconds * kRate)), 0.0f);
            }
            levelToPeak(s);
            return true;
        });
    }
    if (!runAll(jobs, threads, error))
        return fail(error);
    std::vector<Samples> rendered(effects.size());
    for (size_t i = 0; i < effects.size(); ++i)
        rendered[i] = std::move(outputs[firstEffect + i].left);
    levelGroups(effects, rendered);
    for (size_t i = 0; i < effects.size(); ++i)
        outputs[firstEffect + i].left = std::move(rendered[i]);

    // Encoders are set up one after another on this thread, and only then
    // run: a set-up beside a running encoder would rewrite tables it reads.
    for (Output& o : outputs)
        if (!o.encoder.open(o.stereo, o.stereo ? kStereoKbps : kMonoKbps, error))
            return fail(o.path.generic_string() + ": " + error);
    const fs::path root(out);
    jobs.clear();
    for (Output& o : outputs)
        jobs.push_back([&o, &root](std::string& why) {
            std::vector<uint8_t> bytes;
            const bool done = o.encoder.encode(o.left, o.stereo ? &o.right : nullptr, bytes, why) &&
                writeFile(root / o.path, bytes, why);
            o.left = Samples();
            o.right = Samples();
            return done;
        });
    if (!runAll(jobs, threads, error))
        return fail(error);
    if (!stamp.empty()) {
        std::vector<uint8_t> text{'g', 'e', 'n', 'e', 'r', 'a', 't', 'e', 'd', '\n'};
        if (!writeFile(stamp, text, error))
            return fail(error);
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("soundgen: %zu effects, %zu notes, %zu tracks in %.1f s on %u threads\n", effects.size(), notes.size(),
                scores.size(), seconds, threads);
    return 0;
}
