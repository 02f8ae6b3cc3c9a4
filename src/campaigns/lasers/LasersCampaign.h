#pragma once
// Lasers and pipes, game mode 7: ten levels of lasers, gems, pipes and
// sensors. Its steps carry on the numbers of the Contraptions steps.
#include "campaigns/CampaignRows.h"

const Campaign& lasersCampaign();
