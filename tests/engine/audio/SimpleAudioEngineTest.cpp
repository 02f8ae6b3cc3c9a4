#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "SimpleAudioEngine.h"
#include "cocos2d/CCFileUtils.h"

using CocosDenshion::SimpleAudioEngine;

namespace {

// A silent backend with a real (tiny) sound file at an absolute path.
class SilentAudio : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/audio-test-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
        m_sound = m_dir + "/click.wav";
        FILE* f = std::fopen(m_sound.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("RIFF", f);  // the silent backend needs the file, not its content
        std::fclose(f);
        m_audio = SimpleAudioEngine::sharedEngine();
        m_audio->setBackendForTests(true);
        m_audio->resetForTests();
    }
    void TearDown() override
    {
        m_audio->resetForTests();
        std::remove(m_sound.c_str());
        rmdir(m_dir.c_str());
    }
    void advance(double seconds, double step = 0.5)
    {
        for (double t = 0; t < seconds - 1e-9; t += step)
            SimpleAudioEngine::advanceClock(static_cast<float>(step));
    }

    std::string m_dir;
    std::string m_sound;
    SimpleAudioEngine* m_audio = nullptr;
};

TEST_F(SilentAudio, EffectIdsAreNonZeroUniqueAndZeroForMissingFiles)
{
    unsigned a = m_audio->playEffect(m_sound.c_str());
    unsigned b = m_audio->playEffect(m_sound.c_str());
    EXPECT_NE(a, 0u);
    EXPECT_NE(b, 0u);
    EXPECT_NE(a, b);
    EXPECT_EQ(m_audio->playEffect((m_dir + "/missing.mp3").c_str()), 0u);
    // A failed play does not use up an id, and a later one is still new.
    unsigned c = m_audio->playEffect(m_sound.c_str());
    EXPECT_NE(c, a);
    EXPECT_NE(c, b);
    EXPECT_NE(c, 0u);
}

TEST_F(SilentAudio, TheCallLogKeepsTheLatestCallsWithinItsLimit)
{
    const size_t limit = SimpleAudioEngine::kRecordedCallLimit;
    unsigned last = 0;
    for (size_t i = 0; i < 3 * limit + 7; ++i) {
        last = m_audio->playEffect(m_sound.c_str());
        m_audio->stopEffect(last);
        ASSERT_LE(m_audio->recordedCalls().size(), limit) << "after " << i + 1 << " effects";
    }
    const auto& calls = m_audio->recordedCalls();
    ASSERT_GE(calls.size(), limit / 2);
    EXPECT_EQ(calls.back().operation, "stopEffect");
    EXPECT_EQ(calls.back().id, last);
    EXPECT_EQ(calls[calls.size() - 2].operation, "playEffect");
    EXPECT_EQ(calls[calls.size() - 2].id, last);
}

TEST_F(SilentAudio, StoppingAFinishedEffectIsHarmlessAndALoopStopsById)
{
    unsigned once = m_audio->playEffect(m_sound.c_str(), false);
    unsigned loop = m_audio->playEffect(m_sound.c_str(), true);
    advance(5);
    EXPECT_FALSE(m_audio->isEffectPlaying(once));
    EXPECT_TRUE(m_audio->isEffectPlaying(loop));
    m_audio->stopEffect(once);
    m_audio->stopEffect(12345);
    EXPECT_TRUE(m_audio->isEffectPlaying(loop));
    m_audio->stopEffect(loop);
    EXPECT_FALSE(m_audio->isEffectPlaying(loop));

    const auto& calls = m_audio->recordedCalls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[1].operation, "playEffect");
    EXPECT_EQ(calls[1].path, m_sound);
    EXPECT_TRUE(calls[1].loop);
    EXPECT_EQ(calls[1].id, loop);
    EXPECT_EQ(calls[4].operation, "stopEffect");
    EXPECT_EQ(calls[4].id, loop);
}

TEST_F(SilentAudio, PausedEffectsDoNotRunOut)
{
    unsigned id = m_audio->playEffect(m_sound.c_str());
    m_audio->pauseAllEffects();
    advance(10);
    EXPECT_TRUE(m_audio->isEffectPlaying(id));
    m_audio->resumeAllEffects();
    advance(2);
    EXPECT_FALSE(m_audio->isEffectPlaying(id));
}

TEST_F(SilentAudio, MusicEndsAfterTheSilentDurationButNotWhilePausedOrLooping)
{
    m_audio->setSilentTrackDuration(10);
    m_audio->playBackgroundMusic(m_sound.c_str(), false);
    EXPECT_TRUE(m_audio->isBackgroundMusicPlaying());
    advance(6);
    m_audio->pauseBackgroundMusic();
    advance(60);
    EXPECT_TRUE(m_audio->isBackgroundMusicPlaying()) << "a paused track counts as playing";
    m_audio->resumeBackgroundMusic();
    advance(3);
    EXPECT_TRUE(m_audio->isBackgroundMusicPlaying());
    advance(2);
    EXPECT_FALSE(m_audio->isBackgroundMusicPlaying());

    m_audio->playBackgroundMusic(m_sound.c_str(), true);
    advance(100);
    EXPECT_TRUE(m_audio->isBackgroundMusicPlaying());
    m_audio->stopBackgroundMusic();
    EXPECT_FALSE(m_audio->isBackgroundMusicPlaying());
}

TEST_F(SilentAudio, MissingMusicCountsAsNotPlayingAndReplacesTheOldTrack)
{
    m_audio->playBackgroundMusic(m_sound.c_str(), true);
    m_audio->playBackgroundMusic((m_dir + "/none.mp3").c_str(), true);
    EXPECT_FALSE(m_audio->isBackgroundMusicPlaying());
}

TEST_F(SilentAudio, VolumesAreClampedToZeroToOne)
{
    m_audio->setEffectsVolume(1.5f);
    EXPECT_FLOAT_EQ(m_audio->getEffectsVolume(), 1.0f);
    m_audio->setBackgroundMusicVolume(-0.5f);
    EXPECT_FLOAT_EQ(m_audio->getBackgroundMusicVolume(), 0.0f);
    m_audio->setBackgroundMusicVolume(0.35f);
    EXPECT_FLOAT_EQ(m_audio->getBackgroundMusicVolume(), 0.35f);
    EXPECT_FALSE(m_audio->willPlayBackgroundMusic());
}

}  // namespace

namespace {

// A name is resolved once per resource root, yet a play still follows the
// file: removed, it is missing; under another root, it is that root's file.
TEST_F(SilentAudio, AResolvedNameFollowsItsFileAndTheResourceRoot)
{
    cocos2d::CCFileUtils* files = cocos2d::CCFileUtils::sharedFileUtils();
    const std::string oldRoot = files->getResourceRoot();
    char other[] = "/tmp/audio-root-XXXXXX";
    ASSERT_NE(mkdtemp(other), nullptr);
    const std::string otherSound = std::string(other) + "/click.wav";
    struct Step {
        const char* what;
        std::function<void()> change;
        bool plays;
    } steps[] = {
        {"first play", [] {}, true},
        {"again, resolved", [] {}, true},
        {"file removed", [&] { std::remove(m_sound.c_str()); }, false},
        {"file back", [&] { std::fclose(std::fopen(m_sound.c_str(), "wb")); }, true},
        {"another root without it", [&] { files->setResourceRoot(other); }, false},
        {"another root with it", [&] { std::fclose(std::fopen(otherSound.c_str(), "wb")); }, true},
        {"first root again", [&] { files->setResourceRoot(m_dir); }, true},
    };
    files->setResourceRoot(m_dir);
    const uint64_t before = m_audio->effectsPlayed();
    uint64_t expected = before;
    for (const Step& step : steps) {
        step.change();
        const unsigned id = m_audio->playEffect("click.wav");
        EXPECT_EQ(id != 0, step.plays) << step.what;
        expected += step.plays;
        EXPECT_EQ(m_audio->effectsPlayed(), expected) << step.what;
        ASSERT_FALSE(m_audio->recordedCalls().empty());
        EXPECT_EQ(m_audio->recordedCalls().back().path, "click.wav") << step.what;
    }
    files->setResourceRoot(oldRoot);
    std::remove(otherSound.c_str());
    rmdir(other);
}

}  // namespace
