#pragma once
// PixelArt, game mode 4: fifteen pictures painted cell by cell, from Obsidian
// outlines through gem pictures to paintings where most cells suffice.
#include "campaigns/CampaignRows.h"

const Campaign& pixelArtCampaign();

// The cells a painting needs of its n: n * percent / 100, the fraction
// dropped.
constexpr int32_t pixelArtThreshold(int32_t cells, int32_t percent)
{
    return cells * percent / 100;
}
