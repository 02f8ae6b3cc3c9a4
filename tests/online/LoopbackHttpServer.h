#pragma once
// A tiny HTTP/1.1 server on 127.0.0.1 and an ephemeral port, for network
// tests. It serves at most `maxConnections` requests, one connection at a
// time, and stops by itself after `lifetimeSeconds`.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ReceivedRequest {
    std::string method;
    std::string path;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::string header(const std::string& name) const;
};

struct CannedResponse {
    int status = 200;
    std::string body;
    std::string contentType = "application/json";
    bool hang = false;  // read the request, then never answer (until stopped)
    bool cut = false;   // read the request, then close without a word
    int trickleMs = 0;  // the answer's body in eight parts this far apart
};

class LoopbackHttpServer {
public:
    using Handler = std::function<CannedResponse(const ReceivedRequest&)>;

    explicit LoopbackHttpServer(Handler handler, int maxConnections = 8, int lifetimeSeconds = 120);
    ~LoopbackHttpServer();

    int port() const { return port_; }
    std::string url(const std::string& path = "") const;
    std::vector<ReceivedRequest> received();
    void stop();

    // The address of a loopback port that nothing listens on: connections to
    // it are refused.
    static std::string refusingUrl();

private:
    void serve();

    Handler handler_;
    int maxConnections_;
    int lifetimeSeconds_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::vector<ReceivedRequest> received_;
};
