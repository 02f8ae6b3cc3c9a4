#pragma once
// One HTTP request: a libcurl easy handle with its URL, method, body, headers,
// connect time-out and redirects, and the Response its transfer fills.
// Built on the main thread; performed by the network worker; read back on the
// main thread once its action is posted.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct Response {
    long statusCode = 0;
    std::string url;                                           // the effective URL after redirects
    std::vector<std::pair<std::string, std::string>> headers;  // in arrival order
    std::string body;

    // First header of that name, compared without case; empty when absent.
    std::string header(const std::string& name) const;
};

class Request {
public:
    enum class Method { Get, Post, Put, Delete };

    explicit Request(const std::string& url, Method method = Method::Get);
    ~Request();
    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;

    void setBody(const std::string& body) { body_ = body; }
    void addHeader(const std::string& name, const std::string& value);
    void setConnectTimeout(long seconds) { connectTimeout_ = seconds; }
    // Whole-transfer limit so that a server that never answers cannot hold a
    // request for ever; 0 for none.
    void setTransferTimeoutMs(long milliseconds) { transferTimeoutMs_ = milliseconds; }
    // Ends the transfer as timed out when no byte has gone either way for
    // this long (0: never). A large transfer may take as long as it keeps
    // moving.
    void setStallTimeoutMs(long milliseconds) { stallTimeoutMs_ = milliseconds; }
    // The stall limit ended the transfer (worker thread, then read back).
    bool stalled() const { return stalled_; }
    void setFollowRedirects(bool follow) { followRedirects_ = follow; }
    // A body larger than this ends the transfer as failed: the server's
    // answers are untrusted and held whole in memory.
    void setMaxBodySize(size_t bytes) { maxBodySize_ = bytes; }

    const std::string& url() const { return url_; }
    Method method() const { return method_; }
    const std::string& body() const { return body_; }

    // Builds the easy handle (worker thread, before adding it to the multi
    // handle). Null when libcurl refuses.
    void* prepareHandle();
    void* handle() const { return easy_; }
    // Collects status and effective URL after the transfer (worker thread).
    void collectResult();

    Response& response() { return response_; }
    const Response& response() const { return response_; }

private:
    static size_t onBody(char* data, size_t size, size_t count, void* self);
    static size_t onHeader(char* data, size_t size, size_t count, void* self);
    // libcurl's progress callback (its counts are curl_off_t, int64_t here).
    static int onProgress(void* self, int64_t downloadTotal, int64_t downloaded, int64_t uploadTotal, int64_t uploaded);

    std::string url_;
    Method method_;
    std::string body_;
    std::vector<std::string> headerLines_;
    long connectTimeout_ = 10;
    long transferTimeoutMs_ = 60000;
    long stallTimeoutMs_ = 0;
    int64_t receivedBytes_ = 0;  // head and body
    int64_t movedBytes_ = -1;    // up and down, at the last progress seen
    int64_t movedAtUs_ = 0;      // on libcurl's clock of this transfer
    bool stalled_ = false;
    bool followRedirects_ = true;
    size_t maxBodySize_ = 32u << 20;
    void* easy_ = nullptr;        // CURL*
    void* headerList_ = nullptr;  // curl_slist*
    Response response_;
};
