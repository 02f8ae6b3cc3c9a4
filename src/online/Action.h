#pragma once
// Work the network layer hands back to the main thread. An Action is run by
// runPendingActions; a RequestAction carries its Request and, once the worker
// is done with it, calls its response handler or, when the transfer failed,
// its connection-error handler.
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "online/Request.h"

class Action {
public:
    virtual ~Action() = default;
    // Main thread. False is logged as a failed action.
    virtual bool execute() = 0;
};

class RequestAction : public Action, public std::enable_shared_from_this<RequestAction> {
public:
    explicit RequestAction(std::shared_ptr<Request> request) : request_(std::move(request)) { }

    bool execute() override;

    Request& request() { return *request_; }
    const std::shared_ptr<Request>& requestPtr() const { return request_; }

    // Set by the worker when the transfer ends: 0 (CURLE_OK) when the server
    // answered (whatever its status), else libcurl's error code and text.
    void setTransferResult(int curlCode, const std::string& message)
    {
        curlCode_ = curlCode;
        errorMessage_ = message;
    }
    int transferResult() const { return curlCode_; }
    const std::string& transferError() const { return errorMessage_; }

    // Runs once the action has executed (not when it was cancelled): a queue
    // that holds requests back learns that one is done.
    void setFinishedHook(std::function<void(const RequestAction*)> hook) { finishedHook_ = std::move(hook); }

    // A cancelled action is dropped by the worker and never executed.
    void markCancelled() { cancelled_.store(true); }
    bool isCancelled() const { return cancelled_.load(); }

protected:
    // The server answered (any status code).
    virtual bool onResponse(const Response& response) = 0;
    // The transfer failed: no connection, time-out, refused, cut.
    virtual bool onConnectionError(int curlCode, const std::string& message) = 0;

private:
    std::shared_ptr<Request> request_;
    std::function<void(const RequestAction*)> finishedHook_;
    int curlCode_ = -1;
    std::string errorMessage_ = "not performed";
    std::atomic<bool> cancelled_{false};
};
