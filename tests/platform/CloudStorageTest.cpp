#include "platform/CloudStorage.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolders.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace platform;
using testsupport::TempDir;

namespace {

class CloudStorageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CloudStorage::setRoot(m_dir.file("cloud"))); }
    void TearDown() override { CloudStorage::clearRoot(); }

    static bool write(const std::string& name, const std::string& bytes)
    {
        return CloudStorage::fileWrite(name, bytes.data(), static_cast<int32_t>(bytes.size()));
    }
    static std::string read(const std::string& name)
    {
        std::vector<char> buffer(static_cast<size_t>(CloudStorage::getFileSize(name)) + 1);
        int32_t n = CloudStorage::fileRead(name, buffer.data(), static_cast<int32_t>(buffer.size()));
        return std::string(buffer.data(), static_cast<size_t>(n));
    }
    static std::vector<std::string> listing()
    {
        std::vector<std::string> names;
        int32_t count = CloudStorage::getFileCount();
        for (int32_t i = 0; i < count; ++i)
            names.push_back(CloudStorage::getFileNameAndSize(i, nullptr));
        return names;
    }

    TempDir m_dir;
};

}  // namespace

TEST_F(CloudStorageTest, RoundTripReplacesTheWholeFile)
{
    EXPECT_FALSE(CloudStorage::fileExists("profile.dat"));
    EXPECT_EQ(CloudStorage::getFileSize("profile.dat"), 0);
    ASSERT_TRUE(write("profile.dat", std::string("long first\0content", 18)));
    EXPECT_EQ(read("profile.dat"), std::string("long first\0content", 18));
    ASSERT_TRUE(write("profile.dat", "short"));
    EXPECT_TRUE(CloudStorage::fileExists("profile.dat"));
    EXPECT_EQ(CloudStorage::getFileSize("profile.dat"), 5);
    EXPECT_EQ(read("profile.dat"), "short");

    char small[3];
    EXPECT_EQ(CloudStorage::fileRead("profile.dat", small, 3), 3) << "a short buffer gets what fits";
    EXPECT_EQ(CloudStorage::fileRead("missing", small, 3), 0);

    EXPECT_TRUE(CloudStorage::fileDelete("profile.dat"));
    EXPECT_FALSE(CloudStorage::fileExists("profile.dat"));
    EXPECT_FALSE(CloudStorage::fileDelete("profile.dat"));
}

TEST_F(CloudStorageTest, NamesAreFoldedToLowerCaseInEveryOperation)
{
    ASSERT_TRUE(write("User/My_World.sav", "blob"));
    EXPECT_TRUE(std::filesystem::exists(m_dir.file("cloud/user/my_world.sav")));
    EXPECT_TRUE(CloudStorage::fileExists("user/MY_WORLD.SAV"));
    EXPECT_EQ(CloudStorage::getFileSize("USER/my_world.sav"), 4);
    EXPECT_EQ(read("uSeR/My_WoRlD.sav"), "blob");
    EXPECT_EQ(listing(), std::vector<std::string>{"user/my_world.sav"});
    EXPECT_TRUE(CloudStorage::fileDelete("USER/MY_WORLD.sav"));
    EXPECT_TRUE(listing().empty());
}

TEST_F(CloudStorageTest, ListingIsSortedStableAndSkipsUnfinishedWrites)
{
    write("b.dat", "1");
    write("User/z.sav", "22");
    write("a.dat", "333");
    write("User/a.png", "4444");
    // A temporary file left by an interrupted write is not a cloud file.
    testsupport::writeFile(m_dir.file("cloud/.cloud-tmp-abc123"), "junk");
    std::vector<std::string> expected{"a.dat", "b.dat", "user/a.png", "user/z.sav"};
    EXPECT_EQ(listing(), expected);
    EXPECT_EQ(listing(), expected);
    int32_t size = -1;
    EXPECT_EQ(CloudStorage::getFileNameAndSize(2, &size), "user/a.png");
    EXPECT_EQ(size, 4);
    EXPECT_EQ(CloudStorage::getFileNameAndSize(4, &size), "");
    EXPECT_EQ(CloudStorage::getFileNameAndSize(-1, &size), "");
    EXPECT_EQ(size, 0);
}

TEST_F(CloudStorageTest, ListingSizesAreTheFilesAndLinksAreNotListed)
{
    namespace fs = std::filesystem;
    write("a.dat", "1");
    write("User/deep/er/b.sav", "22");
    write("User/c.sav", "333");
    fs::create_directories(m_dir.file("outside"));
    testsupport::writeFile(m_dir.file("outside/secret.sav"), "secret");
    fs::create_symlink(m_dir.file("outside/secret.sav"), m_dir.file("cloud/user/link.sav"));
    fs::create_directory_symlink(m_dir.file("outside"), m_dir.file("cloud/up"));
    const std::vector<std::pair<std::string, int32_t>> expected{
        {"a.dat", 1}, {"user/c.sav", 3}, {"user/deep/er/b.sav", 2}};
    ASSERT_EQ(CloudStorage::getFileCount(), static_cast<int32_t>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        int32_t size = -1;
        EXPECT_EQ(CloudStorage::getFileNameAndSize(static_cast<int32_t>(i), &size), expected[i].first);
        EXPECT_EQ(size, expected[i].second) << expected[i].first;
    }
    // A listed file that became a link is not measured through it.
    ASSERT_EQ(CloudStorage::getFileCount(), 3);
    fs::remove(m_dir.file("cloud/user/c.sav"));
    fs::create_symlink(m_dir.file("outside/secret.sav"), m_dir.file("cloud/user/c.sav"));
    int32_t size = -1;
    EXPECT_EQ(CloudStorage::getFileNameAndSize(1, &size), "user/c.sav");
    EXPECT_EQ(size, 0);
}

TEST_F(CloudStorageTest, NamesThatTryToLeaveTheStoreAreRefused)
{
    std::string outside = m_dir.file("escaped");
    for (const char* name :
         {"../escaped", "user/../../escaped", "/tmp/escaped", "", "a//b", "./a", "a/./b", "a\\..\\b", "user/"}) {
        EXPECT_FALSE(write(name, "x")) << name;
        EXPECT_FALSE(CloudStorage::fileExists(name)) << name;
        EXPECT_FALSE(CloudStorage::fileDelete(name)) << name;
        EXPECT_EQ(CloudStorage::getFileSize(name), 0) << name;
        EXPECT_EQ(CloudStorage::foldName(name), "") << name;
    }
    EXPECT_FALSE(std::filesystem::exists(outside));
    EXPECT_EQ(CloudStorage::foldName("..hidden/x..y"), "..hidden/x..y") << "dots inside a name are fine";
}

TEST_F(CloudStorageTest, LinksInsideTheStoreAreNeverFollowed)
{
    namespace fs = std::filesystem;
    fs::create_directories(m_dir.file("outside"));
    testsupport::writeFile(m_dir.file("outside/secret.dat"), "secret");
    fs::create_directory_symlink(m_dir.file("outside"), m_dir.file("cloud/user"));
    fs::create_symlink(m_dir.file("outside/secret.dat"), m_dir.file("cloud/profile.dat"));

    // Through a linked folder: nothing is read, written or deleted outside.
    EXPECT_FALSE(CloudStorage::fileExists("User/secret.dat"));
    EXPECT_EQ(CloudStorage::getFileSize("User/secret.dat"), 0);
    EXPECT_EQ(read("User/secret.dat"), "");
    EXPECT_FALSE(CloudStorage::fileDelete("User/secret.dat"));
    EXPECT_FALSE(write("User/new.sav", "x"));
    EXPECT_FALSE(fs::exists(m_dir.file("outside/new.sav")));

    // A linked file reads as absent, and a write replaces the link itself.
    EXPECT_FALSE(CloudStorage::fileExists("profile.dat"));
    EXPECT_EQ(read("profile.dat"), "");
    EXPECT_FALSE(CloudStorage::fileDelete("profile.dat"));
    EXPECT_TRUE(listing().empty());
    ASSERT_TRUE(write("profile.dat", "mine"));
    EXPECT_FALSE(fs::is_symlink(m_dir.file("cloud/profile.dat")));
    EXPECT_EQ(read("profile.dat"), "mine");
    EXPECT_EQ(testsupport::readFile(m_dir.file("outside/secret.dat")), "secret");
}

TEST_F(CloudStorageTest, ListingHoldsOnlyNamesThatReadBack)
{
    // Put there by hand: no folded name reaches them, so they are not listed.
    std::filesystem::create_directories(m_dir.file("cloud/Saves"));
    testsupport::writeFile(m_dir.file("cloud/Saves/a.sav"), "1");
    testsupport::writeFile(m_dir.file("cloud/README.txt"), "2");
    write("readme.txt", "3");
    EXPECT_EQ(listing(), std::vector<std::string>{"readme.txt"});
    for (const std::string& name : listing())
        EXPECT_TRUE(CloudStorage::fileExists(name)) << name;
}

TEST_F(CloudStorageTest, BadArgumentsAndNoStoreFailCleanly)
{
    EXPECT_FALSE(CloudStorage::fileWrite("a", nullptr, 3));
    EXPECT_FALSE(CloudStorage::fileWrite("a", "abc", -1));
    EXPECT_TRUE(CloudStorage::fileWrite("empty", "", 0));
    EXPECT_TRUE(CloudStorage::fileExists("empty"));
    char buffer[4];
    EXPECT_EQ(CloudStorage::fileRead("empty", buffer, 4), 0);
    EXPECT_EQ(CloudStorage::fileRead("empty", nullptr, 4), 0);

    CloudStorage::clearRoot();
    EXPECT_FALSE(write("a", "x"));
    EXPECT_EQ(CloudStorage::getFileCount(), 0);
}

// A write the system refuses (here a file-size limit, as a full disk would)
// keeps the old file whole, leaves no temporary file and tells why.
TEST_F(CloudStorageTest, AFailedWriteKeepsTheOldFileAndTellsTheSystemsReason)
{
    ASSERT_TRUE(write("profile.dat", "the old profile"));
    EXPECT_EQ(CloudStorage::lastWriteError(), 0);
    bool written = true;
    {
        const testsupport::FileSizeLimit limit(8);
        ASSERT_TRUE(limit.applied());
        written = write("profile.dat", "a new profile, longer than the limit");
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(CloudStorage::lastWriteError(), EFBIG);
    EXPECT_EQ(read("profile.dat"), "the old profile");
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.file("cloud")))
        EXPECT_EQ(entry.path().filename(), "profile.dat") << "nothing else is left";

    EXPECT_TRUE(write("profile.dat", "x"));
    EXPECT_EQ(CloudStorage::lastWriteError(), 0) << "a write that succeeds clears it";
    CloudStorage::clearRoot();
    EXPECT_FALSE(write("profile.dat", "x"));
    EXPECT_NE(CloudStorage::lastWriteError(), 0);
}

TEST_F(CloudStorageTest, UnfinishedWritesOfAnEarlierRunAreRemovedAndNothingElse)
{
    write("profile.dat", "kept");
    write("user/a.sav", "kept too");
    std::filesystem::create_directories(m_dir.file("cloud/user"));
    testsupport::writeFile(m_dir.file("cloud/.cloud-tmp-AbC123"), std::string(4096, 'x'));
    testsupport::writeFile(m_dir.file("cloud/user/.cloud-tmp-XyZ789"), "half a world");
    std::filesystem::create_symlink(m_dir.file("outside"), m_dir.file("cloud/.cloud-tmp-link"));
    std::filesystem::create_directories(m_dir.file("outside"));
    testsupport::writeFile(m_dir.file("outside/.cloud-tmp-notours"), "outside the store");

    EXPECT_EQ(CloudStorage::removeUnfinishedWrites(), 2);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("cloud/.cloud-tmp-AbC123")));
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("cloud/user/.cloud-tmp-XyZ789")));
    EXPECT_TRUE(std::filesystem::exists(m_dir.file("outside/.cloud-tmp-notours")));
    EXPECT_EQ(read("profile.dat"), "kept");
    EXPECT_EQ(read("user/a.sav"), "kept too");
    EXPECT_EQ(CloudStorage::removeUnfinishedWrites(), 0);
}
