#pragma once
// The gallery's request queue: at most kMaxInFlight gallery requests on the
// network at once, screenshots one at a time, the rest waiting in order.
// Main thread only. A screen that goes away cancels what it asked for, and
// no answer reaches it afterwards.
#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

#include "online/Action.h"

class NetworkManager;

// Lets requests through up to a limit; each finished one lets the next go.
class NetworkQueueProcessor {
public:
    NetworkQueueProcessor(size_t maxInFlight, size_t maxScreenshotsInFlight);

    // Sent now when there is room, else when an earlier one finishes.
    void add(const std::shared_ptr<RequestAction>& action, bool screenshot);
    // Forgets what waits and cancels what is in flight: none of their
    // handlers run.
    void cancelAll();

    size_t inFlight() const { return m_inFlight.size(); }
    size_t waiting() const { return m_waiting.size(); }

    // Where requests go (the game's NetworkManager unless a test sets one).
    void setNetworkManager(NetworkManager* manager) { m_manager = manager; }

private:
    struct Entry {
        std::shared_ptr<RequestAction> action;
        bool screenshot = false;
    };
    void startWhatFits();
    void finished(const RequestAction* action);
    NetworkManager& manager();

    size_t m_maxInFlight;
    size_t m_maxScreenshots;
    std::deque<Entry> m_waiting;
    std::vector<Entry> m_inFlight;
    NetworkManager* m_manager = nullptr;
    // What the finished-hooks hold: a processor that is gone is not called.
    std::shared_ptr<NetworkQueueProcessor*> m_self;
};

class ServerLinkRequests {
public:
    static constexpr size_t kMaxInFlight = 5;

    static ServerLinkRequests* getInstance();
    static void resetInstanceForTests();

    NetworkQueueProcessor& queue() { return m_queue; }

private:
    ServerLinkRequests() : m_queue(kMaxInFlight, 1) { }
    NetworkQueueProcessor m_queue;
};
