// The server under many clients at once, and killed in the middle of writes:
// nothing is lost, nothing is half there, and its counts are exactly what the
// clients did.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "GalleryClient.h"
#include "support/ServerProcess.h"
#include "support/TempFolders.h"
#include "world/ParticleCreator.h"
#include "world/WorldBlob.h"

using servertest::Answer;
using servertest::GalleryClient;
using servertest::Player;

namespace {

int64_t countRows(const std::string& database, const char* sql)
{
    sqlite3* db = nullptr;
    int64_t rows = -1;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
            rows = sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return rows;
}

std::string worldPath(int64_t world)
{
    return "/v1/worlds/" + std::to_string(world);
}

}  // namespace

TEST(ServerLoad, FiftyClientsOfMixedRequestsLeaveExactCounts)
{
    constexpr int kClients = 50;
    constexpr int kRequests = 200;
    constexpr int kSeeded = 20;
    testsupport::TempDir folder;
    const std::string database = folder.file("gallery.db");
    testsupport::ServerProcess server(database);
    ASSERT_TRUE(server.started());
    const std::string blob = testsupport::sampleWorldBlob(1);
    const std::string png = testsupport::samplePng(10, 120, 200);

    GalleryClient seeder(server.port());
    const Player owner = seeder.registerPlayer("Seeder");
    std::vector<int64_t> seeded;
    for (int i = 0; i < kSeeded; ++i)
        seeded.push_back(seeder.upload(owner, "Seed " + std::to_string(i), blob, png));
    ASSERT_EQ(seeded.back(), kSeeded);

    // What the clients did, to compare with what the server kept: per seeded
    // world its downloaders and each rater's last stars; the clients' own
    // worlds still there.
    std::mutex mutex;
    std::map<int64_t, std::set<int64_t>> downloaders;
    std::map<int64_t, std::map<int64_t, int>> stars;
    int64_t kept = 0;
    std::atomic<int> errors{0};
    std::vector<std::string> firstErrors;

    auto client = [&](int index) {
        std::mt19937 random(1000 + index);
        // Half keep their connection, half open one per request.
        GalleryClient http(server.port(), index % 2 == 0);
        const Player me = http.registerPlayer("Player" + std::to_string(index));
        std::vector<int64_t> mine;
        auto expect = [&](const Answer& a, int status, const std::string& what) {
            if (a.status == status)
                return;
            std::lock_guard<std::mutex> lock(mutex);
            if (++errors <= 5)
                firstErrors.push_back(what + ": " + std::to_string(a.status) + " " + a.body.substr(0, 120));
        };
        for (int r = 0; r < kRequests; ++r) {
            const int64_t world = seeded[random() % seeded.size()];
            const int roll = static_cast<int>(random() % 100);
            if (roll < 30) {
                static const char* kOrders[] = {"newest", "rating", "downloads"};
                expect(http.get("/v1/worlds?order=" + std::string(kOrders[random() % 3]) + "&offset=" +
                                std::to_string(random() % 30) + "&limit=" + std::to_string(1 + random() % 50)),
                       200, "page");
            } else if (roll < 50) {
                expect(http.get(worldPath(world) + "?" + me.credentials()), 200, "details");
            } else if (roll < 75) {
                expect(http.get(worldPath(world) + "/data?" + me.credentials()), 200, "download");
                std::lock_guard<std::mutex> lock(mutex);
                downloaders[world].insert(me.id);
            } else if (roll < 94) {
                const int given = 1 + static_cast<int>(random() % 5);
                expect(http.post(worldPath(world) + "/ratings?" + me.credentials(),
                                 "{\"rating\":" + std::to_string(given) + "}"),
                       200, "rating");
                std::lock_guard<std::mutex> lock(mutex);
                stars[world][me.id] = given;
            } else if (roll < 99 || mine.empty()) {
                const Answer a =
                    http.post("/v1/worlds?" + me.credentials(), GalleryClient::uploadBody("Mine", "", blob, png));
                expect(a, 201, "upload");
                if (a.status == 201)
                    mine.push_back(a.json().find("id")->intValue());
            } else {
                expect(http.remove(worldPath(mine.back()) + "?" + me.credentials()), 200, "delete");
                mine.pop_back();
            }
        }
        std::lock_guard<std::mutex> lock(mutex);
        kept += static_cast<int64_t>(mine.size());
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < kClients; ++i)
        threads.emplace_back(client, i);
    for (auto& t : threads)
        t.join();

    EXPECT_EQ(errors.load(), 0) << ::testing::PrintToString(firstErrors);
    EXPECT_EQ(seeder.get("/v1/worlds/count").json().find("count")->intValue(), kSeeded + kept);
    int64_t ratingRows = 0, downloadRows = 0;
    for (int64_t world : seeded) {
        const json::Document d = seeder.get(worldPath(world)).json();
        const auto& given = stars[world];
        int64_t sum = 0;
        for (const auto& [player, s] : given)
            sum += s;
        EXPECT_EQ(d.find("downloads")->intValue(), static_cast<int64_t>(downloaders[world].size())) << world;
        EXPECT_EQ(d.find("ratings")->intValue(), static_cast<int64_t>(given.size())) << world;
        if (!given.empty()) {
            EXPECT_NEAR(d.find("rating")->doubleValue(), static_cast<double>(sum) / given.size(), 0.005) << world;
        }
        ratingRows += static_cast<int64_t>(given.size());
        downloadRows += static_cast<int64_t>(downloaders[world].size());
    }
    // Nothing else in the tables: the deleted worlds left no rows behind.
    EXPECT_EQ(countRows(database, "SELECT COUNT(*) FROM ratings"), ratingRows);
    EXPECT_EQ(countRows(database, "SELECT COUNT(*) FROM downloads"), downloadRows);
    EXPECT_EQ(countRows(database, "SELECT COUNT(*) FROM world_files"), kSeeded + kept);
}

TEST(ServerLoad, KilledDuringUploadsItRestartsWithEveryListedWorldWhole)
{
    constexpr int kUploaders = 20;
    testsupport::TempDir folder;
    const std::string database = folder.file("gallery.db");
    std::vector<std::string> blobs, pictures;
    for (int v = 0; v < kUploaders; ++v) {
        blobs.push_back(testsupport::sampleWorldBlob(v));
        pictures.push_back(testsupport::samplePng(static_cast<unsigned char>(10 * v), 80, 160));
    }
    std::set<int64_t> acknowledged;
    {
        testsupport::ServerProcess server(database);
        ASSERT_TRUE(server.started());
        const Player p = GalleryClient(server.port()).registerPlayer("Uploader");
        std::atomic<bool> killed{false};
        std::atomic<int> answered{0};
        std::mutex mutex;
        std::vector<std::thread> threads;
        for (int v = 0; v < kUploaders; ++v) {
            threads.emplace_back([&, v] {
                GalleryClient http(server.port());
                while (!killed) {
                    // The name says which world and picture it must hold.
                    const int64_t id = http.upload(p, "w" + std::to_string(v), blobs[v], pictures[v]);
                    if (id > 0) {
                        std::lock_guard<std::mutex> lock(mutex);
                        acknowledged.insert(id);
                        ++answered;
                    }
                }
            });
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (answered < 3 * kUploaders && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_GE(answered.load(), 3 * kUploaders) << "the uploads did not go through";
        server.kill9();
        killed = true;
        for (auto& t : threads)
            t.join();
    }

    testsupport::ServerProcess again(database);
    ASSERT_TRUE(again.started()) << "the server did not start again on the killed database";
    GalleryClient http(again.port());
    const Player reader = http.registerPlayer("Reader");
    registerAllElements();
    const worldblob::ExtraSizeTable sizes = worldblob::ExtraSizeTable::ofEveryElement();
    std::set<int64_t> listed;
    for (int offset = 0;; offset += 50) {
        const json::Document page = http.get("/v1/worlds?limit=50&offset=" + std::to_string(offset)).json();
        if (page.find("worlds")->size() == 0)
            break;
        for (const auto& w : page.find("worlds")->children()) {
            const int64_t id = w->get("id")->intValue();
            const int v = std::stoi(w->get("name")->stringValue().substr(1));
            listed.insert(id);
            const Answer data = http.get(worldPath(id) + "/data?" + reader.credentials());
            const Answer picture = http.get(worldPath(id) + "/screenshot");
            ASSERT_EQ(data.body, blobs[v]) << "world " << id << " is whole";
            ASSERT_EQ(picture.body, pictures[v]) << "world " << id << "'s picture is whole";
            worldblob::LoadPlan plan;
            std::string why;
            EXPECT_TRUE(worldblob::parseBlob(reinterpret_cast<const uint8_t*>(data.body.data()), data.body.size(), plan,
                                             why, &sizes))
                << why;
        }
    }
    EXPECT_GE(listed.size(), acknowledged.size());
    for (int64_t id : acknowledged)
        EXPECT_TRUE(listed.count(id)) << "world " << id << " was acknowledged, then lost";
    EXPECT_EQ(http.get("/v1/worlds/count").json().find("count")->intValue(), static_cast<int64_t>(listed.size()));
}
