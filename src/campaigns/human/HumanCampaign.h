#pragma once
// Human, game mode 5: fifteen levels of guiding a small colony: walking
// into zones, gathering, building and placing materials.
#include "campaigns/CampaignRows.h"

const Campaign& humanCampaign();
