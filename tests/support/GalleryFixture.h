#pragma once
// The game scene against the real world-sharing server: tesmora-server on a
// free loopback port with a database of its own, the game's requests going
// to it through a network manager of the test's, players registered through
// the game's own request, worlds shared with a picture drawn by the game,
// and the online gallery opened over the game as the HUD opens it. Frames
// are stepped until what a test waits for holds, a minute at most.
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/LocalUtils.h"
#include "base/NSData.h"
#include "cocos2d.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIKeyboard.h"
#include "gui/GUIPopup.h"
#include "gui/GUIProgressBar.h"
#include "gui/GUIRate.h"
#include "hud/GUI.h"
#include "online/NetworkManager.h"
#include "online/ServerLink.h"
#include "online/ServerLinkRequests.h"
#include "profile/Profile.h"
#include "gui/ScreenUtils.h"
#include "screens/OnlineGallery.h"
#include "support/SavedWorldsFixture.h"
#include "support/ServerProcess.h"

namespace gametest {

class GalleryScene : public SavedWorlds {
protected:
    struct Player {
        int32_t id = 0;
        std::string key;
    };

    void SetUp() override
    {
        SavedWorlds::SetUp();
        ASSERT_TRUE(server.started());
        ASSERT_TRUE(NetworkManager::init());
        resetWindows();
        ServerLinkRequests::resetInstanceForTests();
        link = ServerLink::getInstance();
        link->setNetworkManager(&manager);
        link->setBaseUrl(server.url());
        if (!localizationTable) {
            localizationTable = cocos2d::CCDictionary::createWithContentsOfFile("localization/en.plist");
            localizationTable->retain();
            ownTable = true;
        }
    }

    void TearDown() override
    {
        cocos2d::CCDirector::sharedDirector()->resetForTests();
        resetWindows();
        ServerLinkRequests::resetInstanceForTests();
        manager.stop();
        manager.runPendingActions();
        link->setNetworkManager(nullptr);
        if (ownTable) {
            localizationTable->release();
            localizationTable = nullptr;
        }
        SavedWorlds::TearDown();
    }

    static void resetWindows()
    {
        GUIPopup::resetInstanceForTests();
        GUIKeyboard::resetInstanceForTests();
        GUIProgressBar::resetInstanceForTests();
        GUIRate::resetInstanceForTests();
        ScreenUtils::clearKeyboardBindingForTests();
    }

    // Frames of 1/60 s until `done` holds; false after a minute of waiting.
    bool stepUntil(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            manager.runPendingActions();
            stepFrames(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    // Frames until no gallery request is on its way (the count, a page, a
    // picture, details): a server stopped after it fails only what the test
    // does next.
    bool settle()
    {
        NetworkQueueProcessor& queue = ServerLinkRequests::getInstance()->queue();
        return stepUntil([&] { return queue.inFlight() + queue.waiting() == 0; });
    }

    // A new player on the server, through the game's own request; the
    // profile is that player afterwards.
    Player registerPlayer(const char* nickname)
    {
        Profile* profile = Profile::getInstance();
        profile->setPrivateKey(cocos2d::CCString::create("Unconfigured"));
        profile->setNickname(cocos2d::CCString::create(nickname));
        profile->ensureRegistered();
        EXPECT_TRUE(stepUntil([profile] { return profile->isRegistered(); })) << nickname << " not registered";
        return {profile->getPlayerId(), profile->getPrivateKey()->getString()};
    }

    static void actAs(const Player& player)
    {
        Profile::getInstance()->setPlayerId(player.id);
        Profile::getInstance()->setPrivateKey(cocos2d::CCString::create(player.key));
    }

    // A prepared world's picture as the game draws it (one pixel a cell).
    std::string pictureOf(const std::string& blob)
    {
        world->loadBytes(reinterpret_cast<const uint8_t*>(blob.data()), blob.size());
        cocos2d::CCImage* image = ScreenUtils::renderNodeToImage(ScreenUtils::createWorldSnapshot());
        const std::string path = m_cloud.file("picture.png");
        const bool saved = image && image->saveToFile(path.c_str(), false);
        if (image)
            image->release();
        world->reset();
        return saved ? testsupport::readFile(path) : testsupport::samplePng(90, 140, 200);
    }

    // Shares one of the prepared worlds as the profile's player; its id.
    int32_t share(const std::string& name, int variant, const std::string& description = "")
    {
        const std::string blob = testsupport::sampleWorldBlob(variant);
        const std::string picture = pictureOf(blob);
        int32_t id = 0;
        bool failed = false;
        link->uploadWorld(
            name, description, blob, picture, [&](int32_t got) { id = got; },
            [&](const GalleryFailure& failure) {
                ADD_FAILURE() << "upload of " << name << ": " << failure.words();
                failed = true;
            });
        EXPECT_TRUE(stepUntil([&] { return id != 0 || failed; }));
        return id;
    }

    // The game scene with the gallery pushed over it by the HUD, its first
    // page in.
    OnlineGallery* openGallery()
    {
        if (!layer->getParent())
            enterScene();
        layer->getGUI()->openGallery();
        OnlineGallery* found = nullptr;
        EXPECT_TRUE(stepUntil([&] {
            found = shownGallery();
            return found && !found->isLoadingPage() && (found->getTotal() >= 0 || !popupText().empty());
        })) << "the gallery's first page";
        return found;
    }

    static OnlineGallery* shownGallery()
    {
        cocos2d::CCScene* scene = cocos2d::CCDirector::sharedDirector()->getRunningScene();
        if (!scene || !scene->getChildren())
            return nullptr;
        for (cocos2d::CCObject* child : *scene->getChildren())
            if (auto* gallery = dynamic_cast<OnlineGallery*>(child))
                return gallery;
        return nullptr;
    }

    // The buttons of the world menu as it stands, each with its caption.
    std::vector<std::pair<std::string, GUIButton*>> worldMenuButtons()
    {
        std::vector<std::pair<std::string, GUIButton*>> found;
        for (cocos2d::CCObject* child : *layer->getGUI()->getMenuContent()->getChildren())
            if (auto* button = dynamic_cast<GUIButton*>(child)) {
                std::string caption;
                for (cocos2d::CCObject* part : *button->getChildren())
                    if (auto* label = dynamic_cast<GUILabel*>(part); label && label->getText())
                        caption = label->getText()->getString();
                found.emplace_back(caption, button);
            }
        return found;
    }

    // Presses and releases at a button's middle.
    void tap(GUIButton* button) { tapButton(button, cocos2d::ccp(0.5f, 0.5f)); }

    void tapCard(OnlineGallery* gallery, int32_t worldId)
    {
        for (const OnlineGallery::Card& card : gallery->getCards())
            if (card.world.id == worldId && card.item) {
                const cocos2d::CCSize size = card.item->getContentSize();
                const cocos2d::CCPoint at =
                    card.item->convertToWorldSpace(cocos2d::ccp(size.width / 2, size.height / 2));
                press(at.x, at.y);
                release(at.x, at.y);
                stepFrames(5);
                return;
            }
        ADD_FAILURE() << "no card of world " << worldId;
    }

    static std::string popupText()
    {
        GUIPopup* popup = GUIPopup::getInstance();
        return popup->isShown() && popup->getMessageLabel() && popup->getMessageLabel()->getText()
            ? popup->getMessageLabel()->getText()->getString()
            : std::string();
    }

    void answerPopup()
    {
        GUIPopup::getInstance()->onOkPressed();
        stepFrames(30);
    }

    testsupport::TempDir folder;
    testsupport::ServerProcess server{folder.file("gallery.db")};
    NetworkManager manager;
    ServerLink* link = nullptr;
    bool ownTable = false;
};

}  // namespace gametest
