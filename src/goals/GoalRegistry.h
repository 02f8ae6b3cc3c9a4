#pragma once
// GoalRegistry: how the goals of each game mode's first day (its entry
// missions and first level step) reach the manager when it is made. They are
// the story's and the campaigns' (campaigns/, above the goals), handed over
// by one registration call that installGameHost puts in; without one a game
// mode starts its days without goals.
class AchievementManager;

using GoalRegistration = void (*)(AchievementManager& goals);

// Null: no registration.
void setGoalRegistration(GoalRegistration registration);
// Runs the installed registration on a new manager.
void registerAllGoals(AchievementManager& goals);
