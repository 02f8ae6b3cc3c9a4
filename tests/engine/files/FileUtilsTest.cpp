#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

#include "cocos2d.h"

USING_NS_CC;

namespace {

class FileUtils : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/engine-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_savedRoot = fu()->getResourceRoot();
        fu()->setResourceRoot(m_dir + "/");
        std::string cmd = "mkdir -p '" + m_dir + "/pvr' '" + m_dir + "/sounds'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    void TearDown() override
    {
        fu()->setResourceRoot(m_savedRoot);
        std::string cmd = "rm -rf '" + m_dir + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
    }
    static CCFileUtils* fu() { return CCFileUtils::sharedFileUtils(); }
    void write(const std::string& name, const std::string& body)
    {
        std::ofstream out(m_dir + "/" + name, std::ios::binary);
        out << body;
    }

    std::string m_dir;
    std::string m_savedRoot;
};

}  // namespace

TEST(FileUtilsRoot, DefaultsToTheEnvironmentElseBesideTheExecutable)
{
    // Chosen once, on first use; other tests restore it after changing it.
    std::string root = CCFileUtils::sharedFileUtils()->getResourceRoot();
    const char* env = std::getenv("ENGINE_RESOURCES");
    if (env && *env && env[0] == '/') {
        std::string expected = env;
        while (expected.size() > 1 && expected.back() == '/') {
            expected.pop_back();
        }
        EXPECT_EQ(root, expected);
    } else if (!env || !*env) {
        char exe[PATH_MAX + 1] = {};
        ASSERT_GT(readlink("/proc/self/exe", exe, PATH_MAX), 0);
        std::string folder(exe);
        folder.resize(folder.rfind('/'));
        EXPECT_EQ(root, folder + "/resources");
    }
    EXPECT_EQ(root[0], '/');
}

TEST_F(FileUtils, RootIsAbsoluteAndJoined)
{
    EXPECT_EQ(fu()->getResourceRoot(), m_dir);  // trailing slash dropped
    EXPECT_EQ(fu()->fullPathForFilename("a/b.txt"), m_dir + "/a/b.txt");
    EXPECT_EQ(fu()->fullPathForFilename("/etc/hostname"), "/etc/hostname");

    // A relative root is fixed against the working directory when set.
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    fu()->setResourceRoot("assets");
    EXPECT_EQ(fu()->getResourceRoot(), std::string(cwd) + "/assets");
}

TEST_F(FileUtils, NameMappingAppliesOnlyWhenTheNamedFileIsAbsent)
{
    write("pvr/popups.png", "png");
    write("pvr/sheet.png", "png");
    write("pvr/sheet.pvr.ccz", "real");
    write("pvr/old.png", "png");
    write("sounds/both.ogg", "ogg");
    write("sounds/both.wav", "wav");
    write("sounds/wavonly.wav", "wav");
    write("sounds/real.mp3", "mp3");

    EXPECT_EQ(fu()->fullPathForFilename("pvr/popups.pvr.ccz"), m_dir + "/pvr/popups.png");
    EXPECT_EQ(fu()->fullPathForFilename("pvr/sheet.pvr.ccz"), m_dir + "/pvr/sheet.pvr.ccz");
    EXPECT_EQ(fu()->fullPathForFilename("pvr/old.pvr"), m_dir + "/pvr/old.png");
    EXPECT_EQ(fu()->fullPathForFilename("sounds/both.mp3"), m_dir + "/sounds/both.ogg");
    EXPECT_EQ(fu()->fullPathForFilename("sounds/wavonly.mp3"), m_dir + "/sounds/wavonly.wav");
    EXPECT_EQ(fu()->fullPathForFilename("sounds/real.mp3"), m_dir + "/sounds/real.mp3");
    // No fallback either: the name as built, so opening it fails normally.
    EXPECT_EQ(fu()->fullPathForFilename("pvr/none.pvr.ccz"), m_dir + "/pvr/none.pvr.ccz");
    EXPECT_EQ(fu()->fullPathForFilename("sounds/none.mp3"), m_dir + "/sounds/none.mp3");
    // Only the listed extensions map.
    EXPECT_EQ(fu()->fullPathForFilename("pvr/popups.jpg"), m_dir + "/pvr/popups.jpg");
    EXPECT_EQ(fu()->fullPathForFilename(m_dir + "/pvr/popups.pvr.ccz"), m_dir + "/pvr/popups.png");

    EXPECT_TRUE(fu()->isFileExist("pvr/popups.pvr.ccz"));
    EXPECT_TRUE(fu()->isFileExist("sounds/both.mp3"));
    EXPECT_FALSE(fu()->isFileExist("pvr/none.pvr.ccz"));
    EXPECT_FALSE(fu()->isFileExist("pvr"));  // a folder is not a file
    EXPECT_FALSE(fu()->isFileExist(""));
}

TEST_F(FileUtils, GetFileDataReadsWholeFilesAndReportsMissingOnes)
{
    std::string binary("a\0b\xff\n", 5);
    write("data.bin", binary);
    write("empty.bin", "");

    unsigned long size = 99;
    unsigned char* bytes = fu()->getFileData("data.bin", "rb", &size);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), binary);
    delete[] bytes;

    size = 99;
    bytes = fu()->getFileData("empty.bin", "rb", &size);
    EXPECT_NE(bytes, nullptr);
    EXPECT_EQ(size, 0u);
    delete[] bytes;

    for (const char* bad : {"missing.bin", "pvr", ""}) {
        size = 99;
        testing::internal::CaptureStderr();
        bytes = fu()->getFileData(bad, "rb", &size);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(bytes, nullptr) << bad;
        EXPECT_EQ(size, 0u) << bad;
        EXPECT_EQ(err.rfind("engine: ", 0), 0u) << bad;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
}
