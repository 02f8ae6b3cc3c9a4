#pragma once
// A plain HTTP client for the server's tests: the requests of the gallery
// API as a tester writes them, with the answers' status and JSON.
#include <httplib.h>

#include <string>

#include "base/Base64.h"
#include "base/json/Json.h"

namespace servertest {

struct Player {
    int64_t id = 0;
    std::string key;
    std::string credentials() const { return "id=" + std::to_string(id) + "&key=" + key; }
};

struct Answer {
    int status = 0;
    std::string body;
    json::Document json() const { return json::Document::parse(body); }
};

class GalleryClient {
public:
    // keepAlive: one connection for all requests, as the game's client does;
    // else a new connection for each.
    explicit GalleryClient(int port, bool keepAlive = true) : m_http("127.0.0.1", port)
    {
        m_http.set_tcp_nodelay(true);
        m_http.set_keep_alive(keepAlive);
        m_http.set_read_timeout(60, 0);
    }

    Answer get(const std::string& path) { return wrap(m_http.Get(path.c_str())); }
    Answer post(const std::string& path, const std::string& body, const char* type = "application/json")
    {
        return wrap(m_http.Post(path.c_str(), body, type));
    }
    Answer remove(const std::string& path) { return wrap(m_http.Delete(path.c_str())); }

    Player registerPlayer(const std::string& nickname)
    {
        const Answer a =
            post("/v1/players",
                 json::objectJson({json::stringNode("nickname", nickname), json::stringNode("UUID", "uuid-" + nickname),
                                   json::stringNode("device_model", "test")}));
        Player p;
        if (a.status == 201) {
            p.id = a.json().find("id")->intValue();
            p.key = a.json().find("key")->stringValue();
        }
        return p;
    }

    static std::string uploadBody(const std::string& name, const std::string& description, const std::string& blob,
                                  const std::string& png)
    {
        return json::objectJson({json::stringNode("name", name), json::stringNode("description", description),
                                 json::stringNode("data", base64Encode(blob)),
                                 json::stringNode("screenshot", base64Encode(png))});
    }

    // The new world's id, or 0.
    int64_t upload(const Player& p, const std::string& name, const std::string& blob, const std::string& png)
    {
        const Answer a = post("/v1/worlds?" + p.credentials(), uploadBody(name, "", blob, png));
        return a.status == 201 ? a.json().find("id")->intValue() : 0;
    }

private:
    static Answer wrap(const httplib::Result& result)
    {
        Answer a;
        if (result) {
            a.status = result->status;
            a.body = result->body;
        } else {
            a.body = httplib::to_string(result.error());
        }
        return a;
    }

    httplib::Client m_http;
};

}  // namespace servertest
