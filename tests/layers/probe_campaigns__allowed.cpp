// The campaigns see the goals and the widgets.
#include "gui/GUIWindow.h"
#include "goals/GoalsUi.h"
#include "campaigns/Campaigns.h"
