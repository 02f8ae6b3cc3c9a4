#include "goals/AchievementManager.h"
// The world tells its host a step ended; the goals are above it.
