#pragma once
// One HTTP request: a libcurl easy handle with its URL, method, body, headers,
// connect time-out and redirects, and the Response its transfer fills.
// Built on the main thread; performed by the network worker; read back on the
// main thread once its action is posted.
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
    // request for ever.
    void setTransferTimeout(long seconds) { transferTimeout_ = seconds; }
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

    std::string url_;
    Method method_;
    std::string body_;
    std::vector<std::string> headerLines_;
    long connectTimeout_ = 10;
    long transferTimeout_ = 60;
    bool followRedirects_ = true;
    size_t maxBodySize_ = 32u << 20;
    void* easy_ = nullptr;        // CURL*
    void* headerList_ = nullptr;  // curl_slist*
    Response response_;
};
