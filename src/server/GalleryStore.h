#pragma once
// Where the gallery keeps players, worlds, ratings and downloads. The server
// speaks only to this interface; SqliteGalleryStore is the one store built.
// Every call that writes is one transaction: it happens whole or not at all.
// Calls may come from many threads at once.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/KeyHash.h"

namespace gallery {

enum class Order { Newest, TopRated, MostDownloaded };

struct PlayerSecret {
    std::string salt;
    keyhash::Digest keyHash{};
};

struct NewPlayer {
    std::string nickname;
    std::string platformId;  // "UUID"
    std::string deviceModel;
    PlayerSecret secret;
    // The client's id of the request (empty: none). A repeat of it with the
    // same nickname answers for the player it made.
    std::string requestId;
};

// One world as the list and the details show it.
struct WorldInfo {
    int64_t id = 0;
    std::string name;
    std::string description;
    std::string author;  // the author's nickname
    int64_t authorId = 0;
    int64_t created = 0;  // seconds since 1970, UTC
    int64_t ratingSum = 0;
    int64_t ratings = 0;
    int64_t downloads = 0;
    double average() const { return ratings > 0 ? static_cast<double>(ratingSum) / ratings : 0.0; }
};

struct NewWorld {
    int64_t authorId = 0;
    std::string name;
    std::string description;
    std::string blob;
    std::string screenshot;
    int64_t created = 0;
    // The client's id of the request (empty: none). The author's repeat of
    // it with the same world answers with the world it made while that
    // world is there.
    std::string requestId;
};

struct PageQuery {
    Order order = Order::Newest;
    int64_t offset = 0;
    int64_t limit = 20;
    std::string search;  // on name and author; empty: every world
};

struct RatingTotals {
    int64_t ratingSum = 0;
    int64_t ratings = 0;
};

// What a write found; the server turns each into its status.
// Repeated: the request's id was done before; the answer is what it made.
// Conflict: the id was done before for another request (another nickname,
// another world); nothing is made and nothing handed out.
enum class StoreStatus { Ok, Repeated, Conflict, NicknameTaken, NoSuchWorld, NotTheAuthor, Failed };

class GalleryStore {
public:
    virtual ~GalleryStore() = default;

    // The new player's id, or NicknameTaken (nicknames compare by the key
    // of CaseFold.h); Repeated with the id of the player the request's id
    // made before for the same nickname, Conflict when for another.
    virtual StoreStatus createPlayer(const NewPlayer& player, int64_t& id) = 0;
    virtual std::optional<PlayerSecret> playerSecret(int64_t playerId) = 0;
    // The store's own random secret, made with it, that the keys of
    // registrations with an id are derived under.
    virtual const std::string& requestSecret() const = 0;

    // The new world's id; Repeated with the id of the world the request's id
    // made before with the same name, description and data, Conflict when
    // with others.
    virtual StoreStatus addWorld(const NewWorld& world, int64_t& id) = 0;
    virtual int64_t countWorlds(const std::string& search) = 0;
    virtual std::vector<WorldInfo> listWorlds(const PageQuery& query) = 0;
    virtual std::optional<WorldInfo> world(int64_t worldId) = 0;
    // The blob; counts one download the first time each player takes it.
    virtual std::optional<std::string> takeWorldData(int64_t worldId, int64_t playerId) = 0;
    virtual std::optional<std::string> screenshot(int64_t worldId) = 0;
    // Stars 1..5; a player's later rating replaces the earlier one.
    virtual StoreStatus rateWorld(int64_t worldId, int64_t playerId, int stars, RatingTotals& totals) = 0;
    // 0 when the player has not rated the world.
    virtual int playerRating(int64_t worldId, int64_t playerId) = 0;
    // Only by its author; the world goes with its data, picture, ratings and
    // downloads.
    virtual StoreStatus deleteWorld(int64_t worldId, int64_t playerId) = 0;
};

}  // namespace gallery
