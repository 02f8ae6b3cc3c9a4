#pragma once
// The acids: Acid (a heavy liquid), AcidWater (what Acid makes of Water) and
// AcidSteam (its vapour). They dissolve their four orthogonal neighbours by
// chance and usually use themselves up doing it; heat turns AcidWater into
// AcidSteam, cold turns it back into Acid, and AcidSteam condenses on acid or
// when trapped.
#include "elements/materials/Element.h"

// clang-format off
//                                     type name    dens blast  factor colour rows start row        sound                absorb flags
inline constexpr ElementInfo kAcidInfo      {"Acid",      3, 0.7f,  0.8f, {0, 1}, StartRow::First, "sfx_element_acid",  20, kLiquid};
inline constexpr ElementInfo kAcidWaterInfo {"AcidWater", 1, 0.7f,  0.8f, {3},    StartRow::First, "sfx_element_acid",  15, kLiquid};
inline constexpr ElementInfo kAcidSteamInfo {"AcidSteam", 0, 0.95f, 0.8f, {2},    StartRow::First, "sfx_element_steam", 0};
// clang-format on

namespace AcidHeat {
constexpr float kBoils = 393.0f;    // AcidWater, above
constexpr float kFreezes = 269.0f;  // AcidWater, below
constexpr int kAcidRainDay = 20;    // the story day whose counter AcidSteam raises
}  // namespace AcidHeat

class Acid : public Element<kAcidInfo> {
public:
    void update() override;
};

class AcidWater : public Element<kAcidWaterInfo> {
public:
    void update() override;
};

class AcidSteam : public Element<kAcidSteamInfo> {
public:
    void update() override;
};

// Whether the acids leave a kind alone. Acid spares EMulti, the weaker two do
// not; every other resistant kind is the same for all three.
bool resistsAcid(uint32_t type, bool strongAcid);

// Registers the acids with the element factory.
void registerAcids();
