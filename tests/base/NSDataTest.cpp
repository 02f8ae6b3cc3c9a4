#include "base/NSData.h"
#include "cocos2d_extensions/CCValue.h"
#include "support/LogCapture.h"
#include "support/TempFolders.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

USING_NS_CC;
using testsupport::LogCapture;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

namespace {
class NSDataTest : public ::testing::Test {
protected:
    void TearDown() override { CCPoolManager::sharedPoolManager()->drain(); }
    TempDir m_dir;
};
}  // namespace

TEST_F(NSDataTest, FileRoundTrip)
{
    const std::string bytes("\x00\x01\xffworld", 8);
    NSData* data = NSData::dataWithBytes(bytes.data(), static_cast<uint32_t>(bytes.size()));
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(NSData::writeToFile(data, m_dir.file("blob")));
    NSData* back = NSData::dataWithContentsOfFile(m_dir.file("blob"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(back->bytes), back->length), bytes);
}

TEST_F(NSDataTest, EmptyFileGivesEmptyDataNotNull)
{
    writeFile(m_dir.file("empty"), "");
    NSData* data = NSData::dataWithContentsOfFile(m_dir.file("empty"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->length, 0u);
}

TEST_F(NSDataTest, MissingFileIsNullWithAnErrorLine)
{
    LogCapture log;
    EXPECT_EQ(NSData::dataWithContentsOfFile(m_dir.file("nope")), nullptr);
    EXPECT_EQ(log.lines().at(0), "(...) (22): Failed to open file:  " + m_dir.file("nope") + " \n");
}

TEST_F(NSDataTest, AFolderIsNotAFile)
{
    LogCapture log;
    EXPECT_EQ(NSData::dataWithContentsOfFile(m_dir.path()), nullptr);
}

TEST_F(NSDataTest, EmptyBytesAreRefused)
{
    LogCapture log;
    char byte = 1;
    EXPECT_EQ(NSData::dataWithBytes(&byte, 0), nullptr);
    EXPECT_EQ(NSData::dataWithBytesNoCopy(&byte, 0), nullptr);
    EXPECT_EQ(NSData::dataWithBytes(nullptr, 4), nullptr);
    EXPECT_EQ(log.lines().at(0), "(...) (197): creating NSData with empty data field \n");
    EXPECT_EQ(log.lines().at(1), "(...) (219): creating NSData with empty data field \n");
}

TEST_F(NSDataTest, NoCopyNeverFreesTheCallersBytes)
{
    unsigned char owned[4] = {1, 2, 3, 4};
    NSData* data = NSData::dataWithBytesNoCopy(owned, 4);
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->doesNotOwn);
    EXPECT_EQ(data->bytes, owned);
    CCPoolManager::sharedPoolManager()->drain();  // frees the object, not the stack bytes (ASan would see it)
    EXPECT_EQ(owned[3], 4);
}

TEST_F(NSDataTest, WriteOfLengthZeroMakesAnEmptyFile)
{
    unsigned char byte = 7;
    NSData* data = NSData::dataWithBytes(&byte, 1);
    data->length = 0;
    EXPECT_TRUE(NSData::writeToFile(data, m_dir.file("zero")));
    EXPECT_TRUE(std::filesystem::exists(m_dir.file("zero")));
    EXPECT_EQ(std::filesystem::file_size(m_dir.file("zero")), 0u);
}

TEST_F(NSDataTest, WriteToAnUnopenablePathLeavesNothing)
{
    unsigned char byte = 7;
    NSData* data = NSData::dataWithBytes(&byte, 1);
    LogCapture log;
    EXPECT_FALSE(NSData::writeToFile(data, m_dir.file("no/such/folder")));
    EXPECT_NE(log.find("(277): can't open file "), -1);
    EXPECT_FALSE(NSData::writeToFile(nullptr, m_dir.file("x")));
}

TEST_F(NSDataTest, RefusedWriteLeavesAnExistingFileAlone)
{
    writeFile(m_dir.file("kept"), "old contents");
    unsigned char byte = 7;
    NSData* data = NSData::dataWithBytes(&byte, 1);
    delete[] data->bytes;
    data->bytes = nullptr;
    LogCapture log;
    EXPECT_FALSE(NSData::writeToFile(data, m_dir.file("kept")));
    EXPECT_FALSE(NSData::writeToFile(nullptr, m_dir.file("kept")));
    EXPECT_NE(log.find("(283): trying to write empty buffer "), -1);
    EXPECT_EQ(readFile(m_dir.file("kept")), "old contents");
}

TEST_F(NSDataTest, FailedWriteRemovesThePartialFile)
{
    // A file-size limit makes the write fail part way, on a file of our own
    // (never a device node: a failed write removes its path).
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);

    std::vector<unsigned char> big(1 << 16, 0xAB);
    NSData* data = NSData::dataWithBytes(big.data(), static_cast<uint32_t>(big.size()));
    LogCapture log;
    bool written = NSData::writeToFile(data, m_dir.file("partial"));

    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_NE(log.find("(292): ERROR OCCURED!"), -1);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("partial")));
}

TEST_F(NSDataTest, ResourceFilesComeThroughTheEngine)
{
    writeFile(m_dir.file("res.bin"), "abc");
    NSData* data = NSData::dataWithResourceFile(m_dir.file("res.bin"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data->bytes), data->length), "abc");
    LogCapture log;
    EXPECT_EQ(NSData::dataWithResourceFile(m_dir.file("missing.bin")), nullptr);
    EXPECT_NE(log.find("(186): read data is null"), -1);
}
