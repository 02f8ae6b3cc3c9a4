#include "server/GalleryServer.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>

#include "server/ServerLog.h"
#include "base/json/Json.h"
#include "server/GalleryRequests.h"
#include "server/GalleryStore.h"
#include "server/KeyHash.h"
#include "server/UploadCheck.h"

namespace gallery {

namespace {

// Every connection keeps a thread while it is open: enough for many
// keep-alive clients at once, each served up to kRequestsPerConnection times.
constexpr size_t kThreads = 64;
constexpr size_t kRequestsPerConnection = 1000;
constexpr time_t kIdleSeconds = 5;
// A request that takes longer than this to arrive is dropped.
constexpr time_t kReadSeconds = 30;

constexpr const char* kJson = "application/json";

void answer(httplib::Response& res, int status, const std::string& body)
{
    res.status = status;
    res.set_content(body, kJson);
}

void fail(httplib::Response& res, const ApiError& error)
{
    answer(res, error.status, errorJson(error.message));
}

// The largest body: a whole world and a screenshot, in base64, with room
// for the texts.
uint64_t largestBody(const UploadCheck& check)
{
    return (check.largestBlobSize() + UploadCheck::kMaxScreenshotBytes) / 3 * 4 + 64 * 1024;
}

// The library keeps a connection open after every answer that it writes
// whole. An answer given before the body was read must end its connection,
// or the body's bytes, sent later, would be read as the next request: its
// text goes out through a provider that then reports a failure, and the
// library closes the connection.
void answerAndClose(httplib::Response& res, const ApiError& error)
{
    res.status = error.status;
    res.set_header("Connection", "close");
    std::string body = errorJson(error.message);
    const size_t length = body.size();
    res.set_content_provider(length, kJson, [body](size_t offset, size_t, httplib::DataSink& sink) {
        sink.write(body.data() + offset, body.size() - offset);
        return false;
    });
}

// The body's framing, from the headers alone. The library would wait for a
// declared body before a route is chosen, even one too large to be read,
// and would read one without a length (in chunks, or up to the
// connection's end) with no limit at all.
ApiError checkBodyLength(const httplib::Request& req, uint64_t largest)
{
    if (req.has_header("Transfer-Encoding"))
        return {411, "the body must be sent whole, with its length (Content-Length), not in chunks"};
    const size_t lengths = req.get_header_value_count("Content-Length");
    if (lengths == 0) {
        if (req.method == "POST" || req.method == "PUT" || req.method == "PATCH")
            return {411, "the body's length (Content-Length) is missing"};
        return {};
    }
    if (lengths > 1)
        return {400, "the body's length (Content-Length) is given twice"};
    const std::string text = req.get_header_value("Content-Length");
    uint64_t length = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return {400, "the body's length (Content-Length) is not a number of bytes"};
        // Past the largest, more digits only make it larger.
        if (length <= largest)
            length = length * 10 + static_cast<uint64_t>(c - '0');
    }
    if (text.empty())
        return {400, "the body's length (Content-Length) is not a number of bytes"};
    if (length > largest)
        return {413, "the request is larger than any upload can be"};
    return {};
}

// A body refused before it is read: one that its length does not frame, one
// too large, or one that is not JSON (a form, say), with words that say so
// rather than the library's form limit.
ApiError refuseBody(const httplib::Request& req, uint64_t largest)
{
    if (ApiError e = checkBodyLength(req, largest))
        return e;
    if (req.method == "POST" &&
        (req.get_header_value_count("Content-Type") != 1 || !isJsonType(req.get_header_value("Content-Type"))))
        return {415, "the body must be JSON (Content-Type: application/json)"};
    return {};
}

ApiError storeFailed()
{
    return {500, "the server could not store or read that; try again"};
}

// The caller's player, checked against the stored hash of its key.
ApiError authenticate(GalleryStore& store, const std::optional<Credentials>& credentials)
{
    if (!credentials)
        return {};
    std::optional<PlayerSecret> secret = store.playerSecret(credentials->playerId);
    // An unknown player costs the same hash as a known one.
    const PlayerSecret checked = secret.value_or(PlayerSecret{});
    const bool match = keyhash::sameDigest(keyhash::hashKey(checked.salt, credentials->key), checked.keyHash);
    if (!secret || !match)
        return {401, "unknown player or wrong key"};
    return {};
}

// Parameters are read from the target as sent (readQuery), never from the
// library's req.params: it drops a parameter repeated with the same value.
ApiError readPlayer(GalleryStore& store, const Params& params, bool required, std::optional<Credentials>& credentials)
{
    if (ApiError e = readCredentials(params, required, credentials))
        return e;
    return authenticate(store, credentials);
}

// A request about one world ({id} in the path), for a player when required.
ApiError readWorldRequest(GalleryStore& store, const httplib::Request& req, bool playerRequired, int64_t& world,
                          std::optional<Credentials>& player)
{
    if (ApiError e = readWorldId(req.matches[1], world))
        return e;
    return readPlayer(store, readQuery(req.target), playerRequired, player);
}

// The library listens with a queue of 5 connections: a burst of new clients
// beyond that has its connections reset. Listening again on the same socket
// only lengthens the queue; the socket is found by its port.
void raiseBacklog(int port)
{
    for (int fd = 3; fd < 1024; ++fd) {
        int listening = 0;
        socklen_t size = sizeof(listening);
        sockaddr_storage address{};
        socklen_t addressSize = sizeof(address);
        if (::getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &size) != 0 || !listening ||
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &addressSize) != 0)
            continue;
        const int boundPort = address.ss_family == AF_INET6
            ? ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port)
            : ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
        if (boundPort == port && ::listen(fd, SOMAXCONN) != 0)
            serverLog(std::string("error: cannot lengthen the connection queue: ") + std::strerror(errno));
    }
}

}  // namespace

GalleryServer::GalleryServer(GalleryStore& store, const UploadCheck& check)
    : m_http(std::make_unique<httplib::Server>()), m_store(store), m_check(check)
{
    httplib::Server& http = *m_http;
    http.new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
    // The library's default shares the port (SO_REUSEPORT): a second server
    // would bind beside this one and take half of its players to another
    // database. Address reuse alone lets a restart bind at once while the
    // last connections linger, and makes a held port fail with EADDRINUSE.
    http.set_socket_options([](socket_t sock) {
        int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    });
    // Without it every keep-alive answer waits for the peer's delayed ACK.
    http.set_tcp_nodelay(true);
    http.set_keep_alive_max_count(kRequestsPerConnection);
    http.set_keep_alive_timeout(kIdleSeconds);
    http.set_read_timeout(kReadSeconds, 0);
    http.set_write_timeout(kReadSeconds, 0);
    // Longer bodies get 413 from their header (the pre-routing handler).
    http.set_payload_max_length(largestBody(check));
    routes();
}

GalleryServer::~GalleryServer() = default;

int GalleryServer::bind(const std::string& host, int port)
{
    const int bound = port == 0 ? m_http->bind_to_any_port(host) : (m_http->bind_to_port(host, port) ? port : -1);
    if (bound > 0)
        raiseBacklog(bound);
    return bound;
}

bool GalleryServer::serve()
{
    return m_http->listen_after_bind();
}

void GalleryServer::stop()
{
    m_http->stop();
}

void GalleryServer::routes()
{
    httplib::Server& http = *m_http;
    GalleryStore& store = m_store;
    const UploadCheck& check = m_check;

    http.Post("/v1/players", [&store](const httplib::Request& req, httplib::Response& res) {
        NewPlayer player;
        if (ApiError e = readNewPlayer(req.body, player))
            return fail(res, e);
        // With an id, every repeat of the request gets the same key.
        const std::string key = player.requestId.empty()
            ? keyhash::newKey()
            : keyhash::keyForRequest(store.requestSecret(), player.requestId);
        player.secret.salt = keyhash::newSalt();
        if (key.empty() || player.secret.salt.empty())
            return fail(res, {500, "the server could not make a key; try again"});
        player.secret.keyHash = keyhash::hashKey(player.secret.salt, key);
        int64_t id = 0;
        const StoreStatus status = store.createPlayer(player, id);
        switch (status) {
        case StoreStatus::Ok:
        case StoreStatus::Repeated:
            // A repeat is a registration whose answer never arrived.
            serverLog("player " + std::to_string(id) +
                      (status == StoreStatus::Ok ? " registered" : " registered before: the same request again"));
            return answer(res, 201, json::objectJson({json::intNode("id", id), json::stringNode("key", key)}));
        case StoreStatus::NicknameTaken: return fail(res, {403, "the nickname is taken"});
        case StoreStatus::Conflict:
            serverLog("a registration's id came again with another nickname: refused");
            return fail(res,
                        {409,
                         "this request's id came before with another nickname: a new registration needs a "
                         "new id"});
        default: return fail(res, storeFailed());
        }
    });

    http.Get("/v1/worlds/count", [&store](const httplib::Request& req, httplib::Response& res) {
        const Params params = readQuery(req.target);
        std::optional<Credentials> player;
        std::string search;
        if (ApiError e = readPlayer(store, params, false, player))
            return fail(res, e);
        if (ApiError e = readSearch(params, search))
            return fail(res, e);
        const int64_t count = store.countWorlds(search);
        if (count < 0)
            return fail(res, storeFailed());
        answer(res, 200, json::objectJson({json::intNode("count", count)}));
    });

    http.Get("/v1/worlds", [&store](const httplib::Request& req, httplib::Response& res) {
        const Params params = readQuery(req.target);
        std::optional<Credentials> player;
        PageQuery query;
        if (ApiError e = readPlayer(store, params, false, player))
            return fail(res, e);
        if (ApiError e = readPageQuery(params, query))
            return fail(res, e);
        const int64_t count = store.countWorlds(query.search);
        if (count < 0)
            return fail(res, storeFailed());
        answer(res, 200, pageJson(count, query, store.listWorlds(query)));
    });

    http.Post("/v1/worlds", [&store, &check](const httplib::Request& req, httplib::Response& res) {
        std::optional<Credentials> player;
        if (ApiError e = readPlayer(store, readQuery(req.target), true, player))
            return fail(res, e);
        Upload upload;
        if (ApiError e = readUpload(req.body, check.largestBlobSize(), UploadCheck::kMaxScreenshotBytes, upload))
            return fail(res, e);
        std::string detail;
        std::string why = check.checkWorld(upload.blob, &detail);
        if (!detail.empty())
            serverLog("an upload from player " + std::to_string(player->playerId) + " refused: " + detail);
        if (why.empty())
            why = UploadCheck::checkPng(upload.screenshot);
        if (!why.empty())
            return fail(res, {422, why});
        NewWorld world{
            player->playerId,           std::move(upload.name),       std::move(upload.description),
            std::move(upload.blob),     std::move(upload.screenshot), static_cast<int64_t>(std::time(nullptr)),
            std::move(upload.requestId)};
        int64_t id = 0;
        const StoreStatus status = store.addWorld(world, id);
        if (status == StoreStatus::Conflict) {
            serverLog("an upload's id came again from player " + std::to_string(player->playerId) +
                      " with another world: refused");
            return fail(res,
                        {409,
                         "this request's id came before with another world (its name, description or "
                         "data): a new upload needs a new id"});
        }
        if (status != StoreStatus::Ok && status != StoreStatus::Repeated)
            return fail(res, storeFailed());
        serverLog("world " + std::to_string(id) + (status == StoreStatus::Ok ? " uploaded" : " uploaded before") +
                  " by player " + std::to_string(player->playerId));
        answer(res, 201, json::objectJson({json::intNode("id", id)}));
    });

    http.Get(R"(/v1/worlds/([^/]+))", [&store](const httplib::Request& req, httplib::Response& res) {
        std::optional<Credentials> player;
        int64_t id = 0;
        if (ApiError e = readWorldRequest(store, req, false, id, player))
            return fail(res, e);
        std::optional<WorldInfo> world = store.world(id);
        if (!world)
            return fail(res, {404, "no such world"});
        const int mine = player ? store.playerRating(id, player->playerId) : -1;
        answer(res, 200, worldJson(*world, true, mine));
    });

    http.Get(R"(/v1/worlds/([^/]+)/data)", [&store](const httplib::Request& req, httplib::Response& res) {
        std::optional<Credentials> player;
        int64_t id = 0;
        if (ApiError e = readWorldRequest(store, req, true, id, player))
            return fail(res, e);
        std::optional<std::string> blob = store.takeWorldData(id, player->playerId);
        if (!blob)
            return fail(res, store.world(id) ? storeFailed() : ApiError{404, "no such world"});
        res.status = 200;
        res.set_content(std::move(*blob), "application/octet-stream");
    });

    http.Get(R"(/v1/worlds/([^/]+)/screenshot)", [&store](const httplib::Request& req, httplib::Response& res) {
        int64_t id = 0;
        if (ApiError e = readWorldId(req.matches[1], id))
            return fail(res, e);
        std::optional<std::string> png = store.screenshot(id);
        if (!png)
            return fail(res, {404, "no such world"});
        res.status = 200;
        res.set_content(std::move(*png), "image/png");
    });

    http.Post(R"(/v1/worlds/([^/]+)/ratings)", [&store](const httplib::Request& req, httplib::Response& res) {
        std::optional<Credentials> player;
        int64_t id = 0;
        int stars = 0;
        if (ApiError e = readWorldRequest(store, req, true, id, player))
            return fail(res, e);
        if (ApiError e = readRating(req.body, stars))
            return fail(res, e);
        RatingTotals totals;
        switch (store.rateWorld(id, player->playerId, stars, totals)) {
        case StoreStatus::Ok: {
            WorldInfo rated;
            rated.ratingSum = totals.ratingSum;
            rated.ratings = totals.ratings;
            return answer(res, 200,
                          json::objectJson({json::doubleNode("rating", std::round(rated.average() * 100.0) / 100.0),
                                            json::intNode("ratings", totals.ratings)}));
        }
        case StoreStatus::NoSuchWorld: return fail(res, {404, "no such world"});
        default: return fail(res, storeFailed());
        }
    });

    http.Delete(R"(/v1/worlds/([^/]+))", [&store](const httplib::Request& req, httplib::Response& res) {
        std::optional<Credentials> player;
        int64_t id = 0;
        if (ApiError e = readWorldRequest(store, req, true, id, player))
            return fail(res, e);
        switch (store.deleteWorld(id, player->playerId)) {
        case StoreStatus::Ok:
            serverLog("world " + std::to_string(id) + " deleted by its author " + std::to_string(player->playerId));
            return answer(res, 200, json::objectJson({json::intNode("id", id), json::boolNode("deleted", true)}));
        case StoreStatus::NoSuchWorld: return fail(res, {404, "no such world"});
        case StoreStatus::NotTheAuthor: return fail(res, {403, "only its author may delete a world"});
        default: return fail(res, storeFailed());
        }
    });

    const uint64_t largest = largestBody(check);
    // A client that asks before it sends its body hears a refusal instead of
    // "continue", and sends nothing.
    http.set_expect_100_continue_handler([largest](const httplib::Request& req, httplib::Response& res) {
        // Whole, as every answer (below).
        const_cast<httplib::Request&>(req).ranges.clear();
        const ApiError refused = refuseBody(req, largest);
        if (!refused)
            return 100;
        answerAndClose(res, refused);
        return refused.status;
    });
    http.set_pre_routing_handler([largest](const httplib::Request& req, httplib::Response& res) {
        // Answers go whole: the library would cut any answer, an error's JSON
        // too, to the ranges asked for. The request is the library's own
        // non-const object, handed here as const.
        const_cast<httplib::Request&>(req).ranges.clear();
        const ApiError refused = refuseBody(req, largest);
        if (!refused)
            return httplib::Server::HandlerResponse::Unhandled;
        answerAndClose(res, refused);
        return httplib::Server::HandlerResponse::Handled;
    });

    // What the routes did not answer (no such path, a body too large, ...)
    // still gets a JSON error.
    http.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        // An answer of its own, whole or from a provider, stays as it is.
        if (!res.body.empty() || res.content_provider_)
            return;
        const char* message = "the request cannot be answered";
        if (res.status == 404 || res.status == 405)
            message = "no such request";
        else if (res.status == 413)
            message = "the request is larger than any upload can be";
        else if (res.status == 414)
            message = "the request's address is too long";
        else if (res.status == 416)
            message = "the Range header is malformed (answers are sent whole)";
        else if (res.status == 400)
            message = "the request is malformed";
        else if (res.status >= 500)
            message = "the server failed; try again";
        res.set_content(errorJson(message), kJson);
    });
    http.set_exception_handler([](const httplib::Request& req, httplib::Response& res, std::exception_ptr) {
        serverLog("error: " + req.method + " " + req.path + " failed with an exception");
        answer(res, 500, errorJson("the server failed; try again"));
    });
}

}  // namespace gallery
