#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackHttpServer.h"
#include "base/LocalUtils.h"
#include "profile/Profile.h"
#include "support/CleanGame.h"
#include "world/GameServices.h"
#include "online/NetworkManager.h"
#include "online/ServerLink.h"
#include "base/json/Json.h"
#include "platform/CloudStorage.h"

USING_NS_CC;

namespace {

// Counts how often its selectors ran.
class Listener : public CCObject {
public:
    int continued = 0;
    int refused = 0;
    void onContinue() { ++continued; }
    void onRefused() { ++refused; }
};

class ServerLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(NetworkManager::init());
        folder = std::filesystem::temp_directory_path() /
            ("tesmora-serverlink-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        previousStoreRoot = platform::CloudStorage::root();
        ASSERT_TRUE(platform::CloudStorage::setRoot(folder.string()));
        testsupport::resetGame();
        gameServices().showMessageText = [this](const std::string& words) { messages.push_back(words); };
        ServerLink::getInstance()->setNetworkManager(&manager);
        profile = Profile::getInstance();
        profile->setNickname(CCString::create("Ann"));
        listener = new Listener();
        profile->setPendingCallback(listener, callfunc_selector(Listener::onContinue));
        profile->setDuplicateNameHandler(listener, callfunc_selector(Listener::onRefused));
    }

    void TearDown() override
    {
        manager.stop();
        manager.runPendingActions();
        ServerLink::getInstance()->setNetworkManager(nullptr);
        listener->release();
        testsupport::resetGame();
        if (previousStoreRoot.empty())
            platform::CloudStorage::clearRoot();
        else
            platform::CloudStorage::setRoot(previousStoreRoot);
        std::filesystem::remove_all(folder);
    }

    void registerAgainst(const std::string& baseUrl)
    {
        ServerLink::getInstance()->setBaseUrl(baseUrl);
        profile->ensureRegistered();
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            if (manager.runPendingActions() > 0)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        FAIL() << "no answer within 60 s";
    }

    static std::string words(const char* key) { return LocalUtils::localize(key)->getString(); }

    NetworkManager manager;
    std::filesystem::path folder;
    std::string previousStoreRoot;
    std::vector<std::string> messages;
    Profile* profile = nullptr;
    Listener* listener = nullptr;
};

}  // namespace

TEST_F(ServerLinkTest, AcceptedPlayerStoresIdAndKeySavesAndContinues)
{
    for (int status : {200, 201, 202}) {
        SCOPED_TRACE(status);
        Profile::resetInstanceForTests();
        profile = Profile::getInstance();
        profile->setNickname(CCString::create("Ann"));
        profile->setPendingCallback(listener, callfunc_selector(Listener::onContinue));
        int before = listener->continued;

        LoopbackHttpServer server([status](const ReceivedRequest&) {
            return CannedResponse{status, R"({"id":77,"key":"s3cret-key"})"};
        });
        registerAgainst(server.url());

        EXPECT_EQ(listener->continued, before + 1);
        EXPECT_EQ(profile->getPlayerId(), 77);
        EXPECT_STREQ(profile->getPrivateKey()->getCString(), "s3cret-key");
        EXPECT_TRUE(profile->isRegistered());
        EXPECT_EQ(profile->getProgressWord(ProgressWord::PlayerCreated), 1);
        EXPECT_TRUE(messages.empty());

        // The request carried the nickname, the platform id and the platform name.
        auto got = server.received();
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].method, "POST");
        EXPECT_EQ(got[0].path, "/v1/players");
        auto body = json::Document::parse(got[0].body);
        EXPECT_EQ(body.find("nickname")->stringValue(), "Ann");
        EXPECT_FALSE(body.find("UUID")->stringValue().empty());
        EXPECT_FALSE(body.find("device_model")->stringValue().empty());

        // Saved: a fresh profile loads the account from the file.
        Profile::resetInstanceForTests();
        Profile::getInstance()->load(false);
        EXPECT_EQ(Profile::getInstance()->getPlayerId(), 77);
        EXPECT_STREQ(Profile::getInstance()->getPrivateKey()->getCString(), "s3cret-key");
        EXPECT_STREQ(Profile::getInstance()->getNickname()->getCString(), "Ann");
    }
}

TEST_F(ServerLinkTest, OnlyATakenNameRunsTheRefusalHandler)
{
    // A taken name is no reason to try again later; a busy or failing
    // server is, and says nothing about the name.
    for (int status : {400, 403, 429, 500, 503}) {
        SCOPED_TRACE(status);
        messages.clear();
        int before = listener->refused;
        LoopbackHttpServer server([status](const ReceivedRequest&) {
            return CannedResponse{status, R"({"error":"no"})"};
        });
        registerAgainst(server.url());
        EXPECT_EQ(listener->refused, before + (status == 403 ? 1 : 0));
        EXPECT_EQ(listener->continued, 0);
        EXPECT_FALSE(profile->isRegistered());
        EXPECT_EQ(messages.size(), 1u);
    }
}

TEST_F(ServerLinkTest, UnreadableOrIncompleteAnswersAreIncorrectJsonAndChangeNothing)
{
    const std::string bodies[] = {
        "<html>oops</html>",
        R"({"id":5})",
        R"({"key":"k"})",
        R"({"id":"5","key":"k"})",
        R"({"id":5,"key":""})",
        R"({"id":99999999999,"key":"k"})",
        R"({"id":5,"key":")" + std::string(300, 'k') + R"("})",
        "[1,2,3]",
    };
    for (const std::string& body : bodies) {
        SCOPED_TRACE(body.substr(0, 40));
        messages.clear();
        LoopbackHttpServer server([body](const ReceivedRequest&) { return CannedResponse{200, body}; });
        registerAgainst(server.url());
        EXPECT_EQ(messages, std::vector<std::string>{words("NetErrorIncorrectJson")});
        EXPECT_FALSE(profile->isRegistered());
        EXPECT_EQ(profile->getPlayerId(), 0);
        EXPECT_EQ(listener->continued, 0);
    }
}

TEST_F(ServerLinkTest, ServerNotListeningOrNotConfiguredFailsWithoutHanging)
{
    // Said as the gallery says it: never reached is offline, a connection
    // cut mid-request is lost.
    LoopbackHttpServer cut([](const ReceivedRequest&) { return CannedResponse{200, "", "", false, true}; });
    const std::pair<std::string, const char*> cases[] = {
        {LoopbackHttpServer::refusingUrl(), "NotificationOfflineMode"},
        {"", "NotificationOfflineMode"},
        {cut.url(), "NetErrorConnectionLost"},
    };
    for (const auto& [url, key] : cases) {
        messages.clear();
        registerAgainst(url);
        EXPECT_EQ(messages, std::vector<std::string>{words(key)}) << url;
    }
    EXPECT_FALSE(profile->isRegistered());
    EXPECT_EQ(listener->continued + listener->refused, 0);
}

TEST(ServerLinkEscape, QueryValuesArePercentEncoded)
{
    EXPECT_EQ(ServerLink::urlEscape("a b&c"), "a%20b%26c");
    EXPECT_EQ(ServerLink::urlEscape("x/y?z=1#"), "x%2Fy%3Fz%3D1%23");
    EXPECT_EQ(ServerLink::urlEscape("Az09-_.~"), "Az09-_.~");
    EXPECT_EQ(ServerLink::urlEscape("\xE9"), "%E9");
}
