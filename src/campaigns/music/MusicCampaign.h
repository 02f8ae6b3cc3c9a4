#pragma once
// Music, game mode 1: ten levels of metal paths, placed Notes and melodies.
#include <cstdint>

#include "campaigns/CampaignRows.h"

const Campaign& musicCampaign();

// Kept for the whole run, across attempts and loads: whether the metal at
// (30, 28) ever carried current for Music_Lv7, and how many tests of
// Music_Lv8 found its metal in place since its last reward.
uint8_t& musicPoweredLatch();
int32_t& musicHoldCount();
