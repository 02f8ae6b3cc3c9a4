#include "screens/GameWiring.h"

#include "campaigns/Campaigns.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/HumanRegistry.h"
#include "goals/GoalRegistry.h"
#include "hud/GameGoalsUi.h"
#include "hud/GameGuiHost.h"
#include "hud/GameSceneHud.h"
#include "screens/GameFrontEnd.h"
#include "world/GameServices.h"

void installGameHost(GameHost* host)
{
    static GameHost gameHost;
    setWorldHost(host ? host : &gameHost);
    wireGameServices(gameServices());

    static GameGuiHost guiAnswers;
    setGuiHost(&guiAnswers);
    static GameGoalsUi goalsAnswers;
    setGameGoalsUi(&goalsAnswers);
    setGoalRegistration(&registerStoryAndCampaignGoals);
    static GameSceneHud sceneAnswers;
    setSceneHud(&sceneAnswers);
    static GameFrontEnd frontEndAnswers;
    setFrontEnd(&frontEndAnswers);

    HumanLeader::replaceResources();
    HumanRegistry::getInstance()->clear();
}
