#include "LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

const char* reasonFor(int status)
{
    switch (status) {
    case 200: return "OK";
    case 201: return "Created";
    case 202: return "Accepted";
    case 403: return "Forbidden";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

// Waits for the fd to be readable for at most `ms`; false on time-out.
bool waitReadable(int fd, int ms)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0;
}

}  // namespace

std::string ReceivedRequest::header(const std::string& name) const
{
    for (const auto& h : headers)
        if (lower(h.first) == lower(name))
            return h.second;
    return "";
}

LoopbackHttpServer::LoopbackHttpServer(Handler handler, int maxConnections, int lifetimeSeconds)
    : handler_(std::move(handler)), maxConnections_(maxConnections), lifetimeSeconds_(lifetimeSeconds)
{
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::listen(listenFd_, 8);
    socklen_t length = sizeof(address);
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread(&LoopbackHttpServer::serve, this);
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    stop();
}

void LoopbackHttpServer::stop()
{
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
    if (listenFd_ >= 0)
        ::close(listenFd_);
    listenFd_ = -1;
}

std::string LoopbackHttpServer::url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<ReceivedRequest> LoopbackHttpServer::received()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

std::string LoopbackHttpServer::refusingUrl()
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    socklen_t length = sizeof(address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    // Kept bound and never listening until the test process ends: closed, the
    // port could go to a server another test starts meanwhile.
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

void LoopbackHttpServer::serve()
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(lifetimeSeconds_);
    int served = 0;
    while (!stopping_ && served < maxConnections_ && std::chrono::steady_clock::now() < deadline) {
        if (!waitReadable(listenFd_, 50))
            continue;
        int client = ::accept(listenFd_, nullptr, nullptr);
        if (client < 0)
            continue;
        ++served;

        // Read the head, then the body by its Content-Length.
        std::string data;
        size_t headEnd = std::string::npos;
        size_t wanted = std::string::npos;
        char buffer[4096];
        while (!stopping_ && std::chrono::steady_clock::now() < deadline) {
            if (headEnd != std::string::npos && data.size() >= wanted)
                break;
            if (!waitReadable(client, 50))
                continue;
            ssize_t got = ::recv(client, buffer, sizeof(buffer), 0);
            if (got <= 0)
                break;
            data.append(buffer, static_cast<size_t>(got));
            if (headEnd == std::string::npos) {
                headEnd = data.find("\r\n\r\n");
                if (headEnd != std::string::npos) {
                    size_t length = 0;
                    std::string head = lower(data.substr(0, headEnd));
                    size_t at = head.find("content-length:");
                    if (at != std::string::npos)
                        length = std::strtoul(head.c_str() + at + 15, nullptr, 10);
                    wanted = headEnd + 4 + length;
                }
            }
        }

        ReceivedRequest request;
        if (headEnd != std::string::npos) {
            std::string head = data.substr(0, headEnd);
            size_t lineEnd = head.find("\r\n");
            std::string first = head.substr(0, lineEnd);
            size_t space1 = first.find(' ');
            size_t space2 = first.find(' ', space1 + 1);
            request.method = first.substr(0, space1);
            request.path = first.substr(space1 + 1, space2 - space1 - 1);
            size_t pos = lineEnd == std::string::npos ? head.size() : lineEnd + 2;
            while (pos < head.size()) {
                size_t end = head.find("\r\n", pos);
                if (end == std::string::npos)
                    end = head.size();
                std::string line = head.substr(pos, end - pos);
                size_t colon = line.find(':');
                if (colon != std::string::npos) {
                    std::string value = line.substr(colon + 1);
                    value.erase(0, value.find_first_not_of(' '));
                    request.headers.emplace_back(line.substr(0, colon), value);
                }
                pos = end + 2;
            }
            request.body = data.substr(headEnd + 4);
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            received_.push_back(request);
        }

        CannedResponse response = handler_(request);
        if (response.hang) {
            while (!stopping_ && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } else if (!response.cut) {
            std::string reply = "HTTP/1.1 " + std::to_string(response.status) + " " + reasonFor(response.status) +
                "\r\nContent-Type: " + response.contentType +
                "\r\nContent-Length: " + std::to_string(response.body.size()) +
                "\r\nX-Test: loopback\r\nConnection: close\r\n\r\n" + response.body;
            // Trickled: the head at once, then the body in parts.
            const size_t head = reply.size() - response.body.size();
            const size_t part = response.trickleMs > 0 ? response.body.size() / 8 + 1 : reply.size();
            size_t sent = 0;
            while (sent < reply.size()) {
                if (sent >= head && sent > 0 && response.trickleMs > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(response.trickleMs));
                const size_t size = sent < head && response.trickleMs > 0 ? head - sent : part;
                ssize_t n = ::send(client, reply.data() + sent, std::min(size, reply.size() - sent), MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += static_cast<size_t>(n);
            }
        }
        ::close(client);
    }
}
