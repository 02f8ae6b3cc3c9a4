#include "base/PlatformUtils.h"
#include "cocos2d.h"
#include "platform/CloudStorage.h"
#include "platform/PlatformIdentity.h"
#include "support/LogCapture.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

using testsupport::LogCapture;
using testsupport::TempDir;

namespace {
class PlatformUtilsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::CloudStorage::setRoot(m_dir.file("cloud"))); }
    void TearDown() override
    {
        platform::CloudStorage::clearRoot();
        platform::PlatformIdentity::reset();
    }
    static void put(const char* name) { ASSERT_TRUE(platform::CloudStorage::fileWrite(name, "x", 1)); }
    TempDir m_dir;
};
}  // namespace

TEST_F(PlatformUtilsTest, CloudListingMatchesTheFolderNotAPrefix)
{
    put("profile.dat");
    put("User/World.sav");
    put("User/World.png");
    put("Users.txt");
    put("users.sav");
    put("Userspace/a.sav");
    const std::list<std::string> user{"user/world.png", "user/world.sav"};
    EXPECT_EQ(listCloudFiles("User/"), user);
    EXPECT_EQ(listCloudFiles("User"), user);
    EXPECT_EQ(listCloudFiles("user"), user);
    EXPECT_EQ(listCloudFiles("").size(), 6u);
    EXPECT_TRUE(listCloudFiles("Missing/").empty());
    // Several folders from one listing: each folder's names in turn.
    put("Rewards/Gift.sav");
    const std::list<std::string> both{"rewards/gift.sav", "user/world.png", "user/world.sav"};
    EXPECT_EQ(listCloudFiles({"Rewards", "User"}), both);
    EXPECT_EQ(listCloudFiles({"User", "Missing"}), user);
}

TEST_F(PlatformUtilsTest, UserIdIsTheLowWordAsASignedDecimal)
{
    testsupport::writeFile(m_dir.file(platform::PlatformIdentity::kFileName), "12345678fffffffe\n");
    platform::PlatformIdentity::load(m_dir.path());
    LogCapture log;
    EXPECT_EQ(platformUserId(), "-2");
    EXPECT_NE(log.find("steamID:  -2 "), -1);
    EXPECT_EQ(platformName(), "Steam");
}

TEST_F(PlatformUtilsTest, AScreenshotIsWrittenWithoutCallingItselfUnimplemented)
{
    LogCapture log;
    const unsigned char pixels[2 * 2 * 4] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 9, 9, 9, 255};
    cocos2d::CCImage image;
    ASSERT_TRUE(image.initWithRawPixels(pixels, 2, 2, true));
    EXPECT_TRUE(saveScreenshotImage(&image, m_dir.file("shot.png")));
    EXPECT_FALSE(saveScreenshotImage(nullptr, m_dir.file("none.png")));
    EXPECT_FALSE(log.contains("UNIMPLEMENTED"));
}
