#pragma once
// Robot, game mode 9: fifteen levels of robots and humans, acid, explosives
// and a powered metal cell, over fixed cells of each level's world.
#include <cstdint>

#include "campaigns/CampaignRows.h"

const Campaign& robotCampaign();

// The structure count that RobotLv12a measures against: taken at its first
// test while 0, kept for the whole run, cleared when the mission is paid.
int32_t& robotLv12aInitialCount();
