#include <map>

#include "audio/AudioBackend.h"

namespace CocosDenshion {

namespace {

// Plays nothing, but keeps the state machine: tracks and effects run for a
// nominal time of the director's clock, loops until stopped, pauses freeze.
class SilentBackend : public AudioBackend {
public:
    SilentBackend(const double* trackSeconds, const double* effectSeconds)
        : m_trackSeconds(trackSeconds), m_effectSeconds(effectSeconds)
    {
    }
    bool silent() const override { return true; }

    bool playMusic(const std::string&, bool loop) override
    {
        m_music = Play{loop, false, 0};
        m_musicOn = true;
        return true;
    }
    void stopMusic() override { m_musicOn = false; }
    void pauseMusic() override { m_music.paused = true; }
    void resumeMusic() override { m_music.paused = false; }
    bool musicPlaying() override { return m_musicOn; }
    void setMusicVolume(float) override { }

    bool playEffect(unsigned int id, const std::string&, bool loop) override
    {
        m_effects[id] = Play{loop, false, 0};  // as with the mixer, a pause holds only running plays
        return true;
    }
    void stopEffect(unsigned int id) override { m_effects.erase(id); }
    bool effectPlaying(unsigned int id) override { return m_effects.count(id) != 0; }
    void pauseEffects() override
    {
        for (auto& e : m_effects)
            e.second.paused = true;
    }
    void resumeEffects() override
    {
        for (auto& e : m_effects)
            e.second.paused = false;
    }
    void setEffectsVolume(float) override { }
    void stopAll() override
    {
        m_musicOn = false;
        m_effects.clear();
    }

    void advance(double dt) override
    {
        if (m_musicOn && !m_music.paused && !m_music.loop) {
            m_music.elapsed += dt;
            if (m_music.elapsed >= *m_trackSeconds)
                m_musicOn = false;
        }
        for (auto it = m_effects.begin(); it != m_effects.end();) {
            Play& p = it->second;
            if (!p.paused && !p.loop)
                p.elapsed += dt;
            if (!p.loop && p.elapsed >= *m_effectSeconds)
                it = m_effects.erase(it);
            else
                ++it;
        }
    }

private:
    struct Play {
        bool loop = false;
        bool paused = false;
        double elapsed = 0;
    };
    const double* m_trackSeconds;
    const double* m_effectSeconds;
    Play m_music;
    bool m_musicOn = false;
    std::map<unsigned int, Play> m_effects;
};

}  // namespace

AudioBackend* makeSilentBackend(const double* trackSeconds, const double* effectSeconds)
{
    return new SilentBackend(trackSeconds, effectSeconds);
}

}  // namespace CocosDenshion
