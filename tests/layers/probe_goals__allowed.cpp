// The goals see the widgets below them.
#include "gui/ScreenUtils.h"
#include "goals/AchievementManager.h"
