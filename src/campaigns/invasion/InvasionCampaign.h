#pragma once
// Invasion, game mode 10: ten levels of settling a world the aliens reached
// first, with xenovine, pirantha tunnels, a car and a lander.
#include "campaigns/CampaignRows.h"

const Campaign& invasionCampaign();
