// Whole flows through the real services, headless: the nickname request,
// a refused player creation, and the world held still under a popup.
#include <functional>
#include <memory>

#include "WindowsFixture.h"
#include "gui/GUIButton.h"
#include "profile/Profile.h"
#include "gui/GUILabel.h"
#include "online/Request.h"
#include "online/ServerLink.h"
#include "platform/GameClock.h"
#include "world/GameServices.h"
#include "world/World.h"

USING_NS_CC;
using guitest::Counter;
using guitest::Held;
using guitest::ModalTest;

class Flows : public ModalTest {
protected:
    void TearDown() override
    {
        platform::clearManualGameTime();
        ModalTest::TearDown();
    }
};

// The hint is no name, nor are blanks: Enter on them keeps the keyboard up
// saying so. The back key leaves it without a name, and what waited for the
// account does not run until a later attempt gives one.
TEST_F(Flows, AProfileWithoutANicknameAsksForOneAndSendsItOnEnter)
{
    std::vector<std::string> created;
    gameServices().createPlayer = [&created](Profile* profile, CCObject*, SEL_CallFunc) {
        created.push_back(profile->getNickname()->getString());
    };
    GUIWindow* window = addWindow();
    ScreenUtils::getInstance()->setCurrentWindow(window);
    Held<Counter> waiter;  // what waits for the player's account (an upload, a Play, a rating)
    Profile* profile = Profile::getInstance();
    GUIKeyboard* keyboard = GUIKeyboard::getInstance();
    const auto ask = [&] {
        profile->setPendingCallback(waiter.get(), callfunc_selector(Counter::hit));
        profile->ensureRegistered();
        ASSERT_EQ(keyboard->getParent(), scene());
        EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), keyboard);
        // It asks in the player's language, as its hint: no text to take for a name.
        EXPECT_EQ(keyboard->getText()->getString(), "");
        EXPECT_EQ(keyboard->getTextLabel()->getText()->getString(), "NameInputTitle");
    };
    ask();
    const std::function<void()> refused[] = {
        [&] { keyboard->insertText("\n", 1); },
        [&] { executeAction(keyboard->getEnterKey()->getCallback()); },
        [&] { keyboard->insertText("   \n", 4); },
        [&] {
            keyboard->deleteBackward();
            keyboard->insertText("\n", 1);
        },
    };
    for (const auto& refuse : refused) {
        SCOPED_TRACE(&refuse - refused);
        refuse();
        stepSeconds(0.2f);
        ASSERT_EQ(keyboard->getParent(), scene()) << "the keyboard stays up";
        EXPECT_TRUE(keyboard->isActive());
        EXPECT_EQ(keyboard->getTextLabel()->getText()->getString(), "NameInputEmpty");
        EXPECT_EQ(keyboard->getText()->getString(), "");
        EXPECT_FALSE(profile->hasNickname());
    }
    ASSERT_TRUE(stepUntil([&] { return keyboard->takesPresses(); }));
    keyboard->onBackPressed();
    stepSeconds(0.2f);
    EXPECT_EQ(keyboard->getParent(), nullptr);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), window);
    EXPECT_FALSE(profile->hasNickname());
    EXPECT_TRUE(created.empty()) << "nothing sent";
    EXPECT_EQ(waiter->count, 0);

    ask();
    keyboard->insertText(" Bob \n", 6);
    EXPECT_EQ(profile->getNickname()->getString(), "Bob");
    EXPECT_EQ(created, (std::vector<std::string>{"Bob"}));
    stepSeconds(0.2f);
    EXPECT_EQ(keyboard->getParent(), nullptr);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), window);
    profile->setPrivateKey(CCString::create("key"));
    profile->runPendingCallback();
    EXPECT_EQ(waiter->count, 1) << "the later attempt goes on";
}

TEST_F(Flows, ARefusedPlayerCreationSaysTheNameIsTaken)
{
    auto request = std::make_shared<Request>("http://localhost/players", Request::Method::Post);
    auto answer =
        std::make_shared<CreatePlayerCallback>(request, Profile::getInstance(), nullptr, nullptr, nullptr, nullptr);
    request->response().statusCode = 403;
    answer->setTransferResult(0, "");
    answer->execute();
    GUIPopup* popup = GUIPopup::getInstance();
    ASSERT_TRUE(popup->isShown());
    EXPECT_EQ(popup->getKind(), GUIPopup::Message);
    EXPECT_EQ(popup->getMessageLabel()->getText()->getString(), "NetErrorNameTaken");
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), popup);
}

TEST_F(Flows, TheWorldDoesNotStepUnderAPopupAndStepsAgainAfterOk)
{
    platform::setManualGameTime(1000);
    auto world = std::make_unique<World>();
    world->setBigWorld(true);
    world->step();
    const int64_t before = world->playedSeconds();

    ScreenUtils::showPopup(CCString::create("Wait"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
    platform::advanceManualGameTime(5);
    world->step();
    EXPECT_EQ(world->playedSeconds(), before);

    GUIPopup::getInstance()->onOkPressed();
    stepSeconds(0.35f);
    platform::advanceManualGameTime(3);
    world->step();
    EXPECT_EQ(world->playedSeconds(), before + 3);
}
