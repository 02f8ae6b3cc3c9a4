#include "SimpleAudioEngine.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "audio/AudioBackend.h"
#include "base/EngineLog.h"
#include "base/EngineSwitches.h"
#include "cocos2d/CCEGLView.h"
#include "cocos2d/CCFileUtils.h"

namespace CocosDenshion {

using cocos2d::engineLog;

namespace {

SimpleAudioEngine* g_engine = nullptr;

float clampVolume(float v)
{
    if (!(v >= 0.0f))  // NaN too
        return 0.0f;
    return v > 1.0f ? 1.0f : v;
}

// The dummy driver means "no device": stay silent and deterministic rather
// than run a mixer thread against wall time. The disk driver does mix, into a
// file, which is how a run's sound is checked without speakers. A fixed step
// runs faster than wall time, so tracks must end on the director's clock.
bool environmentWantsSilence()
{
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    return (driver && std::strcmp(driver, "dummy") == 0) || cocos2d::fixedStepWanted();
}

}  // namespace

SimpleAudioEngine::SimpleAudioEngine() : m_wantSilent(environmentWantsSilence()) { }

SimpleAudioEngine* SimpleAudioEngine::sharedEngine()
{
    if (!g_engine)
        g_engine = new SimpleAudioEngine();
    return g_engine;
}

AudioBackend& SimpleAudioEngine::backend()
{
    if (!m_backend) {
        // Only the real window plays sound; headless and software runs (tests)
        // stay silent whatever devices the machine has.
        if (!m_wantSilent && (m_forceDevice || cocos2d::CCEGLView::getRunMode() == cocos2d::kCCRunModeWindow))
            m_backend = makeMixerBackend(m_musicVolume, m_effectsVolume);
        if (!m_backend)
            m_backend = makeSilentBackend(&m_silentTrackSeconds, &m_silentEffectSeconds);
    }
    return *m_backend;
}

bool SimpleAudioEngine::isSilent() const
{
    return !m_backend || m_backend->silent();
}

void SimpleAudioEngine::setBackendForTests(bool silent)
{
    if (m_backend) {
        m_backend->stopAll();
        delete m_backend;
        m_backend = nullptr;
    }
    m_wantSilent = silent;
    m_forceDevice = !silent;
    m_logCalls = true;
}

size_t SimpleAudioEngine::decodedEffectBytes()
{
    return backend().decodedBytes();
}

void SimpleAudioEngine::waitForPreloads()
{
    backend().waitForPreloads();
}

void SimpleAudioEngine::advanceClock(float dt)
{
    if (g_engine && g_engine->m_backend && dt > 0)
        g_engine->m_backend->advance(dt);
}

void SimpleAudioEngine::resetForTests()
{
    if (m_backend)
        m_backend->stopAll();
    clearRecordedCalls();
    m_musicVolume = 1.0f;
    m_effectsVolume = 1.0f;
    m_silentTrackSeconds = 120.0;
    m_silentEffectSeconds = 1.0;
    if (m_backend) {
        m_backend->setMusicVolume(m_musicVolume);
        m_backend->setEffectsVolume(m_effectsVolume);
    }
}

void SimpleAudioEngine::record(const char* operation, const char* path, bool loop, unsigned int id, float value)
{
    if (!m_logCalls)
        return;
    if (m_calls.size() >= kRecordedCallLimit) {
        for (size_t i = 0; i < kRecordedCallLimit / 2; ++i)
            m_spareCalls.push_back(std::move(m_calls[i]));
        m_calls.erase(m_calls.begin(), m_calls.begin() + kRecordedCallLimit / 2);
    }
    // A spare entry keeps its string's buffer: a game that plays sounds
    // every step records without allocating once the log has filled.
    if (m_spareCalls.empty()) {
        m_calls.emplace_back();
    } else {
        m_calls.push_back(std::move(m_spareCalls.back()));
        m_spareCalls.pop_back();
    }
    RecordedCall& call = m_calls.back();
    call.operation.assign(operation);
    call.path.assign(path ? path : "");
    call.loop = loop;
    call.id = id;
    call.value = value;
}

void SimpleAudioEngine::clearRecordedCalls()
{
    for (RecordedCall& call : m_calls)
        m_spareCalls.push_back(std::move(call));
    m_calls.clear();
    m_logCalls = true;
}

namespace {

bool regularFileExists(const char* path)
{
    struct stat st;
    return ::stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

const std::string* SimpleAudioEngine::resolveSound(const char* path)
{
    if (!path || !*path) {
        engineLog("SimpleAudioEngine: no sound file name");
        return nullptr;
    }
    // Names resolve once per resource root; a file removed since still
    // counts as missing.
    cocos2d::CCFileUtils* files = cocos2d::CCFileUtils::sharedFileUtils();
    const std::string& root = files->getResourceRoot();
    if (root != m_resolvedRoot) {
        m_resolved.clear();
        m_resolvedRoot = root;
    }
    auto found = m_resolved.find(std::string_view(path));
    if (found != m_resolved.end() && regularFileExists(found->second.c_str()))
        return &found->second;
    std::string full = files->fullPathForFilename(path);
    if (!regularFileExists(full.c_str())) {
        engineLog("SimpleAudioEngine: no sound file %s", full.c_str());
        return nullptr;
    }
    if (found != m_resolved.end()) {
        found->second = std::move(full);
        return &found->second;
    }
    return &m_resolved.emplace(path, std::move(full)).first->second;
}

void SimpleAudioEngine::playBackgroundMusic(const char* path, bool loop)
{
    record("playBackgroundMusic", path, loop, 0);
    AudioBackend& b = backend();
    b.stopMusic();
    if (const std::string* full = resolveSound(path))
        b.playMusic(*full, loop);
}

void SimpleAudioEngine::stopBackgroundMusic(bool)
{
    record("stopBackgroundMusic", nullptr, false, 0);
    backend().stopMusic();
}

void SimpleAudioEngine::pauseBackgroundMusic()
{
    record("pauseBackgroundMusic", nullptr, false, 0);
    backend().pauseMusic();
}

void SimpleAudioEngine::resumeBackgroundMusic()
{
    record("resumeBackgroundMusic", nullptr, false, 0);
    backend().resumeMusic();
}

bool SimpleAudioEngine::isBackgroundMusicPlaying()
{
    return backend().musicPlaying();
}

void SimpleAudioEngine::setBackgroundMusicVolume(float volume)
{
    m_musicVolume = clampVolume(volume);
    record("setBackgroundMusicVolume", nullptr, false, 0, m_musicVolume);
    backend().setMusicVolume(m_musicVolume);
}

void SimpleAudioEngine::setEffectsVolume(float volume)
{
    m_effectsVolume = clampVolume(volume);
    record("setEffectsVolume", nullptr, false, 0, m_effectsVolume);
    backend().setEffectsVolume(m_effectsVolume);
}

void SimpleAudioEngine::preloadEffect(const char* path)
{
    // Not recorded: a preload changes when decoding happens, not what plays.
    if (const std::string* full = resolveSound(path))
        backend().preloadEffect(*full);
}

unsigned int SimpleAudioEngine::playEffect(const char* path, bool loop)
{
    AudioBackend& b = backend();
    unsigned int id = 0;
    if (const std::string* full = resolveSound(path)) {
        unsigned int candidate = m_nextId;
        if (b.playEffect(candidate, *full, loop)) {
            id = candidate;
            ++m_effectsPlayed;
            ++m_nextId;
            if (m_nextId == 0)  // 0 means "nothing played"; wrap past it
                m_nextId = 1;
        }
    }
    record("playEffect", path, loop, id);
    return id;
}

void SimpleAudioEngine::stopEffect(unsigned int soundId)
{
    record("stopEffect", nullptr, false, soundId);
    if (soundId != 0)
        backend().stopEffect(soundId);
}

bool SimpleAudioEngine::isEffectPlaying(unsigned int soundId)
{
    return soundId != 0 && backend().effectPlaying(soundId);
}

void SimpleAudioEngine::pauseAllEffects()
{
    record("pauseAllEffects", nullptr, false, 0);
    backend().pauseEffects();
}

void SimpleAudioEngine::resumeAllEffects()
{
    record("resumeAllEffects", nullptr, false, 0);
    backend().resumeEffects();
}

}  // namespace CocosDenshion
