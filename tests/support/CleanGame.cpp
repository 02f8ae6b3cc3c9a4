#include "support/CleanGame.h"

#include "app/Profile.h"
#include "elements/living/LivingFamilies.h"
#include "online/ServerLink.h"
#include "world/GameLayer.h"

namespace testsupport {

TestHost& testHost()
{
    static TestHost host;
    return host;
}

void resetGame()
{
    testHost() = TestHost{};
    installGameHost(&testHost());
    GameLayer::resetInstanceForTests();
    Profile::resetInstanceForTests();
    ServerLink::resetInstanceForTests();
    resetLivingRunStateForTests();
}

} // namespace testsupport
