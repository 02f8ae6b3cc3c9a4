// The world-sharing server under load: requests a second and the 99th
// percentile of latency for pages, details and downloads with 10,000 stored
// worlds, from 16 keep-alive connections, beside the bare HTTP library
// answering a constant 3 KB text on the same machine.
//   server_bench [--seconds N] [--connections N]
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

#include <unistd.h>

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

}  // namespace

int main(int argc, char** argv)
{
    double seconds = 5;
    int connections = 16;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--seconds")
            seconds = std::atof(argv[i + 1]);
        else if (arg == "--connections")
            connections = std::atoi(argv[i + 1]);
    }
    if (seconds <= 0 || connections <= 0) {
        std::fprintf(stderr, "usage: server_bench [--seconds N] [--connections N]\n");
        return 2;
    }

    const auto folder = std::filesystem::temp_directory_path() / ("tesmora-server-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string database = (folder / "gallery.db").string();
    registerAllElements();
    gallery::UploadCheck check;
    gallery::SqliteGalleryStore store;
    std::string why;
    if (!store.open(database, why) || !fill(database)) {
        std::fprintf(stderr, "server_bench: cannot make the database: %s\n", why.c_str());
        return 1;
    }
    gallery::GalleryServer server(store, check);
    const int port = server.bind("127.0.0.1", 0);
    std::thread serving([&] { server.serve(); });

    // The bare library: one constant 3 KB answer.
    httplib::Server bare;
    bare.set_tcp_nodelay(true);
    bare.set_keep_alive_max_count(100000);
    bare.new_task_queue = [] { return new httplib::ThreadPool(64); };
    const std::string constant(3 * 1024, 'x');
    bare.Get("/constant",
             [&](const httplib::Request&, httplib::Response& res) { res.set_content(constant, "text/plain"); });
    const int barePort = bare.bind_to_any_port("127.0.0.1");
    std::thread bareServing([&] { bare.listen_after_bind(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));

    std::printf("%d worlds of %zu KB, %d keep-alive connections, %.0f s a row, %u cores\n", kWorlds, kWorldBytes / 1024,
                connections, seconds, std::thread::hardware_concurrency());
    std::printf("%-44s %10s %9s %9s %7s\n", "request", "req/s", "p50 ms", "p99 ms", "failed");
    auto row = [&](const char* name, int at, const std::function<std::string(int, long)>& path) {
        const Result r = measure(at, connections, seconds, path);
        std::printf("%-44s %10.0f %9.2f %9.2f %7ld\n", name, r.perSecond, r.p50, r.p99, r.failed);
        std::fflush(stdout);
        return r.failed == 0;
    };
    bool ok = true;
    ok &= row("bare library: constant 3 KB", barePort, [](int, long) { return std::string("/constant"); });
    ok &= row("page of 50, top rated", port, [](int, long) { return std::string("/v1/worlds?limit=50&order=rating"); });
    ok &= row("page of 50, top rated, offset 5,000", port,
              [](int, long) { return std::string("/v1/worlds?limit=50&offset=5000&order=rating"); });
    ok &= row("page of 50, newest", port, [](int, long) { return std::string("/v1/worlds?limit=50"); });
    ok &= row("details", port,
              [](int c, long n) { return "/v1/worlds/" + std::to_string(1 + (c * 7919 + n * 13) % kWorlds); });
    // Every player downloads worlds it has not taken before, so each
    // download writes its count.
    std::vector<std::pair<int64_t, std::string>> players;
    for (int c = 0; c < connections; ++c) {
        gallery::NewPlayer p;
        p.nickname = "Loader" + std::to_string(c);
        const std::string key = keyhash::newKey();
        p.secret.salt = keyhash::newSalt();
        p.secret.keyHash = keyhash::hashKey(p.secret.salt, key);
        int64_t id = 0;
        store.createPlayer(p, id);
        players.emplace_back(id, key);
    }
    ok &= row("download of 60 KB, counted", port, [&](int c, long n) {
        return "/v1/worlds/" + std::to_string(1 + (c * 613 + n) % kWorlds) +
            "/data?id=" + std::to_string(players[c].first) + "&key=" + players[c].second;
    });

    server.stop();
    bare.stop();
    serving.join();
    bareServing.join();
    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
