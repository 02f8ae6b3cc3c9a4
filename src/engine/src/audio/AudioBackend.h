#pragma once
// Internal: what SimpleAudioEngine asks of a backend. Paths are resolved.
#include <string>

namespace CocosDenshion {

class AudioBackend {
public:
    virtual ~AudioBackend() = default;
    virtual bool silent() const = 0;
    // False when the file cannot be played (logged by the backend).
    virtual bool playMusic(const std::string& path, bool loop) = 0;
    virtual void stopMusic() = 0;
    virtual void pauseMusic() = 0;
    virtual void resumeMusic() = 0;
    virtual bool musicPlaying() = 0;
    virtual void setMusicVolume(float v) = 0;
    // False when nothing plays.
    virtual bool playEffect(unsigned int id, const std::string& path, bool loop) = 0;
    virtual void stopEffect(unsigned int id) = 0;
    // Decodes ahead, off the frame path; nothing for the silent backend.
    virtual void preloadEffect(const std::string&) { }
    virtual size_t decodedBytes() const { return 0; }
    virtual void waitForPreloads() { }
    virtual bool effectPlaying(unsigned int id) = 0;
    virtual void pauseEffects() = 0;
    virtual void resumeEffects() = 0;
    virtual void setEffectsVolume(float v) = 0;
    virtual void stopAll() = 0;
    virtual void advance(double) { }
};

// The silent backend: durations come from the engine's settings.
AudioBackend* makeSilentBackend(const double* trackSeconds, const double* effectSeconds);
// Null when no audio device opens (logged).
AudioBackend* makeMixerBackend(float musicVolume, float effectsVolume);

}  // namespace CocosDenshion
