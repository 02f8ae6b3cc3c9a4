#pragma once
// The world-sharing server's HTTP side: the /v1 routes of docs/server-api.md
// over a GalleryStore, each request read by GalleryRequests, each upload
// checked by UploadCheck. Plain HTTP; a TLS proxy goes in front of it.
#include <memory>
#include <string>

namespace httplib {
class Server;
}

namespace gallery {

class GalleryStore;
class UploadCheck;

class GalleryServer {
public:
    GalleryServer(GalleryStore& store, const UploadCheck& check);
    ~GalleryServer();

    // Binds the address; port 0 takes any free port. The port bound, or -1.
    int bind(const std::string& host, int port);
    // Serves until stop(); false when it could not.
    bool serve();
    // From any thread: stops taking connections and ends serve().
    void stop();

private:
    void routes();
    std::unique_ptr<httplib::Server> m_http;
    GalleryStore& m_store;
    const UploadCheck& m_check;
};

}  // namespace gallery
