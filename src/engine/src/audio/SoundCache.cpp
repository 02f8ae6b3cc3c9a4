#include "audio/SoundCache.h"

#include "audio/Mp3Decoder.h"
#include "base/EngineLog.h"

namespace CocosDenshion {

SoundCache::~SoundCache()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
    }
    m_changed.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

void SoundCache::preload(const std::string& path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stopping || m_entries.count(path))
        return;
    m_entries[path] = Entry();
    m_queue.push_back(path);
    if (!m_worker.joinable())
        m_worker = std::thread([this] { work(); });
    m_changed.notify_all();
}

SoundCache::Pcm SoundCache::get(const std::string& path)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    auto it = m_entries.find(path);
    if (it == m_entries.end())
        it = m_entries.emplace(path, Entry()).first;
    while (it->second.state == State::Decoding)
        m_changed.wait(lock);
    if (it->second.state == State::Ready || it->second.state == State::Failed)
        return it->second.pcm;
    // Not reached by the worker yet: decode here rather than wait in line.
    it->second.state = State::Decoding;
    lock.unlock();
    Pcm pcm = decode(path);
    finish(path, pcm);
    return pcm;
}

void SoundCache::waitForPreloads()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.empty() && !m_working; });
}

size_t SoundCache::bytes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bytes;
}

SoundCache::Pcm SoundCache::decode(const std::string& path)
{
    DecodedSound sound;
    std::string error;
    if (!decodeMp3File(path, sound, error)) {
        cocos2d::engineLog("SimpleAudioEngine: cannot decode sound: %s; it stays silent", error.c_str());
        return nullptr;
    }
    if (sound.rate != m_rate) {
        cocos2d::engineLog("SimpleAudioEngine: %s is at %d Hz, not %d Hz; it stays silent", path.c_str(), sound.rate,
                           m_rate);
        return nullptr;
    }
    if (sound.channels == 2)
        return std::make_shared<const std::vector<int16_t>>(std::move(sound.samples));
    auto stereo = std::make_shared<std::vector<int16_t>>(sound.samples.size() * 2);
    for (size_t i = 0; i < sound.samples.size(); ++i)
        (*stereo)[2 * i] = (*stereo)[2 * i + 1] = sound.samples[i];
    return stereo;
}

void SoundCache::finish(const std::string& path, Pcm pcm)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Entry& e = m_entries[path];
        e.state = pcm ? State::Ready : State::Failed;
        if (pcm)
            m_bytes += pcm->size() * sizeof(int16_t);
        e.pcm = std::move(pcm);
    }
    m_changed.notify_all();
}

void SoundCache::work()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            return;
        std::string path = m_queue.front();
        m_queue.pop_front();
        Entry& e = m_entries[path];
        if (e.state != State::Queued)
            continue;
        e.state = State::Decoding;
        m_working = true;
        lock.unlock();
        Pcm pcm = decode(path);
        finish(path, pcm);
        lock.lock();
        m_working = false;
        m_changed.notify_all();
    }
}

}  // namespace CocosDenshion
