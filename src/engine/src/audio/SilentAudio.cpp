#include <algorithm>
#include <vector>

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
        m_effects.reserve(256);  // room for a busy second of plays from the start
    }
    bool silent() const override { return true; }

    bool playMusic(const std::string&, bool loop) override
    {
        m_music = Play{0, loop, false, 0};
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
        // As with the mixer, a pause holds only running plays. Ids only grow
        // (until they wrap), so the list stays in id order.
        const Play play{id, loop, false, 0};
        if (m_effects.empty() || m_effects.back().id < id)
            m_effects.push_back(play);
        else if (Play* p = find(id))
            *p = play;
        else
            m_effects.insert(std::lower_bound(m_effects.begin(), m_effects.end(), id, before), play);
        return true;
    }
    void stopEffect(unsigned int id) override
    {
        if (Play* p = find(id))
            m_effects.erase(m_effects.begin() + (p - m_effects.data()));
    }
    bool effectPlaying(unsigned int id) override { return find(id) != nullptr; }
    void pauseEffects() override
    {
        for (Play& e : m_effects)
            e.paused = true;
    }
    void resumeEffects() override
    {
        for (Play& e : m_effects)
            e.paused = false;
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
        const double limit = *m_effectSeconds;
        for (Play& p : m_effects)
            if (!p.paused && !p.loop)
                p.elapsed += dt;
        m_effects.erase(std::remove_if(m_effects.begin(), m_effects.end(),
                                       [limit](const Play& p) { return !p.loop && p.elapsed >= limit; }),
                        m_effects.end());
    }

private:
    struct Play {
        unsigned int id = 0;
        bool loop = false;
        bool paused = false;
        double elapsed = 0;
    };
    const double* m_trackSeconds;
    const double* m_effectSeconds;
    Play m_music;
    bool m_musicOn = false;
    // The plays running, by id; a list that keeps its storage, so a play
    // allocates nothing once it has grown.
    std::vector<Play> m_effects;

    static bool before(const Play& p, unsigned int id) { return p.id < id; }
    Play* find(unsigned int id)
    {
        auto it = std::lower_bound(m_effects.begin(), m_effects.end(), id, before);
        return it != m_effects.end() && it->id == id ? &*it : nullptr;
    }
};

}  // namespace

AudioBackend* makeSilentBackend(const double* trackSeconds, const double* effectSeconds)
{
    return new SilentBackend(trackSeconds, effectSeconds);
}

}  // namespace CocosDenshion
