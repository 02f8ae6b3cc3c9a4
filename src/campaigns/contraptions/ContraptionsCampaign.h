#pragma once
// Contraptions, game mode 2: eleven levels of wires, LEDs, sensors, heaters,
// liquids and explosives, one mission each.
#include "campaigns/CampaignRows.h"

const Campaign& contraptionsCampaign();
