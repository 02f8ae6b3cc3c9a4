// The store's write-ahead log under writes that never stop and reads that
// never pause: SQLite's own checkpoints then never start it over, so the
// store empties it itself, and nothing written is lost on the way. Request
// ids in an older database and across a restart.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "server/SqliteGalleryStore.h"
#include "support/TempFolders.h"

TEST(SqliteGalleryStore, TheLogStaysNearItsLimitWhileReadersNeverPause)
{
    constexpr int64_t kLimit = 4 * 1024 * 1024;
    constexpr size_t kWorldBytes = 256 * 1024;
    constexpr int kWorlds = 120;  // 30 MB, seven times the limit
    testsupport::TempDir folder;
    const std::string database = folder.file("gallery.db");
    gallery::SqliteGalleryStore store(kLimit);
    std::string why;
    ASSERT_TRUE(store.open(database, why)) << why;
    gallery::NewPlayer author;
    author.nickname = "Author";
    int64_t authorId = 0;
    ASSERT_EQ(store.createPlayer(author, authorId), gallery::StoreStatus::Ok);

    // Searches read every world's row, so one of these is nearly always
    // inside the database.
    std::atomic<bool> done{false};
    std::vector<std::thread> readers;
    for (int r = 0; r < 4; ++r) {
        readers.emplace_back([&] {
            gallery::PageQuery page;
            page.search = "zz";
            while (!done) {
                store.countWorlds("zz");
                store.listWorlds(page);
            }
        });
    }
    int64_t largest = 0;
    std::vector<int64_t> ids;
    for (int w = 0; w < kWorlds; ++w) {
        gallery::NewWorld world{authorId,
                                "W" + std::to_string(w),
                                "",
                                std::string(kWorldBytes, static_cast<char>(w)),
                                "picture " + std::to_string(w),
                                0,
                                ""};
        int64_t id = 0;
        ASSERT_EQ(store.addWorld(world, id), gallery::StoreStatus::Ok) << w;
        ids.push_back(id);
        struct stat log;
        largest = std::max<int64_t>(largest, ::stat((database + "-wal").c_str(), &log) == 0 ? log.st_size : 0);
    }
    done = true;
    for (auto& t : readers)
        t.join();

    // A write that finds the readers slow to let go leaves it to the next.
    EXPECT_LE(largest, kLimit + 3 * static_cast<int64_t>(kWorldBytes)) << "largest log: " << (largest >> 10) << " KB";
    EXPECT_EQ(store.countWorlds(""), kWorlds);
    for (int w : {0, kWorlds / 2, kWorlds - 1}) {
        EXPECT_EQ(store.takeWorldData(ids[static_cast<size_t>(w)], authorId),
                  std::string(kWorldBytes, static_cast<char>(w)));
        EXPECT_EQ(store.screenshot(ids[static_cast<size_t>(w)]), "picture " + std::to_string(w));
    }
}

// A database from before request ids gets their table, and the ids done
// stay done when the server starts again.
TEST(SqliteGalleryStore, RequestIdsComeToAnOlderDatabaseAndOutliveARestart)
{
    testsupport::TempDir folder;
    const std::string database = folder.file("gallery.db");
    gallery::NewPlayer ann;
    ann.nickname = "Ann";
    ann.requestId = "registration-of-ann";
    int64_t annId = 0;
    {
        gallery::SqliteGalleryStore store;
        std::string why;
        ASSERT_TRUE(store.open(database, why)) << why;
        gallery::NewPlayer old;
        old.nickname = "Old";
        int64_t oldId = 0;
        ASSERT_EQ(store.createPlayer(old, oldId), gallery::StoreStatus::Ok);
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "DROP TABLE requests", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    gallery::NewWorld dunes{0, "Dunes", "", "blob", "png", 0, "upload-of-dunes-1"};
    int64_t dunesId = 0;
    for (int start = 0; start < 2; ++start) {
        gallery::SqliteGalleryStore store;
        std::string why;
        ASSERT_TRUE(store.open(database, why)) << why;
        const auto expected = start == 0 ? gallery::StoreStatus::Ok : gallery::StoreStatus::Repeated;
        int64_t id = 0;
        EXPECT_EQ(store.createPlayer(ann, id), expected) << "start " << start;
        if (start == 0)
            annId = id;
        EXPECT_EQ(id, annId);
        dunes.authorId = annId;
        EXPECT_EQ(store.addWorld(dunes, id), expected) << "start " << start;
        if (start == 0)
            dunesId = id;
        EXPECT_EQ(id, dunesId);
        EXPECT_EQ(store.countWorlds(""), 1);
    }
}

// A server of a release from before request ids, run again on the database,
// deletes a world as it always did (its ratings, downloads and files, then
// the world), with the keys checked as it checks them or unchecked as a
// plain sqlite3 shell leaves them: the deletion passes, in a database made
// now or by the first release with request ids (whose table had a key on
// worlds), and the upload's id goes with the world.
TEST(SqliteGalleryStore, AServerOfAnEarlierReleaseDeletesAWorldUploadedWithAnId)
{
    for (const bool firstIdsRelease : {false, true}) {
        for (const char* keys : {"PRAGMA foreign_keys=ON", "PRAGMA foreign_keys=OFF"}) {
            SCOPED_TRACE(std::string(firstIdsRelease ? "first release's table, " : "") + keys);
            testsupport::TempDir folder;
            const std::string database = folder.file("gallery.db");
            gallery::NewWorld dunes{0, "Dunes", "", "blob", "png", 0, "upload-of-dunes-0000001"};
            {
                gallery::SqliteGalleryStore store;
                std::string why;
                ASSERT_TRUE(store.open(database, why)) << why;
                gallery::NewPlayer ann;
                ann.nickname = "Ann";
                ASSERT_EQ(store.createPlayer(ann, dunes.authorId), gallery::StoreStatus::Ok);
            }
            const auto run = [&](const std::vector<std::string>& statements) {
                sqlite3* db = nullptr;
                ASSERT_EQ(sqlite3_open(database.c_str(), &db), SQLITE_OK);
                for (const std::string& sql : statements)
                    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
                        << sql << ": " << sqlite3_errmsg(db);
                sqlite3_close(db);
            };
            if (firstIdsRelease)
                run({"DROP TRIGGER IF EXISTS requests_world_deleted", "DROP TABLE requests",
                     "CREATE TABLE requests (digest BLOB PRIMARY KEY, player INTEGER NOT NULL REFERENCES players(id),"
                     " world INTEGER REFERENCES worlds(id)) WITHOUT ROWID",
                     "CREATE INDEX requests_world ON requests(world)"});
            int64_t made = 0;
            for (int start = 0; start < 2; ++start) {
                gallery::SqliteGalleryStore store;
                std::string why;
                ASSERT_TRUE(store.open(database, why)) << why;
                int64_t id = 0;
                EXPECT_EQ(store.addWorld(dunes, id), gallery::StoreStatus::Ok) << "start " << start;
                EXPECT_GT(id, made);
                made = id;
                EXPECT_EQ(store.countWorlds(""), 1);
                if (start == 0) {
                    const std::string world = std::to_string(id);
                    run({keys, "BEGIN", "DELETE FROM ratings WHERE world = " + world,
                         "DELETE FROM downloads WHERE world = " + world,
                         "DELETE FROM world_files WHERE world = " + world, "DELETE FROM worlds WHERE id = " + world,
                         "COMMIT"});
                }
            }
        }
    }
}
