#pragma once
// The gallery's store in one SQLite file: write-ahead log (readers never wait
// for the writer), a busy time-out (writers queue rather than fail), one
// connection per concurrent caller from a pool. Blobs and screenshots sit in
// their own table so that lists never read them. The log is emptied into the
// database whenever a write leaves it longer than the limit, so it stays
// about that size however busy the readers are.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "server/GalleryStore.h"

struct sqlite3;

namespace gallery {

class SqliteGalleryStore : public GalleryStore {
public:
    static constexpr int64_t kLogLimitBytes = 64 * 1024 * 1024;

    // Opens (creating when missing) the database file and its tables. False,
    // with the reason, when the file cannot be opened or is not this store's.
    bool open(const std::string& path, std::string& why);
    explicit SqliteGalleryStore(int64_t logLimitBytes = kLogLimitBytes);
    ~SqliteGalleryStore() override;

    StoreStatus createPlayer(const NewPlayer& player, int64_t& id) override;
    std::optional<PlayerSecret> playerSecret(int64_t playerId) override;
    const std::string& requestSecret() const override { return m_requestSecret; }
    StoreStatus addWorld(const NewWorld& world, int64_t& id) override;
    int64_t countWorlds(const std::string& search) override;
    std::vector<WorldInfo> listWorlds(const PageQuery& query) override;
    std::optional<WorldInfo> world(int64_t worldId) override;
    std::optional<std::string> takeWorldData(int64_t worldId, int64_t playerId) override;
    std::optional<std::string> screenshot(int64_t worldId) override;
    StoreStatus rateWorld(int64_t worldId, int64_t playerId, int stars, RatingTotals& totals) override;
    int playerRating(int64_t worldId, int64_t playerId) override;
    StoreStatus deleteWorld(int64_t worldId, int64_t playerId) override;

    class Connection;

private:
    // A connection for the length of one call, back to the pool after.
    class Lease {
    public:
        explicit Lease(SqliteGalleryStore& store);
        ~Lease();
        Connection* operator->() { return m_connection; }
        Connection& operator*() { return *m_connection; }
        explicit operator bool() const { return m_connection != nullptr; }

    private:
        SqliteGalleryStore& m_store;
        Connection* m_connection;
    };

    Connection* acquire();
    void release(Connection* connection);

    std::string m_path;
    std::string m_requestSecret;
    const int64_t m_logLimit;
    std::mutex m_poolMutex;
    std::vector<std::unique_ptr<Connection>> m_all;
    std::vector<Connection*> m_free;
    std::mutex m_writeMutex;
};

}  // namespace gallery
