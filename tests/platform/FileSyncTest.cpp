// Every file the platform puts in place by a rename has its folder synced
// once it is there, so that a power cut cannot bring back the old file, or
// none.
#include "platform/CloudStorage.h"
#include "platform/FileSync.h"
#include "platform/PlatformIdentity.h"
#include "support/TempFolders.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace platform;
using testsupport::readFile;
using testsupport::TempDir;

TEST(FileSync, AFileRenamedIntoPlaceHasItsFolderSyncedAfterward)
{
    TempDir dir;
    const std::string cloud = dir.file("cloud");
    ASSERT_TRUE(CloudStorage::setRoot(cloud));
    auto identity = [&] {
        PlatformIdentity::reset();
        return PlatformIdentity::load(dir.path());
    };
    auto store = [](const std::string& name, const std::string& bytes) {
        return
            [name, bytes] { return CloudStorage::fileWrite(name, bytes.data(), static_cast<int32_t>(bytes.size())); };
    };
    const struct {
        const char* what;
        std::function<bool()> write;
        std::string file;  // as it lies on disk
        std::vector<std::string> synced;
    } cases[] = {
        {"a file of the store", store("profile.dat", "first"), cloud + "/profile.dat", {cloud}},
        {"the same file replaced", store("profile.dat", "second"), cloud + "/profile.dat", {cloud}},
        {"a file in a new folder, and the new folder",
         store("User/A.sav", "a"),
         cloud + "/user/a.sav",
         {cloud, cloud + "/user"}},
        {"the next file of that folder", store("User/B.sav", "b"), cloud + "/user/b.sav", {cloud + "/user"}},
        {"a refused name: nothing written", store("../x.sav", "x"), dir.file("x.sav"), {}},
        {"the player id, made", identity, dir.file(PlatformIdentity::kFileName), {dir.path()}},
        {"the player id, read back: nothing written", identity, dir.file(PlatformIdentity::kFileName), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> synced;
        std::string heldAtSync;
        FileSync::setFolderObserver([&](const std::string& folder) {
            synced.push_back(folder);
            heldAtSync = readFile(c.file);
        });
        c.write();
        FileSync::setFolderObserver(nullptr);
        EXPECT_EQ(synced, c.synced);
        if (!synced.empty()) {
            EXPECT_FALSE(heldAtSync.empty());
            EXPECT_EQ(heldAtSync, readFile(c.file)) << "synced once the file was in place";
        }
    }
    PlatformIdentity::reset();
    CloudStorage::clearRoot();
}
