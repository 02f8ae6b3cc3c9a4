#pragma once
// Background music and sound effects. Over SDL2_mixer when an audio device
// opens; otherwise (and in tests) a silent backend with the same state
// machine, which "plays" tracks against the director's clock. Every call is
// recorded so tests can see what was played.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace CocosDenshion {

class AudioBackend;

class SimpleAudioEngine {
public:
    // Lazy; works before the application runs and in tests. Never freed.
    static SimpleAudioEngine* sharedEngine();

    // Replaces any current track. A missing or undecodable file is logged and
    // the track then counts as not playing.
    void playBackgroundMusic(const char* path, bool loop = false);
    void stopBackgroundMusic(bool releaseData = false);
    void pauseBackgroundMusic();
    void resumeBackgroundMusic();
    // True from playBackgroundMusic until a non-looping track ends or is
    // stopped; a paused track counts as playing.
    bool isBackgroundMusicPlaying();
    // Tracks start synchronously.
    bool willPlayBackgroundMusic() { return false; }

    // Volumes run from 0 to 1; other values are clamped.
    float getBackgroundMusicVolume() const { return m_musicVolume; }
    void setBackgroundMusicVolume(float volume);
    float getEffectsVolume() const { return m_effectsVolume; }
    // Applies to plays already running and to later ones.
    void setEffectsVolume(float volume);

    // Decodes a sound ahead of its first play, on a worker thread, so that
    // play does not wait for it. A missing file is logged and skipped.
    void preloadEffect(const char* path);
    // A non-zero id never reused within the run; 0 when nothing plays
    // (missing or undecodable file, no free channel).
    unsigned int playEffect(const char* path, bool loop = false);
    // Stops that play only; an unknown or finished id does nothing.
    void stopEffect(unsigned int soundId);
    void pauseAllEffects();
    void resumeAllEffects();
    bool isEffectPlaying(unsigned int soundId);

    // --- (ext) tests and the frame loop ---------------------------------
    struct RecordedCall {
        std::string operation;  // the method's name, e.g. "playEffect"
        std::string path;       // as the caller gave it
        bool loop = false;
        unsigned int id = 0;  // the id returned or passed
        float value = 0;      // volumes, after clamping
    };
    // The log is kept once a test hook has run (resetForTests,
    // setBackendForTests, clearRecordedCalls); the game keeps none. It holds
    // the latest calls only: when full, the older half goes.
    static constexpr size_t kRecordedCallLimit = 4096;
    const std::vector<RecordedCall>& recordedCalls() const { return m_calls; }
    void clearRecordedCalls();
    // Keeps the log or not, whatever the hooks did (a benchmark plays as the game does).
    void keepCallLog(bool keep) { m_logCalls = keep; }
    // Chooses the silent backend (true) or the device (false, falling back to
    // silent when no device opens, whatever the run mode). Stops whatever plays.
    void setBackendForTests(bool silent);
    // Bytes of decoded effect PCM held, and a wait for queued preloads.
    size_t decodedEffectBytes();
    void waitForPreloads();
    bool isSilent() const;
    // How long the silent backend "plays" a non-looping track or effect, in
    // seconds of the director's clock (120 s and 1 s by default).
    void setSilentTrackDuration(double seconds) { m_silentTrackSeconds = seconds; }
    void setSilentEffectDuration(double seconds) { m_silentEffectSeconds = seconds; }
    double silentTrackDuration() const { return m_silentTrackSeconds; }
    double silentEffectDuration() const { return m_silentEffectSeconds; }
    // The director advances the silent backend's clock once a frame.
    static void advanceClock(float dt);
    // Stops everything, forgets the log, restores volumes and durations.
    void resetForTests();
    // Effects that started playing since the engine was made, log or not.
    uint64_t effectsPlayed() const { return m_effectsPlayed; }

private:
    SimpleAudioEngine();
    AudioBackend& backend();
    void record(const char* operation, const char* path, bool loop, unsigned int id, float value = 0);
    // The full path of an existing sound file, or null (logged).
    const std::string* resolveSound(const char* path);

    AudioBackend* m_backend = nullptr;
    bool m_wantSilent = false;
    bool m_forceDevice = false;
    float m_musicVolume = 1.0f;
    float m_effectsVolume = 1.0f;
    double m_silentTrackSeconds = 120.0;
    double m_silentEffectSeconds = 1.0;
    unsigned int m_nextId = 1;
    uint64_t m_effectsPlayed = 0;
    bool m_logCalls = false;
    std::vector<RecordedCall> m_calls;
    std::vector<RecordedCall> m_spareCalls;  // entries that went out of the log, for reuse
    // Sound names as callers give them, resolved under m_resolvedRoot.
    std::map<std::string, std::string, std::less<>> m_resolved;
    std::string m_resolvedRoot;
    friend class AudioBackend;
};

}  // namespace CocosDenshion
