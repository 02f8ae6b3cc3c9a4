#pragma once
// The goals of each game mode's first day: its entry missions and first
// level step, handed to the manager when it is made.
class AchievementManager;

void registerAllGoals(AchievementManager& goals);
