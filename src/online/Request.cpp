#include "online/Request.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <type_traits>

static_assert(std::is_same_v<curl_off_t, int64_t>, "the progress callback's counts");

namespace {

bool sameTextIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string trimmed(const std::string& text)
{
    size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string::npos)
        return "";
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(start, end - start + 1);
}

}  // namespace

std::string Response::header(const std::string& name) const
{
    for (const auto& entry : headers)
        if (sameTextIgnoringCase(entry.first, name))
            return entry.second;
    return "";
}

Request::Request(const std::string& url, Method method) : url_(url), method_(method) { }

Request::~Request()
{
    if (easy_)
        curl_easy_cleanup(static_cast<CURL*>(easy_));
    if (headerList_)
        curl_slist_free_all(static_cast<curl_slist*>(headerList_));
}

void Request::addHeader(const std::string& name, const std::string& value)
{
    // A header line cannot carry line breaks: they would start a new header.
    std::string line = name + ": " + value;
    line.erase(std::remove_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }), line.end());
    headerLines_.push_back(line);
}

size_t Request::onBody(char* data, size_t size, size_t count, void* self)
{
    size_t bytes = size * count;
    Request* request = static_cast<Request*>(self);
    if (request->response_.body.size() + bytes > request->maxBodySize_)
        return 0;  // libcurl ends the transfer with a write error
    request->response_.body.append(data, bytes);
    request->receivedBytes_ += static_cast<int64_t>(bytes);
    return bytes;
}

size_t Request::onHeader(char* data, size_t size, size_t count, void* self)
{
    size_t bytes = size * count;
    static_cast<Request*>(self)->receivedBytes_ += static_cast<int64_t>(bytes);
    Response& response = static_cast<Request*>(self)->response_;
    std::string line(data, bytes);
    if (line.rfind("HTTP/", 0) == 0) {
        // A new status line (after a redirect or a 100 Continue): its headers
        // replace the earlier ones.
        response.headers.clear();
        return bytes;
    }
    size_t colon = line.find(':');
    if (colon != std::string::npos)
        response.headers.emplace_back(trimmed(line.substr(0, colon)), trimmed(line.substr(colon + 1)));
    return bytes;
}

int Request::onProgress(void* self, int64_t, int64_t, int64_t, int64_t uploaded)
{
    Request* request = static_cast<Request*>(self);
    if (request->stallTimeoutMs_ <= 0 || !request->easy_)
        return 0;
    curl_off_t spent = 0;
    curl_easy_getinfo(static_cast<CURL*>(request->easy_), CURLINFO_TOTAL_TIME_T, &spent);
    // The head counts as much as the body: a slow server's answer moves.
    const int64_t moved = request->receivedBytes_ + uploaded;
    if (moved != request->movedBytes_) {
        request->movedBytes_ = moved;
        request->movedAtUs_ = spent;
        return 0;
    }
    if (spent - request->movedAtUs_ < static_cast<int64_t>(request->stallTimeoutMs_) * 1000)
        return 0;
    request->stalled_ = true;
    return 1;  // libcurl ends the transfer
}

void* Request::prepareHandle()
{
    if (easy_)
        return easy_;
    CURL* curl = curl_easy_init();
    if (!curl)
        return nullptr;
    easy_ = curl;
    response_ = Response();

    curl_easy_setopt(curl, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // The server speaks HTTP(S) only; never follow a redirect anywhere else.
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, followRedirects_ ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, connectTimeout_);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, transferTimeoutMs_);
    if (stallTimeoutMs_ > 0) {
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Request::onProgress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    }
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Request::onBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &Request::onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, this);

    switch (method_) {
    case Method::Get: curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L); break;
    case Method::Post:
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body_.size()));
        curl_easy_setopt(curl, CURLOPT_COPYPOSTFIELDS, body_.c_str());
        break;
    case Method::Put:
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "PUT");
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body_.size()));
        curl_easy_setopt(curl, CURLOPT_COPYPOSTFIELDS, body_.c_str());
        break;
    case Method::Delete: curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "DELETE"); break;
    }

    curl_slist* list = nullptr;
    for (const std::string& line : headerLines_)
        list = curl_slist_append(list, line.c_str());
    headerList_ = list;
    if (list)
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
    return easy_;
}

void Request::collectResult()
{
    if (!easy_)
        return;
    CURL* curl = static_cast<CURL*>(easy_);
    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    response_.statusCode = code;
    char* effective = nullptr;
    curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &effective);
    response_.url = effective ? effective : url_;
}
