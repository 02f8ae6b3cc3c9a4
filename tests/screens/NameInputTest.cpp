// The player-name screen against a server on the loopback: the answer drives
// the progress bar, and every outcome leaves the screen the right way.
#include <atomic>
#include <chrono>
#include <thread>

#include "base/LocalUtils.h"
#include "profile/Profile.h"
#include "gui/ScreenUtils.h"
#include "gui/GUIKeyboard.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/GUIProgressBar.h"
#include "online/NetworkManager.h"
#include "online/ServerLink.h"
#include "screens/GUIIntro.h"
#include "screens/GUINameInput.h"
#include "screens/MainMenu.h"
#include "support/GameSceneFixture.h"
#include "support/LogCapture.h"
#include "support/TempFolders.h"
#include "platform/CloudStorage.h"
#include "../online/LoopbackHttpServer.h"

USING_NS_CC;

namespace {

class NameInputTest : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        ASSERT_TRUE(NetworkManager::init());
        // The profile is written and read back across a start.
        ASSERT_TRUE(platform::CloudStorage::setRoot(cloud.file("cloud")));
        MainMenu::resetInstanceForTests();
        GUIProgressBar::resetInstanceForTests();
        GUIKeyboard::resetInstanceForTests();
        ScreenUtils::getInstance()->setBusy(false);
        ServerLink::getInstance()->setNetworkManager(&manager);
    }
    void TearDown() override
    {
        manager.stop();
        manager.runPendingActions();
        ServerLink::getInstance()->setNetworkManager(nullptr);
        GUIProgressBar::resetInstanceForTests();
        GUIKeyboard::resetInstanceForTests();
        ScreenUtils::getInstance()->setBusy(false);
        MainMenu::resetInstanceForTests();
        platform::CloudStorage::clearRoot();
        GameScene::TearDown();
    }

    void open(const std::string& baseUrl)
    {
        ServerLink::getInstance()->setNetworkManager(&manager);
        ServerLink::getInstance()->setBaseUrl(baseUrl);
        CCScene* scene = GUINameInput::scene();
        screen = static_cast<GUINameInput*>(scene->getChildren()->objectAtIndex(0));
        CCDirector::sharedDirector()->runWithScene(scene);
        stepFrames(10);
    }
    void type(const char* name)
    {
        GUIKeyboard* keyboard = GUIKeyboard::getInstance();
        ASSERT_TRUE(keyboard->isActive());
        keyboard->setText(CCString::create(name));
        keyboard->accept();
        stepFrames(10);
    }
    // Frames until the answer has been handled (or 60 s of waiting).
    void awaitAnswer()
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            stepFrames(1);
            if (manager.runPendingActions() > 0)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        FAIL() << "no answer within 60 s";
    }
    static bool onMenu()
    {
        CCScene* running = CCDirector::sharedDirector()->getRunningScene();
        return running && MainMenu::getInstance()->getParent() == running;
    }
    static std::string resultText()
    {
        CCString* text = GUIProgressBar::getInstance()->getResultText();
        return text ? text->getString() : "";
    }
    static void pressOk() { GUIProgressBar::getInstance()->onOkPressed(); }

    testsupport::TempDir cloud;
    NetworkManager manager;
    GUINameInput* screen = nullptr;
};

TEST_F(NameInputTest, OutcomesOfTheCreatePlayerRequest)
{
    struct Case {
        int status;
        const char* body;
        bool menu;           // reached without OK (success)
        const char* result;  // the bar's failure text
    };
    for (const Case& c :
         {Case{201, R"({"id": 7, "key": "k7"})", true, ""}, Case{200, "not json", false, "NetErrorIncorrectJson"},
          Case{404, "", false, "NetErrorRefused"}}) {
        SCOPED_TRACE(c.status);
        testsupport::resetGame();
        LoopbackHttpServer server([&](const ReceivedRequest&) { return CannedResponse{c.status, c.body}; });
        open(server.url());
        type("  Ann  ");
        EXPECT_EQ(std::string(Profile::getInstance()->getNickname()->getString()), "Ann");
        EXPECT_TRUE(ScreenUtils::getInstance()->isBusy());
        awaitAnswer();
        EXPECT_FALSE(ScreenUtils::getInstance()->isBusy());
        stepFrames(120);
        if (c.menu) {
            EXPECT_TRUE(onMenu());
            EXPECT_TRUE(Profile::getInstance()->isRegistered());
            EXPECT_FALSE(GUIProgressBar::getInstance()->isFailed()) << "no time-out after a success";
        } else {
            EXPECT_FALSE(onMenu()) << "the failure waits for OK";
            EXPECT_TRUE(GUIProgressBar::getInstance()->isFailed());
            EXPECT_EQ(resultText(), LocalUtils::localize(c.result)->getString());
            pressOk();
            stepFrames(30);
            EXPECT_TRUE(onMenu()) << "a failure, acknowledged, goes on with the name kept";
            EXPECT_TRUE(Profile::getInstance()->hasNickname());
        }
        // The bar's time-out comes later: nothing happens.
        stepSeconds(45, 0.25f);
        EXPECT_TRUE(onMenu());
        CCDirector::sharedDirector()->resetForTests();
    }
}

// A refusal says the server's words; only a name another player has (403)
// brings the keyboard back, empty, its hint saying so. A busy or failing server keeps
// the typed name. Each refusal is one log line with its status and words.
TEST_F(NameInputTest, ARefusedRegistrationSaysWhyAndOnlyATakenNameAsksAgain)
{
    struct Case {
        int status;
        const char* key;
        const char* serverWords;
    };
    for (const Case& c :
         {Case{400, "NetErrorRefused", "nickname: not a text"}, Case{403, "NetErrorNameTaken", ""},
          Case{429, "NetError1", "too many players at once"},
          Case{500, "NetError1", "the server could not store or read that; try again"}, Case{503, "NetError1", ""}}) {
        SCOPED_TRACE(c.status);
        // The words as a player reads them, with the server's inside.
        localizationTable = CCDictionary::createWithContentsOfFile("localization/en.plist");
        ASSERT_NE(localizationTable, nullptr);
        localizationTable->retain();
        testsupport::resetGame();
        testsupport::LogCapture log;
        const std::string body = *c.serverWords ? std::string(R"({"error": ")") + c.serverWords + "\"}" : "";
        LoopbackHttpServer server([&](const ReceivedRequest&) { return CannedResponse{c.status, body}; });
        open(server.url());
        type("Ann");
        awaitAnswer();
        stepFrames(120);
        const bool taken = c.status == 403;
        std::string words = LocalUtils::localize(c.key)->getString();
        if (!taken && *c.serverWords)
            words += " " + LocalUtils::localizeWithVar("GalleryServerSays", c.serverWords)->getString();
        EXPECT_EQ(resultText(), words);
        if (!taken) {
            EXPECT_NE(resultText().find(c.serverWords), std::string::npos);
        }
        localizationTable->release();
        localizationTable = nullptr;
        pressOk();
        stepFrames(30);
        EXPECT_EQ(onMenu(), !taken);
        EXPECT_EQ(std::string(Profile::getInstance()->getNickname()->getString()), "Ann") << "the typed name is kept";
        if (taken) {
            EXPECT_EQ(screen->getRequest(), GUINameInput::Request::Retyping);
            ASSERT_TRUE(GUIKeyboard::getInstance()->isActive());
            // The refusal is the empty field's hint, in the player's words,
            // never the field's text.
            CCString* shown = GUIKeyboard::getInstance()->getText();
            EXPECT_EQ(shown ? std::string(shown->getString()) : "", "");
            EXPECT_NE(GUIKeyboard::getInstance()->getHint(), nullptr);
            GUIKeyboard::getInstance()->insertText("Bo", 2);
            shown = GUIKeyboard::getInstance()->getText();
            EXPECT_EQ(shown ? std::string(shown->getString()) : "", "Bo");
        } else {
            EXPECT_EQ(GUIKeyboard::getInstance()->getParent(), nullptr) << "no keyboard for a server's failure";
        }
        int refusals = 0;
        for (const std::string& line : log.lines()) {
            if (line.find("create player") == std::string::npos || line.find("refused") == std::string::npos)
                continue;
            ++refusals;
            EXPECT_NE(line.find(std::to_string(c.status)), std::string::npos) << line;
            EXPECT_NE(line.find(*c.serverWords ? c.serverWords : "(no words)"), std::string::npos) << line;
        }
        EXPECT_EQ(refusals, 1);
        server.stop();
        CCDirector::sharedDirector()->resetForTests();
    }
}

TEST_F(NameInputTest, NoServerFailsThenOkGoesToTheMenu)
{
    open(LoopbackHttpServer::refusingUrl());
    type("Ann");
    awaitAnswer();
    stepFrames(120);
    EXPECT_EQ(resultText(), LocalUtils::localize("NotificationOfflineMode")->getString()) << "as the gallery says it";
    pressOk();
    stepFrames(30);
    EXPECT_TRUE(onMenu());
}

TEST_F(NameInputTest, WithoutAServerTheNameIsKeptAndTheMenuFollowsAtOnce)
{
    testsupport::LogCapture log;
    Profile::getInstance()->load(false);  // as the start-up does
    open("");
    type("Ann");
    EXPECT_TRUE(onMenu());
    EXPECT_EQ(GUIProgressBar::getInstance()->getParent(), nullptr) << "no bar for a request never sent";
    EXPECT_EQ(GUIPopup::getInstance()->getParent(), nullptr);
    EXPECT_FALSE(ScreenUtils::getInstance()->isBusy());
    Profile::getInstance()->load(false);
    EXPECT_EQ(std::string(Profile::getInstance()->getNickname()->getString()), "Ann");
    EXPECT_EQ(log.find("create player"), -1);
}

// A later start with the name kept: straight to the menu, and with a server
// the account is asked for again in the background, its failure unshown. A
// server that gives the name to another player has the name screen ask for
// another, as for a new player.
TEST_F(NameInputTest, ALaterStartGoesToTheMenuAndRegistersQuietly)
{
    struct Case {
        bool server;
        int status;
        const char* body;
        bool registered;
    };
    // The account made last: the profile is kept from case to case.
    for (const Case& c : {Case{false, 0, "", false}, Case{true, 500, "", false},
                          Case{true, 403, R"({"error": "the nickname is taken"})", false},
                          Case{true, 201, R"({"id": 9, "key": "k9"})", true}}) {
        SCOPED_TRACE(c.status);
        testsupport::resetGame();
        GUIPopup::resetInstanceForTests();
        Profile::getInstance()->load(false);
        Profile::getInstance()->setNickname(CCString::create("Ann"));
        Profile::getInstance()->save();
        std::atomic<int> requests{0};
        LoopbackHttpServer server([&](const ReceivedRequest&) {
            ++requests;
            return CannedResponse{c.status, c.body};
        });
        ServerLink::getInstance()->setNetworkManager(&manager);
        ServerLink::getInstance()->setBaseUrl(c.server ? server.url() : "");
        auto* intro = new GUIIntro();
        CCDirector::sharedDirector()->runWithScene(intro);
        intro->release();
        stepSeconds(2.5f, 0.25f);
        EXPECT_TRUE(onMenu());
        if (c.server)
            awaitAnswer();
        stepFrames(60);
        EXPECT_EQ(requests.load(), c.server ? 1 : 0);
        EXPECT_EQ(Profile::getInstance()->isRegistered(), c.registered);
        EXPECT_EQ(std::string(Profile::getInstance()->getNickname()->getString()), "Ann");
        EXPECT_EQ(GUIProgressBar::getInstance()->getParent(), nullptr);
        EXPECT_FALSE(ScreenUtils::getInstance()->isBusy());
        if (c.status == 403) {
            EXPECT_FALSE(onMenu()) << "the name screen asks for another name";
            EXPECT_TRUE(GUIPopup::getInstance()->isShown());
            EXPECT_EQ(std::string(GUIPopup::getInstance()->getMessageLabel()->getText()->getString()),
                      LocalUtils::localize("NetErrorNameTaken")->getString());
            GUIPopup::getInstance()->onBackPressed();
            stepFrames(30);
            ASSERT_TRUE(GUIKeyboard::getInstance()->isActive());
            CCString* shown = GUIKeyboard::getInstance()->getText();
            EXPECT_EQ(shown ? std::string(shown->getString()) : "", "");
            EXPECT_NE(GUIKeyboard::getInstance()->getHint(), nullptr);
            type("Bo");
            awaitAnswer();
            EXPECT_EQ(requests.load(), 2) << "the new name is sent";
            EXPECT_EQ(std::string(Profile::getInstance()->getNickname()->getString()), "Bo");
        } else {
            EXPECT_TRUE(onMenu());
            EXPECT_EQ(GUIPopup::getInstance()->getParent(), nullptr) << "a failed retry is not shown";
        }
        server.stop();
        CCDirector::sharedDirector()->resetForTests();
    }
}

// A profile that could not be read is replaced by a new one, and the name
// screen that follows says so once, with where the old files are, over
// the keyboard; the name is then typed as ever.
TEST_F(NameInputTest, AnUnreadableProfileIsToldOfOnTheNameScreen)
{
    const std::vector<uint8_t> junk(300, 0x5A);
    for (const char* name : {"profile.dat", "profile_bak.dat"})
        ASSERT_TRUE(platform::CloudStorage::fileWrite(name, junk.data(), static_cast<int32_t>(junk.size())));
    auto startTheGame = [&] {
        CCDirector::sharedDirector()->resetForTests();
        testsupport::resetGame();
        ServerLink::getInstance()->setNetworkManager(&manager);
        ServerLink::getInstance()->setBaseUrl("");
        Profile::getInstance()->load(false);  // as the start-up does
        auto* intro = new GUIIntro();
        CCDirector::sharedDirector()->runWithScene(intro);
        intro->release();
        stepSeconds(2.5f, 0.25f);
    };
    startTheGame();
    GUIPopup* popup = GUIPopup::getInstance();
    ASSERT_TRUE(popup->isShown());
    const std::string folder = platform::CloudStorage::root() + "/unreadable-profile-1";
    EXPECT_EQ(std::string(popup->getMessageLabel()->getText()->getString()),
              LocalUtils::localizeWithVar("ProfileUnreadableKept", folder.c_str())->getString());
    EXPECT_EQ(platform::CloudStorage::getFileSize("unreadable-profile-1/profile_bak.dat"), 300);
    stepSeconds(GUIWindow::kOpeningSeconds);
    popup->onBackPressed();
    stepFrames(30);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), GUIKeyboard::getInstance());
    type("Ann");
    EXPECT_TRUE(onMenu());

    startTheGame();
    EXPECT_TRUE(onMenu()) << "the new profile, named";
    EXPECT_FALSE(popup->isShown()) << "told once";
    EXPECT_EQ(std::string(Profile::getInstance()->getNickname()->getString()), "Ann");
}

TEST_F(NameInputTest, ASilentServerTimesOutAfterFortySeconds)
{
    LoopbackHttpServer server(
        [](const ReceivedRequest&) {
            CannedResponse r;
            r.hang = true;
            return r;
        },
        8, 120);
    open(server.url());
    type("Ann");
    stepSeconds(30, 0.25f);
    EXPECT_FALSE(GUIProgressBar::getInstance()->isFailed());
    stepSeconds(15, 0.25f);
    EXPECT_TRUE(GUIProgressBar::getInstance()->isFailed());
    EXPECT_EQ(resultText(), LocalUtils::localize("NetErrorTimeout")->getString());
    pressOk();
    stepFrames(30);
    EXPECT_TRUE(onMenu());
    server.stop();
}

}  // namespace
