#pragma once
// The HTTP request queue: one worker thread drives libcurl's multi interface;
// the main thread queues requests and, every drain, runs the actions of the
// finished ones (runPendingActions).
//
// Threads and locks: the request queue's mutex (requests to add and remove)
// and the completed-action mutex are never held together. The main thread
// wakes the worker with a 4-byte command on a loopback socket pair:
// 0 add, 1 remove, 2 stop.
#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "online/Action.h"
#include "online/Request.h"

class NetworkManager {
public:
    enum Command : uint32_t { CommandAdd = 0, CommandRemove = 1, CommandStop = 2 };

    // libcurl's global init; sets the process-wide flag every sender tests.
    static bool init();
    static bool isInitialized();

    // The game's instance: created (and its worker started) on first use,
    // stopped and joined at exit.
    static NetworkManager& getInstance();

    // Tests make their own instances; the destructor stops and joins.
    NetworkManager();
    ~NetworkManager();
    NetworkManager(const NetworkManager&) = delete;
    NetworkManager& operator=(const NetworkManager&) = delete;

    // Main thread: hand a request to the worker. Its action is posted to the
    // completed-action queue when the transfer ends (or fails). False when the
    // network is not initialised or the worker is not running: then no
    // transfer starts, and the action's connection-error handler runs on the
    // next drain.
    bool send(const std::shared_ptr<RequestAction>& action);

    // Main thread: abandon a queued or running request; its action never runs.
    void cancel(const std::shared_ptr<RequestAction>& action);

    // Stops the worker (command 2) and joins it. Requests in flight are
    // dropped without running their actions. Safe to call twice.
    void stop();
    bool isRunning() const { return running_.load(); }

    // Worker side (also usable by tests): queue a finished action for the
    // main thread. The worker moves its last reference in, so that actions
    // are always freed on the main thread.
    void postCompleted(std::shared_ptr<Action> action);

    // Main thread: run every finished action, in order, outside the lock.
    // Returns the number of actions run.
    size_t runPendingActions();

    // Requests still queued or in flight (main-thread view, for tests).
    size_t pendingRequestCount();

private:
    struct Pending;
    void workerLoop();
    void sendCommand(uint32_t command);
    void finishTransfer(void* easy, int curlResult);

    std::thread worker_;
    std::atomic<bool> running_{false};
    int wakeSockets_[2] = {-1, -1};  // [0] main thread writes, [1] worker reads
    void* multi_ = nullptr;          // CURLM*, touched only by the worker

    std::mutex queueMutex_;
    std::vector<std::shared_ptr<RequestAction>> toAdd_;
    std::vector<std::shared_ptr<RequestAction>> toRemove_;
    // Worker only: transfers on the multi handle.
    std::vector<std::shared_ptr<RequestAction>> active_;
    std::atomic<size_t> inFlight_{0};

    std::mutex completedMutex_;
    std::list<std::shared_ptr<Action>> completed_;
    std::atomic<bool> pending_{false};
};

// The network drain, called every 0.5 s on the main thread.
void runPendingActions();
