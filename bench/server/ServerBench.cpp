// The world-sharing server under load: requests a second and the 99th
// percentile of latency for pages, details and downloads with 10,000 stored
// worlds, from 16 keep-alive connections, beside the bare HTTP library
// answering a constant 3 KB text on the same machine. First, uploads of the
// game's prepared worlds while 32 other connections read, with the largest
// size the write-ahead log reached.
//   server_bench [--seconds N] [--connections N] [--uploads N]
#include <httplib.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "base/Base64.h"
#include "base/json/Json.h"
#include "cocos2d.h"
#include "server/GalleryServer.h"
#include "server/KeyHash.h"
#include "server/SqliteGalleryStore.h"
#include "server/UploadCheck.h"
#include "world/ParticleCreator.h"

namespace {

constexpr int kWorlds = 10000;
constexpr int kPlayers = 100;
constexpr size_t kWorldBytes = 60 * 1024;

using Clock = std::chrono::steady_clock;

// 10,000 worlds of 60 KB with ratings and downloads, written in one
// transaction beside the server's own tables.
bool fill(const std::string& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
        return false;
    std::mt19937 random(7);
    std::string blob(kWorldBytes, '\0');
    for (char& c : blob)
        c = static_cast<char>(random());
    const std::string png = "\x89PNG\r\n\x1a\n" + std::string(20 * 1024, 'p');
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* player = nullptr;
    sqlite3_stmt* world = nullptr;
    sqlite3_stmt* files = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO players (nickname, platform_id, device_model, salt, key_hash, created) VALUES (?1, "
                       "'', '', '', zeroblob(32), 0)",
                       -1, &player, nullptr);
    sqlite3_prepare_v2(db,
                       "INSERT INTO worlds (author, name, description, created, rating_sum, ratings, rating, "
                       "downloads) VALUES (?1, ?2, 'A world to measure with', ?3, ?4, ?5, ?6, ?7)",
                       -1, &world, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO world_files (world, blob, screenshot) VALUES (?1, ?2, ?3)", -1, &files,
                       nullptr);
    for (int p = 1; p <= kPlayers; ++p) {
        const std::string name = "Bench" + std::to_string(p);
        sqlite3_bind_text(player, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(player);
        sqlite3_reset(player);
    }
    for (int w = 1; w <= kWorlds; ++w) {
        const int ratings = static_cast<int>(random() % 20);
        const int sum = ratings == 0 ? 0 : ratings + static_cast<int>(random() % (4 * ratings + 1));
        const std::string name = "World " + std::to_string(w);
        sqlite3_bind_int(world, 1, 1 + w % kPlayers);
        sqlite3_bind_text(world, 2, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(world, 3, 1'765'000'000 + w);
        sqlite3_bind_int(world, 4, sum);
        sqlite3_bind_int(world, 5, ratings);
        sqlite3_bind_double(world, 6, ratings ? static_cast<double>(sum) / ratings : 0.0);
        sqlite3_bind_int(world, 7, static_cast<int>(random() % 500));
        sqlite3_step(world);
        sqlite3_reset(world);
        sqlite3_bind_int(files, 1, w);
        sqlite3_bind_blob(files, 2, blob.data(), static_cast<int>(blob.size()), SQLITE_STATIC);
        sqlite3_bind_blob(files, 3, png.data(), static_cast<int>(png.size()), SQLITE_STATIC);
        sqlite3_step(files);
        sqlite3_reset(files);
    }
    sqlite3_finalize(player);
    sqlite3_finalize(world);
    sqlite3_finalize(files);
    const bool ok = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

struct Result {
    double perSecond = 0;
    double p50 = 0;
    double p99 = 0;
    long failed = 0;
};

// `connections` clients, each on one keep-alive connection, send requests
// for `seconds`; path(client, n) is the n-th request of a client.
Result measure(int port, int connections, double seconds, const std::function<std::string(int, long)>& path)
{
    std::vector<std::vector<double>> latencies(connections);
    std::atomic<long> failed{0};
    std::atomic<bool> go{false};
    Clock::time_point stop;
    std::vector<std::thread> threads;
    for (int c = 0; c < connections; ++c) {
        threads.emplace_back([&, c] {
            httplib::Client http("127.0.0.1", port);
            http.set_keep_alive(true);
            http.set_tcp_nodelay(true);
            while (!go)
                std::this_thread::yield();
            for (long n = 0; Clock::now() < stop; ++n) {
                const auto start = Clock::now();
                auto answer = http.Get(path(c, n).c_str());
                const auto took = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
                if (!answer || answer->status != 200)
                    ++failed;
                latencies[c].push_back(took);
            }
        });
    }
    const auto began = Clock::now();
    stop = began + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    go = true;
    for (auto& t : threads)
        t.join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - began).count();
    std::vector<double> all;
    for (const auto& l : latencies)
        all.insert(all.end(), l.begin(), l.end());
    std::sort(all.begin(), all.end());
    Result r;
    r.failed = failed;
    if (all.empty())
        return r;
    r.perSecond = static_cast<double>(all.size()) / elapsed;
    r.p50 = all[all.size() / 2] / 1000.0;
    r.p99 = all[std::min(all.size() - 1, all.size() * 99 / 100)] / 1000.0;
    return r;
}

// The pair's connection for this thread, opened on first use.
sqlite3* bareConnection(const std::string& path)
{
    thread_local sqlite3* db = nullptr;
    if (!db) {
        sqlite3_open(path.c_str(), &db);
        sqlite3_busy_timeout(db, 15000);
        sqlite3_exec(db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    }
    return db;
}

std::string fileBytes(const std::string& path)
{
    std::string bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

long long fileSize(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
}

double megabytes(long long bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// `uploads` worlds (the game's prepared worlds, with a picture) sent by 4
// connections into a fresh database while 32 others search, page and read
// details and pictures without a pause; the write-ahead log's size is looked
// at every millisecond. False when a request failed or a world is missing.
bool uploadsUnderReads(const gallery::UploadCheck& check, const std::filesystem::path& folder, int uploads)
{
    constexpr int kUploaders = 4;
    constexpr int kReaders = 32;
    constexpr int kSeeded = 50;
    const std::string root = cocos2d::CCFileUtils::sharedFileUtils()->getResourceRoot();
    const std::string png = fileBytes(root + "/backgrounds/Missions/day26.png");
    std::vector<std::string> bodies;
    size_t worldBytes = 0;
    for (int day = 1; day <= 8; ++day) {
        const std::string blob = fileBytes(root + "/universes/Missions/Day" + std::to_string(day));
        if (blob.empty() || png.empty()) {
            std::fprintf(stderr, "server_bench: no prepared worlds under %s\n", root.c_str());
            return false;
        }
        worldBytes += blob.size();
        bodies.push_back(json::objectJson({json::stringNode("name", "Day " + std::to_string(day)),
                                           json::stringNode("description", "A world to measure with"),
                                           json::stringNode("data", base64Encode(blob)),
                                           json::stringNode("screenshot", base64Encode(png))}));
    }

    const std::string database = (folder / "uploads.db").string();
    gallery::SqliteGalleryStore store;
    std::string why;
    if (!store.open(database, why)) {
        std::fprintf(stderr, "server_bench: cannot make the database: %s\n", why.c_str());
        return false;
    }
    gallery::GalleryServer server(store, check);
    const int port = server.bind("127.0.0.1", 0);
    std::thread serving([&] { server.serve(); });
    gallery::NewPlayer author;
    author.nickname = "Uploader";
    const std::string key = keyhash::newKey();
    author.secret.salt = keyhash::newSalt();
    author.secret.keyHash = keyhash::hashKey(author.secret.salt, key);
    int64_t authorId = 0;
    store.createPlayer(author, authorId);
    const std::string uploadPath = "/v1/worlds?id=" + std::to_string(authorId) + "&key=" + key;

    std::atomic<long> failed{0}, acknowledged{0}, reads{0};
    auto upload = [&](httplib::Client& http, int n) {
        auto answer = http.Post(uploadPath.c_str(), bodies[static_cast<size_t>(n) % bodies.size()], "application/json");
        if (answer && answer->status == 201)
            ++acknowledged;
        else
            ++failed;
    };
    {
        httplib::Client http("127.0.0.1", port);
        for (int n = 0; n < kSeeded; ++n)
            upload(http, n);
    }

    std::atomic<bool> done{false};
    long long largestLog = 0;
    std::thread watcher([&] {
        const std::string log = database + "-wal";
        while (!done) {
            largestLog = std::max(largestLog, fileSize(log));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    // Most reads are searches, which read every world's row: with that many
    // readers one is nearly always inside the database.
    std::vector<std::thread> readers;
    for (int c = 0; c < kReaders; ++c) {
        readers.emplace_back([&, c] {
            httplib::Client http("127.0.0.1", port);
            http.set_keep_alive(true);
            http.set_tcp_nodelay(true);
            for (long n = 0; !done; ++n) {
                const std::string world = "/v1/worlds/" + std::to_string(1 + (c * 7919 + n * 13) % kSeeded);
                std::string path = n % 2 == 0 ? "/v1/worlds?limit=20&search=ay%203" : "/v1/worlds?search=zz";
                if (n % 4 == 3) {
                    switch ((n / 4) % 4) {
                    case 0: path = "/v1/worlds?limit=50&order=rating&offset=" + std::to_string(n % 1000); break;
                    case 1: path = world + "/screenshot"; break;
                    case 2: path = world + "/data?id=" + std::to_string(authorId) + "&key=" + key; break;
                    default: path = world; break;
                    }
                }
                auto answer = http.Get(path.c_str());
                if (!answer || answer->status != 200)
                    ++failed;
                ++reads;
            }
        });
    }
    std::atomic<int> next{kSeeded};
    const auto began = Clock::now();
    std::vector<std::thread> uploaders;
    for (int u = 0; u < kUploaders; ++u) {
        uploaders.emplace_back([&] {
            httplib::Client http("127.0.0.1", port);
            http.set_keep_alive(true);
            http.set_tcp_nodelay(true);
            for (int n = next++; n < kSeeded + uploads; n = next++)
                upload(http, n);
        });
    }
    for (auto& t : uploaders)
        t.join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - began).count();
    done = true;
    for (auto& t : readers)
        t.join();
    watcher.join();
    const long long logAtEnd = fileSize(database + "-wal");
    const int64_t listed = store.countWorlds("");
    server.stop();
    serving.join();

    std::printf("%d uploads of %zu KB worlds from %d connections while %d read: %.0f uploads/s, %.0f reads/s\n",
                uploads, worldBytes / bodies.size() / 1024, kUploaders, kReaders, uploads / elapsed,
                static_cast<double>(reads) / elapsed);
    std::printf("write-ahead log: largest %.1f MB, at the end %.1f MB; database %.1f MB; %ld failed, %lld of %ld "
                "acknowledged worlds listed\n\n",
                megabytes(largestLog), megabytes(logAtEnd), megabytes(fileSize(database)), failed.load(),
                static_cast<long long>(listed), acknowledged.load());
    std::fflush(stdout);
    return failed == 0 && listed == acknowledged;
}

}  // namespace

int main(int argc, char** argv)
{
    double seconds = 5;
    int connections = 16;
    int uploads = 3000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--seconds")
            seconds = std::atof(argv[i + 1]);
        else if (arg == "--connections")
            connections = std::atoi(argv[i + 1]);
        else if (arg == "--uploads")
            uploads = std::atoi(argv[i + 1]);
    }
    if (seconds <= 0 || connections <= 0 || uploads < 0) {
        std::fprintf(stderr, "usage: server_bench [--seconds N] [--connections N] [--uploads N]\n");
        return 2;
    }

    const auto folder = std::filesystem::temp_directory_path() / ("tesmora-server-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string database = (folder / "gallery.db").string();
    registerAllElements();
    gallery::UploadCheck check;
    bool ok = uploads == 0 || uploadsUnderReads(check, folder, uploads);
    gallery::SqliteGalleryStore store;
    std::string why;
    if (!store.open(database, why) || !fill(database)) {
        std::fprintf(stderr, "server_bench: cannot make the database: %s\n", why.c_str());
        return 1;
    }
    gallery::GalleryServer server(store, check);
    const int port = server.bind("127.0.0.1", 0);
    std::thread serving([&] { server.serve(); });

    // The bare library pair: the same work written plainly on cpp-httplib
    // and SQLite (one connection a thread, the obvious queries, the
    // library's own busy wait), and a constant 3 KB answer.
    httplib::Server bare;
    bare.set_tcp_nodelay(true);
    bare.set_keep_alive_max_count(100000);
    bare.new_task_queue = [] { return new httplib::ThreadPool(64); };
    const std::string constant(3 * 1024, 'x');
    bare.Get("/constant",
             [&](const httplib::Request&, httplib::Response& res) { res.set_content(constant, "text/plain"); });
    bare.Get("/page", [&](const httplib::Request& req, httplib::Response& res) {
        sqlite3* db = bareConnection(database);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT w.id, w.name, p.nickname, w.author, w.created, w.rating, w.ratings, w.downloads"
                           " FROM worlds w JOIN players p ON p.id = w.author"
                           " ORDER BY w.rating DESC, w.ratings DESC, w.id DESC LIMIT 50 OFFSET ?1",
                           -1, &s, nullptr);
        sqlite3_bind_int(s, 1, std::atoi(req.get_param_value("offset").c_str()));
        std::string out = "{\"worlds\":[";
        char line[512];
        while (sqlite3_step(s) == SQLITE_ROW) {
            std::snprintf(line, sizeof line,
                          "%s{\"id\":%lld,\"name\":\"%s\",\"author\":\"%s\",\"author_id\":%lld,\"date\":%lld,"
                          "\"rating\":%.2f,\"ratings\":%d,\"downloads\":%d}",
                          out.size() > 11 ? "," : "", sqlite3_column_int64(s, 0), sqlite3_column_text(s, 1),
                          sqlite3_column_text(s, 2), sqlite3_column_int64(s, 3), sqlite3_column_int64(s, 4),
                          sqlite3_column_double(s, 5), sqlite3_column_int(s, 6), sqlite3_column_int(s, 7));
            out += line;
        }
        sqlite3_finalize(s);
        res.set_content(out + "]}", "application/json");
    });
    bare.Get("/data", [&](const httplib::Request& req, httplib::Response& res) {
        sqlite3* db = bareConnection(database);
        const int world = std::atoi(req.get_param_value("world").c_str());
        const int player = std::atoi(req.get_param_value("player").c_str());
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "SELECT blob FROM world_files WHERE world = ?1", -1, &s, nullptr);
        sqlite3_bind_int(s, 1, world);
        std::string blob;
        if (sqlite3_step(s) == SQLITE_ROW)
            blob.assign(static_cast<const char*>(sqlite3_column_blob(s, 0)), sqlite3_column_bytes(s, 0));
        sqlite3_finalize(s);
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        const std::string count = "INSERT OR IGNORE INTO downloads (world, player) VALUES (" + std::to_string(world) +
            ", " + std::to_string(player) + ")";
        sqlite3_exec(db, count.c_str(), nullptr, nullptr, nullptr);
        if (sqlite3_changes(db) == 1) {
            const std::string update =
                "UPDATE worlds SET downloads = downloads + 1 WHERE id = " + std::to_string(world);
            sqlite3_exec(db, update.c_str(), nullptr, nullptr, nullptr);
        }
        if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            res.status = 500;
            return;
        }
        res.set_content(blob, "application/octet-stream");
    });
    const int barePort = bare.bind_to_any_port("127.0.0.1");
    std::thread bareServing([&] { bare.listen_after_bind(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));

    // Every player downloads worlds it has not taken before, so each
    // download writes its count. Players for the server and for the pair.
    std::vector<std::pair<int64_t, std::string>> players;
    for (int c = 0; c < 2 * connections; ++c) {
        gallery::NewPlayer p;
        p.nickname = "Loader" + std::to_string(c);
        const std::string key = keyhash::newKey();
        p.secret.salt = keyhash::newSalt();
        p.secret.keyHash = keyhash::hashKey(p.secret.salt, key);
        int64_t id = 0;
        store.createPlayer(p, id);
        players.emplace_back(id, key);
    }

    std::printf("%d worlds of %zu KB, %d keep-alive connections, %.0f s a row, %u cores\n", kWorlds, kWorldBytes / 1024,
                connections, seconds, std::thread::hardware_concurrency());
    std::printf("%-38s %10s %9s %9s %7s %10s %9s %7s\n", "request", "req/s", "p50 ms", "p99 ms", "failed", "pair req/s",
                "pair p99", "ratio");
    auto row = [&](const char* name, const std::function<std::string(int, long)>& path,
                   const std::function<std::string(int, long)>& barePath) {
        const Result r = measure(port, connections, seconds, path);
        Result pair;
        if (barePath)
            pair = measure(barePort, connections, seconds, barePath);
        std::printf("%-38s %10.0f %9.2f %9.2f %7ld", name, r.perSecond, r.p50, r.p99, r.failed);
        if (barePath)
            std::printf(" %10.0f %9.2f %7.2f", pair.perSecond, pair.p99, r.perSecond / pair.perSecond);
        std::printf("\n");
        std::fflush(stdout);
        ok &= r.failed == 0;
    };
    const Result constantAnswer =
        measure(barePort, connections, seconds, [](int, long) { return std::string("/constant"); });
    std::printf("%-38s %10.0f %9.2f %9.2f %7ld\n", "bare library: constant 3 KB", constantAnswer.perSecond,
                constantAnswer.p50, constantAnswer.p99, constantAnswer.failed);
    row(
        "page of 50, top rated", [](int, long) { return std::string("/v1/worlds?limit=50&order=rating"); },
        [](int, long) { return std::string("/page?offset=0"); });
    row(
        "page of 50, top rated, offset 5,000",
        [](int, long) { return std::string("/v1/worlds?limit=50&offset=5000&order=rating"); },
        [](int, long) { return std::string("/page?offset=5000"); });
    row(
        "page of 50, newest", [](int, long) { return std::string("/v1/worlds?limit=50"); }, nullptr);
    row(
        "details", [](int c, long n) { return "/v1/worlds/" + std::to_string(1 + (c * 7919 + n * 13) % kWorlds); },
        nullptr);
    row(
        "download of 60 KB, counted",
        [&](int c, long n) {
            return "/v1/worlds/" + std::to_string(1 + (c * 613 + n) % kWorlds) +
                "/data?id=" + std::to_string(players[c].first) + "&key=" + players[c].second;
        },
        [&](int c, long n) {
            return "/data?world=" + std::to_string(1 + (c * 613 + n) % kWorlds) +
                "&player=" + std::to_string(players[connections + c].first);
        });

    server.stop();
    bare.stop();
    serving.join();
    bareServing.join();
    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
