// Whole flows through the real services, headless: the nickname request,
// a refused player creation, and the world held still under a popup.
#include <memory>

#include "WindowsFixture.h"
#include "profile/Profile.h"
#include "gui/GUILabel.h"
#include "online/Request.h"
#include "online/ServerLink.h"
#include "platform/GameClock.h"
#include "world/GameServices.h"
#include "world/World.h"

USING_NS_CC;
using guitest::ModalTest;

class Flows : public ModalTest {
protected:
    void TearDown() override
    {
        platform::clearManualGameTime();
        ModalTest::TearDown();
    }
};

TEST_F(Flows, AProfileWithoutANicknameAsksForOneAndSendsItOnEnter)
{
    std::vector<std::string> created;
    gameServices().createPlayer = [&created](Profile* profile, CCObject*, SEL_CallFunc) {
        created.push_back(profile->getNickname()->getString());
    };
    auto* window = new GUIWindow();
    window->initWithSize(CCSize(800, 200));
    window->autorelease();
    scene()->addChild(window);
    ScreenUtils::getInstance()->setCurrentWindow(window);

    Profile::getInstance()->ensureRegistered();
    GUIKeyboard* keyboard = GUIKeyboard::getInstance();
    ASSERT_EQ(keyboard->getParent(), scene());
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), keyboard);
    EXPECT_EQ(keyboard->getText()->getString(), "Input nickname");
    EXPECT_EQ(keyboard->getTextLabel()->getText()->getString(), "Input nickname");

    keyboard->insertText("Bob", 3);
    keyboard->insertText("\n", 1);
    EXPECT_EQ(Profile::getInstance()->getNickname()->getString(), "Bob");
    EXPECT_EQ(created, (std::vector<std::string>{"Bob"}));
    stepSeconds(0.2f);
    EXPECT_EQ(keyboard->getParent(), nullptr);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), window);
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
