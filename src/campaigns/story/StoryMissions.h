#pragma once
// The story's 48 missions, one constant row each (campaigns/MissionRow.h),
// made by class name. Day 1's two are the story's entry missions; the level
// steps are in StorySteps.
#include <span>
#include <string>

#include "campaigns/MissionRow.h"

class AchievementManager;

// In day order.
std::span<const MissionRow> storyMissionRows();
// The row of a class name, or null.
const MissionRow* storyMissionRow(const std::string& className);
// A new mission of that class; null (logged) for a name that is none.
AchievementBase* makeStoryMission(const std::string& className);
// The story's goals: its entry missions MakeMud and MakeSand, its first
// step CheckLv2 and its last day.
void registerStoryGoals(AchievementManager& goals);
