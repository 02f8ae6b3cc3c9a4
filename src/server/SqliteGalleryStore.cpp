#include "server/SqliteGalleryStore.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cstring>
#include <unordered_map>
#include <utility>

#include "server/CaseFold.h"
#include "server/ServerLog.h"

namespace gallery {

namespace {

// Writers wait this long for one another before a call fails.
constexpr int kBusyTimeoutMs = 15000;
// How long emptying the log waits for the reads that began before it. Reads
// take milliseconds; one that holds on longer (another program's) only puts
// the emptying off to a later write.
constexpr int kLogWaitMs = 1000;

// players.folded is the nickname's comparison key (CaseFold.h), which
// decides whether a nickname is taken. It is not unique: two players of a
// database written before the key was what it is now, whose names now
// compare alike, both keep their accounts.
const char* const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS players ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " nickname TEXT NOT NULL UNIQUE COLLATE NOCASE,"
    " platform_id TEXT NOT NULL,"
    " device_model TEXT NOT NULL,"
    " salt TEXT NOT NULL,"
    " key_hash BLOB NOT NULL,"
    " created INTEGER NOT NULL,"
    " folded TEXT)",
    // rating is rating_sum / ratings, kept beside them for the top-rated order.
    "CREATE TABLE IF NOT EXISTS worlds ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " author INTEGER NOT NULL REFERENCES players(id),"
    " name TEXT NOT NULL,"
    " description TEXT NOT NULL,"
    " created INTEGER NOT NULL,"
    " rating_sum INTEGER NOT NULL DEFAULT 0,"
    " ratings INTEGER NOT NULL DEFAULT 0,"
    " rating REAL NOT NULL DEFAULT 0,"
    " downloads INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX IF NOT EXISTS worlds_top ON worlds(rating DESC, ratings DESC, id DESC)",
    "CREATE INDEX IF NOT EXISTS worlds_downloaded ON worlds(downloads DESC, id DESC)",
    "CREATE INDEX IF NOT EXISTS worlds_author ON worlds(author)",
    "CREATE TABLE IF NOT EXISTS world_files ("
    " world INTEGER PRIMARY KEY REFERENCES worlds(id),"
    " blob BLOB NOT NULL,"
    " screenshot BLOB NOT NULL)",
    "CREATE TABLE IF NOT EXISTS ratings ("
    " world INTEGER NOT NULL REFERENCES worlds(id),"
    " player INTEGER NOT NULL REFERENCES players(id),"
    " stars INTEGER NOT NULL,"
    " PRIMARY KEY (world, player)) WITHOUT ROWID",
    "CREATE TABLE IF NOT EXISTS downloads ("
    " world INTEGER NOT NULL REFERENCES worlds(id),"
    " player INTEGER NOT NULL REFERENCES players(id),"
    " PRIMARY KEY (world, player)) WITHOUT ROWID",
    "CREATE TABLE IF NOT EXISTS secrets (name TEXT PRIMARY KEY, value BLOB NOT NULL)",
};

// The requests done under a client's id (requestDigest): the player a
// registration made, or the world an upload made. The world is no foreign
// key: a release from before request ids deletes a world with the keys
// checked and without a look at this table, and a key here would refuse
// that. A trigger takes the row away with its world instead, whoever
// deletes it, with the keys checked or not.
const char* const kRequestsColumns = " (digest BLOB PRIMARY KEY,"
                                     " player INTEGER NOT NULL REFERENCES players(id),"
                                     " world INTEGER) WITHOUT ROWID";
const char* const kRequestsGoWithTheirWorlds[] = {
    "CREATE INDEX IF NOT EXISTS requests_world ON requests(world)",
    "CREATE TRIGGER IF NOT EXISTS requests_world_deleted AFTER DELETE ON worlds"
    " BEGIN DELETE FROM requests WHERE world = OLD.id; END",
};

// A request id is kept only as a hash: a registration's id gets its player a
// new key, so a copy of the database must not give it away. An upload's id
// is its author's own: another player's same id is another request.
keyhash::Digest requestDigest(const std::string& requestId, int64_t author)
{
    return keyhash::sha256((author ? "world " + std::to_string(author) + " " : std::string("player ")) + requestId);
}

const char* const kWorldColumns =
    "SELECT w.id, w.name, w.description, p.nickname, w.author, w.created, w.rating_sum, w.ratings, w.downloads"
    " FROM worlds w JOIN players p ON p.id = w.author";
const char* const kSearch = " WHERE (w.name LIKE ?1 ESCAPE '\\' OR p.nickname LIKE ?1 ESCAPE '\\')";

// A LIKE pattern that finds the text anywhere, its own % and _ taken literally.
std::string likePattern(const std::string& text)
{
    std::string out = "%";
    for (char c : text) {
        if (c == '%' || c == '_' || c == '\\')
            out += '\\';
        out += c;
    }
    out += '%';
    return out;
}

std::string columnText(sqlite3_stmt* s, int column)
{
    const unsigned char* text = sqlite3_column_text(s, column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(s, column)))
                : std::string();
}

std::string columnBlob(sqlite3_stmt* s, int column)
{
    const void* bytes = sqlite3_column_blob(s, column);
    const int size = sqlite3_column_bytes(s, column);
    return bytes ? std::string(static_cast<const char*>(bytes), static_cast<size_t>(size)) : std::string();
}

WorldInfo readWorld(sqlite3_stmt* s)
{
    WorldInfo w;
    w.id = sqlite3_column_int64(s, 0);
    w.name = columnText(s, 1);
    w.description = columnText(s, 2);
    w.author = columnText(s, 3);
    w.authorId = sqlite3_column_int64(s, 4);
    w.created = sqlite3_column_int64(s, 5);
    w.ratingSum = sqlite3_column_int64(s, 6);
    w.ratings = sqlite3_column_int64(s, 7);
    w.downloads = sqlite3_column_int64(s, 8);
    return w;
}

}  // namespace

// One database connection with its prepared statements, used by one caller
// at a time.
class SqliteGalleryStore::Connection {
public:
    ~Connection()
    {
        for (auto& [sql, statement] : m_statements)
            sqlite3_finalize(statement);
        sqlite3_close_v2(m_db);
    }

    bool open(const std::string& path, int64_t logLimit, std::string& why)
    {
        const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
        if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
            why = m_db ? sqlite3_errmsg(m_db) : "out of memory";
            return false;
        }
        m_logPath = sqlite3_filename_wal(sqlite3_db_filename(m_db, "main"));
        m_logLimit = logLimit;
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        sqlite3_extended_result_codes(m_db, 1);
        // NORMAL in WAL mode: a commit survives the process being killed (the
        // log is in the system's cache); only a power cut may lose the last.
        for (const char* pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL", "PRAGMA foreign_keys=ON"}) {
            if (!execute(pragma)) {
                why = sqlite3_errmsg(m_db);
                return false;
            }
        }
        return true;
    }

    // SQLite's own checkpoints copy the log into the database only up to the
    // oldest read in progress, and start the log over only at a moment when
    // nothing reads: with readers always busy that moment never comes, and
    // the log grows by every write. Past the limit it is emptied here, with
    // the writers' lock held: new reads then come from the database alone,
    // and the wait is only for the reads already under way. Every commit is
    // in the database before the log is cut.
    void boundLog()
    {
        struct stat info;
        if (::stat(m_logPath.c_str(), &info) != 0 || info.st_size <= m_logLimit)
            return;
        sqlite3_busy_timeout(m_db, kLogWaitMs);
        const int result = sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        if (result != SQLITE_OK)
            serverLog(std::string("error: store: the write-ahead log of ") + std::to_string(info.st_size >> 20) +
                      " MB could not be emptied: " + sqlite3_errmsg(m_db));
    }

    bool execute(const char* sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            serverLog(std::string("error: store: ") + sql + " failed: " + (error ? error : "?"));
            sqlite3_free(error);
            return false;
        }
        return true;
    }

    // A prepared statement, reset and unbound when the use ends.
    class Use {
    public:
        Use(Connection& c, const std::string& sql) : m_statement(c.prepare(sql)), m_db(c.m_db) { }
        ~Use()
        {
            if (m_statement) {
                sqlite3_reset(m_statement);
                sqlite3_clear_bindings(m_statement);
            }
        }
        explicit operator bool() const { return m_statement != nullptr; }
        sqlite3_stmt* get() { return m_statement; }
        Use& bind(int index, int64_t value)
        {
            sqlite3_bind_int64(m_statement, index, value);
            return *this;
        }
        Use& bind(int index, double value)
        {
            sqlite3_bind_double(m_statement, index, value);
            return *this;
        }
        Use& bindText(int index, const std::string& text)
        {
            sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
            return *this;
        }
        Use& bindBlob(int index, const void* data, size_t size)
        {
            sqlite3_bind_blob64(m_statement, index, data, size, SQLITE_STATIC);
            return *this;
        }
        // SQLITE_ROW, SQLITE_DONE or an error (logged).
        int step()
        {
            if (!m_statement)
                return SQLITE_ERROR;
            const int result = sqlite3_step(m_statement);
            if (result != SQLITE_ROW && result != SQLITE_DONE && (result & 0xFF) != SQLITE_CONSTRAINT)
                serverLog(std::string("error: store: ") + sqlite3_errmsg(m_db));
            return result;
        }
        bool done() { return step() == SQLITE_DONE; }

    private:
        sqlite3_stmt* m_statement;
        sqlite3* m_db;
    };

    // What a request id made before, from a query of requests by digest
    // that selects what it made (NULL when that is gone) and whether the
    // request now is the one that made it: Repeated with its id, Conflict
    // when the id came with another request, Ok when it made nothing that
    // is there, Failed when it cannot be read.
    static StoreStatus madeBefore(Use& query, int64_t& id);

    // BEGIN IMMEDIATE: the write lock is taken at the start, so two writers
    // queue instead of failing when one upgrades. Writers of this process
    // queue on a mutex first: SQLite's busy wait sleeps in steps of
    // milliseconds, a mutex hands over at once.
    class Transaction {
    public:
        Transaction(Connection& c, std::mutex& writers)
            : m_writers(writers), m_connection(c), m_open(c.execute("BEGIN IMMEDIATE"))
        {
        }
        ~Transaction()
        {
            if (m_open)
                m_connection.execute("ROLLBACK");
        }
        explicit operator bool() const { return m_open; }
        bool commit()
        {
            if (!m_open)
                return false;
            m_open = false;
            if (m_connection.execute("COMMIT")) {
                m_connection.boundLog();
                return true;
            }
            m_connection.execute("ROLLBACK");
            return false;
        }

    private:
        std::lock_guard<std::mutex> m_writers;
        Connection& m_connection;
        bool m_open;
    };

    int64_t lastRowId() const { return sqlite3_last_insert_rowid(m_db); }
    int changes() const { return sqlite3_changes(m_db); }

private:
    sqlite3_stmt* prepare(const std::string& sql)
    {
        auto found = m_statements.find(sql);
        if (found != m_statements.end())
            return found->second;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v3(m_db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) {
            serverLog("error: store: cannot prepare " + sql + ": " + sqlite3_errmsg(m_db));
            return nullptr;
        }
        m_statements.emplace(sql, statement);
        return statement;
    }

    sqlite3* m_db = nullptr;
    std::string m_logPath;
    int64_t m_logLimit = 0;
    std::unordered_map<std::string, sqlite3_stmt*> m_statements;
};

using Use = SqliteGalleryStore::Connection::Use;
using Transaction = SqliteGalleryStore::Connection::Transaction;

StoreStatus SqliteGalleryStore::Connection::madeBefore(Use& query, int64_t& id)
{
    const int result = query.step();
    if (result == SQLITE_DONE || (result == SQLITE_ROW && sqlite3_column_type(query.get(), 0) == SQLITE_NULL))
        return StoreStatus::Ok;
    if (result != SQLITE_ROW)
        return StoreStatus::Failed;
    id = sqlite3_column_int64(query.get(), 0);
    return sqlite3_column_int(query.get(), 1) == 1 ? StoreStatus::Repeated : StoreStatus::Conflict;
}

namespace {

// Gives every player the comparison key of their nickname: databases written
// before the column have none, an older build made it otherwise (case alone,
// blanks and marks kept), and a C library with newer tables may fold a name
// otherwise. Inside the opening transaction.
bool foldNicknames(SqliteGalleryStore::Connection& c)
{
    bool hasColumn = false;
    {
        Use columns(c, "PRAGMA table_info(players)");
        while (columns.step() == SQLITE_ROW)
            hasColumn = hasColumn || columnText(columns.get(), 1) == "folded";
    }
    if (!hasColumn && !c.execute("ALTER TABLE players ADD COLUMN folded TEXT"))
        return false;
    if (!c.execute("CREATE INDEX IF NOT EXISTS players_folded ON players(folded)"))
        return false;
    std::vector<std::pair<int64_t, std::string>> changed;
    {
        Use players(c, "SELECT id, nickname, folded FROM players");
        int result = SQLITE_ROW;
        while ((result = players.step()) == SQLITE_ROW) {
            std::string folded = nicknameKey(columnText(players.get(), 1));
            if (sqlite3_column_type(players.get(), 2) == SQLITE_NULL || folded != columnText(players.get(), 2))
                changed.emplace_back(sqlite3_column_int64(players.get(), 0), std::move(folded));
        }
        if (result != SQLITE_DONE)
            return false;
    }
    for (const auto& [id, folded] : changed) {
        Use update(c, "UPDATE players SET folded = ?2 WHERE id = ?1");
        update.bind(1, id).bindText(2, folded);
        if (!update.done())
            return false;
    }
    return true;
}

// The requests table made, or made again without the key on worlds that
// a database of the first release with request ids has (its rows kept, but
// those of worlds deleted with the keys unchecked), and the trigger that
// takes a world's rows with it: inside the opening transaction.
bool makeRequestsGoWithTheirWorlds(SqliteGalleryStore::Connection& c)
{
    const std::string columns = kRequestsColumns;
    if (!c.execute(("CREATE TABLE IF NOT EXISTS requests" + columns).c_str()))
        return false;
    bool keyed = false;
    {
        Use key(c, "SELECT 1 FROM pragma_foreign_key_list('requests') WHERE \"table\" = 'worlds'");
        const int result = key.step();
        if (result != SQLITE_ROW && result != SQLITE_DONE)
            return false;
        keyed = result == SQLITE_ROW;
    }
    if (keyed) {
        // Before the trigger is made: a rename checks every trigger's tables.
        const std::string rebuild[] = {
            "CREATE TABLE requests_unkeyed" + columns,
            "INSERT INTO requests_unkeyed (digest, player, world) SELECT digest, player, world FROM requests"
            " WHERE world IS NULL OR world IN (SELECT id FROM worlds)",
            "DROP TABLE requests",
            "ALTER TABLE requests_unkeyed RENAME TO requests",
        };
        for (const std::string& sql : rebuild) {
            if (!c.execute(sql.c_str()))
                return false;
        }
        serverLog("store: the request ids' table no longer refuses a world's deletion by an older server");
    }
    for (const char* sql : kRequestsGoWithTheirWorlds) {
        if (!c.execute(sql))
            return false;
    }
    return true;
}

// The secret of request ids, made the first time: inside the opening
// transaction.
bool readRequestSecret(SqliteGalleryStore::Connection& c, std::string& secret)
{
    {
        Use read(c, "SELECT value FROM secrets WHERE name = 'request ids'");
        const int result = read.step();
        if (result == SQLITE_ROW) {
            secret = columnBlob(read.get(), 0);
            return secret.size() == 32;
        }
        if (result != SQLITE_DONE)
            return false;
    }
    uint8_t bytes[32];
    if (!keyhash::randomBytes(bytes, sizeof bytes))
        return false;
    Use write(c, "INSERT INTO secrets (name, value) VALUES ('request ids', ?1)");
    write.bindBlob(1, bytes, sizeof bytes);
    if (!write.done())
        return false;
    secret.assign(reinterpret_cast<const char*>(bytes), sizeof bytes);
    return true;
}

}  // namespace

SqliteGalleryStore::Lease::Lease(SqliteGalleryStore& store) : m_store(store), m_connection(store.acquire()) { }

SqliteGalleryStore::Lease::~Lease()
{
    if (m_connection)
        m_store.release(m_connection);
}

SqliteGalleryStore::SqliteGalleryStore(int64_t logLimitBytes) : m_logLimit(logLimitBytes) { }
SqliteGalleryStore::~SqliteGalleryStore() = default;

bool SqliteGalleryStore::open(const std::string& path, std::string& why)
{
    // Before the file is made: a start that cannot serve leaves nothing.
    if (!caseFoldReady()) {
        why = "the C library has no C.UTF-8 locale to compare nicknames with";
        return false;
    }
    m_path = path;
    auto first = std::make_unique<Connection>();
    if (!first->open(path, m_logLimit, why))
        return false;
    Transaction schema(*first, m_writeMutex);
    if (!schema) {
        why = "the database is locked or not writable";
        return false;
    }
    for (const char* sql : kSchema) {
        if (!first->execute(sql)) {
            why = "the file is not a gallery database (or cannot be written)";
            return false;
        }
    }
    if (!makeRequestsGoWithTheirWorlds(*first)) {
        why = "cannot make the table of request ids";
        return false;
    }
    if (!foldNicknames(*first)) {
        why = "cannot give the players their folded nicknames";
        return false;
    }
    if (!readRequestSecret(*first, m_requestSecret)) {
        why = "cannot make the secret of request ids";
        return false;
    }
    if (!schema.commit()) {
        why = "cannot write the tables";
        return false;
    }
    std::lock_guard<std::mutex> lock(m_poolMutex);
    m_free.push_back(first.get());
    m_all.push_back(std::move(first));
    return true;
}

SqliteGalleryStore::Connection* SqliteGalleryStore::acquire()
{
    {
        std::lock_guard<std::mutex> lock(m_poolMutex);
        if (!m_free.empty()) {
            Connection* c = m_free.back();
            m_free.pop_back();
            return c;
        }
    }
    auto fresh = std::make_unique<Connection>();
    std::string why;
    if (!fresh->open(m_path, m_logLimit, why)) {
        serverLog("error: store: cannot open another connection: " + why);
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(m_poolMutex);
    m_all.push_back(std::move(fresh));
    return m_all.back().get();
}

void SqliteGalleryStore::release(Connection* connection)
{
    std::lock_guard<std::mutex> lock(m_poolMutex);
    m_free.push_back(connection);
}

StoreStatus SqliteGalleryStore::createPlayer(const NewPlayer& player, int64_t& id)
{
    Lease c(*this);
    if (!c)
        return StoreStatus::Failed;
    Transaction t(*c, m_writeMutex);
    if (!t)
        return StoreStatus::Failed;
    const keyhash::Digest digest = requestDigest(player.requestId, 0);
    if (!player.requestId.empty()) {
        // The nickname byte for byte: the column compares without case.
        Use done(*c,
                 "SELECT p.id, p.nickname = ?2 COLLATE BINARY FROM requests r LEFT JOIN players p ON p.id = r.player"
                 " WHERE r.digest = ?1");
        done.bindBlob(1, digest.data(), digest.size()).bindText(2, player.nickname);
        if (const StoreStatus before = Connection::madeBefore(done, id); before != StoreStatus::Ok)
            return before;
    }
    const std::string folded = nicknameKey(player.nickname);
    {
        Use taken(*c, "SELECT 1 FROM players WHERE folded = ?1");
        taken.bindText(1, folded);
        const int result = taken.step();
        if (result == SQLITE_ROW)
            return StoreStatus::NicknameTaken;
        if (result != SQLITE_DONE)
            return StoreStatus::Failed;
    }
    {
        Use insert(*c,
                   "INSERT INTO players (nickname, platform_id, device_model, salt, key_hash, created, folded)"
                   " VALUES (?1, ?2, ?3, ?4, ?5, strftime('%s','now'), ?6)");
        insert.bindText(1, player.nickname).bindText(2, player.platformId).bindText(3, player.deviceModel);
        insert.bindText(4, player.secret.salt).bindBlob(5, player.secret.keyHash.data(), player.secret.keyHash.size());
        insert.bindText(6, folded);
        const int result = insert.step();
        if (result == SQLITE_CONSTRAINT_UNIQUE)
            return StoreStatus::NicknameTaken;
        if (result != SQLITE_DONE)
            return StoreStatus::Failed;
    }
    id = c->lastRowId();
    if (!player.requestId.empty()) {
        Use remember(*c, "INSERT OR REPLACE INTO requests (digest, player) VALUES (?1, ?2)");
        remember.bindBlob(1, digest.data(), digest.size()).bind(2, id);
        if (!remember.done())
            return StoreStatus::Failed;
    }
    return t.commit() ? StoreStatus::Ok : StoreStatus::Failed;
}

std::optional<PlayerSecret> SqliteGalleryStore::playerSecret(int64_t playerId)
{
    Lease c(*this);
    if (!c)
        return std::nullopt;
    Use select(*c, "SELECT salt, key_hash FROM players WHERE id = ?1");
    select.bind(1, playerId);
    if (select.step() != SQLITE_ROW)
        return std::nullopt;
    PlayerSecret secret;
    secret.salt = columnText(select.get(), 0);
    const std::string hash = columnBlob(select.get(), 1);
    if (hash.size() != secret.keyHash.size())
        return std::nullopt;
    std::memcpy(secret.keyHash.data(), hash.data(), hash.size());
    return secret;
}

StoreStatus SqliteGalleryStore::addWorld(const NewWorld& world, int64_t& id)
{
    Lease c(*this);
    if (!c)
        return StoreStatus::Failed;
    Transaction t(*c, m_writeMutex);
    if (!t)
        return StoreStatus::Failed;
    const keyhash::Digest digest = requestDigest(world.requestId, world.authorId);
    if (!world.requestId.empty()) {
        Use done(*c,
                 "SELECT w.id, w.name = ?2 AND w.description = ?3 AND f.blob = ?4 FROM requests r"
                 " LEFT JOIN worlds w ON w.id = r.world LEFT JOIN world_files f ON f.world = r.world"
                 " WHERE r.digest = ?1");
        done.bindBlob(1, digest.data(), digest.size()).bindText(2, world.name).bindText(3, world.description);
        done.bindBlob(4, world.blob.data(), world.blob.size());
        if (const StoreStatus before = Connection::madeBefore(done, id); before != StoreStatus::Ok)
            return before;
    }
    {
        Use insert(*c, "INSERT INTO worlds (author, name, description, created) VALUES (?1, ?2, ?3, ?4)");
        insert.bind(1, world.authorId).bindText(2, world.name).bindText(3, world.description).bind(4, world.created);
        if (!insert.done())
            return StoreStatus::Failed;
    }
    const int64_t newId = c->lastRowId();
    {
        Use files(*c, "INSERT INTO world_files (world, blob, screenshot) VALUES (?1, ?2, ?3)");
        files.bind(1, newId).bindBlob(2, world.blob.data(), world.blob.size());
        files.bindBlob(3, world.screenshot.data(), world.screenshot.size());
        if (!files.done())
            return StoreStatus::Failed;
    }
    if (!world.requestId.empty()) {
        Use remember(*c, "INSERT OR REPLACE INTO requests (digest, player, world) VALUES (?1, ?2, ?3)");
        remember.bindBlob(1, digest.data(), digest.size()).bind(2, world.authorId).bind(3, newId);
        if (!remember.done())
            return StoreStatus::Failed;
    }
    if (!t.commit())
        return StoreStatus::Failed;
    id = newId;
    return StoreStatus::Ok;
}

int64_t SqliteGalleryStore::countWorlds(const std::string& search)
{
    Lease c(*this);
    if (!c)
        return -1;
    if (search.empty()) {
        Use count(*c, "SELECT COUNT(*) FROM worlds");
        return count.step() == SQLITE_ROW ? sqlite3_column_int64(count.get(), 0) : -1;
    }
    Use count(*c, std::string("SELECT COUNT(*) FROM worlds w JOIN players p ON p.id = w.author") + kSearch);
    const std::string pattern = likePattern(search);
    count.bindText(1, pattern);
    return count.step() == SQLITE_ROW ? sqlite3_column_int64(count.get(), 0) : -1;
}

std::vector<WorldInfo> SqliteGalleryStore::listWorlds(const PageQuery& query)
{
    std::vector<WorldInfo> out;
    Lease c(*this);
    if (!c)
        return out;
    const char* order = " ORDER BY w.id DESC";
    if (query.order == Order::TopRated)
        order = " ORDER BY w.rating DESC, w.ratings DESC, w.id DESC";
    else if (query.order == Order::MostDownloaded)
        order = " ORDER BY w.downloads DESC, w.id DESC";
    // The page's ids first, from the order's index alone, then their rows:
    // an offset deep into the list skips index entries, not joined rows.
    std::string sql = std::string(kWorldColumns) + " JOIN (SELECT w.id AS id FROM worlds w";
    if (!query.search.empty())
        sql += std::string(" JOIN players p ON p.id = w.author") + kSearch;
    sql += order;
    sql += " LIMIT ?2 OFFSET ?3) page ON page.id = w.id";
    sql += order;
    Use select(*c, sql);
    const std::string pattern = likePattern(query.search);
    if (!query.search.empty())
        select.bindText(1, pattern);
    select.bind(2, query.limit).bind(3, query.offset);
    out.reserve(static_cast<size_t>(query.limit));
    while (select.step() == SQLITE_ROW)
        out.push_back(readWorld(select.get()));
    return out;
}

std::optional<WorldInfo> SqliteGalleryStore::world(int64_t worldId)
{
    Lease c(*this);
    if (!c)
        return std::nullopt;
    Use select(*c, std::string(kWorldColumns) + " WHERE w.id = ?1");
    select.bind(1, worldId);
    if (select.step() != SQLITE_ROW)
        return std::nullopt;
    return readWorld(select.get());
}

std::optional<std::string> SqliteGalleryStore::takeWorldData(int64_t worldId, int64_t playerId)
{
    Lease c(*this);
    if (!c)
        return std::nullopt;
    std::string blob;
    {
        Use select(*c, "SELECT blob FROM world_files WHERE world = ?1");
        select.bind(1, worldId);
        if (select.step() != SQLITE_ROW)
            return std::nullopt;
        blob = columnBlob(select.get(), 0);
    }
    {
        // Most takes are repeats: a read says so without the write lock.
        Use seen(*c, "SELECT 1 FROM downloads WHERE world = ?1 AND player = ?2");
        seen.bind(1, worldId).bind(2, playerId);
        if (seen.step() == SQLITE_ROW)
            return blob;
    }
    Transaction t(*c, m_writeMutex);
    if (!t)
        return std::nullopt;
    {
        Use insert(*c, "INSERT OR IGNORE INTO downloads (world, player) VALUES (?1, ?2)");
        insert.bind(1, worldId).bind(2, playerId);
        const int result = insert.step();
        if ((result & 0xFF) == SQLITE_CONSTRAINT)
            return std::nullopt;  // deleted meanwhile
        if (result != SQLITE_DONE)
            return std::nullopt;
    }
    if (c->changes() == 1) {
        Use count(*c, "UPDATE worlds SET downloads = downloads + 1 WHERE id = ?1");
        count.bind(1, worldId);
        if (!count.done())
            return std::nullopt;
    }
    if (!t.commit())
        return std::nullopt;
    return blob;
}

std::optional<std::string> SqliteGalleryStore::screenshot(int64_t worldId)
{
    Lease c(*this);
    if (!c)
        return std::nullopt;
    Use select(*c, "SELECT screenshot FROM world_files WHERE world = ?1");
    select.bind(1, worldId);
    if (select.step() != SQLITE_ROW)
        return std::nullopt;
    return columnBlob(select.get(), 0);
}

StoreStatus SqliteGalleryStore::rateWorld(int64_t worldId, int64_t playerId, int stars, RatingTotals& totals)
{
    Lease c(*this);
    if (!c)
        return StoreStatus::Failed;
    Transaction t(*c, m_writeMutex);
    if (!t)
        return StoreStatus::Failed;
    int64_t sum = 0, count = 0;
    {
        Use world(*c, "SELECT rating_sum, ratings FROM worlds WHERE id = ?1");
        world.bind(1, worldId);
        if (world.step() != SQLITE_ROW)
            return StoreStatus::NoSuchWorld;
        sum = sqlite3_column_int64(world.get(), 0);
        count = sqlite3_column_int64(world.get(), 1);
    }
    {
        Use earlier(*c, "SELECT stars FROM ratings WHERE world = ?1 AND player = ?2");
        earlier.bind(1, worldId).bind(2, playerId);
        if (earlier.step() == SQLITE_ROW) {
            sum -= sqlite3_column_int64(earlier.get(), 0);
            --count;
        }
    }
    {
        Use upsert(*c,
                   "INSERT INTO ratings (world, player, stars) VALUES (?1, ?2, ?3)"
                   " ON CONFLICT (world, player) DO UPDATE SET stars = excluded.stars");
        upsert.bind(1, worldId).bind(2, playerId).bind(3, static_cast<int64_t>(stars));
        if (!upsert.done())
            return StoreStatus::Failed;
    }
    sum += stars;
    ++count;
    {
        Use update(*c, "UPDATE worlds SET rating_sum = ?2, ratings = ?3, rating = ?4 WHERE id = ?1");
        update.bind(1, worldId).bind(2, sum).bind(3, count).bind(4, static_cast<double>(sum) / count);
        if (!update.done())
            return StoreStatus::Failed;
    }
    if (!t.commit())
        return StoreStatus::Failed;
    totals.ratingSum = sum;
    totals.ratings = count;
    return StoreStatus::Ok;
}

int SqliteGalleryStore::playerRating(int64_t worldId, int64_t playerId)
{
    Lease c(*this);
    if (!c)
        return 0;
    Use select(*c, "SELECT stars FROM ratings WHERE world = ?1 AND player = ?2");
    select.bind(1, worldId).bind(2, playerId);
    return select.step() == SQLITE_ROW ? sqlite3_column_int(select.get(), 0) : 0;
}

StoreStatus SqliteGalleryStore::deleteWorld(int64_t worldId, int64_t playerId)
{
    Lease c(*this);
    if (!c)
        return StoreStatus::Failed;
    Transaction t(*c, m_writeMutex);
    if (!t)
        return StoreStatus::Failed;
    {
        Use author(*c, "SELECT author FROM worlds WHERE id = ?1");
        author.bind(1, worldId);
        if (author.step() != SQLITE_ROW)
            return StoreStatus::NoSuchWorld;
        if (sqlite3_column_int64(author.get(), 0) != playerId)
            return StoreStatus::NotTheAuthor;
    }
    // Its upload's id goes with it (a trigger): a repeat makes it again.
    for (const char* sql : {"DELETE FROM ratings WHERE world = ?1", "DELETE FROM downloads WHERE world = ?1",
                            "DELETE FROM world_files WHERE world = ?1", "DELETE FROM worlds WHERE id = ?1"}) {
        Use remove(*c, sql);
        remove.bind(1, worldId);
        if (!remove.done())
            return StoreStatus::Failed;
    }
    return t.commit() ? StoreStatus::Ok : StoreStatus::Failed;
}

}  // namespace gallery
