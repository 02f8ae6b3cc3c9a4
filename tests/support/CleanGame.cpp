#include "support/CleanGame.h"

#include "profile/Profile.h"
#include "elements/living/LivingFamilies.h"
#include "goals/AchievementManager.h"
#include "goals/GoalsUi.h"
#include "gui/ScreenUtils.h"
#include "online/ServerLink.h"
#include "scene/SaveLoadUtils.h"
#include "screens/MainMenu.h"
#include "scene/GameLayer.h"

namespace testsupport {

TestHost& testHost()
{
    static TestHost host;
    return host;
}

void resetGame()
{
    testHost() = TestHost{};
    SaveLoadUtils::setFreePlay(false);
    ScreenUtils::dropNoticeForTests();
    installGameHost(&testHost());
    MainMenu::resetInstanceForTests();
    GameLayer::resetInstanceForTests();
    Profile::resetInstanceForTests();
    ServerLink::resetInstanceForTests();
    resetLivingRunStateForTests();
    setGoalsUi(nullptr);
    AchievementManager::resetInstanceForTests();
    // The layer exists before a test makes its own world, so that a world
    // the test puts in gWorld afterwards stays the one in use.
    GameLayer::getInstance();
}

}  // namespace testsupport
