#pragma once
// Decoded effects, kept for the whole run in the mixer's own format (16-bit
// stereo at the device rate), so a play is a pointer hand-over and a loop
// loops samples. Each file is decoded once: ahead of time on a worker thread
// for preloaded names, otherwise on first use. A file that cannot be decoded
// is logged once and then plays nothing.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace CocosDenshion {

class SoundCache {
public:
    using Pcm = std::shared_ptr<const std::vector<int16_t>>;

    explicit SoundCache(int deviceRate) : m_rate(deviceRate) { }
    ~SoundCache();
    SoundCache(const SoundCache&) = delete;
    SoundCache& operator=(const SoundCache&) = delete;

    // Queues a resolved path for the worker; known paths are ignored.
    void preload(const std::string& path);
    // The stereo samples, or null when the file cannot be decoded. Waits only
    // for a decode of this very file already under way.
    Pcm get(const std::string& path);
    // Blocks until the worker's queue is empty (tests and start-up timing).
    void waitForPreloads();
    // Bytes of decoded PCM held.
    size_t bytes() const;

private:
    enum class State { Queued, Decoding, Ready, Failed };
    struct Entry {
        State state = State::Queued;
        Pcm pcm;
    };
    Pcm decode(const std::string& path);
    void finish(const std::string& path, Pcm pcm);
    void work();

    const int m_rate;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<std::string, Entry> m_entries;
    std::deque<std::string> m_queue;
    std::thread m_worker;
    bool m_stopping = false;
    bool m_working = false;
    size_t m_bytes = 0;
};

}  // namespace CocosDenshion
