#pragma once
// Dinosaurs, game mode 3: fifteen levels of hunting, saving and escaping
// dinosaurs, ending at a time machine.
#include "campaigns/CampaignRows.h"

const Campaign& dinosaursCampaign();
