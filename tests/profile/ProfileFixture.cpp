#include "ProfileFixture.h"

#include <unistd.h>

#include "base/Crc32.h"
#include "profile/ProfileFile.h"
#include "world/GameServices.h"
#include "platform/CloudStorage.h"
#include "platform/GameClock.h"

USING_NS_CC;

void ProfileTest::SetUp()
{
    folder = std::filesystem::temp_directory_path() /
        ("tesmora-profile-" + std::to_string(::getpid()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    previousStoreRoot = platform::CloudStorage::root();
    ASSERT_TRUE(platform::CloudStorage::setRoot(folder.string()));
    platform::setManualGameTime(1'700'000'000);

    testsupport::resetGame();
    GameServices& services = gameServices();
    services.playSound = [this](const char* name) { sounds.push_back(name); };
    services.showMessagePopup = [this](const char* key) { popups.push_back(key); };
    services.showNicknameKeyboard = [this](CCString* text, CCObject*, CCString* hint) {
        keyboards.push_back(hint ? "hint: " + hint->getString() : text->getString());
    };
    services.refreshTopBarMana = [this] { ++topBarRefreshes; };
    services.createPlayer = [this](Profile*, CCObject* target, SEL_CallFunc selector) {
        ++createPlayerCalls;
        refusalTarget = target;
        refusalSelector = selector;
    };
    profile = restart();
}

void ProfileTest::TearDown()
{
    testsupport::resetGame();
    if (previousStoreRoot.empty())
        platform::CloudStorage::clearRoot();
    else
        platform::CloudStorage::setRoot(previousStoreRoot);
    platform::clearManualGameTime();
    std::filesystem::remove_all(folder);
}

Profile* ProfileTest::restart()
{
    Profile::resetInstanceForTests();
    return profile = Profile::getInstance();
}

std::vector<uint8_t> ProfileTest::readFile(const std::string& name)
{
    int32_t size = platform::CloudStorage::getFileSize(name);
    if (size <= 0)
        return {};
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    bytes.resize(static_cast<size_t>(platform::CloudStorage::fileRead(name, bytes.data(), size)));
    return bytes;
}

void ProfileTest::writeFile(const std::string& name, const std::vector<uint8_t>& bytes)
{
    ASSERT_TRUE(platform::CloudStorage::fileWrite(name, bytes.data(), static_cast<int32_t>(bytes.size())));
}

void ProfileTest::resealCrc(std::vector<uint8_t>& file)
{
    ASSERT_GE(file.size(), ProfileFile::kFileSize);
    ProfileFile::writeUInt32(file.data(), crc32Block(file.data() + ProfileFile::kHeaderSize));
}
