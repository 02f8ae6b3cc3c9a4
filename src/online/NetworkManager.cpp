#include "online/NetworkManager.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/Logger.h"

namespace {

std::atomic<bool> g_networkInitialized{false};

bool writeAll(int fd, const void* data, size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t written = ::send(fd, bytes, size, MSG_NOSIGNAL);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

void encodeCommand(uint32_t command, unsigned char out[4])
{
    out[0] = static_cast<unsigned char>(command & 0xFF);
    out[1] = static_cast<unsigned char>((command >> 8) & 0xFF);
    out[2] = static_cast<unsigned char>((command >> 16) & 0xFF);
    out[3] = static_cast<unsigned char>((command >> 24) & 0xFF);
}

}  // namespace

bool NetworkManager::init()
{
    if (curl_global_init(CURL_GLOBAL_ALL) == CURLE_OK) {
        g_networkInitialized = true;
        return true;
    }
    g_networkInitialized = false;
    Logger(35).setLevel(2) << "-------------- CURL IS NOT INITIALIAZED! --------------";
    return false;
}

bool NetworkManager::isInitialized()
{
    return g_networkInitialized.load();
}

NetworkManager& NetworkManager::getInstance()
{
    // Destroyed at exit: the destructor stops and joins the worker.
    static NetworkManager instance;
    return instance;
}

NetworkManager::NetworkManager()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, wakeSockets_) != 0) {
        LOG_ERROR << "network: cannot create the wake-up socket pair:" << std::strerror(errno);
        wakeSockets_[0] = wakeSockets_[1] = -1;
        return;
    }
    ::fcntl(wakeSockets_[1], F_SETFL, ::fcntl(wakeSockets_[1], F_GETFL) | O_NONBLOCK);
    multi_ = curl_multi_init();
    if (!multi_) {
        LOG_ERROR << "network: curl_multi_init failed";
        return;
    }
    running_ = true;
    worker_ = std::thread(&NetworkManager::workerLoop, this);
}

NetworkManager::~NetworkManager()
{
    stop();
    if (multi_)
        curl_multi_cleanup(static_cast<CURLM*>(multi_));
    for (int& fd : wakeSockets_) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void NetworkManager::sendCommand(uint32_t command)
{
    unsigned char bytes[4];
    encodeCommand(command, bytes);
    if (wakeSockets_[0] < 0 || !writeAll(wakeSockets_[0], bytes, sizeof(bytes)))
        LOG_ERROR << "network: cannot wake the worker, command" << command;
}

bool NetworkManager::send(const std::shared_ptr<RequestAction>& action)
{
    if (!action)
        return false;
    if (!isInitialized() || !running_) {
        // Nothing can carry the request: it fails like a transfer that could
        // not connect, on the next drain.
        action->setTransferResult(CURLE_FAILED_INIT, "network not available");
        postCompleted(std::move(action));
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(queueMutex_);
        toAdd_.push_back(action);
        ++inFlight_;
    }
    sendCommand(CommandAdd);
    return true;
}

void NetworkManager::cancel(const std::shared_ptr<RequestAction>& action)
{
    if (!action)
        return;
    action->markCancelled();
    if (!running_)
        return;
    {
        std::lock_guard<std::mutex> lock(queueMutex_);
        toRemove_.push_back(action);
    }
    sendCommand(CommandRemove);
}

void NetworkManager::stop()
{
    if (worker_.joinable()) {
        sendCommand(CommandStop);
        worker_.join();
    }
    running_ = false;
}

void NetworkManager::postCompleted(std::shared_ptr<Action> action)
{
    std::lock_guard<std::mutex> lock(completedMutex_);
    completed_.push_back(std::move(action));
    pending_ = true;
}

size_t NetworkManager::runPendingActions()
{
    if (!pending_)
        return 0;
    std::list<std::shared_ptr<Action>> ready;
    {
        std::lock_guard<std::mutex> lock(completedMutex_);
        ready.swap(completed_);
        pending_ = false;
    }
    size_t run = 0;
    for (const auto& action : ready) {
        auto requestAction = std::dynamic_pointer_cast<RequestAction>(action);
        if (requestAction && requestAction->isCancelled())
            continue;
        ++run;
        if (!action->execute())
            Logger(45).setLevel(2) << "Action failed";
    }
    return run;
}

size_t NetworkManager::pendingRequestCount()
{
    return inFlight_.load();
}

void NetworkManager::finishTransfer(void* easy, int curlResult)
{
    auto found = std::find_if(active_.begin(), active_.end(),
                              [easy](const auto& action) { return action->request().handle() == easy; });
    if (found == active_.end())
        return;
    std::shared_ptr<RequestAction> action = *found;
    active_.erase(found);
    curl_multi_remove_handle(static_cast<CURLM*>(multi_), static_cast<CURL*>(easy));
    action->request().collectResult();
    // A transfer the stall limit ended timed out, whatever libcurl calls it.
    if (action->request().stalled())
        curlResult = CURLE_OPERATION_TIMEDOUT;
    action->setTransferResult(
        curlResult,
        curlResult == CURLE_OK ? std::string() : std::string(curl_easy_strerror(static_cast<CURLcode>(curlResult))));
    if (inFlight_ > 0)
        --inFlight_;
    // Cancelled ones go too: the main thread skips them, and they are freed
    // there (their callbacks may hold engine objects).
    postCompleted(std::move(action));
}

void NetworkManager::workerLoop()
{
    CURLM* multi = static_cast<CURLM*>(multi_);
    unsigned char commandBytes[4];
    size_t commandFill = 0;
    bool stopping = false;

    while (!stopping) {
        curl_waitfd wake{};
        wake.fd = wakeSockets_[1];
        wake.events = CURL_WAIT_POLLIN;
        int ready = 0;
        curl_multi_wait(multi, &wake, 1, 1000, &ready);

        // Commands: read every whole 4-byte word waiting on the socket.
        for (;;) {
            ssize_t got = ::recv(wakeSockets_[1], commandBytes + commandFill, sizeof(commandBytes) - commandFill, 0);
            if (got <= 0) {
                if (got == 0)
                    stopping = true;  // the main side is gone
                break;
            }
            commandFill += static_cast<size_t>(got);
            if (commandFill < sizeof(commandBytes))
                continue;
            commandFill = 0;
            uint32_t command = commandBytes[0] | (commandBytes[1] << 8) | (commandBytes[2] << 16) |
                (static_cast<uint32_t>(commandBytes[3]) << 24);
            if (command == CommandStop) {
                stopping = true;
                break;
            }
            if (command == CommandAdd) {
                std::vector<std::shared_ptr<RequestAction>> adding;
                {
                    std::lock_guard<std::mutex> lock(queueMutex_);
                    adding.swap(toAdd_);
                }
                for (auto& action : adding) {
                    if (action->isCancelled()) {
                        if (inFlight_ > 0)
                            --inFlight_;
                        postCompleted(std::move(action));
                        continue;
                    }
                    CURL* easy = static_cast<CURL*>(action->request().prepareHandle());
                    if (!easy || curl_multi_add_handle(multi, easy) != CURLM_OK) {
                        action->setTransferResult(CURLE_FAILED_INIT, "cannot start the transfer");
                        if (inFlight_ > 0)
                            --inFlight_;
                        postCompleted(std::move(action));
                        continue;
                    }
                    active_.push_back(std::move(action));
                }
            } else if (command == CommandRemove) {
                std::vector<std::shared_ptr<RequestAction>> removing;
                {
                    std::lock_guard<std::mutex> lock(queueMutex_);
                    removing.swap(toRemove_);
                }
                for (auto& action : removing) {
                    auto found = std::find(active_.begin(), active_.end(), action);
                    if (found == active_.end()) {
                        postCompleted(std::move(action));  // freed on the main thread
                        continue;
                    }
                    curl_multi_remove_handle(multi, static_cast<CURL*>(action->request().handle()));
                    active_.erase(found);
                    if (inFlight_ > 0)
                        --inFlight_;
                    postCompleted(std::move(action));
                }
            } else {
                LOG_ERROR << "network: unknown worker command" << command;
            }
        }
        if (stopping)
            break;

        int stillRunning = 0;
        curl_multi_perform(multi, &stillRunning);
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
            if (message->msg == CURLMSG_DONE)
                finishTransfer(message->easy_handle, message->data.result);
        }
    }

    // Requests in flight at exit are dropped: their actions never run, and
    // they are handed back so that the main thread frees them.
    std::vector<std::shared_ptr<RequestAction>> dropped;
    dropped.swap(active_);
    {
        std::lock_guard<std::mutex> lock(queueMutex_);
        dropped.insert(dropped.end(), toAdd_.begin(), toAdd_.end());
        toAdd_.clear();
        toRemove_.clear();
    }
    for (auto& action : dropped) {
        if (action->request().handle())
            curl_multi_remove_handle(multi, static_cast<CURL*>(action->request().handle()));
        action->markCancelled();
        postCompleted(std::move(action));
    }
    inFlight_ = 0;
    running_ = false;
}

void runPendingActions()
{
    NetworkManager::getInstance().runPendingActions();
}
