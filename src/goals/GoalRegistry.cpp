#include "goals/GoalRegistry.h"

namespace {
GoalRegistration g_registration = nullptr;
}

void setGoalRegistration(GoalRegistration registration)
{
    g_registration = registration;
}

void registerAllGoals(AchievementManager& goals)
{
    if (g_registration)
        g_registration(goals);
}
