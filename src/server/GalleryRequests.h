#pragma once
// The gallery API's requests read from their untrusted parts (query
// parameters, path ids, JSON bodies) into checked values, and its answers
// written as JSON. Nothing here touches the store or the network, so every
// reader can be fed anything.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "server/GalleryStore.h"

namespace gallery {

// The API's limits: what the game's keyboard lets a player type, the world
// record's text fields, a page.
constexpr size_t kMaxNicknameBytes = 15;
constexpr size_t kMaxWorldNameBytes = 15;
constexpr size_t kMaxDescriptionBytes = 255;
constexpr size_t kMaxPlatformTextBytes = 128;
constexpr size_t kMaxSearchBytes = 64;
constexpr size_t kMaxKeyBytes = 255;
// A request's own id, which makes its repeat the same request: at least
// 16 random bytes written out (22 characters in base64, 32 in hex).
constexpr size_t kMinRequestIdBytes = 22;
constexpr size_t kMaxRequestIdBytes = 64;
constexpr int64_t kMaxPageSize = 50;
constexpr int64_t kDefaultPageSize = 20;

using Params = std::multimap<std::string, std::string>;

// An HTTP status with the reason shown to the caller; status 0 is no error.
struct ApiError {
    int status = 0;
    std::string message;
    explicit operator bool() const { return status != 0; }
};

struct Credentials {
    int64_t playerId = 0;
    std::string key;
};

struct Upload {
    std::string name;
    std::string description;
    std::string blob;
    std::string screenshot;
    std::string requestId;  // empty: none given
};

// Every parameter of a request's target ("/v1/worlds?id=7&key=..."), decoded,
// each as often as it was given: the same name twice stays twice, even with
// the same value, so that the readers below can refuse it.
Params readQuery(const std::string& target);
// A Content-Type that says JSON: "application/json" in any case, with or
// without parameters ("; charset=utf-8").
bool isJsonType(const std::string& contentType);

// A player's "id" and "key" from the query. Absent both: nullopt, an error
// only when required (401). One without the other, or either malformed: 400.
ApiError readCredentials(const Params& params, bool required, std::optional<Credentials>& out);
// "order" (newest, rating, downloads; newest when absent), "offset" (0 when
// absent), "limit" (1..50; 20 when absent), "search" (optional).
ApiError readPageQuery(const Params& params, PageQuery& out);
ApiError readSearch(const Params& params, std::string& out);
// A world id from the path: 1 .. 2^53.
ApiError readWorldId(const std::string& text, int64_t& out);

// POST /players: {"nickname", "UUID", "device_model", "request_id"}. A nickname shows
// something (CaseFold.h) and holds no format character (a direction mark, a
// zero-width space...); players stored before keep theirs.
ApiError readNewPlayer(const std::string& body, NewPlayer& out);
// POST /worlds: {"name", "description", "data", "screenshot", "request_id"},
// data and screenshot in base64. Sizes are checked before anything is decoded.
ApiError readUpload(const std::string& body, size_t maxBlobBytes, size_t maxScreenshotBytes, Upload& out);
// POST /worlds/{id}/ratings: {"rating": 1..5}.
ApiError readRating(const std::string& body, int& stars);

// A text a player may give: valid UTF-8, no control characters.
bool isPlayerText(const std::string& text);

// Answers.
// {"error": message}; whatever in the message is not plain UTF-8 text
// becomes "?", so that the answer is always JSON.
std::string errorJson(const std::string& message);
// One world; with its description and, when myRating >= 0, the asking
// player's own rating (0: not rated).
std::string worldJson(const WorldInfo& world, bool withDescription, int myRating);
std::string pageJson(int64_t count, const PageQuery& query, const std::vector<WorldInfo>& worlds);
// "YYYY-MM-DDTHH:MM:SSZ".
std::string isoDate(int64_t secondsSince1970);

const char* orderName(Order order);

}  // namespace gallery
