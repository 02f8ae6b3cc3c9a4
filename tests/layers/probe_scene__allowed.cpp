// The scene sees the campaigns, the goals and the widgets.
#include "campaigns/Campaigns.h"
#include "goals/AchievementManager.h"
#include "gui/BackButton.h"
#include "scene/GameLayer.h"
