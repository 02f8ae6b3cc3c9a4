#include <SDL.h>
#include <SDL_mixer.h>

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "audio/AudioBackend.h"
#include "audio/Mp3Decoder.h"
#include "audio/SoundCache.h"
#include "base/EngineLog.h"

namespace CocosDenshion {

using cocos2d::engineLog;

namespace {

constexpr int kChannels = 32;
constexpr int kRate = 44100;

// SDL2_mixer with no callbacks: the end of a track is seen by polling, so no
// audio-thread code touches game state.
class MixerBackend : public AudioBackend {
public:
    MixerBackend(float musicVolume, float effectsVolume) : m_cache(kRate), m_owner(kChannels, 0)
    {
        Mix_AllocateChannels(kChannels);
        setMusicVolume(musicVolume);
        setEffectsVolume(effectsVolume);
    }
    ~MixerBackend() override
    {
        stopAll();
        for (auto& c : m_chunks)
            Mix_FreeChunk(c.second);
        Mix_CloseAudio();
    }
    bool silent() const override { return false; }

    bool playMusic(const std::string& path, bool loop) override
    {
        stopMusic();
        // Music streams; a damaged file is refused up front (logged once)
        // rather than played until it breaks off.
        if (m_badMusic.count(path))
            return false;
        std::string why;
        if (!probeMp3File(path, why)) {
            engineLog("SimpleAudioEngine: cannot play music: %s", why.c_str());
            m_badMusic.insert(path);
            return false;
        }
        m_music = Mix_LoadMUS(path.c_str());
        if (!m_music) {
            engineLog("SimpleAudioEngine: cannot load music %s: %s", path.c_str(), Mix_GetError());
            return false;
        }
        if (Mix_PlayMusic(m_music, loop ? -1 : 1) != 0) {
            engineLog("SimpleAudioEngine: cannot play music %s: %s", path.c_str(), Mix_GetError());
            stopMusic();
            return false;
        }
        return true;
    }
    void stopMusic() override
    {
        Mix_HaltMusic();
        if (m_music)
            Mix_FreeMusic(m_music);
        m_music = nullptr;
    }
    void pauseMusic() override { Mix_PauseMusic(); }
    void resumeMusic() override { Mix_ResumeMusic(); }
    // Stays true while paused.
    bool musicPlaying() override { return m_music && Mix_PlayingMusic() != 0; }
    void setMusicVolume(float v) override { Mix_VolumeMusic(static_cast<int>(v * MIX_MAX_VOLUME + 0.5f)); }

    bool playEffect(unsigned int id, const std::string& path, bool loop) override
    {
        Mix_Chunk* chunk = nullptr;
        auto it = m_chunks.find(path);
        if (it != m_chunks.end()) {
            chunk = it->second;
        } else {
            // Decoded once (the cache logs a file it cannot decode, once);
            // the chunk points at the cache's samples, which live as long.
            SoundCache::Pcm pcm = m_cache.get(path);
            if (!pcm || pcm->empty())
                return false;
            chunk = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(const_cast<int16_t*>(pcm->data())),
                                      static_cast<Uint32>(pcm->size() * sizeof(int16_t)));
            if (!chunk) {
                engineLog("SimpleAudioEngine: cannot play sound %s: %s", path.c_str(), Mix_GetError());
                return false;
            }
            m_chunks[path] = chunk;
        }
        int channel = Mix_PlayChannel(-1, chunk, loop ? -1 : 0);
        if (channel < 0 || channel >= kChannels) {
            if (channel >= 0)
                Mix_HaltChannel(channel);
            return false;
        }
        Mix_Volume(channel, m_effectsVolume);
        // The channel's previous play is over: forget its id, so the table
        // holds at most one id per channel however long the game runs.
        if (m_owner[channel] != 0)
            m_channelOf.erase(m_owner[channel]);
        m_owner[channel] = id;
        m_channelOf[id] = channel;
        return true;
    }
    void preloadEffect(const std::string& path) override { m_cache.preload(path); }
    size_t decodedBytes() const override { return m_cache.bytes(); }
    void waitForPreloads() override { m_cache.waitForPreloads(); }
    void stopEffect(unsigned int id) override
    {
        int channel = channelPlaying(id);
        if (channel >= 0)
            Mix_HaltChannel(channel);
        m_channelOf.erase(id);
    }
    bool effectPlaying(unsigned int id) override { return channelPlaying(id) >= 0; }
    void pauseEffects() override { Mix_Pause(-1); }
    void resumeEffects() override { Mix_Resume(-1); }
    void setEffectsVolume(float v) override
    {
        m_effectsVolume = static_cast<int>(v * MIX_MAX_VOLUME + 0.5f);
        Mix_Volume(-1, m_effectsVolume);
    }
    void stopAll() override
    {
        Mix_HaltChannel(-1);
        stopMusic();
        m_channelOf.clear();
        std::fill(m_owner.begin(), m_owner.end(), 0u);
    }

private:
    // The channel still playing this id, or -1 (finished, or reused by a later play).
    int channelPlaying(unsigned int id)
    {
        auto it = m_channelOf.find(id);
        if (it == m_channelOf.end())
            return -1;
        int channel = it->second;
        if (m_owner[channel] != id || !Mix_Playing(channel)) {
            m_channelOf.erase(it);
            return -1;
        }
        return channel;
    }

    Mix_Music* m_music = nullptr;
    std::set<std::string> m_badMusic;
    SoundCache m_cache;
    std::map<std::string, Mix_Chunk*> m_chunks;
    std::vector<unsigned int> m_owner;
    std::map<unsigned int, int> m_channelOf;
    int m_effectsVolume = MIX_MAX_VOLUME;
};

}  // namespace

AudioBackend* makeMixerBackend(float musicVolume, float effectsVolume)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        engineLog("SimpleAudioEngine: no audio (%s); sounds stay silent", SDL_GetError());
        return nullptr;
    }
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3);
    // Exactly 44.1 kHz 16-bit stereo: decoded effects are handed over as they
    // are, and SDL converts for the device if it must.
    if (Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, 2, 1024, nullptr, 0) != 0) {
        engineLog("SimpleAudioEngine: no audio device (%s); sounds stay silent", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    return new MixerBackend(musicVolume, effectsVolume);
}

}  // namespace CocosDenshion
