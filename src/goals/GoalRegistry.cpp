#include "goals/GoalRegistry.h"

#include "campaigns/Campaigns.h"
#include "campaigns/story/StoryMissions.h"
#include "goals/AchievementManager.h"

// The story and each campaign add one registration call here as their goals
// are built; a game mode without one starts its days without goals.
void registerAllGoals(AchievementManager& goals)
{
    registerStoryGoals(goals);
    registerCampaignGoals(goals);
}
