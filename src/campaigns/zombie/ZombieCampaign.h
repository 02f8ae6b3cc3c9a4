#pragma once
// Zombie, game mode 8: twenty levels of humans turning into zombies, curing
// or clearing them, keeping the living and getting workers into place.
#include "campaigns/CampaignRows.h"

const Campaign& zombieCampaign();
