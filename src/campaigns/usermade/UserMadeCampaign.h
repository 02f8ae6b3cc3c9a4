#pragma once
// UserMade, game mode 6: ten levels of one to three missions each. Its steps
// are named after the level they close.
#include "campaigns/CampaignRows.h"

const Campaign& userMadeCampaign();
