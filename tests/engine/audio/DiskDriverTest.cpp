// The real mixer path, heard through SDL's disk driver: what the mixer plays
// is written to a file, which this test reads back. An effect plays once,
// then a stroke loop runs across several seams.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "SimpleAudioEngine.h"
#include "engine/src/audio/Mp3Decoder.h"
#include "support/ResourceRoot.h"

using CocosDenshion::SimpleAudioEngine;
namespace fs = std::filesystem;

namespace {

void sleepFor(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

uintmax_t streamBytes(const std::string& path)
{
    std::error_code ec;
    const uintmax_t size = fs::file_size(path, ec);
    return ec ? 0 : size;
}

// Polls the stream file until it holds `bytes`, for at most `seconds`.
bool waitForBytes(const std::string& path, uintmax_t bytes, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (streamBytes(path) < bytes) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        sleepFor(0.05);
    }
    return true;
}

int maxStep(const std::vector<int16_t>& s, size_t from, size_t to, size_t stride)
{
    int worst = 0;
    for (size_t i = from + stride; i < to; i += stride)
        worst = std::max(worst, std::abs(s[i] - s[i - stride]));
    return worst;
}

TEST(DiskDriver, AnEffectAndASeamlessLoopReachTheMixedStream)
{
    const char* root = std::getenv("ENGINE_RESOURCES");
    const std::string select = std::string(root ? root : "") + "/sounds/sfx_gui_select.mp3";
    const std::string loop = std::string(root ? root : "") + "/sounds/sfx_element_soil.mp3";
    for (const char* file : {"sounds/sfx_gui_select.mp3", "sounds/sfx_element_soil.mp3"}) {
        const std::string missing = testsupport::resourceMissing(file);
        ASSERT_TRUE(missing.empty()) << missing;
    }
    const std::string stream =
        (fs::temp_directory_path() / ("disk-audio-" + std::to_string(::getpid()) + ".raw")).string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", stream.c_str(), 1);

    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    audio->setBackendForTests(false);
    audio->resetForTests();
    audio->preloadEffect(select.c_str());
    audio->preloadEffect(loop.c_str());
    audio->waitForPreloads();
    ASSERT_FALSE(audio->isSilent()) << "the disk driver did not open";

    CocosDenshion::DecodedSound pcm;
    std::string error;
    ASSERT_TRUE(CocosDenshion::decodeMp3File(loop, pcm, error)) << error;
    const std::vector<int16_t>& m = pcm.samples;
    const size_t n = m.size();

    ASSERT_NE(audio->playEffect(select.c_str()), 0u);
    sleepFor(0.3);
    const uintmax_t atLoop = streamBytes(stream);
    unsigned id = audio->playEffect(loop.c_str(), true);
    ASSERT_NE(id, 0u);
    // The driver writes at the device's pace, slower on a busy machine: wait
    // for two whole loops (and half a second of slack) to reach the file.
    const uintmax_t wanted = atLoop + (2 * n + 22050) * 4;
    ASSERT_TRUE(waitForBytes(stream, wanted, 120))
        << "the stream holds " << streamBytes(stream) << " bytes after 120 s, waited for " << wanted;
    EXPECT_TRUE(audio->isEffectPlaying(id));
    audio->stopEffect(id);
    audio->stopEffect(id);      // already stopped: nothing happens
    audio->stopEffect(987654);  // never issued: nothing happens
    EXPECT_FALSE(audio->isEffectPlaying(id));
    sleepFor(0.1);
    audio->setBackendForTests(true);  // closes the device, flushing the file

    std::ifstream in(stream, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    std::remove(stream.c_str());
    std::vector<int16_t> mixed(bytes.size() / 2);
    std::memcpy(mixed.data(), bytes.data(), mixed.size() * 2);
    std::vector<int16_t> left;
    for (size_t i = 0; i < mixed.size(); i += 2)
        left.push_back(mixed[i]);

    double energy = 0;
    for (int16_t v : left)
        energy += static_cast<double>(v) * v;
    const double rms = std::sqrt(energy / static_cast<double>(left.size())) / 32768.0;
    EXPECT_GT(rms, 0.01) << "the stream is silent";

    // Where the loop starts in the stream: the first exact run of its samples.
    size_t start = std::string::npos;
    for (size_t o = 0; o + 64 < left.size() && start == std::string::npos; ++o) {
        bool match = true;
        for (size_t k = 0; k < 64 && match; ++k)
            match = left[o + k] == m[k];
        if (match)
            start = o;
    }
    ASSERT_NE(start, std::string::npos) << "the loop's samples are not in the stream";
    // Every sample through two seams is the decoded loop, sample for sample:
    // no gap, no lost sample, no resampling at the seam.
    const size_t span = std::min(left.size() - start, 2 * n + 1000);
    ASSERT_GT(span, 2 * n) << "the loop did not run twice";
    size_t mismatches = 0;
    for (size_t k = 0; k < span; ++k)
        mismatches += left[start + k] != m[k % n];
    EXPECT_EQ(mismatches, 0u);

    const int seam = std::abs(m[0] - m[n - 1]);
    const int inside = maxStep(m, 0, n, 1);
    const int streamWorst = maxStep(left, start, start + span, 1);
    std::printf("disk driver: stream rms %.3f; loop of %zu samples starts at %zu; seam step %d, largest step inside "
                "the loop %d, largest step in the stream over two seams %d\n",
                rms, n, start, seam, inside, streamWorst);
    EXPECT_LE(seam, inside);
    EXPECT_LE(streamWorst, inside);
}

}  // namespace

namespace {

size_t count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Level music streams through the mixer; damaged files, effect or track, are
// logged once and play nothing.
TEST(DiskDriver, MusicPlaysAndDamagedFilesStaySilent)
{
    const char* root = std::getenv("ENGINE_RESOURCES");
    const fs::path tree = root ? root : "";
    const std::string missing = testsupport::resourceMissing("music/music_level_2.mp3");
    ASSERT_TRUE(missing.empty()) << missing;
    const fs::path dir = fs::temp_directory_path() / ("disk-audio-bad-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string stream = (dir / "stream.raw").string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", stream.c_str(), 1);
    auto truncatedCopy = [&](const fs::path& from, const char* name) {
        std::ifstream in(from, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        bytes.resize(bytes.size() / 2);
        std::ofstream((dir / name).string(), std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return (dir / name).string();
    };
    const std::string badEffect = truncatedCopy(tree / "sounds/sfx_element_lava.mp3", "lava.mp3");
    const std::string badTrack = truncatedCopy(tree / "music/music_level_3.mp3", "track.mp3");

    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    audio->setBackendForTests(false);
    audio->resetForTests();
    audio->playBackgroundMusic((tree / "music/music_level_2.mp3").c_str(), false);
    ASSERT_FALSE(audio->isSilent()) << "the disk driver did not open";
    sleepFor(0.3);
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());

    testing::internal::CaptureStderr();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(audio->playEffect(badEffect.c_str(), true), 0u);
        audio->playBackgroundMusic(badTrack.c_str(), true);
        EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    }
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(count(log, badEffect), 1u) << log;
    EXPECT_EQ(count(log, badTrack), 1u) << log;

    audio->setBackendForTests(true);
    std::error_code ec;
    fs::remove_all(dir, ec);
}

}  // namespace
