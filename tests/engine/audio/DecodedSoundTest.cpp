// The decoder and the decoded-sound cache, on the generated sounds of the
// resource tree and on damaged copies of them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/src/audio/Mp3Decoder.h"
#include "engine/src/audio/SoundCache.h"
#include "support/ResourceRoot.h"

using CocosDenshion::DecodedSound;
using CocosDenshion::SoundCache;
namespace fs = std::filesystem;

namespace {

std::string resources()
{
    const char* root = std::getenv("ENGINE_RESOURCES");
    return root ? root : "";
}

std::vector<char> readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

class DecodedSounds : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_select = resources() + "/sounds/sfx_gui_select.mp3";
        const std::string missing = testsupport::resourceMissing("sounds/sfx_gui_select.mp3");
        ASSERT_TRUE(missing.empty()) << missing;
        m_dir = fs::temp_directory_path() / ("decoded-sound-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    std::string write(const std::string& name, const std::vector<char>& bytes)
    {
        std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::string m_select;
    fs::path m_dir;
};

TEST_F(DecodedSounds, GeneratedFilesDecodeToExactlyTheirSynthesisedLength)
{
    struct Case {
        std::string path;
        int channels;
        size_t frames;
    } cases[] = {
        {"sounds/sfx_gui_select.mp3", 1, 2646},                      // 0.06 s
        {"sounds/sfx_element_soil.mp3", 1, 44100},                   // a 1 s loop
        {"sounds/sfx_element_bass/sfx_bass_c#1.mp3", 1, 30870},      // 0.7 s
        {"sounds/sfx_element_drums/sfx_drums_bd_c1.mp3", 1, 22050},  // 0.5 s
        {"music/music_main_menu.mp3", 2, 2646000},                   // 60 s
    };
    for (const Case& c : cases) {
        DecodedSound sound;
        std::string error;
        ASSERT_TRUE(CocosDenshion::decodeMp3File(resources() + "/" + c.path, sound, error)) << error;
        EXPECT_EQ(sound.rate, 44100) << c.path;
        EXPECT_EQ(sound.channels, c.channels) << c.path;
        EXPECT_EQ(sound.frames(), c.frames) << c.path;
    }
}

TEST_F(DecodedSounds, DamagedFilesAreRefusedNotHalfPlayed)
{
    std::vector<char> good = readAll(resources() + "/sounds/sfx_element_soil.mp3");
    ASSERT_GT(good.size(), 2000u);
    std::vector<char> truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
    std::vector<char> noise(good.size());
    uint32_t x = 12345;
    for (char& c : noise) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    std::vector<char> text{'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o'};
    struct Case {
        const char* name;
        std::vector<char> bytes;
    } cases[] = {{"truncated.mp3", truncated}, {"noise.mp3", noise}, {"empty.mp3", {}}, {"text.mp3", text}};
    for (const Case& c : cases) {
        DecodedSound sound;
        std::string error;
        EXPECT_FALSE(CocosDenshion::decodeMp3File(write(c.name, c.bytes), sound, error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
        EXPECT_TRUE(sound.samples.empty()) << c.name;
    }
    DecodedSound sound;
    std::string error;
    EXPECT_FALSE(CocosDenshion::decodeMp3File((m_dir / "missing.mp3").string(), sound, error));

    // Music streams, so it is probed instead: the same damage is seen.
    std::vector<char> track = readAll(resources() + "/music/music_level_2.mp3");
    ASSERT_GT(track.size(), 100000u);
    EXPECT_TRUE(CocosDenshion::probeMp3File(resources() + "/music/music_level_2.mp3", error)) << error;
    for (const Case& c : cases)
        EXPECT_FALSE(CocosDenshion::probeMp3File(write(c.name, c.bytes), error)) << c.name;
    EXPECT_FALSE(CocosDenshion::probeMp3File(
        write("short_track.mp3", std::vector<char>(track.begin(), track.end() - 50000)), error));
}

TEST_F(DecodedSounds, CacheDecodesOnceAndLogsAFailureOnce)
{
    SoundCache cache(44100);
    SoundCache::Pcm first = cache.get(m_select);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size(), 2646u * 2) << "mono is widened to the mixer's stereo";
    EXPECT_EQ(cache.get(m_select), first);

    std::string broken = write("broken.mp3", {'x', 'y'});
    testing::internal::CaptureStderr();
    EXPECT_FALSE(cache.get(broken));
    EXPECT_FALSE(cache.get(broken));
    std::string log = testing::internal::GetCapturedStderr();
    size_t lines = 0;
    for (size_t at = log.find(broken); at != std::string::npos; at = log.find(broken, at + 1))
        ++lines;
    EXPECT_EQ(lines, 1u) << log;
}

TEST_F(DecodedSounds, WrongRateIsRefused)
{
    SoundCache cache(48000);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(cache.get(m_select));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("44100 Hz"), std::string::npos);
}

// Effects and instrument notes are kept decoded for the whole run; music streams.
TEST_F(DecodedSounds, AllEffectsAndNotesPreloadOffThreadWithinTheMemoryBudget)
{
    SoundCache cache(44100);
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(resources() + "/sounds"))
        if (entry.is_regular_file() && entry.path().extension() == ".mp3") {
            cache.preload(entry.path().string());
            ++files;
        }
    EXPECT_EQ(files, 257u);
    cache.waitForPreloads();
    // A preloaded sound is handed over without decoding again.
    EXPECT_TRUE(cache.get(m_select));
    const size_t bytes = cache.bytes();
    std::printf("decoded PCM of %zu effects and notes (16-bit stereo): %.1f MB\n", files, bytes / 1048576.0);
    EXPECT_LT(bytes, 64u * 1024 * 1024);
    EXPECT_GT(bytes, 0u);
}

}  // namespace
