#pragma once
// The campaigns built so far, by game mode, and their registration with the
// goals manager: entry missions, first step and last level of each.
#include <span>

#include "campaigns/CampaignRows.h"

class AchievementManager;

// Music, Contraptions, UserMade, lasers and pipes, PixelArt, Dinosaurs,
// Human, Zombie, Robot, Invasion.
std::span<const Campaign* const> builtCampaigns();
// The campaign of a game mode, or null.
const Campaign* campaignOfMode(int mode);
void registerCampaignGoals(AchievementManager& goals);
// The story's goals, then the campaigns': the goals' registration
// (goals/GoalRegistry.h) that installGameHost puts in.
void registerStoryAndCampaignGoals(AchievementManager& goals);

// A mission's pattern table by its class name and letter: the story's, then
// the campaigns'; null for none.
MissionPattern missionTable(const char* mission, char letter);
